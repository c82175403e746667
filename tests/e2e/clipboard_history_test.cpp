// The clipboard history of the real Quillora.exe: what another program
// copies becomes files beside the program, comes back once after a restart,
// and a session lock pauses the recording without losing or doubling items.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr wchar_t kHello[] = L"Hello history";
constexpr UINT kGetClipboardHandler = 32783;
constexpr UINT kStartClipboardHistory = 32778;

using qlre2e::CopyFromPeer;
using qlre2e::EmptyTheClipboard;

size_t CountOf(const std::wstring& text, const std::wstring& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class ClipboardHistoryE2eTest : public qlre2e::TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    SetSetting(L"ClipboardHistory", L"1");
    SetSetting(L"SaveClipboardHistory_v198", L"1");
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
  }
  // Without the core library beside it the services stay down, and the
  // history starts all the same.
  HWND StartWithHistory() {
    HWND window = Start(L"");
    if (window && !WaitForLog(L"ReInstall entity")) return nullptr;
    return window;
  }
  std::wstring History(const std::wstring& name) const { return dir.File(L"ClipboardHistory\\" + name); }
  std::wstring Descriptor(int n) const { return History(L"quillora_cb" + std::to_wstring(n) + L".info"); }
  bool Exists(const std::wstring& path) const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::wstring Key(const std::wstring& descriptor, const wchar_t* key) const {
    wchar_t value[260] = {};
    GetPrivateProfileStringW(L"Files", key, L"", value, 260, descriptor.c_str());
    return value;
  }
  std::vector<std::wstring> Descriptors() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(History(L"*.info").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName); while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }
  // The texts of all stored items, by their descriptors' first files.
  std::vector<std::wstring> StoredTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& name : Descriptors()) {
      std::string bytes = qlrtest::ReadBytes(History(Key(History(name), L"File0")));
      if (bytes.size() < 4) continue;
      texts.push_back(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 4) / 2));
    }
    return texts;
  }
};

TEST_F(ClipboardHistoryE2eTest, AnotherProgramsCopyBecomesFilesThatComeBackOnceAfterARestart) {
  ASSERT_TRUE(EmptyTheClipboard());
  ASSERT_NE(StartWithHistory(), nullptr) << qlrtest::ToUtf8(LogText());
  ASSERT_EQ(CopyFromPeer(kHello), 0);
  const std::wstring first = Descriptor(1);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return Exists(first) && !Key(first, L"File0").empty(); }, kWaitMs))
      << qlrtest::ToUtf8(LogText());
  EXPECT_EQ(Key(first, L"DataType"), L"1");
  EXPECT_EQ(Key(first, L"File0"), L"Unicode_clipboard_history1.txt");
  std::string expected("\xFF\xFE", 2);
  expected.append(reinterpret_cast<const char*>(kHello), wcslen(kHello) * 2);
  expected.append(2, '\0');
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return qlrtest::ReadBytes(History(L"Unicode_clipboard_history1.txt")) == expected; }, 5000));
  EXPECT_NE(LogText().find(L"Event OnClipboardHistoryChanged, Count=1"), std::wstring::npos);

  // A restart with the text still on the clipboard: loaded and captured
  // again, it stands once.
  Exit();
  ASSERT_NE(StartWithHistory(), nullptr);
  ASSERT_EQ(CopyFromPeer(L"after the restart"), 0);
  EXPECT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=2")) << qlrtest::ToUtf8(LogText());
  Exit();
  std::vector<std::wstring> texts = StoredTexts();
  EXPECT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(kHello)), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(L"after the restart")), 1);

  // A third start with another clipboard: both come back, once each.
  ASSERT_EQ(CopyFromPeer(L"while the program was away"), 0);
  ASSERT_NE(StartWithHistory(), nullptr);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged"));
  Exit();
  texts = StoredTexts();
  EXPECT_EQ(texts.size(), 3u);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(kHello)), 1);
}

TEST_F(ClipboardHistoryE2eTest, TheWatcherMethodFollowsTheSetting) {
  struct Case {
    const wchar_t* method;
    const wchar_t* line;
  } cases[] = {
      {L"0", L"Well, start ReInstall entity for HWNDClipboardSpy"},
      {L"-1", L"N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"},
  };
  for (const Case& c : cases) {
    SetSetting(L"ClipboardSpyMethod_v2_22", c.method);
    DeleteFileW(dir.File(L"LogReport.txt").c_str());
    ASSERT_NE(StartWithHistory(), nullptr) << qlrtest::ToUtf8(c.method);
    EXPECT_TRUE(WaitForLog(c.line)) << qlrtest::ToUtf8(LogText());
    // Either way a copy of another program is recorded.
    std::wstring text = std::wstring(L"method ") + c.method;
    ASSERT_EQ(CopyFromPeer(text), 0);
    EXPECT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, new Sequnce Number")) << qlrtest::ToUtf8(c.method);
    Exit();
  }
}

