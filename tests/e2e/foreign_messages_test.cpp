// Every message of the suite that carries an address or a handle, posted
// and sent from another process to every window of the real programs with
// junk values (real addresses of the program among them): the programs keep
// running, still work, and end cleanly.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "editor/editor_names.h"
#include "editor/frame/write_failure_notice.h"
#include "foundation/system/trusted_messages.h"
#include "history/store/history_names.h"
#include "platform/htmlayout/window/view_window.h"
#include "tests/e2e/editor_session.h"
#include "tests/e2e/tray_program.h"
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

class ForeignMessagesTrayTest : public qlre2e::TrayProgramTest {};

TEST_F(ForeignMessagesTrayTest, JunkFromAnotherProcessLeavesTheTrayProgramWorking) {
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendJunkTo(child.Pid()), 0);
  DWORD_PTR free = 0;
  EXPECT_TRUE(SendMessageTimeoutW(window, WM_TRAY_IS_MENU_FREE, 0, 0, SMTO_ABORTIFHUNG, kProgramWaitMs, &free));
  EXPECT_EQ(free, 1u);
  Exit();
}

class ForeignMessagesEditorTest : public qlre2e::EditorSessionTest {};

TEST_F(ForeignMessagesEditorTest, JunkFromAnotherProcessLeavesTheEditorWorking) {
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(SendJunkTo(child.Pid()), 0);
  DWORD_PTR running = 0;
  EXPECT_TRUE(SendMessageTimeoutW(frame, RegisterWindowMessageW(editor_names::kRunningEditorMessage), 0, 0,
                                  SMTO_ABORTIFHUNG, kWaitMs, &running));
  EXPECT_EQ(running, 1u);
  EXPECT_EQ(Exit(frame), 0);
}
