// Named switches that turn on test behaviour when a marker file of the same
// name lies in the program folder. A switch is looked up once per process.
#pragma once
#include <map>
#include <string>
#include <vector>

constexpr const wchar_t* kUpdateVersionTestSwitch = L"UpdateVersion_Test.UpdateVersion_Test";

class CTestSwitches {
 public:
  enum State { kOn = 0, kOff = 1, kUntested = 2 };
  virtual ~CTestSwitches() = default;

  bool IsKnown(const std::wstring& name) const;
  int Add(const std::wstring& name);
  bool GetState(const std::wstring& name);

  // A name without a backslash lies in the program folder.
  static std::wstring SwitchPath(const std::wstring& name);

 private:
  std::map<std::wstring, int> m_states;  // switch path -> State
};

CTestSwitches& GetTestSwitches();
bool IsTestSwitchOn(const std::wstring& name);
bool IsUpdateVersionTest();
int GetTestSwitchNames(std::vector<std::wstring>& names);
