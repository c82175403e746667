#include "foundation/system/shell_helpers.h"

#include "foundation/system/shell_open.h"

std::wstring FormatSystemMessage(DWORD code) {
  wchar_t buffer[1024] = {};
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, 1024, nullptr);
  return std::wstring(buffer, n);
}

bool ShellExecuteWithError(HWND owner, const wchar_t* verb, const wchar_t* file,
                           const wchar_t* parameters, const wchar_t* folder, int show,
                           std::wstring* errorText) {
  INT_PTR result = ShellOpen(owner, verb, file, parameters, folder, show);
  if (result > 32) return true;
  if (errorText) *errorText = FormatSystemMessage(static_cast<DWORD>(result));
  return false;
}

void AddTrailingBackslash(std::wstring* path) {
  if (!path->empty() && path->back() != L'\\') path->push_back(L'\\');
}

bool StrEqualW(const wchar_t* a, const wchar_t* b) {
  if (a == b) return true;
  if (!a) a = L"";
  if (!b) b = L"";
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}
