// Tables: a first scan sizes the grid, the cells take their slots, their
// contents are measured, the columns and rows grow to hold them (spanning
// cells share what they still need), and the draw pass shares the surplus
// width, paints backgrounds and frames and lays each cell out in its
// rectangle. The draw pass reads back what the measure pass found for each
// table, met in the same order; a table out of step is measured afresh.
#include "htmldraw/html_table_layout.h"

#include <algorithm>
#include <memory>

#include "foundation/system/handles.h"
#include "htmldraw/html_box_paint.h"
#include "htmldraw/markup_images.h"
#include "htmldraw/markup_values.h"

namespace {

constexpr long long kExtent = CHtmlTextDrawer::kMaxExtent;

int Clamp(long long v) { return static_cast<int>(std::min(std::max(v, 0LL), kExtent)); }

int ParseBorderStyle(const std::wstring& v, int current) {
  if (v == L"none") return kBorderNone;
  if (v == L"solid") return kBorderSolid;
  if (v == L"dotted") return kBorderDotted;
  if (v == L"dashed") return kBorderDashed;
  if (v == L"double") return kBorderDouble;
  return current;
}

int ParseSpan(const std::wstring& v) {
  int n = ParseLeadingInt(v.c_str());
  return n < 1 ? 1 : std::min(n, kMaxTableSpan);
}

enum class Level { kTable, kRow, kCell };

// A table, row or cell starts from its parent's style; sizes are its own
// (percentages of the parent's).
void ApplyTableAttributes(const std::wstring& attributes, HtmlTextStyle& s, CHtmlTextDrawer& drawer,
                          const HtmlStyleResolver& styles, HDC dc, Level level, int* rowSpan, int* colSpan) {
  const int parentWidth = s.width, parentHeight = s.height;
  s.width = 0;
  s.height = 0;
  s.backgroundImage.clear();
  StyleLengthUnits units(dc);
  bool styleGiven = false, borderGiven = false;
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (level == Level::kTable && name == L"cellpadding") s.innerSpacing = ParseStyleLength(value, s.innerSpacing, units);
    else if (level == Level::kTable && name == L"cellspacing") s.outerSpacing = ParseStyleLength(value, s.outerSpacing, units);
    else if (level == Level::kTable && name == L"background") {
      if (styles.IsEnabled() && value.size() >= 6) s.backgroundImage = value;
    } else if (name == L"border") {
      s.borderWidth = ParseStyleLength(value, s.borderWidth, units);
      borderGiven = true;
    } else if (name == L"borderstyle") {
      s.borderStyle = ParseBorderStyle(value, s.borderStyle);
      styleGiven = true;
    } else if (name == L"bordercolor") {
      s.borderColorLight = s.borderColorDark = styles.ResolveColor(value, s.borderColorLight);
    } else if (name == L"bordercolorlight") s.borderColorLight = styles.ResolveColor(value, s.borderColorLight);
    else if (name == L"bordercolordark") s.borderColorDark = styles.ResolveColor(value, s.borderColorDark);
    else if (name == L"bgcolor") s.backgroundColor = styles.ResolveColor(value, s.backgroundColor);
    else if (name == L"bgmidcolor") s.backgroundMidColor = styles.ResolveColor(value, s.backgroundMidColor);
    else if (name == L"bgendcolor") s.backgroundEndColor = styles.ResolveColor(value, s.backgroundEndColor);
    else if (name == L"bgeffect") s.backgroundEffect = ParseBackgroundEffect(value, s.backgroundEffect);
    else if (name == L"align") {
      if (value == L"left") s.horzAlign = kAlignLeft;
      else if (value == L"center") s.horzAlign = kAlignCenter;
      else if (value == L"right") s.horzAlign = kAlignRight;
    } else if (name == L"valign") {
      if (value == L"top") s.vertAlign = kAlignTop;
      else if (value == L"middle" || value == L"vcenter") s.vertAlign = kAlignVCenter;
      else if (value == L"bottom") s.vertAlign = kAlignBottom;
      else if (value == L"baseline") s.vertAlign = kAlignBaseline;
    } else if (name == L"width") s.width = ParseStyleLength(value, parentWidth, units);
    else if (name == L"height") s.height = ParseStyleLength(value, parentHeight, units);
    else if (level == Level::kCell && name == L"rowspan" && rowSpan) *rowSpan = ParseSpan(value);
    else if (level == Level::kCell && name == L"colspan" && colSpan) *colSpan = ParseSpan(value);
  }
  // A border width without a style draws a solid border, as in HTML.
  if (borderGiven && !styleGiven && s.borderStyle == kBorderNone && s.borderWidth > 0) s.borderStyle = kBorderSolid;
  (void)drawer;
}

