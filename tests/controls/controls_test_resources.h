// Resources of the skinned-control tests, next to the launcher's own.
#pragma once

#define IDD_BUTTON_PANEL        3000

#define IDC_PANEL_PICTURE       3100  // owner-drawn, 52 x 55
#define IDC_PANEL_SWATCHES      3101  // owner-drawn, larger than its picture
#define IDC_PANEL_LARGE         3102  // owner-drawn, larger than its picture
#define IDC_PANEL_PLAIN_STYLE   3103  // an ordinary push button in the template
#define IDC_PANEL_LATE          3104  // owner-drawn, hidden until a test shows it

#define IDB_TEST_SWATCHES       3200  // "GIF": swatches.gif (see make_swatches.py)
#define IDB_TEST_NOT_A_PICTURE  3201  // "GIF": bytes no decoder takes
#define IDB_TEST_EMPTY          3202  // "GIF": no bytes at all
