#include "platform/mfc/app/command_line_info.h"

#include <shellapi.h>

#include <string>

#include "foundation/logging/log.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/doc/doc_template.h"
#include "platform/mfc/window/wnd.h"

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL) {
  // The framework's own switches (printing, DDE, registration) ask for
  // what these programs do not do: they are ignored like any other.
  if (!bFlag && pszParam && *pszParam) m_strFileName = pszParam;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!args) {
    LogError(L"CommandLineToArgvW failed " + std::to_wstring(::GetLastError()));
    return;
  }
  for (int i = 1; i < count; ++i) {
    const wchar_t* param = args[i];
    BOOL flag = param[0] == L'/' || param[0] == L'-';
    if (flag) ++param;
    rCmdInfo.ParseParam(param, flag, i == count - 1);
  }
  ::LocalFree(args);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNothing:
      return TRUE;
    default:
      // Opening, printing, DDE and registration have no documents to act
      // on: a new document stands in for them.
      OnFileNew();
      // Success is a main window to run with.
      return m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr;
  }
}

void CWinApp::OnFileNew() {
  POSITION pos = GetFirstDocTemplatePosition();
  CDocTemplate* tmpl = GetNextDocTemplate(pos);
  if (!tmpl) {
    LogError(L"CWinApp::OnFileNew: no document template");
    return;
  }
  tmpl->OpenDocumentFile(nullptr);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate) m_templates.push_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_templates.empty() ? nullptr : QlrPositionOf(0);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  size_t index = QlrIndexOf(pos);
  if (!pos || index >= m_templates.size()) {
    pos = nullptr;
    return nullptr;
  }
  pos = index + 1 < m_templates.size() ? QlrPositionOf(index + 1) : nullptr;
  return m_templates[index];
}
