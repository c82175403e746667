// A dialog that hosts an HTML view for the window tests, with the view
// created from the class name as the update dialog does, a handler that
// records what reaches it, and helpers that find the native widgets.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/htmlayout_handler.h"
#include "platform/htmlayout/tests/dll/element_find.h"

namespace hltest {

struct Recorded {
  UINT group;
  UINT cmd;
  HELEMENT target;
  UINT controlType;  // of the target, read during the call
  std::wstring href;
};

// Records every mouse-down and behaviour event; handles those named.
class RecordingHandler : public HLEventHandler {
 public:
  std::vector<Recorded> events;
  UINT handleBehavior = ~0u;  // cmd (with phase) to report handled
  UINT handleMouse = ~0u;

  bool HandleMouse(HELEMENT, MOUSE_PARAMS& p) override {
    if ((p.cmd & ~SINKING) != MOUSE_DOWN) return false;
    Add(HANDLE_MOUSE, p.cmd, p.target);
    return p.cmd == handleMouse;
  }
  bool HandleBehaviorEvent(HELEMENT, BEHAVIOR_EVENT_PARAMS& p) override {
    Add(HANDLE_BEHAVIOR_EVENT, p.cmd, p.heTarget);
    return p.cmd == handleBehavior;
  }
  size_t Count(UINT group, UINT cmd) const {
    size_t n = 0;
    for (const Recorded& r : events) n += r.group == group && r.cmd == cmd;
    return n;
  }

 private:
  void Add(UINT group, UINT cmd, HELEMENT target) {
    Recorded r = {group, cmd, target, 0, {}};
    HTMLayoutControlGetType(target, &r.controlType);
    LPCWSTR href = nullptr;
    if (HTMLayoutGetAttributeByName(target, "href", &href) == HLDOM_OK && href) r.href = href;
    events.push_back(r);
  }
};

class ViewHost {
 public:
  explicit ViewHost(int width = 600, int height = 400) {
    host = CreateWindowExW(0, L"STATIC", L"view host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width + 40,
                           height + 60, nullptr, nullptr, nullptr, nullptr);
    view = CreateWindowExW(WS_EX_CLIENTEDGE, HTMLayoutClassNameW(), L"", WS_CHILD | WS_VISIBLE, 5, 5, width,
                           height, host, reinterpret_cast<HMENU>(1012), GetModuleHandleW(nullptr), nullptr);
    HTMLayoutWindowAttachEventHandler(view, HLEventHandler::ElementProc, &handler, HANDLE_ALL);
    ShowWindow(host, SW_SHOWNOACTIVATE);  // painted, never asked to be in front
  }
  ~ViewHost() { DestroyWindow(host); }
  ViewHost(const ViewHost&) = delete;
  ViewHost& operator=(const ViewHost&) = delete;

  bool Load(const std::string& html, const wchar_t* base = nullptr) {
    BOOL ok = HTMLayoutLoadHtmlEx(view, reinterpret_cast<const BYTE*>(html.data()),
                                  static_cast<UINT>(html.size()), base);
    UpdateWindow(view);
    return ok != FALSE;
  }
  HELEMENT Find(const wchar_t* id) const { return FindById(view, id); }
  // The first child window of the class (case-insensitive), null when none.
  HWND Child(const wchar_t* cls) const {
    struct Search {
      const wchar_t* cls;
      HWND found;
    } s = {cls, nullptr};
    EnumChildWindows(view, [](HWND hwnd, LPARAM p) -> BOOL {
      auto* s = reinterpret_cast<Search*>(p);
      wchar_t name[64] = {};
      GetClassNameW(hwnd, name, 64);
      if (lstrcmpiW(name, s->cls) != 0) return TRUE;
      s->found = hwnd;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  void Press(int x, int y) { SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Release(int x, int y) { SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  int ScrollPos() const { return GetScrollPos(view, SB_VERT); }

  HWND host = nullptr;
  HWND view = nullptr;
  RecordingHandler handler;
};

}  // namespace hltest
