#include "online/http_head_info.h"

#include <climits>

#include "online/internet_session.h"

namespace {

// Reload, no cache write, keep connection, pragma no-cache.
constexpr DWORD kProbeFlags = 0x84400100;
constexpr size_t kLastModifiedChars = 998;  // a buffer of 999 with its terminator
constexpr size_t kContentTypeChars = 98;

using InternetTimeToSystemTimeFn = BOOL(WINAPI*)(LPCWSTR, SYSTEMTIME*, DWORD);

long long MsOfDay(const SYSTEMTIME& t) {
  return ((t.wHour * 60LL + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
}

}  // namespace

std::wstring CharsetFromContentType(const std::wstring& contentType) {
  static const wchar_t kKey[] = L"charset=";
  size_t at = contentType.find(kKey);
  if (at == std::wstring::npos) return std::wstring();
  std::wstring value = contentType.substr(at + wcslen(kKey));
  size_t cut = value.find_first_of(L"\" ", 1);
  if (cut != std::wstring::npos) value.resize(cut);
  const wchar_t* trim = L" \"'";
  size_t first = value.find_first_not_of(trim);
  if (first == std::wstring::npos) return std::wstring();
  return value.substr(first, value.find_last_not_of(trim) - first + 1);
}

bool CHttpHeadInfo::Query(const wchar_t* agent) {
  UrlParts parts;
  if (!CrackUrl(url, parts)) return false;
  UniqueInternet session(InternetOpenW(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  ApplyInternetTimeouts(session.Get());
  UniqueInternet connection(InternetConnectW(session.Get(), parts.host.c_str(), parts.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return false;
  ApplyInternetTimeouts(connection.Get());
  DWORD flags = kProbeFlags | (parts.secure ? INTERNET_FLAG_SECURE : 0);
  UniqueInternet request(HttpOpenRequestW(connection.Get(), L"GET", parts.path.c_str(), nullptr,
                                          nullptr, nullptr, flags, 0));
  if (!request) return false;
  DWORD savedError = GetLastError();
  if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) return false;

  bool any = false;
  DWORD length = 0;
  DWORD size = sizeof(length);
  if (HttpQueryInfoW(request.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                     &size, nullptr)) {
    // A length beyond the int range stays unknown.
    contentLength = length <= static_cast<DWORD>(INT_MAX) ? static_cast<int>(length) : -1;
    any = true;
  }
  if (QueryHeaderText(request.Get(), HTTP_QUERY_LAST_MODIFIED, kLastModifiedChars, lastModifiedText))
    any = true;
  // The header as a time, read from its text: WinINet's own reading
  // (HTTP_QUERY_FLAG_SYSTEMTIME) faults on some malformed dates a server
  // may send.
  SYSTEMTIME modified = {};
  if (!lastModifiedText.empty() && InternetTimeToSystemTimeText(lastModifiedText.c_str(), modified)) {
    lastModified = modified;
    any = true;
  }
  std::wstring contentType;
  if (QueryHeaderText(request.Get(), HTTP_QUERY_CONTENT_TYPE, kContentTypeChars, contentType)) {
    charset = CharsetFromContentType(contentType);
    any = true;
  }
  request.Reset();
  SetLastError(savedError);
  return any;
}

bool CHttpHeadInfo::GetLastModifiedLocal(SYSTEMTIME& local) const {
  if (lastModified.wYear == 0) return false;
  FILETIME utcFile = {}, localFile = {};
  return SystemTimeToFileTime(&lastModified, &utcFile) &&
         FileTimeToLocalFileTime(&utcFile, &localFile) && FileTimeToSystemTime(&localFile, &local);
}

bool InternetTimeToSystemTimeText(const wchar_t* text, SYSTEMTIME& out) {
  if (!text || !*text) return false;
  DynamicFunction<InternetTimeToSystemTimeFn> convert(L"WinInet.DLL", "InternetTimeToSystemTimeW");
  if (!convert) return false;
  SYSTEMTIME before = {}, after = {}, result = {};
  GetSystemTime(&before);
  BOOL read = convert.Get()(text, &result, 0);
  GetSystemTime(&after);
  if (!read) return false;
  // WinINet also answers TRUE for a text it cannot read: it starts from the
  // clock and stops at the first field it cannot take, leaving the clock's
  // time of day behind. A date read in full has the text's own time.
  long long clock0 = MsOfDay(before), clock1 = MsOfDay(after), got = MsOfDay(result);
  if (clock0 <= clock1 && got >= clock0 && got <= clock1) return false;
  FILETIME check = {};
  if (!SystemTimeToFileTime(&result, &check)) return false;
  out = result;
  return true;
}

bool SystemTimeToLocalZone(SYSTEMTIME& time) {
  SYSTEMTIME local = {};
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &time, &local)) return false;
  time = local;
  return true;
}
