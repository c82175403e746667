#include "editor/app/editor_messages.h"

#include "editor/editor_names.h"

const UINT WM_QLR_RUNNING_EDITOR = RegisterWindowMessageW(editor_names::kRunningEditorMessage);
const UINT WM_QLR_OPTIONS_CHANGED = RegisterWindowMessageW(editor_names::kOptionsChangedMessage);
const UINT WM_QLR_ADD_FROM_CB = RegisterWindowMessageW(editor_names::kAddFromClipboardMessage);
const UINT WM_QLR_ADD_FROM_SELTEXT = RegisterWindowMessageW(editor_names::kAddFromSelTextMessage);
