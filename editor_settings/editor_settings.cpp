#include "editor_settings/editor_settings.h"

#include <windows.h>

#include <climits>
#include <cwchar>
#include <cwctype>

#include "editor_settings/editor_settings_names.h"
#include "editor_settings/settings_file_replace.h"
#include "foundation/files/ini.h"
#include "settings/settings_files.h"

namespace esn = editor_settings_names;

namespace {

// A stored integer, or current when the text holds no number (the profile
// functions would read "abc" as 0).
int ReadEditorInt(const wchar_t* key, int current) {
  std::wstring text = ReadSettingsString(key, L"", esn::kSettingsEditor);
  const wchar_t* start = text.c_str();
  while (iswspace(*start)) ++start;
  wchar_t* end = nullptr;
  long long value = wcstoll(start, &end, 10);
  if (end == start || value > INT_MAX || value < INT_MIN) return current;
  return static_cast<int>(value);
}

}  // namespace

bool CQLREditorSettings::Load() {
  ++m_loadCount;
  return CQLRSettings::Load();
}

void CQLREditorSettings::LoadOwnKeys(const std::wstring& iniPath) {
  (void)iniPath;  // the editor's keys follow the two-file rule of the shared ones
  // The face name is used as a C string by every font call; a stored
  // structure without a terminator must not run past it.
  fontForMenu.lfFaceName[LF_FACESIZE - 1] = L'\0';
  lastFile = ReadSettingsString(esn::kLastFile, L"", esn::kSettingsEditor);
  m_prevFolders.Read(GetDefaultPhrasesDirectory());
  ShowUncheckedPhrases = ReadEditorInt(esn::kShowUncheckedPhrases, ShowUncheckedPhrases) != 0 ? 1 : 0;
  Preview = ReadEditorInt(esn::kPreview, Preview);
}

void CQLREditorSettings::SaveOwnKeys(const std::wstring& iniPath) {
  const wchar_t* ini = iniPath.c_str();
  bool ok = IniWriteString(ini, esn::kSettingsEditor, esn::kLastFile, lastFile.c_str());
  ok &= m_prevFolders.Write(iniPath);
  ok &= IniWriteInt(ini, esn::kSettingsEditor, esn::kShowUncheckedPhrases, ShowUncheckedPhrases);
  ok &= IniWriteInt(ini, esn::kSettingsEditor, esn::kPreview, Preview);
  m_ownKeysWritten = ok;
}

bool CQLREditorSettings::SaveOwnKey(const wchar_t* key) {
  if (!key) return false;
  const std::wstring iniPath = GetSettingsIniPath();
  const wchar_t* ini = iniPath.c_str();
  if (lstrcmpiW(key, esn::kLastFile) == 0)
    return IniWriteString(ini, esn::kSettingsEditor, esn::kLastFile, lastFile.c_str());
  if (lstrcmpiW(key, esn::kShowUncheckedPhrases) == 0)
    return IniWriteInt(ini, esn::kSettingsEditor, esn::kShowUncheckedPhrases, ShowUncheckedPhrases);
  if (lstrcmpiW(key, esn::kPreview) == 0) return IniWriteInt(ini, esn::kSettingsEditor, esn::kPreview, Preview);
  return false;
}

bool CQLREditorSettings::Save() {
  const std::wstring iniPath = GetSettingsIniPath();
  // A file read as empty holds what was read as defaults: nothing goes in.
  if (!IsProfileFileWritable(iniPath.c_str(), kMaxSettingsFileBytes)) return false;
  return ReplaceSettingsFile(iniPath, [&](const std::wstring& copy) {
    m_ownKeysWritten = false;
    bool shared = SaveInto(copy, iniPath);
    return shared && m_ownKeysWritten;
  });
}

bool CQLREditorSettings::SaveChangeOverFile(const std::function<void(CQLREditorSettings&)>& change) {
  CQLREditorSettings fresh(*this);
  fresh.Load();
  change(fresh);
  ::SetLastError(ERROR_SUCCESS);
  if (!fresh.Save()) return false;
  *this = fresh;
  return true;
}
