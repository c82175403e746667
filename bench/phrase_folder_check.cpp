// Times the check made before a phrase folder is opened (does any folder
// below hold a phrase file?) on the 10,000-file tree of the store benchmark,
// beside a bare walk of the same tree with FindFirstFile/FindNextFile.
//   bench_phrase_folder_check
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "bench/phrase_tree.h"
#include "editor_settings/helpers/file_helpers.h"
#include "tests/support/test_support.h"

namespace {

// Every file of the tree, counted: the work a check without an early end does.
int BareWalk(const std::wstring& root) {
  int files = 0;
  std::vector<std::wstring> pending{root};
  while (!pending.empty()) {
    std::wstring dir = pending.back() + L"\\";
    pending.pop_back();
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L"..")) pending.push_back(dir + fd.cFileName);
      } else {
        ++files;
      }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  return files;
}

template <typename F>
double BestMs(F work) {
  double best = 1e30;
  for (int run = 0; run < 5; ++run) {
    double t0 = BenchNowMs();
    work();
    double ms = BenchNowMs() - t0;
    if (ms < best) best = ms;
  }
  return best;
}

}  // namespace

int wmain() {
  qlrtest::TempDir temp;
  std::wstring root = temp.File(L"Phrases");
  if (!MakeBenchPhraseTree(root)) return 1;
  bool hit = false;
  double check = BestMs([&] { hit = FolderHasPhraseFiles(root); });
  int files = 0;
  double walk = BestMs([&] { files = BareWalk(root); });
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
  double miss = BestMs([&] { hit = FolderHasPhraseFiles(plain); });
  double plainWalk = BestMs([&] { files = BareWalk(plain); });
  wprintf(L"FolderHasPhraseFiles without a phrase file (%d files): best of 5 %.2f ms (%ls)\n", files, miss,
          hit ? L"FOUND" : L"none");
  wprintf(L"bare walk of that tree: best of 5 %.2f ms\n", plainWalk);
  return 0;
}
