#include "foundation/system/processes.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <map>

#include "foundation/system/handles.h"

namespace {

std::wstring Upper(std::wstring s) {
  if (!s.empty()) ::CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

}  // namespace

std::wstring PickModulePath(const std::wstring& exeName, const std::vector<std::wstring>& modules) {
  if (exeName.empty()) return std::wstring();
  std::wstring name = Upper(exeName);
  for (const std::wstring& path : modules) {
    size_t pos = Upper(path).find(name);
    if (pos != std::wstring::npos && pos > 0) {
      return path.find(L'\\') != std::wstring::npos ? path : std::wstring();
    }
  }
  return std::wstring();
}

std::wstring GetProcessModulePath(const std::wstring& exeName, DWORD processId) {
  if (exeName.empty()) return std::wstring();
  UniqueHandle snap(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
  if (!snap) return std::wstring();
  std::vector<std::wstring> modules;
  MODULEENTRY32W me = {};
  me.dwSize = sizeof(me);
  for (BOOL more = ::Module32FirstW(snap.Get(), &me); more;
       more = ::Module32NextW(snap.Get(), &me)) {
    modules.push_back(me.szExePath);
  }
  return PickModulePath(exeName, modules);
}

bool GetRunningProcessPaths(std::vector<std::wstring>* paths, bool sort) {
  paths->clear();
  std::map<DWORD, std::wstring> processes;
  {
    UniqueHandle snap(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap) return false;
    PROCESSENTRY32W pe = {};
    pe.dwSize = sizeof(pe);
    for (BOOL more = ::Process32FirstW(snap.Get(), &pe); more;
         more = ::Process32NextW(snap.Get(), &pe)) {
      processes[pe.th32ProcessID] = pe.szExeFile;
    }
  }
  for (const auto& p : processes) {
    std::wstring path = GetProcessModulePath(p.second, p.first);
    if (!path.empty()) paths->push_back(path);
  }
  if (sort) {
    auto less = [](const std::wstring& a, const std::wstring& b) {
      return _wcsicmp(a.c_str(), b.c_str()) < 0;
    };
    auto same = [](const std::wstring& a, const std::wstring& b) {
      return _wcsicmp(a.c_str(), b.c_str()) == 0;
    };
    std::sort(paths->begin(), paths->end(), less);
    paths->erase(std::unique(paths->begin(), paths->end(), same), paths->end());
  }
  return true;
}

DWORD GetModuleFileNameExSafe(HANDLE process, wchar_t* buffer, DWORD size) {
  typedef DWORD(WINAPI * Fn)(HANDLE, HMODULE, LPWSTR, DWORD);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  // Newer systems carry it in kernel32 (as K32GetModuleFileNameExW too).
  Fn fn = kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                       ::GetProcAddress(kernel, "GetModuleFileNameExW")))
                 : nullptr;
  if (fn) return fn(process, nullptr, buffer, size);
  UniqueModule psapi(::LoadLibraryW(L"psapi.dll"));
  if (!psapi) return 0;
  fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(psapi.Get(), "GetModuleFileNameExW")));
  return fn ? fn(process, nullptr, buffer, size) : 0;
}

std::wstring GetProcessImagePath(DWORD processId) {
  UniqueHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return std::wstring();
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameExSafe(process.Get(), path, MAX_PATH);
  return n ? std::wstring(path, n) : std::wstring();
}
