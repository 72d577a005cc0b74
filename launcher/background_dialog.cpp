#include "background_dialog.h"

#include <cstring>
#include <new>
#include <objidl.h>
#include <gdiplus.h>

#include "frontend_dialog.h"
#include "key_filters.h"
#include "res/resource.h"

namespace {
using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                            BLENDFUNCTION*, DWORD);

// The picture's size, or 0 x 0 for a missing or undecodable picture.
CSize PictureSize(Gdiplus::Image* image)
{
    if (!image || image->GetLastStatus() != Gdiplus::Ok)
        return CSize(0, 0);
    return CSize(static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
}
} // namespace

CPoint launcher::CentreInWorkArea(const RECT& work, int frameWidth, int frameHeight)
{
    const int x = ((work.right - work.left) - frameWidth) / 2 + work.left;
    const int y = ((work.bottom - work.top) - frameHeight) / 2 + work.top;
    return CPoint(x, y);
}

BEGIN_MESSAGE_MAP(BackgroundDialog, CDialog)
    ON_WM_MOVE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_CREATE()
    ON_MESSAGE(WM_SHOW_FRONT_PANEL, OnShowFrontPanel)
END_MESSAGE_MAP()

BackgroundDialog::BackgroundDialog(CWnd* pParent) : CDialog(IDD_BACKGROUND_DIALOG, pParent)
{
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

int BackgroundDialog::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // Without a usable picture there is nothing to show and nothing the
    // player could close: the window is not created and the run ends.
    const CSize picture = PictureSize(m_pImage);
    if (picture.cx <= 0 || picture.cy <= 0)
        return -1;

    RECT frame = {0, 0, picture.cx, picture.cy};
    ::AdjustWindowRect(&frame, static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE);
    RECT work = {0, 0, 0, 0};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const CPoint origin =
        launcher::CentreInWorkArea(work, frame.right - frame.left, frame.bottom - frame.top);

    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;

    CreateFrontPanel();

    ModifyStyle(WS_CAPTION, WS_POPUP, 0);
    // WM_MOVE and WM_SIZE from here place the front panel.
    MoveWindow(origin.x, origin.y, picture.cx, picture.cy, TRUE);
    ModifyStyle(0, WS_MINIMIZEBOX, 0);
    SetWindowText(L"Orvanta");
    return 0;
}

void BackgroundDialog::CreateFrontPanel()
{
    m_pFrontend = new (std::nothrow) FrontendDialog(this);
    if (m_pFrontend)
        m_pFrontend->Create(m_pFrontend->m_lpszTemplateName, m_pFrontend->m_pParentWnd);
}

BOOL BackgroundDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_blend.BlendOp = AC_SRC_OVER;
    m_blend.BlendFlags = 0;
    m_blend.SourceConstantAlpha = 255;
    m_blend.AlphaFormat = AC_SRC_ALPHA;
    ApplyLayeredImage();
    // The front panel is shown once the dialog manager has shown this window.
    PostMessage(WM_SHOW_FRONT_PANEL);
    return TRUE;
}

LRESULT BackgroundDialog::OnShowFrontPanel(WPARAM, LPARAM)
{
    // An owned window stays above its owner, but Wine stacks windows on the
    // display in the order they are first shown: the panel is shown after
    // this window so that it is on top there too.
    if (m_pFrontend && m_pFrontend->m_hWnd) {
        // The panel's own background (the key colour) is painted before its
        // buttons paint for the first time, since they keep what lies under
        // them at that moment as their background; only then is the panel
        // activated, which gives its first button the focus and a redraw.
        m_pFrontend->ShowWindow(SW_SHOWNA);
        m_pFrontend->UpdateWindow();
        ::SetActiveWindow(m_pFrontend->m_hWnd);
    }
    return 0;
}

void BackgroundDialog::ApplyLayeredImage()
{
    const CSize picture = PictureSize(m_pImage);
    const int w = picture.cx;
    const int h = picture.cy;

    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

    HDC hdcWindow = ::GetDC(m_hWnd);
    HDC hdcMem = ::CreateCompatibleDC(hdcWindow);
    RECT rcWindow = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &rcWindow);
    POINT ptDst = {rcWindow.left, rcWindow.top};

    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = h;  // bottom-up rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(w) * 32 + 31) / 8) & ~3u;
    bmi.bmiHeader.biSizeImage = stride * static_cast<DWORD>(h);

    void* bits = nullptr;
    HBITMAP hDib = (w > 0 && h > 0)
                       ? ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0)
                       : nullptr;
    if (hDib && bits) {
        memset(bits, 0, static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        HGDIOBJ hOld = ::SelectObject(hdcMem, hDib);
        {
            Gdiplus::Graphics graphics(hdcMem);
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
            graphics.DrawImage(m_pImage, 0, 0, w, h);
        }

        if (HMODULE user32 = ::LoadLibraryW(L"User32.DLL")) {
            auto update = reinterpret_cast<UpdateLayeredWindowFn>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")));
            if (update) {
                SIZE size = {w, h};
                POINT ptSrc = {0, 0};
                update(m_hWnd, hdcWindow, &ptDst, &size, hdcMem, &ptSrc, 0, &m_blend, ULW_ALPHA);
            }
            ::FreeLibrary(user32);
        }
        ::SelectObject(hdcMem, hOld);
    }
    if (hDib)
        ::DeleteObject(hDib);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(m_hWnd, hdcWindow);
}

void BackgroundDialog::OnMove(int x, int y)
{
    CDialog::OnMove(x, y);
    if (m_pFrontend) {
        m_pFrontend->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_nLastY = y;
        m_nLastX = x;
    }
}

void BackgroundDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    // The front panel goes and comes back with a minimized background. The
    // system does this for owned popups; Wine without a window manager does
    // not, and a second call is harmless where it does.
    if (nType == SIZE_MINIMIZED)
        ::ShowOwnedPopups(m_hWnd, FALSE);
    else if (nType == SIZE_RESTORED)
        ::ShowOwnedPopups(m_hWnd, TRUE);
    if (m_pFrontend)
        m_pFrontend->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    // A restore puts the client area back on the last remembered origin.
    // Only a move seen with a front panel is remembered; without one the
    // window stays where it is. The window's own frame (the dialog frame
    // the template asks for) is allowed for, so the window does not creep
    // by its width at every restore.
    if (nType == SIZE_RESTORED && m_pFrontend) {
        CRect window;
        GetWindowRect(&window);
        CPoint client(0, 0);
        ClientToScreen(&client);
        SetWindowPos(nullptr, m_nLastX - (client.x - window.left), m_nLastY - (client.y - window.top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
}

void BackgroundDialog::OnLButtonDown(UINT nFlags, CPoint point)
{
    // The system's move loop, as if the caption had been pressed.
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    CDialog::OnLButtonDown(nFlags, point);
}

BOOL BackgroundDialog::PreTranslateMessage(MSG* pMsg)
{
    return launcher::ApplyFilter(launcher::BackgroundFilter(pMsg->message, pMsg->wParam),
                                 [&] { return CDialog::PreTranslateMessage(pMsg); });
}
