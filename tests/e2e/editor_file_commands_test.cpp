// The real QuilloraEditor.exe's file commands: a recent phrase folder opens
// only after the phrase being edited went to its file, an export goes
// through the save dialog into the file the user names, and the folder and
// language-file commands ask their own questions.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "foundation/tests/zip_test_reader.h"
#include "phrases/store/phrase_file.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/e2e/editor_session.h"

namespace {

constexpr UINT kExport = 32807;
constexpr UINT kBackup = 32796;
constexpr UINT kFirstRecentFolder = 30150;
constexpr int kPaneId = 0xE900;
constexpr int kTextId = 1032;
constexpr int kTreeId = 1243;

BOOL CALLBACK FindEditProc(HWND window, LPARAM lParam) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (_wcsicmp(cls, L"Edit") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = window;
  return FALSE;
}

BOOL CALLBACK CollectTextProc(HWND window, LPARAM lParam) {
  *reinterpret_cast<std::wstring*>(lParam) += qlre2e::WindowText(window) + L"|";
  return TRUE;
}

class EditorFileCommandsTest : public qlre2e::EditorSessionTest {
 protected:
  void SetUp() override {
    EditorSessionTest::SetUp();
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
    ASSERT_TRUE(Write(PhrasesFolder() + L"\\Alpha.quillora", L"Alpha", L"alpha text", 1));
  }
  static bool Write(const std::wstring& path, const std::wstring& title, const std::wstring& text, int sortId) {
    return SavePhraseToFile(phrasetest::MakePhrase(title, text, sortId), path);
  }
  // The editor up on Alpha, its text shown.
  void StartOnAlpha() {
    SetSetting(L"LastFile", PhrasesFolder() + L"\\Alpha.quillora", L"Settings_Editor");
    frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(qlrtest::WaitUntil(
        [&] {
          text = GetDlgItem(GetDlgItem(frame, kPaneId), kTextId);
          return text && qlre2e::WindowText(text) == L"alpha text";
        },
        kWaitMs, 50));
    HWND pane = nullptr;
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = qlre2e::FindPhrasePane(frame)) != nullptr; }, kWaitMs));
    tree = GetDlgItem(pane, kTreeId);
    ASSERT_NE(tree, nullptr);
  }
  LRESULT TreeCount() const { return SendMessageW(tree, TVM_GETCOUNT, 0, 0); }
  // The editor's visible file dialog (a dialog with a name box), or null.
  HWND WaitForFileDialog(HWND& edit) {
    HWND dialog = nullptr;
    qlrtest::WaitUntil(
        [&] {
          for (HWND window : qlrtest::FindProcessWindows(child.Pid())) {
            wchar_t cls[32] = {};
            GetClassNameW(window, cls, 32);
            if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) continue;
            edit = nullptr;
            EnumChildWindows(window, FindEditProc, reinterpret_cast<LPARAM>(&edit));
            if (!edit) continue;
            dialog = window;
            return true;
          }
          return false;
        },
        kWaitMs);
    return dialog;
  }
  // The path into the name box of the file dialog, then OK.
  static void ChooseInFileDialog(HWND dialog, HWND edit, const std::wstring& path) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  }
  // The save dialog of the editor: the path into its name box, then OK.
  bool SaveThroughDialog(const std::wstring& path) {
    HWND edit = nullptr;
    HWND dialog = WaitForFileDialog(edit);
    if (!dialog) return false;
    ChooseInFileDialog(dialog, edit, path);
    return qlrtest::WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  }

  // A visible dialog of the editor whose controls' texts hold the fragment.
  HWND WaitForDialogWith(const std::wstring& fragment) {
    HWND found = nullptr;
    qlrtest::WaitUntil(
        [&] {
          for (HWND window : qlrtest::FindProcessWindows(child.Pid())) {
            wchar_t cls[32] = {};
            GetClassNameW(window, cls, 32);
            if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) continue;
            std::wstring texts;
            EnumChildWindows(window, CollectTextProc, reinterpret_cast<LPARAM>(&texts));
            if (texts.find(fragment) != std::wstring::npos) found = window;
          }
          return found != nullptr;
        },
        kWaitMs, 50);
    return found;
  }

  HWND frame = nullptr;
  HWND text = nullptr;
  HWND tree = nullptr;
};

