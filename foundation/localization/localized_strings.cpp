#include "foundation/localization/localized_strings.h"

#include <atomic>
#include <cwchar>
#include <new>
#include <vector>

#include "foundation/localization/language_files.h"
#include "foundation/system/handles.h"

namespace {

constexpr wchar_t kMissingMarker[] = L"{25D447B2-EA72-4999-BE79-DB8DF18BDE0B}";
constexpr DWORD kValueChars = 20560;
constexpr int kResourceSteps[] = {256, 512, 768};

struct CLngFileBinding {
  std::atomic<bool> fillMissing{true};
};

// Published once and never freed: string loads may run on any thread.
std::atomic<CLngFileBinding*> g_binding{nullptr};

SRWLOCK g_sectionLock = SRWLOCK_INIT;
std::wstring& Section() {
  static std::wstring* section = new std::wstring(kLngStringsSection);
  return *section;
}

struct EscapePair {
  wchar_t ch;
  const wchar_t* escape;
};
// Ordered by the real character.
constexpr EscapePair kEscapes[] = {{L'\t', L"\\t"}, {L'\n', L"\\n"}, {L'\r', L"\\r"}};

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::wstring::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
}

std::wstring Escaped(std::wstring text) {
  EscapeLngText(text);
  return text;
}

template <typename Char>
int CountLines(const Char* text, size_t length, Char lineFeed) {
  if (!text || length < 2) return 0;
  int count = 1;
  for (size_t i = 0; i < length; ++i)
    if (text[i] == lineFeed) ++count;
  return count;
}

}  // namespace

bool LoadResourceString(HMODULE module, UINT id, std::wstring* out) {
  out->clear();
  if (!module) module = GetModuleHandleW(nullptr);
  for (int size : kResourceSteps) {
    std::vector<wchar_t> buf(size, L'\0');
    int n = LoadStringW(module, id, buf.data(), size);
    out->assign(buf.data(), n > 0 ? n : 0);
    // A text that fills the buffer may have been cut: try a larger one.
    if (n < size - 1) break;
  }
  return !out->empty();
}

bool CLngStringBase::LoadString(UINT id) { return LoadString(id, nullptr); }

bool CLngStringBase::LoadString(UINT id, HMODULE module) {
  std::wstring builtIn;
  bool loaded = LoadResourceString(module, id, &builtIn);
  m_text = builtIn;
  if (!IsLngFileBound()) return loaded;

  const std::wstring lngFile = GetCurrentLanguage();
  const std::wstring section = GetLngStringSection();
  wchar_t key[16];
  swprintf(key, 16, L"%u", id);
  if (loaded && !IsLocalizeExampleFile(lngFile))
    WriteLngValue(GetLocalizeExamplePath(lngFile), section, key, Escaped(builtIn));

  std::wstring value;
  DWORD n = ReadLngValue(lngFile, section, key, kMissingMarker, kValueChars, &value);
  if (n > 0 && value != kMissingMarker) {
    UnescapeLngText(value);
    m_text = value;
    return true;
  }
  if (!loaded) return false;
  if (IsFillMissing()) WriteLngValue(lngFile, section, key, Escaped(builtIn));
  return true;
}

bool SetLngStringFile(const std::wstring& lngPath, const std::wstring& suffix) {
  bool ok = SetLngFileBinding(lngPath, true);
  AppendLngStringSection(suffix);
  return ok;
}

bool SetLngFileBinding(const std::wstring& lngPath, bool fillMissing) {
  CLngFileBinding* binding = g_binding.load();
  if (!binding) {
    CLngFileBinding* fresh = new (std::nothrow) CLngFileBinding();
    if (!fresh) return false;
    CLngFileBinding* expected = nullptr;
    if (g_binding.compare_exchange_strong(expected, fresh)) {
      binding = fresh;
    } else {
      delete fresh;
      binding = expected;
    }
  }
  SetCurrentLanguage(lngPath);
  binding->fillMissing = fillMissing;
  return true;
}

void AppendLngStringSection(const std::wstring& suffix) {
  if (suffix.empty()) return;
  SrwExclusiveLock lock(g_sectionLock);
  std::wstring& section = Section();
  if (section.size() >= suffix.size() &&
      section.compare(section.size() - suffix.size(), suffix.size(), suffix) == 0)
    return;
  section += suffix;
}

std::wstring GetLngStringSection() {
  SrwSharedLock lock(g_sectionLock);
  return Section();
}

void SetLngStringSection(const std::wstring& section) {
  SrwExclusiveLock lock(g_sectionLock);
  Section() = section;
}

bool IsLngFileBound() { return g_binding.load() != nullptr && !GetCurrentLanguage().empty(); }

bool IsFillMissing() {
  CLngFileBinding* binding = g_binding.load();
  return binding && binding->fillMissing;
}

void EscapeLngText(std::wstring& text) {
  for (const EscapePair& pair : kEscapes) ReplaceAll(text, std::wstring(1, pair.ch), pair.escape);
}

void UnescapeLngText(std::wstring& text) {
  for (const EscapePair& pair : kEscapes) ReplaceAll(text, pair.escape, std::wstring(1, pair.ch));
}

int CountLinesA(const char* text, size_t length) { return CountLines(text, length, '\n'); }

int CountLinesW(const wchar_t* text, size_t length) { return CountLines(text, length, L'\n'); }

void FormatLinesInfo(std::wstring& out, int count) {
  CLngString word;
  word.LoadString(kIdsLines);
  out = word.Text() + L": " + std::to_wstring(count);
}

void MakeHeadTailPreview(std::wstring& out, const std::wstring& text, int lineCount) {
  if (lineCount <= 4) {
    out = text;
    return;
  }
  // Head: through the third line feed (the whole text when it has fewer).
  std::wstring head = text;
  size_t pos = std::wstring::npos;
  for (int i = 0; i < 3; ++i) {
    pos = text.find(L'\n', pos == std::wstring::npos ? 0 : pos + 1);
    if (pos == std::wstring::npos) break;
  }
  if (pos != std::wstring::npos) head = text.substr(0, pos + 1);
  // Tail: behind the third line feed counted from the end.
  std::wstring tail;
  size_t back = text.size();
  int found = 0;
  while (found < 3 && back > 0) {
    size_t lf = text.rfind(L'\n', back - 1);
    if (lf == std::wstring::npos) break;
    ++found;
    back = lf;
  }
  if (found == 3) tail = text.substr(back + 1);
  if (head.empty() || tail.empty()) {
    out = head;
    return;
  }
  out = head + L"\n\t\u2026\u2026\u2026\n" + tail;
}
