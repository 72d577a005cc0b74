// The complete launcher in this process, with the real browser control: the
// front panel on the background, the "play" hand-off to a game window, the
// game window's sizing and keys, and closing.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "app/launcher_app.h"
#include "game/game_dlg.h"
#include "http_server.h"
#include "launcher/background_dialog.h"
#include "launcher/frontend_dialog.h"
#include "launcher/portal_url.h"
#include "process_helpers.h"
#include "res/resource.h"

using testing_support::HttpServer;
using testing_support::WaitFor;

namespace {

// Records the addresses a browser is about to navigate to.
class NavigationRecorder : public IDispatch {
public:
    std::vector<std::wstring> urls;
    DWORD cookie = 0;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (id == 250 && p && p->cArgs == 7) {
            VARIANT* url = &p->rgvarg[5];
            if (V_VT(url) == (VT_VARIANT | VT_BYREF))
                url = V_VARIANTREF(url);
            urls.push_back(V_VT(url) == VT_BSTR && V_BSTR(url) ? V_BSTR(url) : L"");
        }
        return S_OK;
    }
};

struct GameWindows {
    HWND owner;
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectGame(HWND hWnd, LPARAM lParam)
{
    auto* g = reinterpret_cast<GameWindows*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == ::GetCurrentProcessId() && hWnd != g->except && ::GetWindow(hWnd, GW_OWNER) == g->owner &&
        ::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) &&
        CWnd::FromHandlePermanent(hWnd)->IsKindOf(RUNTIME_CLASS(GameDlg)))
        g->found.push_back(hWnd);
    return TRUE;
}

class Launcher : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AfxEnableControlContainer();
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_token, &input, nullptr);
        s_image = LoadBackgroundImage(::GetModuleHandleW(nullptr));
    }
    static void TearDownTestSuite()
    {
        delete s_image;
        Gdiplus::GdiplusShutdown(s_token);
    }
    void SetUp() override
    {
        m_bg.m_pImage = s_image;
        ASSERT_TRUE(m_bg.Create(IDD_BACKGROUND_DIALOG));
        ASSERT_NE(m_bg.m_pFrontend, nullptr);
        m_front = m_bg.m_pFrontend;
        IUnknown* unk = m_front->m_browser.GetControlUnknown();
        ASSERT_NE(unk, nullptr);
        ASSERT_EQ(CWebUIController::AdviseEvents(unk, &m_recorder, &m_recorder.cookie), S_OK);
        WaitFor([] { return false; }, 200);
    }
    void TearDown() override
    {
        if (m_front && m_front->m_hWnd)
            CWebUIController::UnadviseEvents(m_front->m_browser.GetControlUnknown(), m_recorder.cookie);
        if (m_bg.m_hWnd)
            m_bg.DestroyWindow();
        delete m_front;  // the background never deletes it
    }
    std::vector<HWND> GameWindowsNow()
    {
        GameWindows g{m_bg.m_hWnd, m_front->m_hWnd, {}};
        ::EnumWindows(CollectGame, reinterpret_cast<LPARAM>(&g));
        return g.found;
    }
    void NavigatePortal(const std::wstring& url)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = ::SysAllocString(url.c_str());
        m_front->m_browser.Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
        ::VariantClear(&v);
    }

    static ULONG_PTR s_token;
    static Gdiplus::Image* s_image;
    BackgroundDialog m_bg;
    FrontendDialog* m_front = nullptr;
    NavigationRecorder m_recorder;
};
ULONG_PTR Launcher::s_token = 0;
Gdiplus::Image* Launcher::s_image = nullptr;

