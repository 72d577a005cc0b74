#include "controls/gdip_button.h"

#include <algorithm>
#include <objidl.h>
#include <gdiplus.h>

#include "controls/gdiplus_bitmap.h"
#include "controls/mem_dc.h"

namespace {

// Each colour channel times 1.05 plus 0.05; alpha unchanged.
const Gdiplus::ColorMatrix kHoverMatrix = {{
    {1.05f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 1.05f, 0.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.05f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {0.05f, 0.05f, 0.05f, 0.0f, 1.0f},
}};

// Every colour channel becomes 0.3 red + 0.59 green + 0.11 blue; alpha unchanged.
const Gdiplus::ColorMatrix kGreyMatrix = {{
    {0.3f, 0.3f, 0.3f, 0.0f, 0.0f},
    {0.59f, 0.59f, 0.59f, 0.0f, 0.0f},
    {0.11f, 0.11f, 0.11f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 0.0f, 1.0f},
}};

// Draws the picture with its top-left corner at (offset, offset), one
// picture pixel to one device pixel, through the colour matrix if one is
// given. A holder without a bitmap draws nothing.
//
// Every picture goes through the source-rectangle overload at its pixel
// size: the position-only overload draws at the picture's physical size,
// which differs from its pixel size on a screen of another resolution than
// the picture's. And always with an ImageAttributes: without one, Wine's
// GDI+ draws a palette picture opaque, its transparent entry included.
void DrawPicture(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* pBitmap, int offset,
                 const Gdiplus::ColorMatrix* pMatrix, long& calls)
{
    if (!pBitmap)
        return;
    Gdiplus::ImageAttributes attributes;
    ++calls;
    if (pMatrix) {
        attributes.SetColorMatrix(pMatrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeDefault);
        ++calls;
    }
    const Gdiplus::REAL w = static_cast<Gdiplus::REAL>(pBitmap->GetWidth());
    const Gdiplus::REAL h = static_cast<Gdiplus::REAL>(pBitmap->GetHeight());
    const Gdiplus::REAL at = static_cast<Gdiplus::REAL>(offset);
    graphics.DrawImage(pBitmap, Gdiplus::RectF(at, at, w, h), 0.0f, 0.0f, w, h, Gdiplus::UnitPixel, &attributes);
    calls += 4;  // width, height, drawing, attributes disposed
}

Gdiplus::Bitmap* BitmapOf(const CGdiPlusBitmapResource* pImage)
{
    return pImage ? pImage->GetBitmap() : nullptr;
}

} // namespace

BEGIN_MESSAGE_MAP(CGdipButton, CButton)
    ON_WM_DRAWITEM()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
END_MESSAGE_MAP()

CGdipButton::CGdipButton() = default;

CGdipButton::~CGdipButton()
{
    delete m_pStandardImage;
    m_pStandardImage = nullptr;
    delete m_pAlternateImage;
    m_pAlternateImage = nullptr;
    delete m_pTipCtrl;  // destroys the tool-tip window
    m_pTipCtrl = nullptr;

    m_pCurrentFace = nullptr;
    for (CDC* face : {&m_dcDisabled, &m_dcAlternateHover, &m_dcAlternatePressed, &m_dcAlternate,
                      &m_dcStandardHover, &m_dcStandardPressed, &m_dcStandard, &m_dcBackground})
        ReleaseFace(*face);
}

BOOL CGdipButton::LoadStandardImage(UINT nResourceId, LPCTSTR pszType)
{
    if (m_pStandardImage) {
        delete m_pStandardImage;
        m_pStandardImage = nullptr;
        for (CDC* face : {&m_dcStandard, &m_dcStandardPressed, &m_dcStandardHover, &m_dcDisabled})
            ReleaseFace(*face);
        BuildAgainAtNextPaint();
    }
    m_pStandardImage = new CGdiPlusBitmapResource;
    return m_pStandardImage->Load(nResourceId, pszType, nullptr) ? TRUE : FALSE;
}

BOOL CGdipButton::LoadAlternateImage(UINT nResourceId, LPCTSTR pszType)
{
    delete m_pAlternateImage;
    m_pAlternateImage = nullptr;
    for (CDC* face : {&m_dcAlternate, &m_dcAlternatePressed, &m_dcAlternateHover})
        ReleaseFace(*face);
    BuildAgainAtNextPaint();
    m_pAlternateImage = new CGdiPlusBitmapResource;
    m_bHasAlternate = TRUE;
    return m_pAlternateImage->Load(nResourceId, pszType, nullptr) ? TRUE : FALSE;
}

void CGdipButton::BuildAgainAtNextPaint()
{
    // The background stays as captured: the button covers the parent's
    // pixels by now. Only the missing pictures are built.
    if (!m_bFacesBuilt)
        return;
    m_bFacesBuilt = FALSE;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CGdipButton::SetToggle(BOOL bToggle)
{
    m_bToggle = bToggle;
    if (!bToggle)
        m_nImageSet = 0;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CGdipButton::SetShowDisabled(BOOL bShowDisabled)
{
    m_bShowDisabled = bShowDisabled;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CGdipButton::PreSubclassWindow()
{
    // Replace the button type: OR-ing BS_OWNERDRAW into another type gives a
    // different type (a radio button would become 0xF).
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CGdipButton::PreTranslateMessage(MSG* pMsg)
{
    // A second quick click reaches the control as an ordinary press.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    if (m_pTipCtrl && ::IsWindow(m_pTipCtrl->m_hWnd))
        m_pTipCtrl->RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

BOOL CGdipButton::OnEraseBkgnd(CDC*)
{
    return TRUE;  // every paint covers the whole client area
}

HBRUSH CGdipButton::CtlColor(CDC* pDC, UINT)
{
    // Only a button that is on screen paints: a draw while its parent is
    // still hidden (the dialog gives the first button the focus before the
    // panel is shown) would capture pixels the parent has not painted yet.
    if (m_bFacesBuilt || !m_pStandardImage || !IsWindowVisible())
        return nullptr;

    CRect rcClient;
    GetClientRect(&rcClient);
    const int cw = rcClient.Width();
    const int ch = rcClient.Height();

    {
        CMyMemDC surface(pDC, rcClient);
        {
            ++m_drawStats.gdiplusCalls;
            Gdiplus::Graphics graphics(surface.m_hDC);
            long& calls = m_drawStats.gdiplusCalls;

            if (!m_dcBackground.m_hDC) {
                if (CWnd* pParent = GetParent()) {
                    CClientDC dcParent(pParent);
                    CRect rcWindow;
                    GetWindowRect(&rcWindow);
                    pParent->ScreenToClient(&rcWindow);
                    m_dcBackground.CreateCompatibleDC(&dcParent);
                    CBitmap bitmap;
                    bitmap.CreateCompatibleBitmap(&dcParent, cw, ch);
                    m_dcBackground.SelectObject(&bitmap);
                    m_dcBackground.BitBlt(0, 0, cw, ch, &dcParent, rcWindow.left, rcWindow.top, SRCCOPY);
                    if (HBITMAP hBitmap = static_cast<HBITMAP>(bitmap.Detach()))
                        m_faceBitmaps.push_back(hBitmap);
                    ++m_drawStats.picturesBuilt;
                }
            }

            // Builds one state picture unless it is there already: the
            // background, the picture over it, then a copy of the surface.
            auto buildFace = [&](CDC& face, Gdiplus::Bitmap* pBitmap, int offset, const Gdiplus::ColorMatrix* matrix) {
                if (face.m_hDC)
                    return;
                PaintBackground(&surface);
                DrawPicture(graphics, pBitmap, offset, matrix, calls);
                CaptureFace(face, surface, cw, ch);
            };

            if (!m_dcStandard.m_hDC) {
                Gdiplus::Bitmap* pBitmap = BitmapOf(m_pStandardImage);
                buildFace(m_dcStandard, pBitmap, 0, nullptr);
                buildFace(m_dcStandardPressed, pBitmap, 1, nullptr);
                buildFace(m_dcStandardHover, pBitmap, 0, &kHoverMatrix);
                buildFace(m_dcDisabled, pBitmap, 0, &kGreyMatrix);
            }

            // No grey picture of the alternate image is made.
            if (!m_dcAlternate.m_hDC && m_bHasAlternate) {
                Gdiplus::Bitmap* pBitmap = BitmapOf(m_pAlternateImage);
                buildFace(m_dcAlternate, pBitmap, 0, nullptr);
                buildFace(m_dcAlternatePressed, pBitmap, 1, nullptr);
                buildFace(m_dcAlternateHover, pBitmap, 0, &kHoverMatrix);
            }

            m_bFacesBuilt = TRUE;
            ++m_drawStats.gdiplusCalls;  // the Graphics is deleted next
        }
        // The surface now holds the last picture built and is copied to pDC;
        // the draw request of this paint covers it.
    }
    return nullptr;
}

void CGdipButton::CaptureFace(CDC& face, CDC& surface, int cw, int ch)
{
    face.CreateCompatibleDC(&surface);
    // The surface's bitmap is selected into it: the new one gets its format.
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&surface, cw, ch);
    face.SelectObject(&bitmap);
    face.BitBlt(0, 0, cw, ch, &surface, 0, 0, SRCCOPY);
    if (HBITMAP hBitmap = static_cast<HBITMAP>(bitmap.Detach()))
        m_faceBitmaps.push_back(hBitmap);  // stays selected into the face
    ++m_drawStats.picturesBuilt;
}

void CGdipButton::ReleaseFace(CDC& face)
{
    if (!face.m_hDC)
        return;
    HGDIOBJ hSelected = ::GetCurrentObject(face.m_hDC, OBJ_BITMAP);
    face.DeleteDC();  // the bitmap is selected nowhere afterwards
    auto it = std::find(m_faceBitmaps.begin(), m_faceBitmaps.end(), hSelected);
    if (it != m_faceBitmaps.end()) {
        CBitmap owned;
        owned.Attach(*it);
        owned.DeleteObject();
        m_faceBitmaps.erase(it);
    }
}

void CGdipButton::PaintBackground(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_dcBackground, 0, 0, SRCCOPY);
}

void CGdipButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);

    CDC* pFace = nullptr;
    if (m_bShowDisabled) {
        pFace = &m_dcDisabled;
    } else {
        const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        if (m_bToggle && selected)
            m_nImageSet = m_nImageSet == 0 ? 1 : 0;
        if (selected)
            pFace = m_nImageSet == 0 ? &m_dcStandardPressed : &m_dcAlternatePressed;
        else if (m_bHovering)
            pFace = m_nImageSet == 0 ? &m_dcStandardHover : &m_dcAlternateHover;
        else
            pFace = m_nImageSet == 0 ? &m_dcStandard : &m_dcAlternate;
    }
    m_pCurrentFace = pFace;

    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), pFace, 0, 0, SRCCOPY);
}

