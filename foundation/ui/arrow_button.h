// A push button with a separate arrow area at its right end: the owner,
// handling the button's click, asks IsGlyphPressed whether the arrow was
// the part that was pressed (to open a drop-down menu instead).
#pragma once
#include <windows.h>

class CArrowButton {
 public:
  CArrowButton() = default;
  virtual ~CArrowButton();
  CArrowButton(const CArrowButton&) = delete;
  CArrowButton& operator=(const CArrowButton&) = delete;

  bool SubclassWindow(HWND button);
  bool UnsubclassWindow();
  bool IsGlyphPressed() const { return m_pressedOnArrow; }
  HWND m_hWnd = nullptr;

 private:
  static LRESULT Callback(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR user,
                          BOOL* passOn, WNDPROC previous);
  void DrawArrow(HDC dc);
  bool CursorOnArrow() const;

  int m_hot = 1;  // 0 while the cursor is over the arrow area
  bool m_tracking = false;
  bool m_pressedOnArrow = false;
  RECT m_arrowHit = {};  // client coordinates, kept from the last drawing
};

// The arrow area inside the client rectangle: 2 pixels in from the top,
// bottom and right (one less on the right while pushed), 16 pixels wide.
RECT ArrowAreaOf(const RECT& client, bool pushed);
// The message the button posts to itself after a release on the arrow.
UINT GetArrowReleasedMessage();
