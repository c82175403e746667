// Splits HTML text into tags and text the way browsers forgive it: any case,
// unquoted values, attributes without values, comments, stray '<'. Every step
// consumes input, so any text ends in time linear in its length.
#pragma once
#include <string>
#include <vector>

#include "platform/htmlayout/dom.h"

namespace hl {

struct Token {
  enum Kind { kStartTag, kEndTag, kText };
  Kind kind = kText;
  std::string name;  // ASCII lower case
  std::vector<Attribute> attributes;
  bool selfClosing = false;
  std::wstring text;  // character references already replaced (not in style/script)
};

// Elements without content (br, img, input, meta, ...).
bool IsVoidElement(const std::string& tag);
// style, script, title, textarea: their content is raw text, kept out of
// the page's text.
bool IsRawTextElement(const std::string& tag);

class Tokenizer {
 public:
  static const size_t kMaxAttributes = 256;  // more on one element are dropped

  explicit Tokenizer(const std::wstring& input) : m_s(input) {}
  // False at the end of the input. A tag cut off by the end is dropped, an
  // unterminated comment runs to the end.
  bool Next(Token& token);

 private:
  bool ReadStartTag(Token& token);
  bool ReadEndTag(Token& token);
  void SkipTo(wchar_t c);
  bool ReadRawText(Token& token);

  const std::wstring& m_s;
  size_t m_pos = 0;
  std::string m_rawEnd;  // inside style/script/title/textarea: the tag that ends it
  bool m_rawDecoded = false;
};

}  // namespace hl
