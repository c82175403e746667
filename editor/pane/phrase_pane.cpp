#include "editor/pane/phrase_pane.h"

#include <commctrl.h>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/doc/doc.h"
#include "editor/doc/folder_view.h"
#include "editor/settings_page/settings_page_rules.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor/tree/tree_item_text.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/menu_helpers.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/logging/log.h"
#include "foundation/system/shell_work_once.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/controls/image_list.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/res/afx_ids.h"

namespace {

constexpr UINT kIdsPhrases = 61207;
constexpr UINT kIdsAddNew = 144;
constexpr UINT kIdsHide = 163;
constexpr UINT kIdsCheckedOnly = 215;
constexpr UINT kIdsAllPhrases = 216;
// The toolbar's images: Add New, Delete, All Phrases, Checked Only.
constexpr UINT kToolIcons[] = {135, 134, 147, 157};

// Registered once for the process; the map entries read the variables.
const UINT g_addLabelMessage = GetPaneAddFromClipboardMessage();
const UINT g_addSharedMessage = ::RegisterWindowMessageW(L"{064CEBAB-27E2-48dd-B075-A67B247EA057}");
const UINT g_dragMessage = GetPaneDragMessage();
const UINT g_contextMessage = GetPaneContextMenuMessage();
const UINT g_dropDownMessage = GetPaneDropDownMessage();
const UINT g_closeMenuAddMessage = GetPaneCloseMenuAddMessage();

// The toolbar's images, made once for the process and never destroyed:
// loading and adding icons takes long, so they may be made on a thread of
// their own while the editor starts (an image list belongs to no thread).
HIMAGELIST g_toolImages = nullptr;

CShellWorkOnce& ToolImagesWork() {
  static CShellWorkOnce work([] {
    CImageList images;
    if (!images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0)) return;
    for (UINT icon : kToolIcons) AddIconOrEmpty(images, LoadSmallAppIcon(icon));
    g_toolImages = images.Detach();
  });
  return work;
}

}  // namespace

void StartMakingPhrasePaneImages() { ToolImagesWork().Start(); }

UINT GetPaneAddFromClipboardMessage() {
  // The name has no closing brace; the frame posts it under the same name.
  static const UINT message = ::RegisterWindowMessageW(L"{08AC3E0E-2319-4770-BC8A-5B7981E0800F");
  return message;
}
UINT GetPaneDragMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{5D6045BE-334C-4613-8D34-22650BC71F1D}");
  return message;
}
UINT GetPaneContextMenuMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{F75381CA-7728-43ce-BB66-828BA9BBD286}");
  return message;
}
UINT GetPaneDropDownMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{EA9BDCD7-15E6-4540-A64D-9D1B9EB2DEBF}");
  return message;
}
UINT GetPaneCloseMenuAddMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{00A5F70A-BF23-4c41-8D4B-21E143F1D9D0}");
  return message;
}

IMPLEMENT_DYNAMIC(CPhrasePane, CSizingControlBarCF)

