#include "foundation/system/test_switches.h"

#include <windows.h>

#include <iterator>
#include <memory>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"

namespace {

constexpr const wchar_t* kAllSwitches[] = {
    kUpdateVersionTestSwitch, kUpdateSiteSwitch,        kInternetStateSwitch,
    kUpdateWaitSwitch,        kSelfFillQueryTestSwitch, kShellOpenTestSwitch,
    kClickByHrefTestSwitch,   kStyleSheetQueryTestSwitch,
};

constexpr size_t kMaxMarkerBytes = 300;

}  // namespace

std::wstring CTestSwitches::SwitchPath(const std::wstring& name) {
  if (name.find(L'\\') != std::wstring::npos) return name;
  return GetAppFolderWithSlash() + name;
}

bool CTestSwitches::IsKnown(const std::wstring& name) const {
  return !m_states.empty() && m_states.count(SwitchPath(name)) != 0;
}

int CTestSwitches::Add(const std::wstring& name) {
  m_states[SwitchPath(name)] = kUntested;
  return 1;
}

bool CTestSwitches::GetState(const std::wstring& name) {
  std::wstring path = SwitchPath(name);
  auto it = m_states.find(path);
  if (it == m_states.end()) return IsFileExist(path);
  if (it->second == kUntested) it->second = IsFileExist(path) ? kOn : kOff;
  return it->second == kOn;
}

CTestSwitches& GetTestSwitches() {
  static CTestSwitches instance;
  return instance;
}

bool IsTestSwitchOn(const std::wstring& name) {
  CTestSwitches& switches = GetTestSwitches();
  if (!switches.IsKnown(name)) switches.Add(name);
  return switches.GetState(name);
}

bool IsUpdateVersionTest() { return IsTestSwitchOn(kUpdateVersionTestSwitch); }

int GetTestSwitchNames(std::vector<std::wstring>& names) {
  names.assign(std::begin(kAllSwitches), std::end(kAllSwitches));
  return static_cast<int>(names.size());
}

std::vector<std::wstring> GetTestSwitchesOn() {
  std::vector<std::wstring> on;
  for (const wchar_t* name : kAllSwitches)
    if (IsTestSwitchOn(name)) on.push_back(name);
  return on;
}

std::wstring GetTestSwitchValue(const std::wstring& name) {
  if (!IsTestSwitchOn(name)) return std::wstring();
  const std::wstring path = CTestSwitches::SwitchPath(name);
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
      data.nFileSizeLow > kMaxMarkerBytes)
    return std::wstring();
  size_t size = 0;
  std::unique_ptr<char[]> bytes = ReadFileToBuffer(path, &size);
  if (!bytes || size > kMaxMarkerBytes) return std::wstring();
  std::wstring text;
  for (size_t i = 0; i < size && bytes[i] != '\r' && bytes[i] != '\n'; ++i)
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::wstring();
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}
