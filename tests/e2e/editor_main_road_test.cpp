// The main road across both programs: a phrase chosen in the tree of the
// real QuilloraEditor.exe, edited and saved there, reaches the phrase menu
// of the real Quillora.exe, and the hotkey types it into another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "phrases/macros/macro_dates.h"
#include "phrases/macros/macro_sources.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/e2e/editor_session.h"
#include "tests/e2e/hotkey_session.h"

namespace {

using qlre2e::HotkeySession;
using qlre2e::kWaitMs;
using qlre2e::WindowText;

constexpr UINT kReadOnlyMode = 32837;
constexpr UINT kSave = 57603;
constexpr int kPaneId = 0xE900;
constexpr int kTextId = 1032;
constexpr int kTreeId = 1243;

HWND FocusOf(HWND window) {
  GUITHREADINFO gui = {sizeof(gui)};
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) ? gui.hwndFocus : nullptr;
}

bool TypeUnicode(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT keys[2] = {};
    for (int i = 0; i < 2; ++i) {
      keys[i].type = INPUT_KEYBOARD;
      keys[i].ki.wScan = c;
      keys[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    if (SendInput(2, keys, sizeof(INPUT)) != 2) return false;
  }
  return true;
}

TEST(EditorMainRoadTest, AnEditedPhraseIsSavedAndTypedByTheHotkey) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  HotkeySession session;
  ASSERT_TRUE(session.Prepared());
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"QuilloraEditor.exe"), session.File(L"QuilloraEditor.exe")));
  const std::wstring greeting = session.PhraseFile(L"Greeting.quillora");
  const std::wstring other = session.PhraseFile(L"Other.quillora");
  ASSERT_TRUE(qlre2e::WritePhrase(greeting, L"Greeting", L"Hello", 1));
  ASSERT_TRUE(qlre2e::WritePhrase(other, L"Other", L"other text", 2));
  const std::string otherBytes = qlrtest::ReadBytes(other);
  session.SetSetting(L"PhrasesDirectory", session.PhraseFolder().c_str());

  ASSERT_TRUE(session.StartTarget());
  ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
  qlrtest::ChildProcess editor;
  ASSERT_TRUE(editor.Start(session.File(L"QuilloraEditor.exe"), L""));
  // The user picks Greeting in the phrase tree with the mouse.
  HWND frame = nullptr, tree = nullptr, text = nullptr;
  HTREEITEM item = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    std::vector<HWND> frames = qlre2e::FindEditorFrames(editor.Pid());
    frame = frames.empty() ? nullptr : frames.front();
    HWND pane = frame ? qlre2e::FindPhrasePane(frame) : nullptr;
    tree = pane ? GetDlgItem(pane, kTreeId) : nullptr;
    item = tree ? qlre2e::FindRemoteTreeItem(tree, L"Greeting") : nullptr;
    return item != nullptr;
  }, kWaitMs, 50));
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    text = GetDlgItem(GetDlgItem(frame, kPaneId), kTextId);
    if (text && WindowText(text) == L"Hello") return true;
    qlre2e::ClickTreeItem(tree, item);
    return false;
  }, kWaitMs, 500));
  wchar_t cls[64] = {};
  GetClassNameW(text, cls, 64);
  EXPECT_STREQ(cls, L"RichEdit20W");

  PostMessageW(frame, WM_COMMAND, kReadOnlyMode, 0);
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    if (GetForegroundWindow() != frame) SetForegroundWindow(frame);
    if (FocusOf(frame) != text) {
      PostMessageW(text, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
      PostMessageW(text, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    return GetForegroundWindow() == frame && FocusOf(frame) == text &&
           (GetWindowLongW(text, GWL_STYLE) & ES_READONLY) == 0;
  }, kWaitMs, 100));
  SendMessageW(text, EM_SETSEL, 0, -1);
  ASSERT_TRUE(TypeUnicode(L"Goodbye %DATE%"));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return WindowText(text) == L"Goodbye %DATE%"; }, kWaitMs))
      << qlrtest::ToUtf8(WindowText(text));

  PostMessageW(frame, WM_COMMAND, kSave, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] {
    return qlrtest::ReadBytes(greeting).find("<Cmd>Goodbye %DATE%</Cmd>") != std::string::npos;
  }, 1000)) << qlrtest::ReadBytes(greeting);
  EXPECT_EQ(qlrtest::ReadBytes(other), otherBytes);
  for (const std::wstring& name : phrasetest::Listing(session.PhraseFolder()))
    EXPECT_EQ(name.find(L".tmp"), std::wstring::npos) << qlrtest::ToUtf8(name);

  PostMessageW(frame, WM_COMMAND, qlre2e::kEditorExitCommand, 0);
  EXPECT_EQ(editor.Wait(kWaitMs), 0);
  EXPECT_TRUE(session.WaitForLog(L"Detected event: PhraseEditor closed")) << qlrtest::ToUtf8(session.LogText());

  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::wstring expected = L"Goodbye " + FormatLongDate(now, GetMacroUserLocale());
  ASSERT_TRUE(session.BringTargetForward());
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
  ASSERT_TRUE(qlre2e::PressKey(VK_DOWN));
  ASSERT_TRUE(qlre2e::PressKey(VK_RETURN));
  ASSERT_TRUE(session.WaitForMenuGone());
  EXPECT_TRUE(session.WaitForTargetText(expected)) << qlrtest::ToUtf8(session.TargetText());
  EXPECT_EQ(session.Stop(), 0);
}

}  // namespace
