// The phrase tree: one tree item per record of the phrase store, with
// check boxes for the enabled state, icons by data type, a count text after
// each label, the menu separators as lines, an item tooltip and dragging of
// items. Items carry their record id as item data.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "editor/store/command_folder.h"
#include "editor/tree/tree_drag.h"
#include "editor_settings/helpers/control_ex.h"
#include "editor_settings/helpers/window_text_painter.h"
#include "platform/mfc/afxcmn.h"

class CTreeItemToolTip;
class CPhraseTreeCtrl;

// WM_NOTIFY code to the parent after a check box changed (NMTREEVIEWW,
// itemNew: the item, its state with TVIS_BOLD and the check image).
constexpr UINT kTreeNotifyCheck = 0x0B00;
// The document update hint the tree gives for Tab: move the focus on.
constexpr UINT kHintTreeTab = 11;
constexpr std::uint32_t kNoRecordId = static_cast<std::uint32_t>(-1);

// What a drag notification's lParam points to.
struct TreeDropTarget {
  HTREEITEM target;   // null: no item
  POINT point;        // client position in the tree
  HTREEITEM dragged;
};
// wParam of the drag notification to the owner.
enum TreeDragNotify : WPARAM { kTreeDragCanDrop = 0, kTreeDragDropped = 1 };

// "{D4496398-1D3E-42b5-AD7E-DD07DA1F1F5F}", posted to the tree to take the
// check boxes that changed from its own queue.
UINT GetTreeCheckMessage();

class CPhraseTreeDrag : public CTreeDragController {
 public:
  explicit CPhraseTreeDrag(CPhraseTreeCtrl* tree) : m_treeCtrl(tree) {}
  bool CanDrop(HTREEITEM item, POINT point) override;
  void OnDrop(HTREEITEM dragged, HTREEITEM target, POINT point) override;

 private:
  CPhraseTreeCtrl* m_treeCtrl;
};

class CEmptyTreePainter : public CWindowTextPainter {
 public:
  bool IsTextShown() const override;
  std::wstring GetText() const override;
};

class CPhraseTreeCtrl : public CTreeCtrlEx {
 public:
  static constexpr DWORD kTreeStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                                      TVS_CHECKBOXES | TVS_INFOTIP;
  static constexpr UINT_PTR kTimerResize = 4389;
  static constexpr UINT kResizeDelay = 500;
  // The wait for the control's own info-tip request before the tree asks
  // its parent itself.
  static constexpr UINT_PTR kTimerInfoTip = 4390;

  CPhraseTreeCtrl();
  ~CPhraseTreeCtrl() override;

  using CTreeCtrl::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

  void FillFromStore(CCommandFolder& store);
  // Refills keeping the selection, the expanded folders and the scroll.
  void Refresh(CCommandFolder& store);
  HTREEITEM InsertItem(LPCWSTR text, std::uint32_t id, HTREEITEM parent, bool first, int image, bool check);
  HTREEITEM FindItemById(std::uint32_t id) const;
  // The item is one of the tree's present items.
  bool HasItem(HTREEITEM item) const;
  std::uint32_t GetItemId(HTREEITEM item) const;
  std::uint32_t GetSelectedId() const;
  // 0 when the box was so already; else 1.
  int SetItemCheck(HTREEITEM item, bool checked, bool notify);
  void ExpandWithParents(HTREEITEM item);
  // Keeps the sideways scroll position.
  void EnsureVisible(HTREEITEM item);

  // The record of an item (null when it is gone or the tree has no store).
  CQLRCommand* GetRecord(HTREEITEM item) const;
  static int ImageOf(const CQLRCommand& record);
  bool IsFilling() const { return m_filling; }

  void SetOwnerNotify(HWND owner, UINT message) {
    m_owner = owner;
    m_ownerMessage = message;
  }
  HWND GetOwnerWindow() const { return m_owner; }
  UINT GetOwnerMessage() const { return m_ownerMessage; }
  // Receives the document updates the tree gives (the Tab hint).
  void SetDocUpdateHandler(std::function<void(UINT hint)> handler) { m_docUpdate = std::move(handler); }

  // The phrase tip over the tree's items, made when first asked for.
  CTreeItemToolTip* GetItemToolTip();
  CPhraseTreeDrag& GetDragController() { return m_drag; }
  const CEmptyTreePainter& GetEmptyPainter() const { return m_emptyPainter; }
  HFONT GetStrikeOutFont();

 protected:
  int OnCreate(LPCREATESTRUCT create);
  void OnDestroy();
  void OnCustomDraw(NMHDR* header, LRESULT* result);
  BOOL OnClick(NMHDR* header, LRESULT* result);
  BOOL OnItemExpanded(NMHDR* header, LRESULT* result);
  void OnBeginDrag(NMHDR* header, LRESULT* result);
  BOOL OnDeleteItem(NMHDR* header, LRESULT* result);
  BOOL OnGetInfoTip(NMHDR* header, LRESULT* result);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnKeyUp(UINT key, UINT repeat, UINT flags);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnParentNotify(UINT message, LPARAM lParam);
  void OnWindowPosChanged(WINDOWPOS* pos);
  void OnTimer(UINT_PTR id);
  void OnPaint();
  void OnMouseMove(UINT flags, CPoint point);
  void OnMouseLeave();
  LRESULT OnCheckMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnFileTypeImagesReady(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  friend class CPhraseTreeDrag;
  void Fill(CCommandFolder& store);
  void InsertRecords(CommandList& list, HTREEITEM parent, bool showDisabled, bool sortTopLevel);
  HTREEITEM InsertRecord(const CQLRCommand& record, HTREEITEM parent);
  void CollectExpanded(HTREEITEM parent, std::vector<std::uint32_t>& ids) const;
  LRESULT ItemPrePaint(NMTVCUSTOMDRAW* draw);
  void ItemPostPaint(NMTVCUSTOMDRAW* draw);
  void DrawSeparators(HDC dc, HTREEITEM item, const CQLRCommand& record, const RECT& label, const RECT& client);
  void AskParentForInfoTip(HTREEITEM item);
  void SetBold(HTREEITEM item, bool bold);
  // The check notice of item is sent to the parent from the message loop.
  void QueueCheckNotice(HTREEITEM item);
  void NotifyCheck(HTREEITEM item);
  // The open or closed folder image by the item's expanded state.
  void UpdateFolderImage(HTREEITEM item);

  CEmptyTreePainter m_emptyPainter;
  CPhraseTreeDrag m_drag;
  bool m_filling = false;
  DWORD m_lastSizeTick = 0;
  std::unique_ptr<CTreeItemToolTip> m_itemTip;
  bool m_trackingLeave = false;
  HWND m_owner = nullptr;
  UINT m_ownerMessage = 0;

  CCommandFolder* m_store = nullptr;
  std::unordered_map<std::uint32_t, HTREEITEM> m_items;
  std::function<void(UINT hint)> m_docUpdate;
  HFONT m_strikeFont = nullptr;
  POINT m_lastDown = {-1, -1};
  HTREEITEM m_hoverItem = nullptr;
  bool m_infoTipCame = false;
  bool m_askingInfoTip = false;
  std::vector<HTREEITEM> m_pendingChecks;
};

// The item of a record id in the whole tree, and the same only when the
// item is the subtree's top or lies below it (null top: the whole tree).
HTREEITEM FindTreeItemFromRoot(const CPhraseTreeCtrl& tree, std::uint32_t id);
HTREEITEM FindTreeItemInSubtree(const CPhraseTreeCtrl& tree, HTREEITEM top, std::uint32_t id);
