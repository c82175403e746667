// Dragging records between folders: what may be dropped where, and what
// moves and copies leave on disk and in memory.
#include <gtest/gtest.h>

#include "editor/store/command_folder.h"
#include "editor/store/tests/store_test_util.h"

namespace {

using storetest::Drag;
using storetest::Exists;
using storetest::MakeDir;
using storetest::WritePhrase;

// root: A/ (A1/ (deep), a), B/, top
class CommandDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDir(dir.File(L"A")));
    ASSERT_TRUE(MakeDir(dir.File(L"A\\A1")));
    ASSERT_TRUE(MakeDir(dir.File(L"B")));
    ASSERT_TRUE(WritePhrase(dir.File(L"A\\A1\\deep.quillora"), L"deep"));
    CPhraseNode used = phrasetest::MakePhrase(L"a", L"text of a");
    used.usageCount = 9;
    ASSERT_TRUE(SavePhraseToFile(used, dir.File(L"A\\a.quillora")));
    ASSERT_TRUE(WritePhrase(dir.File(L"top.quillora"), L"top"));
    store.Load(dir.Path());
    A = Id(L"A");
    A1 = Id(L"A1");
    B = Id(L"B");
    a = Id(L"a");
    deep = Id(L"deep");
    top = Id(L"top");
  }
  std::uint32_t Id(const wchar_t* title) { return storetest::IdOfTitle(store, title); }

  qlrtest::TempDir dir;
  CCommandFolder store;
  std::uint32_t A = 0, A1 = 0, B = 0, a = 0, deep = 0, top = 0;
};

TEST_F(CommandDropTest, RefusedDrops) {
  CommandDragData none;
  struct Case {
    const char* what;
    std::uint32_t target;
    CommandDragData data;
    bool allowed;
  };
  const Case cases[] = {
      {"no record", B, none, false},
      {"onto itself", A, Drag(A, true), false},
      {"unknown dragged id", B, Drag(999, true), false},
      {"unknown target", 999, Drag(a, true), false},
      {"a phrase as target", top, Drag(a, true), false},
      {"move onto its own parent", A, Drag(a, true), false},
      {"move of a top record onto the root", kRootId, Drag(top, true), false},
      {"into its own sub-folder", A1, Drag(A, true), false},
      {"copy into its own sub-folder", A1, Drag(A, false), false},
      {"copy next to itself", A, Drag(a, false), true},
      {"move to another folder", B, Drag(a, true), true},
      {"move up to the root", kRootId, Drag(A1, true), true},
      {"folder into a sibling", B, Drag(A, true), true},
  };
  for (const Case& c : cases) EXPECT_EQ(store.CanDrop(c.target, c.data), c.allowed) << c.what;
  std::uint32_t newId = 0;
  EXPECT_EQ(store.MoveCommand(A1, Drag(A, true), &newId), 0);
  EXPECT_EQ(newId, kRootId);
  EXPECT_TRUE(Exists(dir.File(L"A\\A1\\deep.quillora")));
}

TEST_F(CommandDropTest, MoveAPhrase) {
  CQLRCommand* record = store.FindCommandById(a);
  std::uint32_t newId = 0;
  ASSERT_EQ(store.MoveCommand(B, Drag(a, true), &newId), 1);
  EXPECT_FALSE(Exists(dir.File(L"A\\a.quillora")));
  EXPECT_TRUE(Exists(dir.File(L"B\\a.quillora")));
  EXPECT_EQ(store.FindCommandById(newId), record);  // the same record, in place
  EXPECT_EQ(store.GetParentId(newId), B);
  EXPECT_EQ(store.GetPath(newId), dir.File(L"B\\a.quillora"));
  EXPECT_EQ(record->GetUsageCount(), 9);  // a move keeps what the phrase was used
  EXPECT_EQ(store.GetChildList(A)->size(), 1u);
}

TEST_F(CommandDropTest, CopyAPhraseNextToItself) {
  std::uint32_t newId = 0;
  ASSERT_EQ(store.CopyCommand(A, Drag(a, false), &newId), 1);
  EXPECT_GT(newId, top);
  EXPECT_EQ(store.GetPath(newId), dir.File(L"A\\a2.quillora"));
  EXPECT_TRUE(Exists(dir.File(L"A\\a.quillora")));
  EXPECT_TRUE(Exists(dir.File(L"A\\a2.quillora")));
  CQLRCommand* copy = store.FindCommandById(newId);
  EXPECT_EQ(copy->m_cmd, L"text of a");
  EXPECT_EQ(copy->GetUsageCount(), 0);
  EXPECT_EQ(store.FindCommandById(a)->GetUsageCount(), 9);
  EXPECT_EQ(store.GetChildList(A)->size(), 3u);
  EXPECT_TRUE(store.GetChildList(A)->front().IsFolder());  // folders stay first
}

