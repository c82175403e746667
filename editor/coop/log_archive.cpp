#include "editor/coop/log_archive.h"

#include <vector>

#include "editor/editor_names.h"
#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/files/zip_writer.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/shell_open.h"
#include "foundation/text/convert.h"
#include "foundation/text/text_basics.h"
#include "phrases/macros/macro_expand.h"
#include "settings/settings_files.h"

namespace {

// The whole text as UTF-8 into a new file; false unless every byte went.
bool WriteUtf8File(const std::wstring& path, const std::wstring& text) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file) return false;
  std::string bytes = WideToUtf8(text);
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

std::wstring GetLogFilePath() { return GetLogReportPath(); }

std::wstring MakeLogZipName() {
  std::wstring name = GetFileNameFromPath(GetLogFilePath());
  size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  name += L" ";
  name += editor_names::kBoxCaption;
  name += L" version" + ExpandMacrosInText(L"%QLR_VERSION%") + L" " +
          ExpandMacrosInText(L"%DAY%_%MONTHNAME_ABBR%_%YEAR%_");
  name = TrimChars(name, L" \t");
  for (wchar_t& ch : name)
    if (ch == L' ' || ch == L':') ch = L'_';
  return name + L".zip";
}

bool ZipLogFiles(const std::wstring& logPath, const std::wstring& zipPath, bool showErrors, HWND owner,
                 const std::wstring& infoText, bool selectInExplorer) {
  std::vector<std::wstring> files;
  const std::wstring infoPath = GetTempFolder() + editor_names::kInfoFileName;
  DeleteFileW(infoPath.c_str());
  if (!infoText.empty() && WriteUtf8File(infoPath, infoText)) files.push_back(infoPath);
  // A file that is not there would fail the whole archive: only what
  // exists goes in.
  for (const std::wstring& path : {GetSettingsIniPath(), logPath})
    if (!path.empty() && IsFileExist(path)) files.push_back(path);

  bool ok = !files.empty() && ZipFileList(files, zipPath);
  if (!ok) {
    LogError(L"ZipLogFiles: cannot create " + zipPath);
    if (showErrors) {
      std::wstring text = L"Cannot create ZIP-archive " + zipPath + L"\n\nFollows Files:\n";
      for (const std::wstring& path : files) text += path + L"\n";
      MessageBeep(MB_ICONWARNING);
      MessageBoxW(owner, text.c_str(), editor_names::kBoxCaption, MB_ICONWARNING);
    }
  }
  if (IsFileExist(infoPath)) DeleteFileW(infoPath.c_str());
  if (ok && selectInExplorer) SelectInExplorer(owner, zipPath);
  return ok;
}
