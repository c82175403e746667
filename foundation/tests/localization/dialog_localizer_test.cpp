#include "foundation/localization/dialog_localizer.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

#include "foundation/localization/dialog_template.h"
#include "foundation/localization/language_files.h"
#include "foundation/text/text_basics.h"
#include "tests/support/test_support.h"

namespace {

constexpr WORD kDialogEx = 300;
constexpr WORD kDialogPlain = 301;

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

std::wstring Text(HWND dialog, int id) {
  wchar_t text[300] = {};
  GetDlgItemTextW(dialog, id, text, 300);
  return text;
}

std::wstring Read(const std::wstring& file, const std::wstring& section, int id) {
  std::wstring value;
  ReadLngValue(file, section, std::to_wstring(id), L"<missing>", 2000, &value);
  return value;
}

bool IsDialogClass(const wchar_t* cls) {
  if (IS_INTRESOURCE(cls)) return LOWORD(reinterpret_cast<ULONG_PTR>(cls)) == 0x8002;
  return wcscmp(cls, L"#32770") == 0;
}

// Records, while installed, every activation and every top-level window
// created visible on this thread.
class CbtRecorder {
 public:
  CbtRecorder() {
    s_self = this;
    m_hook = SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId());
  }
  ~CbtRecorder() {
    UnhookWindowsHookEx(m_hook);
    s_self = nullptr;
  }
  int activations = 0;
  int visibleTopLevel = 0;
  int createdTopLevel = 0;  // dialogs only

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    if (s_self && code == HCBT_ACTIVATE) ++s_self->activations;
    if (s_self && code == HCBT_CREATEWND) {
      const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if (!(cs->style & WS_CHILD)) {
        if (IsDialogClass(cs->lpszClass)) ++s_self->createdTopLevel;
        if (cs->style & WS_VISIBLE) ++s_self->visibleTopLevel;
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static CbtRecorder* s_self;
  HHOOK m_hook;
};
CbtRecorder* CbtRecorder::s_self = nullptr;

class DialogLocalizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_lng = m_dir.File(L"De.lng");
    m_example = m_dir.File(L"LocalizeExample.lng");
    m_dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialogEx), nullptr,
                                  PlainProc, 0);
    ASSERT_TRUE(m_dialog);
    SetDlgItemTextW(m_dialog, 1003, L"typed");
    SetDlgItemTextW(m_dialog, 1004, L"chosen");
  }
  void TearDown() override {
    DestroyWindow(m_dialog);
    SetCurrentLanguage(L"");
  }

  qlrtest::TempDir m_dir;
  std::wstring m_lng;
  std::wstring m_example;
  HWND m_dialog = nullptr;
};

TEST(DialogSectionTest, SectionNames) {
  struct Case {
    const wchar_t* name;
    WORD id;
    const wchar_t* section;
  } cases[] = {
      {L"About", 100, L"Dialog_About_100"},
      {L"", 100, L"Dialog_100"},
      {L"_Welcome", 129, L"Dialog_Welcome_129"},
      {L"__x", 7, L"Dialog__x_7"},
  };
  HWND none = nullptr;
  for (const Case& c : cases) {
    EXPECT_EQ(c.section, CDialogLocalizer(none, c.id, c.name).GetSectionName());
    EXPECT_EQ(c.section, MakeDialogSectionName(c.name, c.id));
  }
}

TEST_F(DialogLocalizerTest, TranslatesControlsAndGathersMissingKeys) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      m_lng, L"[Dialog_T_300]\r\n1001=Na\u2022me\u2022:\r\n1005=Kugel\r\n1003=Bad\r\n1004=Bad\r\n"
             L"1006=Bad\r\n1008=Bad\r\n"));
  SetCurrentLanguage(m_lng);
  CDialogLocalizer localizer(m_dialog, kDialogEx, L"T");
  localizer.ExcludeControl(1006);
  EXPECT_EQ(1, localizer.Localize());

  struct Shown {
    int id;
    const wchar_t* text;
  } shown[] = {
      {1001, L"Name:"},   {1005, L"Kugel"},   {1002, L"&Apply"}, {1003, L"typed"},
      {1004, L"chosen"},  {1006, L"Keep me"}, {1007, L"Привет"},
  };
  for (const Shown& s : shown) EXPECT_EQ(s.text, Text(m_dialog, s.id)) << s.id;

  const std::wstring section = L"Dialog_T_300";
  struct Stored {
    int id;
    const wchar_t* inLng;
    const wchar_t* inExample;
  } stored[] = {
      {1001, L"Na\u2022me\u2022:", L"Name:"},
      {1002, L"&Apply", L"&Apply"},
      {1007, L"Привет", L"Привет"},
      {1003, L"Bad", L"<missing>"},  // edit boxes add no keys anywhere
      {1004, L"Bad", L"<missing>"},
      {1006, L"Bad", L"<missing>"},  // excluded
  };
  for (const Stored& s : stored) {
    EXPECT_EQ(s.inLng, Read(m_lng, section, s.id)) << s.id;
    EXPECT_EQ(s.inExample, Read(m_example, section, s.id)) << s.id;
  }
}

