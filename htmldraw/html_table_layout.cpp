// Tables: a first scan sizes the grid, the cells take their slots, their
// contents are measured, the columns and rows grow to hold them (spanning
// cells share what they still need), and the draw pass shares the surplus
// width, paints backgrounds and frames and lays each cell out in its
// rectangle. Both passes measure the table, so a draw never depends on
// records of another table.
#include "htmldraw/html_table_layout.h"

#include <algorithm>

#include "foundation/handles.h"
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

struct Cell {
  int row = 0, col = 0, rowSpan = 1, colSpan = 1;
  HtmlTextStyle style;
  const std::wstring* content = nullptr;
  int border = 0;       // 0 or 1
  int contentW = 0, contentH = 0;
  long long needW = 0, needH = 0;
  std::vector<HtmlLine> lines;
};

}  // namespace

class HtmlTableLayout {
 public:
  HtmlTableLayout(CHtmlTextDrawer& drawer, HDC dc, HtmlFlowContext& ctx, int depth)
      : d(drawer), m_dc(dc), m_ctx(ctx), m_depth(depth) {}

  SIZE Run(const HtmlTableText& table, const RECT& area, bool measure);

 private:
  void PlaceCells(const HtmlTableText& table);
  void MeasureCells(bool collectAnimations);
  void SizeColumnsAndRows();
  void Draw(const RECT& area);
  void DrawBackground(const RECT& rect);
  SIZE LayoutCell(Cell& cell, const RECT& area, bool measure);

  CHtmlTextDrawer& d;
  HDC m_dc;
  HtmlFlowContext& m_ctx;
  int m_depth;
  HtmlTextStyle m_style;
  int m_spacing = 0, m_border = 0, m_frame = 0;
  size_t m_rows = 0, m_cols = 0;
  std::vector<Cell> m_cells;
  std::vector<long long> m_colW, m_rowH;
  std::vector<char> m_fixed;
  long long m_width = 0, m_height = 0;
};

SIZE HtmlTableLayout::Run(const HtmlTableText& table, const RECT& area, bool measure) {
  m_style = d.m_styles.Current();
  ApplyTableAttributes(table.attributes, m_style, d, d.m_styles, m_dc, Level::kTable, nullptr, nullptr);
  m_spacing = m_style.outerSpacing;
  m_border = TableBorderWidth(m_style.borderStyle, m_style.borderWidth, &m_frame);
  PlaceCells(table);
  // The draw pass measures again; that must number links as its drawing
  // will and must not add animation records twice.
  const int link = m_ctx.link;
  MeasureCells(measure && m_ctx.collectAnimations);
  if (!measure) m_ctx.link = link;
  SizeColumnsAndRows();
  if (!measure) Draw(area);
  return SIZE{Clamp(m_width), Clamp(m_height)};
}

void HtmlTableLayout::PlaceCells(const HtmlTableText& table) {
  // The first scan: rows, and the columns of the widest row.
  m_rows = table.rows.size();
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
  m_cols = static_cast<size_t>(std::min<long long>(widest, kMaxTableSpan));
  if (m_rows == 0 || m_cols == 0) {
    m_rows = m_cols = 0;
    return;
  }
  std::vector<char> taken(m_rows * m_cols, 0);
  for (size_t r = 0; r < m_rows; ++r) {
    const HtmlTableRowText& row = table.rows[r];
    HtmlTextStyle rowStyle = m_style;
    ApplyTableAttributes(row.attributes, rowStyle, d, d.m_styles, m_dc, Level::kRow, nullptr, nullptr);
    size_t c = 0;
    for (const HtmlTableCellText& text : row.cells) {
      while (c < m_cols && taken[r * m_cols + c]) ++c;
      if (c >= m_cols) break;
      Cell cell;
      cell.style = rowStyle;
      ApplyTableAttributes(text.attributes, cell.style, d, d.m_styles, m_dc, Level::kCell, &cell.rowSpan,
                           &cell.colSpan);
      cell.row = static_cast<int>(r);
      cell.col = static_cast<int>(c);
      // A span never reaches past the grid the first scan counted.
      cell.rowSpan = static_cast<int>(std::min<size_t>(cell.rowSpan, m_rows - r));
      cell.colSpan = static_cast<int>(std::min<size_t>(cell.colSpan, m_cols - c));
      cell.content = &text.content;
      cell.border = TableBorderWidth(cell.style.borderStyle, cell.style.borderWidth, nullptr) > 0 ? 1 : 0;
      for (size_t rr = r; rr < r + cell.rowSpan; ++rr)
        for (size_t cc = c; cc < c + cell.colSpan; ++cc) taken[rr * m_cols + cc] = 1;
      c += cell.colSpan;
      m_cells.push_back(std::move(cell));
    }
  }
}

