// The clipboard history in the phrase menu of the real Quillora.exe: what
// another program copied stands, after a restart, under the phrases, and
// choosing an entry inserts it into the target and leaves it on the
// clipboard in the formats it was copied with.
#include <gtest/gtest.h>
#include <windows.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "tests/e2e/hotkey_session.h"

namespace {

using qlre2e::HotkeySession;
using qlre2e::kWaitMs;

constexpr wchar_t kPhraseText[] = L"The phrase";
constexpr wchar_t kOlder[] = L"older entry";
constexpr wchar_t kNewer[] = L"newer entry";
constexpr char kBoldRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  plain\\par}";
constexpr wchar_t kBoldPlain[] = L"Bold plain";

int CopyFromPeer(const std::wstring& args) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"), args, kWaitMs);
}

bool OpenClipboardWithRetry() {
  return qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000, 10);
}

bool EmptyTheClipboard() {
  if (!OpenClipboardWithRetry()) return false;
  EmptyClipboard();
  CloseClipboard();
  return true;
}

// The clipboard's Unicode text and its "Rich Text Format" bytes up to their
// terminator ("-" when absent).
std::pair<std::wstring, std::string> ReadClipboard() {
  std::pair<std::wstring, std::string> out(L"-", "-");
  if (!OpenClipboardWithRetry()) return out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) out.first.assign(p, wcsnlen(p, GlobalSize(h) / 2));
    GlobalUnlock(h);
  }
  if (HANDLE h = GetClipboardData(RegisterClipboardFormatW(L"Rich Text Format"))) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) out.second.assign(p, strnlen(p, GlobalSize(h)));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

class HistoryMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
    ASSERT_TRUE(session.Prepared());
    ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"Phrase.quillora"), L"Phrase", kPhraseText, 1));
    session.SetSetting(L"ClipboardHistory", L"1");
    session.SetSetting(L"SaveClipboardHistory_v198", L"1");
    ASSERT_TRUE(EmptyTheClipboard());
  }
  void TearDown() override {
    if (!IsSkipped()) {
      EXPECT_EQ(session.Stop(), 0) << "Quillora.exe ends with 0 after /exit";
    }
  }
  // The copies are made while Quillora.exe runs without a target, and saved;
  // it starts again with the target in front and the history loaded.
  void CopyAndRestart(const std::vector<std::wstring>& copies, size_t itemsAfterLoad,
                      const std::wstring& targetKind) {
    ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
    for (size_t i = 0; i < copies.size(); ++i) {
      const size_t before = session.CountInLog(L"Event OnClipboardHistoryChanged, Count=");
      ASSERT_EQ(CopyFromPeer(copies[i]), 0);
      ASSERT_TRUE(qlrtest::WaitUntil(
          [&] { return session.CountInLog(L"Event OnClipboardHistoryChanged, Count=") > before; }, kWaitMs))
          << qlrtest::ToUtf8(session.LogText());
    }
    ASSERT_EQ(session.Stop(), 0);
    // The next start is awaited by its own log lines.
    ASSERT_TRUE(DeleteFileW(session.File(L"LogReport.txt").c_str()));
    ASSERT_TRUE(session.StartTarget(targetKind)) << "the target did not come to the front";
    ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
    ASSERT_TRUE(session.WaitForLog(L"Event OnClipboardHistoryLoaded, Count=" + std::to_wstring(itemsAfterLoad)))
        << qlrtest::ToUtf8(session.LogText());
  }
  // Opens the phrase menu in the target and picks its item number n (1 =
  // the first item) by keys; separators are skipped by the menu.
  void Choose(int n) {
    ASSERT_TRUE(session.BringTargetForward());
    const size_t ends = session.CountInLog(L"CQLRTrayWnd::OnWmCommandFromSelf");
    ASSERT_TRUE(qlre2e::PressDefaultHotkey());
    ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
    for (int i = 0; i < n; ++i) ASSERT_TRUE(qlre2e::PressKey(VK_DOWN));
    ASSERT_TRUE(qlre2e::PressKey(VK_RETURN));
    ASSERT_TRUE(session.WaitForMenuGone());
    ASSERT_TRUE(qlrtest::WaitUntil(
        [&] { return session.CountInLog(L"CQLRTrayWnd::OnWmCommandFromSelf") > ends; }, kWaitMs, 20));
  }

  HotkeySession session;
};