TEST_F(Launcher, FrontPanelSitsOnTheBackgroundWithItsPortalView)
{
    EXPECT_EQ(::GetWindow(m_front->m_hWnd, GW_OWNER), m_bg.m_hWnd);
    EXPECT_EQ(m_front->GetParent()->m_hWnd, m_bg.m_hWnd);
    CRect client, panel;
    m_bg.GetClientRect(&client);
    m_bg.ClientToScreen(&client);
    m_front->GetWindowRect(&panel);
    EXPECT_EQ(panel, client) << panel.left << "," << panel.top << "," << panel.right << "," << panel.bottom << " vs "
                             << client.left << "," << client.top << "," << client.right << "," << client.bottom;

    CRect view;
    ::GetWindowRect(m_front->m_browser.m_hWnd, &view);
    EXPECT_EQ(view.Width(), 655);
    EXPECT_EQ(view.Height(), 420);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(m_front->m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(0, 255, 0));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    // The panel follows a move and a minimize and restore of the background.
    m_bg.SetWindowPos(nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CPoint origin(0, 0);
    m_bg.ClientToScreen(&origin);
    m_front->GetWindowRect(&panel);
    EXPECT_EQ(panel.TopLeft(), origin);
    m_bg.ShowWindow(SW_MINIMIZE);
    EXPECT_FALSE(::IsWindowVisible(m_front->m_hWnd));
    m_bg.ShowWindow(SW_RESTORE);
    CRect window;
    m_bg.GetWindowRect(&window);
    EXPECT_EQ(window.TopLeft(), CPoint(100, 80));  // back where it was, not shifted by its frame
    m_front->GetWindowRect(&panel);
    EXPECT_EQ(panel, CRect(origin, client.Size()));
}

TEST_F(Launcher, OnlyGameAddressesAreHandedOff)
{
    struct Case { const wchar_t* url; bool handOff; };
    const Case cases[] = {
        {L"http://portal.example/news", false},
        {L"about:blank", false},
        {PORTAL_HOME_URL, false},
        {L"http://portal.example/PLAY", false},
        {L"javascript:play()", false},
        {L"file:///C:/play.html", false},
        {L"http://play.portal.example/", true},
        {L"http://portal.example/display", true},
        {L"http://portal.example/game?mode=replay", true},
    };
    size_t games = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.url, c.url + wcslen(c.url)));
        m_bg.ShowWindow(SW_SHOW);
        m_front->ShowWindow(SW_SHOW);
        m_recorder.urls.clear();
        NavigatePortal(c.url);
        games += c.handOff ? 1 : 0;
        // The control may report the navigation a little later.
        WaitFor([&] { return GameWindowsNow().size() == games && m_recorder.urls.size() >= (c.handOff ? 2u : 1u); },
                c.handOff ? 5000 : 500);
        EXPECT_EQ(GameWindowsNow().size(), games);
        EXPECT_EQ(!::IsWindowVisible(m_bg.m_hWnd), c.handOff);
        EXPECT_EQ(!::IsWindowVisible(m_front->m_hWnd), c.handOff);
        // The portal is sent home after a hand-off, and only then.
        const bool sentHome = m_recorder.urls.size() >= 2 && m_recorder.urls.back() == PORTAL_HOME_URL;
        EXPECT_EQ(sentHome, c.handOff);
    }
}

