#include "platform/htmlayout/render/page_styles.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace hl {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

std::wstring Trim(const std::wstring& text) {
  size_t a = 0, b = text.size();
  while (a < b && IsBlank(text[a])) ++a;
  while (b > a && IsBlank(text[b - 1])) --b;
  return text.substr(a, b - a);
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

// Removes /* comments */.
std::wstring WithoutComments(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, 2, L"/*") == 0) {
      size_t end = text.find(L"*/", i + 2);
      if (end == std::wstring::npos) break;
      i = end + 2;
      continue;
    }
    out += text[i++];
  }
  return out;
}

bool ClassListHas(const std::wstring& list, const std::wstring& cls) {
  size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && IsBlank(list[i])) ++i;
    size_t start = i;
    while (i < list.size() && !IsBlank(list[i])) ++i;
    if (i > start && CompareStringOrdinal(list.c_str() + start, static_cast<int>(i - start), cls.c_str(),
                                          static_cast<int>(cls.size()), TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

// What the page's drawing reads of an element's declarations.
const wchar_t* const kDrawnProperties[] = {
    L"color",       L"font-size",       L"font-family",    L"font-style",       L"font-weight",
    L"text-decoration", L"text-transform", L"background-color", L"text-align", L"display",
    L"visibility",  L"border-color",    L"border-style",   L"border-width",     L"border",
    L"border-top-color", L"border-right-color", L"border-bottom-color", L"border-left-color",
    L"border-radius", L"background",    L"margin",         L"margin-top",       L"margin-right",
    L"margin-bottom", L"margin-left",   L"padding",        L"padding-top",      L"padding-right",
    L"padding-bottom", L"padding-left", L"width",          L"text-indent",      L"float",
    L"position",    L"top",             L"right",          L"bottom",           L"left",
    L"flow",        L"background-image", L"background-position", L"background-size", L"background-repeat",
    nullptr};

bool IsDrawnProperty(const std::wstring& name) {
  for (const wchar_t* const* p = kDrawnProperties; *p; ++p) {
    if (name == *p) return true;
  }
  return false;
}

bool SameNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace

void ParseStyleDeclarations(const std::wstring& text, StyleDeclarations& out) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(L';', pos);
    if (end == std::wstring::npos) end = text.size();
    std::wstring item = text.substr(pos, end - pos);
    pos = end + 1;
    size_t colon = item.find(L':');
    if (colon == std::wstring::npos) continue;
    std::wstring name = Lower(Trim(item.substr(0, colon)));
    std::wstring value = Trim(item.substr(colon + 1));
    if (name.empty()) continue;
    if (name == L"font-face") name = L"font-family";
    if (value.size() > kMaxStyleValue) value.resize(kMaxStyleValue);
    // A value never closes the drawer's rule it is copied into.
    value.erase(std::remove_if(value.begin(), value.end(), [](wchar_t c) { return c == L'{' || c == L'}'; }),
                value.end());
    out.push_back({name, value});
  }
}

void ReduceStyleDeclarations(StyleDeclarations& declarations) {
  StyleDeclarations kept;
  for (auto it = declarations.rbegin(); it != declarations.rend(); ++it) {
    if (!IsDrawnProperty(it->first)) continue;
    bool later = false;
    for (const auto& k : kept) later = later || k.first == it->first;
    if (!later) kept.push_back(std::move(*it));
  }
  declarations.assign(std::make_move_iterator(kept.rbegin()), std::make_move_iterator(kept.rend()));
}

bool DeclarationsHide(const StyleDeclarations& declarations) {
  bool display = true, visible = true;
  for (const auto& [name, value] : declarations) {
    std::wstring v = Lower(value);
    if (name == L"display") display = v != L"none";
    else if (name == L"visibility") visible = v != L"hidden" && v != L"collapse";
  }
  return !display || !visible;
}

void PageStyles::AddSheet(const std::wstring& raw) {
  const std::wstring text = WithoutComments(raw);
  size_t pos = 0;
  while (pos < text.size() && m_rules.size() < kMaxRules) {
    size_t open = text.find(L'{', pos);
    if (open == std::wstring::npos) return;
    std::wstring selectors = Trim(text.substr(pos, open - pos));
    // The block ends at its matching brace (an @ rule holds nested blocks).
    size_t depth = 1, close = open + 1;
    for (; close < text.size() && depth > 0; ++close) {
      if (text[close] == L'{') ++depth;
      else if (text[close] == L'}') --depth;
    }
    if (depth > 0) return;
    pos = close;
    if (selectors.empty() || selectors[0] == L'@') continue;
    StyleDeclarations declarations;
    ParseStyleDeclarations(text.substr(open + 1, close - open - 2), declarations);
    size_t start = 0;
    while (start <= selectors.size()) {
      size_t comma = selectors.find(L',', start);
      if (comma == std::wstring::npos) comma = selectors.size();
      AddRule(Trim(selectors.substr(start, comma - start)), declarations);
      start = comma + 1;
    }
  }
}

