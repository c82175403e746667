// The real QuilloraEditor.exe's main frame: its title, the language bar's
// switch of the interface language, and the status-text message, which
// other processes can send too.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "phrases/store/phrase_file.h"
#include "phrases/tests/phrase_test_util.h"
#include "resources/version.h"
#include "tests/e2e/editor_session.h"

namespace {

constexpr UINT kReBarId = 0xE804;
constexpr UINT kLanguageBarId = 0xE805;
constexpr UINT kLanguageComboId = 1010;
constexpr UINT kLinksToolBarId = 59392;
constexpr UINT kHomePageCommand = 32781;
constexpr UINT kViewToolbarCommand = 59392;
constexpr wchar_t kStatusTextMessage[] = L"{3875692C-ED88-4395-98D9-42698D67B08A}";

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class EditorFrameTest : public qlre2e::EditorSessionTest {
 protected:
  // Starts the editor and waits for a title the predicate accepts; the
  // title (whatever it is after the time-out).
  std::wstring StartForTitle(const std::function<bool(const std::wstring&)>& accept) {
    frame = Start();
    if (!frame) return std::wstring();
    std::wstring title;
    qlrtest::WaitUntil([&] { return accept(title = WindowText(frame)); }, kWaitMs);
    return title;
  }
  HWND LanguageBar() const { return GetDlgItem(GetDlgItem(frame, kReBarId), kLanguageBarId); }
  // The system carries a combo item's text across processes itself.
  static std::wstring ComboItemText(HWND combo, int index) {
    if (SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) >= 500) return std::wstring();
    wchar_t text[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // A toolbar's text is not: it is read through a buffer in the editor.
  std::wstring ButtonText(HWND toolbar, UINT command) {
    qlre2e::RemoteBuffer remote(child.Pid(), 1024);
    wchar_t zero[512] = {};
    remote.Write(zero, sizeof(zero));
    SendMessageW(toolbar, TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(remote.Address()));
    wchar_t text[512] = {};
    remote.Read(text, sizeof(text) - sizeof(wchar_t));
    return text;
  }

  HWND frame = nullptr;
};

TEST_F(EditorFrameTest, TitleShowsVersionRightsFolderStateAndTheCurrentPhrase) {
  // The version resource 1.0.0.1 is shown without its last dot.
  const std::wstring version = std::to_wstring(QLR_VER_MAJOR) + L"." + std::to_wstring(QLR_VER_MINOR) + L"." +
                               std::to_wstring(QLR_VER_PATCH) + std::to_wstring(QLR_VER_BUILD);
  // The Wine user is an administrator: "^" instead of the note.
  const std::wstring head = L"Quillora : PhraseEditor " + version + L"^  - ";

  SetSetting(L"PhrasesDirectory", L"C:\\no_such_folder");
  std::wstring title = StartForTitle([](const std::wstring& t) { return EndsWith(t, L"!!!!NOT EXISTS !!!!"); });
  EXPECT_EQ(title, head + L"C:\\no_such_folder  !!!!NOT EXISTS !!!!");
  ASSERT_EQ(Exit(frame), 0);

  SetSetting(L"PhrasesDirectory", PhrasesFolder());
  ASSERT_TRUE(qlrtest::SetUnixWritable(PhrasesFolder(), false));
  title = StartForTitle([](const std::wstring& t) { return EndsWith(t, L"!!!!WRITING DENIED !!!!"); });
  qlrtest::SetUnixWritable(PhrasesFolder(), true);
  EXPECT_EQ(title, head + PhrasesFolder() + L"  !!!!WRITING DENIED !!!!");
  ASSERT_EQ(Exit(frame), 0);

  const std::wstring alpha = PhrasesFolder() + L"\\Alpha.quillora";
  ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"Alpha", L"alpha text", 1, true), alpha));
  SetSetting(L"LastFile", alpha, L"Settings_Editor");
  title = StartForTitle([](const std::wstring& t) { return EndsWith(t, L"  :  [Alpha]"); });
  EXPECT_EQ(title, head + PhrasesFolder() + L"  :  [Alpha]");
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFrameTest, ChoosingALanguageInTheBarSwitchesSettingAndTexts) {
  // A Russian file: the pages that have a Russian variant follow it.
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      dir.File(L"Test.lng"),
      L"[Main]\r\nLangPrefix=Ru\r\nLangLocalized=Testish\r\n[Strings_Editor]\r\n129=Testish Home\r\n"));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
  frame = Start();
  ASSERT_NE(frame, nullptr);
  HWND bar = LanguageBar();
  ASSERT_NE(bar, nullptr);
  HWND combo = GetDlgItem(bar, kLanguageComboId);
  HWND links = GetDlgItem(bar, kLinksToolBarId);
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(links, nullptr);
  EXPECT_EQ(ButtonText(links, kHomePageCommand), L"Home Page");

  // Built-in English, Test.lng, then the localisation page.
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
  ASSERT_EQ(ComboItemText(combo, 1), L"Testish");
  // A file that comes later sorts first: the list is read again when the
  // combo drops down, and the items keep naming their own files.
  ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"Aaa.lng"), L"[Main]\r\nLangLocalized=Aaaish\r\n"));
  SendMessageW(bar, WM_COMMAND, MAKEWPARAM(kLanguageComboId, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo));
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  ASSERT_EQ(ComboItemText(combo, 2), L"Testish");
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(bar, WM_COMMAND, MAKEWPARAM(kLanguageComboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Setting(L"Language") == L"Test.lng"; }, kWaitMs));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return ButtonText(links, kHomePageCommand) == L"Testish Home"; }, kWaitMs));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  SendMessageW(frame, WM_COMMAND, 32806, 0);
  EXPECT_NE(qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log")).find("/Rus/news_ru.xml"), std::string::npos);

  ASSERT_TRUE(WaitForLog(L"Language switched to [Test.lng] in "));
  const std::wstring log = LogText();
  const size_t at = log.find(L"Language switched to [Test.lng] in ") + wcslen(L"Language switched to [Test.lng] in ");
  const int ms = _wtoi(log.c_str() + at);
  std::printf("Language switch: %d ms\n", ms);
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFrameTest, AtMostFiftyLanguagesAreOffered) {
  for (int i = 0; i < 60; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"L%02d.lng", i);
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(name), L"[Main]\r\nLangLocalized=Lang " + std::to_wstring(i) + L"\r\n"));
  }
  frame = Start();
  ASSERT_NE(frame, nullptr);
  HWND combo = GetDlgItem(LanguageBar(), kLanguageComboId);
  // Built-in English and 49 files, then the localisation page.
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 51);
  EXPECT_EQ(ComboItemText(combo, 49), L"Lang 48");

  // The items' ids end at 30049, which names the fiftieth entry; the next
  // id names nothing.
  SendMessageW(frame, WM_COMMAND, 30050, 0);
  EXPECT_EQ(Setting(L"Language"), L"");
  SendMessageW(frame, WM_COMMAND, 30049, 0);
  EXPECT_EQ(Setting(L"Language"), L"L48.lng");
  EXPECT_EQ(Exit(frame), 0);
}

