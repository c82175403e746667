// The tray window's messages and timers in this process: every shell call
// for the tray icon is caught, so the balloons, pictures and tooltips the
// window asks for can be read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "foundation/localization/language_files.h"
#include "foundation/logging/log.h"
#include "foundation/system/shell_open.h"
#include "foundation/system/trusted_messages.h"
#include "foundation/ui/icons.h"
#include "history/actions/web_search.h"
#include "online/internet_state.h"
#include "online/web_links.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"
#include "platform/atl/app_module.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "settings/settings_names.h"
#include "tests/support/test_support.h"
#include "tray/app/app_control.h"
#include "tray/app/app_texts.h"
#include "tray/app/command_line.h"
#include "tray/app/problem_list.h"
#include "tray/icon/tray_icon.h"
#include "tray/window/tray_messaging.h"
#include "tray/window/tray_window.h"

namespace {

using qlrtest::IconBits;

std::vector<BYTE> ResourceIconBits(UINT id) {
  HICON icon = LoadSmallIcon(GetModuleHandleW(nullptr), id);
  std::vector<BYTE> bits = IconBits(icon);
  if (icon) DestroyIcon(icon);
  return bits;
}

struct NotifyCall {
  DWORD message;
  UINT flags;
  std::wstring info;
  std::wstring tip;
  UINT timeout;
  std::vector<BYTE> icon;
  std::wstring infoTitle;
  DWORD infoFlags;
};

std::mutex g_lock;
std::vector<NotifyCall> g_calls;
BOOL g_shellAnswer = TRUE;

BOOL RecordNotify(DWORD message, NOTIFYICONDATAW* data) {
  NotifyCall call{message,  data->uFlags, data->szInfo,        data->szTip,
                  data->uTimeout, {},     data->szInfoTitle, data->dwInfoFlags};
  if (data->uFlags & NIF_ICON) call.icon = IconBits(data->hIcon);
  std::lock_guard<std::mutex> hold(g_lock);
  g_calls.push_back(call);
  return g_shellAnswer;
}

std::vector<NotifyCall> Calls() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_calls;
}

// Calls that change only the picture (the blink and the restore).
std::vector<NotifyCall> PictureCalls() {
  std::vector<NotifyCall> pictures;
  for (const NotifyCall& call : Calls())
    if (call.message == NIM_MODIFY && call.flags == NIF_ICON) pictures.push_back(call);
  return pictures;
}

bool IsBalloonRemoval(const NotifyCall& call) {
  return call.message == NIM_MODIFY && (call.flags & NIF_INFO) && call.info.empty();
}

class TrayMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    CreateDirectoryW(dir.File(L"Profile").c_str(), nullptr);
    SetSettingsFolders(dir.Path(), dir.File(L"Profile"));
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
    SetSetting(L"SoundOnEventsV094", L"0");
    SetSetting(L"Welcome_Already_Started_V2_60", L"1");
    GetSettings().Load();
    {
      std::lock_guard<std::mutex> hold(g_lock);
      g_calls.clear();
      g_shellAnswer = TRUE;
    }
    SetShellNotifyIconHookForTests(RecordNotify);
    module.Init(nullptr, GetModuleHandleW(nullptr));
    module.AddMessageLoop(&loop);
    ASSERT_TRUE(wnd.Create(0));
    // The window's own icon install runs from a helper thread; let it pass.
    ASSERT_TRUE(qlrtest::PumpUntil([] {
      for (const NotifyCall& call : Calls())
        if (call.message == NIM_ADD) return true;
      return false;
    }));
  }
  void TearDown() override {
    if (wnd.IsWindow()) wnd.DestroyWindow();
    module.RemoveMessageLoop();
    module.Term();
    SetShellNotifyIconHookForTests(nullptr);
    if (IsLogOpen()) TermLog();
    SetCurrentLanguage(std::wstring());
    SetUILanguageIsRussian(0);
    SetSettingsFolders(std::wstring(), std::wstring());
  }
  void SetSetting(const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(L"Settings", key, value.c_str(), dir.File(L"Settings.ini").c_str());
  }
  void WritePhrase(const std::wstring& name, const std::wstring& data, int dataType = 0) {
    CPhraseNode node;
    node.SetCaption(name);
    node.data = data;
    node.DataType = static_cast<std::uint32_t>(dataType);
    ASSERT_TRUE(SavePhraseToFile(node, dir.File(L"Phrases\\" + name + L".quillora")));
  }
  // The id the loaded store gave the phrase of that caption; 0 when none.
  int PhraseId(const std::wstring& caption) {
    for (const CPhraseNode& node : wnd.GetPhraseStore().Nodes())
      if (node.GetCaption() == caption) return static_cast<int>(node.CMDID);
    return 0;
  }
  size_t CallCount() { return Calls().size(); }

  qlrtest::TempDir dir;
  CAppModule module;
  CMessageLoop loop;
  UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  CCommandLine cmd{L"/noinstall"};
  CQLRTrayWnd wnd{stop.Get(), 1, cmd.GetText(), &cmd};
};

