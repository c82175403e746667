// Every message of the suite that carries an address or a handle, and the
// system's owner-draw, compare and notice messages, posted and sent from
// another process to every window of the real programs (message-only ones
// too) with junk values, real addresses of the program among them: the
// programs keep running, still work, show no box, log no exception and end
// cleanly.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "editor/editor_names.h"
#include "editor/frame/write_failure_notice.h"
#include "foundation/system/trusted_messages.h"
#include "history/store/history_names.h"
#include "platform/htmlayout/window/view_window.h"
#include "tests/e2e/editor_session.h"
#include "tests/e2e/hotkey_session.h"
#include "tests/support/test_support.h"
#include "tray/window/tray_messages.h"

namespace {

constexpr DWORD kJunkWaitMs = 300000;

bool Listed(UINT id) {
  for (size_t i = 0; i < kForeignMessageCount; ++i) {
    if (kForeignMessages[i].id == id) return true;
  }
  return false;
}

bool Listed(const wchar_t* name) {
  for (size_t i = 0; i < kForeignMessageCount; ++i) {
    if (kForeignMessages[i].registeredName && wcscmp(kForeignMessages[i].registeredName, name) == 0) return true;
  }
  return false;
}

int SendJunkTo(DWORD pid) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_junk_messages.exe"), std::to_wstring(pid), kJunkWaitMs);
}

BOOL CALLBACK AddChild(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// Every window of the process, message-only ones too.
std::vector<HWND> WindowsOf(DWORD pid) {
  std::vector<HWND> windows;
  for (HWND parent : {static_cast<HWND>(nullptr), HWND_MESSAGE})
    for (HWND window = FindWindowExW(parent, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(parent, window, nullptr, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner != pid) continue;
      windows.push_back(window);
      EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&windows));
    }
  return windows;
}

// The object each window of the process names (what a creation message
// taken a second time replaces), once the program has made what it makes
// at start. A window taken twice would also make its parts again.
std::map<HWND, LONG_PTR> ObjectsOf(DWORD pid) {
  qlrtest::WaitUntilStill([&] { return WindowsOf(pid).size(); }, 1500);
  std::map<HWND, LONG_PTR> objects;
  for (HWND window : WindowsOf(pid)) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    objects[window] = GetWindowLongPtrW(window, wcscmp(name, L"#32770") == 0 ? DWLP_USER : GWLP_USERDATA);
  }
  return objects;
}

// What a guard or a refusal would have written had junk reached a body.
void ExpectNoExceptionLogged(const std::wstring& log) {
  for (const wchar_t* text : {L"Exception", L"M_INFO is NULL", L"Crash:"})
    EXPECT_EQ(log.find(text), std::wstring::npos) << qlrtest::ToUtf8(text);
}

}  // namespace

// The list names the messages by the values their owners define.
TEST(ForeignMessagesTest, TheListHoldsTheSuitesAddressMessages) {
  for (UINT id : {WM_TRAY_QUERY, WM_TRAY_UPDATE_RESULT, WM_TRAY_HISTORY_CAPTION, WM_TRAY_COMMAND_FROM_SELF,
                  WM_TRAY_CLIPBOARD_HANDLER, kPhraseWriteFailedMessage, static_cast<UINT>(WM_COPYDATA)})
    EXPECT_TRUE(Listed(id)) << id;
  for (const wchar_t* name : {history_names::kItemSavedMessage, history_names::kHistoryLoadedMessage,
                              hl::kClickByHrefMessage})
    EXPECT_TRUE(Listed(name)) << qlrtest::ToUtf8(name);
}

