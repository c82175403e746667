// The real QuilloraEditor.exe on a prepared phrase folder: the record it
// starts on, the folder list, and the document's commands as their files
// and events show them.
#include <gtest/gtest.h>

#include <windows.h>

#include "phrases/store/phrase_file.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/e2e/editor_session.h"

namespace {

using qlre2e::IsEventSet;
using qlre2e::RemoteListItem;

constexpr UINT kUseTitleOnly = 32830;
constexpr UINT kSeparatorBefore = 32843;
constexpr UINT kSeparatorAfter = 32844;
constexpr UINT kRenameFile = 32816;
constexpr UINT kReread = 32800;
constexpr UINT kTestRun = 32804;

class EditorDocumentTest : public qlre2e::EditorSessionTest {
 protected:
  void SetUp() override {
    EditorSessionTest::SetUp();
    const std::wstring p = PhrasesFolder();
    CreateDirectoryW((p + L"\\Sub").c_str(), nullptr);
    CreateDirectoryW((p + L"\\Sub\\Inner").c_str(), nullptr);
    ASSERT_TRUE(Write(L"Alpha.quillora", L"Alpha", L"alpha text", 1));
    ASSERT_TRUE(Write(L"Beta.quillora", L"Beta", L"beta text", 2));
    ASSERT_TRUE(Write(L"Sub\\Inner\\Shown.quillora", L"Shown", L"s", 1));
    ASSERT_TRUE(Write(L"Sub\\Inner\\Hidden.quillora", L"Hidden", L"h", 2, false));
  }
  bool Write(const std::wstring& file, const std::wstring& title, const std::wstring& text, int sortId,
             bool enabled = true, std::uint32_t dataType = 0) {
    CPhraseNode node = phrasetest::MakePhrase(title, text, sortId, enabled);
    node.DataType = dataType;
    return SavePhraseToFile(node, PhrasesFolder() + L"\\" + file);
  }
  bool Read(const std::wstring& file, CPhraseNode* node) const {
    return ReadPhraseFile(*node, PhrasesFolder() + L"\\" + file);
  }
  void StartOn(const std::wstring& lastFile, const std::wstring& args = std::wstring()) {
    SetSetting(L"LastFile", lastFile, L"Settings_Editor");
    frame = Start(args);
    ASSERT_NE(frame, nullptr);
  }
  std::vector<RemoteListItem> ListItems() const {
    HWND list = qlre2e::FindFolderList(frame);
    return list ? qlre2e::ReadRemoteList(list) : std::vector<RemoteListItem>();
  }
  void DoubleClick(const RemoteListItem& item) {
    HWND list = qlre2e::FindFolderList(frame);
    const int x = (item.rect.left + item.rect.right) / 2, y = (item.rect.top + item.rect.bottom) / 2;
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
  }
  bool WaitForLastFile(const std::wstring& path) const {
    return qlrtest::WaitUntil([&] { return Setting(L"LastFile", L"Settings_Editor") == path; }, kWaitMs);
  }
  HWND frame = nullptr;
};

TEST_F(EditorDocumentTest, LastFolderIsListedWithItsParentEntry) {
  for (int show : {1, 0}) {
    SetSetting(L"ShowUncheckedPhrases", std::to_wstring(show), L"Settings_Editor");
    StartOn(PhrasesFolder() + L"\\Sub\\Inner");
    std::vector<RemoteListItem> items;
    const std::wstring expected = show ? L"...|Shown|Hidden|" : L"...|Shown|";
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return qlre2e::JoinTexts(items = ListItems()) == expected; }, kWaitMs))
        << qlre2e::JoinTexts(items);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].stateImage, 0u);  // the parent entry has no box
    EXPECT_EQ(items[1].stateImage, 2u);
    if (show) {
      ASSERT_EQ(items.size(), 3u);
      EXPECT_EQ(items[2].stateImage, 1u);
      // A double-click on "..." goes up to the folder above.
      DoubleClick(items[0]);
      EXPECT_TRUE(WaitForLastFile(PhrasesFolder() + L"\\Sub"));
      EXPECT_TRUE(qlrtest::WaitUntil([&] { return qlre2e::JoinTexts(ListItems()) == L"Inner|"; }, kWaitMs));
    }
    EXPECT_EQ(Exit(frame), 0);
  }
}

