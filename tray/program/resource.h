// Resource ids of the tray program.
#pragma once

#define IDS_ALREADY_WORKS 137
#define IDS_EXITING 138
#define IDS_PRESS_CTRL_C 170
#define IDS_COMMAND_LINE_KEYS 269
#define IDS_TURN_ON 130
#define IDS_TURN_OFF 131
#define IDS_HOT_KEY 132
#define IDS_MENU_TOOLTIP 134
#define IDS_RIGHT_CLICK_FOR_MENU 148
#define IDS_FOLDER 220
#define IDS_ON 275
#define IDS_OFF 276