struct FindById {
  UINT id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<FindById*>(param);
  if (static_cast<UINT>(GetDlgCtrlID(window)) != find->id) return TRUE;
  find->found = window;
  return FALSE;
}

TEST_F(EditorFrameTest, PaneSizesAreReadBeforeDockingAndKeptAtTheClose) {
  // The application's profile under the registry key "Quillora".
  const wchar_t kSection[] = L"Software\\Quillora\\Quillora\\Bars-SCBar-32771";
  RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD width = 345;
  RegSetValueExW(key, L"sizeVertCX", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&width), sizeof(width));
  RegCloseKey(key);

  frame = Start();
  ASSERT_NE(frame, nullptr);
  FindById pane = {32771, nullptr};
  EnumChildWindows(frame, MatchId, reinterpret_cast<LPARAM>(&pane));
  ASSERT_NE(pane.found, nullptr);
  RECT rect = {};
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetWindowRect(pane.found, &rect) && rect.right - rect.left == 345; },
                                 kWaitMs));
  EXPECT_EQ(Exit(frame), 0);

  DWORD value = 0, size = sizeof(value);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSection, L"sizeHorzCX", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  size = sizeof(value);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSection, L"sizeVertCX", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 345u);
  RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
}

TEST_F(EditorFrameTest, FirstRunBlinksTheLanguageListThenDropsItDown) {
  frame = Start(L"/firstrun");
  ASSERT_NE(frame, nullptr);
  HWND combo = GetDlgItem(LanguageBar(), kLanguageComboId);
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, kWaitMs));
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFrameTest, HelpAndWindowMenuCommandsReachTheirHandlers) {
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
  frame = Start();
  ASSERT_NE(frame, nullptr);
  // The links toolbar's forum button, the English news feed and the mail.
  for (UINT command : {32860u, 32806u, 32782u}) SendMessageW(frame, WM_COMMAND, command, 0);
  const std::string requests = qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log"));
  EXPECT_NE(requests.find("open\thttps://www.quillora.example/home_forum.php"), std::string::npos) << requests;
  EXPECT_NE(requests.find("open\thttps://www.quillora.example/news_en.xml"), std::string::npos) << requests;
  EXPECT_NE(requests.find("open\tmailto:support@quillora.example?subject=Quillora"), std::string::npos) << requests;

  // The window menu's Toolbar item hides the rebar like the View menu's.
  HWND rebar = GetDlgItem(frame, kReBarId);
  ASSERT_TRUE(IsWindowVisible(rebar));
  SendMessageW(frame, WM_SYSCOMMAND, kViewToolbarCommand, 0);
  EXPECT_FALSE(IsWindowVisible(rebar));
  SendMessageW(frame, WM_COMMAND, kViewToolbarCommand, 0);
  EXPECT_TRUE(IsWindowVisible(rebar));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorFrameTest, StatusTextFromAnotherProcessIsIgnored) {
  frame = Start();
  ASSERT_NE(frame, nullptr);
  const UINT statusText = RegisterWindowMessageW(kStatusTextMessage);
  DWORD_PTR answer = 99;
  // A pointer that means nothing in the editor's memory.
  ASSERT_TRUE(SendMessageTimeoutW(frame, statusText, 0, 0x1234, SMTO_ABORTIFHUNG, kWaitMs, &answer));
  EXPECT_EQ(answer, 0u);
  EXPECT_TRUE(child.IsRunning());
  EXPECT_EQ(qlre2e::FindEditorFrames(child.Pid()).size(), 1u);
  EXPECT_EQ(Exit(frame), 0);
}

}  // namespace
