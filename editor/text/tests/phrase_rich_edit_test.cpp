#include "editor/text/phrase_rich_edit.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/text/rich_text_io.h"
#include "editor/text/tests/text_test_util.h"
#include "editor_settings/helpers/menu_ranges.h"

namespace {

using texttest::kTextId;
using texttest::kTextStyle;
using texttest::PressKey;
using texttest::Selection;
using texttest::TypeChar;

class PhraseRichEditTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(text.Create(kTextStyle, CControlHost::ChildRect(), &host, kTextId)); }
  std::wstring Text() { return rich_text::GetPlainText(text); }

  texttest::RecordingHost host;
  CPhraseRichEdit text;
};

TEST_F(PhraseRichEditTest, CreationSetsUpTheControl) {
  EXPECT_TRUE(text.GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(text.GetEventMask() & ENM_LINK);
  EXPECT_EQ(::SendMessageW(text, EM_GETLIMITTEXT, 0, 0), kPhraseTextLimit);
  DWORD options = static_cast<DWORD>(::SendMessageW(text, EM_GETOPTIONS, 0, 0));
  EXPECT_EQ(options & (ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_NOHIDESEL | ECO_SELECTIONBAR),
            static_cast<DWORD>(ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_NOHIDESEL | ECO_SELECTIONBAR));
  EXPECT_EQ(text.GetCueString(), kIdsPhraseCue);
  EXPECT_TRUE(text.IsCueWanted()) << "empty and without focus";
  ::SetWindowTextW(text, L"x");
  EXPECT_FALSE(text.IsCueWanted());
  text.SetCueString(136);
  EXPECT_EQ(text.GetCueString(), 136u);
}

TEST_F(PhraseRichEditTest, ReadOnlyEatsTypingAndLetsOtherKeysThrough) {
  ::SetWindowTextW(text, L"abc");
  ASSERT_TRUE(text.SetReadOnly(TRUE));
  EXPECT_TRUE(text.IsReadOnly());
  texttest::Select(text, 1, 1);
  for (UINT key : {static_cast<UINT>(VK_BACK), static_cast<UINT>(VK_RETURN)}) {
    host.codes.clear();
    PressKey(&host, text, key);
    EXPECT_EQ(host.Count(kPhraseEditReadOnlyTyping), 1u) << "key " << key;
    EXPECT_EQ(Text(), L"abc");
  }
  host.codes.clear();
  PressKey(&host, text, VK_RIGHT);
  EXPECT_EQ(Selection(text).cpMin, 2);
  PressKey(&host, text, VK_HOME);
  EXPECT_EQ(Selection(text).cpMin, 0);
  PressKey(&host, text, VK_END);
  EXPECT_EQ(Selection(text).cpMin, 3);
  EXPECT_EQ(host.Count(kPhraseEditReadOnlyTyping), 0u);

  // Tab and F5 belong to the view and the frame.
  PressKey(&host, text, VK_TAB);
  PressKey(&host, text, VK_F5);
  ASSERT_EQ(host.passedKeys.size(), 2u);
  EXPECT_EQ(host.passedKeys[0], static_cast<UINT>(VK_TAB));
  EXPECT_EQ(host.passedKeys[1], static_cast<UINT>(VK_F5));
  EXPECT_EQ(host.Count(kPhraseEditReadOnlyTyping), 0u);

  // Ctrl+C still copies.
  texttest::Select(text, 0, 2);
  ASSERT_TRUE(::OpenClipboard(host));
  ::EmptyClipboard();
  ::CloseClipboard();
  {
    texttest::HeldKey ctrl(VK_CONTROL);
    PressKey(&host, text, 'C');
  }
  EXPECT_EQ(host.Count(kPhraseEditReadOnlyTyping), 0u);
  ASSERT_TRUE(::OpenClipboard(host));
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  std::wstring copied = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : L"";
  if (data) ::GlobalUnlock(data);
  ::CloseClipboard();
  EXPECT_EQ(copied, L"ab");

  // Writable again: keys type.
  ASSERT_TRUE(text.SetReadOnly(FALSE));
  texttest::Select(text, 3, 3);
  PressKey(&host, text, VK_BACK);
  EXPECT_EQ(Text(), L"ab");
  EXPECT_EQ(host.Count(kPhraseEditReadOnlyTyping), 0u);
}

TEST_F(PhraseRichEditTest, TypingKeysTable) {
  struct Case {
    UINT key;
    bool typing;
  };
  const Case cases[] = {
      {'A', true}, {VK_BACK, true}, {VK_RETURN, true}, {VK_DELETE, true}, {VK_SPACE, true},
      {VK_SHIFT, false}, {VK_CONTROL, false}, {VK_MENU, false}, {VK_END, false}, {VK_HOME, false},
      {VK_LEFT, false}, {VK_DOWN, false}, {VK_INSERT, false}, {VK_TAB, false}, {VK_ESCAPE, false},
      {VK_F1, false}, {VK_F6, false}, {VK_F24, false}, {VK_PRIOR, false}, {VK_NEXT, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPhraseTypingKey(c.key), c.typing) << c.key;
}

// Counts the Insert presses that reach the rich edit's own procedure.
class InsertSpyEdit : public CPhraseRichEdit {
 public:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEYDOWN && wParam == VK_INSERT) ++insertsSeen;
    return CPhraseRichEdit::DefWindowProc(message, wParam, lParam);
  }
  int insertsSeen = 0;
};

