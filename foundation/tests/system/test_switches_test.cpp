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
  // Every switch of the suite is named, each once, the update-version one first.
  std::vector<std::wstring> names{L"stale"};
  EXPECT_EQ(GetTestSwitchNames(names), 8);
  ASSERT_EQ(names.size(), 8u);
  EXPECT_EQ(names[0], L"UpdateVersion_Test.UpdateVersion_Test");
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i].find(L'\\'), std::wstring::npos);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(names[i], names[j]);
  }
  // The switches on are those of the list that are on (other test programs
  // of this folder may hold markers of their own meanwhile).
  std::vector<std::wstring> on;
  for (const std::wstring& name : names)
    if (IsTestSwitchOn(name)) on.push_back(name);
  EXPECT_EQ(GetTestSwitchesOn(), on);
}

TEST(TestSwitchesTest, ValuesAreReadOnlyFromSmallMarkersOfOnSwitches) {
  qlrtest::TempDir dir;
  struct Case {
    const char* bytes;  // null: no file
    size_t repeat;      // the bytes written this many times
    const wchar_t* value;
  } cases[] = {
      {"  http://127.0.0.1:1/ \r\nsecond line", 1, L"http://127.0.0.1:1/"},
      {"200\n", 1, L"200"},
      {" \t ", 1, L""},
      {"", 1, L""},
      {nullptr, 0, L""},
      {"x", 300, L"xxxxxxxxxx"},  // at the bound: read (checked by its start)
      {"x", 301, L""},             // past it: not a marker
      {"y", 1 << 20, L""},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::wstring path = dir.File(L"marker" + std::to_wstring(n++));
    if (c.bytes) {
      std::string bytes;
      for (size_t i = 0; i < c.repeat; ++i) bytes += c.bytes;
      ASSERT_TRUE(qlrtest::WriteBytes(path, bytes));
    }
    const std::wstring value = GetTestSwitchValue(path);
    if (c.repeat == 300) EXPECT_EQ(value.substr(0, 10), c.value);
    else EXPECT_EQ(value, c.value) << n;
  }
  // A switch looked up as off keeps no value, even once its file appears.
  const std::wstring late = dir.File(L"late");
  EXPECT_EQ(GetTestSwitchValue(late), L"");
  ASSERT_TRUE(qlrtest::WriteBytes(late, "1"));
  EXPECT_EQ(GetTestSwitchValue(late), L"");
}

}  // namespace