TEST_F(EditorDocumentTest, MenuFlagsReachTheFileAndTheNoticeFollows) {
  UniqueHandle coop(CreateEventW(nullptr, TRUE, FALSE, qlre2e::kCoopClientEditorEvent));
  StartOn(PhrasesFolder() + L"\\Alpha.quillora");
  const DWORD sent = GetTickCount();
  PostMessageW(frame, WM_COMMAND, kUseTitleOnly, 0);
  CPhraseNode node;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Read(L"Alpha.quillora", &node) && node.GetUseTitleOnly(); }, 1000));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return IsEventSet(coop.Get()); }, kWaitMs));
  const DWORD after = GetTickCount() - sent;
  EXPECT_GE(after, 1900u);
  EXPECT_LE(after, 4500u);

  PostMessageW(frame, WM_COMMAND, kSeparatorBefore, 0);
  PostMessageW(frame, WM_COMMAND, kSeparatorAfter, 0);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return Read(L"Alpha.quillora", &node) && node.IsSeparatorBefore() && node.IsSeparatorAfter(); },
      kWaitMs));
  EXPECT_TRUE(node.GetUseTitleOnly());
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorDocumentTest, RenameFileNeverTakesAnotherPhrasesFile) {
  // Alpha's file is renamed after its title, which Beta's file already has.
  ASSERT_TRUE(Write(L"Alpha.quillora", L"Beta", L"alpha text", 1));
  const std::string betaBytes = qlrtest::ReadBytes(PhrasesFolder() + L"\\Beta.quillora");
  StartOn(PhrasesFolder() + L"\\Alpha.quillora");
  PostMessageW(frame, WM_COMMAND, kRenameFile, 0);
  EXPECT_TRUE(WaitForLastFile(PhrasesFolder() + L"\\Beta_1.quillora"));
  EXPECT_EQ(GetFileAttributesW((PhrasesFolder() + L"\\Alpha.quillora").c_str()), INVALID_FILE_ATTRIBUTES);
  // The record follows its own file: a later save goes there.
  PostMessageW(frame, WM_COMMAND, kUseTitleOnly, 0);
  CPhraseNode node;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Read(L"Beta_1.quillora", &node) && node.GetUseTitleOnly(); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
  EXPECT_EQ(qlrtest::ReadBytes(PhrasesFolder() + L"\\Beta.quillora"), betaBytes);
}

TEST_F(EditorDocumentTest, RereadKeepsTheCurrentRecordOnItsFile) {
  StartOn(PhrasesFolder() + L"\\Beta.quillora");
  ASSERT_TRUE(DeleteFileW((PhrasesFolder() + L"\\Alpha.quillora").c_str()));
  PostMessageW(frame, WM_COMMAND, kReread, 0);
  PostMessageW(frame, WM_COMMAND, kUseTitleOnly, 0);
  CPhraseNode node;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Read(L"Beta.quillora", &node) && node.GetUseTitleOnly(); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
  EXPECT_EQ(GetFileAttributesW((PhrasesFolder() + L"\\Alpha.quillora").c_str()), INVALID_FILE_ATTRIBUTES);
  CPhraseNode shown;
  ASSERT_TRUE(Read(L"Sub\\Inner\\Shown.quillora", &shown));
  EXPECT_FALSE(shown.GetUseTitleOnly());
}

