#include "online/downloads.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "online/http_head_info.h"
#include "online/internet_session.h"
#include "online/update_answer.h"
#include "phrases/macros/macro_dates.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_support.h"

namespace {

using qlrtest::HttpAnswer;

constexpr char kAnswerPath[] = "/Source/update_qlr.php";
constexpr char kLastModified[] = "Tue, 01 Dec 2026 08:30:15 GMT";

class DownloadsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Start()); }
  void TearDown() override {
    SetInternetTimeoutsForTests(0);
    server.Stop();
  }
  std::wstring Url(const char* path) const {
    return server.BaseUrl() + qlrtest::FromUtf8(path).substr(1);
  }
  HttpAnswer Body(const std::string& body) const {
    HttpAnswer answer;
    answer.body = body;
    return answer;
  }

  qlrtest::HttpTestServer server;
  qlrtest::TempDir dir;
};

TEST_F(DownloadsTest, TheAnswerComesThroughWinInetAsATemporaryFile) {
  const std::string body = "<QuilloraVersionInfo><Version>2.0</Version></QuilloraVersionInfo>";
  server.SetAnswer(kAnswerPath, Body(body));
  std::wstring path = DownloadUpdateInfoFile(Url(kAnswerPath) + L"?qlr_version=1.0&au=7");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(qlrtest::ReadBytes(path), body);
  EXPECT_EQ(path.substr(path.size() - 4), L".xml");
  // Wine's files keep only some attributes: expect what the same call on a
  // file of the same folder keeps.
  std::wstring control = path + L".control";
  ASSERT_TRUE(qlrtest::WriteBytes(control, "c"));
  SetFileAttributesW(control.c_str(), GetFileAttributesW(control.c_str()) | FILE_ATTRIBUTE_TEMPORARY);
  DWORD kept = GetFileAttributesW(control.c_str()) & FILE_ATTRIBUTE_TEMPORARY;
  DeleteFileW(control.c_str());
  EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_TEMPORARY, kept);
  DeleteFileW(path.c_str());

  auto requests = server.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].path, kAnswerPath);
  EXPECT_EQ(requests[0].query, "qlr_version=1.0&au=7");
  EXPECT_EQ(requests[0].userAgent, "Quillora_Updater");
  // Only WinINet was needed: its size probe is the one other request.
  EXPECT_EQ(server.CountRequests(kAnswerPath, "Quillora_Updater"), 1u);
  EXPECT_EQ(requests.size(), 2u);
}

TEST_F(DownloadsTest, FailedDownloadsLeaveNoPath) {
  struct Case {
    const char* name;
    HttpAnswer answer;
  };
  HttpAnswer missing;
  missing.status = 404;
  missing.body = "<html>Not here</html>";
  HttpAnswer serverError = missing;
  serverError.status = 500;
  HttpAnswer huge;
  huge.body.assign(kMaxDownloadBytes + 1, 'x');
  Case cases[] = {{"404", missing}, {"500", serverError}, {"over 1 MiB", huge}};
  for (const Case& c : cases) {
    server.ClearRequests();
    server.SetAnswer(kAnswerPath, c.answer);
    std::wstring path = DownloadUpdateInfoFile(Url(kAnswerPath));
    EXPECT_TRUE(path.empty()) << c.name;
    // WinINet fails before its size probe; then the fallback tries.
    EXPECT_EQ(server.RequestCount(), 2u) << c.name;
    EXPECT_EQ(server.CountRequests(kAnswerPath, "Quillora_Updater"), 1u) << c.name;
  }
  // The fallback's request has an agent of its own.
  server.ClearRequests();
  server.SetAnswer(kAnswerPath, missing);
  DownloadUpdateInfoFile(Url(kAnswerPath));
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NE(requests[1].userAgent, "Quillora_Updater");

  // With the server down nothing answers at all.
  std::wstring url = Url(kAnswerPath);
  server.Stop();
  EXPECT_TRUE(DownloadUpdateInfoFile(url).empty());
}

