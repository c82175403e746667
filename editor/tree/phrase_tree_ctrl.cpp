#include "editor/tree/phrase_tree_ctrl.h"

#include <algorithm>
#include <vector>

#include "editor/tree/tree_item_text.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/system/sounds.h"
#include "htmldraw/tooltip/tree_item_tooltip.h"
#include "phrases/store/phrase_node.h"

namespace {

// Registered once for the process; the map entry reads the variable.
UINT g_checkMessage = GetTreeCheckMessage();
UINT g_fileTypeImagesReady = GetFileTypeImagesReadyMessage();

}  // namespace

UINT GetTreeCheckMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{D4496398-1D3E-42b5-AD7E-DD07DA1F1F5F}");
  return message;
}

bool CPhraseTreeDrag::CanDrop(HTREEITEM item, POINT point) {
  HWND owner = m_treeCtrl->GetOwnerWindow();
  if (!owner) return true;
  TreeDropTarget target = {item, point, GetDraggedItem()};
  return ::SendMessageW(owner, m_treeCtrl->GetOwnerMessage(), kTreeDragCanDrop,
                        reinterpret_cast<LPARAM>(&target)) != 0;
}

void CPhraseTreeDrag::OnDrop(HTREEITEM dragged, HTREEITEM target, POINT point) {
  HWND owner = m_treeCtrl->GetOwnerWindow();
  if (!target) {
    PlaySoundAlias(L"SystemExclamation", true);
    return;
  }
  if (!owner) return;
  TreeDropTarget drop = {target, point, dragged};
  ::SendMessageW(owner, m_treeCtrl->GetOwnerMessage(), kTreeDragDropped, reinterpret_cast<LPARAM>(&drop));
}

bool CEmptyTreePainter::IsTextShown() const {
  HWND tree = GetWindow();
  return tree && ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 0;
}

std::wstring CEmptyTreePainter::GetText() const {
  return LoadTreeString(kIdsEmptyTree, L"Right click to add new phrase");
}

BEGIN_MESSAGE_MAP(CPhraseTreeCtrl, CTreeCtrlEx)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_NOTIFY_REFLECT_EX(NM_CLICK, OnClick)
  ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDEDW, OnItemExpanded)
  ON_NOTIFY_REFLECT(TVN_BEGINDRAGW, OnBeginDrag)
  ON_NOTIFY_REFLECT_EX(TVN_DELETEITEMW, OnDeleteItem)
  ON_NOTIFY_REFLECT_EX(TVN_GETINFOTIPW, OnGetInfoTip)
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_PARENTNOTIFY()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_REGISTERED_MESSAGE(g_checkMessage, OnCheckMessage)
  ON_REGISTERED_MESSAGE(g_fileTypeImagesReady, OnFileTypeImagesReady)
END_MESSAGE_MAP()

CPhraseTreeCtrl::CPhraseTreeCtrl() : m_drag(this) { m_emptyPainter.SetStringId(kIdsEmptyTree); }

CPhraseTreeCtrl::~CPhraseTreeCtrl() {
  m_drag.Cancel();
  m_itemTip.reset();
  if (m_hWnd) DestroyWindow();
  if (m_strikeFont) ::DeleteObject(m_strikeFont);
}

BOOL CPhraseTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!CTreeCtrl::Create(dwStyle | kTreeStyle, rect, pParentWnd, nID)) return FALSE;
  // The check box images come with a change to the style: set at creation
  // the style alone may leave the control without them.
  if (!SendMessage(TVM_GETIMAGELIST, TVSIL_STATE)) {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() & ~TVS_CHECKBOXES));
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | TVS_CHECKBOXES));
  }
  return TRUE;
}

int CPhraseTreeCtrl::OnCreate(LPCREATESTRUCT create) {
  int result = static_cast<int>(Default());
  if (result == -1) return -1;
  // Empty images of the icons' size while the shell is still asked for
  // them; the icons come with the message that they are there.
  if (CImageList* images = GetFileTypeImageListOrLater(m_hWnd)) SetImageList(images, TVSIL_NORMAL);
  m_emptyPainter.SetWindow(m_hWnd);
  m_emptyPainter.SetFont(editor::GetNormalDialogFont());
  return result;
}