TEST_F(Launcher, HandOffOpensTheGamePageInAMaximizedOwnedWindow)
{
    HttpServer server;
    const std::wstring game = server.Url(L"/play/42?seat=1");
    NavigatePortal(game);
    std::vector<HWND> windows;
    ASSERT_TRUE(WaitFor([&] { return (windows = GameWindowsNow()).size() == 1; }, 5000));
    HWND gameWnd = windows[0];
    EXPECT_TRUE(::IsZoomed(gameWnd));
    EXPECT_TRUE(::IsWindowVisible(gameWnd));
    EXPECT_EQ(CWnd::FromHandle(gameWnd)->GetWindowText(), L"Orvanta");
    EXPECT_FALSE(::IsWindowVisible(m_bg.m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(m_front->m_hWnd));

    // The game view loads exactly that address; the portal never asked for it.
    EXPECT_TRUE(WaitFor([&] { return server.WasRequested("/play/42?seat=1"); }, 15000));
    EXPECT_EQ(server.Requests().size(), 1u);
    ASSERT_FALSE(m_recorder.urls.empty());
    EXPECT_EQ(m_recorder.urls.back(), PORTAL_HOME_URL);

    // The game browser fills the client area and follows its size.
    auto* dlg = static_cast<GameDlg*>(CWnd::FromHandlePermanent(gameWnd));
    auto browserSize = [&] {
        CRect rc;
        ::GetWindowRect(dlg->m_browser.m_hWnd, &rc);
        return rc.Size();
    };
    CRect client;
    dlg->GetClientRect(&client);
    EXPECT_TRUE(::IsWindowVisible(dlg->m_browser.m_hWnd));
    EXPECT_EQ(browserSize(), client.Size());
    dlg->ShowWindow(SW_RESTORE);
    dlg->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    dlg->GetClientRect(&client);
    EXPECT_EQ(browserSize(), client.Size());
    dlg->ShowWindow(SW_MINIMIZE);
    EXPECT_EQ(browserSize(), CSize(0, 0));
    dlg->ShowWindow(SW_RESTORE);
    dlg->GetClientRect(&client);
    EXPECT_EQ(browserSize(), client.Size());

    // Keys aimed at the game page: Escape goes nowhere, Enter and the right
    // button reach the page, through the whole filter chain.
    struct Key { UINT message; WPARAM wParam; BOOL handled; };
    for (const Key k : {Key{WM_KEYDOWN, VK_ESCAPE, TRUE}, Key{WM_KEYDOWN, VK_RETURN, FALSE},
                        Key{WM_RBUTTONDOWN, 0, FALSE}}) {
        MSG msg = {dlg->m_browser.m_hWnd, k.message, k.wParam, 0, 0, {0, 0}};
        EXPECT_EQ(CWnd::WalkPreTranslateTree(m_bg.m_hWnd, &msg), k.handled) << k.message << " " << k.wParam;
    }

    // A second game link opens a second window.
    NavigatePortal(server.Url(L"/playlist"));
    EXPECT_TRUE(WaitFor([&] { return GameWindowsNow().size() == 2; }, 5000)) << GameWindowsNow().size();
}

TEST_F(Launcher, LauncherComesBackWhenNoGameWindowCanBeMade)
{
    // Resources without the game window's template.
    AfxSetResourceHandle(::GetModuleHandleW(L"kernel32.dll"));
    NavigatePortal(L"http://portal.example/play");
    AfxSetResourceHandle(nullptr);
    EXPECT_TRUE(GameWindowsNow().empty());
    EXPECT_TRUE(::IsWindowVisible(m_bg.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(m_front->m_hWnd));
    ASSERT_FALSE(m_recorder.urls.empty());
    EXPECT_EQ(m_recorder.urls.back(), PORTAL_HOME_URL);  // still cancelled and sent home
}

// The whole modal run: a hand-off, then closing the game window ends it.
class ScriptedBackground : public BackgroundDialog {
public:
    BOOL OnInitDialog() override
    {
        BackgroundDialog::OnInitDialog();
        ::SetTimer(m_hWnd, 1, 200, nullptr);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 1) {
            ::KillTimer(m_hWnd, 1);
            VARIANT v;
            ::VariantInit(&v);
            V_VT(&v) = VT_BSTR;
            V_BSTR(&v) = ::SysAllocString(L"http://portal.example/play");
            m_pFrontend->m_browser.Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
            ::VariantClear(&v);
            ::SetTimer(m_hWnd, 2, 200, nullptr);
            return 0;
        }
        if (message == WM_TIMER && wParam == 2) {
            ::KillTimer(m_hWnd, 2);
            GameWindows g{m_hWnd, m_pFrontend->m_hWnd, {}};
            ::EnumWindows(CollectGame, reinterpret_cast<LPARAM>(&g));
            gameWindows = g.found.size();
            for (HWND h : g.found)
                ::PostMessageW(h, WM_CLOSE, 0, 0);
            if (g.found.empty())
                EndDialog(-2);
            return 0;
        }
        return BackgroundDialog::WindowProc(message, wParam, lParam);
    }
    size_t gameWindows = 0;
};

TEST(LauncherRun, ClosingTheGameWindowEndsTheModalRun)
{
    AfxEnableControlContainer();
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    Gdiplus::Image* image = LoadBackgroundImage(::GetModuleHandleW(nullptr));
    {
        ScriptedBackground bg;
        bg.m_pImage = image;
        EXPECT_EQ(bg.DoModal(), IDCANCEL);
        EXPECT_EQ(bg.gameWindows, 1u);
        delete bg.m_pFrontend;
    }
    delete image;
    Gdiplus::GdiplusShutdown(token);
}

} // namespace
