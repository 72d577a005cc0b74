// The image button on a real panel: the state pictures it builds at its
// first paint (read from their DCs), the picture each paint puts on screen
// (read from the screen), what later paints cost, hover and presses through
// the real pointer, the tool tip, and what is left once it is gone.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "button_panel.h"
#include "controls/gdiplus_bitmap.h"
#include "controls_test_resources.h"
#include "import_hook.h"
#include "res/resource.h"

namespace {

using namespace button_tests;

const COLORREF kKey = RGB(0, 255, 0);

// The pictures as the buttons decode them, to compute what they must show.
struct Pictures {
    Pictures()
    {
        close.Load(IDB_CLOSE_GIF, L"GIF");
        minimize.Load(IDB_MINIMIZE_GIF, L"GIF");
        swatches.Load(IDB_TEST_SWATCHES, L"GIF");
    }
    CGdiPlusBitmapResource close, minimize, swatches;
};

struct WindowCount {
    const wchar_t* className;  // null: every window
    int count;
};

BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam)
{
    auto* c = reinterpret_cast<WindowCount*>(lParam);
    wchar_t name[64] = {};
    ::GetClassNameW(hWnd, name, 64);
    if (!c->className || _wcsicmp(name, c->className) == 0)
        ++c->count;
    return TRUE;
}

// Top-level windows of this thread with the given class (all with null).
int ThreadWindows(const wchar_t* className)
{
    WindowCount c{className, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

// Pictures (GDI+ images) this program's code has disposed of.
int g_imagesDisposed = 0;
testing_support::ImportHook* g_disposeHook = nullptr;

Gdiplus::GpStatus WINGDIPAPI CountingDisposeImage(Gdiplus::GpImage* image)
{
    if (image)
        ++g_imagesDisposed;
    return g_disposeHook->original<decltype(&CountingDisposeImage)>()(image);
}

bool FacesPresent(ButtonProbe& b, std::initializer_list<int> faces)
{
    for (int f : faces)
        if (!b.FaceDC(f).m_hDC)
            return false;
    return true;
}

bool FacesAbsent(ButtonProbe& b, std::initializer_list<int> faces)
{
    for (int f : faces)
        if (b.FaceDC(f).m_hDC)
            return false;
    return true;
}

TEST(ImageButton, FirstPaintBuildsTheBackgroundAndFourPicturesOfTheStandardImage)
{
    Pictures pictures;
    struct Case {
        const char* what;
        ButtonProbe ButtonPanel::*button;
        Gdiplus::Bitmap* picture;
    };
    const Case cases[] = {
        {"close picture, client area of its size", &ButtonPanel::m_picture, pictures.close.GetBitmap()},
        {"swatches, client area larger than the picture", &ButtonPanel::m_swatches, pictures.swatches.GetBitmap()},
        {"minimize picture, client area larger than the picture", &ButtonPanel::m_large,
         pictures.minimize.GetBitmap()},
        {"template item that was an ordinary push button", &ButtonPanel::m_plainStyle, pictures.close.GetBitmap()},
    };
    for (const Background* background : {&kKeyGreen, &kPattern}) {
        SCOPED_TRACE(background->patterned ? "patterned background" : "key-colour background");
        ButtonPanel panel(*background);
        panel.onInit = [](ButtonPanel& p) {
            p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
            p.m_swatches.LoadStandardImage(IDB_TEST_SWATCHES, L"GIF");
            p.m_large.LoadStandardImage(IDB_MINIMIZE_GIF, L"GIF");
            p.m_plainStyle.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
        };
        ASSERT_TRUE(panel.Open());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            ButtonProbe& b = panel.*c.button;
            ASSERT_NE(c.picture, nullptr);
            EXPECT_EQ(b.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
            EXPECT_TRUE(FacesPresent(b, {kBackground, kPlain, kPressed, kHover, kDisabled}));
            EXPECT_TRUE(FacesAbsent(b, {kAltPlain, kAltPressed, kAltHover}));

            // Where the picture is transparent or absent, the parent's pixels
            // under the button show, in every picture.
            EXPECT_TRUE(FaceShows(b, kPlain, *c.picture, Look::Plain, *background));
            EXPECT_TRUE(FaceShows(b, kPressed, *c.picture, Look::Pressed, *background));
            EXPECT_TRUE(FaceShows(b, kHover, *c.picture, Look::Hover, *background));
            EXPECT_TRUE(FaceShows(b, kDisabled, *c.picture, Look::Grey, *background));

            // The pressed picture's top row and left column are background.
            CRect place;
            b.GetWindowRect(&place);
            panel.ScreenToClient(&place);
            const CRect client = b.ClientRect();
            const std::vector<COLORREF> pressed = ReadPixels(b.FaceDC(kPressed).m_hDC, client);
            const std::vector<COLORREF> back = ReadPixels(b.FaceDC(kBackground).m_hDC, client);
            int edgeWrong = 0;
            for (int x = 0; x < client.Width(); ++x)
                edgeWrong += pressed[x] != background->At(place.left + x, place.top);
            for (int y = 0; y < client.Height(); ++y)
                edgeWrong += pressed[static_cast<size_t>(y) * client.Width()] !=
                             background->At(place.left, place.top + y);
            EXPECT_EQ(edgeWrong, 0);
            int backWrong = 0;
            for (int y = 0; y < client.Height(); ++y)
                for (int x = 0; x < client.Width(); ++x)
                    backWrong += back[static_cast<size_t>(y) * client.Width() + x] !=
                                 background->At(place.left + x, place.top + y);
            EXPECT_EQ(backWrong, 0);

            // At rest the plain picture is on screen.
            EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "plain"; }, 2000)) << ShownFace(b);
            EXPECT_EQ(b.CurrentFace(), "plain");
        }
    }
}

