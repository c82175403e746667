// Table layout of the text drawer: a text is laid out as stretches of
// flowing text with the tables between them; a table's cells are laid out
// the same way inside their rectangles.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "htmldraw/html_flow_layout.h"
#include "htmldraw/html_table_scan.h"

// Tables nested deeper than this are not cut out: their text flows.
constexpr int kMaxTableDepth = 32;
// Spans beyond this count as this (and never reach past the grid).
constexpr int kMaxTableSpan = 1000;

// Flowing text and tables of text stacked from the area's top: widths
// combine by maximum, heights add up. The top level wraps its stretches in
// the body rule; cell contents do not.
SIZE LayoutHtmlBlocks(CHtmlTextDrawer& drawer, HDC dc, const std::wstring& text, const RECT& area,
                      bool measure, HtmlFlowContext& ctx, int depth, bool wrapInBody);

// Widens sizes[first .. first+count) so that they can hold need when they
// sum to less than test: the difference between need and their sum is
// shared equally, the remainder going to the last (or the first) of them.
void ShareTableSpan(std::vector<long long>& sizes, size_t first, size_t count, long long need,
                    long long test, bool remainderToLast);

// The table's border width as drawn: 0 without a border, 1 for dashed and
// dotted styles; frameWidth is what the frame takes on each side (three
// times the width for a double border).
int TableBorderWidth(int style, int width, int* frameWidth);
