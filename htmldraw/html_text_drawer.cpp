#include "htmldraw/html_text_drawer.h"

#include "htmldraw/link_open.h"
#include "htmldraw/markup_prepare.h"

CHtmlTextDrawer::CHtmlTextDrawer() {
  LoadDefaultCursor();
  SetImageShadow(4, 4, 50, true, 7, 7);
  SetDefaultStyleSheet();
  SetDisabledColor(GetSysColor(COLOR_BTNSHADOW));
}

CHtmlTextDrawer::~CHtmlTextDrawer() {
  FreeResourceModule();
  if (m_cursor) DestroyCursor(m_cursor);
}

void CHtmlTextDrawer::LoadDefaultCursor() {
  if (m_cursor) DestroyCursor(m_cursor);
  // A copy, so that the drawer may destroy it like one the owner gave.
  m_cursor = nullptr;
  if (HCURSOR hand = LoadCursorW(nullptr, IDC_HAND)) {
    m_cursor = CopyCursor(hand);
    return;
  }
  wchar_t windows[MAX_PATH] = {};
  UINT len = GetWindowsDirectoryW(windows, MAX_PATH);
  if (len == 0 || len >= MAX_PATH - 16) return;
  std::wstring helper = std::wstring(windows) + L"\\winhlp32.exe";
  HMODULE module = LoadLibraryExW(helper.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return;
  if (HCURSOR old = LoadCursorW(module, MAKEINTRESOURCEW(106))) m_cursor = CopyCursor(old);
  FreeLibrary(module);
}

void CHtmlTextDrawer::SetHandCursor(HCURSOR cursor) {
  if (!cursor) {
    LoadDefaultCursor();
    return;
  }
  if (m_cursor && m_cursor != cursor) DestroyCursor(m_cursor);
  m_cursor = cursor;
}

void CHtmlTextDrawer::SetNotify(HWND window, UINT message, LPARAM param) {
  m_notifyWindow = window;
  m_notifyMessage = window ? message : 0;
  m_notifyParam = window ? param : 0;
}

void CHtmlTextDrawer::SetLinkMessage(HWND window, UINT message, LPARAM param) {
  m_linkWindow = window;
  m_linkMessage = message;
  m_linkParam = param;
}

void CHtmlTextDrawer::SetImageShadow(int offsetX, int offsetY, int darkness, bool soft, int blurX, int blurY) {
  auto clamp = [](int v, int low, int high) { return v < low ? low : (v > high ? high : v); };
  m_shadowX = clamp(offsetX, -1000, 1000);
  m_shadowY = clamp(offsetY, -1000, 1000);
  m_shadowDarkness = clamp(darkness, 0, 100);
  m_shadowSoft = soft;
  m_shadowBlurX = clamp(blurX, 0, 1000);
  m_shadowBlurY = clamp(blurY, 0, 1000);
  int level = 255 * (100 - m_shadowDarkness) / 100;
  m_shadowColor = RGB(level, level, level);
}

void CHtmlTextDrawer::SetImageList(HIMAGELIST list, int iconWidth, int iconHeight) {
  m_imageList = list;
  m_iconWidth = iconWidth;
  m_iconHeight = iconHeight;
}

void CHtmlTextDrawer::FreeResourceModule() {
  if (m_resourceModule && m_ownsResourceModule) FreeLibrary(m_resourceModule);
  m_resourceModule = nullptr;
  m_ownsResourceModule = false;
}

void CHtmlTextDrawer::SetResourceModule(HMODULE module) {
  FreeResourceModule();
  m_resourceModule = module;
}

bool CHtmlTextDrawer::LoadResourceModule(const wchar_t* path) {
  FreeResourceModule();
  if (!path || !*path) return false;
  m_resourceModule = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  m_ownsResourceModule = m_resourceModule != nullptr;
  return m_ownsResourceModule;
}

SIZE CHtmlTextDrawer::Measure(HDC dc, const wchar_t* text) {
  SIZE size = {0, 0};
  if (!dc) return size;
  SetTextJustification(dc, 0, 0);
  std::wstring raw = text ? text : L"";
  if (raw.size() > kMaxTextChars) raw.resize(kMaxTextChars);
  m_prepared = PrepareMarkupText(raw, m_multiLine, m_entities);
  // The lists of an earlier text never outlive it.
  m_lines.clear();
  m_links.clear();
  m_animations.clear();
  if (m_prepared.empty()) return size;
  RECT area = {0, 0, m_maxWidth, 0};
  size = Layout(dc, area, Pass::kMeasure);
  if (size.cx == 0 && size.cy == 0) m_prepared.clear();
  if (m_maxWidth > 0 && size.cx > m_maxWidth) size.cx = m_maxWidth;
  ++size.cx;
  ++size.cy;
  return size;
}

void CHtmlTextDrawer::Draw(HDC dc, const RECT& rect) {
  // Every draw lays its links out anew: areas of an earlier draw (perhaps at
  // another place) would answer clicks with the wrong link.
  m_links.clear();
  if (!dc || m_prepared.empty()) return;
  Layout(dc, rect, Pass::kDraw);
  SetTextJustification(dc, 0, 0);
}

const HtmlLinkArea* CHtmlTextDrawer::LinkAt(POINT point) const {
  for (const HtmlLinkArea& area : m_links) {
    if (point.x >= area.rect.left && point.x <= area.rect.right && point.y >= area.rect.top &&
        point.y <= area.rect.bottom)
      return &area;
  }
  return nullptr;
}

bool CHtmlTextDrawer::OnSetCursor(POINT point) {
  const HtmlLinkArea* area = LinkAt(point);
  int index = area ? area->index : kNoLink;
  if (index != m_hovered) {
    m_hovered = index;
    if (m_notifyWindow) SendMessageW(m_notifyWindow, m_notifyMessage, static_cast<WPARAM>(index), m_notifyParam);
  }
  if (area && !area->target.empty() && m_cursor) {
    SetCursor(m_cursor);
    return true;
  }
  return false;
}

void CHtmlTextDrawer::OnClick(POINT point) {
  const HtmlLinkArea* area = LinkAt(point);
  if (!area || area->target.empty()) return;
  // A copy: the receiver of a msg link may redraw, which rebuilds the areas.
  std::wstring target = area->target;
  if (area->kind == kLinkHref) {
    // The link cursor is loaded again for each link that opens.
    LoadDefaultCursor();
    OpenLinkTarget(target);
  } else if (area->kind == kLinkMsg && m_linkWindow) {
    SendMessageW(m_linkWindow, m_linkMessage, reinterpret_cast<WPARAM>(target.c_str()), m_linkParam);
  }
}

bool CHtmlTextDrawer::OnTimer() {
  bool changed = false;
  for (HtmlAnimation& a : m_animations) {
    if (a.count <= 0) continue;
    if (++a.tick >= a.speed) {
      a.tick = 0;
      a.frame = a.frame + 1 >= a.count ? 0 : a.frame + 1;
      changed = true;
    }
  }
  return changed;
}

std::wstring CHtmlTextDrawer::LoadStringLine(UINT id, int line) {
  const wchar_t* text = nullptr;
  // A length of 0 asks for a pointer to the resource itself (not terminated).
  int len = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (len <= 0 || !text || line < 0) return {};
  std::wstring all(text, static_cast<size_t>(len));
  size_t start = 0;
  for (int i = 0; i < line; ++i) {
    size_t lf = all.find(L'\n', start);
    if (lf == std::wstring::npos) return {};
    start = lf + 1;
  }
  size_t end = all.find(L'\n', start);
  return all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}