TEST_F(CommandDropTest, MoveAFolderWithItsChildren) {
  std::uint32_t newId = 0;
  ASSERT_EQ(store.MoveCommand(B, Drag(A, true), &newId), 1);
  EXPECT_FALSE(Exists(dir.File(L"A")));
  EXPECT_TRUE(Exists(dir.File(L"B\\A\\A1\\deep.quillora")));
  EXPECT_EQ(store.GetPath(newId), dir.File(L"B\\A"));
  EXPECT_EQ(store.GetPath(deep), dir.File(L"B\\A\\A1\\deep.quillora"));
  EXPECT_EQ(store.GetPath(A1), dir.File(L"B\\A\\A1"));
  EXPECT_TRUE(store.IsAncestor(deep, B));
  EXPECT_EQ(store.GetChildList(newId)->size(), 2u);

  // Back to the root, through the same road.
  std::uint32_t back = 0;
  ASSERT_EQ(store.MoveToRoot(Drag(A1, true), &back), 1);
  EXPECT_EQ(store.GetPath(deep), dir.File(L"A1\\deep.quillora"));
  EXPECT_EQ(store.GetParentId(back), kRootId);
}

TEST_F(CommandDropTest, CopyAFolderLeavesTheSourceIntact) {
  std::uint32_t newId = 0;
  ASSERT_EQ(store.CopyCommand(B, Drag(A, false), &newId), 1);
  // The source keeps its children and its files.
  CQLRCommand* source = store.FindCommandById(A);
  ASSERT_TRUE(source->IsFolder());
  EXPECT_EQ(source->GetChildren()->size(), 2u);
  EXPECT_EQ(store.GetPath(deep), dir.File(L"A\\A1\\deep.quillora"));
  EXPECT_TRUE(Exists(dir.File(L"A\\A1\\deep.quillora")));
  // The copy has records of its own, new ids and the new paths.
  CQLRCommand* copy = store.FindCommandById(newId);
  ASSERT_TRUE(copy->IsFolder());
  EXPECT_EQ(copy->GetFilePath(), dir.File(L"B\\A"));
  ASSERT_EQ(copy->GetChildren()->size(), 2u);
  const CQLRCommand& copiedSub = copy->GetChildren()->front();
  EXPECT_TRUE(copiedSub.IsFolder());
  EXPECT_GT(copiedSub.GetId(), newId);
  EXPECT_EQ(copiedSub.GetFilePath(), dir.File(L"B\\A\\A1"));
  ASSERT_EQ(copiedSub.GetChildren()->size(), 1u);
  EXPECT_EQ(copiedSub.GetChildren()->front().GetFilePath(), dir.File(L"B\\A\\A1\\deep.quillora"));
  EXPECT_TRUE(Exists(dir.File(L"B\\A\\A1\\deep.quillora")));
  int enabled = 0, total = 0;
  store.CountCommands(&enabled, &total);
  EXPECT_EQ(total, 10);

  // A second copy gets a free directory name, and shows it.
  std::uint32_t second = 0;
  ASSERT_EQ(store.CopyCommand(B, Drag(A, false), &second), 1);
  EXPECT_EQ(store.GetPath(second), dir.File(L"B\\A2"));
  EXPECT_EQ(store.FindCommandById(second)->GetMenuName(), L"A2");

  // Saving everything writes no phrase over a directory.
  store.SaveAll();
  ASSERT_TRUE(WaitForPhraseWrites(30000));
  EXPECT_TRUE(Exists(dir.File(L"A\\FOLDER_SELF.quillora")));
  DWORD attrs = GetFileAttributesW(dir.File(L"A").c_str());
  EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(CommandDropTest, AFailedDiskStepChangesNothing) {
  // The target directory is gone behind the store's back.
  ASSERT_TRUE(RemoveDirectoryW(dir.File(L"B").c_str()));
  std::uint32_t newId = 0;
  EXPECT_EQ(store.MoveCommand(B, Drag(a, true), &newId), 0);
  EXPECT_EQ(store.GetParentId(a), A);
  EXPECT_EQ(store.GetPath(a), dir.File(L"A\\a.quillora"));
  EXPECT_TRUE(Exists(dir.File(L"A\\a.quillora")));
}

}  // namespace
