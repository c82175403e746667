#include "foundation/system/test_switches.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/files/paths.h"
#include "tests/support/test_support.h"

namespace {

// Marker files live beside the program; each case uses its own name so the
// process-wide memory of earlier lookups does not interfere.
struct Marker {
  std::wstring path;
  explicit Marker(const std::wstring& name) : path(GetAppFolderWithSlash() + name) {}
  void Create() { ASSERT_TRUE(qlrtest::WriteBytes(path, "on")); }
  ~Marker() {
    DeleteFileW(path.c_str());
    RemoveDirectoryW(path.c_str());
  }
};

TEST(TestSwitchesTest, MarkerFileTurnsSwitchOnAndStateIsKeptForTheProcess) {
  Marker on(L"qlr_switch_on.test");
  on.Create();
  EXPECT_TRUE(IsTestSwitchOn(L"qlr_switch_on.test"));
  DeleteFileW(on.path.c_str());
  EXPECT_TRUE(IsTestSwitchOn(L"qlr_switch_on.test"));  // looked up once

  Marker off(L"qlr_switch_off.test");
  EXPECT_FALSE(IsTestSwitchOn(L"qlr_switch_off.test"));
  off.Create();
  EXPECT_FALSE(IsTestSwitchOn(L"qlr_switch_off.test"));  // created too late
}

TEST(TestSwitchesTest, FolderNamedLikeSwitchDoesNotCount) {
  Marker folder(L"qlr_switch_folder.test");
  ASSERT_TRUE(CreateDirectoryW(folder.path.c_str(), nullptr));
  EXPECT_FALSE(IsTestSwitchOn(L"qlr_switch_folder.test"));
}

TEST(TestSwitchesTest, FullPathsAreUsedAsTheyAre) {
  qlrtest::TempDir dir;
  std::wstring path = dir.File(L"marker");
  ASSERT_TRUE(qlrtest::WriteBytes(path, ""));
  EXPECT_TRUE(IsTestSwitchOn(path));
  EXPECT_EQ(CTestSwitches::SwitchPath(path), path);
  EXPECT_EQ(CTestSwitches::SwitchPath(L"x.y"), GetAppFolderWithSlash() + L"x.y");
}

TEST(TestSwitchesTest, StatesAndKnownNames) {
  CTestSwitches switches;
  EXPECT_FALSE(switches.IsKnown(L"a"));
  EXPECT_EQ(switches.Add(L"a"), 1);
  EXPECT_TRUE(switches.IsKnown(L"a"));
  EXPECT_FALSE(switches.GetState(L"a"));
  std::vector<std::wstring> names{L"stale"};
  EXPECT_EQ(GetTestSwitchNames(names), 1);
  EXPECT_EQ(names, std::vector<std::wstring>{L"UpdateVersion_Test.UpdateVersion_Test"});
  EXPECT_FALSE(IsUpdateVersionTest());
}

}  // namespace