TEST_F(DownloadsTest, BodiesThatBreakTheirWordFail) {
  struct Case {
    const char* name;
    HttpAnswer answer;
    bool ok;
  };
  HttpAnswer cut = Body(std::string(500, 'c'));
  cut.contentLength = 2000;  // the connection closes after 500 bytes
  HttpAnswer huge = Body("small");
  huge.headers = {{"Content-Length", "99999999999"}};
  HttpAnswer negative = Body("negative length");
  negative.headers = {{"Content-Length", "-5"}};
  HttpAnswer slow = Body("late but whole");
  slow.delayMs = 300;
  Case cases[] = {{"cut", cut, false},
                  {"huge length", huge, false},
                  {"negative length", negative, true},
                  {"slow", slow, true},
                  {"empty", Body(""), true}};
  for (const Case& c : cases) {
    server.SetAnswer("/file.bin", c.answer);
    std::wstring path = dir.File(L"file.bin");
    EXPECT_EQ(DownloadFileWinInet(Url("/file.bin"), path, nullptr, nullptr, nullptr, true), c.ok)
        << c.name;
    if (c.ok) EXPECT_EQ(qlrtest::ReadBytes(path), c.answer.body) << c.name;
  }
  EXPECT_EQ(server.CountRequests("/file.bin", "MyAgent"), 5u);
}

TEST_F(DownloadsTest, ProgressCanCancelTheTransfer) {
  server.SetAnswer("/big.bin", Body(std::string(100000, 'b')));
  struct Progress {
    int calls = 0;
    long total = 0;
  } progress;
  auto cancelAtOnce = [](unsigned long, long total, void* context) -> int {
    auto* p = static_cast<Progress*>(context);
    ++p->calls;
    p->total = total;
    return 0;
  };
  std::wstring path = dir.File(L"big.bin");
  EXPECT_FALSE(DownloadFileWinInet(Url("/big.bin"), path, cancelAtOnce, &progress, L"A", true));
  EXPECT_TRUE(DownloadFileWinInet(Url("/big.bin"), path, cancelAtOnce, &progress, L"A", false));
  EXPECT_EQ(progress.calls, 2);
  EXPECT_EQ(progress.total, 100000);  // from the header probe
}

TEST_F(DownloadsTest, ASilentServerTimesOut) {
  std::wstring path = dir.File(L"silent.bin");
  HttpAnswer silent;
  silent.neverAnswer = true;
  server.SetAnswer("/silent", silent);
  SetInternetTimeoutsForTests(2000);
  DWORD start = GetTickCount();
  EXPECT_FALSE(DownloadFileWinInet(Url("/silent"), path, nullptr, nullptr, nullptr, true));
  EXPECT_LT(GetTickCount() - start, 20000u);
}

