#include "online/about/about_probes.h"

#include <commdlg.h>

#include "foundation/convert.h"
#include "foundation/file_version.h"
#include "foundation/log.h"
#include "foundation/os_version.h"
#include "foundation/paths.h"
#include "foundation/processes.h"
#include "foundation/security.h"
#include "foundation/system_info.h"
#include "foundation/test_switches.h"
#include "history/support_zip.h"
#include "online/internet_state.h"
#include "online/tray_helpers.h"
#include "tray/settings/settings_files.h"

namespace {

const wchar_t* OkText(bool ok) { return ok ? L"Successfully" : L"FAIL"; }
int Kind(bool ok) { return ok ? kAboutSuccess : kAboutFailure; }

void Add(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& value,
         int kind = kAboutPlain) {
  rows.push_back(AboutRow{caption, value, kind});
}

void AddComponent(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Add(rows, caption, L"File Not Found");
    return;
  }
  CFileVersionInfo info(path);
  std::wstring version = info.Load() ? info.GetProductVersion() : std::wstring();
  Add(rows, caption, (version.empty() ? L"Not Detected" : version) + L", " + path);
}

std::wstring ToUpper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
  return text;
}

std::wstring IeVersion() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return L"Cannot detect";
  wchar_t value[128] = {};
  DWORD bytes = sizeof(value) - sizeof(wchar_t), type = 0;
  LONG rc = RegQueryValueExW(key, L"Version", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return L"Cannot detect";
  return value;
}

}  // namespace

