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

// The text of a command in the frame's (localised) menu; the id when it
// has none.
std::wstring MenuText(HMENU menu, UINT id) {
  wchar_t text[256] = {};
  if (menu && ::GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND) > 0) return text;
  return std::to_wstring(id);
}

}  // namespace

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
    if (!ids[i])
      menu.AppendMenu(MF_SEPARATOR);
    else
      menu.AppendMenu(MF_STRING, ids[i], MenuText(mainMenu, ids[i]).c_str());
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
  HTREEITEM hit = m_tree.HitTest(client, &flags);
  if (PostMessage(GetPaneContextMenuMessage(), MAKEWPARAM(screen.x, screen.y), reinterpret_cast<LPARAM>(hit)))
    ++m_menuRequests;
}

LRESULT CPhrasePane::OnContextMenuRequest(WPARAM wParam, LPARAM lParam) {
  // Any program can post the registered message: only the pane's own
  // requests open a menu.
  if (m_menuRequests <= 0) return 0;
  --m_menuRequests;
  auto hit = reinterpret_cast<HTREEITEM>(lParam);
  // The item may have gone between the post and now, or never been ours.
  if (m_tree.IsOwnItem(hit) && m_tree.GetRecord(hit)) m_tree.SelectItem(hit);
  FocusTree();
  POINT screen = {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
  ShowMenu(0, screen);
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
    ++m_menuRequests;
}

LRESULT CPhrasePane::OnDropDownRequest(WPARAM wParam, LPARAM lParam) {
  if (m_menuRequests <= 0) return 0;
  --m_menuRequests;
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
  CommandDragData data;
  data.hasRecord = true;
  data.id = dragged->GetId();
  data.isMove = true;
  if (wParam == kTreeDragCanDrop) return Store().CanDrop(target->GetId(), data) ? 1 : 0;
  const std::wstring draggedText = m_tree.GetItemText(drop->dragged).GetString();
  const std::wstring targetText = m_tree.GetItemText(drop->target).GetString();
  std::uint32_t newId = kRootId;
  if (!Store().MoveCommand(target->GetId(), data, &newId)) {
    const std::wstring text =
        L"Dragging [" + draggedText + L"]\nto\n[" + targetText + L"]\n\nOooops! Not implemented";
    ::MessageBoxW(m_hWnd, text.c_str(), editor_names::kBoxCaption, MB_ICONINFORMATION);
    return 0;
  }
  const CQLRCommand* moved = Store().FindCommandById(newId);
  Refill(moved ? moved->GetFilePath() : std::wstring());
  StampPhraseChange();
  return 1;
}
