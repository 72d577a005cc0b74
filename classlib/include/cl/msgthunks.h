// The thunks behind the message-map macros: each unpacks wParam/lParam for
// one handler signature and calls the handler. Included after the window and
// GDI classes are declared.
#pragma once

#include "gdi.h"
#include "wnd.h"

namespace cl::thunk {

template <class C> inline C* self(CCmdTarget* p) { return static_cast<C*>(p); }

template <class C, void (C::*F)()>
BOOL v_v(CCmdTarget* p, UINT, WPARAM, LPARAM, LRESULT& r)
{
    (self<C>(p)->*F)();
    r = 0;
    return TRUE;
}

template <class C, int (C::*F)(LPCREATESTRUCT)>
BOOL i_create(CCmdTarget* p, UINT, WPARAM, LPARAM l, LRESULT& r)
{
    r = (self<C>(p)->*F)(reinterpret_cast<LPCREATESTRUCT>(l));
    return TRUE;
}

template <class C, void (C::*F)(int, int)>
BOOL v_xy(CCmdTarget* p, UINT, WPARAM, LPARAM l, LRESULT& r)
{
    (self<C>(p)->*F)(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
    r = 0;
    return TRUE;
}

template <class C, void (C::*F)(UINT, int, int)>
BOOL v_u_xy(CCmdTarget* p, UINT, WPARAM w, LPARAM l, LRESULT& r)
{
    (self<C>(p)->*F)(static_cast<UINT>(w), static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
    r = 0;
    return TRUE;
}

template <class C, void (C::*F)(UINT, CPoint)>
BOOL v_u_pt(CCmdTarget* p, UINT, WPARAM w, LPARAM l, LRESULT& r)
{
    (self<C>(p)->*F)(static_cast<UINT>(w), CPoint(l));
    r = 0;
    return TRUE;
}

template <class C, void (C::*F)(UINT_PTR)>
BOOL v_uptr(CCmdTarget* p, UINT, WPARAM w, LPARAM, LRESULT& r)
{
    (self<C>(p)->*F)(static_cast<UINT_PTR>(w));
    r = 0;
    return TRUE;
}

template <class C, BOOL (C::*F)(CDC*)>
BOOL b_dc(CCmdTarget* p, UINT, WPARAM w, LPARAM, LRESULT& r)
{
    r = (self<C>(p)->*F)(CDC::FromHandle(reinterpret_cast<HDC>(w)));
    return TRUE;
}

template <class C, HBRUSH (C::*F)(CDC*, CWnd*, UINT)>
BOOL h_dc_wnd_u(CCmdTarget* p, UINT msg, WPARAM w, LPARAM l, LRESULT& r)
{
    HBRUSH brush = (self<C>(p)->*F)(CDC::FromHandle(reinterpret_cast<HDC>(w)),
                                    CWnd::FromHandle(reinterpret_cast<HWND>(l)),
                                    msg - WM_CTLCOLORMSGBOX);
    r = reinterpret_cast<LRESULT>(brush);
    return TRUE;
}

// A reflected colour request counts as handled only with a brush.
template <class C, HBRUSH (C::*F)(CDC*, UINT)>
BOOL h_dc_u(CCmdTarget* p, UINT msg, WPARAM w, LPARAM, LRESULT& r)
{
    HBRUSH brush = (self<C>(p)->*F)(CDC::FromHandle(reinterpret_cast<HDC>(w)), msg - WM_CTLCOLORMSGBOX);
    r = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

template <class C, void (C::*F)(int, LPDRAWITEMSTRUCT)>
BOOL v_i_dis(CCmdTarget* p, UINT, WPARAM w, LPARAM l, LRESULT& r)
{
    (self<C>(p)->*F)(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l));
    r = TRUE;
    return TRUE;
}

template <class C, LRESULT (C::*F)(WPARAM, LPARAM)>
BOOL l_w_l(CCmdTarget* p, UINT, WPARAM w, LPARAM l, LRESULT& r)
{
    r = (self<C>(p)->*F)(w, l);
    return TRUE;
}

} // namespace cl::thunk
