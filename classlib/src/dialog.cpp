#include "afxwin.h"
#include "cl/ole.h"
#include "dlginit.h"

#include <cstring>
#include <string>

namespace {

// Messages after which the modal loop has idle work to do again (not mouse
// moves, timers for caret blinking, or paints).
bool IsIdleMessage(const MSG& msg)
{
    return msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE &&
           msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */;
}

INT_PTR CALLBACK ClDlgProc(HWND, UINT message, WPARAM, LPARAM)
{
    // Every message reaches the object through its window procedure first;
    // what gets here is the dialog manager's default processing.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

LPCDLGTEMPLATE LoadDialogTemplate(HINSTANCE hInst, LPCTSTR lpszTemplateName)
{
    HRSRC hRes = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!hRes)
        return nullptr;
    HGLOBAL hData = ::LoadResource(hInst, hRes);
    return hData ? static_cast<LPCDLGTEMPLATE>(::LockResource(hData)) : nullptr;
}

} // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, HandleOK)
    ON_COMMAND(IDCANCEL, HandleCancel)
END_MESSAGE_MAP()

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!pDX || !pDX->m_pDlgWnd || rControl.m_hWnd)
        return;
    // An ActiveX control is reached through its site, not by subclassing.
    if (COleControlContainer* cont = pDX->m_pDlgWnd->m_pCtrlCont) {
        if (COleControlSite* site = cont->FindItem(static_cast<UINT>(nIDC))) {
            rControl.AttachControlSite(site);
            return;
        }
    }
    HWND hCtl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (!hCtl)
        return;
    rControl.SubclassWindow(hCtl);
}

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE tmpl = LoadDialogTemplate(hInst, lpszTemplateName);
    if (!tmpl)
        return FALSE;
    if (!pParentWnd)
        pParentWnd = m_pParentWnd;
    return CreateDlgIndirect(tmpl, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, hInst ? hInst : AfxGetResourceHandle());
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (m_hWnd || !lpDialogTemplate)
        return FALSE;
    // ActiveX items are taken out of the template and made at WM_INITDIALOG.
    std::vector<COleControlContainer::PendingItem> oleItems;
    const std::vector<BYTE> stripped = AfxSplitDialogTemplate(lpDialogTemplate, oleItems);
    if (!oleItems.empty()) {
        m_pCtrlCont = new COleControlContainer(this);
        m_pCtrlCont->m_pending = std::move(oleItems);
        lpDialogTemplate = reinterpret_cast<LPCDLGTEMPLATE>(stripped.data());
    }
    m_hInstDlgInit = hInst;
    HookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate,
                                             pParentWnd ? pParentWnd->m_hWnd : nullptr, ClDlgProc, 0);
    UnhookWindowCreate();
    if (!hWnd) {
        if (m_hWnd)
            Detach();
        delete m_pCtrlCont;
        m_pCtrlCont = nullptr;
        return FALSE;
    }
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE tmpl = LoadDialogTemplate(hInst, m_lpszTemplateName);
    if (!tmpl)
        return -1;

    // The owner: the given parent, else the main window (unless that is us).
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain != this)
            hOwner = pMain->m_hWnd;
    }
    bool reenableOwner = false;
    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        reenableOwner = true;
    }

    // The run may be ended while the window is still being created (an
    // EndDialog in OnInitDialog): then the loop never starts.
    m_nModalResult = -1;
    m_bContinueModal = true;
    m_bInModalLoop = true;
    if (CreateDlgIndirect(tmpl, CWnd::FromHandle(hOwner), hInst) && m_bContinueModal)
        RunModalLoop();
    m_bInModalLoop = false;
    m_bContinueModal = false;

    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    // The owner is enabled again before the dialog goes, so that activation
    // returns to it.
    if (reenableOwner && ::IsWindow(hOwner)) {
        ::EnableWindow(hOwner, TRUE);
        ::SetActiveWindow(hOwner);
    }
    DestroyWindow();
    return m_nModalResult;
}

int CDialog::RunModalLoop()
{
    if (!m_bInModalLoop) {  // called on its own, not from DoModal
        m_bContinueModal = true;
        m_bInModalLoop = true;
    }
    CWinApp* app = AfxGetApp();
    bool idle = true;
    LONG idleCount = 0;
    MSG msg{};

    while (ContinueModal()) {
        // Idle work while the queue is empty; a hidden modal dialog is shown
        // at its first idle time.
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (m_hWnd && !IsWindowVisible())
                ShowWindow(SW_SHOWNORMAL);
            if (app) {
                app->OnIdle(idleCount++);
            } else {
                CWnd::DeleteTempMap();
                CDC::DeleteTempMap();
            }
            idle = false;
        }
        if (!ContinueModal())
            break;
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            // WM_QUIT ends the loop and stays in the queue for the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
    m_bInModalLoop = false;
    return m_nModalResult;
}

BOOL CDialog::ContinueModal() const
{
    return m_bContinueModal && m_hWnd && ::IsWindow(m_hWnd);
}

void CDialog::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
    }
}

void CDialog::EndDialog(int nResult)
{
    if (!m_hWnd)
        return;
    if (m_bInModalLoop)
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    if (m_pCtrlCont)
        m_pCtrlCont->CreateControls(m_hInstDlgInit ? m_hInstDlgInit : AfxGetResourceHandle(),
                                    m_lpszTemplateName);
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit(m_lpszTemplateName);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::HandleOK()
{
    OnOK();
}

void CDialog::HandleCancel()
{
    OnCancel();
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard and mouse input gets the dialog manager's handling (tab
    // navigation, Enter and Escape as IDOK and IDCANCEL).
    const UINT m = pMsg->message;
    const bool input = (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST);
    if (!input || !m_hWnd)
        return FALSE;
    // Keys inside a hosted control go to the control first (Tab, clipboard keys).
    if (m_pCtrlCont && m_pCtrlCont->PreTranslateAccelerator(pMsg))
        return TRUE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    // Commands (not control notifications) go on to the application object.
    const bool isCommandId = nID >= 0x8000 && nID < 0xF000;
    if (nCode != 0 || !isCommandId)
        return FALSE;
    CWinApp* app = AfxGetApp();
    return app ? app->OnCmdMsg(nID, nCode) : FALSE;
}

BOOL CDialog::ExecuteDlgInit(LPCTSTR lpszResourceName)
{
    if (!m_hWnd)
        return TRUE;
    HINSTANCE hInst = m_hInstDlgInit ? m_hInstDlgInit : AfxGetResourceHandle();
    cl::ForEachDlgInitRecord(hInst, lpszResourceName, [this](const cl::DlgInitRecord& r) {
        // List and combo box strings; 0x0376 records belong to ActiveX controls.
        if (r.message == LB_ADDSTRING || r.message == CB_ADDSTRING) {
            std::string text(reinterpret_cast<const char*>(r.data), r.length);
            ::SendDlgItemMessageA(m_hWnd, r.id, r.message, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        return true;
    });
    return TRUE;
}
