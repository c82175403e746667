// The phrase pane's context and drop-down menus and its answers to the
// tree's drag questions.
#include <windows.h>

#include <commctrl.h>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/editor_names.h"
#include "editor/pane/phrase_pane.h"
#include "editor/pane/phrase_tip.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "htmldraw/tooltip/tree_item_tooltip.h"
#include "phrases/macros/macro_table.h"
#include "platform/mfc/core/menu.h"
#include "platform/mfc/res/afx_ids.h"
#include "platform/mfc/window/wnd.h"

namespace {

constexpr UINT kContextMenu[] = {ID_PHRASE_ADD_TEXT, ID_PHRASE_ADD_FROM_CB, ID_PHRASE_RENAME, ID_PHRASE_ADD_GROUP, 0,
                                 ID_PHRASE_DELETE, 0, ID_PHRASE_MOVE_UP, ID_PHRASE_MOVE_DOWN, ID_PHRASE_MOVE_TO_ROOT,
                                 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_PHRASE_AS_PLAIN, ID_PHRASE_AS_RTF,
                                 ID_PHRASE_AS_APP, 0, ID_PHRASE_TITLE_ONLY, ID_PHRASE_DISABLED_NO_SEL,
                                 ID_PHRASE_SEP_BEFORE, ID_PHRASE_SEP_AFTER, 0, ID_PHRASE_PROPERTIES,
                                 ID_PHRASE_OPEN_FOLDER};
constexpr UINT kAddMenu[] = {ID_PHRASE_ADD_TEXT, ID_PHRASE_ADD_RTF, ID_PHRASE_ADD_FROM_CB, 0, ID_PHRASE_ADD_GROUP};
constexpr UINT kDeleteMenu[] = {ID_PHRASE_DELETE, 0, ID_EDIT_UNCHECK_ALL, ID_EDIT_CHECK_ALL, ID_EDIT_INVERT_CHECK};

// The text of a command in menu (with its mnemonic and key); empty when
// the menu has none.
std::wstring MenuText(HMENU menu, UINT id) {
  wchar_t text[256] = {};
  if (menu && ::GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND) > 0) return text;
  return std::wstring();
}

}  // namespace

std::wstring CPhrasePane::MainMenuText(UINT id) const {
  CWnd* frame = GetTopLevelParent();
  std::wstring text = MenuText(frame ? ::GetMenu(frame->m_hWnd) : nullptr, id);
  const size_t tab = text.find(L'\t');
  if (tab != std::wstring::npos) text.resize(tab);
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    // "&&" is a shown ampersand; a single one marks the mnemonic.
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

void CPhrasePane::ShowMenu(int kind, POINT screen) {
  const UINT* ids = kind == 0 ? kContextMenu : kind == 1 ? kAddMenu : kDeleteMenu;
  const size_t count = kind == 0   ? sizeof(kContextMenu) / sizeof(UINT)
                       : kind == 1 ? sizeof(kAddMenu) / sizeof(UINT)
                                   : sizeof(kDeleteMenu) / sizeof(UINT);
  CWnd* frame = GetTopLevelParent();
  HMENU mainMenu = frame ? ::GetMenu(frame->m_hWnd) : nullptr;
  CMenu menu;
  if (!frame || !menu.CreatePopupMenu()) return;
  for (size_t i = 0; i < count; ++i) {
    if (!ids[i]) {
      menu.AppendMenu(MF_SEPARATOR);
    } else {
      const std::wstring text = MenuText(mainMenu, ids[i]);
      menu.AppendMenu(MF_STRING, ids[i], text.empty() ? std::to_wstring(ids[i]).c_str() : text.c_str());
    }
  }
  if (kind != 0) ::SetMenuDefaultItem(menu, ids[0], FALSE);
  // The frame updates the items as the popup opens and routes the chosen
  // command; the focus in the tree brings both to this pane.
  FocusTree();
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, frame->m_hWnd, nullptr);
}

void CPhrasePane::OnTreeRClick(NMHDR*, LRESULT* result) {
  *result = 1;
  POINT screen = {};
  ::GetCursorPos(&screen);
  POINT client = screen;
  ::ScreenToClient(m_tree.m_hWnd, &client);
  UINT flags = 0;
  // The request is kept here; the posted message only wakes the pane, so
  // a message posted by another process carries nothing the pane reads.
  m_contextItem = m_tree.HitTest(client, &flags);
  m_contextPoint = screen;
  m_contextPending = true;
  PostMessage(GetPaneContextMenuMessage(), 0, 0);
}

