// Loading the phrase folder into the tree: order, folder records, ids and
// every kind of bad input the folder may hold.
#include <gtest/gtest.h>

#include <set>

#include "editor/store/command_folder.h"
#include "editor/store/tests/store_test_util.h"
#include "phrases/store/phrase_names.h"

namespace {

using storetest::MakeDir;
using storetest::WritePhrase;

std::vector<std::wstring> Titles(const CommandList& list) {
  std::vector<std::wstring> titles;
  for (const CQLRCommand& record : list) titles.push_back(record.GetMenuName());
  return titles;
}

TEST(CommandLoadTest, FoldersFirstThenSortIdTiesInDirectoryOrder) {
  qlrtest::TempDir dir;
  // Equal SortIDs everywhere but one: the listing order decides the rest.
  const wchar_t* const names[] = {L"zeta", L"alpha", L"mid", L"Beta", L"omega"};
  for (const wchar_t* name : names)
    ASSERT_TRUE(WritePhrase(dir.File(std::wstring(name) + L".quillora"), name, 5));
  ASSERT_TRUE(WritePhrase(dir.File(L"first.quillora"), L"first", 1));
  ASSERT_TRUE(MakeDir(dir.File(L"folderB")));
  ASSERT_TRUE(MakeDir(dir.File(L"folderA")));
  // A folder's SortID is larger than every phrase's: it still comes first.
  CPhraseNode self = phrasetest::MakePhrase(L"Another Name", L"", 99);
  self.MakeFolder();
  ASSERT_TRUE(SavePhraseToFile(self, dir.File(L"folderA\\FOLDER_SELF.quillora")));

  std::vector<std::wstring> folders, equal;
  for (const std::wstring& name : phrasetest::Listing(dir.Path())) {
    if (name.rfind(L"folder", 0) == 0) folders.push_back(name);
    else if (name != L"first.quillora") equal.push_back(name.substr(0, name.size() - 9));
  }
  std::vector<std::wstring> expected;
  // folderA has SortID 99, folderB 0: B first.
  expected.push_back(L"folderB");
  expected.push_back(L"folderA");
  expected.push_back(L"first");
  expected.insert(expected.end(), equal.begin(), equal.end());

  CCommandFolder store;
  store.Load(dir.Path() + L"\\");
  EXPECT_EQ(store.GetRootPath(), dir.Path());
  EXPECT_EQ(Titles(store.Commands()), expected);
  EXPECT_EQ(store.CountFolders(), 2);
  int enabled = 0, total = 0;
  store.CountCommands(&enabled, &total);
  EXPECT_EQ(total, 8);
  EXPECT_EQ(enabled, 6);  // empty folders count as disabled

  // The folder record shows its directory's name and keeps its file's order.
  CQLRCommand* folderA = store.FindByPath(dir.File(L"FOLDERA").c_str());
  ASSERT_NE(folderA, nullptr);
  EXPECT_EQ(folderA->GetMenuName(), L"folderA");
  EXPECT_EQ(folderA->m_sortId, 99u);
  EXPECT_EQ(store.FindByPath(L""), nullptr);
  EXPECT_EQ(store.FindByPath(nullptr), nullptr);
}

TEST(CommandLoadTest, IdsInLoadOrderAndRecordFields) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(MakeDir(dir.File(L"sub")));
  CPhraseNode used = phrasetest::MakePhrase(L"used", L"body", 0, false);
  used.usageCount = -5;
  used.lastUse = {2024, 3, 0, 4, 5, 6, 7, 0};
  used.flagsMenu = kFlagSeparatorBefore;
  used.DataType = kDataTypeRtf;
  ASSERT_TRUE(SavePhraseToFile(used, dir.File(L"sub\\used.quillora")));
  CPhraseNode yearZero = phrasetest::MakePhrase(L"year zero", L"x");
  yearZero.lastUse = {0, 3, 0, 4, 5, 6, 7, 0};
  ASSERT_TRUE(SavePhraseToFile(yearZero, dir.File(L"sub\\zero.quillora")));

