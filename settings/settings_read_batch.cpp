#include "settings/settings_read_batch.h"

#include <windows.h>
#include <winternl.h>

#include <cwchar>
#include <utility>

#include "foundation/files/ini.h"
#include "foundation/text/text_basics.h"
#include "settings/settings_files.h"

namespace {

thread_local CSettingsReadBatch* t_batch = nullptr;

// GetPrivateProfileIntW reads the value into a buffer of this many characters.
constexpr size_t kIntValueChars = 30;

bool EqualsAsciiNoCase(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == L'\0';
}

// The value as the profile functions copy it into a buffer of chars
// characters: a value in a pair of matching quotes loses them when it fits.
std::wstring CopyProfileValue(const std::wstring& value, size_t chars) {
  if (chars == 0) return std::wstring();
  size_t start = 0;
  const bool quoted = value.size() > 1 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0];
  if (quoted) start = 1;
  const size_t rest = value.size() - start;
  std::wstring copy = value.substr(start, chars - 1);
  if (quoted && chars >= rest && !copy.empty()) copy.pop_back();
  return copy;
}

using RtlUnicodeStringToIntegerFn = NTSTATUS(NTAPI*)(const UNICODE_STRING*, ULONG, ULONG*);

// The number the profile functions read from a text: the system's own
// conversion (leading blanks, a sign, a 0x, 0o or 0b prefix).
bool ProfileNumber(const std::wstring& text, int* number) {
  static const auto convert = reinterpret_cast<RtlUnicodeStringToIntegerFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUnicodeStringToInteger")));
  if (!convert) return false;
  UNICODE_STRING string;
  string.Buffer = const_cast<wchar_t*>(text.c_str());
  string.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  string.MaximumLength = string.Length;
  ULONG value = 0;
  convert(&string, 0, &value);
  *number = static_cast<int>(value);
  return true;
}

}  // namespace

CIniSectionView::CIniSectionView(std::vector<std::wstring> entries, bool complete) : m_certain(complete) {
  m_entries.reserve(entries.size());
  for (std::wstring& line : entries) {
    Entry entry;
    const size_t eq = line.find(L'=');
    entry.hasValue = eq != std::wstring::npos;
    entry.name = line.substr(0, eq);
    if (entry.hasValue) entry.value = line.substr(eq + 1);
    if (!IsAscii(entry.name)) m_certain = false;
    m_entries.push_back(std::move(entry));
  }
}

bool CIniSectionView::HasKeyExactly(const wchar_t* key) const {
  for (const Entry& entry : m_entries)
    if (entry.name == key) return true;
  return false;
}

std::wstring CIniSectionView::String(const wchar_t* key, size_t chars) const {
  // The first entry of the name is the one the profile functions find.
  for (const Entry& entry : m_entries)
    if (!entry.name.empty() && EqualsAsciiNoCase(entry.name, key))
      return entry.hasValue ? CopyProfileValue(entry.value, chars) : std::wstring();
  return std::wstring();
}

int CIniSectionView::Int(const wchar_t* key, int def) const {
  const std::wstring text = String(key, kIntValueChars);
  int number = def;
  if (text.empty() || !ProfileNumber(text, &number)) return def;
  return number;
}

CSettingsReadBatch::CSettingsReadBatch() {
  if (t_batch) return;
  m_programFile = GetProgramFolderSettingsPath();
  m_userFile = GetUserSettingsPath(false);
  m_active = true;
  t_batch = this;
}

CSettingsReadBatch::~CSettingsReadBatch() {
  if (m_active) t_batch = nullptr;
}

CSettingsReadBatch* CSettingsReadBatch::Current() { return t_batch; }

const CIniSectionView* CSettingsReadBatch::Section(const std::wstring& path, const wchar_t* section,
                                                   const wchar_t* key) {
  if (path.empty() || (path != m_programFile && path != m_userFile)) return nullptr;
  if (!section || !key || !IsAscii(section) || !IsAscii(key)) return nullptr;
  std::unique_ptr<CIniSectionView>& view = m_sections[std::make_pair(path, std::wstring(section))];
  if (!view) {
    bool complete = true;
    std::vector<std::wstring> lines = ReadIniSection(path, section, kMaxSettingsFileBytes, &complete);
    view.reset(new CIniSectionView(std::move(lines), complete));
  }
  return view->IsCertain() ? view.get() : nullptr;
}
