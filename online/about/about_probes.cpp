#include "online/about/about_probes.h"

#include <commdlg.h>

#include <shellapi.h>

#include "foundation/files/paths.h"
#include "foundation/localization/locale_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/security.h"
#include "history/actions/support_zip.h"
#include "settings/settings_files.h"

namespace {

const wchar_t* OkText(bool ok) { return ok ? L"Successfully" : L"FAIL"; }
int Kind(bool ok) { return ok ? kAboutSuccess : kAboutFailure; }

}  // namespace

void AddFileBlock(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& path) {
  std::wstring name = GetFileNameFromPath(path);
  AddAboutRow(rows, caption + L" [" + name + L"]", L"", kAboutGroup);
  AddAboutRow(rows, L"Full Path", path);
  DWORD attributes = GetFileAttributesW(path.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  AddAboutRow(rows, name, exists ? L"exist" : L"not exists", Kind(exists));
  if (!exists) return;
  bool read = CheckFileAccess(path, GENERIC_READ);
  bool write = CheckFileAccess(path, GENERIC_WRITE);
  AddAboutRow(rows, L"Read Access", read ? L"OK" : L"Denied", Kind(read));
  AddAboutRow(rows, L"Write Access", write ? L"OK" : L"Denied", Kind(write));
}

void AddPhraseFolderTests(std::vector<AboutRow>& rows, const std::wstring& folder) {
  bool ok = ProbePhraseFileWrite(folder);
  AddAboutRow(rows, L"Test for phrase-file", OkText(ok), Kind(ok));
  ok = ProbePhraseGroupWrite(folder);
  AddAboutRow(rows, L"Test for phrase-group", OkText(ok), Kind(ok));
  ok = ProbeFolderOpen(folder, false);
  AddAboutRow(rows, L"Phrases Folder Read", OkText(ok), Kind(ok));
  ok = CheckFileAccess(folder, GENERIC_READ);
  AddAboutRow(rows, L"Read Rights", OkText(ok), Kind(ok));
  ok = ProbeFolderOpen(folder, true);
  AddAboutRow(rows, L"Phrases Folder Write", OkText(ok), Kind(ok));
  ok = CheckFileAccess(folder, GENERIC_WRITE);
  AddAboutRow(rows, L"Write Rights", OkText(ok), Kind(ok));
}

std::wstring FindDefaultBrowser(const std::wstring& tempFolder) {
  std::wstring probe = tempFolder;
  if (!probe.empty() && probe.back() != L'\\') probe += L'\\';
  probe += L"test_qlr.htm";
  // A page of that name that is already there serves as the probe and is
  // left alone: it may be someone's file.
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  bool ours = file != INVALID_HANDLE_VALUE;
  if (ours)
    CloseHandle(file);
  else if (GetLastError() != ERROR_FILE_EXISTS)
    return std::wstring();
  wchar_t program[MAX_PATH] = {};
  // FindExecutableW answers above 32 on success; it only asks the
  // registry, so nothing is started.
  INT_PTR rc = reinterpret_cast<INT_PTR>(FindExecutableW(probe.c_str(), nullptr, program));
  if (ours) DeleteFileW(probe.c_str());
  if (rc <= 32) return std::wstring();
  return program;
}

std::wstring GetCountryText() {
  std::wstring text;
  for (const std::wstring& part : {GetGeoFriendlyName(), GetGeoOfficialName(), GetGeoIsoCode(true)}) {
    if (part.empty()) continue;
    if (!text.empty()) text += L", ";
    text += part;
  }
  return text;
}

std::wstring AskArchivePath(HWND owner) {
  wchar_t file[MAX_PATH] = {};
  lstrcpynW(file, GetSupportZipName().c_str(), MAX_PATH);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = L"Zip archives (*.zip)\0*.zip\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = L"Quillora";
  ofn.lpstrDefExt = L"zip";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&ofn)) return std::wstring();
  return file;
}

bool SaveAboutArchive(const std::wstring& path, const std::wstring& report, HWND owner) {
  return CreateSupportZip(GetLogPath(), path, false, owner, report, true);
}
