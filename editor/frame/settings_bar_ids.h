// String ids of the settings pane (resources and code).
#pragma once

#define IDS_SETTINGS_PANE 61215
#define IDS_SETTINGS_TAB_MISC 248
#define IDS_SETTINGS_TAB_HIDE 249
