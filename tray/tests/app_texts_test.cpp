#include "tray/app/app_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "foundation/localization/language_files.h"
#include "foundation/system/system_helpers.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_tracker.h"
#include "settings/settings.h"
#include "tests/support/test_support.h"

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

// The right-click menu of a phrase-menu item, as the tracker builds it: its
// texts are read when it opens, then it is closed.
std::map<UINT, std::wstring> g_contextTexts;
WNDPROC g_trackerProc = nullptr;

LRESULT CALLBACK ReadContextMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITMENUPOPUP) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[256] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      g_contextTexts[GetMenuItemID(menu, i)] = text;
    }
  }
  LRESULT result = CallWindowProcW(g_trackerProc, hwnd, msg, wParam, lParam);
  if (msg == WM_ENTERIDLE) EndMenu();
  return result;
}

struct NoOwner : IMenuTrackerOwner {
  BOOL OnMenuMEASUREITEM(HWND, MEASUREITEMSTRUCT*) override { return FALSE; }
  BOOL OnMenuDRAWITEMSTRUCT(HWND, DRAWITEMSTRUCT*) override { return FALSE; }
  LRESULT OnRightMenuCommand(UINT, int) override { return 0; }
};

TEST(AppTextsTest, RightClickMenuTakesTheClientLanguageFile) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"Test.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=de\r\n[Menu_Client]\r\n"
                                           L"Open_As_URL=Als URL \u00f6ffnen\r\n"
                                           L"[Strings_Client]\r\n160=Kopieren\r\n"));
  ApplyClientLanguageFile(lng);

  NoOwner owner;
  CMenuTracker tracker(&owner, false);
  HWND window = tracker.Create();
  ASSERT_NE(window, nullptr);
  g_trackerProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReadContextMenu)));
  // Closes the right-click menu should it never go idle.
  UINT_PTR timer = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  HMENU phrases = CreatePopupMenu();
  AppendMenuW(phrases, MF_STRING, 5, L"Phrase");
  // Every item of the phrase menu carries its record; one without is no
  // item of the open menu and gets no right-click menu.
  CMenuItemData* record = new CMenuItemData();
  record->SetCaption(L"Phrase");
  ASSERT_TRUE(SetMenuItemData(phrases, 0, true, record));
  g_contextTexts.clear();
  SendMessageW(window, WM_MENURBUTTONUP, 0, reinterpret_cast<LPARAM>(phrases));
  KillTimer(nullptr, timer);

  EXPECT_EQ(g_contextTexts[32806], L"Als URL \u00f6ffnen");
  EXPECT_EQ(g_contextTexts[32797], L"Kopieren");
  EXPECT_EQ(g_contextTexts[32846], L"Open With\u2026");
  // The texts the file lacks were collected into it for the translator.
  std::wstring file = qlrtest::ReadUtf16File(lng);
  EXPECT_NE(file.find(L"Copy_As_Plain_Text=Copy As Plain Text"), std::wstring::npos) << qlrtest::ToUtf8(file);
  EXPECT_NE(file.find(L"Open_As_URL=Als URL \u00f6ffnen"), std::wstring::npos);

  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_trackerProc));
  FreeMenuItemData(phrases);
  DestroyMenu(phrases);
  ApplyClientLanguageFile(std::wstring());
}

}  // namespace
