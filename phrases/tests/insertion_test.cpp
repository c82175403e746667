#include "phrases/insertion/insertion_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "foundation/ui/rich_edit_convert.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/insertion/prompt_dialog_ids.h"
#include "phrases/tests/clipboard_and_dialogs.h"
#include "phrases/tests/insert_target.h"

namespace {

const CQLRPasteMethod kType{0, 100};
const CQLRPasteMethod kPaste{1, 100};

std::wstring ClipboardText() {
  wchar_t* copy = GetClipboardTextCopy();
  std::wstring text = copy ? copy : L"";
  FreeClipboardTextCopy(copy);
  return text;
}

// Something on the clipboard that only a paste would replace.
void PutSentinel() { ASSERT_TRUE(PutTextOnClipboard(L"sentinel")); }

TEST(InsertionTest, PasteMethodAndThreshold) {
  struct Case {
    int method;
    unsigned threshold;
    size_t length;
    bool typed;
  };
  const Case cases[] = {
      {0, 100, 5000, true}, {1, 100, 1, false}, {2, 100, 99, true}, {2, 100, 100, false},
      {2, 1, 0, true},      {2, 1, 1, false},   {3, 100, 1, false}, {-1, 100, 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShouldTypeText(std::wstring(c.length, L'a'), CQLRPasteMethod{c.method, c.threshold}), c.typed)
        << c.method << " " << c.threshold << " " << c.length;
  }
}

// What each action of a built list is: kind, text and caret steps.
struct Built {
  std::string kind;
  std::wstring text;
  int caret;
  bool operator==(const Built& o) const { return kind == o.kind && text == o.text && caret == o.caret; }
};
std::ostream& operator<<(std::ostream& os, const Built& b) {
  return os << b.kind << ":" << qlrtest::ToUtf8(b.text) << ":" << b.caret;
}
std::vector<Built> Describe(const CQLRActionList& list) {
  std::vector<Built> out;
  for (size_t i = 0; i < list.Size(); ++i) {
    CQLRActionBase* a = list.At(i);
    int caret = -1;
    if (auto* t = dynamic_cast<CQLRAction_TextCommon*>(a)) caret = t->GetCaretSteps();
    std::string kind = dynamic_cast<CQLRAction_Prompt*>(a) ? "prompt"
                       : dynamic_cast<CQLRAction_Text*>(a) ? "text"
                       : dynamic_cast<CQLRAction_Rtf*>(a)  ? "rtf"
                       : dynamic_cast<CQLRAction_Exec*>(a) ? "exec"
                                                           : "?";
    out.push_back({kind, a->GetText(), caret});
  }
  return out;
}

TEST(InsertionTest, ActionsFromPhrasePieces) {
  // Stands for the macro expansion: marks the text and puts the caret one
  // step before the end of a piece that asks for it.
  const CQLRPieceExpander expand = [](const std::wstring& piece, int* caret) {
    if (piece.find(L"|") != std::wstring::npos) *caret = 1;
    return L"<" + piece + L">";
  };
  const std::vector<CQLRPhrasePiece> pieces = {{false, L"A"}, {true, L"Name"}, {false, L"B|"}};
  struct Case {
    int dataType;
    bool result;
    std::vector<Built> expected;
  };
  const Case cases[] = {
      {CQLRInsertRequest::kText, true, {{"text", L"<A>", 0}, {"prompt", L"Name", 0}, {"text", L"<B|>", 1}}},
      {CQLRInsertRequest::kRtf, true, {{"rtf", L"<A>", 0}, {"prompt", L"Name", 0}, {"rtf", L"<B|>", 1}}},
      {CQLRInsertRequest::kExec, true, {{"exec", L"<A>", -1}, {"prompt", L"Name", 0}, {"exec", L"<B|>", -1}}},
      {7, false, {}},
  };
  for (const Case& c : cases) {
    CQLRInsertRequest request(nullptr, 0x407, L"clip", L"sel", c.dataType);
    CQLRActionList list;
    EXPECT_EQ(request.BuildActionsFromPieces(list, pieces, expand), c.result);
    EXPECT_EQ(Describe(list), c.expected) << c.dataType;
  }
}

TEST(InsertionTest, ActionsFromPhraseData) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  SetHiddenRichEditParent(parent);
  struct Case {
    const char* name;
    int dataType;
    std::wstring data;
    std::wstring selected;
    bool result;
    std::vector<Built> expected;
  };
  const Case cases[] = {
      {"prompt between texts", CQLRInsertRequest::kText, L"A%PROMPT_TEXT={Name}%B", L"", true,
       {{"text", L"A", 0}, {"prompt", L"Name", 0}, {"text", L"B", 0}}},
      {"macros and caret", CQLRInsertRequest::kText, L"Dear %SELECTED_TEXT%, %CURSOR_POS%!", L"Ann", true,
       {{"text", L"Dear Ann, !", 1}}},
      {"command line: the selection's line break is a blank", CQLRInsertRequest::kExec,
       L"notepad.exe %SELECTED_TEXT%", L"one\r\ntwo", true, {{"exec", L"notepad.exe one two", -1}}},
      {"unknown data type", 7, L"text", L"", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CQLRInsertRequest request(nullptr, 0x409, L"clip", c.selected, c.dataType);
    CQLRActionList list;
    EXPECT_EQ(request.BuildActions(list, c.data), c.result);
    EXPECT_EQ(Describe(list), c.expected);
  }
  // Rich text is expanded inside the rich edit and stays RTF.
  CQLRInsertRequest rich(nullptr, 0x409, L"there", L"", CQLRInsertRequest::kRtf);
  CQLRActionList list;
  ASSERT_TRUE(rich.BuildActions(list, L"{\\rtf1\\ansi Hi {\\b %CLIPBOARD_TEXT%}%CURSOR_POS%!}"));
  ASSERT_EQ(list.Size(), 1u);
  ASSERT_TRUE(dynamic_cast<CQLRAction_Rtf*>(list.At(0)) != nullptr);
  EXPECT_EQ(list.At(0)->GetText().compare(0, 5, L"{\\rtf"), 0);
  EXPECT_EQ(RtfToPlainText(list.At(0)->GetText()), L"Hi there!");
  EXPECT_EQ(static_cast<CQLRAction_Rtf*>(list.At(0))->GetCaretSteps(), 1);
  SetHiddenRichEditParent(nullptr);
  DestroyWindow(parent);
}

TEST(InsertionTest, RichTextFormatsAreEightBitRtfPlainTextAndLocale) {
  const UINT rtf = GetRtfClipboardFormat();
  ASSERT_NE(rtf, 0u);
  EXPECT_EQ(rtf, RegisterClipboardFormatW(L"Rich Text Format"));
  const std::wstring text = L"{\\rtf1 {\\b bold} \\'e9}";
  std::vector<BYTE> rtfBytes(text.begin(), text.end());
  rtfBytes.push_back(0);
  const std::wstring plain = L"bold \u00E9";
  const BYTE* p = reinterpret_cast<const BYTE*>(plain.c_str());
  const std::vector<BYTE> plainBytes(p, p + (plain.size() + 1) * 2);
  const LCID de = 0x407;
  const std::vector<BYTE> deBytes(reinterpret_cast<const BYTE*>(&de), reinterpret_cast<const BYTE*>(&de) + 4);
  struct Case {
    std::wstring plain;
    LCID locale;
    ClipboardFormatTable expected;
  };
  const Case cases[] = {
      {plain, de, {{rtf, rtfBytes}, {CF_UNICODETEXT, plainBytes}, {CF_LOCALE, deBytes}}},
      {L"", de, {{rtf, rtfBytes}, {CF_LOCALE, deBytes}}},
      {plain, 0, {{rtf, rtfBytes}, {CF_UNICODETEXT, plainBytes}}},
      {L"", 0, {{rtf, rtfBytes}}},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildRtfFormatTable(text, c.plain, c.locale), c.expected);
}

TEST(InsertionTest, TypedAndPastedTextReachAnotherProcess) {
  InsertTarget target;
  ASSERT_TRUE(target.Start(false));
  struct Case {
    const char* name;
    CQLRPasteMethod method;
    std::wstring text;
    int caret;
    bool pasted;
  };
  const Case cases[] = {
      {"typed with caret", kType, L"Dear  ,\r\nthanks", 3, false},
      {"pasted with caret", kPaste, L"Dear  ,\r\nthanks", 3, true},
      {"below the threshold: typed", {2, 6}, L"short", 0, false},
      {"at the threshold: pasted", {2, 5}, L"short", 0, true},
      {"pasted long text", kPaste, std::wstring(300, L'\u0436'), 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    target.SetText(L"");
    ASSERT_TRUE(target.WaitFocused());
    PutSentinel();
    CQLRInsertRequest request(target.Main(), 0x409, L"", L"", CQLRInsertRequest::kText);
    request.pasteMethod = c.method;
    CQLRActionList list;
    list.Add(std::make_unique<CQLRAction_Text>(c.text, c.caret, 0x409, c.method));
    ASSERT_TRUE(request.RunActions(list));
    EXPECT_TRUE(target.WaitText(c.text)) << qlrtest::ToUtf8(target.Text());
    const DWORD caret = static_cast<DWORD>(c.text.size() - c.caret);
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return target.Selection() == static_cast<DWORD>(MAKELONG(caret, caret)); }))
        << LOWORD(target.Selection());
    if (c.pasted) {
      // The phrase stays on the clipboard, with the locale beside it.
      EXPECT_EQ(ClipboardText(), c.text);
      std::vector<BYTE> locale = ReadClipboardFormat(CF_LOCALE);
      ASSERT_EQ(locale.size(), sizeof(LCID));
      EXPECT_EQ(*reinterpret_cast<const LCID*>(locale.data()), GetThreadLocale());
    } else {
      EXPECT_EQ(ClipboardText(), L"sentinel");
    }
  }
}

