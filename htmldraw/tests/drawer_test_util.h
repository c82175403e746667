// Test helpers of the text drawer: text extents in the body font (measured
// through GDI, never hard-coded), ink found on a canvas, and a typical
// phrase tooltip.
#pragma once
#include <windows.h>

#include <string>

#include "htmldraw/style_resolver.h"
#include "htmldraw/tests/dib_canvas.h"

namespace drawertest {

// The extent of text in the font the body rule makes on dc.
inline SIZE BodyExtent(HDC dc, const std::wstring& text) {
  HtmlStyleResolver styles;
  styles.Begin(dc);
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  styles.End();
  return size;
}

inline int BodyHeight(HDC dc) {
  HtmlStyleResolver styles;
  styles.Begin(dc);
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  styles.End();
  return tm.tmHeight;
}

// Rightmost and leftmost column in rows [top, bottom) that is not the
// background; -1 when the band is clean.
inline int RightmostInk(const drawtest::Canvas& c, int top, int bottom, COLORREF background = RGB(255, 255, 255)) {
  for (int x = c.Width() - 1; x >= 0; --x)
    for (int y = top < 0 ? 0 : top; y < bottom && y < c.Height(); ++y)
      if (c.At(x, y) != background) return x;
  return -1;
}
inline int LeftmostInk(const drawtest::Canvas& c, int top, int bottom, COLORREF background = RGB(255, 255, 255)) {
  for (int x = 0; x < c.Width(); ++x)
    for (int y = top < 0 ? 0 : top; y < bottom && y < c.Height(); ++y)
      if (c.At(x, y) != background) return x;
  return -1;
}

// A phrase tooltip as the tray writes them: 20 lines of about 100
// characters, five of them with a link.
inline std::wstring SampleTooltip() {
  std::wstring text = L"<b>Phrase folder</b> <font color=#336699>Letters and replies</font><br>";
  for (int i = 1; i < 20; ++i) {
    text += L"<t>" + std::to_wstring(i) + L". ";
    if (i % 4 == 0)
      text += L"<a href=\"http://example.com/phrase/" + std::to_wstring(i) + L"\">Open phrase " +
              std::to_wstring(i) + L"</a> ";
    text += L"Kind regards, the text that is pasted when the hotkey is pressed, with <i>style</i>";
    if (i < 19) text += L"<br>";
  }
  text += L"<a msg=more>more</a>";
  return text;
}

// The same tooltip as a table of 20 rows: the number in the first column,
// the phrase (five of them with a link) in the second.
inline std::wstring SampleTooltipTable() {
  std::wstring text = L"<b>Phrase folder</b> <font color=#336699>Letters and replies</font>";
  text += L"<table cellspacing=1 border=1><tr><td>0.</td><td>Folder</td></tr>";
  for (int i = 1; i < 20; ++i) {
    text += L"<tr><td align=right>" + std::to_wstring(i) + L".</td><td>";
    if (i % 4 == 0)
      text += L"<a href=\"http://example.com/phrase/" + std::to_wstring(i) + L"\">Open phrase " +
              std::to_wstring(i) + L"</a> ";
    text += L"Kind regards, the text that is pasted when the hotkey is pressed, with <i>style</i>";
    if (i == 19) text += L" <a msg=more>more</a>";
    text += L"</td></tr>";
  }
  return text + L"</table>";
}

}  // namespace drawertest
