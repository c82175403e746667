#include "editor/doc/folder_view.h"

#include <string>

#include "editor/app/editor_access.h"
#include "editor/doc/doc.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/localization/localized_strings.h"
#include "phrases/store/phrase_node.h"
#include "platform/mfc/controls/image_list.h"

IMPLEMENT_DYNCREATE(CFolderView, CListView)

namespace {

struct ColumnTitle {
  UINT id;
  const wchar_t* fallback;
};
constexpr ColumnTitle kColumnTitles[] = {{61207, L"Phrases"}, {170, L"Usage Count"}, {198, L"Path"}};
constexpr UINT kUncheckedBit = 0x1000;
// Room beside a column title's text, both sides together.
constexpr int kTitlePadding = 12;

std::wstring Localized(UINT id, const wchar_t* fallback) {
  CLngString text;
  return text.LoadString(id) ? text.Text() : std::wstring(fallback);
}

int ImageOf(const CQLRCommand& record) {
  if (record.IsFolder()) return kImageFolder;
  switch (record.DataType) {
    case kDataTypeRtf: return kImageRichText;
    case kDataTypeExec: return kImageApp;
    default: return kImagePlainText;
  }
}

// The strike-out variant of the list font, made once for the process.
HFONT GetStrikeOutListFont(HFONT listFont) {
  static HFONT font = editor::CreateStrikeOutFont(listFont);
  return font;
}

}  // namespace

const UINT g_folderViewOpenMessage = ::RegisterWindowMessageW(L"{71534116-A032-477b-A496-3C114DD9F35D}");

UINT GetFolderViewOpenMessage() { return g_folderViewOpenMessage; }

namespace {
const UINT g_fileTypeImagesReady = GetFileTypeImagesReadyMessage();
}  // namespace

BEGIN_MESSAGE_MAP(CFolderView, CListView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClick)
  ON_NOTIFY_REFLECT(LVN_DELETEALLITEMS, OnDeleteAllItems)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGING, OnItemChanging)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
  ON_NOTIFY_REFLECT(kListNotifyCheckChanged, OnCheckChanged)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_REGISTERED_MESSAGE(g_folderViewOpenMessage, OnOpenItem)
  ON_REGISTERED_MESSAGE(g_fileTypeImagesReady, OnFileTypeImagesReady)
END_MESSAGE_MAP()

BOOL CFolderView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CListView::PreCreateWindow(cs)) return FALSE;
  cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SHAREIMAGELISTS;
  return TRUE;
}

int CFolderView::OnCreate(LPCREATESTRUCT lpcs) {
  lpcs->style |= LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER;
  if (CListView::OnCreate(lpcs) == -1) return -1;
  CListCtrl& list = GetListCtrl();
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | LVS_NOSORTHEADER);
  // The check boxes are the state images of this extended style.
  list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, L"", LVCFMT_LEFT);
  list.InsertColumn(1, L"", LVCFMT_CENTER);
  list.InsertColumn(2, L"", LVCFMT_LEFT);
  SetColumnTitles();
  SetFont(editor::GetDialogFont(), FALSE);
  // The shell may still be asked for the icons while the frame starts: the
  // list comes up with empty images and takes the icons when they are there.
  if (CImageList* images = GetFileTypeImageListOrLater(m_hWnd)) list.SetImageList(images, LVSIL_SMALL);
  FitColumns();
  return 0;
}

LRESULT CFolderView::OnFileTypeImagesReady(WPARAM, LPARAM) {
  CImageList* images = GetFileTypeImageList();
  if (!images || reinterpret_cast<HIMAGELIST>(ListCall(LVM_GETIMAGELIST, LVSIL_SMALL, 0)) == images->GetSafeHandle())
    return 0;
  // In place of an empty list of the same size: nothing moves.
  GetListCtrl().SetImageList(images, LVSIL_SMALL);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return 0;
}

void CFolderView::OnSize(UINT, int, int) {
  Default();
  GetListCtrl().Arrange(LVA_DEFAULT);
}

