// The layout of flowing text, run once to measure (building a line list) and
// once per draw (reading it). Stretches of one text and the cells of its
// tables share the link and animation counters through the context.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "htmldraw/html_text_drawer.h"

// A box floating at one side of the area: lines beside it are shortened.
// Coordinates are those of the pass that placed it.
struct HtmlFloatArea {
  bool right = false;
  RECT rect = {};
};

struct HtmlFlowContext {
  std::vector<HtmlLine>* lines = nullptr;  // built by the measure, read by the draw
  size_t lineIndex = 0;                    // draw: the next record to read
  int wrapWidth = 0;                       // 0 is no wrapping
  bool collectAnimations = false;          // measure: append animation records
  int link = -1;                           // the last link and animation numbered
  int animation = -1;
  std::vector<HtmlFloatArea> floats;       // placed by the blocks, beside the text that follows
  int indent = 0;                          // the first line starts this far in
};

class HtmlFlowLayout {
 public:
  HtmlFlowLayout(CHtmlTextDrawer& drawer, HDC dc, const RECT& area, bool measure, HtmlFlowContext& ctx)
      : d(drawer), m_ctx(ctx), m_dc(dc), m_area(area), m_measure(measure),
        m_avail(std::max(0, static_cast<int>(area.right - area.left))) {}

  // Lays the text out from the area's top; the size it took (in the draw
  // pass the height the measured lines take).
  SIZE Run(const std::wstring& text, bool wrapInBody);

 private:
  void Tag(const MarkupToken& token);
  void Text(std::wstring run);
  void Place(const wchar_t* s, int n, SIZE extent);
  void TextBackground(const HtmlTextStyle& style, const RECT& run);
  void EndLine(int count, bool wrapped);
  void StartLine();
  // The line at m_lineTop beside the floats: its start and its room; true
  // when they leave none.
  bool BesideFloats();
  // An empty line beside a float that cannot hold the next word: the line
  // moves down past the float that ends first; false when none does.
  bool DropBelowFloat();
  int Room() const { return m_ctx.wrapWidth > 0 ? m_lineRoom : 0; }
  void Tab(int count);
  void Rule(const std::wstring& attributes);
  void Image(const MarkupToken& token);
  void StringResource(const std::wstring& attributes);
  // Top of an object of that height and ascent on the current line (draw).
  int TopFor(int height, int ascent) const;
  void Advance(int layoutWidth, int drawnWidth);
  void AddLink(int left, int top, int width, int height);
  bool InLink() const { return d.m_styles.Current().linkKind != kLinkNone; }
  void Metrics() { GetTextMetricsW(m_dc, &m_tm); }

  CHtmlTextDrawer& d;
  HtmlFlowContext& m_ctx;
  HDC m_dc;
  RECT m_area;
  bool m_measure;
  int m_avail;
  TEXTMETRICW m_tm = {};
  bool m_stopped = false;

  HtmlLine m_line;          // measure: the line being built; draw: its record
  int m_lineX = 0;          // position on the line as measured (wrapping, tabs)
  int m_drawX = 0;          // draw: where the next thing goes
  int m_lineTop = 0;
  bool m_lineHasContent = false;
  int m_minHeight = 0;      // rules ask for room
  int m_widest = 0;
  int m_bottom = 0;
  int m_justifyExtra = 0;   // draw: width still to spread over the blanks
  int m_justifyBlanks = 0;
  int m_lineLeft = 0;       // the floats' intrusion at the line's left
  int m_lineRoom = 0;       // the wrap width left beside them
  int m_availRoom = 0;      // draw: the area width left beside them
};

