#include "platform/htmlayout/tree_builder.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/tokenizer.h"

namespace hl {
namespace {

// Start tags that end an open paragraph.
const char* const kClosesP[] = {"address", "article", "aside", "blockquote", "center", "div", "dl",
                                "fieldset", "footer", "form", "h1", "h2", "h3", "h4", "h5", "h6",
                                "header", "hr", "li", "menu", "nav", "ol", "p", "pre", "section",
                                "table", "ul", "dd", "dt", nullptr};
const char* const kTable[] = {"table", nullptr};
const char* const kP[] = {"p", nullptr};
const char* const kCells[] = {"td", "th", nullptr};
const char* const kRows[] = {"td", "th", "tr", nullptr};
const char* const kSections[] = {"td", "th", "tr", "tbody", "thead", "tfoot", nullptr};
const char* const kTableParts[] = {"td", "th", "tr", "tbody", "thead", "tfoot", "caption", nullptr};
const char* const kListItem[] = {"li", nullptr};
const char* const kLists[] = {"ul", "ol", "table", "td", "th", nullptr};
const char* const kDefinitions[] = {"dt", "dd", nullptr};
const char* const kDl[] = {"dl", "table", "td", "th", nullptr};
const char* const kOption[] = {"option", nullptr};
const char* const kSelect[] = {"select", nullptr};
// A plain end tag never closes past one of these.
const char* const kCellBoundary[] = {"table", "td", "th", "caption", nullptr};
const char* const kNone[] = {nullptr};

class Builder {
 public:
  Builder(Document& doc, const BuildLimits& limits) : m_doc(doc), m_limits(limits) {
    m_open.push_back(doc.Root());
  }

  // False once the node limit is reached.
  bool Add(Token& token) {
    switch (token.kind) {
      case Token::kStartTag: return Start(token);
      case Token::kEndTag: End(token.name); return true;
      case Token::kText: return Text(token.text);
    }
    return true;
  }

 private:
  Node* Top() const { return m_open.back(); }

  // Index in the open stack of the nearest element named in names, searching
  // down to (not past) an element named in boundaries; 0 when none.
  size_t FindOpen(const char* const* names, const char* const* boundaries) const {
    for (size_t i = m_open.size() - 1; i > 0; --i) {
      const std::string& tag = m_open[i]->tag;
      if (TagIn(tag, names)) return i;
      if (TagIn(tag, boundaries)) return 0;
    }
    return 0;
  }

  void PopTo(size_t index) {  // pops the element at index and everything above it
    if (index > 0) m_open.resize(index);
  }

  // Like FindOpen, but the outermost match: a new row ends the open cell
  // and its row together.
  size_t FindOutermost(const char* const* names, const char* const* boundaries) const {
    size_t found = 0;
    for (size_t i = m_open.size() - 1; i > 0; --i) {
      const std::string& tag = m_open[i]->tag;
      if (TagIn(tag, names)) found = i;
      else if (TagIn(tag, boundaries)) break;
    }
    return found;
  }

  void CloseImplied(const std::string& tag) {
    if (TagIn(tag, kClosesP)) PopTo(FindOpen(kP, kCellBoundary));
    if (tag == "li") PopTo(FindOpen(kListItem, kLists));
    if (tag == "dt" || tag == "dd") PopTo(FindOpen(kDefinitions, kDl));
    if (tag == "td" || tag == "th") PopTo(FindOutermost(kCells, kTable));
    if (tag == "tr") PopTo(FindOutermost(kRows, kTable));
    if (tag == "tbody" || tag == "thead" || tag == "tfoot") PopTo(FindOutermost(kSections, kTable));
    if (tag == "option") PopTo(FindOpen(kOption, kSelect));
  }

  bool Start(Token& token) {
    const std::string& tag = token.name;
    if (tag == "html") {  // the root exists already: only its attributes count
      for (Attribute& a : token.attributes) {
        if (!m_doc.Root()->FindAttribute(a.name.c_str())) m_doc.Root()->attributes.push_back(a);
      }
      return true;
    }
    if (m_doc.NodeCount() >= m_limits.maxNodes) return false;
    CloseImplied(tag);
    Node* node = m_doc.NewNode(tag);
    node->attributes = std::move(token.attributes);
    InitialState(*node);
    Append(node);
    bool leaf = IsVoidElement(tag) || token.selfClosing;
    if (!leaf && m_open.size() < m_limits.maxDepth) m_open.push_back(node);
    return true;
  }

