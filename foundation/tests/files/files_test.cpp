#include "foundation/files/files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "tests/support/test_support.h"

namespace {

// A drive letter with nothing behind it.
std::wstring UnusedDriveRoot() {
  DWORD used = GetLogicalDrives();
  for (int i = 25; i >= 3; --i) {
    if (!(used & (1u << i))) return std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
  }
  return std::wstring();
}

TEST(FilesTest, FilesAndFoldersAreTold) {
  qlrtest::TempDir dir;
  std::wstring file = dir.File(L"a.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(file, "abc"));
  std::wstring sub = dir.File(L"sub");
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));

  struct Case {
    std::wstring path;
    bool isFile, isFolder;
    int dyn;
  } cases[] = {
      {file, true, false, 2},
      {sub, false, true, 2},
      {sub + L"\\", false, true, 2},
      {dir.File(L"missing.txt"), false, false, 1},
      {dir.File(L"missing\\deeper.txt"), false, false, 1},
      {L"", false, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(qlrtest::ToUtf8(c.path));
    EXPECT_EQ(IsFileExist(c.path), c.isFile);
    EXPECT_EQ(IsFolderExist(c.path), c.isFolder);
    EXPECT_EQ(PathFileExistsDyn(c.path.c_str()), c.dyn);
  }
}

TEST(FilesTest, DriveTypesThatCountAsRemovable) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  std::wstring fixed = std::wstring(windows, 2);  // "C:", a fixed disk
  ASSERT_EQ(GetDriveTypeW((fixed + L"\\").c_str()), static_cast<UINT>(DRIVE_FIXED));
  std::wstring unused = UnusedDriveRoot();
  ASSERT_FALSE(unused.empty());

  struct Case {
    std::wstring path;
    bool removable;
  } roots[] = {
      {fixed, false}, {fixed + L"\\", false}, {unused, true}, {unused.substr(0, 2), true},
  };
  for (const Case& c : roots) EXPECT_EQ(IsRemovableDriveRoot(c.path), c.removable) << qlrtest::ToUtf8(c.path);

  Case paths[] = {
      {std::wstring(windows) + L"\\notepad.exe", false},
      {unused + L"Quillora\\Quillora.exe", true},
      // A program started from a network share lives on a remote drive.
      {L"\\\\server\\share\\Quillora\\Quillora.exe", true},
  };
  for (const Case& c : paths) EXPECT_EQ(IsOnRemovableDrive(c.path), c.removable) << qlrtest::ToUtf8(c.path);
}

TEST(FilesTest, ReadWholeFile) {
  qlrtest::TempDir dir;
  std::string content(70000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
  content[5] = '\0';  // binary data keeps its zero bytes
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"big.bin"), content));
  size_t size = 0;
  std::unique_ptr<char[]> data = ReadFileToBuffer(dir.File(L"big.bin"), &size);
  ASSERT_TRUE(data);
  ASSERT_EQ(size, content.size());
  EXPECT_EQ(memcmp(data.get(), content.data(), size), 0);
  EXPECT_EQ(data[size], '\0');

  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"empty.bin"), ""));
  EXPECT_FALSE(ReadFileToBuffer(dir.File(L"empty.bin"), &size));
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(ReadFileToBuffer(dir.File(L"missing.bin")));
  EXPECT_FALSE(ReadFileToBuffer(dir.Path()));  // a folder

  // A file another program holds open for writing without read sharing.
  HANDLE locked = CreateFileW(dir.File(L"locked.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(locked, "xyz", 3, &written, nullptr);
  EXPECT_FALSE(ReadFileToBuffer(dir.File(L"locked.bin")));
  CloseHandle(locked);
  data = ReadFileToBuffer(dir.File(L"locked.bin"));
  ASSERT_TRUE(data);
  EXPECT_STREQ(data.get(), "xyz");
}

}  // namespace
