// The phrase view's commands, their update handlers, the toolbar's menus and
// the notifications of the toolbar and the text control.
#include <windows.h>

#include <commctrl.h>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/doc/doc.h"
#include "editor/doc/doc_listener.h"
#include "editor/doc/phrase_view.h"
#include "editor/services/editor_menu_localizer.h"
#include "editor/services/macro_menus.h"
#include "editor/services/web_pages.h"
#include "editor/store/command.h"
#include "editor/text/macro_highlight.h"
#include "editor/text/rich_text_io.h"
#include "editor/toolbars/toolbar_names.h"
#include "editor_settings/helpers/menu_helpers.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/shell_open.h"
#include "platform/mfc/core/menu.h"
#include "platform/mfc/window/cmd_ui.h"

namespace {

constexpr UINT kFirstMacroItem = 30100;
constexpr UINT kLastMacroItem = 30149;
constexpr UINT kMacroDocCommand = 32812;
constexpr UINT kTestRunCommand = 32804;
constexpr UINT kIdsTextAsDefault = 220;
constexpr wchar_t kPromptMacro[] = L"%PROMPT_TEXT={}%";
constexpr COLORREF kReadOnlyTextColour = RGB(255, 0, 0);

void LocalizeMenu(HMENU menu) {
  std::wstring language = GetCurrentLanguage();
  if (language.empty()) return;
  CEditorMenuLocalizer localizer(language, MakeMenuSectionName(kLngSuffixEditor));
  localizer.Localize(menu);
}

}  // namespace

BEGIN_MESSAGE_MAP(CQLRView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_INITMENUPOPUP()
  ON_COMMAND(ID_EDIT_COPY, OnCopy)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
  ON_COMMAND(ID_EDIT_CUT, OnCut)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateCut)
  ON_COMMAND(ID_EDIT_PASTE, OnPaste)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
  ON_COMMAND(ID_EDIT_REDO, OnRedo)
  ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
  ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateSelectAll)
  ON_COMMAND(ID_EDIT_UNDO, OnUndo)
  ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
  ON_COMMAND(ID_FORMAT_BOLD, OnBold)
  ON_UPDATE_COMMAND_UI(ID_FORMAT_BOLD, OnUpdateBold)
  ON_COMMAND(ID_FORMAT_ITALIC, OnItalic)
  ON_UPDATE_COMMAND_UI(ID_FORMAT_ITALIC, OnUpdateItalic)
  ON_COMMAND(ID_FORMAT_UNDERLINE, OnUnderline)
  ON_UPDATE_COMMAND_UI(ID_FORMAT_UNDERLINE, OnUpdateUnderline)
  ON_COMMAND(ID_EDIT_CLEAR, OnClear)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateClear)
  ON_COMMAND(ID_EDIT_INTO_MENU_NAME, OnIntoMenuName)
  ON_UPDATE_COMMAND_UI(ID_EDIT_INTO_MENU_NAME, OnUpdateIntoMenuName)
  ON_COMMAND(toolbars::kIdDataType, OnDataTypeButton)
  ON_UPDATE_COMMAND_UI(toolbars::kIdDataType, OnUpdatePhraseButton)
  ON_COMMAND(toolbars::kIdInsertMacro, OnMacroButton)
  ON_UPDATE_COMMAND_UI(toolbars::kIdInsertMacro, OnUpdatePhraseButton)
  ON_COMMAND(ID_HELP_MACRO_DOC, OnMacroDoc)
  ON_COMMAND(ID_EDIT_INSERT_TAB, OnInsertTab)
  ON_COMMAND(ID_FORMAT_READ_ONLY, OnReadOnlyMode)
  ON_UPDATE_COMMAND_UI(ID_FORMAT_READ_ONLY, OnUpdateReadOnlyMode)
  ON_COMMAND_RANGE(kFirstMacroItem, kLastMacroItem, OnInsertMacro)
  ON_NOTIFY(TBN_DROPDOWN, kViewToolBarId, OnToolBarDropDown)
  ON_NOTIFY(NM_CUSTOMDRAW, kViewToolBarId, OnToolBarCustomDraw)
  ON_EN_CHANGE(kViewTextId, OnTextChange)
  ON_NOTIFY(EN_LINK, kViewTextId, OnTextLink)
  ON_NOTIFY(kPhraseEditReadOnlyTyping, kViewTextId, OnReadOnlyTyping)
END_MESSAGE_MAP()

bool CQLRView::HasTextSelection() const { return Text->m_hWnd && Text->HasSelection(); }

