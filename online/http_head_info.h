// What the headers of a URL tell before it is downloaded: its date and its
// size. Also the two date conversions the update answer and the news feed
// use.
#pragma once
#include <windows.h>

#include <string>

class CHttpHeadInfo {
 public:
  explicit CHttpHeadInfo(const std::wstring& address) : url(address) {}
  virtual ~CHttpHeadInfo() = default;

  // Sends a GET for the URL and reads its headers; true when at least one
  // of content length, Last-Modified (as text or as a time) and Content-Type
  // gave a value. A URL without "://" is not probed.
  bool Query(const wchar_t* agent);
  // lastModified in local time; false while it is unknown.
  bool GetLastModifiedLocal(SYSTEMTIME& local) const;
  int GetContentLength() const { return contentLength; }

  std::wstring url;
  SYSTEMTIME lastModified = {};
  int contentLength = -1;
  std::wstring lastModifiedText;
  std::wstring charset;
};

// The value of "charset=" in a Content-Type header, cut before a double
// quote or blank that follows, trimmed of blanks and quotes; "" when absent.
std::wstring CharsetFromContentType(const std::wstring& contentType);

// WinINet's reading of an HTTP date, looked up at run time; false when the
// function is missing or does not take the text.
bool InternetTimeToSystemTimeText(const wchar_t* text, SYSTEMTIME& out);
// Converts a UTC time to the current zone in place.
bool SystemTimeToLocalZone(SYSTEMTIME& time);
