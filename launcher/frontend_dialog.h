// The launcher's front panel: a colour-keyed popup owned by the background
// layer. Only its controls show: the portal view and the close and minimize
// picture buttons. It hands "play" addresses of the portal to a game window.
#pragma once

#include "afxdisp.h"
#include "browser/explorer1.h"
#include "browser/web_ui_controller.h"
#include "controls/gdip_button.h"

class FrontendDialog : public CDialog {
    DECLARE_DYNAMIC(FrontendDialog)
public:
    explicit FrontendDialog(CWnd* pParent);
    ~FrontendDialog() override;

    COLORREF m_clrKey;                 // RGB(0, 255, 0): invisible and click-through
    CBrush m_brKey;                    // the dialog's own background, in the key colour
    CComModule m_atlModule;
    CGdipButton m_btnClose;
    CGdipButton m_btnMinimize;
    CExplorer1 m_browser;              // the portal view
    CWebUIController m_uiController;   // host UI of the portal's documents
    HICON m_hIcon;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The portal is about to navigate: hands game addresses to a game window.
    void OnBeforeNavigate2(LPDISPATCH pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                           VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnClose();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnBnClickedClose();
    void OnBnClickedMinimize();
    void OnDestroy();

    // Sends the portal view to an address (the VARIANT is made and cleared here).
    void NavigatePortal(const wchar_t* url);
    // Opens a game window on url; false when it could not be made.
    bool OpenGameWindow(const std::wstring& url);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};
