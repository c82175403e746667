// The hotkey road of the real Quillora.exe with the real core library: a
// key press in another program opens the phrase menu, the chosen phrase
// arrives in that program, its usage is counted, and the user's clipboard
// survives a cancelled menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "tests/e2e/editor_session.h"
#include "tests/e2e/hotkey_session.h"

namespace {

using qlre2e::HotkeySession;
using qlre2e::kWaitMs;
using qlre2e::SendCommandBlock;

constexpr wchar_t kFirstText[] = L"Hello from the hotkey";
constexpr wchar_t kSecondText[] = L"Second phrase";
constexpr wchar_t kInsideText[] = L"Kept in its folder";
// Written once the request has put the user's clipboard back (or found
// nothing to put back).
constexpr wchar_t kRestoredLine[] = L"RestoreClipboard: ";
constexpr int kPromptEditId = 1013;

bool OpenClipboardWithRetry() {
  return qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, kWaitMs, 10);
}

UINT TestFormat() { return RegisterClipboardFormatW(L"Quillora E2E Private Format"); }

bool PutOnClipboard(const std::wstring& text, const std::string& privateBytes) {
  if (!OpenClipboardWithRetry()) return false;
  EmptyClipboard();
  auto put = [](UINT format, const void* data, size_t size) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) return false;
    memcpy(GlobalLock(mem), data, size);
    GlobalUnlock(mem);
    if (SetClipboardData(format, mem)) return true;
    GlobalFree(mem);
    return false;
  };
  bool ok = put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (!privateBytes.empty()) ok = ok && put(TestFormat(), privateBytes.data(), privateBytes.size());
  CloseClipboard();
  return ok;
}

// The clipboard's text and the bytes of the private format ("-" when absent).
std::pair<std::wstring, std::string> ReadClipboard() {
  std::pair<std::wstring, std::string> out(L"-", "-");
  if (!OpenClipboardWithRetry()) return out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) out.first = p;
    GlobalUnlock(h);
  }
  if (HANDLE h = GetClipboardData(TestFormat())) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) out.second.assign(p, GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

ULONGLONG NowUtcSeconds() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return ((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000ull;
}

// "year|month|day|hour|minute|second" as seconds, 0 when unreadable.
ULONGLONG DateUsageSeconds(const std::string& text) {
  SYSTEMTIME st = {};
  int v[6] = {};
  if (sscanf(text.c_str(), "%d|%d|%d|%d|%d|%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) != 6) return 0;
  st.wYear = static_cast<WORD>(v[0]);
  st.wMonth = static_cast<WORD>(v[1]);
  st.wDay = static_cast<WORD>(v[2]);
  st.wHour = static_cast<WORD>(v[3]);
  st.wMinute = static_cast<WORD>(v[4]);
  st.wSecond = static_cast<WORD>(v[5]);
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft)) return 0;
  return ((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000ull;
}

class HotkeyRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
    ASSERT_TRUE(session.Prepared());
    ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"First.quillora"), L"First", kFirstText, 1));
    ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"Second.quillora"), L"Second", kSecondText, 2));
  }
  void TearDown() override {
    if (!IsSkipped()) {
      EXPECT_EQ(session.Stop(), 0) << "Quillora.exe ends with 0 after /exit";
      // The end lets the session notification go without an error.
      const std::wstring log = session.LogText();
      if (log.find(L"WTS_Notify successfully installed") != std::wstring::npos)
        EXPECT_NE(log.find(L"WTS_Notify successfully uninstalled"), std::wstring::npos) << qlrtest::ToUtf8(log);
      EXPECT_EQ(log.find(L"ERROR: WTS_Notify"), std::wstring::npos) << qlrtest::ToUtf8(log);
    }
  }
  void Start() {
    ASSERT_TRUE(session.StartTarget()) << "the target did not come to the front";
    ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
    ASSERT_TRUE(session.BringTargetForward());
  }
  // Presses the hotkey in the target and waits for the phrase menu.
  void OpenMenu() {
    ASSERT_TRUE(session.BringTargetForward());
    ASSERT_TRUE(qlre2e::PressDefaultHotkey());
    ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
  }
  // Picks the first phrase of the menu by keys.
  void ChooseFirst() {
    ASSERT_TRUE(qlre2e::PressKey(VK_DOWN));
    ASSERT_TRUE(qlre2e::PressKey(VK_RETURN));
    ASSERT_TRUE(session.WaitForMenuGone());
  }
  // The phrase file counted one use, at a moment between from and now.
  void ExpectUsedOnce(const std::wstring& file, ULONGLONG from) {
    const std::wstring path = session.PhraseFile(file);
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return qlre2e::PhraseAttribute(path, "UsageCount") == "1"; },
                                   kWaitMs, 20))
        << qlrtest::ReadBytes(path);
    ULONGLONG used = DateUsageSeconds(qlre2e::PhraseAttribute(path, "DateUsage"));
    EXPECT_GE(used + 1, from) << qlrtest::ReadBytes(path);
    EXPECT_LE(used, NowUtcSeconds() + 1) << "the date is UTC";
  }

  HotkeySession session;
};

