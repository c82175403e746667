#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"

namespace {

// A filter as the dialog takes it, with "|" for each NUL so cases read.
std::wstring Shown(const std::wstring& filter) {
  std::wstring shown = filter;
  for (wchar_t& c : shown)
    if (c == L'\0') c = L'|';
  return shown;
}

TEST(FileDialogTest, FilterPipesBecomePairsClosedByTwoNuls) {
  struct {
    const wchar_t* filter;
    const wchar_t* expected;  // "|" for each NUL
  } cases[] = {
      {L"Zip archives (*.zip)|*.zip|All Files (*.*)|*.*||", L"Zip archives (*.zip)|*.zip|All Files (*.*)|*.*||"},
      {L"A|*.a|B|*.b", L"A|*.a|B|*.b||"},              // no closing "||"
      {L"A|*.a|", L"A|*.a||"},                          // a single closing "|"
      {L"A|*.a|B", L"A|*.a||"},                         // a description without its pattern
      {L"A|*.a||B|*.b||", L"A|*.a||"},                  // "||" ends the list
      {L"|*.a|B|*.b", L"B|*.b||"},                      // an empty description
      {L"A||", L""},
      {L"|", L""},
      {L"||", L""},
      {L"", L""},
      {nullptr, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Shown(AfxFilterFromPipes(c.filter)), c.expected) << (c.filter ? c.filter : L"(null)");
  }

  // The dialog's structure: no filter at all when nothing is left.
  CFileDialog none(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, L"|");
  EXPECT_EQ(none.m_ofn.lpstrFilter, nullptr);
  EXPECT_EQ(none.m_ofn.nFilterIndex, 0u);
  CFileDialog import(TRUE, L"txt", L"name", OFN_ALLOWMULTISELECT,
                     L"All Formats (*.txt,*.rtf,*.quillora)|*.txt;*.rtf;*.quillora|Quillora Phrases "
                     L"(*.quillora)|*.quillora|Text Files (*.txt)|*.txt|RTF Documents (*.rtf)|*.rtf|All Files "
                     L"(*.*)|*.*||");
  ASSERT_NE(import.m_ofn.lpstrFilter, nullptr);
  int strings = 0;
  for (const wchar_t* p = import.m_ofn.lpstrFilter; *p; p += wcslen(p) + 1) ++strings;
  EXPECT_EQ(strings, 10);
  EXPECT_EQ(import.m_ofn.nFilterIndex, 1u);
  EXPECT_EQ(std::wstring(import.m_ofn.lpstrDefExt), L"txt");
  EXPECT_EQ(import.GetPathName(), CString(L"name"));
  EXPECT_TRUE(import.m_ofn.Flags & OFN_EXPLORER);
  EXPECT_TRUE(import.m_ofn.Flags & OFN_ENABLEHOOK);
}

std::vector<std::wstring> Walk(const wchar_t* content, size_t contentLength, size_t nMaxFile, DWORD flags) {
  // The buffer goes on behind nMaxFile with text the walk must not reach.
  std::vector<wchar_t> buffer(content, content + contentLength);
  buffer.resize(nMaxFile, L'\0');
  const std::wstring beyond = L"beyond.txt";
  buffer.insert(buffer.end(), beyond.begin(), beyond.end());
  buffer.push_back(L'\0');
  buffer.push_back(L'\0');
  CFileDialog dialog(TRUE, nullptr, nullptr, flags);
  dialog.m_ofn.lpstrFile = buffer.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(nMaxFile);
  std::vector<std::wstring> paths;
  for (POSITION pos = dialog.GetStartPosition(); pos && paths.size() < 10;)
    paths.push_back(dialog.GetNextPathName(pos).Str());
  return paths;
}

TEST(FileDialogTest, MultipleSelectionWalkStopsAtTheBufferEnd) {
  typedef std::vector<std::wstring> Paths;
  const DWORD multi = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  struct {
    const char* name;
    std::wstring content;
    size_t nMaxFile;  // 0: the content's length
    DWORD flags;
    Paths expected;
  } cases[] = {
      {"two files", std::wstring(L"C:\\dir\0a.txt\0b.txt\0\0", 21), 0, multi, {L"C:\\dir\\a.txt", L"C:\\dir\\b.txt"}},
      {"no double terminator", std::wstring(L"C:\\dir\0a.txt\0b.txt\0", 20), 0, multi,
       {L"C:\\dir\\a.txt", L"C:\\dir\\b.txt"}},
      {"last name cut", std::wstring(L"C:\\dir\0a.txt\0b.t", 16), 0, multi, {L"C:\\dir\\a.txt"}},
      {"only name cut", std::wstring(L"C:\\dir\0a.t", 10), 0, multi, {}},
      {"root folder", std::wstring(L"C:\\\0a.txt\0\0", 11), 0, multi, {L"C:\\a.txt"}},
      {"one file", std::wstring(L"C:\\dir\\one.txt\0\0", 16), 0, multi, {L"C:\\dir\\one.txt"}},
      {"one file at the end", std::wstring(L"C:\\dir\\one.txt\0", 15), 0, multi, {L"C:\\dir\\one.txt"}},
      {"path cut", std::wstring(L"C:\\dir\\one", 10), 0, multi, {}},
      {"empty", std::wstring(L"\0\0", 2), 0, multi, {}},
      {"room behind the names", std::wstring(L"C:\\d\0x\0", 7), 40, multi, {L"C:\\d\\x"}},
      {"single selection", std::wstring(L"C:\\dir\\x.txt\0old\0\0", 18), 0, OFN_EXPLORER, {L"C:\\dir\\x.txt"}},
  };
  for (const auto& c : cases) {
    size_t size = c.nMaxFile ? c.nMaxFile : c.content.size();
    EXPECT_EQ(Walk(c.content.data(), c.content.size(), size, c.flags), c.expected) << c.name;
  }

  // The path is bounded the same way: only the first five characters are
  // the dialog's, and a position behind them is refused.
  wchar_t cut[16] = {L'C', L':', L'\\', L'x', L'y', L'\0', L'a', L'\0'};
  CFileDialog dialog(TRUE);
  dialog.m_ofn.lpstrFile = cut;
  dialog.m_ofn.nMaxFile = 5;
  EXPECT_EQ(dialog.GetPathName(), CString());
  POSITION stale = reinterpret_cast<POSITION>(cut + 6);
  EXPECT_EQ(dialog.GetNextPathName(stale), CString());
  EXPECT_EQ(stale, nullptr);
}

// The real dialog: the hook gives the object the dialog window while it
// runs, and the object lets go of it when the dialog ends.
class CProbeDialog : public CFileDialog {
 public:
  CProbeDialog() : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, L"Text (*.txt)|*.txt||") {}
  int m_inits = 0;
  int m_folderChanges = 0;
  HWND m_dialog = nullptr;
  CString m_title;
  std::wstring m_folder;

