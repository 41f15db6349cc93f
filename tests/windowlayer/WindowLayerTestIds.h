#pragma once
// Resource identifiers of the window layer tests.
#define IDD_TEST_DIALOG 100
#define IDD_TEST_PAGE 101
#define IDD_TEST_VIEW 102
#define IDC_TEST_BUTTON 1001
#define IDC_TEST_LABEL 1002
#define IDC_TEST_EDIT 1003
#define IDC_VIEW_BUTTON 1010
