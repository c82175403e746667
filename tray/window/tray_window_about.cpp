// The tray window's about command: one dialog at a time.
#include "foundation/files/paths.h"
#include "foundation/localization/menu_localizer.h"
#include "online/about/about_dlg.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tray/app/app_texts.h"
#include "tray/app/command_line.h"
#include "tray/app/problem_list.h"
#include "tray/hook/dll_service.h"
#include "tray/program/resource.h"
#include "tray/window/tray_window.h"

namespace {

constexpr int kSwitchIds[] = {kSwitchExit,  kSwitchAutoload, kSwitchUa,        kSwitchNoInstall, kSwitchUsage,
                              kSwitchEdit, kSwitchAsAdmin,  kSwitchShowMenu, kSwitchCfu};

constexpr UINT kTrayMenu = 128;
constexpr UINT kCmdAbout = 57664;
constexpr UINT kCmdCheckForUpdates = 32791;
constexpr UINT kCmdWelcome = 32832;
constexpr UINT kCmdOpenSettings = 32830;

// The command's text in the tray menu in the current language; fallback
// when the menu does not have it.
std::wstring MenuText(UINT command, const std::wstring& fallback) {
  std::wstring text = GetLangFile().GetItemText(kTrayMenu, command);
  return text.empty() ? fallback : text;
}

std::wstring NoTrailingSlash(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

LRESULT CQLRTrayWnd::OnAboutCommand(WORD, WORD, HWND, BOOL&) {
  if (HWND open = GetAboutDlgWindow()) {
    if (::IsIconic(open)) ::ShowWindow(open, SW_RESTORE);
    ::SetForegroundWindow(open);
    ::BringWindowToTop(open);
    return 0;
  }
  AboutDialogInput input;
  input.trayWindow = m_hWnd;
  input.versionText = GetProgramVersionText(true, true);
  input.phraseStore = &m_phraseStore;
  input.titleMenuText = MenuText(kCmdAbout, L"&About Quillora\x2026");
  input.checkMenuText = MenuText(kCmdCheckForUpdates, GetClientString(IDS_CHECK_FOR_UPDATES));
  input.welcomeMenuText = MenuText(kCmdWelcome, std::wstring());
  input.openSettingsMenuText = MenuText(kCmdOpenSettings, L"Open Settings.ini");
  // The report names folders without their trailing backslash.
  if (!GetSettings().IsPhrasesDirectoryDefault())
    input.phrasesFolder = NoTrailingSlash(GetSettings().GetPhrasesDirectory());
  input.defaultPhrasesFolder = NoTrailingSlash(CQLRSettings::GetDefaultPhrasesDirectory());
  input.hotkeyText = GetHotkeyText();
  input.dllServiceImplText = GetDllServiceImplText();
  input.clipboardHistoryRunning = IsClipboardHistoryRunning();
  input.waitsForAgentAnswer = IsServiceRunning() && !CQLRDLLService::FillsQueryItself();
  input.logMessages = GetProblemList();
  for (int id : kSwitchIds) input.commandLineKeys.emplace_back(GetSwitchName(id), GetSwitchDescription(id));
  CQLRAboutDlg dialog(input);
  dialog.DoModal(nullptr);
  return 0;
}
