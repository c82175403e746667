#include "phrases/store/phrase_store.h"

#include <gtest/gtest.h>

#include <map>

#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_names.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/support/test_support.h"

namespace {

using qlrtest::ReadBytes;
using qlrtest::WriteBytes;

using phrasetest::Listing;

void WritePhrase(const std::wstring& path, const std::wstring& caption, int sortId,
                 bool enabled = true) {
  CPhraseNode node = phrasetest::MakePhrase(caption, L"text of " + caption, sortId, enabled);
  ASSERT_TRUE(SavePhraseToFile(node, path));
}

// One thread's share of quick saves: every content in turn to one path.
struct SaveJob {
  std::vector<std::string> contents;
  std::wstring path;
};

DWORD WINAPI QueueAll(void* param) {
  auto* job = static_cast<SaveJob*>(param);
  for (const std::string& bytes : job->contents) QueuePhraseBytes(job->path, bytes);
  return 0;
}

std::wstring Caption(const CPhraseNode& node) { return node.caption; }

std::vector<std::wstring> Captions(const std::vector<CPhraseNode>& list) {
  std::vector<std::wstring> captions;
  for (const CPhraseNode& node : list) captions.push_back(Caption(node));
  return captions;
}

class PhraseStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(WaitForPhraseWrites(10000)); }
  qlrtest::TempDir dir;
};

TEST_F(PhraseStoreTest, MissingOrEmptyFolderGivesAnEmptyTree) {
  CPhraseStore store(dir.Path());
  store.Load(dir.File(L"absent"), 0);
  EXPECT_EQ(store.GetNodeCount(), 0);
  EXPECT_EQ(store.GetRootFolder(), dir.Path());  // a missing folder does not become the root
  store.Load(std::wstring(), 0);
  EXPECT_EQ(store.GetNodeCount(), 0);
}

TEST_F(PhraseStoreTest, IdsFollowTheScanOrderWithEachFolderBeforeItsContent) {
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Sub\\Deeper").c_str(), nullptr));
  WritePhrase(dir.File(L"a.quillora"), L"a", 0);
  WritePhrase(dir.File(L"b.QUILLORA"), L"b", 0);
  WritePhrase(dir.File(L"Sub\\c.quillora"), L"c", 0);
  WritePhrase(dir.File(L"Sub\\Deeper\\d.quillora"), L"d", 0);
  WritePhrase(dir.File(L"folder_self.QUILLORA"), L"not a phrase", 0);
  WritePhrase(dir.File(L"Sub\\FOLDER_SELF.quillora"), L"not a phrase either", 0);
  ASSERT_TRUE(WriteBytes(dir.File(L"notes.txt"), "x"));
  ASSERT_TRUE(WriteBytes(dir.File(L"broken.quillora"), "<QLRCommand"));

  // Expected ids: walk the listing the way the file system gives it.
  std::map<std::wstring, std::uint32_t> expected;
  std::uint32_t next = 1;
  std::function<void(const std::wstring&)> walk = [&](const std::wstring& folder) {
    for (const std::wstring& name : Listing(folder)) {
      std::wstring path = folder + L"\\" + name;
      if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
        expected[name] = next++;
        walk(path);
      } else if (name.size() == 10) {  // x.quillora, not the others
        expected[name.substr(0, 1)] = next++;
      }
    }
  };
  walk(dir.Path());

  CPhraseStore store;
  store.Load(dir.Path(), 0);
  EXPECT_EQ(store.GetRootFolder(), dir.Path());
  EXPECT_EQ(store.GetNodeCount(), 6);
  for (const auto& e : expected) {
    SCOPED_TRACE(e.first);
    CPhraseNode* node = store.FindNodeById(e.second);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(Caption(*node), e.first);
  }
  CPhraseNode* d = store.FindNodeById(expected[L"d"]);
  EXPECT_EQ(d->GetFilePath(), dir.File(L"Sub\\Deeper\\d.quillora"));
  EXPECT_EQ(d->data, L"text of d");
  EXPECT_EQ(store.FindParentOfId(expected[L"d"]), store.FindNodeById(expected[L"Deeper"]));
  EXPECT_EQ(store.FindParentOfId(expected[L"Sub"]), nullptr);
  EXPECT_EQ(store.FindParentOfId(999), nullptr);
  EXPECT_EQ(store.FindNodeById(999), nullptr);

  CPhraseNode* sub = store.FindNodeById(expected[L"Sub"]);
  EXPECT_EQ(sub->GetFilePath(), dir.File(L"Sub"));
  EXPECT_TRUE(store.FolderContainsId(*sub, expected[L"d"]));
  EXPECT_TRUE(store.FolderContainsId(*sub, expected[L"c"]));
  EXPECT_FALSE(store.FolderContainsId(*sub, expected[L"Deeper"]));  // a folder is not a phrase
  EXPECT_FALSE(store.FolderContainsId(*sub, expected[L"a"]));

  // Every load gives the ids afresh.
  store.Load(std::wstring(), 0);
  EXPECT_EQ(store.FindNodeById(expected[L"d"])->data, L"text of d");
}

