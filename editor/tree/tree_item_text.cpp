#include "editor/tree/tree_item_text.h"

#include <cwchar>

#include "editor/store/command.h"
#include "foundation/localization/localized_strings.h"

std::wstring LoadTreeString(UINT id, const wchar_t* fallback) {
  CLngString text;
  if (text.LoadString(id) && !text.Text().empty()) return text.Text();
  return fallback;
}

TreeCountWords LoadTreeCountWords() {
  TreeCountWords words;
  words.children = LoadTreeString(kIdsChildren, L"childrens");
  words.times = LoadTreeString(kIdsTimes, L"times");
  words.titleOnly = LoadTreeString(kIdsTitleOnly, L"title only");
  return words;
}

std::wstring BuildCountText(const CQLRCommand& record, const TreeCountWords& words) {
  wchar_t number[64];
  if (record.IsFolder()) {
    int enabled = 0, all = 0;
    for (const CQLRCommand& child : *record.GetChildren()) {
      ++all;
      if (child.IsEnabled()) ++enabled;
    }
    std::swprintf(number, 64, L"%d/%d", enabled, all);
    return std::wstring(number) + L" " + words.children;
  }
  std::wstring text;
  if (record.GetUsageCount() > 0) {
    std::swprintf(number, 64, L"%d", record.GetUsageCount());
    text = L"[" + std::wstring(number) + L" " + words.times + L"]";
  }
  if (record.GetUseTitleOnly()) {
    if (!text.empty()) text += L", ";
    text += words.titleOnly;
  }
  return text;
}

int SeparatorLineY(const RECT& label, const RECT* neighbour, bool below) {
  if (below) {
    int gap = neighbour ? (neighbour->top - label.bottom) / 2 : 0;
    return label.bottom + (gap > 0 ? gap : 3);
  }
  int gap = neighbour ? (label.top - neighbour->bottom) / 2 : 0;
  return label.top - (gap > 0 ? gap : 3);
}