TEST(ImageButton, ColourMatricesOnKnownColours)
{
    ButtonPanel panel;
    panel.onInit = [](ButtonPanel& p) { p.m_swatches.LoadStandardImage(IDB_TEST_SWATCHES, L"GIF"); };
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_swatches;
    ASSERT_TRUE(FacesPresent(b, {kPlain, kHover, kDisabled}));

    // Hover: each channel times 1.05 plus 0.05 of full scale. Grey: 0.3 red
    // + 0.59 green + 0.11 blue. Windows rounds, Wine truncates: +-1.
    struct Swatch {
        const char* what;
        int x;  // a column of the swatch in the picture
        double plain[3], hover[3], grey;
    };
    const double kLift = 12.75;  // 0.05 * 255
    const Swatch swatches[] = {
        {"black", 0, {0, 0, 0}, {kLift, kLift, kLift}, 0},
        {"white", 2, {255, 255, 255}, {255, 255, 255}, 255},
        {"grey 128", 4, {128, 128, 128}, {147.15, 147.15, 147.15}, 128},
        {"red", 6, {255, 0, 0}, {255, kLift, kLift}, 76.5},
        {"green", 8, {0, 255, 0}, {kLift, 255, kLift}, 150.45},
        {"blue", 10, {0, 0, 255}, {kLift, kLift, 255}, 28.05},
    };
    auto within = [](int got, double want) { return got >= static_cast<int>(want) - 1 && got <= want + 1; };
    for (const Swatch& s : swatches) {
        SCOPED_TRACE(s.what);
        const COLORREF plain = b.FaceDC(kPlain).GetPixel(s.x, 5);
        const COLORREF hover = b.FaceDC(kHover).GetPixel(s.x, 5);
        const COLORREF grey = b.FaceDC(kDisabled).GetPixel(s.x, 5);
        EXPECT_EQ(plain, RGB(s.plain[0], s.plain[1], s.plain[2]));
        EXPECT_TRUE(within(GetRValue(hover), s.hover[0]) && within(GetGValue(hover), s.hover[1]) &&
                    within(GetBValue(hover), s.hover[2]))
            << std::hex << hover;
        EXPECT_TRUE(within(GetRValue(grey), s.grey) && GetRValue(grey) == GetGValue(grey) &&
                    GetGValue(grey) == GetBValue(grey))
            << std::hex << grey;
    }
    // The transparent column keeps the key colour in every picture.
    for (int face : {kPlain, kPressed, kHover, kDisabled})
        EXPECT_EQ(b.FaceDC(face).GetPixel(13, 5), kKey) << FaceName(face);
}

