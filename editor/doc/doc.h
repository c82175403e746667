// The editor's document: the hub through which views, panes and dialogs
// tell each other what changed, and the commands on the current record. It
// keeps only the current record's id; the phrases live in the phrase store,
// and no record pointer is held across a notice.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "editor/doc/doc_listener.h"
#include "platform/mfc/core/message_map.h"
#include "platform/mfc/doc/document.h"

class CCmdUI;
class CQLRCommand;

// The view kinds of the one pane: the folder list, the phrase text.
enum DocViewKind { kFolderListView = 0, kPhraseTextView = 1 };

class CDoc : public CDocument {
  DECLARE_DYNCREATE(CDoc)

 public:
  CDoc() = default;

  // Hint 1 commits the previous record, makes value current and picks its
  // view; hint 6 remembers the current record's path. Then the framework's
  // view update, then every listener but the sender's window; listeners
  // whose window is gone are skipped.
  void UpdateViews(CView* pSender, LPARAM lHint, LPARAM value);
  void AddListener(IDocUpdateListener* listener);
  int GetCurrentId() const { return m_nCurrentId; }
  void SelectRecord(int id);
  void CommitCurrent(CView* pSender);
  // kFolderListView when the active view is the folder list.
  int GetViewKind() const;
  void SwitchView(int kind);
  // The text a Test Run shows (or, not for a test run, the preview); an
  // EXEC phrase is started for a test run and gives no text.
  void BuildPhrasePreview(std::wstring& out, bool forTestRun);
  // The current record looked up now (null when none).
  CQLRCommand* CurrentRecord();
  // Selects the record that has path (the current one's, kept across a
  // reload of the store); -1 when it is gone.
  int ResolveByPath(const std::wstring& path);
  // Reloads the store, keeping the current record on its file.
  void ReloadStore();
  // A new top-level phrase from the text handed over in the settings area.
  void AddPhraseFromSelectedText();

  // Writes the open phrase's edits; false when they could not be written
  // (the record is gone or its save could not be started).
  bool SaveCurrent();
  BOOL IsModified() override;
  void SetModifiedFlag(BOOL bModified = TRUE) override;
  BOOL SaveModified() override;
  BOOL OnNewDocument() override;
  BOOL OnOpenDocument(LPCWSTR lpszPathName) override;

 protected:
  void AddFrameListener();
  // LastFile follows the current record; only that key is written.
  void RememberPath(const std::wstring& path);
  void SelectStartRecord();
  // Why the open phrase's edits could not be saved, for the user.
  std::wstring UnsavedText();

  void OnSetDataType(UINT nID);
  void OnSetDataTypeApp();
  void OnUpdateDataType(CCmdUI* pCmdUI);
  void OnTestRun();
  void OnUpdateForPhrase(CCmdUI* pCmdUI);
  void OnCheckCommand(UINT nID);
  void OnMacroMenu();
  void OnHideUnchecked();
  void OnUpdateHideUnchecked(CCmdUI* pCmdUI);
  void OnRenameFile();
  void OnUpdateRenameFile(CCmdUI* pCmdUI);
  void OnToggleFlag(UINT nID);
  void OnUpdateFlag(CCmdUI* pCmdUI);
  void OnPreview();
  void OnUpdatePreview(CCmdUI* pCmdUI);
  void OnReread();
  void OnSave();

  BOOL m_bFrameListenerAdded = FALSE;
  int m_nCurrentId = -1;
  std::vector<IDocUpdateListener*> m_listeners;

  DECLARE_MESSAGE_MAP()
};
