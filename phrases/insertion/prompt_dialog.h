// The small modal dialog that asks the user for the text of a prompt macro,
// shown at the caret of the target window and above it.
#pragma once
#include <windows.h>

#include <string>

class CPromptDialog {
 public:
  CPromptDialog(const std::wstring& initialText, HWND target, int flag);

  // 1 (OK) or 2 (Cancel); the dialog resource comes from the given module.
  INT_PTR DoModal(HINSTANCE instance = GetModuleHandleW(nullptr));
  // The initial text, after OK the answer (the initial text when the edit
  // was left empty).
  const std::wstring& GetResultText() const { return m_text; }

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  BOOL OnInitDialog();
  void OnOK();
  void PlaceAtTarget();

  HWND m_target;
  HINSTANCE m_instance = nullptr;
  int m_flag;
  std::wstring m_text;
};

// "Quillora", plus " - [title]" (at most 100 characters of it) when the
// target is a window with a title.
std::wstring PromptCaption(HWND target);
