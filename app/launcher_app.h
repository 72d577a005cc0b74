// The application object: starts GDI+, loads the background picture and runs
// the launcher's background window modally.
#pragma once

#include "afxwin.h"

namespace Gdiplus {
class Image;
}

class ClauncherApp : public CWinApp {
public:
    ClauncherApp();
    ~ClauncherApp() override = default;

    BOOL InitInstance() override;
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern ClauncherApp theApp;

// Decodes the "PNG" resource IDB_BACKGROUND of hInstance. Null when the
// module has no such resource (nothing is allocated then); an image whose
// last status is an error when the bytes are no picture. The image and the
// memory under it are never released: they live as long as the process.
Gdiplus::Image* LoadBackgroundImage(HINSTANCE hInstance);