LRESULT CPhraseTreeCtrl::OnFileTypeImagesReady(WPARAM, LPARAM) {
  CImageList* images = GetFileTypeImageList();
  if (images && ::SendMessageW(m_hWnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0) !=
                    reinterpret_cast<LRESULT>(images->GetSafeHandle())) {
    SetImageList(images, TVSIL_NORMAL);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
  return 0;
}

CTreeItemToolTip* CPhraseTreeCtrl::GetItemToolTip() {
  // Made when first needed (the mouse over the tree): a tip is a window of
  // its own, which costs the start of the editor a trip to the display.
  if (!m_itemTip && m_hWnd) {
    m_itemTip = std::make_unique<CTreeItemToolTip>(m_hWnd);
    if (m_itemTip->Create(this)) m_itemTip->AddTool(this, L"");
  }
  return m_itemTip.get();
}

void CPhraseTreeCtrl::OnDestroy() {
  m_drag.Cancel();
  m_itemTip.reset();
  m_items.clear();
  Default();
}

// ---- Filling -------------------------------------------------------------

void CPhraseTreeCtrl::FillFromStore(CCommandFolder& store) {
  // Inserting with redrawing on costs a repaint per item.
  SendMessage(WM_SETREDRAW, FALSE);
  Fill(store);
  SendMessage(WM_SETREDRAW, TRUE);
  Invalidate();
}

void CPhraseTreeCtrl::Fill(CCommandFolder& store) {
  bool wasFilling = m_filling;
  m_filling = true;
  m_store = &store;
  // A waiting tip was built from a record of the old fill.
  if (m_itemTip) m_itemTip->CancelTip();
  DeleteAllItems();
  m_items.clear();
  bool showDisabled = GetEditorSettings().ShowUncheckedPhrases != 0;
  InsertRecords(store.Commands(), TVI_ROOT, showDisabled, true);
  m_filling = wasFilling;
}

void CPhraseTreeCtrl::InsertRecords(CommandList& list, HTREEITEM parent, bool showDisabled, bool sortTopLevel) {
  std::vector<CQLRCommand*> order;
  order.reserve(list.size());
  for (CQLRCommand& record : list)
    if (showDisabled || record.IsEnabled()) order.push_back(&record);
  if (sortTopLevel) {
    std::stable_sort(order.begin(), order.end(), [](const CQLRCommand* a, const CQLRCommand* b) {
      if (a->IsFolder() != b->IsFolder()) return !a->IsFolder();
      return a->m_sortId < b->m_sortId;
    });
  }
  for (CQLRCommand* record : order) {
    HTREEITEM item = InsertRecord(*record, parent);
    if (item && record->IsFolder()) InsertRecords(*record->GetChildren(), item, showDisabled, false);
  }
}

HTREEITEM CPhraseTreeCtrl::InsertRecord(const CQLRCommand& record, HTREEITEM parent) {
  std::wstring label;
  if (record.IsFolder()) {
    const std::wstring& path = record.GetFilePath();
    size_t end = path.find_last_not_of(L"\\/");
    if (end != std::wstring::npos) {
      size_t start = path.find_last_of(L"\\/", end);
      label = path.substr(start == std::wstring::npos ? 0 : start + 1,
                          end - (start == std::wstring::npos ? 0 : start + 1) + 1);
    }
    if (label.empty()) label = record.GetMenuName();
  } else {
    label = record.GetMenuName();
  }
  bool enabled = record.IsEnabled();
  int image = ImageOf(record);
  HTREEITEM item = CTreeCtrl::InsertItem(
      TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE, label.c_str(), image, image,
      INDEXTOSTATEIMAGEMASK(enabled ? 2 : 1) | (enabled ? TVIS_BOLD : 0), TVIS_STATEIMAGEMASK | TVIS_BOLD,
      static_cast<LPARAM>(record.GetId()), parent, TVI_LAST);
  if (item) m_items[record.GetId()] = item;
  return item;
}

int CPhraseTreeCtrl::ImageOf(const CQLRCommand& record) {
  if (record.IsFolder()) return kImageFolder;
  switch (record.DataType) {
    case kDataTypeText:
      return kImagePlainText;
    case kDataTypeRtf:
      return kImageRichText;
    case kDataTypeExec:
      return kImageApp;
    default:
      return kImageFolder;
  }
}

void CPhraseTreeCtrl::CollectExpanded(HTREEITEM parent, std::vector<std::uint32_t>& ids) const {
  // Only open folders are entered: what lies in a closed one is not open.
  for (HTREEITEM item = GetChildItem(parent); item; item = GetNextSiblingItem(item)) {
    if (!(GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED)) continue;
    ids.push_back(GetItemId(item));
    CollectExpanded(item, ids);
  }
}

void CPhraseTreeCtrl::Refresh(CCommandFolder& store) {
  bool wasFilling = m_filling;
  m_filling = true;
  HTREEITEM selected = GetSelectedItem();
  HTREEITEM kept = selected ? selected : GetFirstVisibleItem();
  std::uint32_t keptId = kept ? GetItemId(kept) : kNoRecordId;
  bool keptExpanded = selected && (GetItemState(selected, TVIS_EXPANDED) & TVIS_EXPANDED);
  std::vector<std::uint32_t> expanded;
  CollectExpanded(TVI_ROOT, expanded);

  SendMessage(WM_SETREDRAW, FALSE);
  Fill(store);
  for (std::uint32_t id : expanded) ExpandWithParents(FindItemById(id));
  HTREEITEM item = FindItemById(keptId);
  if (item && selected) Select(item, TVGN_CARET);
  if (item && keptExpanded) {
    Expand(item, TVE_EXPAND);
    UpdateFolderImage(item);
  }
  SendMessage(WM_SETREDRAW, TRUE);
  // Scrolled once the control lays its items out again.
  if (item) {
    CTreeCtrl::EnsureVisible(item);
    Select(item, TVGN_FIRSTVISIBLE);
  }
  Invalidate();
  m_filling = wasFilling;
}

HTREEITEM CPhraseTreeCtrl::InsertItem(LPCWSTR text, std::uint32_t id, HTREEITEM parent, bool first, int image,
                                      bool check) {
  HTREEITEM item = CTreeCtrl::InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE,
                                         text ? text : L"", image, image,
                                         INDEXTOSTATEIMAGEMASK(check ? 2 : 1) | (check ? TVIS_BOLD : 0),
                                         TVIS_STATEIMAGEMASK | TVIS_BOLD, static_cast<LPARAM>(id),
                                         parent ? parent : TVI_ROOT, first ? TVI_FIRST : TVI_LAST);
  if (!item) return nullptr;
  m_items[id] = item;
  if (check) QueueCheckNotice(item);
  return item;
}

