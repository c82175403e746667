// The texts and geometry the phrase tree draws beside its labels: the
// count text after a label and the place of a menu separator line.
#pragma once
#include <windows.h>

#include <string>

class CQLRCommand;

// Localised string ids of the tree's texts.
constexpr UINT kIdsEmptyTree = 177;   // "Right click to add new phrase"
constexpr UINT kIdsChildren = 185;    // "childrens"
constexpr UINT kIdsTimes = 187;       // "times"
constexpr UINT kIdsTitleOnly = 213;   // "title only"

struct TreeCountWords {
  std::wstring children;
  std::wstring times;
  std::wstring titleOnly;
};

// The localised words; the built-in English text where a string is missing.
TreeCountWords LoadTreeCountWords();
// The localised text of the id, else the fallback.
std::wstring LoadTreeString(UINT id, const wchar_t* fallback);

// A folder: "enabled/all children"; a phrase: "[n times]" when used and
// the title-only note. Empty when there is nothing to say.
std::wstring BuildCountText(const CQLRCommand& record, const TreeCountWords& words);

// The y of a separator line below (or above) a label: the middle between
// the label and the neighbouring visible label, 3 pixels off the label
// when there is no neighbour or the two touch.
int SeparatorLineY(const RECT& label, const RECT* neighbour, bool below);