TEST_F(EditorDocumentTest, SelectedTextBecomesAPhraseOrTheUserHearsWhy) {
  const std::wstring made = PhrasesFolder() + L"\\Selected_words_here.quillora";
  {
    // No settings area: a box, and nothing is written.
    StartOn(L"", L"/addseltext");
    EXPECT_TRUE(qlrtest::CloseMessageBox(child.Pid(), L"Selected text for new phrase not found", kWaitMs));
    EXPECT_EQ(Exit(frame), 0);
    EXPECT_EQ(GetFileAttributesW(made.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  const std::string record =
      "<?xml version=\"1.0\" ?>\r\n<QuilloraSettings HotKey_Key=\"81\" HotKey_Mod=\"3\" Double=\"0\">"
      "<SelText>Selected words here</SelText></QuilloraSettings>";
  UniqueHandle area(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024,
                                       L"Local\\$QUILLORA_SETTING_AREA$"));
  ASSERT_TRUE(area);
  void* view = MapViewOfFile(area.Get(), FILE_MAP_WRITE, 0, 0, 0);
  ASSERT_NE(view, nullptr);
  memcpy(view, record.c_str(), record.size() + 1);
  UnmapViewOfFile(view);
  StartOn(L"", L"/addseltext");
  CPhraseNode node;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return ReadPhraseFile(node, made); }, kWaitMs));
  EXPECT_EQ(node.data, L"Selected words here");
  EXPECT_TRUE(WaitForLastFile(made));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorDocumentTest, TestRunStartsTheCommandAndShowsItsBox) {
  ASSERT_TRUE(Write(L"Run.quillora", L"Run", qlrtest::BinDir() + L"\\%CLIPBOARD_TEXT%", 3, true, 2));
  const std::wstring marker = dir.File(L"marker.txt");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", marker.c_str());
  ASSERT_TRUE(qlrtest::PutClipboardText(L"helper_write_marker.exe"));
  StartOn(PhrasesFolder() + L"\\Run.quillora");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", nullptr);
  PostMessageW(frame, WM_COMMAND, kTestRun, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                 kWaitMs));
  // The box of the command worker, owned by the frame.
  HWND box = nullptr;
  bool closed = qlrtest::WaitUntil(
      [&] {
        for (HWND window : qlrtest::FindProcessWindows(child.Pid())) {
          wchar_t body[2048] = {};
          GetDlgItemTextW(window, 0xFFFF, body, 2048);
          if (wcsstr(body, (L"\n\nCommand: " + qlrtest::BinFile(L"helper_write_marker.exe")).c_str()) &&
              wcsstr(body, L"\n\nSource Command: ")) {
            box = window;
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            return true;
          }
        }
        return false;
      },
      kWaitMs);
  EXPECT_TRUE(closed);
  // The box disabled its owner while it was up.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(frame); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorDocumentTest, SelectionsKeepOptionsWrittenMeanwhile) {
  StartOn(PhrasesFolder() + L"\\Sub\\Inner");
  // Another program writes an option while the editor runs.
  SetSetting(L"WriteLog", L"0");
  SetSetting(L"ClipboardHistoryMax", L"77");
  std::vector<RemoteListItem> items;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !(items = ListItems()).empty() && items[0].text == L"..."; },
                                 kWaitMs));
  DoubleClick(items[0]);  // up to Sub
  ASSERT_TRUE(WaitForLastFile(PhrasesFolder() + L"\\Sub"));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !(items = ListItems()).empty() && items[0].text == L"Inner"; },
                                 kWaitMs));
  DoubleClick(items[0]);  // down to Inner
  ASSERT_TRUE(WaitForLastFile(PhrasesFolder() + L"\\Sub\\Inner"));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (items = ListItems()).size() > 1 && items[1].text == L"Shown"; },
                                 kWaitMs));
  DoubleClick(items[1]);  // the phrase
  ASSERT_TRUE(WaitForLastFile(PhrasesFolder() + L"\\Sub\\Inner\\Shown.quillora"));
  EXPECT_EQ(Setting(L"WriteLog"), L"0");
  EXPECT_EQ(Setting(L"ClipboardHistoryMax"), L"77");
  EXPECT_EQ(Exit(frame), 0);
}

}  // namespace