 protected:
  BOOL OnInitDialog() override {
    ++m_inits;
    m_dialog = m_hWnd;
    SetWindowText(L"Probe title");
    m_title = GetWindowTextString();
    ::PostMessageW(m_hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }
  void OnFolderChange() override {
    ++m_folderChanges;
    wchar_t folder[MAX_PATH] = {};
    if (m_hWnd && ::SendMessageW(m_hWnd, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0)
      m_folder = folder;
  }
};

TEST(FileDialogTest, HookGivesTheObjectTheDialogWhileItRuns) {
  qlrtest::TempDir folder;
  // Should the hook never run, the dialog is closed rather than left open.
  DWORD thread = ::GetCurrentThreadId();
  HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread watchdog([thread, stop] {
    if (::WaitForSingleObject(stop, 20000) != WAIT_TIMEOUT) return;
    ::EnumThreadWindows(thread, [](HWND hWnd, LPARAM) -> BOOL {
      ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }, 0);
  });
  CProbeDialog dialog;
  dialog.m_ofn.lpstrInitialDir = folder.Path().c_str();
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ::SetEvent(stop);
  watchdog.join();
  ::CloseHandle(stop);
  EXPECT_EQ(dialog.m_inits, 1);
  EXPECT_EQ(dialog.m_title, CString(L"Probe title"));
  EXPECT_NE(dialog.m_dialog, nullptr);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(dialog.m_dialog), nullptr);
  // The dialog reports the folder it opens in, read through the object.
  EXPECT_GE(dialog.m_folderChanges, 1);
  std::wstring expected = folder.Path();
  std::wstring seen = dialog.m_folder;
  if (!seen.empty() && seen.back() == L'\\') seen.pop_back();
  EXPECT_EQ(::CompareStringOrdinal(seen.c_str(), -1, expected.c_str(), -1, TRUE), CSTR_EQUAL) << seen;
}

}  // namespace
