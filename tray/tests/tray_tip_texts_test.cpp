// The tray menu's tooltip texts: the texts built from the program's state,
// and the tooltip object over a real clipboard history and real settings.
#include "tray/menu/tray_tip_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/localization/language_files.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/store/history_item.h"
#include "phrases/macros/macro_dates.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"
#include "tray/menu/tray_menu_tooltip.h"

namespace {

std::unique_ptr<CCHItem> TextItem(const std::wstring& text) {
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  item->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * sizeof(wchar_t)));
  return item;
}

bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(TrayTipTextsTest, HistoryEntriesShowLengthKindAndACutText) {
  std::wstring long400(400, L'x');
  auto item = TextItem(long400 + L"\r\n\t");
  std::wstring tip = HistoryEntryTipText(item.get());
  EXPECT_TRUE(Has(tip, L"Put the history item into clipboard\r\n")) << qlrtest::ToUtf8(tip);
  // The length counts the whole text, trailing breaks included.
  EXPECT_TRUE(Has(tip, L"Text Length: [403]"));
  EXPECT_TRUE(Has(tip, L"Data Format: Plain Text"));
  EXPECT_TRUE(Has(tip, L"Copied From: I unknow"));
  EXPECT_TRUE(Has(tip, L"\r\n\r\n" + std::wstring(150, L'x') + L"\r\n...\r\n\r\n \u00AB  You can save this item"));
  EXPECT_FALSE(Has(tip, std::wstring(151, L'x')));

  auto shortItem = TextItem(L"short text\r\n");
  tip = HistoryEntryTipText(shortItem.get());
  EXPECT_TRUE(Has(tip, L"\r\n\r\nshort text\r\n\r\n \u00AB  "));
  EXPECT_FALSE(Has(tip, L"..."));

  auto bitmap = std::make_unique<CCHItem>(kHistoryKindBitmap);
  tip = HistoryEntryTipText(bitmap.get());
  EXPECT_TRUE(Has(tip, L"Data Format: OOOPS! Unknow format"));
  EXPECT_TRUE(Has(tip, L"Ooops! Other data format"));

  tip = HistoryEntryTipText(nullptr);
  EXPECT_TRUE(Has(tip, L"Ooops! Epirsh"));
  EXPECT_TRUE(Has(tip, L"Text Length: [13]"));

  // A cut does not split a surrogate pair.
  std::wstring pairs;
  for (int i = 0; i < 100; ++i) pairs += L"a\U0001F600";
  auto emoji = TextItem(pairs.substr(1));
  tip = HistoryEntryTipText(emoji.get());
  size_t cut = tip.find(L"\r\n...");
  ASSERT_NE(cut, std::wstring::npos);
  EXPECT_FALSE(IS_HIGH_SURROGATE(tip[cut - 1]));
}

TEST(TrayTipTextsTest, CheckForUpdatesShowsLastAndNextCheck) {
  UpdateTipFacts facts;
  facts.hasLastCheck = true;
  facts.lastCheckLocal = {2026, 3, 0, 30, 10, 0, 0, 0};
  facts.automatic = true;
  facts.days = 5;
  std::wstring tip = CheckForUpdatesTipText(L"Look for a new version", facts);
  const std::wstring last = FormatDateTimeText(facts.lastCheckLocal);
  SYSTEMTIME next = {2026, 4, 0, 4, 10, 0, 0, 0};
  EXPECT_EQ(tip, L"Look for a new version\r\n\r\n   Last Check For Updates: " + last +
                     L"\r\n   Check for updates automatically: Turn on\r\n   Check every days: 5 (days)"
                     L"\r\n   Next Check: " + FormatDateTimeText(next));
  SYSTEMTIME added = AddDays(facts.lastCheckLocal, 5);
  EXPECT_EQ(added.wMonth, 4);
  EXPECT_EQ(added.wDay, 4);
  facts.automatic = false;
  tip = CheckForUpdatesTipText(L"T", facts);
  EXPECT_TRUE(Has(tip, L"automatically: Turn off"));
  EXPECT_FALSE(Has(tip, L"Next Check"));
  EXPECT_FALSE(Has(tip, L"Check every days"));
}

