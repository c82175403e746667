// Helpers of the phrase text control tests: a host window that records the
// notifications and keys that reach it, and a message pump that walks the
// pre-translate chain as the editor's loop does.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "editor/text/phrase_rich_edit.h"
#include "platform/mfc/app/win_thread.h"
#include "platform/mfc/tests/control_host.h"

namespace texttest {

constexpr UINT kTextId = 1032;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

class RecordingHost : public CControlHost {
 public:
  explicit RecordingHost(bool show = false) : CControlHost(show) {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) codes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) ++changes;
    return CControlHost::WindowProc(message, wParam, lParam);
  }
  // Keys the view and the frame would act on before the control.
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_TAB || msg->wParam == VK_F5)) {
      passedKeys.push_back(static_cast<UINT>(msg->wParam));
      return TRUE;
    }
    return FALSE;
  }

  size_t Count(UINT code) const {
    size_t n = 0;
    for (UINT c : codes) n += c == code;
    return n;
  }

  std::vector<UINT> codes;
  std::vector<UINT> passedKeys;
  int changes = 0;
};

// Every message waiting for this thread, through the pre-translate walk.
inline void Pump(CWnd* main) {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (AfxPreTranslateWalk(main, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// A key press posted to the window and pumped.
inline void PressKey(CWnd* main, HWND window, UINT key) {
  UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  ::PostMessageW(window, WM_KEYDOWN, key, 1 | (scan << 16));
  ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(1u | (scan << 16) | 0xC0000000u));
  Pump(main);
}

inline void TypeChar(CWnd* main, HWND window, wchar_t c) {
  ::PostMessageW(window, WM_CHAR, c, 1);
  Pump(main);
}

// Holds a key down in this thread's keyboard state while alive.
class HeldKey {
 public:
  explicit HeldKey(int key) : m_key(key) { Set(0x80); }
  ~HeldKey() { Set(0); }

 private:
  void Set(BYTE state) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[m_key] = state;
    ::SetKeyboardState(keys);
  }
  int m_key;
};

inline CHARRANGE Selection(HWND edit) {
  CHARRANGE range = {-1, -1};
  ::SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

inline void Select(HWND edit, LONG from, LONG to) {
  CHARRANGE range = {from, to};
  ::SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

inline LONG CharCount(HWND edit) {
  GETTEXTLENGTHEX gtl = {GTL_PRECISE | GTL_NUMCHARS, 1200};
  return static_cast<LONG>(::SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gtl), 0));
}

// The format of one character (the selection moves there and back).
inline CHARFORMAT2W FormatAt(HWND edit, LONG at) {
  CHARRANGE saved = Selection(edit);
  Select(edit, at, at + 1);
  CHARFORMAT2W cf = {};
  cf.cbSize = sizeof cf;
  ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  ::SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  return cf;
}

}  // namespace texttest
