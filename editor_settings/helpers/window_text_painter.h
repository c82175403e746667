// Draws a localised text centred into a window, for panes that show a note
// ("no phrase selected") in place of their content.
#pragma once
#include <windows.h>

#include <string>

class CWindowTextPainter {
 public:
  explicit CWindowTextPainter(HWND window = nullptr);
  virtual ~CWindowTextPainter() = default;

  // Whether the window shows the text now (a pane without content).
  virtual bool IsTextShown() const = 0;
  // The localised string of the id; empty when the id has none.
  virtual std::wstring GetText() const;
  virtual COLORREF GetTextColor() const { return ::GetSysColor(COLOR_GRAYTEXT); }
  // System colour index of the background.
  virtual int GetBackgroundColorIndex() const { return COLOR_WINDOW; }

  // Fills the client area and draws the text in the middle; nothing when
  // the window is gone or the text is empty.
  void Paint(HDC dc);
  void SetFont(HFONT font);
  void SetStringId(UINT id);
  void SetWindow(HWND window) { m_window = window; }

  HWND GetWindow() const { return m_window; }
  HFONT GetFont() const { return m_font; }
  UINT GetStringId() const { return m_stringId; }

 private:
  HWND m_window;
  HFONT m_font;
  UINT m_stringId = 0;
};
