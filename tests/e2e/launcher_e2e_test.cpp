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

// The background picture as the launcher carries it, decoded here.
class Picture {
public:
    Picture()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        HMODULE module = ::LoadLibraryExW(g_launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC res = module ? ::FindResourceW(module, MAKEINTRESOURCEW(175), L"PNG") : nullptr;
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
        m_process = std::make_unique<Process>(g_launcher);
        ASSERT_TRUE(m_process->started());
        ASSERT_TRUE(WaitFor([this] { return (m_wnd = m_process->FindTopWindow(L"Orvanta")) != nullptr; }, 30000))
            << "no window titled Orvanta";
        WaitFor([] { return false; }, 500);  // let the first paint land
    }
    void TearDown() override
    {
        m_process.reset();
        m_backdrop.reset();
    }

    std::unique_ptr<Backdrop> m_backdrop;
    std::unique_ptr<Process> m_process;
    HWND m_wnd = nullptr;
};

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

    for (POINT p : {POINT{700, 400}, POINT{900, 300}, POINT{400, 500}}) {
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
    const int x = before.left + 700;
    const int y = before.top + 400;
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
