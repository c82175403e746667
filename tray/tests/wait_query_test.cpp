#include "tray/hook/wait_query.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "foundation/logging/log.h"
#include "settings/shared_memory.h"
#include "tests/support/test_support.h"
#include "tray/hook/interchange.h"
#include "tray/hook/query_xml.h"
#include "tray/tests/tray_window_stub.h"

namespace {

bool IsSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

std::wstring UniqueName(const wchar_t* what) {
  static int counter = 0;
  return L"Local\\QlrTest_" + std::wstring(what) + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
         std::to_wstring(++counter);
}

CMenuRecord Item(const wchar_t* caption, unsigned id) {
  CMenuRecord r;
  CMenuRecord::CopyText(r.caption, CMenuRecord::kCaptionChars, caption, wcslen(caption), 120);
  r.CMDID = id;
  return r;
}

std::string QueryText(const char* app) {
  return std::string("<LRQuery POINT_X=\"5\"><AppPath>") + app +
         "</AppPath><HKLLoword>1033</HKLLoword><HKLHoword>1049</HKLHoword>"
         "<SelText StateSelText=\"2\">picked</SelText></LRQuery>";
}

// An area and two events under names of this test, and a running wait
// thread that reports to the stub window.
class WaitQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_areaName = UniqueName(L"Area");
    m_area.Reset(CreateNamedMapping(m_areaName, kInterchangeAreaSize, true));
    m_needed.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_completed.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(m_area && m_needed && m_completed && m_stop);
    m_logPath = m_dir.File(L"log.txt");
    ASSERT_TRUE(InitLog(m_logPath.c_str()));
  }
  void TearDown() override {
    m_wait.Stop();
    m_tray.reset();
    TermLog();
  }

  void Start(TrayWindowStub::Handler handler) {
    m_tray.reset(new TrayWindowStub(std::move(handler)));
    WaitQueryParams p;
    p.trayWnd = m_tray->Hwnd();
    p.stopEvent = m_stop.Get();
    p.dataNeeded = m_needed.Get();
    p.dataCompleted = m_completed.Get();
    p.areaName = m_areaName;
    ASSERT_TRUE(m_wait.StartWaitThread(p));
  }

  // What the library does: the text into the area, then the query event.
  void Ask(const std::string& text) {
    ASSERT_TRUE(WriteSharedText(text.c_str(), m_areaName));
    SetEvent(m_needed.Get());
  }

  std::wstring LogText() {
    WaitLogWritten(5000);
    return qlrtest::ReadUtf16File(m_logPath);
  }

  qlrtest::TempDir m_dir;
  std::wstring m_areaName, m_logPath;
  UniqueHandle m_area, m_needed, m_completed, m_stop;
  std::unique_ptr<TrayWindowStub> m_tray;
  CWaitQuery m_wait;
};

TEST_F(WaitQueryTest, QueryIsServedAndTheAnswerWritten) {
  CQueryRecord seen;
  WPARAM servedQuery = 0;
  LPARAM servedAnswer = 0;
  int calls = 0;
  Start([&](CQueryRecord& q, CAnswerRecord& a) {
    seen = q;
    servedQuery = reinterpret_cast<WPARAM>(&q);
    servedAnswer = reinterpret_cast<LPARAM>(&a);
    ++calls;
    a.items.push_back(Item(L"abc", 5));
  });
  // On a busy machine the window's answer can come after the send's 2000 ms;
  // the exchange then ends without an answer and the library asks anew, as
  // this test does. A send that succeeds writes its answer well within the
  // wait below.
  bool completed = false;
  for (int attempt = 0; attempt < 3 && !completed; ++attempt) {
    Ask(QueryText("C:\\first.exe"));
    completed = qlrtest::WaitUntil([&] { return IsSet(m_completed.Get()); }, 15000);
  }
  ASSERT_TRUE(completed);
  EXPECT_FALSE(IsSet(m_needed.Get()));
  EXPECT_EQ(seen.AppPath, L"C:\\first.exe");
  EXPECT_EQ(seen.hkl, 0x04090419u);
  EXPECT_EQ(seen.SelText, L"picked");
  EXPECT_EQ(seen.POINT_X, 5);
  EXPECT_EQ(seen.POINT_Y, -1);

  CAnswerRecord expected;
  expected.items.push_back(Item(L"abc", 5));
  std::string xml;
  ASSERT_TRUE(BuildAnswerXml(expected, xml));
  SharedView view(m_areaName);
  ASSERT_EQ(view.TextLength(kMaxQueryTextBytes), static_cast<long>(xml.size()));
  EXPECT_EQ(std::string(view.Data(), xml.size()), xml);

  // The message id is open to any program: the served exchange sent again,
  // its record with another answer, or junk, are refused and freed by no one.
  const int served = calls;
  const struct {
    WPARAM query;
    LPARAM answer;
  } forged[] = {{servedQuery, servedAnswer}, {servedQuery, 0}, {0, servedAnswer}, {0x10001, 0x10001},
                {reinterpret_cast<WPARAM>(&seen), reinterpret_cast<LPARAM>(&expected)}};
  for (const auto& f : forged) EXPECT_EQ(SendMessageW(m_tray->Hwnd(), WM_TRAY_QUERY, f.query, f.answer), 0);
  EXPECT_EQ(calls, served);

  std::wstring log = LogText();
  EXPECT_NE(log.find(L"Received query:\r\n\tExe: C:\\first.exe\r\n\tClassName: \r\n\tHKL: 67699737"
                     L"\r\n\tSelText: [picked]\r\n\tSelText State: [Wax! Text extracted by agent]"),
            std::wstring::npos)
      << log;
}

