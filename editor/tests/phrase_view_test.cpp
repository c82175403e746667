// The phrase text view in-process, through the document as the tree pane
// drives it: load and save, every kind of phrase against a fresh control,
// the command states, macro insertion, Tab, the toolbar's custom draw and a
// write that fails after the save returned.
#include "editor/tests/doc_test_fixture.h"

#include <commctrl.h>

#include <random>

#include "editor/app/editor_ids.h"
#include "editor/services/macro_menus.h"
#include "editor/text/macro_highlight.h"
#include "editor/text/rich_text_io.h"
#include "editor/toolbars/toolbar_names.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "platform/mfc/window/cmd_ui.h"

namespace {
using namespace docfix;

class PhraseViewTest : public DocHubTest {
 protected:
  CQLRView* Select(const std::wstring& file) {
    doc->SelectRecord(IdOf(file));
    CView* view = View();
    return view && view->IsKindOf(RUNTIME_CLASS(CQLRView)) ? static_cast<CQLRView*>(view) : nullptr;
  }
  // The command's state as the toolbar and menus would see it.
  static bool Enabled(CQLRView* view, UINT id, int* checked = nullptr) {
    struct StateUI : CTestCmdUI {
      int check = -1;
      void SetCheck(int nCheck) override { check = nCheck; }
    } ui;
    ui.m_nID = id;
    ui.DoUpdate(view, FALSE);
    if (checked) *checked = ui.check;
    return ui.m_bEnabled != FALSE;
  }
  static std::wstring TextOf(CQLRView* view) { return rich_text::GetPlainText(view->GetTextCtrl().m_hWnd); }
  static void Command(CQLRView* view, UINT id) { view->SendMessage(WM_COMMAND, id, 0); }
  static void Type(CQLRView* view, const wchar_t* text) {
    HWND edit = view->GetTextCtrl().m_hWnd;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
  static bool Modified(CQLRView* view) { return view->GetTextCtrl().SendMessage(EM_GETMODIFY, 0, 0) != 0; }
  CPhraseNode ReadBack(const std::wstring& file) {
    CPhraseNode node;
    EXPECT_TRUE(WaitForPhraseWrites(5000));
    EXPECT_TRUE(ReadPhraseFile(node, phrases + L"\\" + file));
    return node;
  }
};

TEST_F(PhraseViewTest, APhraseOpensReadOnlyAndItsEditIsSavedOnCommit) {
  doc->SelectRecord(IdOf(L"Sub"));
  CQLRView* view = Select(L"Alpha.quillora");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(TextOf(view), L"alpha text");
  EXPECT_TRUE(view->GetTextCtrl().IsReadOnly());
  EXPECT_FALSE(view->GetTextCtrl().SendMessage(EM_CANUNDO, 0, 0));
  EXPECT_FALSE(view->IsTextModified());
  int checked = -1;
  EXPECT_TRUE(Enabled(view, toolbars::kIdReadOnlyMode, &checked));
  EXPECT_EQ(checked, 1);

  Command(view, toolbars::kIdReadOnlyMode);
  EXPECT_FALSE(view->GetTextCtrl().IsReadOnly());
  Type(view, L"Goodbye %DATE%");
  EXPECT_TRUE(view->IsTextModified());
  doc->CommitCurrent(nullptr);
  EXPECT_FALSE(view->IsTextModified());
  EXPECT_EQ(ReadBack(L"Alpha.quillora").data, L"Goodbye %DATE%");
  EXPECT_EQ(ReadBack(L"Beta.quillora").data, L"beta text");
  for (const std::wstring& name : phrasetest::Listing(phrases)) EXPECT_EQ(name.find(L".tmp"), std::wstring::npos) << name;

  // Plain text turned formatted keeps its words and is stored as 8-bit RTF.
  Command(view, toolbars::kIdPasteRtf);
  CPhraseNode rtf = ReadBack(L"Alpha.quillora");
  EXPECT_EQ(rtf.DataType, kDataTypeRtf);
  EXPECT_EQ(rtf.data.rfind(L"{\\rtf", 0), 0u) << rtf.data.substr(0, 40);
  for (wchar_t c : rtf.data) ASSERT_LT(static_cast<unsigned>(c), 256u);
  Select(L"Beta.quillora");
  view = Select(L"Alpha.quillora");
  EXPECT_EQ(TextOf(view), L"Goodbye %DATE%");
}

TEST_F(PhraseViewTest, CommandStatesFollowTheTextAndTheDataType) {
  CQLRView* view = Select(L"Alpha.quillora");
  ASSERT_NE(view, nullptr);
  for (UINT id : {ID_FORMAT_BOLD, ID_FORMAT_ITALIC, ID_FORMAT_UNDERLINE}) EXPECT_FALSE(Enabled(view, id)) << id;
  EXPECT_TRUE(Enabled(view, ID_EDIT_SELECT_ALL));
  EXPECT_FALSE(Enabled(view, ID_EDIT_COPY));
  Command(view, ID_EDIT_SELECT_ALL);
  EXPECT_FALSE(Enabled(view, ID_EDIT_SELECT_ALL));
  EXPECT_TRUE(Enabled(view, ID_EDIT_COPY));
  EXPECT_FALSE(Enabled(view, ID_EDIT_CUT));  // read-only
  EXPECT_FALSE(Enabled(view, ID_EDIT_PASTE));

  // An unknown data type leaves the button's text and the cue alone and
  // counts as unformatted.
  const UINT cue = view->GetTextCtrl().GetCueString();
  wchar_t before[101] = L"", after[101] = L"";
  TBBUTTONINFOW info = {sizeof(info), TBIF_TEXT};
  info.pszText = before;
  info.cchText = 100;
  view->GetToolBar().GetButtonInfo(toolbars::kIdDataType, &info);
  for (std::uint32_t type : {7u, static_cast<std::uint32_t>(-1)}) {
    GetCommandStore().FindCommandById(IdOf(L"Alpha.quillora"))->DataType = type;
    doc->UpdateViews(nullptr, kHintSelect, IdOf(L"Alpha.quillora"));
    info.pszText = after;
    view->GetToolBar().GetButtonInfo(toolbars::kIdDataType, &info);
    EXPECT_STREQ(after, before);
    EXPECT_EQ(view->GetTextCtrl().GetCueString(), cue);
    EXPECT_FALSE(Enabled(view, ID_FORMAT_BOLD));
  }
  // With no record the formatting commands stay available.
  GetCommandStore().Load(dir.File(L"no such folder"));
  EXPECT_TRUE(Enabled(view, ID_FORMAT_BOLD));
}

TEST_F(PhraseViewTest, MacrosTabAndReadOnlyTyping) {
  CQLRView* view = Select(L"Alpha.quillora");
  ASSERT_NE(view, nullptr);
  Command(view, toolbars::kIdReadOnlyMode);
  Type(view, L"");
  const std::vector<std::wstring> names = GetMenuMacroNames();
  size_t prompt = 0;
  while (prompt < names.size() && names[prompt] != L"%PROMPT_TEXT={}%") ++prompt;
  ASSERT_LT(prompt, names.size());
  Command(view, 30100 + static_cast<UINT>(prompt));
  EXPECT_EQ(TextOf(view), L"%PROMPT_TEXT={Text As Default}%");
  EXPECT_EQ(rich_text::GetSelectedPlainText(view->GetTextCtrl().m_hWnd), L"Text As Default");
  EXPECT_TRUE(view->IsTextModified());
  Command(view, 30100 + static_cast<UINT>(names.size()));  // past the table
  EXPECT_EQ(TextOf(view), L"%PROMPT_TEXT={Text As Default}%");

  // Tab hands the focus to the tree; Insert Tab types one.
  RecordingListener listener(1);
  doc->AddListener(&listener);
  g_notices.clear();
  view->GetTextCtrl().SetFocus();
  ASSERT_EQ(GetFocus(), view->GetTextCtrl().m_hWnd);
  MSG tab = {view->GetTextCtrl().m_hWnd, WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(view->PreTranslateMessage(&tab));
  ASSERT_EQ(g_notices.size(), 1u);
  EXPECT_EQ(g_notices[0].hint, kHintFocusTree);
  Type(view, L"");
  Command(view, ID_EDIT_INSERT_TAB);
  EXPECT_EQ(TextOf(view), L"\t");

  // Typing into a read-only text blinks the Read Only button.
  Command(view, toolbars::kIdReadOnlyMode);
  ASSERT_TRUE(view->GetTextCtrl().IsReadOnly());
  MSG key = {view->GetTextCtrl().m_hWnd, WM_KEYDOWN, 'A', 0};
  EXPECT_TRUE(view->GetTextCtrl().PreTranslateMessage(&key));
  EXPECT_TRUE(view->GetToolBar().Blinking);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !view->GetToolBar().Blinking; }, 5000));
}

