// The phrase folder the store benchmarks load: 10,000 phrase files in 200
// folders, with macros, hints, sort keys and usage figures.
#pragma once
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>

#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"

constexpr int kBenchFolders = 200;
constexpr int kBenchPhrasesPerFolder = 50;

inline bool BuildBenchPhraseTree(const std::wstring& root) {
  CreateDirectoryW(root.c_str(), nullptr);
  std::mt19937 rng(1);
  for (int f = 0; f < kBenchFolders; ++f) {
    std::wstring folder = root + L"\\Folder " + std::to_wstring(f);
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    for (int p = 0; p < kBenchPhrasesPerFolder; ++p) {
      CPhraseNode node;
      std::wstring caption = L"Phrase " + std::to_wstring(f) + L"." + std::to_wstring(p);
      node.SetCaption(caption);
      node.data = L"Dear %CLIPBOARD_TEXT%,\r\nthank you for your message of %DATE%.\r\n" + caption;
      node.SetHint(L"Hint of " + caption);
      node.sortId = rng() % 100;
      node.usageCount = static_cast<int>(rng() % 50);
      node.lastUse = {2024, 5, 0, 17, 10, 20, 30, 0};
      if (!SavePhraseToFile(node, folder + L"\\" + caption + L".quillora")) return false;
    }
  }
  return true;
}

// The tree, or a line saying why there is none.
inline bool MakeBenchPhraseTree(const std::wstring& root) {
  if (BuildBenchPhraseTree(root)) return true;
  wprintf(L"cannot build the phrase tree in %ls\n", root.c_str());
  return false;
}