TEST_F(TrayMessagesTest, BalloonGoesAwayOnceAfterItsTime) {
  size_t before = CallCount();
  wnd.ShowTrayBalloon(L"Hello there", 150);
  std::vector<NotifyCall> calls = Calls();
  ASSERT_EQ(calls.size(), before + 1);
  EXPECT_EQ(calls.back().info, L"Hello there");
  EXPECT_EQ(calls.back().timeout, 150u);
  ASSERT_TRUE(qlrtest::PumpUntil([&] {
    std::vector<NotifyCall> now = Calls();
    for (size_t i = before + 1; i < now.size(); ++i)
      if (IsBalloonRemoval(now[i])) return true;
    return false;
  }));
  // The tick killed its timer: nothing is left to kill.
  EXPECT_FALSE(KillTimer(wnd.m_hWnd, kTimerRemoveBalloon));
}

TEST_F(TrayMessagesTest, HistoryCaptionFillsOnlyTheGivenRoom) {
  const std::wstring caption = L"Quillora : Clipboard History [0]";
  wchar_t buffer[12];
  wmemset(buffer, L'#', 12);
  EXPECT_EQ(SendWithAddress(wnd.m_hWnd, WM_TRAY_HISTORY_CAPTION, 10, reinterpret_cast<LPARAM>(buffer)),
            static_cast<LRESULT>(caption.size()));
  EXPECT_EQ(std::wstring(buffer), caption.substr(0, 9));
  EXPECT_EQ(buffer[10], L'#');
  wchar_t whole[64];
  EXPECT_EQ(SendWithAddress(wnd.m_hWnd, WM_TRAY_HISTORY_CAPTION, 64, reinterpret_cast<LPARAM>(whole)),
            static_cast<LRESULT>(caption.size()));
  EXPECT_EQ(std::wstring(whole), caption);
  // No room or no buffer: the length alone.
  wmemset(buffer, L'#', 12);
  EXPECT_EQ(SendWithAddress(wnd.m_hWnd, WM_TRAY_HISTORY_CAPTION, 0, reinterpret_cast<LPARAM>(buffer)),
            static_cast<LRESULT>(caption.size()));
  EXPECT_EQ(buffer[0], L'#');
  EXPECT_EQ(SendWithAddress(wnd.m_hWnd, WM_TRAY_HISTORY_CAPTION, 64, 0), static_cast<LRESULT>(caption.size()));
  // A plain send or a post, as any other program makes them, fills nothing.
  wmemset(buffer, L'#', 12);
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_HISTORY_CAPTION, 10, reinterpret_cast<LPARAM>(buffer)),
            static_cast<LRESULT>(caption.size()));
  ASSERT_TRUE(wnd.PostMessage(WM_TRAY_HISTORY_CAPTION, 10, reinterpret_cast<LPARAM>(buffer)));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(buffer[0], L'#');
}

TEST_F(TrayMessagesTest, BalloonTimerStartsOnlyForAShownText) {
  wnd.ShowTrayBalloon(L"shown", 60000);
  EXPECT_TRUE(KillTimer(wnd.m_hWnd, kTimerRemoveBalloon));
  wnd.ShowTrayBalloon(nullptr, 60000);  // a removal needs no removal
  EXPECT_FALSE(KillTimer(wnd.m_hWnd, kTimerRemoveBalloon));
  {
    std::lock_guard<std::mutex> hold(g_lock);
    g_shellAnswer = FALSE;  // the shell has no icon to show it on
  }
  wnd.ShowTrayBalloon(L"refused", 60000);
  EXPECT_FALSE(KillTimer(wnd.m_hWnd, kTimerRemoveBalloon));
}