SIZE HtmlTableLayout::LayoutCell(Cell& cell, const RECT& area, bool measure) {
  HtmlFlowContext ctx;
  ctx.lines = &cell.lines;
  ctx.wrapWidth = cell.style.width;
  ctx.collectAnimations = m_ctx.collectAnimations && measure;
  ctx.link = m_ctx.link;
  ctx.animation = m_ctx.animation;
  if (measure) cell.lines.clear();
  HtmlStyleResolver::State saved = d.m_styles.Save();
  d.m_styles.Current() = cell.style;
  d.m_styles.Current().name.clear();
  d.m_styles.SelectStyle();
  SIZE size = LayoutHtmlBlocks(d, m_dc, *cell.content, area, measure, ctx, m_depth + 1, false);
  d.m_styles.Restore(saved);
  m_ctx.link = ctx.link;
  m_ctx.animation = ctx.animation;
  return size;
}

void HtmlTableLayout::MeasureCells(bool collectAnimations) {
  const bool collect = m_ctx.collectAnimations;
  m_ctx.collectAnimations = collectAnimations;
  for (Cell& cell : m_cells) {
    RECT area = {0, 0, cell.style.width, 0};
    SIZE size = LayoutCell(cell, area, true);
    const long long pad = 2LL * (cell.style.innerSpacing + cell.border);
    cell.contentW = std::max<int>(size.cx, cell.style.width);
    cell.contentH = std::max<int>(size.cy, cell.style.height);
    cell.needW = std::min<long long>(cell.contentW + pad, kExtent);
    cell.needH = std::min<long long>(cell.contentH + pad, kExtent);
  }
  m_ctx.collectAnimations = collect;
}

void HtmlTableLayout::SizeColumnsAndRows() {
  m_colW.assign(m_cols, 0);
  m_rowH.assign(m_rows, 0);
  m_fixed.assign(m_cols, 0);
  int longest = 1;
  for (const Cell& cell : m_cells) {
    longest = std::max(longest, std::max(cell.rowSpan, cell.colSpan));
    if (cell.style.width > 0)
      for (int c = cell.col; c < cell.col + cell.colSpan; ++c) m_fixed[c] = 1;
    if (cell.colSpan == 1) m_colW[cell.col] = std::max(m_colW[cell.col], cell.needW);
    if (cell.rowSpan == 1) m_rowH[cell.row] = std::max(m_rowH[cell.row], cell.needH);
  }
  for (int span = 2; span <= longest; ++span) {
    for (const Cell& cell : m_cells) {
      if (cell.colSpan == span) ShareTableSpan(m_colW, cell.col, span, cell.needW, cell.contentW, true);
      if (cell.rowSpan == span) ShareTableSpan(m_rowH, cell.row, span, cell.needH, cell.needH, false);
    }
  }
  auto total = [&](const std::vector<long long>& sizes) {
    long long sum = 0;
    for (long long v : sizes) sum = std::min(sum + v, kExtent);
    const long long n = static_cast<long long>(sizes.size());
    return sum + (n + 1) * m_spacing + std::max(n - 1, 0LL) + 2LL * m_frame;
  };
  m_width = total(m_colW);
  m_height = total(m_rowH);
}

