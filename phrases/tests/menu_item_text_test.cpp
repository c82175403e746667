#include "phrases/menu/menu_item_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/ui/icons.h"
#include "foundation/ui/rich_edit_convert.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_last_used.h"
#include "phrases/menu/menu_macros.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/macro_test_util.h"
#include "phrases/tests/menu_test_util.h"
#include "tests/support/test_support.h"

using namespace menutest;

namespace {

TEST(MenuItemTextTest, Captions) {
  FakeMacros macros;
  CMenuTextInputs inputs;
  inputs.selectedText = L"the selection";
  inputs.clipboardText = L"clip\r\nboard";
  inputs.macros = &macros;
  struct Case {
    const wchar_t* name;
    const wchar_t* text;
    std::uint32_t type;
    bool titleOnly;
    const wchar_t* caption;
    int marker;
  } cases[] = {
      {L"Date", L"Today %DATE%", kDataTypeText, false, L"Today 08.12.2026", -1},
      {L"Date title", L"Today %DATE%", kDataTypeText, true, L"Date title", -1},
      {L"First line\r\nsecond line", L"%DATE%", kDataTypeText, true, L"First line", -1},
      {L"Plain", L"no macros here", kDataTypeText, false, L"Plain", -1},
      {L"Quote", L"> %SELECTED_TEXT%", kDataTypeText, false, L"> the selection", -1},
      {L"Sel", L"%SELECTED_TEXT% and %CLIPBOARD_TEXT%", kDataTypeExec, false,
       L"Sel [the selection] [clip board]", -1},
      {L"Lines", L"a\r\nb\nc\rd\te %DATE%", kDataTypeText, false, L"a\u00B6b\u00B6c\u00B6d e 08.12.2026", -1},
      {L"Caret", L"Dear %CURSOR_POS%, %DATE%", kDataTypeText, false, L"Dear , 08.12.2026", 5},
      {L"Caret macro", L"abc%CARET%de%DATE%", kDataTypeText, false, L"abcde08.12.2026", 3},
      {L"Empty", L"%SELECTED_TEXT%", kDataTypeText, false, L"the selection", -1},
      {L"A name that is much longer than forty characters for sure", L"x", kDataTypeText, false,
       L"A name that is much\u2026characters for sure", -1},
      // A title keeps its head and tail, and only a line break ends it.
      {L"  Dear customer, thank you for writing to us about the order\r\nsecond line", L"%DATE%",
       kDataTypeText, true, L"Dear customer,\u2026us about the order", -1},
      {L"Tab\tin the name", L"%DATE%", kDataTypeText, true, L"Tab\tin the name", -1},
  };
  for (const Case& c : cases) {
    CPhraseNode node = Phrase(1, c.name, c.text, c.type);
    node.useTitleOnly = c.titleOnly;
    int marker = 7;
    std::wstring caption = BuildPhraseCaption(node, inputs, &marker);
    EXPECT_EQ(c.caption, caption) << c.name;
    EXPECT_EQ(c.marker, marker) << c.name;
    EXPECT_EQ(std::wstring::npos, caption.find(kCaretMarker)) << c.name;
  }
  // A preview that expands to nothing falls back to the title.
  inputs.selectedText.clear();
  CPhraseNode empty = Phrase(1, L"Fallback", L"%SELECTED_TEXT%", kDataTypeText);
  int marker = 0;
  EXPECT_EQ(L"Fallback", BuildPhraseCaption(empty, inputs, &marker));
  CPhraseNode nothing = Phrase(1, L"  Fallback title  ", L"%DATE%", kDataTypeText);
  nothing.data = L"%SELECTED_TEXT%%CLIPBOARD_TEXT%";
  nothing.useTitleOnly = false;
  inputs.clipboardText.clear();
  EXPECT_EQ(0u, BuildPhraseCaption(nothing, inputs, &marker).find(L"Fallback title"));
}

TEST(MenuItemTextTest, ToolTipsAndHints) {
  FakeMacros macros;
  CMenuTextInputs inputs;
  inputs.selectedText = L"SEL";
  inputs.macros = &macros;
  CPhraseNode node = Phrase(1, L"Greeting", L"Hi %SELECTED_TEXT%!%LAYOUT_RU%");
  std::wstring expanded;
  std::wstring tip = BuildPhraseToolTip(node, L"Greeting", inputs, &expanded);
  EXPECT_EQ(L"Hi SEL!", expanded);
  EXPECT_EQ(0u, tip.find(L"Insert plain text \u00BB Greeting\nChars: 7\r\n\r\nHi SEL!\r\n+ Activate keyboard layout   "));
  EXPECT_EQ(L"+RU", BuildLayoutHint(0x0419));
  EXPECT_EQ(L"+EN", BuildLayoutHint(0x0409));
  EXPECT_EQ(L"", BuildLayoutHint(0));

  CPhraseNode exec = Phrase(2, L"Run", L"notepad.exe", kDataTypeExec);
  EXPECT_EQ(L"Execute application \u00BB Run\r\n\r\nnotepad.exe", BuildPhraseToolTip(exec, L"Run", inputs, &expanded));
  CPhraseNode nothing = Phrase(3, L"Nothing", L"");
  EXPECT_EQ(L"Insert plain text \u00BB Nothing", BuildPhraseToolTip(nothing, L"Nothing", inputs, &expanded));
  // Without a macro engine the macros that only need the request's texts
  // are still filled in.
  inputs.macros = nullptr;
  BuildPhraseToolTip(node, L"Greeting", inputs, &expanded);
  EXPECT_EQ(L"Hi SEL!%LAYOUT_RU%", expanded);
  EXPECT_EQ(L"", GetDataTypeWord(7));
}

TEST(MenuItemDataTest, TextLimitsAndTooltips) {
  CMenuItemData data;
  EXPECT_EQ(nullptr, data.GetCaption());
  EXPECT_EQ(nullptr, data.GetHint());
  std::wstring longText(300, L'x');
  EXPECT_TRUE(data.SetCaption(longText.c_str()));
  EXPECT_EQ(255u, wcslen(data.GetCaption()));
  EXPECT_TRUE(data.SetCaption(L""));  // sets nothing
  EXPECT_EQ(255u, wcslen(data.GetCaption()));
  EXPECT_TRUE(data.SetCaption(nullptr));
  EXPECT_FALSE(data.SetCaption(data.GetCaption() + 10));  // a source inside the field
  EXPECT_TRUE(data.SetHint(L"+RU"));
  EXPECT_STREQ(L"+RU", data.GetHint());
  data.SetToolTip(L"", true);
  EXPECT_EQ(L"", data.GetToolTip());
  data.SetToolTip(L"tip", false);
  EXPECT_EQ(L"tip", data.GetToolTip());
  data.SetToolTip(L"tip", true);
  EXPECT_EQ(L"tip\n\n        right click on item for extended menu", data.GetToolTip());

  struct Case {
    const wchar_t* expanded;
    const wchar_t* shortText;
  } cases[] = {
      {L"  \r\n\tline one\r\nline two\n\nthree\rfour\n ", L"line one line two three four"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    data.expandedText = c.expanded;
    EXPECT_EQ(c.shortText, data.GetShortExpandedText());
  }
  data.expandedText = std::wstring(80, L'a');
  EXPECT_EQ(std::wstring(70, L'a') + L"\u2026", data.GetShortExpandedText());
}

TEST(MenuItemDataTest, IconKindsResourcesAndFonts) {
  struct Case {
    std::uint32_t type;
    const wchar_t* command;
    int kind;
    UINT resource;
  } cases[] = {
      {kDataTypeText, L"http://x", 0, 0},
      {kDataTypeRtf, L"google", 1, 223},
      {kDataTypeExec, L"notepad.exe", 2, 204},
      {kDataTypeExec, L"http://www.google.com/search?q=%s", 3, 230},
      {kDataTypeExec, L"https://yandex.ru/?text=", 4, 231},
      {kDataTypeExec, L"https://example.org", 5, 234},
      {kDataTypeExec, L"Http://example.org", 5, 234},
      {kDataTypeExec, L"www.example.org", 5, 234},
      {kDataTypeExec, L"open www.example.org", 2, 204},
      {kDataTypeExec, nullptr, 2, 204},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.kind, GetMenuIconKind(c.type, c.command)) << (c.command ? c.command : L"null");
    EXPECT_EQ(c.resource, GetMenuIconResource(c.kind));
  }
  // Every icon the menu names is in the resources, at 16 by 16.
  for (UINT id : {204u, 223u, 230u, 231u, 234u, 239u, 240u}) {
    HICON icon = LoadIconSize(GetModuleHandleW(nullptr), id, 16);
    ASSERT_TRUE(icon) << id;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectW(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(16, bm.bmWidth) << id;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_EQ(kMenuFontBold, GetMenuItemFontStyle(true, kDataTypeExec));
  EXPECT_EQ(kMenuFontUnderline, GetMenuItemFontStyle(false, kDataTypeExec));
  EXPECT_EQ(kMenuFontItalic, GetMenuItemFontStyle(false, kDataTypeRtf));
  EXPECT_EQ(0, GetMenuItemFontStyle(false, kDataTypeText));
}

TEST(MenuLastUsedTest, NewestFirstLimitedAndRemappedByFile) {
  CLastUsedList list;
  for (std::uint32_t id : {11u, 9u, 7u, 5u}) list.Add(id, L"p" + std::to_wstring(id), 5);
  EXPECT_EQ((std::vector<std::uint32_t>{5, 7, 9, 11}), list.Ids());
  list.Add(7, L"p7", 3);
  EXPECT_EQ((std::vector<std::uint32_t>{7, 5, 9}), list.Ids());
  for (int bad : {0, 6, -1}) EXPECT_EQ(3, ValidLastUsedCount(bad));
  list.Add(1, L"p1", 99);  // out of range: 3
  EXPECT_EQ((std::vector<std::uint32_t>{1, 7, 5}), list.Ids());

  // A reload numbers the phrases anew: ids follow their files; a file that
  // is gone drops out.
  CPhraseStore store;
  CPhraseNode a = Phrase(40, L"a", L"a");
  a.SetFilePath(L"p7");
  CPhraseNode b = Phrase(41, L"b", L"b");
  b.SetFilePath(L"p1");
  std::vector<CPhraseNode> children;
  children.push_back(std::move(b));
  store.Nodes().push_back(std::move(a));
  store.Nodes().push_back(Folder(L"F", std::move(children)));
  list.Remap(store);
  EXPECT_EQ((std::vector<std::uint32_t>{41, 40}), list.Ids());
  list.KeepOnly({40});
  EXPECT_EQ((std::vector<std::uint32_t>{40}), list.Ids());
}

// Texts kept on the node by the real macro engine: which phrases keep them,
// and that what is kept equals what would be built.
TEST(MenuItemTextCacheTest, OnlyPhrasesWithoutChangingMacrosKeepTheirTexts) {
  CPhraseMenuMacros macros;
  CMenuTextInputs inputs;
  inputs.clipboardText = L"Anna";
  inputs.selectedText = L"picked";
  inputs.macros = &macros;
  struct Case {
    const wchar_t* text;
    bool kept;
  } cases[] = {
      {L"Dear customer,\r\nthank you", true},
      {L"Hello %WINDOWS_USERNAME%", true},
      {L"Caret %CURSOR_POS% here", true},
      {L"Today %DATE%", false},
      {L"Dear %CLIPBOARD_TEXT%", false},
      {L"Quote %SELECTED_TEXT%", false},
      {L"Now %TIME%", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CPhraseNode node = Phrase(1, L"Name", c.text);
    CPhraseItemTexts first = GetPhraseItemTexts(node, inputs);
    EXPECT_EQ(c.kept, !node.secondTextCache.empty());
    EXPECT_EQ(c.kept ? 2 : 1, node.macroState);
    CPhraseItemTexts second = GetPhraseItemTexts(node, inputs);
    int marker = -1;
    std::wstring caption = BuildPhraseCaption(node, inputs, &marker);
    std::wstring expanded;
    std::wstring tip = BuildPhraseToolTip(node, caption, inputs, &expanded);
    for (const CPhraseItemTexts* t : {&first, &second}) {
      EXPECT_EQ(caption, t->caption);
      EXPECT_EQ(tip, t->toolTip);
      EXPECT_EQ(expanded, t->expanded);
      EXPECT_EQ(marker, t->marker);
    }
  }
}

TEST(MenuItemTextCacheTest, AMacroDependentCaptionIsBuiltForEveryRequest) {
  CPhraseMenuMacros macros;
  CPhraseNode node = Phrase(1, L"Name", L"Dear %CLIPBOARD_TEXT%, thanks");
  std::vector<std::wstring> captions, tips;
  for (const wchar_t* clip : {L"Anna", L"Bert"}) {
    CMenuTextInputs inputs;
    inputs.clipboardText = clip;
    inputs.macros = &macros;
    macros.NewRequest();
    CPhraseItemTexts texts = GetPhraseItemTexts(node, inputs);
    captions.push_back(texts.caption);
    tips.push_back(texts.expanded);
  }
  EXPECT_EQ(L"Dear Anna, thanks", captions[0]);
  EXPECT_EQ(L"Dear Bert, thanks", captions[1]);
  EXPECT_EQ(L"Dear Bert, thanks", tips[1]);
  EXPECT_TRUE(node.secondTextCache.empty());
}

TEST(MenuItemTextCacheTest, KeptTextsAreUsedUntilTheCachesAreEmptied) {
  // Emptying the caches is what a language change does to the store.
  CPhraseMenuMacros macros;
  CMenuTextInputs inputs;
  inputs.macros = &macros;
  CPhraseStore store;
  store.Nodes().push_back(Folder(L"F", {}));
  store.Nodes()[0].childNodes->push_back(Phrase(4, L"Name", L"plain words"));
  CPhraseNode& node = (*store.Nodes()[0].childNodes)[0];
  GetPhraseItemTexts(node, inputs);
  node.secondTextCache = L"kept tooltip";
  EXPECT_EQ(L"kept tooltip", GetPhraseItemTexts(node, inputs).toolTip);
  store.ClearTextCaches();
  EXPECT_EQ(0, node.macroState);
  EXPECT_TRUE(node.firstTextCache.empty() && node.expandedTextCache.empty());
  EXPECT_EQ(0u, GetPhraseItemTexts(node, inputs).toolTip.find(GetDataTypeWord(kDataTypeText) + L" \u00BB Name"));
  // Without the real engine nothing is kept: another expander may differ.
  CPhraseNode other = Phrase(5, L"Other", L"plain words");
  inputs.macros = nullptr;
  GetPhraseItemTexts(other, inputs);
  EXPECT_TRUE(other.secondTextCache.empty());
}

TEST(MenuItemTextCacheTest, APhraseEditedOnDiskShowsItsNewTextAfterTheReload) {
  qlrtest::TempDir dir;
  const std::wstring path = dir.File(L"greeting.quillora");
  auto write = [&](const std::wstring& text) {
    CPhraseNode node = Phrase(1, L"Greeting", text);
    DWORD error = 0;
    return WritePhraseBytes(path, PhraseNodeToXml(node), &error);
  };
  CPhraseMenuMacros macros;
  CPhraseStore store;
  auto build = [&] {
    CPhraseMenuRequest request;
    request.store = &store;
    request.texts.macros = &macros;
    request.options.extEditSettings = request.options.extSelectionIntoPhrase = request.options.extSupport = false;
    HMENU menu = CPhraseMenuBuilder(request).Build();
    std::wstring caption, tip;
    if (CMenuItemData* data = menu ? GetMenuItemDataByPos(menu, 0) : nullptr) {
      caption = data->GetCaption() ? data->GetCaption() : L"";
      tip = data->GetToolTip();
    }
    if (menu) {
      FreeMenuItemData(menu);
      DestroyMenu(menu);
    }
    return std::make_pair(caption, tip);
  };
  ASSERT_TRUE(write(L"Good morning"));
  store.Load(dir.Path(), 0);
  EXPECT_EQ(L"Greeting", build().first);
  EXPECT_NE(std::wstring::npos, build().second.find(L"Good morning"));
  ASSERT_TRUE(write(L"Good %WINDOWS_USERNAME% evening"));
  store.Load(dir.Path(), 0);
  std::pair<std::wstring, std::wstring> after = build();
  EXPECT_EQ(0u, after.first.find(L"Good ")) << after.first;
  EXPECT_EQ(std::wstring::npos, after.second.find(L"Good morning"));
  EXPECT_NE(std::wstring::npos, after.second.find(L" evening"));
}

// The layout a phrase activates, as its hint and tooltip name it: a rich
// text is read as the text it shows, where RTF may split the macro name.
class MenuItemTextLayoutTest : public macrotest::MacroTest {
 protected:
  // The hidden rich edit that reads rich text needs a parent.
  static void SetUpTestSuite() {
    s_parent = CreateWindowExW(0, L"STATIC", L"layout test", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetHiddenRichEditParent(s_parent);
  }
  static void TearDownTestSuite() { DestroyWindow(s_parent); }
  static HWND s_parent;
};
HWND MenuItemTextLayoutTest::s_parent = nullptr;

TEST_F(MenuItemTextLayoutTest, RichPhraseLayoutComesFromItsShownText) {
  Use(macrotest::MarchFifth(), macrotest::kEnglish, {macrotest::Layout(0x04070407)});
  const std::wstring german = BuildLayoutHint(0x0407);
  ASSERT_FALSE(german.empty());
  CPhraseMenuMacros macros;
  CMenuTextInputs inputs;
  inputs.macros = &macros;
  struct Case {
    const wchar_t* text;
    std::uint32_t type;
    bool activates;
  } cases[] = {
      {L"{\\rtf1 Hallo%ACTIVATE_KL_{\\b DE}%}", kDataTypeRtf, true},
      {L"{\\rtf1 Hallo\\'25ACTIVATE_KL_DE\\'25}", kDataTypeRtf, true},
      {L"{\\rtf1 Hallo%ACTIVATE_KL_DE%}", kDataTypeRtf, true},
      {L"Hallo%ACTIVATE_KL_DE%", kDataTypeText, true},
      {L"Hallo%ACTIVATE_KL_{\\b DE}%", kDataTypeText, false},  // plain text is no RTF
      {L"{\\rtf1 Hallo}", kDataTypeRtf, false},
  };
  for (const Case& c : cases) {
    CPhraseNode node = Phrase(1, L"Name", c.text, c.type);
    CPhraseItemTexts texts = GetPhraseItemTexts(node, inputs);
    EXPECT_EQ(texts.hint, c.activates ? german : std::wstring()) << qlrtest::ToUtf8(c.text);
    EXPECT_EQ(texts.toolTip.find(L"\r\n+ ") != std::wstring::npos, c.activates) << qlrtest::ToUtf8(c.text);
  }
}

}  // namespace
