#include "platform/htmlayout/render/page_boxes.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "htmldraw/named_colors.h"

namespace hl {
namespace {

bool IsBlankChar(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

std::wstring Lower(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) out += static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
  return out;
}

// The blank-separated words of a value ("solid 1px forestgreen").
std::vector<std::wstring> Words(const std::wstring& value) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < value.size() && words.size() < 8) {
    while (i < value.size() && IsBlankChar(value[i])) ++i;
    size_t start = i;
    while (i < value.size() && !IsBlankChar(value[i])) ++i;
    if (i > start) words.push_back(value.substr(start, i - start));
  }
  return words;
}

// One to four lengths, as CSS spreads them over top, right, bottom, left.
void Sides(const std::wstring& value, int base, int out[4]) {
  std::vector<int> v;
  for (const std::wstring& w : Words(value)) {
    int n = PageLength(w, base);
    if (n < 0 && Lower(w) != L"auto") return;
    v.push_back(std::max(n, 0));
  }
  if (v.empty() || v.size() > 4) return;
  const int top = v[0], right = v.size() > 1 ? v[1] : top, bottom = v.size() > 2 ? v[2] : top,
            left = v.size() > 3 ? v[3] : right;
  out[0] = top, out[1] = right, out[2] = bottom, out[3] = left;
}

int SideIndex(const std::wstring& name, const wchar_t* prefix) {
  static const wchar_t* const kSides[] = {L"top", L"right", L"bottom", L"left"};
  const size_t n = wcslen(prefix);
  if (name.compare(0, n, prefix) != 0) return -1;
  for (int i = 0; i < 4; ++i) {
    if (name.compare(n, std::wstring::npos, kSides[i]) == 0) return i;
  }
  return -1;
}

bool IsBorderStyle(const std::wstring& w) {
  return w == L"solid" || w == L"dotted" || w == L"dashed" || w == L"double" || w == L"groove" ||
         w == L"ridge" || w == L"inset" || w == L"outset";
}

// The style the drawer draws for a CSS border style (the 3-D ones solid).
std::wstring DrawnBorderStyle(const std::wstring& w) {
  return w == L"dotted" || w == L"dashed" || w == L"double" ? w : L"solid";
}

// A text indent as the drawer reads it: a percentage worked out here,
// other units (em, pt...) left to the drawer, which knows the font.
std::wstring IndentText(const std::wstring& value, int base) {
  const int pixels = PageLength(value, base);
  if (pixels <= 0) return std::wstring();
  if (value.find(L'%') != std::wstring::npos) return std::to_wstring(pixels);
  std::wstring out;
  for (wchar_t c : value) {
    if (((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || c == L'.') && out.size() < 16) out += c;
  }
  return out;
}

// One position word as the drawer reads it: keywords as percentages,
// lengths in pixels; empty when unreadable.
std::wstring PositionWord(const std::wstring& w) {
  if (w == L"left" || w == L"top") return L"0%";
  if (w == L"center") return L"50%";
  if (w == L"right" || w == L"bottom") return L"100%";
  if (!w.empty() && w.back() == L'%') {
    const int percent = PageLength(w, 100);
    return percent >= 0 ? std::to_wstring(std::min(percent, 1000)) + L"%" : std::wstring();
  }
  const int n = PageLength(w, 0);
  return n >= 0 ? std::to_wstring(n) : std::wstring();
}

// "right 2px", "top left", "50% 10px"...: horizontal, then vertical.
std::wstring PositionText(const std::vector<std::wstring>& words) {
  if (words.empty()) return L"0 0";
  std::wstring first = words[0], second = words.size() > 1 ? words[1] : L"center";
  // A vertical keyword first, or a horizontal one second, swaps them.
  if (first == L"top" || first == L"bottom" || second == L"left" || second == L"right") std::swap(first, second);
  const std::wstring x = PositionWord(first), y = PositionWord(second);
  return x.empty() || y.empty() ? L"0 0" : x + L" " + y;
}

bool IsRepeat(const std::wstring& w) {
  return w == L"repeat" || w == L"repeat-x" || w == L"repeat-y" || w == L"no-repeat";
}

bool IsPositionWord(const std::wstring& w) {
  return w == L"left" || w == L"right" || w == L"top" || w == L"bottom" || w == L"center" || PageLength(w, 0) >= 0;
}

// The address inside url(...), quotes and blanks dropped.
std::wstring UrlOf(const std::wstring& value) {
  const size_t start = Lower(value).find(L"url(");
  const size_t end = start == std::wstring::npos ? start : value.find(L')', start);
  if (end == std::wstring::npos) return std::wstring();
  std::wstring src = value.substr(start + 4, end - start - 4);
  src.erase(std::remove_if(src.begin(), src.end(), [](wchar_t c) { return c == L'"' || c == L'\'' || IsBlankChar(c); }),
            src.end());
  return src;
}

}  // namespace

