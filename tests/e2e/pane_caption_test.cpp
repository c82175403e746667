// The history pane's caption in the real Quillora.exe: the tray menu
// resource it takes its captions from, and "show the phrase menu" from the
// caption menu beside a target program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/hotkey_session.h"
#include "tests/support/test_support.h"

namespace {

using qlre2e::HotkeySession;
using qlre2e::kWaitMs;

constexpr wchar_t kPaneClass[] = L"QuilloraFloatPane";
constexpr wchar_t kToolbarClass[] = L"QuilloraPaneToolbar";
constexpr UINT kSetShowMode = WM_APP + 3;

// One line per item: depth, then the caption of a popup ("P:" + caption),
// of a command (id + "=" + caption) or "-" for a separator.
void DumpMenu(HMENU menu, int depth, std::vector<std::wstring>& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
    std::wstring line(static_cast<size_t>(depth) * 2, L' ');
    if (info.fType & MFT_SEPARATOR) {
      line += L"-";
    } else if (info.hSubMenu) {
      line += L"P:" + std::wstring(text);
    } else {
      line += std::to_wstring(info.wID) + L"=" + text;
    }
    out.push_back(line);
    if (info.hSubMenu) DumpMenu(info.hSubMenu, depth + 1, out);
  }
}

TEST(TrayMenuResourceTest, MenuOfTheProgramHoldsEveryCommandInItsPlace) {
  HMODULE exe = LoadLibraryExW(qlrtest::BinFile(L"Quillora.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HMENU bar = LoadMenuW(exe, MAKEINTRESOURCEW(128));
  ASSERT_NE(bar, nullptr);
  std::vector<std::wstring> items;
  DumpMenu(bar, 0, items);
  DestroyMenu(bar);
  FreeLibrary(exe);
  const std::vector<std::wstring> expected = {
      L"P:Tray",
      L"  57665=E&xit",
      L"  32829=Run As Administrator",
      L"  -",
      L"  57664=&About Quillora\u2026",
      L"  32791=Check For Updates",
      L"  -",
      L"  P:Help",
      L"    32781=Visit To Web Site",
      L"    32823=Visit To Quick Start",
      L"    -",
      L"    32782=Visit To Forum",
      L"    32825=Visit to F.A.Q.",
      L"    32790=RSS Feed",
      L"    32818=Video",
      L"    32831=Community Group",
      L"    -",
      L"    32783=Email To Us",
      L"    32784=Support",
      L"  P:Language",
      L"    32776=How To Localize Quillora?",
      L"  32832=Welcome To Quillora",
      L"  -",
      L"  32774=Start With Windows",
      L"  32772=Edit Phrases\\Settings\u2026",
      L"  P:Quick Settings",
      L"    32817=Sounds",
      L"    32815=Wrte Log",
      L"    32816=Menu On Mouse Event",
      L"    32827=History Panel On Start",
      L"    -",
      L"    32775=Reread Phrases",
      L"    32830=Open Settings File",
      L"  P:Clipboard History",
      L"    32786=Keep",
      L"    32819=Re-Keep",
      L"    32809=Save On Exit",
      L"    -",
      L"    32789=Clear",
      L"  32785=Save Phrase From Clipboard",
      L"  -",
      L"  32792=Clipboard History Pane",
      L"  32770=Enable Menu Of Phrases",
  };
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i], expected[i]) << i;
}

// A visible menu window of the process other than `other`, or null.
HWND VisibleMenu(DWORD pid, HWND other = nullptr) {
  for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
       menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(menu, &owner);
    if (owner == pid && menu != other && IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

TEST(PaneCaptionE2eTest, ShowPhraseMenuFromTheCaptionMenuCollapsesThePaneAndOpensTheMenu) {
  HotkeySession session;
  ASSERT_TRUE(session.Prepared());
  session.SetSetting(L"ShowHistoryPaneOnStart", L"1");
  ASSERT_TRUE(session.StartTarget());
  ASSERT_TRUE(session.StartQuillora()) << qlrtest::ToUtf8(session.LogText());
  const DWORD pid = session.QuilloraPid();
  HWND pane = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = qlrtest::FindProcessWindow(pid, kPaneClass)) != nullptr; }, kWaitMs));
  HWND toolbar = FindWindowExW(pane, nullptr, kToolbarClass, nullptr);
  ASSERT_NE(toolbar, nullptr);
  ASSERT_TRUE(session.BringTargetForward());
  EXPECT_EQ(SendMessageW(pane, kSetShowMode, 0, 0), 1);
  RECT rect = {};
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return GetWindowRect(pane, &rect) && rect.bottom - rect.top >= 40; }, kWaitMs));

  // Ctrl + click on the caption beside the count opens the caption menu.
  PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
  HWND captionMenu = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (captionMenu = VisibleMenu(pid)) != nullptr; }, kWaitMs));
  // Its first item is "show the phrase menu". A carriage return as a
  // character chooses it; a posted key press would leave its character
  // behind for the next menu.
  PostMessageW(captionMenu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(captionMenu, WM_CHAR, L'\r', 0);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !IsWindowVisible(captionMenu); }, kWaitMs));
  const DWORD chosen = GetTickCount();
  // Half a second later the tray asks the window used before for the
  // phrase menu and opens it.
  const wchar_t kMenuRequest[] = L"IDataNeededHander_MenuSelf::OnDataNeeded";
  EXPECT_EQ(session.CountInLog(kMenuRequest), 0u);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return session.CountInLog(kMenuRequest) == 1; }, kWaitMs, 5))
      << qlrtest::ToUtf8(session.LogText());
  EXPECT_GE(GetTickCount() - chosen, 300u);
  ASSERT_TRUE(GetWindowRect(pane, &rect));
  EXPECT_LT(rect.bottom - rect.top, 40);
  EXPECT_TRUE(IsWindowVisible(pane));
  // The menu, while it is up, is closed before the program is asked to end.
  const wchar_t kMenuEnded[] = L"CQLRTrayWnd::OnWmCommandFromSelf";
  qlrtest::WaitUntil([&] { return VisibleMenu(pid) || session.CountInLog(kMenuEnded) == 1; }, kWaitMs, 5);
  if (HWND menu = VisibleMenu(pid)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return session.CountInLog(kMenuEnded) == 1; }, kWaitMs));
  EXPECT_TRUE(session.WaitForMenuGone());
  EXPECT_EQ(session.Stop(), 0);
}

}  // namespace
