// The editor's application object: one instance per session (a second start
// hands over to the first and ends), OLE, COM, common controls and rich
// edit, the one document template, and the start flags for the frame.
#pragma once
#include <windows.h>

#include "platform/mfc/app/win_app.h"
#include "platform/mfc/core/message_map.h"
#include "platform/mfc/doc/doc_template.h"

class CQLRDocTemplate : public CSingleDocTemplate {
  DECLARE_DYNAMIC(CQLRDocTemplate)

 public:
  // Resource 128: the document, the main frame and the folder list.
  CQLRDocTemplate();
};

class CQLREditorApp : public CWinApp {
 public:
  CQLREditorApp();

  BOOL InitInstance() override;
  int ExitInstance() override;

  // The "hidesettings" switch: the frame keeps the settings pane hidden.
  BOOL m_bHideSettings = FALSE;

 protected:
  void OnAppAbout();
  DECLARE_MESSAGE_MAP()

 private:
  // Another editor runs: it comes to the front and, with "addfromcb", is
  // asked to add a phrase from the clipboard.
  void HandOverToRunningEditor();

  HANDLE m_hInstanceEvent = nullptr;  // held only by the editor that made it
  HANDLE m_hIconsGate = nullptr;      // holds the file-type icons' thread until the frame is up
  bool m_bRunning = false;            // this start became the editor
};
