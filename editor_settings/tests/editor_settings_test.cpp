// The editor's store on real Settings.ini files in a temporary program folder.
#include "editor_settings/editor_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "settings/settings_files.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

class EditorSettingsTest : public SettingsFoldersTest {
 protected:
  void WriteIni(const std::wstring& text) { ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), text)); }
  std::wstring IniText() { return qlrtest::ReadUtf16File(ProgramIni()); }
};

TEST_F(EditorSettingsTest, EditorKeysTakeTheirDefaultsAndReadRules) {
  struct Case {
    const wchar_t* section;  // the "Settings_Editor" lines, empty for no section
    int show;
    int preview;
  } cases[] = {
      {L"", 1, 0},
      {L"[Settings_Editor]\r\nLastFile=x\r\n", 1, 0},
      {L"[Settings_Editor]\r\nShowUncheckedPhrases=7\r\nPreview=7\r\n", 1, 7},
      {L"[Settings_Editor]\r\nShowUncheckedPhrases=-1\r\nPreview=-1\r\n", 1, -1},
      {L"[Settings_Editor]\r\nShowUncheckedPhrases=0\r\nPreview=1\r\n", 0, 1},
      // Text that holds no number keeps the value the store had.
      {L"[Settings_Editor]\r\nShowUncheckedPhrases=abc\r\nPreview=abc\r\n", 1, 0},
      {L"[Settings_Editor]\r\nShowUncheckedPhrases= 0\r\nPreview=99999999999\r\n", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section);
    WriteIni(std::wstring(L"[Settings]\r\nSorting=1\r\n") + c.section);
    CQLREditorSettings settings;
    EXPECT_EQ(settings.ShowUncheckedPhrases, 1);  // before the first load
    EXPECT_EQ(settings.Preview, 0);
    settings.Load();
    EXPECT_EQ(settings.ShowUncheckedPhrases, c.show);
    EXPECT_EQ(settings.Preview, c.preview);
  }
}

