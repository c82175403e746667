// The pane's side of its caption toolbar: the caption painting (count, hint,
// collapsed icon, close button), the buttons' tips and the drop-down menu of
// the edit button.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "foundation/ui/theme.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_caption.h"
#include "history/pane/pane_host.h"
#include "history/pane/pane_menu_state.h"
#include "history/pane/pane_texts.h"
#include "phrases/menu/menu_tooltip.h"

namespace {

constexpr UINT kTipButtons[] = {pane_ids::kEditPhrases, pane_ids::kKeep, pane_ids::kCopy,
                                pane_ids::kMinimizeToCaption, pane_ids::kFixPane};
// A tooltip title longer than this is not shown by the tooltip control.
constexpr size_t kTipTitleMaxChars = 99;
// Of the drop-down: 0 stands for a separator.
constexpr UINT kDropDownItems[] = {pane_ids::kEditPhrases, 0, pane_ids::kFixPane, 32809, 32817, 32827, 32815,
                                   32816, 0, 32791, 57664, 0, pane_ids::kClose};
constexpr UINT kDisabledInDropDown = 32816;

bool IsTipButton(int command) {
  for (UINT id : kTipButtons) {
    if (static_cast<int>(id) == command) return true;
  }
  return false;
}

}  // namespace

std::wstring CQLRFloatPane::TrayMenuText(UINT command) {
  return m_host ? m_host->TrayMenuText(command) : TrayMenuResourceText(command);
}

HFONT CQLRFloatPane::CaptionFont() {
  if (!m_captionFont) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      m_captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
  }
  return m_captionFont;
}

LRESULT CQLRFloatPane::OnCaptionCustomDraw(NMTBCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_POSTPAINT:
      PaintCaption(draw->nmcd.hdc);
      return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
      if (draw->nmcd.dwItemSpec == pane_ids::kClose) return DrawCloseButton(draw);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void CQLRFloatPane::PaintCaption(HDC dc) {
  RECT client = {};
  ::GetClientRect(m_toolbar, &client);
  RECT separator = {};
  const bool hasButtons = ::SendMessageW(m_toolbar, TB_BUTTONCOUNT, 0, 0) > 0 &&
                          ::SendMessageW(m_toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&separator));
  RECT pane = {};
  GetWindowRect(&pane);
  const bool recording = m_source && ::IsWindow(m_source->GetHwnd());
  const int count = static_cast<int>(::SendMessageW(m_hWnd, pane_ids::kItemCount, 0, 0));
  m_lastCaption = PlanCaptionPaint(CaptionTextArea(hasButtons ? &separator : nullptr, client), count,
                                   m_showMode == 1, recording, PaneString(kCaptionHintString),
                                   pane.bottom - pane.top);
  if (!dc) return;
  const CaptionPaint& plan = m_lastCaption;
  HGDIOBJ oldFont = CaptionFont() ? SelectObject(dc, m_captionFont) : nullptr;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, kCaptionCountColor);
  RECT area = plan.area;
  const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  DrawTextW(dc, plan.count.c_str(), static_cast<int>(plan.count.size()), &area, flags);
  if (plan.collapsed) {
    if (!m_collapsedIcon)
      m_collapsedIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCaptionCollapsedIcon),
                                                      IMAGE_ICON, kCaptionIconSize, kCaptionIconSize, 0));
    if (m_collapsedIcon)
      DrawIconEx(dc, plan.iconAt.x, plan.iconAt.y, m_collapsedIcon, kCaptionIconSize, kCaptionIconSize, 0, nullptr,
                 DI_NORMAL);
  } else {
    SetTextColor(dc, plan.hintColor);
    RECT hint = plan.hintRect;
    DrawTextW(dc, plan.hint.c_str(), static_cast<int>(plan.hint.size()), &hint, flags);
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  if (oldFont) SelectObject(dc, oldFont);
}

LRESULT CQLRFloatPane::DrawCloseButton(NMTBCUSTOMDRAW* draw) {
  const RECT square = CloseButtonSquare(draw->nmcd.rc);
  POINT cursor = {};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(m_toolbar, &cursor);
  const bool hot = PtInRect(&draw->nmcd.rc, cursor) != FALSE;
  const bool pushed = (draw->nmcd.uItemState & CDIS_SELECTED) ||
                      ::SendMessageW(m_toolbar, TB_ISBUTTONPRESSED, pane_ids::kClose, 0);
  // Without visual styles the toolbar's own drawing shows the button.
  if (DrawThemedCloseButton(m_toolbar, draw->nmcd.hdc, &square, pushed, hot)) return CDRF_SKIPDEFAULT;
  return CDRF_DODEFAULT;
}

void CQLRFloatPane::OnButtonTip(NMTBGETINFOTIPW* info) {
  if (!info->pszText || info->cchTextMax <= 0) return;
  info->pszText[0] = L'\0';
  if (!IsTipButton(info->iItem) || !m_menuToolTips) return;
  std::wstring tip;
  std::wstring unusedTitle;
  if (!m_menuToolTips->GetItemText(tip, static_cast<UINT>(info->iItem), nullptr, unusedTitle) || tip.empty())
    return;
  std::wstring title;
  std::wstring text;
  SplitButtonTip(tip, title, text);
  if (title.size() > kTipTitleMaxChars) title.resize(kTipTitleMaxChars);
  if (text.empty()) text = L" ";
  HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_toolbar, TB_GETTOOLTIPS, 0, 0));
  if (tips) ::SendMessageW(tips, TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(title.c_str()));
  CopyToBuffer(text, info->pszText, info->cchTextMax);
}

HMENU CQLRFloatPane::BuildDropDownMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (UINT command : kDropDownItems) {
    if (command == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = command == pane_ids::kFixPane || command == pane_ids::kClose
                            ? AfterLineFeed(PaneString(command))
                            : TrayMenuText(command);
    if (text.empty()) text = AfterLineFeed(PaneString(command));
    UINT flags = MF_STRING;
    if (command == kDisabledInDropDown) flags |= MF_GRAYED;
    if (command == pane_ids::kFixPane && m_fixed) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, command, text.c_str());
  }
  SetMenuDefaultItem(menu, pane_ids::kEditPhrases, FALSE);
  return menu;
}

void CQLRFloatPane::RunDropDownChoice(UINT choice) {
  if (choice == 0) return;
  if (choice == pane_ids::kFixPane) {
    SetFixed(!m_fixed);
    return;
  }
  HWND tray = m_host ? m_host->TrayWindow() : nullptr;
  if (tray) ::PostMessageW(tray, WM_COMMAND, choice, 0);
}

LRESULT CQLRFloatPane::OnToolbarDropDown(NMTOOLBARW* info) {
  if (info->iItem != static_cast<int>(pane_ids::kEditPhrases)) return TBDDRET_NODEFAULT;
  HMENU menu = BuildDropDownMenu();
  if (!menu) return TBDDRET_DEFAULT;
  RECT button = {};
  m_toolbar.GetButtonScreenRect(pane_ids::kEditPhrases, button);
  ::SendMessageW(m_toolbar, TB_PRESSBUTTON, pane_ids::kEditPhrases, MAKELPARAM(TRUE, 0));
  m_dropDownMenu = menu;
  const UINT choice = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, m_hWnd, nullptr));
  m_dropDownMenu = nullptr;
  if (m_toolbar.m_hWnd)
    ::SendMessageW(m_toolbar, TB_PRESSBUTTON, pane_ids::kEditPhrases, MAKELPARAM(FALSE, 0));
  DestroyMenu(menu);
  RunDropDownChoice(choice);
  return TBDDRET_DEFAULT;
}
