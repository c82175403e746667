#include "tray/icon/event_sounds.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "settings/settings.h"
#include "tests/support/test_support.h"

namespace {

std::mutex g_mutex;
std::vector<std::wstring> g_played;
bool g_playResult = true;
HANDLE g_holdPlayer = nullptr;  // while set, the player waits for it
HANDLE g_playerEntered = nullptr;

bool RecordingPlayer(const wchar_t* path) {
  if (g_playerEntered) SetEvent(g_playerEntered);
  if (g_holdPlayer) WaitForSingleObject(g_holdPlayer, 10000);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_played.push_back(path);
  return g_playResult;
}

size_t PlayedCount() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_played.size();
}

class EventSoundsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new qlrtest::TempDir();
    s_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetEventSoundFolder(s_dir->Path());
    for (int i = 0; i < kEventSoundCount; ++i)
      qlrtest::WriteBytes(s_dir->File(GetEventSoundFileName(i)), "RIFF");
    SetEventSoundPlayer(RecordingPlayer);
    InitLog(s_dir->File(L"log.txt").c_str());
    ASSERT_TRUE(StartSoundThread(s_stop));
  }
  static void TearDownTestSuite() {
    SetEvent(s_stop);
    TermLog();
    SetEventSoundPlayer(nullptr);
    delete s_dir;
  }
  void SetUp() override {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_played.clear();
    g_playResult = true;
    GetSettings().soundOnEvents = 1;
  }
  static std::wstring LogText() {
    WaitLogWritten(5000);
    return qlrtest::ReadUtf16File(s_dir->File(L"log.txt"));
  }

  static qlrtest::TempDir* s_dir;
  static HANDLE s_stop;
};
qlrtest::TempDir* EventSoundsTest::s_dir = nullptr;
HANDLE EventSoundsTest::s_stop = nullptr;

TEST_F(EventSoundsTest, EachRequestPlaysItsFileFromTheFolder) {
  const struct {
    bool (*request)();
    const wchar_t* file;
  } cases[] = {
      {PlayKbdSound, L"kbd.wav"},     {PlayLaunchSound, L"launch.wav"},
      {PlayPaperSound, L"paper.wav"}, {PlayMenuSound, L"menu.wav"},
      {PlayAlreadyWorkSound, L"already_work.wav"},
  };
  for (const auto& c : cases) {
    size_t before = PlayedCount();
    EXPECT_TRUE(c.request());
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return PlayedCount() > before; })) << c.file;
    std::lock_guard<std::mutex> lock(g_mutex);
    EXPECT_EQ(g_played.back(), s_dir->File(c.file));
  }
  EXPECT_EQ(GetEventSoundFileName(kSoundStart), L"start.wav");
  EXPECT_EQ(GetEventSoundFileName(kSoundStartAsAdmin), L"start_as_admin.wav");
  EXPECT_EQ(GetEventSoundFileName(7), L"");
}

TEST_F(EventSoundsTest, NothingPlaysWhileSoundsAreOff) {
  GetSettings().soundOnEvents = 0;
  PlayMenuSound();
  EXPECT_FALSE(PlayNotificationIfSoundOn());
  EXPECT_FALSE(BeepIfSoundOn());
  EXPECT_FALSE(qlrtest::WaitUntil([] { return PlayedCount() > 0; }, 300));
  // Switched on again, the next request plays and the one before did not.
  GetSettings().soundOnEvents = 1;
  PlayKbdSound();
  ASSERT_TRUE(qlrtest::WaitUntil([] { return PlayedCount() >= 1; }));
  std::lock_guard<std::mutex> lock(g_mutex);
  ASSERT_EQ(g_played.size(), 1u);
  EXPECT_EQ(g_played[0], s_dir->File(L"kbd.wav"));
}

TEST_F(EventSoundsTest, RequestsDuringAPlayKeepOnlyTheLatestAndAreNotLost) {
  UniqueHandle hold(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  g_holdPlayer = hold.Get();
  g_playerEntered = entered.Get();
  PlayKbdSound();
  ASSERT_EQ(WaitForSingleObject(entered.Get(), 5000), WAIT_OBJECT_0);
  PlayPaperSound();
  PlayMenuSound();
  g_playerEntered = nullptr;
  SetEvent(hold.Get());
  ASSERT_TRUE(qlrtest::WaitUntil([] { return PlayedCount() >= 2; }));
  g_holdPlayer = nullptr;
  std::lock_guard<std::mutex> lock(g_mutex);
  ASSERT_EQ(g_played.size(), 2u);
  EXPECT_EQ(g_played[0], s_dir->File(L"kbd.wav"));
  EXPECT_EQ(g_played[1], s_dir->File(L"menu.wav"));
}

// Requests that come faster than the thread wakes: none is taken for an
// invalid one, and the last of them is played.
TEST_F(EventSoundsTest, QuickRequestsLogNoInvalidTypeAndEndWithTheLast) {
  auto invalidLines = [] {
    std::wstring log = LogText();
    size_t n = 0;
    for (size_t at = log.find(L"Invalid sound type"); at != std::wstring::npos;
         at = log.find(L"Invalid sound type", at + 1))
      ++n;
    return n;
  };
  const size_t before = invalidLines();
  bool (*const requests[])() = {PlayKbdSound, PlayPaperSound, PlayMenuSound};
  for (int i = 0; i < 3000; ++i) {
    requests[i % 3]();
    if (i % 7 == 0) SwitchToThread();
  }
  PlayLaunchSound();
  ASSERT_TRUE(qlrtest::WaitUntil([] {
    std::lock_guard<std::mutex> lock(g_mutex);
    return !g_played.empty() && g_played.back().find(L"launch.wav") != std::wstring::npos;
  }, 10000));
  EXPECT_EQ(invalidLines(), before);
}

TEST_F(EventSoundsTest, LogsMissingFilesAndInvalidRequests) {
  g_playResult = false;  // as on a machine without a sound device
  ASSERT_TRUE(DeleteFileW(s_dir->File(L"paper.wav").c_str()));
  PlayLaunchSound();  // exists: a failed play is not a missing file
  ASSERT_TRUE(qlrtest::WaitUntil([] { return PlayedCount() >= 1; }));
  PlayPaperSound();  // missing: logged and not played
  std::wstring missing = L"ERROR: Sound file not found: " + s_dir->File(L"paper.wav");
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return LogText().find(missing) != std::wstring::npos; }));
  RequestSound(9);
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return LogText().find(L"ERROR: Invalid sound type") != std::wstring::npos; }));
  EXPECT_EQ(LogText().find(L"Sound file not found: " + s_dir->File(L"launch.wav")), std::wstring::npos);
  EXPECT_EQ(PlayedCount(), 1u) << "a missing file and an invalid index play nothing";
  qlrtest::WriteBytes(s_dir->File(L"paper.wav"), "RIFF");
}

}  // namespace
