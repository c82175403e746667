// What the core hook library reports about the window it was asked about:
// gathered on that window's own thread, written as the LRQuery document.
#pragma once
#include <windows.h>

#include <string>

struct QueryFacts {
  HWND hwnd = nullptr;  // the window the request was posted to
  std::wstring appPath;
  std::wstring className;
  GUITHREADINFO gui = {};
  HKL hkl = nullptr;
  POINT caret = {-1, -1};  // screen coordinates; -1/-1 without a caret
  bool noQuery = false;    // a mouse-event request: no selection is reported
  int selState = 0;        // 0 none, 1 unknown (the tray fetches it), 2 extracted
  std::wstring selText;
};

// Selections longer than this are left to the tray program's own fetch, so
// that the query always fits what the tray reads from the area.
constexpr size_t kMaxQuerySelectionChars = 100000;

// The selection of an Edit or RichEdit control of this thread, with the
// state it gives (0 empty, 2 extracted); 1 for any other control and for a
// selection longer than maxChars.
int ReadControlSelection(HWND control, std::wstring& text, size_t maxChars = kMaxQuerySelectionChars);

// Must run on the thread that owns hwnd.
QueryFacts GatherQueryFacts(HWND hwnd, bool noQuery);

// The LRQuery document in UTF-8. The keyboard layout goes out with its high
// word as HKLLoword and its low word as HKLHoword, the way the tray joins
// them back together.
std::string BuildQueryXml(const QueryFacts& facts);
