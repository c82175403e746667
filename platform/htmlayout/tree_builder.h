// Builds a document from HTML text, mending what pages get wrong: implied
// ends of p, li, dt/dd, td/th, tr and option, end tags that match nothing,
// end tags that would escape a table cell. Limits keep any input bounded.
#pragma once
#include <memory>
#include <string>

#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/tokenizer.h"

namespace hl {

struct BuildLimits {
  size_t maxDepth = 256;      // deeper elements are placed at this depth
  size_t maxNodes = 200000;   // the rest of a longer document is dropped
};

std::unique_ptr<Document> BuildDocument(const std::wstring& html, const BuildLimits& limits = {});

}  // namespace hl