// What a table or cell may carry beyond the table dialect, for the boxes of
// an HTML page: per-side padding (cells) and margins (tables) as
// "top right bottom left" pixels, a corner radius, a colour per side of
// the border, a border width of its own, a background image and the indent
// of the first line (cells). A table may also float at the left or right.
struct BoxExtras {
  int padding[4] = {-1, -1, -1, -1};  // -1: the table's cell padding
  int margin[4] = {0, 0, 0, 0};
  int radius = 0;
  bool sideColors = false;
  COLORREF side[4] = {0, 0, 0, 0};
  int borderWidth = 0;  // 0: the table's one pixel
  BoxBackgroundImage image;
  std::wstring indent;
};

enum { kFloatLeft = 1, kFloatRight = 2 };

int FloatSide(const std::wstring& value) { return value == L"left" ? kFloatLeft : value == L"right" ? kFloatRight : 0; }

// The side a table floats at, from its attributes; 0 when it does not.
int TableFloat(const std::wstring& attributes) {
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  int side = 0;
  while (scan.Next(name, value)) {
    if (name == L"float") side = FloatSide(value);
  }
  return side;
}

void ParseFourLengths(const std::wstring& value, int out[4]) {
  const wchar_t* p = value.c_str();
  for (int i = 0; i < 4; ++i) {
    while (*p == L' ') ++p;
    if (*p < L'0' || *p > L'9') return;
    out[i] = std::min(ParseLeadingInt(p), static_cast<int>(kMaxStyleLength));
    while (*p >= L'0' && *p <= L'9') ++p;
  }
}

BoxExtras ParseBoxExtras(const std::wstring& attributes, const HtmlStyleResolver& styles, COLORREF border) {
  BoxExtras box;
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (name == L"padding") ParseFourLengths(value, box.padding);
    else if (name == L"margin") ParseFourLengths(value, box.margin);
    else if (name == L"radius") box.radius = std::min(std::max(ParseLeadingInt(value.c_str()), 0), 1000);
    else if (name == L"borderwidth") box.borderWidth = std::min(std::max(ParseLeadingInt(value.c_str()), 0), 100);
    else if (name == L"bgimage") box.image.file = value;
    else if (name == L"bgrepeat") box.image.repeat = ParseBoxRepeat(value);
    else if (name == L"bgposition") ParseBoxPosition(value, box.image);
    else if (name == L"bgsize") {
      BoxBackgroundImage sized;
      ParseBoxPosition(value, sized);
      for (int i = 0; i < 2; ++i) box.image.size[i] = std::min(std::max(sized.position[i], 0), 4096);
    } else if (name == L"indent") box.indent = value;
    else if (name == L"sidecolors") {
      box.sideColors = true;
      size_t pos = 0;
      for (int i = 0; i < 4; ++i) {
        size_t end = value.find(L' ', pos);
        box.side[i] = styles.ResolveColor(value.substr(pos, end == std::wstring::npos ? end : end - pos),
                                          i > 0 ? box.side[i - 1] : border);
        pos = end == std::wstring::npos ? value.size() : end + 1;
      }
    }
  }
  for (int& m : box.margin) m = std::max(m, 0);
  return box;
}

struct Cell {
  int row = 0, col = 0, rowSpan = 1, colSpan = 1;
  BoxExtras box;
  int pad[4] = {0, 0, 0, 0};  // top right bottom left, inside the border
  int wrap = 0;  // the width its text wraps in when the table narrowed its column
  size_t textRow = 0, textCell = 0;  // where its text lies in the scanned table
  HtmlTextStyle style;
  const std::wstring* content = nullptr;
  int border = 0;       // 0 or 1
  int contentW = 0, contentH = 0;
  long long needW = 0, needH = 0;
  std::vector<HtmlLine> lines;
};

// The cells of each row: the draw pass indexes rows and cells by them.
std::vector<size_t> CellsPerRow(const HtmlTableText& table) {
  std::vector<size_t> cells;
  cells.reserve(table.rows.size());
  for (const HtmlTableRowText& row : table.rows) cells.push_back(row.cells.size());
  return cells;
}

bool SameCellsPerRow(const std::vector<size_t>& cells, const HtmlTableText& table) {
  if (cells.size() != table.rows.size()) return false;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i] != table.rows[i].cells.size()) return false;
  }
  return true;
}

}  // namespace

// What the measure pass found for one table; the draw pass reads it back
// instead of measuring the cells again.
struct HtmlTableMeasure {
  std::wstring attributes;  // with the counts below, tells the table apart
  std::vector<size_t> textCells;  // per row
  bool enabled = true;  // colours resolve differently while disabled
  COLORREF disabledColor = 0;
  HtmlTextStyle style;
  int spacing = 0, border = 0, frame = 0;
  BoxExtras box;
  size_t rows = 0, cols = 0;
  std::vector<Cell> cells;
  std::vector<long long> colW, rowH, rowMin;
  std::vector<char> fixed;
  long long width = 0, height = 0;