TEST_F(EditorSettingsTest, SaveAndLoadKeepEveryEditorKeyAfterTheSharedOnes) {
  {
    CQLREditorSettings out;
    out.Load();
    out.lastFile = L"D:\\Phrases\\Work.xml";
    out.ShowUncheckedPhrases = 0;
    out.Preview = 3;
    out.AddPrevFolder(L"E:\\Other\\");
    out.hotkeyDoubled = 1;
    ASSERT_TRUE(out.Save());
  }
  std::wstring text = IniText();
  const wchar_t* inOrder[] = {L"[A_SETTINGS]",
                              L"WRITED_TO=" ,
                              L"[Settings]",
                              L"ExtMenuCommand__SUPPORT=",
                              L"PrevFoldersCount=2",
                              L"Prev_Folder1=",
                              L"Prev_Folder2=",
                              L"[Settings_Editor]",
                              L"LastFile=D:\\Phrases\\Work.xml",
                              L"ShowUncheckedPhrases=0",
                              L"Preview=3"};
  size_t last = 0;
  for (const wchar_t* piece : inOrder) {
    size_t at = text.find(piece, last);
    EXPECT_NE(at, std::wstring::npos) << "missing or out of order: " << qlrtest::ToUtf8(piece);
    if (at != std::wstring::npos) last = at;
  }
  EXPECT_NE(text.find(L"WRITED_TO=" + ProgramIni()), std::wstring::npos);
  // The copy the save wrote went into place: nothing is left beside it.
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(program.File(L"*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);

  CQLREditorSettings in;
  in.Load();
  EXPECT_EQ(in.lastFile, L"D:\\Phrases\\Work.xml");
  EXPECT_EQ(in.ShowUncheckedPhrases, 0);
  EXPECT_EQ(in.Preview, 3);
  EXPECT_EQ(in.hotkeyDoubled, 1);
  ASSERT_EQ(in.GetPrevFoldersCount(), 2);
  EXPECT_EQ(in.GetPrevFolder(1), L"E:\\Other");
}

TEST_F(EditorSettingsTest, ATraySaveLeavesTheEditorKeysAlone) {
  CQLREditorSettings editor;
  editor.Load();
  editor.lastFile = L"C:\\Last.xml";
  editor.Preview = 1;
  editor.ShowUncheckedPhrases = 0;
  editor.AddPrevFolder(L"F:\\Kept");
  ASSERT_TRUE(editor.Save());

  CQLRTraySettings tray;
  tray.Load();
  tray.clipboardHistoryMax = 44;
  ASSERT_TRUE(tray.Save());

  CQLREditorSettings again;
  again.Load();
  EXPECT_EQ(again.clipboardHistoryMax, 44);
  EXPECT_EQ(again.lastFile, L"C:\\Last.xml");
  EXPECT_EQ(again.Preview, 1);
  EXPECT_EQ(again.ShowUncheckedPhrases, 0);
  EXPECT_EQ(again.GetPrevFoldersCount(), 2);
  EXPECT_EQ(again.GetPrevFolder(1), L"F:\\Kept");  // after the default folder on C:
}

TEST_F(EditorSettingsTest, TheUserFileTakesTheSaveWhenTheProgramFolderIsClosed) {
  qlrtest::SetUnixWritable(program.Path(), false);
  CQLREditorSettings out;
  out.Load();
  out.Preview = 4;
  ASSERT_TRUE(out.Save());
  qlrtest::SetUnixWritable(program.Path(), true);
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings_Editor", L"Preview", -5, UserIni().c_str()), 4u);
  EXPECT_EQ(GetFileAttributesW(ProgramIni().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(EditorSettingsTest, BrokenMenuFontAndHotkeyValuesAreHandled) {
  CQLREditorSettings defaults;
  const LOGFONTW defaultFont = defaults.fontForMenu;

  // A face name that fills the whole field, with a valid checksum.
  LOGFONTW unterminated = defaultFont;
  for (wchar_t& ch : unterminated.lfFaceName) ch = L'W';
  WriteIni(L"[Settings]\r\nSorting=1\r\n");
  ASSERT_TRUE(WritePrivateProfileStructW(L"Settings", L"FontForMenu", &unterminated,
                                         sizeof(unterminated), ProgramIni().c_str()));
  CQLREditorSettings read;
  read.Load();
  EXPECT_EQ(wcsnlen(read.fontForMenu.lfFaceName, LF_FACESIZE), static_cast<size_t>(LF_FACESIZE - 1));
  EXPECT_EQ(read.fontForMenu.lfWeight, unterminated.lfWeight);

  // Too short, and a changed checksum byte: the default font stays.
  struct Broken {
    const char* why;
    std::wstring value;
  } broken[] = {{"short", L"0102030405"}, {"checksum", L""}};
  {
    ASSERT_TRUE(WritePrivateProfileStructW(L"Settings", L"FontForMenu", &unterminated,
                                           sizeof(unterminated), ProgramIni().c_str()));
    wchar_t hex[400] = {};
    GetPrivateProfileStringW(L"Settings", L"FontForMenu", L"", hex, 400, ProgramIni().c_str());
    std::wstring value = hex;
    ASSERT_GE(value.size(), 2u);
    value[value.size() - 1] = value[value.size() - 1] == L'0' ? L'1' : L'0';
    broken[1].value = value;
  }
  for (const Broken& b : broken) {
    SCOPED_TRACE(b.why);
    WriteIni(L"[Settings]\r\nFontForMenu=" + b.value + L"\r\n");
    CQLREditorSettings s;
    s.Load();
    EXPECT_EQ(memcmp(&s.fontForMenu, &defaultFont, sizeof(LOGFONTW)), 0);
  }

  // The hotkey keeps the two 16-bit halves of whatever number was stored.
  const wchar_t* hotkeys[] = {L"-1", L"abc", L"4294967295", L"131137"};
  for (const wchar_t* value : hotkeys) {
    SCOPED_TRACE(qlrtest::ToUtf8(value));
    WriteIni(std::wstring(L"[Settings]\r\nHotkey=") + value + L"\r\n");
    DWORD stored = GetPrivateProfileIntW(L"Settings", L"Hotkey", 12345, ProgramIni().c_str());
    CQLREditorSettings s;
    s.Load();
    EXPECT_EQ(s.hotkey.key, LOWORD(stored));
    EXPECT_EQ(s.hotkey.modifiers, HIWORD(stored));
    ASSERT_TRUE(s.Save());
    CQLREditorSettings back;
    back.Load();
    EXPECT_EQ(back.hotkey.key, s.hotkey.key);
    EXPECT_EQ(back.hotkey.modifiers, s.hotkey.modifiers);
  }
}

}  // namespace
