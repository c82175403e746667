// The folder list shown again after a phrase, against a list made anew:
// a seeded random walk of selections, changes to the phrase folder, the
// language, the settings and the user's own fiddling with the list, with
// the shown list compared after every step that fills it.
#include "editor/tests/doc_test_fixture.h"
#include "editor/tests/list_description.h"

#include "editor/app/editor_ids.h"

#include <commctrl.h>

#include <random>
#include <sstream>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"

namespace {
using namespace docfix;

class FolderListReturnTest : public DocHubTest {
 protected:
  void SetUp() override {
    DocHubTest::SetUp();
    if (HasFatalFailure()) return;
    // A folder taller and wider than the pane, so it scrolls both ways, and
    // a folder two levels down, with a parent entry.
    CreateDirectoryW((phrases + L"\\Many").c_str(), nullptr);
    for (int i = 0; i < 40; ++i) {
      const std::wstring name = L"A rather long phrase name to make the list wide " + std::to_wstring(i);
      ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(name, L"many", i, i % 3 != 0),
                                   phrases + L"\\Many\\M" + std::to_wstring(i) + L".quillora"));
    }
    CreateDirectoryW((phrases + L"\\Sub\\Deep").c_str(), nullptr);
    for (int i = 0; i < 3; ++i)
      ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"Deep " + std::to_wstring(i), L"d", i),
                                   phrases + L"\\Sub\\Deep\\D" + std::to_wstring(i) + L".quillora"));
    for (const wchar_t* name : {L"Fi.lng", L"Long.lng"}) languages.push_back(dir.File(name));
    ASSERT_TRUE(qlrtest::WriteUtf16File(
        languages[0], L"[Main]\r\nLangPrefix=Fi\r\n[Strings_Editor]\r\n61207=Fraasit\r\n170=Kaytto\r\n198=Polku\r\n"));
    ASSERT_TRUE(qlrtest::WriteUtf16File(languages[1],
                                        L"[Main]\r\nLangPrefix=Lo\r\n[Strings_Editor]\r\n61207=The phrases of "
                                        L"this folder, every one\r\n170=How often each was pasted so far\r\n"));
    doc->ReloadStore();
    // The settings pane out of the way: room for the list, though less than
    // its columns want.
    frame->SendMessage(WM_COMMAND, ID_VIEW_SETTINGS);
    frame->MoveWindow(10, 10, 1000, 500);
    frame->RecalcLayout();
    CRect pane;
    GetClientRect(View()->m_hWnd, &pane);
    ASSERT_GT(pane.Width(), 200);
    ASSERT_LT(pane.Width(), 700);
  }
  void TearDown() override {
    WaitForPhraseWrites(30000);
    SetCurrentLanguage(L"");
    DocHubTest::TearDown();
  }

  struct Records {
    std::vector<int> phraseIds, folderIds;
    std::vector<std::wstring> phraseFiles, folders;
  };
  static int Collect(CQLRCommand* record, void* context, CQLRCommand*) {
    Records& records = *static_cast<Records*>(context);
    if (record->IsFolder()) {
      records.folderIds.push_back(static_cast<int>(record->GetId()));
      records.folders.push_back(record->GetFilePath());
    } else {
      records.phraseIds.push_back(static_cast<int>(record->GetId()));
      records.phraseFiles.push_back(record->GetFilePath());
    }
    return 1;
  }
  Records Walk() {
    Records records;
    GetCommandStore().ForEach(&FolderListReturnTest::Collect, &records);
    return records;
  }

  std::string DescribeNewList() { return DescribeNewFolderList(doc, frame, View()->m_hWnd); }

  // The folder lists beside the shown view: hidden, out of the document,
  // never active, never focused, never the pane.
  void ExpectHiddenListsStayOutOfTheWay(const std::string& where) {
    ASSERT_EQ(doc->GetFirstViewPosition() ? 1 : 0, 1) << where;
    POSITION pos = doc->GetFirstViewPosition();
    doc->GetNextView(pos);
    EXPECT_EQ(pos, nullptr) << where << ": the document holds more than one view";
    EXPECT_EQ(frame->GetActiveView(), View()) << where;
    EXPECT_EQ(GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST), View()->m_hWnd) << where;
    // The frame itself stays hidden here: the views' own visibility counts.
    auto shown = [](HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_TRUE(shown(View()->m_hWnd)) << where;
    int hidden = 0;
    for (HWND child = GetWindow(frame->m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      CWnd* object = CWnd::FromHandlePermanent(child);
      if (!object || object == View() || !object->IsKindOf(RUNTIME_CLASS(CFolderView))) continue;
      ++hidden;
      auto* list = static_cast<CFolderView*>(object);
      EXPECT_FALSE(shown(child)) << where;
      EXPECT_NE(GetDlgCtrlID(child), AFX_IDW_PANE_FIRST) << where;
      EXPECT_EQ(list->GetDocument(), nullptr) << where;
      HWND focus = GetFocus();
      EXPECT_FALSE(focus && (focus == child || IsChild(child, focus))) << where;
    }
    EXPECT_LE(hidden, 1) << where << ": folder lists pile up";
  }

  std::vector<std::wstring> languages;
};

