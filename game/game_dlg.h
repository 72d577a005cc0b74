// The game window: a resizable, maximizable window with a caption whose own
// browser view fills its client area and shows the game page. Closing it
// ends the application.
#pragma once

#include "afxdisp.h"
#include "browser/explorer1.h"

class GameDlg : public CDHtmlDialog {
    DECLARE_DYNCREATE(GameDlg)
public:
    explicit GameDlg(CWnd* pParent = nullptr);  // the argument is not used
    ~GameDlg() override;

    CExplorer1 m_browser;
    HICON m_hIcon;

    // Brings the browser into view and loads url in it.
    void NavigateTo(CString url);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL CanAccessExternal() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Nothing keeps a pointer to a game window: the object goes with it.
    void PostNcDestroy() override;

    void OnClose();
    void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};
