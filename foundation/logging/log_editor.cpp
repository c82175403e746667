#include "foundation/logging/log_editor.h"

#include <windows.h>

#include <string>

#include "foundation/logging/log.h"
#include "foundation/logging/log_file.h"
#include "foundation/logging/log_source.h"
#include "foundation/system/handles.h"

namespace {

// The tray program keeps a global atom named by its log's path while its log
// is open, and the writers' event exists as long as any program has a log
// open. The tray program may run with other rights than the editor and so
// log beside the programs or in the user's folder: both places are asked.
class TrayProgramLog : public LogSource {
 public:
  TrayProgramLog()
      : m_candidates{GetLogReportPathBesideProgram(), GetLogReportPathOfUser()} {}

  std::wstring CurrentPath() const override {
    UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, kLogSyncEventName));
    if (!event) return std::wstring();
    for (const std::wstring& candidate : m_candidates) {
      if (candidate.empty()) continue;
      ATOM atom = GlobalFindAtomW(candidate.c_str());
      if (!atom) continue;
      wchar_t path[MAX_PATH + 1] = {};
      UINT n = GlobalGetAtomNameW(atom, path, MAX_PATH + 1);
      if (n > 0) return std::wstring(path, n);
    }
    return std::wstring();
  }

 private:
  std::wstring m_candidates[2];
};

}  // namespace

void UseTrayProgramLog() {
  static TrayProgramLog* source = new TrayProgramLog;  // used until the process ends
  SetLogProgramTag(kLogTagEditor);
  SetLogSource(source);
}