// The running tray program with every window it makes: its phrase menu was
// shown once (its tracker window stays for the run), the history pane is up.
TEST(ForeignMessagesTrayTest, JunkFromAnotherProcessLeavesTheTrayProgramWorking) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  qlre2e::HotkeySession session;
  ASSERT_TRUE(session.Prepared());
  ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"One.quillora"), L"One", L"one", 1));
  session.SetSetting(L"ClipboardHistory", L"1");
  session.SetSetting(L"ShowHistoryPaneOnStart", L"1");
  ASSERT_TRUE(session.StartTarget());
  ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return qlrtest::FindProcessWindow(session.QuilloraPid(), L"QuilloraFloatPane") != nullptr; },
      qlre2e::kWaitMs));
  ASSERT_TRUE(session.BringTargetForward());
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
  ASSERT_TRUE(qlre2e::PressKey(VK_ESCAPE));
  ASSERT_TRUE(session.WaitForMenuGone());
  ASSERT_NE(FindWindowExW(HWND_MESSAGE, nullptr, L"Quillora_Menu_Tracker", nullptr), nullptr);

  const std::map<HWND, LONG_PTR> objects = ObjectsOf(session.QuilloraPid());
  EXPECT_EQ(SendJunkTo(session.QuilloraPid()), 0);
  EXPECT_EQ(ObjectsOf(session.QuilloraPid()), objects);
  // The history still takes what is copied. (A junk command block is a
  // command too: it puts the clipboard back, and what is copied during the
  // program's own clipboard work is not recorded; so copy until one is.)
  const size_t changes = session.CountInLog(L"Event OnClipboardHistoryChanged");
  int copies = 0;
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] {
        qlrtest::PutClipboardText(L"copied after the junk " + std::to_wstring(++copies));
        return qlrtest::WaitUntil(
            [&] { return session.CountInLog(L"Event OnClipboardHistoryChanged") > changes; }, 1000);
      },
      qlre2e::kWaitMs))
      << qlrtest::ToUtf8(session.LogText());
  DWORD_PTR free = 0;
  EXPECT_TRUE(SendMessageTimeoutW(session.TrayWindow(), WM_TRAY_IS_MENU_FREE, 0, 0, SMTO_ABORTIFHUNG,
                                  qlre2e::kWaitMs, &free));
  EXPECT_EQ(free, 1u);
  // The menu still opens and inserts.
  ASSERT_TRUE(session.BringTargetForward());
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
  ASSERT_TRUE(qlre2e::PressKey(VK_DOWN));
  ASSERT_TRUE(qlre2e::PressKey(VK_RETURN));
  EXPECT_TRUE(session.WaitForTargetText(L"one")) << qlrtest::ToUtf8(session.TargetText());
  ExpectNoExceptionLogged(session.LogText());
  EXPECT_EQ(session.Stop(), 0);
}

class ForeignMessagesEditorTest : public qlre2e::EditorSessionTest {};

TEST_F(ForeignMessagesEditorTest, JunkFromAnotherProcessLeavesTheEditorWorking) {
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  const std::map<HWND, LONG_PTR> objects = ObjectsOf(child.Pid());
  EXPECT_EQ(SendJunkTo(child.Pid()), 0);
  EXPECT_EQ(ObjectsOf(child.Pid()), objects);
  DWORD_PTR running = 0;
  EXPECT_TRUE(SendMessageTimeoutW(frame, RegisterWindowMessageW(editor_names::kRunningEditorMessage), 0, 0,
                                  SMTO_ABORTIFHUNG, kWaitMs, &running));
  EXPECT_EQ(running, 1u);
  ExpectNoExceptionLogged(LogText());
  EXPECT_EQ(Exit(frame), 0);
}

TEST(ForeignMessagesWelcomeTest, JunkFromAnotherProcessLeavesTheWelcomeProgramWorking) {
  qlrtest::TempDir dir;
  for (const wchar_t* f : {L"Quillora_Welcome.exe", L"HTMLayout.dll"})
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), dir.File(f)));
  WritePrivateProfileStringW(L"Settings", L"WriteLog", L"1", dir.File(L"Settings.ini").c_str());
  qlrtest::ChildProcess child;
  ASSERT_TRUE(child.Start(dir.File(L"Quillora_Welcome.exe"), L""));
  HWND window = nullptr, view = nullptr;
  // The dialog shows with a stand-in of the view's id, which the view
  // takes over: the view is the one showing the page.
  auto pageText = [&] {
    wchar_t text[64] = {};
    view = window ? GetDlgItem(window, 1002) : nullptr;
    if (view) SendMessageTimeoutW(view, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return std::wstring(text);
  };
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    window = qlrtest::FindProcessWindow(child.Pid(), L"#32770");
    return pageText().find(L"<") != std::wstring::npos;
  }, 20000));
  // The page is in once its text stays.
  LRESULT before = -1;
  qlrtest::WaitUntil([&] {
    const LRESULT now = SendMessageW(view, WM_GETTEXTLENGTH, 0, 0);
    const bool settled = now == before;
    before = now;
    return settled;
  }, 20000, 500);
  EXPECT_EQ(SendJunkTo(child.Pid()), 0);
  DWORD_PTR length = 0;
  EXPECT_TRUE(SendMessageTimeoutW(view, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 20000, &length))
      << "error " << GetLastError() << ", the program " << (child.IsRunning() ? "runs" : "ended");
  EXPECT_EQ(static_cast<LRESULT>(length), before);
  ExpectNoExceptionLogged(qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")));
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_NE(child.Wait(20000), -1);
}