TEST_F(PhraseRichEditTest, InsertNeverLeavesOvertype) {
  InsertSpyEdit spy;
  ASSERT_TRUE(spy.Create(kTextStyle, CControlHost::ChildRect(), &host, kTextId + 1));
  ::SetWindowTextW(spy, L"ab");
  texttest::Select(spy, 0, 0);
  PressKey(&host, spy, VK_INSERT);
  bool known = false;
  bool overtype = rich_text::IsOvertype(spy, &known);
  EXPECT_FALSE(overtype);
  // Where the mode cannot be read, the control presses Insert once more
  // itself to switch back what the user's press switched on.
  EXPECT_EQ(spy.insertsSeen, known ? 1 : 2);
  TypeChar(&host, spy, L'x');
  EXPECT_EQ(rich_text::GetPlainText(spy), L"xab");

  // Shift+Insert pastes and switches nothing: no press of the control's own.
  ASSERT_TRUE(::OpenClipboard(host));
  ::EmptyClipboard();
  ::CloseClipboard();
  spy.insertsSeen = 0;
  {
    texttest::HeldKey shift(VK_SHIFT);
    PressKey(&host, spy, VK_INSERT);
  }
  EXPECT_EQ(spy.insertsSeen, 1);
  spy.insertsSeen = 0;
  PressKey(&host, spy, VK_INSERT);
  PressKey(&host, spy, VK_INSERT);
  EXPECT_EQ(spy.insertsSeen, known ? 2 : 4);
  TypeChar(&host, spy, L'y');
  EXPECT_EQ(rich_text::GetPlainText(spy).substr(0, 2), L"xy");
}

// Lines of 49 letters and a paragraph mark: n characters in all.
std::wstring Lines(LONG n, wchar_t letter) {
  std::wstring text;
  for (LONG i = 0; i < n; ++i) text += (i % 50 == 49) ? L'\r' : letter;
  return text;
}