  CCommandFolder store;
  EXPECT_EQ(store.GetNextId(), 1u);
  store.Load(dir.Path());
  std::uint32_t subId = storetest::IdOfTitle(store, L"sub");
  EXPECT_EQ(subId, 1u);  // the folder before its content
  CQLRCommand* record = store.FindCommandById(storetest::IdOfTitle(store, L"used"));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->GetUsageCount(), 0);
  EXPECT_FALSE(record->IsEnabled());
  EXPECT_TRUE(record->IsSeparatorBefore());
  EXPECT_FALSE(record->IsSeparatorAfter());
  EXPECT_EQ(record->DataType, static_cast<std::uint32_t>(kDataTypeRtf));
  EXPECT_EQ(record->m_cmd, L"body");
  SYSTEMTIME date = {};
  ASSERT_TRUE(record->GetDateUsage(&date));
  EXPECT_EQ(date.wYear, 2024);
  CQLRCommand* zero = store.FindCommandById(storetest::IdOfTitle(store, L"year zero"));
  ASSERT_NE(zero, nullptr);
  EXPECT_FALSE(zero->HasDateUsage());
  EXPECT_EQ(store.GetNextId(), 4u);
  EXPECT_EQ(store.GetParentId(record->GetId()), subId);
  EXPECT_EQ(store.GetParentId(subId), kRootId);
  EXPECT_EQ(store.GetPath(kRootId), dir.Path());
  EXPECT_EQ(store.GetChildList(record->GetId()), nullptr);
  EXPECT_EQ(store.GetChildList(12345), nullptr);
  EXPECT_EQ(store.GetOwningList(12345), nullptr);
  EXPECT_EQ(store.GetOwningList(subId), &store.Commands());

  // A folder that is no directory empties the tree and keeps the root.
  store.Load(dir.File(L"missing"));
  EXPECT_TRUE(store.Commands().empty());
  EXPECT_EQ(store.GetRootPath(), dir.Path());
  EXPECT_EQ(store.GetNextId(), 1u);
  store.Load(L"");  // the kept root again
  EXPECT_EQ(store.CountFolders(), 1);
}

TEST(CommandLoadTest, BadFilesAreSkippedAndGoodNeighboursKept) {
  qlrtest::TempDir dir;
  struct BadFile {
    const wchar_t* name;
    std::string content;
  };
  std::string huge = "<?xml version=\"1.0\"?><QLRCommand><MenuName>big</MenuName><Cmd>" +
                     std::string(1024 * 1024, 'x') + "</Cmd></QLRCommand>";
  const BadFile bad[] = {
      {L"garbage.quillora", "not xml at all <<<"},
      {L"empty.quillora", ""},
      {L"noname.quillora", "<?xml version=\"1.0\"?><QLRCommand><Cmd>x</Cmd></QLRCommand>"},
      {L"wrongroot.quillora", "<?xml version=\"1.0\"?><Other><MenuName>x</MenuName></Other>"},
      {L"badutf8.quillora", "<?xml version=\"1.0\"?><QLRCommand><MenuName>\xC3\x28\xFF</MenuName></QLRCommand>"},
      {L"truncated.quillora", "<?xml version=\"1.0\"?><QLRCommand><MenuName>cut"},
      {L"huge.quillora", huge},
  };
  for (const BadFile& file : bad) ASSERT_TRUE(qlrtest::WriteBytes(dir.File(file.name), file.content));
  ASSERT_TRUE(WritePhrase(dir.File(L"good.quillora"), L"good"));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"note.txt"), "not a phrase"));

  CCommandFolder store;
  store.Load(dir.Path());
  std::set<std::wstring> titles;
  for (const CQLRCommand& record : store.Commands()) titles.insert(record.GetMenuName());
  EXPECT_TRUE(titles.count(L"good"));
  EXPECT_TRUE(titles.count(L"big"));  // large but sound: read, title intact
  EXPECT_FALSE(titles.count(L"x"));
  EXPECT_LE(store.Commands().size(), 4u);  // good, big, and at most the tolerated UTF-8 one
}

TEST(CommandLoadTest, DeepTreesAndDirectoryLinksEndTheWalk) {
  qlrtest::TempDir dir;
  // Deeper than the walk goes: the load ends with the levels it takes.
  std::wstring path = dir.Path();
  for (int level = 0; level < 80; ++level) {
    path += L"\\d";
    ASSERT_TRUE(MakeDir(path)) << level;
  }
  CCommandFolder store;
  store.Load(dir.Path());
  EXPECT_GE(store.CountFolders(), 60);
  EXPECT_LT(store.CountFolders(), 80);

  // A link back up the tree is left out (where links can be made).
  qlrtest::TempDir other;
  ASSERT_TRUE(MakeDir(other.File(L"inner")));
  ASSERT_TRUE(WritePhrase(other.File(L"inner\\p.quillora"), L"p"));
  if (!CreateSymbolicLinkW(other.File(L"inner\\loop").c_str(), other.Path().c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY))
    GTEST_SKIP() << "no directory links here, code " << GetLastError();
  store.Load(other.Path());
  EXPECT_EQ(store.CountFolders(), 1);
  int enabled = 0, total = 0;
  store.CountCommands(&enabled, &total);
  EXPECT_EQ(total, 2);
  RemoveDirectoryW(other.File(L"inner\\loop").c_str());
}

TEST(CommandLoadTest, LoadCommandFileAddsOneTopLevelRecord) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(WritePhrase(dir.File(L"a.quillora"), L"a"));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"bad.quillora"), "<<"));
  CCommandFolder store;
  store.Load(dir.Path());
  std::uint32_t id = store.LoadCommandFile(dir.File(L"a.quillora"));
  EXPECT_EQ(id, 2u);
  EXPECT_EQ(store.Commands().size(), 2u);
  EXPECT_EQ(store.LoadCommandFile(dir.File(L"bad.quillora")), kRootId);
  EXPECT_EQ(store.Commands().size(), 2u);
}

}  // namespace

