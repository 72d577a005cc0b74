// The application object and the entry point.
//
// Exactly one CWinApp-derived object exists, a global constructed before the
// entry point runs. AfxWinMain calls its InitInstance once; when that returns
// FALSE it calls ExitInstance at once and ends the process with its result,
// otherwise it runs the message loop (Run) and ends with Run's result.
#pragma once

#include "wnd.h"

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;  // cleared when the main window is destroyed
    MSG m_msgCur{};

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    // The message loop of the application thread; returns ExitInstance().
    virtual int Run();
    // Returns the exit code of the process.
    virtual int ExitInstance();
    // Offers a queued message to the window filters (see CWnd::WalkPreTranslateTree).
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Idle-time work between messages: deletes temporary wrappers.
    virtual BOOL OnIdle(LONG lCount);

    // Wraps: ::LoadIconW from the resource module.
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;

    // ID_HELP: there is no help file; the command is accepted and ignored.
    void OnHelp();

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// Replaces the module whose resources dialogs, icons and pictures come from.
void AfxSetResourceHandle(HINSTANCE hInstResource);
CWnd* AfxGetMainWnd();
// The entry point's work: initialises the library, runs the application
// object and returns the process exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
// Runs the application's message filters for one queued message.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Turns on hosting of ActiveX controls in dialogs (initialises OLE on this thread).
void AfxEnableControlContainer();
