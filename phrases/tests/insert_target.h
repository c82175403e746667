// The helper process that receives typed and pasted text in the tests.
#pragma once
#include <windows.h>
#include <richedit.h>

#include <string>

#include "tests/support/test_support.h"

class InsertTarget {
 public:
  // rich: a RICHEDIT20W instead of an EDIT.
  bool Start(bool rich, const std::wstring& title = L"Insert Target") {
    if (!m_proc.Start(qlrtest::BinFile(L"helper_insert_target.exe"),
                      std::wstring(rich ? L"rich" : L"edit") + L" \"" + title + L"\""))
      return false;
    // The child is made just after the main window.
    qlrtest::WaitUntil([&] {
      m_main = qlrtest::FindProcessWindow(m_proc.Pid(), L"QlrInsertTarget");
      m_child = m_main ? GetWindow(m_main, GW_CHILD) : nullptr;
      return m_child != nullptr;
    });
    return m_child && WaitFocused();
  }
  // The child has the keyboard focus of the foreground window.
  bool IsFocused() const {
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof(gti);
    return GetForegroundWindow() == m_main &&
           GetGUIThreadInfo(GetWindowThreadProcessId(m_main, nullptr), &gti) && gti.hwndFocus == m_child;
  }
  bool WaitFocused() {
    if (IsFocused()) return true;
    SendMessageW(m_main, WM_APP + 2, 0, 0);
    return qlrtest::WaitUntil([&] { return IsFocused(); });
  }
  std::wstring Text() const {
    wchar_t buf[4096] = {};
    SendMessageW(m_child, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  bool WaitText(const std::wstring& expected, DWORD ms = 5000) const {
    return qlrtest::WaitUntil([&] { return Text() == expected; }, ms);
  }
  void SetText(const std::wstring& text) { SendMessageW(m_child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
  // Caret position (start and end of the selection).
  DWORD Selection() const { return static_cast<DWORD>(SendMessageW(m_child, EM_GETSEL, 0, 0)); }
  // Whether each character of a rich edit is bold ('B') or not ('.').
  std::string BoldMap() const {
    std::string map;
    const size_t n = Text().size();
    for (size_t i = 0; i < n; ++i)
      map += (SendMessageW(m_main, WM_APP + 1, i, 0) & CFE_BOLD) ? 'B' : '.';
    return map;
  }
  HWND Main() const { return m_main; }
  HWND Child() const { return m_child; }
  DWORD Thread() const { return GetWindowThreadProcessId(m_main, nullptr); }

 private:
  qlrtest::ChildProcess m_proc;
  HWND m_main = nullptr;
  HWND m_child = nullptr;
};