  bool Fits(const HtmlTableText& table, const HtmlStyleResolver& styles) const {
    return SameCellsPerRow(textCells, table) && attributes == table.attributes &&
           enabled == styles.IsEnabled() && disabledColor == styles.DisabledColor();
  }
};

class HtmlTableLayout {
 public:
  HtmlTableLayout(CHtmlTextDrawer& drawer, HDC dc, HtmlFlowContext& ctx, int depth)
      : d(drawer), m_dc(dc), m_ctx(ctx), m_depth(depth) {}

  SIZE Run(const HtmlTableText& table, const RECT& area, bool measure) {
    const SIZE size = Prepare(table, area, measure);
    if (!measure) DrawAt(area);
    return size;
  }
  // The table measured, or in the draw pass read back, at the area's width:
  // its size with its margins.
  SIZE Prepare(const HtmlTableText& table, const RECT& area, bool measure);
  // Draws what Prepare found, its margins inside area.
  void DrawAt(const RECT& area);
  // Floats whose lines the table's one cell shortens.
  void SetBeside(const std::vector<HtmlFloatArea>& floats) { m_beside = floats; }

 private:
  void Measure(const HtmlTableText& table, long long avail);
  bool NarrowColumns(long long avail);
  void PlaceCells(const HtmlTableText& table);
  void MeasureCells(bool collectAnimations);
  void SizeColumnsAndRows();
  void Draw(const RECT& area);
  void DrawBackground(const RECT& rect);
  SIZE LayoutCell(Cell& cell, const RECT& area, bool measure);
  // The floats beside a one-cell table, moved to where its cell's content
  // starts in area (the content of the table's area in this pass).
  std::vector<HtmlFloatArea> FloatsInCell(const Cell& cell, const RECT& area) const;

  CHtmlTextDrawer& d;
  HDC m_dc;
  HtmlFlowContext& m_ctx;
  int m_depth;
  std::shared_ptr<HtmlTableMeasure> m_owned;
  HtmlTableMeasure* t = nullptr;
  std::vector<HtmlFloatArea> m_beside;
  RECT m_area = {};  // where the table stands in this pass
};

SIZE HtmlTableLayout::Prepare(const HtmlTableText& table, const RECT& area, bool measure) {
  m_area = area;
  // Tables are met in the same order in both passes of the drawer; one met
  // while the cells of a drawn table are measured afresh keeps no record.
  const bool recording = measure && d.m_tablePass == CHtmlTextDrawer::Pass::kMeasure;
  if (!measure && d.m_tablePass == CHtmlTextDrawer::Pass::kDraw && d.m_tableCursor < d.m_tables.size() &&
      d.m_tables[d.m_tableCursor]->Fits(table, d.m_styles)) {
    m_owned = d.m_tables[d.m_tableCursor++];
    t = m_owned.get();
    for (Cell& cell : t->cells) cell.content = &table.rows[cell.textRow].cells[cell.textCell].content;
  } else {
    if (!measure) d.m_tableCursor = d.m_tables.size();  // out of step: the rest is measured afresh
    m_owned = std::make_shared<HtmlTableMeasure>();
    t = m_owned.get();
    if (recording && d.m_tables.size() < CHtmlTextDrawer::kMaxTables) d.m_tables.push_back(m_owned);
    // A draw without a record measures here; that must number links as
    // its drawing will and must not add animation records twice.
    const int link = m_ctx.link;
    Measure(table, area.right - area.left);
    if (!measure) m_ctx.link = link;
  }
  const int* m = t->box.margin;
  return SIZE{Clamp(t->width + m[1] + m[3]), Clamp(t->height + m[0] + m[2])};
}

void HtmlTableLayout::DrawAt(const RECT& area) {
  const int* m = t->box.margin;
  RECT inner = {Clamp(0LL + area.left + m[3]), Clamp(0LL + area.top + m[0]),
                Clamp(std::max(0LL + area.left + m[3], 0LL + area.right - m[1])), area.bottom};
  Draw(inner);
}

