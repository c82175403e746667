// The "Phrases" pane of the main frame: a sizing bar docked on the left
// with the phrase tree and a small toolbar. It keeps the tree in step with
// the phrase store and the document, and carries out the phrase commands
// of the tree, its toolbar and the frame's menus.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/doc/doc_listener.h"
#include "editor/toolbars/pane_toolbar_ctrl.h"
#include "editor/tree/phrase_tree_ctrl.h"
#include "editor_settings/sizing_bar/sizing_control_bar_cf.h"

class CCmdUI;
class CCommandFolder;
struct CheckChangeSet;

// Registered messages the pane handles (the frame posts the first two).
UINT GetPaneAddFromClipboardMessage();  // add from the clipboard with label edit
UINT GetPaneDragMessage();              // the tree's drag questions
UINT GetPaneContextMenuMessage();       // wakes the pane for its pending context menu
UINT GetPaneDropDownMessage();          // wParam: button index, lParam: command
UINT GetPaneCloseMenuAddMessage();      // close menus, then add from the clipboard

// Makes the toolbar's images on a thread of their own while the editor
// starts; the first pane takes them (or makes them when never started).
void StartMakingPhrasePaneImages();

class CPhrasePane : public CSizingControlBarCF, public IDocUpdateListener {
  DECLARE_DYNAMIC(CPhrasePane)

 public:
  static constexpr UINT kTreeId = 1243;
  static constexpr UINT kToolBarId = 1030;
  static constexpr UINT_PTR kTimerSelect = 100;
  static constexpr UINT kSelectDelay = 350;
  static constexpr UINT_PTR kTimerPasteMark = 101;
  static constexpr UINT kPasteMarkDelay = 3000;
  // A new group's name is cut to what a menu name may hold.
  static constexpr size_t kGroupNameChars = 60;

  CPhrasePane();
  ~CPhrasePane() override;

  // Docked on the left of frame, a third of the screen wide; with a
  // profile name the sizes kept there are loaded before docking.
  BOOL CreatePane(CFrameWnd* frame, UINT nID, LPCWSTR stateProfile = nullptr);
  CPhraseTreeCtrl& Tree() { return m_tree; }
  // The keyboard focus lies in the tree or a window inside it (the label
  // editor).
  bool IsFocusInTree() const;
  bool IsLabelEditing() const;
  void UpdateCaption();
  void FocusTree();
  // The Delete button's text from the frame's menu: the pane is made
  // before the frame localises its menu, so the frame calls this after.
  void TakeMenuTexts();

  void OnDocUpdate(CView* pSender, LPARAM lHint, LPARAM value) override;
  HWND GetListenerHwnd() override { return m_hWnd; }
  // The toolbar's buttons reach the pane, not the frame: their commands
  // too take options changed meanwhile only once they have ended.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  // A new phrase under target (kRootId: the top level).
  void AddPhrase(bool fromClipboard, bool labelEdit, bool rtf, std::uint32_t target);
  // The folder an operation lands in: the selected folder, else the
  // selected item's parent, else the top level.
  std::uint32_t TargetFolderId() const;
  void SetPasteNote(const std::wstring& note);
  std::wstring PasteTargetText();

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  void OnTimer(UINT_PTR nIDEvent);

  void OnSelChanged(NMHDR* header, LRESULT* result);
  void OnCheckChanged(NMHDR* header, LRESULT* result);
  void OnBeginLabelEdit(NMHDR* header, LRESULT* result);
  void OnEndLabelEdit(NMHDR* header, LRESULT* result);
  void OnTreeRClick(NMHDR* header, LRESULT* result);
  void OnTreeDblClk(NMHDR* header, LRESULT* result);
  void OnGetInfoTip(NMHDR* header, LRESULT* result);
  void OnToolDropDown(NMHDR* header, LRESULT* result);
  LRESULT OnAddFromClipboardLabel(WPARAM, LPARAM);
  LRESULT OnAddFromClipboardShared(WPARAM, LPARAM);
  LRESULT OnDragQuestion(WPARAM wParam, LPARAM lParam);
  LRESULT OnContextMenuRequest(WPARAM wParam, LPARAM lParam);
  LRESULT OnDropDownRequest(WPARAM wParam, LPARAM lParam);
  LRESULT OnCloseMenuAdd(WPARAM, LPARAM);

