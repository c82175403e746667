// The pointing-hand cursor of links, drawn by the program itself so that
// it looks the same on every system.
#pragma once
#include <windows.h>

namespace qlr_editor {

// Created on the first call and kept until the process ends.
HCURSOR GetLinkHandCursor();

}  // namespace qlr_editor
