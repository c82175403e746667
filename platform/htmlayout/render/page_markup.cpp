#include "platform/htmlayout/render/page_markup.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <unordered_map>

#include "htmldraw/style_sheet.h"
#include "platform/htmlayout/controls.h"
#include "platform/htmlayout/render/page_boxes.h"
#include "platform/htmlayout/render/page_images.h"
#include "platform/htmlayout/render/page_styles.h"

namespace hl {
namespace {

const char* const kSkipped[] = {"head", "style", "script", "title", "meta", "link", "base", "noscript",
                                "template", "select", "option", "textarea", "object", "embed", "iframe",
                                "frame", "frameset", "applet", nullptr};
const char* const kBlocks[] = {"p", "div", "h1", "h2", "h3", "h4", "h5", "h6", "ul", "ol", "li", "dl", "dt",
                               "dd", "center", "blockquote", "form", "pre", "address", "hr", "table",
                               "fieldset", "caption", nullptr};
const char* const kHeadings[] = {"h1", "h2", "h3", "h4", "h5", "h6", nullptr};
// Tags the drawer knows under the same name.
const char* const kSameTags[] = {"sub", "sup", "big", "small", "code", "pre", "u", nullptr};
// Inherited properties the drawer applies to text.
const wchar_t* const kTextProperties[] = {L"color", L"font-size", L"font-family", L"font-style",
                                          L"font-weight", L"text-decoration", L"text-transform",
                                          L"background-color", L"text-align", nullptr};

bool IsBlankChar(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

std::wstring AttributeText(const Node& node, const char* name) {
  const Attribute* a = node.FindAttribute(name);
  return a ? a->value : std::wstring();
}

// An attribute value as the drawer's scanner reads it back unchanged.
std::wstring Quoted(const std::wstring& value) {
  std::wstring out = L"\"";
  for (wchar_t c : value) {
    if (c != L'"' && c != L'<' && c != L'>' && c >= 0x20) out += c;
  }
  return out + L"\"";
}

int Length(const std::wstring& value, int base) { return PageLength(value, base); }

COLORREF ColorOf(const std::wstring& value, COLORREF otherwise) { return PageColor(value, otherwise); }

std::wstring ColorText(COLORREF c) {
  wchar_t text[16];
  swprintf(text, 16, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

const std::wstring* Find(const StyleDeclarations& d, const wchar_t* name) {
  const std::wstring* found = nullptr;
  for (const auto& [n, v] : d) {
    if (n == name) found = &v;
  }
  return found;
}

bool IsWidget(const Node& node) {
  if (node.tag != "widget" && node.tag != "input") return false;
  UINT type = OwnControlType(node);
  return type == CTL_CHECKBOX || type == CTL_NUMERIC;
}

class Translator {
 public:
  Translator(const Document& doc, const MarkupOptions& options, PageMarkup& out)
      : m_doc(doc), m_options(options), m_out(out) {}

  void Run() {
    for (const StyleSheet& sheet : m_doc.sheets) m_styles.AddSheet(sheet.text);
    m_sheet = DefaultStyleSheetText();
    // Links keep the text's style; the view's own rules draw them.
    m_sheet += L"a:link {}\r\na:hover {}\r\n.lk {color: blue; text-decoration: underline}\r\n"
               L".nu {text-decoration: none}\r\n";
    Walk();
    m_out.styleSheet = std::move(m_sheet);
  }

 private:
  struct Frame {
    const Node* node;
    size_t next = 0;
    std::wstring close;
    // The text styles it opens (no links, widgets or table tags): a cell
    // starts from the table's style, so each cell opens those of every
    // element around it again.
    std::wstring styleOpen, styleClose;
    bool block = false;
    int width = 0;       // what its contents are laid out in
    bool pre = false;
    size_t tables = 0;   // tables open around it
    size_t depth = 0;
    bool plain = false;  // emits no tags of its own (too deep)
    bool horizontal = false;  // its children are the cells of one row
    bool boxed = false;       // its box is a drawer table, cell or overlay
    // An absolute element writes into an overlay of its own; the markup
    // around it waits here.
    bool overlay = false;
    std::wstring saved;
    bool savedLineStart = true, savedBlank = true;
    PageOverlay place;
  };

  // Overlays count with the page: markup set aside while one is written and
  // the overlays written already.
  bool Full() const { return m_out.markup.size() + m_setAside >= m_options.maxMarkup; }

  void Break() {
    if (!m_lineStart) m_out.markup += L"<br>";
    m_lineStart = true;
    m_blank = true;
  }

  void Text(const std::wstring& text, bool pre) {
    std::wstring& out = m_out.markup;
    for (wchar_t c : text) {
      if (pre && c == L'\n') {
        out += L"<br>";
        m_lineStart = m_blank = true;
        continue;
      }
      if (IsBlankChar(c) || c == 0xA0) {
        if (pre || c == 0xA0) {
          out += L' ';
          m_lineStart = false;
        } else if (!m_blank && !m_lineStart) {
          out += L' ';
          m_blank = true;
        }
        continue;
      }
      if (c < 0x20) continue;
      if (c == L'<') out += L"<<";
      else out += c;
      m_lineStart = m_blank = false;
    }
  }

  // The drawer rule of the element's own text styles; empty when none.
  std::wstring SpanFor(const StyleDeclarations& d, bool cell) {
    std::wstring text;
    for (const auto& [name, value] : d) {
      bool wanted = false;
      for (const wchar_t* const* p = kTextProperties; *p; ++p) wanted = wanted || name == *p;
      if (!wanted || value.empty()) continue;
      if (cell && name == L"background-color") continue;  // the cell paints it
      text += name + L":" + value + L";";
    }
    return ClassFor(text);
  }

  // The drawer class of a rule text; empty for none. Elements styled alike
  // share one rule of the drawer's sheet.
  std::wstring ClassFor(const std::wstring& text) {
    if (text.empty()) return std::wstring();
    auto known = m_spanClasses.find(text);
    if (known != m_spanClasses.end()) return known->second;
    std::wstring cls = L"c" + std::to_wstring(++m_classes);
    m_sheet += L"." + cls + L" {" + text + L"}\r\n";
    m_spanClasses.emplace(text, cls);
    return cls;
  }

  void Mark(MarkKind kind, size_t index, std::wstring& open, std::wstring& close, const wchar_t* style) {
    open += L"<a msg=\"" + std::wstring(1, static_cast<wchar_t>(kind)) + std::to_wstring(index) + L"\">";
    open += L"<span class=" + std::wstring(style) + L">";
    close = L"</span></a>" + close;
  }

  std::wstring TableAttributes(const Node& node, const StyleDeclarations& d, int width, int height) {
    std::wstring out;
    static const char* const kKept[] = {"border", "cellpadding", "cellspacing", "align", "valign", "colspan",
                                        "rowspan", nullptr};
    for (const char* const* p = kKept; *p; ++p) {
      const Attribute* a = node.FindAttribute(*p);
      if (!a) continue;
      std::wstring value = a->value;
      if (std::string(*p) == "valign" && SameNoCase(value, L"center")) value = L"middle";
      for (wchar_t& c : value) c = static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
      out += L" " + std::wstring(*p, *p + strlen(*p)) + L"=" + Quoted(value);
    }
    COLORREF none = 0xFFFFFFFF;
    COLORREF bg = ColorOf(AttributeText(node, "bgcolor"), none);
    if (const std::wstring* v = Find(d, L"background-color")) bg = ColorOf(*v, bg);
    if (bg != none) out += L" bgcolor=" + ColorText(bg) + L" bgeffect=solid";
    COLORREF border = ColorOf(AttributeText(node, "bordercolor"), none);
    if (const std::wstring* v = Find(d, L"border-color")) border = ColorOf(*v, border);
    if (border != none) out += L" bordercolor=" + ColorText(border);
    const BoxStyle box = ReadBoxStyle(d, 0);
    if (box.borderWidth > 0 && !node.FindAttribute("border")) {
      out += L" border=1 borderstyle=solid";
      if (border == none) out += L" bordercolor=" + ColorText(box.borderColor[0]);
    }
    if (node.tag == "td" || node.tag == "th") {
      // A cell draws the box its styles give it.
      if (box.sideColors) out += SideColors(box);
      if (box.radius > 0) out += L" radius=" + std::to_wstring(box.radius);
      bool padded = false;
      for (int v : box.padding) padded = padded || v > 0;
      if (padded) out += L" padding=" + FourLengths(box.padding, 0);
    }
    if (width > 0) out += L" width=" + std::to_wstring(width);
    if (height > 0) out += L" height=" + std::to_wstring(height);
    return out;
  }

  static int CellPadding(const Node* table) {
    if (!table) return 0;
    return table->FindAttribute("cellpadding") ? std::max(0, Length(AttributeText(*table, "cellpadding"), 0)) : 2;
  }

  int TableOverhead(const Node& table) const {
    int spacing = std::max(0, Length(AttributeText(table, "cellspacing"), 0));
    int padding = CellPadding(&table);
    int border = std::max(0, Length(AttributeText(table, "border"), 0));
    return 2 * spacing + 2 * border + 2 * (padding + (border > 0 ? 1 : 0));
  }

  static const Node* TableOf(const Node* node) {
    for (; node; node = node->parent) {
      if (node->tag == "table") return node;
    }
    return nullptr;
  }

  static size_t CellsInRow(const Node& row) {
    size_t n = 0;
    for (const Node* c : row.children) n += (c->tag == "td" || c->tag == "th");
    return n;
  }

  // Opens the element: what to write now, and what closes it.
  void Enter(const Node& node, Frame& parent) {
    Frame f;
    f.node = &node;
    f.width = parent.width;
    f.pre = parent.pre || node.tag == "pre";
    f.tables = parent.tables;
    f.depth = parent.depth + 1;
    f.plain = parent.plain || f.depth > m_options.maxTagDepth;
    if (TagIn(node.tag, kSkipped)) return;
    const Attribute* hidden = node.FindAttribute("hidden");
    if (hidden && !SameNoCase(hidden->value, L"false")) return;
    const StyleDeclarations d = m_styles.For(node);
    if (DeclarationsHide(d)) return;
    const std::string& tag = node.tag;
    std::wstring open;
    const bool tableTag = tag == "table" || tag == "tr" || tag == "td" || tag == "th";
    const bool inTable = parent.node && (parent.node->tag == "table" || parent.node->tag == "tr" ||
                                         parent.node->tag == "tbody" || parent.node->tag == "thead" ||
                                         parent.node->tag == "tfoot");
    bool asTable = tableTag && !f.plain && (tag == "table" ? f.tables < m_options.maxTableDepth : f.tables > 0);
    if (tag == "td" || tag == "th") asTable = asTable && inTable && m_cells < m_options.maxCells;
    if (tag == "tr") asTable = asTable && inTable;
    if ((tag == "td" || tag == "th") && inTable && !asTable && f.tables > 0) return;  // past the cell limit
    f.block = TagIn(tag, kBlocks) || (tableTag && !asTable);
    BoxStyle box;
    bool boxed = false;
    if ((tag == "body" || (f.block && !tableTag && tag != "li" && tag != "hr" && tag != "caption")) && !f.plain &&
        f.tables < m_options.maxTableDepth) {
      box = ReadBoxStyle(d, parent.width);
      if (tag == "body") box = BodyBox(box);  // the view keeps the page's margin
      boxed = box.Drawn();
    }
    const bool overlay = boxed && box.absolute && m_out.overlays.size() + m_overlaysOpen < m_options.maxOverlays;
    // The drawer starts a table, and the text after it, on lines of their own.
    if (f.block && !asTable && !boxed) Break();
    if (f.plain) {
      m_stack.push_back(std::move(f));
      return;
    }
    if (asTable) {
      if (tag == "table") {
        int width = Length(AttributeText(node, "width"), parent.width);
        int height = Length(AttributeText(node, "height"), 0);
        open = L"<table" + TableAttributes(node, d, width, height) + L">";
        f.close = L"</table>";
        f.tables = parent.tables + 1;
        f.width = (width > 0 ? width : parent.width);
      } else if (tag == "tr") {
        open = L"<tr" + TableAttributes(node, d, 0, Length(AttributeText(node, "height"), 0)) + L">";
        f.close = L"</tr>";
      } else {
        ++m_cells;
        const Node* table = TableOf(&node);
        // Padding of the cell's own replaces the table's cell padding.
        const BoxStyle own = ReadBoxStyle(d, 0);
        const int ownPadding = own.padding[1] + own.padding[3];
        const int overhead =
            (table ? TableOverhead(*table) : 0) + (ownPadding > 0 ? ownPadding - 2 * CellPadding(table) : 0);
        int width = Length(AttributeText(node, "width"), parent.width);
        if (width > 0) width = std::max(1, width - overhead);
        const Node* row = node.parent && node.parent->tag == "tr" ? node.parent : nullptr;
        // The only cell of its row takes the table's width, so its text wraps.
        if (width <= 0 && row && CellsInRow(*row) == 1 && parent.width > overhead) width = parent.width - overhead;
        open = L"<td" + TableAttributes(node, d, width, Length(AttributeText(node, "height"), 0)) + L">";
        f.close = L"</td>";
        for (const Frame& around : m_stack) open += around.styleOpen;
        for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) f.close = it->styleClose + f.close;
        f.width = width > 0 ? width : parent.width;
        m_lineStart = m_blank = true;
        if (tag == "th") {
          open += L"<b>";
          f.close = L"</b>" + f.close;
        }
      }
    } else if (TagIn(tag, kHeadings) || TagIn(tag, kSameTags)) {
      open = L"<" + std::wstring(tag.begin(), tag.end()) + L">";
      f.close = L"</" + std::wstring(tag.begin(), tag.end()) + L">";
    } else if (tag == "b" || tag == "strong") {
      open = L"<b>";
      f.close = L"</b>";
    } else if (tag == "i" || tag == "em" || tag == "cite" || tag == "var" || tag == "dfn") {
      open = L"<i>";
      f.close = L"</i>";
    } else if (tag == "s" || tag == "strike" || tag == "del") {
      open = L"<s>";
      f.close = L"</s>";
    } else if (tag == "font") {
      open = L"<font";
      if (const Attribute* c = node.FindAttribute("color")) {
        COLORREF color = ColorOf(c->value, 0xFFFFFFFF);
        if (color != 0xFFFFFFFF) open += L" color=" + ColorText(color);
      }
      if (const Attribute* face = node.FindAttribute("face")) {
        // A font name: letters, digits, blanks, hyphens and commas only.
        std::wstring name;
        for (wchar_t c : face->value) {
          if (iswalnum(c) || c == L' ' || c == L'-' || c == L',') name += c;
        }
        open += L" face=" + Quoted(name.substr(0, 64));
      }
      if (const Attribute* size = node.FindAttribute("size")) {
        // HTML sizes 1 to 7, also relative to the normal size 3.
        const std::wstring& v = size->value;
        int n = _wtoi(v.c_str() + ((!v.empty() && (v[0] == L'+' || v[0] == L'-')) ? 1 : 0));
        int html = !v.empty() && v[0] == L'+' ? 3 + n : !v.empty() && v[0] == L'-' ? 3 - n : n;
        if (html >= 1 || (!v.empty() && (v[0] == L'+' || v[0] == L'-')))
          open += L" size=" + std::to_wstring(std::min(7, std::max(1, html)));
      }
      open += L">";
      f.close = L"</font>";
    } else if (tag == "br") {
      m_out.markup += L"<br>";
      m_lineStart = m_blank = true;
      return;
    } else if (tag == "hr") {
      m_out.markup += L"<hr>";
      m_lineStart = m_blank = true;
      return;
    } else if (tag == "img") {
      Image(node);
      return;
    } else if (tag == "li") {
      open = L"\x2022 ";
    }
    // Alignment of a block by its attribute.
    if (f.block && tag != "table") {
      const std::wstring align = AttributeText(node, "align");
      if (SameNoCase(align, L"center") || tag == "center") {
        open = L"<center>" + open;
        f.close += L"</center>";
      } else if (SameNoCase(align, L"right")) {
        open = L"<right>" + open;
        f.close += L"</right>";
      }
    }
    if (!asTable && tag != "li") {
      f.styleOpen = open;
      f.styleClose = f.close;
    }
    if (tag == "a") {
      if (node.FindAttribute("href") && m_out.links.size() < kMaxMarks) {
        Mark(MarkKind::kLink, m_out.links.size(), open, f.close, L"lk");
        m_out.links.push_back(const_cast<Node*>(&node));
      } else if (node.FindAttribute("name") && m_out.anchors.size() < kMaxMarks) {
        std::wstring close;
        Mark(MarkKind::kAnchor, m_out.anchors.size(), open, close, L"nu");
        open += L" " + close;
        m_out.anchors.push_back(const_cast<Node*>(&node));
        m_lineStart = m_blank = false;
      }
    }
    const std::wstring cls = SpanFor(d, asTable || (boxed && !overlay));
    if (!cls.empty()) {
      open += L"<span class=" + cls + L">";
      f.close = L"</span>" + f.close;
      f.styleOpen += L"<span class=" + cls + L">";
      f.styleClose = L"</span>" + f.styleClose;
    }
    if (!asTable && !boxed) BackgroundImage(d, open, f.close);
    if (IsWidget(node) && m_out.widgets.size() < kMaxMarks) {
      Mark(MarkKind::kWidget, m_out.widgets.size(), open, f.close, L"nu");
      m_out.widgets.push_back(const_cast<Node*>(&node));
      if (OwnControlType(node) == CTL_NUMERIC) {
        int size = Length(AttributeText(node, "size"), 0);
        open += std::wstring(static_cast<size_t>(std::min(12, std::max(3, size)) + 2), L'\x2003');
      } else {
        open += L"\x2003\x2002";
      }
      m_lineStart = m_blank = false;
    }
    if (boxed) OpenBox(box, overlay, parent, f, open);
    m_out.markup += open;
    if (tag == "li") m_lineStart = m_blank = false;
    m_stack.push_back(std::move(f));
  }

  static BoxStyle BodyBox(BoxStyle box) {
    for (int& m : box.margin) m = 0;
    box.width = -1;
    box.floating = BoxFloat::kNone;
    box.absolute = box.horizontal = false;
    return box;
  }

  // The ancestors' text styles, opened again inside a drawer cell, and
  // their closing tags.
  void StylesAround(std::wstring& reopen, std::wstring& reclose) const {
    for (const Frame& around : m_stack) reopen += around.styleOpen;
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) reclose += it->styleClose;
  }

  static std::wstring FourLengths(const int v[4], int extra) {
    std::wstring out = L"\"";
    for (int i = 0; i < 4; ++i) out += (i ? L" " : L"") + std::to_wstring(v[i] + extra);
    return out + L"\"";
  }

  static std::wstring SideColors(const BoxStyle& box) {
    std::wstring out = L" sidecolors=\"";
    for (int i = 0; i < 4; ++i) out += (i ? L" " : L"") + ColorText(box.borderColor[i]);
    return out + L"\"";
  }

  // The drawer cell that draws the box: its padding, background, border,
  // background image and first-line indent.
  std::wstring BoxCell(const BoxStyle& box, int width) const {
    std::wstring a = L"<td valign=top width=" + std::to_wstring(width);
    a += L" padding=" + FourLengths(box.padding, 0);
    if (box.hasBackground) a += L" bgcolor=" + ColorText(box.background) + L" bgeffect=solid";
    if (box.borderWidth > 0) {
      a += L" border=1 borderstyle=" + box.borderStyle + L" borderwidth=" + std::to_wstring(box.borderWidth) +
           L" bordercolor=" + ColorText(box.borderColor[0]);
      if (box.sideColors) a += SideColors(box);
    }
    if (box.radius > 0) a += L" radius=" + std::to_wstring(box.radius);
    if (!box.textIndent.empty()) a += L" indent=" + Quoted(box.textIndent);
    const std::wstring image = box.image.url.empty()
                                   ? std::wstring()
                                   : LocalImagePath(m_options.imageFolder, m_doc.baseUrl, box.image.url);
    if (!image.empty()) {
      a += L" bgimage=" + Quoted(image) + L" bgrepeat=" + Quoted(box.image.repeat) + L" bgposition=" +
           Quoted(box.image.position);
      if (!box.image.size.empty()) a += L" bgsize=" + Quoted(box.image.size);
    }
    return a + L">";
  }

  // Wraps the element's opening and closing in what draws its box: a
  // one-cell table (floating at a side, perhaps), a row whose cells its
  // children become, or an overlay of its own.
  void OpenBox(const BoxStyle& box, bool overlay, Frame& parent, Frame& f, std::wstring& open) {
    std::wstring reopen, reclose;
    StylesAround(reopen, reclose);
    f.boxed = true;
    if (overlay) {
      f.overlay = true;
      for (int i = 0; i < 4; ++i) f.place.offset[i] = box.offset[i];
      f.place.width = std::max(0, box.width);
      f.width = box.width > 0 ? box.width : parent.width;
      m_setAside += m_out.markup.size();
      f.saved = std::move(m_out.markup);
      m_out.markup.clear();
      f.savedLineStart = m_lineStart;
      f.savedBlank = m_blank;
      ++m_overlaysOpen;
      open = reopen + open;
      f.close += reclose;
      m_lineStart = m_blank = true;
      return;
    }
    const int width = std::max(1, box.width >= 0 ? box.width : parent.width - box.Horizontal());
    f.tables = parent.tables + 1;
    f.width = width;
    m_lineStart = m_blank = true;
    // A table takes the border and background of the cell it stands in
    // unless told otherwise.
    std::wstring table =
        L"<table cellspacing=0 cellpadding=0 border=0 bgeffect=transparent margin=" + FourLengths(box.margin, 0);
    // Text after a float flows beside it.
    if (box.floating != BoxFloat::kNone && !box.horizontal)
      table += box.floating == BoxFloat::kLeft ? L" float=left" : L" float=right";
    table += L">";
    if (box.horizontal) {
      f.horizontal = true;
      open = table + L"<tr>" + open;
      f.close += L"</tr></table>";
    } else {
      open = table + L"<tr>" + BoxCell(box, width) + reopen + open;
      f.close += reclose + L"</td></tr></table>";
    }
  }

  // Whether the child shows anything.
  bool Shows(const Node& node) {
    if (node.IsText()) {
      for (wchar_t c : node.text) {
        if (!IsBlankChar(c)) return true;
      }
      return false;
    }
    if (TagIn(node.tag, kSkipped)) return false;
    return !DeclarationsHide(m_styles.For(node));
  }

  // The drawer's image tag for a local image; empty when the page may not
  // show it.
  std::wstring ImageTag(const std::wstring& src, int w, int h) const {
    std::wstring path = LocalImagePath(m_options.imageFolder, m_doc.baseUrl, src);
    if (path.empty()) return path;
    const bool icon = path.size() > 4 && SameNoCase(path.substr(path.size() - 4), L".ico");
    std::wstring tag = icon ? L"<icon file=" : L"<bmp file=";
    tag += Quoted(path);
    if (w > 0) tag += L" width=" + std::to_wstring(std::min(w, 4096)) + L"px";
    if (h > 0) tag += L" height=" + std::to_wstring(std::min(h, 4096)) + L"px";
    return tag + L">";
  }

  void Image(const Node& node) {
    std::wstring tag = ImageTag(AttributeText(node, "src"), Length(AttributeText(node, "width"), 0),
                                Length(AttributeText(node, "height"), 0));
    if (tag.empty()) return;
    m_out.markup += tag;
    m_lineStart = m_blank = false;
  }

  // The background image of an inline element: tiled behind its text, or,
  // when it does not repeat (a link's icon), drawn once after its text when
  // placed at the right, else before it, at the size the style asks for.
  void BackgroundImage(const StyleDeclarations& d, std::wstring& open, std::wstring& close) {
    const BoxImage image = ReadBoxImage(d);
    if (image.url.empty()) return;
    if (image.repeat != L"no-repeat") {
      // Tiled behind the element's text.
      const std::wstring path = LocalImagePath(m_options.imageFolder, m_doc.baseUrl, image.url);
      if (path.empty() || path.find_first_of(L"{}\"") != std::wstring::npos) return;
      const std::wstring rule = L"background-image:\"" + path + L"\";background-repeat:" + image.repeat + L";";
      open += L"<span class=" + ClassFor(rule) + L">";
      close = L"</span>" + close;
      return;
    }
    int w = 0, h = 0;
    if (!image.size.empty()) {
      w = Length(image.size, 0);
      h = Length(image.size.substr(image.size.find(L' ') + 1), 0);
    }
    const std::wstring tag = ImageTag(image.url, w, h);
    if (tag.empty()) return;
    if (image.position.compare(0, 4, L"100%") == 0) close = tag + close;
    else open += tag;
  }

  void Leave(Frame& f) {
    // A break that ends a cell would only add an empty line.
    std::wstring& out = m_out.markup;
    const bool cellEnd = f.boxed || (f.close.size() >= 5 && f.close.compare(f.close.size() - 5, 5, L"</td>") == 0);
    if (cellEnd && out.size() >= 4 && out.compare(out.size() - 4, 4, L"<br>") == 0) out.resize(out.size() - 4);
    m_out.markup += f.close;
    if (f.overlay) {
      m_setAside = m_setAside - f.saved.size() + m_out.markup.size();
      f.place.markup = std::move(m_out.markup);
      m_out.markup = std::move(f.saved);
      m_out.overlays.push_back(std::move(f.place));
      --m_overlaysOpen;
      m_lineStart = f.savedLineStart;
      m_blank = f.savedBlank;
    } else if (f.close == L"</table>" || f.boxed) {
      m_lineStart = m_blank = true;
    } else if (f.block) {
      Break();
    }
  }

  // A child of a row laid out horizontally is a cell of its own.
  void EnterAsCell(const Node& child, Frame& f) {
    std::wstring reopen, reclose;
    StylesAround(reopen, reclose);
    m_out.markup += L"<td valign=top>" + reopen;
    m_lineStart = m_blank = true;
    const size_t before = m_stack.size();
    if (child.IsText()) Text(child.text, f.pre);
    else Enter(child, f);  // may grow m_stack: f is not used after this
    if (m_stack.size() > before) m_stack.back().close += reclose + L"</td>";
    else m_out.markup += reclose + L"</td>";
  }

  void Walk() {
    Frame top;
    top.node = nullptr;
    top.width = m_options.width;
    const Node* root = m_doc.Root();
    for (const Node* n : root->children) {
      if (n->tag == "body") {
        m_out.background = ColorOf(AttributeText(*n, "bgcolor"), m_out.background);
        if (const std::wstring* v = Find(m_styles.For(*n), L"background-color")) m_out.background = ColorOf(*v, m_out.background);
      }
    }
    Enter(*root, top);
    while (!m_stack.empty() && !Full()) {
      Frame& f = m_stack.back();
      if (f.next >= f.node->children.size()) {
        Frame done = std::move(m_stack.back());
        m_stack.pop_back();
        Leave(done);
        continue;
      }
      const Node* child = f.node->children[f.next++];
      if (f.horizontal) {
        if (Shows(*child)) EnterAsCell(*child, f);
        continue;
      }
      if (child->IsText()) {
        const std::string& ptag = f.node->tag;
        bool betweenCells = f.tables > 0 && (ptag == "table" || ptag == "tr" || ptag == "tbody" ||
                                             ptag == "thead" || ptag == "tfoot");
        if (!betweenCells) Text(child->text, f.pre);
        continue;
      }
      Enter(*child, f);  // may grow m_stack: f is not used after this
    }
    // Cut short: whatever is open still closes, so the drawer's frames balance.
    while (!m_stack.empty()) {
      Frame done = std::move(m_stack.back());
      m_stack.pop_back();
      Leave(done);
    }
  }

  static const size_t kMaxMarks = 100000;

  const Document& m_doc;
  const MarkupOptions& m_options;
  PageMarkup& m_out;
  PageStyles m_styles;
  std::unordered_map<std::wstring, std::wstring> m_spanClasses;  // rule text -> class
  std::wstring m_sheet;
  std::vector<Frame> m_stack;
  size_t m_classes = 0;
  size_t m_overlaysOpen = 0;
  size_t m_setAside = 0;
  size_t m_cells = 0;
  bool m_lineStart = true;
  bool m_blank = true;
};

}  // namespace

PageMarkup TranslateDocument(const Document& doc, const MarkupOptions& options) {
  PageMarkup out;
  Translator(doc, options, out).Run();
  return out;
}

bool ParseMark(const std::wstring& text, MarkKind& kind, size_t& index) {
  if (text.size() < 2 || text.size() > 8) return false;
  wchar_t k = text[0];
  if (k != L'l' && k != L'n' && k != L'w') return false;
  size_t v = 0;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    v = v * 10 + (text[i] - L'0');
  }
  kind = static_cast<MarkKind>(k);
  index = v;
  return true;
}

}  // namespace hl
