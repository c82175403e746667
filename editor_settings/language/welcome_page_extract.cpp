#include "editor_settings/language/welcome_page_extract.h"

#include <cwchar>

#include "editor_settings/language/language_tools_names.h"
#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"

namespace {

constexpr int kMostPageNumber = 100000;

bool NameTaken(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring MakeWelcomePagePath(const std::wstring& folder) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  std::wstring path = base + kWelcomePageFirstName;
  if (!NameTaken(path)) return path;
  for (int n = 2; n <= kMostPageNumber; ++n) {
    wchar_t name[64];
    swprintf(name, 64, kWelcomePageNumberedFormat, n);
    path = base + name;
    if (!NameTaken(path)) return path;
  }
  return std::wstring();
}

std::wstring ExtractWelcomePage(HMODULE welcomeModule, const std::wstring& lngPath) {
  if (!welcomeModule) return std::wstring();
  HRSRC info = FindResourceW(welcomeModule, MAKEINTRESOURCEW(kWelcomePageResource),
                             MAKEINTRESOURCEW(kHtmlResourceType));
  HGLOBAL loaded = info ? LoadResource(welcomeModule, info) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = info ? SizeofResource(welcomeModule, info) : 0;
  if (!bytes) {
    LogError(L"the welcome page resource is missing, code " + std::to_wstring(GetLastError()));
    return std::wstring();
  }
  const std::wstring path = MakeWelcomePagePath(GetFolderFromPath(lngPath, true));
  if (path.empty()) return path;
  DWORD written = 0;
  BOOL ok = FALSE;
  {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      LogError(L"CreateFileW [" + path + L"], code " + std::to_wstring(GetLastError()));
      return std::wstring();
    }
    ok = WriteFile(file.Get(), bytes, size, &written, nullptr);
  }
  if (!ok || written != size) {
    LogError(L"WriteFile [" + path + L"], code " + std::to_wstring(GetLastError()));
    DeleteFileW(path.c_str());
    return std::wstring();
  }
  return path;
}
