// The phrase pane and the frame driven as a user drives them, on the real
// windows with the editor's own resources, against a model of the phrase
// folder (pane_model.h): a seeded sequence of 300 commands. A failure
// names the seed and every step; bench_editor_pane_model runs longer ones.
#include <gtest/gtest.h>

#include "editor/frame/write_failure_notice.h"
#include "editor/services/phrase_import.h"
#include "editor/tests/pane_model.h"
#include "editor/tree/phrase_tree_ctrl.h"
#include "foundation/localization/language_files.h"
#include "platform/mfc/window/cmd_ui.h"

namespace {

// A run fails with its seed; "--seed=N" runs that sequence again.
TEST(PhrasePaneModelTest, NoCommandLosesAnEditOrWritesItIntoAnotherPhrase) {
  const unsigned seed = panemodel::ChosenSeed();
  panemodel::Editor editor;
  ASSERT_TRUE(editor.Ready());
  panemodel::Run run(editor, seed);
  const std::string failure = run.Go(300);
  EXPECT_TRUE(failure.empty()) << "seed " << seed << ": " << failure << "\nsteps:\n" << run.Steps();
}

// The one phrase of a folder with nothing else in it, open and edited,
// deleted: no other record takes the document, and nothing of the phrase
// stays shown; then the same for new phrases, and every command of the
// random run once on a folder this small.
TEST(PhrasePaneModelTest, TheOnlyPhraseDeletedWhileOpenLeavesNothingToTypeInto) {
  using R = panemodel::Run;
  panemodel::Editor editor(true);
  ASSERT_TRUE(editor.Ready());
  panemodel::Run run(editor, 1);
  const std::string failure = run.Go(std::vector<R::Kind>{
      R::kClick, R::kEdit, R::kDeleteOpen, R::kEdit, R::kAddPhrase, R::kEdit, R::kDeleteOpen, R::kAddGroup,
      R::kAddPhrase, R::kEdit, R::kDeleteOpen, R::kChooseFolder, R::kImport, R::kEdit, R::kCheckBox, R::kHideUnchecked,
      R::kImport, R::kMoveUpDown, R::kMoveUpDown, R::kRenameFile, R::kEdit, R::kSave, R::kReread, R::kDeleteOpen});
  EXPECT_TRUE(failure.empty()) << failure << "\nsteps:\n" << run.Steps();
}

// The open, edited phrase deleted in every place it can have: first or
// last of its level, inside a group, alone in a nested group, or with a
// group that holds it. Whatever takes the document then, nothing of the
// deleted phrase stays shown, takes an edit or comes back on disk.
TEST(PhrasePaneModelTest, TheOpenPhraseDeletedAnywhereLeavesNothingToTypeInto) {
  struct Case {
    panemodel::Path phrase;
    size_t groupsUp;
  };
  const Case cases[] = {
      {{L"Alpha"}, 0}, {{L"Beta"}, 0}, {{L"Sub", L"Gamma"}, 0}, {{L"Sub", L"Deep", L"Delta"}, 0},
      {{L"Sub", L"Gamma"}, 1}, {{L"Sub", L"Deep", L"Delta"}, 1}, {{L"Sub", L"Deep", L"Delta"}, 2},
  };
  for (const Case& c : cases) {
    panemodel::Editor editor;
    ASSERT_TRUE(editor.Ready());
    panemodel::Run run(editor, 1);
    const std::string failure = run.DeleteOpenPhrase(c.phrase, c.groupsUp);
    EXPECT_TRUE(failure.empty()) << panemodel::Show(c.phrase) << " up " << c.groupsUp << ": " << failure
                                 << "\nsteps:\n" << run.Steps();
  }
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

// What the pane shows beside the tree follows the settings, the language
// and the paste on offer.
TEST(PhrasePaneModelTest, FontButtonTextsAndPasteTarget) {
  // Made under another language: the Delete button says what the
  // localised menu says.
  qlrtest::TempDir languages;
  const std::wstring language = languages.File(L"Fi.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(language, L"[Main]\r\nLangPrefix=Fi\r\n[Menu_Editor]\r\nDelete=Poista\r\n"));
  SetCurrentLanguage(language);
  panemodel::Editor editor;
  ASSERT_TRUE(editor.Ready());
  CPhrasePane& pane = editor.frame->m_wndPhrases;
  CPhraseTreeCtrl& tree = pane.Tree();
  HWND bar = GetDlgItem(pane.m_hWnd, CPhrasePane::kToolBarId);
  ASSERT_NE(bar, nullptr);
  wchar_t text[64] = {};
  SendMessageW(bar, TB_GETBUTTONTEXTW, ID_PHRASE_DELETE, reinterpret_cast<LPARAM>(text));
  SetCurrentLanguage(L"");
  EXPECT_STREQ(text, L"Poista");

  // Hint 19: the tree draws with the menu font of the settings.
  LOGFONTW& font = GetEditorSettings().fontForMenu;
  font = LOGFONTW{};
  font.lfHeight = -23;
  wcscpy_s(font.lfFaceName, L"Courier New");
  UpdateDocViews(nullptr, kHintMenuFont, 0);
  LOGFONTW used = {};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(tree.SendMessage(WM_GETFONT)), sizeof(used), &used));
  EXPECT_STREQ(used.lfFaceName, L"Courier New");
  EXPECT_EQ(used.lfHeight, -23);

  // Hint 4: the buttons take their commands' texts from the main menu.
  HMENU menu = GetMenu(editor.frame->m_hWnd);
  ASSERT_TRUE(ModifyMenuW(menu, ID_PHRASE_DELETE, MF_BYCOMMAND | MF_STRING, ID_PHRASE_DELETE, L"&Remove\tDel"));
  UpdateDocViews(nullptr, kHintLanguage, 0);
  SendMessageW(bar, TB_GETBUTTONTEXTW, ID_PHRASE_DELETE, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Remove");

  // A cut phrase offered for pasting: the status bar says where it goes.
  CQLRCommand* alpha = GetCommandStore().FindByPath((editor.root + L"\\Alpha.quillora").c_str());
  CQLRCommand* sub = GetCommandStore().FindByPath((editor.root + L"\\Sub").c_str());
  ASSERT_TRUE(alpha && sub);
  tree.SelectItem(tree.FindItemById(alpha->GetId()));
  pane.SendMessage(WM_COMMAND, ID_EDIT_CUT, 0);
  tree.SelectItem(tree.FindItemById(sub->GetId()));
  CTestCmdUI paste;
  paste.m_nID = ID_EDIT_PASTE;
  paste.DoUpdate(&pane, FALSE);
  EXPECT_TRUE(paste.m_bEnabled);
  EXPECT_EQ(std::wstring(editor.frame->m_wndStatusBar.GetPaneText(0).GetString()), L"move to [Sub]");
}

}  // namespace
