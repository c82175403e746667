// Resource ids of the tray program.
#pragma once

#define IDS_ALREADY_WORKS 137
#define IDS_EXITING 138
#define IDS_PRESS_CTRL_C 170
#define IDS_COMMAND_LINE_KEYS 269
