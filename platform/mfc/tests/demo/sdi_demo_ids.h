// Ids of the SDI demo's resources, shared by the demo and the tests.
#pragma once

#define IDR_DEMO_FRAME 128
#define IDD_DEMO_MODAL 100
#define IDD_DEMO_PAGE 130
#define IDC_DEMO_EDIT 1001
#define IDC_DEMO_PAGE_FIRST 1101
#define IDC_DEMO_PAGE_SECOND 1102

#define ID_DEMO_HANDLED 32900
#define ID_DEMO_UNHANDLED 32901
#define ID_DEMO_CHECKED 32902
#define ID_DEMO_RENAMED 32903
#define ID_DEMO_SUB_FIRST 32904
#define ID_DEMO_CUSTOM_PROMPT 32905