class HotkeyRoadByQueryTest : public HotkeyRoadTest, public ::testing::WithParamInterface<bool> {
 protected:
  // The tray fills the query itself when the switch file lies beside it.
  void StartOnRoad() {
    if (GetParam()) {
      ASSERT_TRUE(qlrtest::WriteBytes(session.File(L"SelfFillQuery_Test.SelfFillQuery_Test"), "1"));
    }
    ASSERT_NO_FATAL_FAILURE(Start());
  }
};

// The library asks the target for its state, or the tray fills the query
// itself (the road of a 32-bit tray on 64-bit Windows): both end the same way.
TEST_P(HotkeyRoadByQueryTest, MenuOpensAndTheChosenPhraseIsTyped) {
  const bool selfFill = GetParam();
  ASSERT_TRUE(PutOnClipboard(L"user text", ""));
  ASSERT_NO_FATAL_FAILURE(StartOnRoad());
  ULONGLONG from = NowUtcSeconds();
  ASSERT_NO_FATAL_FAILURE(OpenMenu());
  DWORD menuPid = 0;
  GetWindowThreadProcessId(session.PhraseMenu(), &menuPid);
  EXPECT_EQ(menuPid, session.QuilloraPid());
  // Log lines are written by a thread of their own: the menu can be up first.
  EXPECT_TRUE(session.WaitForLog(L"Input desktop is active"));
  if (!selfFill) {
    EXPECT_TRUE(session.WaitForLog(L"Received query:")) << qlrtest::ToUtf8(session.LogText());
  }
  const std::wstring log = session.LogText();
  EXPECT_EQ(log.find(L"Sending message by PostMessage bRet=1") != std::wstring::npos, !selfFill)
      << qlrtest::ToUtf8(log);

  ASSERT_NO_FATAL_FAILURE(ChooseFirst());
  EXPECT_TRUE(session.WaitForTargetText(kFirstText)) << qlrtest::ToUtf8(session.TargetText());
  ExpectUsedOnce(L"First.quillora", from);
  EXPECT_EQ(qlre2e::PhraseAttribute(session.PhraseFile(L"Second.quillora"), "UsageCount"), "0");
  // Typing never needed the clipboard: the user's text is there again, also
  // where the selection was fetched through it.
  EXPECT_TRUE(qlrtest::WaitUntil([] { return ReadClipboard().first == L"user text"; }, kWaitMs, 20))
      << qlrtest::ToUtf8(ReadClipboard().first);
}

size_t VisibleMenusOf(DWORD pid) {
  size_t n = 0;
  for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
       menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(menu, &owner);
    if (owner == pid && IsWindowVisible(menu)) ++n;
  }
  return n;
}