TEST_F(DialogLocalizerTest, RerunAfterLanguageChangeRestoresAndRecordsEnglish) {
  const std::wstring fr = m_dir.File(L"Fr.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(m_lng, L"[Dialog_T_300]\r\n1001=Benutzer\r\n1002=Anwenden\r\n"));
  ASSERT_TRUE(qlrtest::WriteUtf16File(fr, L"[Dialog_T_300]\r\n1002=Appliquer\r\n"));
  CDialogLocalizerEx localizer(m_dialog, kDialogEx, L"T", {1006, 1007});
  SetCurrentLanguage(m_lng);
  localizer.Localize();
  EXPECT_EQ(L"Benutzer", Text(m_dialog, 1001));
  EXPECT_EQ(L"Anwenden", Text(m_dialog, 1002));

  SetCurrentLanguage(fr);
  localizer.Localize();
  EXPECT_EQ(L"Name:", Text(m_dialog, 1001)) << "untranslated controls go back to the template";
  EXPECT_EQ(L"Appliquer", Text(m_dialog, 1002));
  // The files gather the built-in English, not the previous language.
  EXPECT_EQ(L"Name:", Read(fr, L"Dialog_T_300", 1001));
  EXPECT_EQ(L"Name:", Read(m_example, L"Dialog_T_300", 1001));
  EXPECT_EQ(L"&Apply", Read(m_example, L"Dialog_T_300", 1002));
  EXPECT_EQ(L"<missing>", Read(fr, L"Dialog_T_300", 1007));

  // No language chosen: the example file is the language, and the texts it
  // gathered are no translation. Each control shows its template's text as
  // it stands, though the file gives it back without the blanks around it.
  SetCurrentLanguage(m_example);
  localizer.Localize();
  const std::string gathered = qlrtest::ReadBytes(m_example);
  for (int run = 0; run < 2; ++run) {
    localizer.Localize();
    EXPECT_EQ(L"Name:", Text(m_dialog, 1001)) << run;
    EXPECT_EQ(L"&Apply", Text(m_dialog, 1002)) << run;
    EXPECT_EQ(L"  Padded  ", Text(m_dialog, 1009)) << run;
  }
  EXPECT_EQ(L"Padded", Read(m_example, L"Dialog_T_300", 1009));
  EXPECT_EQ(gathered, qlrtest::ReadBytes(m_example));
}

// Shown and active only here: hiding an active window costs Wine two
// seconds without a window manager. The built-in texts come from the
// template itself: no window is made, shown or activated for them.
TEST_F(DialogLocalizerTest, TemplateTextsTakeNoWindowNorActivation) {
  ShowWindow(m_dialog, SW_SHOW);
  SetForegroundWindow(m_dialog);
  SetFocus(GetDlgItem(m_dialog, 1002));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return GetActiveWindow() == m_dialog; }, 2000));
  SetCurrentLanguage(m_lng);
  HWND focus = GetFocus();
  ASSERT_EQ(GetDlgItem(m_dialog, 1002), focus);
  CDialogLocalizer localizer(m_dialog, kDialogEx, L"T");
  {
    CbtRecorder cbt;
    localizer.Localize();
    EXPECT_EQ(0, cbt.createdTopLevel) << "no copy of the dialog";
    EXPECT_EQ(0, cbt.visibleTopLevel);
    EXPECT_EQ(0, cbt.activations);
  }
  EXPECT_EQ(m_dialog, GetActiveWindow());
  EXPECT_EQ(focus, GetFocus());
  int windows = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM count) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(hwnd, cls, 32);
        if (wcscmp(cls, L"#32770") == 0) ++*reinterpret_cast<int*>(count);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(1, windows);
}

TEST_F(DialogLocalizerTest, ChildDialogGetsItsTemplateTextsWithoutACopy) {
  HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialogPlain),
                                 m_dialog, PlainProc, 0);
  ASSERT_TRUE(page);
  SetDlgItemTextW(page, 2001, L"changed");
  SetCurrentLanguage(m_lng);
  CDialogLocalizer localizer(page, kDialogPlain, L"");
  {
    CbtRecorder cbt;
    localizer.Localize();
    EXPECT_EQ(0, cbt.createdTopLevel);
    EXPECT_EQ(0, cbt.visibleTopLevel);
    EXPECT_EQ(0, cbt.activations);
  }
  EXPECT_EQ(L"Plain label", Text(page, 2001));
  EXPECT_EQ(L"Plain label", Read(m_lng, L"Dialog_301", 2001));
  EXPECT_EQ(L"OK", Read(m_lng, L"Dialog_301", IDOK));
  EXPECT_EQ(L"<missing>", Read(m_lng, L"Dialog_301", 2003));
  DestroyWindow(page);
}