TEST_F(PhraseStoreTest, SortPutsFoldersFirstThenSortIdUnsignedAndStable) {
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Folder9").c_str(), nullptr));
  WritePhrase(dir.File(L"Folder9\\FOLDER_SELF.quillora"), L"", 9);
  WritePhrase(dir.File(L"one.quillora"), L"one", 1);
  WritePhrase(dir.File(L"minus.quillora"), L"minus", -1);
  WritePhrase(dir.File(L"five_a.quillora"), L"five_a", 5);
  WritePhrase(dir.File(L"five_b.quillora"), L"five_b", 5);
  WritePhrase(dir.File(L"zero.quillora"), L"zero", 0);

  // The two phrases with SortID 5 keep the order of the listing.
  std::vector<std::wstring> fives;
  for (const std::wstring& name : Listing(dir.Path()))
    if (name.rfind(L"five", 0) == 0) fives.push_back(name.substr(0, 6));

  CPhraseStore store;
  store.Load(dir.Path(), 0);
  EXPECT_EQ(Captions(store.Nodes()),
            (std::vector<std::wstring>{L"Folder9", L"zero", L"one", fives[0], fives[1], L"minus"}));
  EXPECT_EQ(store.Nodes()[0].sortId, 9u);  // read from its own record

  // A re-sort changes nothing, whatever mode is asked for.
  store.Sort(3, true);
  EXPECT_EQ(Captions(store.Nodes()),
            (std::vector<std::wstring>{L"Folder9", L"zero", L"one", fives[0], fives[1], L"minus"}));
}

TEST_F(PhraseStoreTest, CountsEnabledNodesAndFoldersWithoutPhrases) {
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Empty").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Empty\\Inner").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Mixed").c_str(), nullptr));
  WritePhrase(dir.File(L"Mixed\\on.quillora"), L"on", 0);
  WritePhrase(dir.File(L"Mixed\\off.quillora"), L"off", 1, false);
  WritePhrase(dir.File(L"top.quillora"), L"top", 0, false);

  CPhraseStore store;
  store.Load(dir.Path(), 0);
  int enabled = -1, total = -1;
  store.CountNodes(&enabled, &total);
  EXPECT_EQ(total, 6);
  EXPECT_EQ(enabled, 2);  // Mixed (it holds "on") and "on"; the empty folders count as not enabled
  EXPECT_EQ(store.GetNodeCount(), 6);

  // The walk visits parents before children, passes the parent, and stops on 0.
  struct Seen {
    std::vector<std::wstring> order;
    int stopAfter;
  } seen{{}, 100};
  auto record = [](CPhraseNode* node, void* context, CPhraseNode* parent) -> int {
    auto* s = static_cast<Seen*>(context);
    s->order.push_back((parent ? std::wstring(parent->caption) + L"/" : std::wstring()) + node->caption);
    return static_cast<int>(s->order.size()) < s->stopAfter;
  };
  EXPECT_EQ(store.ForEachNode(record, &seen), 6);
  EXPECT_EQ(seen.order.size(), 6u);
  EXPECT_NE(std::find(seen.order.begin(), seen.order.end(), L"Empty/Inner"), seen.order.end());
  EXPECT_LT(std::find(seen.order.begin(), seen.order.end(), L"Mixed"),
            std::find(seen.order.begin(), seen.order.end(), L"Mixed/on"));
  seen = {{}, 2};
  EXPECT_EQ(store.ForEachNode(record, &seen), 2);
}

