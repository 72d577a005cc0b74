// The off-screen drawing surface against a real memory DC: where and when its
// pixels land on the target, which area it covers, and what it leaves behind.
#include <gtest/gtest.h>

#include <memory>

#include "controls/mem_dc.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

class SurfaceProbe : public CMyMemDC {
public:
    using CMyMemDC::CMyMemDC;
    CRect area() const { return m_rcArea; }
    HGDIOBJ bitmap() const { return m_bmpSurface.m_hObject; }
    BOOL offscreen() const { return m_bOffscreen; }
};

// A 40 x 30 screen-compatible memory DC, white.
class Target {
public:
    Target()
    {
        HDC screen = ::GetDC(nullptr);
        dc.CreateCompatibleDC(CDC::FromHandle(screen));
        bitmap.CreateCompatibleBitmap(CDC::FromHandle(screen), 40, 30);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc.m_hDC, bitmap.m_hObject);
        const CRect all(0, 0, 40, 30);
        dc.FillSolidRect(&all, kWhite);
    }
    ~Target() { ::SelectObject(dc.m_hDC, old); }
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ old = nullptr;
};

TEST(MemoryDrawingSurface, CoversItsAreaAndCopiesItOnlyAtTheEnd)
{
    struct Case {
        const char* what;
        bool printing;
        CRect clip;         // clip rectangle of the target (empty: none)
        CRect rect;         // rectangle handed to the surface
        CRect area;         // area it must cover
        CPoint drawn;       // a red 2 x 2 square is drawn here through the surface
        COLORREF during;    // the target there while the surface lives
        COLORREF after;     // ... and once it is gone
        CPoint outside;     // a target pixel the copy must not touch (x < 0: none)
        bool markSurvives;  // a blue pixel put straight on the target at drawn + (3, 3)
                            // while the surface lives is still there afterwards
    };
    const Case cases[] = {
        {"a rectangle", false, {}, {10, 5, 30, 25}, {10, 5, 30, 25}, {10, 5}, kWhite, kRed, {9, 5}, false},
        {"all zeros: the clip box", false, {4, 6, 20, 16}, {}, {4, 6, 20, 16}, {4, 6}, kWhite, kRed, {20, 6}, false},
        {"all zeros without a clip region: the whole target", false, {}, {}, {0, 0, 40, 30}, {0, 0}, kWhite, kRed,
         {-1, -1}, false},
        {"empty but not all zeros: used as it is", false, {}, {5, 5, 5, 20}, {5, 5, 5, 20}, {5, 5}, kWhite, kWhite,
         {-1, -1}, true},
        {"a printing target: drawn straight, never copied", true, {}, {10, 5, 30, 25}, {}, {10, 5}, kRed, kRed,
         {9, 5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Target target;
        target.dc.m_bPrinting = c.printing;
        if (!c.clip.IsRectEmpty()) {
            HRGN clip = ::CreateRectRgnIndirect(&c.clip);
            ::SelectClipRgn(target.dc.m_hDC, clip);
            ::DeleteObject(clip);
        }
        const cl::GdiCounters before = cl::GetGdiCounters();

        auto surface = std::make_unique<SurfaceProbe>(&target.dc, c.rect);
        EXPECT_EQ(surface->offscreen(), !c.printing);
        EXPECT_EQ(surface->area(), c.area);
        EXPECT_EQ(surface->IsPrinting(), c.printing);
        if (c.printing) {
            EXPECT_EQ(surface->m_hDC, target.dc.m_hDC);
            EXPECT_EQ(surface->m_hAttribDC, target.dc.m_hAttribDC);
            EXPECT_EQ(surface->bitmap(), nullptr);
        } else {
            EXPECT_NE(surface->m_hDC, target.dc.m_hDC);
            BITMAP bm = {};
            if (!c.area.IsRectEmpty() && ::GetObjectW(surface->bitmap(), sizeof bm, &bm) == sizeof bm) {
                EXPECT_EQ(bm.bmWidth, c.area.Width());
                EXPECT_EQ(bm.bmHeight, c.area.Height());
            }
        }
        const HDC surfaceDC = surface->m_hDC;
        const HGDIOBJ surfaceBitmap = surface->bitmap();

        const CRect square(c.drawn.x, c.drawn.y, c.drawn.x + 2, c.drawn.y + 2);
        surface->FillSolidRect(&square, kRed);
        EXPECT_EQ(target.dc.GetPixel(c.drawn.x, c.drawn.y), c.during);
        const CPoint mark(c.drawn.x + 3, c.drawn.y + 3);
        // Never drawn: copied with whatever the surface holds there.
        const COLORREF undrawn = surface->GetPixel(mark.x, mark.y);
        ::SetPixel(target.dc.m_hDC, mark.x, mark.y, kBlue);

        surface.reset();

        EXPECT_EQ(target.dc.GetPixel(c.drawn.x, c.drawn.y), c.after);
        EXPECT_EQ(target.dc.GetPixel(mark.x, mark.y), c.markSurvives ? kBlue : undrawn);
        if (c.outside.x >= 0) {
            EXPECT_EQ(target.dc.GetPixel(c.outside.x, c.outside.y), kWhite);
        }

        // Nothing left behind; a borrowed target DC lives on.
        const cl::GdiCounters after = cl::GetGdiCounters();
        EXPECT_EQ(after.objects, before.objects);
        EXPECT_EQ(after.dcs, before.dcs);
        if (c.printing) {
            EXPECT_EQ(::GetObjectType(target.dc.m_hDC), static_cast<DWORD>(OBJ_MEMDC));
            ::SetPixel(target.dc.m_hDC, 0, 0, kBlue);
            EXPECT_EQ(target.dc.GetPixel(0, 0), kBlue);
        } else {
            EXPECT_EQ(::GetObjectType(surfaceDC), 0u);
            if (!c.area.IsRectEmpty()) {
                EXPECT_EQ(::GetObjectType(surfaceBitmap), 0u);
            }
        }
    }
}

} // namespace
