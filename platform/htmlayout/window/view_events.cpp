#include "platform/htmlayout/window/view_events.h"

#include <vector>

#include "foundation/system/shell_open.h"
#include "platform/htmlayout/view.h"
#include "platform/htmlayout/window/view_window.h"

namespace hl {
namespace {

// Calls fill(params, phaseFlag) for each delivery.
template <typename Params, typename Fill>
DispatchEnd Dispatch(HWND hwnd, UINT group, Node* target, Fill fill) {
  View* view = ViewFromWindow(hwnd);
  if (!view || !target || !target->document) return DispatchEnd::kGone;
  const unsigned long serial = view->Serial(), docSerial = view->DocSerial();
  // A handler attached during the dispatch waits for the next event.
  const std::vector<EventHandlerEntry> handlers = view->Handlers();
  const HELEMENT root = HandleOf(view->Doc()->Root());
  ++target->pins;
  DispatchEnd end = DispatchEnd::kUnhandled;
  for (UINT phase : {static_cast<UINT>(SINKING), 0u}) {
    for (const EventHandlerEntry& h : handlers) {
      if (!(h.groups & group)) continue;
      Params params = {};
      fill(params, phase);
      BOOL handled = h.proc(h.tag, root, group, &params);
      View* now = ViewFromWindow(hwnd);
      if (!now || now->Serial() != serial || now->DocSerial() != docSerial || !target->document) {
        end = DispatchEnd::kGone;
        break;
      }
      if (handled) {
        end = DispatchEnd::kHandled;
        break;
      }
    }
    if (end != DispatchEnd::kUnhandled) break;
  }
  Unpin(target);
  return end;
}

}  // namespace

DispatchEnd DispatchMouse(HWND view, UINT cmd, Node* target, POINT docPos, UINT buttons, UINT keys) {
  const HELEMENT he = HandleOf(target);
  return Dispatch<MOUSE_PARAMS>(view, HANDLE_MOUSE, target, [&](MOUSE_PARAMS& p, UINT phase) {
    p.cmd = cmd | phase;
    p.target = he;
    p.pos = docPos;
    p.pos_document = docPos;
    p.button_state = buttons;
    p.alt_state = keys;
  });
}

DispatchEnd DispatchBehavior(HWND view, UINT cmd, Node* target, UINT_PTR reason) {
  const HELEMENT he = HandleOf(target);
  return Dispatch<BEHAVIOR_EVENT_PARAMS>(view, HANDLE_BEHAVIOR_EVENT, target,
                                         [&](BEHAVIOR_EVENT_PARAMS& p, UINT phase) {
                                           p.cmd = cmd | phase;
                                           p.heTarget = he;
                                           p.he = he;
                                           p.reason = reason;
                                         });
}

bool IsShellLink(const std::wstring& href) {
  return StartsNoCase(href, L"http://") || StartsNoCase(href, L"https://") || StartsNoCase(href, L"mailto:");
}

DispatchEnd ClickLink(HWND hwnd, Node* link) {
  if (!link || !link->document) return DispatchEnd::kGone;
  const Attribute* a = link->FindAttribute("href");
  const std::wstring href = a ? a->value : std::wstring();
  DispatchEnd end = DispatchBehavior(hwnd, HYPERLINK_CLICK, link, 0);
  if (end != DispatchEnd::kUnhandled) return end;
  if (!href.empty() && href[0] == L'#') {
    if (View* view = ViewFromWindow(hwnd)) view->Presenter().ScrollToAnchor(href.substr(1));
  } else if (IsShellLink(href)) {
    ShellOpen(GetAncestor(hwnd, GA_ROOT), L"open", href.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  return end;
}

}  // namespace hl
