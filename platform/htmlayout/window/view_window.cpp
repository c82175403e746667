#include "platform/htmlayout/window/view_window.h"

#include <windowsx.h>

#include <algorithm>

#include "foundation/system/handles.h"
#include "foundation/system/test_switches.h"
#include "platform/htmlayout/controls.h"
#include "platform/htmlayout/view.h"
#include "platform/htmlayout/window/view_events.h"

namespace hl {
namespace {

// Sent to itself when an element changed on another thread.
const UINT kSyncWidgetsMessage = WM_USER + 0x301;

bool ClickByHrefAllowed() { return IsTestSwitchOn(kClickByHrefTestSwitch); }

}  // namespace

ViewWindow::ViewWindow(View& view) : m_view(view), m_hwnd(view.Window()), m_widgets(view.Window()) {
  // The page's references were resolved when it was read; its text is drawn
  // as it stands.
  m_drawer.SetEntities(false);
}

void ViewWindow::DocumentReplaced() {
  m_widgets.Clear();
  m_page = PageMarkup();
  m_overlays.clear();
  m_areas.clear();
  m_pressing = false;
  m_focusLink = kNoFocus;
  m_scrollY = 0;
  m_dirty = true;
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

void ViewWindow::ElementChanged(const Node* node) {
  DWORD pid = 0;
  if (GetWindowThreadProcessId(m_hwnd, &pid) == GetCurrentThreadId()) m_widgets.Sync(node);
  else PostMessageW(m_hwnd, kSyncWidgetsMessage, 0, 0);
  PageChanged();
}

void ViewWindow::PageChanged() {
  m_dirty = true;
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

int ViewWindow::ClientHeight() const {
  RECT rc;
  GetClientRect(m_hwnd, &rc);
  return rc.bottom - rc.top;
}

void ViewWindow::Layout() {
  RECT rc;
  GetClientRect(m_hwnd, &rc);
  const int width = std::max<int>(1, rc.right - rc.left);
  if (!m_dirty && width == m_layoutWidth) return;
  m_dirty = false;
  m_layoutWidth = width;
  const Document* doc = m_view.Doc();
  MarkupOptions options;
  options.imageFolder = ImageFolderOf(doc->baseUrl);
  options.width = std::max(1, width - 2 * kMargin);
  m_page = TranslateDocument(*doc, options);
  if (m_focusLink >= m_page.links.size()) m_focusLink = kNoFocus;
  m_drawer.SetStyleSheet(m_page.styleSheet.c_str());
  m_drawer.SetMaxWidth(options.width);
  m_areas.clear();
  m_overlays.clear();
  m_docHeight = 0;
  // Lay out and draw once into a one-pixel bitmap: the drawn link areas say
  // where each link, anchor and widget lies in the document.
  HDC screen = GetDC(m_hwnd);
  UniqueMemoryDC dc(CreateCompatibleDC(screen));
  HBITMAP pixel = CreateCompatibleBitmap(screen, 1, 1);
  ReleaseDC(m_hwnd, screen);
  if (dc && pixel) {
    HGDIOBJ old = SelectObject(dc.Get(), pixel);
    m_drawArea = {kMargin, kMargin, kMargin + options.width, kMargin};
    SIZE size = LayoutMarkup(m_drawer, dc.Get(), m_page.markup, m_drawArea);
    m_docHeight = static_cast<int>(std::min<long long>(2LL * kMargin + size.cy, CHtmlTextDrawer::kMaxExtent));
    LayoutOverlays(dc.Get(), width);
    SelectObject(dc.Get(), old);
  }
  if (pixel) DeleteObject(pixel);
  UpdateScrollBar();
  PlaceWidgets();
}

SIZE ViewWindow::LayoutMarkup(CHtmlTextDrawer& drawer, HDC dc, const std::wstring& markup, RECT& where) {
  SIZE size = drawer.Measure(dc, markup.c_str());
  where.right = std::max<LONG>(where.right, where.left + size.cx);
  where.bottom = where.top + size.cy;
  drawer.Draw(dc, where);
  for (const HtmlLinkArea& a : drawer.LinkAreas()) {
    Area area;
    if (a.kind != kLinkMsg || !ParseMark(a.target, area.kind, area.index)) continue;
    area.rect = a.rect;
    m_areas.push_back(area);
  }
  return size;
}

// An absolute element stands at its offsets from the edges of the page,
// which is at least as tall as the window.
void ViewWindow::LayoutOverlays(HDC dc, int width) {
  const int height = std::max(m_docHeight, ClientHeight());
  for (const PageOverlay& place : m_page.overlays) {
    Overlay o;
    o.drawer = std::make_unique<CHtmlTextDrawer>();
    o.drawer->SetEntities(false);
    o.drawer->SetStyleSheet(m_page.styleSheet.c_str());
    const int most = std::max(1, width - 2 * kMargin);
    o.drawer->SetMaxWidth(place.width > 0 ? std::min(place.width, most) : most);
    SIZE size = o.drawer->Measure(dc, place.markup.c_str());
    const int w = place.width > 0 ? std::min(place.width, most) : static_cast<int>(size.cx);
    const int h = static_cast<int>(size.cy);
    const int* off = place.offset;
    const int x = off[3] >= 0 ? off[3] : off[1] >= 0 ? width - off[1] - w : kMargin;
    const int y = off[0] >= 0 ? off[0] : off[2] >= 0 ? height - off[2] - h : kMargin;
    o.rect = {x, y, x + w, y};
    LayoutMarkup(*o.drawer, dc, place.markup, o.rect);
    m_overlays.push_back(std::move(o));
  }
}

void ViewWindow::UpdateScrollBar() {
  const int page = std::max(1, ClientHeight());
  m_scrollY = std::max(0, std::min(m_scrollY, m_docHeight - page));
  SCROLLINFO si = {sizeof(si)};
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, m_docHeight - 1);
  si.nPage = static_cast<UINT>(page);
  si.nPos = m_scrollY;
  SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
}

void ViewWindow::PlaceWidgets() {
  std::vector<RECT> rects(m_page.widgets.size(), RECT{0, 0, 0, 0});
  for (const Area& a : m_areas) {
    if (a.kind != MarkKind::kWidget || a.index >= rects.size()) continue;
    RECT r = a.rect;
    OffsetRect(&r, 0, -m_scrollY);
    RECT& u = rects[a.index];
    if (IsRectEmpty(&u)) u = r;
    else if (r.top == u.top) UnionRect(&u, &u, &r);  // the first line only
  }
  m_widgets.Place(m_page.widgets, rects);
}

void ViewWindow::ScrollTo(int y) {
  Layout();
  const int page = std::max(1, ClientHeight());
  y = std::max(0, std::min(y, m_docHeight - page));
  if (y == m_scrollY) return;
  m_scrollY = y;
  UpdateScrollBar();
  PlaceWidgets();
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

bool ViewWindow::ScrollToAnchor(const std::wstring& name) {
  Layout();
  for (const Area& a : m_areas) {
    const std::vector<Node*>& nodes = a.kind == MarkKind::kAnchor ? m_page.anchors : m_page.links;
    if (a.kind == MarkKind::kWidget || a.index >= nodes.size()) continue;
    const Attribute* n = nodes[a.index]->FindAttribute("name");
    if (!n || n->value != name) continue;
    ScrollTo(a.rect.top - kMargin);
    return true;
  }
  return false;
}

Node* ViewWindow::Body() const {
  Node* root = m_view.Doc()->Root();
  for (Node* n : root->children) {
    if (n->tag == "body") return n;
  }
  return root;
}

Node* ViewWindow::ElementAt(POINT client, const Area** found) {
  Layout();
  *found = nullptr;
  POINT pt = {client.x, client.y + m_scrollY};
  for (const Area& a : m_areas) {
    if (pt.x < a.rect.left || pt.x > a.rect.right || pt.y < a.rect.top || pt.y > a.rect.bottom) continue;
    const std::vector<Node*>& nodes = a.kind == MarkKind::kLink     ? m_page.links
                                      : a.kind == MarkKind::kWidget ? m_page.widgets
                                                                    : m_page.anchors;
    if (a.index >= nodes.size() || a.kind == MarkKind::kAnchor) continue;
    *found = &a;
    return nodes[a.index];
  }
  return Body();
}

void ViewWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  PaintInto(dc);
  EndPaint(m_hwnd, &ps);
}

void ViewWindow::PaintInto(HDC dc) {
  Layout();
  RECT rc;
  GetClientRect(m_hwnd, &rc);
  const int w = std::max<int>(1, rc.right), h = std::max<int>(1, rc.bottom);
  UniqueMemoryDC mem(CreateCompatibleDC(dc));
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  if (mem && bitmap) {
    HGDIOBJ old = SelectObject(mem.Get(), bitmap);
    HBRUSH back = CreateSolidBrush(m_page.background);
    FillRect(mem.Get(), &rc, back ? back : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (back) DeleteObject(back);
    // The page is drawn in document coordinates; the origin scrolls.
    SetViewportOrgEx(mem.Get(), 0, -m_scrollY, nullptr);
    m_drawer.Draw(mem.Get(), m_drawArea);
    for (Overlay& o : m_overlays) o.drawer->Draw(mem.Get(), o.rect);
    DrawLinkFocus(mem.Get());
    SetViewportOrgEx(mem.Get(), 0, 0, nullptr);
    BitBlt(dc, 0, 0, w, h, mem.Get(), 0, 0, SRCCOPY);
    SelectObject(mem.Get(), old);
  }
  if (bitmap) DeleteObject(bitmap);
}

void ViewWindow::OnScroll(UINT code) {
  const int page = std::max(1, ClientHeight());
  int y = m_scrollY;
  switch (code) {
    case SB_LINEUP: y -= kLineStep; break;
    case SB_LINEDOWN: y += kLineStep; break;
    case SB_PAGEUP: y -= page; break;
    case SB_PAGEDOWN: y += page; break;
    case SB_TOP: y = 0; break;
    case SB_BOTTOM: y = m_docHeight; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
      if (GetScrollInfo(m_hwnd, SB_VERT, &si)) y = si.nTrackPos;
      break;
    }
    default: return;
  }
  ScrollTo(y);
}

bool ViewWindow::NextLink(bool back, size_t* index) const {
  const size_t n = m_page.links.size();
  if (n == 0) return false;
  if (m_focusLink >= n) *index = back ? n - 1 : 0;
  else if (back ? m_focusLink == 0 : m_focusLink + 1 >= n) return false;
  else *index = back ? m_focusLink - 1 : m_focusLink + 1;
  return true;
}

void ViewWindow::FocusLink(size_t index) {
  m_focusLink = index;
  // The link scrolls into sight.
  for (const Area& a : m_areas) {
    if (a.kind != MarkKind::kLink || a.index != index) continue;
    const int page = std::max(1, ClientHeight());
    if (a.rect.top < m_scrollY) ScrollTo(a.rect.top - kMargin);
    else if (a.rect.bottom > m_scrollY + page) ScrollTo(a.rect.bottom + kMargin - page);
    break;
  }
  InvalidateRect(m_hwnd, nullptr, FALSE);
}

void ViewWindow::DrawLinkFocus(HDC dc) {
  if (m_focusLink == kNoFocus || GetFocus() != m_hwnd) return;
  for (const Area& a : m_areas) {
    if (a.kind != MarkKind::kLink || a.index != m_focusLink) continue;
    RECT r = a.rect;
    InflateRect(&r, 1, 1);
    DrawFocusRect(dc, &r);
  }
}

// Tab stays in the view while a link lies ahead in its direction; Enter
// while a link has the focus. Everything else of the dialog's keys stays
// with the dialog.
UINT ViewWindow::DialogCode(const MSG* msg) {
  UINT code = DLGC_WANTARROWS;
  if (!msg || msg->message != WM_KEYDOWN) return code;
  Layout();
  size_t next;
  if (msg->wParam == VK_TAB && NextLink(GetKeyState(VK_SHIFT) < 0, &next)) code |= DLGC_WANTTAB;
  if (msg->wParam == VK_RETURN && m_focusLink < m_page.links.size()) code |= DLGC_WANTMESSAGE;
  return code;
}

void ViewWindow::OnButtonDown(POINT pt, UINT keys) {
  if (GetFocus() != m_hwnd) SetFocus(m_hwnd);
  const HWND hwnd = m_hwnd;
  const Area* area = nullptr;
  Node* target = ElementAt(pt, &area);
  const bool onControl = area != nullptr;
  const MarkKind kind = area ? area->kind : MarkKind::kLink;
  const size_t index = area ? area->index : 0;
  POINT doc = {pt.x, pt.y + m_scrollY};
  DispatchEnd end = DispatchMouse(hwnd, MOUSE_DOWN, target, doc, MAIN_MOUSE_BUTTON, keys);
  // Gone: the handler reloaded or destroyed the view; this object may be too.
  if (end != DispatchEnd::kUnhandled || !onControl) return;
  m_pressing = true;
  m_pressedKind = kind;
  m_pressedIndex = index;
  SetCapture(hwnd);
}

void ViewWindow::OnButtonUp(POINT pt, UINT keys) {
  const HWND hwnd = m_hwnd;
  const bool pressing = m_pressing;
  m_pressing = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  const Area* area = nullptr;
  Node* target = ElementAt(pt, &area);
  POINT doc = {pt.x, pt.y + m_scrollY};
  const bool same = pressing && area && area->kind == m_pressedKind && area->index == m_pressedIndex;
  if (DispatchMouse(hwnd, MOUSE_UP, target, doc, MAIN_MOUSE_BUTTON, keys) == DispatchEnd::kGone) return;
  if (!same) return;
  // The dispatch may have changed the page: look again.
  target = ElementAt(pt, &area);
  if (!area || area->kind != m_pressedKind || area->index != m_pressedIndex) return;
  if (area->kind == MarkKind::kLink) {
    ClickLink(hwnd, target);
  } else if (HWND box = m_widgets.CheckBoxOf(target)) {
    if (IsWindowEnabled(box)) SendMessageW(box, BM_CLICK, 0, 0);
  }
}

LRESULT ViewWindow::OnClickByHref(LPARAM atom) {
  if (!ClickByHrefAllowed()) return 0;
  wchar_t href[256] = {};
  if (!GlobalGetAtomNameW(static_cast<ATOM>(atom), href, 256)) return 0;
  Layout();
  for (Node* link : m_page.links) {
    const Attribute* a = link->FindAttribute("href");
    if (!a || a->value != href) continue;
    ClickLink(m_hwnd, link);
    return 1;
  }
  return 0;
}

bool ViewWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  static const UINT clickByHref = RegisterWindowMessageW(kClickByHrefMessage);
  result = 0;
  switch (msg) {
    case WM_PAINT: Paint(); return true;
    case WM_PRINTCLIENT: PaintInto(reinterpret_cast<HDC>(wParam)); return true;
    case WM_ERASEBKGND: result = 1; return true;
    case WM_SIZE:
      Layout();
      UpdateScrollBar();
      PlaceWidgets();
      InvalidateRect(m_hwnd, nullptr, FALSE);
      return true;
    case WM_VSCROLL: OnScroll(LOWORD(wParam)); return true;
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      ScrollTo(m_scrollY - delta * 3 * kLineStep / WHEEL_DELTA);
      return true;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP: OnScroll(SB_LINEUP); return true;
        case VK_DOWN: OnScroll(SB_LINEDOWN); return true;
        case VK_PRIOR: OnScroll(SB_PAGEUP); return true;
        case VK_NEXT: OnScroll(SB_PAGEDOWN); return true;
        case VK_HOME: OnScroll(SB_TOP); return true;
        case VK_END: OnScroll(SB_BOTTOM); return true;
        case VK_TAB: {
          Layout();
          size_t next;
          if (NextLink(GetKeyState(VK_SHIFT) < 0, &next)) FocusLink(next);
          else FocusLink(kNoFocus);
          return true;
        }
        case VK_RETURN:
          Layout();
          if (m_focusLink >= m_page.links.size()) return false;
          ClickLink(m_hwnd, m_page.links[m_focusLink]);  // may reload or destroy the view
          return true;
      }
      return false;
    case WM_GETDLGCODE:
      // Arrows scroll; Tab and Enter work the links (DialogCode); Escape
      // stays with the dialog.
      result = DialogCode(reinterpret_cast<const MSG*>(lParam));
      return true;
    case WM_SETFOCUS:
      // Tabbed into from the dialog: the first (or, backwards, the last) link.
      if (GetKeyState(VK_TAB) < 0) {
        Layout();
        m_focusLink = kNoFocus;
        size_t first;
        if (NextLink(GetKeyState(VK_SHIFT) < 0, &first)) FocusLink(first);
      }
      InvalidateRect(m_hwnd, nullptr, FALSE);
      return false;
    case WM_KILLFOCUS:
      InvalidateRect(m_hwnd, nullptr, FALSE);
      return false;
    case WM_LBUTTONDOWN:
      OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, static_cast<UINT>(wParam));
      return true;
    case WM_LBUTTONUP:
      OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, static_cast<UINT>(wParam));
      return true;
    case WM_CAPTURECHANGED: m_pressing = false; return true;
    case WM_SETCURSOR: {
      if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != m_hwnd) return false;
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(m_hwnd, &pt);
      const Area* area = nullptr;
      ElementAt(pt, &area);
      SetCursor(LoadCursorW(nullptr, area ? IDC_HAND : IDC_ARROW));
      result = TRUE;
      return true;
    }
    case WM_COMMAND: {
      UINT event = 0;
      Node* target = nullptr;
      if (!m_widgets.OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam), &event, &target)) return false;
      if (event && target) DispatchBehavior(m_hwnd, event, target, 0);
      return true;
    }
    case kSyncWidgetsMessage: m_widgets.SyncAll(); return true;
  }
  if (msg == clickByHref && clickByHref) {
    result = OnClickByHref(lParam);
    return true;
  }
  return false;
}

}  // namespace hl
