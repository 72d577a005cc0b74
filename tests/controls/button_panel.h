// A panel of image buttons on a background of known pixels, as the front
// panel carries them, and what the button tests need to look at it: the
// buttons' state pictures, the pixels on screen, a message pump that runs
// the window filters as the launcher's modal loop does, and the real mouse.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include "afxwin.h"
#include "controls/gdip_button.h"

namespace button_tests {

// The state pictures of a button, in the order of the button's members.
enum Face { kBackground, kPlain, kPressed, kHover, kDisabled, kAltPlain, kAltPressed, kAltHover, kFaceCount };
const char* FaceName(int face);

// An image button whose state the tests can read.
class ButtonProbe : public CGdipButton {
public:
    CDC& FaceDC(int face);
    // The name of the picture the last draw chose ("none" before any).
    std::string CurrentFace();
    CToolTipCtrl* TipCtrl() const { return m_pTipCtrl; }
    BOOL Hovering() const { return m_bHovering; }
    BOOL Tracking() const { return m_bTracking; }
    int ImageSet() const { return m_nImageSet; }
    CRect ClientRect() const;
    // The client area in screen coordinates.
    CRect ScreenRect() const;
    // Repaints now (WM_PAINT with its colour and draw requests).
    void Repaint();

    // The picture chosen by every draw, in order, and how many times the
    // drawn picture became the pressed one.
    std::vector<std::string> draws;
    int Presses() const;

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
};

// The panel's background: a solid colour, or an 8 x 8 pattern repeated
// from the client area's origin, so that every place has its own pixels.
struct Background {
    bool patterned;
    COLORREF colour;  // of a solid background
    COLORREF At(int x, int y) const;
    HBRUSH CreateBrush() const;
};
extern const Background kKeyGreen;  // the front panel's key colour, RGB(0, 255, 0)
extern const Background kPattern;

// The panel at a fixed place on screen, buttons placed in pixels (client
// coordinates): the close picture's size, two larger than their pictures,
// one whose template item is an ordinary push button, and one hidden.
class ButtonPanel : public CDialog {
public:
    static constexpr int kLeft = 300, kTop = 200, kWidth = 320, kHeight = 200;

    explicit ButtonPanel(const Background& background = kKeyGreen);
    ~ButtonPanel() override;

    ButtonProbe m_picture;     // 52 x 55 at (16, 16)
    ButtonProbe m_swatches;    // 20 x 16 at (90, 16)
    ButtonProbe m_large;       // 70 x 72 at (130, 16)
    ButtonProbe m_plainStyle;  // 52 x 55 at (220, 16)
    ButtonProbe m_late;        // 52 x 55 at (16, 110), hidden

    // Runs after the controls are bound and placed, before the first paint
    // (where the front panel gives its buttons their pictures).
    std::function<void(ButtonPanel&)> onInit;
    // BN_CLICKED notifications per control id.
    std::map<int, int> clicks;

    // Creates the panel, shows it and lets it paint. The pointer is moved
    // off the panel first.
    bool Open();
    const Background& background() const { return m_background; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    Background m_background;
    HBRUSH m_brush;
};

// Runs this thread's messages as the launcher's modal loop does (with the
// window filters unless `filters` is false) until pred() holds or timeoutMs
// passes; false on time-out.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs, bool filters = true);
void Pump(DWORD ms, bool filters = true);

// The pixels of a rectangle of a DC (device coordinates), row by row.
std::vector<COLORREF> ReadPixels(HDC dc, const RECT& rect);
std::vector<COLORREF> ReadScreen(const RECT& rect);
// The state picture the screen shows over the button's client area: its
// name, or "none" when it shows none of them.
std::string ShownFace(ButtonProbe& button);

// How a state picture shows the picture.
enum class Look { Plain, Pressed, Hover, Grey };
// The colour a state picture must have at (x, y): the picture's pixel (at
// one pixel's offset when pressed, through the look's colour matrix) where
// it is opaque, otherwise the background. `exact` is false where matrix
// arithmetic leaves a tolerance of one.
COLORREF ExpectedPixel(Gdiplus::Bitmap& picture, Look look, int x, int y, COLORREF background, bool* exact);
// Every pixel of the face against ExpectedPixel, the background being what
// the panel paints at the button's place.
::testing::AssertionResult FaceShows(ButtonProbe& button, int face, Gdiplus::Bitmap& picture, Look look,
                                     const Background& background);

// The real pointer, driven in the X server; the waits pump as PumpUntil.
void MouseMoveTo(int x, int y, bool filters = true);
void MouseButton(bool down);
void DoubleClick();

} // namespace button_tests