// One phrase menu at a time: a second press while it is open opens no
// second one inside it (nor frees the folder submenu it shows), and an
// editor ending meanwhile (its new phrase renumbers the store) waits until
// the chosen phrase is in.
TEST_P(HotkeyRoadByQueryTest, TheOpenMenuStaysAloneAndAnEditorEndWaitsForItsChoice) {
  // Folders follow the phrases in the menu: First, Second, then the folder.
  const std::wstring folder = session.PhraseFile(L"Kept");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(qlre2e::WritePhrase(folder + L"\\Inside.quillora", L"Inside", kInsideText, 1));
  ASSERT_NO_FATAL_FAILURE(StartOnRoad());
  ASSERT_NO_FATAL_FAILURE(OpenMenu());
  // A second press (as the system reports it: keys typed now would go to
  // the open menu) and a request of the mouse-gesture library.
  ASSERT_TRUE(PostMessageW(session.TrayWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_RETURN)));
  ASSERT_TRUE(PostMessageW(session.TrayWindow(), RegisterWindowMessageW(L"{CD8F8D19-9440-4b61-ADD7-980B478E41F6}"), 0, 0));
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return session.CountInLog(L"A phrase menu is open: the request is ignored") >= 2; }, kWaitMs))
      << qlrtest::ToUtf8(session.LogText());
  EXPECT_EQ(VisibleMenusOf(session.QuilloraPid()), 1u);

  // Read first, this phrase would take the first one's id.
  ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"0Early.quillora"), L"Early", L"early text", 3));
  UniqueHandle ended(CreateEventW(nullptr, FALSE, FALSE, qlre2e::kEditorEndedEvent));
  ASSERT_TRUE(ended);
  ASSERT_TRUE(SetEvent(ended.Get()));
  EXPECT_TRUE(session.WaitForLog(L"applied once the phrase menu is done")) << qlrtest::ToUtf8(session.LogText());
  EXPECT_TRUE(session.PhraseMenu() != nullptr);

  // The folder still shows its phrase, and the item chosen in it types
  // that phrase, not the one its id names after the reload.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(qlre2e::PressKey(VK_DOWN));
  ASSERT_TRUE(qlre2e::PressKey(VK_RIGHT));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return VisibleMenusOf(session.QuilloraPid()) == 2u; }, kWaitMs))
      << "the folder opened no submenu";
  ASSERT_TRUE(qlre2e::PressKey(VK_RETURN));
  ASSERT_TRUE(session.WaitForMenuGone());
  EXPECT_TRUE(session.WaitForTargetText(kInsideText)) << qlrtest::ToUtf8(session.TargetText());
  // The editor's end is applied once the command is done: the phrases are
  // read anew, once.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return session.CountInLog(L"Detected event: PhraseEditor closed") >= 2; },
                                 kWaitMs));
  EXPECT_EQ(session.CountInLog(L"Detected event: PhraseEditor closed"), 2u);
}

