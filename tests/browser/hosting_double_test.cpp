// Hosting checked against the browser stand-in, for what Wine's control
// cannot show: the persisted state handed to Load byte for byte, activation
// verbs, exceptions the control reports, and every reference given back.
#include <gtest/gtest.h>

#include <vector>

#include "browser/explorer1.h"
#include "fake_browser.h"
#include "res/resource.h"
#include "test_browser.h"

namespace {

class HostingWithDouble : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AfxEnableControlContainer(); }
    fake::Factory m_factory;  // registered for the browser's CLSID while the test runs
};

std::vector<BYTE> DlgInitData(UINT dialog)
{
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(inst, MAKEINTRESOURCEW(dialog), MAKEINTRESOURCEW(240));
    const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(inst, res)));
    DWORD len = 0;
    memcpy(&len, p + 4, 4);
    return std::vector<BYTE>(p + 8, p + 8 + len);
}

TEST_F(HostingWithDouble, PersistedStateReachesLoadUnchanged)
{
    struct Case { UINT dialog; UINT control; };
    for (const Case& c : {Case{IDD_FRONTEND_DIALOG, IDC_PORTAL_BROWSER}, Case{IDD_GAME_DIALOG, IDC_GAME_BROWSER}}) {
        m_factory.made.clear();
        CDialog dlg(c.dialog);
        ASSERT_TRUE(dlg.Create(c.dialog));
        ASSERT_EQ(m_factory.made.size(), 1u);
        fake::Browser& b = *m_factory.made[0];
        const std::vector<BYTE> expected = DlgInitData(c.dialog);
        ASSERT_EQ(expected.size(), 160u);
        EXPECT_EQ(b.loaded, expected) << c.dialog;
        EXPECT_FALSE(b.initNew);
        EXPECT_EQ(::GetDlgCtrlID(b.hwnd), static_cast<int>(c.control));
        dlg.DestroyWindow();
        delete &b;  // the factory's list no longer needs it
    }
    m_factory.made.clear();
}

TEST_F(HostingWithDouble, ControlsWithoutStateStartNewAndHiddenItemsAreHidden)
{
    CDialog dlg(IDD_TEST_HOST);
    ASSERT_TRUE(dlg.Create(IDD_TEST_HOST));
    ASSERT_EQ(m_factory.made.size(), 2u);
    fake::Browser& visible = *m_factory.made[0];
    fake::Browser& hidden = *m_factory.made[1];
    EXPECT_EQ(visible.loaded, (std::vector<BYTE>{0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A, 0xF0, 0xDE}));
    EXPECT_TRUE(hidden.initNew);
    EXPECT_EQ(visible.verbs, std::vector<LONG>{OLEIVERB_INPLACEACTIVATE});
    EXPECT_EQ(hidden.verbs, (std::vector<LONG>{OLEIVERB_INPLACEACTIVATE, OLEIVERB_HIDE}));
    EXPECT_FALSE(::IsWindowVisible(hidden.hwnd));
    dlg.DestroyWindow();
}

class BoundDialog : public CDialog {
public:
    BoundDialog() : CDialog(IDD_TEST_HOST) {}
    CExplorer1 m_browser;
    int events = 0;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEST_HOST_WEB, m_browser); }
    void OnBeforeNavigate2(LPDISPATCH, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, BOOL*) { ++events; }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(BoundDialog, CDialog)
    ON_EVENT(BoundDialog, IDC_TEST_HOST_WEB, 250, OnBeforeNavigate2,
             VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
END_EVENTSINK_MAP()

TEST_F(HostingWithDouble, ControlExceptionsBecomeDispatchExceptions)
{
    BoundDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_HOST));
    static const BYTE none[] = VTS_NONE;
    try {
        dlg.m_browser.InvokeHelper(0x7777, DISPATCH_METHOD, VT_EMPTY, nullptr, none);
        ADD_FAILURE() << "no exception";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_wCode, 1001);
        EXPECT_EQ(e.m_strDescription, L"refused");
        EXPECT_EQ(e.m_strSource, L"fake browser");
    }
    dlg.DestroyWindow();
}

TEST_F(HostingWithDouble, TeardownDisconnectsClosesAndReleasesEverything)
{
    BoundDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_HOST));
    fake::Browser& b = *m_factory.made[0];
    EXPECT_NE(b.site, nullptr);
    ASSERT_EQ(b.sinks.size(), 1u);  // only the control named in the sink map
    EXPECT_EQ(m_factory.made[1]->sinks.size(), 0u);

    VARIANT url;
    ::VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = ::SysAllocString(L"http://portal.example/");
    dlg.m_browser.Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
    EXPECT_EQ(dlg.events, 1);
    EXPECT_EQ(b.navigations, std::vector<std::wstring>{L"http://portal.example/"});

    dlg.DestroyWindow();
    for (fake::Browser* made : m_factory.made) {
        EXPECT_TRUE(made->closed);
        EXPECT_EQ(made->site, nullptr);
        for (IDispatch* sink : made->sinks)
            EXPECT_EQ(sink, nullptr);
        EXPECT_EQ(made->refs, 0u);  // every reference the host took is given back
    }
    EXPECT_EQ(dlg.m_browser.GetControlUnknown(), nullptr);
}

} // namespace
