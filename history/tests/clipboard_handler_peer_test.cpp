// The handler window recording what other processes put on the clipboard:
// the formats a second program writes, the kind switches, the program's own
// delayed block, and the time a large capture takes on the UI thread.
#include "history/capture/clipboard_handler.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/logging/log.h"
#include "history/capture/own_copy.h"
#include "history/tests/handler_parent.h"
#include "history/tests/history_test_util.h"
#include "tests/support/test_support.h"

namespace {

using histtest::kHandlerId;

int WriteFromPeer(const std::wstring& args) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"), args, 30000);
}

class PeerCaptureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { histtest::TestLogPath(); }
  void Start(const CaptureKinds& kinds, int historyMax = 30) {
    ClipboardHandlerOptions options;
    options.spyMethod = kSpyMethodListener;
    options.kinds = kinds;
    options.historyMax = historyMax;
    handler.SetOptions(options);
    ASSERT_TRUE(handler.Create(parent.hwnd, kHandlerId, false));
  }
  // Waits for the next capture after a peer wrote the clipboard.
  const CCHItem* Captured(const std::wstring& args) {
    size_t notices = parent.notices.size();
    EXPECT_EQ(WriteFromPeer(args), 0) << qlrtest::ToUtf8(args);
    if (!qlrtest::PumpUntil([&] { return parent.notices.size() > notices; }, 15000)) return nullptr;
    return handler.GetItem(0);
  }
  static std::vector<int> AlternateKinds(const CCHItem& item) {
    std::vector<int> kinds;
    for (const auto& a : item.alternates) kinds.push_back(a->kind);
    return kinds;
  }

  histtest::HistoryFolder folder;
  histtest::HandlerParent parent;
  CQLRWndClipboardHandler handler;
};

TEST_F(PeerCaptureTest, WhatAnotherProgramCopiesIsRecordedInItsKind) {
  CaptureKinds defaults, noRtf, bitmaps;
  noRtf.on[1] = false;
  bitmaps.on[2] = true;
  struct Case {
    const char* what;
    CaptureKinds kinds;
    std::wstring args;
    int kind;
    std::vector<int> alternates;
    std::wstring url;
    std::wstring text;  // of the item or of its Unicode view; empty: not checked
    LCID locale;
  } cases[] = {
      {"rich copy with a source", defaults, L"rich \"Rich peer\" https://example.org/a?b=1", kHistoryKindRtf,
       {kHistoryKindHtml}, L"https://example.org/a?b=1", L"", 0},
      {"RTF switched off", noRtf, L"rich \"Rich peer 2\" https://example.org/c", kHistoryKindUnicode,
       {kHistoryKindRtf, kHistoryKindHtml}, L"https://example.org/c", L"Rich peer 2", 0},
      {"CF_TEXT with its locale", defaults, L"ansi \"plain ansi peer\" 0x0407", kHistoryKindUnicode, {}, L"",
       L"plain ansi peer", 0x0407},
      {"CF_TEXT without its end", defaults, L"unterminated \"open ended\"", kHistoryKindUnicode, {}, L"", L"", 0},
      // The default switches leave bitmaps out: the text beside it is taken.
      {"bitmap switched off", defaults, L"bitmap 8 6 \"beside a picture\"", kHistoryKindUnicode, {}, L"",
       L"beside a picture", 0},
      {"bitmap switched on", bitmaps, L"bitmap 8 6 \"beside a picture 2\"", kHistoryKindBitmap, {}, L"", L"", 0},
  };
  for (Case& c : cases) {
    handler.Destroy();
    Start(c.kinds);
    const CCHItem* item = Captured(c.args);
    ASSERT_NE(item, nullptr) << c.what;
    EXPECT_EQ(item->kind, c.kind) << c.what;
    EXPECT_EQ(AlternateKinds(*item), c.alternates) << c.what;
    EXPECT_EQ(item->sourceUrl, c.url) << c.what;
    if (!c.text.empty()) {
      ASSERT_NE(item->Text(), nullptr) << c.what;
      EXPECT_EQ(std::wstring(item->Text()), c.text) << c.what;
    }
    if (c.kind == kHistoryKindUnicode && item->Text()) {
      // Never past the data: the terminator lies inside the buffer.
      size_t chars = item->Size() / sizeof(wchar_t);
      EXPECT_LT(wcsnlen(item->Text(), chars), chars) << c.what;
    }
    if (c.locale) {
      EXPECT_EQ(item->locale, c.locale) << c.what;
    }
    if (c.kind == kHistoryKindBitmap) {
      BITMAP bm = {};
      ASSERT_TRUE(GetObjectW(item->Bitmap(), sizeof(bm), &bm)) << c.what;
      EXPECT_EQ(bm.bmWidth, 8);
      EXPECT_EQ(bm.bmHeight, 6);
    }
  }
}

