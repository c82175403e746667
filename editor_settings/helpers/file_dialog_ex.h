// The editor's open and save dialog: a title and an initial folder, a large
// buffer for a multiple selection, a proposed name made safe, and the
// folder the user was in when the dialog closed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/mfc/dialog/file_dialog.h"

class CFileDialogEx : public CFileDialog {
 public:
  // Characters of the multiple-selection buffer.
  static constexpr DWORD kMultiSelectChars = 65536;

  CFileDialogEx(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr, LPCWSTR lpszTitle = nullptr,
                LPCWSTR lpszInitialFolder = nullptr);

  // IDOK or IDCANCEL. A selection too long even for the large buffer is
  // told to the user and cancels.
  INT_PTR DoModal() override;
  // With several files chosen their folder; else the folder the dialog was
  // last in (or the initial folder); with a trailing backslash.
  std::wstring GetFolderPath() const;

  // The proposed name as the dialog shows it: characters the dialog would
  // take as a path, a wildcard or a filter become "_".
  static void MakeProposedNameSafe(wchar_t* name);

 protected:
  BOOL OnInitDialog() override;
  void OnFolderChange() override;

 private:
  std::wstring m_title;
  std::wstring m_initialFolder;
  std::wstring m_lastFolder;
  std::vector<wchar_t> m_multiBuffer;
};
