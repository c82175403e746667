#include "foundation/logging/system_error.h"

std::wstring GetSystemErrorText(DWORD code) {
  constexpr DWORD kChars = 1024;
  wchar_t buf[kChars] = {};
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buf, kChars, nullptr);
  return std::wstring(buf, n < kChars ? n : 0);
}
