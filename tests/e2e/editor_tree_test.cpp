// The real QuilloraEditor.exe's phrase pane on a prepared phrase folder:
// the tree and caption it shows, how a selection reaches the document, and
// its commands as the phrase files show them.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "phrases/store/phrase_file.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/e2e/editor_session.h"

namespace {

using qlre2e::Describe;
using qlre2e::ReadRemoteTree;
using qlre2e::TreeEntry;

constexpr UINT kTreeId = 1243;
constexpr UINT kHideUnchecked = 32815;
constexpr UINT kRename = 32774;
constexpr UINT kMoveUp = 32831;
constexpr UINT kCut = 57635;
constexpr UINT kPaste = 57637;
constexpr UINT kCheckAll = 32808;
constexpr UINT kDelete = 32773;

// The first visible dialog box of the process answered with its Yes (or
// OK) button.
bool AnswerBox(DWORD pid) {
  return qlrtest::WaitUntil(
      [&] {
        for (HWND window : qlrtest::FindProcessWindows(pid)) {
          wchar_t cls[32] = {};
          GetClassNameW(window, cls, 32);
          if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) continue;
          const int button = GetDlgItem(window, IDYES) ? IDYES : IDOK;
          PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
          return true;
        }
        return false;
      },
      20000);
}

class EditorTreeTest : public qlre2e::EditorSessionTest {
 protected:
  void SetUp() override {
    EditorSessionTest::SetUp();
    CreateDirectoryW((PhrasesFolder() + L"\\Sub").c_str(), nullptr);
    ASSERT_TRUE(Write(L"Alpha.quillora", L"Alpha", L"alpha text", 1, true));
    ASSERT_TRUE(Write(L"Beta.quillora", L"Beta", L"beta text", 2, false));
    ASSERT_TRUE(Write(L"Sub\\Gamma.quillora", L"Gamma", L"gamma text", 1, true));
  }
  bool Write(const std::wstring& file, const std::wstring& title, const std::wstring& text, int sortId,
             bool enabled) {
    return SavePhraseToFile(phrasetest::MakePhrase(title, text, sortId, enabled), PhrasesFolder() + L"\\" + file);
  }
  bool Read(const std::wstring& file, CPhraseNode* node) const {
    return ReadPhraseFile(*node, PhrasesFolder() + L"\\" + file);
  }
  bool Exists(const std::wstring& file) const {
    return GetFileAttributesW((PhrasesFolder() + L"\\" + file).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void StartOn(const std::wstring& lastFile, const std::wstring& args = std::wstring()) {
    SetSetting(L"LastFile", PhrasesFolder() + L"\\" + lastFile, L"Settings_Editor");
    SetSetting(L"ShowUncheckedPhrases", L"1", L"Settings_Editor");
    frame = Start(args);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = FindPane()) != nullptr; }, kWaitMs));
    tree = GetDlgItem(pane, kTreeId);
    ASSERT_NE(tree, nullptr);
  }
  HWND FindPane() const { return qlre2e::FindPhrasePane(frame); }
  std::wstring Caption() const {
    wchar_t text[64] = {};
    GetWindowTextW(pane, text, 64);
    return text;
  }
  bool WaitForCaption(const std::wstring& caption) const {
    return qlrtest::WaitUntil([&] { return Caption() == caption; }, kWaitMs);
  }
  HTREEITEM Item(const std::wstring& text) const { return qlre2e::FindRemoteTreeItem(tree, text); }
  std::wstring LastFile() const { return Setting(L"LastFile", L"Settings_Editor"); }
  // Selected by a message from outside: the tree says "action unknown".
  // Posted, so the tree's notices come from its own thread.
  void SelectFromOutside(const std::wstring& text) {
    HTREEITEM item = Item(text);
    ASSERT_NE(item, nullptr) << text;
    PostMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ASSERT_TRUE(qlrtest::WaitUntil(
        [&] { return SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == reinterpret_cast<LRESULT>(item); },
        kWaitMs));
  }
  void EndLabelEdit(bool cancel) {
    PostMessageW(tree, TVM_ENDEDITLABELNOW, cancel, 0);
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0) == 0; }, kWaitMs));
  }
  void Click(const std::wstring& text) { ASSERT_TRUE(qlre2e::ClickTreeItem(tree, Item(text))) << qlrtest::ToUtf8(text); }
  void Command(UINT id) { PostMessageW(pane, WM_COMMAND, id, 0); }

  HWND frame = nullptr;
  HWND pane = nullptr;
  HWND tree = nullptr;
};