TEST_F(PhraseStoreTest, FilterMayRefusePhrases) {
  WritePhrase(dir.File(L"keep.quillora"), L"keep", 0);
  WritePhrase(dir.File(L"drop.quillora"), L"drop", 0);
  CPhraseStore store;
  store.SetFilter([](CPhraseNode* node, void*) { return std::wstring(node->caption) != L"drop"; },
                  nullptr);
  store.Load(dir.Path(), 0);
  EXPECT_EQ(Captions(store.Nodes()), std::vector<std::wstring>{L"keep"});
}

TEST_F(PhraseStoreTest, IdsNeverFallIntoTheHistoryOrCommandRanges) {
  CPhraseStore store;
  std::vector<std::uint32_t> ids;
  for (int i = 0; i < 34000; ++i) ids.push_back(store.NextId());
  EXPECT_EQ(ids[0], 1u);
  EXPECT_EQ(ids[1998], 1999u);
  EXPECT_EQ(ids[1999], kHistoryIdLast + 1);
  for (std::uint32_t id : ids) {
    EXPECT_FALSE(id >= kHistoryIdFirst && id <= kHistoryIdLast) << id;
    EXPECT_FALSE(id >= kFixedCommandIdFirst && id <= kFixedCommandIdLast) << id;
  }
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  // Emptying the tree starts again at 1.
  store.Clear();
  EXPECT_EQ(store.NextId(), 1u);
}

TEST_F(PhraseStoreTest, UsageCountAndDateAreWrittenBack) {
  WritePhrase(dir.File(L"used.quillora"), L"used", 0);
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  CPhraseNode* node = store.FindNodeById(1);
  ASSERT_NE(node, nullptr);
  SYSTEMTIME before;
  GetSystemTime(&before);
  node->IncrementUsageCount();
  node->TouchDateUsage();
  ASSERT_TRUE(store.SaveNodeById(1));
  ASSERT_TRUE(WaitForPhraseWrites(10000));

  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"used.quillora")));
  EXPECT_EQ(read.usageCount, 1);
  SYSTEMTIME date;
  ASSERT_TRUE(read.GetDateUsage(&date));
  FILETIME a, b;
  SystemTimeToFileTime(&before, &a);
  SystemTimeToFileTime(&date, &b);
  ULARGE_INTEGER ua{{a.dwLowDateTime, a.dwHighDateTime}}, ub{{b.dwLowDateTime, b.dwHighDateTime}};
  // The file keeps whole seconds, in UTC.
  EXPECT_LE(ub.QuadPart, ua.QuadPart + 600000000ULL);
  EXPECT_GE(ub.QuadPart + 10000000ULL, ua.QuadPart);
  EXPECT_EQ(read.data, L"text of used");
}

TEST_F(PhraseStoreTest, QuickSavesOfOnePhraseEndWithTheLastContent) {
  WritePhrase(dir.File(L"busy.quillora"), L"busy", 0);
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  CPhraseNode* node = store.FindNodeById(1);
  for (int i = 1; i <= 200; ++i) {
    node->usageCount = i;
    ASSERT_TRUE(store.SaveNodeById(1));
  }
  // A reload frees every node while the writes may still run.
  store.Load(std::wstring(), 0);
  ASSERT_TRUE(WaitForPhraseWrites(10000));
  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"busy.quillora")));
  EXPECT_EQ(read.usageCount, 200);
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::wstring>{L"busy.quillora"});
}

TEST_F(PhraseStoreTest, SaveWaitsForAReaderThatHoldsTheFileAMoment) {
  const std::wstring path = dir.File(L"held.quillora");
  ASSERT_TRUE(WriteBytes(path, "old"));
  auto hold = [&] {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  // Let go after a moment: the save lands.
  HANDLE reader = hold();
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  HANDLE release = CreateThread(nullptr, 0, [](void* h) -> DWORD {
    Sleep(150);
    CloseHandle(static_cast<HANDLE>(h));
    return 0;
  }, reader, 0, nullptr);
  DWORD error = 1;
  EXPECT_TRUE(WritePhraseBytes(path, "new", &error));
  EXPECT_EQ(error, 0u);
  WaitForSingleObject(release, 10000);
  CloseHandle(release);
  EXPECT_EQ(ReadBytes(path), "new");
  // Held throughout: the failure is told and the old content stays whole.
  reader = hold();
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WritePhraseBytes(path, "newer", &error));
  EXPECT_NE(error, 0u);
  CloseHandle(reader);
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::wstring>{L"held.quillora"});
}

