#include "history/capture/clipboard_handler.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/logging/log.h"
#include "history/capture/own_copy.h"
#include "history/tests/handler_parent.h"
#include "settings/settings.h"
#include "tests/support/test_support.h"

namespace {

using histtest::kHandlerId;

class HandlerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { histtest::TestLogPath(); }
  static int LogCount(const std::wstring& text) { return histtest::LogCount(text); }
  static void Pump(DWORD ms) { histtest::Pump(ms); }
  static int SetNamedEvent(const wchar_t* name) {
    return qlrtest::RunProcess(qlrtest::BinFile(L"helper_named_object_peer.exe"), std::wstring(L"set ") + name);
  }
  std::vector<std::wstring> HeldTexts() const {
    std::vector<std::wstring> texts;
    for (int i = 0; i < handler.GetItemCount(); ++i)
      texts.push_back(handler.GetItem(i)->Text() ? handler.GetItem(i)->Text() : L"<not text>");
    return texts;
  }

  histtest::HandlerParent parent;
  CQLRWndClipboardHandler handler;
};

using Texts = std::vector<std::wstring>;

TEST_F(HandlerTest, RecordsEachChangeOnceFromTheStartOn) {
  for (int method : {kSpyMethodListener, kSpyMethodViewerChain}) {
    CQLRWndClipboardHandler local;
    ClipboardHandlerOptions options;
    options.spyMethod = method;
    local.SetOptions(options);
    parent.notices.clear();
    std::wstring atStart = L"on the clipboard at start " + std::to_wstring(method);
    ASSERT_TRUE(qlrtest::PutClipboardText(atStart));
    ASSERT_TRUE(local.Create(parent.hwnd, kHandlerId, true)) << method;
    EXPECT_EQ(local.GetState(), method == kSpyMethodListener ? 2 : 3);
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return local.GetItemCount() == 1; }, 10000)) << method;
    Pump(300);
    ASSERT_EQ(local.GetItemCount(), 1) << method;
    EXPECT_STREQ(local.GetItem(0)->Text(), atStart.c_str());
    ASSERT_FALSE(parent.notices.empty());
    EXPECT_EQ(parent.notices[0].first, CHN_HISTORYCHANGED);

    ASSERT_TRUE(qlrtest::PutClipboardText(L"second"));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return local.GetItemCount() == 2; }, 10000)) << method;
    EXPECT_EQ(parent.notices.back(), std::make_pair(CHN_HISTORYCHANGED, kHistoryCaptured));
    // The same text again replaces the older copy.
    ASSERT_TRUE(qlrtest::PutClipboardText(atStart));
    size_t notices = parent.notices.size();
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return parent.notices.size() == notices + 1; }, 10000));
    EXPECT_EQ(local.GetItemCount(), 2);
    EXPECT_STREQ(local.GetItem(0)->Text(), atStart.c_str());
    local.Destroy();
    EXPECT_EQ(local.GetHwnd(), nullptr);
    EXPECT_FALSE(CClipboardSpy::GetInstance().IsInstalled());
  }
}

TEST_F(HandlerTest, OwnCopiesAreNotRecorded) {
  ClipboardHandlerOptions options;
  options.spyMethod = kSpyMethodListener;
  handler.SetOptions(options);
  ASSERT_TRUE(handler.Create(parent.hwnd, kHandlerId, false));
  int skipped = LogCount(L"My copy process detected");
  {
    CBlockClipboardHandler block;
    ASSERT_TRUE(qlrtest::PutClipboardText(L"ours"));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return LogCount(L"My copy process detected") == skipped + 1; }, 10000));
  }
  EXPECT_EQ(handler.GetItemCount(), 0);

  // Another process marks its copy with the two events.
  ASSERT_EQ(SetNamedEvent(L"Local\\Quillora_StartCopy"), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([] { return IsOwnCopyBlocked(); }, 10000));
  ASSERT_TRUE(qlrtest::PutClipboardText(L"the editor's"));
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return LogCount(L"My copy process detected") == skipped + 2; }, 10000));
  ASSERT_EQ(SetNamedEvent(L"Local\\Quillora_EndCopy"), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([] { return !IsOwnCopyBlocked(); }, 10000));
  EXPECT_EQ(handler.GetItemCount(), 0);

  ASSERT_TRUE(qlrtest::PutClipboardText(L"the user's"));
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return handler.GetItemCount() == 1; }, 10000));

  // The delayed unlock never goes below zero.
  RaiseOwnCopyBlock();
  SendMessageW(handler.GetHwnd(), WM_DELAY_UNLOCK, 0, 0);
  SendMessageW(handler.GetHwnd(), WM_DELAY_UNLOCK, 0, 0);
  EXPECT_EQ(GetOwnCopyBlockCount(), 0);
  EXPECT_EQ(LogCount(L"WM_DELAY_UNLOCK received bIsMyCopy=1"), 1);
  EXPECT_EQ(LogCount(L"WM_DELAY_UNLOCK received bIsMyCopy=0"), 1);
}

