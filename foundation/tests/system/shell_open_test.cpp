#include "foundation/system/shell_open.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/files/paths.h"
#include "foundation/system/shell_helpers.h"
#include "tests/support/test_support.h"

namespace {

struct Recorded {
  std::wstring verb, file, parameters;
};
Recorded g_last;
int g_calls = 0;

INT_PTR RecordingHook(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                      const wchar_t*, int) {
  ++g_calls;
  g_last = {verb ? verb : L"", file ? file : L"", parameters ? parameters : L""};
  return 32;  // the shell's "file not found" range ends at 32
}

TEST(ShellOpenTest, RequestLinesKeepOneRequestPerLine) {
  EXPECT_EQ(FormatShellOpenRequest(L"open", L"http://a.example/?q=x", nullptr),
            L"open\thttp://a.example/?q=x\t");
  EXPECT_EQ(FormatShellOpenRequest(nullptr, L"a\tb\r\nc", L"/x"), L"\ta b  c\t/x");
}

TEST(ShellOpenTest, HookSeesEveryRequestAndThirtyTwoIsAFailure) {
  SetShellOpenHookForTests(RecordingHook);
  g_calls = 0;
  std::wstring error;
  EXPECT_FALSE(ShellExecuteWithError(nullptr, L"open", L"C:\\x.txt", L"-p", nullptr, SW_SHOW,
                                     &error));
  EXPECT_EQ(g_calls, 1);
  EXPECT_EQ(g_last.verb, L"open");
  EXPECT_EQ(g_last.file, L"C:\\x.txt");
  EXPECT_EQ(g_last.parameters, L"-p");
  SetShellOpenHookForTests(nullptr);
}

// The marker file is looked up once per process, so this is the only case
// that uses it; it runs the request log end to end through the real function.
TEST(ShellOpenTest, MarkerFileWritesRequestsInsteadOfRunningThem) {
  const std::wstring marker = GetAppFolderWithSlash() + kShellOpenTestSwitch;
  const std::wstring log = GetAppFolderWithSlash() + kShellOpenTestLog;
  DeleteFileW(log.c_str());
  ASSERT_TRUE(qlrtest::WriteBytes(marker, ""));
  std::wstring error;
  EXPECT_TRUE(ShellExecuteWithError(nullptr, L"open", L"http://search1.example/?q=a%26b", nullptr,
                                    nullptr, SW_SHOW, &error));
  EXPECT_EQ(ShellOpen(nullptr, L"print", L"C:\\no such\\\x00e9.txt", L"/a", nullptr, SW_SHOW),
            kShellOpenRecordedResult);
  EXPECT_EQ(qlrtest::ReadBytes(log),
            "open\thttp://search1.example/?q=a%26b\t\r\n"
            "print\tC:\\no such\\\xc3\xa9.txt\t/a\r\n");
  DeleteFileW(marker.c_str());
  DeleteFileW(log.c_str());
}

}  // namespace