TEST_F(PhraseStoreTest, ThreadsSavingManyPhrasesLoseNothing) {
  const int kPhrases = 20;
  for (int i = 0; i < kPhrases; ++i)
    WritePhrase(dir.File(L"p" + std::to_wstring(i) + L".quillora"), L"p" + std::to_wstring(i), i);
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  std::vector<SaveJob> jobs(kPhrases);
  for (int i = 0; i < kPhrases; ++i) {
    CPhraseNode& node = store.Nodes()[i];
    jobs[i].path = node.GetFilePath();
    for (int round = 0; round < 30; ++round) {
      node.usageCount = round;
      jobs[i].contents.push_back(PhraseNodeToXml(node));
    }
  }
  std::vector<HANDLE> threads;
  for (SaveJob& job : jobs) threads.push_back(CreateThread(nullptr, 0, QueueAll, &job, 0, nullptr));
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, 30000);
  for (HANDLE t : threads) CloseHandle(t);
  ASSERT_TRUE(WaitForPhraseWrites(20000));
  for (const SaveJob& job : jobs) EXPECT_EQ(ReadBytes(job.path), job.contents.back());
  EXPECT_EQ(Listing(dir.Path()).size(), static_cast<size_t>(kPhrases));
}

TEST_F(PhraseStoreTest, NewPhraseGetsAFileNamedAfterItsCaption) {
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Sub").c_str(), nullptr));
  WritePhrase(dir.File(L"Sub\\My_new_phrase.quillora"), L"taken", 0);
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  CPhraseNode* sub = store.FindNodeById(1);
  ASSERT_TRUE(sub && sub->IsFolder());
  CPhraseNode fresh;
  fresh.SetCaption(L"My new: phrase?");
  fresh.data = L"fresh";
  fresh.CMDID = store.NextId();
  const std::uint32_t id = fresh.CMDID;
  sub->childNodes->push_back(std::move(fresh));
  CPhraseNode top;
  top.SetCaption(L"Top");
  top.CMDID = store.NextId();
  store.Nodes().push_back(std::move(top));

  ASSERT_TRUE(store.SaveNodeById(id));
  ASSERT_TRUE(store.SaveNodeById(store.Nodes().back().CMDID));
  ASSERT_TRUE(WaitForPhraseWrites(10000));
  EXPECT_EQ(store.FindNodeById(id)->GetFilePath(), dir.File(L"Sub\\My_new_phrase2.quillora"));
  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"Sub\\My_new_phrase2.quillora")));
  EXPECT_EQ(read.data, L"fresh");
  EXPECT_TRUE(ReadPhraseFile(read, dir.File(L"Top.quillora")));
  EXPECT_FALSE(store.SaveNodeById(12345));
}

TEST_F(PhraseStoreTest, NewPhraseWithoutAFolderIsNotWrittenAnywhere) {
  CPhraseStore store;  // never loaded: no root folder
  CPhraseNode loose = phrasetest::MakePhrase(L"Loose", L"x");
  loose.CMDID = store.NextId();
  store.Nodes().push_back(std::move(loose));
  EXPECT_FALSE(store.SaveNodeById(1));
  EXPECT_TRUE(store.FindNodeById(1)->GetFilePath().empty());
}

TEST_F(PhraseStoreTest, DisablingAFolderSavesTheChangedPhrases) {
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"F").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"F\\G").c_str(), nullptr));
  WritePhrase(dir.File(L"F\\on.quillora"), L"on", 0);
  WritePhrase(dir.File(L"F\\G\\deep.quillora"), L"deep", 0);
  WritePhrase(dir.File(L"F\\off.quillora"), L"off", 0, false);
  const std::string offBytes = ReadBytes(dir.File(L"F\\off.quillora"));
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  CPhraseNode* folder = &store.Nodes()[0];
  ASSERT_TRUE(folder->IsEnabled());
  EXPECT_TRUE(folder->SetEnabled(false));
  EXPECT_FALSE(folder->IsEnabled());
  ASSERT_TRUE(WaitForPhraseWrites(10000));
  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"F\\on.quillora")));
  EXPECT_FALSE(read.enabled);
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"F\\G\\deep.quillora")));
  EXPECT_FALSE(read.enabled);
  EXPECT_EQ(ReadBytes(dir.File(L"F\\off.quillora")), offBytes);
  EXPECT_FALSE(folder->SetEnabled(false));  // nothing changes any more
}

