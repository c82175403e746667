// The phrase text control's hover help for macros and its link check.
#include "editor/services/macro_menus.h"
#include "editor/text/macro_hover.h"
#include "editor/text/phrase_rich_edit.h"
#include "foundation/localization/localized_strings.h"

namespace {

// The tip stays this long before it may go.
constexpr UINT kMacroTipDelay = 2000;

std::wstring MacroAt(HWND control, POINT client) { return FindMacroInWord(GetWordAtPoint(control, client)); }

}  // namespace

void CPhraseRichEdit::HideMacroTip() {
  if (HtmlTip.m_hWnd) HtmlTip.HideTip();
  TipText.clear();
}

void CPhraseRichEdit::OnMouseMove(UINT, CPoint point) {
  Default();
  if (point.x == LastMouseX && point.y == LastMouseY) return;
  LastMouseX = point.x;
  LastMouseY = point.y;
  HoverPending = true;
  if (!MacroAt(m_hWnd, {point.x, point.y}).empty()) {
    SetTimer(kMacroHoverTimer, kMacroHoverDelay);
  } else {
    KillTimer(kMacroHoverTimer);
    HideMacroTip();
  }
}

void CPhraseRichEdit::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kMacroHoverTimer) {
    KillTimer(kMacroHoverTimer);
    POINT cursor;
    if (::GetCursorPos(&cursor)) {
      POINT client = cursor;
      ScreenToClient(&client);
      if (client.x == LastMouseX && client.y == LastMouseY) ShowMacroTip();
    }
  }
  Default();
}

void CPhraseRichEdit::ShowMacroTip() {
  POINT client = {LastMouseX, LastMouseY};
  std::wstring macro = MacroAt(m_hWnd, client);
  if (macro.empty()) return;
  CLngString title;
  title.LoadString(kIdsMacro);
  std::wstring html = MakeMacroTipHtml(title.Text(), macro, GetMacroDescription(macro));
  if (html.empty() || html == TipText) return;
  TipText = html;
  if (!HtmlTip.m_hWnd) return;
  HtmlTip.SetDelayTime(kPPDelayInitial, kMacroTipDelay);
  POINT screen = client;
  ClientToScreen(&screen);
  HtmlTip.ShowTextAt(screen, html);
  if (!Tracking) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    Tracking = ::TrackMouseEvent(&track) != FALSE;
  }
}

void CPhraseRichEdit::OnMouseLeave() {
  if (HtmlTip.m_hWnd) HtmlTip.HideTip();
  Tracking = false;
  Default();
}

BOOL CPhraseRichEdit::OnLinkReflect(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* link = reinterpret_cast<ENLINK*>(pNMHDR);
  if (link->msg != WM_SETCURSOR) return FALSE;
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return FALSE;
  ScreenToClient(&cursor);
  if (IsCursorOverLink(m_hWnd, link->chrg, cursor)) return FALSE;
  // Beside the link's text (below its line, say): not a link here.
  *pResult = 1;
  return TRUE;
}
