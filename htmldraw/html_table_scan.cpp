#include "htmldraw/html_table_scan.h"

#include <cwchar>

#include "htmldraw/markup_lexer.h"

namespace {

struct TableTag {
  size_t begin = 0;  // the "<"
  size_t end = 0;    // just after the ">" (or the end of the text)
  std::wstring name;
  std::wstring attributes;
};

const wchar_t* const kTableNames[] = {L"table", L"/table", L"tr", L"/tr", L"td", L"/td", nullptr};

// The table, row or cell name that follows the "<" at text[at], or null. A
// name ends at a blank, ">", "=" or the end of the text; only the few
// characters a table name can have are looked at, so a text full of "<"
// costs no more than its length.
const wchar_t* TableNameAt(const std::wstring& text, size_t at) {
  const size_t p = at + 1;
  for (const wchar_t* const* name = kTableNames; *name; ++name) {
    const size_t length = wcslen(*name);
    if (text.compare(p, length, *name) != 0) continue;
    const size_t end = p + length;
    if (end == text.size() || IsMarkupBlank(text[end]) || text[end] == L'>' || text[end] == L'=') return *name;
  }
  return nullptr;
}

// The table tag named name that starts at text[at] == '<'.
void ReadTag(const std::wstring& text, size_t at, const wchar_t* name, TableTag& tag) {
  tag.begin = at;
  tag.name = name;
  const size_t nameEnd = at + 1 + tag.name.size();
  size_t close = text.find(L'>', nameEnd);
  size_t attrEnd = close == std::wstring::npos ? text.size() : close;
  size_t attrStart = nameEnd;
  while (attrStart < attrEnd && IsMarkupBlank(text[attrStart])) ++attrStart;
  tag.attributes.assign(text, attrStart, attrEnd - attrStart);
  tag.end = close == std::wstring::npos ? text.size() : close + 1;
}

// The next table, row or cell tag at or after pos.
bool NextTableTag(const std::wstring& text, size_t pos, TableTag& tag) {
  while (pos < text.size()) {
    size_t lt = text.find(L'<', pos);
    if (lt == std::wstring::npos) return false;
    if (lt + 1 < text.size() && text[lt + 1] == L'<') {
      pos = lt + 2;
      continue;
    }
    if (const wchar_t* name = TableNameAt(text, lt)) {
      ReadTag(text, lt, name, tag);
      return true;
    }
    pos = lt + 1;
  }
  return false;
}

// Just after the "</table>" matching the table tag that ends at pos.
size_t SkipTable(const std::wstring& text, size_t pos) {
  TableTag tag;
  size_t depth = 1;
  while (NextTableTag(text, pos, tag)) {
    pos = tag.end;
    if (tag.name == L"table") ++depth;
    else if (tag.name == L"/table" && --depth == 0) return pos;
  }
  return text.size();
}

// The cell's contents run from pos to its "</td>", or to the next row, cell
// or table end of its own level; returns where scanning goes on.
size_t CellEnd(const std::wstring& text, size_t pos, size_t& contentEnd) {
  TableTag tag;
  while (NextTableTag(text, pos, tag)) {
    if (tag.name == L"table") {
      pos = SkipTable(text, tag.end);
      continue;
    }
    contentEnd = tag.begin;
    if (tag.name == L"/td") return tag.end;
    return tag.begin;
  }
  contentEnd = text.size();
  return text.size();
}

}  // namespace

size_t FindTableTag(const std::wstring& text, size_t from) {
  TableTag tag;
  size_t pos = from;
  while (NextTableTag(text, pos, tag)) {
    if (tag.name == L"table") return tag.begin;
    pos = tag.end;
  }
  return std::wstring::npos;
}

size_t ScanTable(const std::wstring& text, size_t start, HtmlTableText& table) {
  TableTag tag;
  const wchar_t* name = TableNameAt(text, start);
  ReadTag(text, start, name ? name : L"table", tag);
  table.attributes = tag.attributes;
  table.rows.clear();
  size_t pos = tag.end;
  bool inRow = false;
  auto openRow = [&](const std::wstring& attributes) -> HtmlTableRowText* {
    inRow = true;
    if (table.rows.size() >= kMaxTableRows) return nullptr;
    table.rows.push_back(HtmlTableRowText{attributes, {}});
    return &table.rows.back();
  };
  HtmlTableRowText* row = nullptr;
  while (NextTableTag(text, pos, tag)) {
    pos = tag.end;
    if (tag.name == L"/table") return pos;
    if (tag.name == L"table") {  // a table outside any cell is not drawn
      pos = SkipTable(text, pos);
    } else if (tag.name == L"tr") {
      row = openRow(tag.attributes);
    } else if (tag.name == L"/tr") {
      inRow = false;
      row = nullptr;
    } else if (tag.name == L"td") {
      if (!inRow) row = openRow(L"");  // a cell outside a row opens one
      size_t contentEnd = pos;
      size_t next = CellEnd(text, pos, contentEnd);
      if (row && row->cells.size() < kMaxTableCells)
        row->cells.push_back(HtmlTableCellText{tag.attributes, text.substr(pos, contentEnd - pos)});
      pos = next;
    }
  }
  return text.size();
}