TEST(InsertionTest, RichTextPastedIntoARichEditKeepsItsFormatting) {
  // The hidden converter control needs a parent window of this thread.
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  SetHiddenRichEditParent(parent);
  InsertTarget target;
  ASSERT_TRUE(target.Start(true));
  // The control's default font may itself be bold: the text says "not bold".
  const std::wstring rtf = L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\b0 Say \\b bold\\b0  caf\\'e9}";
  const std::wstring plain = L"Say bold caf\u00E9";
  struct Case {
    const char* name;
    LCID locale;
    int caret;
  };
  const Case cases[] = {{"with locale", 0x407, 0}, {"caret moved, no locale", 0, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    target.SetText(L"");
    ASSERT_TRUE(target.WaitFocused());
    CQLRAction_Rtf action(rtf, c.caret, c.locale);
    ASSERT_EQ(action.Execute(target.Child()), 1);
    EXPECT_TRUE(target.WaitText(plain)) << qlrtest::ToUtf8(target.Text());
    // 8-bit RTF with its terminator, the plain text, and the locale when given.
    std::vector<BYTE> expected(rtf.begin(), rtf.end());
    expected.push_back(0);
    EXPECT_EQ(ReadClipboardFormat(GetRtfClipboardFormat()), expected);
    EXPECT_EQ(ClipboardText(), plain);
    // Without a locale of its own the system adds one beside the text.
    if (c.locale) {
      std::vector<BYTE> locale = ReadClipboardFormat(CF_LOCALE);
      ASSERT_EQ(locale.size(), sizeof(LCID));
      EXPECT_EQ(*reinterpret_cast<const LCID*>(locale.data()), c.locale);
    }
    const DWORD caret = static_cast<DWORD>(plain.size() - c.caret);
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return target.Selection() == static_cast<DWORD>(MAKELONG(caret, caret)); }))
        << LOWORD(target.Selection());
    // The bold word stays bold in the target, and only that word.
    EXPECT_EQ(target.BoldMap(), "....BBBB.....");
  }
  SetHiddenRichEditParent(nullptr);
  DestroyWindow(parent);
}