TEST(ImageButton, LaterPaintsAreOneBlockTransferAndNoGdiplus)
{
    ButtonPanel panel;
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_late;

    // No picture yet: the first paints build nothing and draw nothing.
    b.ShowWindow(SW_SHOW);
    b.UpdateWindow();
    b.Repaint();
    EXPECT_EQ(b.GetDrawStats().picturesBuilt, 0);
    EXPECT_TRUE(FacesAbsent(b, {kBackground, kPlain, kPressed, kHover, kDisabled}));
    Pump(100);
    const std::vector<COLORREF> shown = ReadScreen(b.ScreenRect());
    EXPECT_EQ(shown, std::vector<COLORREF>(shown.size(), kKey));

    ASSERT_TRUE(b.LoadStandardImage(IDB_CLOSE_GIF, L"GIF"));
    const long bitBlts0 = cl::GetGdiCounters().bitBlts;
    b.Repaint();
    const long firstBitBlts = cl::GetGdiCounters().bitBlts - bitBlts0;
    const CGdipButton::DrawStats first = b.GetDrawStats();
    // Background, then each of four pictures painted over it and captured,
    // the surface's copy, and the draw request's copy.
    EXPECT_EQ(firstBitBlts, 1 + 4 * 2 + 1 + 1);
    EXPECT_EQ(first.picturesBuilt, 5);
    EXPECT_GT(first.gdiplusCalls, 0);
    EXPECT_TRUE(FacesAbsent(b, {kAltPlain, kAltPressed, kAltHover}));

    std::vector<HDC> faces;
    for (int f = 0; f < kFaceCount; ++f)
        faces.push_back(b.FaceDC(f).m_hDC);
    long laterBitBlts = 0;
    const int kPaints = 5;
    for (int i = 0; i < kPaints; ++i) {
        const long before = cl::GetGdiCounters().bitBlts;
        b.Repaint();
        EXPECT_EQ(cl::GetGdiCounters().bitBlts - before, 1);
        laterBitBlts += cl::GetGdiCounters().bitBlts - before;
    }
    EXPECT_EQ(b.GetDrawStats().gdiplusCalls, first.gdiplusCalls);
    EXPECT_EQ(b.GetDrawStats().picturesBuilt, first.picturesBuilt);
    for (int f = 0; f < kFaceCount; ++f)
        EXPECT_EQ(b.FaceDC(f).m_hDC, faces[f]) << FaceName(f);
    EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "plain"; }, 2000));

    std::printf("[ paint cost ] first paint: %ld GDI+ calls, %ld BitBlts, %ld pictures; "
                "later paints: %ld GDI+ calls, %ld BitBlt each\n",
                first.gdiplusCalls, firstBitBlts, first.picturesBuilt,
                b.GetDrawStats().gdiplusCalls - first.gdiplusCalls, laterBitBlts / kPaints);
}

TEST(ImageButton, EachPaintShowsThePictureOfTheState)
{
    ButtonPanel panel;
    panel.onInit = [](ButtonPanel& p) { p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF"); };
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_picture;

    struct Row {
        const char* what;
        bool grey, pushed, hovering, windowDisabled;
        const char* face;
    };
    const Row rows[] = {
        {"at rest", false, false, false, false, "plain"},
        {"hovered", false, false, true, false, "hover"},
        {"pushed", false, true, false, false, "pressed"},
        {"pushed while hovered", false, true, true, false, "pressed"},
        {"window disabled (not consulted)", false, false, false, true, "plain"},
        {"grey, at rest", true, false, false, false, "disabled"},
        {"grey, hovered", true, false, true, false, "disabled"},
        {"grey, pushed while hovered", true, true, true, false, "disabled"},
        {"back at rest", false, false, false, false, "plain"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        b.SetShowDisabled(r.grey);
        b.EnableWindow(!r.windowDisabled);
        b.SendMessage(r.hovering ? WM_MOUSEHOVER : WM_MOUSELEAVE);
        b.SetState(r.pushed);
        b.Repaint();
        EXPECT_EQ(b.Hovering(), r.hovering);
        EXPECT_EQ(b.CurrentFace(), r.face);
        EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == r.face; }, 2000)) << ShownFace(b);
    }
}

