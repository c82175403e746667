// Runs a call that may show a message box on a thread of its own, reads the
// box this process shows meanwhile and answers it with OK.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/test_support.h"

namespace boxwatch {

struct SeenBox {
  bool shown = false;
  std::wstring caption;
  std::wstring text;
  HICON icon = nullptr;
};

// A message box's icon as the system's shared icon it shows.
inline HICON BoxIcon(HWND box) {
  // The icon control's id differs between systems.
  for (int id : {0x14, 0x440}) {
    if (HWND control = GetDlgItem(box, id)) {
      if (HICON icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0))) return icon;
    }
  }
  return nullptr;
}

inline SeenBox RunWatchingBox(const std::function<void()>& call, DWORD timeoutMs = 15000) {
  SeenBox seen;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    call();
    done = true;
  });
  HWND box = nullptr;
  qlrtest::WaitUntil(
      [&] {
        box = qlrtest::FindProcessWindow(GetCurrentProcessId(), L"#32770");
        return done.load() || (box && IsWindowVisible(box));
      },
      timeoutMs);
  if (!done.load() && box && IsWindowVisible(box)) {
    wchar_t caption[128] = {};
    wchar_t text[4096] = {};
    GetWindowTextW(box, caption, 128);
    GetDlgItemTextW(box, 0xFFFF, text, 4096);
    seen.shown = true;
    seen.caption = caption;
    seen.text = text;
    seen.icon = BoxIcon(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  qlrtest::WaitUntil([&] { return done.load(); }, timeoutMs);
  worker.join();
  return seen;
}

}  // namespace boxwatch