TEST_F(PhraseViewTest, TypingRefreshesThePreviewOnceAfterAPause) {
  CQLRView* view = Select(L"Alpha.quillora");
  ASSERT_NE(view, nullptr);
  GetEditorSettings().Preview = 1;
  doc->UpdateViews(nullptr, kHintPreview, 0);
  ASSERT_TRUE(view->IsPreviewShown());
  EXPECT_EQ(rich_text::GetPlainText(view->PreviewPane.m_hWnd), L"alpha text");
  Command(view, toolbars::kIdReadOnlyMode);
  const int before = view->GetPreviewRefreshes();
  DWORD last = 0;
  for (int i = 0; i < 10; ++i) {
    view->GetTextCtrl().SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    last = GetTickCount();
    qlrtest::PumpUntil([] { return false; }, 100);
  }
  EXPECT_EQ(view->GetPreviewRefreshes(), before);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return view->GetPreviewRefreshes() > before; }, 5000));
  EXPECT_GE(GetTickCount() - last, 650u);
  qlrtest::PumpUntil([] { return false; }, 1000);
  EXPECT_EQ(view->GetPreviewRefreshes(), before + 1);
  EXPECT_EQ(rich_text::GetPlainText(view->PreviewPane.m_hWnd), TextOf(view));

  GetEditorSettings().Preview = 0;
  doc->UpdateViews(nullptr, kHintPreview, 0);
  EXPECT_FALSE(view->IsPreviewShown());
}

