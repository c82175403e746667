// The document written back as markup, for the view's WM_GETTEXT.
#include <windows.h>

#include "foundation/text/html_escape.h"
#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/tree_builder.h"
#include "platform/htmlayout/view.h"

namespace hl {
namespace {

void AppendName(std::wstring& out, const std::string& name) { out.append(name.begin(), name.end()); }

void AppendAttribute(std::wstring& out, const std::string& name, const std::wstring& value) {
  out += L' ';
  AppendName(out, name);
  out += L"=\"";
  AppendEscapedHtml(out, value, true);
  out += L'"';
}

void AppendStartTag(std::wstring& out, const Node& node) {
  out += L'<';
  AppendName(out, node.tag);
  std::wstring style;
  for (const Attribute& a : node.attributes) {
    // checked and disabled show the element's state, not the page's attribute.
    if (a.name == "checked" || a.name == "disabled") continue;
    if (a.name == "style") {
      style = a.value;
      continue;
    }
    AppendAttribute(out, a.name, a.value);
  }
  if (node.state & STATE_CHECKED) AppendAttribute(out, "checked", L"true");
  if (node.state & STATE_DISABLED) AppendAttribute(out, "disabled", L"true");
  for (const auto& s : node.styles) {
    if (!style.empty() && style.back() != L';') style += L';';
    style.append(s.first.begin(), s.first.end());
    style += L':';
    style += s.second;
  }
  if (!style.empty()) AppendAttribute(out, "style", style);
  out += L'>';
}

}  // namespace

std::wstring SerializeDocument(const Document& doc) {
  std::wstring out;
  // Explicit stack of (node, next child): documents may nest deep.
  std::vector<std::pair<const Node*, size_t>> stack{{doc.Root(), 0}};
  AppendStartTag(out, *doc.Root());
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    if (next < node->children.size()) {
      const Node* child = node->children[next++];
      if (child->IsText()) {
        AppendEscapedHtml(out, child->text, false);
        continue;
      }
      AppendStartTag(out, *child);
      if (IsRawTextElement(child->tag)) {
        out += child->text;
      } else if (IsVoidElement(child->tag)) {
        continue;
      }
      stack.push_back({child, 0});
      continue;
    }
    out += L"</";
    AppendName(out, node->tag);
    out += L'>';
    stack.pop_back();
  }
  return out;
}

}  // namespace hl
