// Archives of phrase folder trees. The full archive is left in
// <build>/folder_archive_sample with a manifest, where Python's zip reader
// checks it natively afterwards.
#include "editor/services/folder_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/system/handles.h"
#include "foundation/tests/zip_test_reader.h"
#include "tests/support/test_support.h"

namespace {

std::wstring SampleDir() { return qlrtest::BinDir() + L"\\..\\folder_archive_sample"; }

bool MakeDir(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
  return out;
}

// Phrases\a.quillora, Phrases\notes.txt (no phrase), Phrases\Work\b.quillora,
// Phrases\Work\Deep\c.quillora, Phrases\Empty\, and Settings.ini beside.
struct PhraseTree {
  qlrtest::TempDir dir;
  std::wstring root = dir.File(L"Phrases");
  std::wstring settings = dir.File(L"Settings.ini");
  std::vector<std::pair<std::wstring, std::string>> files = {
      {L"Phrases\\a.quillora", "<QLRCommand>a</QLRCommand>"},
      {L"Phrases\\Work\\b.quillora", std::string(5000, 'b')},
      {L"Phrases\\Work\\Deep\\c.quillora", "c"},
  };

  PhraseTree() {
    MakeDir(root);
    MakeDir(root + L"\\Work");
    MakeDir(root + L"\\Work\\Deep");
    MakeDir(root + L"\\Empty");
    for (const auto& f : files) qlrtest::WriteBytes(dir.File(f.first), f.second);
    qlrtest::WriteBytes(root + L"\\notes.txt", "not a phrase");
    qlrtest::WriteBytes(settings, "[Settings]\r\n");
  }
};

std::vector<std::string> Names(const std::wstring& archive) {
  std::vector<ziptest::ReadEntry> entries;
  EXPECT_TRUE(ziptest::ReadArchive(qlrtest::ReadBytes(archive), entries));
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  return names;
}

TEST(FolderArchiveTest, WritesTheTreeForTheNativeCheck) {
  PhraseTree tree;
  const std::wstring sample = SampleDir();
  CreateDirectoryW(sample.c_str(), nullptr);
  const std::wstring archive = sample + L"\\backup.zip";
  qlrtest::WriteBytes(archive, "an older archive in the way");

  std::vector<std::wstring> missing = {L"left over"};
  ASSERT_TRUE(ZipFolderTree(tree.root, L"*.quillora", archive, {tree.settings}, &missing));
  EXPECT_TRUE(missing.empty());

  // The manifest: every file entry with its bytes, every folder with "-".
  std::string manifest;
  for (const auto& f : tree.files) {
    std::string name = qlrtest::ToUtf8(f.first);
    std::replace(name.begin(), name.end(), '\\', '/');
    manifest += "file\t" + name + "\t" + Hex(f.second) + "\n";
  }
  manifest += "file\tSettings.ini\t" + Hex("[Settings]\r\n") + "\n";
  for (const char* folder : {"Phrases/", "Phrases/Work/", "Phrases/Work/Deep/", "Phrases/Empty/"})
    manifest += std::string("folder\t") + folder + "\t-\n";
  manifest += "absent\tPhrases/notes.txt\t-\n";
  ASSERT_TRUE(qlrtest::WriteBytes(sample + L"\\manifest.txt", manifest));

  // The same archive through the tests' own reader.
  std::vector<std::string> names = Names(archive);
  EXPECT_EQ(names.size(), 8u);
  EXPECT_EQ(names.front(), "Phrases/");
  EXPECT_EQ(names.back(), "Settings.ini");
  EXPECT_EQ(std::count(names.begin(), names.end(), "Phrases/notes.txt"), 0);
}

TEST(FolderArchiveTest, LockedFileFailsTheBackupAndIsNamed) {
  PhraseTree tree;
  const std::wstring locked = tree.root + L"\\Work\\b.quillora";
  UniqueHandle hold(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(hold.IsValid());
  const std::wstring archive = tree.dir.File(L"backup.zip");
  const std::wstring gone = tree.dir.File(L"no such settings.ini");

  std::vector<std::wstring> missing;
  EXPECT_FALSE(ZipFolderTree(tree.root, L"*.quillora", archive, {tree.settings, gone}, &missing));
  EXPECT_EQ(missing, (std::vector<std::wstring>{locked, gone}));
  // The walk went on past the failure: everything else is in the archive.
  std::vector<std::string> names = Names(archive);
  EXPECT_EQ(names.size(), 7u);
  EXPECT_NE(std::find(names.begin(), names.end(), "Phrases/Work/Deep/c.quillora"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Settings.ini"), names.end());
}

TEST(FolderArchiveTest, FolderWithoutMatchesStillGivesItsFolders) {
  qlrtest::TempDir dir;
  const std::wstring root = dir.File(L"Bare");
  ASSERT_TRUE(MakeDir(root));
  ASSERT_TRUE(MakeDir(root + L"\\Sub"));
  qlrtest::WriteBytes(root + L"\\x.txt", "x");
  const std::wstring archive = dir.File(L"bare.zip");
  ASSERT_TRUE(ZipFolderTree(root + L"\\", L"*.quillora", archive, {}));
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"Bare/", "Bare/Sub/"}));
  EXPECT_FALSE(ZipFolderTree(L"", L"*.quillora", archive, {}));
}

TEST(FolderArchiveTest, WalkStopsAtLinksAndDepth) {
  qlrtest::TempDir dir;
  std::wstring path = dir.File(L"Deep");
  ASSERT_TRUE(MakeDir(path));
  const std::wstring root = path;
  for (int i = 0; i < 70; ++i) {
    path += L"\\d";
    ASSERT_TRUE(MakeDir(path));
  }
  std::vector<ArchiveEntry> entries = ListFolderTree(root, L"*.quillora");
  EXPECT_EQ(entries.size(), 65u);  // the folder and 64 levels below it

  // A link from inside the tree back to its top is not followed.
  const std::wstring top = dir.File(L"Loop");
  ASSERT_TRUE(MakeDir(top));
  qlrtest::WriteBytes(top + L"\\p.quillora", "p");
  const std::wstring link = top + L"\\back";
  if (!CreateSymbolicLinkW(link.c_str(), top.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
      !(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "no directory links here";
  entries = ListFolderTree(top, L"*.quillora");
  EXPECT_EQ(entries.size(), 2u);
  RemoveDirectoryW(link.c_str());
}

TEST(FolderArchiveTest, NamesStartAtTheFolderOrAtADriveRoot) {
  EXPECT_EQ(ArchiveNamePrefix(L"C:\\Users\\me\\Phrases\\"), L"C:\\Users\\me\\");
  EXPECT_EQ(ArchiveNamePrefix(L"C:\\Users\\me\\Phrases"), L"C:\\Users\\me\\");
  // A phrases folder at a drive root has no name of its own: its entries
  // are named from the root, never with the drive's colon.
  EXPECT_EQ(ArchiveNamePrefix(L"D:\\"), L"D:\\");
  EXPECT_EQ(ArchiveNamePrefix(L"D:"), L"D:\\");
}

}  // namespace
