// The application framework layer: one include for the programs using it.
#pragma once
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/app/win_thread.h"
#include "platform/mfc/core/cmd_target.h"
#include "platform/mfc/core/geometry.h"
#include "platform/mfc/core/menu.h"
#include "platform/mfc/core/message_map.h"
#include "platform/mfc/core/object.h"
#include "platform/mfc/core/string.h"
#include "platform/mfc/window/class_names.h"
#include "platform/mfc/window/cmd_ui.h"
#include "platform/mfc/window/wnd.h"
