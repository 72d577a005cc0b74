// Resource symbols of the launcher. The values are fixed: templates, code and
// the resource data refer to them.
#pragma once

#define IDD_BACKGROUND_DIALOG   102
#define IDR_HTML_GAME_DIALOG    103  // handed to the game window's base; no such resource exists
#define IDD_FRONTEND_DIALOG     136
#define IDD_GAME_DIALOG         143
#define IDD_BROWSER_DIALOG      153  // carried, never created
#define IDB_BACKGROUND          175  // "PNG"
#define IDB_CLOSE_GIF           201  // "GIF"
#define IDB_SPARE_PICTURE_1     204  // "GIF" holding a BMP file, never loaded
#define IDB_MINIMIZE_GIF        205  // "GIF"
#define IDB_SPARE_PICTURE_2     208  // "GIF" holding a BMP file, never loaded
#define IDR_MAINFRAME           209  // application icon group

#define IDC_MINIMIZE_BUTTON     1000
#define IDC_CLOSE_BUTTON        1001
#define IDC_PORTAL_BROWSER      1004
#define IDC_GAME_BROWSER        1005
#define IDC_SPARE_BROWSER       1008

// Resource type of the dialog initialisation records.
#define RT_DLGINIT_TYPE         240
