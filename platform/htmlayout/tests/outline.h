// A compact picture of a document tree for table-driven tests:
// tag(children) with #id, text in quotes.
#pragma once
#include <string>

#include "platform/htmlayout/dom.h"

inline std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

inline std::string Outline(const hl::Node* node) {
  if (node->IsText()) return "\"" + Narrow(node->text) + "\"";
  std::string out = node->tag;
  if (const hl::Attribute* id = node->FindAttribute("id")) out += "#" + Narrow(id->value);
  if (node->children.empty()) return out;
  out += "(";
  for (size_t i = 0; i < node->children.size(); ++i) {
    if (i) out += " ";
    out += Outline(node->children[i]);
  }
  return out + ")";
}
