// GDI wrappers: device contexts and drawing objects.
//
// Classes in this file: CGdiObject, CBitmap, CBrush, CDC, CWindowReleasedDC,
// CClientDC, CWindowDC, CPaintDC; cl::GdiCounters.
//
// Ownership: a CGdiObject owns its handle (deleted by the destructor) unless
// Detach()ed; a CDC owns a DC it created (deleted), and a CClientDC/CWindowDC
// releases the DC it got. Objects are not copyable. FromHandle returns a
// temporary wrapper that does not own the handle; it lives until the next
// idle time of the message loop.
#pragma once

#include "types.h"

class CWnd;

namespace cl {
// Live counts of GDI objects and DCs created through these wrappers and not
// yet deleted or released. Wine's GetGuiResources is a stub, so leak tests
// count here. bitBlts counts block transfers, so that drawing code can be
// measured per paint.
struct GdiCounters {
    long objects;  // pens, brushes, bitmaps created by CGdiObject subclasses
    long dcs;      // DCs created (CreateCompatibleDC) or got (GetDC, BeginPaint)
    long bitBlts;  // calls of CDC::BitBlt so far
};
GdiCounters GetGdiCounters();
} // namespace cl

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const noexcept { return m_hObject; }
    operator HGDIOBJ() const noexcept { return m_hObject; }

    // A temporary wrapper (not owning the handle) for any GDI object.
    static CGdiObject* FromHandle(HGDIOBJ hObject);

    // Takes ownership of a handle made elsewhere (counted as live).
    BOOL Attach(HGDIOBJ hObject);
    // Gives the handle up without deleting it.
    HGDIOBJ Detach();
    // Wraps: ::DeleteObject. FALSE when there was nothing to delete.
    BOOL DeleteObject();

protected:
    // Takes a handle a Create function just made; FALSE (and the handle
    // deleted) when there is none or this object already holds one.
    BOOL AdoptNew(HGDIOBJ hObject);
    // The temporary wrapper of type T for h (made on first use).
    template <class T> static T* TempFromHandle(HGDIOBJ h);

    bool m_bTemporary = false;
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP hBitmap);
    // Wraps: ::CreateCompatibleBitmap on the DC's output handle.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL GetBitmap(BITMAP* pBitMap) const;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    operator HBRUSH() const noexcept { return static_cast<HBRUSH>(m_hObject); }
    // Wraps: ::CreateSolidBrush.
    BOOL CreateSolidBrush(COLORREF crColor);
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;        // output handle
    HDC m_hAttribDC = nullptr;  // attribute handle (the same DC except when printing)
    operator HDC() const noexcept { return m_hDC; }
    HDC GetSafeHdc() const noexcept { return m_hDC; }

    static CDC* FromHandle(HDC hDC);
    static void DeleteTempMap();

    BOOL Attach(HDC hDC);
    HDC Detach();
    // Wraps: ::DeleteDC of a DC this object made.
    BOOL DeleteDC();

    // Wraps: ::CreateCompatibleDC (null pDC: compatible with the screen).
    BOOL CreateCompatibleDC(CDC* pDC);
    // TRUE for a DC that draws to a printer (set by the printing machinery).
    BOOL IsPrinting() const noexcept { return m_bPrinting; }

    CGdiObject* SelectObject(CGdiObject* pObject);
    CBitmap* SelectObject(CBitmap* pBitmap);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    int GetClipBox(LPRECT lpRect) const;
    CPoint SetWindowOrg(int x, int y);
    CPoint GetWindowOrg() const;
    COLORREF GetPixel(int x, int y) const;
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    int SetBkMode(int nBkMode);

    BOOL m_bPrinting = FALSE;  // set for printer DCs

protected:
    bool m_bTemporary = false;
    bool m_bOwned = false;  // m_hDC came from CreateCompatibleDC and is deleted here
    friend class CMyMemDC;
};

// A DC got from a window and given back with ::ReleaseDC by the destructor.
class CWindowReleasedDC : public CDC {
public:
    ~CWindowReleasedDC() override;

protected:
    CWindowReleasedDC(HWND hWnd, HDC hDC);
    HWND m_hWnd;
};

// A window's client-area DC (::GetDC).
class CClientDC : public CWindowReleasedDC {
public:
    explicit CClientDC(CWnd* pWnd);
};

// A window's whole-window DC (::GetWindowDC).
class CWindowDC : public CWindowReleasedDC {
public:
    explicit CWindowDC(CWnd* pWnd);
};

// BeginPaint/EndPaint around a WM_PAINT handler.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