void HtmlTableLayout::Measure(const HtmlTableText& table, long long avail) {
  t->attributes = table.attributes;
  t->textCells = CellsPerRow(table);
  t->enabled = d.m_styles.IsEnabled();
  t->disabledColor = d.m_styles.DisabledColor();
  t->style = d.m_styles.Current();
  ApplyTableAttributes(table.attributes, t->style, d, d.m_styles, m_dc, Level::kTable, nullptr, nullptr);
  t->box = ParseBoxExtras(table.attributes, d.m_styles, t->style.borderColorLight);
  t->spacing = t->style.outerSpacing;
  t->border = TableBorderWidth(t->style.borderStyle, t->style.borderWidth, &t->frame);
  PlaceCells(table);
  const int link = m_ctx.link, animation = m_ctx.animation;
  MeasureCells(m_ctx.collectAnimations && d.m_tablePass == CHtmlTextDrawer::Pass::kMeasure);
  SizeColumnsAndRows();
  if (t->style.width > 0) avail = t->style.width;
  if (avail > 0 && t->width > avail && NarrowColumns(avail)) {
    // Measured again as the first time: links and animations keep their numbers.
    const int after = m_ctx.animation;
    m_ctx.link = link;
    m_ctx.animation = animation;
    MeasureCells(false);
    m_ctx.animation = after;
    SizeColumnsAndRows();
  }
}

// A table wider than its room narrows its columns without a width of their
// own: the widest give up space until the table fits (narrow ones keep
// theirs), and the text of their cells wraps in what is left.
bool HtmlTableLayout::NarrowColumns(long long avail) {
  long long fixedSum = 0, looseSum = 0;
  std::vector<long long> loose;
  for (size_t c = 0; c < t->cols; ++c) {
    if (t->fixed[c]) fixedSum += t->colW[c];
    else looseSum += t->colW[c], loose.push_back(t->colW[c]);
  }
  long long sum = 0;
  for (long long v : t->colW) sum += v;
  const long long room = avail - (t->width - sum) - fixedSum;
  if (loose.empty() || room <= 0 || looseSum <= room) return false;
  // The cap that the widest columns are cut to: sum(min(w, cap)) == room.
  std::sort(loose.begin(), loose.end());
  long long cap = 0, below = 0;
  for (size_t i = 0; i < loose.size(); ++i) {
    const long long left = static_cast<long long>(loose.size() - i);
    cap = (room - below) / left;
    if (cap <= loose[i]) break;
    below += loose[i];
  }
  cap = std::max(cap, 1LL);
  bool changed = false;
  for (Cell& cell : t->cells) {
    if (cell.colSpan != 1 || t->fixed[cell.col] || t->colW[cell.col] <= cap) continue;
    cell.wrap = static_cast<int>(std::max(1LL, cap - cell.pad[1] - cell.pad[3]));
    changed = true;
  }
  return changed;
}

void HtmlTableLayout::PlaceCells(const HtmlTableText& table) {
  // The first scan: rows, and the columns of the widest row.
  t->rows = table.rows.size();
  long long widest = 0;
  for (const HtmlTableRowText& row : table.rows) {
    long long cols = 0;
    for (const HtmlTableCellText& cell : row.cells) {
      int rs = 1, cs = 1;
      HtmlTextStyle ignored;
      ApplyTableAttributes(cell.attributes, ignored, d, d.m_styles, m_dc, Level::kCell, &rs, &cs);
      cols += cs;
    }
    widest = std::max(widest, cols);
  }
  t->cols = static_cast<size_t>(std::min<long long>(widest, kMaxTableSpan));
  if (t->rows == 0 || t->cols == 0) {
    t->rows = t->cols = 0;
    return;
  }
  const size_t rows = t->rows, cols = t->cols;
  t->rowMin.assign(rows, 0);
  std::vector<char> taken(rows * cols, 0);
  for (size_t r = 0; r < rows; ++r) {
    const HtmlTableRowText& row = table.rows[r];
    HtmlTextStyle rowStyle = t->style;
    ApplyTableAttributes(row.attributes, rowStyle, d, d.m_styles, m_dc, Level::kRow, nullptr, nullptr);
    t->rowMin[r] = rowStyle.height;  // a row's own height is the least it gets
    size_t c = 0;
    for (size_t i = 0; i < row.cells.size(); ++i) {
      const HtmlTableCellText& text = row.cells[i];
      while (c < cols && taken[r * cols + c]) ++c;
      if (c >= cols) break;
      Cell cell;
      cell.style = rowStyle;
      ApplyTableAttributes(text.attributes, cell.style, d, d.m_styles, m_dc, Level::kCell, &cell.rowSpan,
                           &cell.colSpan);
      cell.row = static_cast<int>(r);
      cell.col = static_cast<int>(c);
      cell.textRow = r;
      cell.textCell = i;
      // A span never reaches past the grid the first scan counted.
      cell.rowSpan = static_cast<int>(std::min<size_t>(cell.rowSpan, rows - r));
      cell.colSpan = static_cast<int>(std::min<size_t>(cell.colSpan, cols - c));
      cell.content = &text.content;
      cell.border = TableBorderWidth(cell.style.borderStyle, cell.style.borderWidth, nullptr) > 0 ? 1 : 0;
      cell.box = ParseBoxExtras(text.attributes, d.m_styles, cell.style.borderColorLight);
      // A page box's border keeps its width; a double one is three pixels deep.
      if (cell.border && cell.box.borderWidth > 0)
        cell.border = cell.style.borderStyle == kBorderDouble ? 3 : cell.box.borderWidth;
      for (int k = 0; k < 4; ++k)
        cell.pad[k] = (cell.box.padding[k] >= 0 ? cell.box.padding[k] : cell.style.innerSpacing) + cell.border;
      for (size_t rr = r; rr < r + cell.rowSpan; ++rr)
        for (size_t cc = c; cc < c + cell.colSpan; ++cc) taken[rr * cols + cc] = 1;
      c += cell.colSpan;
      t->cells.push_back(std::move(cell));
    }
  }
}