TEST_F(WaitQueryTest, UnreadableQueriesCompleteAtOnceWithoutTheHandler) {
  Start([&](CQueryRecord&, CAnswerRecord&) {});
  const std::string cases[] = {"<LRQuery", "<LRAnswer />", "just text"};
  for (const auto& text : cases) {
    ResetEvent(m_completed.Get());
    Ask(text);
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return IsSet(m_completed.Get()); })) << text;
  }
  EXPECT_EQ(m_tray->Served(), 0);
  EXPECT_NE(LogText().find(L"Cannot read query from MMF"), std::wstring::npos);
}

TEST_F(WaitQueryTest, AnEmptyAnswerLeavesTheCompletionUnset) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Start([&](CQueryRecord& q, CAnswerRecord& a) {
    if (q.AppPath == L"C:\\second.exe") {
      WaitForSingleObject(release, 10000);
      a.items.push_back(Item(L"second", 9));
    }
  });
  Ask(QueryText("C:\\first.exe"));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return m_tray->Served() == 1; }));
  Ask(QueryText("C:\\second.exe"));
  // The thread took the second query only after it was done with the first.
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !IsSet(m_needed.Get()); }));
  EXPECT_FALSE(IsSet(m_completed.Get()));
  SetEvent(release);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return IsSet(m_completed.Get()); }));
  CloseHandle(release);
}

// The user keeps the menu open past the send's time-out: the window still
// works on records that belong to it, not on the thread's next request.
TEST_F(WaitQueryTest, RecordsOutliveATimedOutSend) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> entered{0};
  std::wstring lateApp;
  int lateHkl = 0;
  Start([&](CQueryRecord& q, CAnswerRecord& a) {
    if (++entered == 1) {
      WaitForSingleObject(release, 15000);
      lateApp = q.AppPath;
      lateHkl = static_cast<int>(q.hkl);
      a.items.push_back(Item(L"late", 1));
    }
  });
  Ask(QueryText("C:\\first.exe"));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return entered.load() == 1; }));
  Ask(QueryText("C:\\second.exe"));
  // Picked up only once the first send gave up after its 2000 ms.
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !IsSet(m_needed.Get()); }, 10000));
  SetEvent(release);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return m_tray->Served() == 2; }, 10000));
  EXPECT_EQ(lateApp, L"C:\\first.exe");
  EXPECT_EQ(lateHkl, 0x04090419);
  // Nobody waits for the late answer any more: it is not written.
  EXPECT_FALSE(IsSet(m_completed.Get()));
  CloseHandle(release);
}

TEST_F(WaitQueryTest, StopAndRestart) {
  Start([&](CQueryRecord&, CAnswerRecord& a) { a.items.push_back(Item(L"x", 1)); });
  EXPECT_TRUE(m_wait.IsRunning());
  EXPECT_TRUE(m_wait.RestartAfterError());
  EXPECT_TRUE(m_wait.IsRunning());
  Ask(QueryText("C:\\again.exe"));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return IsSet(m_completed.Get()); }));
  EXPECT_EQ(m_tray->Served(), 1);  // one thread serves, however often it was started

  m_wait.Stop();
  EXPECT_FALSE(m_wait.IsRunning());
  EXPECT_FALSE(m_wait.RestartAfterError());  // services down: nothing to restart
  EXPECT_EQ(m_tray->Errors(), 0);
  std::wstring log = LogText();
  EXPECT_NE(log.find(L"Exit from ThreadProc_WaitQuery [ret_value=0, error_code=0]"), std::wstring::npos);
}

