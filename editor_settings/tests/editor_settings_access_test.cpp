// The editor's one settings object: when it loads again, and on which thread.
#include "editor_settings/editor_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

class EditorSettingsAccessTest : public SettingsFoldersTest {
 protected:
  void SetPreview(int value) {
    ASSERT_TRUE(WritePrivateProfileStringW(L"Settings_Editor", L"Preview",
                                           std::to_wstring(value).c_str(), ProgramIni().c_str()));
  }
};

TEST_F(EditorSettingsAccessTest, OneAnnouncementGivesOneLoadOnTheMainThread) {
  SetPreview(11);
  CQLREditorSettings& settings = GetEditorSettings();  // first call: this thread owns it
  MarkEditorSettingsChanged();
  GetEditorSettings();
  const int loads = settings.GetLoadCount();
  EXPECT_EQ(settings.Preview, 11);

  // With nothing announced the file is not read again.
  SetPreview(12);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(&GetEditorSettings(), &settings);
  EXPECT_EQ(settings.GetLoadCount(), loads);
  EXPECT_EQ(settings.Preview, 11);

  // Several announcements before the next call, then several calls: one load.
  MarkEditorSettingsChanged();
  MarkEditorSettingsChanged();
  settings.Preview = 99;  // not saved: the load overwrites it
  GetEditorSettings();
  GetEditorSettings();
  EXPECT_EQ(settings.GetLoadCount(), loads + 1);
  EXPECT_EQ(settings.Preview, 12);

  // Announced while a command runs: loaded once the last hold is gone.
  SetPreview(13);
  MarkEditorSettingsChanged();
  {
    EditorSettingsReloadHold outer;
    {
      EditorSettingsReloadHold inner;
      settings.Preview = 98;  // the command's own change
      GetEditorSettings();
    }
    GetEditorSettings();
    EXPECT_TRUE(IsEditorSettingsReloadHeld());
    EXPECT_EQ(settings.Preview, 98);
    EXPECT_EQ(settings.GetLoadCount(), loads + 1);
  }
  EXPECT_FALSE(IsEditorSettingsReloadHeld());
  GetEditorSettings();
  EXPECT_EQ(settings.GetLoadCount(), loads + 2);
  EXPECT_EQ(settings.Preview, 13);
}

TEST_F(EditorSettingsAccessTest, AWorkerThreadNeverLoads) {
  CQLREditorSettings& settings = GetEditorSettings();
  MarkEditorSettingsChanged();
  GetEditorSettings();
  const int loads = settings.GetLoadCount();
  SetPreview(21);
  MarkEditorSettingsChanged();

  int seenPreview = -1;
  int seenLoads = -1;
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) {
      CQLREditorSettings& s = GetEditorSettings();
      seenPreview = s.Preview;
      seenLoads = s.GetLoadCount();
    }
  });
  worker.join();
  EXPECT_EQ(seenLoads, loads);
  EXPECT_NE(seenPreview, 21);
  EXPECT_NE(settings.Preview, 21);

  // The announcement waited for the main thread.
  GetEditorSettings();
  EXPECT_EQ(settings.GetLoadCount(), loads + 1);
  EXPECT_EQ(settings.Preview, 21);
}

TEST_F(EditorSettingsAccessTest, AnnouncementsFromManyThreadsNeverLoadOffTheMainThread) {
  CQLREditorSettings& settings = GetEditorSettings();
  GetEditorSettings();
  const int loads = settings.GetLoadCount();
  std::thread threads[4];
  for (auto& t : threads)
    t = std::thread([] {
      for (int i = 0; i < 200; ++i) {
        MarkEditorSettingsChanged();
        GetEditorSettings();
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(settings.GetLoadCount(), loads);
  GetEditorSettings();
  GetEditorSettings();
  EXPECT_EQ(settings.GetLoadCount(), loads + 1);
}

}  // namespace
