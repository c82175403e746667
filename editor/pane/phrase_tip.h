// The markup of a phrase tree item's tooltip: the record's title, its text
// with the macros in orange, its data format, file and use.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CQLRCommand;

constexpr size_t kPhraseTipChars = 512;

struct PhraseTipLabels {
  std::wstring group, menuName, action, dataFormat, folder, file, usageCount, lastUsed, unknown, emptyBody,
      disabledNoSelection, titleOnly, footer;
  std::wstring plainText, formattedText, application;
};

// The localised labels, the built-in English where a string is missing.
PhraseTipLabels LoadPhraseTipLabels();

// At most limit characters: cut there, then back to the last blank, then
// "…". A text within the limit is kept whole.
std::wstring CutTipText(const std::wstring& text, size_t limit = kPhraseTipChars);
// "<" and ">" as "&lt;" and "&gt;".
std::wstring EscapeTipText(const std::wstring& text);
// Every macro name of macros in text wrapped in the orange macro font.
std::wstring MarkTipMacros(const std::wstring& text, const std::vector<std::wstring>& macros);

// The whole markup (not yet cut).
std::wstring BuildPhraseTip(const CQLRCommand& record, const PhraseTipLabels& labels,
                            const std::vector<std::wstring>& macros);
