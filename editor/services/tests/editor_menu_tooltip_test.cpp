#include "editor/services/editor_menu_tooltip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/services/macro_menus.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "foundation/localization/language_files.h"
#include "foundation/logging/log.h"
#include "phrases/macros/macro_table.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kUseLanguage[] = L"Use this language for user interface";

UINT MacroItemId(const std::wstring& macro) {
  std::vector<std::wstring> names = GetMenuMacroNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == macro) return kMacroItemFirst + static_cast<UINT>(i);
  return 0;
}

// The first line of a command's prompt in the program's string table.
std::wstring Prompt(UINT id) {
  wchar_t text[512] = L"";
  LoadStringW(GetModuleHandleW(nullptr), id, text, 512);
  std::wstring prompt = text;
  return prompt.substr(0, prompt.find(L'\n'));
}

std::wstring Tip(CEditorMenuToolTip& tip, UINT id) {
  std::wstring text;
  tip.GetTipText(text, id);
  return text;
}

// A frame stand-in that keeps the last status text it was sent.
struct Frame {
  static std::wstring status;
  static int sends;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == GetFrameStatusTextMessage()) {
      status = reinterpret_cast<const wchar_t*>(lParam);
      ++sends;
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  HWND window = nullptr;
  Frame() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ServicesTipFrame";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
  }
  ~Frame() { DestroyWindow(window); }
};
std::wstring Frame::status;
int Frame::sends = 0;

TEST(EditorMenuToolTipTest, MacroItemsDescribeTheMacroAndItsValue) {
  CEditorMenuToolTip tip;
  ASSERT_TRUE(qlrtest::PutClipboardText(L"clip"));
  UINT id = MacroItemId(L"%CLIPBOARD_TEXT%");
  ASSERT_NE(id, 0u);
  EXPECT_EQ(Tip(tip, id), L"Text from clipboard\r\r  [clip]");
  EXPECT_EQ(Tip(tip, MacroItemId(L"%SELECTED_TEXT%")), L"Selected text in target application");
  // An item past the listed macros, or a macro without a description, has no tip.
  std::wstring text, title;
  const UINT pastTheList = kMacroItemFirst + static_cast<UINT>(GetMenuMacroNames().size());
  if (pastTheList <= kMacroItemLast) {
    EXPECT_FALSE(tip.GetItemText(text, pastTheList, nullptr, title));
  }
  for (const std::wstring& macro : GetMenuMacroNames()) {
    if (macro.rfind(kLayoutMacroPrefix, 0) != 0) continue;
    EXPECT_FALSE(tip.GetItemText(text, MacroItemId(macro), nullptr, title)) << macro.c_str();
    EXPECT_EQ(text, L"");
  }
  // Tips switched off: nothing.
  tip.SetDisabled(true);
  EXPECT_FALSE(tip.GetItemText(text, id, nullptr, title));
}

TEST(EditorMenuToolTipTest, RecentFolderLogFileAndClipboardTips) {
  CEditorMenuToolTip tip;
  CQLREditorSettings& settings = GetEditorSettings();
  settings.AddPrevFolder(L"C:\\Tip Phrases\\Recent");
  int index = -1;
  for (int i = 0; i < settings.GetPrevFoldersCount(); ++i)
    if (settings.GetPrevFolder(i) == L"C:\\Tip Phrases\\Recent") index = i;
  ASSERT_GE(index, 0);
  ASSERT_LT(index, 10);
  EXPECT_EQ(Tip(tip, kRecentFolderFirst + index), L"Choose folder with user phrases\n[C:\\Tip Phrases\\Recent]");

  EXPECT_EQ(Tip(tip, 32826), Prompt(32826) + L"\r\n \u00BB " + GetLogReportPath());
  EXPECT_EQ(Tip(tip, 32900), L"A plain command");

  ASSERT_TRUE(qlrtest::PutClipboardText(L"\r\n\tfirst line\r\nsecond line"));
  EXPECT_EQ(Tip(tip, 32775), Prompt(32775) + L"\r\n\r\n[first line...]");
  ASSERT_TRUE(qlrtest::PutClipboardText(std::wstring(1 << 20, L'm')));
  EXPECT_EQ(Tip(tip, 32775), Prompt(32775) + L"\r\n\r\n[" + std::wstring(kTipValueChars, L'm') + L"...]");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(Tip(tip, 32775), Prompt(32775));
}