SIZE HtmlTableLayout::LayoutCell(Cell& cell, const RECT& area, bool measure) {
  HtmlFlowContext ctx;
  ctx.lines = &cell.lines;
  ctx.wrapWidth = cell.wrap > 0 ? cell.wrap : cell.style.width;
  ctx.collectAnimations = m_ctx.collectAnimations && measure;
  ctx.link = m_ctx.link;
  ctx.animation = m_ctx.animation;
  if (measure) cell.lines.clear();
  HtmlStyleResolver::State saved = d.m_styles.Save();
  d.m_styles.Current() = cell.style;
  d.m_styles.Current().name.clear();
  d.m_styles.SelectStyle();
  if (!m_beside.empty() && t->cells.size() == 1) ctx.floats = FloatsInCell(cell, area);
  if (!cell.box.indent.empty()) {
    StyleLengthUnits units(m_dc);  // em of the cell's own font
    ctx.indent = ParseStyleLength(cell.box.indent, 0, units);
  }
  SIZE size = LayoutHtmlBlocks(d, m_dc, *cell.content, area, measure, ctx, m_depth + 1, false);
  d.m_styles.Restore(saved);
  m_ctx.link = ctx.link;
  m_ctx.animation = ctx.animation;
  return size;
}

std::vector<HtmlFloatArea> HtmlTableLayout::FloatsInCell(const Cell& cell, const RECT& area) const {
  // The draw pass lays the cell out where it stands; the measure pass at
  // the origin, so the floats move by the difference.
  const int inset = t->frame + t->spacing;
  const long long dx = 0LL + area.left - (0LL + m_area.left + t->box.margin[3] + inset + cell.pad[3]);
  const long long dy = 0LL + area.top - (0LL + m_area.top + t->box.margin[0] + inset + cell.pad[0]);
  auto moved = [](long long v) { return static_cast<LONG>(std::min(std::max(v, -kExtent), kExtent)); };
  std::vector<HtmlFloatArea> floats = m_beside;
  for (HtmlFloatArea& f : floats)
    f.rect = RECT{moved(f.rect.left + dx), moved(f.rect.top + dy), moved(f.rect.right + dx), moved(f.rect.bottom + dy)};
  return floats;
}

void HtmlTableLayout::MeasureCells(bool collectAnimations) {
  const bool collect = m_ctx.collectAnimations;
  m_ctx.collectAnimations = collectAnimations;
  for (Cell& cell : t->cells) {
    RECT area = {0, 0, cell.wrap > 0 ? cell.wrap : cell.style.width, 0};
    SIZE size = LayoutCell(cell, area, true);
    cell.contentW = std::max<int>(size.cx, cell.style.width);
    cell.contentH = std::max<int>(size.cy, cell.style.height);
    cell.needW = std::min<long long>(0LL + cell.contentW + cell.pad[1] + cell.pad[3], kExtent);
    cell.needH = std::min<long long>(0LL + cell.contentH + cell.pad[0] + cell.pad[2], kExtent);
  }
  m_ctx.collectAnimations = collect;
}

namespace {

// Shares extra among sizes whose flag is 0 (all of them when none is): each
// in turn takes what is left divided by the number left.
void ShareSurplus(std::vector<long long>& sizes, const std::vector<char>& fixed, long long extra) {
  long long loose = std::count(fixed.begin(), fixed.end(), 0);
  const bool all = loose == 0;
  if (all) loose = static_cast<long long>(sizes.size());
  for (size_t i = 0; i < sizes.size() && loose > 0 && extra > 0; ++i) {
    if (!all && fixed[i]) continue;
    long long share = extra / loose--;
    sizes[i] += share;
    extra -= share;
  }
}

}  // namespace

