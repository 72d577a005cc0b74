// CWnd: a C++ object bound to a window handle, with message-map dispatch.
//
// Binding: while a CWnd creates its window, a thread-local "window being
// created" pointer and a CBT hook subclass the new window before it receives
// its first message, so WM_GETMINMAXINFO, WM_NCCREATE and WM_CREATE all reach
// the object. Existing windows are bound with SubclassWindow (DDX_Control).
// The handle map is per thread; an entry leaves it at WM_NCDESTROY, after
// which PostNcDestroy runs (the object may delete itself there).
//
// FromHandle returns a temporary wrapper for a window no object owns; it is
// deleted at the next idle time of the message loop and must not be kept.
#pragma once

#include <ole2.h>

#include "cmdtarget.h"
#include "types.h"

class CDC;
class CDataExchange;
class COleControlSite;
class COleControlContainer;
struct CCreateContext;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Destroys a window that is still attached (not a temporary wrapper).
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return GetSafeHwnd(); }

    // The object bound to hWnd, or a temporary wrapper, or null for null.
    static CWnd* FromHandle(HWND hWnd);
    // The object bound to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes the temporary wrappers of this thread (done at idle time).
    static void DeleteTempMap();

    // Binds the object to an existing window without subclassing it.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Binds the object and routes the window's messages through it.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = nullptr);
    virtual BOOL DestroyWindow();

    // Thin wrappers; each forwards to the Win32 function of the same name.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Changes the style bits; FALSE when they were already as asked. With
    // nFlags, the frame is recomputed through SetWindowPos.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetWindowText(LPCTSTR lpszString);
    CString GetWindowText() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A message the parent reflects back to this control. TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Offers pMsg to PreTranslateMessage of the target window, then of each
    // window up its parent/owner chain, stopping after hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // Offers the child hWndChild the message being handled, reflected.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);

    // OLE control hosting (see ole.h): the site of a hosted control and
    // the container of a window that hosts controls.
    COleControlSite* m_pCtrlSite = nullptr;
    COleControlContainer* m_pCtrlCont = nullptr;

    // The hosted control's IUnknown, without an added reference; null when
    // this wrapper is not bound to a control site.
    IUnknown* GetControlUnknown() const;
    // Calls the hosted control's IDispatch; does nothing without a site.
    // Raises COleDispatchException or COleException when the call fails.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                      const BYTE* pbParamInfo, ...);
    // Creates the site for a control this window hosts; null for the
    // library's standard site.
    virtual COleControlSite* CreateControlSite(COleControlContainer* pContainer);
    // Creates an ActiveX control as a child of pParentWnd (no persisted
    // state) and binds this wrapper to it.
    BOOL CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID);
    // Binds this wrapper to a hosted control's site (DDX_Control does this).
    void AttachControlSite(COleControlSite* pSite);

    // Default handlers (default processing); derived maps route to them.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnClose();
    void OnMove(int x, int y);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(CDC* pDC);
    // Reflects the request to the control concerned (never the window's own
    // background request), then default processing.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // Reflects the request to the owner-drawn control, then default processing.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    // Handles WM_INITDIALOG; dialogs run their initialisation here.
    virtual LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    // Looks up a reflected message in this object's map.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Runs CreateEx/CreateDialog with the creation hook around it.
    static void HookWindowCreate(CWnd* pWnd);
    static BOOL UnhookWindowCreate();

    WNDPROC m_pfnSuper = nullptr;  // the window procedure that default processing calls

    DECLARE_MESSAGE_MAP()

    friend LRESULT CALLBACK ClStdWndProc(HWND, UINT, WPARAM, LPARAM);
    friend struct WndInternals;

private:
    bool m_bTemporary = false;
};

// The window procedure of every window bound to a CWnd.
LRESULT CALLBACK ClStdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The message currently being handled on this thread (for Default()).
const MSG* AfxGetCurrentMessage();
