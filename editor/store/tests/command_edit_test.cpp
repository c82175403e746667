// Changes the editor makes to the tree, checked on disk.
#include <gtest/gtest.h>

#include "editor/store/command_folder.h"
#include "editor/store/command_names.h"
#include "editor/store/tests/store_test_util.h"
#include <shlobj.h>

#include "foundation/files/shell_file_ops.h"
#include "foundation/logging/log.h"

namespace {

using storetest::Exists;
using storetest::MakeDir;
using storetest::ReadBack;
using storetest::WritePhrase;

TEST(CommandEditTest, AddCommandNamesFilesAfterTitles) {
  qlrtest::TempDir dir;
  CCommandFolder store;
  store.Load(dir.Path());
  // Three at once: the second and third must not take the first one's
  // name while its file is still being written.
  std::uint32_t a = store.AddCommand(L"T", L"one", kDataTypeText, kRootId);
  std::uint32_t b = store.AddCommand(L"T", L"two", kDataTypeText, kRootId);
  std::uint32_t c = store.AddCommand(L"  T  ", L"three", kDataTypeExec, kRootId);
  EXPECT_EQ(store.GetPath(a), dir.File(L"T.quillora"));
  EXPECT_EQ(store.GetPath(b), dir.File(L"T2.quillora"));
  EXPECT_EQ(store.GetPath(c), dir.File(L"T3.quillora"));
  CPhraseNode node;
  ASSERT_TRUE(ReadBack(dir.File(L"T3.quillora"), &node));
  EXPECT_EQ(node.data, L"three");
  EXPECT_EQ(node.DataType, static_cast<std::uint32_t>(kDataTypeExec));

  std::uint32_t device = store.AddCommand(L"CON", L"x", kDataTypeText, kRootId);
  EXPECT_EQ(store.GetPath(device), dir.File(L"CON_.quillora"));
  std::uint32_t unsafe = store.AddCommand(L"?*?", L"x", kDataTypeText, kRootId);
  EXPECT_EQ(store.GetPath(unsafe), dir.File(L".quillora"));
  std::uint32_t longOne = store.AddCommand(std::wstring(10000, L'L'), L"x", kDataTypeText, kRootId);
  EXPECT_EQ(std::wstring(store.FindCommandById(longOne)->GetMenuName()).size(), 60u);
  ASSERT_TRUE(WaitForPhraseWrites(30000));
  EXPECT_TRUE(ReadPhraseFile(node, dir.File(L"CON_.quillora")));
  EXPECT_TRUE(ReadPhraseFile(node, dir.File(L".quillora")));

  EXPECT_EQ(store.AddCommand(L"x", L"x", kDataTypeText, 9999), kRootId);
  EXPECT_EQ(store.AddCommand(L"x", L"x", kDataTypeText, a), kRootId);  // a phrase is no parent
}

TEST(CommandEditTest, IdsAreNeverGivenTwiceInOneTree) {
  qlrtest::TempDir dir;
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t first = store.AddCommand(L"first", L"", kDataTypeText, kRootId);
  std::uint32_t newest = store.AddCommand(L"newest", L"", kDataTypeText, kRootId);
  ASSERT_EQ(store.DeleteCommand(newest, nullptr, false), 1);
  std::uint32_t next = store.AddCommand(L"next", L"", kDataTypeText, kRootId);
  EXPECT_NE(next, newest);
  EXPECT_GT(next, newest);
  EXPECT_EQ(store.FindCommandById(newest), nullptr);
  EXPECT_NE(store.FindCommandById(first), nullptr);
}

TEST(CommandEditTest, AddFolderMakesItsDirectoryOrAddsNothing) {
  qlrtest::TempDir dir;
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t id = 0;
  CommandList* children = store.AddFolder(L"Group", dir.File(L"Group"), &store.Commands(), &id);
  ASSERT_NE(children, nullptr);
  EXPECT_TRUE(children->empty());
  EXPECT_TRUE(Exists(dir.File(L"Group")));
  EXPECT_EQ(store.GetChildList(id), children);
  // A bare title is made under the list's own folder.
  std::uint32_t inner = 0;
  ASSERT_NE(store.AddFolder(L"Inner", L"", children, &inner), nullptr);
  EXPECT_EQ(store.GetPath(inner), dir.File(L"Group\\Inner"));
  EXPECT_TRUE(Exists(dir.File(L"Group\\Inner")));

  // Under a file, no directory can be made: no record either.
  ASSERT_TRUE(WritePhrase(dir.File(L"plain.quillora"), L"plain"));
  std::uint32_t failed = 12345;
  size_t before = store.Commands().size();
  EXPECT_EQ(store.AddFolder(L"x", dir.File(L"plain.quillora\\x"), &store.Commands(), &failed), nullptr);
  EXPECT_EQ(store.Commands().size(), before);
  EXPECT_EQ(failed, 12345u);
  EXPECT_EQ(store.AddFolder(L"x", dir.File(L"y"), nullptr, &failed), nullptr);
}

TEST(CommandEditTest, RenameKeepsItsOwnFileAndNumbersClashes) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(WritePhrase(dir.File(L"Hello.quillora"), L"Hello"));
  ASSERT_TRUE(WritePhrase(dir.File(L"Taken.quillora"), L"Taken"));
  CCommandFolder store;
  store.Load(dir.Path());
  CQLRCommand* record = store.FindCommandById(storetest::IdOfTitle(store, L"Hello"));
  ASSERT_NE(record, nullptr);

