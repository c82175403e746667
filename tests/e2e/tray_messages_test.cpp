// The real Quillora.exe answering the messages of the editor, the watchers,
// second starts and the other windows: what each answers and what it does.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr UINT kEditorState = 32772;
constexpr UINT kEditorEnded = 32774;
constexpr UINT kLanguageChanged = 32790;
constexpr WORD kPaneShowMenu = 32844;
constexpr wchar_t kAreaName[] = L"Local\\$QUILLORA_INTERCHANGE_AREA$";

bool AreaExists() {
  HANDLE area = OpenFileMappingW(FILE_MAP_READ, FALSE, kAreaName);
  if (area) CloseHandle(area);
  return area != nullptr;
}

size_t CountOf(const std::wstring& text, const std::wstring& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class TrayMessagesE2eTest : public qlre2e::TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
  }
};

TEST_F(TrayMessagesE2eTest, ClosedEditorBringsTheServicesUpAnew) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  CopyLibrary();
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(AreaExists());
  EXPECT_TRUE(qlre2e::DefaultHotkeyIsFree());

  // Unknown states and the start change nothing.
  EXPECT_EQ(SendMessageW(window, kEditorState, 7, 0), 1);
  EXPECT_EQ(SendMessageW(window, kEditorState, 1, 0), 1);
  EXPECT_FALSE(AreaExists());
  EXPECT_TRUE(qlre2e::DefaultHotkeyIsFree());

  EXPECT_EQ(SendMessageW(window, kEditorState, 2, 0), 1);
  EXPECT_TRUE(AreaExists());
  EXPECT_FALSE(qlre2e::DefaultHotkeyIsFree());
  std::wstring log = LogText();
  EXPECT_EQ(log.find(L"Cannot register hot key"), std::wstring::npos) << qlrtest::ToUtf8(log);
  EXPECT_EQ(log.find(L"Cannot kernel DLL install"), std::wstring::npos);

  // A second close restarts them: still one hotkey, still running.
  EXPECT_EQ(SendMessageW(window, kEditorState, 2, 0), 1);
  EXPECT_TRUE(AreaExists());
  EXPECT_FALSE(qlre2e::DefaultHotkeyIsFree());
  EXPECT_EQ(LogText().find(L"Cannot register hot key"), std::wstring::npos);
}

TEST_F(TrayMessagesE2eTest, FailedEditorStartTellsTheUserAndStartsTheEditorDirectly) {
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"),
                                  dir.File(L"QuilloraEditor.exe")));
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(PostMessageW(window, kEditorState, 0, 0));
  EXPECT_TRUE(qlrtest::CloseMessageBox(child.Pid(), L"Cannot start settings module", kWaitMs));
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return !qlrtest::ReadBytes(dir.File(L"editor_cmdline.txt")).empty(); }, kWaitMs));
}

// "/edit" at a first start and handed over by a second start each start
// the editor once; "/cfu" both ways reaches the tray window's command.
TEST_F(TrayMessagesE2eTest, EditAndCheckForUpdatesSwitchesReachTheirCommands) {
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"),
                                  dir.File(L"QuilloraEditor.exe")));
  auto starts = [&] { return CountOf(qlrtest::ReadUtf16File(dir.File(L"editor_starts.txt")), L"start"); };
  const std::wstring started = L"Succcessfully start PhraseEditor as CreateProcess";
  // Each check asks a closed local port and logs its failed download.
  const std::wstring update = L"Cannot download info version file by Download2";
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"UpdateSite_Test.UpdateSite_Test"), "http://127.0.0.1:1/"));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"InternetState_Test.InternetState_Test"), "0"));  // connected
  SetSetting(L"AutoCheckForUpdates", L"0");
  ASSERT_NE(Start(L"/noinstall /edit /cfu"), nullptr);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return starts() == 1; }, kWaitMs));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return CountOf(LogText(), update) == 1; }, kWaitMs))
      << qlrtest::ToUtf8(LogText());

  EXPECT_EQ(qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/edit", kWaitMs), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return starts() == 2; }, kWaitMs));
  EXPECT_EQ(qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/cfu", kWaitMs), 1);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return CountOf(LogText(), update) == 2; }, kWaitMs));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return CountOf(LogText(), started) == 2; }, kWaitMs));
  Exit();
  EXPECT_EQ(starts(), 2u);
  EXPECT_EQ(CountOf(LogText(), started), 2u) << qlrtest::ToUtf8(LogText());
}

TEST_F(TrayMessagesE2eTest, EditorEndAndLanguageChangeTakeTheStoredLanguage) {
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  // The texts the program shows from now on come from this file; the ones
  // it lacks are written into it for the translator.
  const std::wstring lng = dir.File(L"Test.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=de\r\n"));
  SetSetting(L"Language", L"Test.lng");
  const UINT messages[] = {kEditorEnded, kLanguageChanged};
  for (UINT message : messages) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=de\r\n"));
    EXPECT_EQ(SendMessageW(window, message, 0, 0), 1) << message;
    std::wstring text = qlrtest::ReadUtf16File(lng);
    EXPECT_NE(text.find(L"[Strings_Client]"), std::wstring::npos) << message << qlrtest::ToUtf8(text);
    EXPECT_NE(text.find(L"132=Hot key"), std::wstring::npos) << message;
  }
  EXPECT_TRUE(WaitForLog(L"Detected event: PhraseEditor closed"));
}

