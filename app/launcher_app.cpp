#include "launcher_app.h"

#include <cstring>
#include <new>
#include <objidl.h>
#include <gdiplus.h>

#include "launcher/background_dialog.h"
#include "res/resource.h"

namespace {
ULONG_PTR g_gdiplusToken = 0;
}

BEGIN_MESSAGE_MAP(ClauncherApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

ClauncherApp::ClauncherApp() : CWinApp(nullptr)
{
}

ClauncherApp theApp;

BOOL ClauncherApp::InitInstance()
{
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread on
    Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);

    {
        BackgroundDialog dlg;
        dlg.m_pImage = LoadBackgroundImage(AfxGetInstanceHandle());
        m_pMainWnd = &dlg;
        dlg.DoModal();
    }
    return FALSE;
}

int ClauncherApp::ExitInstance()
{
    Gdiplus::GdiplusShutdown(g_gdiplusToken);
    return CWinApp::ExitInstance();
}

Gdiplus::Image* LoadBackgroundImage(HINSTANCE hInstance)
{
    HRSRC hRes = ::FindResourceW(hInstance, MAKEINTRESOURCEW(IDB_BACKGROUND), L"PNG");
    if (!hRes)
        return nullptr;
    const DWORD size = ::SizeofResource(hInstance, hRes);
    HGLOBAL hResData = ::LoadResource(hInstance, hRes);
    if (!hResData)
        return nullptr;
    const void* bytes = ::LockResource(hResData);
    if (!bytes || size == 0)
        return nullptr;

    // The picture reads from a private copy that lives as long as the image.
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_FIXED, size);
    if (!hBlock)
        return nullptr;
    void* block = ::GlobalLock(hBlock);
    if (!block) {
        ::GlobalFree(hBlock);
        return nullptr;
    }
    memcpy(block, bytes, size);

    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(hBlock, FALSE, &stream)) || !stream) {
        ::GlobalUnlock(hBlock);
        ::GlobalFree(hBlock);
        return nullptr;
    }
    // GDI+'s own allocator, so that a null result means no load is tried
    // (the class's operator new would run the constructor on null).
    Gdiplus::Image* image = nullptr;
    if (void* mem = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Image)))
        image = ::new (mem) Gdiplus::Image(stream, TRUE);  // colour-managed load
    ::GlobalUnlock(hBlock);
    stream->Release();  // the image keeps its own reference
    if (!image)
        ::GlobalFree(hBlock);
    return image;
}