TEST_F(PhraseViewTest, TheToolBarsCustomDrawReachesTheView) {
  CQLRView* view = Select(L"Alpha.quillora");
  ASSERT_NE(view, nullptr);
  NMTBCUSTOMDRAW draw = {};
  draw.nmcd.hdr.hwndFrom = view->GetToolBar().m_hWnd;
  draw.nmcd.hdr.idFrom = kViewToolBarId;
  draw.nmcd.hdr.code = NM_CUSTOMDRAW;
  draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  draw.nmcd.dwItemSpec = toolbars::kIdReadOnlyMode;
  const LRESULT result = view->SendMessage(WM_NOTIFY, kViewToolBarId, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(result, TBCDRF_USECDCOLORS);
  EXPECT_EQ(draw.clrText, RGB(255, 0, 0));
}

// A seeded sequence of phrases of every kind (long and short plain text
// full of macros, text too long to type, control characters, formatted,
// Unicode RTF, not RTF at all, empty), selected in any order after edits,
// folders and each other, in a hidden and in a shown frame: each must look
// exactly as the same phrase put into a fresh control the plain way (its
// text set, then coloured; its RTF streamed in), read-only, at the top,
// with no undo step, not modified, with the notices, the drawing and the
// undo of typing working again afterwards.
TEST_F(PhraseViewTest, EveryPhraseLooksAsInAFreshControl) {
  auto repeat = [](const std::wstring& piece, size_t chars) {
    std::wstring text;
    while (text.size() < chars) text += piece;
    return text;
  };
  struct Kind {
    const char* name;
    std::uint32_t type;
    std::wstring text;
  };
  const std::wstring fonts = L"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red0\\green0\\blue200;}";
  const std::vector<Kind> kinds = {
      {"long plain", kDataTypeText,
       repeat(L"Dear %CLIPBOARD_TEXT%, on %date% we write %PROMPT_TEXT={who?}% \\{x}\t\u0416\r\n", 10000)},
      {"long plain, few lines", kDataTypeText, repeat(L"word %TIME% and more words ", 6000)},
      {"short plain", kDataTypeText, L"Hello %DATE%\r\nbye %PROMPT_TEXT={q}% end"},
      {"too long to type", kDataTypeText, repeat(L"%DATE% filler text of a line\r\n", 51000)},
      {"control characters", kDataTypeText, repeat(L"a\x01%DATE%\x0b b\r\n", 5000)},
      {"command", kDataTypeExec, L"notepad.exe %CLIPBOARD_TEXT%"},
      {"empty plain", kDataTypeText, L""},
      {"formatted", kDataTypeRtf, fonts + L"\\f1\\fs40\\cf1\\b Big %DATE%\\b0\\par " +
                                      repeat(L"\\f0\\fs20 line of the formatted phrase\\par ", 8000) + L"}"},
      {"unicode RTF", kDataTypeRtf, L"{\\urtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \u0416\u00e9 %TIME%\\par}"},
      {"formatted, not RTF", kDataTypeRtf, L"plain words %DATE% stored as formatted"},
      {"empty formatted", kDataTypeRtf, L""},
  };
  const std::vector<std::wstring> files = {L"Alpha.quillora", L"Beta.quillora", L"Sub\\Gamma.quillora",
                                           L"Sub\\Off.quillora"};
  LOGFONTW plainFont = {};
  ASSERT_NE(GetObjectW(editor::GetLargeDialogFont(), sizeof(plainFont), &plainFont), 0);
  auto defaultFace = [](HWND edit) {
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return std::wstring(format.szFaceName) + L"/" + std::to_wstring(format.yHeight);
  };

  std::mt19937 rng(20261210);
  for (bool shown : {false, true}) {
    frame->ShowWindow(shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    for (int step = 0; step < 12; ++step) {
      const Kind& kind = kinds[rng() % kinds.size()];
      const std::wstring& file = files[rng() % files.size()];
      const std::string where = std::string(shown ? "shown" : "hidden") + " step " + std::to_string(step) + " (" +
                                kind.name + " in " + std::string(file.begin(), file.end()) + ")";
      CQLRView* view = Select(file);
      ASSERT_NE(view, nullptr) << where;
      // What the text was left with: an edit (the commit writes it), a
      // folder's emptied view, or the phrase as it was loaded.
      const unsigned before = rng() % 3;
      if (before == 0) {
        Command(view, toolbars::kIdReadOnlyMode);
        Type(view, L"typed %DATE% text");
      } else if (before == 1) {
        doc->SelectRecord(IdOf(L"Sub"));
      }
      doc->CommitCurrent(nullptr);
      ASSERT_TRUE(WaitForPhraseWrites(5000)) << where;
      CQLRCommand* record = GetCommandStore().FindCommandById(static_cast<std::uint32_t>(IdOf(file)));
      ASSERT_NE(record, nullptr) << where;
      record->m_cmd = kind.text;
      record->DataType = kind.type;
      view = Select(file);
      ASSERT_NE(view, nullptr) << where;
      CPhraseRichEdit& text = view->GetTextCtrl();

      // The fresh control: the same place, size and style, the plain road
      // and none of the view's history.
      CPhraseRichEdit fresh;
      CRect rect;
      ::GetWindowRect(text.m_hWnd, &rect);
      ::MapWindowPoints(nullptr, view->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
      ASSERT_TRUE(fresh.Create(static_cast<DWORD>(text.GetStyle()), rect, view, 1099)) << where;
      fresh.ModifyStyleEx(fresh.GetExStyle(), text.GetExStyle(), SWP_FRAMECHANGED);
      CRect want, have, outer;
      text.GetClientRect(&want);
      fresh.GetClientRect(&have);
      ::GetWindowRect(fresh.m_hWnd, &outer);
      fresh.SetWindowPos(nullptr, 0, 0, outer.Width() + want.Width() - have.Width(),
                         outer.Height() + want.Height() - have.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (kind.type == kDataTypeRtf && !kind.text.empty()) {
        rich_text::StreamInByPrefix(fresh.m_hWnd, kind.text);
      } else {
        fresh.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(editor::GetLargeDialogFont()), FALSE);
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_BACKCOLOR;
        format.dwEffects = CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR;
        fresh.SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
        ::SetWindowTextW(fresh.m_hWnd, kind.text.c_str());
        if (kind.type != kDataTypeRtf) HighlightAll(fresh.m_hWnd, GetMacroScheme());
        EXPECT_EQ(defaultFace(text.m_hWnd), defaultFace(fresh.m_hWnd)) << where;
        EXPECT_EQ(defaultFace(text.m_hWnd).rfind(plainFont.lfFaceName, 0), 0u) << where;
      }
      EXPECT_EQ(TextOf(view), rich_text::GetPlainText(fresh.m_hWnd)) << where;
      // The RTF names every character's font, size, colour and boldness.
      EXPECT_TRUE(rich_text::GetRtf(text.m_hWnd) == rich_text::GetRtf(fresh.m_hWnd)) << where;
      EXPECT_EQ(text.SendMessage(EM_GETLINECOUNT, 0, 0), fresh.SendMessage(EM_GETLINECOUNT, 0, 0)) << where;
      EXPECT_EQ(text.GetStyle() & WS_VSCROLL, fresh.GetStyle() & WS_VSCROLL) << where;
      fresh.DestroyWindow();

      EXPECT_TRUE(text.IsReadOnly()) << where;
      EXPECT_TRUE(text.GetStyle() & ES_READONLY) << where;
      EXPECT_EQ(IsWindowVisible(text.m_hWnd) != FALSE, shown) << where;
      EXPECT_FALSE(text.SendMessage(EM_CANUNDO, 0, 0)) << where;
      EXPECT_FALSE(view->IsTextModified()) << where;
      CHARRANGE caret = {-1, -1};
      text.SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
      EXPECT_EQ(caret.cpMin, 0) << where;
      EXPECT_EQ(caret.cpMax, 0) << where;
      EXPECT_EQ(text.SendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 0) << where;
      EXPECT_EQ(text.SendMessage(EM_GETEVENTMASK, 0, 0) & (ENM_CHANGE | ENM_LINK), ENM_CHANGE | ENM_LINK) << where;
    }
    // Typing after all that is undone step by step, and a long text
    // streamed in after one too long to type leaves the typing limit as it
    // was.
    CQLRCommand* first = GetCommandStore().FindCommandById(static_cast<std::uint32_t>(IdOf(files[0])));
    ASSERT_NE(first, nullptr);
    first->DataType = kDataTypeText;
    first->m_cmd = kinds[3].text;
    Select(files[0]);
    first->m_cmd = kinds[0].text;
    CQLRView* view = Select(files[0]);
    ASSERT_NE(view, nullptr);
    Command(view, toolbars::kIdReadOnlyMode);
    Type(view, L"one");
    view->GetTextCtrl().SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L" %DATE%"));
    EXPECT_TRUE(view->IsTextModified());
    EXPECT_EQ(TextOf(view), L"one %DATE%");
    view->GetTextCtrl().SendMessage(EM_UNDO, 0, 0);
    EXPECT_EQ(TextOf(view), L"one");
    const std::wstring tooMuch = repeat(L"typed line\r", kPhraseTextLimit + 10);
    Type(view, tooMuch.c_str());
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    EXPECT_EQ(view->GetTextCtrl().SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0),
              kPhraseTextLimit);
    view->GetTextCtrl().SendMessage(EM_SETMODIFY, FALSE, 0);
    Command(view, toolbars::kIdReadOnlyMode);
  }
}

