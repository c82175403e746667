// The real Quillora_Welcome.exe in a program folder of its own: its page,
// single instance, exit codes, language choice and command links.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>

#include "foundation/system/system_helpers.h"
#include "phrases/macros/macro_table.h"
#include "tests/support/test_support.h"

namespace {

constexpr DWORD kWaitMs = 20000;

class WelcomeProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* f : {L"Quillora_Welcome.exe", L"HTMLayout.dll"})
      ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), dir.File(f)));
  }
  void TearDown() override {
    if (child.IsRunning()) {
      if (window) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
      child.Wait(kWaitMs);
    }
  }
  void SetSetting(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"Settings", key, value, dir.File(L"Settings.ini").c_str());
  }
  std::wstring Setting(const wchar_t* key) {
    wchar_t buf[512] = {};
    GetPrivateProfileStringW(L"Settings", key, L"", buf, 512, dir.File(L"Settings.ini").c_str());
    return buf;
  }
  void WriteLanguageFile(const wchar_t* name, const std::wstring& body) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(name), body));
  }
  // The welcome window, once its page is loaded; null when it did not come.
  HWND Start(const std::wstring& args = std::wstring(), const std::wstring& folder = std::wstring()) {
    const std::wstring exe = (folder.empty() ? dir.Path() : folder) + L"\\Quillora_Welcome.exe";
    if (!child.Start(exe, args)) return nullptr;
    qlrtest::WaitUntil([&] { return (window = qlrtest::FindProcessWindow(child.Pid(), L"#32770")) != nullptr; },
                       kWaitMs);
    if (!window) return nullptr;
    qlrtest::WaitUntil([&] { return PageText().find(L"Use: ") != std::wstring::npos; }, kWaitMs);
    return window;
  }
  HWND View() const { return GetDlgItem(window, 1002); }
  std::wstring PageText() const {
    HWND view = View();
    if (!view) return std::wstring();
    LRESULT n = SendMessageW(view, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(view, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return text;
  }
  std::wstring Title() const {
    wchar_t buf[256] = {};
    GetWindowTextW(window, buf, 256);
    return buf;
  }
  std::wstring ComboItem(int i) const {
    HWND combo = GetDlgItem(window, 1001);
    wchar_t buf[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  void Choose(int index) {
    HWND combo = GetDlgItem(window, 1001);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(1001, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
  }
  int Click(const std::wstring& href) {
    wchar_t handle[32];
    swprintf(handle, 32, L"%lld", static_cast<long long>(reinterpret_cast<INT_PTR>(View())));
    return qlrtest::RunProcess(qlrtest::BinFile(L"helper_click_by_href.exe"),
                               std::wstring(handle) + L" \"" + href + L"\"", kWaitMs);
  }

  qlrtest::TempDir dir;
  qlrtest::ChildProcess child;
  HWND window = nullptr;
};

TEST_F(WelcomeProgramTest, FirstStartShowsTheBuiltInPageAndRecordsTheStart) {
  // The view answers its style-sheet question only with its test switch on.
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTMLayoutStyleSheet_Test.HTMLayoutStyleSheet_Test"), ""));
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Start());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - started).count();
  printf("welcome: start to filled page %lld ms\n", static_cast<long long>(ms));
  EXPECT_EQ(Title(), L"Welcome to Quillora");
  EXPECT_EQ(ComboItem(0), L"English (Embedded)");
  const std::wstring page = PageText();
  EXPECT_NE(page.find(L"Current Hotkey: I unknow"), std::wstring::npos) << page;
  EXPECT_NE(page.find(L"Use: Embedded (en)"), std::wstring::npos);
  EXPECT_NE(page.find(L"red"), std::wstring::npos);
  EXPECT_NE(page.find(L"v."), std::wstring::npos);
  EXPECT_NE(page.find(L" build "), std::wstring::npos);
  // The macros the page names are ones a phrase can hold, and the link to
  // the tray menu says so.
  size_t macros = 0;
  for (size_t at = page.find(L'%'); at != std::wstring::npos; at = page.find(L'%', at + 1)) {
    const size_t end = page.find(L'%', at + 1);
    if (end == std::wstring::npos) break;
    const std::wstring token = page.substr(at, end - at + 1);
    // The command links' targets are the page's own, not macros.
    if (token.compare(0, 5, L"%CMD_") == 0) {
      at = end;
      continue;
    }
    bool known = false;
    for (int i = 0; i < GetMacroCount(); ++i) known = known || token == GetMacroName(i);
    for (int i = 0; i < GetArgMacroCount(); ++i) {
      const CArgMacroEntry entry = GetArgMacroEntry(i);
      const std::wstring head = entry.opening, tail = entry.closing;
      known = known || (token.compare(0, head.size(), head) == 0 && token.size() >= head.size() + tail.size() &&
                        token.compare(token.size() - tail.size(), tail.size(), tail) == 0);
    }
    EXPECT_TRUE(known) << token;
    ++macros;
    at = end;
  }
  EXPECT_GE(macros, 3u) << page;
  EXPECT_NE(page.find(L"show the tray menu"), std::wstring::npos);
  for (const wchar_t* marker : {L"HOTKEY_START", L"RSS_URL", L"VERSION_WELCOME_INFO", L"LOCALIZE_PATH",
                                L"SUBSCRIBE_URL"})
    EXPECT_EQ(page.find(marker), std::wstring::npos) << marker;
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Setting(L"Welcome_Already_Started_V2_60") == L"1"; }, kWaitMs));
  // The page's <link> sheet was answered with the program's own style sheet.
  HMODULE exe = LoadLibraryExW(dir.File(L"Quillora_Welcome.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HRSRC info = FindResourceW(exe, MAKEINTRESOURCEW(202), MAKEINTRESOURCEW(23));
  ASSERT_NE(info, nullptr);
  const DWORD sheetSize = SizeofResource(exe, info);
  const auto* sheet = static_cast<const unsigned char*>(LockResource(LoadResource(exe, info)));
  UINT32 hash = 2166136261u;
  for (DWORD i = 0; i < sheetSize; ++i) hash = (hash ^ sheet[i]) * 16777619u;
  FreeLibrary(exe);
  const UINT lastSheet = RegisterWindowMessageW(L"HTMLayout_LastStyleSheet");
  EXPECT_GT(sheetSize, 100u);
  EXPECT_EQ(static_cast<DWORD>(SendMessageW(View(), lastSheet, 0, 0)), sheetSize);
  EXPECT_EQ(static_cast<UINT32>(SendMessageW(View(), lastSheet, 1, 0)), hash);
  // Without its test switch the view does not click a link named by its
  // href (the built-in page's editor link is there).
  EXPECT_EQ(Click(L"%CMD_START_EDITOR%"), 0);
  // The example file gathered the window's texts.
  const std::wstring example = qlrtest::ReadUtf16File(dir.File(L"LocalizeExample.lng"));
  EXPECT_NE(example.find(L"[Strings_Welcome]"), std::wstring::npos);
  EXPECT_NE(example.find(L"57346="), std::wstring::npos);
  EXPECT_NE(example.find(L"[Dialog_Welcome_129]"), std::wstring::npos);
  EXPECT_NE(example.find(L"1000="), std::wstring::npos);
}

TEST_F(WelcomeProgramTest, HotkeyOfTheSettingsAreaAndThePageOfTheLanguage) {
  HANDLE area = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024,
                                   L"Local\\$QUILLORA_SETTING_AREA$");
  ASSERT_NE(area, nullptr);
  char* view = static_cast<char*>(MapViewOfFile(area, FILE_MAP_WRITE, 0, 0, 1024));
  ASSERT_NE(view, nullptr);
  strcpy(view, "<QuilloraSettings HotKey_Key=\"13\" HotKey_Mod=\"3\" Double=\"1\"/>");
  WriteLanguageFile(L"b.lng", L"[Main]\r\nLangPrefix=De\r\nLangLocalized=Alpha\r\n");
  SetSetting(L"Language", L"b.lng");
  CreateDirectoryW(dir.File(L"HTML").c_str(), nullptr);
  CreateDirectoryW(dir.File(L"HTML\\De").c_str(), nullptr);
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTML\\De\\welcome.html"),
                                  "<html><body><p>Deutsch</p><div><!-- HOTKEY_START -->x<!-- HOTKEY_END -->"
                                  "</div><div><!-- LOCALIZE_PATH --></div></body></html>"));
  ASSERT_TRUE(Start());
  const std::wstring page = PageText();
  EXPECT_NE(page.find(L"Deutsch"), std::wstring::npos) << page;
  const std::wstring key = GetHotkeyDisplayName(13, 3);
  EXPECT_NE(page.find(L"Current Hotkey: " + key + L" <b>x 2</b> \x2014 twice"), std::wstring::npos)
      << page;
  EXPECT_NE(page.find(L"green"), std::wstring::npos);
  EXPECT_NE(page.find(L"HTML\\De\\welcome.html</a>"), std::wstring::npos);
  // Without its test switch the view does not answer its style-sheet question.
  EXPECT_EQ(SendMessageW(View(), RegisterWindowMessageW(L"HTMLayout_LastStyleSheet"), 0, 0), 0);
  UnmapViewOfFile(view);
  CloseHandle(area);
}

