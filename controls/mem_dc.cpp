#include "controls/mem_dc.h"

CMyMemDC::CMyMemDC(CDC* pDC, CRect rect) : m_pTargetDC(pDC), m_bOffscreen(!pDC->IsPrinting())
{
    if (m_bOffscreen) {
        CreateCompatibleDC(pDC);

        const CRect allZero(0, 0, 0, 0);
        if (rect.EqualRect(&allZero))
            pDC->GetClipBox(&m_rcArea);
        else
            m_rcArea = rect;

        m_bmpSurface.CreateCompatibleBitmap(pDC, m_rcArea.Width(), m_rcArea.Height());
        m_pOldBitmap = SelectObject(&m_bmpSurface);
        // Drawing at the target's coordinates lands in the surface.
        SetWindowOrg(m_rcArea.left, m_rcArea.top);
    } else {
        // Borrowed, never deleted here (m_bOwned stays false).
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CMyMemDC::~CMyMemDC()
{
    if (m_bOffscreen) {
        // An empty area has nothing to copy; an inverted one would blit
        // whatever the failed surface holds.
        if (!m_rcArea.IsRectEmpty()) {
            m_pTargetDC->BitBlt(m_rcArea.left, m_rcArea.top, m_rcArea.Width(), m_rcArea.Height(), this,
                                m_rcArea.left, m_rcArea.top, SRCCOPY);
        }
        SelectObject(m_pOldBitmap);
    } else {
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
    }
    // Then m_bmpSurface deletes the bitmap and the CDC part the memory DC.
}
