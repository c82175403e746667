#include "foundation/logging/exception_guard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "foundation/logging/log.h"
#include "tests/support/test_support.h"

namespace {

volatile int* g_nullTarget = nullptr;
volatile int g_zero = 0;

void WriteThroughNull(void*) { *g_nullTarget = 1; }
void DivideByZero(void* out) { *static_cast<int*>(out) = 10 / g_zero; }
void RaiseCode(void* code) { RaiseException(*static_cast<DWORD*>(code), 0, 0, nullptr); }
void Finish(void* out) { *static_cast<int*>(out) = 42; }

void NestedFault(void* innerResult) {
  DWORD code = 0;
  *static_cast<bool*>(innerResult) = RunGuarded(WriteThroughNull, nullptr, &code);
  WriteThroughNull(nullptr);  // caught by the outer guard
}

TEST(ExceptionGuardTest, CatchesFaultsAndReportsTheirCodes) {
  DWORD code = 1;
  int value = 0;
  EXPECT_TRUE(RunGuarded(Finish, &value, &code));
  EXPECT_EQ(42, value);
  EXPECT_EQ(0u, code);

  EXPECT_FALSE(RunGuarded(WriteThroughNull, nullptr, &code));
  EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), code);
  EXPECT_FALSE(RunGuarded(DivideByZero, &value, &code));
  EXPECT_EQ(static_cast<DWORD>(EXCEPTION_INT_DIVIDE_BY_ZERO), code);
  DWORD raised = 0xE0001234;
  EXPECT_FALSE(RunGuarded(RaiseCode, &raised, &code));
  EXPECT_EQ(raised, code);

  // The guard still works after a jump, and nested guards each catch their own.
  bool inner = true;
  EXPECT_FALSE(RunGuarded(NestedFault, &inner, &code));
  EXPECT_FALSE(inner);
  EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), code);
}

TEST(ExceptionGuardTest, GuardsAreKeptPerThread) {
  bool otherCaught = false;
  std::thread other([&] {
    DWORD code = 0;
    otherCaught = !RunGuarded(WriteThroughNull, nullptr, &code) && code == EXCEPTION_ACCESS_VIOLATION;
  });
  other.join();
  EXPECT_TRUE(otherCaught);
  int value = 0;
  EXPECT_TRUE(RunGuarded(Finish, &value, nullptr));
}

TEST(ExceptionGuardTest, NamesAndReportText) {
  struct Case {
    DWORD code;
    const wchar_t* name;
  } cases[] = {
      {EXCEPTION_ACCESS_VIOLATION, L"EXCEPTION_ACCESS_VIOLATION"},
      {EXCEPTION_BREAKPOINT, L"EXCEPTION_BREAKPOINT"},
      {EXCEPTION_FLT_STACK_CHECK, L"EXCEPTION_FLT_STACK_CHECK"},
      {EXCEPTION_INT_OVERFLOW, L"EXCEPTION_INT_OVERFLOW"},
      {EXCEPTION_NONCONTINUABLE_EXCEPTION, L"EXCEPTION_NONCONTINUABLE_EXCEPTION"},
      {EXCEPTION_STACK_OVERFLOW, L"Not found"},
      {0, L"Not found"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.name, GetExceptionCodeName(c.code)) << c.code;
  EXPECT_EQ(L"Crash: on X GetExceptionCode=3221225477 status=[EXCEPTION_ACCESS_VIOLATION]",
            FormatGuardedException(L"Crash: on X", EXCEPTION_ACCESS_VIOLATION));
}

TEST(ExceptionGuardTest, ReportedRunLogsTheError) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(InitLog(dir.File(L"log.txt").c_str()));
  SetGuardReportBoxes(false);
  bool reached = false;
  auto body = [&] {
    reached = true;
    WriteThroughNull(nullptr);
  };
  EXPECT_FALSE(RunGuardedReported(L"ERROR: Exception in Test::Body", body));
  EXPECT_TRUE(reached);
  WaitLogWritten(5000);
  TermLog();
  std::wstring log = qlrtest::ReadUtf16File(dir.File(L"log.txt"));
  if (log.empty()) log = qlrtest::FromUtf8(qlrtest::ReadBytes(dir.File(L"log.txt")));
  EXPECT_NE(std::wstring::npos, log.find(L"Exception in Test::Body GetExceptionCode=3221225477"));
}

}  // namespace
