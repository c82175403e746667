// An output without a position: a pipe whose bytes a thread collects.
#pragma once
#include <windows.h>

#include <string>
#include <thread>

class PipeCapture {
 public:
  PipeCapture() {
    if (!CreatePipe(&m_read, &m_write, nullptr, 0)) return;
    m_drain = std::thread([this] {
      char buf[8192];
      DWORD n;
      while (ReadFile(m_read, buf, sizeof buf, &n, nullptr) && n > 0) m_bytes.append(buf, n);
    });
  }
  ~PipeCapture() { Finish(); }
  PipeCapture(const PipeCapture&) = delete;
  PipeCapture& operator=(const PipeCapture&) = delete;

  HANDLE WriteEnd() const { return m_write; }
  // Closes the writing end and returns everything written to it.
  const std::string& Finish() {
    if (m_write) CloseHandle(m_write);
    m_write = nullptr;
    if (m_drain.joinable()) m_drain.join();
    if (m_read) CloseHandle(m_read);
    m_read = nullptr;
    return m_bytes;
  }

 private:
  HANDLE m_read = nullptr;
  HANDLE m_write = nullptr;
  std::string m_bytes;
  std::thread m_drain;
};
