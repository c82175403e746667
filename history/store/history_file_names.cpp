#include "history/store/history_file_names.h"

#include <windows.h>

#include "foundation/files/paths.h"
#include "foundation/text/text_basics.h"
#include "history/store/history_item.h"
#include "history/store/history_names.h"

namespace hn = history_names;

namespace {

// Indexed by kind.
constexpr const wchar_t* kExtensions[kHistoryKindCount] = {L".txt", L".txt", L".rtf",
                                                           L".bnd", L".bmp", L".html"};
constexpr int kMaxNumber = 1000000;

}  // namespace

std::wstring GetHistoryFileExtension(int kind) {
  if (kind < 0 || kind >= kHistoryKindCount) return std::wstring();
  return kExtensions[kind];
}

std::wstring GetHistoryFileExtension(const CCHItem& item) { return GetHistoryFileExtension(item.kind); }

std::wstring GetHistoryBaseName(int kind) {
  std::wstring base = hn::kDataBase;
  return kind == kHistoryKindUnicode ? hn::kUnicodePrefix + base : base;
}

std::wstring GetHistoryBaseName(const CCHItem& item) { return GetHistoryBaseName(item.kind); }

std::wstring MakeUniqueHistoryFileName(const std::wstring& folder, const std::wstring& extension,
                                       const std::wstring& base) {
  std::wstring prefix = folder;
  if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
  prefix += base;
  for (int n = 1; n <= kMaxNumber; ++n) {
    std::wstring path = prefix + std::to_wstring(n) + extension;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
  }
  return std::wstring();
}

int GetKindFromExtension(const std::wstring& path) {
  struct Entry {
    const wchar_t* extension;
    int kind;
  };
  static const Entry kTable[] = {{L"bmp", kHistoryKindBitmap}, {L"bnd", kHistoryKindBrindle},
                                 {L"txt", kHistoryKindUnicode}, {L"rtf", kHistoryKindRtf},
                                 {L"html", kHistoryKindHtml}};
  std::wstring extension = GetFileExt(path);
  if (!extension.empty()) extension.erase(0, 1);
  for (const Entry& e : kTable)
    if (EqualNoCase(extension, e.extension)) return e.kind;
  return kHistoryKindUnicode;
}

bool IsUnicodeTextFile(const std::wstring& path) {
  std::wstring name = GetFileNameFromPath(path);
  const size_t prefix = wcslen(hn::kUnicodePrefix);
  return EqualNoCase(GetFileExt(path), L".txt") && name.size() >= prefix &&
         EqualNoCase(name.substr(0, prefix), hn::kUnicodePrefix);
}

bool IsPlainFileName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  if (name.find_first_of(L"\\/:") != std::wstring::npos) return false;
  return name.find(L"..") == std::wstring::npos;
}
