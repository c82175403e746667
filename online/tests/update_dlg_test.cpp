// The update dialog in this process: its widgets read and changed through
// the view's own calls, its links, its buttons and what it saves.
#include "online/update_dlg/update_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/files/ini.h"
#include "foundation/system/shell_open.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::wstring> g_opened;

INT_PTR Record(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*, int) {
  g_opened.push_back(file ? file : L"");
  return kShellOpenRecordedResult;
}

BOOL CALLBACK TakeFirst(HELEMENT he, LPVOID param) {
  *static_cast<HELEMENT*>(param) = he;
  return TRUE;
}

class UpdateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFolders(dir.Path(), dir.File(L"Profile"));
    GetSettings().autoCheckForUpdates = 1;
    GetSettings().SetDaysCheckForUpdates(5);
    GetSettings().soundOnEvents = 0;
    g_opened.clear();
    SetShellOpenHookForTests(Record);
    record.versionText = L"9.90 build 1";
    record.offeredVersion = {9, 9, 0, 1};
    record.downloadUrl = L"http://dl.example/setup.exe";
    CNewsItem item;
    item.title = L"Local file";
    item.link = L"file:///c:/windows/notepad.exe";
    record.news = {item};
  }
  void TearDown() override {
    if (dialog && IsWindow(dialog->m_hWnd)) DestroyWindow(dialog->m_hWnd);
    delete dialog;
    SetShellOpenHookForTests(nullptr);
    SetSettingsFolders(L"", L"");
  }
  HWND Open() {
    dialog = new CQLRUpdateDlg(&record);
    HWND window = dialog->Create(nullptr);
    // The view lays the page out, and places its widgets, when it paints.
    if (window) ShowWindow(window, SW_SHOWNA);
    if (window) UpdateWindow(window);
    return window;
  }
  HELEMENT Find(const char* attribute, const wchar_t* value) {
    HELEMENT root = nullptr, found = nullptr;
    HTMLayoutGetRootElement(dialog->GetViewWindow(), &root);
    HTMLayoutVisitElements(root, nullptr, attribute, value, TakeFirst, &found, 0);
    return found;
  }
  UINT State(const wchar_t* id) {
    UINT state = 0;
    HTMLayoutGetElementState(Find("id", id), &state);
    return state;
  }
  std::wstring Source() {
    HWND view = dialog->GetViewWindow();
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(view)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(view, &text[0], static_cast<int>(text.size()))));
    return text;
  }
  // The start tag of the element with the id, as the view writes it.
  std::wstring Tag(const wchar_t* id) {
    std::wstring source = Source();
    size_t at = source.find(std::wstring(L"id=\"") + id + L"\"");
    if (at == std::wstring::npos) return L"";
    size_t open = source.rfind(L'<', at);
    return source.substr(open, source.find(L'>', at) - open + 1);
  }
  bool Click(const wchar_t* href) {
    BEHAVIOR_EVENT_PARAMS params = {HYPERLINK_CLICK | SINKING, Find("href", href), nullptr, 0};
    params.he = params.heTarget;
    return dialog->HandleBehaviorEvent(params.he, params);
  }

  qlrtest::TempDir dir;
  CUpdateInfo record;
  CQLRUpdateDlg* dialog = nullptr;
};

TEST_F(UpdateDialogTest, TheCheckboxGreysOutTheDaysAndRestoresThem) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  HWND view = dialog->GetViewWindow();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(GetDlgItem(window, IDC_UPDATE_VIEW_PLACE), view);  // the placeholder gave way
  EXPECT_TRUE(GetWindowLongPtrW(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetUpdateDlgWindow(), window);

  ASSERT_TRUE(State(L"CFUAutoCheck") & STATE_CHECKED);
  EXPECT_NE(Tag(L"CFUAutoCheck").find(L"style=\"color:green\""), std::wstring::npos) << Tag(L"CFUAutoCheck");
  EXPECT_FALSE(State(L"CFUDaysNumber") & STATE_DISABLED);
  EXPECT_EQ(Tag(L"cfu_days_text").find(L"style="), std::wstring::npos);

  HWND box = FindWindowExW(view, nullptr, L"Button", nullptr);
  ASSERT_NE(box, nullptr);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_FALSE(State(L"CFUAutoCheck") & STATE_CHECKED);
  EXPECT_NE(Tag(L"CFUAutoCheck").find(L"style=\"color:red\""), std::wstring::npos) << Tag(L"CFUAutoCheck");
  EXPECT_TRUE(State(L"CFUDaysNumber") & STATE_DISABLED);
  EXPECT_NE(Tag(L"cfu_days_text").find(L"style=\"color:gray;text-decoration:line-through\""), std::wstring::npos)
      << Tag(L"cfu_days_text");

  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_TRUE(State(L"CFUAutoCheck") & STATE_CHECKED);
  EXPECT_NE(Tag(L"CFUAutoCheck").find(L"style=\"color:green\""), std::wstring::npos);
  EXPECT_FALSE(State(L"CFUDaysNumber") & STATE_DISABLED);
  EXPECT_EQ(Tag(L"cfu_days_text").find(L"style="), std::wstring::npos) << Tag(L"cfu_days_text");
}

TEST_F(UpdateDialogTest, ClosingSavesBothWidgetsAndClearsTheOpenDialog) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  SendMessageW(FindWindowExW(dialog->GetViewWindow(), nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
  HWND days = FindWindowExW(dialog->GetViewWindow(), nullptr, L"Edit", nullptr);
  ASSERT_NE(days, nullptr);
  SetWindowTextW(days, L"12");
  DestroyWindow(window);
  EXPECT_EQ(GetUpdateDlgWindow(), nullptr);
  EXPECT_EQ(GetSettings().autoCheckForUpdates, 0);
  EXPECT_EQ(GetSettings().GetDaysCheckForUpdates(), 12);
  std::wstring ini = dir.File(L"Settings.ini");
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"AutoCheckForUpdates", -1, ini.c_str()), 0);
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"DaysCheckForUpdates", -1, ini.c_str()), 12);
}

TEST_F(UpdateDialogTest, OnlyWebAndMailLinksGoToTheShell) {
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(Click(L"http://dl.example/setup.exe"));
  EXPECT_TRUE(Click(L"file:///c:/windows/notepad.exe"));  // handled: the view opens nothing either
  EXPECT_FALSE(Click(L"#latest_news"));                   // the view scrolls
  ASSERT_EQ(g_opened.size(), 1u);
  EXPECT_EQ(g_opened[0], L"http://dl.example/setup.exe");
}

TEST_F(UpdateDialogTest, SkipIsOffOnlyWithoutAnOfferedVersion) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_UPDATE_SKIP)));
  DestroyWindow(window);
  delete dialog;
  dialog = nullptr;

  record = CUpdateInfo();
  record.errorText = L"ERROR: Cannot load information from official web-site";
  window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_UPDATE_SKIP)));
  EXPECT_NE(Source().find(L"ERROR: Cannot load information from official web-site"), std::wstring::npos);
  EXPECT_EQ(Source().find(L"You use the latest version"), std::wstring::npos);
}

}  // namespace
