// The update dialog's template and control ids.
#pragma once

#define IDD_QLR_UPDATE 219
#define IDC_UPDATE_VIEW_PLACE 1012
#define IDC_UPDATE_VISIT 3
#define IDC_UPDATE_SKIP 5
