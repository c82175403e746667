#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/settings.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

class SettingsSaveTest : public SettingsFoldersTest {
 protected:
  void SetUp() override {
    SettingsFoldersTest::SetUp();
    SetSettingsTimeFormatter([](const SYSTEMTIME&) { return std::wstring(L"Tuesday, 8 December 2026 21:30"); });
  }
  void TearDown() override {
    SetSettingsTimeFormatter(nullptr);
    SettingsFoldersTest::TearDown();
  }

  static LOGFONTW SampleFont() {
    LOGFONTW font = {};
    font.lfHeight = -15;
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    font.lfCharSet = RUSSIAN_CHARSET;
    wcscpy(font.lfFaceName, L"Tahoma");
    return font;
  }

  static std::wstring ExeName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(p.find_last_of(L'\\') + 1);
  }
};

// The whole file written by a save, compared byte by byte with a file made
// from the documented order of keys through the same profile functions.
TEST_F(SettingsSaveTest, SaveWritesEveryKeyInTheFixedOrder) {
  CQLRSettings s;
  s.SetLanguage(L"Deutsch.lng");
  s.phrasesDirectory = program.Path() + L"\\Team\\";
  s.showHistoryPaneOnStart = 0;
  s.hotkey.key = VK_F9;
  s.hotkey.modifiers = MOD_SHIFT | MOD_CONTROL;
  s.extHotkey = 1;
  s.hotkeyDoubled = 1;
  s.sorting = 2;
  s.clipboardHistory = 0;
  s.clipboardHistoryMax = 44;
  s.insertCHIntoMenu = 0;
  s.autoCheckForUpdates = 0;
  s.daysCheckForUpdates = 45;  // saved unclamped
  s.soundOnEvents = 0;
  s.menuToolTips = 0;
  s.delayAutoLoadSeconds = 120;
  s.writeLog = 1;
  s.saveClipboardHistory = 1;
  s.maxHistoryItemsInMenu = 11;
  s.appendCHAsSubMenu = 1;
  s.textPasteMethod = 2;
  s.gestureType = 1;
  s.clipboardSpyMethod = 0;
  s.insertEncodeCommandIntoMenu = 1;
  s.addLastUsedMenuToBegin = 0;
  s.addLastUsedMenuToBeginCount = 5;
  s.showTrayBallonOnHotkey = 0;
  s.printLTChars = 250;
  const int formats[5] = {0, 1, 1, 0, 1};
  memcpy(s.clipboardFormats, formats, sizeof(formats));
  s.extMenuCommand[0] = 0;
  s.extMenuCommand[1] = 1;
  s.extMenuCommand[2] = 0;
  s.fontForMenu = SampleFont();
  ASSERT_TRUE(s.Save());

  const std::wstring ini = ProgramIni();
  const std::wstring expected = program.File(L"expected.ini");
  ASSERT_TRUE(qlrtest::WriteUtf16File(expected, L""));
  const struct {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring value;
  } entries[] = {
      {L"A_SETTINGS", L"WRITED_TO", ini},
      {L"A_SETTINGS", L"WRITED_WHO", ExeName()},
      {L"A_SETTINGS", L"WRITED_WHEN", L"Tuesday, 8 December 2026 21:30"},
      {L"Settings", L"QLRVersion", L"QLR_150"},
      {L"Settings", L"PhrasesDirectory", L"Team"},
      {L"Settings", L"Language", L"Deutsch.lng"},
      {L"Settings", L"ShowHistoryPaneOnStart", L"0"},
      {L"Settings", L"Hotkey", std::to_wstring(MAKELONG(VK_F9, MOD_SHIFT | MOD_CONTROL))},
      {L"Settings", L"ExtHotkey", L"1"},
      {L"Settings", L"Hotkey_Doubled", L"1"},
      {L"Settings", L"Sorting", L"2"},
      {L"Settings", L"ClipboardHistory", L"0"},
      {L"Settings", L"ClipboardHistoryMax", L"44"},
      {L"Settings", L"InsertCHIntoMenu", L"0"},
      {L"Settings", L"AutoCheckForUpdates", L"0"},
      {L"Settings", L"DaysCheckForUpdates", L"45"},
      {L"Settings", L"SoundOnEventsV094", L"0"},
      {L"Settings", L"MenuToolTips_V0_94_A22", L"0"},
      {L"Settings", L"DelayAutoLoadSeconds_NextRelease", L"120"},
      {L"Settings", L"WriteLog", L"1"},
      {L"Settings", L"SaveClipboardHistory_v198", L"1"},
      {L"Settings", L"MaxHistoryItemsInMenu", L"11"},
      {L"Settings", L"AppendCHAsSubMenu_ForV140", L"1"},
      {L"Settings", L"TextPasteMethod_v150", L"2"},
      {L"Settings", L"GestureType", L"1"},
      {L"Settings", L"ClipboardSpyMethod_v2_22", L"0"},
      {L"Settings", L"InsertEncodeCommandIntoMenu", L"1"},
      {L"Settings", L"AddLastUsedMenuToBegin", L"0"},
      {L"Settings", L"AddLastUsedMenuToBegin_Count", L"5"},
      {L"Settings", L"ShowTrayBallonOnHotkey", L"0"},
      {L"Settings", L"PrintLTChars", L"250"},
      {L"Settings", L"ClipboardFormats0", L"0"},
      {L"Settings", L"ClipboardFormats1", L"1"},
      {L"Settings", L"ClipboardFormats2", L"1"},
      {L"Settings", L"ClipboardFormats3", L"0"},
      {L"Settings", L"ClipboardFormats4", L"1"},
      {L"Settings", L"FontForMenu", L""},  // struct, below
      {L"Settings", L"ExtMenuCommand__EditSetting", L"0"},
      {L"Settings", L"ExtMenuCommand__SaveSelAsPhrase", L"1"},
      {L"Settings", L"ExtMenuCommand__SUPPORT", L"0"},
  };
  LOGFONTW font = SampleFont();
  for (const auto& e : entries) {
    if (wcscmp(e.key, L"FontForMenu") == 0)
      ASSERT_TRUE(WritePrivateProfileStructW(e.section, e.key, &font, sizeof(font), expected.c_str()));
    else
      ASSERT_TRUE(WritePrivateProfileStringW(e.section, e.key, e.value.c_str(), expected.c_str()));
  }
  EXPECT_EQ(qlrtest::ReadBytes(ini), qlrtest::ReadBytes(expected));

  // The struct key is the bytes in upper-case hex followed by their sum.
  std::wstring hex;
  unsigned sum = 0;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&font);
  wchar_t two[3];
  for (size_t i = 0; i < sizeof(font); ++i) {
    swprintf(two, 3, L"%02X", bytes[i]);
    hex += two;
    sum += bytes[i];
  }
  swprintf(two, 3, L"%02X", sum & 0xFF);
  hex += two;
  wchar_t stored[400] = {};
  GetPrivateProfileStringW(L"Settings", L"FontForMenu", L"", stored, 400, ini.c_str());
  EXPECT_EQ(std::wstring(stored), hex);
}