TEST_F(WelcomeProgramTest, ExitCodesOfCloseEnterEscapeAndTheCloseBox) {
  struct Case {
    UINT msg;
    WPARAM wParam;
    bool toButton;
    int code;
  } cases[] = {
      {BM_CLICK, 0, true, 1},
      {WM_KEYDOWN, VK_RETURN, true, 1},
      {WM_KEYDOWN, VK_ESCAPE, true, 2},
      {WM_CLOSE, 0, false, 2},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start());
    HWND target = c.toButton ? GetDlgItem(window, IDOK) : window;
    PostMessageW(target, c.msg, c.wParam, 0);
    EXPECT_EQ(child.Wait(kWaitMs), c.code) << c.msg << " " << c.wParam;
    window = nullptr;
  }
  // The instance event went with the program.
  EXPECT_EQ(OpenEventW(SYNCHRONIZE, FALSE, L"Local\\Quillora_Welcome_IsRunning"), nullptr);
}

TEST_F(WelcomeProgramTest, SecondStartEndsWithOneAndRestoresTheFirstWindow) {
  ASSERT_TRUE(Start());
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return IsIconic(window) != FALSE; }, kWaitMs));
  EXPECT_EQ(qlrtest::RunProcess(dir.File(L"Quillora_Welcome.exe"), L"", 5000), 1);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }, 2000));
  // A burst of starts: every one ends with 1, one window stays.
  qlrtest::ChildProcess burst[5];
  for (auto& b : burst) ASSERT_TRUE(b.Start(dir.File(L"Quillora_Welcome.exe"), L""));
  for (auto& b : burst) EXPECT_EQ(b.Wait(kWaitMs), 1);
  EXPECT_TRUE(child.IsRunning());
}

