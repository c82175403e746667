// The document hub in-process: notices to views and listeners, the view
// switch between folder list and phrase view, and LastFile bookkeeping.
#include "editor/tests/doc_test_fixture.h"

#include "editor_settings/helpers/ui_helpers.h"

namespace {
using namespace docfix;

TEST_F(DocHubTest, ListenersHearInOrderExceptTheSendersWindow) {
  RecordingListener first(1), second(2), viewsOwn(3, View()->m_hWnd), gone(4);
  for (RecordingListener* l : {&first, &second, &viewsOwn, &gone}) doc->AddListener(l);
  doc->AddListener(&first);  // once is enough
  gone.DestroyOwnWindow();
  doc->UpdateViews(View(), kHintLanguage, 0);
  ASSERT_EQ(g_notices.size(), 2u);
  EXPECT_EQ(g_notices[0].listener, 1);
  EXPECT_EQ(g_notices[1].listener, 2);
  g_notices.clear();
  doc->UpdateViews(nullptr, kHintPreview, 5);
  ASSERT_EQ(g_notices.size(), 3u);
  EXPECT_EQ(g_notices[2].listener, 3);
  EXPECT_EQ(g_notices[2].value, 5);
}

TEST_F(DocHubTest, SelectingCommitsAndPicksTheViewInPlace) {
  RecordingListener listener(1);
  doc->AddListener(&listener);
  const int alpha = IdOf(L"Alpha.quillora"), beta = IdOf(L"Beta.quillora"), sub = IdOf(L"Sub");
  ASSERT_GE(alpha, 0);
  ASSERT_GE(sub, 0);
  EXPECT_EQ(doc->GetViewKind(), kFolderListView);
  const std::string place = ViewRect();
  EXPECT_NE(place, "0,0,0,0");

  doc->SelectRecord(alpha);
  CView* phraseView = View();
  EXPECT_TRUE(phraseView->IsKindOf(RUNTIME_CLASS(CQLRView)));
  EXPECT_EQ(phraseView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(ViewRect(), place);

  // The same record again: committed first, and the view object stays.
  g_notices.clear();
  doc->SelectRecord(alpha);
  ASSERT_GE(g_notices.size(), 2u);
  EXPECT_EQ(g_notices[0].hint, kHintCommit);
  EXPECT_EQ(g_notices[0].value, alpha);
  EXPECT_EQ(g_notices[1].hint, kHintSelect);
  EXPECT_EQ(View(), phraseView);
  doc->SelectRecord(beta);
  EXPECT_EQ(View(), phraseView);

  // A folder after a phrase: the folder list, same place, same id.
  doc->SelectRecord(sub);
  EXPECT_TRUE(View()->IsKindOf(RUNTIME_CLASS(CFolderView)));
  EXPECT_EQ(View()->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(ViewRect(), place);
  EXPECT_EQ(doc->GetCurrentId(), sub);

  // An id no record has: the folder list with nothing in it.
  doc->SelectRecord(alpha);
  doc->SelectRecord(100000);
  EXPECT_EQ(doc->GetViewKind(), kFolderListView);
  EXPECT_EQ(static_cast<CFolderView*>(View())->GetListCtrl().GetItemCount(), 0);
}

TEST_F(DocHubTest, FolderListShowsChildrenAndHidesUncheckedOnRequest) {
  const int sub = IdOf(L"Sub");
  doc->SelectRecord(sub);
  auto* list = static_cast<CFolderView*>(View());
  CListCtrl& ctrl = list->GetListCtrl();
  // A top-level folder has no parent entry.
  ASSERT_EQ(ctrl.GetItemCount(), 2);
  EXPECT_EQ(ctrl.GetItemText(0, 0), CString(L"Off"));
  EXPECT_EQ(ctrl.GetItemState(0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  EXPECT_EQ(ctrl.GetItemState(1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  EXPECT_EQ(list->FindListItemById(static_cast<std::uint32_t>(IdOf(L"Sub\\Gamma.quillora"))), 1);
  EXPECT_EQ(list->FindListItemById(999999), -1);

  // Every refill shows each row's values and nothing of the row that stood
  // there before (selection, focus, box, icon, texts, record).
  const wchar_t* gamma = L"Sub\\Gamma.quillora";
  const wchar_t* off = L"Sub\\Off.quillora";
  auto expectRow = [&](int row, const wchar_t* file, const wchar_t* name, int box) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = row;
    item.stateMask = static_cast<UINT>(-1);
    ASSERT_TRUE(ctrl.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(ctrl.GetItemText(row, 0), CString(name));
    EXPECT_EQ(static_cast<int>(item.lParam), IdOf(file));
    EXPECT_EQ(item.iImage, kImagePlainText);
    EXPECT_EQ(item.state & ~LVIS_STATEIMAGEMASK, 0u) << "row " << row;
    EXPECT_EQ(item.state & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(box));
    EXPECT_EQ(ctrl.GetItemText(row, 2), CString((phrases + L"\\" + file).c_str()));
  };
  for (int row : {0, 1}) ctrl.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  GetEditorSettings().ShowUncheckedPhrases = 0;
  doc->UpdateViews(nullptr, kHintShowUnchecked, 0);
  ASSERT_EQ(ctrl.GetItemCount(), 1);
  expectRow(0, gamma, L"Gamma", 2);
  GetEditorSettings().ShowUncheckedPhrases = 1;
  doc->UpdateViews(nullptr, kHintShowUnchecked, 0);
  ASSERT_EQ(ctrl.GetItemCount(), 2);
  expectRow(0, off, L"Off", 1);
  expectRow(1, gamma, L"Gamma", 2);
  GetEditorSettings().ShowUncheckedPhrases = 0;
  doc->UpdateViews(nullptr, kHintShowUnchecked, 0);
  ASSERT_EQ(ctrl.GetItemCount(), 1);

  // Applying a check change from elsewhere sends no notice of the list's own.
  RecordingListener listener(1);
  doc->AddListener(&listener);
  g_notices.clear();
  CheckChangeSet changes;
  changes.checked = false;
  changes.ids.push_back(static_cast<std::uint32_t>(IdOf(L"Sub\\Gamma.quillora")));
  doc->UpdateViews(nullptr, kHintCheckStates, reinterpret_cast<LPARAM>(&changes));
  EXPECT_EQ(ctrl.GetItemState(0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  EXPECT_EQ(g_notices.size(), 1u);  // only the notice itself

  // The user's own click is told to the document as hint 16.
  g_notices.clear();
  ctrl.SetItemState(0, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  ASSERT_EQ(g_notices.size(), 1u);
  EXPECT_EQ(g_notices[0].hint, kHintCheckStates);
}

TEST_F(DocHubTest, LastFileIsWrittenOnlyOnARealChangeAndAlone) {
  const int alpha = IdOf(L"Alpha.quillora"), beta = IdOf(L"Beta.quillora");
  doc->SelectRecord(alpha);
  EXPECT_EQ(ReadIni(ini, L"Settings_Editor", L"LastFile"), phrases + L"\\Alpha.quillora");

  // The same path in other letters is no change: the file is not touched.
  WritePrivateProfileStringW(L"Settings_Editor", L"LastFile", L"marker", ini.c_str());
  CharUpperW(&GetEditorSettings().lastFile[0]);
  doc->SelectRecord(alpha);
  EXPECT_EQ(ReadIni(ini, L"Settings_Editor", L"LastFile"), L"marker");

  // Another program changed an option meanwhile: it survives the bookkeeping.
  WritePrivateProfileStringW(L"Settings", L"WriteLog", L"3", ini.c_str());
  doc->SelectRecord(beta);
  EXPECT_EQ(ReadIni(ini, L"Settings_Editor", L"LastFile"), phrases + L"\\Beta.quillora");
  EXPECT_EQ(ReadIni(ini, L"Settings", L"WriteLog"), L"3");
  EXPECT_EQ(ReadIni(ini, L"Settings_Editor", L"Preview"), L"");
}

TEST_F(DocHubTest, StartRecordComesFromLastFileWhateverItHolds) {
  struct Case {
    std::wstring lastFile;
    int expectedId;
    int expectedKind;
  };
  const int alpha = IdOf(L"Alpha.quillora"), sub = IdOf(L"Sub");
  const Case cases[] = {
      {phrases + L"\\Sub", sub, kFolderListView},
      {phrases + L"\\ALPHA.quillora", alpha, kPhraseTextView},
      {std::wstring(10000, L'x'), -1, kFolderListView},
      {L"Z:\\elsewhere\\Alpha.quillora", -1, kFolderListView},
      {phrases, -1, kFolderListView},
      {L"", -1, kFolderListView},
  };
  for (const Case& c : cases) {
    doc->SelectRecord(-1);
    GetEditorSettings().lastFile = c.lastFile;
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->GetCurrentId(), c.expectedId) << c.lastFile.substr(0, 80);
    EXPECT_EQ(doc->GetViewKind(), c.expectedKind) << c.lastFile.substr(0, 80);
  }
  // A record that is hidden: the first top-level record instead.
  GetEditorSettings().ShowUncheckedPhrases = 0;
  GetEditorSettings().lastFile = phrases + L"\\Sub\\Off.quillora";
  ASSERT_TRUE(doc->OnNewDocument());
  EXPECT_EQ(doc->GetCurrentId(), static_cast<int>(GetCommandStore().Commands().front().GetId()));
}

TEST_F(DocHubTest, CommandsActOnTheCurrentRecordAndWriteOnlyTheirKey) {
  RecordingListener listener(1);
  doc->AddListener(&listener);
  const int alpha = IdOf(L"Alpha.quillora"), off = IdOf(L"Sub\\Off.quillora");
  doc->SelectRecord(alpha);
  g_notices.clear();
  frame->SendMessage(WM_COMMAND, 32787);  // Paste Formatted Text (RTF)
  EXPECT_EQ(doc->CurrentRecord()->DataType, 1u);
  ASSERT_EQ(g_notices.size(), 1u);
  EXPECT_EQ(g_notices[0].hint, kHintDataType);
  g_notices.clear();
  frame->SendMessage(WM_COMMAND, 32787);  // no change, no notice
  EXPECT_TRUE(g_notices.empty());
  frame->SendMessage(WM_COMMAND, 32803);
  EXPECT_EQ(doc->CurrentRecord()->DataType, 2u);
  // The view had the record saved.
  WaitForPhraseWrites(30000);
  CPhraseNode saved;
  ASSERT_TRUE(ReadPhraseFile(saved, phrases + L"\\Alpha.quillora"));
  EXPECT_EQ(saved.DataType, 2u);

  // Preview: its key alone.
  WritePrivateProfileStringW(L"Settings", L"WriteLog", L"5", ini.c_str());
  const int before = GetEditorSettings().Preview;
  frame->SendMessage(WM_COMMAND, 32841);
  EXPECT_EQ(GetEditorSettings().Preview, before ? 0 : 1);
  EXPECT_EQ(ReadIni(ini, L"Settings_Editor", L"Preview"), before ? L"0" : L"1");

  // Hiding unchecked phrases while an unchecked one is current moves the
  // selection to the first enabled top-level record.
  doc->SelectRecord(off);
  frame->SendMessage(WM_COMMAND, 32815);
  EXPECT_EQ(GetEditorSettings().ShowUncheckedPhrases, 0);
  EXPECT_EQ(ReadIni(ini, L"Settings_Editor", L"ShowUncheckedPhrases"), L"0");
  CQLRCommand* current = doc->CurrentRecord();
  ASSERT_NE(current, nullptr);
  EXPECT_TRUE(current->IsEnabled());
  EXPECT_EQ(ReadIni(ini, L"Settings", L"WriteLog"), L"5");
}

TEST_F(DocHubTest, ReloadKeepsTheCurrentRecordOnItsFile) {
  const int beta = IdOf(L"Beta.quillora");
  doc->SelectRecord(beta);
  // A file earlier in the load order goes: the ids move.
  ASSERT_TRUE(DeleteFileW((phrases + L"\\Alpha.quillora").c_str()));
  doc->ReloadStore();
  CQLRCommand* current = doc->CurrentRecord();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->GetFilePath(), phrases + L"\\Beta.quillora");
  // Gone on disk: nothing current.
  ASSERT_TRUE(DeleteFileW((phrases + L"\\Beta.quillora").c_str()));
  doc->ReloadStore();
  EXPECT_EQ(doc->GetCurrentId(), -1);
}

}  // namespace
