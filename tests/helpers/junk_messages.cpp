// Sends and posts every listed message that carries an address or a handle
// to every window of a process, with junk values: numbers, unmapped
// addresses, and real addresses of that process read from its windows (the
// worst junk: memory a careless receiver would use or free).
// Usage: helper_junk_messages <pid>
// Prints the number of messages delivered; exits 0 when the process still
// runs afterwards, 1 when it died, 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "foundation/system/trusted_messages.h"

namespace {

struct Target {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK AddChild(HWND window, LPARAM param) {
  reinterpret_cast<Target*>(param)->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK AddTopLevel(HWND window, LPARAM param) {
  auto* target = reinterpret_cast<Target*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != target->pid) return TRUE;
  target->windows.push_back(window);
  EnumChildWindows(window, AddChild, param);
  return TRUE;
}

// The system's controls read their own notices (and the suite's windows
// that subclass them pass notices on to them); those are not the suite's to
// check.
bool IsSystemControl(HWND window) {
  static const wchar_t* const kPrefixes[] = {L"Sys", L"msctls_", L"ToolbarWindow32", L"tooltips_class32",
                                            L"ReBarWindow32", L"ComboBox", L"ComboLBox", L"Edit", L"Button",
                                            L"Static", L"ListBox", L"ScrollBar", L"RichEdit", L"RICHEDIT",
                                            L"#32768"};
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  for (const wchar_t* prefix : kPrefixes) {
    if (_wcsnicmp(name, prefix, wcslen(prefix)) == 0) return true;
  }
  return false;
}

bool Alive(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return false;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  Target target = {static_cast<DWORD>(wcstoul(argv[1], nullptr, 10)), {}};
  EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&target));
  if (target.windows.empty()) return 2;

  // No 1, -1 or -2: those are commands some of the messages carry (exit,
  // restore the clipboard, start the editor), not junk.
  std::vector<ULONG_PTR> values = {0, 0x10001, 0x7FFF1230, static_cast<ULONG_PTR>(0xDEAD0000u)};
  // A few handles and objects of the process (a frame has a hundred windows:
  // more values would only repeat the same cases).
  values.push_back(reinterpret_cast<ULONG_PTR>(target.windows.front()));
  size_t objects = 0;
  for (HWND window : target.windows) {
    const ULONG_PTR object = static_cast<ULONG_PTR>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object && objects++ < 6) values.push_back(object);
  }
  // The tray window answers with an object of its own.
  for (HWND window : target.windows) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, 32783, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) && answer)
      values.push_back(answer);
  }
  const ULONG_PTR wParams[] = {0, 0x10001, values.back()};

  int delivered = 0;
  for (size_t m = 0; m < kForeignMessageCount; ++m) {
    const ForeignMessage& entry = kForeignMessages[m];
    const UINT message = entry.id ? entry.id : RegisterWindowMessageW(entry.registeredName);
    // Where a receiver fell, for the test's output.
    std::printf("%s, message 0x%04X\n", entry.receiver, message);
    std::fflush(stdout);
    if (!Alive(target.pid)) break;
    for (HWND window : target.windows) {
      if (message == WM_NOTIFY && IsSystemControl(window)) continue;
      for (ULONG_PTR wParam : wParams) {
        for (ULONG_PTR lParam : values) {
          if (!IsWindow(window)) break;
          DWORD_PTR answer = 0;
          if (message == WM_COPYDATA) {
            // The system copies the block: junk inside a real one.
            BYTE junk[256];
            for (size_t i = 0; i < sizeof(junk); ++i) junk[i] = static_cast<BYTE>(lParam >> (8 * (i % 4)));
            COPYDATASTRUCT data = {lParam, static_cast<DWORD>(wParam % sizeof(junk)), junk};
            delivered += SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(&data),
                                             SMTO_ABORTIFHUNG, 500, &answer) != 0;
            continue;
          }
          delivered += PostMessageW(window, message, wParam, static_cast<LPARAM>(lParam)) != 0;
          if (message != WM_NOTIFY)
            delivered += SendMessageTimeoutW(window, message, wParam, static_cast<LPARAM>(lParam),
                                             SMTO_ABORTIFHUNG, 500, &answer) != 0;
        }
      }
    }
  }
  std::printf("%d\n", delivered);
  // The posts wait in the queue; a send answers once the sent ones are done.
  for (HWND window : target.windows) {
    DWORD_PTR answer = 0;
    if (IsWindow(window)) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  }
  return Alive(target.pid) ? 0 : 1;
}