TEST_F(WelcomeProgramTest, TwoStartedTogetherGiveOneWindow) {
  qlrtest::ChildProcess other;
  ASSERT_TRUE(child.Start(dir.File(L"Quillora_Welcome.exe"), L""));
  ASSERT_TRUE(other.Start(dir.File(L"Quillora_Welcome.exe"), L""));
  qlrtest::ChildProcess* running = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    if (!child.IsRunning()) running = &other;
    else if (!other.IsRunning()) running = &child;
    return running != nullptr;
  }, kWaitMs));
  qlrtest::ChildProcess* ended = running == &child ? &other : &child;
  EXPECT_EQ(ended->Wait(kWaitMs), 1);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (window = qlrtest::FindProcessWindow(running->Pid(), L"#32770")) != nullptr; }, kWaitMs));
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(running->Wait(kWaitMs), 2);
  window = nullptr;
}

TEST_F(WelcomeProgramTest, StartLineReachesTheLogOnlyWithWriteLog) {
  SetSetting(L"WriteLog", L"0");
  ASSERT_TRUE(Start(L"/auto"));
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(child.Wait(kWaitMs), 2);
  EXPECT_EQ(qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")).find(L"started: cmdline:"), std::wstring::npos);
  SetSetting(L"WriteLog", L"1");
  ASSERT_TRUE(Start(L"/auto"));
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(child.Wait(kWaitMs), 2);
  window = nullptr;
  const std::wstring log = qlrtest::ReadUtf16File(dir.File(L"LogReport.txt"));
  EXPECT_NE(log.find(L"WELCOME: ["), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"\"Quillora : Welcome\" started: cmdline: ["), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"Quillora_Welcome"), std::wstring::npos);
  EXPECT_NE(log.find(L"/auto]"), std::wstring::npos);
}