TEST(TrayTipTextsTest, KeepShowsMaxConnectionMethodAndSequence) {
  KeepTipFacts facts;
  facts.historyMax = 30;
  facts.connectionState = 1;
  facts.connectionText = L"no listener";
  facts.handlerState = 2;
  facts.sequenceNumber = 77;
  facts.historyAtStartup = false;
  facts.editCommandText = L"Edit Phrases\\Settings";
  EXPECT_EQ(KeepTipText(L"Keep", facts),
            L"Keep [max = 30]\nConnection Error!!!\nno listener\nMethod: using AddClipboardListener"
            L"\nGetClipboardSequenceNumber: 77\nClipboard history at startup: TURN OFF"
            L"\nTo change the default settings, choose the menu command \"Edit Phrases\\Settings\"");
  facts.connectionText.clear();
  EXPECT_TRUE(Has(KeepTipText(L"Keep", facts), L"]\nConnection Error!!!\nMethod: "));
  facts.connectionState = 2;
  EXPECT_TRUE(Has(KeepTipText(L"Keep", facts), L"]\nNo\nMethod: "));
  facts.connectionState = 0;
  facts.historyAtStartup = true;
  std::wstring tip = KeepTipText(L"Keep", facts);
  EXPECT_TRUE(Has(tip, L"[max = 30]\nMethod: "));
  EXPECT_TRUE(Has(tip, L"startup: Turn on"));
  const wchar_t* methods[] = {L"no try install service of clipboard history", L"using unknow method",
                              L"using AddClipboardListener", L"using SetClipboardViewer"};
  for (int state = 0; state < 4; ++state) EXPECT_EQ(CaptureMethodText(state), methods[state]);
  EXPECT_EQ(CaptureMethodText(9), L"using unknow method");
}

TEST(TrayTipTextsTest, InformationBlockListsTheSettingsLineByLine) {
  InfoBlockFacts facts;
  facts.hotkey = L"CTRL+ALT+ENTER";
  facts.phraseFolder = L"C:\\Phrases\\";
  facts.defaultFolder = true;
  facts.admin = false;
  facts.menuToolTips = true;
  facts.logOn = true;
  facts.logPath = std::wstring(300, L'p') + L"\\LogReport.txt";
  facts.delayInsertMs = 250;
  facts.textPasteMethod = 1;
  facts.handlerState = 3;
  facts.spyMethodSetting = -1;
  EXPECT_EQ(InformationBlockText(facts),
            L"Hot key: CTRL+ALT+ENTER\nFolder: C:\\Phrases\\, %DEFAULT_FOLDER%\nAdmin rights: NO"
            L"\nShow hint for menu with phrases: Turn on\nWrite Log File: Turn on\n" + facts.logPath +
                L"\nDelayInsert: 250 ms\nDirectlyPrintText: Turn off"
                L"\nClipboard Tracking Method used: using SetClipboardViewer"
                L"\nClipboard Tracking Method setting: Automatically (AddClipboardListener is available, or "
                L"SetClipboardViewer in other)");
  facts.defaultFolder = false;
  facts.admin = true;
  facts.logOn = false;
  facts.textPasteMethod = 0;
  facts.spyMethodSetting = 1;
  std::wstring block = InformationBlockText(facts);
  EXPECT_FALSE(Has(block, L"%DEFAULT_FOLDER%"));
  EXPECT_TRUE(Has(block, L"Admin rights: yes"));
  EXPECT_TRUE(Has(block, L"Write Log File: Turn off\nDelayInsert"));
  EXPECT_TRUE(Has(block, L"DirectlyPrintText: Turn on"));
  EXPECT_TRUE(Has(block, L"setting: AddClipboardListener (for Windows Vista or later)"));
  facts.spyMethodSetting = 0;
  EXPECT_TRUE(Has(InformationBlockText(facts), L"setting: SetClipboardViewer (for old version of Windows)"));
}

