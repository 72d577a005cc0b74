#include <gtest/gtest.h>

#include "button_panel.h"

#include <cmath>
#include <sstream>

#include "controls_test_resources.h"
#include "process_helpers.h"

namespace button_tests {

// --- the button and its pictures -------------------------------------------

const char* FaceName(int face)
{
    static const char* const names[kFaceCount] = {"background", "plain", "pressed", "hover",
                                                  "disabled", "alternate", "alternate pressed",
                                                  "alternate hover"};
    return face >= 0 && face < kFaceCount ? names[face] : "none";
}

CDC& ButtonProbe::FaceDC(int face)
{
    CDC* const faces[kFaceCount] = {&m_dcBackground, &m_dcStandard, &m_dcStandardPressed, &m_dcStandardHover,
                                    &m_dcDisabled, &m_dcAlternate, &m_dcAlternatePressed, &m_dcAlternateHover};
    return *faces[face];
}

std::string ButtonProbe::CurrentFace()
{
    for (int f = 0; f < kFaceCount; ++f)
        if (m_pCurrentFace == &FaceDC(f))
            return FaceName(f);
    return "none";
}

CRect ButtonProbe::ClientRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return rc;
}

CRect ButtonProbe::ScreenRect() const
{
    CRect rc = ClientRect();
    ClientToScreen(&rc);
    return rc;
}

void ButtonProbe::Repaint()
{
    Invalidate(TRUE);
    UpdateWindow();
}

void ButtonProbe::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CGdipButton::DrawItem(lpDrawItemStruct);
    draws.push_back(CurrentFace());
}

int ButtonProbe::Presses() const
{
    int n = 0;
    for (size_t i = 0; i < draws.size(); ++i)
        n += draws[i] == "pressed" && (i == 0 || draws[i - 1] != "pressed");
    return n;
}

// --- backgrounds ------------------------------------------------------------

const Background kKeyGreen = {false, RGB(0, 255, 0)};
const Background kPattern = {true, 0};

COLORREF Background::At(int x, int y) const
{
    if (!patterned)
        return colour;
    const int px = ((x % 8) + 8) % 8;
    const int py = ((y % 8) + 8) % 8;
    return RGB(16 + 30 * px, 200 - 10 * py, 20 + 29 * py);
}

HBRUSH Background::CreateBrush() const
{
    if (!patterned)
        return ::CreateSolidBrush(colour);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 8;
    bi.bmiHeader.biHeight = -8;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP tile = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const COLORREF c = At(x, y);
            px[y * 8 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    HBRUSH brush = ::CreatePatternBrush(tile);
    ::DeleteObject(tile);
    return brush;
}

// --- the panel --------------------------------------------------------------

BEGIN_MESSAGE_MAP(ButtonPanel, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

ButtonPanel::ButtonPanel(const Background& background)
    : CDialog(IDD_BUTTON_PANEL), m_background(background), m_brush(background.CreateBrush())
{
}

ButtonPanel::~ButtonPanel()
{
    if (m_hWnd)
        DestroyWindow();
    ::DeleteObject(m_brush);
}

bool ButtonPanel::Open()
{
    ::SetCursorPos(kLeft - 100, kTop + kHeight + 100);
    if (!Create(IDD_BUTTON_PANEL))
        return false;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    Pump(150);
    return true;
}

void ButtonPanel::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PANEL_PICTURE, m_picture);
    DDX_Control(pDX, IDC_PANEL_SWATCHES, m_swatches);
    DDX_Control(pDX, IDC_PANEL_LARGE, m_large);
    DDX_Control(pDX, IDC_PANEL_PLAIN_STYLE, m_plainStyle);
    DDX_Control(pDX, IDC_PANEL_LATE, m_late);
}

BOOL ButtonPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowPos(nullptr, kLeft, kTop, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    m_picture.MoveWindow(16, 16, 52, 55);
    m_swatches.MoveWindow(90, 16, 20, 16);
    m_large.MoveWindow(130, 16, 70, 72);
    m_plainStyle.MoveWindow(220, 16, 52, 55);
    m_late.MoveWindow(16, 110, 52, 55);
    if (onInit)
        onInit(*this);
    return TRUE;
}

BOOL ButtonPanel::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam && HIWORD(wParam) == BN_CLICKED)
        ++clicks[LOWORD(wParam)];
    return CDialog::OnCommand(wParam, lParam);
}

HBRUSH ButtonPanel::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // Like the front panel: its own background in a brush of its own, every
    // other request to the library (which reflects it to the control).
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brush;
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

// --- pumping and pixels ----------------------------------------------------

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs, bool filters)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!filters || !AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
        if (pred && pred())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(10);
    }
}

void Pump(DWORD ms, bool filters)
{
    PumpUntil(nullptr, ms, filters);
}