namespace {

// Reads one attribute test "[name]", "[name=value]" or "[name^=value]" out
// of the compound; false for any other bracket.
bool TakeAttributeTest(std::wstring& compound, std::string& name, std::wstring& value, int& op) {
  const size_t open = compound.find(L'[');
  if (open == std::wstring::npos) return true;
  const size_t close = compound.find(L']', open);
  if (close == std::wstring::npos) return false;
  std::wstring test = compound.substr(open + 1, close - open - 1);
  compound.erase(open, close - open + 1);
  size_t eq = test.find(L'=');
  op = eq == std::wstring::npos ? 1 : 2;
  std::wstring n = Trim(test.substr(0, eq));
  if (op == 2 && eq > 0 && test[eq - 1] == L'^') {
    op = 3;
    n = Trim(test.substr(0, eq - 1));
  } else if (op == 2 && eq > 0 && !iswalnum(test[eq - 1]) && test[eq - 1] != L'-' && test[eq - 1] != L' ') {
    return false;  // ~= |= $= *=
  }
  if (n.empty()) return false;
  for (wchar_t c : n) {
    if (c > 0x7F || !(iswalnum(c) || c == L'-' || c == L'_')) return false;
    name += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
  }
  if (op > 1) {
    value = Trim(test.substr(eq + 1));
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
  }
  return true;
}

bool EndsNoCase(const std::wstring& text, const wchar_t* tail) {
  const size_t n = wcslen(tail);
  return text.size() >= n && SameNoCase(text.substr(text.size() - n), tail);
}

}  // namespace

void PageStyles::AddRule(const std::wstring& selector, const StyleDeclarations& declarations) {
  if (selector.empty() || m_rules.size() >= kMaxRules) return;
  // The last compound of a descendant chain.
  size_t last = selector.find_last_of(L" \t\r\n");
  std::wstring compound = last == std::wstring::npos ? selector : selector.substr(last + 1);
  Rule rule;
  // What comes after an element (a link's icon) is drawn at its end.
  if (EndsNoCase(compound, L"::after")) compound.resize(compound.size() - 7), rule.after = true;
  else if (EndsNoCase(compound, L":after")) compound.resize(compound.size() - 6), rule.after = true;
  if (!TakeAttributeTest(compound, rule.attr, rule.attrValue, rule.attrOp)) return;
  if (compound.find_first_of(L":[]>+~*") != std::wstring::npos) return;
  if (selector.substr(0, last == std::wstring::npos ? 0 : last).find_first_of(L":[>+~*") != std::wstring::npos) return;
  if (rule.attrOp) rule.specificity += 10;
  size_t i = 0;
  auto name = [&](size_t from) {
    size_t j = from;
    while (j < compound.size() && compound[j] != L'#' && compound[j] != L'.') ++j;
    return j;
  };
  size_t end = name(0);
  for (size_t k = 0; k < end; ++k) {
    wchar_t c = compound[k];
    if (c > 0x7F) return;
    rule.tag += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
  }
  i = end;
  while (i < compound.size()) {
    wchar_t kind = compound[i];
    size_t stop = name(i + 1);
    std::wstring value = compound.substr(i + 1, stop - i - 1);
    if (value.empty()) return;
    if (kind == L'#') {
      rule.id = value;
      rule.specificity += 100;
    } else {
      rule.cls = value;
      rule.specificity += 10;
    }
    i = stop;
  }
  if (!rule.tag.empty()) rule.specificity += 1;
  if (rule.tag.empty() && rule.id.empty() && rule.cls.empty()) return;
  rule.order = m_rules.size();
  if (rule.after) {
    // Of the box after the element only its background image shows.
    for (const auto& [n, v] : declarations) {
      if (n == L"background" || n == L"background-image" || n == L"background-size" || n == L"background-repeat")
        rule.declarations.push_back({n, v});
    }
    if (!rule.declarations.empty()) rule.declarations.push_back({L"background-position", L"right"});
  } else {
    rule.declarations = declarations;
  }
  ReduceStyleDeclarations(rule.declarations);
  if (rule.declarations.empty()) return;
  std::wstring key = !rule.id.empty() ? L"#" + Lower(rule.id)
                     : !rule.cls.empty() ? L"." + Lower(rule.cls)
                                         : L"t" + std::wstring(rule.tag.begin(), rule.tag.end());
  m_index[key].push_back(m_rules.size());
  if (rule.attrOp) m_attributeRules[key].push_back(m_rules.size());
  m_rules.push_back(std::move(rule));
}

