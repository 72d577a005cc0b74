#include "game_dlg.h"

#include "browser/bstr_variant.h"
#include "launcher/key_filters.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(GameDlg, CDHtmlDialog)

BEGIN_MESSAGE_MAP(GameDlg, CDHtmlDialog)
    ON_WM_CLOSE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

GameDlg::GameDlg(CWnd*)
    : CDHtmlDialog(IDD_GAME_DIALOG, IDR_HTML_GAME_DIALOG, nullptr),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

GameDlg::~GameDlg() = default;

void GameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_GAME_BROWSER, m_browser);
}

BOOL GameDlg::OnInitDialog()
{
    // The plain dialog initialisation: no browser or HTML resource of the
    // base's own, the template's browser is bound by the data exchange.
    CDialog::OnInitDialog();
    EnableAutomation();
    SetExternalDispatch(GetIDispatch(FALSE));  // takes its own reference
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowText(L"Orvanta");
    return TRUE;
}

BOOL GameDlg::CanAccessExternal()
{
    return TRUE;
}

void GameDlg::OnOK()
{
}

void GameDlg::PostNcDestroy()
{
    delete this;
}

BOOL GameDlg::PreTranslateMessage(MSG* pMsg)
{
    return launcher::ApplyFilter(launcher::GameFilter(pMsg->message, pMsg->wParam),
                                 [&] { return CDialog::PreTranslateMessage(pMsg); });
}

void GameDlg::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_browser.m_hWnd)
        m_browser.MoveWindow(0, 0, cx, cy, TRUE);
}

void GameDlg::OnClose()
{
    Default();
    if (CWnd* owner = CWnd::FromHandle(::GetParent(m_hWnd)))
        owner->SendMessage(WM_CLOSE, 0, 0);
}

void GameDlg::NavigateTo(CString url)
{
    BstrVariant address(url);
    m_browser.SetFocus();
    m_browser.Navigate2(address.get(), nullptr, nullptr, nullptr, nullptr);
}
