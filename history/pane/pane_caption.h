// The pane caption's painting plan and the texts of its buttons' tips:
// pure functions, so that what the caption shows can be checked without
// looking at pixels.
#pragma once
#include <windows.h>

#include <string>

constexpr COLORREF kCaptionCountColor = 0x0088AEFF;  // orange
constexpr COLORREF kCaptionHintRecording = 0x00FF0000;  // blue
constexpr int kCaptionIconSize = 14;
constexpr UINT kCaptionHintString = 185;
constexpr UINT kCaptionCollapsedIcon = 128;

// The caption's text area: the stretch separator's rectangle 2 px further
// right and 2 px higher (without a separator: the client rectangle 2 px
// lower), its left and top then 3 px in.
RECT CaptionTextArea(const RECT* separator, const RECT& client);

struct CaptionPaint {
  RECT area = {};
  std::wstring count;      // drawn in kCaptionCountColor
  bool collapsed = false;
  std::wstring hint;       // expanded pane only
  RECT hintRect = {};
  COLORREF hintColor = kCaptionCountColor;
  POINT iconAt = {};       // collapsed pane only: top-left of the icon
};

// What the caption shows: the item count, and the hint (blue while the
// history records) or, on a collapsed pane, the icon centred on the pane's
// height.
CaptionPaint PlanCaptionPaint(const RECT& area, int itemCount, bool collapsed, bool recording,
                              const std::wstring& hintText, int paneHeight);

// The square a themed close button is drawn in: 14 x 14 centred in the button.
RECT CloseButtonSquare(const RECT& button);

// A tip text with a line feed at position 1 or later gives the title before
// it and the text after it; otherwise the whole text is the title and the
// text is one blank.
void SplitButtonTip(const std::wstring& tip, std::wstring& title, std::wstring& text);

// Of a localised command string with a line feed at position 1 or later,
// the part after it; otherwise the whole string.
std::wstring AfterLineFeed(const std::wstring& text);