namespace {

// Every record's fields, in tree order, as one text per record.
std::vector<std::wstring> Dump(CCommandFolder& store) {
  std::vector<std::wstring> lines;
  store.ForEach(
      [](CQLRCommand* r, void* context, CQLRCommand* parent) -> int {
        std::wstring line = (parent ? parent->GetMenuName() : L"") + L"|" + r->GetFilePath() + L"|" +
                            r->GetMenuName() + L"|" + r->GetHint() + L"|" + r->m_cmd + L"|";
        const SYSTEMTIME& d = r->m_dateUsage;
        for (long long v : {static_cast<long long>(r->DataType), static_cast<long long>(r->m_sortId),
                            static_cast<long long>(r->m_flagsMenu), static_cast<long long>(r->m_usageCount),
                            static_cast<long long>(r->m_enabled), static_cast<long long>(r->m_useTitleOnly),
                            static_cast<long long>(r->m_disabledIsNoHasSelection),
                            static_cast<long long>(d.wYear), static_cast<long long>(d.wMonth),
                            static_cast<long long>(d.wDay), static_cast<long long>(d.wHour),
                            static_cast<long long>(d.wMinute), static_cast<long long>(d.wSecond)})
          line += std::to_wstring(v) + L",";
        static_cast<std::vector<std::wstring>*>(context)->push_back(line);
        return 1;
      },
      &lines);
  return lines;
}

// What a load without any record gives.
std::vector<std::wstring> PlainLoad(const std::wstring& root) {
  CCommandFolder plain;
  plain.Load(root);
  return Dump(plain);
}

bool SetWrittenLongAgo(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SYSTEMTIME when = {2021, 6, 0, 1, 12, 0, 0, 0};
  FILETIME ft;
  bool ok = SystemTimeToFileTime(&when, &ft) && SetFileTime(file, nullptr, nullptr, &ft);
  CloseHandle(file);
  return ok;
}

// A load that takes unchanged files from the record of the last load gives
// the tree a load reading every file gives, and sees every change made
// elsewhere since: texts rewritten, files added, removed and renamed.
TEST(CommandLoadTest, ALoadRecordGivesWhatTheFilesHold) {
  qlrtest::TempDir dir;
  const std::wstring root = dir.File(L"Phrases");
  ASSERT_TRUE(MakeDir(root));
  ASSERT_TRUE(MakeDir(root + L"\\sub"));
  CPhraseNode self = phrasetest::MakePhrase(L"", L"", 7);
  self.MakeFolder();
  ASSERT_TRUE(SavePhraseToFile(self, root + L"\\sub\\FOLDER_SELF.quillora"));
  std::vector<std::wstring> files;
  for (int i = 0; i < 6; ++i) {
    CPhraseNode node = phrasetest::MakePhrase(L"phrase " + std::to_wstring(i), L"text %DATE% " + std::to_wstring(i),
                                              i % 3, i % 2 == 0);
    node.SetHint(L"hint " + std::to_wstring(i));
    node.usageCount = i * 7;
    node.flagsMenu = static_cast<std::uint32_t>(i % 4);
    node.DataType = static_cast<std::uint32_t>(i % 3);
    node.useTitleOnly = i == 4;
    if (i % 2) node.lastUse = {2024, 3, 0, 4, 5, 6, 7, 0};
    files.push_back(root + (i < 3 ? L"\\p" : L"\\sub\\p") + std::to_wstring(i) + L".quillora");
    ASSERT_TRUE(SavePhraseToFile(node, files.back()));
  }
  // Written long ago: the record keeps them (it never keeps a file written
  // in the last moments before it was made).
  for (const std::wstring& file : files) ASSERT_TRUE(SetWrittenLongAgo(file));
  ASSERT_TRUE(SetWrittenLongAgo(root + L"\\sub\\FOLDER_SELF.quillora"));

  CCommandFolder store;
  store.SetLoadRecordPath(dir.File(L"load.cache"));
  const std::vector<std::wstring> expected = PlainLoad(root);
  ASSERT_EQ(expected.size(), 7u);
  for (int round = 0; round < 2; ++round) {
    store.Load(root);
    ASSERT_TRUE(WaitForPhraseWrites(30000));
    EXPECT_EQ(Dump(store), expected) << "round " << round;
  }
  ASSERT_TRUE(storetest::Exists(dir.File(L"load.cache")));

  // Changed elsewhere: a text rewritten, one file gone, one renamed, one new.
  CPhraseNode changed = phrasetest::MakePhrase(L"phrase 1", L"a new text of another length", 1);
  ASSERT_TRUE(SavePhraseToFile(changed, files[1]));
  ASSERT_TRUE(DeleteFileW(files[2].c_str()));
  ASSERT_TRUE(MoveFileW(files[4].c_str(), (root + L"\\sub\\renamed.quillora").c_str()));
  ASSERT_TRUE(WritePhrase(root + L"\\sub\\new.quillora", L"new", 3));
  store.Load(root);
  EXPECT_EQ(Dump(store), PlainLoad(root));
  EXPECT_EQ(store.FindByPath(files[1].c_str())->m_cmd, L"a new text of another length");
}

}  // namespace
