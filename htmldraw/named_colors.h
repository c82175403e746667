// The colour names of the markup and the style sheets: the CSS keywords and
// the system colours, the latter read once when the table is made.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class NamedColorTable {
 public:
  NamedColorTable();

  // Exact (lower-case) name lookup.
  bool Find(const std::wstring& name, COLORREF& color) const;
  size_t Count() const { return m_colors.size(); }

 private:
  std::vector<std::pair<const wchar_t*, COLORREF>> m_colors;  // sorted by name
};
