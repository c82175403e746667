#include <gtest/gtest.h>

#include <string>

#include "editor/app/command_line.h"
#include "editor/app/editor_access.h"

namespace {

struct ParsedLine {
  DWORD flags;
  BOOL hideSettings;
};

// Each argument as the framework hands it over: "/" and "-" already taken
// off flags.
ParsedLine Parse(std::initializer_list<std::pair<const wchar_t*, bool>> params) {
  CQLRCommandLineInfo info;
  size_t index = 0;
  for (const auto& p : params) {
    ++index;
    info.ParseParam(p.first, p.second, index == params.size());
  }
  return {info.GetStartFlags(), info.GetHideSettings()};
}

TEST(EditorCommandLineTest, SwitchesSetTheirFlagsWhateverTheirCase) {
  EXPECT_EQ(Parse({{L"addfromcb", true}}).flags, 1u);
  EXPECT_EQ(Parse({{L"ADDFROMCB", true}}).flags, 1u);
  EXPECT_EQ(Parse({{L"FirstRun", true}}).flags, 2u);
  EXPECT_EQ(Parse({{L"addSelText", true}}).flags, 4u);
  EXPECT_EQ(Parse({{L"addfromcb", true}, {L"firstrun", true}, {L"addseltext", true}}).flags, 7u);
  // hidesettings is no start flag.
  ParsedLine hidden = Parse({{L"HIDESETTINGS", true}});
  EXPECT_EQ(hidden.flags, 0u);
  EXPECT_TRUE(hidden.hideSettings);
  // Plain words, unknown switches and near misses set nothing.
  EXPECT_EQ(Parse({{L"addfromcb", false}}).flags, 0u);
  EXPECT_EQ(Parse({{L"addfromcbx", true}, {L"unknown", true}, {L"C:\\some.txt", false}}).flags, 0u);
  EXPECT_FALSE(Parse({{L"hidesettings", false}}).hideSettings);
}

TEST(EditorCommandLineTest, ManyArgumentsStillParse) {
  CQLRCommandLineInfo info;
  for (int i = 0; i < 100; ++i) {
    std::wstring word = L"arg" + std::to_wstring(i);
    info.ParseParam(word.c_str(), i % 2 == 0, FALSE);
  }
  info.ParseParam(L"firstrun", TRUE, TRUE);
  EXPECT_EQ(info.GetStartFlags(), 2u);
}

TEST(EditorCommandLineTest, HandOverLooksOnlyAtTheArguments) {
  struct Case {
    const wchar_t* line;
    bool expected;
  };
  const Case cases[] = {
      {L"QuilloraEditor.exe /addfromcb", true},
      {L"\"C:\\Program Files\\Quillora\\QuilloraEditor.exe\" -addfromcb", true},
      {L"\"C:\\Program Files\\Quillora\\QuilloraEditor.exe\" addfromcb", true},
      // A program folder of that name is no request.
      {L"\"C:\\addfromcb\\QuilloraEditor.exe\"", false},
      {L"C:\\addfromcb\\QuilloraEditor.exe", false},
      {L"\"C:\\addfromcb\\QuilloraEditor.exe\" /firstrun", false},
      {L"C:\\addfromcb\\QuilloraEditor.exe   /firstrun", false},
      // The hand-over test keeps the letter case.
      {L"QuilloraEditor.exe /ADDFROMCB", false},
      {L"", false},
      {L"\"unterminated addfromcb", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandLineHasAddFromCB(c.line), c.expected) << c.line;
  EXPECT_FALSE(CommandLineHasAddFromCB(static_cast<const wchar_t*>(nullptr)));
  EXPECT_EQ(CommandLineArguments(L"  \"a b\\c.exe\"   /x y"), L"/x y");
  EXPECT_EQ(CommandLineArguments(L"prog.exe"), L"");
}

TEST(EditorLanguagePathTest, EmptySettingAndBuildFolders) {
  struct Case {
    const wchar_t* folder;
    const wchar_t* language;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"C:\\Prog", L"", L"C:\\Prog\\LocalizeExample.lng"},
      {L"C:\\Prog\\", L"De.lng", L"C:\\Prog\\De.lng"},
      {L"C:\\Prog\\Release", L"", L"C:\\Prog\\LocalizeExample.lng"},
      {L"C:\\Prog\\debug\\", L"Fr.lng", L"C:\\Prog\\Fr.lng"},
      // Only the last component counts, and only the whole of it.
      {L"C:\\Release\\Prog", L"", L"C:\\Release\\Prog\\LocalizeExample.lng"},
      {L"C:\\Prog\\Releases", L"", L"C:\\Prog\\Releases\\LocalizeExample.lng"},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeEditorLanguageFilePath(c.folder, c.language), c.expected) << c.folder;
}

}  // namespace