TEST(EditorMenuToolTipTest, PasteTipCarriesTheExtraTextAndTellsTheStatusBar) {
  Frame frame;
  ASSERT_NE(frame.window, nullptr);
  CEditorMenuToolTip tip;
  ASSERT_TRUE(tip.Create(frame.window, L"Tip Text", nullptr, 0, nullptr));
  Frame::sends = 0;
  EXPECT_EQ(Tip(tip, 57637), Prompt(57637));
  EXPECT_EQ(Frame::sends, 0);

  tip.SetExtraText(L"Greeting\r\rDear Sir\nor Madam");
  EXPECT_EQ(Tip(tip, 57637), Prompt(57637) + L"\n\n Greeting\r\rDear Sir\nor Madam");
  EXPECT_EQ(Frame::sends, 1);
  EXPECT_EQ(Frame::status, Prompt(57637) + L"  Greeting Dear Sir or Madam");
  EXPECT_EQ(Frame::status.find_first_of(L"\r\n"), std::wstring::npos);
  tip.SetExtraText(L"");
  EXPECT_EQ(Tip(tip, 57637), Prompt(57637));
  tip.DestroyTip();
}

TEST(EditorMenuToolTipTest, LanguageItemsNameTheirFile) {
  const std::wstring name = L"services_tip_test.lng";
  const std::wstring path = GetLngFilePath(name.c_str());
  ASSERT_TRUE(qlrtest::WriteUtf16File(path, L"[Main]\r\nLangLocalized=Testish\r\nAuthor=Me\r\n"));
  std::vector<std::wstring> languages = {L"", name, L"missing_file.lng"};
  CEditorMenuToolTip tip;
  tip.SetLanguageListForTests(&languages);
  EXPECT_EQ(Tip(tip, kLanguageItemFirst + 1), std::wstring(kUseLanguage) + L"\r\n\r\nTestish\r\n" + name);
  EXPECT_EQ(Tip(tip, kLanguageItemFirst), kUseLanguage);
  EXPECT_EQ(Tip(tip, kLanguageItemFirst + 2), kUseLanguage);
  EXPECT_EQ(Tip(tip, kLanguageItemFirst + 20), kUseLanguage);
  EXPECT_EQ(Tip(tip, kLanguageItemLast), L"");  // the last id gets its prompt alone
  DeleteFileW(path.c_str());
}

TEST(EditorMenuToolTipTest, SystemCommandsHaveNoTipAndMacrosAnIcon) {
  CEditorMenuToolTip tip;
  for (UINT id : {1000u, 1050u, 1100u, static_cast<UINT>(SC_SIZE), static_cast<UINT>(SC_MINIMIZE),
                  static_cast<UINT>(SC_MAXIMIZE), static_cast<UINT>(SC_CLOSE), static_cast<UINT>(SC_RESTORE)})
    EXPECT_TRUE(tip.IsSysCommandId(id)) << id;
  for (UINT id : {999u, 1101u, 32775u, kMacroItemFirst}) EXPECT_FALSE(tip.IsSysCommandId(id)) << id;

  HICON icon = tip.GetTipIcon(kMacroItemFirst);
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(tip.GetTipIcon(kMacroItemLast), icon);
  EXPECT_EQ(tip.GetItemIcon(kMacroItemFirst + 3), icon);
  EXPECT_EQ(tip.GetTipIcon(32775), nullptr);
  EXPECT_EQ(tip.GetTipIcon(kRecentFolderFirst), nullptr);
}

}  // namespace
