#include "tests/support/http_test_server.h"

#include <winsock2.h>

#include <cstring>

namespace qlrtest {

namespace {

constexpr size_t kMaxHeadBytes = 64 * 1024;

struct ConnectionContext {
  HttpTestServer* server;
  SOCKET socket;
};

bool StartsWithNoCase(const std::string& line, const char* prefix) {
  size_t n = strlen(prefix);
  return line.size() >= n && _strnicmp(line.c_str(), prefix, n) == 0;
}

const char* ReasonText(int status) {
  switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

void SendAll(SOCKET s, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

}  // namespace

HttpTestServer::~HttpTestServer() { Stop(); }

bool HttpTestServer::Start() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return false;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int size = sizeof(address);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener, 16) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    closesocket(listener);
    return false;
  }
  m_listener = listener;
  m_port = ntohs(address.sin_port);
  m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_acceptThread = CreateThread(nullptr, 0, AcceptThread, this, 0, nullptr);
  return m_acceptThread != nullptr;
}

void HttpTestServer::Stop() {
  if (m_listener == ~static_cast<UINT_PTR>(0)) return;
  SetEvent(m_stop);
  closesocket(static_cast<SOCKET>(m_listener));
  m_listener = ~static_cast<UINT_PTR>(0);
  if (m_acceptThread) {
    WaitForSingleObject(m_acceptThread, 10000);
    CloseHandle(m_acceptThread);
    m_acceptThread = nullptr;
  }
  std::vector<HANDLE> threads;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    for (UINT_PTR s : m_openConnections) closesocket(static_cast<SOCKET>(s));
    m_openConnections.clear();
    threads.swap(m_connectionThreads);
  }
  for (HANDLE t : threads) {
    WaitForSingleObject(t, 10000);
    CloseHandle(t);
  }
  CloseHandle(m_stop);
  m_stop = nullptr;
  WSACleanup();
}

std::wstring HttpTestServer::BaseUrl() const {
  return L"http://127.0.0.1:" + std::to_wstring(m_port) + L"/";
}

void HttpTestServer::SetAnswer(const std::string& path, const HttpAnswer& answer) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_answers[path] = answer;
}

std::vector<HttpRequestRecord> HttpTestServer::Requests() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_requests;
}

size_t HttpTestServer::RequestCount() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_requests.size();
}

size_t HttpTestServer::CountRequests(const std::string& path, const std::string& agent) const {
  std::lock_guard<std::mutex> guard(m_lock);
  size_t count = 0;
  for (const auto& r : m_requests)
    if ((path.empty() || r.path == path) && r.userAgent == agent) ++count;
  return count;
}

void HttpTestServer::ClearRequests() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_requests.clear();
}

DWORD WINAPI HttpTestServer::AcceptThread(void* self) {
  auto* server = static_cast<HttpTestServer*>(self);
  for (;;) {
    SOCKET s = accept(static_cast<SOCKET>(server->m_listener), nullptr, nullptr);
    if (s == INVALID_SOCKET) return 0;  // the listener was closed
    auto* context = new ConnectionContext{server, s};
    std::lock_guard<std::mutex> guard(server->m_lock);
    server->m_openConnections.push_back(s);
    HANDLE thread = CreateThread(nullptr, 0, ConnectionThread, context, 0, nullptr);
    if (thread)
      server->m_connectionThreads.push_back(thread);
    else
      delete context;
  }
}

DWORD WINAPI HttpTestServer::ConnectionThread(void* context) {
  auto* c = static_cast<ConnectionContext*>(context);
  c->server->Serve(c->socket);
  delete c;
  return 0;
}

void HttpTestServer::Serve(UINT_PTR connection) {
  SOCKET s = static_cast<SOCKET>(connection);
  // One request per connection: the answer says "Connection: close".
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHeadBytes) {
    int n = recv(s, buffer, sizeof(buffer), 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<size_t>(n));
  }
  HttpRequestRecord record;
  size_t lineEnd = head.find("\r\n");
  std::string requestLine = head.substr(0, lineEnd);
  size_t sp1 = requestLine.find(' ');
  size_t sp2 = requestLine.find(' ', sp1 == std::string::npos ? 0 : sp1 + 1);
  if (sp1 == std::string::npos || sp2 == std::string::npos) {
    closesocket(s);
    return;
  }
  record.method = requestLine.substr(0, sp1);
  std::string target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
  size_t question = target.find('?');
  record.path = target.substr(0, question);
  if (question != std::string::npos) record.query = target.substr(question + 1);
  size_t pos = lineEnd;
  while (pos != std::string::npos && pos + 2 < head.size()) {
    size_t next = head.find("\r\n", pos + 2);
    std::string line = head.substr(pos + 2, next == std::string::npos ? std::string::npos : next - pos - 2);
    if (line.empty()) break;
    if (StartsWithNoCase(line, "User-Agent:")) {
      std::string value = line.substr(11);
      size_t first = value.find_first_not_of(' ');
      record.userAgent = first == std::string::npos ? "" : value.substr(first);
    }
    pos = next;
  }

  HttpAnswer answer;
  answer.status = 404;
  answer.body = "<html><body>404 Not Found</body></html>";
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests.push_back(record);
    auto it = m_answers.find(record.path);
    if (it != m_answers.end()) answer = it->second;
  }
  if (answer.neverAnswer) {
    WaitForSingleObject(m_stop, INFINITE);
    return;  // Stop() closes the socket
  }
  if (answer.delayMs) WaitForSingleObject(m_stop, answer.delayMs);
  long long length = answer.contentLength >= 0 ? answer.contentLength
                                                : static_cast<long long>(answer.body.size());
  std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " " + ReasonText(answer.status) + "\r\n";
  bool ownLength = false;
  for (const auto& h : answer.headers) {
    response += h.first + ": " + h.second + "\r\n";
    ownLength = ownLength || _stricmp(h.first.c_str(), "Content-Length") == 0;
  }
  if (!ownLength) response += "Content-Length: " + std::to_string(length) + "\r\n";
  response += "Connection: close\r\n\r\n";
  if (record.method != "HEAD") response += answer.body;
  SendAll(s, response);
  shutdown(s, SD_SEND);
  // Let the client read everything before the socket goes.
  while (recv(s, buffer, sizeof(buffer), 0) > 0) {
  }
  std::lock_guard<std::mutex> guard(m_lock);
  for (auto it = m_openConnections.begin(); it != m_openConnections.end(); ++it) {
    if (*it == connection) {
      m_openConnections.erase(it);
      closesocket(s);
      break;
    }
  }
}

}  // namespace qlrtest
