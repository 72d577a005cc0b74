#include "afxwin.h"
#include "cl/ole.h"

#include <cstdarg>

#include <memory>
#include <unordered_map>

namespace {

struct WndThreadState {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
    CWnd* pWndInit = nullptr;   // the object whose window is being created
    HHOOK hCbtHook = nullptr;
    int hookDepth = 0;
    MSG current{};              // the message being handled (for Default)
};

WndThreadState& State()
{
    static thread_local WndThreadState state;
    return state;
}

// What a window procedure returns when a handler raised: creation fails,
// a paint is validated, anything else is answered 0.
LRESULT AnswerAfterException(HWND hWnd, UINT message)
{
    if (message == WM_CREATE || message == WM_NCCREATE)
        return message == WM_CREATE ? -1 : FALSE;
    if (message == WM_PAINT)
        ::ValidateRect(hWnd, nullptr);
    return 0;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    WndThreadState& st = State();
    if (code == HCBT_CREATEWND && st.pWndInit) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* pWnd = st.pWndInit;
        st.pWndInit = nullptr;
        pWnd->SubclassWindow(hWnd);
    }
    return ::CallNextHookEx(st.hCbtHook, code, wParam, lParam);
}

} // namespace

struct WndInternals {
    static LRESULT Call(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        WndThreadState& st = State();
        const MSG saved = st.current;
        st.current.hwnd = hWnd;
        st.current.message = message;
        st.current.wParam = wParam;
        st.current.lParam = lParam;

        LRESULT result = 0;
        try {
            result = pWnd->WindowProc(message, wParam, lParam);
        } catch (...) {
            // No exception crosses the window procedure.
            result = AnswerAfterException(hWnd, message);
        }

        // Hosted controls go before the window's children do.
        if ((message == WM_DESTROY || message == WM_NCDESTROY) && CWnd::FromHandlePermanent(hWnd) == pWnd &&
            pWnd->m_pCtrlCont) {
            delete pWnd->m_pCtrlCont;
            pWnd->m_pCtrlCont = nullptr;
        }
        if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd)
            FinishNcDestroy(pWnd, hWnd);
        st.current = saved;
        return result;
    }

    // The window is gone: unbind the object, then let it clean up.
    static void FinishNcDestroy(CWnd* pWnd, HWND hWnd)
    {
        WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
        if (current == ClStdWndProc && pWnd->m_pfnSuper)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
        pWnd->Detach();
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == pWnd)
            app->m_pMainWnd = nullptr;
        pWnd->PostNcDestroy();
    }
};

LRESULT CALLBACK ClStdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return WndInternals::Call(pWnd, hWnd, message, wParam, lParam);
}

const MSG* AfxGetCurrentMessage()
{
    return &State().current;
}

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CWnd::CWnd() = default;


CWnd::~CWnd()
{
    // A hosted control's window belongs to its site.
    if (m_pCtrlSite) {
        m_pCtrlSite->m_pWndCtrl = nullptr;
        m_pCtrlSite = nullptr;
        Detach();
    }
    if (!m_hWnd)
        return;
    if (m_bTemporary) {
        m_hWnd = nullptr;
        return;
    }
    if (FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hWnd)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto& map = State().permanent;
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    auto& temps = State().temporary;
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second.get();
    auto wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = hWnd;
    wrapper->m_bTemporary = true;
    CWnd* p = wrapper.get();
    temps.emplace(hWnd, std::move(wrapper));
    return p;
}