TEST_F(TrayMessagesTest, SmallMessagesAnswerAsTheirSendersExpect) {
  const struct {
    UINT message;
    LRESULT answer;
    bool removesBalloon;
  } cases[] = {
      {WM_TRAY_GESTURE_QUERY, 0, false},
      {WM_TRAY_IS_MENU_FREE, 1, false},  // no phrase menu is shown
      {WM_TRAY_CLIPBOARD_HANDLER, 0, false},
      {WM_TRAY_HIDE_MENU_TIP, 1, false},
      {WM_TRAY_REMOVE_BALLOON, 1, true},
  };
  for (const auto& c : cases) {
    size_t before = CallCount();
    EXPECT_EQ(wnd.SendMessage(c.message, 0, 0), c.answer) << c.message;
    std::vector<NotifyCall> calls = Calls();
    bool removed = calls.size() > before && IsBalloonRemoval(calls[before]);
    EXPECT_EQ(removed, c.removesBalloon) << c.message;
  }
}

TEST_F(TrayMessagesTest, UpdateResultRemovesTheBalloonAndShowsTheStoppedPicture) {
  size_t before = CallCount();
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_UPDATE_RESULT, 0, 0), 1);
  std::vector<NotifyCall> calls = Calls();
  ASSERT_GE(calls.size(), before + 2);
  EXPECT_TRUE(IsBalloonRemoval(calls[before]));
  std::vector<NotifyCall> pictures = PictureCalls();
  ASSERT_EQ(pictures.size(), 1u);
  // The services are down: the restored picture must say so.
  EXPECT_EQ(pictures[0].icon, ResourceIconBits(kIconTrayInactive));
  EXPECT_NE(pictures[0].icon, ResourceIconBits(kIconTrayActive));
  // Another program's address is never read as an update record.
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_UPDATE_RESULT, 0, 0x12345678), 1);
}

TEST_F(TrayMessagesTest, EditorEndReloadsPhrasesLogsAndBlinksTheIcon) {
  std::wstring logPath = dir.File(L"LogReport.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  EXPECT_EQ(wnd.GetPhraseStore().GetNodeCount(), 0);  // no services, no load yet
  WritePhrase(L"First", L"one");
  WritePhrase(L"Second", L"two");
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_EDITOR_ENDED, 0, 0), 1);
  EXPECT_EQ(wnd.GetPhraseStore().GetNodeCount(), 2);
  EXPECT_TRUE(qlrtest::WaitUntil([&] {
    return qlrtest::ReadUtf16File(logPath).find(L"Detected event: PhraseEditor closed") !=
           std::wstring::npos;
  }));

  ASSERT_TRUE(qlrtest::PumpUntil([] { return PictureCalls().size() >= 8; }, 10000));
  std::vector<NotifyCall> pictures = PictureCalls();
  ASSERT_EQ(pictures.size(), 8u);
  const std::vector<BYTE> blink = ResourceIconBits(kIconTrayAlternate);
  const std::vector<BYTE> normal = ResourceIconBits(kIconTrayInactive);
  ASSERT_NE(blink, normal);
  for (size_t i = 0; i < pictures.size(); ++i)
    EXPECT_EQ(pictures[i].icon, i % 2 == 0 ? blink : normal) << i;
}

TEST_F(TrayMessagesTest, LanguageChangeTakesTheStoredLanguageFile) {
  const std::wstring lng = dir.File(L"Test.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Main]\r\nLangPrefix=ru\r\n[Strings_Client]\r\n132=Klavisha\r\n"));
  const struct {
    const wchar_t* stored;
    std::wstring current;
    int russian;
    const wchar_t* hotkeyWord;
  } cases[] = {
      {L"Test.lng", lng, 1, L"Klavisha: "},
      // No language: the example file beside the program gathers the texts.
      {L"", dir.File(L"LocalizeExample.lng"), 0, L"Hot key: "},
  };
  // A short folder keeps the tooltip's information lines within its size.
  GetSettings().SetPhrasesDirectory(L"C:\\Q");
  for (const auto& c : cases) {
    SetSetting(L"Language", c.stored);
    size_t before = CallCount();
    EXPECT_EQ(wnd.SendMessage(WM_TRAY_LANGUAGE_CHANGED, 0, 0), 1);
    EXPECT_EQ(GetCurrentLanguage(), c.current);
    EXPECT_EQ(IsUILanguageRussian(), c.russian);
    std::vector<NotifyCall> calls = Calls();
    ASSERT_GT(calls.size(), before);
    EXPECT_NE(calls.back().tip.find(c.hotkeyWord), std::wstring::npos) << qlrtest::ToUtf8(calls.back().tip);
  }
}