TEST_F(PhraseViewTest, AWriteThatFailsLaterMarksTheShownTextModifiedAgain) {
  CQLRView* view = Select(L"Beta.quillora");
  ASSERT_NE(view, nullptr);
  Command(view, toolbars::kIdReadOnlyMode);
  Type(view, L"a longer text that will not fit");
  SetPhraseWriteLimitForTest(10);
  doc->CommitCurrent(nullptr);
  EXPECT_TRUE(WaitForPhraseWrites(5000));
  const bool marked = qlrtest::PumpUntil([&] { return view->IsTextModified() != FALSE; }, 5000);
  SetPhraseWriteLimitForTest(-1);
  EXPECT_TRUE(marked);
  EXPECT_EQ(ReadBack(L"Beta.quillora").data, L"beta text");  // the old file is whole
  doc->CommitCurrent(nullptr);                                 // the next commit tries again
  EXPECT_EQ(ReadBack(L"Beta.quillora").data, L"a longer text that will not fit");
}

}  // namespace

// A formatted phrase's macros take their values as text (a clipboard with
// RTF's own characters included), and a plain phrase shown after it, in
// the text and in the preview, has the editor's plain font again.
TEST_F(PhraseViewTest, FormattedPreviewTakesValuesAsTextAndPlainTextGetsThePlainFont) {
  CQLRCommand* beta = GetCommandStore().FindCommandById(IdOf(L"Beta.quillora"));
  ASSERT_NE(beta, nullptr);
  beta->DataType = kDataTypeRtf;
  // Long enough to leave the control in pieces when the next phrase comes.
  std::wstring lines;
  for (int i = 0; i < 300; ++i) lines += L"\\b0 line " + std::to_wstring(i) + L" of the formatted phrase\\b\\par ";
  beta->m_cmd = L"{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}{\\colortbl;\\red200\\green0\\blue0;}"
                L"\\f0\\fs48\\cf1\\b Big %CLIPBOARD_TEXT% end\\par " + lines + L"}";
  const std::wstring clip = L"a\\b{c}d \\par }";
  ASSERT_TRUE(qlrtest::PutClipboardText(clip));
  const std::wstring expanded = L"Big " + clip + L" end";
  GetEditorSettings().Preview = 1;
  CQLRView* view = Select(L"Beta.quillora");
  ASSERT_NE(view, nullptr);
  doc->UpdateViews(nullptr, kHintPreview, 0);
  ASSERT_TRUE(view->IsPreviewShown());
  auto firstLine = [](std::wstring text) { return text.substr(0, text.find_first_of(L"\r\n")); };
  EXPECT_EQ(firstLine(rich_text::GetPlainText(view->PreviewPane.m_hWnd)), expanded);
  std::wstring run;
  doc->BuildPhrasePreview(run, true);
  EXPECT_EQ(firstLine(run), expanded) << "Test Run";

  LOGFONTW plainFont = {};
  ASSERT_NE(GetObjectW(editor::GetLargeDialogFont(), sizeof(plainFont), &plainFont), 0);
  Select(L"Alpha.quillora");
  for (HWND edit : {view->GetTextCtrl().m_hWnd, view->PreviewPane.m_hWnd}) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);
    EXPECT_NE(format.dwEffects & CFE_AUTOCOLOR, 0u);
    EXPECT_STREQ(format.szFaceName, plainFont.lfFaceName);
  }
  EXPECT_EQ(rich_text::GetPlainText(view->PreviewPane.m_hWnd), L"alpha text");
  EXPECT_EQ(TextOf(view), L"alpha text");
  EXPECT_FALSE(view->GetTextCtrl().SendMessage(EM_CANUNDO, 0, 0));
  GetEditorSettings().Preview = 0;
  doc->UpdateViews(nullptr, kHintPreview, 0);
}
