// The system's message box with a column of check boxes under its text: one
// check box per line of an item text, whose checked indices come back when
// the box closes. A thread-local CBT hook finds the box as it is created,
// subclasses its dialog and lays it out once the box has placed its own
// controls.
#pragma once
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

typedef HICON (*TimedMessageBoxIconProvider)(LPARAM argument);

class CTimedMessageBox {
 public:
  explicit CTimedMessageBox(const std::map<int, std::wstring>& buttonTexts);
  virtual ~CTimedMessageBox();
  CTimedMessageBox(const CTimedMessageBox&) = delete;
  CTimedMessageBox& operator=(const CTimedMessageBox&) = delete;

  UINT m_uType = 0;
  HWND m_dialog = nullptr;
  WNDPROC m_previousProc = nullptr;
  HFONT m_boldFont = nullptr;
  std::vector<std::wstring> m_lines;
  std::vector<HWND> m_items;
  std::set<unsigned> m_checked;
  std::set<unsigned> m_disabled;
  int m_x = -1;
  int m_y = -1;
  TimedMessageBoxIconProvider m_iconProvider = nullptr;
  LPARAM m_iconArgument = 0;
  std::map<int, std::wstring> m_buttonTexts;
  std::wstring m_text;  // the message, for the bold-text rule
  bool m_laidOut = false;

  // The thread's current box, or null.
  static CTimedMessageBox* Current();

  void OnDialogCreated(HWND dialog);
  void OnDialogDestroyed();
  void LayOut();

 private:
  CTimedMessageBox* m_outer = nullptr;  // the registration this one replaced
};

// Splits an item text at every "\n" (empty parts kept); a text that begins
// with "\n" gives one empty line, an empty text none.
std::vector<std::wstring> SplitItemLines(const std::wstring& text);

// Shows the box and returns its result (IDOK, IDCANCEL, ...); 0 without
// showing anything when this thread is already showing such a box. checked
// (may be null) gives the initial states and receives the states at
// closing. x, y: the wanted screen position, (-1, -1) for the system's.
// buttonTexts renames controls of the box by identifier.
int ShowTimedMessageBox(HWND owner, UINT type, const std::wstring& text, const std::wstring& caption,
                        const std::wstring& items, std::set<unsigned>* checked,
                        const std::set<unsigned>& disabled, int x, int y,
                        TimedMessageBoxIconProvider iconProvider, LPARAM iconArgument,
                        const std::map<int, std::wstring>& buttonTexts);

// Identifier of the check box of line index (the box's own controls keep
// theirs).
constexpr int kTimedMessageBoxFirstItemId = 0x4000;
