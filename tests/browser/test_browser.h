#pragma once
#define IDD_TEST_HOST        200
#define IDC_TEST_HOST_EDIT   1200
#define IDC_TEST_HOST_WEB    1201
#define IDC_TEST_HOST_HIDDEN 1202