TEST_F(DialogLocalizerTest, WithoutTemplateTheControlsAreStillVisited) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(m_lng, L"[Dialog_T_999]\r\n1001=Benutzer\r\n"));
  SetCurrentLanguage(m_lng);
  SetDlgItemTextW(m_dialog, 1002, L"Present");
  CDialogLocalizer localizer(m_dialog, 999, L"T");
  EXPECT_EQ(1, localizer.Localize());
  EXPECT_EQ(L"Benutzer", Text(m_dialog, 1001));
  EXPECT_EQ(L"Present", Text(m_dialog, 1002)) << "nothing to go back to";
  EXPECT_EQ(L"Present", Read(m_lng, L"Dialog_T_999", 1002));
  EXPECT_EQ(L"Present", Read(m_example, L"Dialog_T_999", 1002));
}

TEST_F(DialogLocalizerTest, EmptyLanguagePathWritesNothing) {
  SetCurrentLanguage(L"");
  SetDlgItemTextW(m_dialog, 1001, L"changed");
  CDialogLocalizer(m_dialog, kDialogEx, L"T").Localize();
  EXPECT_EQ(L"Name:", Text(m_dialog, 1001));
  EXPECT_FALSE(qlrtest::ReadBytes(m_example).size());
}

struct ExpectedControl {
  int id;
  const wchar_t* className;
  const wchar_t* text;
};

void ExpectTemplate(WORD id, bool extended, const wchar_t* caption,
                    const std::vector<ExpectedControl>& expected) {
  std::vector<BYTE> bytes;
  ASSERT_TRUE(LoadDialogTemplate(nullptr, id, &bytes));
  DialogTemplateInfo info;
  ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &info));
  EXPECT_EQ(extended, info.extended);
  EXPECT_EQ(caption, info.caption);
  ASSERT_EQ(expected.size(), info.controls.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].id, info.controls[i].id) << i;
    EXPECT_TRUE(EqualNoCase(expected[i].className, info.controls[i].className))
        << i << " " << info.controls[i].className.size();
    EXPECT_EQ(expected[i].text, info.controls[i].text) << i;
  }
  // Cut anywhere before its last control's end, the template is refused.
  size_t whole = bytes.size();
  while (whole > 0 && bytes[whole - 1] == 0) --whole;
  for (size_t size = 0; size + 4 < whole; ++size) {
    std::vector<BYTE> cut(bytes.begin(), bytes.begin() + size);
    EXPECT_FALSE(ParseDialogTemplate(cut.data(), cut.size(), &info)) << size;
  }
}

TEST(DialogTemplateTest, ParsesBothTemplateForms) {
  ExpectTemplate(kDialogEx, true, L"Localised",
                 {{1001, L"Static", L"Name:"},
                  {1002, L"Button", L"&Apply"},
                  {1003, L"Edit", L""},
                  {1004, L"ComboBox", L""},
                  {1005, L"Button", L"Bullet"},
                  {1006, L"Static", L"Keep me"},
                  {1007, L"Static", L"Привет"},
                  {1008, UPDOWN_CLASSW, L""},
                  {-1, L"Static", L"Unnumbered"},
                  {1009, L"Static", L"  Padded  "}});
  ExpectTemplate(kDialogPlain, false, L"",
                 {{2001, L"Static", L"Plain label"}, {IDOK, L"Button", L"OK"}, {2003, L"Edit", L""}});
  DialogTemplateInfo none;
  EXPECT_FALSE(ParseDialogTemplate(nullptr, 100, &none));
}

TEST(DialogTemplateTest, ParsedIdsMatchTheCreatedControls) {
  std::vector<BYTE> bytes;
  ASSERT_TRUE(LoadDialogTemplate(nullptr, kDialogEx, &bytes));
  DialogTemplateInfo info;
  ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &info));
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialogEx), nullptr,
                                   PlainProc, 0);
  ASSERT_TRUE(dialog);
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const DialogTemplateControl& control : info.controls) {
    ASSERT_TRUE(child);
    EXPECT_EQ(control.id, GetDlgCtrlID(child)) << control.text;
    EXPECT_EQ(IsSkippedControlClassName(control.className), IsSkippedControlClass(child))
        << control.id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  DestroyWindow(dialog);
}

}  // namespace