TEST_F(TrayMessagesE2eTest, StartTakesTheStoredOrTheInputLanguagesFile) {
  // The two letters of the default input language name the file chosen when
  // the settings name none.
  HKL input = nullptr;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETDEFAULTINPUTLANG, 0, &input, 0));
  wchar_t iso[100] = {};
  GetLocaleInfoW(MAKELCID(LOWORD(reinterpret_cast<ULONG_PTR>(input)), SORT_DEFAULT), LOCALE_SISO639LANGNAME,
                 iso, 99);
  iso[2] = L'\0';
  ASSERT_NE(iso[0], L'\0');
  const std::wstring header = std::wstring(L"[Main]\r\nLangPrefix=") + iso + L"\r\n";
  struct Case {
    const wchar_t* stored;  // the Language setting, null: none
    const wchar_t* file;
  } cases[] = {{L"Stored.lng", L"Stored.lng"}, {nullptr, L"ByInput.lng"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"Stored.lng"), header));
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"ByInput.lng"), header));
    // Sorted first, but of another language.
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"Aaa.lng"), L"[Main]\r\nLangPrefix=zz\r\n"));
    if (c.stored) {
      SetSetting(L"Language", c.stored);
    } else {
      WritePrivateProfileStringW(L"Settings", L"Language", nullptr, dir.File(L"Settings.ini").c_str());
      DeleteFileW(dir.File(L"Stored.lng").c_str());
    }
    ASSERT_NE(Start(L"/noinstall"), nullptr) << c.file;
    // The tray icon's tooltip asks for its texts: the file learns them.
    EXPECT_TRUE(qlrtest::WaitUntil(
        [&] { return qlrtest::ReadUtf16File(dir.File(c.file)).find(L"132=Hot key") != std::wstring::npos; },
        kWaitMs))
        << c.file << qlrtest::ToUtf8(qlrtest::ReadUtf16File(dir.File(L"Settings.ini")))
        << qlrtest::ReadBytes(dir.File(L"Settings.ini"));
    EXPECT_EQ(qlrtest::ReadUtf16File(dir.File(L"Aaa.lng")).find(L"Strings_Client"), std::wstring::npos);
    Exit();
  }
}

TEST_F(TrayMessagesE2eTest, SecondStartBringsStoppedServicesBackAndSaysSo) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  CopyLibrary();
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(AreaExists());
  qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"", kWaitMs);
  // The folder has no sound files: the request shows in the log, after the
  // services were started. Probing the hotkey before would race with its
  // registration.
  EXPECT_TRUE(WaitForLog(L"Sound file not found: " + dir.Path() + L"\\already_work.wav"));
  EXPECT_TRUE(AreaExists());
  EXPECT_FALSE(qlre2e::DefaultHotkeyIsFree());
  // A third start finds the services up and leaves them as they are.
  qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"", kWaitMs);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return CountOf(LogText(), L"already_work.wav") >= 2; }, kWaitMs));
  EXPECT_EQ(CountOf(LogText(), L"Cannot register hot key"), 0u);
  EXPECT_TRUE(IsWindow(window));

  // Stopped by the user, brought back by a second start: a hotkey changed
  // on the settings page applies when the editor ends.
  ASSERT_EQ(SendMessageW(window, WM_COMMAND, 32770, 0), 0);
  ASSERT_TRUE(qlrtest::WaitUntil([] { return qlre2e::DefaultHotkeyIsFree(); }, kWaitMs));
  qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"", kWaitMs);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return CountOf(LogText(), L"already_work.wav") >= 3; }, kWaitMs));
  ASSERT_TRUE(qlrtest::WaitUntil([] { return !qlre2e::DefaultHotkeyIsFree(); }, kWaitMs));
  SetSetting(L"Hotkey", std::to_wstring(MAKELONG(VK_F7, MOD_CONTROL | MOD_ALT)));
  ASSERT_EQ(SendMessageW(window, 32774, 0, 0), 1);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [] { return qlre2e::HotkeyHeld(MOD_CONTROL | MOD_ALT, VK_F7) && qlre2e::DefaultHotkeyIsFree(); }, kWaitMs));
}

