#include "editor_settings/buttons/hyperlink.h"

#include <map>
#include <vector>

#include "editor_settings/buttons/buttons_names.h"
#include "editor_settings/buttons/hand_cursor.h"
#include "editor_settings/buttons/link_rules.h"
#include "foundation/logging/log.h"
#include "foundation/logging/system_error.h"
#include "foundation/system/shell_open.h"
#include "foundation/ui/subclass.h"

namespace qlr_editor {

namespace {

constexpr UINT_PTR kHoverTimer = 20;
constexpr UINT kHoverTimerMs = 100;

// Every link of the thread's dialogs by its window; a parent is subclassed
// once for all its links (the registry takes one subclass per window).
std::map<HWND, CHyperLink*>& Links() {
  static std::map<HWND, CHyperLink*> links;
  return links;
}

std::map<HWND, int>& SubclassedParents() {
  static std::map<HWND, int> parents;
  return parents;
}

}  // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
  ON_WM_NCHITTEST()
  ON_WM_SETCURSOR()
  ON_WM_TIMER()
  ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CHyperLink::CHyperLink(const wchar_t* url) : m_url(url ? url : L"") {
  ReadAnchorColors(&m_linkColor, &m_visitedColor);
}

CHyperLink::~CHyperLink() {
  if (m_hWnd && ::IsWindow(m_hWnd)) {
    ::KillTimer(m_hWnd, kHoverTimer);
    // The window may outlive us: it must not keep our font.
    if (m_underlined) ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(ParentFont()), FALSE);
  }
  ForgetParent();
}

std::wstring CHyperLink::MakeMessageLink(UINT message) { return MakeMessageLinkText(message); }

HCURSOR CHyperLink::GetHandCursor() { return GetLinkHandCursor(); }

void CHyperLink::SetVisited(BOOL visited) {
  BOOL changed = (visited != FALSE) != (m_visited != FALSE);
  m_visited = visited ? TRUE : FALSE;
  if (changed && m_hWnd && ::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHyperLink::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  // Clicks are reported only with SS_NOTIFY.
  ModifyStyle(0, SS_NOTIFY);
  ForgetParent();
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return;
  auto& parents = SubclassedParents();
  auto it = parents.find(parent);
  if (it == parents.end()) {
    if (!SubclassWindowProc(parent, ParentProc, 0)) {
      LogError(L"CHyperLink: the parent window cannot be subclassed; the link keeps the plain colour");
      return;
    }
    it = parents.emplace(parent, 0).first;
  }
  ++it->second;
  m_parent = parent;
  Links()[m_hWnd] = this;
}

void CHyperLink::ForgetParent() {
  for (auto it = Links().begin(); it != Links().end();) {
    if (it->second == this)
      it = Links().erase(it);
    else
      ++it;
  }
  if (!m_parent) return;
  auto& parents = SubclassedParents();
  auto it = parents.find(m_parent);
  if (it != parents.end() && --it->second <= 0) {
    if (::IsWindow(m_parent)) UnsubclassWindowProc(m_parent);
    parents.erase(it);
  }
  m_parent = nullptr;
}

LRESULT CHyperLink::ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR, BOOL* passOn,
                               WNDPROC previous) {
  if (msg == WM_DESTROY) {
    // The registry lets go of the window by itself here; the links must
    // not take their count back from a handle that may come again.
    SubclassedParents().erase(hWnd);
    for (auto& link : Links())
      if (link.second->m_parent == hWnd) link.second->m_parent = nullptr;
    return 0;
  }
  if (msg != WM_CTLCOLORSTATIC) return 0;
  auto it = Links().find(reinterpret_cast<HWND>(lParam));
  if (it == Links().end() || it->second->m_parent != hWnd) return 0;
  *passOn = FALSE;
  LRESULT brush = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
  CHyperLink* link = it->second;
  ::SetTextColor(reinterpret_cast<HDC>(wParam), link->m_visited ? link->m_visitedColor : link->m_linkColor);
  return brush;
}

