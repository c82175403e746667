// Deletes a downloaded temporary file when the scope that used it ends.
#pragma once
#include <windows.h>

#include <string>

class CTempFileGuard {
 public:
  explicit CTempFileGuard(const std::wstring& path) : m_path(path) {}
  ~CTempFileGuard() {
    if (!m_path.empty()) DeleteFileW(m_path.c_str());
  }
  CTempFileGuard(const CTempFileGuard&) = delete;
  CTempFileGuard& operator=(const CTempFileGuard&) = delete;

 private:
  std::wstring m_path;
};
