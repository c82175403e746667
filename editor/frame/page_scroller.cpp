#include "editor/frame/page_scroller.h"

#include <algorithm>

namespace page_scroller {
namespace {

constexpr wchar_t kClassName[] = L"QuilloraPageScroller";
constexpr int kLineStep = 16;

struct State {
  HWND page = nullptr;
  SIZE size = {};
  bool placing = false;
};

State* StateOf(HWND scroller) { return reinterpret_cast<State*>(::GetWindowLongPtrW(scroller, GWLP_USERDATA)); }

int Position(HWND scroller, int bar) {
  SCROLLINFO info = {sizeof(info), SIF_POS};
  return ::GetScrollInfo(scroller, bar, &info) ? info.nPos : 0;
}

// The ranges for the client area as it is now; the system shows a bar only
// while the page is larger than the client area in its direction.
void SetRanges(HWND scroller, const State& state) {
  RECT client = {};
  ::GetClientRect(scroller, &client);
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE};
  info.nMax = state.size.cx - 1;
  info.nPage = static_cast<UINT>(std::max(0L, client.right));
  ::SetScrollInfo(scroller, SB_HORZ, &info, TRUE);
  info.nMax = state.size.cy - 1;
  info.nPage = static_cast<UINT>(std::max(0L, client.bottom));
  ::SetScrollInfo(scroller, SB_VERT, &info, TRUE);
}

void Place(HWND scroller) {
  State* state = StateOf(scroller);
  if (!state || !state->page || state->placing) return;
  state->placing = true;
  // Showing or hiding a bar changes the client area: twice settles it.
  SetRanges(scroller, *state);
  SetRanges(scroller, *state);
  RECT client = {};
  ::GetClientRect(scroller, &client);
  const int width = std::max<int>(client.right, state->size.cx);
  const int height = std::max<int>(client.bottom, state->size.cy);
  ::SetWindowPos(state->page, nullptr, -Position(scroller, SB_HORZ), -Position(scroller, SB_VERT), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  ::RedrawWindow(scroller, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  state->placing = false;
}

void Scroll(HWND scroller, int bar, int code, int delta) {
  SCROLLINFO info = {sizeof(info), SIF_ALL};
  if (!::GetScrollInfo(scroller, bar, &info)) return;
  const int page = static_cast<int>(info.nPage);
  int pos = info.nPos;
  switch (code) {
    case SB_LINEUP: pos -= kLineStep; break;
    case SB_LINEDOWN: pos += kLineStep; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    case -1: pos += delta; break;
    default: return;
  }
  pos = std::clamp(pos, info.nMin, std::max(info.nMin, info.nMax - page + 1));
  if (pos == info.nPos) return;
  info.fMask = SIF_POS;
  info.nPos = pos;
  ::SetScrollInfo(scroller, bar, &info, TRUE);
  Place(scroller);
}

LRESULT CALLBACK ScrollerProc(HWND scroller, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      // Once: another program can send the message again.
      if (StateOf(scroller)) return FALSE;
      ::SetWindowLongPtrW(scroller, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new State));
      break;
    case WM_NCDESTROY:
      delete StateOf(scroller);
      ::SetWindowLongPtrW(scroller, GWLP_USERDATA, 0);
      break;
    case WM_SIZE:
      Place(scroller);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Only the window's own bars: a page's up-down controls tell the page.
      if (lParam == 0) Scroll(scroller, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), 0);
      return 0;
    case WM_MOUSEWHEEL: {
      // Handed up by the page's controls that do not take the wheel.
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      Scroll(scroller, SB_VERT, -1, -delta * 3 * kLineStep / WHEEL_DELTA);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client = {};
      ::GetClientRect(scroller, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    default:
      break;
  }
  return ::DefWindowProcW(scroller, message, wParam, lParam);
}

bool RegisterOnce(HINSTANCE instance) {
  WNDCLASSEXW existing = {sizeof(existing)};
  if (::GetClassInfoExW(instance, kClassName, &existing)) return true;
  WNDCLASSEXW cls = {sizeof(cls)};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = ScrollerProc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kClassName;
  return ::RegisterClassExW(&cls) != 0;
}

}  // namespace

HWND Create(HWND parent, UINT id) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterOnce(instance)) return nullptr;
  // No bars until a page asks for them: SetScrollInfo shows a bar while
  // the page is larger than the client area.
  return ::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                           0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void SetPage(HWND scroller, HWND page, SIZE pageSize) {
  State* state = StateOf(scroller);
  if (!state || !page) return;
  if (::GetParent(page) != scroller) ::SetParent(page, scroller);
  state->page = page;
  state->size = pageSize;
  Place(scroller);
}

}  // namespace page_scroller
