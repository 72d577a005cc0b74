// The launcher's bottom layer and main window: a caption-less popup whose
// whole look is the background picture, pushed once with per-pixel alpha. It
// keeps the front panel on its client area and is dragged by the picture.
#pragma once

#include "afxwin.h"

namespace Gdiplus {
class Image;
}

class FrontendDialog;

namespace launcher {
// Top-left corner that centres a frame of frameWidth x frameHeight on the
// work area (integer halves truncate toward zero).
CPoint CentreInWorkArea(const RECT& work, int frameWidth, int frameHeight);
} // namespace launcher

class BackgroundDialog : public CDialog {
public:
    explicit BackgroundDialog(CWnd* pParent = nullptr);
    ~BackgroundDialog() override = default;

    HICON m_hIcon = nullptr;
    Gdiplus::Image* m_pImage = nullptr;  // set before DoModal; not owned
    BLENDFUNCTION m_blend{};
    int m_nLastX = 0;  // client-area origin (screen) at the last move seen with a front panel
    int m_nLastY = 0;
    FrontendDialog* m_pFrontend = nullptr;  // never deleted here

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void ApplyLayeredImage();
    // The one place where the front panel is made.
    void CreateFrontPanel();

    void OnMove(int x, int y);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    LRESULT OnShowFrontPanel(WPARAM, LPARAM);

    static constexpr UINT WM_SHOW_FRONT_PANEL = WM_APP + 1;

    DECLARE_MESSAGE_MAP()
};