BEGIN_MESSAGE_MAP(CPhrasePane, CSizingControlBarCF)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_NOTIFY(TVN_SELCHANGEDW, CPhrasePane::kTreeId, OnSelChanged)
  ON_NOTIFY(kTreeNotifyCheck, CPhrasePane::kTreeId, OnCheckChanged)
  ON_NOTIFY(TVN_BEGINLABELEDITW, CPhrasePane::kTreeId, OnBeginLabelEdit)
  ON_NOTIFY(TVN_ENDLABELEDITW, CPhrasePane::kTreeId, OnEndLabelEdit)
  ON_NOTIFY(NM_RCLICK, CPhrasePane::kTreeId, OnTreeRClick)
  ON_NOTIFY(NM_DBLCLK, CPhrasePane::kTreeId, OnTreeDblClk)
  ON_NOTIFY(TVN_GETINFOTIPW, CPhrasePane::kTreeId, OnGetInfoTip)
  ON_NOTIFY(TBN_DROPDOWN, CPhrasePane::kToolBarId, OnToolDropDown)
  ON_REGISTERED_MESSAGE(g_addLabelMessage, OnAddFromClipboardLabel)
  ON_REGISTERED_MESSAGE(g_addSharedMessage, OnAddFromClipboardShared)
  ON_REGISTERED_MESSAGE(g_dragMessage, OnDragQuestion)
  ON_REGISTERED_MESSAGE(g_contextMessage, OnContextMenuRequest)
  ON_REGISTERED_MESSAGE(g_dropDownMessage, OnDropDownRequest)
  ON_REGISTERED_MESSAGE(g_closeMenuAddMessage, OnCloseMenuAdd)

  ON_COMMAND(ID_PHRASE_ADD_TEXT, OnAddText)
  ON_COMMAND(ID_PHRASE_ADD_RTF, OnAddRtf)
  ON_COMMAND(ID_PHRASE_ADD_FROM_CB, OnAddFromClipboard)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_ADD_FROM_CB, OnUpdateAddFromClipboard)
  ON_COMMAND(ID_PHRASE_ADD_GROUP, OnAddGroup)
  ON_COMMAND(ID_PHRASE_DELETE, OnDelete)
  ON_COMMAND(ID_PHRASE_RENAME, OnRename)
  ON_COMMAND(ID_PHRASE_PROPERTIES, OnProperties)
  ON_COMMAND(ID_PHRASE_OPEN_FOLDER, OnOpenFolder)
  ON_COMMAND(ID_PHRASE_HIDE_UNCHECKED, OnHideUnchecked)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_HIDE_UNCHECKED, OnUpdateHideUnchecked)
  ON_COMMAND_RANGE(ID_SORT_NONE, ID_SORT_MODIFIED, OnSortMode)
  ON_UPDATE_COMMAND_UI_RANGE(ID_SORT_NONE, ID_SORT_MODIFIED, OnUpdateSort)
  ON_COMMAND(ID_PHRASE_MOVE_TO_ROOT, OnMoveToRoot)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_MOVE_TO_ROOT, OnUpdateMoveToRoot)
  ON_COMMAND(ID_PHRASE_MOVE_UP, OnMoveUp)
  ON_COMMAND(ID_PHRASE_MOVE_DOWN, OnMoveDown)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_MOVE_UP, OnUpdateMoveUp)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_MOVE_DOWN, OnUpdateMoveDown)
  ON_COMMAND(ID_EDIT_CUT, OnCut)
  ON_COMMAND(ID_EDIT_COPY, OnCopy)
  ON_COMMAND(ID_EDIT_PASTE, OnPaste)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
  ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_DELETE, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_RENAME, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_PROPERTIES, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_OPEN_FOLDER, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_ADD_TEXT, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_ADD_RTF, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_ADD_GROUP, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateAlways)
END_MESSAGE_MAP()

CPhrasePane::CPhrasePane() = default;

CPhrasePane::~CPhrasePane() {
  if (m_editFont) ::DeleteObject(m_editFont);
  if (m_treeFont) ::DeleteObject(m_treeFont);
}

CCommandFolder& CPhrasePane::Store() { return GetCommandStore(); }

BOOL CPhrasePane::CreatePane(CFrameWnd* frame, UINT nID, LPCWSTR stateProfile) {
  const std::wstring caption = LoadTreeString(kIdsPhrases, L"Phrases");
  const int width = ::GetSystemMetrics(SM_CXSCREEN) / 3;
  if (!Create(caption.c_str(), frame, CSize(width, 300), TRUE, nID,
              WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC))
    return FALSE;
  // The bar's creation leaves its plain title: the counts come now.
  UpdateCaption();
  if (stateProfile) LoadState(stateProfile);
  EnableDocking(CBRS_ALIGN_LEFT);
  return frame->DockControlBar(this, AFX_IDW_DOCKBAR_LEFT);
}

int CPhrasePane::OnCreate(LPCREATESTRUCT lpcs) {
  if (CSizingControlBarCF::OnCreate(lpcs) == -1) return -1;
  CreateToolBar();
  if (!m_tree.Create(WS_CHILD | WS_TABSTOP, CRect(0, 0, 10, 10), this, kTreeId)) {
    LogError(L"CPhrasePane: the tree cannot be created");
    return -1;
  }
  m_tree.SetOwnerNotify(m_hWnd, g_dragMessage);
  m_tree.SendMessage(TVM_SETINSERTMARKCOLOR, 0, RGB(255, 0, 0));
  m_tree.SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_MENU)));
  m_tree.SendMessage(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_MENUTEXT)));
  m_tree.SendMessage(TVM_SETLINECOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_MENUTEXT)));
  m_tree.SetDocUpdateHandler([](UINT hint) { UpdateDocViews(nullptr, hint, 0); });
  SetTreeFont();
  m_tree.FillFromStore(Store());
  m_tree.ShowWindow(SW_SHOW);
  AddDocListener(this);
  UpdateCaption();
  return 0;
}

BOOL CPhrasePane::OnCommand(WPARAM wParam, LPARAM lParam) {
  EditorSettingsReloadHold hold;
  return CSizingControlBarCF::OnCommand(wParam, lParam);
}

