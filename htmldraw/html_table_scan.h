// Cutting tables out of a prepared markup text: where the next table starts,
// and its rows and cells with their attribute texts and contents (a nested
// table stays whole inside its cell's contents). Unbalanced markup is closed
// where the next row, cell or table end begins.
#pragma once
#include <string>
#include <vector>

struct HtmlTableCellText {
  std::wstring attributes;
  std::wstring content;
};

struct HtmlTableRowText {
  std::wstring attributes;
  std::vector<HtmlTableCellText> cells;
};

struct HtmlTableText {
  std::wstring attributes;
  std::vector<HtmlTableRowText> rows;
};

// Rows past the first kMaxTableRows and cells past the first kMaxTableCells
// of a row are skipped, so a text cannot ask for an unbounded grid.
constexpr size_t kMaxTableRows = 1000;
constexpr size_t kMaxTableCells = 1000;

// Position of the next "<table" tag at or after from ("<<" is a literal
// "<", never a tag); npos when there is none.
size_t FindTableTag(const std::wstring& text, size_t from);

// Reads the table whose tag starts at start; returns the position just after
// its matching "</table>" (nested tables counted), or the end of the text.
size_t ScanTable(const std::wstring& text, size_t start, HtmlTableText& table);
