// Figures about the phrase tree for the information dialog.
#pragma once
#include <cstdint>
#include <string>

class CPhraseNode;
class CPhraseStore;

struct PhraseTreeStatistics {
  long long charactersInserted = 0;  // per phrase used: length of its inserted text x uses
  int highestUsage = 0;              // of any node
  long long totalUsage = 0;          // of all phrases
  int folders = 0;
  int textPhrases = 0;
  int rtfPhrases = 0;
  int execPhrases = 0;
  int enabledNodes = 0;
  int nodes = 0;
  std::wstring mostUsedCaption;  // first in walk order among equals; empty when nothing was used
};

// The text one insertion of the phrase delivers (rich text as plain text,
// macros expanded), whose length the statistics count.
using PhraseInsertedTextFn = std::wstring (*)(const CPhraseNode& phrase);

// The plain text of the phrase (a rich text through the rich-edit
// conversion) with its macros expanded for an empty selection and
// clipboard.
std::wstring GetPhraseInsertedText(const CPhraseNode& phrase);

// Walks the whole tree depth first; returns 1. The characters inserted are
// counted with insertedText (null: not counted).
int CollectPhraseTreeStatistics(CPhraseStore& store, PhraseTreeStatistics* out,
                                PhraseInsertedTextFn insertedText = GetPhraseInsertedText);
