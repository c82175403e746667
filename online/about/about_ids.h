// Control ids of the about dialog, shared with its template.
#pragma once

#define IDD_QLR_ABOUT 100
#define IDC_ABOUT_TEXT 1000
#define IDC_ABOUT_LIST 1001
#define IDC_ABOUT_COPY 1002
#define IDC_ABOUT_HOME_LINK 1003
#define IDC_ABOUT_CHECK_UPDATES 1004
#define IDC_ABOUT_BUG_LINK 1005
#define IDC_ABOUT_CREDIT 1014
