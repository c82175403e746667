// Prints how long the backup archive of a phrase folder of 10,000 phrase
// files in 200 folders takes, beside the bare file walk and the bare reads
// of every file that it stands on.
//   bench_zip_folder_tree
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bare_walk.h"
#include "bench/bench_timer.h"
#include "editor/services/folder_archive.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 50;

std::string PhraseBytes(int folder, int file) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<QLRCommand><MenuName>Phrase " + std::to_string(file) +
         " of folder " + std::to_string(folder) +
         "</MenuName><DataType>TEXT</DataType><Cmd>Kind regards,\r\nthe phrase writer</Cmd></QLRCommand>\r\n";
}

}  // namespace

int wmain() {
  qlrtest::TempDir dir;
  const std::wstring root = dir.File(L"Phrases");
  CreateDirectoryW(root.c_str(), nullptr);
  for (int f = 0; f < kFolders; ++f) {
    std::wstring folder = root + L"\\Folder " + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < kFilesPerFolder; ++i)
      qlrtest::WriteBytes(folder + L"\\Phrase " + std::to_wstring(i) + L".quillora", PhraseBytes(f, i));
  }
  const std::wstring archive = dir.File(L"backup.zip");

  double start = BenchNowMs();
  int walked = BareWalk(root, false).files;
  double walkMs = BenchNowMs() - start;
  start = BenchNowMs();
  int read = BareWalk(root, true).files;
  double readMs = BenchNowMs() - start;
  start = BenchNowMs();
  std::vector<ArchiveEntry> entries = ListFolderTree(root, L"*.quillora");
  double listMs = BenchNowMs() - start;
  // The zip writer alone over the listed files.
  start = BenchNowMs();
  ZipHandle* zip = ZipCreateFile(dir.File(L"bare.zip").c_str(), nullptr);
  for (const ArchiveEntry& e : entries)
    if (!e.isFolder) ZipAddFile(zip, e.path.substr(root.size() + 1).c_str(), e.path.c_str());
  CloseZip(zip);
  double writerMs = BenchNowMs() - start;
  start = BenchNowMs();
  bool ok = ZipFolderTree(root, L"*.quillora", archive, {});
  double zipMs = BenchNowMs() - start;

  WIN32_FILE_ATTRIBUTE_DATA info = {};
  GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &info);
  std::printf("ZipFolderTree %d folders x %d files: %.0f ms (%s, archive %lu bytes)\n", kFolders, kFilesPerFolder,
              zipMs, ok ? "complete" : "FAILED", info.nFileSizeLow);
  std::printf("bare walk (FindFirstFile/FindNextFile) of %d files: %.0f ms\n", walked, walkMs);
  std::printf("bare walk + open and read of %d files: %.0f ms\n", read, readMs);
  std::printf("of that: the tree listing %.0f ms (%zu entries); the zip writer alone over the list %.0f ms\n",
              listMs, entries.size(), writerMs);
  return ok ? 0 : 1;
}