void CPhraseTreeCtrl::QueueCheckNotice(HTREEITEM item) {
  m_pendingChecks.push_back(item);
  PostMessage(g_checkMessage, 0, 0);
}

bool CPhraseTreeCtrl::HasItem(HTREEITEM item) const {
  if (!item) return false;
  for (const auto& entry : m_items)
    if (entry.second == item) return true;
  return false;
}

HTREEITEM CPhraseTreeCtrl::FindItemById(std::uint32_t id) const {
  auto found = m_items.find(id);
  return found == m_items.end() ? nullptr : found->second;
}

HTREEITEM FindTreeItemFromRoot(const CPhraseTreeCtrl& tree, std::uint32_t id) { return tree.FindItemById(id); }

HTREEITEM FindTreeItemInSubtree(const CPhraseTreeCtrl& tree, HTREEITEM top, std::uint32_t id) {
  HTREEITEM item = tree.FindItemById(id);
  if (!top || top == TVI_ROOT) return item;
  for (HTREEITEM at = item; at; at = tree.GetParentItem(at))
    if (at == top) return item;
  return nullptr;
}

std::uint32_t CPhraseTreeCtrl::GetItemId(HTREEITEM item) const {
  if (!item) return kNoRecordId;
  TVITEMW data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!GetItem(&data)) return kNoRecordId;
  return static_cast<std::uint32_t>(data.lParam);
}

std::uint32_t CPhraseTreeCtrl::GetSelectedId() const { return GetItemId(GetSelectedItem()); }

CQLRCommand* CPhraseTreeCtrl::GetRecord(HTREEITEM item) const {
  if (!m_store || !item) return nullptr;
  std::uint32_t id = GetItemId(item);
  return id == kNoRecordId ? nullptr : m_store->FindCommandById(id);
}

BOOL CPhraseTreeCtrl::OnDeleteItem(NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
  auto found = m_items.find(static_cast<std::uint32_t>(info->itemOld.lParam));
  if (found != m_items.end() && found->second == info->itemOld.hItem) m_items.erase(found);
  if (m_hoverItem == info->itemOld.hItem) m_hoverItem = nullptr;
  *result = 0;
  return FALSE;
}

int CPhraseTreeCtrl::SetItemCheck(HTREEITEM item, bool checked, bool notify) {
  if (!item || (GetCheck(item) != FALSE) == checked) return 0;
  SetCheck(item, checked);
  SetBold(item, checked);
  if (notify) QueueCheckNotice(item);
  return 1;
}

void CPhraseTreeCtrl::SetBold(HTREEITEM item, bool bold) { SetItemState(item, bold ? TVIS_BOLD : 0, TVIS_BOLD); }

void CPhraseTreeCtrl::ExpandWithParents(HTREEITEM item) {
  // An expand by message sends no notification on Windows: the images are
  // switched here.
  for (; item; item = GetParentItem(item)) {
    Expand(item, TVE_EXPAND);
    UpdateFolderImage(item);
  }
}

void CPhraseTreeCtrl::EnsureVisible(HTREEITEM item) { TreeEnsureVisibleKeepHScroll(m_hWnd, item); }

HFONT CPhraseTreeCtrl::GetStrikeOutFont() {
  if (!m_strikeFont) {
    HFONT font = GetFont();
    m_strikeFont = editor::CreateStrikeOutFont(font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  }
  return m_strikeFont;
}