TEST_F(EditorTreeTest, PaneShowsTheTreeAndSelectionDrivesTheDocument) {
  StartOn(L"Alpha.quillora");
  EXPECT_TRUE(WaitForCaption(L"Phrases [3/4]")) << Caption();
  std::vector<TreeEntry> items;
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return Describe(items = ReadRemoteTree(tree)) == L"Alpha:2|Beta:1|Sub:2|>Gamma:2|"; }, kWaitMs))
      << Describe(items);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return LastFile() == PhrasesFolder() + L"\\Alpha.quillora"; }, kWaitMs));

  // A selection made from outside the tree's own input is no user's choice.
  SelectFromOutside(L"Beta");
  // Read while the editor rewrites the file, the key can be missing for a
  // moment: only a file naming another phrase tells that the selection
  // was taken.
  std::wstring seen;
  EXPECT_FALSE(qlrtest::WaitUntil(
      [&] { return !(seen = LastFile()).empty() && seen != PhrasesFolder() + L"\\Alpha.quillora"; }, 1500))
      << qlrtest::ToUtf8(seen);

  // A click selects at once, the keyboard after a pause.
  Click(L"Sub");
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return LastFile() == PhrasesFolder() + L"\\Sub"; }, kWaitMs)) << LastFile();
  const DWORD sent = GetTickCount();
  PostMessageW(tree, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(tree, WM_KEYUP, VK_UP, 0xC0000001);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return LastFile() == PhrasesFolder() + L"\\Beta.quillora"; }, kWaitMs))
      << LastFile();
  EXPECT_GE(GetTickCount() - sent, 300u);

  // The filter button writes the setting; the counts stay.
  Command(kHideUnchecked);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Setting(L"ShowUncheckedPhrases", L"Settings_Editor") == L"0"; }, 1000));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Item(L"Beta") == nullptr; }, kWaitMs));
  EXPECT_EQ(Caption(), L"Phrases [3/4]");
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorTreeTest, AddFromClipboardOnFirstStartAndOnAHandedOverStart) {
  ASSERT_TRUE(qlrtest::PutClipboardText(L"Hello from clipboard\r\nsecond line"));
  StartOn(L"Alpha.quillora", L"/addfromcb");
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Exists(L"Hello_from_clipboard.quillora"); }, 5000));
  EXPECT_TRUE(WaitForCaption(L"Phrases [4/5]")) << Caption();
  CPhraseNode node;
  ASSERT_TRUE(Read(L"Hello_from_clipboard.quillora", &node));
  EXPECT_EQ(node.GetCaption(), L"Hello from clipboard");
  EXPECT_EQ(node.DataType, 0u);
  EXPECT_NE(node.data.find(L"second line"), std::wstring::npos);
  // The label editor of the new phrase is open; it is closed unchanged.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0) != 0; }, kWaitMs));
  EndLabelEdit(true);

  ASSERT_TRUE(qlrtest::PutClipboardText(L"  Handed over  "));
  ASSERT_TRUE(second.Start(dir.File(L"QuilloraEditor.exe"), L"/addfromcb"));
  EXPECT_EQ(second.Wait(kWaitMs), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Exists(L"Handed_over.quillora"); }, 5000));
  EXPECT_TRUE(WaitForCaption(L"Phrases [5/6]")) << Caption();
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorTreeTest, CommandsReachThePhraseFiles) {
  ASSERT_TRUE(Write(L"Sub\\Delta.quillora", L"Delta", L"delta text", 2, false));
  StartOn(L"Beta.quillora");
  ASSERT_TRUE(WaitForCaption(L"Phrases [3/5]")) << Caption();

  // Move Up: Beta goes before Alpha, both files get new sort ids.
  SelectFromOutside(L"Beta");
  Command(kMoveUp);
  CPhraseNode alpha, beta;
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return Read(L"Alpha.quillora", &alpha) && Read(L"Beta.quillora", &beta) && beta.sortId < alpha.sortId; },
      kWaitMs));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Describe(ReadRemoteTree(tree)).rfind(L"Beta:1|Alpha:2|", 0) == 0; },
                                 kWaitMs))
      << Describe(ReadRemoteTree(tree));

  // Check All reaches the disabled phrase of a folder that shows checked.
  Command(kCheckAll);
  CPhraseNode delta;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Read(L"Sub\\Delta.quillora", &delta) && delta.IsEnabled(); }, kWaitMs));
  EXPECT_TRUE(WaitForCaption(L"Phrases [5/5]")) << Caption();

  // Rename through the label editor: the file follows, the title is kept.
  SelectFromOutside(L"Alpha");
  Command(kRename);
  HWND edit = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return (edit = reinterpret_cast<HWND>(SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0))) != nullptr; },
      kWaitMs));
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Omega"));
  EndLabelEdit(false);
  CPhraseNode omega;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Read(L"Omega.quillora", &omega) && omega.GetUseTitleOnly(); }, kWaitMs));

  EXPECT_FALSE(Exists(L"Alpha.quillora"));
  EXPECT_EQ(omega.GetCaption(), L"Omega");

  // Cut and paste into Sub moves the file; the open phrase keeps its own.
  const std::string betaBytes = qlrtest::ReadBytes(PhrasesFolder() + L"\\Beta.quillora");
  SelectFromOutside(L"Omega");
  Command(kCut);
  SelectFromOutside(L"Sub");
  Command(kPaste);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Exists(L"Sub\\Omega.quillora") && !Exists(L"Omega.quillora"); },
                                 kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
  EXPECT_EQ(qlrtest::ReadBytes(PhrasesFolder() + L"\\Beta.quillora"), betaBytes);
}

