#include "welcome/welcome_main.h"

#include <commctrl.h>
#include <objbase.h>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/logging/log.h"
#include "foundation/system/security.h"
#include "foundation/system/system_helpers.h"
#include "platform/atl/app_module.h"
#include "platform/atl/message_loop.h"
#include "settings/settings_files.h"
#include "welcome/welcome_dlg.h"

namespace {

void WriteStartLine(const wchar_t* commandLine) {
  if (ReadWriteLog(0) == 0) return;
  SetLogProgramTag(kLogTagWelcome);
  if (!InitLog(GetLogReportPath().c_str())) return;
  Log(std::wstring(L"\"Quillora : Welcome\" started: cmdline: [") + (commandLine ? commandLine : L"") +
      L"]");
}

// The first instance's event, or null when another instance runs (that one
// is told to come to the front).
HANDLE ClaimSingleInstance() {
  if (HANDLE running = OpenEventW(SYNCHRONIZE, FALSE, kWelcomeInstanceEventName)) {
    CloseHandle(running);
  } else {
    EveryoneSecurity everyone;
    HANDLE created = CreateEventW(everyone.Get(), FALSE, FALSE, kWelcomeInstanceEventName);
    // An event that already exists belongs to an instance that won the race
    // between the open above and this create.
    if (created && GetLastError() != ERROR_ALREADY_EXISTS) return created;
    if (created) CloseHandle(created);
  }
  if (HANDLE other = OpenEventW(EVENT_MODIFY_STATE, FALSE, kWelcomeInstanceEventName)) {
    SetEvent(other);
    CloseHandle(other);
  }
  return nullptr;
}

void BindLanguage() {
  std::wstring language = GetWelcomeStoredLanguage();
  std::wstring path = language.empty() ? GetLngFilePath(L"") : GetWelcomeLanguagePath(language);
  SetLngStringFile(path, kLngSuffixWelcome);
  static CMenuLocalizerEx* menuLocalizer = new CMenuLocalizerEx(path, kLngSuffixWelcome);
  (void)menuLocalizer;
}

}  // namespace

bool HasAutoSwitch(const std::wstring& commandLine) {
  return commandLine.find(L"/auto") != std::wstring::npos;
}

int WelcomeMain(HINSTANCE instance, const wchar_t* commandLine, int show) {
  const std::wstring line = commandLine ? commandLine : L"";
  WriteStartLine(line.c_str());
  HANDLE event = ClaimSingleInstance();
  if (!event) {
    TermLog();
    return 1;
  }
  SetHandleProtectFromClose(event, true);

  HRESULT com = CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&controls);
  CAppModule module;
  module.Init(nullptr, instance);
  BindLanguage();

  int exitCode = 0;
  {
    CMessageLoop loop;
    module.AddMessageLoop(&loop);
    CWelcomeDlg dialog(HasAutoSwitch(line), event);
    if (dialog.Create(nullptr)) {
      dialog.ShowWindow(show);
      exitCode = loop.Run();
    }
    module.RemoveMessageLoop();
  }
  module.Term();
  if (SUCCEEDED(com)) CoUninitialize();
  SetHandleProtectFromClose(event, false);
  CloseHandle(event);
  TermLog();
  return exitCode;
}