  // Commands (pane_commands.cpp).
  void OnAddText();
  void OnAddRtf();
  void OnAddFromClipboard();
  void OnUpdateAddFromClipboard(CCmdUI* pCmdUI);
  void OnAddGroup();
  void OnDelete();
  void OnRename();
  void OnProperties();
  void OnOpenFolder();
  void OnHideUnchecked();
  void OnUpdateHideUnchecked(CCmdUI* pCmdUI);
  void OnUpdateSort(CCmdUI* pCmdUI);
  void OnSortMode(UINT nID);
  void OnMoveToRoot();
  void OnUpdateMoveToRoot(CCmdUI* pCmdUI);
  void OnMoveUp();
  void OnMoveDown();
  void OnUpdateMoveUp(CCmdUI* pCmdUI);
  void OnUpdateMoveDown(CCmdUI* pCmdUI);
  void OnCut();
  void OnCopy();
  void OnPaste();
  void OnUpdatePaste(CCmdUI* pCmdUI);
  void OnSelectAll() {}
  void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
  void OnUpdateAlways(CCmdUI* pCmdUI);

  DECLARE_MESSAGE_MAP()

 private:
  CCommandFolder& Store();
  // The pane's tree filled again; the record of path (else of the
  // document) selected.
  void Refill(const std::wstring& selectPath = std::wstring());
  // The document's open phrase renamed to text (Into Menu Name).
  void RenameCurrentTo(const std::wstring& text);
  // Moves (or copies) the record into target after the open phrase's edits
  // are written; the tree refilled with the result selected. False (and a
  // beep unless quiet) when the store refused.
  bool MoveRecord(std::uint32_t id, std::uint32_t target, bool move, bool quiet);
  // The tree's font from the menu-font setting.
  void SetTreeFont();
  // The toolbar's texts from the (localised) main menu.
  void RenewButtonTexts();
  void SetButtonTextFromMenu(UINT command);
  // The text of a command in the frame's menu, without its key and
  // mnemonic; empty when the menu has none.
  std::wstring MainMenuText(UINT id) const;
  void SelectInDocument(HTREEITEM item);
  void ApplyCheckToAll(int mode);  // 0 check, 1 uncheck, 2 invert
  void ApplyCheckStates(const CheckChangeSet& changes);
  void StartLabelEdit(HTREEITEM item, bool fromRename);
  void CreateToolBar();
  void UpdateFilterButton();
  void ShowMenu(int kind, POINT screen);  // 0 context, 1 add drop-down, 2 delete drop-down
  void MoveSibling(bool up);
  HTREEITEM SiblingForMove(bool up) const;
  void Remember(bool cut);
  void ClearRemembered();
  std::wstring RecordPath(HTREEITEM item) const;

  CPhraseTreeCtrl m_tree;
  int m_menuRequests = 0;  // menus the pane asked itself for and has not shown yet
  CPaneToolBarCtrl m_toolBar;
  bool m_renameEdit = false;
  bool m_endingLabelEdit = false;
  HFONT m_editFont = nullptr;
  HFONT m_treeFont = nullptr;
  bool m_busy = false;
  HTREEITEM m_pendingSelect = nullptr;
  // The item a right click hit, until the posted request shows its menu.
  HTREEITEM m_contextItem = nullptr;
  POINT m_contextPoint = {};
  bool m_contextPending = false;
  int m_dropDownRequests = 0;  // toolbar menus the pane asked itself for and has not shown yet
  // Cut or copied records, by their files: ids change with every reload.
  std::vector<std::wstring> m_remembered;
  bool m_rememberedCut = false;
};