TEST_F(EditorTreeTest, SpaceUnchecksAPhraseAndDeleteTakesTheLastItemOfAFolder) {
  StartOn(L"Sub");
  ASSERT_TRUE(WaitForCaption(L"Phrases [3/4]")) << Caption();
  // The folder list's box of Gamma cleared: the tree follows, Sub too.
  HWND list = nullptr;
  std::wstring listed;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] {
        list = qlre2e::FindFolderList(frame);
        listed = list ? qlre2e::JoinTexts(qlre2e::ReadRemoteList(list)) : L"(none)";
        return listed == L"Gamma|";
      },
      kWaitMs))
      << listed;
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  qlre2e::RemoteBuffer state(pid, sizeof(LVITEMW));
  LVITEMW lv = {};
  lv.stateMask = LVIS_STATEIMAGEMASK;
  lv.state = INDEXTOSTATEIMAGEMASK(1);
  ASSERT_TRUE(state.Write(&lv, sizeof(lv)));
  PostMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(state.Address()));
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return Describe(ReadRemoteTree(tree)) == L"Alpha:2|Beta:1|Sub:1|>Gamma:1|"; }, kWaitMs))
      << Describe(ReadRemoteTree(tree));
  EXPECT_TRUE(WaitForCaption(L"Phrases [1/4]")) << Caption();

  SelectFromOutside(L"Alpha");
  PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(tree, WM_CHAR, L' ', 0x00390001);
  PostMessageW(tree, WM_KEYUP, VK_SPACE, 0xC0390001);
  CPhraseNode alpha;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Read(L"Alpha.quillora", &alpha) && !alpha.IsEnabled(); }, kWaitMs));
  EXPECT_TRUE(WaitForCaption(L"Phrases [0/4]")) << Caption();

  // The last item of Sub goes; the folder is kept, the caption follows.
  SelectFromOutside(L"Gamma");
  Command(kDelete);
  EXPECT_TRUE(AnswerBox(child.Pid()));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !Exists(L"Sub\\Gamma.quillora"); }, kWaitMs));
  EXPECT_TRUE(WaitForCaption(L"Phrases [0/3]")) << Caption();
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Item(L"Gamma") == nullptr && Item(L"Sub") != nullptr; }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

}  // namespace