void HtmlTableLayout::DrawBackground(const RECT& rect) {
  if (!d.m_styles.IsEnabled()) return;  // table backgrounds are off while disabled
  CEffectPainter& p = d.m_painter;
  if (m_style.backgroundEffect == CEffectPainter::kFillTransparent) {
    const std::wstring& source = m_style.backgroundImage;
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
  p.FillRectEffect(m_dc, m_style.backgroundEffect, rect, m_style.backgroundColor, m_style.backgroundMidColor,
                   m_style.backgroundEndColor, 5, 0);
}

void HtmlTableLayout::Draw(const RECT& area) {
  const long long avail = std::max<long long>(0, 0LL + area.right - area.left);
  if (avail > m_width) {
    long long surplus = avail - m_width;
    long long loose = std::count(m_fixed.begin(), m_fixed.end(), 0);
    for (size_t c = 0; c < m_cols && loose > 0; ++c) {
      if (m_fixed[c]) continue;
      long long share = surplus / loose--;
      m_colW[c] += share;
      surplus -= share;
      m_width += share;
    }
  }
  long long left = area.left;
  if (avail > m_width) {
    if (m_style.horzAlign == kAlignCenter) left += (avail - m_width) / 2;
    else if (m_style.horzAlign == kAlignRight) left += avail - m_width;
  }
  RECT rect = {Clamp(left), area.top, Clamp(left + m_width), Clamp(0LL + area.top + m_height)};
  DrawBackground(rect);
  const bool enabled = d.m_styles.IsEnabled();
  const COLORREF off = d.m_styles.DisabledColor();
  if (m_border > 0)
    d.m_painter.DrawFrame(m_dc, rect, enabled ? m_style.borderColorLight : off,
                          enabled ? m_style.borderColorDark : off, m_style.borderStyle, m_border);
  // Column and row starts inside the frame.
  std::vector<long long> colX(m_cols + 1), rowY(m_rows + 1);
  colX[0] = rect.left + m_frame + m_spacing;
  for (size_t c = 0; c < m_cols; ++c) colX[c + 1] = std::min(colX[c] + m_colW[c] + m_spacing + 1, kExtent);
  rowY[0] = rect.top + m_frame + m_spacing;
  for (size_t r = 0; r < m_rows; ++r) rowY[r + 1] = std::min(rowY[r] + m_rowH[r] + m_spacing + 1, kExtent);
  for (Cell& cell : m_cells) {
    RECT box = {Clamp(colX[cell.col]), Clamp(rowY[cell.row]),
                Clamp(colX[cell.col + cell.colSpan] - m_spacing - 1),
                Clamp(rowY[cell.row + cell.rowSpan] - m_spacing - 1)};
    if (enabled && cell.style.backgroundEffect != CEffectPainter::kFillTransparent)
      d.m_painter.FillRectEffect(m_dc, cell.style.backgroundEffect, box, cell.style.backgroundColor,
                                 cell.style.backgroundMidColor, cell.style.backgroundEndColor, 5, 0);
    if (cell.border)
      d.m_painter.DrawFrame(m_dc, box, enabled ? cell.style.borderColorLight : off,
                            enabled ? cell.style.borderColorDark : off, cell.style.borderStyle, 1);
    const int inset = cell.style.innerSpacing + cell.border;
    RECT inner = {box.left + inset, box.top + inset, box.right - inset, box.bottom - inset};
    const int free = std::max<int>(0, inner.bottom - inner.top - cell.contentH);
    if (cell.style.vertAlign == kAlignVCenter) inner.top += free / 2;
    else if (cell.style.vertAlign == kAlignBottom) inner.top += free;
    LayoutCell(cell, inner, false);
  }
}

int TableBorderWidth(int style, int width, int* frameWidth) {
  int drawn = (width <= 0 || style == kBorderNone) ? 0 : (style == kBorderSolid || style == kBorderDouble ? width : 1);
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

SIZE LayoutHtmlBlocks(CHtmlTextDrawer& drawer, HDC dc, const std::wstring& text, const RECT& area, bool measure,
                      HtmlFlowContext& ctx, int depth, bool wrapInBody) {
  long long y = area.top;
  int widest = 0;
  size_t pos = 0;
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
    RECT r = {area.left, static_cast<LONG>(std::min(y, kExtent)), area.right, area.bottom};
    HtmlTableLayout layout(drawer, dc, ctx, depth);
    SIZE size = layout.Run(parsed, r, measure);
    widest = std::max<int>(widest, size.cx);
    y += size.cy;
  }
  return SIZE{widest, Clamp(y - area.top)};
}

SIZE CHtmlTextDrawer::Layout(HDC dc, const RECT& area, Pass pass) {
  m_styles.Begin(dc);
  HtmlFlowContext ctx;
  ctx.lines = &m_lines;
  ctx.wrapWidth = m_maxWidth;
  ctx.collectAnimations = pass == Pass::kMeasure;
  SIZE size = LayoutHtmlBlocks(*this, dc, m_prepared, area, pass == Pass::kMeasure, ctx, 0, true);
  SetTextJustification(dc, 0, 0);
  m_styles.End();
  return size;
}
