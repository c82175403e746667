// The phrase pane and the frame driven as a user drives them, on the real
// windows with the editor's own resources, against a model of the phrase
// folder (pane_model.h): a seeded sequence of 300 commands. A failure
// names the seed and every step; bench_editor_pane_model runs longer ones.
#include <gtest/gtest.h>

#include "editor/frame/write_failure_notice.h"
#include "editor/services/phrase_import.h"
#include "editor/tests/pane_model.h"
#include "editor/tree/phrase_tree_ctrl.h"

namespace {

TEST(PhrasePaneModelTest, NoCommandLosesAnEditOrWritesItIntoAnotherPhrase) {
  constexpr unsigned kSeed = 20261209;
  panemodel::Editor editor;
  ASSERT_TRUE(editor.Ready());
  panemodel::Run run(editor, kSeed);
  const std::string failure = run.Go(300);
  EXPECT_TRUE(failure.empty()) << "seed " << kSeed << ": " << failure << "\nsteps:\n" << run.Steps();
}

// Messages another process may post carry nothing the editor reads, and
// without its phrase folder the editor writes no phrase anywhere.
TEST(PhrasePaneModelTest, ForeignMessagesAndAMissingFolder) {
  panemodel::Editor editor;
  ASSERT_TRUE(editor.Ready());
  panemodel::BoxAnswerer boxes(GetCurrentThreadId());
  CPhrasePane& pane = editor.frame->m_wndPhrases;
  const LPARAM bogus = 0x7FFF1230;
  editor.frame->PostMessage(kPhraseWriteFailedMessage, 5, bogus);
  pane.PostMessage(GetPaneContextMenuMessage(), 0, bogus);
  pane.Tree().PostMessage(GetTreeCheckMessage(), 0, bogus);
  panemodel::Pump();
  EXPECT_TRUE(IsWindow(editor.frame->m_hWnd));
  EXPECT_TRUE(boxes.Take().empty());

  // The folder goes away behind the editor's back.
  const std::wstring moved = editor.root + L" gone";
  ASSERT_TRUE(MoveFileW(editor.root.c_str(), moved.c_str()));
  pane.Tree().SelectItem(nullptr);
  pane.SendMessage(WM_COMMAND, ID_PHRASE_ADD_TEXT, 0);
  const std::vector<std::wstring> shown = boxes.Take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find(editor.root), std::wstring::npos) << qlrtest::ToUtf8(shown[0]);
  EXPECT_EQ(GetCommandStore().AddCommand(L"Lost", L"text", 0, kRootId), kRootId);
  const std::wstring source = editor.dir.File(L"import.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(source, "imported"));
  EXPECT_EQ(ImportPhraseFile(GetCommandStore(), source), kRootId);
  EXPECT_EQ(GetFileAttributesW(editor.root.c_str()), INVALID_FILE_ATTRIBUTES);
  for (const wchar_t* name : {L"\\Lost.quillora", L"\\import.quillora"})
    EXPECT_EQ(GetFileAttributesW(name), INVALID_FILE_ATTRIBUTES) << qlrtest::ToUtf8(name);
  ASSERT_TRUE(MoveFileW(moved.c_str(), editor.root.c_str()));
}

}  // namespace