TEST_F(HandlerTest, LimitClearDeleteAndPutBack) {
  ClipboardHandlerOptions options;
  options.spyMethod = kSpyMethodListener;
  options.historyMax = 2;
  handler.SetOptions(options);
  ASSERT_TRUE(handler.Create(parent.hwnd, kHandlerId, false));
  for (const wchar_t* text : {L"a", L"b", L"c"}) {
    ASSERT_TRUE(qlrtest::PutClipboardText(text));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return handler.GetItemCount() > 0 && HeldTexts()[0] == text; }, 10000));
  }
  EXPECT_EQ(HeldTexts(), (Texts{L"c", L"b"}));

  // Put back is the program's own copy: no new capture of it.
  {
    CBlockClipboardHandler block;
    EXPECT_TRUE(handler.CopyItemToClipboard(1));
    Pump(300);
  }
  EXPECT_EQ(qlrtest::ClipboardText(), L"b");
  EXPECT_FALSE(handler.CopyItemToClipboard(2));
  EXPECT_FALSE(handler.CopyItemToClipboard(-1));

  parent.notices.clear();
  EXPECT_TRUE(handler.DeleteItems({0}, true));
  EXPECT_EQ(HeldTexts(), Texts{L"b"});
  EXPECT_TRUE(handler.ClearHistory());
  EXPECT_TRUE(handler.IsEmpty());
  EXPECT_EQ(parent.notices, (std::vector<std::pair<UINT, int>>{{CHN_HISTORYCHANGED, kHistoryRemoved},
                                                               {CHN_HISTORYCHANGED, kHistoryRemoved}}));
}

TEST_F(HandlerTest, AMethodOutsideTheKnownOnesFailsTheCreation) {
  ClipboardHandlerOptions options;
  options.spyMethod = 7;
  handler.SetOptions(options);
  EXPECT_FALSE(handler.Create(parent.hwnd, kHandlerId, false));
  EXPECT_EQ(handler.GetHwnd(), nullptr);
  EXPECT_NE(handler.GetErrorText().find(L"Error code: "), std::wstring::npos);
  EXPECT_FALSE(CClipboardSpy::GetInstance().IsInstalled());
}

TEST(HandlerOptionsTest, SettingsGiveTheHandlerItsOptions) {
  CQLRSettings settings;
  settings.clipboardSpyMethod = 0;
  settings.clipboardHistoryMax = 44;
  settings.SetSaveClipboardHistory(1);
  int formats[5] = {0, 1, 1, 0, 1};
  for (int i = 0; i < 5; ++i) settings.clipboardFormats[i] = formats[i];
  ClipboardHandlerOptions options = HandlerOptionsFromSettings(settings);
  EXPECT_EQ(options.spyMethod, 0);
  EXPECT_EQ(options.historyMax, 44);
  EXPECT_TRUE(options.saveHistory);
  for (int kind : {kHistoryKindUnicode, kHistoryKindRtf, kHistoryKindBitmap, kHistoryKindBrindle, kHistoryKindHtml})
    EXPECT_EQ(options.kinds.Allows(kind), kind != kHistoryKindUnicode && kind != kHistoryKindBrindle) << kind;
  settings.clipboardSpyMethod = -1;
  EXPECT_NE(HandlerOptionsFromSettings(settings).spyMethod, -1);  // resolved
}

}  // namespace
