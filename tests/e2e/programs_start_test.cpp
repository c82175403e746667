// Every deliverable starts under Wine, and carries our version resource.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_support.h"

namespace {

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return L"";
  std::string block(size, '\0');
  if (!GetFileVersionInfoW(file.c_str(), 0, size, &block[0])) return L"";
  wchar_t* value = nullptr;
  UINT len = 0;
  std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &len)) return L"";
  return value ? std::wstring(value) : L"";
}

TEST(ProgramsTest, HelperExitCodeReachesTheTest) {
  EXPECT_EQ(qlrtest::RunProcess(qlrtest::BinFile(L"helper_exit_code.exe"), L"7"), 7);
  qlrtest::TempDir dir;
  std::wstring out = dir.File(L"cmd.txt");
  EXPECT_EQ(qlrtest::RunProcess(qlrtest::BinFile(L"helper_exit_code.exe"), L"0 \"" + out + L"\" x"), 0);
  EXPECT_NE(qlrtest::ReadUtf16File(out).find(L" x"), std::wstring::npos);
}

TEST(ProgramsTest, DeliverablesCarryVersionResources) {
  const wchar_t* files[] = {L"Quillora.exe", L"QuilloraEditor.exe", L"Quillora_Welcome.exe",
                            L"Gesture.dll"};
  for (const wchar_t* f : files) {
    std::wstring path = qlrtest::BinFile(f);
    EXPECT_EQ(VersionString(path, L"OriginalFilename"), f);
    EXPECT_EQ(VersionString(path, L"ProductName"), L"Quillora");
  }
}

// The editor stays until its window is closed, then ends with 0.
TEST(ProgramsTest, EditorStartsAndEnds) {
  qlrtest::ChildProcess editor;
  ASSERT_TRUE(editor.Start(qlrtest::BinFile(L"QuilloraEditor.exe"), L""));
  HWND frame = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] {
        // The title goes on with the version and the phrase folder.
        for (HWND window : qlrtest::FindProcessWindows(editor.Pid())) {
          wchar_t text[512] = {};
          GetWindowTextW(window, text, 512);
          if (wcsncmp(text, L"Quillora : PhraseEditor ", 24) == 0) frame = window;
        }
        return frame != nullptr;
      },
      30000));
  EXPECT_EQ(editor.Wait(500), -1);
  PostMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(editor.Wait(30000), 0);
}

TEST(ProgramsTest, GestureLibraryLoads) {
  HMODULE lib = LoadLibraryW(qlrtest::BinFile(L"Gesture.dll").c_str());
  ASSERT_NE(lib, nullptr) << GetLastError();
  FreeLibrary(lib);
}

}  // namespace