TEST_F(SettingsSaveTest, SaveKeepsTextOutsideTheAnsiCodePage) {
  CQLRSettings s;
  std::wstring folder = L"E:\\\x0424\x0440\x0430\x0437\x044B \x4E2D\x6587";
  s.phrasesDirectory = folder + L"\\";
  s.SetLanguage(L"\x0420\x0443\x0441\x0441\x043A\x0438\x0439.lng");
  s.Save();
  CQLRSettings in;
  in.Load();
  EXPECT_EQ(in.GetStoredPhrasesDirectory(), folder + L"\\");
  EXPECT_EQ(in.GetLanguage(), L"\x0420\x0443\x0441\x0441\x043A\x0438\x0439.lng");
}

TEST_F(SettingsSaveTest, FontForMenuSurvivesARoundTripAndABrokenValueIsIgnored) {
  CQLRSettings out;
  out.fontForMenu = SampleFont();
  out.Save();

  CQLRSettings in;
  in.fontForMenu.lfHeight = 99;
  in.Load();
  EXPECT_EQ(memcmp(&in.fontForMenu, &out.fontForMenu, sizeof(LOGFONTW)), 0);

  // A value whose checksum does not match leaves the current font alone.
  wchar_t stored[400] = {};
  GetPrivateProfileStringW(L"Settings", L"FontForMenu", L"", stored, 400, ProgramIni().c_str());
  std::wstring broken = stored;
  broken[0] = broken[0] == L'F' ? L'E' : L'F';
  WritePrivateProfileStringW(L"Settings", L"FontForMenu", broken.c_str(), ProgramIni().c_str());
  CQLRSettings again;
  LOGFONTW before = again.fontForMenu;
  again.Load();
  EXPECT_EQ(memcmp(&again.fontForMenu, &before, sizeof(LOGFONTW)), 0);
}

TEST_F(SettingsSaveTest, SavedSettingsLoadBackUnchanged) {
  CQLRSettings out;
  out.hotkey.key = 'K';
  out.hotkey.modifiers = MOD_ALT;
  out.clipboardHistoryMax = 70;
  out.printLTChars = 500;
  out.clipboardSpyMethod = 1;
  out.extMenuCommand[2] = 0;
  out.clipboardFormats[0] = 0;
  out.Save();
  CQLRSettings in;
  in.Load();
  EXPECT_EQ(in.hotkey.Packed(), out.hotkey.Packed());
  EXPECT_EQ(in.clipboardHistoryMax, 70);
  EXPECT_EQ(in.printLTChars, 500u);
  EXPECT_EQ(in.clipboardSpyMethod, 1);
  EXPECT_EQ(in.extMenuCommand[2], 0);
  EXPECT_EQ(in.clipboardFormats[0], 0);
  EXPECT_FALSE(in.IsNewVersion());
}

}  // namespace
