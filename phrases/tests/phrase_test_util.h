// Small helpers shared by the phrase tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"

namespace phrasetest {

inline CPhraseNode MakePhrase(const std::wstring& caption, const std::wstring& data, int sortId = 0,
                              bool enabled = true) {
  CPhraseNode node;
  node.SetCaption(caption);
  node.data = data;
  node.sortId = static_cast<std::uint32_t>(sortId);
  node.enabled = enabled;
  return node;
}

// Entries of a folder in the order the file system lists them.
inline std::vector<std::wstring> Listing(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
      names.push_back(found.cFileName);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}

}  // namespace phrasetest
