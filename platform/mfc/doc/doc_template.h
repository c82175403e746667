// Document templates: which document, frame and first view classes belong
// together, and the resource id of the frame's menu, accelerators, icon and
// strings. The single-document template keeps one document and one frame.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/mfc/core/cmd_target.h"
#include "platform/mfc/core/position.h"
#include "platform/mfc/core/string.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 public:
  // The parts of the template's string, separated by "\n".
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName,
  };

  ~CDocTemplate() override;

  UINT GetResourceID() const { return m_nIDResource; }
  virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

  virtual POSITION GetFirstDocPosition() const;
  virtual CDocument* GetNextDoc(POSITION& rPos) const;
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);

  virtual CDocument* CreateNewDocument();
  // The frame with its first view for pDoc; null on failure.
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual void SetDefaultTitle(CDocument* pDocument);
  // A path is taken as a new document: documents here have no files.
  virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;

 protected:
  CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
               const CRuntimeClass* pViewClass);

  UINT m_nIDResource;
  const CRuntimeClass* m_pDocClass;
  const CRuntimeClass* m_pFrameClass;
  const CRuntimeClass* m_pViewClass;
  std::vector<CDocument*> m_docList;
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)

 public:
  CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                     const CRuntimeClass* pViewClass);

  void AddDocument(CDocument* pDoc) override;
  // The document, its frame (LoadFrame of the resource id), the first view,
  // OnNewDocument and the initial update. With a document already open it
  // is emptied and started anew in its frame.
  CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
};
