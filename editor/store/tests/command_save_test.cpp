// Saving records: what reaches the file, in bursts and around reloads, and
// how the tray program reads what the editor wrote.
#include <gtest/gtest.h>

#include "editor/store/command_folder.h"
#include "editor/store/tests/store_test_util.h"
#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/store/phrase_store.h"

namespace {

using storetest::ReadBack;
using storetest::WritePhrase;

TEST(CommandSaveTest, ABurstOfSavesLeavesTheLastContentAndNoTemporaryFiles) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(WritePhrase(dir.File(L"p.quillora"), L"p"));
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t id = storetest::IdOfTitle(store, L"p");
  for (int i = 0; i < 100; ++i) {
    store.FindCommandById(id)->m_cmd = L"version " + std::to_wstring(i);
    ASSERT_TRUE(store.SaveCommand(id));
  }
  CPhraseNode node;
  ASSERT_TRUE(ReadBack(dir.File(L"p.quillora"), &node));
  EXPECT_EQ(node.data, L"version 99");
  EXPECT_EQ(phrasetest::Listing(dir.Path()), std::vector<std::wstring>{L"p.quillora"});
}

TEST(CommandSaveTest, ASaveQueuedBeforeAReloadWritesItsSnapshot) {
  qlrtest::TempDir dir;
  std::wstring big(200000, L'b');
  for (int i = 0; i < 20; ++i)
    ASSERT_TRUE(WritePhrase(dir.File(L"p" + std::to_wstring(i) + L".quillora"), L"p" + std::to_wstring(i)));
  CCommandFolder store;
  store.Load(dir.Path());
  for (CQLRCommand& record : store.Commands()) {
    record.m_cmd = big + record.GetMenuName();
    ASSERT_TRUE(store.SaveCommand(record.GetId()));
  }
  // The records go away while their writes run.
  store.Load(dir.Path());
  store.Load(dir.File(L"missing"));
  CPhraseNode node;
  ASSERT_TRUE(ReadBack(dir.File(L"p7.quillora"), &node));
  EXPECT_EQ(node.data, big + L"p7");
  EXPECT_EQ(phrasetest::Listing(dir.Path()).size(), 20u);
}

TEST(CommandSaveTest, FolderRecordsAndSaveAllWriteWhereTheyBelong) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(storetest::MakeDir(dir.File(L"F")));
  ASSERT_TRUE(WritePhrase(dir.File(L"F\\p.quillora"), L"p"));
  CCommandFolder store;
  store.Load(dir.Path());
  CQLRCommand* folder = store.FindCommandById(storetest::IdOfTitle(store, L"F"));
  folder->m_sortId = 7;
  store.SaveAll();
  CPhraseNode self;
  self.MakeFolder();
  // A folder's file holds no title: the reader says so, having read the rest.
  ReadBack(dir.File(L"F\\FOLDER_SELF.quillora"), &self);
  EXPECT_EQ(self.sortId, 7u);
  // A folder with an enabled phrase is not written as excluded.
  std::string bytes = qlrtest::ReadBytes(dir.File(L"F\\FOLDER_SELF.quillora"));
  EXPECT_EQ(bytes.find("Excluded"), std::string::npos) << bytes;
  CQLRCommand loose;
  EXPECT_FALSE(loose.SaveAsync());  // no path, nothing to write
}

TEST(CommandSaveTest, SeparatorFlagsReachTheTrayMenuAsSet) {
  qlrtest::TempDir dir;
  CCommandFolder store;
  store.Load(dir.Path());
  const wchar_t* const titles[] = {L"lead", L"before", L"after", L"tail"};
  std::uint32_t ids[4] = {};
  for (int i = 0; i < 4; ++i) {
    ids[i] = store.AddCommand(titles[i], L"x", kDataTypeText, kRootId);
    store.FindCommandById(ids[i])->m_sortId = static_cast<std::uint32_t>(i);
  }
  CQLRCommand* before = store.FindCommandById(ids[1]);
  CQLRCommand* after = store.FindCommandById(ids[2]);
  EXPECT_TRUE(before->SetSeparatorBefore(true));
  EXPECT_FALSE(before->SetSeparatorBefore(true));
  EXPECT_FALSE(before->IsSeparatorAfter());
  EXPECT_TRUE(after->SetSeparatorAfter(true));
  EXPECT_TRUE(after->SetSeparatorBefore(true));
  EXPECT_TRUE(after->SetSeparatorBefore(false));
  store.SaveAll();
  ASSERT_TRUE(WaitForPhraseWrites(30000));

  // The tray program's own store and menu builder read the files.
  CPhraseStore tray(dir.Path());
  tray.Load(dir.Path(), 0);
  CPhraseMenuRequest request;
  request.store = &tray;
  CPhraseMenuBuilder builder(request);
  HMENU menu = CreatePopupMenu();
  builder.AddNodes(tray.Nodes(), menu);
  // lead, separator, before, after, separator, tail
  const bool separator[] = {false, true, false, false, true, false};
  ASSERT_EQ(GetMenuItemCount(menu), 6);
  for (int i = 0; i < 6; ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, separator[i]) << i;
  }
  FreeMenuItemData(menu);
  DestroyMenu(menu);
}

}  // namespace
