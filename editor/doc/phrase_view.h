// The view of a selected phrase: a toolbar (data type, macros, Read Only
// Mode), the phrase text control below it and, while the Preview setting is
// on, a read-only pane showing the phrase as it will be pasted. Every phrase
// opens read-only; the view writes the edited text into the record and asks
// the phrase store to save it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "editor/text/phrase_rich_edit.h"
#include "editor/toolbars/text_tool_bar.h"
#include "platform/mfc/controls/rich_edit_ctrl.h"
#include "platform/mfc/doc/view.h"

class CCmdUI;
class CMenu;
class CQLRCommand;

// Control ids of the view's children.
constexpr UINT kViewToolBarId = 1030;
constexpr UINT kViewTextId = 1032;
constexpr UINT kViewPreviewId = 1033;
// The preview's delayed refresh after typing, and its keyboard-layout watch.
constexpr UINT_PTR kPreviewTypingTimer = 3453;
constexpr UINT kPreviewTypingDelay = 700;
constexpr UINT_PTR kPreviewLayoutTimer = 3454;
constexpr UINT kPreviewLayoutPeriod = 500;

class CQLRView : public CView {
  DECLARE_DYNCREATE(CQLRView)

 public:
  CQLRView();
  ~CQLRView() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override {}
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

  // Edits not yet written into the record.
  virtual BOOL IsTextModified() const;
  // The current record is formatted text, or there is none.
  bool IsRtfPhrase();
  // The document's current record: the view keeps no id of its own, so it
  // writes where the document (which follows every reload) points.
  int GetCurrentId() const;
  CPhraseRichEdit& GetTextCtrl() { return *Text; }
  CTextToolBar& GetToolBar() { return TextToolBar; }
  bool IsPreviewShown() const { return PreviewPane.m_hWnd != nullptr; }
  // How often the preview was refreshed (diagnostics and tests).
  int GetPreviewRefreshes() const { return PreviewRefreshes; }

  HKL KeyboardLayout = nullptr;
  DWORD LastEditTicks = 0;
  std::unique_ptr<CPhraseRichEdit> Text;
  CRichEditCtrl PreviewPane;
  CTextToolBar TextToolBar;

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSize(UINT nType, int cx, int cy);
  void OnTimer(UINT_PTR nIDEvent);
  void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

  void OnCopy();
  void OnCut();
  void OnPaste();
  void OnRedo();
  void OnSelectAll();
  void OnUndo();
  void OnBold();
  void OnItalic();
  void OnUnderline();
  void OnClear();
  void OnIntoMenuName();
  void OnDataTypeButton();
  void OnMacroButton();
  void OnMacroDoc();
  void OnInsertTab();
  void OnReadOnlyMode();
  void OnInsertMacro(UINT nID);
  void OnUpdateCopy(CCmdUI* pCmdUI);
  void OnUpdateCut(CCmdUI* pCmdUI);
  void OnUpdatePaste(CCmdUI* pCmdUI);
  void OnUpdateRedo(CCmdUI* pCmdUI);
  void OnUpdateSelectAll(CCmdUI* pCmdUI);
  void OnUpdateUndo(CCmdUI* pCmdUI);
  void OnUpdateBold(CCmdUI* pCmdUI);
  void OnUpdateItalic(CCmdUI* pCmdUI);
  void OnUpdateUnderline(CCmdUI* pCmdUI);
  void OnUpdateClear(CCmdUI* pCmdUI);
  void OnUpdateIntoMenuName(CCmdUI* pCmdUI);
  void OnUpdateReadOnlyMode(CCmdUI* pCmdUI);
  void OnUpdatePhraseButton(CCmdUI* pCmdUI);
  void OnToolBarDropDown(NMHDR* pNMHDR, LRESULT* pResult);
  void OnToolBarCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  void OnTextChange();
  void OnTextLink(NMHDR* pNMHDR, LRESULT* pResult);
  void OnReadOnlyTyping(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  CQLRCommand* CurrentRecord();
  static void SetPlainTextFont(HWND edit);
  void Layout(int cx, int cy);
  void Load(int id);
  void Save();
  void ClearText();
  void RefreshDataTypeButton();
  void RefreshCue();
  void RefreshForPhrase();
  void CreatePreview();
  void RefreshPreview();
  // Opens a popup below the toolbar button, the button drawn pressed.
  void ShowButtonMenu(UINT buttonId, HMENU menu);
  bool HasTextSelection() const;

  int PreviewRefreshes = 0;
};
