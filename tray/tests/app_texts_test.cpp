#include "tray/app_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "foundation/system_helpers.h"
#include "tray/settings/settings.h"

namespace {

TEST(AppTextsTest, OnAndOffWords) {
  EXPECT_EQ(GetTurnOnText(), L"Turn on");
  EXPECT_EQ(GetTurnOffText(), L"TURN OFF");
  EXPECT_EQ(GetOnText(), L"on");
  EXPECT_EQ(GetOffText(), L"OFF");
}

TEST(AppTextsTest, UpperCaseKeepsLengthAndHandlesLongTexts) {
  const struct {
    std::wstring in, out;
  } cases[] = {
      {L"", L""},
      {L"off", L"OFF"},
      {L"Straße ä", L"STRASSE Ä"},
      {std::wstring(1200, L'a'), std::wstring(1200, L'A')},
  };
  for (const auto& c : cases) {
    std::wstring upper = UpperCaseForKeyboard(c.in);
    // LCMapString may widen ß; CharUpper keeps it: either is a correct upper case.
    if (c.in.find(L'ß') != std::wstring::npos) {
      EXPECT_TRUE(upper == c.out || upper == L"STRAßE Ä");
    } else {
      EXPECT_EQ(upper, c.out);
    }
  }
}

TEST(AppTextsTest, HotkeyTextIsUpperCaseWithTheDoublePressMark) {
  CQLRTraySettings& settings = GetSettings();
  settings.hotkey.key = VK_RETURN;
  settings.hotkey.modifiers = MOD_CONTROL | MOD_ALT;
  std::wstring name = GetHotkeyDisplayName(VK_RETURN, MOD_CONTROL | MOD_ALT);
  CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
  settings.hotkeyDoubled = 0;
  EXPECT_EQ(GetHotkeyText(), name);
  settings.hotkeyDoubled = 1;
  EXPECT_EQ(GetHotkeyText(), name + L" [x2]");
  settings.hotkeyDoubled = 0;
}

TEST(AppTextsTest, CountsAndFolderMacro) {
  EXPECT_EQ(FormatItemNumber(7), L"7.");
  EXPECT_EQ(FormatItemNumber(-1), L"-1.");
  EXPECT_EQ(FormatCharsCount(42), L"Chars: 42");
  CQLRTraySettings& settings = GetSettings();
  std::wstring stored = settings.GetStoredPhrasesDirectory();
  settings.SetPhrasesDirectory(L"");
  EXPECT_EQ(GetPhrasesDirectoryOrMacro(), L"%DEFAULT_FOLDER%");
  settings.SetPhrasesDirectory(L"C:\\Phrases\\");
  EXPECT_NE(GetPhrasesDirectoryOrMacro(), L"%DEFAULT_FOLDER%");
  EXPECT_NE(GetPhrasesDirectoryOrMacro().find(L"Phrases"), std::wstring::npos);
  settings.SetPhrasesDirectory(stored);
}

}  // namespace