TEST(ImageButton, ToggleModeSwitchesPictureSetsAtPressedDraws)
{
    Pictures pictures;
    ButtonPanel panel;
    panel.onInit = [](ButtonPanel& p) {
        p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
        p.m_picture.LoadAlternateImage(IDB_MINIMIZE_GIF, L"GIF");
        p.m_picture.SetToggle(TRUE);
    };
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_picture;
    // Plain, pressed and hover of the alternate picture; no grey one.
    EXPECT_TRUE(FaceShows(b, kAltPlain, *pictures.minimize.GetBitmap(), Look::Plain, kKeyGreen));
    EXPECT_TRUE(FaceShows(b, kAltPressed, *pictures.minimize.GetBitmap(), Look::Pressed, kKeyGreen));
    EXPECT_TRUE(FaceShows(b, kAltHover, *pictures.minimize.GetBitmap(), Look::Hover, kKeyGreen));
    EXPECT_TRUE(FaceShows(b, kDisabled, *pictures.close.GetBitmap(), Look::Grey, kKeyGreen));

    struct Step {
        const char* what;
        UINT message;  // sent to the button
        WPARAM wParam;
        int imageSet;
        const char* face;
    };
    const Step steps[] = {
        {"press", BM_SETSTATE, TRUE, 1, "alternate pressed"},
        {"release", BM_SETSTATE, FALSE, 1, "alternate"},
        {"hover", WM_MOUSEHOVER, 0, 1, "alternate hover"},
        {"leave", WM_MOUSELEAVE, 0, 1, "alternate"},
        {"press again", BM_SETSTATE, TRUE, 0, "pressed"},
        {"release again", BM_SETSTATE, FALSE, 0, "plain"},
    };
    EXPECT_EQ(b.CurrentFace(), "plain");
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        b.SendMessage(s.message, s.wParam);
        b.UpdateWindow();  // one draw per step: every pressed draw switches
        EXPECT_EQ(b.ImageSet(), s.imageSet);
        EXPECT_EQ(b.CurrentFace(), s.face);
        EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == s.face; }, 2000)) << ShownFace(b);
    }
}

