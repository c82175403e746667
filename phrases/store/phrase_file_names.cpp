#include "phrases/store/phrase_file_names.h"

#include <windows.h>

#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_names.h"

namespace {

// Characters a file name must not hold, in the order they are replaced.
// The double quote stands twice: the list is kept as the names have always
// been made.
constexpr wchar_t kUnsafeChars[] = L"?:\\\"!/<>.\t\n*|{}=()\"'";

const wchar_t* const kReservedNames[] = {
    L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2", L"COM3", L"COM4", L"COM5", L"COM6", L"COM7",
    L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8", L"LPT9",
};

// Windows opens the device, not a file, for these names, with any extension.
bool IsReservedDeviceName(const std::wstring& name) {
  for (const wchar_t* reserved : kReservedNames)
    if (EqualNoCase(name, reserved)) return true;
  return false;
}

bool PathIsFree(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::wstring MakePhraseFileName(const std::wstring& caption, int number, bool addExtension,
                                bool replaceBlanks) {
  std::wstring name = TrimChars(caption, L" \t");
  size_t lineFeed = name.find(L'\n');
  if (lineFeed != std::wstring::npos) name.resize(lineFeed);

  // Control characters cannot stand in a file name (a CR would stay after
  // the cut at the line feed).
  for (wchar_t& ch : name) {
    if (ch < 0x20 || wcschr(kUnsafeChars, ch) != nullptr) ch = L'_';
    if (replaceBlanks && ch == L' ') ch = L'_';
  }
  ReplaceText(name, L"___", L"_");
  ReplaceText(name, L"__", L"_");
  name = TrimChars(name, L"_");
  if (replaceBlanks) {
    ReplaceText(name, L"   ", L"_");
    ReplaceText(name, L"  ", L"_");
    ReplaceText(name, L" ", L"_");
    ReplaceText(name, L"___", L"_");
    ReplaceText(name, L"__", L"_");
  }
  if (IsReservedDeviceName(name)) name += L"_";

  if (number > 1) name += std::to_wstring(number);
  if (addExtension) name += kPhraseExtension;
  return name;
}

std::wstring MakeUniquePhrasePath(const std::wstring& folder, const std::wstring& caption,
                                  bool addExtension, bool replaceBlanks, bool asFile) {
  // A folder of the name blocks a new file and a file blocks a new folder,
  // so a name is free only when nothing of either kind is there.
  (void)asFile;
  std::wstring base = folder;
  if (base.empty() || base.back() != L'\\') base += L'\\';
  for (int number = 1; number < 100000; ++number) {
    std::wstring path = base + MakePhraseFileName(caption, number, addExtension, replaceBlanks);
    if (PathIsFree(path)) return path;
  }
  return std::wstring();
}
