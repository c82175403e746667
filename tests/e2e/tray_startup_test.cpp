// The tray program's start-up as other programs and the user meet it: the
// real Quillora.exe in a program folder of its own, with its log on.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "foundation/files/file_version.h"
#include "foundation/system/handles.h"
#include "tests/support/test_support.h"
#include "tray/tests/expected_usage_text.h"

namespace {

constexpr wchar_t kInstanceEvent[] = L"9DDB575E-846B-4600-880F-98319D699611";
constexpr wchar_t kAdminEvent[] = L"55517695-4FD6-40eb-9E52-997024E979DE";
constexpr wchar_t kExitEvent[] = L"Local\\Quillora_Exit";
constexpr wchar_t kAlreadyWorkEvent[] = L"Local\\Quillora_AlreadyWork";
constexpr wchar_t kEditEvent[] = L"BD9F528F-8997-48c7-897C-F437765F93D2";
constexpr wchar_t kShowMenuEvent[] = L"{84F81BCD-0FC6-4782-B39F-C638F539FA14}";
constexpr wchar_t kCheckForUpdatesEvent[] = L"Local\\Quillora_CheckForUpdates";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kWaitMs = 20000;

class TrayStartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), Exe()));
    SetSetting(L"WriteLog", L"1");
  }

  std::wstring Exe() const { return dir.File(L"Quillora.exe"); }
  std::wstring LogText() const { return qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")); }
  bool LogHas(const std::wstring& text) const { return LogText().find(text) != std::wstring::npos; }
  bool WaitForLog(const std::wstring& text) const {
    return qlrtest::WaitUntil([&] { return LogHas(text); }, kWaitMs);
  }
  void SetSetting(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"Settings", key, value, dir.File(L"Settings.ini").c_str());
  }
  int Run(const std::wstring& args) { return qlrtest::RunProcess(Exe(), args, kWaitMs); }

  // Starts the program as the running instance and waits for its window.
  HWND StartFirstInstance(qlrtest::ChildProcess& child, const std::wstring& args = L"") {
    if (!child.Start(Exe(), args)) return nullptr;
    HWND window = nullptr;
    qlrtest::WaitUntil(
        [&] { return (window = qlrtest::FindProcessWindow(child.Pid(), nullptr, L"Quillora")); },
        kWaitMs);
    return window;
  }

  // Ends a running instance as the user would, with a second start.
  void EndWithExitSwitch(qlrtest::ChildProcess& child) {
    EXPECT_EQ(Run(L"/exit"), 1);
    EXPECT_EQ(child.Wait(kWaitMs), 0);
  }

  static std::wstring Version() {
    CFileVersionInfo info(qlrtest::BinFile(L"Quillora.exe"));
    return info.Load() ? info.GetProductVersion() : L"?";
  }

  qlrtest::TempDir dir;
};

TEST_F(TrayStartupTest, ExitWithNoneRunningEndsWithOne) {
  EXPECT_EQ(Run(L"/exit"), 1);
  std::wstring log = LogText();
  EXPECT_NE(log.find(L"EXE_Agent: ["), std::wstring::npos);
  EXPECT_NE(log.find(L"Start Quillora " + Version() + L" with cmdline [/exit] on "),
            std::wstring::npos)
      << log.c_str();
  EXPECT_NE(log.find(L"Automode not found. Continue"), std::wstring::npos);
  EXPECT_EQ(log.find(L"===Start Quillora"), std::wstring::npos);
  EXPECT_EQ(log.find(L"===End Quillora==="), std::wstring::npos);
}

