// The launcher's rules that need no window: centring, the key filters and
// the hand-off rule.
#include <gtest/gtest.h>

#include "launcher/background_dialog.h"
#include "launcher/handoff.h"
#include "launcher/key_filters.h"

#include <cwchar>
#include <string>

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

namespace {

TEST(KeyFilter, FrontPanelAndGameWindowRules)
{
    using launcher::FilterVerdict;
    struct Case { UINT message; WPARAM wParam; FilterVerdict front; FilterVerdict game; };
    const Case cases[] = {
        {WM_KEYDOWN, VK_F12, FilterVerdict::Discard, FilterVerdict::AskBase},
        {WM_KEYDOWN, VK_ESCAPE, FilterVerdict::Discard, FilterVerdict::Discard},
        {WM_KEYDOWN, VK_RETURN, FilterVerdict::Discard, FilterVerdict::Dispatch},
        {WM_RBUTTONDOWN, 0, FilterVerdict::Dispatch, FilterVerdict::Dispatch},
        {WM_KEYUP, VK_RETURN, FilterVerdict::AskBase, FilterVerdict::AskBase},
        {WM_KEYUP, VK_ESCAPE, FilterVerdict::AskBase, FilterVerdict::AskBase},
        {WM_KEYDOWN, VK_TAB, FilterVerdict::AskBase, FilterVerdict::AskBase},
        {WM_CHAR, VK_RETURN, FilterVerdict::AskBase, FilterVerdict::AskBase},
        {WM_LBUTTONDOWN, 0, FilterVerdict::AskBase, FilterVerdict::AskBase},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(launcher::FrontendFilter(c.message, c.wParam), c.front) << std::hex << c.message << " " << c.wParam;
        EXPECT_EQ(launcher::GameFilter(c.message, c.wParam), c.game) << std::hex << c.message << " " << c.wParam;
    }
}

TEST(HandOffRule, WebAddressesContainingPlayAreGamePages)
{
    struct Case { const wchar_t* url; bool game; };
    const Case cases[] = {
        {L"http://portal.example/play/42", true},            // path
        {L"http://portal.example/game?mode=play", true},     // query
        {L"http://play.portal.example/", true},              // host
        {L"https://portal.example/display", true},           // inside longer words
        {L"http://portal.example/player/7", true},
        {L"http://portal.example/replay", true},
        {L"http://portal.example/playlist", true},
        {L"HTTPS://portal.example/play", true},              // the scheme is not case-sensitive
        {L"http://portal.example/PLAY", false},              // "play" is
        {L"http://portal.example/Play", false},
        {L"about:blank", false},
        {L"http://portal.orvanta.example/embed/3434/", false},
        {L"", false},
        {L"javascript:play()", false},                       // no script or local addresses
        {L"file:///C:/games/play.html", false},
        {L"about:play", false},
        {L"res://launcher.exe/play", false},
        {L"ftp://portal.example/play", false},
        {L"httpplay://x", false},
        {L"play", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(launcher::IsGameAddress(c.url), c.game) << std::string(c.url, c.url + wcslen(c.url));
}

} // namespace
