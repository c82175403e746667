// Small helpers shared by the phrase store tests.
#pragma once
#include <windows.h>

#include <string>

#include "editor/store/command_folder.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/support/test_support.h"

namespace storetest {

// A phrase file written by the real writer.
inline bool WritePhrase(const std::wstring& path, const std::wstring& title, int sortId = 0,
                        const std::wstring& text = L"text") {
  return SavePhraseToFile(phrasetest::MakePhrase(title, text, sortId), path);
}

inline bool MakeDir(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The record as the file on disk holds it now (after every queued write).
inline bool ReadBack(const std::wstring& path, CPhraseNode* node) {
  WaitForPhraseWrites(30000);
  return ReadPhraseFile(*node, path);
}

inline CommandDragData Drag(std::uint32_t id, bool move) {
  CommandDragData data;
  data.hasRecord = true;
  data.id = id;
  data.isMove = move;
  return data;
}

inline std::uint32_t IdOfTitle(CCommandFolder& store, const std::wstring& title) {
  struct Search {
    std::wstring title;
    std::uint32_t id = static_cast<std::uint32_t>(-1);
  } search{title};
  store.ForEach(
      [](CQLRCommand* record, void* context, CQLRCommand*) {
        auto* s = static_cast<Search*>(context);
        if (record->GetMenuName() != s->title) return 1;
        s->id = record->GetId();
        return 0;
      },
      &search);
  return search.id;
}

}  // namespace storetest
