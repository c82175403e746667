#include <windows.h>

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

#include "platform/mfc/tests/control_host.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

struct ByteSource {
  std::string bytes;
  size_t next = 0;
};

DWORD CALLBACK ReadBytes(DWORD_PTR cookie, LPBYTE buffer, LONG asked, LONG* given) {
  auto* source = reinterpret_cast<ByteSource*>(cookie);
  size_t n = source->bytes.size() - source->next;
  if (n > static_cast<size_t>(asked)) n = static_cast<size_t>(asked);
  memcpy(buffer, source->bytes.data() + source->next, n);
  source->next += n;
  *given = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteBytes(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *taken = count;
  return 0;
}

std::wstring Text(const CRichEditCtrl& edit) { return edit.StreamOut(SF_TEXT); }

TEST(RichEditCtrlTest, SelectionUndoAndModifyRoundTrip) {
  CControlHost host;
  CRichEditCtrl edit;
  ASSERT_TRUE(edit.Create(kEditStyle, CControlHost::ChildRect(), &host, 300));
  edit.LimitText(100000);
  EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 100000);
  edit.SetEventMask(ENM_CHANGE);
  EXPECT_EQ(edit.SetEventMask(ENM_CHANGE | ENM_SELCHANGE), static_cast<DWORD>(ENM_CHANGE));
  EXPECT_EQ(edit.GetEventMask(), static_cast<DWORD>(ENM_CHANGE | ENM_SELCHANGE));
  DWORD options = static_cast<DWORD>(::SendMessageW(edit, EM_GETOPTIONS, 0, 0));
  edit.SetOptions(ECOOP_OR, ECO_NOHIDESEL | ECO_SELECTIONBAR);
  EXPECT_EQ(static_cast<DWORD>(::SendMessageW(edit, EM_GETOPTIONS, 0, 0)),
            options | ECO_NOHIDESEL | ECO_SELECTIONBAR);

  edit.ReplaceSel(L"Hello world", TRUE);
  EXPECT_EQ(edit.GetTextLength(), 11);
  EXPECT_EQ(edit.GetTextLengthEx(GTL_NUMCHARS), 11);
  EXPECT_TRUE(edit.GetModify());
  edit.SetModify(FALSE);
  EXPECT_FALSE(edit.GetModify());
  edit.EmptyUndoBuffer();
  EXPECT_FALSE(edit.CanUndo());

  edit.SetSel(0, 5);
  long start = -1, end = -1;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 5);
  EXPECT_EQ(edit.GetSelectionType(), static_cast<WORD>(SEL_TEXT | SEL_MULTICHAR));
  EXPECT_EQ(edit.StreamOut(SF_TEXT | SFF_SELECTION), L"Hello");
  edit.ReplaceSel(L"Howdy", TRUE);
  EXPECT_EQ(Text(edit), L"Howdy world");
  EXPECT_TRUE(edit.GetModify());
  ASSERT_TRUE(edit.CanUndo());
  EXPECT_TRUE(edit.Undo());
  EXPECT_EQ(Text(edit), L"Hello world");
  ASSERT_TRUE(edit.CanRedo());
  EXPECT_TRUE(edit.Redo());
  EXPECT_EQ(Text(edit), L"Howdy world");
  CHARRANGE caret = {11, 11};
  edit.SetSel(caret);
  CHARRANGE got = {-1, -1};
  edit.GetSel(got);
  EXPECT_EQ(got.cpMin, 11);
  EXPECT_EQ(edit.GetSelectionType(), static_cast<WORD>(SEL_EMPTY));

  // Character format of the selection against the rest (the control's
  // default font may be a bold one).
  CHARFORMAT2W regular = {sizeof(regular)};
  regular.dwMask = CFM_BOLD;
  ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&regular));
  edit.SetSel(0, 5);
  CHARFORMAT2W bold = {};
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  EXPECT_TRUE(edit.SetSelectionCharFormat(bold));
  CHARFORMAT2W cf = {};
  edit.GetSelectionCharFormat(cf);
  EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
  edit.SetSel(6, 11);
  CHARFORMAT2W plain = {};
  edit.GetSelectionCharFormat(plain);
  EXPECT_TRUE(plain.dwMask & CFM_BOLD);
  EXPECT_FALSE(plain.dwEffects & CFE_BOLD);
  CHARFORMAT2W def = {};
  EXPECT_NE(edit.GetDefaultCharFormat(def), 0u);
  EXPECT_GT(def.yHeight, 0);

  // Positions and the formatting rectangle.
  CPoint at6 = edit.PosFromChar(6);
  EXPECT_GT(at6.x, edit.PosFromChar(0).x);
  EXPECT_EQ(edit.CharFromPos(CPoint(at6.x + 1, at6.y + 1)), 6);
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
  EXPECT_EQ(edit.LineIndex(0), 0);
  CRect rect;
  edit.GetRect(&rect);
  rect.top += 7;
  edit.SetRect(&rect);
  CRect after;
  edit.GetRect(&after);
  EXPECT_EQ(after.top, rect.top);

  // The clipboard commands.
  edit.SetSel(0, 5);
  edit.Copy();
  EXPECT_TRUE(edit.CanPaste(0));
  edit.SetSel(11, 11);
  edit.Paste();
  EXPECT_EQ(Text(edit), L"Howdy worldHowdy");
  edit.SetSel(0, 6);
  edit.Cut();
  EXPECT_EQ(Text(edit), L"worldHowdy");
  edit.SetSel(0, 5);
  edit.Clear();
  EXPECT_EQ(Text(edit), L"Howdy");

  // Read-only and the background colour.
  EXPECT_TRUE(edit.SetReadOnly(TRUE));
  EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
  edit.SetBackgroundColor(FALSE, RGB(200, 201, 202));
  EXPECT_EQ(edit.SetBackgroundColor(TRUE, 0), RGB(200, 201, 202));
}

