// The document's view of a selected folder: a report list of its phrases
// and sub-folders with a check box each (checked = offered in the menu),
// the usage count and the file path. A double-click opens an entry; a
// check box toggled here reaches the tree through the document.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "foundation/ui/list_column_fit.h"
#include "platform/mfc/doc/list_view.h"
#include "platform/mfc/gdi/font.h"

class CQLRCommand;

// The list's own notice of a toggled check box, sent to its parent and
// reflected back to it.
constexpr UINT kListNotifyCheckChanged = 2816;
struct NMLISTCHECK {
  NMHDR hdr;
  int item;
  BOOL checked;
};

// Hint 16's value: records whose check state changed, and the new state.
struct CheckChangeSet {
  bool checked = false;
  std::vector<std::uint32_t> ids;
};

class CFolderView : public CListView {
  DECLARE_DYNCREATE(CFolderView)

 public:
  CFolderView() = default;
  ~CFolderView() override = default;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The item of a record id, or -1.
  int FindListItemById(std::uint32_t id) const;
  void Refill();
  // Brings a list that was kept hidden back to what a list made now would
  // show: column titles in the language of now, the shared font and
  // images, no scrolling, and the current folder's rows. Its document must
  // hold it again first.
  void ComeBack();
  bool IsFilling() const { return Filling; }

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSize(UINT nType, int cx, int cy);
  void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
  void OnDeleteAllItems(NMHDR* pNMHDR, LRESULT* pResult);
  void OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult);
  void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
  void OnCheckChanged(NMHDR* pNMHDR, LRESULT* pResult);
  void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  LRESULT OnOpenItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnFileTypeImagesReady(WPARAM wParam, LPARAM lParam);
  bool HasVerticalBar() const;

  CFont BoldFont;
  // Sizes the first columns from the widest texts of the last refill.
  ListColumnFitter ColumnFitter;
  bool Filling = false;
  // The record a come-back filled the list for, until the next notice: the
  // selection notice that brought the list back needs no second fill.
  static constexpr LPARAM kNotCameBack = -2;
  LPARAM CameBackFor = kNotCameBack;

 private:
  // One row of the list: its record, the text in place of the record's
  // own, and whether it has no check box (the parent entry).
  struct FolderRow {
    const CQLRCommand* record;
    const wchar_t* text;
    bool noCheckBox;
  };
  LRESULT ListCall(UINT message, WPARAM wParam, LPARAM lParam);
  // The row already shows the item's text, image, data and state.
  bool RowShows(const LVITEMW& wanted);
  // Row index made anew, or written over when reuse.
  void WriteRow(const FolderRow& row, int index, bool reuse, ListColumnFitter::Fill& measure);
  void ApplyCheckChanges(const CheckChangeSet& changes);
  void SetColumnTitles();
  void FitColumns();
  HFONT GetBoldFont();
  DECLARE_MESSAGE_MAP()
};

// "{71534116-A032-477b-A496-3C114DD9F35D}": open the item whose record id
// is wParam (posted by a double-click).
UINT GetFolderViewOpenMessage();
