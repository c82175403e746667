#include "platform/htmlayout/dom.h"

#include <windows.h>

#include <cwchar>

#include <unordered_map>

namespace hl {
namespace {

CRITICAL_SECTION* Lock() {
  static CRITICAL_SECTION* section = [] {
    auto* cs = new CRITICAL_SECTION;
    InitializeCriticalSection(cs);
    return cs;
  }();
  return section;
}

struct Registry {
  std::unordered_map<std::uintptr_t, Node*> live;
  std::uintptr_t next = 1;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // lives as long as the process
  return *registry;
}

void Forget(Node* node) {
  if (node->handle) TheRegistry().live.erase(node->handle);
}

}  // namespace

ModelLock::ModelLock() { EnterCriticalSection(Lock()); }
ModelLock::~ModelLock() { LeaveCriticalSection(Lock()); }

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (!y) return false;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return b[i] == 0;
}

bool SameNoCase(const std::wstring& a, const wchar_t* b) {
  return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool StartsNoCase(const std::wstring& text, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  return text.size() >= n &&
         CompareStringOrdinal(text.c_str(), static_cast<int>(n), prefix, static_cast<int>(n), TRUE) == CSTR_EQUAL;
}

bool TagIn(const std::string& tag, const char* const* list) {
  for (; *list; ++list) {
    if (tag == *list) return true;
  }
  return false;
}

const Attribute* Node::FindAttribute(const char* name) const {
  for (const Attribute& a : attributes) {
    if (EqualsNoCase(a.name, name)) return &a;
  }
  return nullptr;
}

Attribute* Node::FindAttribute(const char* name) {
  return const_cast<Attribute*>(static_cast<const Node*>(this)->FindAttribute(name));
}

void Node::SetAttribute(const char* name, const wchar_t* value) {
  for (size_t i = 0; i < attributes.size(); ++i) {
    if (!EqualsNoCase(attributes[i].name, name)) continue;
    if (value) {
      attributes[i].value = value;
    } else {
      attributes.erase(attributes.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return;
  }
  if (value) attributes.push_back({LowerAscii(name), value});
}

Document::Document() { m_root = NewNode("html"); }

Document::~Document() {
  for (auto& owned : m_nodes) {
    Node* node = owned.get();
    if (node->uses > 0 || node->pins > 0) {
      // Kept by a caller: detach it and hand it over to its last release.
      node->document = nullptr;
      node->parent = nullptr;
      node->children.clear();
      owned.release();
    } else {
      Forget(node);
    }
  }
}

Node* Document::NewNode(const std::string& tag) {
  m_nodes.push_back(std::make_unique<Node>());
  Node* node = m_nodes.back().get();
  node->tag = tag;
  node->document = this;
  if (!tag.empty()) {
    Registry& registry = TheRegistry();
    node->handle = registry.next++;
    registry.live[node->handle] = node;
  }
  return node;
}

void* HandleOf(const Node* node) { return node ? reinterpret_cast<void*>(node->handle) : nullptr; }

Node* Lookup(void* handle) {
  if (!handle) return nullptr;
  const auto& live = TheRegistry().live;
  auto it = live.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == live.end() ? nullptr : it->second;
}

size_t LiveElementCount() { return TheRegistry().live.size(); }

namespace {

void FreeIfUnheld(Node* node) {
  if (node->uses == 0 && node->pins == 0 && !node->document) {
    Forget(node);
    delete node;
  }
}

}  // namespace

bool Unuse(Node* node) {
  if (node->uses <= 0) return false;
  --node->uses;
  FreeIfUnheld(node);
  return true;
}

void Unpin(Node* node) {
  if (node->pins > 0) --node->pins;
  FreeIfUnheld(node);
}

}  // namespace hl