void CPhrasePane::OnDestroy() {
  KillTimer(kTimerSelect);
  KillTimer(kTimerPasteMark);
  CSizingControlBarCF::OnDestroy();
}

void CPhrasePane::CreateToolBar() {
  if (!m_toolBar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                            CCS_NORESIZE | CCS_NOPARENTALIGN,
                        CRect(0, 0, 10, 24), this, kToolBarId)) {
    LogError(L"CPhrasePane: the toolbar cannot be created");
    return;
  }
  m_toolBar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
  ToolImagesWork().Finish();
  m_toolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(g_toolImages));
  m_toolBar.SetIndent(2);
  m_toolBar.SetPadding(4, 2);
  const std::wstring addText = LoadTreeString(kIdsAddNew, L"Add New");
  std::wstring deleteText = MainMenuText(ID_PHRASE_DELETE);
  if (deleteText.empty()) deleteText = L"Delete";
  const std::wstring hideText = LoadTreeString(kIdsHide, L"Hide");
  TBBUTTON buttons[3] = {};
  const std::wstring* texts[3] = {&addText, &deleteText, &hideText};
  const int commands[3] = {ID_PHRASE_ADD_TEXT, ID_PHRASE_DELETE, ID_PHRASE_HIDE_UNCHECKED};
  for (int i = 0; i < 3; ++i) {
    buttons[i].iBitmap = i;
    buttons[i].idCommand = commands[i];
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = static_cast<BYTE>((i < 2 ? BTNS_DROPDOWN : BTNS_CHECK) | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    buttons[i].iString = reinterpret_cast<INT_PTR>(texts[i]->c_str());
  }
  m_toolBar.AddButtons(3, buttons);
  UpdateFilterButton();
}

void CPhrasePane::RenewButtonTexts() {
  if (!m_toolBar.m_hWnd) return;
  for (UINT command : {static_cast<UINT>(ID_PHRASE_ADD_TEXT), static_cast<UINT>(ID_PHRASE_DELETE)})
    SetButtonTextFromMenu(command);
  // The filter button names what it shows, in the new language too.
  UpdateFilterButton();
}

void CPhrasePane::TakeMenuTexts() { SetButtonTextFromMenu(ID_PHRASE_DELETE); }

