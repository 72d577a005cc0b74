#include "afxwin.h"

#include <memory>
#include <unordered_map>

namespace {

struct GdiThreadState {
    std::unordered_map<HDC, std::unique_ptr<CDC>> tempDCs;
    std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> tempObjects;
};

GdiThreadState& State()
{
    static thread_local GdiThreadState state;
    return state;
}

cl::GdiCounters g_counters{0, 0, 0};

} // namespace

cl::GdiCounters cl::GetGdiCounters()
{
    return g_counters;
}

// --- CGdiObject -----------------------------------------------------------

CGdiObject::~CGdiObject()
{
    if (!m_bTemporary)
        DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const BOOL ok = ::DeleteObject(Detach());
    if (ok)
        --g_counters.objects;
    return ok;
}

template <class T> T* CGdiObject::TempFromHandle(HGDIOBJ h)
{
    if (!h)
        return nullptr;
    auto& temps = State().tempObjects;
    auto it = temps.find(h);
    if (it != temps.end()) {
        if (T* existing = dynamic_cast<T*>(it->second.get()))
            return existing;
        temps.erase(it);
    }
    auto wrapper = std::make_unique<T>();
    wrapper->m_hObject = h;
    wrapper->m_bTemporary = true;
    T* p = wrapper.get();
    temps.emplace(h, std::move(wrapper));
    return p;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return TempFromHandle<CGdiObject>(hObject);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return TempFromHandle<CBitmap>(hBitmap);
}

// Takes a handle just made by one of the Create functions (counted as live).
BOOL CGdiObject::AdoptNew(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    if (!Attach(hObject)) {
        ::DeleteObject(hObject);
        return FALSE;
    }
    ++g_counters.objects;
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return AdoptNew(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

BOOL CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    return ::GetObjectW(m_hObject, sizeof(BITMAP), pBitMap) == sizeof(BITMAP);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return AdoptNew(::CreateSolidBrush(crColor));
}

// --- CDC ------------------------------------------------------------------

CDC::~CDC()
{
    if (!m_bTemporary)
        DeleteDC();
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    auto& temps = State().tempDCs;
    auto it = temps.find(hDC);
    if (it != temps.end())
        return it->second.get();
    auto wrapper = std::make_unique<CDC>();
    wrapper->m_hDC = wrapper->m_hAttribDC = hDC;
    wrapper->m_bTemporary = true;
    CDC* p = wrapper.get();
    temps.emplace(hDC, std::move(wrapper));
    return p;
}

void CDC::DeleteTempMap()
{
    State().tempDCs.clear();
    State().tempObjects.clear();
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    m_bOwned = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    m_bOwned = false;
    return h;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC || !m_bOwned) {
        Detach();
        return FALSE;
    }
    const BOOL ok = ::DeleteDC(Detach());
    if (ok)
        --g_counters.dcs;
    return ok;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_hDC)
        return FALSE;
    HDC h = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    if (!h)
        return FALSE;
    ++g_counters.dcs;
    m_hDC = m_hAttribDC = h;
    m_bOwned = true;
    return TRUE;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (!pObject)
        return nullptr;
    HGDIOBJ old = ::SelectObject(m_hDC, pObject->m_hObject);
    if (!old || old == HGDI_ERROR)
        return nullptr;
    return CGdiObject::FromHandle(old);
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!pBitmap)
        return nullptr;
    HGDIOBJ old = ::SelectObject(m_hDC, pBitmap->m_hObject);
    if (!old || old == HGDI_ERROR)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(old));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    return ::SelectObject(m_hDC, hObject);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    ++g_counters.bitBlts;
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    return ::GetClipBox(m_hDC, lpRect);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetWindowOrg() const
{
    POINT pt{0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &pt);
    return CPoint(pt);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    const COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

int CDC::SetBkMode(int nBkMode)
{
    return ::SetBkMode(m_hDC, nBkMode);
}

// --- window DCs -----------------------------------------------------------

CWindowReleasedDC::CWindowReleasedDC(HWND hWnd, HDC hDC) : m_hWnd(hWnd)
{
    if (hDC) {
        ++g_counters.dcs;
        Attach(hDC);
    }
}

CWindowReleasedDC::~CWindowReleasedDC()
{
    if (HDC h = Detach()) {
        ::ReleaseDC(m_hWnd, h);
        --g_counters.dcs;
    }
}

CClientDC::CClientDC(CWnd* pWnd)
    : CWindowReleasedDC(pWnd ? pWnd->m_hWnd : nullptr, ::GetDC(pWnd ? pWnd->m_hWnd : nullptr))
{
}

CWindowDC::CWindowDC(CWnd* pWnd)
    : CWindowReleasedDC(pWnd ? pWnd->m_hWnd : nullptr, ::GetWindowDC(pWnd ? pWnd->m_hWnd : nullptr))
{
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps{}, m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (HDC h = ::BeginPaint(m_hWnd, &m_ps)) {
        ++g_counters.dcs;
        Attach(h);
    }
}

CPaintDC::~CPaintDC()
{
    if (Detach()) {
        ::EndPaint(m_hWnd, &m_ps);
        --g_counters.dcs;
    }
}
