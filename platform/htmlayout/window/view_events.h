// Events of a view's elements to the handlers attached to the view: every
// handler of the event's group sees it sinking, then, when none handled it,
// bubbling. A handler may reload the page or destroy the view; the dispatch
// then ends at once.
#pragma once
#include <windows.h>

#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/htmlayout.h"

namespace hl {

enum class DispatchEnd { kUnhandled, kHandled, kGone };

DispatchEnd DispatchMouse(HWND view, UINT cmd, Node* target, POINT docPos, UINT buttons, UINT keys);
DispatchEnd DispatchBehavior(HWND view, UINT cmd, Node* target, UINT_PTR reason);

// A click on a link: HYPERLINK_CLICK, then, when no handler took it, the
// link's own action: "#name" scrolls to the anchor; http, https and mailto
// addresses go to the shell; anything else does nothing.
DispatchEnd ClickLink(HWND view, Node* link);

// Whether an address is one the view hands to the shell.
bool IsShellLink(const std::wstring& href);

}  // namespace hl
