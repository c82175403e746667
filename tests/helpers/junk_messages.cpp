// Sends and posts every listed message that carries an address or a handle
// to every window of a process (top-level, child and message-only), with
// junk values: numbers, unmapped addresses, and real addresses of that
// process read from its windows (the worst junk: memory a careless receiver
// would use or free). Then the system's owner-draw messages, whose records
// the system copies with the junk item data and handles in them, notices
// sent with junk addresses, and the creation messages of windows that
// exist already.
// Usage: helper_junk_messages <pid>
// Prints the number of messages delivered; exits 0 when the process still
// runs afterwards and showed no box, 1 when it died, 2 on bad arguments,
// 3 when it showed a box (which is closed again).
#include <windows.h>
#include <commctrl.h>

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

// Message-only windows are no top-level windows, yet anyone finds them.
void AddMessageOnly(Target& target) {
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
    AddTopLevel(window, reinterpret_cast<LPARAM>(&target));
}

// The dialog-class windows of the process now shown: message boxes among them.
std::vector<HWND> ShownDialogs(DWORD pid) {
  std::vector<HWND> found;
  for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window;
       window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid && IsWindowVisible(window)) found.push_back(window);
  }
  return found;
}

bool Listed(const std::vector<HWND>& windows, HWND window) {
  for (HWND w : windows)
    if (w == window) return true;
  return false;
}

// The system's controls read their own notices (and the suite's windows
// that subclass them pass notices on to them); those are not the suite's to
// check.
bool IsSystemControl(HWND window) {
  static const wchar_t* const kPrefixes[] = {L"Sys", L"msctls_", L"ToolbarWindow32", L"tooltips_class32",
                                            L"ReBarWindow32", L"ComboBox", L"ComboLBox", L"Edit", L"Button",
                                            L"Static", L"ListBox", L"ScrollBar", L"RichEdit", L"RICHEDIT",
                                            L"#32768", L"IME", L"OleMainThreadWndClass"};
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

// The owner-draw and compare messages as a control or a menu would send
// them, each record the system copies into the receiver holding junk item
// data, handles and device contexts; then notices with junk addresses.
int SendOwnerDrawJunk(const Target& target, const std::vector<ULONG_PTR>& values) {
  const UINT kinds[] = {ODT_MENU, ODT_LISTBOX, ODT_COMBOBOX, ODT_BUTTON, ODT_STATIC, ODT_LISTVIEW, ODT_TAB, 0};
  int delivered = 0;
  auto send = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    delivered += SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 500, &answer) != 0;
  };
  std::printf("owner drawing and notices\n");
  std::fflush(stdout);
  for (HWND window : target.windows) {
    if (IsSystemControl(window)) continue;
    for (UINT kind : kinds) {
      for (ULONG_PTR value : values) {
        if (!IsWindow(window) || !Alive(target.pid)) return delivered;
        const UINT id = static_cast<UINT>(value & 0xFFFF);
        MEASUREITEMSTRUCT measure = {kind, id, id, 10, 10, value};
        send(window, WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(&measure));
        DRAWITEMSTRUCT draw = {kind, id, id, ODA_DRAWENTIRE, ODS_SELECTED, reinterpret_cast<HWND>(value),
                               reinterpret_cast<HDC>(value), {0, 0, 50, 20}, value};
        send(window, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&draw));
        DELETEITEMSTRUCT remove = {kind, id, id, reinterpret_cast<HWND>(value), value};
        send(window, WM_DELETEITEM, id, reinterpret_cast<LPARAM>(&remove));
        COMPAREITEMSTRUCT compare = {kind, id, reinterpret_cast<HWND>(value), id, value, id + 1, value, 0};
        send(window, WM_COMPAREITEM, id, reinterpret_cast<LPARAM>(&compare));
        // The system copies no notice: the address arrives as it is.
        send(window, WM_NOTIFY, id, static_cast<LPARAM>(value));
      }
    }
    // The creation messages once more, the record copied with a junk
    // creation parameter in it; a dialog's initialisation with a junk one.
    for (ULONG_PTR value : values) {
      if (!IsWindow(window) || !Alive(target.pid)) return delivered;
      CREATESTRUCTW create = {reinterpret_cast<void*>(value), nullptr, nullptr, nullptr, 10, 10, 0, 0,
                              WS_CHILD, nullptr, nullptr, 0};
      send(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create));
      send(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
      send(window, WM_INITDIALOG, value, static_cast<LPARAM>(value));
    }
  }
  return delivered;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  Target target = {static_cast<DWORD>(wcstoul(argv[1], nullptr, 10)), {}};
  EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&target));
  AddMessageOnly(target);
  if (target.windows.empty()) return 2;
  const std::vector<HWND> dialogsBefore = ShownDialogs(target.pid);

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
  delivered += SendOwnerDrawJunk(target, values);
  std::printf("%d\n", delivered);
  // The posts wait in the queue; a send answers once the sent ones are done.
  for (HWND window : target.windows) {
    DWORD_PTR answer = 0;
    if (IsWindow(window)) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  }
  if (!Alive(target.pid)) return 1;
  int boxes = 0;
  for (HWND dialog : ShownDialogs(target.pid)) {
    if (Listed(dialogsBefore, dialog)) continue;
    wchar_t text[256] = {};
    GetWindowTextW(dialog, text, 256);
    std::printf("a box showed: \"%ls\"\n", text);
    ++boxes;
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  }
  return boxes ? 3 : 0;
}
