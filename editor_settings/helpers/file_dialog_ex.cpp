#include "editor_settings/helpers/file_dialog_ex.h"

#include <cderr.h>

#include <cwchar>

#include "editor_settings/helpers/file_helpers.h"
#include "foundation/logging/log.h"

CFileDialogEx::CFileDialogEx(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName,
                             DWORD dwFlags, LPCWSTR lpszFilter, CWnd* pParentWnd, LPCWSTR lpszTitle,
                             LPCWSTR lpszInitialFolder)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd) {
  if (lpszTitle) m_title = lpszTitle;
  if (lpszInitialFolder) m_initialFolder = lpszInitialFolder;
  m_ofn.lpstrInitialDir = m_initialFolder.empty() ? nullptr : m_initialFolder.c_str();
  if (dwFlags & OFN_ALLOWMULTISELECT) {
    m_multiBuffer.assign(kMultiSelectChars, L'\0');
    if (lpszFileName) wcsncpy(m_multiBuffer.data(), lpszFileName, MAX_PATH - 1);
    m_ofn.lpstrFile = m_multiBuffer.data();
    m_ofn.nMaxFile = kMultiSelectChars;
  }
}

void CFileDialogEx::MakeProposedNameSafe(wchar_t* name) {
  for (wchar_t* p = name; *p; ++p) {
    if (wcschr(L":\\/?\"><|*", *p)) *p = L'_';
  }
}

INT_PTR CFileDialogEx::DoModal() {
  wchar_t* buffer = m_ofn.lpstrFile;
  size_t length = wcsnlen(buffer, m_ofn.nMaxFile - 1);
  wmemset(buffer + length, L'\0', m_ofn.nMaxFile - length);
  MakeProposedNameSafe(buffer);
  m_ofn.lStructSize = IsWindows2000OrLater() ? sizeof(OPENFILENAMEW) : OPENFILENAME_SIZE_VERSION_400W;

  HWND owner = m_ofn.hwndOwner;
  bool disabled = owner && ::IsWindow(owner) && ::IsWindowEnabled(owner);
  if (disabled) ::EnableWindow(owner, FALSE);
  BOOL chosen = ShowSystemDialog();
  DWORD error = chosen ? 0 : ::CommDlgExtendedError();
  if (m_hWnd) Detach();
  if (disabled) {
    ::EnableWindow(owner, TRUE);
    ::SetFocus(owner);
  }
  if (chosen) return IDOK;
  if (error == FNERR_BUFFERTOOSMALL) {
    ::MessageBoxW(owner, L"Too many files were chosen at once. Please choose fewer files.",
                  L"Quillora : PhraseEditor", MB_OK | MB_ICONWARNING);
  } else if (error) {
    LogError(L"file dialog failed " + std::to_wstring(error));
  }
  return IDCANCEL;
}

BOOL CFileDialogEx::OnInitDialog() {
  if (!m_title.empty() && m_hWnd) ::SetWindowTextW(m_hWnd, m_title.c_str());
  return TRUE;
}

void CFileDialogEx::OnFolderChange() {
  if (!m_hWnd) return;
  wchar_t folder[MAX_PATH] = {};
  LRESULT n = ::SendMessageW(m_hWnd, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  if (n > 0 && n <= MAX_PATH) m_lastFolder = folder;
}

std::wstring CFileDialogEx::GetFolderPath() const {
  std::wstring folder;
  POSITION pos = GetStartPosition();
  if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) && pos) {
    const wchar_t* first = m_ofn.lpstrFile;
    const wchar_t* second = first + wcslen(first) + 1;
    if (*second) folder = GetFolderFromPath(std::wstring(GetNextPathName(pos)), false);
  }
  if (folder.empty()) folder = m_lastFolder.empty() ? m_initialFolder : m_lastFolder;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}