void CPhrasePane::SetButtonTextFromMenu(UINT command) {
  if (!m_toolBar.m_hWnd) return;
  std::wstring text = MainMenuText(command);
  if (text.empty()) return;
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT;
  info.pszText = &text[0];
  m_toolBar.SendMessage(TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
}

void CPhrasePane::UpdateFilterButton() {
  if (!m_toolBar.m_hWnd) return;
  const bool all = GetEditorSettings().ShowUncheckedPhrases != 0;
  const std::wstring text =
      all ? LoadTreeString(kIdsAllPhrases, L"All Phrases") : LoadTreeString(kIdsCheckedOnly, L"Checked Only");
  m_toolBar.SetFilterButton(text.c_str(), all ? FALSE : TRUE);
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_IMAGE;
  info.iImage = all ? 2 : 3;
  m_toolBar.SendMessage(TB_SETBUTTONINFOW, ID_PHRASE_HIDE_UNCHECKED, reinterpret_cast<LPARAM>(&info));
}

void CPhrasePane::OnSize(UINT nType, int cx, int cy) {
  CSizingControlBarCF::OnSize(nType, cx, cy);
  int top = 0;
  if (m_toolBar.m_hWnd) {
    const DWORD size = static_cast<DWORD>(m_toolBar.SendMessage(TB_GETBUTTONSIZE));
    const int height = HIWORD(size) + 4;
    m_toolBar.SetWindowPos(nullptr, 0, 0, cx, height, SWP_NOZORDER | SWP_NOACTIVATE);
    top = height;
  }
  if (m_tree.m_hWnd) m_tree.SetWindowPos(nullptr, 0, top, cx, cy > top ? cy - top : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPhrasePane::UpdateCaption() {
  if (m_busy || !m_hWnd) return;
  int enabled = 0, total = 0;
  Store().CountCommands(&enabled, &total);
  const std::wstring caption = LoadTreeString(kIdsPhrases, L"Phrases") + L" [" + std::to_wstring(enabled) + L"/" +
                               std::to_wstring(total) + L"]";
  wchar_t current[256] = {};
  ::GetWindowTextW(m_hWnd, current, 256);
  if (caption != current) SetWindowText(caption.c_str());
}

void CPhrasePane::SetTreeFont() {
  if (!m_tree.m_hWnd) return;
  const LOGFONTW wanted = SaneMenuFont(GetEditorSettings().fontForMenu, SystemMenuFont());
  HFONT font = ::CreateFontIndirectW(&wanted);
  if (!font) return;
  m_tree.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // The tree no longer draws with the old one.
  if (m_treeFont) ::DeleteObject(m_treeFont);
  m_treeFont = font;
}

bool CPhrasePane::IsFocusInTree() const {
  HWND focus = ::GetFocus();
  return focus && m_tree.m_hWnd && (focus == m_tree.m_hWnd || ::IsChild(m_tree.m_hWnd, focus));
}

bool CPhrasePane::IsLabelEditing() const {
  return m_tree.m_hWnd && m_tree.SendMessage(TVM_GETEDITCONTROL) != 0;
}

void CPhrasePane::FocusTree() {
  if (m_tree.m_hWnd) m_tree.SetFocus();
}

// ---- Selection -----------------------------------------------------------

void CPhrasePane::OnSelChanged(NMHDR* header, LRESULT* result) {
  *result = 0;
  auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
  if (m_tree.IsFilling()) return;
  const std::wstring path = RecordPath(info->itemNew.hItem);
  SendFrameNotify(reinterpret_cast<LPARAM>(path.c_str()));
  KillTimer(kTimerSelect);
  m_pendingSelect = nullptr;
  if (info->action == TVC_BYMOUSE) {
    SelectInDocument(info->itemNew.hItem);
  } else if (info->action == TVC_BYKEYBOARD) {
    // Arrowing through the tree does not load every phrase on the way.
    m_pendingSelect = info->itemNew.hItem;
    SetTimer(kTimerSelect, kSelectDelay, nullptr);
  }
}

void CPhrasePane::SelectInDocument(HTREEITEM item) {
  CDoc* doc = GetActiveDoc();
  const std::uint32_t id = m_tree.GetItemId(item);
  if (!doc || id == kNoRecordId || !Store().FindCommandById(id)) return;
  if (doc->GetCurrentId() == static_cast<int>(id)) return;
  doc->SelectRecord(static_cast<int>(id));
}

void CPhrasePane::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTimerSelect) {
    KillTimer(kTimerSelect);
    HTREEITEM pending = m_pendingSelect;
    m_pendingSelect = nullptr;
    if (pending && m_tree.GetSelectedItem() == pending) SelectInDocument(pending);
    return;
  }
  if (nIDEvent == kTimerPasteMark) {
    KillTimer(kTimerPasteMark);
    m_tree.SendMessage(TVM_SETINSERTMARK, 0, 0);
    SetPasteNote(std::wstring());
    SendFrameNotify(reinterpret_cast<LPARAM>(L""));
    return;
  }
  CSizingControlBarCF::OnTimer(nIDEvent);
}

std::wstring CPhrasePane::RecordPath(HTREEITEM item) const {
  const CQLRCommand* record = m_tree.GetRecord(item);
  return record ? record->GetFilePath() : std::wstring();
}

void CPhrasePane::Refill(const std::wstring& selectPath) {
  // Items of the old fill are gone: a pending keyboard selection names none.
  KillTimer(kTimerSelect);
  m_pendingSelect = nullptr;
  m_tree.FillFromStore(Store());
  CDoc* doc = GetActiveDoc();
  int id = -1;
  if (!selectPath.empty()) {
    if (const CQLRCommand* record = Store().FindByPath(selectPath.c_str())) id = static_cast<int>(record->GetId());
  }
  if (id == -1 && doc) id = doc->GetCurrentId();
  if (HTREEITEM item = id == -1 ? nullptr : m_tree.FindItemById(static_cast<std::uint32_t>(id))) {
    m_tree.ExpandWithParents(m_tree.GetParentItem(item));
    m_tree.SelectItem(item);
    m_tree.EnsureVisible(item);
  }
  UpdateCaption();
}

// ---- Document updates ----------------------------------------------------

void CPhrasePane::OnDocUpdate(CView*, LPARAM lHint, LPARAM value) {
  if (!m_tree.m_hWnd) return;
  switch (lHint) {
    case kHintSelect: {
      HTREEITEM item = m_tree.FindItemById(static_cast<std::uint32_t>(value));
      if (!item) break;
      m_tree.ExpandWithParents(m_tree.GetParentItem(item));
      if (m_tree.GetSelectedItem() != item) m_tree.SelectItem(item);
      m_tree.EnsureVisible(item);
      break;
    }
    case kHintDataType: {
      HTREEITEM item = m_tree.FindItemById(static_cast<std::uint32_t>(value));
      if (const CQLRCommand* record = m_tree.GetRecord(item)) {
        const int image = CPhraseTreeCtrl::ImageOf(*record);
        TVITEMW data = {};
        data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        data.hItem = item;
        data.iImage = data.iSelectedImage = image;
        m_tree.SetItem(&data);
      }
      break;
    }
    case kHintLanguage:
      RenewButtonTexts();
      m_tree.Invalidate();
      break;
    case kHintMenuFont:
      SetTreeFont();
      break;
    case kHintRenameText:
      RenameCurrentTo(value ? *reinterpret_cast<const std::wstring*>(value) : std::wstring());
      break;
    case kHintRebuild: {
      const bool focused = IsFocusInTree();
      Refill();
      if (focused) FocusTree();
      break;
    }
    case kHintCheckAll:
    case kHintUncheckAll:
    case kHintInvertCheck:
      ApplyCheckToAll(static_cast<int>(lHint - kHintCheckAll));
      break;
    case kHintFocusTree:
      FocusTree();
      break;
    case kHintShowUnchecked:
      m_tree.Refresh(Store());
      UpdateFilterButton();
      UpdateCaption();
      break;
    case kHintCheckStates:
      if (value) ApplyCheckStates(*reinterpret_cast<const CheckChangeSet*>(value));
      break;
    case kHintFolderChanged:
      // A folder renamed by the label edit has its item renamed already.
      if (!m_endingLabelEdit) Refill();
      break;
    case kHintSeparator:
      if (HTREEITEM item = m_tree.GetSelectedItem()) {
        CRect rect;
        if (m_tree.GetItemRect(item, &rect, FALSE)) {
          rect.InflateRect(0, 4);
          m_tree.InvalidateRect(&rect);
        }
      }
      break;
    default:
      break;
  }
}

// ---- Check boxes ---------------------------------------------------------

void CPhrasePane::OnCheckChanged(NMHDR* header, LRESULT* result) {
  *result = 0;
  auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
  HTREEITEM item = info->itemNew.hItem;
  CQLRCommand* record = m_tree.GetRecord(item);
  if (!record || m_tree.IsFilling()) return;
  const bool checked = (info->itemNew.state & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  CheckChangeSet changes;
  changes.checked = checked;
  std::vector<std::uint32_t>& ids = changes.ids;
  if (record->IsFolder()) {
    // The folder's records follow it (each changed phrase is saved).
    record->SetEnabled(checked);
    std::vector<HTREEITEM> stack = {item};
    while (!stack.empty()) {
      HTREEITEM at = stack.back();
      stack.pop_back();
      ids.push_back(m_tree.GetItemId(at));
      for (HTREEITEM child = m_tree.GetChildItem(at); child; child = m_tree.GetNextSiblingItem(child)) {
        m_tree.SetItemCheck(child, checked, false);
        stack.push_back(child);
      }
    }
  } else {
    if (record->SetEnabled(checked)) Store().SaveCommand(record->GetId());
    ids.push_back(record->GetId());
  }
  for (HTREEITEM parent = m_tree.GetParentItem(item); parent; parent = m_tree.GetParentItem(parent)) {
    const CQLRCommand* folder = m_tree.GetRecord(parent);
    m_tree.SetItemCheck(parent, checked || (folder && folder->IsEnabled()), false);
  }
  StampPhraseChange();
  UpdateCaption();
  UpdateDocViews(nullptr, kHintCheckStates, reinterpret_cast<LPARAM>(&changes));
}

void CPhrasePane::ApplyCheckStates(const CheckChangeSet& changes) {
  // Each box goes through the tree's own check notice: the records follow,
  // and so do the folders above them.
  for (std::uint32_t id : changes.ids) m_tree.SetItemCheck(m_tree.FindItemById(id), changes.checked, true);
}

namespace {

// Sets (mode 0), clears (1) or inverts (2) the flag of every phrase below
// list; the changed ones are saved.
void ApplyToRecords(CCommandFolder& store, CommandList& list, int mode) {
  for (CQLRCommand& record : list) {
    if (record.IsFolder()) {
      ApplyToRecords(store, *record.GetChildren(), mode);
      continue;
    }
    const bool value = mode == 0 ? true : mode == 1 ? false : !record.IsEnabled();
    if (record.SetEnabled(value)) store.SaveCommand(record.GetId());
  }
}

}  // namespace

void CPhrasePane::ApplyCheckToAll(int mode) {
  HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  m_busy = true;
  ::EndMenu();
  // Every record of the store takes the state, not only the top-level
  // items: a folder shown checked would keep its disabled phrases.
  ApplyToRecords(Store(), Store().Commands(), mode);
  m_tree.Refresh(Store());
  m_busy = false;
  StampPhraseChange();
  UpdateCaption();
  ::SetCursor(old);
}
