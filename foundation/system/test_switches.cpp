#include "foundation/system/test_switches.h"

#include "foundation/files/files.h"
#include "foundation/files/paths.h"

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
  names.clear();
  names.push_back(kUpdateVersionTestSwitch);
  return static_cast<int>(names.size());
}