void HtmlTableLayout::SizeColumnsAndRows() {
  t->colW.assign(t->cols, 0);
  t->rowH.assign(t->rows, 0);
  t->fixed.assign(t->cols, 0);
  for (size_t r = 0; r < t->rows; ++r) t->rowH[r] = std::min<long long>(t->rowMin[r], kExtent);
  int longest = 1;
  for (const Cell& cell : t->cells) {
    longest = std::max(longest, std::max(cell.rowSpan, cell.colSpan));
    if (cell.style.width > 0)
      for (int c = cell.col; c < cell.col + cell.colSpan; ++c) t->fixed[c] = 1;
    if (cell.colSpan == 1) t->colW[cell.col] = std::max(t->colW[cell.col], cell.needW);
    if (cell.rowSpan == 1) t->rowH[cell.row] = std::max(t->rowH[cell.row], cell.needH);
  }
  for (int span = 2; span <= longest; ++span) {
    for (const Cell& cell : t->cells) {
      if (cell.colSpan == span) ShareTableSpan(t->colW, cell.col, span, cell.needW, cell.contentW, true);
      if (cell.rowSpan == span) ShareTableSpan(t->rowH, cell.row, span, cell.needH, cell.needH, false);
    }
  }
  auto total = [&](const std::vector<long long>& sizes) {
    long long sum = 0;
    for (long long v : sizes) sum = std::min(sum + v, kExtent);
    const long long n = static_cast<long long>(sizes.size());
    return sum + (n + 1) * t->spacing + std::max(n - 1, 0LL) + 2LL * t->frame;
  };
  t->width = total(t->colW);
  t->height = total(t->rowH);
  // The table's own width and height are the least it takes: the columns
  // that are not fixed and the rows share what is missing.
  if (t->cols > 0 && t->style.width > t->width) {
    ShareSurplus(t->colW, t->fixed, t->style.width - t->width);
    t->width = total(t->colW);
  }
  if (t->rows > 0 && t->style.height > t->height) {
    ShareSurplus(t->rowH, std::vector<char>(t->rows, 0), t->style.height - t->height);
    t->height = total(t->rowH);
  }
}

void HtmlTableLayout::DrawBackground(const RECT& rect) {
  if (!d.m_styles.IsEnabled()) return;  // table backgrounds are off while disabled
  CEffectPainter& p = d.m_painter;
  if (t->style.backgroundEffect == CEffectPainter::kFillTransparent) {
    const std::wstring& source = t->style.backgroundImage;
    size_t colon = source.find(L':');
    if (colon == std::wstring::npos) return;
    std::wstring kind = source.substr(0, colon), value = source.substr(colon + 1);
    MarkupImageAttributes a;
    if (kind == L"idres") a.idres = value;
    else if (kind == L"iddll") a.iddll = value;
    else if (kind == L"file") a.file = value;
    else return;
    MarkupImage image;
    if (!image.Load(kTagBitmap, a, d.m_resourceModule, 0, 0)) return;
    SIZE tile = CEffectPainter::GetBitmapSize(image.Bitmap());
    UniqueMemoryDC src(CreateCompatibleDC(m_dc));
    if (!src) return;
    HGDIOBJ old = SelectObject(src.Get(), image.Bitmap());
    p.TileBitmap(m_dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, src.Get(), 0, 0,
                 tile.cx, tile.cy);
    SelectObject(src.Get(), old);
    return;
  }
  p.FillRectEffect(m_dc, t->style.backgroundEffect, rect, t->style.backgroundColor, t->style.backgroundMidColor,
                   t->style.backgroundEndColor, 5, 0);
}

