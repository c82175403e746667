// Small helpers the settings page's source files share.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/localization/localized_strings.h"

// A text of the page's string table in the interface language.
inline std::wstring PageText(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

// A message straight to a window's procedure, as a send from this thread
// would arrive: under Wine each send costs a trip through the server.
inline LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  const WNDPROC proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
  return ::CallWindowProcW(proc, window, message, wParam, lParam);
}

// Starts asking the shell for the format rows' icons on a thread of its
// own, once per process (settings_page_formats.cpp); the page is sent
// WM_SP_FORMAT_ICONS when they are there. A page that goes away stops
// hearing of them.
void StartAskingForFormatImages(HWND page);
void StopTellingOfFormatImages(HWND page);