TEST_F(HotkeyRoadTest, PastedPhraseStaysOnTheClipboard) {
  session.SetSetting(L"TextPasteMethod_v150", L"1");
  session.SetSetting(L"ClipboardHistory", L"1");
  session.SetSetting(L"SaveClipboardHistory_v198", L"1");
  ASSERT_TRUE(PutOnClipboard(L"user text", ""));
  ASSERT_NO_FATAL_FAILURE(Start());
  // The user's text is recorded at the start, and saved.
  const std::wstring firstItem = session.File(L"ClipboardHistory\\quillora_cb1.info");
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetFileAttributesW(firstItem.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                 kWaitMs));
  const size_t skipped = session.CountInLog(L"My copy process detected");
  ULONGLONG from = NowUtcSeconds();
  ASSERT_NO_FATAL_FAILURE(OpenMenu());
  ASSERT_NO_FATAL_FAILURE(ChooseFirst());
  EXPECT_TRUE(session.WaitForTargetText(kFirstText)) << qlrtest::ToUtf8(session.TargetText());
  EXPECT_TRUE(qlrtest::WaitUntil([] { return ReadClipboard().first == kFirstText; }, kWaitMs, 20))
      << qlrtest::ToUtf8(ReadClipboard().first);
  ExpectUsedOnce(L"First.quillora", from);
  // The paste went through the clipboard, but it is no copy of the user's.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return session.CountInLog(L"My copy process detected") > skipped; },
                                 kWaitMs));
  // The end of the program leaves the pasted phrase where it is, and
  // writes no item of it.
  EXPECT_EQ(session.Stop(), 0);
  EXPECT_EQ(ReadClipboard().first, kFirstText);
  EXPECT_EQ(GetFileAttributesW(session.File(L"ClipboardHistory\\quillora_cb2.info").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

// On the self-fill road the selection is fetched through the clipboard, so
// the user's clipboard must come back from the snapshot taken at the press.
TEST_P(HotkeyRoadByQueryTest, EscapeInsertsNothingAndKeepsTheClipboard) {
  const std::string privateBytes("\x01\x02\x00\x7f\xfe", 5);
  ASSERT_TRUE(PutOnClipboard(L"user text", privateBytes));
  ASSERT_NO_FATAL_FAILURE(StartOnRoad());
  // Twice: the keeper stays armed after a restore and must not grow stale.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const size_t restores = session.CountInLog(kRestoredLine);
    ASSERT_NO_FATAL_FAILURE(OpenMenu());
    ASSERT_TRUE(qlre2e::PressKey(VK_ESCAPE));
    ASSERT_TRUE(session.WaitForMenuGone());
    // The restore ends the request; what the test copies next must come
    // after it, as the user's next copy would.
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return session.CountInLog(kRestoredLine) > restores; }, kWaitMs, 20));
    auto clip = ReadClipboard();
    EXPECT_EQ(clip.first, L"user text");
    EXPECT_GE(clip.second.size(), privateBytes.size());
    EXPECT_EQ(clip.second.substr(0, privateBytes.size()), privateBytes);
  }
  EXPECT_EQ(session.TargetText(), L"");
  EXPECT_EQ(qlre2e::PhraseAttribute(session.PhraseFile(L"First.quillora"), "UsageCount"), "0");
  // What the user copies afterwards survives the end of the program.
  ASSERT_TRUE(PutOnClipboard(L"copied later", ""));
  EXPECT_EQ(session.Stop(), 0);
  EXPECT_EQ(ReadClipboard().first, L"copied later");
}

TEST_F(HotkeyRoadTest, DoubledHotkeyNeedsTwoQuickPresses) {
  session.SetSetting(L"Hotkey_Doubled", L"1");
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(session.BringTargetForward());
  // A single press is timed from when the program took it: on a busy
  // machine it may come to it late.
  auto pressSeen = [&] {
    const std::wstring line = L"Input desktop is active";
    auto count = [&] {
      std::wstring log = session.LogText();
      size_t n = 0;
      for (size_t at = log.find(line); at != std::wstring::npos; at = log.find(line, at + 1)) ++n;
      return n;
    };
    const size_t before = count();
    // Wine's loaded display loses a synthetic key now and then: a press
    // not taken in all that time is sent once more, long past any double.
    for (int attempt = 0; attempt < 2; ++attempt)
      if (qlre2e::PressDefaultHotkey() && qlrtest::WaitUntil([&] { return count() > before; }, qlre2e::kWaitMs))
        return true;
    return false;
  };
  ASSERT_TRUE(pressSeen());
  EXPECT_FALSE(session.WaitForMenu(800)) << "a single press opens nothing";
  // More than 500 ms after the first: a new first press, not a double.
  ASSERT_TRUE(pressSeen());
  EXPECT_FALSE(session.WaitForMenu(800));
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(session.WaitForMenu()) << qlrtest::ToUtf8(session.LogText());
  ASSERT_TRUE(qlre2e::PressKey(VK_ESCAPE));
  ASSERT_TRUE(session.WaitForMenuGone());
  // After a completed double press the next press is a first one again.
  // (Presses that must count as quick are sent back to back: a wait between
  // them could pass the half second on a busy machine.)
  ASSERT_TRUE(session.BringTargetForward());
  ASSERT_TRUE(pressSeen());
  EXPECT_FALSE(session.WaitForMenu(800));
}