void CGdipButton::OnMouseMove(UINT, CPoint)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 1;
        m_bTracking = ::_TrackMouseEvent(&tme);
    }
    Default();
}

LRESULT CGdipButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTracking = FALSE;
    m_bHovering = FALSE;
    Invalidate(TRUE);
    return 0;
}

LRESULT CGdipButton::OnMouseHover(WPARAM, LPARAM)
{
    m_bHovering = TRUE;
    Invalidate(TRUE);

    // A fresh tool tip at every hover.
    if (m_pTipCtrl) {
        delete m_pTipCtrl;
        m_pTipCtrl = nullptr;
    }
    SetTipText(m_strTipText, TRUE);
    if (m_pTipCtrl && ::IsWindow(m_pTipCtrl->m_hWnd))
        m_pTipCtrl->Update();
    return 0;
}

void CGdipButton::SetTipText(CString strText, BOOL bActivate)
{
    if (strText.IsEmpty())
        return;
    CreateTipCtrl();
    m_strTipText = strText;
    if (m_pTipCtrl->GetToolCount() == 0) {
        CRect rcClient;
        GetClientRect(&rcClient);
        m_pTipCtrl->AddTool(this, m_strTipText, &rcClient, 1);
    }
    m_pTipCtrl->UpdateTipText(m_strTipText, this, 1);
    m_pTipCtrl->SetDelayTime(2000);
    m_pTipCtrl->Activate(bActivate);
}

void CGdipButton::CreateTipCtrl()
{
    if (m_pTipCtrl)
        return;
    m_pTipCtrl = new CToolTipCtrl;
    m_pTipCtrl->Create(this, 0);
    m_pTipCtrl->Activate(TRUE);
}