void HtmlTableLayout::Draw(const RECT& area) {
  // The record stays as measured: each draw shares its own surplus.
  std::vector<long long> colW = t->colW;
  long long width = t->width;
  const long long avail = std::max<long long>(0, 0LL + area.right - area.left);
  // A table of a width of its own keeps it; others grow to the space given.
  if (avail > width && t->style.width <= 0) {
    long long surplus = avail - width;
    long long loose = std::count(t->fixed.begin(), t->fixed.end(), 0);
    for (size_t c = 0; c < t->cols && loose > 0; ++c) {
      if (t->fixed[c]) continue;
      long long share = surplus / loose--;
      colW[c] += share;
      surplus -= share;
      width += share;
    }
  }
  long long left = area.left;
  if (avail > width) {
    if (t->style.horzAlign == kAlignCenter) left += (avail - width) / 2;
    else if (t->style.horzAlign == kAlignRight) left += avail - width;
  }
  RECT rect = {Clamp(left), area.top, Clamp(left + width), Clamp(0LL + area.top + t->height)};
  DrawBackground(rect);
  const bool enabled = d.m_styles.IsEnabled();
  const COLORREF off = d.m_styles.DisabledColor();
  if (t->border > 0)
    d.m_painter.DrawFrame(m_dc, rect, enabled ? t->style.borderColorLight : off,
                          enabled ? t->style.borderColorDark : off, t->style.borderStyle, t->border);
  // Column and row starts inside the frame.
  const int spacing = t->spacing;
  std::vector<long long> colX(t->cols + 1), rowY(t->rows + 1);
  colX[0] = rect.left + t->frame + spacing;
  for (size_t c = 0; c < t->cols; ++c) colX[c + 1] = std::min(colX[c] + colW[c] + spacing + 1, kExtent);
  rowY[0] = rect.top + t->frame + spacing;
  for (size_t r = 0; r < t->rows; ++r) rowY[r + 1] = std::min(rowY[r] + t->rowH[r] + spacing + 1, kExtent);
  for (Cell& cell : t->cells) {
    RECT box = {Clamp(colX[cell.col]), Clamp(rowY[cell.row]),
                Clamp(colX[cell.col + cell.colSpan] - spacing - 1),
                Clamp(rowY[cell.row + cell.rowSpan] - spacing - 1)};
    const bool rounded = cell.box.radius > 0 && cell.style.backgroundEffect == 0;
    if (enabled && cell.style.backgroundEffect != CEffectPainter::kFillTransparent) {
      if (rounded) FillRoundedBox(m_dc, box, cell.box.radius, cell.style.backgroundColor);
      else
        d.m_painter.FillRectEffect(m_dc, cell.style.backgroundEffect, box, cell.style.backgroundColor,
                                   cell.style.backgroundMidColor, cell.style.backgroundEndColor, 5, 0);
    }
    if (enabled) {
      const RECT inside = {box.left + cell.border, box.top + cell.border, box.right - cell.border,
                           box.bottom - cell.border};
      DrawBoxBackgroundImage(m_dc, d.m_painter, inside, std::max(0, cell.box.radius - cell.border), cell.box.image);
    }
    if (cell.border && (cell.box.radius > 0 || cell.box.sideColors || cell.box.borderWidth > 0)) {
      COLORREF sides[4];
      for (int k = 0; k < 4; ++k)
        sides[k] = !enabled ? off : cell.box.sideColors ? cell.box.side[k] : cell.style.borderColorLight;
      DrawBoxBorder(m_dc, box, cell.box.radius, sides, cell.style.borderStyle, cell.border);
    } else if (cell.border) {
      d.m_painter.DrawFrame(m_dc, box, enabled ? cell.style.borderColorLight : off,
                            enabled ? cell.style.borderColorDark : off, cell.style.borderStyle, 1);
    }
    RECT inner = {box.left + cell.pad[3], box.top + cell.pad[0], box.right - cell.pad[1], box.bottom - cell.pad[2]};
    const int free = std::max<int>(0, inner.bottom - inner.top - cell.contentH);
    if (cell.style.vertAlign == kAlignVCenter) inner.top += free / 2;
    else if (cell.style.vertAlign == kAlignBottom) inner.top += free;
    LayoutCell(cell, inner, false);
  }
}

int TableBorderWidth(int style, int width, int* frameWidth) {
  // Only a solid border keeps its width; a double one is two one-pixel
  // lines with a pixel between them.
  int drawn = (width <= 0 || style == kBorderNone) ? 0 : (style == kBorderSolid ? width : 1);
  if (frameWidth) *frameWidth = style == kBorderDouble ? 3 * drawn : drawn;
  return drawn;
}

void ShareTableSpan(std::vector<long long>& sizes, size_t first, size_t count, long long need, long long test,
                    bool remainderToLast) {
  if (count == 0 || first >= sizes.size() || count > sizes.size() - first) return;
  long long sum = 0;
  for (size_t i = first; i < first + count; ++i) sum += sizes[i];
  if (sum >= test || need <= sum) return;
  const long long diff = need - sum;
  const long long each = diff / static_cast<long long>(count);
  for (size_t i = first; i < first + count; ++i) sizes[i] += each;
  sizes[remainderToLast ? first + count - 1 : first] += diff - each * static_cast<long long>(count);
}

