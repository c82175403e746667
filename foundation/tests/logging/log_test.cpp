#include "foundation/logging/log.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "foundation/logging/log_file.h"
#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

const std::wstring kStamp = L"\\[\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\] ";

// The log's lines: the file must start with FF FE and every line end in CR LF.
std::vector<std::wstring> LogLines(const std::wstring& path) {
  std::string bytes = qlrtest::ReadBytes(path);
  EXPECT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::wstring text = qlrtest::ReadUtf16File(path);
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      ADD_FAILURE() << "last line without CR LF";
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool Matches(const std::wstring& line, const std::wstring& pattern) {
  return std::regex_match(line, std::wregex(pattern));
}

// Opens a log in a fresh folder and closes it (waiting for its lines) at the end.
class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.File(L"LogReport.txt");
    SetLogProgramTag(kLogTagAgent);
  }
  void TearDown() override {
    TermLog();
    ResetLogAgentName();
    SetLogProgramTag(kLogTagAgent);
    WaitLogWritten(10000);
  }
  qlrtest::TempDir dir;
  std::wstring path;
};

TEST_F(LogTest, LinesCarryNameAndTimeAndEndInCrLf) {
  SetLogProgramTag(kLogTagWelcome);
  ASSERT_TRUE(InitLog(path.c_str()));
  EXPECT_TRUE(Log(L"hello"));
  EXPECT_TRUE(LogError(L"CreateEventW failed 5"));
  EXPECT_TRUE(LogWithPrefix(L"text", L"Prefix"));
  EXPECT_TRUE(Log(L"ends in a break\r\n"));
  EXPECT_TRUE(Log(std::wstring(20000, L'x')));  // longer than any fixed buffer
  SetLogAgentName(L"TEMP PREFIX TEXT");
  EXPECT_TRUE(Log(L"banner"));
  ResetLogAgentName();
  EXPECT_TRUE(WriteLogLine(L"no name", nullptr));
  EXPECT_FALSE(Log(L""));
  EXPECT_FALSE(Log(static_cast<const wchar_t*>(nullptr)));
  ASSERT_TRUE(TermLog());

  std::vector<std::wstring> lines = LogLines(path);
  std::vector<std::wstring> patterns = {
      L"WELCOME: " + kStamp + L"hello",
      L"WELCOME: " + kStamp + L"ERROR: CreateEventW failed 5",
      L"WELCOME: " + kStamp + L"Prefix: text",
      L"WELCOME: " + kStamp + L"ends in a break",
      L"WELCOME: " + kStamp + L"x+",
      L"TEMP PREFIX TEXT: " + kStamp + L"banner",
      kStamp + L"no name",
  };
  ASSERT_EQ(lines.size(), patterns.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    // Long lines are matched by their start (the matcher recurses per character).
    EXPECT_TRUE(Matches(lines[i].substr(0, 100), patterns[i]))
        << qlrtest::ToUtf8(lines[i].substr(0, 100));
  }
  EXPECT_EQ(lines[4].size(), 7 + 22 + 20000u);
  EXPECT_EQ(lines[4].find_first_not_of(L'x', 29), std::wstring::npos);
  SYSTEMTIME t = {2009, 3, 6, 14, 17, 5, 42, 0};
  EXPECT_EQ(FormatLogDate(t) + L" " + FormatLogTime(t), L"03/14/09 17:05:42");
}

TEST_F(LogTest, ClosedLogWritesNothing) {
  EXPECT_FALSE(IsLogOpen());
  EXPECT_FALSE(Log(L"x"));
  EXPECT_FALSE(LogError(L"x"));
  EXPECT_FALSE(WriteLogTextAsync(L"x"));
  EXPECT_FALSE(LogWindow(L"x", GetDesktopWindow()));
  EXPECT_FALSE(TermLog());
  ASSERT_TRUE(InitLog(path.c_str()));
  ASSERT_TRUE(Log(L"while open"));
  ASSERT_TRUE(TermLog());
  EXPECT_FALSE(Log(L"after close"));
  EXPECT_TRUE(WaitLogWritten(5000));
  std::vector<std::wstring> lines = LogLines(path);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"while open"), std::wstring::npos);
  WIN32_FIND_DATAW fd;
  UniqueFindHandle find(FindFirstFileW(dir.File(L"*.txt").c_str(), &fd));
  int files = 0;
  if (find) do ++files; while (FindNextFileW(find.Get(), &fd));
  EXPECT_EQ(files, 1);
}

