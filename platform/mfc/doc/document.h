// CDocument: the data behind one or more views. It keeps its views in the
// order they were added, tells them of changes (UpdateAllViews) and routes
// commands to itself, then to its template. A document whose last view
// goes away closes itself when m_bAutoDelete is set.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/mfc/core/cmd_target.h"
#include "platform/mfc/core/position.h"
#include "platform/mfc/core/string.h"

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)

 public:
  CDocument() = default;
  ~CDocument() override;

  // Views.
  void AddView(CView* pView);
  void RemoveView(CView* pView);  // a view that is not listed is ignored
  POSITION GetFirstViewPosition() const;
  CView* GetNextView(POSITION& rPosition) const;
  bool HasView(const CView* pView) const;
  // Calls OnUpdate of every view except pSender. A view that an earlier
  // update removed is skipped.
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCWSTR lpszTitle);

  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // Life of the document.
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
  virtual void DeleteContents() {}
  // Answers whether the document may be closed; a derived document saves
  // here. This one has nothing of its own to save.
  virtual BOOL SaveModified() { return TRUE; }
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  // Destroys the frames of the views, empties the document and, with
  // m_bAutoDelete, deletes it.
  virtual void OnCloseDocument();
  virtual void OnChangedViewList();

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  BOOL m_bAutoDelete = TRUE;

 private:
  friend class CDocTemplate;
  std::vector<CView*> m_viewList;
  CDocTemplate* m_pDocTemplate = nullptr;
  CString m_strTitle;
  BOOL m_bModified = FALSE;
  bool m_bClosing = false;
};