int PageLength(const std::wstring& value, int base) {
  const wchar_t* s = value.c_str();
  while (IsBlankChar(*s)) ++s;
  if (*s < L'0' || *s > L'9') return -1;
  long long v = 0;
  for (; *s >= L'0' && *s <= L'9'; ++s) v = std::min<long long>(v * 10 + (*s - L'0'), 1 << 24);
  while (*s == L'.' || (*s >= L'0' && *s <= L'9')) ++s;
  if (*s == L'%') return base > 0 ? static_cast<int>(std::min<long long>(v, 1000) * base / 100) : -1;
  return static_cast<int>(v);
}

COLORREF PageColor(const std::wstring& value, COLORREF otherwise) {
  static const NamedColorTable names;
  std::wstring v;
  for (wchar_t c : value) {
    if (!IsBlankChar(c)) v += static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
  }
  if ((v.size() == 7 || v.size() == 4) && v[0] == L'#') {
    wchar_t* end = nullptr;
    unsigned long rgb = wcstoul(v.c_str() + 1, &end, 16);
    if (!end || *end) return otherwise;
    if (v.size() == 4) return RGB(((rgb >> 8) & 0xF) * 17, ((rgb >> 4) & 0xF) * 17, (rgb & 0xF) * 17);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  }
  COLORREF color;
  return names.Find(v, color) ? color : otherwise;
}

bool BoxStyle::Drawn() const {
  for (int i = 0; i < 4; ++i) {
    if (margin[i] > 0 || padding[i] > 0) return true;
  }
  return borderWidth > 0 || hasBackground || width >= 0 || floating != BoxFloat::kNone || absolute ||
         horizontal || !textIndent.empty() || !image.url.empty();
}