TEST(TrayTipTextsTest, AboutAndLanguageEntries) {
  std::wstring about = AboutTipText(L"About", L"Quillora 1.50 build 7", GetBuildDateText(), 4);
  EXPECT_EQ(about, L"About\n\n\tQuillora 1.50 build 7\n\tThis version released: " + GetBuildDateText() +
                       L"\n\tLog messages: 4");
  EXPECT_FALSE(GetBuildDateText().empty());

  qlrtest::TempDir dir;
  const std::wstring withAuthor = dir.File(L"German.lng");
  WritePrivateProfileStringW(L"Main", L"Author", L"Anna Autorin", withAuthor.c_str());
  EXPECT_EQ(LanguageEntryTipText(withAuthor),
            L"Choose this language for user interface of Quillora\r\n\r\nAnna Autorin\r\nGerman.lng");
  const std::wstring longAuthor = dir.File(L"Long.lng");
  WritePrivateProfileStringW(L"Main", L"Author", std::wstring(2000, L'a').c_str(), longAuthor.c_str());
  EXPECT_LE(LanguageEntryTipText(longAuthor).size(), 1200u);
  const std::wstring noAuthor = dir.File(L"Plain.lng");
  WritePrivateProfileStringW(L"Main", L"LangPrefix", L"pl", noAuthor.c_str());
  EXPECT_EQ(LanguageEntryTipText(noAuthor), L"Choose this language for user interface of Quillora");
  EXPECT_EQ(LanguageEntryTipText(dir.File(L"Missing.lng")), L"Choose this language for user interface of Quillora");
  EXPECT_EQ(LanguageEntryTipText(L""), L"Choose this language for user interface of Quillora");
}

class TestTipSource : public ITrayTipSource {
 public:
  CQLRWndClipboardHandler* ClipboardHandler() override { return &handler; }
  bool CoreLibraryLoaded() override { return false; }
  void CountPhrases(int* enabled, int* total) override {
    *enabled = 3;
    *total = 5;
  }
  int LogMessageCount() override { return 2; }
  CQLRWndClipboardHandler handler;
};

class TrayMenuToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFolders(m_dir.Path(), m_dir.Path());
    GetSettings().Load();
  }
  void TearDown() override { SetSettingsFolders(L"", L""); }
  qlrtest::TempDir m_dir;
  std::vector<std::wstring> m_languages;
  TestTipSource m_source;
};

TEST_F(TrayMenuToolTipTest, EntriesAndCommandsGetTheirTexts) {
  CTrayMenuToolTip tip(m_languages, m_source);
  m_source.handler.Queue().Append(TextItem(L"older"));
  m_source.handler.Queue().Append(TextItem(L"newest"));
  std::wstring title;
  std::wstring text;
  ASSERT_TRUE(tip.GetItemText(text, 34000, nullptr, title));
  EXPECT_EQ(title, L"Clipboard History Item");
  EXPECT_TRUE(Has(text, L"\r\n\r\nnewest\r\n"));
  EXPECT_TRUE(Has(tip.TextOf(34001), L"\r\n\r\nolder\r\n"));
  EXPECT_TRUE(Has(tip.TextOf(34002), L"Ooops! Epirsh"));
  // The last id is no entry: only the command's tooltip.
  EXPECT_EQ(tip.TextOf(34099), GetCommandToolTip(34099));

  EXPECT_EQ(tip.TextOf(32786).substr(0, 44), L"Keep the clipboard history [max = 30]\nNo\nMet");
  tip.SetConnection(1, L"broken");
  EXPECT_TRUE(Has(tip.TextOf(32786), L"\nConnection Error!!!\nbroken\nMethod: "));
  tip.SetConnection(0, L"");
  EXPECT_FALSE(Has(tip.TextOf(32786), L"Connection Error"));
  EXPECT_TRUE(Has(tip.TextOf(32770), L"\nPhrases: [3/5]"));
  EXPECT_EQ(tip.TextOf(32816), L"Show menu on triple click by left button: Turn off");
  EXPECT_TRUE(Has(tip.TextOf(57664), L"\n\tLog messages: 2"));
  EXPECT_TRUE(Has(tip.TextOf(32772), L"Edit the phrases and the settings\n\nHot key: "));
  EXPECT_TRUE(Has(tip.TextOf(32792), L"Show or hide the clipboard history pane\r\n\r\n"));
  EXPECT_EQ(tip.GetTipWidth(), 400);
}

