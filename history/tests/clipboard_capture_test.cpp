#include "history/capture/clipboard_capture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/system/handles.h"
#include "history/capture/own_copy.h"
#include "history/tests/history_test_util.h"

using namespace histtest;

namespace {

UINT Rtf() { return RegisterClipboardFormatW(L"Rich Text Format"); }
UINT Html() { return RegisterClipboardFormatW(L"HTML Format"); }
UINT Brindle() { return RegisterClipboardFormatW(L"Brindle Format"); }

// One clipboard format as the test puts it: bytes, or a bitmap.
struct Put {
  UINT format;
  std::string bytes;
  HBITMAP bitmap = nullptr;
};

std::string Wide(const std::wstring& text, bool terminator = true) {
  return std::string(reinterpret_cast<const char*>(text.c_str()),
                     (text.size() + (terminator ? 1 : 0)) * sizeof(wchar_t));
}
std::string Narrow(const char* text) { return std::string(text, strlen(text) + 1); }

bool PutOnClipboard(const std::vector<Put>& formats) {
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return false;
  EmptyClipboard();
  bool ok = true;
  for (const Put& p : formats) {
    HANDLE data = p.bitmap;
    if (!data) {
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, p.bytes.size());
      memcpy(GlobalLock(block), p.bytes.data(), p.bytes.size());
      GlobalUnlock(block);
      data = block;
    }
    ok = SetClipboardData(p.format, data) != nullptr && ok;
  }
  CloseClipboard();
  return ok;
}

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = CreateWindowExW(0, L"STATIC", L"capture owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override { DestroyWindow(owner); }
  std::unique_ptr<CCHItem> Capture(const std::vector<Put>& formats, const CaptureKinds& kinds) {
    EXPECT_TRUE(PutOnClipboard(formats));
    return CaptureClipboardItem(owner, kinds);
  }
  static std::vector<int> AlternateKinds(const CCHItem& item) {
    std::vector<int> kinds;
    for (const auto& a : item.alternates) kinds.push_back(a->kind);
    return kinds;
  }
  HWND owner = nullptr;
};

const char kHtml[] =
    "Version:0.9\r\nStartHTML:0000000105\r\nSourceURL:https://example.com/page?q=1\r\n<html>x</html>";

TEST_F(CaptureTest, FormatsAreTakenInTheirOrderWithAlternates) {
  CaptureKinds all, noRtf, noHtml, noBitmap;
  all.on[2] = true;
  noRtf.on[1] = false;
  noRtf.on[2] = true;
  noHtml.on[4] = false;
  struct Case {
    const char* what;
    std::vector<Put> formats;
    CaptureKinds kinds;
    int kind;
    std::vector<int> alternates;
    std::wstring url;
  } cases[] = {
      {"browser copy", {{CF_UNICODETEXT, Wide(L"text")}, {Rtf(), Narrow("{\\rtf1 t}")}, {Html(), Narrow(kHtml)}},
       all, kHistoryKindRtf, {kHistoryKindHtml}, L"https://example.com/page?q=1"},
      {"HTML switched off", {{CF_UNICODETEXT, Wide(L"text")}, {Rtf(), Narrow("{\\rtf1 t}")}, {Html(), Narrow(kHtml)}},
       noHtml, kHistoryKindRtf, {}, L"https://example.com/page?q=1"},
      {"RTF switched off", {{CF_UNICODETEXT, Wide(L"text")}, {Rtf(), Narrow("{\\rtf1 t}")}, {Html(), Narrow(kHtml)}},
       noRtf, kHistoryKindUnicode, {kHistoryKindRtf, kHistoryKindHtml}, L"https://example.com/page?q=1"},
      {"bitmap and text", {{CF_BITMAP, "", MakeBitmap(4, 4, RGB(1, 2, 3), RGB(4, 5, 6))},
                           {CF_UNICODETEXT, Wide(L"text")}, {Rtf(), Narrow("{\\rtf1 t}")}},
       all, kHistoryKindBitmap, {kHistoryKindRtf}, L""},
      {"bitmap switched off", {{CF_BITMAP, "", MakeBitmap(4, 4, RGB(1, 2, 3), RGB(4, 5, 6))},
                               {CF_UNICODETEXT, Wide(L"text")}},
       noBitmap, kHistoryKindUnicode, {}, L""},
      {"Brindle document", {{Brindle(), std::string("\x01\x00\x02", 3)}, {CF_UNICODETEXT, Wide(L"text")}},
       all, kHistoryKindBrindle, {}, L""},
  };
  for (Case& c : cases) {
    auto item = Capture(c.formats, c.kinds);
    ASSERT_NE(item, nullptr) << c.what;
    EXPECT_EQ(item->kind, c.kind) << c.what;
    EXPECT_EQ(AlternateKinds(*item), c.alternates) << c.what;
    EXPECT_EQ(item->sourceUrl, c.url) << c.what;
  }
}