std::vector<COLORREF> ReadPixels(HDC dc, const RECT& rect)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    std::vector<COLORREF> out;
    if (w <= 0 || h <= 0 || !dc)
        return out;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* px = static_cast<const DWORD*>(bits);
    out.reserve(static_cast<size_t>(w) * h);
    for (int i = 0; i < w * h; ++i)
        out.push_back(RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF));
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(dib);
    return out;
}

std::vector<COLORREF> ReadScreen(const RECT& rect)
{
    HDC screen = ::GetDC(nullptr);
    std::vector<COLORREF> out = ReadPixels(screen, rect);
    ::ReleaseDC(nullptr, screen);
    return out;
}

std::string ShownFace(ButtonProbe& button)
{
    const std::vector<COLORREF> shown = ReadScreen(button.ScreenRect());
    const CRect client = button.ClientRect();
    for (int f : {kPlain, kPressed, kHover, kDisabled, kAltPlain, kAltPressed, kAltHover, kBackground}) {
        CDC& face = button.FaceDC(f);
        if (face.m_hDC && ReadPixels(face.m_hDC, client) == shown)
            return FaceName(f);
    }
    return "none";
}

// --- expected pixels --------------------------------------------------------

namespace {
int Clamp(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}
} // namespace

COLORREF ExpectedPixel(Gdiplus::Bitmap& picture, Look look, int x, int y, COLORREF background, bool* exact)
{
    *exact = true;
    const int offset = look == Look::Pressed ? 1 : 0;
    const int sx = x - offset;
    const int sy = y - offset;
    if (sx < 0 || sy < 0 || sx >= static_cast<int>(picture.GetWidth()) ||
        sy >= static_cast<int>(picture.GetHeight()))
        return background;
    Gdiplus::Color c;
    picture.GetPixel(sx, sy, &c);
    if (c.GetA() == 0)
        return background;
    const double r = c.GetR(), g = c.GetG(), b = c.GetB();
    switch (look) {
    case Look::Plain:
    case Look::Pressed:
        return RGB(c.GetR(), c.GetG(), c.GetB());
    case Look::Hover:
        *exact = false;
        return RGB(Clamp(r * 1.05 + 12.75 + 0.5), Clamp(g * 1.05 + 12.75 + 0.5), Clamp(b * 1.05 + 12.75 + 0.5));
    case Look::Grey: {
        *exact = false;
        const int grey = Clamp(0.3 * r + 0.59 * g + 0.11 * b + 0.5);
        return RGB(grey, grey, grey);
    }
    }
    return background;
}

::testing::AssertionResult FaceShows(ButtonProbe& button, int face, Gdiplus::Bitmap& picture, Look look,
                                     const Background& background)
{
    CDC& dc = button.FaceDC(face);
    if (!dc.m_hDC)
        return ::testing::AssertionFailure() << FaceName(face) << " picture missing";
    const CRect client = button.ClientRect();
    CRect place;
    button.GetWindowRect(&place);
    button.GetParent()->ScreenToClient(&place);
    const std::vector<COLORREF> pixels = ReadPixels(dc.m_hDC, client);
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x) {
            bool exact = true;
            const COLORREF want =
                ExpectedPixel(picture, look, x, y, background.At(place.left + x, place.top + y), &exact);
            const COLORREF got = pixels[static_cast<size_t>(y) * client.Width() + x];
            const int tolerance = exact ? 0 : 1;
            const bool ok = std::abs(GetRValue(got) - GetRValue(want)) <= tolerance &&
                            std::abs(GetGValue(got) - GetGValue(want)) <= tolerance &&
                            std::abs(GetBValue(got) - GetBValue(want)) <= tolerance;
            if (!ok && wrong++ < 3)
                first << " (" << x << "," << y << ") got " << std::hex << got << " want " << want << std::dec;
        }
    if (wrong)
        return ::testing::AssertionFailure() << FaceName(face) << ": " << wrong << " pixels differ:" << first.str();
    return ::testing::AssertionSuccess();
}

// --- the real mouse ---------------------------------------------------------

namespace {
void Xdotool(const std::wstring& args)
{
    testing_support::StartUnix(L"/usr/bin/xdotool " + args);
}
} // namespace

void MouseMoveTo(int x, int y, bool filters)
{
    Xdotool(L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y));
    PumpUntil(
        [x, y] {
            POINT pt;
            return ::GetCursorPos(&pt) && pt.x == x && pt.y == y;
        },
        3000, filters);
}

void MouseButton(bool down)
{
    Xdotool(down ? L"mousedown 1" : L"mouseup 1");
    PumpUntil([down] { return ((::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) == down; }, 3000);
}

void DoubleClick()
{
    Xdotool(L"click --repeat 2 --delay 80 1");
}

} // namespace button_tests
