#include "tray/app/command_line.h"

#include <windows.h>

#include "foundation/localization/localized_strings.h"

namespace {

constexpr UINT kIdsCommandLineKeys = 269;
constexpr UINT kIdsPressCtrlC = 170;
constexpr size_t kUsageNameWidth = 12;

struct SwitchEntry {
  const wchar_t* name;
  const wchar_t* description;
};

// Walked in ascending id order.
const std::map<int, SwitchEntry>& SwitchTable() {
  static const std::map<int, SwitchEntry> table = {
      {kSwitchExit, {L"exit", L"complete all previous running instances of Quillora"}},
      {kSwitchAutoload, {L"autoload", L"detect when Quillora start automatically with Windows"}},
      {kSwitchUa, {L"ua", L"no set \"Start with Windows\" on first running"}},
      {kSwitchNoInstall, {L"noinstall", L"no install services on start of Quillora"}},
      {kSwitchUsage, {L"?", L"print arguments of command line description and exit"}},
      {kSwitchEdit, {L"edit", L"Start the PhraseEditor or change settings"}},
      {kSwitchAsAdmin, {L"asadmin", L"Start second instance of Quillora as administator"}},
      {kSwitchShowMenu, {L"showmenu", L"Show menu on Quillora tray icon"}},
      {kSwitchCfu, {L"cfu", L"check for updates"}},
  };
  return table;
}

std::wstring LocalizedText(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

bool Has(const std::wstring& text, int id) { return FindSwitchInCommandLine(text, GetSwitchName(id)); }

std::wstring Upper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

bool EndsSwitch(const std::wstring& text, size_t end) {
  if (end >= text.size()) return true;
  switch (text[end]) {
    case L' ': case L'\t': case L'\r': case L'\n': case L'\v': case L'\f':
      return true;
    default:
      return false;
  }
}

}  // namespace

void CCommandLine::Parse() {
  m_noInstall = Has(m_text, kSwitchNoInstall);
  m_exit = Has(m_text, kSwitchExit);
  if (Has(m_text, kSwitchUa)) m_ua = m_exit = 1;
  m_autoload = Has(m_text, kSwitchAutoload);
  m_usage = Has(m_text, kSwitchUsage);
  m_edit = Has(m_text, kSwitchEdit);
  m_asAdmin = Has(m_text, kSwitchAsAdmin);
  m_showMenu = Has(m_text, kSwitchShowMenu);
  m_cfu = Has(m_text, kSwitchCfu);
}

std::wstring GetSwitchName(int id) {
  auto it = SwitchTable().find(id);
  return it == SwitchTable().end() ? std::wstring() : it->second.name;
}

std::wstring GetSwitchDescription(int id) {
  auto it = SwitchTable().find(id);
  return it == SwitchTable().end() ? std::wstring() : it->second.description;
}

std::wstring GetAsAdminSwitch() {
  std::wstring name = GetSwitchName(kSwitchAsAdmin);
  return name.empty() ? name : L"/" + name;
}

bool FindSwitchInCommandLine(const std::wstring& text, const std::wstring& switchName) {
  if (switchName.empty()) return false;
  for (const wchar_t* prefix : {L"/", L"-"}) {
    std::wstring form = prefix + switchName;
    size_t at = text.find(form);
    if (at == std::wstring::npos) at = Upper(text).find(Upper(form));
    if (at != std::wstring::npos && EndsSwitch(text, at + form.size())) return true;
  }
  return false;
}

std::wstring GetCommandLineUsageText() {
  std::wstring text = LocalizedText(kIdsCommandLineKeys) + L":\n\n";
  for (const auto& entry : SwitchTable()) {
    std::wstring name = std::wstring(L"/") + entry.second.name;
    if (name.size() < kUsageNameWidth) name.resize(kUsageNameWidth, L' ');
    text += name + L" - " + entry.second.description + L"\n";
  }
  return text + L"\n\n" + LocalizedText(kIdsPressCtrlC);
}

size_t FillSwitchDescriptions(std::map<std::wstring, std::wstring>& map) {
  for (const auto& entry : SwitchTable())
    map[std::wstring(L"/") + entry.second.name] = entry.second.description;
  return map.size();
}
