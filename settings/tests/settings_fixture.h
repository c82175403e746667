// A program folder and a profile folder of its own for each settings test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/settings_files.h"
#include "tests/support/test_support.h"

class SettingsFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsFolders(program.Path(), profile.Path()); }
  // Wine runs the tests as root, for whom only the Unix mode bits (set
  // through qlrtest::SetUnixWritable) make a place unwritable.
  void TearDown() override {
    qlrtest::SetUnixWritable(program.Path(), true);
    SetSettingsFolders(L"", L"");
  }

  std::wstring ProgramIni() const { return program.File(L"Settings.ini"); }
  std::wstring UserFolder() const { return profile.File(L"Quillora"); }
  std::wstring UserIni() const { return UserFolder() + L"\\Settings.ini"; }

  qlrtest::TempDir program;
  qlrtest::TempDir profile;
};