TEST_F(DownloadsTest, DownloadLinksAreProbedForDateAndSize) {
  HttpAnswer setup = Body(std::string(4321, 's'));
  setup.headers = {{"Last-Modified", kLastModified}, {"Content-Type", "application/x-exe"}};
  server.SetAnswer("/files/setup.exe", setup);
  server.SetAnswer("/files/portable.zip", Body(std::string(1234, 'p')));
  std::string xml = "<QuilloraVersionInfo><Version>9.0</Version><DownloadURL>" +
                    qlrtest::ToUtf8(Url("/files/setup.exe")) + "</DownloadURL><DownloadURL_PE>" +
                    qlrtest::ToUtf8(Url("/files/portable.zip")) +
                    "</DownloadURL_PE></QuilloraVersionInfo>";
  TiXmlDocument document;
  document.Parse(xml.c_str());
  CUpdateInfo record;
  EXPECT_EQ(ParseUpdateInfoXml(document, record, false), kAnswerNewerVersion);
  EXPECT_EQ(server.CountRequests("/files/setup.exe", "Quillora_Update"), 1u);
  EXPECT_EQ(server.CountRequests("/files/portable.zip", "Quillora_Update"), 1u);
  EXPECT_EQ(record.downloadSize, 4321);
  EXPECT_EQ(record.downloadSizePortable, 1234);
  EXPECT_EQ(record.downloadUrl, Url("/files/setup.exe"));

  SYSTEMTIME utc = {2026, 12, 2, 1, 8, 30, 15, 0};
  FILETIME utcFile, localFile;
  SYSTEMTIME local;
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &utcFile) && FileTimeToLocalFileTime(&utcFile, &localFile) &&
              FileTimeToSystemTime(&localFile, &local));
  EXPECT_EQ(record.releaseDate.wYear, local.wYear);
  EXPECT_EQ(record.releaseDate.wDay, local.wDay);
  EXPECT_EQ(record.releaseDate.wHour, local.wHour);
  EXPECT_EQ(record.releaseDate.wMinute, 30);
  EXPECT_EQ(record.releaseDateText, FormatDateTimeText(record.releaseDate));

  // Links without "://" are not probed, and a dead one leaves the size unknown.
  server.ClearRequests();
  std::string unprobed =
      "<QuilloraVersionInfo><Version>9.0</Version><DownloadURL>files/setup.exe</DownloadURL>"
      "<DownloadURL_PE>http://127.0.0.1:1/none.zip</DownloadURL_PE></QuilloraVersionInfo>";
  TiXmlDocument second;
  second.Parse(unprobed.c_str());
  CUpdateInfo plain;
  EXPECT_EQ(ParseUpdateInfoXml(second, plain, false), kAnswerNewerVersion);
  EXPECT_EQ(plain.downloadUrl, L"files/setup.exe");
  EXPECT_TRUE(plain.releaseDateText.empty());
  EXPECT_EQ(plain.downloadSize, 0);
  EXPECT_EQ(plain.downloadSizePortable, -1);
  EXPECT_EQ(plain.releaseDate.wYear, 0);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(DownloadsTest, LongHeadersAreCutAndCharsetsRead) {
  HttpAnswer answer = Body("x");
  answer.headers = {{"Last-Modified", std::string(3000, 'L')},
                    {"Content-Type", "text/xml; charset=\"utf-8\"" + std::string(300, ' ') + "z"}};
  server.SetAnswer("/long", answer);
  CHttpHeadInfo probe(Url("/long"));
  ASSERT_TRUE(probe.Query(L"Quillora_Update"));
  EXPECT_EQ(probe.lastModifiedText, std::wstring(998, L'L'));
  EXPECT_EQ(probe.lastModified.wYear, 0);
  EXPECT_EQ(probe.charset, L"utf-8");
  EXPECT_EQ(probe.GetContentLength(), 1);
  SYSTEMTIME local;
  EXPECT_FALSE(probe.GetLastModifiedLocal(local));

  const struct {
    const wchar_t* type;
    const wchar_t* charset;
  } types[] = {
      {L"text/html; charset=windows-1251", L"windows-1251"},
      {L"text/html; charset=\"koi8-r\" x", L"koi8-r"},
      {L"text/html; charset= 'utf-8' ", L"utf-8"},
      {L"text/html;charset=", L""},
      {L"text/html", L""},
  };
  for (const auto& t : types) EXPECT_EQ(CharsetFromContentType(t.type), t.charset) << qlrtest::ToUtf8(t.type);
}

TEST_F(DownloadsTest, InternetDatesAreTakenOnlyWhenRead) {
  SYSTEMTIME time = {};
  ASSERT_TRUE(InternetTimeToSystemTimeText(L"Tue, 01 Dec 2026 08:30:15 GMT", time));
  EXPECT_EQ(time.wYear, 2026);
  EXPECT_EQ(time.wMonth, 12);
  EXPECT_EQ(time.wDay, 1);
  EXPECT_EQ(time.wHour, 8);
  EXPECT_EQ(time.wSecond, 15);
  for (const wchar_t* text : {L"", L"garbage", L"01 Dec 2026 08:30:15", L"Tue, 01 Foo 2026 08:30:15"}) {
    SYSTEMTIME untouched = {1999, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_FALSE(InternetTimeToSystemTimeText(text, untouched)) << qlrtest::ToUtf8(text);
    EXPECT_EQ(untouched.wYear, 1999);
  }
  SYSTEMTIME winter = {2026, 1, 0, 15, 12, 0, 0, 0};
  SYSTEMTIME expected;
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &winter, &expected));
  ASSERT_TRUE(SystemTimeToLocalZone(winter));
  EXPECT_EQ(winter.wHour, expected.wHour);
}

}  // namespace
