// The real launcher.exe, started as a player would start it: its window,
// geometry, styles, pixels on screen, keys, dragging and closing.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "process_helpers.h"

using namespace testing_support;

namespace {

std::wstring g_launcher;                // path of launcher.exe, from the command line
std::vector<std::wstring> g_variants;   // launchers without a usable picture

const COLORREF kBackdrop = RGB(255, 0, 255);

RECT WorkArea()
{
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A picture as the launcher carries it (by default the background),
// decoded here.
class Picture {
public:
    explicit Picture(WORD id = 175, const wchar_t* type = L"PNG")
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        HMODULE module = ::LoadLibraryExW(g_launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC res = module ? ::FindResourceW(module, MAKEINTRESOURCEW(id), type) : nullptr;
        if (res) {
            const DWORD size = ::SizeofResource(module, res);
            const void* bytes = ::LockResource(::LoadResource(module, res));
            HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
            memcpy(::GlobalLock(block), bytes, size);
            ::GlobalUnlock(block);
            IStream* stream = nullptr;
            ::CreateStreamOnHGlobal(block, TRUE, &stream);
            m_bitmap.reset(Gdiplus::Bitmap::FromStream(stream));
            stream->Release();
        }
        if (module)
            ::FreeLibrary(module);
    }
    ~Picture()
    {
        m_bitmap.reset();
        Gdiplus::GdiplusShutdown(m_token);
    }
    bool ok() const { return m_bitmap && m_bitmap->GetLastStatus() == Gdiplus::Ok; }
    Gdiplus::Color At(int x, int y) const
    {
        Gdiplus::Color c;
        m_bitmap->GetPixel(x, y, &c);
        return c;
    }

private:
    ULONG_PTR m_token = 0;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
};

bool Near(COLORREF screen, const Gdiplus::Color& c, int tolerance = 3)
{
    return abs(GetRValue(screen) - c.GetR()) <= tolerance && abs(GetGValue(screen) - c.GetG()) <= tolerance &&
           abs(GetBValue(screen) - c.GetB()) <= tolerance;
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_backdrop = std::make_unique<Backdrop>(kBackdrop, RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                                                                 ::GetSystemMetrics(SM_CYSCREEN)});
        // The pointer away from where the launcher will be (no hover faces).
        StartUnix(L"/usr/bin/xdotool mousemove 1 1");
        m_process = std::make_unique<Process>(g_launcher);
        ASSERT_TRUE(m_process->started());
        ASSERT_TRUE(WaitFor([this] { return (m_wnd = m_process->FindTopWindow(L"Orvanta")) != nullptr; }, 30000))
            << "no window titled Orvanta";
        const DWORD start = ::GetTickCount();
        ASSERT_TRUE(WaitFor([this] { return FrontPanel() != nullptr; }, 30000)) << "no front panel";
        printf("front panel after the background: %lu ms\n", ::GetTickCount() - start);
        WaitFor([] { return false; }, 500);  // let the first paint land
    }
    void TearDown() override
    {
        m_process.reset();
        m_backdrop.reset();
    }

