#include "platform/coredll/query_facts.h"

#include <gtest/gtest.h>
#include <richedit.h>
#include <tinyxml.h>

#include <string>

namespace {

// A top-level window with one child control of the class; with focus, in
// the foreground with the control focused.
struct ControlWindow {
  HWND main = nullptr;
  HWND control = nullptr;
  ControlWindow(const wchar_t* cls, const wchar_t* text, bool focus = false) {
    main = CreateWindowExW(0, L"STATIC", L"query facts", WS_OVERLAPPEDWINDOW | (focus ? WS_VISIBLE : 0),
                           10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
    control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 280, 150, main,
                              nullptr, nullptr, nullptr);
    if (!focus) return;
    SetForegroundWindow(main);
    SetFocus(control);
  }
  ~ControlWindow() { DestroyWindow(main); }
};

const TiXmlElement* Parse(TiXmlDocument& doc, const std::string& xml) {
  TiXmlBase::SetCondenseWhiteSpace(false);
  doc.Parse(xml.c_str(), nullptr, TIXML_ENCODING_UTF8);
  return doc.RootElement();
}

std::string ChildText(const TiXmlElement* root, const char* name) {
  const TiXmlElement* e = root->FirstChildElement(name);
  return e && e->GetText() ? e->GetText() : "";
}

TEST(QueryFactsTest, SelectionOfEditAndRichEditControls) {
  LoadLibraryW(L"riched20.dll");
  const struct {
    const wchar_t* cls;
    int start, end;
    int state;
    std::wstring text;
  } cases[] = {
      {L"EDIT", 6, 10, 2, L"beta"},
      {L"EDIT", 3, 3, 0, L""},
      {L"EDIT", 0, -1, 2, L"alpha beta\r\ngamma"},
      {RICHEDIT_CLASSW, 0, 5, 2, L"alpha"},
      {RICHEDIT_CLASSW, 4, 4, 0, L""},
      {L"BUTTON", 0, 0, 1, L""},
  };
  for (const auto& c : cases) {
    ControlWindow w(c.cls, L"alpha beta\r\ngamma");
    ASSERT_TRUE(w.control);
    SendMessageW(w.control, EM_SETSEL, c.start, c.end);
    std::wstring text = L"stale";
    EXPECT_EQ(ReadControlSelection(w.control, text), c.state) << c.cls << " " << c.start;
    EXPECT_EQ(text, c.text) << c.cls << " " << c.start;
  }
}

TEST(QueryFactsTest, LongSelectionsAndOtherThreadsAreLeftToTheTray) {
  LoadLibraryW(L"riched20.dll");
  for (const wchar_t* cls : {L"EDIT", RICHEDIT_CLASSW}) {
    ControlWindow w(cls, L"0123456789ABCDEF");
    std::wstring text;
    SendMessageW(w.control, EM_SETSEL, 0, 11);
    EXPECT_EQ(ReadControlSelection(w.control, text, 10), 1) << cls;
    SendMessageW(w.control, EM_SETSEL, 1, 11);
    EXPECT_EQ(ReadControlSelection(w.control, text, 10), 2) << cls;
    EXPECT_EQ(text, L"123456789A") << cls;
  }
  std::wstring text;

  // A control of another thread is never sent messages from the hook.
  HWND otherEdit = nullptr;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  struct Ctx { HWND* edit; HANDLE done; } ctx{&otherEdit, done};
  HANDLE thread = CreateThread(nullptr, 0, [](void* p) -> DWORD {
    auto* c = static_cast<Ctx*>(p);
    *c->edit = CreateWindowExW(0, L"EDIT", L"other", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
    SendMessageW(*c->edit, EM_SETSEL, 0, -1);
    WaitForSingleObject(c->done, 10000);
    DestroyWindow(*c->edit);
    return 0;
  }, &ctx, 0, nullptr);
  ASSERT_TRUE(thread);
  while (!otherEdit) Sleep(5);
  EXPECT_EQ(ReadControlSelection(otherEdit, text), 1);
  EXPECT_TRUE(text.empty());
  SetEvent(done);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  CloseHandle(done);
}

TEST(QueryFactsTest, FactsOfTheFocusedControl) {
  ControlWindow w(L"EDIT", L"one two", true);
  SendMessageW(w.control, EM_SETSEL, 4, 7);
  QueryFacts facts = GatherQueryFacts(w.main, false);
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  EXPECT_EQ(facts.hwnd, w.main);
  EXPECT_EQ(facts.appPath, exe);
  EXPECT_EQ(facts.className, L"Static");
  EXPECT_EQ(facts.gui.hwndFocus, w.control);
  EXPECT_EQ(facts.hkl, GetKeyboardLayout(0));
  EXPECT_EQ(facts.selState, 2);
  EXPECT_EQ(facts.selText, L"two");
  if (facts.gui.hwndCaret) {
    POINT pt = {facts.gui.rcCaret.left, facts.gui.rcCaret.bottom};
    ClientToScreen(facts.gui.hwndCaret, &pt);
    EXPECT_EQ(facts.caret.x, pt.x);
    EXPECT_EQ(facts.caret.y, pt.y);
  } else {
    EXPECT_EQ(facts.caret.x, -1);
  }
  // A mouse-event request reports no selection at all.
  QueryFacts noQuery = GatherQueryFacts(w.main, true);
  EXPECT_EQ(noQuery.selState, 0);
  EXPECT_TRUE(noQuery.selText.empty());
}

TEST(QueryFactsTest, QueryDocument) {
  const struct {
    UINT_PTR hkl;
    bool noQuery;
    int state;
    std::wstring sel;
    const char* lo;
    const char* hi;
  } cases[] = {
      {0x04090409, false, 2, L"a < b & \"c\"\r\n\x0416", "1033", "1033"},
      {0xF0020419, false, 1, L"", "61442", "1049"},
      {0x00000407, true, 2, L"ignored", "0", "1031"},
  };
  for (const auto& c : cases) {
    QueryFacts f;
    f.hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x20064));
    f.appPath = L"C:\\Program Files\\\x0416\\app.exe";
    f.className = L"Notepad";
    f.gui.hwndFocus = reinterpret_cast<HWND>(static_cast<INT_PTR>(-2));
    f.hkl = reinterpret_cast<HKL>(c.hkl);
    f.noQuery = c.noQuery;
    f.selState = c.state;
    f.selText = c.sel;
    TiXmlDocument doc;
    const std::string xml = BuildQueryXml(f);
    const TiXmlElement* root = Parse(doc, xml);
    ASSERT_TRUE(root) << xml;
    EXPECT_STREQ(root->Value(), "LRQuery");
    EXPECT_STREQ(root->Attribute("POINT_X"), "-1");
    EXPECT_STREQ(root->Attribute("POINT_Y"), "-1");
    EXPECT_STREQ(root->Attribute("HWND_Focus"), "-2");
    EXPECT_STREQ(root->Attribute("HWND_Active"), "0");
    EXPECT_EQ(ChildText(root, "HWND"), "131172");
    EXPECT_EQ(ChildText(root, "AppPath"), "C:\\Program Files\\\xD0\x96\\app.exe");
    EXPECT_EQ(ChildText(root, "WindowClassName"), "Notepad");
    // The high word travels as HKLLoword, the low word as HKLHoword.
    EXPECT_EQ(ChildText(root, "HKLLoword"), c.lo);
    EXPECT_EQ(ChildText(root, "HKLHoword"), c.hi);
    const TiXmlElement* sel = root->FirstChildElement("SelText");
    if (c.noQuery) {
      EXPECT_EQ(sel, nullptr);
      continue;
    }
    ASSERT_TRUE(sel);
    int state = -5;
    sel->QueryIntAttribute("StateSelText", &state);
    EXPECT_EQ(state, c.state);
    EXPECT_EQ(std::string(sel->GetText() ? sel->GetText() : ""),
              c.sel.empty() ? "" : "a < b & \"c\"\r\n\xD0\x96");
  }
}

}  // namespace