void AddFileBlock(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& path) {
  std::wstring name = GetFileNameFromPath(path);
  Add(rows, caption + L" [" + name + L"]", L"", kAboutGroup);
  Add(rows, L"Full Path", path);
  DWORD attributes = GetFileAttributesW(path.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  Add(rows, name, exists ? L"exist" : L"not exists", Kind(exists));
  if (!exists) return;
  bool read = CheckFileAccess(path, GENERIC_READ);
  bool write = CheckFileAccess(path, GENERIC_WRITE);
  Add(rows, L"Read Access", read ? L"OK" : L"Denied", Kind(read));
  Add(rows, L"Write Access", write ? L"OK" : L"Denied", Kind(write));
}

void AddPhraseFolderTests(std::vector<AboutRow>& rows, const std::wstring& folder) {
  bool ok = ProbePhraseFileWrite(folder);
  Add(rows, L"Test for phrase-file", OkText(ok), Kind(ok));
  ok = ProbePhraseGroupWrite(folder);
  Add(rows, L"Test for phrase-group", OkText(ok), Kind(ok));
  ok = ProbeFolderOpen(folder, false);
  Add(rows, L"Phrases Folder Read", OkText(ok), Kind(ok));
  ok = CheckFileAccess(folder, GENERIC_READ);
  Add(rows, L"Read Rights", OkText(ok), Kind(ok));
  ok = ProbeFolderOpen(folder, true);
  Add(rows, L"Phrases Folder Write", OkText(ok), Kind(ok));
  ok = CheckFileAccess(folder, GENERIC_WRITE);
  Add(rows, L"Write Rights", OkText(ok), Kind(ok));
}

std::vector<AboutRow> CollectAboutRows(const AboutDialogInput& input) {
  std::vector<AboutRow> rows;
  Add(rows, L"Version", input.versionText);
  Add(rows, L"Released", AnsiToWide(__DATE__ " " __TIME__));

  std::wstring app = GetAppFolderWithSlash();
  Add(rows, L"Components", L"", kAboutGroup);
  AddComponent(rows, L"Quillora", GetModulePath());
  AddComponent(rows, L"Phrase\\Settings Editor", app + L"QuilloraEditor.exe");
  AddComponent(rows, L"Welcome Module", app + L"Quillora_Welcome.exe");
  AddComponent(rows, L"Core DLL", app + L"Quillora.dll");
  AddComponent(rows, L"Mouse Gestures DLL", app + L"Gesture.dll");
  WIN32_FIND_DATAW found = {};
  HANDLE find = FindFirstFileW((app + L"*.dll").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      size_t dot = name.rfind(L'.');
      if (dot != std::wstring::npos) name = name.substr(0, dot) + ToUpper(name.substr(dot));
      AddComponent(rows, name, app + found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  HMODULE mfc = GetModuleHandleW(L"Mfc42.DLL");
  wchar_t mfcPath[MAX_PATH] = {};
  Add(rows, L"Mfc42.DLL", mfc && GetModuleFileNameW(mfc, mfcPath, MAX_PATH) ? mfcPath : L"Not found");

  AddFileBlock(rows, L"Settings File", GetSettingsIniPath());
  std::wstring phrases = input.phrasesFolder.empty() ? input.defaultPhrasesFolder : input.phrasesFolder;
  AddFileBlock(rows, L"Phrases Folder", phrases);

  Add(rows, L"Statistic", L"", kAboutGroup);
  Add(rows, L"Folder", phrases);
  if (input.phrasesFolder.empty())
    Add(rows, L"Default Folder", L"Yes, " + input.defaultPhrasesFolder, kAboutSuccess);
  else
    Add(rows, L"Default Folder", L"No", kAboutFailure);

  Add(rows, L"Environment", L"", kAboutGroup);
  COSVersionInfo os;
  Add(rows, L"OS", os.GetOSDisplayName());
  Add(rows, L"OS enum", os.GetOSToken());
  Add(rows, L"Bitness", sizeof(void*) == 8 ? L"64x" : L"32x");
  Add(rows, L"Memory Physical Available", GetAvailablePhysicalMemoryText());
  Add(rows, L"Memory Installed", GetTotalPhysicalMemoryText());
  Add(rows, L"Memory Usage", GetMemoryLoadText());
  SYSTEM_INFO si = {};
  GetNativeSystemInfo(&si);
  Add(rows, L"Number of Processors", std::to_wstring(si.dwNumberOfProcessors));
  bool member = false;
  Add(rows, L"Admin authority", IsCurrentUserAdmin(member) ? (member ? L"Yes" : L"No") : L"Not detected");
  Add(rows, L"Active Code Page", std::to_wstring(GetACP()));
  Add(rows, L"Screen", std::to_wstring(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + L" x " +
                           std::to_wstring(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
  Add(rows, L"Aero enabled", IsDwmCompositionEnabled() ? L"Yes" : L"No");
  Add(rows, L"Path", GetModulePath());
  Add(rows, L"Settings", L"", kAboutGroup);
  Add(rows, L"Hot Key", ToUpper(input.hotkeyText));
  Add(rows, L"IE Version", IeVersion());
  int net = IsInternetConnected();
  Add(rows, L"Has Internet Connection",
      net == kInternetConnected ? L"Yes" : net == kInternetOffline ? L"No" : L"ERROR",
      net == kInternetConnected ? kAboutSuccess : kAboutFailure);
  std::wstring domain;
  Add(rows, L"Computer Domain Name", GetComputerDnsDomain(domain) && !domain.empty() ? domain : L"not found");
  AddPhraseFolderTests(rows, phrases);

  std::vector<std::wstring> switches;
  GetTestSwitchNames(switches);
  Add(rows, L"Files [" + std::to_wstring(switches.size()) + L"]", L"", kAboutGroup);
  for (const std::wstring& name : switches) Add(rows, name, IsTestSwitchOn(name) ? L"Yes" : L"");

  Add(rows, L"Processes", L"", kAboutGroup);
  std::vector<std::wstring> processes;
  if (GetRunningProcessPaths(&processes, true))
    for (const std::wstring& path : processes) Add(rows, L"", path);

  Add(rows, L"Command Line Keys", L"", kAboutGroup);
  for (const auto& key : input.commandLineKeys) Add(rows, L"/" + key.first, key.second);

  Add(rows, L"Log (" + std::to_wstring(input.logMessages.size()) + L")", L"", kAboutGroup);
  int number = 0;
  for (const std::wstring& message : input.logMessages) {
    std::wstring lower = message;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    wchar_t caption[32];
    swprintf(caption, 32, L"Message #%d", ++number);
    Add(rows, caption, message, lower.find(L"error") != std::wstring::npos ? kAboutFailure : kAboutPlain);
  }
  return rows;
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
