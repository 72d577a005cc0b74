// Small value types of the class library: CPoint, CSize, CRect and CString.
//
// Classes in this file: CPoint, CSize, CRect, CString.
#pragma once

#include <windows.h>

#include <string>

class CPoint : public tagPOINT {
public:
    CPoint() noexcept { x = 0; y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX; y = initY; }
    CPoint(POINT pt) noexcept { x = pt.x; y = pt.y; }
    // From a packed message parameter (low word x, high word y, both signed).
    explicit CPoint(LPARAM packed) noexcept
    {
        x = static_cast<short>(LOWORD(packed));
        y = static_cast<short>(HIWORD(packed));
    }
    bool operator==(const POINT& o) const noexcept { return x == o.x && y == o.y; }
    bool operator!=(const POINT& o) const noexcept { return !(*this == o); }
};

class CSize : public tagSIZE {
public:
    CSize() noexcept { cx = 0; cy = 0; }
    CSize(int w, int h) noexcept { cx = w; cy = h; }
    bool operator==(const SIZE& o) const noexcept { return cx == o.cx && cy == o.cy; }
};

class CRect : public tagRECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) noexcept { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(POINT topLeft, SIZE size) noexcept
    {
        left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy;
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    // Wraps: ::IsRectEmpty (zero or negative width or height).
    BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
    // Wraps: ::IsRectNull (all four coordinates zero).
    BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL EqualRect(const RECT* r) const noexcept { return ::EqualRect(this, r); }
    BOOL PtInRect(POINT pt) const noexcept { return ::PtInRect(this, pt); }
    void OffsetRect(int dx, int dy) noexcept { ::OffsetRect(this, dx, dy); }
    void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
    bool operator==(const RECT& o) const noexcept { return ::EqualRect(this, &o) != FALSE; }
    bool operator!=(const RECT& o) const noexcept { return !(*this == o); }
};

// A light wide string with the operations the application uses.
class CString {
public:
    CString() = default;
    CString(const wchar_t* s) : m_str(s ? s : L"") {}
    CString(const wchar_t* s, int len) : m_str(s ? std::wstring(s, static_cast<size_t>(len)) : std::wstring()) {}
    CString(const std::wstring& s) : m_str(s) {}

    int GetLength() const noexcept { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const noexcept { return m_str.empty(); }
    void Empty() noexcept { m_str.clear(); }
    int Find(const wchar_t* sub, int start = 0) const
    {
        size_t pos = m_str.find(sub ? sub : L"", static_cast<size_t>(start < 0 ? 0 : start));
        return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
    }
    const std::wstring& str() const noexcept { return m_str; }

    operator const wchar_t*() const noexcept { return m_str.c_str(); }
    CString& operator=(const wchar_t* s) { m_str = s ? s : L""; return *this; }
    CString& operator+=(const wchar_t* s) { m_str += s ? s : L""; return *this; }
    friend CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
    bool operator==(const wchar_t* s) const { return m_str == (s ? s : L""); }
    bool operator!=(const wchar_t* s) const { return !(*this == s); }
    bool operator==(const CString& s) const { return m_str == s.m_str; }

private:
    std::wstring m_str;
};