TEST_F(TrayMessagesE2eTest, SmallMessagesAreAnsweredWithoutTheMissingParts) {
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
  } cases[] = {
      {32779, 0, 0, 0},       // gesture query
      {32781, 0, 0, 1},       // no phrase menu shown
      {32783, 0, 0, 0},       // no clipboard handler
      {32784, 0, 0, 1},       // balloon removed
      {32785, 0, 0, 1},       // tray-menu tooltip hidden
      {32789, 0, 424242, 1},  // copy of an id that is no phrase
      {32789, 9, 1, 1},       // an action nobody knows
      {32786, 0, 0, 1},       // wait-thread error with the services down
  };
  for (const auto& c : cases)
    EXPECT_EQ(SendMessageW(window, c.message, c.wParam, c.lParam), c.answer) << c.message;
  // The wait-thread error is logged once, by the window.
  EXPECT_TRUE(WaitForLog(L"Reveived message WM_WAIT_QUERY_COMPLETE_ERROR"));
  EXPECT_EQ(CountOf(LogText(), L"Reveived message WM_WAIT_QUERY_COMPLETE_ERROR, wait of query complete with error\r\n"), 1u);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(TrayMessagesE2eTest, PaneCaptionCommandAsksForTheMenuHalfASecondLater) {
  // Without the library the services stay down, but the menu road is there.
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  const std::wstring line = L"SendMessageToTargetWindow: ";
  ASSERT_EQ(CountOf(LogText(), line), 0u);
  ULONGLONG sent = GetTickCount64();
  ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kPaneShowMenu, 0));
  ASSERT_TRUE(WaitForLog(line));
  EXPECT_GE(GetTickCount64() - sent, 450u);
}

LRESULT SendToTray(HWND tray, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(tray, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// The user copies a phrase from the open menu and then closes it: the copy
// stays, where a closed menu otherwise puts the user's clipboard back.
TEST(TrayMessagesMenuTest, CopyFromTheOpenMenuSurvivesItsClosing) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  qlre2e::HotkeySession session;
  ASSERT_TRUE(session.Prepared());
  // The only phrase gets the first id.
  ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"Only.quillora"), L"Only", L"Copied phrase", 1));
  ASSERT_TRUE(qlrtest::PutClipboardText(L"user text"));
  ASSERT_TRUE(session.StartTarget());
  ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
  HWND tray = session.TrayWindow();
  EXPECT_EQ(SendToTray(tray, 32781, 0, 0), 1);

  ASSERT_TRUE(session.BringTargetForward());
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
  EXPECT_EQ(SendToTray(tray, 32781, 0, 0), 0) << "the menu is shown";
  EXPECT_EQ(SendToTray(tray, 32789, 0, 1), 1);
  EXPECT_EQ(qlrtest::ClipboardText(), L"Copied phrase");

  const size_t ends = session.CountInLog(L"CQLRTrayWnd::OnWmCommandFromSelf");
  ASSERT_TRUE(qlre2e::PressKey(VK_ESCAPE));
  ASSERT_TRUE(session.WaitForMenuGone());
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return session.CountInLog(L"CQLRTrayWnd::OnWmCommandFromSelf") > ends; }, kWaitMs));
  EXPECT_EQ(qlrtest::ClipboardText(), L"Copied phrase");
  EXPECT_EQ(SendToTray(tray, 32781, 0, 0), 1);
  EXPECT_EQ(session.TargetText(), L"");
  EXPECT_EQ(session.Stop(), 0);
}

}  // namespace
