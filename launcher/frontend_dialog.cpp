#include "frontend_dialog.h"

#include <new>
#include <string>

#include "browser/bstr_variant.h"
#include "game/game_dlg.h"
#include "launcher/handoff.h"
#include "launcher/key_filters.h"
#include "launcher/portal_url.h"
#include "res/resource.h"

namespace {
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
} // namespace

IMPLEMENT_DYNAMIC(FrontendDialog, CDialog)

BEGIN_MESSAGE_MAP(FrontendDialog, CDialog)
    ON_WM_CLOSE()
    ON_WM_CTLCOLOR()
    ON_WM_CREATE()
    ON_BN_CLICKED(IDC_CLOSE_BUTTON, OnBnClickedClose)
    ON_BN_CLICKED(IDC_MINIMIZE_BUTTON, OnBnClickedMinimize)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(FrontendDialog, CDialog)
    ON_EVENT(FrontendDialog, IDC_PORTAL_BROWSER, 250, OnBeforeNavigate2,
             VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
END_EVENTSINK_MAP()

FrontendDialog::FrontendDialog(CWnd* pParent)
    : CDialog(IDD_FRONTEND_DIALOG, pParent), m_clrKey(RGB(0, 255, 0)),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

FrontendDialog::~FrontendDialog() = default;

void FrontendDialog::OnDestroy()
{
    // The portal browser is closed with the window: the controller lets go
    // of it first, so that no reference outlives the control.
    m_uiController.SetWebBrowser(nullptr);
    CDialog::OnDestroy();
}

void FrontendDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLOSE_BUTTON, m_btnClose);
    DDX_Control(pDX, IDC_MINIMIZE_BUTTON, m_btnMinimize);
    DDX_Control(pDX, IDC_PORTAL_BROWSER, m_browser);
}

BOOL FrontendDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_brKey.CreateSolidBrush(m_clrKey);

    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (HMODULE user32 = ::LoadLibraryW(L"User32.DLL")) {
        auto setAttributes = reinterpret_cast<SetLayeredWindowAttributesFn>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
        if (setAttributes)
            setAttributes(m_hWnd, m_clrKey, 0, LWA_COLORKEY);
        ::FreeLibrary(user32);
    }

    NavigatePortal(L"about:blank");
    m_btnClose.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
    m_btnMinimize.LoadStandardImage(IDB_MINIMIZE_GIF, L"GIF");
    NavigatePortal(PORTAL_HOME_URL);
    m_browser.put_Width(655);
    m_browser.put_Height(420);

    IUnknown* unknown = m_browser.GetControlUnknown();
    IWebBrowser2* browser = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) ||
        !browser)
        return TRUE;
    m_uiController.SetWebBrowser(browser);
    browser->Release();
    return TRUE;
}

void FrontendDialog::NavigatePortal(const wchar_t* url)
{
    BstrVariant address(url);
    m_browser.Navigate2(address.get(), nullptr, nullptr, nullptr, nullptr);
}

void FrontendDialog::OnOK()
{
}

void FrontendDialog::OnCancel()
{
    CDialog::OnCancel();
}

BOOL FrontendDialog::PreTranslateMessage(MSG* pMsg)
{
    return launcher::ApplyFilter(launcher::FrontendFilter(pMsg->message, pMsg->wParam),
                                 [&] { return CDialog::PreTranslateMessage(pMsg); });
}

int FrontendDialog::OnCreate(LPCREATESTRUCT)
{
    return 0;
}

HBRUSH FrontendDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brKey;
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void FrontendDialog::OnClose()
{
    Default();
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CLOSE, 0, 0);
}

void FrontendDialog::OnBnClickedClose()
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CLOSE, 0, 0);
}

void FrontendDialog::OnBnClickedMinimize()
{
    if (CWnd* parent = GetParent())
        parent->ShowWindow(SW_SHOWMINIMIZED);
}

bool FrontendDialog::OpenGameWindow(const std::wstring& url)
{
    GameDlg* game = new (std::nothrow) GameDlg();
    if (!game)
        return false;
    if (!game->Create(IDD_GAME_DIALOG, GetParent())) {
        delete game;
        return false;
    }
    game->ShowWindow(SW_SHOWMAXIMIZED);
    game->NavigateTo(CString(url));
    return true;
}

void FrontendDialog::OnBeforeNavigate2(LPDISPATCH, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                       BOOL* Cancel)
{
    const std::wstring url = URL && V_VT(URL) == VT_BSTR && V_BSTR(URL) ? V_BSTR(URL) : L"";
    if (!launcher::IsGameAddress(url)) {
        *Cancel = FALSE;
        return;
    }
    CWnd* parent = GetParent();
    if (parent)
        parent->ShowWindow(SW_HIDE);
    ShowWindow(SW_HIDE);
    // The player is never left without a window: if no game window can be
    // opened, the launcher comes back.
    if (!OpenGameWindow(url)) {
        if (parent)
            parent->ShowWindow(SW_SHOW);
        ShowWindow(SW_SHOW);
    }
    *Cancel = TRUE;
    NavigatePortal(PORTAL_HOME_URL);
}
