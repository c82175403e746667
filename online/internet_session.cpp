#include "online/internet_session.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<DWORD> g_timeoutMs{kInternetTimeoutMs};

}  // namespace

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
  if (url.find(L"://") == std::wstring::npos) return false;
  URL_COMPONENTSW c = {};
  c.dwStructSize = sizeof(c);
  c.dwHostNameLength = 1;
  c.dwUrlPathLength = 1;
  c.dwExtraInfoLength = 1;
  c.dwSchemeLength = 1;
  if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return false;
  if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS) return false;
  if (!c.lpszHostName || c.dwHostNameLength == 0) return false;
  parts.host.assign(c.lpszHostName, c.dwHostNameLength);
  parts.port = c.nPort;
  parts.secure = c.nScheme == INTERNET_SCHEME_HTTPS;
  if (c.lpszUrlPath) parts.path.assign(c.lpszUrlPath, c.dwUrlPathLength);
  if (c.lpszExtraInfo) parts.path.append(c.lpszExtraInfo, c.dwExtraInfoLength);
  if (parts.path.empty()) parts.path = L"/";
  return true;
}

void SetInternetTimeoutsForTests(DWORD ms) { g_timeoutMs = ms ? ms : kInternetTimeoutMs; }

void ApplyInternetTimeouts(HINTERNET session) {
  DWORD ms = g_timeoutMs.load();
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_DATA_SEND_TIMEOUT})
    InternetSetOptionW(session, option, &ms, sizeof(ms));
}

DWORD GetHttpStatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr))
    return 0;
  return status;
}

bool QueryHeaderText(HINTERNET request, DWORD query, size_t maxChars, std::wstring& text) {
  text.clear();
  std::vector<wchar_t> buffer(maxChars + 1);
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (!HttpQueryInfoW(request, query, buffer.data(), &size, nullptr)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    // Longer than the caller keeps: WinINet holds the header already, so
    // its size is bounded by what it accepted; read it whole and cut it.
    buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request, query, buffer.data(), &size, nullptr)) return false;
  }
  buffer.back() = L'\0';
  text = buffer.data();
  if (text.size() > maxChars) text.resize(maxChars);
  return true;
}

HINTERNET OpenUrlRequest(HINTERNET session, const std::wstring& url, const wchar_t* headers, DWORD flags,
                         UniqueInternet& connection) {
  UrlParts parts;
  if (!CrackUrl(url, parts)) {
    // Schemes other than HTTP take WinINet's own road, with its time-outs.
    return InternetOpenUrlW(session, url.c_str(), headers, headers ? static_cast<DWORD>(-1) : 0, flags, 0);
  }
  connection.Reset(InternetConnectW(session, parts.host.c_str(), parts.port, nullptr, nullptr,
                                    INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return nullptr;
  // The connection passes its time-outs on to its requests.
  ApplyInternetTimeouts(connection.Get());
  UniqueInternet request(HttpOpenRequestW(connection.Get(), L"GET", parts.path.c_str(), nullptr, nullptr,
                                          nullptr, flags | (parts.secure ? INTERNET_FLAG_SECURE : 0), 0));
  if (!request) return nullptr;
  if (!HttpSendRequestW(request.Get(), headers, headers ? static_cast<DWORD>(-1) : 0, nullptr, 0))
    return nullptr;
  return request.Release();
}