TEST_F(TrayStartupTest, UaDeletesTheAutostartValue) {
  UniqueHKey run;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            run.Put(), nullptr),
            ERROR_SUCCESS);
  const wchar_t data[] = L"C:\\Old\\Quillora.exe /autoload";
  ASSERT_EQ(RegSetValueExW(run.Get(), L"Quillora", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                           sizeof(data)),
            ERROR_SUCCESS);
  EXPECT_EQ(Run(L"-UA"), 1);  // "ua" also means exit: nothing to close
  EXPECT_EQ(RegQueryValueExW(run.Get(), L"Quillora", nullptr, nullptr, nullptr, nullptr),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(TrayStartupTest, SecondStartHandsOverAndExitEndsTheFirst) {
  qlrtest::ChildProcess first;
  HWND window = StartFirstInstance(first);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  ASSERT_TRUE(WaitForLog(L"===Start Quillora " + Version() + L" on "));
  EXPECT_TRUE(LogHas(L"TEMP PREFIX TEXT: ["));

  EXPECT_EQ(Run(L""), 1);
  // The running instance took the notice and is still there.
  UniqueHandle alreadyWork(OpenEventW(SYNCHRONIZE, FALSE, kAlreadyWorkEvent));
  ASSERT_TRUE(alreadyWork);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return WaitForSingleObject(alreadyWork.Get(), 0) == WAIT_TIMEOUT; }, kWaitMs));
  EXPECT_TRUE(first.IsRunning());
  EXPECT_TRUE(IsWindow(window));

  ULONGLONG start = GetTickCount64();
  EndWithExitSwitch(first);
  EXPECT_GE(GetTickCount64() - start, 450u);  // the exit notice shows first
  EXPECT_TRUE(WaitForLog(L"===End Quillora==="));
  // The instance event went with the first instance: a new start runs.
  UniqueHandle instance(OpenEventW(SYNCHRONIZE, FALSE, kInstanceEvent));
  EXPECT_FALSE(instance);
}

TEST_F(TrayStartupTest, LaterStartCutsTheAutomodeWaitShort) {
  SetSetting(L"DelayAutoLoadSeconds_NextRelease", L"120");
  qlrtest::ChildProcess waiting;
  ASSERT_TRUE(waiting.Start(Exe(), L"/autoload"));
  ASSERT_TRUE(WaitForLog(L"Starting waiting for automode..."));
  EXPECT_FALSE(LogHas(L"===Start Quillora"));

  // Even "?" is not looked at: the later start only ends the wait.
  EXPECT_EQ(Run(L"/?"), 12);
  EXPECT_TRUE(LogHas(L"Signal for automode. Exit"));
  ASSERT_TRUE(WaitForLog(L"INFO: automode disabled WAIT_OBJECT_0"));
  ASSERT_TRUE(WaitForLog(L"===Start Quillora"));
  EXPECT_TRUE(waiting.IsRunning());
  EndWithExitSwitch(waiting);
}

TEST_F(TrayStartupTest, AutoloadWithoutDelayDoesNotWait) {
  SetSetting(L"DelayAutoLoadSeconds_NextRelease", L"0");
  qlrtest::ChildProcess first;
  ASSERT_NE(StartFirstInstance(first, L"/autoload"), nullptr);
  EXPECT_TRUE(WaitForLog(L"===Start Quillora"));
  EXPECT_FALSE(LogHas(L"Starting waiting for automode..."));
  EXPECT_FALSE(LogHas(L"Automode not found"));
  EndWithExitSwitch(first);
}

TEST_F(TrayStartupTest, AsAdminWithoutHandOverEventLogsAndStarts) {
  qlrtest::ChildProcess admin;
  ASSERT_NE(StartFirstInstance(admin, L"/asadmin"), nullptr);
  // Log lines are written by threads of their own: the window may come first.
  EXPECT_TRUE(WaitForLog(L"ERROR: Cannot wait event from first instance\n\nError Code: 2\n")) << LogText().c_str();
  EXPECT_TRUE(WaitForLog(L"===Start Quillora"));
  EndWithExitSwitch(admin);
}

TEST_F(TrayStartupTest, AsAdminWaitsForTheHandOverEvent) {
  // This test plays the instance that restarted the program as
  // administrator and is about to end.
  UniqueHandle handOver(CreateEventW(nullptr, TRUE, FALSE, kAdminEvent));
  UniqueHandle exitRequest(CreateEventW(nullptr, TRUE, FALSE, kExitEvent));
  ASSERT_TRUE(handOver && exitRequest);
  qlrtest::ChildProcess admin;
  ASSERT_TRUE(admin.Start(Exe(), L"/asadmin"));
  // First it asks the running instance to end, then it waits.
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return WaitForSingleObject(exitRequest.Get(), 0) == WAIT_OBJECT_0; }, kWaitMs));
  EXPECT_TRUE(admin.IsRunning());
  EXPECT_FALSE(LogHas(L"===Start Quillora"));
  ResetEvent(exitRequest.Get());
  exitRequest.Reset();
  SetEvent(handOver.Get());

  ASSERT_TRUE(WaitForLog(L"===Start Quillora"));
  EXPECT_FALSE(LogHas(L"Cannot wait event from first instance"));
  handOver.Reset();
  EndWithExitSwitch(admin);
}

