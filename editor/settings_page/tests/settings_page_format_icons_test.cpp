// The format rows' icons in a process whose shell answers late (a process
// of its own: the icons are asked once per process). The rows come at
// once; their icons come once the shell answers, also to a list nobody
// has seen or painted (a pane scrolled away from it), and the list then
// looks exactly as a fresh paint of it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "editor/settings_page/settings_page.h"
#include "editor/settings_page/settings_page_ids.h"
#include "editor/settings_page/tests/format_rows.h"
#include "editor_settings/editor_settings.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

// The screen's pixels of a window's client area.
std::vector<DWORD> ClientPixels(HWND window) {
  RECT r = {};
  ::GetClientRect(window, &r);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return qlrtest::ScreenPixels(r);
}

// What the window shows once it stops changing, this thread painting.
std::vector<DWORD> SettledPixels(HWND window) {
  std::vector<DWORD> last = ClientPixels(window);
  int same = 0;
  ULONGLONG next = ::GetTickCount64() + 100;
  qlrtest::PumpUntil([&] {
    if (::GetTickCount64() < next) return false;
    next = ::GetTickCount64() + 100;
    std::vector<DWORD> now = ClientPixels(window);
    same = now == last && !::GetUpdateRect(window, nullptr, FALSE) ? same + 1 : 0;
    last.swap(now);
    return same >= 2;
  }, 20000);
  return last;
}

using sptest::RowsWithIcons;

class FormatIconsTest : public SettingsFoldersTest {};

TEST_F(FormatIconsTest, IconsComeWhenTheShellAnswersSeenOrNotAndArePaintedWhole) {
  HANDLE answer = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(answer, nullptr);
  HoldFormatImagesUntil(answer);
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\nClipboardFormats2=0\r\n"));
  MarkEditorSettingsChanged();
  GetEditorSettings();
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, nullptr, L"format icons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 760, nullptr,
                           nullptr));
  SettingsPageHost host;
  host.mainWindow = top.m_hWnd;
  host.trayProgramPath = program.File(L"Quillora.exe");
  host.readMainHotkey = [](HotkeyRecord&) { return false; };
  auto page = std::make_unique<CSettingsPage>(&top, host);
  ASSERT_TRUE(page->Create());
  HWND list = ::GetDlgItem(page->m_hWnd, IDC_SP_FORMATS);

  // Unseen, with the shell still silent: every row is there, named and
  // checked as stored.
  qlrtest::PumpUntil([] { return true; }, 0);
  ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK)) >> 12,
              i == 2 ? 1u : 2u)
        << i;
  EXPECT_EQ(RowsWithIcons(list), 0);

  // The shell answers while nobody looks: the icons come unseen.
  ::SetEvent(answer);
  // The editor's own ".rtf" icon, and one for each extension the shell has.
  int expected = 1;
  for (const wchar_t* extension : {L".txt", L".bmp", L".bnd", L".html"}) {
    SHFILEINFOW info = {};
    ::SHGetFileInfoW(extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                     SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON);
    if (info.hIcon) {
      ++expected;
      ::DestroyIcon(info.hIcon);
    }
  }
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return RowsWithIcons(list) == expected; }, 20000)) << RowsWithIcons(list);
  EXPECT_FALSE(::IsWindowVisible(list));
  ::ShowWindow(page->m_hWnd, SW_SHOW);

  // What the list shows is what it paints afresh, icons drawn.
  const std::vector<DWORD> shown = SettledPixels(list);
  ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  const std::vector<DWORD> fresh = SettledPixels(list);
  ASSERT_EQ(shown.size(), fresh.size());
  size_t differ = 0;
  for (size_t i = 0; i < shown.size(); ++i) differ += shown[i] != fresh[i];
  EXPECT_EQ(differ, 0u) << "of " << shown.size();
  RECT icon = {LVIR_ICON, 0, 0, 0};
  ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&icon)));
  RECT client = {};
  ::GetClientRect(list, &client);
  const std::vector<DWORD> now = ClientPixels(list);
  std::vector<DWORD> colours;
  for (int y = icon.top; y < icon.bottom && y < client.bottom; ++y)
    for (int x = icon.left; x < icon.right && x < client.right; ++x) {
      const DWORD pixel = now[static_cast<size_t>(y * client.right + x)];
      if (colours.empty() || colours.back() != pixel) colours.push_back(pixel);
    }
  EXPECT_GT(colours.size(), 2u) << "the .rtf row's icon is not drawn";

  page.reset();
  top.DestroyWindow();
  ::CloseHandle(answer);
}

}  // namespace
