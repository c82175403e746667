#include "phrases/macros/macro_segments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "P:text" for a plain segment, "A:argument" for an argument.
std::vector<std::wstring> Split(const std::wstring& text, bool notRtf = true) {
  std::vector<CPhraseSegment> segments = {{CPhraseSegment::kPlain, L"left over"}};
  EXPECT_TRUE(SplitPhraseSegments(text, notRtf, segments));
  std::vector<std::wstring> out;
  for (const CPhraseSegment& s : segments) out.push_back((s.kind == CPhraseSegment::kArgument ? L"A:" : L"P:") + s.text);
  return out;
}

}  // namespace

TEST(MacroSegmentsTest, PromptMacrosCutTheTextInOrder) {
  using V = std::vector<std::wstring>;
  struct {
    const wchar_t* text;
    V expected;
  } cases[] = {
      {L"A%PROMPT_TEXT={Name}%B", {L"P:A", L"A:Name", L"P:B"}},
      {L"A%PROMPT_TEXT={Name}%B%PROMPT_TEXT={Age}%C", {L"P:A", L"A:Name", L"P:B", L"A:Age", L"P:C"}},
      {L"A%PROMPT_TEXT={x", {L"P:A", L"P:%PROMPT_TEXT={x"}},
      {L"no prompt here", {L"P:no prompt here"}},
      {L"", {L"P:"}},
      {L"%PROMPT_TEXT={}%", {L"A:"}},
      {L"%PROMPT_TEXT={a}%%PROMPT_TEXT={b}%", {L"A:a", L"A:b"}},
      // Found without regard to case; the argument keeps its own case.
      {L"x%prompt_text={Your City}%y", {L"P:x", L"A:Your City", L"P:y"}},
      // The first closing ends the argument.
      {L"%PROMPT_TEXT={a}%b}%", {L"A:a", L"P:b}%"}},
      {L"%PROMPT_TEXT={%DATE%}%", {L"A:%DATE%"}},
      {L"%PROMPT_TEXT=}%", {L"P:%PROMPT_TEXT=}%"}},
      {L"a}%b", {L"P:a}%b"}},
      {L"%PROMPT_TEXT={line1\r\nline2}%\r\n", {L"A:line1\r\nline2", L"P:\r\n"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.text), c.expected) << c.text;
    EXPECT_EQ(Split(c.text, false), c.expected) << c.text;
  }
}
