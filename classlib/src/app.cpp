#include "afxwin.h"

#include <ole2.h>

namespace {
CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;
bool g_oleInitialized = false;
} // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    LONG idleCount = 0;
    MSG& msg = m_msgCur;
    for (;;) {
        while (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                break;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        idleCount = 0;
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg->hwnd)
        return FALSE;
    CWnd* pMain = AfxGetMainWnd();
    return CWnd::WalkPreTranslateTree(pMain ? pMain->m_hWnd : nullptr, pMsg);
}

BOOL CWinApp::OnIdle(LONG)
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    return FALSE;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconW(AfxGetResourceHandle(), lpszResourceName);
}

void CWinApp::OnHelp()
{
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp && g_pApp->m_hInstance)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResource = hInstResource;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (g_pApp)
        return g_pApp->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

void AfxEnableControlContainer()
{
    if (!g_oleInitialized && SUCCEEDED(::OleInitialize(nullptr)))
        g_oleInitialized = true;
}

namespace {
void AfxWinTerm()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    if (g_oleInitialized) {
        ::OleUninitialize();
        g_oleInitialized = false;
    }
}
} // namespace

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;

    int exitCode = 0;
    try {
        if (!app->InitApplication() || !app->InitInstance()) {
            if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
                app->m_pMainWnd->DestroyWindow();
            exitCode = app->ExitInstance();
        } else {
            exitCode = app->Run();
        }
    } catch (...) {
        // Nothing is shown; the process ends with a failure code.
        exitCode = -1;
    }
    AfxWinTerm();
    return exitCode;
}