  static bool Flag(const Node& node, const char* name) {
    const Attribute* a = node.FindAttribute(name);
    if (!a) return false;
    // A present attribute sets the state, except one that says so plainly.
    return !(a->value.size() == 5 && CompareStringOrdinal(a->value.c_str(), 5, L"false", 5, TRUE) == CSTR_EQUAL);
  }

  static void InitialState(Node& node) {
    if (Flag(node, "checked")) node.state |= STATE_CHECKED;
    if (Flag(node, "disabled")) node.state |= STATE_DISABLED;
  }

  void End(const std::string& tag) {
    if (tag == "html") return;
    const char* const names[] = {tag.c_str(), nullptr};
    const char* const* boundaries = kCellBoundary;
    if (TagIn(tag, kTableParts)) boundaries = kTable;
    else if (tag == "table") boundaries = kNone;
    else if (tag == "li") boundaries = kLists;
    size_t at = FindOpen(names, boundaries);
    PopTo(at);  // nothing happens for an end tag that matches no open element
  }

  bool Text(const std::wstring& text) {
    if (text.empty()) return true;
    Node* top = Top();
    if (IsRawTextElement(top->tag)) {
      top->text += text;
      return true;
    }
    if (!top->children.empty() && top->children.back()->IsText()) {
      top->children.back()->text += text;
      return true;
    }
    if (m_doc.NodeCount() >= m_limits.maxNodes) return false;
    Node* node = m_doc.NewNode(std::string());
    node->text = text;
    Append(node);
    return true;
  }

  void Append(Node* node) {
    node->parent = Top();
    Top()->children.push_back(node);
  }

  Document& m_doc;
  const BuildLimits& m_limits;
  std::vector<Node*> m_open;
};

bool HasWord(const std::wstring& list, const wchar_t* word) {
  size_t n = wcslen(word);
  for (size_t i = 0; i + n <= list.size(); ++i) {
    if (CompareStringOrdinal(list.c_str() + i, static_cast<int>(n), word, static_cast<int>(n), TRUE) == CSTR_EQUAL) return true;
  }
  return false;
}

// Title, base and style sheets, in document order.
void CollectHeadData(Document& doc) {
  bool haveTitle = false, haveBase = false;
  WalkTree(doc.Root(), [&](Node* node, size_t) {
    if (node->tag == "title" && !haveTitle) {
      doc.title = node->text;
      haveTitle = true;
    } else if (node->tag == "base" && !haveBase) {
      if (const Attribute* href = node->FindAttribute("href")) {
        doc.baseHref = href->value;
        haveBase = true;
      }
    } else if (node->tag == "style") {
      StyleSheet sheet;
      sheet.text = node->text;
      sheet.owner = node;
      doc.sheets.push_back(sheet);
    } else if (node->tag == "link") {
      const Attribute* rel = node->FindAttribute("rel");
      const Attribute* type = node->FindAttribute("type");
      const Attribute* href = node->FindAttribute("href");
      bool sheetLink = (rel && HasWord(rel->value, L"stylesheet")) || (type && HasWord(type->value, L"text/css"));
      if (sheetLink && href && !href->value.empty()) {
        StyleSheet sheet;
        sheet.uri = href->value;  // resolved when the view asks for it
        sheet.owner = node;
        doc.sheets.push_back(sheet);
      }
    }
    return true;
  });
}

}  // namespace

std::unique_ptr<Document> BuildDocument(const std::wstring& html, const BuildLimits& limits) {
  auto doc = std::make_unique<Document>();
  Builder builder(*doc, limits);
  Tokenizer tokenizer(html);
  Token token;
  while (tokenizer.Next(token)) {
    if (!builder.Add(token)) {
      doc->truncated = true;
      break;
    }
  }
  CollectHeadData(*doc);
  return doc;
}

}  // namespace hl