TEST_F(TrayStartupTest, UsageBoxShowsTheSwitchTable) {
  qlrtest::ChildProcess usage;
  ASSERT_TRUE(usage.Start(Exe(), L"/?"));
  HWND box = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return (box = qlrtest::FindProcessWindow(usage.Pid(), L"#32770")); }, kWaitMs));
  // The box exists a moment before its texts are set.
  wchar_t caption[64] = {};
  wchar_t text[2048] = {};
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] {
        return GetWindowTextW(box, caption, 64) > 0 && GetDlgItemTextW(box, 0xFFFF, text, 2048) > 0;
      },
      kWaitMs));
  EXPECT_STREQ(caption, L"Quillora");
  EXPECT_STREQ(text, kExpectedUsageText);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(usage.Wait(kWaitMs), 0);
  EXPECT_FALSE(LogHas(L"===Start Quillora"));
}

// This test plays the running instance: it holds the instance event and the
// hand-over events, and records which of them a second start signals.
struct HandOverResult {
  int exitCode = -1;
  std::set<std::wstring> signalled;
};

struct PulseWatch {
  HANDLE event;
  HANDLE done;
  bool fired;
};

DWORD WINAPI WatchPulse(void* p) {
  auto* watch = static_cast<PulseWatch*>(p);
  HANDLE handles[2] = {watch->event, watch->done};
  watch->fired = WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
  return 0;
}

HandOverResult RunAgainstRunningInstance(const std::wstring& exe, const std::wstring& args,
                                         bool watchEdit) {
  HandOverResult result;
  UniqueHandle instance(CreateEventW(nullptr, TRUE, FALSE, kInstanceEvent));
  std::set<std::wstring> names = {kExitEvent, kAlreadyWorkEvent, kShowMenuEvent};
  if (watchEdit) names.insert(kEditEvent);
  std::vector<std::pair<std::wstring, UniqueHandle>> events;
  for (const std::wstring& name : names)
    events.emplace_back(name, UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, name.c_str())));
  // The update request is set and at once reset: only a waiter sees it.
  UniqueHandle cfu(CreateEventW(nullptr, TRUE, FALSE, kCheckForUpdatesEvent));
  UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  PulseWatch watch = {cfu.Get(), done.Get(), false};
  UniqueHandle watcher(CreateThread(nullptr, 0, WatchPulse, &watch, 0, nullptr));

  result.exitCode = qlrtest::RunProcess(exe, args, kWaitMs);
  SetEvent(done.Get());
  WaitForSingleObject(watcher.Get(), kWaitMs);
  if (watch.fired) result.signalled.insert(kCheckForUpdatesEvent);
  for (auto& e : events)
    if (WaitForSingleObject(e.second.Get(), 0) == WAIT_OBJECT_0) result.signalled.insert(e.first);
  return result;
}

TEST_F(TrayStartupTest, SecondStartSignalsExactlyItsEvent) {
  struct Case {
    const wchar_t* args;
    bool editWatched;
    int exitCode;
    const wchar_t* event;
  } cases[] = {
      {L"/showmenu", true, 1, kShowMenuEvent},
      {L"/showmenu /exit", true, 1, kShowMenuEvent},
      {L"/exit", true, 1, kExitEvent},
      {L"/ua", true, 1, kExitEvent},
      {L"/cfu /exit", true, 1, kExitEvent},
      {L"/cfu", true, 1, kCheckForUpdatesEvent},
      {L"/edit", true, 0, kEditEvent},
      {L"/edit", false, 1, kAlreadyWorkEvent},  // nobody watches the edit request
      {L"", true, 1, kAlreadyWorkEvent},
      {L"/noinstall", true, 1, kAlreadyWorkEvent},
  };
  for (const Case& c : cases) {
    HandOverResult r = RunAgainstRunningInstance(Exe(), c.args, c.editWatched);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
    EXPECT_EQ(r.signalled, std::set<std::wstring>({c.event})) << c.args;
  }
}

}  // namespace
