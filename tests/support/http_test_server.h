// A small HTTP server on 127.0.0.1 for the tests of the update check: it
// logs every request (path, query, User-Agent) and answers each path as the
// test set it; unknown paths get 404.
#pragma once
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace qlrtest {

struct HttpRequestRecord {
  std::string method;
  std::string path;   // without the query
  std::string query;  // after "?", empty when none
  std::string userAgent;
};

struct HttpAnswer {
  int status = 200;
  std::string body;
  // A Content-Length among them replaces the one made from the body.
  std::vector<std::pair<std::string, std::string>> headers;
  DWORD delayMs = 0;      // before the answer is sent
  bool neverAnswer = false;  // keeps the connection open without a word
  long long contentLength = -1;  // the announced length; -1: the body's
};

class HttpTestServer {
 public:
  HttpTestServer() = default;
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // Listens on a free port of 127.0.0.1.
  bool Start();
  void Stop();
  int Port() const { return m_port; }
  // "http://127.0.0.1:<port>/"
  std::wstring BaseUrl() const;

  void SetAnswer(const std::string& path, const HttpAnswer& answer);
  std::vector<HttpRequestRecord> Requests() const;
  size_t RequestCount() const;
  // Requests of one path (all, when path is empty) by one agent.
  size_t CountRequests(const std::string& path, const std::string& agent) const;
  void ClearRequests();

 private:
  static DWORD WINAPI AcceptThread(void* self);
  static DWORD WINAPI ConnectionThread(void* context);
  void Serve(UINT_PTR connection);

  UINT_PTR m_listener = ~static_cast<UINT_PTR>(0);
  int m_port = 0;
  HANDLE m_acceptThread = nullptr;
  HANDLE m_stop = nullptr;
  mutable std::mutex m_lock;
  std::map<std::string, HttpAnswer> m_answers;
  std::vector<HttpRequestRecord> m_requests;
  std::vector<HANDLE> m_connectionThreads;
  std::vector<UINT_PTR> m_openConnections;
};

}  // namespace qlrtest
