#include "background_dialog.h"

#include <cstring>
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
    // The front panel is not part of this build yet: the background runs
    // alone and OnMove/OnSize have nothing to place.
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
    return TRUE;
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
    if (m_pFrontend)
        m_pFrontend->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    // Only a position remembered from a move can be restored; without a
    // front panel none is kept and the window stays where it is.
    if (nType == SIZE_RESTORED && m_pFrontend)
        SetWindowPos(nullptr, m_nLastX, m_nLastY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void BackgroundDialog::OnLButtonDown(UINT nFlags, CPoint point)
{
    // The system's move loop, as if the caption had been pressed.
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    CDialog::OnLButtonDown(nFlags, point);
}

BOOL BackgroundDialog::PreTranslateMessage(MSG* pMsg)
{
    switch (launcher::BackgroundFilter(pMsg->message, pMsg->wParam)) {
    case launcher::FilterVerdict::Dispatch:
        return FALSE;
    case launcher::FilterVerdict::Discard:
        return TRUE;
    case launcher::FilterVerdict::AskBase:
        break;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