TEST_F(LogTest, ExistingLogIsAppendedNotTruncated) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(path, L"old line\r\n"));
  ASSERT_TRUE(InitLog(path.c_str()));
  ASSERT_TRUE(Log(L"new line"));
  ASSERT_TRUE(TermLog());
  std::vector<std::wstring> lines = LogLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], L"old line");
  EXPECT_TRUE(Matches(lines[1], L"EXE_Agent: " + kStamp + L"new line"));
}

TEST_F(LogTest, OpeningAndClosing) {
  EXPECT_FALSE(InitLog(nullptr));
  EXPECT_FALSE(InitLog(L""));
  std::wstring tooLong = dir.Path() + L"\\" + std::wstring(256 - dir.Path().size() - 1, L'a');
  ASSERT_EQ(tooLong.size(), 256u);
  EXPECT_FALSE(InitLog(tooLong.c_str()));  // atom names hold 255 characters
  EXPECT_FALSE(IsLogOpen());

  ASSERT_TRUE(InitLog(path.c_str()));
  EXPECT_FALSE(InitLog(dir.File(L"other.txt").c_str()));
  EXPECT_EQ(GetLogPath(), path);
  wchar_t small[8];
  EXPECT_TRUE(GetLogPath(small, 8));
  EXPECT_EQ(std::wstring(small), path.substr(0, 7));
  ATOM atom = GetLogAtom();
  ASSERT_NE(atom, 0);
  wchar_t name[300] = {};
  ASSERT_GT(GlobalGetAtomNameW(atom, name, 300), 0u);
  EXPECT_EQ(std::wstring(name), path);
  // The writers' event exists while the log is open, free (signalled).
  UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, kLogSyncEventName));
  ASSERT_TRUE(event);
  EXPECT_EQ(WaitForSingleObject(event.Get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));

  ASSERT_TRUE(TermLog());
  EXPECT_EQ(GetLogAtom(), 0);
  EXPECT_EQ(GlobalFindAtomW(path.c_str()), 0);
  EXPECT_EQ(GetLogPath(), L"");
  EXPECT_FALSE(TermLog());
}

TEST_F(LogTest, OverlongTextIsWrittenWithoutDecoration) {
  ASSERT_TRUE(InitLog(path.c_str()));
  // "EXE_Agent" (9) + date (8) + time (8) + 11 = 36 decides; the decorated
  // line itself has 22 characters around name and text.
  const size_t limit = 102399 - 36;
  ASSERT_TRUE(Log(std::wstring(limit - 1, L'd')));
  ASSERT_TRUE(Log(std::wstring(limit, L'u')));
  ASSERT_TRUE(TermLog());
  std::vector<std::wstring> lines = LogLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 11), L"EXE_Agent: ");
  EXPECT_EQ(lines[0].size(), 9 + 22 + limit - 1);
  EXPECT_EQ(lines[1], std::wstring(limit, L'u'));
}

TEST_F(LogTest, QueuedLinesKeepOrderAndSurviveTheClose) {
  ASSERT_TRUE(InitLog(path.c_str()));
  for (int i = 1; i <= 300; ++i) ASSERT_TRUE(Log(L"line " + std::to_wstring(i)));
  ASSERT_TRUE(TermLog());  // returns once they are written
  std::vector<std::wstring> lines = LogLines(path);
  ASSERT_EQ(lines.size(), 300u);
  for (int i = 1; i <= 300; ++i) {
    EXPECT_TRUE(Matches(lines[i - 1], L"EXE_Agent: " + kStamp + L"line " + std::to_wstring(i)));
  }
}