TEST_F(FolderListReturnTest, FolderListBackFromAPhraseShowsWhatANewListWould) {
  // Scrolled only sideways or only down, then away to a phrase and back.
  const int many = IdOf(L"Many"), alpha = IdOf(L"Alpha.quillora");
  ASSERT_GE(many, 0);
  ASSERT_GE(alpha, 0);
  // A pane narrower than the list's first two columns.
  frame->MoveWindow(10, 10, 850, 500);
  frame->RecalcLayout();
  for (const bool down : {false, true}) {
    doc->SelectRecord(many);
    HWND list = View()->m_hWnd;
    if (down) SendMessageW(list, LVM_ENSUREVISIBLE, 39, FALSE);
    else SendMessageW(list, LVM_SCROLL, 200, 0);
    ASSERT_GT(down ? SendMessageW(list, LVM_GETTOPINDEX, 0, 0) : GetScrollPos(list, SB_HORZ), 0);
    doc->SelectRecord(alpha);
    doc->SelectRecord(many);
    ASSERT_EQ(View()->m_hWnd, list);
    ASSERT_EQ(Differences(DescribeList(list), DescribeNewList()), "") << (down ? "down" : "sideways");
  }

  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 random(seed);
    auto pick = [&](size_t n) { return static_cast<size_t>(std::uniform_int_distribution<size_t>(0, n - 1)(random)); };
    int made = 0;
    HWND lastList = nullptr;
    bool cameBack = false;
    for (int step = 0; step < 70; ++step) {
      Records records = Walk();
      const bool listShown = doc->GetViewKind() == kFolderListView;
      std::string action;
      bool fills = true;
      switch (pick(11)) {
        case 0:
        case 1:
          if (records.phraseIds.empty()) continue;
          action = "select a phrase";
          doc->SelectRecord(records.phraseIds[pick(records.phraseIds.size())]);
          break;
        case 2:
        case 3:
          // Half the time the folder that is too tall and too wide for the pane.
          action = "select a folder";
          doc->SelectRecord(pick(2) && IdOf(L"Many") >= 0 ? IdOf(L"Many")
                                                          : records.folderIds[pick(records.folderIds.size())]);
          break;
        case 4:
          action = pick(2) ? "select no record" : "select the current record again";
          doc->SelectRecord(action == "select no record" ? 100000 : doc->GetCurrentId());
          break;
        case 5: {
          // The user's own marks on the shown list, which a list shown
          // anew does not keep.
          fills = false;
          action = "fiddle with the list";
          if (!listShown) break;
          CListCtrl& list = static_cast<CFolderView*>(View())->GetListCtrl();
          const int count = list.GetItemCount();
          for (int i = 0; i < count; ++i)
            if (pick(3) == 0) list.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
          if (count > 0 && pick(2)) list.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
          if (pick(3)) list.SendMessage(LVM_SCROLL, static_cast<WPARAM>(40 + pick(400)), 0);
          list.SetColumnWidth(static_cast<int>(pick(3)), static_cast<int>(10 + pick(300)));
          list.SendMessage(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(count > 0 ? pick(static_cast<size_t>(count)) : 0));
          break;
        }
        case 6: {
          // Records changed in memory while a phrase is shown: a list shown
          // meanwhile would show them only at its next fill.
          fills = false;
          action = "change records in memory";
          for (int n = 0; n < 3 && !listShown && !records.phraseIds.empty(); ++n) {
            CQLRCommand* record =
                GetCommandStore().FindCommandById(static_cast<std::uint32_t>(records.phraseIds[pick(records.phraseIds.size())]));
            switch (pick(3)) {
              case 0: record->SetMenuName(L"Renamed " + std::to_wstring(++made)); break;
              case 1: record->SetUsageCount(static_cast<int>(pick(100000))); break;
              default: record->SetEnabled(!record->IsEnabled()); break;
            }
          }
          break;
        }
        case 7: {
          action = "change the folder on disk and reread it";
          const std::wstring folder = pick(4) == 0 ? phrases : records.folders[pick(records.folders.size())];
          if (pick(2) && !records.phraseFiles.empty()) {
            const std::wstring& file = records.phraseFiles[pick(records.phraseFiles.size())];
            if (pick(2)) DeleteFileW(file.c_str());
            else MoveFileW(file.c_str(), (folder + L"\\Moved" + std::to_wstring(++made) + L".quillora").c_str());
          } else {
            const int number = ++made;
            const bool enabled = pick(2) != 0;
            SavePhraseToFile(phrasetest::MakePhrase(L"New " + std::to_wstring(number), L"n", number, enabled),
                             folder + L"\\N" + std::to_wstring(number) + L".quillora");
          }
          WaitForPhraseWrites(30000);
          doc->ReloadStore();
          break;
        }
        case 8: {
          const size_t which = pick(languages.size() + 1);
          // Not a fill: a shown list keeps the user's marks; its titles are
          // compared at the next fill.
          fills = false;
          action = "switch the language";
          if (which == languages.size()) SetCurrentLanguage(L"");
          else ASSERT_TRUE(SetLngStringFile(languages[which], L"_Editor"));
          doc->UpdateViews(nullptr, kHintLanguage, 0);
          break;
        }
        case 9:
          // The pane changes its size while the list is away, or under it.
          fills = false;
          action = "resize the frame";
          frame->MoveWindow(10, 10, 900 + static_cast<int>(pick(300)), 420 + static_cast<int>(pick(160)));
          frame->RecalcLayout();
          break;
        default:
          if (pick(2)) {
            action = "toggle unchecked phrases";
            GetEditorSettings().ShowUncheckedPhrases = !GetEditorSettings().ShowUncheckedPhrases;
            doc->UpdateViews(nullptr, kHintShowUnchecked, 0);
          } else {
            // A start without a record to select shows the folder list as it is.
            // A list shown already stays as it is then.
            action = "start the document anew";
            const bool known = pick(2) != 0;
            fills = known || !listShown;
            GetEditorSettings().lastFile =
                known ? records.folders[pick(records.folders.size())] : phrases + L"\\Gone.quillora";
            ASSERT_TRUE(doc->OnNewDocument());
          }
          break;
      }
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " (" + action + ")";
      ExpectHiddenListsStayOutOfTheWay(where);
      if (HasFailure()) return;
      if (doc->GetViewKind() != kFolderListView) continue;
      // The list that comes back is the one kept, not one made again.
      if (!listShown && lastList) {
        EXPECT_EQ(View()->m_hWnd, lastList) << where;
        cameBack = true;
      }
      lastList = View()->m_hWnd;
      if (!fills) continue;
      ASSERT_EQ(Differences(DescribeList(View()->m_hWnd), DescribeNewList()), "") << where;
    }
    EXPECT_TRUE(cameBack) << "seed " << seed << " never showed the list again after a phrase";
  }

  // The kept list goes with its frame.
  const int beta = IdOf(L"Beta.quillora");
  ASSERT_GE(beta, 0);
  doc->SelectRecord(IdOf(L"Sub"));
  HWND kept = View()->m_hWnd;
  doc->SelectRecord(beta);
  ASSERT_TRUE(IsWindow(kept));
  frame->DestroyWindow();
  frame = nullptr;
  EXPECT_FALSE(IsWindow(kept));
}

}  // namespace
