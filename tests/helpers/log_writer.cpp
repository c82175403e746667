// A second program for the logger's tests.
//   log_writer lines <log path> <count> <text>  opens the log and logs
//       "<text> line <i>" for i = 1..count; ends without closing the log.
//   log_writer path <out file>  writes the log path this program would use.
//   log_writer editor <count>  logs "editor line <i>" as the editor does,
//       into the log the tray program has open.
// Exit codes: 0 done, 1 bad arguments, 2 the log could not be opened,
// 3 no log open to write into, 4 the out file could not be written.
#include <windows.h>

#include <cwchar>
#include <string>

#include "foundation/logging/log.h"
#include "foundation/logging/log_editor.h"

namespace {

int LogLines(const std::wstring& text, int count) {
  for (int i = 1; i <= count; ++i) Log(text + L" line " + std::to_wstring(i));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 1;
  std::wstring mode = argv[1];
  if (mode == L"lines" && argc == 5) {
    if (!InitLog(argv[2])) return 2;
    return LogLines(argv[4], _wtoi(argv[3]));
  }
  if (mode == L"path") {
    std::wstring path = GetLogReportPath();
    HANDLE out = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 4;
    DWORD written = 0;
    BOOL ok = WriteFile(out, path.data(), static_cast<DWORD>(path.size() * 2), &written, nullptr);
    CloseHandle(out);
    return ok ? 0 : 4;
  }
  if (mode == L"editor") {
    UseTrayProgramLog();
    if (!IsLogOpen()) return 3;
    return LogLines(L"editor", _wtoi(argv[2]));
  }
  return 1;
}