TEST(InsertionTest, PromptBetweenTwoTextsAskedFromTheUser) {
  InsertTarget target;
  ASSERT_TRUE(target.Start(false));
  struct Case {
    const char* name;
    int button;
    const wchar_t* answer;
    std::wstring inserted;
  };
  const Case cases[] = {
      {"answered", IDOK, L"Zed", L"A Zed B"},
      {"cancelled: the rest is still inserted", IDCANCEL, L"Zed", L"A  B"},
      {"emptied edit: the argument", IDOK, L"", L"A Name B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    target.SetText(L"");
    ASSERT_TRUE(target.WaitFocused());
    CQLRInsertRequest request(target.Main(), 0x409, L"", L"", CQLRInsertRequest::kText);
    request.pasteMethod = kType;
    CQLRActionList list;
    ASSERT_TRUE(request.BuildActions(list, L"A %PROMPT_TEXT={Name}% B"));
    EXPECT_EQ(list.JoinTexts(), L"A Name B");
    std::atomic<bool> done{false};
    std::thread runner([&] {
      request.RunActions(list);
      done = true;
    });
    HWND dialog = WaitForOwnDialog();
    EXPECT_TRUE(dialog != nullptr);
    // The first text is in before the question is asked.
    EXPECT_EQ(target.Text(), L"A ");
    if (dialog) {
      SetDlgItemTextW(dialog, IDC_PROMPT_TEXT, c.answer);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
    }
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return done.load(); }, 10000));
    runner.join();
    EXPECT_TRUE(target.WaitText(c.inserted)) << qlrtest::ToUtf8(target.Text());
  }
}

