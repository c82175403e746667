// Prints what the editor's settings page costs: creating and filling it,
// one hotkey test, and destroying it (which saves Settings.ini once),
// beside the bare work each stands on measured in the same run: the bare
// dialog from the same template, RegisterHotKey with UnregisterHotKey, and
// the settings store's save.
//   bench_settings_page
#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/bench_timer.h"
#include "editor/settings_page/settings_page.h"
#include "editor/settings_page/settings_page_ids.h"
#include "editor_settings/editor_settings.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kRounds = 10;
constexpr double kCreateTargetRatio = 2;

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

int wmain() {
  qlrtest::TempDir program;
  qlrtest::TempDir profile;
  SetSettingsFolders(program.Path(), profile.Path());
  GetEditorSettings().Save();

  CWnd top;
  if (!top.CreateEx(0, nullptr, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 900, 760, nullptr, nullptr)) return 1;
  SettingsPageHost host;
  host.mainWindow = top.m_hWnd;
  host.trayProgramPath = program.File(L"Quillora.exe");
  host.readMainHotkey = [](HotkeyRecord&) { return false; };

  double reload = 0, create = 0, check = 0, destroy = 0, bareDialog = 0, bareHotkey = 0, bareSave = 0;
  for (int round = 0; round < kRounds; ++round) {
    // Each round in a quiet process, as the page is made once in a run.
    BenchSettle(300);
    // The bare dialog first: in the first round it pays for the first use
    // of the template's control classes, which it would otherwise find
    // loaded by the page.
    double bareStart = BenchNowMs();
    HWND bare = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS_PAGE), top.m_hWnd,
                                     BareDialogProc, 0);
    double bareEnd = BenchNowMs();
    ::DestroyWindow(bare);

    double t0 = BenchNowMs();
    auto page = std::make_unique<CSettingsPage>(&top, host);
    if (!page->Create()) return 2;
    double t1 = BenchNowMs();
    page->LoadControls();
    double tl = BenchNowMs();
    page->CheckHotKey(false);
    double t2 = BenchNowMs();
    page->DestroyWindow();
    double destroyed = BenchNowMs();
    page.reset();

    double t4b = BenchNowMs();
    ::RegisterHotKey(top.m_hWnd, 1, MOD_CONTROL | MOD_ALT, VK_F9);
    ::UnregisterHotKey(top.m_hWnd, 1);
    double t5 = BenchNowMs();
    GetEditorSettings().Save();
    double t6 = BenchNowMs();
    create += t1 - t0;
    check += t2 - tl;
    reload += tl - t1;
    destroy += destroyed - t2;
    bareDialog += bareEnd - bareStart;
    bareHotkey += t5 - t4b;
    bareSave += t6 - t5;
  }
  std::printf("settings page, mean of %d rounds (ms):\n", kRounds);
  std::printf("  create and fill   %8.2f   bare dialog of the template      %8.2f\n", create / kRounds,
              bareDialog / kRounds);
  const double ratio = create / bareDialog;
  std::printf("  create and fill ratio %.2f, target %.0f: %s\n", ratio, kCreateTargetRatio,
              ratio <= kCreateTargetRatio ? "met" : "MISSED");
  std::printf("  LoadControls again %7.2f\n", reload / kRounds);
  std::printf("  hotkey test       %8.2f   RegisterHotKey + UnregisterHotKey %8.2f\n", check / kRounds,
              bareHotkey / kRounds);
  std::printf("  destroy (saves)   %8.2f   settings store save              %8.2f\n", destroy / kRounds,
              bareSave / kRounds);
  top.DestroyWindow();
  SetSettingsFolders(L"", L"");
  return 0;
}
