#include "foundation/files/shell_file_ops.h"

#include <shellapi.h>

#include <cwchar>

#include "foundation/logging/log.h"

namespace {

// A list for SHFileOperationW: the path followed by two zeros.
std::wstring DoubleZeroTerminated(const std::wstring& path) {
  std::wstring list = path;
  list.push_back(L'\0');
  return list;  // c_str() adds the second one
}

// The absolute form of a path; empty for an empty or blank one, or when
// the system cannot make one.
std::wstring FullPathOf(const std::wstring& path) {
  if (path.find_first_not_of(L" \t") == std::wstring::npos) return std::wstring();
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::wstring();
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return std::wstring();
  full.resize(length);
  return full;
}

int RunShellOperation(HWND owner, UINT func, const std::wstring& from, const std::wstring* to,
                      FILEOP_FLAGS flags) {
  std::wstring fromList = DoubleZeroTerminated(from);
  std::wstring toList = to ? DoubleZeroTerminated(*to) : std::wstring();
  SHFILEOPSTRUCTW op = {};
  op.hwnd = owner;
  op.wFunc = func;
  op.pFrom = fromList.c_str();
  op.pTo = to ? toList.c_str() : nullptr;
  op.fFlags = flags;
  int result = SHFileOperationW(&op);
  if (result == 0 && op.fAnyOperationsAborted) result = ERROR_CANCELLED;
  if (result != 0)
    LogError(L"SHFileOperationW [" + from + L"], code " + std::to_wstring(result));
  return result;
}

}  // namespace

bool ShellCopy(HWND owner, const std::wstring& from, const std::wstring& to, bool confirm) {
  FILEOP_FLAGS flags = confirm ? 0 : (FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR);
  return RunShellOperation(owner, FO_COPY, from, &to, flags) == 0;
}

bool DeleteToRecycleBin(HWND owner, const wchar_t* path, size_t length, bool confirm) {
  if (!path) return false;
  return DeleteToRecycleBin(owner, std::wstring(path, wcsnlen(path, length)), confirm);
}

bool DeleteToRecycleBin(HWND owner, const std::wstring& path, bool confirm) {
  const std::wstring full = FullPathOf(path);
  if (full.empty()) {
    LogError(L"DeleteToRecycleBin: no path to delete [" + path + L"]");
    return false;
  }
  FILEOP_FLAGS flags = FOF_ALLOWUNDO | (confirm ? 0 : FOF_NOCONFIRMATION);
  return RunShellOperation(owner, FO_DELETE, full, nullptr, flags) == 0;
}
