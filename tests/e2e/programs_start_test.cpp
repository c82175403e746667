// Every deliverable starts under Wine, and carries our version resource.
#include <gtest/gtest.h>

#include <windows.h>

#include "phrases/insertion/prompt_dialog_ids.h"
#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_item_text.h"
#include "tests/support/test_support.h"
#include "tray/program/resource.h"

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

// Every text the tray program, its phrase menu and its prompt dialog load
// by id comes from Quillora.exe itself, not from a test's own resources.
TEST(ProgramsTest, TrayProgramCarriesEveryStringItUses) {
  const UINT ids[] = {
      IDS_ALREADY_WORKS, IDS_EXITING, IDS_PRESS_CTRL_C, IDS_COMMAND_LINE_KEYS, IDS_TURN_ON,
      IDS_TURN_OFF, IDS_HOT_KEY, IDS_MENU_TOOLTIP, IDS_RIGHT_CLICK_FOR_MENU, IDS_FOLDER, IDS_ON,
      IDS_OFF, IDS_SHOWING_MENU, IDS_MOUSE_EVENT_DETECTED, IDS_HOTKEY_DETECTED, IDS_PROMPT_CANCEL,
      kIdsInsertPlainText, kIdsInsertFormattedText, kIdsExecuteApplication, kIdsChars,
      kIdsActivateLayout, kIdsRightClickHint, kIdsClipboardHistory, kIdsDataFromHistory,
      kIdsMoreHistory, kIdsSupportCaption, kIdsSkipped, kIdsEditSettings, kIdsEditSettingsTip,
      kIdsVisitUs, kIdsOtherCommands, kIdsLinesWord, kIdsSelectionIntoPhrase,
      kIdsSelectionIntoPhraseTip, kIdsSupportTip,
      // The item context menu: copy, edit and the tips of its commands.
      160, 283, 32797, 32806, 32828, 32834, 32835, 32836, 32837, 32846,
  };
  HMODULE exe = LoadLibraryExW(qlrtest::BinFile(L"Quillora.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  for (UINT id : ids) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(exe, id, reinterpret_cast<wchar_t*>(&text), 0);
    EXPECT_GT(length, 0) << "string " << id;
  }
  wchar_t cancel[32] = {};
  LoadStringW(exe, IDS_PROMPT_CANCEL, cancel, 32);
  EXPECT_STREQ(cancel, L"Cancel");
  // The prompt dialog and the item context menu are there too.
  EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(IDD_PROMPT_TEXT), RT_DIALOG), nullptr);
  EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(205), RT_MENU), nullptr);
  FreeLibrary(exe);
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
