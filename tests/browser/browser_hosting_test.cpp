// The system browser control hosted in a dialog through our class library:
// placement, tab order, visibility, binding, dispatch calls, events with
// Cancel, resizing, failures and teardown. Runs against the real control.
#include <gtest/gtest.h>

#include <exdisp.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "browser/explorer1.h"
#include "http_server.h"
#include "process_helpers.h"
#include "test_browser.h"

using testing_support::HttpServer;
using testing_support::WaitFor;

namespace {

class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_TEST_HOST) {}
    CExplorer1 m_browser;
    CExplorer1 m_hidden;
    std::vector<std::wstring> seen;
    std::wstring cancelContaining;  // addresses containing this are cancelled
    std::wstring redirectTo;        // ...and the view is sent here instead
    bool throwInHandler = false;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_TEST_HOST_WEB, m_browser);
        DDX_Control(pDX, IDC_TEST_HOST_HIDDEN, m_hidden);
    }

    void OnBeforeNavigate2(LPDISPATCH, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*, BOOL* Cancel)
    {
        const std::wstring url = URL && V_VT(URL) == VT_BSTR && V_BSTR(URL) ? V_BSTR(URL) : L"";
        seen.push_back(url);
        if (throwInHandler)
            throw std::runtime_error("handler failed");
        if (!cancelContaining.empty() && url.find(cancelContaining) != std::wstring::npos) {
            *Cancel = TRUE;
            if (!redirectTo.empty())
                Navigate(redirectTo);
        }
    }

    void Navigate(const std::wstring& url)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = ::SysAllocString(url.c_str());
        try {
            m_browser.Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
        } catch (...) {
            ::VariantClear(&v);
            throw;
        }
        ::VariantClear(&v);
    }

    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(HostDialog, CDialog)
    ON_EVENT(HostDialog, IDC_TEST_HOST_WEB, 250, OnBeforeNavigate2,
             VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
END_EVENTSINK_MAP()

class BrowserHosting : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AfxEnableControlContainer(); }
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create(IDD_TEST_HOST));
        m_dlg.ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override
    {
        if (m_dlg.m_hWnd)
            m_dlg.DestroyWindow();
    }
    HostDialog m_dlg;
};

TEST_F(BrowserHosting, ControlSitsAtItsItemWithIdTabOrderAndVisibility)
{
    HWND web = ::GetDlgItem(m_dlg.m_hWnd, IDC_TEST_HOST_WEB);
    ASSERT_NE(web, nullptr);
    RECT expected = {10, 24, 210, 144};
    ::MapDialogRect(m_dlg.m_hWnd, &expected);
    CRect actual;
    ::GetWindowRect(web, &actual);
    m_dlg.ScreenToClient(&actual);
    EXPECT_EQ(actual, CRect(expected));
    EXPECT_TRUE(::IsWindowVisible(web));
    // Template order: the edit, then this control, then the hidden one.
    EXPECT_EQ(::GetWindow(::GetDlgItem(m_dlg.m_hWnd, IDC_TEST_HOST_EDIT), GW_HWNDNEXT), web);
    HWND hidden = ::GetDlgItem(m_dlg.m_hWnd, IDC_TEST_HOST_HIDDEN);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(::GetWindow(web, GW_HWNDNEXT), hidden);
    EXPECT_FALSE(::IsWindowVisible(hidden));

    // Bound wrappers reach the controls.
    EXPECT_EQ(m_dlg.m_browser.m_hWnd, web);
    IUnknown* unknown = m_dlg.m_browser.GetControlUnknown();
    ASSERT_NE(unknown, nullptr);
    IWebBrowser2* browser = nullptr;
    EXPECT_EQ(unknown->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)), S_OK);
    if (browser)
        browser->Release();

    // Focus activates a hidden control with its user interface and shows it.
    m_dlg.m_hidden.SetFocus();
    EXPECT_TRUE(::IsWindowVisible(hidden));
}

TEST_F(BrowserHosting, NavigationEventsReachTheSinkMapAndCancelIsHonoured)
{
    HttpServer server;
    m_dlg.cancelContaining = L"/blocked";
    m_dlg.redirectTo = server.Url(L"/instead");
    m_dlg.Navigate(server.Url(L"/first"));
    ASSERT_TRUE(WaitFor([&] { return server.WasRequested("/first"); }, 15000));
    m_dlg.Navigate(server.Url(L"/blocked"));
    ASSERT_TRUE(WaitFor([&] { return server.WasRequested("/instead"); }, 15000));
    WaitFor([] { return false; }, 500);

    ASSERT_GE(m_dlg.seen.size(), 3u);
    EXPECT_EQ(m_dlg.seen[0], server.Url(L"/first"));  // the address exactly as given
    EXPECT_EQ(m_dlg.seen[1], server.Url(L"/blocked"));
    EXPECT_EQ(m_dlg.seen[2], server.Url(L"/instead"));  // issued from inside the handler
    EXPECT_FALSE(server.WasRequested("/blocked"));
}

TEST_F(BrowserHosting, HandlerExceptionLeavesTheEventUnhandled)
{
    HttpServer server;
    m_dlg.throwInHandler = true;
    m_dlg.cancelContaining = L"/page";  // would cancel, but the handler raises first
    m_dlg.Navigate(server.Url(L"/page"));
    EXPECT_TRUE(WaitFor([&] { return server.WasRequested("/page"); }, 15000));
    EXPECT_EQ(m_dlg.seen.size(), 1u);
}

TEST_F(BrowserHosting, WidthAndHeightResizeTheControl)
{
    m_dlg.m_browser.put_Width(333);
    m_dlg.m_browser.put_Height(222);
    CRect rc;
    ::GetWindowRect(m_dlg.m_browser.m_hWnd, &rc);
    EXPECT_EQ(rc.Width(), 333);
    EXPECT_EQ(rc.Height(), 222);
    m_dlg.m_browser.MoveWindow(5, 6, 100, 80);
    ::GetWindowRect(m_dlg.m_browser.m_hWnd, &rc);
    m_dlg.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(5, 6, 105, 86));
}

TEST_F(BrowserHosting, RejectedCallsRaiseTheAutomationException)
{
    static const BYTE none[] = VTS_NONE;
    try {
        m_dlg.m_browser.InvokeHelper(0x7777, DISPATCH_METHOD, VT_EMPTY, nullptr, none);
        ADD_FAILURE() << "no exception";
    } catch (const COleDispatchException&) {
        ADD_FAILURE() << "the control reported no exception of its own";
    } catch (const COleException& e) {
        EXPECT_EQ(e.m_sc, DISP_E_MEMBERNOTFOUND);
    }
}

TEST(UnboundWrapper, IgnoresEveryCall)
{
    CExplorer1 loose;
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_NO_THROW(loose.Navigate2(&v, nullptr, nullptr, nullptr, nullptr));
    EXPECT_NO_THROW(loose.put_Width(10));
    EXPECT_EQ(loose.GetControlUnknown(), nullptr);
}

TEST_F(BrowserHosting, DestroyingTheDialogReleasesTheControls)
{
    IUnknown* unknown = m_dlg.m_browser.GetControlUnknown();
    ASSERT_NE(unknown, nullptr);
    unknown->AddRef();
    m_dlg.DestroyWindow();
    EXPECT_EQ(m_dlg.m_browser.GetControlUnknown(), nullptr);
    EXPECT_EQ(m_dlg.m_browser.m_hWnd, nullptr);
    // Only our own reference is left.
    EXPECT_EQ(unknown->Release(), 0u);
}

} // namespace