void CFolderView::SetColumnTitles() {
  for (int column = 0; column < 3; ++column) {
    std::wstring title = Localized(kColumnTitles[column].id, kColumnTitles[column].fallback);
    LVCOLUMNW item = {};
    item.mask = LVCF_TEXT;
    item.pszText = &title[0];
    ListCall(LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  }
}

void CFolderView::FitColumns() {
  CListCtrl& list = GetListCtrl();
  // The first columns from the widest texts of the last fill, measured as
  // it was written; the list itself would measure every row again.
  ColumnFitter.FitAllButLast(m_hWnd);
  // The last column fills the room the others leave. Where they leave
  // none, a list may keep whatever width the column had before: it starts
  // from its title's width, as a column fitted to its header.
  constexpr int kLast = 2;
  wchar_t title[128] = {};
  LVCOLUMNW item = {};
  item.mask = LVCF_TEXT;
  item.pszText = title;
  item.cchTextMax = 128;
  ListCall(LVM_GETCOLUMNW, static_cast<WPARAM>(kLast), reinterpret_cast<LPARAM>(&item));
  const int width = static_cast<int>(ListCall(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(title)));
  list.SetColumnWidth(kLast, width + kTitlePadding);
  list.SetColumnWidth(kLast, LVSCW_AUTOSIZE_USEHEADER);
}

bool CFolderView::HasVerticalBar() const {
  return (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VSCROLL) != 0;
}

HFONT CFolderView::GetBoldFont() {
  if (!BoldFont.GetSafeHandle()) {
    HFONT listFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    if (::GetObjectW(listFont ? listFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), sizeof(lf),
                     &lf)) {
      lf.lfWeight = FW_BOLD;
      BoldFont.CreateFontIndirect(&lf);
    }
  }
  return static_cast<HFONT>(BoldFont.GetSafeHandle());
}

void CFolderView::OnInitialUpdate() { Refill(); }

void CFolderView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  const LPARAM cameBackFor = CameBackFor;
  CameBackFor = kNotCameBack;
  switch (lHint) {
    case kHintSelect:
      // The selection that brought the list back found it filled already.
      if (cameBackFor != kNotCameBack && cameBackFor == reinterpret_cast<LPARAM>(pHint)) break;
      Refill();
      break;
    case kHintShowUnchecked:
    case kHintFolderChanged:
    case kHintRebuild:
      Refill();
      break;
    case kHintLanguage:
      // The titles follow the language at once, as every other text does.
      SetColumnTitles();
      FitColumns();
      break;
    case kHintCheckStates:
      if (pHint) ApplyCheckChanges(*reinterpret_cast<const CheckChangeSet*>(pHint));
      break;
    default:
      break;
  }
}

LRESULT CFolderView::ListCall(UINT message, WPARAM wParam, LPARAM lParam) {
  // Straight to the list's own procedure: the view handles none of its
  // messages, and under Wine every SendMessageW is a trip through the
  // server, which a refill of thousands of rows would pay several times
  // per row.
  return DefWindowProc(message, wParam, lParam);
}

bool CFolderView::RowShows(const LVITEMW& wanted) {
  const size_t length = wcslen(wanted.pszText);
  std::wstring text(length + 2, L'\0');
  LVITEMW shown = {};
  shown.mask = wanted.mask;
  shown.iItem = wanted.iItem;
  shown.stateMask = wanted.stateMask;
  shown.pszText = &text[0];
  shown.cchTextMax = static_cast<int>(text.size());
  if (!ListCall(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&shown))) return false;
  return shown.iImage == wanted.iImage && shown.lParam == wanted.lParam &&
         (shown.state & wanted.stateMask) == wanted.state && wcslen(text.c_str()) == length &&
         wcscmp(text.c_str(), wanted.pszText) == 0;
}

