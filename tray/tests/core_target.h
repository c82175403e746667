// A target program for the core library tests: helper_insert_target with
// some text in its focused EDIT, part of it selected, in the foreground.
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

struct CoreTarget {
  qlrtest::ChildProcess process;
  HWND main = nullptr;
  HWND edit = nullptr;

  bool Start(const wchar_t* text, int selStart, int selEnd) {
    if (!process.Start(qlrtest::BinFile(L"helper_insert_target.exe"), L"edit")) return false;
    // The main window shows up before its EDIT child is made.
    auto found = [&] {
      main = qlrtest::FindProcessWindow(process.Pid(), L"QlrInsertTarget");
      edit = main ? FindWindowExW(main, nullptr, L"EDIT", nullptr) : nullptr;
      return edit != nullptr;
    };
    if (!qlrtest::WaitUntil(found, 15000)) return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(edit, EM_SETSEL, selStart, selEnd);
    return qlrtest::WaitUntil([&] { return GetForegroundWindow() == main; }, 10000);
  }
  // Closing goes through the posted queue: every message posted before has
  // been handled once the program has ended.
  int Close() {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return process.Wait(15000);
  }
};