TEST_F(LogTest, DeferredLinesAreWrittenOnce) {
  EXPECT_FALSE(FlushDeferredLog());
  SetLogAgentName(L"ignored");
  ASSERT_TRUE(LogDeferred(L"first"));
  ASSERT_TRUE(LogDeferred(L"second"));
  EXPECT_FALSE(FlushDeferredLog());  // closed: kept for later
  ASSERT_TRUE(InitLog(path.c_str()));
  EXPECT_TRUE(FlushDeferredLog());
  EXPECT_FALSE(FlushDeferredLog());
  ASSERT_TRUE(LogDeferred(L"third"));
  EXPECT_TRUE(FlushDeferredLog());
  EXPECT_FALSE(FlushDeferredLog());
  ASSERT_TRUE(TermLog());
  std::wstring text = qlrtest::ReadUtf16File(path);
  std::wregex pattern(L"EXE_Agent " + kStamp + L"first\nEXE_Agent " + kStamp +
                      L"second\r\nEXE_Agent " + kStamp + L"third\r\n");
  EXPECT_TRUE(std::regex_match(text, pattern)) << qlrtest::ToUtf8(text);
}

TEST_F(LogTest, StaleLockDoesNotLoseTheNextLine) {
  // A writer that died between taking and freeing the lock left it taken.
  UniqueHandle event(CreateEventW(nullptr, TRUE, TRUE, kLogSyncEventName));
  ASSERT_TRUE(event);
  ASSERT_TRUE(ResetEvent(event.Get()));
  ASSERT_TRUE(InitLog(path.c_str()));
  ASSERT_TRUE(Log(L"after the stale lock"));
  ASSERT_TRUE(WaitLogWritten(kLogLockWaitMs + 5000));
  std::vector<std::wstring> lines = LogLines(path);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"after the stale lock"), std::wstring::npos);
  EXPECT_EQ(WaitForSingleObject(event.Get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));  // freed
}

TEST_F(LogTest, WindowLines) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrLogTestWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                            nullptr);
  ASSERT_NE(hwnd, nullptr);
  ASSERT_TRUE(InitLog(path.c_str()));
  ASSERT_TRUE(LogWindow(L"menu asked", hwnd));
  ASSERT_TRUE(LogWindow(nullptr, hwnd));
  SetLogAgentName(L"Before");
  ASSERT_TRUE(LogWindowState(hwnd, L"Tag"));
  ASSERT_TRUE(Log(L"after"));  // the override is gone, not restored
  ASSERT_TRUE(TermLog());
  DestroyWindow(hwnd);

  std::wstring handle = std::to_wstring(static_cast<int>(reinterpret_cast<INT_PTR>(hwnd)));
  std::vector<std::wstring> lines = LogLines(path);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], L"menu asked: IsWindow HWND=" + handle + L" ? 1; CLASSNAME: [QlrLogTestWindow]");
  EXPECT_EQ(lines[1], L"IsWindow HWND=" + handle + L" ? 1; CLASSNAME: [QlrLogTestWindow]");
  EXPECT_TRUE(Matches(lines[2], L"Tag: " + kStamp + L"Tag: IsWindow=1"));
  EXPECT_TRUE(Matches(lines[3], L"Tag: " + kStamp + L"Tag: classname=\\[QlrLogTestWindow\\]"));
  EXPECT_TRUE(Matches(lines[4], L"EXE_Agent: " + kStamp + L"after"));
}

TEST_F(LogTest, TwoProcessesLoseNoLines) {
  const int kLines = 500;
  std::wstring helper = qlrtest::BinFile(L"helper_log_writer.exe");
  qlrtest::ChildProcess a, b;
  ASSERT_TRUE(a.Start(helper, L"lines \"" + path + L"\" 500 A"));
  ASSERT_TRUE(b.Start(helper, L"lines \"" + path + L"\" 500 B"));
  EXPECT_EQ(a.Wait(60000), 0);
  EXPECT_EQ(b.Wait(60000), 0);
  std::vector<std::wstring> lines = LogLines(path);
  EXPECT_EQ(lines.size(), 2u * kLines);
  int next[2] = {1, 1};
  std::wregex pattern(L"EXE_Agent: " + kStamp + L"([AB]) line (\\d+)");
  for (const std::wstring& line : lines) {
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(line, m, pattern)) << qlrtest::ToUtf8(line);
    int who = m[1].str() == L"A" ? 0 : 1;
    EXPECT_EQ(std::stoi(m[2].str()), next[who]) << "out of order or repeated";
    next[who] = std::stoi(m[2].str()) + 1;
  }
  EXPECT_EQ(next[0], kLines + 1);
  EXPECT_EQ(next[1], kLines + 1);
}

}  // namespace
