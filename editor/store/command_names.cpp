#include "editor/store/command_names.h"

#include <cwchar>

#include "foundation/files/files.h"
#include "foundation/files/shell_file_ops.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_captions.h"
#include "phrases/store/phrase_file_names.h"
#include "phrases/store/phrase_names.h"

namespace {

constexpr wchar_t kUnsafeChars[] = L"?:\\\"!/<>.\t\n*|{}=()'";

std::wstring WithBackslash(const std::wstring& directory) {
  std::wstring path = directory;
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

std::wstring NameOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring MakeSafeFileName(const std::wstring& title, bool spacesToo) {
  return MakePhraseFileName(title, 0, false, spacesToo);
}

std::wstring StripUnsafeChars(const std::wstring& title) {
  std::wstring text = TrimChars(title, L" \t");
  size_t lineFeed = text.find(L'\n', 1);
  if (lineFeed != std::wstring::npos) text.resize(lineFeed);
  std::wstring kept;
  for (wchar_t ch : text)
    if (ch >= 0x20 && wcschr(kUnsafeChars, ch) == nullptr) kept += ch;
  ReplaceText(kept, L"___", L"_");
  ReplaceText(kept, L"__", L"_");
  return TrimChars(kept, L"_");
}

std::wstring NormalizeTitle(const std::wstring& text, int limit) {
  return NormalizeCaptionText(text, limit);
}

std::wstring MakeFileTitle(const std::wstring& title, int number, bool addExtension, bool spacesToo) {
  return MakePhraseFileName(title, number, addExtension, spacesToo);
}

std::wstring MakeUniquePath(const std::wstring& directory, const std::wstring& title,
                            bool addExtension, bool spacesToo, bool asFile) {
  return MakeUniquePhrasePath(directory, title, addExtension, spacesToo, asFile);
}

std::wstring MakeNumberedPath(const std::wstring& directory, const std::wstring& base) {
  std::wstring stem = WithBackslash(directory) + base;
  std::wstring candidate = stem + kPhraseExtension;
  for (int n = 1; n < 1000000 && GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
    candidate = stem + L"_" + std::to_wstring(n) + kPhraseExtension;
  return candidate;
}

std::wstring CopyOrMoveEntry(const std::wstring& source, const std::wstring& targetDirectory, bool move) {
  DWORD attrs = GetFileAttributesW(source.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return std::wstring();
  std::wstring name = NameOf(source);
  std::wstring target;
  bool ok = false;
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    size_t extLength = wcslen(kPhraseExtension);
    if (name.size() >= extLength && EqualNoCase(name.substr(name.size() - extLength), kPhraseExtension))
      name.resize(name.size() - extLength);
    target = MakeUniquePath(targetDirectory, name, true, true, true);
    if (target.empty()) return target;
    ok = move ? MoveFileW(source.c_str(), target.c_str())
              : CopyFileW(source.c_str(), target.c_str(), TRUE);
  } else {
    target = MakeUniquePath(targetDirectory, name, false, false, false);
    if (target.empty()) return target;
    if (move) {
      ok = MoveFileW(source.c_str(), target.c_str());
    } else {
      HWND owner = GetDesktopWindow();
      ok = ShellCopy(owner, source, target, false);
    }
  }
  if (!ok) {
    LogError(std::wstring(move ? L"Moving [" : L"Copying [") + source + L"] -> [" + target +
             L"], code " + std::to_wstring(GetLastError()));
    return std::wstring();
  }
  return target;
}