std::wstring UserName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  GetUserNameW(name, &size);
  return name;
}

bool ClipboardHasRtf() { return IsClipboardFormatAvailable(RegisterClipboardFormatW(L"Rich Text Format")) != 0; }

TEST_F(TrayMessagesTest, RightClickCopyPutsThePhraseTextAsInsertedOnTheClipboard) {
  WritePhrase(L"Greeting", L"Hi %WINDOWS_USERNAME%!");
  WritePhrase(L"Command", L"notepad.exe %WINDOWS_USERNAME%", 2);
  WritePhrase(L"Rich", L"{\\rtf1\\ansi Bold %WINDOWS_USERNAME%}", 1);
  ASSERT_EQ(wnd.SendMessage(WM_TRAY_EDITOR_ENDED, 0, 0), 1);
  const std::wstring user = UserName();
  ASSERT_FALSE(user.empty());
  const struct {
    const wchar_t* caption;
    std::wstring text;  // CF_UNICODETEXT afterwards
    bool rtf;
  } cases[] = {
      {L"Greeting", L"Hi " + user + L"!", false},
      {L"Command", L"notepad.exe " + user, false},
      {L"Rich", L"Bold " + user, true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(qlrtest::PutClipboardText(L"sentinel"));
    int id = PhraseId(c.caption);
    ASSERT_NE(id, 0) << qlrtest::ToUtf8(c.caption);
    EXPECT_EQ(wnd.SendMessage(WM_TRAY_RIGHT_MENU_COMMAND, kRightActionCopy, id), 1);
    EXPECT_EQ(qlrtest::ClipboardText(), c.text) << qlrtest::ToUtf8(c.caption);
    EXPECT_EQ(ClipboardHasRtf(), c.rtf) << qlrtest::ToUtf8(c.caption);
  }
  // An id that is no phrase copies nothing.
  ASSERT_TRUE(qlrtest::PutClipboardText(L"sentinel"));
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_RIGHT_MENU_COMMAND, kRightActionCopy, 99999), 1);
  EXPECT_EQ(qlrtest::ClipboardText(), L"sentinel");
}

std::vector<std::wstring> g_searched;
INT_PTR RecordSearch(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*, int) {
  g_searched.push_back(file);
  return 33;
}

TEST_F(TrayMessagesTest, RightClickSearchTakesTheExpandedTextToTheChosenEngine) {
  WritePhrase(L"Query", L"who is\r\n%WINDOWS_USERNAME%");
  ASSERT_EQ(wnd.SendMessage(WM_TRAY_EDITOR_ENDED, 0, 0), 1);
  const int id = PhraseId(L"Query");
  ASSERT_NE(id, 0);
  g_searched.clear();
  SetShellOpenHookForTests(RecordSearch);
  for (WPARAM action = kRightActionSearchFirst; action <= kRightActionSearchLast; ++action)
    EXPECT_EQ(wnd.SendMessage(WM_TRAY_RIGHT_MENU_COMMAND, action, id), 1);
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_RIGHT_MENU_COMMAND, kRightActionSearchFirst, 99999), 1);
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_RIGHT_MENU_COMMAND, 8, id), 1);  // no such action
  SetShellOpenHookForTests(nullptr);
  const std::wstring query = L"who is " + UserName();
  ASSERT_EQ(g_searched.size(), 4u);
  for (int engine = 4; engine <= 7; ++engine)
    EXPECT_EQ(g_searched[engine - 4], BuildWebSearchAddress(query, engine));
  EXPECT_EQ(g_searched[0], L"http://search1.example/search?q=who%20is%20" + EncodeSearchQuery(UserName()));
}

bool AnswerAdmin() { return true; }
bool AnswerNotAdmin() { return false; }