TEST_F(HotkeyRoadTest, PromptAsksAndTheAnswerArrives) {
  ASSERT_TRUE(qlre2e::WritePhrase(session.PhraseFile(L"Letter.quillora"), L"Letter",
                                  L"Dear %PROMPT_TEXT={Name}%,", 0));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(OpenMenu());
  ASSERT_NO_FATAL_FAILURE(ChooseFirst());
  HWND dialog = nullptr, edit = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    for (HWND w : qlrtest::FindProcessWindows(session.QuilloraPid())) {
      wchar_t cls[64] = {};
      GetClassNameW(w, cls, 64);
      if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w) && (edit = GetDlgItem(w, kPromptEditId))) {
        dialog = w;
        return true;
      }
    }
    return false;
  }, kWaitMs, 20)) << qlrtest::ToUtf8(session.LogText());
  wchar_t title[256] = {};
  GetWindowTextW(dialog, title, 256);
  EXPECT_EQ(std::wstring(title).rfind(L"Quillora", 0), 0u) << qlrtest::ToUtf8(title);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Alice"));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  EXPECT_TRUE(session.WaitForTargetText(L"Dear Alice,")) << qlrtest::ToUtf8(session.TargetText());
}

TEST_F(HotkeyRoadTest, CopyDataInsertsThePhraseOfItsIdAndRefusesAShortBlock) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // Short or empty blocks are refused before anything runs.
  EXPECT_EQ(SendCommandBlock(session.TrayWindow(), 1, session.TargetWindow(), 137), 0);
  EXPECT_EQ(SendCommandBlock(session.TrayWindow(), 1, session.TargetWindow(), 0), 0);
  // An id no phrase has is taken, and inserts nothing.
  EXPECT_EQ(SendCommandBlock(session.TrayWindow(), 999, session.TargetWindow(), 138), 1);
  EXPECT_FALSE(session.WaitForTargetText(kFirstText, 500));
  EXPECT_EQ(session.TargetText(), L"");

  // The two phrases have the ids 1 and 2, in the order the folder lists them.
  std::set<std::wstring> inserted;
  for (int id : {1, 2}) {
    SCOPED_TRACE(id);
    session.ClearTarget();
    ASSERT_TRUE(session.BringTargetForward());
    EXPECT_EQ(SendCommandBlock(session.TrayWindow(), id, session.TargetWindow(), 138), 1);
    std::wstring text;
    EXPECT_TRUE(qlrtest::WaitUntil([&] {
      text = session.TargetText();
      return text == kFirstText || text == kSecondText;
    }, kWaitMs, 20)) << qlrtest::ToUtf8(text);
    inserted.insert(text);
  }
  EXPECT_EQ(inserted, (std::set<std::wstring>{kFirstText, kSecondText}));
  for (const wchar_t* file : {L"First.quillora", L"Second.quillora"}) {
    EXPECT_TRUE(qlrtest::WaitUntil(
        [&] { return qlre2e::PhraseAttribute(session.PhraseFile(file), "UsageCount") == "1"; }, kWaitMs, 20))
        << qlrtest::ToUtf8(file);
  }
}

INSTANTIATE_TEST_SUITE_P(Roads, HotkeyRoadByQueryTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "SelfFill" : "Library";
                         });

}  // namespace
