#include "foundation/localization/language_files.h"

#include <algorithm>
#include <cwchar>

#include "foundation/files/files.h"
#include "foundation/files/ini.h"
#include "foundation/files/paths.h"
#include "foundation/localization/lng_cache.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr wchar_t kExampleFileName[] = L"LocalizeExample.lng";
constexpr wchar_t kEmbeddedName[] = L"English (Embedded)";
constexpr wchar_t kMakerWebAddress[] = L"https://www.tessaly-software.example/quillora/";
constexpr wchar_t kDefaultPrefix[] = L"En";
constexpr wchar_t kDefaultAuthor[] = L"Type Your name and email (optional)";
constexpr wchar_t kDefaultLocalized[] = L"English (Type localized name of language here)";
const wchar_t* const kRussianRegionCodes[] = {L"ru", L"uk", L"be", L"kz", L"lv", L"lt", L"et"};

// The current language is read by every localiser and may be set from
// another thread on a language change, so it is copied under a lock.
SRWLOCK g_currentLock = SRWLOCK_INIT;
std::wstring& CurrentLanguage() {
  static std::wstring* path = new std::wstring();  // lives until the process ends
  return *path;
}

std::wstring ReadMain(const std::wstring& path, const wchar_t* key, DWORD maxChars) {
  std::wstring value;
  ReadLngValue(path, kLngMainSection, key, L"", maxChars + 1, &value);
  return value;
}

bool IsBuildFolderName(const std::wstring& name) {
  return EqualNoCase(name, L"Debug") || EqualNoCase(name, L"Release");
}

}  // namespace

std::wstring GetLngFolder() { return GetLngFolderOf(GetAppFolder()); }

std::wstring GetLngFolderOf(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  size_t cut = folder.find_last_of(L'\\');
  if (cut != std::wstring::npos && IsBuildFolderName(folder.substr(cut + 1)))
    folder.erase(cut);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring GetLngFilePath(std::wstring& fileName) {
  if (fileName.empty()) fileName = kExampleFileName;
  return GetLngFolder() + fileName;
}

std::wstring GetLngFilePath(const wchar_t* fileName) {
  std::wstring name = fileName ? fileName : L"";
  return GetLngFilePath(name);
}

std::wstring GetLocalizeExampleFileName() { return kExampleFileName; }

std::wstring GetLocalizeExamplePath(const std::wstring& lngPath) {
  size_t cut = lngPath.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return std::wstring();
  return lngPath.substr(0, cut + 1) + kExampleFileName;
}

bool IsLocalizeExampleFile(const std::wstring& lngPath) {
  return EqualNoCase(GetFileNameFromPath(lngPath), kExampleFileName);
}

bool WriteUnicodeBom(HANDLE file) {
  const DWORD bom = 0xFEFF;
  DWORD written = 0;
  return WriteFile(file, &bom, sizeof(bom), &written, nullptr) && written == sizeof(bom);
}

void CreateLangFile(const std::wstring& path) {
  if (path.empty() || IsFileExist(path)) return;
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) WriteUnicodeBom(file.Get());
}

void WriteLangFileHeader(const std::wstring& path) {
  if (path.empty() || IsFileExist(path)) return;
  CreateLangFile(path);
  WriteLngValue(path, kLngMainSection, kLngKeyPrefix, kDefaultPrefix);
  WriteLngValue(path, kLngMainSection, kLngKeyAuthor, kDefaultAuthor);
  WriteLngValue(path, kLngMainSection, kLngKeyLocalized, kDefaultLocalized);
}

std::wstring GetLangLocalizedName(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return kEmbeddedName;
  return ReadMain(path, kLngKeyLocalized, 99);
}

std::wstring GetLangPrefix(const std::wstring& path) {
  return TrimChars(ReadMain(path, kLngKeyPrefix, 9), L" \t");
}

int GetLangFileInfo(const std::wstring& path, LangFileInfo* info) {
  if (path.empty()) {
    info->name = kEmbeddedName;
    info->author = kMakerWebAddress;
    return 1;
  }
  if (!IsFileExist(path)) return 0;
  info->author = ReadMain(path, kLngKeyAuthor, 1023);
  info->name = ReadMain(path, kLngKeyLocalized, 1023);
  return 1;
}