void CFolderView::WriteRow(const FolderRow& row, int index, bool reuse, ListColumnFitter::Fill& measure) {
  const CQLRCommand& record = *row.record;
  std::wstring label;
  if (row.text) {
    label = row.text;
  } else if (record.IsFolder()) {
    std::wstring path = record.GetFilePath();
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    size_t slash = path.find_last_of(L'\\');
    label = slash == std::wstring::npos ? path : path.substr(slash + 1);
  } else {
    label = record.GetMenuName();
  }
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(label.c_str());
  item.iImage = ImageOf(record);
  item.lParam = static_cast<LPARAM>(record.GetId());
  // A row written over loses whatever a deleted row would have lost.
  item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED |
                   LVIS_OVERLAYMASK;
  item.state = INDEXTOSTATEIMAGEMASK(row.noCheckBox ? 0 : (record.IsEnabled() ? 2 : 1));
  if (reuse) {
    // The list tells its parent of every write, changed or not: a row that
    // already shows these values is left alone.
    if (!RowShows(item) && !ListCall(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return;
  } else {
    if (static_cast<int>(ListCall(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item))) != index) return;
    // A list with check boxes gives a new row an empty box whatever the
    // insert asks.
    if (static_cast<UINT>(ListCall(LVM_GETITEMSTATE, static_cast<WPARAM>(index), item.stateMask)) != item.state)
      ListCall(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  const std::wstring usage = std::to_wstring(record.GetUsageCount());
  const std::wstring path = record.GetFilePath();
  measure.Offer(0, label);
  measure.Offer(1, usage);
  measure.Offer(2, path);
  LVITEMW sub = {};
  sub.iSubItem = 1;
  sub.pszText = const_cast<wchar_t*>(usage.c_str());
  ListCall(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
  sub.iSubItem = 2;
  sub.pszText = const_cast<wchar_t*>(path.c_str());
  ListCall(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
}

void CFolderView::Refill() {
  CameBackFor = kNotCameBack;
  Filling = true;
  ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  CCommandFolder& store = GetCommandStore();
  CQLRCommand* record = doc ? doc->CurrentRecord() : nullptr;
  std::vector<FolderRow> rows;
  if (record && record->IsFolder()) {
    std::uint32_t parent = store.GetParentId(record->GetId());
    if (parent != kRootId) {
      if (CQLRCommand* up = store.FindCommandById(parent)) rows.push_back({up, L"...", true});
    }
    const bool showUnchecked = GetEditorSettings().ShowUncheckedPhrases != 0;
    if (CommandList* children = record->GetChildren())
      for (const CQLRCommand& child : *children)
        if (showUnchecked || child.IsEnabled()) rows.push_back({&child, nullptr, false});
  }
  // A filled list starts at its top-left corner, as a new one does. It is
  // scrolled back while its rows are there to scroll by: a list emptied
  // with its redraw off may keep its scroll position.
  if (ListCall(LVM_GETTOPINDEX, 0, 0) != 0) ListCall(LVM_ENSUREVISIBLE, 0, FALSE);
  const int across = ::GetScrollPos(m_hWnd, SB_HORZ);
  if (across > 0) ListCall(LVM_SCROLL, static_cast<WPARAM>(-across), 0);
  // The rows there are written over rather than deleted and made anew: a
  // row whose values stay costs the list no notice, a new one three. A
  // list far longer than needed is emptied instead.
  const int needed = static_cast<int>(rows.size());
  int kept = static_cast<int>(ListCall(LVM_GETITEMCOUNT, 0, 0));
  if (kept > 2 * needed) {
    ListCall(LVM_DELETEALLITEMS, 0, 0);
    kept = 0;
  }
  while (kept > needed) ListCall(LVM_DELETEITEM, static_cast<WPARAM>(--kept), 0);
  ListCall(LVM_SETSELECTIONMARK, 0, -1);
  {
    ListColumnFitter::Fill measure(ColumnFitter, m_hWnd);
    for (int i = 0; i < needed; ++i) WriteRow(rows[static_cast<size_t>(i)], i, i < kept, measure);
  }
  // Fitted while nothing is drawn: a shown list fitted with its redraw on
  // moves and repaints its columns at each width, which costs more than
  // the fill. The last column takes the room left beside the vertical bar,
  // which the list puts up or takes away only when its redraw comes back
  // on: where that changed the bar, the columns are fitted again.
  const bool hadBar = HasVerticalBar();
  FitColumns();
  ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  if (HasVerticalBar() != hadBar) FitColumns();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  Filling = false;
}

void CFolderView::ComeBack() {
  // The language may have changed while the list was away.
  SetColumnTitles();
  HFONT font = editor::GetDialogFont();
  if (GetFont() != font) {
    SetFont(font, FALSE);
    // The bold font is made from the list font.
    BoldFont.DeleteObject();
  }
  CImageList* images = GetFileTypeImageListOrLater(m_hWnd);
  HIMAGELIST wanted = images ? images->GetSafeHandle() : nullptr;
  if (wanted && reinterpret_cast<HIMAGELIST>(ListCall(LVM_GETIMAGELIST, LVSIL_SMALL, 0)) != wanted)
    GetListCtrl().SetImageList(images, LVSIL_SMALL);
  Refill();
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  CameBackFor = doc ? doc->GetCurrentId() : kNotCameBack;
}

int CFolderView::FindListItemById(std::uint32_t id) const {
  CListCtrl& list = GetListCtrl();
  const int count = list.GetItemCount();
  for (int i = 0; i < count; ++i)
    if (static_cast<std::uint32_t>(list.GetItemData(i)) == id) return i;
  return -1;
}

void CFolderView::ApplyCheckChanges(const CheckChangeSet& changes) {
  CListCtrl& list = GetListCtrl();
  // Setting the boxes fires LVN_ITEMCHANGED: that is no change of the user's.
  Filling = true;
  for (std::uint32_t id : changes.ids) {
    int index = FindListItemById(id);
    if (index < 0) continue;
    list.SetItemState(index, INDEXTOSTATEIMAGEMASK(changes.checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    RECT rect;
    if (list.GetItemRect(index, &rect, LVIR_BOUNDS)) ::InvalidateRect(m_hWnd, &rect, TRUE);
  }
  Filling = false;
}

void CFolderView::OnDblClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const NMITEMACTIVATE* activate = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
  if (activate->iItem < 0) return;
  // The record id travels, not the index: a refill before the message
  // arrives must not open another record.
  PostMessage(GetFolderViewOpenMessage(), static_cast<WPARAM>(GetListCtrl().GetItemData(activate->iItem)), 0);
}

LRESULT CFolderView::OnOpenItem(WPARAM wParam, LPARAM) {
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  if (doc) doc->SelectRecord(static_cast<int>(wParam));
  return 0;
}

// No one keeps anything per row, so the list need not report each deleted
// row on its own.
void CFolderView::OnDeleteAllItems(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }

void CFolderView::OnItemChanging(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void CFolderView::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
  if (Filling || !(change->uChanged & LVIF_STATE) || change->iItem < 0) return;
  if (((change->uOldState ^ change->uNewState) & kUncheckedBit) == 0) return;
  // A state image of 0 (the parent entry, a new item) is no box the user
  // clicked.
  if ((change->uNewState & LVIS_STATEIMAGEMASK) == 0 || (change->uOldState & LVIS_STATEIMAGEMASK) == 0) return;
  NMLISTCHECK notify = {};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = kListNotifyCheckChanged;
  notify.item = change->iItem;
  notify.checked = (change->uNewState & kUncheckedBit) == 0;
  ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void CFolderView::OnCheckChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const NMLISTCHECK* notify = reinterpret_cast<const NMLISTCHECK*>(pNMHDR);
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  if (!doc || notify->item < 0) return;
  CheckChangeSet changes;
  changes.checked = notify->checked != FALSE;
  changes.ids.push_back(static_cast<std::uint32_t>(GetListCtrl().GetItemData(notify->item)));
  doc->UpdateViews(this, kHintCheckStates, reinterpret_cast<LPARAM>(&changes));
}

void CFolderView::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    *pResult = CDRF_NOTIFYITEMDRAW;
    return;
  }
  const std::uint32_t id = static_cast<std::uint32_t>(draw->nmcd.lItemlParam);
  CQLRCommand* record = GetCommandStore().FindCommandById(id);
  HFONT listFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
    if (!record) {
      draw->clrText = RGB(255, 0, 0);
    } else if (record->IsEnabled()) {
      if (HFONT bold = GetBoldFont()) ::SelectObject(draw->nmcd.hdc, bold);
    } else {
      draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
      if (HFONT strike = GetStrikeOutListFont(listFont)) ::SelectObject(draw->nmcd.hdc, strike);
    }
    *pResult = CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW;
    return;
  }
  if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && record) {
    const bool enabled = record->IsEnabled();
    if (draw->iSubItem > 0) {
      ::SelectObject(draw->nmcd.hdc, editor::GetDefaultGuiFont());
      draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
    } else if (enabled) {
      if (HFONT bold = GetBoldFont()) ::SelectObject(draw->nmcd.hdc, bold);
      draw->clrText = GetListCtrl().GetTextColor();
    } else {
      draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
    }
    *pResult = CDRF_NEWFONT;
  }
}

BOOL CFolderView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB &&
      !::SendMessageW(m_hWnd, LVM_GETEDITCONTROL, 0, 0)) {
    if (CDoc* doc = static_cast<CDoc*>(GetDocument())) doc->UpdateViews(nullptr, kHintFocusTree, 0);
    return TRUE;
  }
  return CListView::PreTranslateMessage(pMsg);
}
