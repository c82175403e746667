// The WinINet handles and time-outs the downloads and header probes share.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

#include "foundation/system/handles.h"

namespace handle_traits {
struct Internet {
  using Type = HINTERNET;
  static HINTERNET Invalid() { return nullptr; }
  static bool IsValid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
}  // namespace handle_traits
using UniqueInternet = UniqueResource<handle_traits::Internet>;

// Connect, send and receive time-outs of every session: a server that
// accepts and never answers must not hold an update check for ever.
constexpr DWORD kInternetTimeoutMs = 30000;
void ApplyInternetTimeouts(HINTERNET session);
// Test seam: other time-outs (0 puts the standard ones back).
void SetInternetTimeoutsForTests(DWORD ms);

struct UrlParts {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;  // with the query
  bool secure = false;
};
// Scheme, host and port as WinINet reads them, so that a URL with a port is
// reached at that port and https at 443 with TLS. False for a URL without
// "://" or of a scheme other than http and https.
bool CrackUrl(const std::wstring& url, UrlParts& parts);

// A sent GET of the URL (InternetOpenUrlW's work, done in steps so that the
// time-outs reach the request); connection receives the connection handle,
// which must outlive the request. Null on failure.
HINTERNET OpenUrlRequest(HINTERNET session, const std::wstring& url, const wchar_t* headers, DWORD flags,
                         UniqueInternet& connection);

// The status code of an HTTP request handle; 0 when it has none.
DWORD GetHttpStatusCode(HINTERNET request);
// A header of a request handle as text, cut to maxChars characters; false
// when the header is missing.
bool QueryHeaderText(HINTERNET request, DWORD query, size_t maxChars, std::wstring& text);