void CWnd::DeleteTempMap()
{
    State().temporary.clear();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd)
        return FALSE;
    auto& st = State();
    st.temporary.erase(hWndNew);
    st.permanent[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = State().permanent;
        auto it = map.find(hWnd);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClStdWndProc)));
    if (old != ClStdWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hCtl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hCtl ? SubclassWindow(hCtl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::HookWindowCreate(CWnd* pWnd)
{
    WndThreadState& st = State();
    if (st.hookDepth++ == 0)
        st.hCbtHook = ::SetWindowsHookExW(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
    st.pWndInit = pWnd;
}

BOOL CWnd::UnhookWindowCreate()
{
    WndThreadState& st = State();
    const BOOL consumed = st.pWndInit == nullptr;
    st.pWndInit = nullptr;
    if (--st.hookDepth == 0 && st.hCbtHook) {
        ::UnhookWindowsHookEx(st.hCbtHook);
        st.hCbtHook = nullptr;
    }
    return consumed;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE;
    HookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                  nHeight, hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    UnhookWindowCreate();
    if (!hWnd) {
        if (m_hWnd)  // bound by the hook, then creation failed
            Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND hWnd = m_hWnd;
    if (FromHandlePermanent(hWnd) != this) {
        m_hWnd = nullptr;
        return ::DestroyWindow(hWnd);
    }
    BOOL ok = ::DestroyWindow(hWnd);
    // A window that was bound without subclassing gets no WM_NCDESTROY here.
    if (m_hWnd == hWnd && !::IsWindow(hWnd))
        Detach();
    return ok;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::GetParent() const
{
    return m_hWnd ? FromHandle(::GetParent(m_hWnd)) : nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (m_pCtrlSite) {
        const BOOL wasVisible = ::IsWindowVisible(m_hWnd);
        m_pCtrlSite->ShowWindow(nCmdShow);
        return wasVisible;
    }
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    if (m_pCtrlSite)
        m_pCtrlSite->MoveWindow(x, y, nWidth, nHeight);
    else
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx,
                          cy, nFlags);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
}

namespace {
BOOL ModifyLong(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, index));
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongPtrW(hWnd, index, static_cast<LONG_PTR>(newStyle));
    if (nFlags) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    ::SetWindowTextW(m_hWnd, lpszString);
}

CString CWnd::GetWindowText() const
{
    const int len = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, &text[0], len + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return CString(text);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

CWnd* CWnd::SetFocus()
{
    if (m_pCtrlSite) {
        HWND previous = ::GetFocus();
        m_pCtrlSite->SetFocus();
        return FromHandle(previous);
    }
    return FromHandle(::SetFocus(m_hWnd));
}

IUnknown* CWnd::GetControlUnknown() const
{
    return m_pCtrlSite ? m_pCtrlSite->m_pObject : nullptr;
}

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...)
{
    if (!m_pCtrlSite)
        return;
    va_list args;
    va_start(args, pbParamInfo);
    try {
        m_pCtrlSite->InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

COleControlSite* CWnd::CreateControlSite(COleControlContainer*)
{
    return nullptr;
}

void CWnd::AttachControlSite(COleControlSite* pSite)
{
    if (!pSite || m_pCtrlSite || m_hWnd)
        return;
    m_pCtrlSite = pSite;
    pSite->m_pWndCtrl = this;
    if (pSite->m_hWnd)
        Attach(pSite->m_hWnd);
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        *pResult = HandleInitDialog(wParam, lParam);
        return TRUE;
    }
    UINT mapMessage = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        mapMessage = cl::kMsgCtlColor;
    if (!DispatchToMap(mapMessage, 0, 0, message, wParam, lParam, result))
        return FALSE;
    *pResult = result;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& cur = State().current;
    return DefWindowProc(cur.message, cur.wParam, cur.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    // Menus and accelerators (no control) are plain commands.
    const int nCode = hWndCtrl ? HIWORD(wParam) : 0;
    if (OnCmdMsg(nID, nCode))
        return TRUE;
    return hWndCtrl ? ReflectLastMsg(hWndCtrl) : FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    UINT mapMessage = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        mapMessage = cl::kMsgCtlColor;
    LRESULT result = 0;
    if (!DispatchToMap(cl::kReflectBase + mapMessage, 0, 0, message, wParam, lParam, result))
        return FALSE;
    if (pResult)
        *pResult = result;
    return TRUE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (!pChild)
        return FALSE;
    const MSG cur = State().current;
    return pChild->OnChildNotify(cur.message, cur.wParam, cur.lParam, pResult);
}

void CWnd::PreSubclassWindow()
{
}

void CWnd::PostNcDestroy()
{
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd); pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::HandleInitDialog(WPARAM, LPARAM)
{
    return Default();
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }

BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    HWND hCtl = pWnd ? pWnd->m_hWnd : nullptr;
    LRESULT result = 0;
    if (hCtl && hCtl != m_hWnd && ReflectLastMsg(hCtl, &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType != ODT_MENU &&
        ReflectLastMsg(lpDrawItemStruct->hwndItem))
        return;
    Default();
}