  struct Step {
    const wchar_t* title;
    const wchar_t* file;
    bool renamed;
  };
  const Step steps[] = {
      {L"Hello", L"Hello.quillora", true},            // unchanged: the same file
      {L"hello", L"hello.quillora", true},            // letter case only
      {L"Taken", L"Taken_1.quillora", true},          // someone else's name
      {L"new name here", L"new_name_here.quillora", true},
      {L"  a.b  ", L"a_b.quillora", true},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(record->Rename(step.title), step.renamed) << step.title;
    EXPECT_EQ(record->GetFilePath(), dir.File(step.file)) << step.title;
    EXPECT_TRUE(Exists(dir.File(step.file))) << step.title;
    EXPECT_EQ(phrasetest::Listing(dir.Path()).size(), 2u) << step.title;
  }
  EXPECT_EQ(record->GetMenuName(), L"a.b");

  // A rename that cannot move the file keeps the old path.
  CQLRCommand loose;
  loose.SetFilePath(dir.File(L"gone.quillora"));
  EXPECT_FALSE(loose.Rename(L"other"));
  EXPECT_EQ(loose.GetFilePath(), dir.File(L"gone.quillora"));
}

TEST(CommandEditTest, FolderPathChangesMoveTheDirectoryOrNothing) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(MakeDir(dir.File(L"Old")));
  ASSERT_TRUE(MakeDir(dir.File(L"Old\\Sub")));
  ASSERT_TRUE(WritePhrase(dir.File(L"Old\\Sub\\p.quillora"), L"p"));
  ASSERT_TRUE(MakeDir(dir.File(L"Blocker")));
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t old = storetest::IdOfTitle(store, L"Old");
  std::uint32_t phrase = storetest::IdOfTitle(store, L"p");

  EXPECT_TRUE(store.RenameFolder(dir.File(L"New"), old));
  EXPECT_TRUE(Exists(dir.File(L"New\\Sub\\p.quillora")));
  EXPECT_EQ(store.GetPath(phrase), dir.File(L"New\\Sub\\p.quillora"));
  EXPECT_EQ(store.GetPath(storetest::IdOfTitle(store, L"Sub")), dir.File(L"New\\Sub"));

  // The new directory's parent does not exist: the move fails, and the
  // record and everything below keep their paths.
  EXPECT_FALSE(store.RenameFolder(dir.File(L"no\\such\\place"), old));
  EXPECT_EQ(store.GetPath(old), dir.File(L"New"));
  EXPECT_EQ(store.GetPath(phrase), dir.File(L"New\\Sub\\p.quillora"));
  CQLRCommand* folder = store.FindCommandById(old);
  EXPECT_FALSE(folder->SetFilePath(dir.File(L"missing\\x")));
  EXPECT_EQ(folder->GetFilePath(), dir.File(L"New"));
}