TEST_F(HistoryMenuTest, EntriesFromBeforeTheRestartStandUnderThePhrasesAndAreInserted) {
  ASSERT_NO_FATAL_FAILURE(
      CopyAndRestart({L"text \"" + std::wstring(kOlder) + L"\"", L"text \"" + std::wstring(kNewer) + L"\""}, 2,
                     L"edit"));
  // The phrase, then the newest entry, then the older one.
  ASSERT_NO_FATAL_FAILURE(Choose(2));
  EXPECT_TRUE(session.WaitForTargetText(kNewer)) << qlrtest::ToUtf8(session.TargetText());
  session.ClearTarget();
  ASSERT_NO_FATAL_FAILURE(Choose(3));
  EXPECT_TRUE(session.WaitForTargetText(kOlder)) << qlrtest::ToUtf8(session.TargetText());
  // The chosen entry is what the clipboard holds now; putting it there
  // recorded nothing new, so the order of the entries stands.
  EXPECT_TRUE(qlrtest::WaitUntil([] { return ReadClipboard().first == kOlder; }, 5000, 20))
      << qlrtest::ToUtf8(ReadClipboard().first);
  session.ClearTarget();
  ASSERT_NO_FATAL_FAILURE(Choose(3));
  EXPECT_TRUE(session.WaitForTargetText(kOlder)) << qlrtest::ToUtf8(session.TargetText());
  // The phrase stands first; its use is counted, the entries' are not.
  session.ClearTarget();
  ASSERT_NO_FATAL_FAILURE(Choose(1));
  EXPECT_TRUE(session.WaitForTargetText(kPhraseText)) << qlrtest::ToUtf8(session.TargetText());
  const std::wstring phrase = session.PhraseFile(L"Phrase.quillora");
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return qlre2e::PhraseAttribute(phrase, "UsageCount") == "1"; }, 5000, 20));
}

TEST_F(HistoryMenuTest, ARichEntryIsInsertedAsRtfAndStaysOnTheClipboard) {
  ASSERT_NO_FATAL_FAILURE(CopyAndRestart(
      {L"rtf \"" + std::wstring(kBoldRtf, kBoldRtf + strlen(kBoldRtf)) + L"\" \"" + kBoldPlain + L"\""}, 1,
      L"rich"));
  ASSERT_TRUE(EmptyTheClipboard());
  ASSERT_NO_FATAL_FAILURE(Choose(2));
  std::wstring text;
  EXPECT_TRUE(qlrtest::WaitUntil([&] {
    text = session.TargetText();
    return text.rfind(kBoldPlain, 0) == 0;
  }, kWaitMs, 20)) << qlrtest::ToUtf8(text);
  // The formatting came along: "Bold" is bold, "plain" is not.
  auto effects = [&](int index) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(session.TargetWindow(), WM_APP + 1, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 2000,
                        &result);
    return static_cast<DWORD>(result);
  };
  EXPECT_TRUE(effects(0) & CFE_BOLD);
  EXPECT_FALSE(effects(6) & CFE_BOLD);
  // The entry's own RTF and its plain text are on the clipboard.
  std::pair<std::wstring, std::string> clip;
  EXPECT_TRUE(qlrtest::WaitUntil([&] {
    clip = ReadClipboard();
    return clip.second == kBoldRtf;
  }, 5000, 20)) << clip.second;
  EXPECT_EQ(clip.first.rfind(kBoldPlain, 0), 0u) << qlrtest::ToUtf8(clip.first);
}

}  // namespace
