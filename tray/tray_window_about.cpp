// The tray window's about command: one dialog at a time.
#include "online/about/about_dlg.h"
#include "tray/app_texts.h"
#include "tray/command_line.h"
#include "tray/problem_list.h"
#include "tray/settings/settings.h"
#include "tray/settings/settings_files.h"
#include "tray/tray_window.h"
#include "foundation/paths.h"

namespace {

constexpr int kSwitchIds[] = {kSwitchExit,  kSwitchAutoload, kSwitchUa,        kSwitchNoInstall, kSwitchUsage,
                              kSwitchEdit, kSwitchAsAdmin,  kSwitchShowMenu, kSwitchCfu};

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
  input.titleMenuText = L"&About Quillora\x2026";
  input.checkMenuText = L"Check For Updates";
  // The report names folders without their trailing backslash.
  if (!GetSettings().IsPhrasesDirectoryDefault()) input.phrasesFolder = NoTrailingSlash(GetSettings().GetPhrasesDirectory());
  input.defaultPhrasesFolder = NoTrailingSlash(CQLRSettings::GetDefaultPhrasesDirectory());
  input.logMessages = GetProblemList();
  for (int id : kSwitchIds) input.commandLineKeys.emplace_back(GetSwitchName(id), GetSwitchDescription(id));
  CQLRAboutDlg dialog(input);
  dialog.DoModal(nullptr);
  return 0;
}