TEST_F(WaitQueryTest, TheProcessStopEventEndsTheThread) {
  Start([&](CQueryRecord&, CAnswerRecord&) {});
  SetEvent(m_stop.Get());
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !m_wait.IsRunning(); }));
  EXPECT_EQ(m_tray->Errors(), 0);
}

TEST(InterchangeAreaTest, ReadsStayInsideTheArea) {
  const std::wstring name = UniqueName(L"Small");
  UniqueHandle small(CreateNamedMapping(name, 4096, true));
  ASSERT_TRUE(small);
  std::string full(4096, 'a');
  ASSERT_TRUE(WriteSharedBlock(full.data(), 4096, name));
  CQueryRecord q;
  EXPECT_FALSE(ReadQueryFromArea(q, name));  // no terminator before the end of the mapping

  const std::wstring bigName = UniqueName(L"Big");
  UniqueHandle big(CreateNamedMapping(bigName, kInterchangeAreaSize, true));
  std::string tooLong = "<LRQuery><AppPath>" + std::string(kMaxQueryTextBytes, 'b') + "</AppPath></LRQuery>";
  ASSERT_TRUE(WriteSharedText(tooLong.c_str(), bigName));
  EXPECT_FALSE(ReadQueryFromArea(q, bigName));
  ASSERT_TRUE(WriteSharedText(QueryText("C:\\ok.exe").c_str(), bigName));
  EXPECT_TRUE(ReadQueryFromArea(q, bigName));
  EXPECT_EQ(q.AppPath, L"C:\\ok.exe");

  EXPECT_FALSE(ReadQueryFromArea(q, UniqueName(L"Missing")));
}

TEST(InterchangeAreaTest, AnswersAreWrittenWholeOrNotAtAll) {
  const std::wstring name = UniqueName(L"Answer");
  UniqueHandle area(CreateNamedMapping(name, 4096, true));
  ASSERT_TRUE(area);
  ASSERT_TRUE(WriteSharedText("previous", name));

  CAnswerRecord empty;
  EXPECT_FALSE(WriteAnswerToArea(empty, name));
  CAnswerRecord huge;
  for (int i = 0; i < 100; ++i) huge.items.push_back(Item(L"a long enough caption for the area", i + 1));
  EXPECT_FALSE(WriteAnswerToArea(huge, name));
  EXPECT_STREQ(SharedView(name).Data(), "previous");

  CAnswerRecord one;
  one.items.push_back(Item(L"abc", 5));
  ASSERT_TRUE(WriteAnswerToArea(one, name));
  std::string xml;
  BuildAnswerXml(one, xml);
  SharedView view(name);
  EXPECT_EQ(view.TextLength(4096), static_cast<long>(xml.size()));
  EXPECT_EQ(std::string(view.Data()), xml);
  EXPECT_FALSE(WriteAnswerToArea(one, UniqueName(L"Nowhere")));
}

TEST(InterchangeAreaTest, ObjectsAreMadeAndClosedTogether) {
  CInterchangeObjects objects;
  ASSERT_TRUE(objects.Create());
  EXPECT_TRUE(objects.IsOpen());
  EXPECT_FALSE(IsSet(objects.DataNeeded()));
  EXPECT_FALSE(IsSet(objects.DataCompleted()));
  SharedView view(L"Local\\$QUILLORA_INTERCHANGE_AREA$");
  EXPECT_GE(view.Size(), static_cast<size_t>(kInterchangeAreaSize));
  UniqueHandle needed(OpenEventW(SYNCHRONIZE, FALSE, L"Local\\Quillora_DataNeeded"));
  UniqueHandle completed(OpenEventW(SYNCHRONIZE, FALSE, L"Local\\Quillora_DataCompleted"));
  EXPECT_TRUE(needed && completed);
  objects.Close();
  EXPECT_FALSE(objects.IsOpen());
  EXPECT_EQ(objects.DataNeeded(), nullptr);
}

}  // namespace