void CQLRView::OnCopy() { Text->SendMessage(WM_COPY, 0, 0); }
void CQLRView::OnCut() { Text->SendMessage(WM_CUT, 0, 0); }
void CQLRView::OnPaste() { Text->SendMessage(WM_PASTE, 0, 0); }
void CQLRView::OnRedo() { Text->SendMessage(EM_REDO, 0, 0); }
void CQLRView::OnUndo() { Text->SendMessage(EM_UNDO, 0, 0); }
void CQLRView::OnSelectAll() { Text->SendMessage(EM_SETSEL, 0, -1); }
void CQLRView::OnBold() { Text->SetBold(!Text->IsBold()); }
void CQLRView::OnItalic() { Text->SetItalic(!Text->IsItalic()); }
void CQLRView::OnUnderline() { Text->SetUnderline(!Text->IsUnderline()); }

void CQLRView::OnClear() {
  if (Text->IsReadOnly()) return;
  Text->SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
  Text->SendMessage(EM_SETMODIFY, TRUE, 0);
}

void CQLRView::OnInsertTab() {
  Text->SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
  Text->SendMessage(EM_SETMODIFY, TRUE, 0);
}

void CQLRView::OnIntoMenuName() {
  std::wstring text = rich_text::GetSelectedPlainText(Text->m_hWnd);
  const wchar_t* kTrim = L"\r\n\t ";
  const size_t first = text.find_first_not_of(kTrim);
  text = first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(kTrim) - first + 1);
  // The hint carries the string object itself, as the pane reads it.
  if (CDoc* doc = static_cast<CDoc*>(GetDocument()))
    doc->UpdateViews(this, kHintRenameText, reinterpret_cast<LPARAM>(&text));
}

void CQLRView::OnReadOnlyMode() {
  Text->SetReadOnly(!Text->IsReadOnly());
  TextToolBar.Invalidate();
}

void CQLRView::OnUpdateCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(HasTextSelection()); }
void CQLRView::OnUpdateCut(CCmdUI* pCmdUI) { pCmdUI->Enable(HasTextSelection() && !Text->IsReadOnly()); }
void CQLRView::OnUpdateClear(CCmdUI* pCmdUI) { pCmdUI->Enable(HasTextSelection() && !Text->IsReadOnly()); }
void CQLRView::OnUpdateIntoMenuName(CCmdUI* pCmdUI) { pCmdUI->Enable(HasTextSelection()); }

void CQLRView::OnUpdatePaste(CCmdUI* pCmdUI) {
  // EM_CANPASTE asks the clipboard's formats without opening it.
  pCmdUI->Enable(Text->m_hWnd && !Text->IsReadOnly() && Text->SendMessage(EM_CANPASTE, 0, 0) != 0);
}
void CQLRView::OnUpdateRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(Text->m_hWnd && Text->SendMessage(EM_CANREDO, 0, 0)); }
void CQLRView::OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(Text->m_hWnd && Text->SendMessage(EM_CANUNDO, 0, 0)); }

