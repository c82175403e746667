// The editor's frame on the editor's own resources, made in-process as the
// document template makes it.
#pragma once
#include <windows.h>

#include "editor/app/editor_app.h"
#include "editor/frame/main_frame.h"
#include "platform/mfc/doc/document.h"
#include "platform/mfc/doc/view.h"

struct ScaffoldFrame {
  CQLRDocTemplate tmpl;
  CMainFrame* frame = nullptr;
  ScaffoldFrame() {
    CDocument* doc = tmpl.OpenDocumentFile(nullptr, FALSE);
    if (!doc) return;
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    if (view) frame = static_cast<CMainFrame*>(view->GetParentFrame());
  }
  ~ScaffoldFrame() {
    if (frame && IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
};
