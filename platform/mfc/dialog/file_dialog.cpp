#include "platform/mfc/dialog/file_dialog.h"

#include <cwchar>
#include <vector>

#include "foundation/logging/log.h"
#include "foundation/system/trusted_messages.h"

IMPLEMENT_DYNAMIC(CFileDialog, CWnd)

namespace {

constexpr wchar_t kDialogProp[] = L"QuilloraFileDialog";

}  // namespace

std::wstring AfxFilterFromPipes(const wchar_t* filter) {
  if (!filter) return std::wstring();
  std::wstring text = filter;
  size_t close = text.find(L"||");
  if (close != std::wstring::npos) text.resize(close);
  std::vector<std::wstring> fields;
  for (size_t start = 0;;) {
    size_t bar = text.find(L'|', start);
    fields.push_back(text.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  std::wstring result;
  for (size_t i = 0; i + 1 < fields.size(); i += 2) {
    if (fields[i].empty() || fields[i + 1].empty()) continue;
    result += fields[i];
    result += L'\0';
    result += fields[i + 1];
    result += L'\0';
  }
  if (!result.empty()) result += L'\0';
  return result;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                         LPCWSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog) {
  m_filter = AfxFilterFromPipes(lpszFilter);
  if (lpszDefExt) m_defExt = lpszDefExt;
  if (lpszFileName) wcsncpy(m_szFileName, lpszFileName, MAX_PATH - 1);
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  m_ofn.hInstance = ::GetModuleHandleW(nullptr);
  m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
  m_ofn.nFilterIndex = m_filter.empty() ? 0 : 1;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = MAX_PATH;
  m_ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
  m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLEHOOK;
  m_ofn.lpfnHook = HookProc;
  m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

CFileDialog::~CFileDialog() {
  if (m_hWnd) Detach();  // the dialog's window was never ours to destroy
}

namespace {

// The dialog this thread is showing: its hook's WM_INITDIALOG belongs to it.
thread_local CFileDialog* t_showing = nullptr;

}  // namespace

BOOL CFileDialog::ShowSystemDialog() {
  CFileDialog* before = t_showing;
  t_showing = this;
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
  t_showing = before;
  return chosen;
}

INT_PTR CFileDialog::DoModal() {
  BOOL chosen = ShowSystemDialog();
  if (m_hWnd) Detach();
  m_hWndHook = nullptr;
  if (chosen) return IDOK;
  DWORD error = ::CommDlgExtendedError();
  if (error) LogError(L"file dialog failed " + std::to_wstring(error));
  return IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWndChild, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // Once, while this thread shows the dialog: another program can send
    // the message again with any address.
    CFileDialog* dialog = t_showing;
    if (!dialog || dialog->m_hWndHook || ::GetPropW(hWndChild, kDialogProp)) return 0;
    ::SetPropW(hWndChild, kDialogProp, dialog);
    dialog->m_hWndHook = hWndChild;
    if (!dialog->Attach(::GetParent(hWndChild))) LogError(L"file dialog: the dialog window has an object");
    return dialog->OnInitDialog();
  }
  auto* dialog = static_cast<CFileDialog*>(::GetPropW(hWndChild, kDialogProp));
  if (!dialog) return 0;
  if (message == WM_NOTIFY && IsOwnNotification(lParam)) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->code == CDN_FOLDERCHANGE) dialog->OnFolderChange();
  } else if (message == WM_DESTROY) {
    ::RemovePropW(hWndChild, kDialogProp);
    if (dialog->m_hWnd) dialog->Detach();
    dialog->m_hWndHook = nullptr;
  }
  return 0;
}

int CFileDialog::EntryLength(const wchar_t* p) const {
  const wchar_t* end = BufferEnd();
  if (!p || p < m_ofn.lpstrFile || p >= end) return -1;
  size_t n = wcsnlen(p, static_cast<size_t>(end - p));
  return p + n < end ? static_cast<int>(n) : -1;
}

const wchar_t* CFileDialog::NextEntry(const wchar_t* p) const {
  int n = EntryLength(p);
  if (n < 0) return nullptr;
  const wchar_t* next = p + n + 1;
  return EntryLength(next) > 0 ? next : nullptr;
}

CString CFileDialog::GetPathName() const {
  int n = EntryLength(m_ofn.lpstrFile);
  return n > 0 ? CString(m_ofn.lpstrFile, n) : CString();
}

POSITION CFileDialog::GetStartPosition() const {
  const wchar_t* first = m_ofn.lpstrFile;
  if (EntryLength(first) <= 0) return nullptr;
  // Several files: a name behind the folder that the buffer's end cut off
  // leaves nothing complete to give.
  const wchar_t* second = first + EntryLength(first) + 1;
  bool multi = (m_ofn.Flags & OFN_ALLOWMULTISELECT) && second < BufferEnd() && *second;
  if (multi && EntryLength(second) < 0) return nullptr;
  return reinterpret_cast<POSITION>(const_cast<wchar_t*>(first));
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
  const wchar_t* p = reinterpret_cast<const wchar_t*>(pos);
  const wchar_t* folder = m_ofn.lpstrFile;
  pos = nullptr;
  int length = EntryLength(p);
  if (length <= 0) return CString();
  if (p == folder) {
    const wchar_t* next = NextEntry(p);
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || !next) return CString(p, length);
    p = next;  // the first name behind the folder
    length = EntryLength(p);
  }
  const wchar_t* next = NextEntry(p);
  pos = reinterpret_cast<POSITION>(const_cast<wchar_t*>(next));
  CString path(folder, EntryLength(folder));
  if (path.GetLength() > 0 && path[path.GetLength() - 1] != L'\\') path += L'\\';
  return path + CString(p, length);
}
