#include "phrases/store/phrase_statistics.h"

#include "foundation/ui/rich_edit_convert.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/store/phrase_store.h"

namespace {

struct Walk {
  PhraseTreeStatistics stats;
  PhraseInsertedTextFn insertedText;
  std::uint32_t mostUsedId = 0;
};

int Visit(CPhraseNode* node, void* context, CPhraseNode*) {
  Walk& walk = *static_cast<Walk*>(context);
  PhraseTreeStatistics& s = walk.stats;
  ++s.nodes;
  if (node->IsEnabled()) ++s.enabledNodes;
  int usage = node->GetUsageCount();
  if (usage > s.highestUsage) {
    s.highestUsage = usage;
    walk.mostUsedId = node->CMDID;
  }
  if (node->IsFolder()) {
    ++s.folders;
    return 1;
  }
  s.totalUsage += usage;
  switch (node->DataType) {
    case kDataTypeText: ++s.textPhrases; break;
    case kDataTypeRtf: ++s.rtfPhrases; break;
    case kDataTypeExec: ++s.execPhrases; break;
    default: break;
  }
  if (usage > 0 && walk.insertedText)
    s.charactersInserted += static_cast<long long>(walk.insertedText(*node).size()) * usage;
  return 1;
}

}  // namespace

std::wstring GetPhraseInsertedText(const CPhraseNode& phrase) {
  std::wstring text = phrase.DataType == kDataTypeRtf ? RtfToPlainText(phrase.data) : phrase.data;
  return ExpandMacrosInText(text);
}

int CollectPhraseTreeStatistics(CPhraseStore& store, PhraseTreeStatistics* out,
                                PhraseInsertedTextFn insertedText) {
  Walk walk;
  walk.insertedText = insertedText;
  store.ForEachNode(Visit, &walk);
  if (walk.mostUsedId != 0) {
    if (const CPhraseNode* top = store.FindNodeById(walk.mostUsedId)) walk.stats.mostUsedCaption = top->caption;
  }
  if (out) *out = walk.stats;
  return 1;
}
