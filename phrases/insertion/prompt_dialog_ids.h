// Resource ids of the prompt dialog, shared by its .rc fragment and its code.
#pragma once

#define IDD_PROMPT_TEXT 220
#define IDC_PROMPT_TEXT 1013
#define IDS_PROMPT_CANCEL 230
#define IDI_PROGRAM_ICON 128
