// Times the check made before a phrase folder is opened (does any folder
// below hold a phrase file?) on the 10,000-file tree of the store benchmark,
// beside a bare walk of the same tree with FindFirstFile/FindNextFile.
//   bench_phrase_folder_check
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bare_walk.h"
#include "bench/bench_timer.h"
#include "bench/phrase_tree.h"
#include "editor_settings/helpers/file_helpers.h"
#include "tests/support/test_support.h"

int wmain() {
  qlrtest::TempDir temp;
  std::wstring root = temp.File(L"Phrases");
  if (!MakeBenchPhraseTree(root)) return 1;
  bool hit = false;
  double check = BestOfMs(5, [&] { hit = FolderHasPhraseFiles(root); });
  int files = 0;
  double walk = BestOfMs(5, [&] { files = BareWalk(root, false).files; });
  wprintf(L"FolderHasPhraseFiles on %d files in %d folders: best of 5 %.2f ms (%ls)\n", files,
          kBenchFolders, check, hit ? L"found" : L"NOT FOUND");
  wprintf(L"bare FindFirstFile/FindNextFile walk of the whole tree: best of 5 %.2f ms\n", walk);

  // The same tree without phrase files: the whole tree is searched.
  std::wstring plain = temp.File(L"Plain");
  CreateDirectoryW(plain.c_str(), nullptr);
  for (int f = 0; f < kBenchFolders; ++f) {
    std::wstring folder = plain + L"\\Folder " + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int p = 0; p < kBenchPhrasesPerFolder; ++p)
      qlrtest::WriteBytes(folder + L"\\note " + std::to_wstring(p) + L".txt", "x");
  }
  double miss = BestOfMs(5, [&] { hit = FolderHasPhraseFiles(plain); });
  double plainWalk = BestOfMs(5, [&] { files = BareWalk(plain, false).files; });
  wprintf(L"FolderHasPhraseFiles without a phrase file (%d files): best of 5 %.2f ms (%ls)\n", files, miss,
          hit ? L"FOUND" : L"none");
  wprintf(L"bare walk of that tree: best of 5 %.2f ms\n", plainWalk);
  return 0;
}
