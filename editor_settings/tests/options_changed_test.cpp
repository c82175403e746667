// The tray program announces changed options; the editor, another process,
// loads its settings once per announcement on its main thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "editor_settings/editor_settings_names.h"
#include "foundation/system/handles.h"
#include "online/update_events.h"
#include "tests/support/test_support.h"

namespace {

struct Report {
  int wakes = -1, loads = -1, show = -1, preview = -1, folders = -1;
  std::wstring last;
};

bool ReadReport(const std::wstring& path, Report& report) {
  std::wstring text = qlrtest::ReadUtf16File(path);
  wchar_t last[300] = {};
  Report r;
  if (swscanf(text.c_str(), L"wakes=%d loads=%d show=%d preview=%d folders=%d last=%299ls", &r.wakes,
              &r.loads, &r.show, &r.preview, &r.folders, last) < 5)
    return false;
  r.last = last;
  report = r;
  return true;
}

TEST(OptionsChangedTest, OnePulseGivesTheEditorOneLoadWithTheNewValues) {
  qlrtest::TempDir program, profile, work;
  const std::wstring ini = program.File(L"Settings.ini");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      ini, L"[Settings_Editor]\r\nShowUncheckedPhrases=1\r\nPreview=0\r\nLastFile=before\r\n"));

  // Without the tray program's event the editor hears nothing.
  const std::wstring report = work.File(L"report.txt");
  const std::wstring stopName = L"Local\\QuilloraTest_EditorProbeStop_" + std::to_wstring(GetCurrentProcessId());
  const std::wstring args = L"\"" + program.Path() + L"\" \"" + profile.Path() + L"\" \"" + report +
                            L"\" " + stopName;
  const std::wstring probe = qlrtest::BinFile(L"helper_editor_settings_probe.exe");
  EXPECT_EQ(qlrtest::RunProcess(probe, args, 60000), 4);

  // The tray program's side: its own event, as it creates it.
  HANDLE options = GetOptionsChangedEvent();
  ASSERT_NE(options, nullptr);
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, stopName.c_str()));
  ASSERT_TRUE(stop);
  qlrtest::ChildProcess editor;
  ASSERT_TRUE(editor.Start(probe, args));
  Report r;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return ReadReport(report, r); }, 60000));
  EXPECT_EQ(r.loads, 1);
  EXPECT_EQ(r.last, L"before");

  ASSERT_TRUE(WritePrivateProfileStringW(L"Settings_Editor", L"Preview", L"1", ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Settings_Editor", L"ShowUncheckedPhrases", L"0", ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Settings_Editor", L"LastFile", L"after", ini.c_str()));
  // A pulse finds no waiter while the watcher thread is still starting, and
  // then leaves nothing behind: pulse again until the editor heard one.
  bool heard = false;
  for (int attempt = 0; attempt < 20 && !heard; ++attempt) {
    SetEvent(options);
    ResetEvent(options);
    heard = qlrtest::WaitUntil([&] { return ReadReport(report, r) && r.wakes >= 1; }, 3000);
  }
  ASSERT_TRUE(heard);
  EXPECT_EQ(r.show, 0);
  EXPECT_EQ(r.preview, 1);
  EXPECT_EQ(r.last, L"after");
  // Every pulse heard is one load, although the handler asked twice.
  EXPECT_EQ(r.loads, 1 + r.wakes);

  SetEvent(stop.Get());
  EXPECT_EQ(editor.Wait(30000), 0);
  ReleaseOptionsChangedEvent();
}

}  // namespace