std::wstring GetEmbeddedLanguageName() { return kEmbeddedName; }

int SetCurrentLanguage(const std::wstring& path) {
  SrwExclusiveLock lock(g_currentLock);
  CurrentLanguage() = path;
  return 1;
}

std::wstring GetCurrentLanguage() {
  SrwSharedLock lock(g_currentLock);
  return CurrentLanguage();
}

bool EnumLanguageFiles(std::vector<std::wstring>& list, const wchar_t* leaveOut) {
  list.clear();
  list.emplace_back();
  WIN32_FIND_DATAW data = {};
  UniqueFindHandle find(FindFirstFileW((GetLngFolder() + L"*.lng").c_str(), &data));
  if (!find) return false;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (leaveOut && EqualNoCase(data.cFileName, leaveOut)) continue;
    list.emplace_back(data.cFileName);
  } while (FindNextFileW(find.Get(), &data));
  std::sort(list.begin(), list.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  });
  return true;
}

std::wstring FindLanguageFileByPrefix(const std::wstring& prefix) {
  std::vector<std::wstring> list;
  if (prefix.empty() || !EnumLanguageFiles(list, nullptr)) return std::wstring();
  const std::wstring folder = GetLngFolder();
  for (const std::wstring& entry : list) {
    if (!entry.empty() && EqualNoCase(GetLangPrefix(folder + entry), prefix)) return entry;
  }
  return std::wstring();
}

bool BuildLanguageMenu(HMENU menu, UINT firstId, const std::vector<std::wstring>& list,
                       const std::wstring& current, size_t maxItems) {
  if (list.empty()) return false;
  const std::wstring folder = GetLngFolder();
  UINT id = firstId;
  for (const std::wstring& entry : list) {
    if (id - firstId >= maxItems) break;
    std::wstring caption = GetLangLocalizedName(folder + entry);
    if (caption.empty()) {
      caption = entry;
      size_t dot = caption.find_last_of(L'.');
      if (dot != std::wstring::npos) caption.erase(dot);
    }
    if (AppendMenuW(menu, MF_STRING, id, caption.c_str()) && EqualNoCase(entry, current)) {
      SetMenuDefaultItem(menu, id, FALSE);
      CheckMenuRadioItem(menu, id, id, id, MF_BYCOMMAND);
    }
    ++id;
  }
  return true;
}

bool IsRussianLangCode(const std::wstring& code) {
  for (const wchar_t* c : kRussianRegionCodes)
    if (EqualNoCase(code, c)) return true;
  return false;
}

bool IsRussianLangFile(const std::wstring& path) {
  std::wstring prefix = GetLangPrefix(path);
  return !prefix.empty() && IsRussianLangCode(prefix);
}

std::wstring GetFallbackLangPrefix(const std::wstring& code) {
  if (IsRussianLangCode(code) && !EqualNoCase(code, L"ru")) return L"RU";
  return std::wstring();
}

bool IsDifferentNoCase(const std::wstring& a, const std::wstring& b) { return !EqualNoCase(a, b); }

DWORD ReadLngValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const wchar_t* def, DWORD maxChars, std::wstring* out) {
  out->clear();
  if (file.empty() || maxChars == 0 || !IsProfileFileWithin(file.c_str(), kMaxLngFileBytes)) {
    if (def) *out = def;
    return 0;
  }
  switch (LookupLngCache(file, section, key, out)) {
    case LngLookup::kFound:
      break;
    case LngLookup::kMissing:
      *out = def ? def : L"";
      break;
    case LngLookup::kUnknown: {
      std::wstring buf(maxChars, L'\0');
      DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), def ? def : L"", &buf[0], maxChars,
                                         file.c_str());
      out->assign(buf.c_str(), n);
      return n;
    }
  }
  // As the profile functions do: the buffer keeps maxChars - 1 characters.
  if (out->size() > maxChars - 1) out->resize(maxChars - 1);
  return static_cast<DWORD>(out->size());
}

bool WriteLngValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) {
  if (file.empty() || !IsProfileFileWritable(file.c_str(), kMaxLngFileBytes)) return false;
  CreateLangFile(file);
  // Strings are written into the example file at every load: a value the
  // file holds already is not written again.
  if (LngCacheHolds(file, section, key, value)) return true;
  return WriteLngValueCached(file, section, key, value);
}
