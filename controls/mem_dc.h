// An off-screen drawing surface that stands in for a target DC.
//
// Classes in this file: CMyMemDC.
//
// For its lifetime the object is a DC covering one rectangle of the target,
// in the target's logical coordinates. Everything drawn into it lands in a
// private bitmap, which the destructor copies to the target in one block
// transfer. With a printing target nothing is buffered: the object borrows
// the target's handles and drawing goes straight to it.
//
// Usage: on the stack of one drawing operation.
//     CMyMemDC surface(pDC, rcItem);
//     surface.FillSolidRect(...);      // or hand surface.m_hDC to GDI+
//     // copied to pDC at the end of the scope
#pragma once

#include "afxwin.h"

class CMyMemDC : public CDC {
public:
    // pDC: the target, not null, outliving the object. rect: the area
    // covered; the all-zero rectangle stands for the target's clip box, any
    // other rectangle (an empty one too) is used as it is. The surface is
    // not cleared: callers paint every pixel they need.
    explicit CMyMemDC(CDC* pDC, CRect rect = CRect());
    // Copies the surface to the target (off-screen case) and releases it.
    ~CMyMemDC() override;

protected:
    CBitmap m_bmpSurface;                // the off-screen bitmap, as large as m_rcArea
    CBitmap* m_pOldBitmap = nullptr;     // selected before m_bmpSurface (temporary wrapper)
    CDC* m_pTargetDC = nullptr;          // the DC stood in for; not owned
    CRect m_rcArea;                      // covered area; all zeros when printing
    BOOL m_bOffscreen = FALSE;           // FALSE: printing, drawing goes to the target
};