// The tip tells the days the schedule uses: the stored count clamped to 1..30.
TEST_F(TrayMenuToolTipTest, CheckForUpdatesTipTellsTheDaysInForce) {
  CTrayMenuToolTip tip(m_languages, m_source);
  GetSettings().autoCheckForUpdates = 1;
  const struct {
    int stored;
    const wchar_t* shown;
  } cases[] = {{0, L"1"}, {45, L"30"}, {7, L"7"}, {30, L"30"}};
  for (const auto& c : cases) {
    GetSettings().daysCheckForUpdates = c.stored;
    EXPECT_TRUE(Has(tip.TextOf(32791), std::wstring(L"Check every days: ") + c.shown + L" (days)")) << c.stored;
  }
}

TEST_F(TrayMenuToolTipTest, TheMenuTooltipSettingSilencesTipsOnlyWhenRespected) {
  CTrayMenuToolTip tip(m_languages, m_source);
  GetSettings().menuToolTips = 0;
  EXPECT_FALSE(tip.IsSysCommandId(32786));
  tip.SetRespectSetting(true);
  EXPECT_TRUE(tip.IsSysCommandId(32786));
  EXPECT_TRUE(tip.IsSysCommandId(34000));
  GetSettings().menuToolTips = 1;
  EXPECT_FALSE(tip.IsSysCommandId(32786));
  EXPECT_TRUE(tip.IsSysCommandId(SC_MOVE));
}

TEST_F(TrayMenuToolTipTest, LanguageEntriesNameTheirFilesAuthor) {
  m_languages = {L"", L"qlrtest_tips.lng"};
  const std::wstring file = GetLngFolder() + L"qlrtest_tips.lng";
  WritePrivateProfileStringW(L"Main", L"Author", L"Jan Autor", file.c_str());
  CTrayMenuToolTip tip(m_languages, m_source);
  EXPECT_EQ(tip.TextOf(33001),
            L"Choose this language for user interface of Quillora\r\n\r\nJan Autor\r\nqlrtest_tips.lng");
  EXPECT_EQ(tip.TextOf(33000), L"Choose this language for user interface of Quillora");
  EXPECT_EQ(tip.TextOf(33020), L"Choose this language for user interface of Quillora");
  DeleteFileW(file.c_str());
}

}  // namespace

namespace {

// The history pane's caption buttons show these texts as their tips.
TEST_F(TrayMenuToolTipTest, PaneButtonTipsAreTheTrayTexts) {
  CTrayMenuToolTip tip(m_languages, m_source);
  CQLRFloatPane pane(&tip, nullptr);
  ASSERT_TRUE(pane.Create(&m_source.handler, false, false));
  auto tipText = [&](UINT command) {
    wchar_t text[1024] = {};
    NMTBGETINFOTIPW info = {};
    info.hdr = {pane.Toolbar(), pane_ids::kToolbarId, static_cast<UINT>(TBN_GETINFOTIPW)};
    info.pszText = text;
    info.cchTextMax = 1024;
    info.iItem = static_cast<int>(command);
    SendMessageW(pane, WM_NOTIFY, pane_ids::kToolbarId, reinterpret_cast<LPARAM>(&info));
    return std::wstring(text);
  };
  const std::wstring keep = tip.TextOf(pane_ids::kKeep);
  EXPECT_EQ(tipText(pane_ids::kKeep), keep.substr(keep.find(L'\n') + 1));
  EXPECT_TRUE(Has(tipText(pane_ids::kKeep), L"Method: "));
  EXPECT_TRUE(Has(tipText(pane_ids::kEditPhrases), L"Hot key: "));
  // A tip of one line is all title.
  EXPECT_EQ(tipText(pane_ids::kCopy), L" ");
  EXPECT_EQ(tipText(pane_ids::kClose), L"");
  pane.DestroyWindow();
}

}  // namespace
