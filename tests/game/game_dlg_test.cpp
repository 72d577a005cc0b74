// The game window's host answers for its page, checked on the browser
// stand-in (Wine's control makes no document that would ask them).
#include <gtest/gtest.h>

#include "fake_browser.h"
#include "game/game_dlg.h"
#include "res/resource.h"

namespace {

class GameWindowHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AfxEnableControlContainer(); }
    fake::Factory m_factory;
};

IDocHostUIHandler* HostOf(fake::Browser& browser)
{
    IDocHostUIHandler* handler = nullptr;
    if (browser.site)
        browser.site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler));
    return handler;
}

TEST_F(GameWindowHost, PageGetsHostFlagsItsOwnMenuAndAnExternalWithoutMembers)
{
    GameDlg* dlg = new GameDlg();
    ASSERT_TRUE(dlg->Create(IDD_GAME_DIALOG));
    ASSERT_EQ(m_factory.made.size(), 1u);
    EXPECT_EQ(dlg->GetWindowText(), L"Orvanta");
    EXPECT_EQ(dlg->m_browser.GetControlUnknown(), static_cast<IUnknown*>(static_cast<IOleObject*>(m_factory.made[0])));

    IDocHostUIHandler* host = HostOf(*m_factory.made[0]);
    ASSERT_NE(host, nullptr);
    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_EQ(host->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));
    EXPECT_EQ(host->ShowContextMenu(0, nullptr, nullptr, nullptr), S_FALSE);  // the browser's own menu

    IDispatch* external = nullptr;
    ASSERT_EQ(host->GetExternal(&external), S_OK);
    ASSERT_NE(external, nullptr);
    EXPECT_EQ(external, dlg->GetIDispatch(FALSE));
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"anything");
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(external->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    external->Release();
    host->Release();
    dlg->DestroyWindow();  // the object goes with its window
}

// A dialog that does not open its external object to pages.
class ClosedDialog : public CDHtmlDialog {
public:
    ClosedDialog() : CDHtmlDialog(IDD_GAME_DIALOG) {}
    BOOL OnInitDialog() override
    {
        CDHtmlDialog::OnInitDialog();
        EnableAutomation();
        SetExternalDispatch(GetIDispatch(FALSE));
        return TRUE;
    }
};

TEST_F(GameWindowHost, ExternalOnlyWhereTheDialogAllowsIt)
{
    ClosedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_GAME_DIALOG));
    IDocHostUIHandler* host = HostOf(*m_factory.made[0]);
    ASSERT_NE(host, nullptr);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_NE(host->GetExternal(&external), S_OK);
    EXPECT_EQ(external, nullptr);
    host->Release();
    dlg.DestroyWindow();
}

TEST_F(GameWindowHost, NavigateToShowsTheHiddenBrowserAndLoadsTheAddressUnchanged)
{
    GameDlg* dlg = new GameDlg();
    ASSERT_TRUE(dlg->Create(IDD_GAME_DIALOG));
    fake::Browser& b = *m_factory.made[0];
    EXPECT_FALSE(::IsWindowVisible(b.hwnd));  // the template's item is not visible
    dlg->ShowWindow(SW_SHOWMAXIMIZED);
    dlg->NavigateTo(L"http://portal.example/play?id=7&x=%20y");
    EXPECT_TRUE(::IsWindowVisible(b.hwnd));
    EXPECT_EQ(b.verbs.back(), OLEIVERB_UIACTIVATE);
    EXPECT_EQ(b.navigations, std::vector<std::wstring>{L"http://portal.example/play?id=7&x=%20y"});
    CRect client, view;
    dlg->GetClientRect(&client);
    ::GetWindowRect(b.hwnd, &view);
    EXPECT_EQ(view.Size(), client.Size());
    // A failing navigation surfaces as the automation exception.
    static const BYTE none[] = VTS_NONE;
    EXPECT_THROW(dlg->m_browser.InvokeHelper(0x7777, DISPATCH_METHOD, VT_EMPTY, nullptr, none), COleDispatchException);
    dlg->DestroyWindow();
}

} // namespace