TEST(CommandEditTest, SetEnabledOnAFolderSavesOnlyChangedPhrases) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(MakeDir(dir.File(L"F")));
  ASSERT_TRUE(MakeDir(dir.File(L"F\\G")));
  ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"on", L"x", 0, true), dir.File(L"F\\on.quillora")));
  ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"off", L"x", 0, false), dir.File(L"F\\off.quillora")));
  ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"deep", L"x", 0, false), dir.File(L"F\\G\\deep.quillora")));
  CCommandFolder store;
  store.Load(dir.Path());
  // The already enabled file is left as it was: its stamp shows no write.
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"F\\on.quillora"),
                                  qlrtest::ReadBytes(dir.File(L"F\\on.quillora")) + "\r\n"));
  std::string untouched = qlrtest::ReadBytes(dir.File(L"F\\on.quillora"));

  CQLRCommand* folder = store.FindCommandById(storetest::IdOfTitle(store, L"F"));
  EXPECT_TRUE(folder->IsEnabled());
  EXPECT_TRUE(folder->SetEnabled(true));
  ASSERT_TRUE(WaitForPhraseWrites(30000));
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"F\\on.quillora")), untouched);
  CPhraseNode node;
  ASSERT_TRUE(ReadPhraseFile(node, dir.File(L"F\\off.quillora")));
  EXPECT_TRUE(node.enabled);
  ASSERT_TRUE(ReadPhraseFile(node, dir.File(L"F\\G\\deep.quillora")));
  EXPECT_TRUE(node.enabled);
  EXPECT_FALSE(Exists(dir.File(L"F\\G\\FOLDER_SELF.quillora")));  // sub-folders are not saved

  EXPECT_TRUE(folder->SetEnabled(false));
  EXPECT_FALSE(folder->IsEnabled());
  int enabled = -1, total = 0;
  store.CountCommands(&enabled, &total);
  EXPECT_EQ(enabled, 0);
  EXPECT_EQ(total, 5);
}

TEST(CommandEditTest, SetOrderSavesOnlyMovedRecords) {
  qlrtest::TempDir dir;
  const wchar_t* const titles[] = {L"a", L"b", L"c"};
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(WritePhrase(dir.File(std::wstring(titles[i]) + L".quillora"), titles[i], i));
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t a = storetest::IdOfTitle(store, L"a"), b = storetest::IdOfTitle(store, L"b"),
                c = storetest::IdOfTitle(store, L"c");
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"a.quillora"), qlrtest::ReadBytes(dir.File(L"a.quillora")) + " "));
  std::string aBefore = qlrtest::ReadBytes(dir.File(L"a.quillora"));
  store.SetOrder({a, c, b}, kRootId);
  EXPECT_EQ(store.FindCommandById(c)->m_sortId, 1u);
  EXPECT_EQ(store.FindCommandById(b)->m_sortId, 2u);
  CPhraseNode node;
  ASSERT_TRUE(ReadBack(dir.File(L"c.quillora"), &node));
  EXPECT_EQ(node.sortId, 1u);
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"a.quillora")), aBefore);
  store.Sort();
  std::vector<std::uint32_t> order;
  for (const CQLRCommand& record : store.Commands()) order.push_back(record.GetId());
  EXPECT_EQ(order, (std::vector<std::uint32_t>{a, c, b}));
}

// Wine's recycle bin is the XDG trash of the test run's home, used once it
// exists (as on any desktop); empty without XDG_DATA_HOME.
std::wstring PrepareTrash() {
  wchar_t home[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"XDG_DATA_HOME", home, MAX_PATH) == 0) return std::wstring();
  std::wstring trash = std::wstring(L"\\\\?\\unix") + home + L"/Trash";
  for (wchar_t& ch : trash)
    if (ch == L'/') ch = L'\\';
  SHCreateDirectoryExW(nullptr, (trash + L"\\files").c_str(), nullptr);
  SHCreateDirectoryExW(nullptr, (trash + L"\\info").c_str(), nullptr);
  return trash;
}

std::wstring UniqueName(const wchar_t* stem) {
  return stem + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount());
}

