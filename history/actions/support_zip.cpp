#include "history/actions/support_zip.h"

#include <algorithm>
#include <vector>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/files/zip_writer.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/shell_open.h"
#include "foundation/text/convert.h"
#include "phrases/macros/macro_expand.h"
#include "settings/settings_files.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";

bool WriteInfoFile(const std::wstring& path, const std::wstring& text) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogError(L"Cannot create " + path + L", error " + std::to_wstring(GetLastError()));
    return false;
  }
  const std::string bytes = WideToUtf8(text);
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

void ShowFailure(HWND owner, const std::wstring& archivePath, const std::vector<std::wstring>& files) {
  std::wstring text = L"Cannot create ZIP-archive " + archivePath + L"\n\nFollows Files:\n";
  for (const std::wstring& file : files) text += file + L"\n";
  MessageBeep(static_cast<UINT>(-1));
  MessageBoxW(owner, text.c_str(), kProductName, MB_ICONEXCLAMATION);
}

std::wstring Trim(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

bool CreateSupportZip(const std::wstring& extraFile, const std::wstring& archivePath,
                      bool showErrors, HWND owner, const std::wstring& reportText,
                      bool selectInExplorer) {
  // A file that is not there (the log, while logging is off) must not cost
  // the user the whole archive: it is left out and named in the report.
  std::vector<std::wstring> others;
  std::wstring report = reportText;
  for (const std::wstring& file : {GetSettingsIniPath(), extraFile}) {
    if (file.empty()) continue;
    if (IsFileExist(file)) {
      others.push_back(file);
    } else {
      report += L"\r\nMissing file: " + file;
      Log(L"Support archive: missing file " + file);
    }
  }
  std::vector<std::wstring> files;
  const std::wstring infoPath = GetTempFolder() + kSupportInfoFileName;
  if (WriteInfoFile(infoPath, report)) files.push_back(infoPath);
  files.insert(files.end(), others.begin(), others.end());

  const bool ok = ZipFileList(files, archivePath);
  if (!ok) {
    LogError(L"Cannot create ZIP-archive " + archivePath + L", zip result " +
             std::to_wstring(ZipLastResult()));
    if (showErrors) ShowFailure(owner, archivePath, files);
  }
  if (IsFileExist(infoPath)) DeleteFileW(infoPath.c_str());
  if (ok && selectInExplorer) SelectInExplorer(owner, archivePath);
  return ok;
}

std::wstring GetSupportZipName() {
  std::wstring logName = GetFileNameFromPath(GetLogReportPath());
  logName.resize(logName.size() - GetFileExt(logName).size());
  std::wstring name = logName + L" " + kProductName + L" version" +
                      ExpandMacrosInText(L"%QLR_VERSION%") + L" " +
                      ExpandMacrosInText(L"%DAY%_%MONTHNAME_ABBR%_%YEAR%_");
  name = Trim(name);
  std::replace(name.begin(), name.end(), L' ', L'_');
  std::replace(name.begin(), name.end(), L':', L'_');
  return name + L".zip";
}
