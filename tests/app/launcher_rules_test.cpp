// The background layer's rules that need no window: centring and the key filter.
#include <gtest/gtest.h>

#include "launcher/background_dialog.h"
#include "launcher/key_filters.h"

namespace {

TEST(Centring, FrameIsCentredOnTheWorkArea)
{
    struct Case { RECT work; int w, h; int x, y; };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, 1298, 727, 311, 156},
        {{0, 0, 1305, 732}, 1298, 727, 3, 2},         // odd difference 7 and 5: truncated halves
        {{0, 0, 1293, 722}, 1298, 727, -2, -2},       // window larger than the work area: -5/2 is -2
        {{100, 50, 2020, 1090}, 1298, 727, 411, 206}, // work area not at the origin
        {{-1920, 0, 0, 1080}, 1298, 727, -1609, 176}, // monitor left of the primary one
    };
    for (const Case& c : cases) {
        const CPoint p = launcher::CentreInWorkArea(c.work, c.w, c.h);
        EXPECT_EQ(p.x, c.x) << c.work.left << "," << c.work.right;
        EXPECT_EQ(p.y, c.y) << c.work.top << "," << c.work.bottom;
    }
}

TEST(KeyFilter, BackgroundKeepsEnterAndEscapeFromTheDialogManager)
{
    using launcher::FilterVerdict;
    struct Case { UINT message; WPARAM wParam; FilterVerdict verdict; };
    const Case cases[] = {
        {WM_KEYDOWN, VK_RETURN, FilterVerdict::Dispatch},
        {WM_KEYDOWN, VK_F12, FilterVerdict::Dispatch},
        {WM_RBUTTONDOWN, 0, FilterVerdict::Dispatch},
        {WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, FilterVerdict::Dispatch},
        {WM_KEYDOWN, VK_ESCAPE, FilterVerdict::Discard},
        {WM_KEYUP, VK_ESCAPE, FilterVerdict::AskBase},
        {WM_KEYUP, VK_RETURN, FilterVerdict::AskBase},
        {WM_KEYDOWN, VK_TAB, FilterVerdict::AskBase},
        {WM_KEYDOWN, 'A', FilterVerdict::AskBase},
        {WM_SYSKEYDOWN, VK_F12, FilterVerdict::AskBase},
        {WM_LBUTTONDOWN, 0, FilterVerdict::AskBase},
        {WM_CHAR, VK_RETURN, FilterVerdict::AskBase},
    };
    for (const Case& c : cases)
        EXPECT_EQ(launcher::BackgroundFilter(c.message, c.wParam), c.verdict) << std::hex << c.message << " " << c.wParam;
}

} // namespace