RECT CHyperLink::GetTextBox() const {
  RECT box = {};
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return box;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  CString text = GetWindowTextString();
  SIZE size = {};
  ::GetTextExtentPoint32W(dc, text.GetString(), text.GetLength(), &size);
  if (old) ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  return LinkTextBox(client, size, GetStyle());
}

bool CHyperLink::IsCursorOverText() const {
  POINT pt = {};
  if (!::GetCursorPos(&pt)) return false;
  ::ScreenToClient(m_hWnd, &pt);
  RECT box = GetTextBox();
  return ::PtInRect(&box, pt) != FALSE;
}

LRESULT CHyperLink::OnNcHitTest(CPoint point) {
  POINT pt = {point.x, point.y};
  ::ScreenToClient(m_hWnd, &pt);
  RECT box = GetTextBox();
  // Beside the text the click belongs to what lies below.
  if (!::PtInRect(&box, pt)) return HTTRANSPARENT;
  return Default();
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT) {
  if (!IsCursorOverText()) return static_cast<BOOL>(Default());
  ::SetCursor(GetHandCursor());
  SetTimer(kHoverTimer, kHoverTimerMs);
  return TRUE;
}

void CHyperLink::OnTimer(UINT_PTR) {
  bool over = IsCursorOverText();
  if (over && !m_underlined) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(UnderlineFont()), TRUE);
    m_underlined = true;
  } else if (!over && m_underlined) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(ParentFont()), TRUE);
    m_underlined = false;
  }
  // Away from the text and plain again: nothing is left to watch until the
  // cursor comes back (WM_SETCURSOR starts the timer again).
  if (!over && !m_underlined) KillTimer(kHoverTimer);
}

HFONT CHyperLink::ParentFont() const {
  HWND parent = ::GetParent(m_hWnd);
  HFONT font = parent ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
  return font ? font : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

HFONT CHyperLink::UnderlineFont() {
  if (!m_underlineFont.GetSafeHandle()) {
    LOGFONTW lf = {};
    ::GetObjectW(ParentFont(), sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    lf.lfWeight = FW_NORMAL;
    m_underlineFont.CreateFontIndirect(&lf);
  }
  return m_underlineFont.GetSafeHandle();
}

void CHyperLink::OnClicked() {
  if (IsCursorOverText()) Open();
}

void CHyperLink::Open() {
  std::wstring url = m_url;
  if (url.empty()) url = GetWindowTextString().GetString();
  UINT message = 0;
  if (ParseMessageLink(url, &message)) {
    if (message == 0) {
      LogError(L"CHyperLink: a message link without a valid message number: " + url.substr(0, 80));
      return;
    }
    ::SendMessageW(::GetParent(m_hWnd), message, 0, 0);
    SetVisited(TRUE);
    return;
  }
  if (url.empty()) return;
  std::wstring target = LinkShellTarget(url);
  DWORD savedError = ::GetLastError();
  ::SetLastError(0);
  HCURSOR before = ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  INT_PTR result = ShellOpen(m_hWnd, L"open", target.c_str(), nullptr, nullptr, SW_SHOW);
  DWORD error = ::GetLastError();
  ::SetCursor(before);
  if (result > 32) {
    SetVisited(TRUE);
  } else if (error != 0) {
    std::wstring reason = GetSystemErrorText(error);
    // The URL may be of any length: the text is built, never formatted
    // into a fixed buffer.
    std::wstring format = kCannotOpenLinkFormat;
    size_t first = format.find(L"%s");
    size_t second = format.find(L"%s", first + 2);
    std::wstring text = format.substr(0, first) + url + format.substr(first + 2, second - first - 2) + reason +
                        format.substr(second + 2);
    ::MessageBoxW(m_hWnd, text.c_str(), kEditorBoxCaption, MB_OK | MB_ICONEXCLAMATION);
  }
  ::SetLastError(savedError);
}

}  // namespace qlr_editor
