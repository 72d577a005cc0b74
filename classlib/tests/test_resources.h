#pragma once
#define IDD_TEST_FORM     100
#define IDD_TEST_CHILD    101
#define IDC_TEST_EDIT     1100
#define IDC_TEST_OWNERDRAW 1101
#define IDC_TEST_LIST     1102