TEST(ImageButton, WithoutAUsablePictureOnlyTheBackgroundShows)
{
    struct Case {
        const char* what;
        UINT id;  // 0: no picture given
        bool built;
    };
    const Case cases[] = {
        {"no picture given", 0, false},
        {"a picture that does not load", 4242, true},
        {"bytes that are no picture", IDB_TEST_NOT_A_PICTURE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonPanel panel;
        panel.onInit = [&c](ButtonPanel& p) {
            if (c.id) {
                EXPECT_FALSE(p.m_picture.LoadStandardImage(c.id, L"GIF"));
            }
        };
        ASSERT_TRUE(panel.Open());
        ButtonProbe& b = panel.m_picture;
        EXPECT_EQ(FacesPresent(b, {kBackground, kPlain, kPressed, kHover, kDisabled}), c.built);
        const CRect client = b.ClientRect();
        const std::vector<COLORREF> key(static_cast<size_t>(client.Width()) * client.Height(), kKey);
        if (c.built) {
            for (int face : {kPlain, kPressed, kHover, kDisabled})
                EXPECT_EQ(ReadPixels(b.FaceDC(face).m_hDC, client), key) << FaceName(face);
        }
        b.Repaint();
        Pump(100);
        EXPECT_EQ(ReadScreen(b.ScreenRect()), key);
    }
}

TEST(ImageButton, PicturesGivenAfterTheFirstPaintAreBuiltAtTheNextOne)
{
    Pictures pictures;
    struct Case {
        const char* what;
        bool alternate;   // the new picture is the alternate one
        int newFace;      // a picture of the new image
        int keptFace;     // a picture that stays as it was
        int goneFace;     // a picture released at once (-1: none)
    };
    const Case cases[] = {
        {"a new standard picture", false, kPlain, kBackground, kPlain},
        {"an alternate picture", true, kAltPlain, kPlain, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonPanel panel;
        panel.onInit = [](ButtonPanel& p) { p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF"); };
        ASSERT_TRUE(panel.Open());
        ButtonProbe& b = panel.m_picture;
        const cl::GdiCounters built = cl::GetGdiCounters();
        const HDC kept = b.FaceDC(c.keptFace).m_hDC;
        const HDC gone = c.goneFace >= 0 ? b.FaceDC(c.goneFace).m_hDC : nullptr;
        const HGDIOBJ goneBitmap = gone ? ::GetCurrentObject(gone, OBJ_BITMAP) : nullptr;

        ASSERT_TRUE(c.alternate ? b.LoadAlternateImage(IDB_MINIMIZE_GIF, L"GIF")
                                : b.LoadStandardImage(IDB_MINIMIZE_GIF, L"GIF"));
        if (gone) {
            EXPECT_EQ(::GetObjectType(gone), 0u);
            EXPECT_EQ(::GetObjectType(goneBitmap), 0u);
        }
        Pump(100);  // the next paint builds what is missing, on the same background
        EXPECT_EQ(b.FaceDC(c.keptFace).m_hDC, kept);
        EXPECT_TRUE(FaceShows(b, c.newFace, *pictures.minimize.GetBitmap(), Look::Plain, kKeyGreen));
        EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "plain"; }, 2000));
        const cl::GdiCounters after = cl::GetGdiCounters();
        // The same number of pictures, or three more for the alternate set.
        EXPECT_EQ(after.objects - built.objects, c.alternate ? 3 : 0);
        EXPECT_EQ(after.dcs - built.dcs, c.alternate ? 3 : 0);
    }
}

