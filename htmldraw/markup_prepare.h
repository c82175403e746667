// Preparation of a raw markup text before it is lexed: entities, carriage
// returns, line feeds and tabs.
#pragma once
#include <string>

struct MarkupEntity {
  const wchar_t* name;         // with the ampersand and the semicolon
  const wchar_t* replacement;
};

// The entities in the order they are applied.
extern const MarkupEntity kMarkupEntities[13];

// Replaces the entities one after the other (so "&amp;lt;" ends as the
// literal "<"), removes carriage returns, and turns line feeds and tabs into
// <br> and <t> with multiLine set, else removes them. Without entities the
// ampersands stay as they are.
std::wstring PrepareMarkupText(const std::wstring& raw, bool multiLine, bool entities = true);