TEST_F(PeerCaptureTest, RepeatsReplaceAndTheLimitDeletesTheOldestFiles) {
  CaptureKinds kinds;
  ClipboardHandlerOptions options;
  options.spyMethod = kSpyMethodListener;
  options.historyMax = 2;
  options.saveHistory = true;
  handler.SetOptions(options);
  ASSERT_TRUE(handler.Create(parent.hwnd, kHandlerId, false));
  for (const wchar_t* text : {L"first peer", L"second peer", L"first peer"}) {
    ASSERT_NE(Captured(std::wstring(L"text \"") + text + L"\""), nullptr) << qlrtest::ToUtf8(text);
  }
  ASSERT_EQ(handler.GetItemCount(), 2);
  EXPECT_STREQ(handler.GetItem(0)->Text(), L"first peer");
  // Saved in the background: both descriptors on disk.
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return handler.GetItem(0)->storedState == kStoredSaved &&
                                              handler.GetItem(1)->storedState == kStoredSaved; }, 15000));
  ASSERT_NE(GetFileAttributesW(handler.GetItem(1)->descriptorPath.c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_NE(Captured(L"text \"third peer\""), nullptr);
  EXPECT_EQ(handler.GetItemCount(), 2);
  EXPECT_STREQ(handler.GetItem(1)->Text(), L"first peer");
  // The trimmed item's names are free again and a later save may take them:
  // once the saves are done, two items are stored and no file of the folder
  // holds the trimmed text.
  const std::wstring trimmed = L"second peer";
  const std::string trimmedBytes(reinterpret_cast<const char*>(trimmed.c_str()), trimmed.size() * sizeof(wchar_t));
  std::string problem;
  auto storedAsHeld = [&] {
    problem.clear();
    int descriptors = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW(folder.File(L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
      const std::wstring name = found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (name.size() > 5 && name.compare(name.size() - 5, 5, L".info") == 0) ++descriptors;
      if (qlrtest::ReadBytes(folder.File(name)).find(trimmedBytes) != std::string::npos)
        problem += qlrtest::ToUtf8(name) + " holds the trimmed text; ";
    } while (FindNextFileW(find, &found));
    FindClose(find);
    if (descriptors != 2) problem += std::to_string(descriptors) + " descriptors";
    return problem.empty() && handler.GetItem(0)->storedState == kStoredSaved;
  };
  EXPECT_TRUE(qlrtest::PumpUntil(storedAsHeld, 15000)) << problem;
}

TEST_F(PeerCaptureTest, TheDelayedBlockSkipsTheNextCopiesOnlyForItsTime) {
  Start(CaptureKinds());
  int skipped = histtest::LogCount(L"My copy process detected");
  ASSERT_TRUE(handler.StartAsyncBlock());
  EXPECT_EQ(GetOwnCopyBlockCount(), 1);
  ASSERT_EQ(WriteFromPeer(L"text \"during the block\""), 0);
  EXPECT_TRUE(qlrtest::PumpUntil(
      [&] { return histtest::LogCount(L"My copy process detected") == skipped + 1; }, 15000));
  EXPECT_EQ(handler.GetItemCount(), 0);
  // The block lowers itself after its three seconds.
  EXPECT_TRUE(qlrtest::PumpUntil([] { return GetOwnCopyBlockCount() == 0; }, 15000));
  // The block's thread writes its line after it posted the unlock.
  EXPECT_TRUE(qlrtest::PumpUntil(
      [] { return histtest::LogCount(L"__AsynBlockClipboardHandler_Proc wait complete: timeout=") >= 1; }, 5000));
  ASSERT_NE(Captured(L"text \"after the block\""), nullptr);
  EXPECT_STREQ(handler.GetItem(0)->Text(), L"after the block");
}

TEST_F(PeerCaptureTest, TextsReloadedEventClearsTheTooltipCaches) {
  Start(CaptureKinds());
  ASSERT_NE(Captured(L"text \"with a tip\""), nullptr);
  handler.GetItem(0)->tipText = L"cached tip";
  NotifyAppEventListeners(nullptr, 1, 0);
  EXPECT_EQ(handler.GetItem(0)->tipText, L"cached tip");
  NotifyAppEventListeners(nullptr, 0, 0);
  EXPECT_EQ(handler.GetItem(0)->tipText, L"");
}

TEST_F(PeerCaptureTest, AMegabyteTextIsCapturedQuicklyIntoAFullHistory) {
  Start(CaptureKinds());
  for (int i = 0; i < 30; ++i)
    handler.Queue().Add(histtest::MakeText(L"filler item " + std::to_wstring(i)).release(), 30);
  // 512 Ki characters of UTF-16: one megabyte.
  ASSERT_EQ(WriteFromPeer(L"big 524288"), 0);
  // The capture itself, timed on this (the window's) thread.
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  size_t notices = parent.notices.size();
  QueryPerformanceCounter(&before);
  handler.OnClipboardChanged(ClipboardChangeInfo(), 0);
  QueryPerformanceCounter(&after);
  double ms = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
  printf("capture of a 1 MB text into a 30-item history: %.2f ms on the UI thread\n", ms);
  ASSERT_GT(parent.notices.size(), notices);
  EXPECT_EQ(handler.GetItemCount(), 30);
  EXPECT_EQ(handler.GetItem(0)->Size(), 524289u * sizeof(wchar_t));
  // Loose: the machine is shared.
  EXPECT_LT(ms, 500.0);
}

}  // namespace