namespace {

// Floats past this many (with those of the blocks around) do not shorten
// lines: placing each looks at all the others.
constexpr size_t kMaxFloats = 64;

// Where a floating table of width w goes at or below y: beside the floats
// already there when it fits between them, else below the one that ends
// first, and so on. Its left edge is returned, its top written to y.
long long PlaceFloat(const std::vector<HtmlFloatArea>& floats, const RECT& area, bool right, long long w,
                     long long& y) {
  for (size_t tries = 0; tries <= floats.size(); ++tries) {
    long long left = area.left, edge = area.right, next = -1;
    for (const HtmlFloatArea& f : floats) {
      if (y < f.rect.top || y >= f.rect.bottom) continue;
      if (f.right) edge = std::min<long long>(edge, f.rect.left);
      else left = std::max<long long>(left, f.rect.right);
      if (next < 0 || f.rect.bottom < next) next = f.rect.bottom;
    }
    if (next < 0 || left + w <= edge || area.right <= area.left)
      return right && area.right > area.left ? std::max(left, edge - w) : left;
    y = next;
  }
  return area.left;
}

// The lowest bottom of the floats from first on, or y when it is lower.
long long FloatsBottom(const std::vector<HtmlFloatArea>& floats, size_t first, long long y) {
  for (size_t i = first; i < floats.size(); ++i) y = std::max<long long>(y, floats[i].rect.bottom);
  return y;
}

// A table of one cell that paints nothing (no width, background or border
// of its own, no row attributes): a box around text, whose lines may run
// beside floats without it covering them.
bool IsPlainBox(const HtmlTableText& table) {
  if (table.rows.size() != 1 || table.rows[0].cells.size() != 1 || !table.rows[0].attributes.empty()) return false;
  for (const std::wstring* attributes : {&table.attributes, &table.rows[0].cells[0].attributes}) {
    MarkupAttributeScanner scan(*attributes);
    std::wstring name, value;
    while (scan.Next(name, value)) {
      const bool painted = name == L"bgcolor" || name == L"background" || name == L"bgimage" ||
                           (name == L"border" && value != L"0") || (name == L"bgeffect" && value != L"transparent");
      if (painted || (name == L"width" && attributes == &table.attributes)) return false;
    }
  }
  return true;
}

}  // namespace

SIZE LayoutHtmlBlocks(CHtmlTextDrawer& drawer, HDC dc, const std::wstring& text, const RECT& area, bool measure,
                      HtmlFlowContext& ctx, int depth, bool wrapInBody) {
  long long y = area.top;
  int widest = 0;
  size_t pos = 0;
  // Floats stand beside the text after them. The blocks own those they
  // place (a cell holds its floats); those of the blocks around come in
  // the context and only shorten lines.
  const size_t inherited = ctx.floats.size();
  while (pos <= text.size() && y < kExtent) {
    const size_t table = depth < kMaxTableDepth ? FindTableTag(text, pos) : std::wstring::npos;
    const size_t stretchEnd = table == std::wstring::npos ? text.size() : table;
    if (stretchEnd > pos) {
      RECT r = {area.left, static_cast<LONG>(y), area.right, area.bottom};
      HtmlFlowLayout flow(drawer, dc, r, measure, ctx);
      SIZE size = flow.Run(text.substr(pos, stretchEnd - pos), wrapInBody);
      widest = std::max<int>(widest, size.cx);
      y += size.cy;
    }
    if (table == std::wstring::npos) break;
    HtmlTableText parsed;
    pos = ScanTable(text, table, parsed);
    const int floating = TableFloat(parsed.attributes);
    HtmlTableLayout layout(drawer, dc, ctx, depth);
    if (!floating) {
      // A plain box's text flows beside the floats before it; any other
      // table starts below them.
      if (IsPlainBox(parsed)) layout.SetBeside(ctx.floats);
      else y = FloatsBottom(ctx.floats, 0, y);
      RECT r = {area.left, static_cast<LONG>(std::min(y, kExtent)), area.right, area.bottom};
      SIZE size = layout.Run(parsed, r, measure);
      widest = std::max<int>(widest, size.cx);
      y += size.cy;
      continue;
    }
    const bool right = floating == kFloatRight;
    const SIZE size = layout.Prepare(
        parsed, RECT{area.left, static_cast<LONG>(std::min(y, kExtent)), area.right, area.bottom}, measure);
    long long top = y;
    const long long left = PlaceFloat(ctx.floats, area, right, size.cx, top);
    const RECT placed = {Clamp(left), Clamp(top), Clamp(left + size.cx), Clamp(top + size.cy)};
    if (!measure) layout.DrawAt(placed);
    widest = std::max<int>(widest, Clamp(0LL + placed.right - area.left));
    if (ctx.floats.size() < kMaxFloats) ctx.floats.push_back(HtmlFloatArea{right, placed});
  }
  y = FloatsBottom(ctx.floats, inherited, y);
  ctx.floats.resize(inherited);
  return SIZE{widest, Clamp(y - area.top)};
}

SIZE CHtmlTextDrawer::Layout(HDC dc, const RECT& area, Pass pass) {
  m_styles.Begin(dc);
  if (pass == Pass::kMeasure) m_tables.clear();
  m_tablePass = pass;
  m_tableCursor = 0;
  HtmlFlowContext ctx;
  ctx.lines = &m_lines;
  ctx.wrapWidth = m_maxWidth;
  ctx.collectAnimations = pass == Pass::kMeasure;
  SIZE size = LayoutHtmlBlocks(*this, dc, m_prepared, area, pass == Pass::kMeasure, ctx, 0, true);
  SetTextJustification(dc, 0, 0);
  m_styles.End();
  return size;
}
