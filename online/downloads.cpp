#include "online/downloads.h"

#include <climits>
#include <memory>

#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "online/http_head_info.h"
#include "online/internet_session.h"
#include "online/urlmon_download.h"

namespace {

constexpr wchar_t kDefaultAgent[] = L"MyAgent";
constexpr wchar_t kUpdaterAgent[] = L"Quillora_Updater";
constexpr wchar_t kProbeAgent[] = L"Internet Explorer";
constexpr wchar_t kAcceptHeaders[] = L"Accept: */*\r\n\r\n";
constexpr size_t kMaxAgentChars = 260;
constexpr DWORD kSessionFlags = 0x84000102;
constexpr DWORD kHeapBufferBytes = 12288;
constexpr DWORD kStackBufferBytes = 200;
constexpr DWORD kFirstFailingStatus = 400;

// The length the server announced for this very response; -1 when none.
long long AnnouncedLength(HINTERNET request) {
  std::wstring text;
  if (!QueryHeaderText(request, HTTP_QUERY_CONTENT_LENGTH, 32, text) || text.empty()) return -1;
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return -1;
    if (value > LLONG_MAX / 20) return -1;
    value = value * 10 + (c - L'0');
  }
  return value;
}

}  // namespace

bool DownloadFileWinInet(const std::wstring& url, const std::wstring& path,
                         DownloadProgressFn progress, void* context, const wchar_t* agent,
                         bool cancelIsFailure) {
  std::wstring agentText = agent ? agent : kDefaultAgent;
  if (agentText.size() > kMaxAgentChars) agentText.resize(kMaxAgentChars);
  UniqueInternet session(
      InternetOpenW(agentText.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, kSessionFlags));
  if (!session) return false;
  ApplyInternetTimeouts(session.Get());
  UniqueInternet connection;
  UniqueInternet request(OpenUrlRequest(session.Get(), url, kAcceptHeaders, INTERNET_FLAG_NO_CACHE_WRITE,
                                        connection));
  if (!request) return false;
  // A missing page still opens and reads its error page.
  DWORD status = GetHttpStatusCode(request.Get());
  if (status >= kFirstFailingStatus) return false;
  long long announced = AnnouncedLength(request.Get());
  if (announced > static_cast<long long>(kMaxDownloadBytes)) return false;

  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;

  long total = -1;
  std::unique_ptr<char[]> heapBuffer;
  char stackBuffer[kStackBufferBytes];
  char* buffer = stackBuffer;
  DWORD bufferBytes = kStackBufferBytes;
  CHttpHeadInfo probe(url);
  if (probe.Query(kProbeAgent)) {
    total = probe.GetContentLength();
    heapBuffer.reset(new (std::nothrow) char[kHeapBufferBytes]);
    if (heapBuffer) {
      buffer = heapBuffer.get();
      bufferBytes = kHeapBufferBytes;
    }
  }

  unsigned long long done = 0;
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request.Get(), buffer, bufferBytes, &read)) return false;
    if (read == 0) break;
    done += read;
    if (done > kMaxDownloadBytes) return false;
    DWORD written = 0;
    if (!WriteFile(file.Get(), buffer, read, &written, nullptr) || written != read) return false;
    if (progress && !progress(static_cast<unsigned long>(done), total, context))
      return !cancelIsFailure;
  }
  // A connection that closes early ends the reads as an end of file would.
  if (announced >= 0 && static_cast<long long>(done) != announced) return false;
  return FlushFileBuffers(file.Get()) != FALSE;
}

bool DownloadFileUrlmon(const std::wstring& url, const std::wstring& path) {
  DWORD savedError = GetLastError();
  bool ok = DownloadWithUrlmon(url, path, kMaxDownloadBytes);
  SetLastError(savedError);
  return ok;
}

std::wstring DownloadUpdateInfoFile(const std::wstring& url) {
  std::wstring path = GetTempFileNameWithExt(L"xml");
  if (path.empty()) return std::wstring();
  if (!DownloadFileWinInet(url, path, nullptr, nullptr, kUpdaterAgent, true)) {
    Log(L"Cannot download info version file by Download2");
    if (!DownloadFileUrlmon(url, path)) {
      Log(L"Ooops, cannot download info version file by URLDownloadToFile_API_Wrapper");
      DeleteFileW(path.c_str());
      return std::wstring();
    }
  }
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_TEMPORARY);
  return path;
}
