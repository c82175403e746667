#include "platform/htmlayout/render/page_images.h"

#include <windows.h>

#include <cwchar>

#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/url.h"

namespace hl {
namespace {

bool IsDriveRooted(const std::wstring& p) {
  return p.size() >= 3 && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z')) && p[1] == L':' &&
         (p[2] == L'\\' || p[2] == L'/');
}

// A local path of a file: URL or a drive path; empty for anything else.
std::wstring LocalPath(const std::wstring& url) {
  std::wstring p = url;
  if (StartsNoCase(p, L"file:")) {
    p = p.substr(5);
    while (!p.empty() && (p[0] == L'/' || p[0] == L'\\')) p.erase(0, 1);
  }
  for (wchar_t& c : p) {
    if (c == L'/') c = L'\\';
  }
  if (!IsDriveRooted(p)) return std::wstring();  // remote, UNC, relative, device paths
  if (p.find(L"\\\\", 2) != std::wstring::npos || p.find(L':', 2) != std::wstring::npos) return std::wstring();
  return p;
}

}  // namespace

std::wstring ImageFolderOf(const std::wstring& baseUrl) {
  std::wstring p = LocalPath(baseUrl);
  if (p.empty()) return p;
  if (p.back() != L'\\') {
    size_t slash = p.find_last_of(L'\\');
    p = p.substr(0, slash + 1);
  }
  wchar_t full[MAX_PATH];
  DWORD n = GetFullPathNameW(p.c_str(), MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  std::wstring folder(full, n);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring LocalImagePath(const std::wstring& folder, const std::wstring& baseUrl, const std::wstring& src) {
  if (folder.empty() || src.empty() || src.size() > MAX_PATH) return std::wstring();
  // Only a reference with no scheme of its own, or file:, is looked at.
  size_t colon = src.find(L':');
  if (colon != std::wstring::npos && colon > 1 && !StartsNoCase(src, L"file:")) return std::wstring();
  if (StartsNoCase(src, L"\\\\") || StartsNoCase(src, L"//")) return std::wstring();
  std::wstring p = LocalPath(IsDriveRooted(src) || StartsNoCase(src, L"file:") ? src : ResolveUrl(baseUrl, src));
  if (p.empty()) return p;
  wchar_t full[MAX_PATH];
  DWORD n = GetFullPathNameW(p.c_str(), MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  std::wstring path(full, n);
  if (path.size() <= folder.size() ||
      CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                           static_cast<int>(folder.size()), TRUE) != CSTR_EQUAL)
    return std::wstring();
  std::wstring ext = path.size() > 4 ? path.substr(path.size() - 4) : std::wstring();
  if (!SameNoCase(ext, L".bmp") && !SameNoCase(ext, L".ico") && !SameNoCase(ext, L".png")) return std::wstring();
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
  return path;
}

}  // namespace hl
