#include "editor/services/web_links.h"

#include "editor/services/editor_system.h"
#include "editor/services/web_pages.h"
#include "editor_settings/editor_settings.h"
#include "foundation/files/file_version.h"
#include "foundation/files/files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/security.h"
#include "foundation/system/shell_open.h"
#include "phrases/store/data_type_keyword.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";
constexpr UINT kMailCommand = 32782;
constexpr UINT kIdsAppName = 57344;
constexpr UINT kIdsEditorName = 202;
constexpr UINT kIdsNoAdminNote = 201;
constexpr wchar_t kStateNotExists[] = L"NOT EXISTS";
constexpr wchar_t kStateWritingDenied[] = L"WRITING DENIED";

}  // namespace

INT_PTR ShellOpen(HWND owner, const std::wstring& target) {
  return ShellOpen(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

std::wstring GetMailToAuthorsLink() {
  std::wstring subject = kProductName;
  for (wchar_t& c : subject)
    if (c == L' ') c = L'_';
  return L"mailto:" + GetAuthorsMailAddress() + L"?subject=" + subject;
}

INT_PTR MailToAuthors(HWND owner) { return ShellOpen(owner, GetMailToAuthorsLink()); }

bool OpenCommandLink(HWND owner, UINT commandId) {
  if (commandId == kMailCommand) return MailToAuthors(owner) > 32;
  const std::wstring address = GetCommandWebAddress(commandId);
  return !address.empty() && ShellOpen(owner, address) > 32;
}

std::wstring DataTypeDisplayName(int type) {
  static const UINT kNames[] = {61212, 61213, 134};
  if (type >= 0 && type < 3) return GetLocalizedText(kNames[type]);
  return DataTypeKeyword(static_cast<std::uint32_t>(type));
}

std::wstring RemoveLastDot(const std::wstring& version) {
  const size_t dot = version.rfind(L'.');
  if (dot == std::wstring::npos) return version;
  return version.substr(0, dot) + version.substr(dot + 1);
}

std::wstring FormatWindowTitle(const WindowTitleParts& parts) {
  std::wstring title = parts.appName + L" : " + parts.editorName;
  if (!parts.version.empty()) title += L" " + RemoveLastDot(parts.version);
  title += parts.admin ? L"^" : L" [" + parts.noAdminNote + L"]";
  title += L"  - " + parts.folder;
  if (!parts.folderState.empty()) title += L"  !!!!" + parts.folderState + L" !!!!";
  return title;
}

std::wstring GetFolderTitleState(const std::wstring& folder) {
  if (folder.empty() || !IsFolderExist(folder)) return kStateNotExists;
  if (!CanWriteFile(folder)) return kStateWritingDenied;
  return std::wstring();
}

std::wstring BuildWindowTitle() {
  WindowTitleParts parts;
  parts.appName = GetLocalizedText(kIdsAppName);
  parts.editorName = GetLocalizedText(kIdsEditorName);
  CFileVersionInfo version(static_cast<HMODULE>(nullptr));
  if (version.Load()) parts.version = version.GetProductVersion();
  parts.admin = IsRunAsAdmin();
  if (!parts.admin) parts.noAdminNote = GetLocalizedText(kIdsNoAdminNote);
  parts.folder = GetEditorSettings().GetPhrasesDirectoryNoSlash();
  parts.folderState = GetFolderTitleState(parts.folder);
  return FormatWindowTitle(parts);
}