TEST_F(WelcomeProgramTest, LanguageListAndLanguageChange) {
  WriteLanguageFile(L"a.lng", L"[Main]\r\nLangLocalized=Zulu\r\n");
  WriteLanguageFile(L"b.lng", L"[Main]\r\nLangPrefix=De\r\nLangLocalized=Alpha\r\n"
                              L"[Strings_Welcome]\r\n57346=Willkommen\r\n");
  WriteLanguageFile(L"c.lng", L"[Main]\r\nLangPrefix=fr\r\n");
  WriteLanguageFile(L"LocalizeExample.lng", L"[Main]\r\nLangLocalized=Example\r\n");
  SetSetting(L"Language", L"a.lng");
  CreateDirectoryW(dir.File(L"HTML").c_str(), nullptr);
  CreateDirectoryW(dir.File(L"HTML\\De").c_str(), nullptr);
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTML\\De\\welcome.html"),
                                  "<html><body><p>Deutsch</p><!-- LOCALIZE_PATH --></body></html>"));
  ASSERT_TRUE(Start());
  HWND combo = GetDlgItem(window, 1001);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(ComboItem(0), L"English (Embedded)");
  EXPECT_EQ(ComboItem(1), L"Zulu");
  EXPECT_EQ(ComboItem(2), L"Alpha");
  EXPECT_EQ(ComboItem(3), L"c.lng");
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);

  HANDLE changed = CreateEventW(nullptr, FALSE, FALSE, L"Local\\Quillora_LangUI_Changed");
  ASSERT_NE(changed, nullptr);
  // Set-then-reset: the auto-reset event wakes only a watcher that waits
  // already. The waiter says it is ready and starts waiting in one call.
  struct Waiter {
    HANDLE event;
    HANDLE ready;
    volatile LONG signalled;
  } waiter = {changed, CreateEventW(nullptr, TRUE, FALSE, nullptr), 0};
  HANDLE thread = CreateThread(nullptr, 0, [](LPVOID p) -> DWORD {
    auto* w = static_cast<Waiter*>(p);
    if (SignalObjectAndWait(w->ready, w->event, 20000, FALSE) == WAIT_OBJECT_0)
      InterlockedExchange(&w->signalled, 1);
    return 0;
  }, &waiter, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(waiter.ready, 20000), WAIT_OBJECT_0);
  CloseHandle(waiter.ready);
  const auto started = std::chrono::steady_clock::now();
  Choose(2);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - started).count();
  printf("welcome: language switch %lld ms\n", static_cast<long long>(ms));
  EXPECT_EQ(Setting(L"Language"), L"b.lng");
  EXPECT_EQ(Title(), L"Willkommen");
  EXPECT_NE(PageText().find(L"Deutsch"), std::wstring::npos);
  WaitForSingleObject(thread, 20000);
  CloseHandle(thread);
  EXPECT_EQ(waiter.signalled, 1);

  // The same language again: no rewrite.
  SetSetting(L"Language", L"B.LNG");
  Choose(2);
  EXPECT_EQ(Setting(L"Language"), L"B.LNG");
  // The first entry stores an empty value: the built-in English.
  Choose(0);
  EXPECT_EQ(Setting(L"Language"), L"");
  EXPECT_EQ(Title(), L"Welcome to Quillora");
  EXPECT_NE(PageText().find(L"Embedded (en)"), std::wstring::npos);
  CloseHandle(changed);
}

TEST_F(WelcomeProgramTest, AutoSwitchDropsTheLanguageListDown) {
  ASSERT_TRUE(Start(L"x/autoy"));
  HWND combo = GetDlgItem(window, 1001);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 10000));
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(child.Wait(kWaitMs), 2);
  ASSERT_TRUE(Start(L"/AUTO"));
  combo = GetDlgItem(window, 1001);
  const DWORD until = GetTickCount() + 5000;
  while (GetTickCount() < until) {
    ASSERT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
    Sleep(100);
  }
}