TEST_F(PhraseRichEditTest, TypingStopsAtTheLimitButLoadsKeepTheirLength) {
  ::SetWindowTextW(text, Lines(kPhraseTextLimit - 2, L'a').c_str());
  ASSERT_EQ(texttest::CharCount(text), kPhraseTextLimit - 2);
  texttest::Select(text, -1, -1);
  for (int i = 0; i < 3; ++i) TypeChar(&host, text, L'b');
  EXPECT_EQ(texttest::CharCount(text), kPhraseTextLimit);
  ::SendMessageW(text, WM_KEYDOWN, VK_BACK, 0);
  ::SendMessageW(text, WM_CHAR, VK_BACK, 0);
  ASSERT_EQ(texttest::CharCount(text), kPhraseTextLimit - 1);

  ASSERT_TRUE(::OpenClipboard(host));
  ::EmptyClipboard();
  HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, 16 * sizeof(wchar_t));
  wcscpy(static_cast<wchar_t*>(::GlobalLock(data)), L"pasted");
  ::GlobalUnlock(data);
  ::SetClipboardData(CF_UNICODETEXT, data);
  ::CloseClipboard();
  texttest::Select(text, -1, -1);
  ::SendMessageW(text, WM_PASTE, 0, 0);
  EXPECT_EQ(texttest::CharCount(text), kPhraseTextLimit) << "pasting is capped too";
  EXPECT_EQ(rich_text::GetRangeText(text, kPhraseTextLimit - 2, kPhraseTextLimit), L"bp");
  text.ReplaceSel(L"more", TRUE);
  EXPECT_EQ(texttest::CharCount(text), kPhraseTextLimit);

  ASSERT_TRUE(rich_text::StreamInByPrefix(text, Lines(60000, L'c')));
  EXPECT_EQ(texttest::CharCount(text), 60000);
  texttest::Select(text, -1, -1);
  TypeChar(&host, text, L'd');
  EXPECT_EQ(texttest::CharCount(text), 60000) << "no typing beyond a longer loaded text";
  ASSERT_TRUE(rich_text::StreamInByPrefix(text, L"short"));
  EXPECT_EQ(::SendMessageW(text, EM_GETLIMITTEXT, 0, 0), kPhraseTextLimit);
}

TEST_F(PhraseRichEditTest, FormatTogglesClearAndReadOnlyLook) {
  ::SetWindowTextW(text, L"one two");
  text.SetModify(FALSE);
  texttest::Select(text, 0, 3);
  EXPECT_FALSE(text.IsBold());
  text.SetBold(true);
  EXPECT_TRUE(text.IsBold());
  EXPECT_TRUE(text.GetModify());
  text.SetItalic(true);
  text.SetUnderline(true);
  EXPECT_TRUE(text.IsItalic());
  EXPECT_TRUE(text.IsUnderline());
  text.SetBold(false);
  EXPECT_FALSE(text.IsBold());
  EXPECT_TRUE(text.HasSelection());

  text.SetReadOnly(TRUE);
  text.Clear();
  EXPECT_EQ(Text(), L"one two") << "read-only text is not cleared";
  text.SetReadOnly(FALSE);
  text.SetModify(FALSE);
  text.Clear();
  EXPECT_EQ(Text(), L" two");
  EXPECT_TRUE(text.GetModify());
  EXPECT_TRUE(text.CanUndo());
  EXPECT_FALSE(text.HasSelection());
}

TEST_F(PhraseRichEditTest, ContextMenuHoldsEditCommandsAndMacros) {
  HMENU menu = text.BuildContextMenu();
  ASSERT_NE(menu, nullptr);
  const UINT expected[] = {57643, 57644, 0, 57632, 57635, 57634, 57637, 0, 57642, 32793, 0};
  ASSERT_EQ(::GetMenuItemCount(menu), 12);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(::GetMenuItemID(menu, i), expected[i]) << i;
  wchar_t title[64] = {};
  ::GetMenuStringW(menu, 0, title, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(title), L"&Undo\tCtrl+Z") << "texts come from the main menu";
  ::GetMenuStringW(menu, 11, title, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(title), L"Macro");
  HMENU macros = ::GetSubMenu(menu, 11);
  ASSERT_NE(macros, nullptr);
  EXPECT_GT(::GetMenuItemCount(macros), 30);
  EXPECT_EQ(::GetMenuItemID(macros, 0), kMacroItemFirst);
  ::DestroyMenu(menu);

  // From the keyboard: below the caret, in screen coordinates.
  ::SetWindowTextW(text, L"first\r\nsecond");
  texttest::Select(text, 9, 2);
  CPoint caret = text.PosFromChar(9);
  text.ClientToScreen(&caret);
  CPoint at = text.ContextMenuPoint(CPoint(-1, -1));
  EXPECT_EQ(at.x, caret.x);
  EXPECT_EQ(at.y, caret.y + 10);
  EXPECT_EQ(text.ContextMenuPoint(CPoint(5, 7)), CPoint(5, 7));
}

}  // namespace
