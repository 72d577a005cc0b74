// An owner-drawn push button that shows a picture over the pixels of the
// window behind it.
//
// Classes in this file: CGdipButton.
//
// Bind it to a template's button with DDX_Control, then give it its picture
// with LoadStandardImage before the first paint. At the first paint it
// captures the parent's pixels under it and renders its state pictures once
// (plain, pressed one pixel right and down, hover brightened, disabled in
// grey, and plain, pressed and hover of an optional alternate picture); every
// later paint is one BitBlt of the picture that matches the state. Pictures
// are drawn at the client area's top-left corner, unscaled; transparent
// pixels and the area a picture does not cover keep the captured background.
//
// The parent must let the class library reflect WM_CTLCOLORBTN and
// WM_DRAWITEM back to the button (its default colour handling does). GDI+
// must be running from LoadStandardImage until the button is destroyed.
#pragma once

#include <vector>

#include "afxwin.h"

class CGdiPlusBitmapResource;

class CGdipButton : public CButton {
public:
    CGdipButton();
    // Deletes the pictures and the tool tip, then the state pictures with
    // the bitmaps selected into them.
    ~CGdipButton() override;

    // Loads the standard picture from the executable's resources. The button
    // owns it. Returns the result of the load; a button whose load failed
    // shows the captured background only. A picture given after the first
    // paint replaces the old one, whose state pictures are built anew at the
    // next paint.
    BOOL LoadStandardImage(UINT nResourceId, LPCTSTR pszType);
    // Loads the alternate picture (plain, pressed and hover pictures, no
    // grey one), shown instead of the standard one while the alternate set
    // is in use (toggle mode). Its pictures are built at the next paint.
    BOOL LoadAlternateImage(UINT nResourceId, LPCTSTR pszType);
    // Toggle mode: every draw in the pressed state switches between the
    // standard and the alternate set. Off: the standard set.
    void SetToggle(BOOL bToggle);
    // Shows the grey picture whatever the state.
    void SetShowDisabled(BOOL bShowDisabled);
    // Sets the tool-tip text. An empty text does nothing; otherwise the tip
    // covers the client area as tool 1 with a 2000 ms automatic delay.
    void SetTipText(CString strText, BOOL bActivate = TRUE);

    // What drawing has cost so far: GDI+ calls this button made and state
    // pictures (with the background) it built. Only the first paint after a
    // picture is set adds to them; later paints are one BitBlt each (counted
    // in cl::GdiCounters).
    struct DrawStats {
        long gdiplusCalls = 0;
        long picturesBuilt = 0;
    };
    const DrawStats& GetDrawStats() const noexcept { return m_drawStats; }

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);

    // Copies the captured background over the client area of pDC.
    void PaintBackground(CDC* pDC);
    // Creates the tool-tip control if there is none.
    void CreateTipCtrl();

    BOOL m_bHasAlternate = FALSE;   // an alternate picture is present
    BOOL m_bFacesBuilt = FALSE;     // the state pictures are built (until a new picture comes)
    BOOL m_bShowDisabled = FALSE;   // grey picture in every state
    BOOL m_bToggle = FALSE;         // pressed draws switch the picture set
    BOOL m_bHovering = FALSE;       // the pointer rests on the button
    BOOL m_bTracking = FALSE;       // leave and hover notifications are pending
    int m_nImageSet = 0;            // 0 standard, 1 alternate
    CGdiPlusBitmapResource* m_pAlternateImage = nullptr;  // owned
    CGdiPlusBitmapResource* m_pStandardImage = nullptr;   // owned
    CString m_strTipText;
    CToolTipCtrl* m_pTipCtrl = nullptr;  // owned, made on demand

    // The parent's pixels under the button, captured once, and the state
    // pictures: memory DCs holding a bitmap of the client area's size.
    CDC m_dcBackground;
    CDC m_dcStandard;
    CDC m_dcStandardPressed;
    CDC m_dcStandardHover;
    CDC m_dcAlternate;
    CDC m_dcAlternatePressed;
    CDC m_dcAlternateHover;
    CDC m_dcDisabled;
    CDC* m_pCurrentFace = nullptr;  // the picture chosen by the last draw; not owned

    DECLARE_MESSAGE_MAP()

private:
    // Makes face a copy of the surface's client-area pixels.
    void CaptureFace(CDC& face, CDC& surface, int cw, int ch);
    // Deletes the face's DC, then the bitmap this button selected into it.
    void ReleaseFace(CDC& face);
    // Lets the next colour request build the pictures that are missing.
    void BuildAgainAtNextPaint();

    std::vector<HBITMAP> m_faceBitmaps;  // bitmaps selected into the pictures above
    DrawStats m_drawStats;
};