TEST_F(WelcomeProgramTest, CommandLinksStartTheOtherPrograms) {
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTMLayoutClick_Test.HTMLayoutClick_Test"), "1"));
  ASSERT_TRUE(Start());
  const std::wstring cmdline = dir.File(L"editor_cmdline.txt");
  // Without the stubs nothing starts and the window stays.
  EXPECT_EQ(Click(L"%CMD_SHOW_TRAY_MENU%"), 1);
  EXPECT_TRUE(child.IsRunning());
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"), dir.File(L"Quillora.exe")));
  struct Case {
    const wchar_t* href;
    const wchar_t* args;
  } cases[] = {{L"%CMD_SHOW_TRAY_MENU%", L" /showmenu"},
               {L"%CMD_SHOW_CMD_LINE%", L" /?"},
               {L"%CMD_CHECK_FOR_UPDATES%", L" /cfu"}};
  for (const Case& c : cases) {
    DeleteFileW(cmdline.c_str());
    EXPECT_EQ(Click(c.href), 1) << c.href;
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return !qlrtest::ReadUtf16File(cmdline).empty(); }, kWaitMs));
    const std::wstring line = qlrtest::ReadUtf16File(cmdline);
    EXPECT_NE(line.find(L"Quillora.exe"), std::wstring::npos) << line;
    EXPECT_EQ(line.substr(line.size() - wcslen(c.args)), c.args) << line;
  }
  DeleteFileW(cmdline.c_str());
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"), dir.File(L"QuilloraEditor.exe")));
  // The editor link of the built-in page, in its own letter case.
  EXPECT_EQ(Click(L"%CMD_START_EDITOR%"), 1);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !qlrtest::ReadUtf16File(cmdline).empty(); }, kWaitMs));
  EXPECT_NE(qlrtest::ReadUtf16File(cmdline).find(L"QuilloraEditor.exe"), std::wstring::npos);
  EXPECT_TRUE(child.IsRunning());

  // Run from a Release build folder, a link starts the program beside it,
  // not the one in the folder above, where the language files lie.
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  child.Wait(kWaitMs);
  const std::wstring release = dir.File(L"Release");
  CreateDirectoryW(release.c_str(), nullptr);
  for (const wchar_t* f : {L"Quillora_Welcome.exe", L"HTMLayout.dll"})
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), release + L"\\" + f));
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"), release + L"\\QuilloraEditor.exe"));
  ASSERT_TRUE(qlrtest::WriteBytes(release + L"\\HTMLayoutClick_Test.HTMLayoutClick_Test", "1"));
  DeleteFileW(cmdline.c_str());
  ASSERT_TRUE(Start(L"", release));
  EXPECT_EQ(Click(L"%CMD_START_EDITOR%"), 1);
  const std::wstring besideCmdline = release + L"\\editor_cmdline.txt";
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !qlrtest::ReadUtf16File(besideCmdline).empty(); }, kWaitMs));
  EXPECT_EQ(qlrtest::ReadUtf16File(cmdline), L"");
}

TEST_F(WelcomeProgramTest, LayoutFollowsTheSizeAndSurvivesMinimising) {
  ASSERT_TRUE(Start());
  SetWindowPos(window, nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
  RECT client = {};
  GetClientRect(window, &client);
  HWND button = GetDlgItem(window, IDOK);
  RECT b = {}, v = {};
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&b), 2);
  GetWindowRect(View(), &v);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&v), 2);
  EXPECT_EQ(b.left, client.right - (b.right - b.left) - 20);
  EXPECT_EQ(b.top, client.bottom - (b.bottom - b.top) - 20);
  const LONG width = v.right - v.left;
  EXPECT_EQ(width, client.right - 2 * v.left);
  // A size of nothing on the way (as some systems report a window going
  // down) does not stick: the restored window lays the view out again.
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, 0);
  SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(child.IsRunning());
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] {
        GetWindowRect(View(), &v);
        return v.right - v.left == width;
      },
      kWaitMs))
      << "view width " << v.right - v.left << ", before " << width;
}

}  // namespace