// This test program carries the suite's version block ("1, 0, 0, 1").
TEST_F(TrayMessagesTest, IconTitleIsTheProgramsVersionTextWithTheAdminMark) {
  for (bool admin : {false, true}) {
    SetAdminTestForTests(admin ? AnswerAdmin : AnswerNotAdmin);
    EXPECT_EQ(wnd.SendMessage(WM_TRAY_LANGUAGE_CHANGED, 0, 0), 1);
    SetAdminTestForTests(nullptr);
    std::vector<NotifyCall> calls = Calls();
    ASSERT_FALSE(calls.empty());
    const std::wstring title = calls.back().tip.substr(0, calls.back().tip.find(L" - "));
    EXPECT_EQ(title, admin ? L"Quillora 1.00^" : L"Quillora 1.00") << qlrtest::ToUtf8(calls.back().tip);
    SetAdminTestForTests(admin ? AnswerAdmin : AnswerNotAdmin);
    EXPECT_EQ(title, GetProgramVersionText(false, false));
    SetAdminTestForTests(nullptr);
  }
  // The quick-start address carries the full version text.
  EXPECT_NE(GetQuickStartURL().find(L"?ver=Quillora_1.00_build_1"), std::wstring::npos)
      << qlrtest::ToUtf8(GetQuickStartURL());
}

TEST_F(TrayMessagesTest, HistoryActionsOnAPhraseIdTellTheUser) {
  for (WPARAM action : {kRightActionOpenHistoryLink, kRightActionOpenHistoryWith}) {
    bool closed = false;
    HANDLE closer = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          *static_cast<bool*>(p) = qlrtest::CloseMessageBox(GetCurrentProcessId(), L"nIndex < 0", 10000);
          return 0;
        },
        &closed, 0, nullptr);
    ASSERT_NE(closer, nullptr);
    EXPECT_EQ(wnd.SendMessage(WM_TRAY_RIGHT_MENU_COMMAND, action, 5), 1);
    WaitForSingleObject(closer, 15000);
    CloseHandle(closer);
    EXPECT_TRUE(closed) << action;
  }
}

TEST_F(TrayMessagesTest, PaneTextJoinsTheProblemList) {
  const std::wstring text = L"History folder cannot be read";
  size_t before = GetProblemList().size();
  EXPECT_EQ(SendTrayWndPaneMessage(text), 1);
  ASSERT_EQ(GetProblemList().size(), before + 1);
  EXPECT_EQ(GetProblemList().back(), text);
  // No text, nothing to keep; still answered.
  EXPECT_EQ(wnd.SendMessage(GetTrayPaneMessage(), 0, 0), 1);
  EXPECT_EQ(GetProblemList().size(), before + 1);
}

TEST_F(TrayMessagesTest, DueUpdateCheckShowsTheBalloonAndAsksForTheCheckWhenOnline) {
  size_t before = CallCount();
  EXPECT_EQ(wnd.SendMessage(WM_TRAY_UPDATE_DUE, 0, 0), 1);
  std::vector<NotifyCall> calls = Calls();
  ASSERT_EQ(calls.size(), before + 1);
  EXPECT_EQ(calls.back().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(calls.back().flags & NIF_INFO);
  MSG msg = {};
  bool asked = false;
  while (PeekMessageW(&msg, wnd.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
    asked = asked || LOWORD(msg.wParam) == ID_TRAY_CHECK_FOR_UPDATES;
  EXPECT_EQ(asked, IsInternetConnected() == kInternetConnected);
}

TEST_F(TrayMessagesTest, ExitRequestSaysSoInABalloonWithTheProgramsIcon) {
  size_t before = CallCount();
  EXPECT_EQ(wnd.SendMessage(RegisterWindowMessageW(settings_names::kInstanceMessage), 1, 0), 1);
  std::vector<NotifyCall> calls = Calls();
  ASSERT_GT(calls.size(), before);
  EXPECT_TRUE(calls[before].flags & NIF_INFO);
  EXPECT_NE(calls[before].infoTitle.find(L", Exit..."), std::wstring::npos)
      << qlrtest::ToUtf8(calls[before].infoTitle);
  EXPECT_EQ(calls[before].infoFlags, static_cast<DWORD>(NIIF_USER));
  // The exit command follows the notice.
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return !wnd.IsWindow(); }));
  MSG quit = {};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the loop's end, for no later test
}

TEST_F(TrayMessagesTest, UnknownTimersAreLeftAlone) {
  ASSERT_TRUE(SetTimer(wnd.m_hWnd, 999, 60000, nullptr));
  wnd.SendMessage(WM_TIMER, 999, 0);
  EXPECT_TRUE(KillTimer(wnd.m_hWnd, 999)) << "a timer of someone else stays";
}

}  // namespace
