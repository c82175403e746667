// Named switches that turn on test behaviour when a marker file of the same
// name lies in the program folder. A switch is looked up once per process.
// Every switch of the suite is named here, so that the tray's start log and
// the about report can list each one found: a stray marker file never
// changes a user's program silently.
#pragma once
#include <map>
#include <string>
#include <vector>

// The update check reads "Version_Test" in place of "Version".
constexpr const wchar_t* kUpdateVersionTestSwitch = L"UpdateVersion_Test.UpdateVersion_Test";
// Holds a base URL such as "http://127.0.0.1:8080/": it replaces the scheme
// and host of the update service and of the feeds.
constexpr const wchar_t* kUpdateSiteSwitch = L"UpdateSite_Test.UpdateSite_Test";
// Holds 0, 1 or 2: the answer of the connection test.
constexpr const wchar_t* kInternetStateSwitch = L"InternetState_Test.InternetState_Test";
// Holds a number of milliseconds: the wait before a scheduled update check.
constexpr const wchar_t* kUpdateWaitSwitch = L"UpdateWait_Test.UpdateWait_Test";
// The tray fills the query itself (the road taken under WOW64) also where it
// would ask the core library.
constexpr const wchar_t* kSelfFillQueryTestSwitch = L"SelfFillQuery_Test.SelfFillQuery_Test";
// Shell requests are written to a log beside the program instead of run.
constexpr const wchar_t* kShellOpenTestSwitch = L"ShellOpen_Test.ShellOpen_Test";
// The HTML view clicks a link named by its href on a registered message.
constexpr const wchar_t* kClickByHrefTestSwitch = L"HTMLayoutClick_Test.HTMLayoutClick_Test";
// The HTML view answers which style sheet it accepted last.
constexpr const wchar_t* kStyleSheetQueryTestSwitch = L"HTMLayoutStyleSheet_Test.HTMLayoutStyleSheet_Test";

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
// Every switch of the suite, in the order above; the count.
int GetTestSwitchNames(std::vector<std::wstring>& names);
// The switches of GetTestSwitchNames that are on in this process.
std::vector<std::wstring> GetTestSwitchesOn();
// The first line of an on switch's marker file, blanks trimmed; empty when
// the switch is off, the file cannot be read or is too large to be a marker.
std::wstring GetTestSwitchValue(const std::wstring& name);