    // The front panel: the visible window the background owns.
    HWND FrontPanel() const
    {
        struct Ctx { HWND owner; HWND found; } ctx{m_wnd, nullptr};
        ::EnumWindows([](HWND h, LPARAM l) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(l);
            if (::GetWindow(h, GW_OWNER) == c->owner && ::IsWindowVisible(h)) {
                c->found = h;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&ctx));
        return ctx.found;
    }
    RECT ClientOnScreen(HWND h) const
    {
        RECT rc{};
        ::GetClientRect(h, &rc);
        ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    RECT ItemRect(HWND panel, int id) const
    {
        RECT rc{};
        ::GetWindowRect(::GetDlgItem(panel, id), &rc);
        return rc;
    }
    // Runs an xdotool command line on the X display.
    static void Xdo(const std::wstring& args) { ASSERT_TRUE(StartUnix(L"/usr/bin/xdotool " + args)); }
    static std::wstring At(int x, int y) { return L" mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y); }

    std::unique_ptr<Backdrop> m_backdrop;
    std::unique_ptr<Process> m_process;
    HWND m_wnd = nullptr;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The screen's pixels in a rectangle, row by row.
std::vector<COLORREF> ScreenBlock(const RECT& rc)
{
    std::vector<COLORREF> out;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            out.push_back(ScreenPixel(x, y));
    return out;
}

TEST_F(LauncherTest, BackgroundWindowIsTheCentredCaptionlessPicture)
{
    RECT rc{};
    ::GetWindowRect(m_wnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 1298);
    EXPECT_EQ(rc.bottom - rc.top, 727);
    const RECT work = WorkArea();
    EXPECT_EQ(rc.left, ((work.right - work.left) - 1298) / 2 + work.left);
    EXPECT_EQ(rc.top, ((work.bottom - work.top) - 727) / 2 + work.top);

    const LONG_PTR style = ::GetWindowLongPtrW(m_wnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_wnd, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(exStyle & WS_EX_LAYERED, 0);
    EXPECT_EQ(::GetWindow(m_wnd, GW_OWNER), nullptr);
}

TEST_F(LauncherTest, TransparentPixelsShowWhatLiesBehindAndOpaqueOnesThePicture)
{
    Picture picture;
    ASSERT_TRUE(picture.ok());
    RECT rc{};
    ::GetWindowRect(m_wnd, &rc);

    ASSERT_EQ(picture.At(2, 2).GetA(), 0);
    EXPECT_EQ(ScreenPixel(rc.left + 2, rc.top + 2), kBackdrop);
    EXPECT_EQ(ScreenPixel(rc.right - 3, rc.bottom - 3), kBackdrop);

    // Where the front panel shows its key colour the picture is seen.
    for (POINT p : {POINT{250, 300}, POINT{350, 600}, POINT{700, 660}}) {
        const Gdiplus::Color expected = picture.At(p.x, p.y);
        ASSERT_EQ(expected.GetA(), 255) << p.x << "," << p.y;
        const COLORREF seen = ScreenPixel(rc.left + p.x, rc.top + p.y);
        EXPECT_TRUE(Near(seen, expected)) << p.x << "," << p.y << " screen " << std::hex << seen
                                          << " picture " << expected.GetValue();
    }
}

TEST_F(LauncherTest, EnterEscapeAndF12DoNotEndIt)
{
    for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F12}) {
        ::PostMessageW(m_wnd, WM_KEYDOWN, vk, 1);
        ::PostMessageW(m_wnd, WM_KEYUP, vk, 0xC0000001);
    }
    WaitFor([] { return false; }, 1000);
    EXPECT_TRUE(m_process->Running());
    EXPECT_TRUE(::IsWindowVisible(m_wnd));
}

TEST_F(LauncherTest, PressAndDragOnThePictureMovesIt)
{
    RECT before{};
    ::GetWindowRect(m_wnd, &before);
    // On the banner: the front panel's key colour lets the press through.
    const int x = before.left + 250;
    const int y = before.top + 300;
    std::wstring cmd = L"/usr/bin/xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) +
                       L" sleep 0.3 mousedown 1 sleep 0.3";
    for (int step = 1; step <= 5; ++step)
        cmd += L" mousemove " + std::to_wstring(x + 20 * step) + L" " + std::to_wstring(y + 10 * step) + L" sleep 0.1";
    cmd += L" sleep 0.3 mouseup 1";
    ASSERT_TRUE(StartUnix(cmd));
    RECT after{};
    EXPECT_TRUE(WaitFor([&] {
        ::GetWindowRect(m_wnd, &after);
        return after.left == before.left + 100 && after.top == before.top + 50;
    }, 3000)) << "window at " << after.left << "," << after.top << " was " << before.left << "," << before.top;
    EXPECT_EQ(after.right - after.left, 1298);
    HWND panel = FrontPanel();
    ASSERT_NE(panel, nullptr);
    RECT panelRect{};
    ::GetWindowRect(panel, &panelRect);
    const RECT client = ClientOnScreen(m_wnd);
    EXPECT_TRUE(WaitFor([&] { ::GetWindowRect(panel, &panelRect); return SameRect(panelRect, client); }, 3000))
        << "panel at " << panelRect.left << "," << panelRect.top << " client at " << client.left << "," << client.top;
}

TEST_F(LauncherTest, FrontPanelCarriesThePortalViewAndTheButtons)
{
    HWND panel = FrontPanel();
    ASSERT_NE(panel, nullptr);
    RECT panelRect{};
    ::GetWindowRect(panel, &panelRect);
    EXPECT_TRUE(SameRect(panelRect, ClientOnScreen(m_wnd)));
    EXPECT_EQ(::GetWindowLongPtrW(panel, GWL_STYLE) & WS_CAPTION, 0);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(panel, &key, &alpha, &flags));
    EXPECT_EQ(key, 0x00FF00u);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));

    const RECT view = ItemRect(panel, 1004);
    EXPECT_EQ(view.right - view.left, 655);
    EXPECT_EQ(view.bottom - view.top, 420);

    // Each button shows its picture at its place; the picture's transparent
    // corner shows the background picture through the key colour.
    Picture background;
    RECT bg{};
    ::GetWindowRect(m_wnd, &bg);
    for (const auto& [id, gif] : {std::pair<int, WORD>{1001, 201}, std::pair<int, WORD>{1000, 205}}) {
        Picture face(gif, L"GIF");
        ASSERT_TRUE(face.ok());
        const RECT r = ItemRect(panel, id);
        const Gdiplus::Color centre = face.At(26, 27);
        ASSERT_EQ(centre.GetA(), 255);
        EXPECT_TRUE(Near(ScreenPixel(r.left + 26, r.top + 27), centre)) << id;
        ASSERT_EQ(face.At(0, 0).GetA(), 0);
        EXPECT_TRUE(Near(ScreenPixel(r.left, r.top), background.At(r.left - bg.left, r.top - bg.top)))
            << id << " screen " << std::hex << ScreenPixel(r.left, r.top) << " picture "
            << background.At(r.left - bg.left, r.top - bg.top).GetValue();
    }
}