StyleDeclarations PageStyles::Matched(const Node& node) const {
  const Attribute* id = node.FindAttribute("id");
  const Attribute* cls = node.FindAttribute("class");
  // The buckets the element draws from, and the key they make together.
  std::vector<const std::vector<size_t>*> buckets;
  std::wstring key;
  size_t work = 0;
  bool spent = false;
  auto collect = [&](const std::wstring& bucketKey) {
    auto it = m_index.find(bucketKey);
    if (it == m_index.end() || spent) return;
    buckets.push_back(&it->second);
    key += bucketKey + L'\n';
    work += it->second.size();
    // Elements alike but for the attributes rules test match apart. The
    // tests run for every element, matched before or not: each is charged
    // to the budget as it is made.
    auto tests = m_attributeRules.find(bucketKey);
    if (tests == m_attributeRules.end()) return;
    if (m_work + tests->second.size() > kMaxMatchWork) {
      spent = true;
      return;
    }
    m_work += tests->second.size();
    for (size_t index : tests->second) key += AttributeMatches(m_rules[index], node) ? L'1' : L'0';
  };
  collect(L"t" + std::wstring(node.tag.begin(), node.tag.end()));
  if (id) collect(L"#" + Lower(id->value));
  const bool idRules = id && m_index.count(L"#" + Lower(id->value)) != 0;
  if (cls) {
    const std::wstring& list = cls->value;
    for (size_t i = 0; i < list.size();) {
      while (i < list.size() && IsBlank(list[i])) ++i;
      size_t start = i;
      while (i < list.size() && !IsBlank(list[i])) ++i;
      if (i > start) collect(L"." + Lower(list.substr(start, i - start)));
    }
    // Rules filed under the id test classes of their own.
    if (idRules) key += L"|" + Lower(list);
  }
  if (buckets.empty() || spent) return StyleDeclarations();
  key = std::wstring(node.tag.begin(), node.tag.end()) + L'\n' + key;
  auto cached = m_matched.find(key);
  if (cached != m_matched.end()) return cached->second;
  if (m_work + work > kMaxMatchWork) return StyleDeclarations();
  m_work += work;

  std::vector<size_t> candidates;
  for (const std::vector<size_t>* bucket : buckets) candidates.insert(candidates.end(), bucket->begin(), bucket->end());
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  std::vector<const Rule*> matches;
  for (size_t index : candidates) {
    const Rule& rule = m_rules[index];
    if (!rule.tag.empty() && rule.tag != node.tag) continue;
    if (!rule.id.empty() && (!id || !SameNoCase(id->value, rule.id))) continue;
    if (!rule.cls.empty() && (!cls || !ClassListHas(cls->value, rule.cls))) continue;
    if (rule.attrOp && !AttributeMatches(rule, node)) continue;
    matches.push_back(&rule);
  }
  std::stable_sort(matches.begin(), matches.end(),
                   [](const Rule* a, const Rule* b) { return a->specificity < b->specificity; });
  StyleDeclarations out;
  for (const Rule* rule : matches) {
    out.insert(out.end(), rule->declarations.begin(), rule->declarations.end());
    ReduceStyleDeclarations(out);
  }
  if (m_matched.size() < kMaxMatched) m_matched.emplace(key, out);
  return out;
}

bool PageStyles::AttributeMatches(const Rule& rule, const Node& node) {
  const Attribute* a = node.FindAttribute(rule.attr.c_str());
  if (!a) return false;
  if (rule.attrOp == 2) return a->value == rule.attrValue;
  if (rule.attrOp == 3) return a->value.compare(0, rule.attrValue.size(), rule.attrValue) == 0;
  return true;
}

StyleDeclarations PageStyles::For(const Node& node) const {
  StyleDeclarations out = Matched(node);
  if (const Attribute* style = node.FindAttribute("style")) ParseStyleDeclarations(style->value, out);
  for (const auto& [name, value] : node.styles) {
    std::wstring item(name.begin(), name.end());
    ParseStyleDeclarations(item + L":" + value, out);
  }
  ReduceStyleDeclarations(out);
  return out;
}

}  // namespace hl
