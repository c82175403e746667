// The document model behind the view: nodes owned by their document, and a
// registry that turns element handles into nodes, so that a handle that
// outlived its element is refused instead of followed.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hl {

struct Attribute {
  std::string name;  // ASCII lower case
  std::wstring value;
};

class Document;

struct Node {
  std::string tag;     // ASCII lower case; empty for a text node
  std::wstring text;   // a text node's text, or the raw content of style/script/title/textarea
  std::vector<Attribute> attributes;
  std::vector<Node*> children;
  Node* parent = nullptr;
  Document* document = nullptr;  // null once the element is detached
  unsigned state = 0;            // STATE_* bits
  std::vector<std::pair<std::string, std::wstring>> styles;  // run-time styles
  std::uintptr_t handle = 0;     // 0 for text nodes
  int uses = 0;                  // HTMLayout_UseElement references
  int pins = 0;                  // our own holds while calling back into the caller

  bool IsText() const { return tag.empty(); }
  // First attribute of the name (compared without regard to ASCII case).
  const Attribute* FindAttribute(const char* name) const;
  Attribute* FindAttribute(const char* name);
  void SetAttribute(const char* name, const wchar_t* value);  // null value removes
};

struct StyleSheet {
  std::wstring uri;   // empty for a <style> element
  std::wstring text;
  bool pending = false;  // asked for and not yet handed over
  Node* owner = nullptr;
};

class Document {
 public:
  Document();
  ~Document();  // elements still in use are detached, every other node freed
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  Node* Root() const { return m_root; }
  // A new node owned by the document (not yet linked); elements get a handle.
  Node* NewNode(const std::string& tag);
  size_t NodeCount() const { return m_nodes.size(); }

  std::vector<StyleSheet> sheets;  // in document order
  std::wstring title;
  std::wstring baseHref;  // of the first <base href>
  std::wstring baseUrl;   // the base every reference resolves against
  bool truncated = false; // a limit cut the document short
  void* view = nullptr;   // the window that shows it (HWND)

 private:
  std::vector<std::unique_ptr<Node>> m_nodes;
  Node* m_root = nullptr;
};

// Handles. Lookup gives null for a handle that names no living element.
// Handle values are never reused, so a stale handle cannot name a new element.
void* HandleOf(const Node* node);
Node* Lookup(void* handle);
// Elements alive: those of loaded documents plus detached ones still in use.
size_t LiveElementCount();
// Drops one use (false when it has none) or one pin; a detached element is
// freed when its last use and pin go. Pins keep a caller's extra releases
// from freeing an element we still walk over.
bool Unuse(Node* node);
void Unpin(Node* node);

// One recursive lock around every call into the model: views may live on
// different threads of one process.
class ModelLock {
 public:
  ModelLock();
  ~ModelLock();
  ModelLock(const ModelLock&) = delete;
  ModelLock& operator=(const ModelLock&) = delete;
};

// Pre-order walk of root's subtree without recursion (documents may nest
// deep); fn(node, depth) returning false skips the node's children.
template <typename Fn>
void WalkTree(Node* root, Fn fn) {
  if (!root) return;
  std::vector<std::pair<Node*, size_t>> stack{{root, 0}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (!fn(node, depth)) continue;
    for (size_t i = node->children.size(); i > 0; --i) stack.push_back({node->children[i - 1], depth + 1});
  }
}

bool EqualsNoCase(const std::string& a, const char* b);
// Wide texts compared without regard to case (ordinal).
bool SameNoCase(const std::wstring& a, const wchar_t* b);
bool StartsNoCase(const std::wstring& text, const wchar_t* prefix);
// Whether tag is one of the null-terminated list.
bool TagIn(const std::string& tag, const char* const* list);
std::string LowerAscii(std::string text);

}  // namespace hl
