// The element calls of the C interface: lookup, states, attributes, run-time
// styles, controls and references.
#include <cwchar>

#include "platform/htmlayout/controls.h"
#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/view.h"

namespace {

using hl::ModelLock;
using hl::Node;

// The node of a handle that may be used now.
HLDOM_RESULT Resolve(HELEMENT he, Node*& node) {
  node = hl::Lookup(he);
  if (!node) return HLDOM_INVALID_HANDLE;
  if (!node->document) return HLDOM_PASSIVE_HANDLE;
  return HLDOM_OK;
}

bool Matches(const Node& node, LPCSTR tagName, LPCSTR attrName, LPCWSTR attrValue) {
  if (node.IsText()) return false;
  if (tagName && *tagName && !hl::EqualsNoCase(node.tag, tagName)) return false;
  if (!attrName) return true;
  const hl::Attribute* a = node.FindAttribute(attrName);
  return a && (!attrValue || a->value == attrValue);
}

}  // namespace

extern "C" {

HLDOM_RESULT WINAPI HTMLayoutGetRootElement(HWND hwnd, HELEMENT* root) {
  if (!root) return HLDOM_INVALID_PARAMETER;
  *root = nullptr;
  ModelLock lock;
  hl::View* view = hl::ViewFromWindow(hwnd);
  if (!view) return HLDOM_INVALID_HWND;
  *root = hl::HandleOf(view->Doc()->Root());
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayoutVisitElements(HELEMENT he, LPCSTR tagName, LPCSTR attrName,
                                           LPCWSTR attrValue, HTMLayoutElementCallback callback,
                                           LPVOID param, DWORD depth) {
  if (!callback) return HLDOM_INVALID_PARAMETER;
  ModelLock lock;
  Node* start = nullptr;
  HLDOM_RESULT r = Resolve(he, start);
  if (r != HLDOM_OK) return r;
  // Matches are collected and held first: a callback may change attributes
  // or load another page while we go on.
  std::vector<Node*> found;
  hl::WalkTree(start, [&](Node* node, size_t level) {
    if (Matches(*node, tagName, attrName, attrValue)) found.push_back(node);
    return depth == 0 || level < depth;
  });
  for (Node* node : found) ++node->pins;
  for (Node* node : found) {
    if (!node->document) continue;  // detached by a reload during the visit
    if (callback(hl::HandleOf(node), param)) break;
  }
  for (Node* node : found) hl::Unpin(node);
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayoutGetElementState(HELEMENT he, UINT* state) {
  if (!state) return HLDOM_INVALID_PARAMETER;
  *state = 0;
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r == HLDOM_OK) *state = node->state;
  return r;
}

HLDOM_RESULT WINAPI HTMLayoutSetElementState(HELEMENT he, UINT bitsToSet, UINT bitsToClear,
                                             BOOL updateView) {
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r != HLDOM_OK) return r;
  node->state = (node->state & ~bitsToClear) | bitsToSet;
  // A widget follows its state at once, whether or not the view is updated.
  (void)updateView;
  hl::NotifyElementChanged(node);
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayoutSetStyleAttribute(HELEMENT he, LPCSTR name, LPCWSTR value) {
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r != HLDOM_OK) return r;
  auto& styles = node->styles;
  if (!name) {
    styles.clear();
  } else {
    std::string key = hl::LowerAscii(name);
    auto it = styles.begin();
    while (it != styles.end() && it->first != key) ++it;
    if (!value) {
      if (it != styles.end()) styles.erase(it);
    } else if (it != styles.end()) {
      it->second = value;
    } else {
      styles.push_back({key, value});
    }
  }
  hl::NotifyElementChanged(node);
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayoutGetAttributeByName(HELEMENT he, LPCSTR name, LPCWSTR* value) {
  if (!name || !value) return HLDOM_INVALID_PARAMETER;
  *value = nullptr;
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r != HLDOM_OK) return r;
  if (const hl::Attribute* a = node->FindAttribute(name)) *value = a->value.c_str();
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayoutSetAttributeByName(HELEMENT he, LPCSTR name, LPCWSTR value) {
  if (!name || !*name) return HLDOM_INVALID_PARAMETER;
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r != HLDOM_OK) return r;
  node->SetAttribute(name, value);
  hl::NotifyElementChanged(node);
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayoutControlGetType(HELEMENT he, UINT* type) {
  if (!type) return HLDOM_INVALID_PARAMETER;
  *type = CTL_NO;
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r == HLDOM_OK) *type = hl::ControlTypeAt(*node);
  return r;
}

HLDOM_RESULT WINAPI HTMLayoutControlGetValue(HELEMENT he, VALUE* value) {
  if (!value) return HLDOM_INVALID_PARAMETER;
  ModelLock lock;
  Node* node = nullptr;
  HLDOM_RESULT r = Resolve(he, node);
  if (r != HLDOM_OK) return r;
  return hl::ReadControlValue(*node, *value) ? HLDOM_OK : HLDOM_OPERATION_FAILED;
}

HLDOM_RESULT WINAPI HTMLayout_UseElement(HELEMENT he) {
  ModelLock lock;
  Node* node = hl::Lookup(he);
  if (!node) return HLDOM_INVALID_HANDLE;
  ++node->uses;
  return HLDOM_OK;
}

HLDOM_RESULT WINAPI HTMLayout_UnuseElement(HELEMENT he) {
  ModelLock lock;
  Node* node = hl::Lookup(he);
  if (!node) return HLDOM_INVALID_HANDLE;
  // More releases than uses never free an element its document still owns.
  return hl::Unuse(node) ? HLDOM_OK : HLDOM_INVALID_PARAMETER;
}

}  // extern "C"