TEST(ImageButton, ToolTipOnlyWithTipTextCoveringTheClientArea)
{
    ButtonPanel panel;
    panel.onInit = [](ButtonPanel& p) { p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF"); };
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_picture;

    // The front panel's case: no text, no tool-tip control, ever.
    b.SetTipText(L"", TRUE);
    b.SendMessage(WM_MOUSEHOVER);
    EXPECT_EQ(b.TipCtrl(), nullptr);
    EXPECT_EQ(ThreadWindows(TOOLTIPS_CLASSW), 0);

    HWND previous = nullptr;
    for (const char* after : {"SetTipText", "a hover", "another hover"}) {
        SCOPED_TRACE(after);
        if (previous) {
            b.SendMessage(WM_MOUSEHOVER);  // deletes the control and makes a new one
        } else {
            b.SetTipText(L"Close the launcher", TRUE);
        }
        CToolTipCtrl* tip = b.TipCtrl();
        ASSERT_NE(tip, nullptr);
        ASSERT_TRUE(::IsWindow(tip->m_hWnd));
        if (previous) {
            EXPECT_NE(tip->m_hWnd, previous);
            EXPECT_FALSE(::IsWindow(previous));
        }
        EXPECT_EQ(ThreadWindows(TOOLTIPS_CLASSW), 1);
        EXPECT_EQ(tip->GetToolCount(), 1);
        CToolInfo info;
        ASSERT_TRUE(tip->GetToolInfo(info, &b, 1));
        EXPECT_EQ(info.hwnd, b.m_hWnd);
        EXPECT_EQ(info.uId, 1u);
        EXPECT_EQ(info.uFlags & TTF_IDISHWND, 0u);
        EXPECT_EQ(CRect(info.rect), b.ClientRect());
        CString text;
        tip->GetText(text, &b, 1);
        EXPECT_EQ(text, L"Close the launcher");
        // An automatic delay of 2000 ms: the others follow from it.
        EXPECT_EQ(tip->GetDelayTime(TTDT_INITIAL), 2000);
        EXPECT_EQ(tip->GetDelayTime(TTDT_AUTOPOP), 20000);
        EXPECT_EQ(tip->GetDelayTime(TTDT_RESHOW), 400);
        previous = tip->m_hWnd;
    }
}

TEST(ImageButton, FollowsTheRealPointerAndCountsADoubleClickTwice)
{
    ButtonPanel panel;
    panel.onInit = [](ButtonPanel& p) { p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF"); };
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_picture;
    const CRect rc = b.ScreenRect();
    const CPoint centre((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    const CPoint away(ButtonPanel::kLeft + 150, ButtonPanel::kTop + 150);  // on the panel, off the buttons

    MouseMoveTo(centre.x, centre.y);
    EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "hover"; }, 3000)) << ShownFace(b);
    EXPECT_TRUE(b.Hovering());
    MouseMoveTo(away.x, away.y);
    EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "plain"; }, 3000)) << ShownFace(b);
    EXPECT_FALSE(b.Hovering());
    EXPECT_FALSE(b.Tracking());

    // Held down: pressed, and it stays so.
    MouseMoveTo(centre.x, centre.y);
    PumpUntil([&] { return b.Hovering() != FALSE; }, 3000);
    MouseButton(true);
    EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "pressed"; }, 3000)) << ShownFace(b);
    Pump(300);
    EXPECT_EQ(ShownFace(b), "pressed");
    MouseButton(false);
    EXPECT_TRUE(PumpUntil([&] { return panel.clicks[IDC_PANEL_PICTURE] == 1; }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return ShownFace(b) == "hover"; }, 3000)) << ShownFace(b);
    MouseMoveTo(away.x, away.y);
    Pump(700);  // longer than the double-click time

    // The launcher's loop runs the window filters, which turn the second
    // press of a double click into an ordinary one; without them the
    // control reports one click and a double click.
    struct Case {
        const char* what;
        bool filters;
        int clicks;
        int presses;
    };
    const Case cases[] = {
        {"through the window filters", true, 2, 2},
        {"without the window filters", false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        panel.clicks.clear();
        MouseMoveTo(centre.x, centre.y);
        PumpUntil([&] { return b.Hovering() != FALSE; }, 3000, c.filters);
        b.draws.clear();
        DoubleClick();
        PumpUntil([&] { return panel.clicks[IDC_PANEL_PICTURE] >= 2; }, 1500, c.filters);
        Pump(300, c.filters);
        EXPECT_EQ(panel.clicks[IDC_PANEL_PICTURE], c.clicks);
        EXPECT_EQ(b.Presses(), c.presses);
        MouseMoveTo(away.x, away.y);
        Pump(700);
    }
}