TEST(CommandEditTest, DeleteGoesToTheRecycleBin) {
  const std::wstring trash = PrepareTrash();
  if (trash.empty()) GTEST_SKIP() << "no XDG_DATA_HOME";

  qlrtest::TempDir dir;
  std::wstring unique = UniqueName(L"trash_me_");
  ASSERT_TRUE(WritePhrase(dir.File(unique + L".quillora"), L"gone"));
  ASSERT_TRUE(MakeDir(dir.File(unique + L"_folder")));
  ASSERT_TRUE(WritePhrase(dir.File(unique + L"_folder\\in.quillora"), L"in"));
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t phrase = storetest::IdOfTitle(store, L"gone");
  std::uint32_t folder = storetest::IdOfTitle(store, unique + L"_folder");
  EXPECT_EQ(store.DeleteCommand(phrase, nullptr, false), 1);
  EXPECT_EQ(store.DeleteCommand(folder, nullptr, false), 1);
  EXPECT_FALSE(Exists(dir.File(unique + L".quillora")));
  EXPECT_FALSE(Exists(dir.File(unique + L"_folder")));
  EXPECT_TRUE(store.Commands().empty());
  // Wine 8 here removes the entries without keeping them in the trash;
  // where it keeps them, they are complete.
  if (Exists(trash + L"\\files\\" + unique + L".quillora"))
    EXPECT_TRUE(Exists(trash + L"\\files\\" + unique + L"_folder\\in.quillora"));
  EXPECT_EQ(store.DeleteCommand(phrase, nullptr, false), 0);  // gone already
}

TEST(CommandEditTest, RecycleBinDeleteTakesARelativePathAsAbsolute) {
  const std::wstring trash = PrepareTrash();
  if (trash.empty()) GTEST_SKIP() << "no XDG_DATA_HOME";
  qlrtest::TempDir dir;
  const std::wstring name = UniqueName(L"relative_") + L".txt";
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(name), "kept in the bin"));
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
  // No question is asked, and the file is in the bin, not gone for good.
  const bool deleted = DeleteToRecycleBin(nullptr, name, false);
  SetCurrentDirectoryW(before);
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(Exists(dir.File(name)));
  EXPECT_EQ(qlrtest::ReadBytes(trash + L"\\files\\" + name), "kept in the bin");

  // The counted form reads no further than its length.
  const std::wstring counted = dir.File(UniqueName(L"counted_"));
  ASSERT_TRUE(qlrtest::WriteBytes(counted, "c"));
  const std::wstring longer = counted + L"-not-this-part";
  EXPECT_TRUE(DeleteToRecycleBin(nullptr, longer.c_str(), counted.size(), false));
  EXPECT_FALSE(Exists(counted));
  // Nothing to delete: refused before the shell sees it.
  EXPECT_FALSE(DeleteToRecycleBin(nullptr, L"", false));
  EXPECT_FALSE(DeleteToRecycleBin(nullptr, L"  ", false));
  EXPECT_FALSE(DeleteToRecycleBin(nullptr, nullptr, 10, false));
}

TEST(CommandEditTest, ASaveThatCannotWriteLosesNothing) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(WritePhrase(dir.File(L"p.quillora"), L"p", 0, L"old text"));
  CCommandFolder store;
  store.Load(dir.Path());
  CQLRCommand* record = store.FindCommandById(storetest::IdOfTitle(store, L"p"));
  ASSERT_NE(record, nullptr);
  // Every write stops short, as on a full disk.
  SetPhraseWriteLimitForTest(10);
  record->m_cmd = L"new text";
  store.SaveCommand(record->GetId());
  WaitForPhraseWrites(30000);
  SetPhraseWriteLimitForTest(-1);
  EXPECT_EQ(record->GetFilePath(), dir.File(L"p.quillora"));
  CPhraseNode node;
  ASSERT_TRUE(ReadPhraseFile(node, dir.File(L"p.quillora")));
  EXPECT_EQ(node.data, L"old text");
  EXPECT_EQ(phrasetest::Listing(dir.Path()).size(), 1u);  // no temporary file left behind
}

}  // namespace