TEST(InsertionTest, RunActionsWithoutActionsOrTarget) {
  CQLRInsertRequest request(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF1234)), 0, L"", L"",
                            CQLRInsertRequest::kText);
  CQLRActionList list;
  EXPECT_FALSE(request.RunActions(list));
  EXPECT_EQ(list.JoinTexts(), L"");
  // A target that is gone: the text still goes to the focused window.
  InsertTarget target;
  ASSERT_TRUE(target.Start(false));
  list.Add(std::make_unique<CQLRAction_Text>(L"to the focus", 0, 0, kType));
  EXPECT_TRUE(request.RunActions(list));
  EXPECT_TRUE(target.WaitText(L"to the focus"));
  list.Clear();
  EXPECT_FALSE(request.RunActions(list));
}

TEST(InsertionTest, ExecStartsTheCommandOrShowsWhyNot) {
  qlrtest::TempDir dir;
  const std::wstring marker = dir.File(L"started.txt");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", marker.c_str());
  const std::wstring helper = qlrtest::BinFile(L"helper_write_marker.exe");
  CQLRActionList list;
  list.Add(std::make_unique<CQLRAction_Exec>(helper));
  SetLastError(1234);
  EXPECT_EQ(list.At(0)->Execute(nullptr), 1);
  EXPECT_EQ(GetLastError(), 1234u);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return qlrtest::ReadUtf16File(marker).find(L"helper_write_marker") != std::wstring::npos; },
      10000))
      << qlrtest::ToUtf8(qlrtest::ReadUtf16File(marker));
  // No box after a successful start.
  EXPECT_EQ(qlrtest::FindProcessWindow(GetCurrentProcessId(), L"#32770"), nullptr);

  // A command that cannot start: a box with the system's reason and the command.
  const std::wstring missing = dir.File(L"no such program.exe");
  std::atomic<int> result{-1};
  std::thread runner([&] {
    CQLRAction_Exec exec(missing);
    SetLastError(77);
    result = exec.Execute(nullptr);
    if (GetLastError() != 77) result = 99;
  });
  HWND box = WaitForOwnDialog();
  EXPECT_TRUE(box != nullptr);
  if (box) {
    wchar_t caption[64] = {}, text[2048] = {};
    GetWindowTextW(box, caption, 64);
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    EXPECT_STREQ(caption, L"Quillora");
    const std::wstring expectedTail = L"\n\nCommand: " + missing + L"\n\nSource Command: " + missing;
    const std::wstring shown = text;
    ASSERT_GT(shown.size(), expectedTail.size());
    EXPECT_EQ(shown.substr(shown.size() - expectedTail.size()), expectedTail);
    EXPECT_NE(shown.substr(0, shown.size() - expectedTail.size()), L"");  // the system's reason
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return result.load() != -1; }));
  runner.join();
  EXPECT_EQ(result.load(), 0);
}

}  // namespace