TEST_F(CaptureTest, TextsAreBoundedByTheirHandles) {
  CaptureKinds kinds;
  // CF_TEXT alone: widened, and its locale kept.
  LCID german = 0x0407;
  auto ansi = Capture({{CF_TEXT, Narrow("plain ansi")}, {CF_LOCALE, std::string(reinterpret_cast<char*>(&german), 4)}},
                      kinds);
  ASSERT_NE(ansi, nullptr);
  EXPECT_EQ(ansi->kind, kHistoryKindUnicode);
  EXPECT_STREQ(ansi->Text(), L"plain ansi");
  EXPECT_EQ(ansi->locale, german);

  // Without a terminator the text ends with its handle (the system may
  // already have put one into the last character).
  auto open = Capture({{CF_UNICODETEXT, Wide(L"no end", false)}}, kinds);
  ASSERT_NE(open, nullptr);
  std::wstring held;
  {
    ClipboardLock clipboard(owner, 20);
    HGLOBAL data = GetClipboardData(CF_UNICODETEXT);
    GlobalLockScope<wchar_t> lock(data);
    size_t chars = GlobalSize(data) / sizeof(wchar_t);
    held.assign(lock.Get(), wcsnlen(lock.Get(), chars));
  }
  EXPECT_TRUE(held == L"no end" || held == L"no en") << held;
  EXPECT_EQ(open->Text(), held);
  EXPECT_EQ(open->Size(), (held.size() + 1) * sizeof(wchar_t));
  auto unicode = Capture({{CF_UNICODETEXT, Wide(L"wide")}}, kinds);
  ASSERT_NE(unicode, nullptr);
  EXPECT_EQ(unicode->locale, 0u);

  EXPECT_EQ(Capture({{CF_UNICODETEXT, Wide(L"")}}, kinds), nullptr);
  CaptureKinds noText;
  noText.on[0] = false;
  EXPECT_EQ(Capture({{CF_UNICODETEXT, Wide(L"off")}}, noText), nullptr);
}

TEST(SourceUrlTest, UrlNeedsItsLineEnd) {
  struct Case {
    std::string html;
    std::wstring url;
  } cases[] = {
      {"SourceURL:http://a/b\r\nrest", L"http://a/b"},
      {"x\nSourceURL:http://a/\xc3\xa4\nrest", L"http://a/\u00e4"},
      {"SourceURL: spaced \rrest", L" spaced "},
      {"SourceURL:http://no/line/end", L""},
      {"no url here\r\n", L""},
      {"SourceURL:\xff\xfe\r\n", L"\ufffd\ufffd"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetHtmlSourceURL(c.html.data(), c.html.size()), c.url) << c.html;
  EXPECT_EQ(GetHtmlSourceURL(nullptr, 0), L"");
}

TEST_F(CaptureTest, EveryKindGoesBackInItsOwnFormat) {
  CaptureKinds kinds;
  kinds.on[2] = true;
  std::vector<std::unique_ptr<CCHItem>> items;
  items.push_back(MakeText(L"back again"));
  items.push_back(MakeBytes(kHistoryKindRtf, "{\\rtf1 back}", true));
  items.push_back(MakeBitmapItem(5, 3, RGB(9, 8, 7), RGB(1, 1, 1)));
  items.push_back(MakeBytes(kHistoryKindBrindle, std::string("\x05\x00\x06", 3), false));
  for (const auto& item : items) {
    ASSERT_TRUE(PutHistoryItemOnClipboard(*item)) << item->kind;
    auto back = CaptureClipboardItem(owner, kinds);
    ASSERT_NE(back, nullptr) << item->kind;
    EXPECT_EQ(back->kind, item->kind);
    if (item->kind == kHistoryKindBrindle) {
      ASSERT_EQ(back->Size(), item->Size());
      EXPECT_EQ(memcmp(back->Data(), item->Data(), item->Size()), 0);
    } else {
      EXPECT_TRUE(IsSameContent(*back, *item)) << item->kind;
    }
  }
  auto html = MakeBytes(kHistoryKindHtml, kHtml, true);
  ASSERT_TRUE(PutHistoryItemOnClipboard(*html));
  std::string bytes;
  {
    ClipboardLock clipboard(owner, 20);
    HGLOBAL data = GetClipboardData(Html());
    ASSERT_NE(data, nullptr);
    bytes = static_cast<const char*>(GlobalLockScope<char>(data).Get());
  }
  EXPECT_EQ(bytes, kHtml);
  CCHItem empty(kHistoryKindBitmap);
  EXPECT_FALSE(PutHistoryItemOnClipboard(empty));
}

TEST(OwnCopyTest, BlocksAndCopyEventsNeverDriveTheCountBelowZero) {
  ResetOwnCopy();
  EXPECT_FALSE(IsOwnCopyBlocked());
  {
    CBlockClipboardHandler outer;
    CBlockClipboardHandler inner;
    EXPECT_EQ(GetOwnCopyBlockCount(), 2);
    SetOwnCopyFromEvent(1);
    SetOwnCopyFromEvent(0);  // another program's copy ended; ours still run
    EXPECT_TRUE(IsOwnCopyBlocked());
  }
  EXPECT_EQ(GetOwnCopyBlockCount(), 0);
  EXPECT_FALSE(IsOwnCopyBlocked());
  EXPECT_FALSE(LowerOwnCopyBlock());
  EXPECT_EQ(GetOwnCopyBlockCount(), 0);
  SetOwnCopyFromEvent(1);
  EXPECT_TRUE(IsOwnCopyBlocked());
  SetOwnCopyFromEvent(0);
  SetOwnCopyFromEvent(0);
  EXPECT_FALSE(IsOwnCopyBlocked());
}

}  // namespace
