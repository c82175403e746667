#include "phrases/store/phrase_load_cache.h"

#include <gtest/gtest.h>

#include "phrases/store/phrase_scan.h"
#include "phrases/store/phrase_store.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/support/test_support.h"

namespace {

// Files older than the cache's two-second window, as after a real day of use.
void Age(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart -= 3600ull * 10000000;
  FILETIME past{t.LowPart, t.HighPart};
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &past));
  CloseHandle(file);
}

void WritePhrase(const std::wstring& path, const std::wstring& caption, int usage) {
  CPhraseNode node = phrasetest::MakePhrase(caption, L"data of " + caption, usage);
  node.usageCount = usage;
  node.lastUse = {2023, 4, 0, 5, 6, 7, 8, 0};
  node.SetHint(L"hint " + caption);
  ASSERT_TRUE(SavePhraseToFile(node, path));
  Age(path);
}

// Everything a load gives, node by node in walk order.
std::vector<std::string> Snapshot(CPhraseStore& store) {
  std::vector<std::string> out;
  store.ForEachNode(
      [](CPhraseNode* node, void* context, CPhraseNode* parent) -> int {
        std::string line = PhraseNodeToXml(*node) + "|" + std::to_string(node->CMDID) + "|" +
                           std::to_string(parent ? parent->CMDID : 0) + "|" +
                           qlrtest::ToUtf8(node->GetFilePath() + node->caption);
        static_cast<std::vector<std::string>*>(context)->push_back(line);
        return 1;
      },
      &out);
  return out;
}

size_t CacheHits(const std::wstring& cachePath, const std::wstring& folder) {
  PhraseLoadCache cache(cachePath);
  cache.Open(folder);
  ScanPhraseFolder(folder, &cache);
  EXPECT_TRUE(WaitForPhraseWrites(10000));
  return cache.Hits();
}

class PhraseLoadCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"\\Sub").c_str(), nullptr));
    WritePhrase(root + L"\\a.quillora", L"a", 1);
    WritePhrase(root + L"\\b.quillora", L"b", 2);
    WritePhrase(root + L"\\Sub\\c.quillora", L"c", 3);
    CPhraseNode folder;
    folder.MakeFolder();
    folder.sortId = 7;
    ASSERT_TRUE(SavePhraseToFile(folder, root + L"\\Sub\\FOLDER_SELF.quillora"));
    Age(root + L"\\Sub\\FOLDER_SELF.quillora");
    ASSERT_TRUE(qlrtest::WriteBytes(root + L"\\broken.quillora", "<QLRCommand"));
    Age(root + L"\\broken.quillora");
  }
  void TearDown() override { EXPECT_TRUE(WaitForPhraseWrites(10000)); }

  qlrtest::TempDir dir;
  std::wstring root = dir.File(L"Phrases");
  std::wstring cachePath = dir.File(L"load.cache");
};

TEST_F(PhraseLoadCacheTest, LoadsFromTheRecordGiveTheSameTree) {
  CPhraseStore plain;
  plain.Load(root, 0);
  const std::vector<std::string> expected = Snapshot(plain);
  ASSERT_EQ(expected.size(), 4u);

  CPhraseStore cached;
  cached.SetLoadCachePath(cachePath);
  cached.Load(root, 0);  // writes the record
  ASSERT_TRUE(WaitForPhraseWrites(10000));
  EXPECT_EQ(Snapshot(cached), expected);
  cached.Load(root, 0);  // served from it
  EXPECT_EQ(Snapshot(cached), expected);
  // Three phrase files, the broken one and the folder's own record.
  EXPECT_EQ(CacheHits(cachePath, root), 5u);
}

TEST_F(PhraseLoadCacheTest, ChangedAddedAndRemovedFilesAreSeen) {
  CPhraseStore store;
  store.SetLoadCachePath(cachePath);
  store.Load(root, 0);
  ASSERT_TRUE(WaitForPhraseWrites(10000));

  // Changed through the store itself: written just now, so never trusted.
  CPhraseNode* a = nullptr;
  for (CPhraseNode& n : store.Nodes())
    if (std::wstring(n.caption) == L"a") a = &n;
  ASSERT_NE(a, nullptr);
  a->IncrementUsageCount();
  ASSERT_TRUE(store.SaveNodeById(a->CMDID));
  ASSERT_TRUE(WaitForPhraseWrites(10000));
  ASSERT_TRUE(DeleteFileW((root + L"\\b.quillora").c_str()));
  WritePhrase(root + L"\\Sub\\new.quillora", L"new", 9);

  store.Load(root, 0);
  CPhraseStore plain;
  plain.Load(root, 0);
  EXPECT_EQ(Snapshot(store), Snapshot(plain));
  EXPECT_EQ(store.GetNodeCount(), 4);  // a, Sub, c, new
  bool sawNewCount = false;
  for (const CPhraseNode& n : store.Nodes())
    if (std::wstring(n.caption) == L"a") sawNewCount = n.usageCount == 2;
  EXPECT_TRUE(sawNewCount);
}

TEST_F(PhraseLoadCacheTest, DamagedOrForeignRecordsAreIgnored) {
  CPhraseStore plain;
  plain.Load(root, 0);
  const std::vector<std::string> expected = Snapshot(plain);
  {
    CPhraseStore store;
    store.SetLoadCachePath(cachePath);
    store.Load(root, 0);
  }
  ASSERT_TRUE(WaitForPhraseWrites(10000));
  const std::string good = qlrtest::ReadBytes(cachePath);
  ASSERT_GT(good.size(), 100u);

  // One bit changed deep inside is damage too: it may sit in a stored text.
  std::string flipped = good;
  flipped[good.size() / 2] ^= 0x20;
  const std::string damaged[] = {good.substr(0, good.size() / 2), good.substr(0, 20),
                                 good + "trailing", std::string(good.size(), '\xFF'), "", flipped};
  for (const std::string& bytes : damaged) {
    ASSERT_TRUE(qlrtest::WriteBytes(cachePath, bytes));
    EXPECT_EQ(CacheHits(cachePath, root), 0u);
    ASSERT_TRUE(qlrtest::WriteBytes(cachePath, bytes));
    CPhraseStore store;
    store.SetLoadCachePath(cachePath);
    store.Load(root, 0);
    EXPECT_EQ(Snapshot(store), expected);
    // The load writes a good record again; the next case must not find it.
    ASSERT_TRUE(WaitForPhraseWrites(10000));
  }
  // Made for another folder: not used there.
  ASSERT_TRUE(qlrtest::WriteBytes(cachePath, good));
  EXPECT_EQ(CacheHits(cachePath, root + L"\\Sub"), 0u);
}

}  // namespace
