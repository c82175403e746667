// A program folder and a profile folder of its own for each settings test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/test_support.h"
#include "tray/settings/settings_files.h"

class SettingsFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsFolders(program.Path(), profile.Path()); }
  void TearDown() override {
    SetWritable(program.Path(), true);
    SetSettingsFolders(L"", L"");
  }

  std::wstring ProgramIni() const { return program.File(L"Settings.ini"); }
  std::wstring UserFolder() const { return profile.File(L"Quillora"); }
  std::wstring UserIni() const { return UserFolder() + L"\\Settings.ini"; }

  // Wine runs the tests as root, for whom only the Unix mode bits make a
  // folder unwritable in the access checks: change them with chmod.
  static bool SetWritable(const std::wstring& path, bool writable) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return false;
    char* unixPath = toUnix(path.c_str());
    if (!unixPath) return false;
    std::wstring cmd = std::wstring(writable ? L"/bin/chmod u+w \"" : L"/bin/chmod a-w \"") +
                       qlrtest::FromUtf8(unixPath) + L"\"";
    HeapFree(GetProcessHeap(), 0, unixPath);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    // A Unix program gives no process handle to wait on; Wine shows the mode
    // change as the read-only attribute.
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return qlrtest::WaitUntil([&] {
      DWORD attrs = GetFileAttributesW(path.c_str());
      return attrs != INVALID_FILE_ATTRIBUTES && ((attrs & FILE_ATTRIBUTE_READONLY) == 0) == writable;
    });
  }

  qlrtest::TempDir program;
  qlrtest::TempDir profile;
};
