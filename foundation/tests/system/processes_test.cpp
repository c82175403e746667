#include "foundation/system/processes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/system/shell_helpers.h"

namespace {

std::wstring OwnPath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

TEST(ProcessesTest, PickModulePathNeedsTheNameAfterTheStartAndABackslash) {
  struct Case {
    const wchar_t* name;
    std::vector<std::wstring> modules;
    const wchar_t* expected;
  } cases[] = {
      {L"quillora.exe", {L"C:\\Prog\\Quillora.exe", L"C:\\x\\ntdll.dll"}, L"C:\\Prog\\Quillora.exe"},
      {L"Quillora.exe", {L"Quillora.exe\\odd.dll", L"D:\\q\\QUILLORA.EXE"}, L"D:\\q\\QUILLORA.EXE"},
      {L"a.exe", {L"xa.exe"}, L""},  // found, but no backslash
      {L"a.exe", {L"C:\\b.exe"}, L""},
      {L"", {L"C:\\b.exe"}, L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, PickModulePath(c.name, c.modules)) << c.name;
}

TEST(ProcessesTest, OwnProcessIsFoundByIdAndInTheRunningList) {
  std::wstring own = OwnPath();
  DWORD pid = ::GetCurrentProcessId();
  EXPECT_EQ(0, _wcsicmp(own.c_str(), GetProcessImagePath(pid).c_str()));
  EXPECT_EQ(0, _wcsicmp(own.c_str(), GetProcessModulePath(FileName(own), pid).c_str()));
  EXPECT_EQ(L"", GetProcessModulePath(L"", pid));

  std::vector<std::wstring> sorted;
  ASSERT_TRUE(GetRunningProcessPaths(&sorted, true));
  auto same = [&](const std::wstring& p) { return _wcsicmp(p.c_str(), own.c_str()) == 0; };
  EXPECT_EQ(1, std::count_if(sorted.begin(), sorted.end(), same));
  for (size_t i = 1; i < sorted.size(); ++i) {
    EXPECT_LT(_wcsicmp(sorted[i - 1].c_str(), sorted[i].c_str()), 0) << sorted[i];
  }
  std::vector<std::wstring> unsorted;
  ASSERT_TRUE(GetRunningProcessPaths(&unsorted, false));
  EXPECT_GE(unsorted.size(), sorted.size());
  EXPECT_EQ(L"", GetProcessImagePath(0xFFFFFFF0));
}

TEST(ShellHelpersTest, StringsPathsAndErrors) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool equal;
  } cases[] = {
      {L"abc", L"abc", true}, {L"abc", L"abd", false}, {L"abc", L"ab", false},
      {L"ab", L"abc", false}, {L"", L"", true},        {nullptr, nullptr, true},
      {nullptr, L"", true},   {L"x", nullptr, false},  {L"ABC", L"abc", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.equal, StrEqualW(c.a, c.b)) << (c.a ? c.a : L"(null)") << " / "
                                            << (c.b ? c.b : L"(null)");
  }

  struct PathCase {
    std::wstring in, out;
  } paths[] = {{L"", L""}, {L"C:\\x", L"C:\\x\\"}, {L"C:\\x\\", L"C:\\x\\"}};
  for (PathCase p : paths) {
    AddTrailingBackslash(&p.in);
    EXPECT_EQ(p.out, p.in);
  }

  wchar_t expected[1024] = {};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, expected, 1024, nullptr);
  EXPECT_EQ(expected, FormatSystemMessage(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(FormatSystemMessage(ERROR_FILE_NOT_FOUND).empty());

  std::wstring error;
  EXPECT_FALSE(ShellExecuteWithError(nullptr, L"open", L"C:\\no\\such\\file.qlrx", nullptr,
                                     nullptr, SW_SHOW, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ShellExecuteWithError(nullptr, L"open", L"C:\\no\\such\\file.qlrx", nullptr,
                                     nullptr, SW_SHOW, nullptr));
}

}  // namespace