TEST_F(ClipboardHistoryE2eTest, ALockPausesTheHistoryAndOnlyItsUnlockResumesIt) {
  ASSERT_TRUE(EmptyTheClipboard());
  HWND window = StartWithHistory();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(CopyFromPeer(L"before the lock"), 0);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=1"));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return Exists(Descriptor(1)); }, kWaitMs));

  // Notices from other processes name addresses that are not the tray's:
  // the system may refuse them, else they are ignored; the program goes on.
  NMHDR foreign = {window, 1333, 2816};
  for (LPARAM address : {static_cast<LPARAM>(0x1234), reinterpret_cast<LPARAM>(&foreign)}) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, WM_NOTIFY, 1333, address, SMTO_ABORTIFHUNG, kWaitMs, &answer)) {
      EXPECT_EQ(answer, 0u);
    }
    PostMessageW(window, WM_NOTIFY, 1333, address);
  }
  // The handler object is named only while its window runs.
  EXPECT_NE(SendMessageW(window, kGetClipboardHandler, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1), 1);
  EXPECT_TRUE(WaitForLog(L"OnWmWTSSessionChange: Clipboard Spy is uninstalled=1"));
  EXPECT_EQ(SendMessageW(window, kGetClipboardHandler, 0, 0), 0);
  // Paused: a copy now is not recorded.
  ASSERT_EQ(CopyFromPeer(L"while locked"), 0);
  EXPECT_EQ(SendMessageW(window, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1), 1);
  EXPECT_TRUE(WaitForLog(L"OnWmWTSSessionChange: Clipboard Spy is installed=1"));
  // An unlock without a lock starts nothing more.
  EXPECT_EQ(SendMessageW(window, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1), 1);
  std::wstring log = LogText();
  EXPECT_EQ(CountOf(log, L"Clipboard Spy is installed="), 1u);
  EXPECT_EQ(CountOf(log, L"Clipboard Spy is uninstalled="), 1u);

  ASSERT_EQ(CopyFromPeer(L"after the unlock"), 0);
  EXPECT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=3")) << qlrtest::ToUtf8(LogText());
  Exit();
  // The resumed history neither lost nor doubled what it had.
  std::vector<std::wstring> texts = StoredTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(L"before the lock")), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(L"after the unlock")), 1);
  EXPECT_EQ(texts.size(), 3u) << "the clipboard at the resume is recorded once";
}

TEST_F(ClipboardHistoryE2eTest, AHistoryThatCannotStartIsTriedAgainByTheDelayedThread) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  CopyLibrary();
  // No such watcher method: every start of the history fails.
  SetSetting(L"ClipboardSpyMethod_v2_22", L"7");
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitForLog(L"Start Delayed ClipboardHistory")) << qlrtest::ToUtf8(LogText());
  EXPECT_TRUE(WaitForLog(L"Try to delyaed install clipboard spy: success 0, try#1"));
  EXPECT_EQ(SendMessageW(window, kGetClipboardHandler, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window, kStartClipboardHistory, 0, 0), 0);
  // The program keeps trying and still ends at once when asked.
  EXPECT_TRUE(WaitForLog(L"try#2"));
  Exit();
}

TEST_F(ClipboardHistoryE2eTest, HistorySwitchedOffStartsNothing) {
  SetSetting(L"ClipboardHistory", L"0");
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageW(window, kGetClipboardHandler, 0, 0), 0);
  // The delayed thread's message is answered as done when the history is off.
  EXPECT_EQ(SendMessageW(window, kStartClipboardHistory, 0, 0), 1);
  EXPECT_EQ(SendMessageW(window, kGetClipboardHandler, 0, 0), 0);
  ASSERT_EQ(CopyFromPeer(L"not recorded"), 0);
  Exit();
  EXPECT_EQ(LogText().find(L"Event OnClipboardHistoryChanged"), std::wstring::npos);
  EXPECT_FALSE(Exists(Descriptor(1)));
}

}  // namespace
