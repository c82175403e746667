#include "history/pane/pane_caption.h"

RECT CaptionTextArea(const RECT* separator, const RECT& client) {
  RECT area = client;
  if (separator) {
    area = *separator;
    OffsetRect(&area, 2, -2);
  } else {
    OffsetRect(&area, 0, 2);
  }
  area.left += 3;
  area.top += 3;
  return area;
}

CaptionPaint PlanCaptionPaint(const RECT& area, int itemCount, bool collapsed, bool recording,
                              const std::wstring& hintText, int paneHeight) {
  CaptionPaint plan;
  plan.area = area;
  plan.count = std::to_wstring(itemCount);
  plan.collapsed = collapsed;
  if (collapsed) {
    plan.iconAt = {area.left + 19, (paneHeight - kCaptionIconSize) / 2};
    return plan;
  }
  plan.hint = L" - " + hintText;
  plan.hintRect = area;
  OffsetRect(&plan.hintRect, 15, 3);
  plan.hintRect.right -= 3;
  plan.hintColor = recording ? kCaptionHintRecording : kCaptionCountColor;
  return plan;
}

RECT CloseButtonSquare(const RECT& button) {
  const int left = button.left + (button.right - button.left - kCaptionIconSize) / 2;
  const int top = button.top + (button.bottom - button.top - kCaptionIconSize) / 2;
  return RECT{left, top, left + kCaptionIconSize, top + kCaptionIconSize};
}

void SplitButtonTip(const std::wstring& tip, std::wstring& title, std::wstring& text) {
  const size_t lf = tip.find(L'\n');
  if (lf != std::wstring::npos && lf >= 1) {
    title = tip.substr(0, lf);
    text = tip.substr(lf + 1);
  } else {
    title = tip;
    text = L" ";
  }
}

std::wstring AfterLineFeed(const std::wstring& text) {
  const size_t lf = text.find(L'\n');
  return lf != std::wstring::npos && lf >= 1 ? text.substr(lf + 1) : text;
}