TEST_F(PhraseStoreTest, FolderPathChangeMovesTheDirectoryOnlyWhenTheTargetIsFree) {
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Old").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Existing").c_str(), nullptr));
  WritePhrase(dir.File(L"Old\\x.quillora"), L"x", 0);
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  CPhraseNode* old = nullptr;
  for (CPhraseNode& n : store.Nodes())
    if (Caption(n) == L"Old") old = &n;
  ASSERT_NE(old, nullptr);
  old->SetFilePath(dir.File(L"Existing"));
  EXPECT_EQ(old->GetFilePath(), dir.File(L"Existing"));
  EXPECT_NE(GetFileAttributesW(dir.File(L"Old\\x.quillora").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Listing(dir.File(L"Existing")).size(), 0u);

  old->SetFilePath(dir.File(L"Old"));
  old->SetFilePath(dir.File(L"Renamed"));
  EXPECT_EQ(Listing(dir.File(L"Renamed")), std::vector<std::wstring>{L"x.quillora"});
  EXPECT_EQ(GetFileAttributesW(dir.File(L"Old").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PhraseStoreTest, AddFolderMakesItsDirectoryAndSortsTheTree) {
  WritePhrase(dir.File(L"phrase.quillora"), L"phrase", 0);
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  std::uint32_t id = 0;
  std::vector<CPhraseNode>* children =
      store.AddFolder(L"Made", dir.File(L"Made"), &store.Nodes(), &id);
  ASSERT_NE(children, nullptr);
  EXPECT_EQ(id, 2u);
  EXPECT_EQ(Captions(store.Nodes()), (std::vector<std::wstring>{L"Made", L"phrase"}));
  EXPECT_TRUE(GetFileAttributesW(dir.File(L"Made").c_str()) & FILE_ATTRIBUTE_DIRECTORY);

  // Without a path the name is made under the folder of the list.
  std::uint32_t innerId = 0;
  store.AddFolder(L"  Inner\tname  ", std::wstring(), children, &innerId);
  EXPECT_EQ(innerId, 3u);
  EXPECT_EQ(store.FindNodeById(innerId)->GetFilePath(), dir.File(L"Made\\Inner"));
  EXPECT_NE(GetFileAttributesW(dir.File(L"Made\\Inner").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(store.FindParentOfId(innerId)->CMDID, id);
}

TEST(PhraseNodeTest, MovingANodeHandsOverItsChildren) {
  CPhraseNode folder;
  folder.MakeFolder();
  folder.SetCaption(L"F");
  CPhraseNode child;
  child.SetCaption(L"c");
  folder.childNodes->push_back(std::move(child));
  std::vector<CPhraseNode>* list = folder.childNodes;

  CPhraseNode moved(std::move(folder));
  EXPECT_EQ(moved.childNodes, list);
  EXPECT_EQ(folder.childNodes, nullptr);
  EXPECT_FALSE(folder.IsFolder());

  CPhraseNode target;
  target.MakeFolder();
  target = std::move(moved);
  EXPECT_EQ(target.childNodes, list);
  EXPECT_EQ(std::wstring(target.caption), L"F");
  EXPECT_EQ(Caption((*target.childNodes)[0]), L"c");

  // Setting a date is refused for a folder; touching stamps a phrase only.
  SYSTEMTIME date = {2024, 1, 0, 1, 0, 0, 0, 0};
  EXPECT_FALSE(target.SetDateUsage(date));
  target.TouchDateUsage();
  EXPECT_FALSE(target.GetDateUsage(nullptr));
  CPhraseNode& phrase = (*target.childNodes)[0];
  EXPECT_FALSE(phrase.GetDateUsage(nullptr));
  EXPECT_TRUE(phrase.SetDateUsage(date));
  EXPECT_TRUE(phrase.GetDateUsage(&date));
  phrase.flagsMenu = 3;
  EXPECT_TRUE(phrase.IsSeparatorBefore() && phrase.IsSeparatorAfter());
}

TEST(PhraseNodeTest, TextCachesAreEmptiedThroughTheWholeTree) {
  CPhraseStore store;
  store.Nodes().emplace_back();
  CPhraseNode& folder = store.Nodes().back();
  folder.MakeFolder();
  folder.SetFirstTextCache(L"a");
  folder.childNodes->emplace_back();
  (*folder.childNodes)[0].SetSecondTextCache(L"old language");
  store.ClearTextCaches();
  EXPECT_TRUE(folder.firstTextCache.empty());
  EXPECT_TRUE((*folder.childNodes)[0].secondTextCache.empty());
}

}  // namespace
