#include "foundation/system/registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/logging/system_error.h"
#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A Run value of the current user, removed again at the end of the test.
struct RunValue {
  std::wstring name;
  explicit RunValue(const wchar_t* n) : name(n) {}
  ~RunValue() { SetRunValue(true, false, name.c_str(), nullptr); }
  // Writes raw bytes as an older writer did, e.g. without the terminator.
  void WriteRaw(const std::wstring& data, bool terminated, DWORD type = REG_SZ) {
    UniqueHKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.Put(), nullptr),
              ERROR_SUCCESS);
    DWORD bytes = static_cast<DWORD>((data.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(key.Get(), name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(data.c_str()), bytes),
              ERROR_SUCCESS);
  }
  std::string RawBytes() {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, key.Put())) return "";
    BYTE buf[2048];
    DWORD size = sizeof(buf);
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, buf, &size)) return "";
    return std::string(reinterpret_cast<char*>(buf), size);
  }
};

TEST(RegistryTest, RunValueIsWrittenTerminatedAndDeleted) {
  RunValue value(L"QuilloraTestWrite");
  std::wstring data = L"C:\\Q\\Quillora.exe /autoload";
  ASSERT_TRUE(SetRunValue(true, true, value.name.c_str(), data.c_str()));
  std::string raw = value.RawBytes();
  ASSERT_EQ(raw.size(), (data.size() + 1) * 2);
  EXPECT_EQ(raw.substr(raw.size() - 2), std::string(2, '\0'));
  std::wstring read;
  EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kRunKey, value.name.c_str(), MAX_PATH, read));
  EXPECT_EQ(read, data);

  EXPECT_TRUE(SetRunValue(true, false, value.name.c_str(), nullptr));
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kRunKey, value.name.c_str(), MAX_PATH, read));
  EXPECT_FALSE(SetRunValue(true, false, value.name.c_str(), nullptr));  // nothing to delete
}

TEST(RegistryTest, RunValueNamesThisProgram) {
  const std::wstring program = L"C:\\Program Files\\Quillora\\Quillora.exe";
  struct Case {
    std::wstring data;
    bool terminated;
    bool expected;
  } cases[] = {
      {program, true, true},
      {L"c:\\PROGRAM FILES\\quillora\\QUILLORA.EXE /autoload", true, true},
      {program + L"    /autoload /x", true, true},
      {program + L" /autoload", false, true},  // written by an older release
      {program + L"x /autoload", true, false},
      {L"\"" + program + L"\" /autoload", true, false},
      {L"C:\\Program Files\\Quillora\\Other.exe", true, false},
      {L"", true, false},
      // Longer than a path may be: not this program, whatever follows.
      {program + std::wstring(300, L' ') + L"/autoload", false, false},
  };
  RunValue value(L"QuilloraTestCompare");
  for (const Case& c : cases) {
    SCOPED_TRACE(qlrtest::ToUtf8(c.data));
    value.WriteRaw(c.data, c.terminated);
    EXPECT_EQ(IsRunValueThisProgram(true, value.name.c_str(), program), c.expected);
  }
  value.WriteRaw(program, true, REG_BINARY);
  EXPECT_FALSE(IsRunValueThisProgram(true, value.name.c_str(), program));
  EXPECT_FALSE(IsRunValueThisProgram(true, L"QuilloraTestNoSuchValue", program));
}

TEST(RegistryTest, AutoStartOfTheRunningProgram) {
  RunValue value(L"QuilloraTestAutoStart");
  EXPECT_FALSE(IsAutoStartSet(value.name.c_str()));
  std::wstring data = GetModulePath() + L" /autoload";
  ASSERT_TRUE(SetAutoStart(true, value.name.c_str(), data.c_str()));
  EXPECT_TRUE(IsAutoStartSet(value.name.c_str()));
  ASSERT_TRUE(SetAutoStart(false, value.name.c_str(), nullptr));
  EXPECT_FALSE(IsAutoStartSet(value.name.c_str()));
}

// A file type of our own under HKEY_CLASSES_ROOT, removed at the end.
struct FileType {
  std::wstring ext, cls;
  FileType(const wchar_t* e, const wchar_t* c, const std::wstring& command) : ext(e), cls(c) {
    Set(ext, cls);
    Set(cls + L"\\shell\\open\\command", command);
  }
  ~FileType() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ext.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, cls.c_str());
  }
  static void Set(const std::wstring& sub, const std::wstring& value) {
    UniqueHKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, sub.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * 2)),
              ERROR_SUCCESS);
  }
};

TEST(RegistryTest, ProgramOfAFileType) {
  qlrtest::TempDir dir;
  std::wstring app = dir.File(L"viewer app.exe");
  ASSERT_TRUE(qlrtest::WriteBytes(app, "MZ"));
  {
    FileType type(L".qlrtesta", L"QlrTestA.Document", L"\"" + app + L"\" \"%1\" /view");
    EXPECT_EQ(GetAppForExtension(L"qlrtesta"), app);
    EXPECT_EQ(GetAppForExtension(L".qlrtesta"), app);
  }
  {
    FileType type(L".qlrtestb", L"QlrTestB.Document", app + L" %1  ");
    EXPECT_EQ(GetAppForExtension(L".qlrtestb"), app);
  }
  {
    FileType type(L".qlrtestc", L"QlrTestC.Document", dir.File(L"gone.exe") + L" %1");
    EXPECT_EQ(GetAppForExtension(L".qlrtestc"), L"");
  }
  EXPECT_EQ(GetAppForExtension(L".qlrtestnone"), L"");
}

TEST(RegistryTest, HttpHandlerAndBrowser) {
  std::wstring command;
  bool registered =
      RegReadString(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, 1000, command);
  std::wstring handler = GetHttpHandlerPath();
  if (!registered) {
    EXPECT_EQ(handler, L"");
    return;
  }
  EXPECT_EQ(handler.find(L'"'), std::wstring::npos);
  if (!command.empty() && command[0] == L'"') {
    EXPECT_EQ(command.substr(1, handler.size()), handler);
  }
  std::wstring browser = GetDefaultBrowserPath();
  if (!browser.empty()) {
    EXPECT_TRUE(IsFileExist(browser)) << qlrtest::ToUtf8(browser);
  }
}

TEST(RegistryTest, SystemErrorTexts) {
  wchar_t expected[1024] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_FILE_NOT_FOUND, 0, expected, 1024, nullptr);
  EXPECT_EQ(GetSystemErrorText(ERROR_FILE_NOT_FOUND), expected);
  EXPECT_FALSE(GetSystemErrorText(ERROR_ACCESS_DENIED).empty());
  EXPECT_EQ(GetSystemErrorText(0x2FFFFFFF), L"");
}

}  // namespace
