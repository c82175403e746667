// Text that goes into a generated page: the characters markup gives a
// meaning to, written as entities.
#pragma once
#include <string>

// "&", "<", ">" and, where quotes is set (text inside an attribute value),
// the double quote.
std::wstring EscapeHtml(const std::wstring& text, bool quotes = true);
void AppendEscapedHtml(std::wstring& out, const std::wstring& text, bool quotes);
