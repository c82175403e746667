// The page's own style sheets (<style> blocks and the sheets handed over for
// <link> elements), reduced to what the drawer can show: colours, font
// weight, style, size and family, decoration, alignment, and hiding.
#pragma once
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/htmlayout/dom.h"

namespace hl {

using StyleDeclarations = std::vector<std::pair<std::wstring, std::wstring>>;  // lower-case names

// "a: b; c: d" into pairs; names lower case, values trimmed. Properties the
// drawer spells differently are renamed (font-face is font-family).
void ParseStyleDeclarations(const std::wstring& text, StyleDeclarations& out);

// Whether the declarations hide the element (display: none, visibility:
// hidden); later declarations win.
bool DeclarationsHide(const StyleDeclarations& declarations);

class PageStyles {
 public:
  static const size_t kMaxRules = 5000;

  // Reads the rules of one sheet. Simple selectors only: a tag, #id, .class
  // or their combination, the last part of a descendant chain; selectors with
  // pseudo-classes or attribute tests are skipped, and so are @ rules.
  void AddSheet(const std::wstring& text);
  size_t RuleCount() const { return m_rules.size(); }

  // The element's declarations in cascade order: the matching rules by
  // specificity and order, its style attribute, its run-time styles.
  StyleDeclarations For(const Node& node) const;

 private:
  struct Rule {
    std::string tag;  // empty: any
    std::wstring id, cls;
    int specificity = 0;
    size_t order = 0;
    StyleDeclarations declarations;
  };
  void AddRule(const std::wstring& selector, const StyleDeclarations& declarations);

  std::vector<Rule> m_rules;
  // Rules by the one key each is filed under: "t" + tag, "#" + id or "." +
  // class (lower case), so an element looks at its candidates only.
  std::unordered_map<std::wstring, std::vector<size_t>> m_index;
};

}  // namespace hl