TEST(ImageButton, TipShowsAfterTheAutomaticDelayWhenMouseMovesAreRelayed)
{
    ButtonPanel panel;
    panel.onInit = [](ButtonPanel& p) {
        p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
        p.m_picture.SetTipText(L"Close the launcher", TRUE);
    };
    ASSERT_TRUE(panel.Open());
    ButtonProbe& b = panel.m_picture;
    const CRect rc = b.ScreenRect();
    const CPoint centre((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    const CPoint away(ButtonPanel::kLeft + 150, ButtonPanel::kTop + 150);

    // The button's filter hands the control its mouse messages; without the
    // filters the control never hears of the pointer.
    struct Case {
        const char* what;
        bool filters;
        bool shows;
    };
    const Case cases[] = {
        {"through the window filters", true, true},
        {"without the window filters", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MouseMoveTo(away.x, away.y, c.filters);
        Pump(300, c.filters);
        MouseMoveTo(centre.x, centre.y, c.filters);
        ASSERT_TRUE(PumpUntil([&] { return b.Hovering() != FALSE; }, 3000, c.filters));
        ASSERT_NE(b.TipCtrl(), nullptr);  // made anew by the hover
        const HWND tip = b.TipCtrl()->m_hWnd;
        MouseMoveTo(centre.x + 2, centre.y + 1, c.filters);  // a move over the tool
        const DWORD moved = ::GetTickCount();
        const bool shown = PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }, 4000, c.filters);
        EXPECT_EQ(shown, c.shows);
        if (shown) {
            EXPECT_GE(::GetTickCount() - moved, 1000u);  // after the 2000 ms delay, not at once
        }
    }
    MouseMoveTo(away.x, away.y);
}

TEST(ImageButton, NothingIsLeftBehind)
{
    testing_support::ImportHook disposeHook("gdiplus.dll", "GdipDisposeImage",
                                            reinterpret_cast<void*>(&CountingDisposeImage));
    ASSERT_TRUE(disposeHook.found());
    g_disposeHook = &disposeHook;
    g_imagesDisposed = 0;
    const cl::GdiCounters before = cl::GetGdiCounters();
    const int windowsBefore = ThreadWindows(nullptr);
    std::vector<HGDIOBJ> handles;  // DCs and bitmaps of every state picture
    std::vector<HWND> tips;
    cl::GdiCounters built{}, cycled{};
    {
        ButtonPanel panel;
        panel.onInit = [](ButtonPanel& p) {
            p.m_picture.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
            p.m_picture.SetTipText(L"Close the launcher", TRUE);
            p.m_swatches.LoadStandardImage(IDB_TEST_SWATCHES, L"GIF");
            p.m_large.LoadStandardImage(IDB_MINIMIZE_GIF, L"GIF");
            p.m_large.LoadAlternateImage(IDB_CLOSE_GIF, L"GIF");
            p.m_large.SetToggle(TRUE);
            p.m_plainStyle.LoadStandardImage(IDB_CLOSE_GIF, L"GIF");
        };
        ASSERT_TRUE(panel.Open());
        built = cl::GetGdiCounters();
        ButtonProbe* buttons[] = {&panel.m_picture, &panel.m_swatches, &panel.m_large, &panel.m_plainStyle};
        for (int cycle = 0; cycle < 60; ++cycle) {
            for (ButtonProbe* b : buttons) {
                b->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
                b->SendMessage(WM_MOUSEHOVER);
                b->SetState(TRUE);
                b->Repaint();
                b->SetState(FALSE);
                b->SendMessage(WM_MOUSELEAVE);
                b->Repaint();
            }
            Pump(0);
        }
        cycled = cl::GetGdiCounters();
        EXPECT_EQ(cycled.objects, built.objects);
        EXPECT_EQ(cycled.dcs, built.dcs);
        EXPECT_EQ(ThreadWindows(TOOLTIPS_CLASSW), 1);
        for (ButtonProbe* b : buttons)
            for (int f = 0; f < kFaceCount; ++f)
                if (HDC dc = b->FaceDC(f).m_hDC) {
                    handles.push_back(dc);
                    handles.push_back(::GetCurrentObject(dc, OBJ_BITMAP));
                }
        tips.push_back(panel.m_picture.TipCtrl()->m_hWnd);
    }
    const cl::GdiCounters after = cl::GetGdiCounters();
    std::printf("[ gdi objects ] before %ld objects/%ld DCs; built %ld/%ld; after 60 cycles %ld/%ld; "
                "destroyed %ld/%ld\n",
                before.objects, before.dcs, built.objects, built.dcs, cycled.objects, cycled.dcs,
                after.objects, after.dcs);
    EXPECT_EQ(after.objects, before.objects);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(handles.size(), 2u * (5 + 5 + 8 + 5));
    for (HGDIOBJ h : handles)
        EXPECT_EQ(::GetObjectType(h), 0u) << h;
    for (HWND tip : tips)
        EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(ThreadWindows(nullptr), windowsBefore);
    // The five pictures given to the buttons went with them.
    EXPECT_EQ(g_imagesDisposed, 5);
    g_disposeHook = nullptr;
}

} // namespace