TEST_F(LauncherTest, MinimizeButtonFacesFollowTheMouseAndMinimizeTheLauncher)
{
    HWND panel = FrontPanel();
    ASSERT_NE(panel, nullptr);
    const RECT r = ItemRect(panel, 1000);
    const RECT face = {r.left, r.top, r.left + 52, r.top + 55};
    const std::vector<COLORREF> plain = ScreenBlock(face);
    const int cx = r.left + 26, cy = r.top + 27;

    Xdo(At(cx - 5, cy - 5) + L" sleep 0.2" + At(cx, cy));
    std::vector<COLORREF> hover;
    EXPECT_TRUE(WaitFor([&] { return (hover = ScreenBlock(face)) != plain; }, 5000)) << "no hover face";

    Xdo(L"mousedown 1");
    std::vector<COLORREF> pressed;
    EXPECT_TRUE(WaitFor([&] { pressed = ScreenBlock(face); return pressed != hover && pressed != plain; }, 5000))
        << "no pressed face";

    Xdo(L"mouseup 1");
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(m_wnd) != FALSE; }, 5000)) << "not minimized";
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(panel); }, 3000)) << "panel still shown";

    ::ShowWindow(m_wnd, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(panel) && !::IsIconic(m_wnd); }, 5000));
    RECT panelRect{};
    ::GetWindowRect(panel, &panelRect);
    EXPECT_TRUE(SameRect(panelRect, ClientOnScreen(m_wnd)));
}

TEST_F(LauncherTest, KeysInThePortalViewDoNothing)
{
    HWND panel = FrontPanel();
    ASSERT_NE(panel, nullptr);
    // The innermost window of the portal view, where the page's keys go.
    HWND target = ::GetDlgItem(panel, 1004);
    ASSERT_NE(target, nullptr);
    while (HWND child = ::GetWindow(target, GW_CHILD))
        target = child;
    for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F12}) {
        ::PostMessageW(target, WM_KEYDOWN, vk, 1);
        ::PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    }
    WaitFor([] { return false; }, 1000);
    EXPECT_TRUE(m_process->Running());
    EXPECT_TRUE(::IsWindowVisible(m_wnd));
    EXPECT_TRUE(::IsWindowVisible(panel));
}

TEST_F(LauncherTest, CloseButtonEndsTheProcess)
{
    HWND panel = FrontPanel();
    ASSERT_NE(panel, nullptr);
    const RECT r = ItemRect(panel, 1001);
    Xdo(At(r.left + 26, r.top + 27) + L" sleep 0.3 click 1");
    DWORD code = 12345;
    ASSERT_TRUE(m_process->WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(LauncherTest, CloseSentToTheFrontPanelEndsTheProcess)
{
    HWND panel = FrontPanel();
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    ASSERT_TRUE(m_process->WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(LauncherTest, CloseEndsTheProcessWithExitCodeZero)
{
    ::PostMessageW(m_wnd, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    ASSERT_TRUE(m_process->WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(LauncherWithoutPicture, EndsCleanlyWithoutShowingAWindow)
{
    // Builds of the launcher without the picture, and with bytes that
    // decode to nothing in its place.
    for (const std::wstring& exe : g_variants) {
        Process process(exe);
        ASSERT_TRUE(process.started());
        bool windowSeen = false;
        DWORD code = 12345;
        const bool ended = WaitFor([&] {
            windowSeen = windowSeen || process.FindTopWindow(L"Orvanta") != nullptr;
            return !process.Running();
        }, 15000);
        ASSERT_TRUE(ended) << "still running";
        process.WaitExit(0, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(windowSeen);
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 4) {
        fprintf(stderr, "usage: %s launcher.exe launcher_no_picture.exe launcher_bad_picture.exe\n", argv[0]);
        return 2;
    }
    g_launcher = ToWindowsPath(argv[1]);
    g_variants = {ToWindowsPath(argv[2]), ToWindowsPath(argv[3])};
    return RUN_ALL_TESTS();
}
