#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor_settings/helpers/browse_folder.h"
#include "editor_settings/helpers/file_dialog_ex.h"
#include "tests/support/test_support.h"

namespace {

// Drives the dialog this thread shows: a timer of the thread (its modal
// loop dispatches it) hands the visible dialog to the action once. A
// watchdog cancels whatever is left open after 30 seconds.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND)> action) {
    s_action = std::move(action);
    s_done = false;
    m_timer = ::SetTimer(nullptr, 0, 50, OnTimer);
    DWORD thread = ::GetCurrentThreadId();
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_watchdog = std::thread([thread, stop = m_stop] {
      if (::WaitForSingleObject(stop, 30000) != WAIT_TIMEOUT) return;
      ::EnumThreadWindows(thread, [](HWND hWnd, LPARAM) -> BOOL {
        ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }, 0);
    });
  }
  ~DialogDriver() {
    ::KillTimer(nullptr, m_timer);
    ::SetEvent(m_stop);
    m_watchdog.join();
    ::CloseHandle(m_stop);
  }
  static bool Done() { return s_done; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (s_done) return;
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hWnd, LPARAM found) -> BOOL {
      wchar_t cls[32] = {};
      ::GetClassNameW(hWnd, cls, 32);
      if (wcscmp(cls, L"#32770") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
      *reinterpret_cast<HWND*>(found) = hWnd;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    s_done = true;
    s_action(dialog);
  }

  static std::function<void(HWND)> s_action;
  static bool s_done;
  UINT_PTR m_timer;
  HANDLE m_stop;
  std::thread m_watchdog;
};
std::function<void(HWND)> DialogDriver::s_action;
bool DialogDriver::s_done = false;

std::wstring ControlText(HWND dialog, UINT message, WPARAM wParam = 0) {
  wchar_t buf[1024] = {};
  ::SendMessageW(dialog, message, wParam ? wParam : 1024, reinterpret_cast<LPARAM>(buf));
  return buf;
}

TEST(FileDialogExTest, SaveDialogShowsTheProposedNameMadeSafe) {
  qlrtest::TempDir dir;
  CFileDialogEx dialog(FALSE, L"txt", L"5 * 3: a/b\\c?\"<>|", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       L"Text (*.txt)|*.txt||", nullptr, L"Export the phrase", dir.Path().c_str());
  std::wstring shown, title;
  DialogDriver driver([&](HWND d) {
    shown = ControlText(d, CDM_GETSPEC);
    wchar_t buf[256] = {};
    ::GetWindowTextW(d, buf, 256);
    title = buf;
    ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  ASSERT_TRUE(DialogDriver::Done()) << "the dialog never showed";
  EXPECT_EQ(L"5 _ 3_ a_b_c_____", shown);
  EXPECT_EQ(L"Export the phrase", title);
  EXPECT_EQ(sizeof(OPENFILENAMEW), dialog.m_ofn.lStructSize);
  // It opened in the initial folder and reports it.
  EXPECT_EQ(dir.Path() + L"\\", dialog.GetFolderPath());
}

TEST(FileDialogExTest, AMultipleSelectionOfThreeHundredFilesComesBackWhole) {
  qlrtest::TempDir dir;
  std::wstring names;
  std::vector<std::wstring> expected;
  for (int i = 0; i < 300; ++i) {
    wchar_t name[64];
    swprintf(name, 64, L"imported phrase %03d.txt", i);
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(name), "x"));
    names += L"\"" + std::wstring(name) + L"\" ";
    expected.push_back(dir.File(name));
  }
  CFileDialogEx dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       L"Text (*.txt)|*.txt||", nullptr, nullptr, dir.Path().c_str());
  DialogDriver driver([&](HWND d) {
    // The file name field (a combo box on newer dialogs, an edit on older).
    if (!::SendMessageW(d, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(names.c_str())))
      ::SendMessageW(d, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(names.c_str()));
    ::PostMessageW(d, WM_COMMAND, IDOK, 0);
  });
  ASSERT_EQ(IDOK, dialog.DoModal());
  ASSERT_TRUE(DialogDriver::Done());
  std::vector<std::wstring> chosen;
  for (POSITION pos = dialog.GetStartPosition(); pos && chosen.size() < 400;)
    chosen.push_back(dialog.GetNextPathName(pos).Str());
  ASSERT_EQ(300u, chosen.size());
  std::sort(chosen.begin(), chosen.end());
  for (size_t i = 0; i < chosen.size(); ++i)
    EXPECT_EQ(::CompareStringOrdinal(expected[i].c_str(), -1, chosen[i].c_str(), -1, TRUE), CSTR_EQUAL)
        << chosen[i];
  EXPECT_EQ(::CompareStringOrdinal((dir.Path() + L"\\").c_str(), -1, dialog.GetFolderPath().c_str(), -1,
                                   TRUE),
            CSTR_EQUAL)
      << dialog.GetFolderPath();
}

// The text of the selected folder in the browser's tree.
std::wstring SelectedTreeText(HWND dialog) {
  HWND tree = nullptr;
  ::EnumChildWindows(dialog, [](HWND child, LPARAM found) -> BOOL {
    wchar_t cls[32] = {};
    ::GetClassNameW(child, cls, 32);
    if (wcscmp(cls, WC_TREEVIEWW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&tree));
  if (!tree) return L"(no tree)";
  TVITEMW item = {};
  wchar_t text[MAX_PATH] = {};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (!item.hItem || !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"";
  return text;
}

TEST(BrowseForFolderTest, OpensAtTheStartFolder) {
  qlrtest::TempDir dir;
  std::wstring start = dir.File(L"start here");
  ASSERT_TRUE(::CreateDirectoryW(start.c_str(), nullptr));
  std::wstring selected;
  DialogDriver driver([&selected](HWND d) {
    selected = SelectedTreeText(d);
    ::PostMessageW(d, WM_COMMAND, IDOK, 0);
  });
  std::wstring chosen = BrowseForFolder(nullptr, L"Choose the phrase folder", start + L"\\", true, false);
  ASSERT_TRUE(DialogDriver::Done()) << "the browser never showed";
  EXPECT_EQ(L"start here", selected);
  EXPECT_EQ(::CompareStringOrdinal(start.c_str(), -1, chosen.c_str(), -1, TRUE), CSTR_EQUAL) << chosen;

  DialogDriver cancel([](HWND d) { ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(L"", BrowseForFolder(nullptr, L"Choose", start, false, true));
}

}  // namespace
