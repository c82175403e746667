#include "foundation/files/paths.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <vector>

#include "foundation/files/files.h"
#include "foundation/text/text_basics.h"

namespace {

// A path cut the way the platform's path split does: the drive ("X:"), the
// folder (up to and including the last separator), then name and extension.
struct PathParts {
  std::wstring drive, dir, name, ext;
};

PathParts SplitPath(const std::wstring& path) {
  PathParts parts;
  size_t start = 0;
  if (path.size() >= 2 && path[1] == L':') {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  size_t lastSep = path.find_last_of(L"\\/");
  size_t nameStart = start;
  if (lastSep != std::wstring::npos && lastSep >= start) {
    parts.dir = path.substr(start, lastSep + 1 - start);
    nameStart = lastSep + 1;
  }
  std::wstring file = path.substr(nameStart);
  size_t dot = file.find_last_of(L'.');
  if (dot == std::wstring::npos) {
    parts.name = file;
  } else {
    parts.name = file.substr(0, dot);
    parts.ext = file.substr(dot);
  }
  return parts;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Every second call within one clock tick would otherwise get the same name.
std::atomic<unsigned> g_tempNameCounter{0};

}  // namespace

std::wstring GetModulePath() {
  wchar_t buf[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  return std::wstring(buf, n);
}

std::wstring GetAppFolderEx(bool withSlash) {
  std::wstring path = GetModulePath();
  size_t cut = path.find_last_of(L"\\/");
  std::wstring folder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  if (withSlash) folder += L'\\';
  return folder;
}

std::wstring GetAppFolder() { return GetAppFolderEx(false); }
std::wstring GetAppFolderWithSlash() { return GetAppFolderEx(true); }

std::wstring GetFileExt(const std::wstring& path) { return SplitPath(path).ext; }

std::wstring GetFileNameFromPath(const std::wstring& path) {
  PathParts parts = SplitPath(path);
  return parts.name + parts.ext;
}

std::wstring GetFolderFromPath(const std::wstring& path, bool noBackslash) {
  PathParts parts = SplitPath(path);
  std::wstring folder = parts.drive + parts.dir;
  if (folder.empty()) return folder;
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  bool bareDrive = folder.size() == 2 && folder[1] == L':';
  if (!noBackslash || bareDrive || folder.empty()) folder += L'\\';
  return folder;
}

std::wstring GetTempFolder() {
  wchar_t buf[MAX_PATH] = {};
  DWORD n = GetTempPathW(MAX_PATH, buf);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  std::wstring folder(buf, n);
  if (!IsSeparator(folder.back())) folder += L'\\';
  return folder;
}

std::wstring EnsureLeadingDot(const std::wstring& ext) {
  if (ext.empty() || ext[0] == L'.') return ext;
  return L"." + ext;
}

std::wstring MakeTempFileName(const std::wstring& folder, const std::wstring& ext) {
  std::wstring dir = folder.empty() ? GetTempFolder() : folder;
  if (dir.empty()) return std::wstring();
  if (!IsSeparator(dir.back())) dir += L'\\';
  // The platform uses the low 16 bits of the number; with a non-zero number it
  // builds the name without creating or testing the file, so a name already
  // taken is skipped here (a folder that does not exist takes any name).
  for (unsigned attempt = 0; attempt < 0x10000; ++attempt) {
    unsigned unique = (GetTickCount() + g_tempNameCounter.fetch_add(1)) & 0xFFFF;
    if (unique == 0) continue;
    wchar_t buf[MAX_PATH] = {};
    if (GetTempFileNameW(dir.c_str(), L"abcd", unique, buf) == 0) return std::wstring();
    std::wstring name = buf;
    if (name.empty()) return name;
    if (!ext.empty()) {
      if (ext[0] != L'.' && name.back() != L'.') name += L'.';
      name += ext;
    }
    if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
  }
  return std::wstring();
}

std::wstring GetTempFileNameWithExt(const std::wstring& ext) {
  return MakeTempFileName(std::wstring(), ext);
}

std::wstring ExpandEnvVars(const std::wstring& text) {
  std::vector<std::wstring> tokens;
  size_t pos = 0;
  for (;;) {
    size_t open = text.find(L'%', pos);
    if (open == std::wstring::npos) break;
    size_t close = text.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    tokens.push_back(text.substr(open, close - open + 1));
    pos = close + 1;
  }
  std::wstring result = text;
  for (const std::wstring& token : tokens) {
    constexpr DWORD kChars = 999;
    wchar_t buf[kChars] = {};
    DWORD n = ExpandEnvironmentStringsW(token.c_str(), buf, kChars);
    if (n == 0 || n > kChars || buf[0] == L'\0') continue;
    ReplaceText(result, token, buf);
  }
  return result;
}

std::wstring MakeFileNameFromText(const std::wstring& text, bool replaceSpaces, int maxLength) {
  static const wchar_t kUnsafe[] = L"?*:\\\"/<>\t\n|{}\"'%";
  std::wstring name = TrimChars(text, L" \t\r\n");
  size_t lf = name.find(L'\n');
  if (lf != std::wstring::npos) name.resize(lf);
  if (maxLength > 0 && name.size() > static_cast<size_t>(maxLength)) name.resize(maxLength);
  for (wchar_t& c : name) {
    // Control characters (a CR left before the cut line feed, say) are no
    // more valid in a file name than the listed ones.
    if (wcschr(kUnsafe, c) || c < 0x20 || (replaceSpaces && c == L' ')) c = L'_';
  }
  ReplaceText(name, L"___", L"_");
  ReplaceText(name, L"__", L"_");
  return TrimChars(name, L"_");
}
