// Clipboard texts as other programs leave them: without a terminator, of
// odd size, tiny or empty.
#include "editor/services/clipboard_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

// Puts size bytes as CF_UNICODETEXT, exactly as given (no terminator added).
bool PutRawUnicode(const void* bytes, size_t size) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  bool ok = false;
  if (block) {
    if (void* p = GlobalLock(block)) {
      std::memcpy(p, bytes, size);
      GlobalUnlock(block);
      ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
    if (!ok) GlobalFree(block);
  }
  CloseClipboard();
  return ok;
}

std::wstring CopiedText() {
  wchar_t* copy = CopyClipboardUnicodeText();
  if (!copy) return L"<null>";
  std::wstring text = copy;
  VirtualFree(copy, 0, MEM_RELEASE);
  return text;
}

// The characters of the block as the clipboard hands it out, counted by
// hand up to its size. (Wine terminates a text block in its last
// character; Windows hands the bytes out as they were put.)
std::wstring HandedOutText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<closed>";
  HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
  if (const wchar_t* p = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr) {
    for (SIZE_T i = 0; i < GlobalSize(block) / sizeof(wchar_t) && p[i]; ++i) text += p[i];
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

TEST(ClipboardTextTest, BlocksWithoutTerminatorAreReadToTheirSize) {
  const wchar_t abc[] = {L'a', L'b', L'c'};
  ASSERT_TRUE(PutRawUnicode(abc, sizeof abc));
  const std::wstring handedOut = HandedOutText();
  ASSERT_GE(handedOut.size(), 2u);
  EXPECT_EQ(std::wstring(L"abc").rfind(handedOut, 0), 0u);
  EXPECT_EQ(CopiedText(), handedOut);
  std::wstring text;
  EXPECT_TRUE(GetClipboardText(text));
  EXPECT_EQ(text, handedOut);

  // Odd size: the half character at the end is dropped.
  const char odd[] = {'x', 0, 'y', 0, 'z'};
  ASSERT_TRUE(PutRawUnicode(odd, sizeof odd));
  EXPECT_EQ(CopiedText(), L"xy");
  EXPECT_TRUE(GetClipboardText(text));
  EXPECT_EQ(text, L"xy");

  // A single byte holds no character.
  ASSERT_TRUE(PutRawUnicode("q", 1));
  EXPECT_EQ(CopiedText(), L"");
  EXPECT_FALSE(GetClipboardText(text));
  EXPECT_EQ(text, L"");

  // The first zero character ends the text.
  const wchar_t inner[] = {L'o', L'k', 0, L'n', L'o'};
  ASSERT_TRUE(PutRawUnicode(inner, sizeof inner));
  EXPECT_EQ(CopiedText(), L"ok");
}

TEST(ClipboardTextTest, NoTextGivesNothing) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(CopyClipboardUnicodeText(), nullptr);
  std::wstring text = L"old";
  EXPECT_FALSE(GetClipboardText(text));
  EXPECT_EQ(text, L"");
  EXPECT_EQ(GetClipboardDataHandle(CF_UNICODETEXT), nullptr);

  ASSERT_TRUE(qlrtest::PutClipboardText(L"plain text"));
  EXPECT_NE(GetClipboardDataHandle(CF_UNICODETEXT), nullptr);
  EXPECT_EQ(CopiedText(), L"plain text");
  // The clipboard is closed again after each read.
  ASSERT_TRUE(OpenClipboard(nullptr));
  CloseClipboard();
}

}  // namespace