LRESULT CPhrasePane::OnContextMenuRequest(WPARAM, LPARAM) {
  if (!m_contextPending) return 0;
  m_contextPending = false;
  HTREEITEM hit = m_contextItem;
  m_contextItem = nullptr;
  // The item may have gone between the post and now.
  if (m_tree.HasItem(hit) && m_tree.GetRecord(hit)) m_tree.SelectItem(hit);
  FocusTree();
  ShowMenu(0, m_contextPoint);
  return 1;
}

void CPhrasePane::OnTreeDblClk(NMHDR*, LRESULT* result) {
  *result = 0;
  if (CTreeItemToolTip* tip = m_tree.GetItemToolTip()) ::SendMessageW(tip->GetSafeHwnd(), TTM_POP, 0, 0);
}

void CPhrasePane::OnGetInfoTip(NMHDR* header, LRESULT* result) {
  *result = 0;
  auto* info = reinterpret_cast<NMTVGETINFOTIPW*>(header);
  CTreeItemToolTip* tip = m_tree.GetItemToolTip();
  const CQLRCommand* record = m_tree.GetRecord(info->hItem);
  if (!tip || !record || m_tree.GetDragController().IsDragging()) return;
  UpdateDocViews(nullptr, kHintItemHover, static_cast<LPARAM>(record->GetId()));
  std::vector<std::wstring> macros;
  if (std::shared_ptr<const CMacroList> list = GetMacroList()) {
    for (const CMacroEntry& entry : *list) macros.push_back(entry.name);
  }
  tip->SetItemTip(0, 0, CutTipText(BuildPhraseTip(*record, LoadPhraseTipLabels(), macros)), info->hItem, nullptr);
}

void CPhrasePane::OnToolDropDown(NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTOOLBARW*>(header);
  *result = TBDDRET_DEFAULT;
  if (PostMessage(GetPaneDropDownMessage(), static_cast<WPARAM>(m_toolBar.CommandToIndex(info->iItem)), info->iItem))
    ++m_dropDownRequests;
}

LRESULT CPhrasePane::OnDropDownRequest(WPARAM wParam, LPARAM lParam) {
  // Any program can post the registered message: only the pane's own
  // requests open a menu.
  if (m_dropDownRequests <= 0) return 0;
  --m_dropDownRequests;
  const UINT command = static_cast<UINT>(lParam);
  RECT rect = {};
  m_toolBar.SendMessage(TB_GETITEMRECT, wParam, reinterpret_cast<LPARAM>(&rect));
  POINT at = {rect.left, rect.bottom};
  ::ClientToScreen(m_toolBar.m_hWnd, &at);
  ShowMenu(command == ID_PHRASE_DELETE ? 2 : 1, at);
  return 1;
}

LRESULT CPhrasePane::OnDragQuestion(WPARAM wParam, LPARAM lParam) {
  // lParam points into the sender: only the tree on this thread may ask.
  if (!AfxIsMessageFromOwnThread() || !lParam) return 0;
  const auto* drop = reinterpret_cast<const TreeDropTarget*>(lParam);
  const CQLRCommand* dragged = m_tree.GetRecord(drop->dragged);
  const CQLRCommand* target = m_tree.GetRecord(drop->target);
  if (!dragged || !target || drop->target == drop->dragged || drop->target == m_tree.GetParentItem(drop->dragged))
    return 0;
  if (wParam == kTreeDragCanDrop) {
    CommandDragData data;
    data.hasRecord = true;
    data.id = dragged->GetId();
    data.isMove = true;
    return Store().CanDrop(target->GetId(), data) ? 1 : 0;
  }
  const std::wstring draggedText = m_tree.GetItemText(drop->dragged).GetString();
  const std::wstring targetText = m_tree.GetItemText(drop->target).GetString();
  if (!MoveRecord(dragged->GetId(), target->GetId(), true, true)) {
    const std::wstring text =
        L"Dragging [" + draggedText + L"]\nto\n[" + targetText + L"]\n\nOooops! Not implemented";
    ::MessageBoxW(m_hWnd, text.c_str(), editor_names::kBoxCaption, MB_ICONINFORMATION);
    return 0;
  }
  return 1;
}
