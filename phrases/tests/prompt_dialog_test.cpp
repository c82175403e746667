#include "phrases/insertion/prompt_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "phrases/insertion/prompt_dialog_ids.h"
#include "phrases/tests/clipboard_and_dialogs.h"
#include "phrases/tests/insert_target.h"

namespace {

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[512] = {};
  GetWindowTextW(hwnd, buf, 512);
  return buf;
}

// Shows the dialog on its own thread, as the tray thread would, while the
// test drives it from outside.
class RunningPrompt {
 public:
  RunningPrompt(const std::wstring& initial, HWND target)
      : m_thread([this, initial, target] {
          CPromptDialog dlg(initial, target, 0);
          m_result = dlg.DoModal();
          m_text = dlg.GetResultText();
          m_done = true;
        }) {
    m_dialog = WaitForOwnDialog();
  }
  ~RunningPrompt() {
    if (!m_done && m_dialog) PostMessageW(m_dialog, WM_COMMAND, IDCANCEL, 0);
    m_thread.join();
  }
  HWND Dialog() const { return m_dialog; }
  HWND Edit() const { return GetDlgItem(m_dialog, IDC_PROMPT_TEXT); }
  // Presses a button and waits for the dialog's end.
  bool Press(int id) {
    SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(m_dialog, id)));
    return qlrtest::PumpUntil([&] { return m_done.load(); });
  }
  INT_PTR Result() const { return m_result; }
  const std::wstring& Text() const { return m_text; }

 private:
  HWND m_dialog = nullptr;
  INT_PTR m_result = -1;
  std::wstring m_text;
  std::atomic<bool> m_done{false};
  std::thread m_thread;
};

TEST(PromptDialogTest, CaptionNamesTheTargetCutTo100Characters) {
  HWND untitled = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const std::wstring longTitle = std::wstring(120, L'x') + std::wstring(30, L'y');
  HWND titled = CreateWindowExW(0, L"STATIC", longTitle.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND gone = CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  struct Case {
    HWND target;
    std::wstring caption;
  };
  const Case cases[] = {
      {nullptr, L"Quillora"},
      {untitled, L"Quillora"},
      {gone, L"Quillora"},
      {titled, L"Quillora - [" + std::wstring(100, L'x') + L"]"},
  };
  for (const Case& c : cases) EXPECT_EQ(PromptCaption(c.target), c.caption);
  DestroyWindow(untitled);
  DestroyWindow(titled);
}

TEST(PromptDialogTest, OkCancelAndEmptyOkAtTheCaretOfAnotherProcess) {
  InsertTarget target;
  ASSERT_TRUE(target.Start(false, L"Letter to Anna"));
  target.SetText(L"Dear ");
  SendMessageW(target.Child(), EM_SETSEL, 5, 5);
  ASSERT_TRUE(target.WaitFocused());

  struct Case {
    const char* name;
    std::wstring initial;
    const wchar_t* typed;  // null: edit left as shown
    int button;
    INT_PTR result;
    std::wstring text;
  };
  const Case cases[] = {
      {"answer", L"Name", L"Bob", IDOK, IDOK, L"Bob"},
      {"cancel", L"Name", L"Bob", IDCANCEL, IDCANCEL, L"Name"},
      {"emptied edit keeps the argument", L"Name", L"", IDOK, IDOK, L"Name"},
      {"untouched", L"City", nullptr, IDOK, IDOK, L"City"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(target.WaitFocused());
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof(gti);
    ASSERT_TRUE(GetGUIThreadInfo(target.Thread(), &gti));
    ASSERT_EQ(gti.hwndCaret, target.Child());
    POINT pt = {gti.rcCaret.left, gti.rcCaret.bottom};
    ClientToScreen(gti.hwndCaret, &pt);
    RunningPrompt prompt(c.initial, target.Main());
    ASSERT_TRUE(prompt.Dialog() != nullptr);
    EXPECT_EQ(WindowText(prompt.Dialog()), L"Quillora - [Letter to Anna]");
    // The argument is shown, all selected, in a topmost dialog.
    EXPECT_EQ(WindowText(prompt.Edit()), c.initial);
    EXPECT_EQ(SendMessageW(prompt.Edit(), EM_GETSEL, 0, 0), MAKELONG(0, c.initial.size()));
    EXPECT_TRUE(GetWindowLongPtrW(prompt.Dialog(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(WindowText(GetDlgItem(prompt.Dialog(), IDOK)), L"OK");
    EXPECT_EQ(WindowText(GetDlgItem(prompt.Dialog(), IDCANCEL)), L"Never mind");  // the program's string 230
    // Its top-left corner sits below the target's caret.
    RECT rc = {};
    GetWindowRect(prompt.Dialog(), &rc);
    EXPECT_EQ(rc.left, pt.x);
    EXPECT_EQ(rc.top, pt.y);

    if (c.typed) SetWindowTextW(prompt.Edit(), c.typed);
    ASSERT_TRUE(prompt.Press(c.button));
    EXPECT_EQ(prompt.Result(), c.result);
    EXPECT_EQ(prompt.Text(), c.text);
  }
}

TEST(PromptDialogTest, CentredOnATargetWithoutCaret) {
  HWND target = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 300, 200, 600, 400, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(target != nullptr);
  RunningPrompt prompt(L"", target);
  ASSERT_TRUE(prompt.Dialog() != nullptr);
  EXPECT_EQ(WindowText(prompt.Dialog()), L"Quillora");
  EXPECT_EQ(WindowText(prompt.Edit()), L"");
  RECT rc = {}, t = {};
  GetWindowRect(prompt.Dialog(), &rc);
  GetWindowRect(target, &t);
  EXPECT_LE(std::abs((rc.left + rc.right) - (t.left + t.right)), 2);
  EXPECT_LE(std::abs((rc.top + rc.bottom) - (t.top + t.bottom)), 2);
  // An empty answer to an empty argument stays empty.
  ASSERT_TRUE(prompt.Press(IDOK));
  EXPECT_EQ(prompt.Result(), IDOK);
  EXPECT_EQ(prompt.Text(), L"");
  DestroyWindow(target);
}

}  // namespace