void CQLRView::OnUpdateSelectAll(CCmdUI* pCmdUI) {
  if (!Text->m_hWnd) {
    pCmdUI->Enable(FALSE);
    return;
  }
  GETTEXTLENGTHEX length = {GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LONG chars = static_cast<LONG>(Text->SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  CHARRANGE range = {0, 0};
  Text->SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  pCmdUI->Enable(chars > 0 && (range.cpMin >= 1 || range.cpMax < chars));
}

void CQLRView::OnUpdateBold(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(Text->m_hWnd && Text->IsBold() ? 1 : 0);
  pCmdUI->Enable(IsRtfPhrase());
}
void CQLRView::OnUpdateItalic(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(Text->m_hWnd && Text->IsItalic() ? 1 : 0);
  pCmdUI->Enable(IsRtfPhrase());
}
void CQLRView::OnUpdateUnderline(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(Text->m_hWnd && Text->IsUnderline() ? 1 : 0);
  pCmdUI->Enable(IsRtfPhrase());
}

// The data-type and macro menus act on a phrase.
void CQLRView::OnUpdatePhraseButton(CCmdUI* pCmdUI) {
  CQLRCommand* record = CurrentRecord();
  pCmdUI->Enable(record && !record->IsFolder());
}

void CQLRView::OnUpdateReadOnlyMode(CCmdUI* pCmdUI) {
  CQLRCommand* record = CurrentRecord();
  const BOOL checked = Text->m_hWnd && Text->IsReadOnly();
  const BOOL enabled = record && !record->IsFolder();
  pCmdUI->SetCheck(checked ? 1 : 0);
  pCmdUI->Enable(enabled);
  TextToolBar.SetReadOnlyButton(checked, enabled);
}

void CQLRView::ShowButtonMenu(UINT buttonId, HMENU menu) {
  if (!menu) return;
  LocalizeMenu(menu);
  CRect button = TextToolBar.GetButtonRect(buttonId);
  POINT at = {button.left, button.bottom};
  ::ClientToScreen(TextToolBar.m_hWnd, &at);
  const int state = TextToolBar.GetButtonState(buttonId);
  if (state != -1) TextToolBar.SetButtonState(buttonId, static_cast<UINT>(state) | TBSTATE_PRESSED);
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
  const int after = TextToolBar.GetButtonState(buttonId);
  if (after != -1) TextToolBar.SetButtonState(buttonId, static_cast<UINT>(after) & ~TBSTATE_PRESSED);
  ::DestroyMenu(menu);
}

void CQLRView::OnDataTypeButton() {
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return;
  AppendResourceMenu(menu, toolbars::kIdPastePlain, kMainMenuResource);
  AppendResourceMenu(menu, toolbars::kIdPasteRtf, kMainMenuResource);
  AppendResourceMenu(menu, toolbars::kIdStartAsApp, kMainMenuResource);
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendResourceMenu(menu, kTestRunCommand, kMainMenuResource);
  ShowButtonMenu(toolbars::kIdDataType, menu);
}

void CQLRView::OnMacroButton() {
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return;
  FillMacroMenu(menu);
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendResourceMenu(menu, kMacroDocCommand, kMainMenuResource);
  ShowButtonMenu(toolbars::kIdInsertMacro, menu);
}

void CQLRView::OnMacroDoc() {
  if (ShellOpen(m_hWnd, L"open", GetMacroDocumentationAddress().c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED) <= 32)
    ::MessageBeep(0xFFFFFFFF);
}

void CQLRView::OnInsertMacro(UINT nID) {
  const std::wstring name = GetMenuMacroName(nID);
  if (name.empty() || !Text->m_hWnd) return;
  Text->SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(name.c_str()));
  if (name == kPromptMacro) {
    CHARRANGE range = {0, 0};
    Text->SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const LONG inside = range.cpMax >= 2 ? range.cpMax - 2 : 0;
    Text->SendMessage(EM_SETSEL, inside, inside);
    CLngString prompt;
    prompt.LoadString(kIdsTextAsDefault);
    const std::wstring text = prompt.Text();
    Text->SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    Text->SendMessage(EM_SETSEL, inside, inside + static_cast<LONG>(text.size()));
  }
  Text->SendMessage(EM_SETMODIFY, TRUE, 0);
}

void CQLRView::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
  if (!bSysMenu && pPopupMenu) AfxUpdateMenuPopup(this, pPopupMenu, FALSE);
}

void CQLRView::OnToolBarDropDown(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* info = reinterpret_cast<NMTOOLBARW*>(pNMHDR);
  if (info->iItem == static_cast<int>(toolbars::kIdDataType)) OnDataTypeButton();
  if (info->iItem == static_cast<int>(toolbars::kIdInsertMacro)) OnMacroButton();
  *pResult = TBDDRET_DEFAULT;
}

void CQLRView::OnToolBarCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(pNMHDR);
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    const bool readOnly = Text->m_hWnd && Text->IsReadOnly();
    *pResult = PaintToolBarBackground(pNMHDR, readOnly ? COLOR_BTNFACE : COLOR_WINDOW);
    return;
  }
  if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec == toolbars::kIdReadOnlyMode &&
      GetDocument()) {
    draw->clrText = kReadOnlyTextColour;
    *pResult = TBCDRF_USECDCOLORS;
    return;
  }
  *pResult = CDRF_DODEFAULT;
}

void CQLRView::OnTextChange() {
  if (!IsRtfPhrase()) {
    SetHighlightEnabled(true);
    HighlightVisible(Text->m_hWnd, GetMacroScheme());
  }
  if (IsPreviewShown()) {
    LastEditTicks = ::GetTickCount();
    SetTimer(kPreviewTypingTimer, kPreviewTypingDelay, nullptr);
  }
}

void CQLRView::OnTextLink(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* link = reinterpret_cast<ENLINK*>(pNMHDR);
  if (link->msg != WM_LBUTTONDOWN || HasTextSelection()) return;
  const std::wstring target = rich_text::GetLinkText(Text->m_hWnd, link->chrg);
  if (target.empty() || ShellOpen(m_hWnd, L"open", target.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED) <= 32)
    ::MessageBeep(0xFFFFFFFF);
}

void CQLRView::OnReadOnlyTyping(NMHDR*, LRESULT* pResult) {
  TextToolBar.Blink(true);
  *pResult = 0;
}
