// The page's own style sheets (<style> blocks and the sheets handed over for
// <link> elements), reduced to what the view can show: colours, font
// weight, style, size and family, decoration, alignment, hiding, and the
// boxes of blocks (page_boxes.h).
#pragma once
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/htmlayout/dom.h"

namespace hl {

using StyleDeclarations = std::vector<std::pair<std::wstring, std::wstring>>;  // lower-case names

// "a: b; c: d" into pairs; names lower case, values trimmed and cut to
// kMaxStyleValue characters. Properties the drawer spells differently are
// renamed (font-face is font-family).
void ParseStyleDeclarations(const std::wstring& text, StyleDeclarations& out);
constexpr size_t kMaxStyleValue = 200;

// Keeps the last declaration of each property the page's drawing reads
// (text styles, hiding, boxes, table borders and backgrounds) and drops the rest,
// so an element carries a handful of pairs however many rules match it.
void ReduceStyleDeclarations(StyleDeclarations& declarations);

// Whether the declarations hide the element (display: none, visibility:
// hidden); later declarations win.
bool DeclarationsHide(const StyleDeclarations& declarations);

class PageStyles {
 public:
  static const size_t kMaxRules = 5000;

  // Reads the rules of one sheet. Simple selectors only: a tag, #id, .class
  // or their combination with at most one attribute test ([a], [a=v],
  // [a^=v]) and ::after, the last part of a descendant chain; other
  // pseudo-classes and attribute tests are skipped, and so are @ rules.
  void AddSheet(const std::wstring& text);
  size_t RuleCount() const { return m_rules.size(); }

  // The element's declarations, reduced: the matching rules by specificity
  // and order, its style attribute, its run-time styles. Elements that look
  // alike to the sheet share one match; past kMaxMatchWork rule visits in
  // all, elements keep their own styles only, so a hostile sheet cannot make
  // a layout take seconds.
  StyleDeclarations For(const Node& node) const;
  static const size_t kMaxMatchWork = 2000000;

 private:
  struct Rule {
    std::string tag;  // empty: any
    std::wstring id, cls;
    std::string attr;      // an attribute test: [attr], [attr=value], [attr^=value]
    std::wstring attrValue;
    int attrOp = 0;        // 0 none, 1 present, 2 equal, 3 starts with
    bool after = false;    // ::after: its background image, at the element's end
    int specificity = 0;
    size_t order = 0;
    StyleDeclarations declarations;
  };
  void AddRule(const std::wstring& selector, const StyleDeclarations& declarations);
  StyleDeclarations Matched(const Node& node) const;
  static bool AttributeMatches(const Rule& rule, const Node& node);

  std::vector<Rule> m_rules;
  // Rules by the one key each is filed under: "t" + tag, "#" + id or "." +
  // class (lower case), so an element looks at its candidates only.
  std::unordered_map<std::wstring, std::vector<size_t>> m_index;
  // The rules of each key that test an attribute.
  std::unordered_map<std::wstring, std::vector<size_t>> m_attributeRules;
  // Matches by what the sheet sees of an element (its tag, and its id and
  // classes that rules are filed under); kMaxMatched entries at most.
  mutable std::unordered_map<std::wstring, StyleDeclarations> m_matched;
  static const size_t kMaxMatched = 4096;
  mutable size_t m_work = 0;
};

}  // namespace hl
