// The drawer's style sheet: a table from selector (lower case) to the text of
// its declarations, read from a small CSS dialect.
#pragma once
#include <map>
#include <string>

class HtmlStyleSheet {
 public:
  HtmlStyleSheet() { SetDefaultStyleSheet(); }

  // Clears the rules, keeps text and reads its rules; null loads the default
  // sheet instead.
  void SetStyleSheet(const wchar_t* text);
  void SetDefaultStyleSheet();

  // The declaration text of a rule, looked up by the lower-cased name; null
  // when there is none.
  const std::wstring* FindRule(const std::wstring& name) const;

  const std::wstring& Text() const { return m_text; }
  size_t RuleCount() const { return m_rules.size(); }
  const std::map<std::wstring, std::wstring>& Rules() const { return m_rules; }

 private:
  void Parse();

  std::wstring m_text;
  std::map<std::wstring, std::wstring> m_rules;
};

// The default sheet, its lines each ended by CR LF.
std::wstring DefaultStyleSheetText();

// Lower case of text (whole-string, locale-independent).
std::wstring StyleLowerCase(const std::wstring& text);
