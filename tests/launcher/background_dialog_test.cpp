// The background layer window in this process, on the launcher's own
// resources: what can only be seen from inside (icons, blend, owner-less
// placement of the window at the picture's size).
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include "app/launcher_app.h"
#include "launcher/background_dialog.h"
#include "launcher/frontend_dialog.h"
#include "res/resource.h"

namespace {

class BackgroundWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        m_image = LoadBackgroundImage(::GetModuleHandleW(nullptr));
        ASSERT_NE(m_image, nullptr);
    }
    void TearDown() override
    {
        delete m_image;
        Gdiplus::GdiplusShutdown(m_token);
    }
    ULONG_PTR m_token = 0;
    Gdiplus::Image* m_image = nullptr;
};

TEST_F(BackgroundWindow, CarriesIconsTitleBlendAndThePictureSize)
{
    BackgroundDialog dlg;
    ASSERT_NE(dlg.m_hIcon, nullptr);
    dlg.m_pImage = m_image;
    ASSERT_TRUE(dlg.Create(IDD_BACKGROUND_DIALOG));

    EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(dlg.m_hIcon));
    EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(dlg.m_hIcon));
    EXPECT_EQ(dlg.GetWindowText(), L"Orvanta");
    DWORD blend = 0;
    memcpy(&blend, &dlg.m_blend, sizeof blend);
    EXPECT_EQ(blend, 0x01FF0000u);  // AC_SRC_OVER, 0, 255, AC_SRC_ALPHA

    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 1298);
    EXPECT_EQ(rc.Height(), 727);
    // A restore where the window already is moves nothing (no creep by the frame).
    dlg.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1298, 727));
    CRect after;
    dlg.GetWindowRect(&after);
    EXPECT_EQ(after, rc);
    dlg.DestroyWindow();
    delete dlg.m_pFrontend;
}

TEST_F(BackgroundWindow, WithoutAPictureTheWindowIsNotCreated)
{
    BackgroundDialog dlg;
    dlg.m_pImage = nullptr;
    EXPECT_FALSE(dlg.Create(IDD_BACKGROUND_DIALOG));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.DoModal(), -1);  // no run
}

TEST_F(BackgroundWindow, FilterKeepsEnterAndEscapeFromEndingTheModalRun)
{
    struct ProbeDialog : BackgroundDialog {
        BOOL OnInitDialog() override
        {
            BackgroundDialog::OnInitDialog();
            for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
                PostMessage(WM_KEYDOWN, vk, 1);
                PostMessage(WM_KEYUP, vk, 0xC0000001);
            }
            PostMessage(WM_APP);  // after the keys: end the run with a value of our own
            return TRUE;
        }
        void OnOK() override { ++oks; BackgroundDialog::OnOK(); }
        void OnCancel() override { ++cancels; BackgroundDialog::OnCancel(); }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_APP)
                EndDialog(77);
            return BackgroundDialog::WindowProc(message, wParam, lParam);
        }
        int oks = 0;
        int cancels = 0;
    } dlg;
    dlg.m_pImage = m_image;
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(dlg.oks, 0);
    EXPECT_EQ(dlg.cancels, 0);
}

} // namespace