BoxStyle ReadBoxStyle(const StyleDeclarations& declarations, int parentWidth) {
  BoxStyle box;
  const COLORREF kNone = 0xFFFFFFFF;
  int width = -1;
  bool styled = false;
  COLORREF colors[4] = {kNone, kNone, kNone, kNone};
  for (const auto& [name, raw] : declarations) {
    const std::wstring value = Lower(raw);
    int side;
    if (name == L"margin") Sides(value, parentWidth, box.margin);
    else if ((side = SideIndex(name, L"margin-")) >= 0) box.margin[side] = std::max(0, PageLength(value, parentWidth));
    else if (name == L"padding") Sides(value, parentWidth, box.padding);
    else if ((side = SideIndex(name, L"padding-")) >= 0) box.padding[side] = std::max(0, PageLength(value, parentWidth));
    else if (name == L"border") {
      // "solid 1px black" in any order; a missing width is medium (1 here).
      width = 1;
      styled = false;
      for (const std::wstring& w : Words(value)) {
        if (IsBorderStyle(w)) styled = true, box.borderStyle = DrawnBorderStyle(w);
        else if (w == L"none") styled = false, width = 0;
        else if (PageLength(w, 0) >= 0) width = PageLength(w, 0);
        else colors[0] = colors[1] = colors[2] = colors[3] = PageColor(w, colors[0]);
      }
    } else if (name == L"border-width") width = PageLength(value, 0);
    else if (name == L"border-style") {
      const std::wstring w = Words(value).empty() ? value : Words(value)[0];
      styled = IsBorderStyle(w);
      box.borderStyle = DrawnBorderStyle(w);
    }
    else if (name == L"border-color") colors[0] = colors[1] = colors[2] = colors[3] = PageColor(value, kNone);
    else if (name.size() > 13 && name.compare(name.size() - 6, 6, L"-color") == 0 &&
             (side = SideIndex(name.substr(0, name.size() - 6), L"border-")) >= 0)
      colors[side] = PageColor(value, colors[side]);
    else if (name == L"border-radius") box.radius = std::max(0, PageLength(value, 0));
    else if (name == L"background-color" || name == L"background") {
      COLORREF c = PageColor(Words(value).empty() ? value : Words(value)[0], kNone);
      box.hasBackground = c != kNone;
      if (c != kNone) box.background = c;
    } else if (name == L"width") box.width = PageLength(value, parentWidth);
    else if (name == L"text-indent") box.textIndent = IndentText(value, parentWidth);
    else if (name == L"float")
      box.floating = value == L"left" ? BoxFloat::kLeft : value == L"right" ? BoxFloat::kRight : BoxFloat::kNone;
    else if (name == L"position") box.absolute = value == L"absolute" || value == L"fixed";
    else if ((side = SideIndex(name, L"")) >= 0) box.offset[side] = PageLength(value, parentWidth);
    else if (name == L"flow") box.horizontal = value == L"horizontal";
  }
  if (styled && width != 0) {
    box.borderWidth = std::min(width < 0 ? 1 : width, 100);
    if (box.borderStyle.empty()) box.borderStyle = L"solid";
    if (box.borderStyle == L"double") box.borderWidth = 3;  // two lines of one pixel, as the drawer's tables
    COLORREF first = colors[0] == kNone ? RGB(0, 0, 0) : colors[0];
    for (int i = 0; i < 4; ++i) {
      box.borderColor[i] = colors[i] == kNone ? first : colors[i];
      box.sideColors = box.sideColors || box.borderColor[i] != box.borderColor[0];
    }
  }
  // Nothing reaches past what the page can hold.
  const int kMax = 1 << 15;
  for (int i = 0; i < 4; ++i) {
    box.margin[i] = std::min(box.margin[i], kMax);
    box.padding[i] = std::min(box.padding[i], kMax);
  }
  box.radius = std::min(box.radius, 1000);
  box.width = std::min(box.width, kMax);
  box.image = ReadBoxImage(declarations);
  return box;
}

BoxImage ReadBoxImage(const StyleDeclarations& declarations) {
  BoxImage image;
  std::vector<std::wstring> position;
  for (const auto& [name, raw] : declarations) {
    if (name.compare(0, 10, L"background") != 0) continue;
    const std::wstring value = Lower(raw);
    if (name == L"background") {
      // "url(a.png) no-repeat right 2px": the address, a repeat keyword and
      // the position words in any order.
      image = BoxImage();
      position.clear();
      image.url = UrlOf(raw);
      for (const std::wstring& w : Words(value)) {
        if (IsRepeat(w)) image.repeat = w;
        else if (w.find(L"url(") == std::wstring::npos && IsPositionWord(w)) position.push_back(w);
      }
    } else if (name == L"background-image") image.url = UrlOf(raw);
    else if (name == L"background-repeat") image.repeat = IsRepeat(value) ? value : L"repeat";
    else if (name == L"background-position") position = Words(value);
    else if (name == L"background-size") {
      const std::vector<std::wstring> w = Words(value);
      const int cx = w.empty() ? -1 : PageLength(w[0], 0), cy = w.size() > 1 ? PageLength(w[1], 0) : cx;
      image.size = cx > 0 && cy > 0 ? std::to_wstring(std::min(cx, 4096)) + L" " + std::to_wstring(std::min(cy, 4096))
                                    : std::wstring();
    }
  }
  if (!image.url.empty()) image.position = PositionText(position);
  return image;
}

}  // namespace hl
