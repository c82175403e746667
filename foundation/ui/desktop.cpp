#include "foundation/ui/desktop.h"

#include <cwchar>
#include <string>

#include "foundation/logging/log.h"
#include "foundation/system/shell_helpers.h"
#include "foundation/text/convert.h"

namespace {

constexpr DWORD kNameChars = 1023;

// Reads a desktop's name; a failure is logged with the given format.
bool ReadDesktopName(HDESK desk, wchar_t* name, const wchar_t* failureFormat) {
  wmemset(name, 0, kNameChars + 1);
  DWORD needed = 0;
  if (::GetUserObjectInformationW(desk, UOI_NAME, name, kNameChars * sizeof(wchar_t), &needed)) {
    return true;
  }
  DWORD error = ::GetLastError();
  std::wstring text = FormatSystemMessage(error);
  wchar_t line[2400];
  swprintf(line, sizeof(line) / sizeof(line[0]), failureFormat, 0, name,
           static_cast<int>(needed), static_cast<int>(error), text.c_str());
  Log(line);
  return false;
}

}  // namespace

bool DesktopsAreSame(HDESK first, HDESK second) {
  if (first == second) return true;
  wchar_t name1[kNameChars + 1], name2[kNameChars + 1];
  bool ok1 = ReadDesktopName(first, name1,
                             L"b1=%d, szName1=%ls, dwLenNeed=%d, LastError= %d, %ls");
  bool ok2 = ReadDesktopName(second, name2,
                             L"b1=%d, szName2=%ls, dwLenNeed=%d, LastError= %d, %ls");
  wchar_t line[2200];
  swprintf(line, sizeof(line) / sizeof(line[0]), L"hDesk1=[%ls,%d] hDesk2=[%ls,%d]", name1,
           ok1 ? 1 : 0, name2, ok2 ? 1 : 0);
  Log(line);
  return ok1 && ok2 && CompareStringsW(name1, name2, false) == 0;
}

bool IsCurrentDesktopActive() {
  HDESK current = ::GetThreadDesktop(::GetCurrentThreadId());
  if (!current) {
    Log(L"Current Desktop is NULL");
    return false;
  }
  HDESK input = ::OpenInputDesktop(0, FALSE, MAXIMUM_ALLOWED);
  if (!input) {
    Log(L"Input Desktop is NULL");
    return false;
  }
  bool same = DesktopsAreSame(current, input);
  Log(same ? L"Current Desktop is active" : L"Current Desktop is IS NOT active");
  ::CloseDesktop(input);
  return same;
}