TEST(RichEditCtrlTest, EightBitRtfStreamsInAndOutWithACyrillicLetter) {
  const std::wstring zhe = L"\x0416";
  CControlHost host;
  CRichEditCtrl edit, copy;
  ASSERT_TRUE(edit.Create(kEditStyle, CControlHost::ChildRect(), &host, 300));
  ASSERT_TRUE(copy.Create(kEditStyle, CControlHost::ChildRect(), &host, 301));

  // 8-bit RTF through the plain stream message, also when the caller asks
  // for a Unicode stream (RTF is never one).
  for (int format : {SF_RTF, SF_RTF | SF_UNICODE}) {
    ByteSource source;
    source.bytes = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\f0 A\\u1046?B\\par}";
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&source), 0, ReadBytes};
    EXPECT_GT(edit.StreamIn(format, es), 0) << format;
    EXPECT_EQ(es.dwError, 0u);
    std::wstring text = Text(edit);
    EXPECT_EQ(text.substr(0, 3), L"A" + zhe + L"B") << format;
  }

  // Out as bytes: 8-bit RTF whatever the caller asked for.
  for (int format : {SF_RTF, SF_RTF | SF_UNICODE}) {
    std::string bytes;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&bytes), 0, WriteBytes};
    EXPECT_GT(edit.StreamOut(format, es), 0);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes.substr(0, 5), "{\\rtf") << format;
  }

  // The text forms: RTF held as 8-bit characters goes back in unchanged.
  std::wstring rtf = edit.StreamOut(SF_RTF);
  ASSERT_EQ(rtf.substr(0, 5), L"{\\rtf");
  for (wchar_t c : rtf) ASSERT_LE(static_cast<unsigned>(c), 0xFFu);
  ASSERT_TRUE(copy.StreamIn(SF_RTF, rtf));
  EXPECT_EQ(Text(copy).substr(0, 3), L"A" + zhe + L"B");

  // A letter above 0xFF written into RTF text, and a Unicode RTF text, are
  // narrowed before they go in.
  ASSERT_TRUE(copy.StreamIn(SF_RTF, L"{\\rtf1\\ansi x" + zhe + L"y}"));
  EXPECT_EQ(Text(copy).substr(0, 3), L"x" + zhe + L"y");
  ASSERT_TRUE(copy.StreamIn(SF_RTF, L"{\\urtf1\\ansi p" + zhe + L"q}"));
  EXPECT_EQ(Text(copy).substr(0, 3), L"p" + zhe + L"q");
  // Plain text stays plain, also through the RTF form.
  ASSERT_TRUE(copy.StreamIn(SF_TEXT, L"{\\b not rtf} " + zhe));
  EXPECT_EQ(Text(copy), L"{\\b not rtf} " + zhe);
  ASSERT_TRUE(copy.StreamIn(SF_RTF, L"plain " + zhe));
  EXPECT_EQ(Text(copy), L"plain " + zhe);
  copy.SetSel(6, 7);
  EXPECT_EQ(copy.StreamOut(SF_TEXT | SFF_SELECTION), zhe);
}

}  // namespace
