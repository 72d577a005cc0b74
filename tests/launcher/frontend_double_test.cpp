// The front panel's start-up against the browser stand-in: the portal's
// first navigations and size, and the UI controller installing itself on the
// documents of the page and its frames (which Wine's control never makes).
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include "fake_browser.h"
#include "launcher/frontend_dialog.h"
#include "launcher/portal_url.h"
#include "res/resource.h"

namespace {

TEST(FrontPanelWithDouble, PortalStartsHomeAtItsSizeWithTheControllerOnEveryDocument)
{
    AfxEnableControlContainer();
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        fake::Factory factory;
        FrontendDialog* panel = new FrontendDialog(nullptr);
        ASSERT_TRUE(panel->Create(IDD_FRONTEND_DIALOG, nullptr));
        ASSERT_EQ(factory.made.size(), 1u);
        fake::Browser& b = *factory.made[0];
        EXPECT_EQ(b.navigations, (std::vector<std::wstring>{L"about:blank", PORTAL_HOME_URL}));
        CRect view;
        ::GetWindowRect(b.hwnd, &view);
        EXPECT_EQ(view.Size(), CSize(655, 420));

        // Attached: one connection for the panel's own sink, one for the controller.
        EXPECT_EQ(panel->m_uiController.m_pWebBrowser, static_cast<IWebBrowser2*>(&b));
        EXPECT_NE(panel->m_uiController.m_dwCookie, 0u);
        fake::Document frameDoc;
        fake::Frame frame(&frameDoc);
        b.FireNavigateComplete(static_cast<IWebBrowser2*>(&b), PORTAL_HOME_URL);
        b.FireNavigateComplete(&frame, L"http://portal.orvanta.example/embed/3434/frame");
        IDocHostUIHandler* controller = &panel->m_uiController;
        EXPECT_EQ(b.doc->handler, controller);
        EXPECT_EQ(frameDoc.handler, controller);
        DOCHOSTUIINFO info = {};
        ASSERT_EQ(b.doc->handler->GetHostInfo(&info), S_OK);
        EXPECT_EQ(info.dwFlags, 0xFu);

        // The window's end detaches the controller and closes the control.
        panel->DestroyWindow();
        EXPECT_EQ(panel->m_uiController.m_pWebBrowser, nullptr);
        for (IDispatch* sink : b.sinks)
            EXPECT_EQ(sink, nullptr);
        EXPECT_TRUE(b.closed);
        b.doc->SetUIHandler(nullptr);
        frameDoc.SetUIHandler(nullptr);
        delete panel;
    }
    Gdiplus::GdiplusShutdown(token);
}

} // namespace
