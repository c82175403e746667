// What the save dialog of a history item offers: its filter, default
// extension and proposed file name.
#pragma once
#include <string>

class CCHItem;

struct SavePlan {
  std::wstring filter;     // with terminating zeros in place of "|"
  std::wstring extension;  // with its dot
  std::wstring name;       // the proposed file name
  bool htmlChoice = false; // the HTML filter comes first
};
SavePlan MakeSavePlan(const CCHItem& item);
// The item (its HTML form when html and it has one) written by its kind.
bool SaveItemAs(const CCHItem& item, const std::wstring& path, bool html);