// The folder browser's title is the command's prompt and a note below it;
// a template language file chosen over an existing one is met by the
// tool's own question (add or make anew), not by the dialog's "replace?".
TEST_F(EditorFileCommandsTest, ChooseFolderAndMakeLngFileAskTheirOwnQuestions) {
  StartOnAlpha();
  PostMessageW(frame, WM_COMMAND, 32833, 0);
  HWND browser = WaitForDialogWith(L"Choose folder with user phrases\nSelect the folder that holds your phrase files");
  ASSERT_NE(browser, nullptr);
  PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !IsWindow(browser); }, kWaitMs));

  const std::wstring lng = dir.File(L"Template.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=De\r\n"));
  PostMessageW(frame, WM_COMMAND, 32823, 0);
  HWND edit = nullptr;
  HWND dialog = WaitForFileDialog(edit);
  ASSERT_NE(dialog, nullptr);
  ChooseInFileDialog(dialog, edit, lng);
  HWND question = WaitForDialogWith(L"Language file already exists.");
  ASSERT_NE(question, nullptr);
  EXPECT_FALSE(IsWindow(dialog)) << "the save dialog asked first";
  PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !IsWindow(question); }, kWaitMs));
  EXPECT_EQ(qlrtest::ReadUtf16File(lng), L"[Main]\r\nLangPrefix=De\r\n") << "cancel leaves the file";
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFileCommandsTest, RecentFolderOpensAfterTheEditedPhraseIsCommitted) {
  const std::wstring other = dir.File(L"Other");
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
  for (const wchar_t* title : {L"One", L"Two", L"Three"})
    ASSERT_TRUE(Write(other + L"\\" + title + L".quillora", title, L"x", 1));
  const std::string oneBytes = qlrtest::ReadBytes(other + L"\\One.quillora");
  SetSetting(L"PrevFoldersCount", L"1");
  SetSetting(L"Prev_Folder1", other);
  StartOnAlpha();
  EXPECT_EQ(TreeCount(), 1);

  // An edit that nothing has saved yet.
  SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"edited, never saved"));
  SendMessageW(text, EM_SETMODIFY, TRUE, 0);
  PostMessageW(frame, WM_COMMAND, kFirstRecentFolder, 0);

  EXPECT_TRUE(qlrtest::WaitUntil([&] { return TreeCount() == 3; }, kWaitMs)) << TreeCount();
  // Written as the settings keep folders beside the program: relative.
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] {
        const std::wstring stored = Setting(L"PhrasesDirectory");
        return stored == other || dir.File(stored) == other;
      },
      kWaitMs))
      << qlrtest::ToUtf8(Setting(L"PhrasesDirectory"));
  CPhraseNode node;
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return ReadPhraseFile(node, PhrasesFolder() + L"\\Alpha.quillora") && node.data == L"edited, never saved"; },
      kWaitMs))
      << qlrtest::ToUtf8(node.data);
  EXPECT_EQ(Exit(frame), 0);
  // The new folder's phrases were only read.
  EXPECT_EQ(qlrtest::ReadBytes(other + L"\\One.quillora"), oneBytes);
}

TEST_F(EditorFileCommandsTest, AFolderThatIsGoneIsRefusedAndReadOnlySettingsStopNothing) {
  const std::wstring other = dir.File(L"Other"), file = dir.File(L"Zfile.txt");
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
  ASSERT_TRUE(Write(other + L"\\One.quillora", L"One", L"x", 1));
  ASSERT_TRUE(Write(other + L"\\Two.quillora", L"Two", L"x", 2));
  ASSERT_TRUE(qlrtest::WriteBytes(file, "a file, no folder"));
  SetSetting(L"PrevFoldersCount", L"2");
  SetSetting(L"Prev_Folder1", other);
  SetSetting(L"Prev_Folder2", file);
  StartOnAlpha();
  // The file is refused: the old tree stays.
  PostMessageW(frame, WM_COMMAND, kFirstRecentFolder + 1, 0);
  EXPECT_TRUE(qlrtest::CloseMessageBox(child.Pid(), file + L" (not found)", kWaitMs));
  EXPECT_EQ(TreeCount(), 1);

  // A settings file that may not be written: the folder opens all the
  // same, and that file is not touched.
  const std::wstring ini = dir.File(L"Settings.ini");
  ASSERT_TRUE(qlrtest::SetUnixWritable(ini, false));
  const std::string iniBytes = qlrtest::ReadBytes(ini);
  PostMessageW(frame, WM_COMMAND, kFirstRecentFolder, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return TreeCount() == 2; }, kWaitMs)) << TreeCount();
  EXPECT_EQ(qlrtest::ReadBytes(ini), iniBytes);
  ASSERT_TRUE(qlrtest::SetUnixWritable(ini, true));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFileCommandsTest, ExportWritesTheNamedFileThroughTheSaveDialog) {
  StartOnAlpha();
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0; }, kWaitMs));
  PostMessageW(frame, WM_COMMAND, kExport, 0);
  const std::wstring target = dir.File(L"exported.txt");
  ASSERT_TRUE(SaveThroughDialog(target));

  const std::wstring expected = L"\uFEFFalpha text";
  const std::string bytes(reinterpret_cast<const char*>(expected.data()), expected.size() * sizeof(wchar_t));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return qlrtest::ReadBytes(target) == bytes; }, kWaitMs))
      << qlrtest::ReadBytes(target).size();
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return IsWindowEnabled(frame); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFileCommandsTest, BackupHoldsTheTextBeingEditedAndIsShownInExplorer) {
  StartOnAlpha();
  SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"edited before the backup"));
  SendMessageW(text, EM_SETMODIFY, TRUE, 0);
  PostMessageW(frame, WM_COMMAND, kBackup, 0);
  const std::wstring archive = dir.File(L"backup.zip");
  ASSERT_TRUE(SaveThroughDialog(archive));
  const std::string request = "open\texplorer.exe\t/select, \"" + qlrtest::ToUtf8(archive) + "\"\r\n";
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log")) == request; },
                                 kWaitMs))
      << qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log"));
  std::vector<ziptest::ReadEntry> entries;
  ASSERT_TRUE(ziptest::ReadArchive(qlrtest::ReadBytes(archive), entries));
  std::string names;
  for (const ziptest::ReadEntry& entry : entries) {
    names += entry.name + "|";
    if (entry.name == "Phrases/Alpha.quillora")
      EXPECT_NE(entry.data.find("<Cmd>edited before the backup</Cmd>"), std::string::npos) << entry.data;
  }
  EXPECT_EQ(names, "Phrases/|Phrases/Alpha.quillora|Settings.ini|");
  EXPECT_EQ(Exit(frame), 0);
}

}  // namespace
