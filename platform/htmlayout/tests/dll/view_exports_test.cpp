// HTMLayout.dll through its exports only, as the update dialog and the
// welcome window use it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/tests/dll/sample_pages.h"

namespace {

struct Dialog {
  HWND parent = CreateWindowExW(0, L"STATIC", L"page host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                                nullptr, nullptr, nullptr);
  // Created with the program's own instance, as both dialogs do.
  HWND view = CreateWindowExW(WS_EX_CLIENTEDGE, HTMLayoutClassNameW(), L"", WS_CHILD | WS_VISIBLE, 5, 5, 580, 350,
                              parent, reinterpret_cast<HMENU>(1012), GetModuleHandleW(nullptr), nullptr);
  ~Dialog() { DestroyWindow(parent); }

  bool Load(const std::string& html) {
    return HTMLayoutLoadHtml(view, reinterpret_cast<const BYTE*>(html.data()), static_cast<UINT>(html.size())) != FALSE;
  }
  HELEMENT Root() const {
    HELEMENT root = nullptr;
    HTMLayoutGetRootElement(view, &root);
    return root;
  }
  HELEMENT Find(const wchar_t* id) const {
    HELEMENT found = nullptr;
    HTMLayoutVisitElements(Root(), nullptr, "id", id, [](HELEMENT he, LPVOID p) -> BOOL {
      *static_cast<HELEMENT*>(p) = he;
      return TRUE;
    }, &found, 0);
    return found;
  }
  std::wstring Text() const {
    std::wstring text(static_cast<size_t>(SendMessageW(view, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(view, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
  }
};

UINT State(HELEMENT he) {
  UINT state = 0xDEAD;
  EXPECT_EQ(HTMLayoutGetElementState(he, &state), HLDOM_OK);
  return state;
}

std::wstring Attribute(HELEMENT he, const char* name) {
  LPCWSTR value = nullptr;
  EXPECT_EQ(HTMLayoutGetAttributeByName(he, name, &value), HLDOM_OK);
  return value ? value : L"(none)";
}

UINT ControlType(HELEMENT he) {
  UINT type = 0xDEAD;
  EXPECT_EQ(HTMLayoutControlGetType(he, &type), HLDOM_OK);
  return type;
}

std::vector<HELEMENT> FindAll(HELEMENT root, const char* tag, const char* attr, const wchar_t* value, DWORD depth = 0) {
  std::vector<HELEMENT> found;
  EXPECT_EQ(HTMLayoutVisitElements(root, tag, attr, value, [](HELEMENT he, LPVOID p) -> BOOL {
    static_cast<std::vector<HELEMENT>*>(p)->push_back(he);
    return FALSE;
  }, &found, depth), HLDOM_OK);
  return found;
}

// The first descendant of he with the tag.
HELEMENT Child(HELEMENT he, const char* tag) {
  auto all = FindAll(he, tag, nullptr, nullptr);
  return all.empty() ? nullptr : all[0];
}

TEST(ViewExportsTest, UpdatePageWidgetsFollowThePage) {
  const struct {
    bool checked;
    int days;
  } cases[] = {{true, 7}, {false, 30}, {true, 1}};
  for (const auto& c : cases) {
    Dialog d;
    ASSERT_TRUE(d.view);
    ASSERT_TRUE(d.Load(hlpages::UpdatePage(c.checked, c.days)));
    HELEMENT check = d.Find(L"CFUAutoCheck"), days = d.Find(L"CFUDaysNumber"), label = d.Find(L"cfu_days_text");
    ASSERT_TRUE(check && days && label) << c.days;
    EXPECT_EQ((State(check) & STATE_CHECKED) != 0, c.checked);
    EXPECT_EQ(State(days), 0u);
    VALUE v;
    ValueInit(&v);
    ASSERT_EQ(HTMLayoutControlGetValue(days, &v), HLDOM_OK);
    EXPECT_EQ(v.t, static_cast<UINT>(T_INT));
    EXPECT_EQ(static_cast<int>(v.d), c.days);
    ASSERT_EQ(HTMLayoutControlGetValue(check, &v), HLDOM_OK);
    EXPECT_EQ(v.t, static_cast<UINT>(T_BOOL));
    EXPECT_EQ(v.d != 0, c.checked);
    EXPECT_EQ(HTMLayoutControlGetValue(label, &v), HLDOM_OPERATION_FAILED);
    EXPECT_EQ(v.t, static_cast<UINT>(T_UNDEFINED));
    // The hint keeps its line breaks and apostrophes.
    EXPECT_EQ(Attribute(check, "title"), L"Automatic check runs silently.\r It reports only a new version.\r");
    EXPECT_EQ(Attribute(days, "MaxValue"), L"30");
  }
}

TEST(ViewExportsTest, ControlTypesTellControlsFromText) {
  Dialog d;
  ASSERT_TRUE(d.Load(hlpages::UpdatePage(true, 7)));
  HELEMENT check = d.Find(L"CFUAutoCheck");
  HELEMENT newsLink = Child(d.Find(L"id_item_title"), "a");
  const struct {
    const char* what;
    HELEMENT he;
    UINT type;
  } cases[] = {
      {"checkbox widget", check, CTL_CHECKBOX},
      {"text inside the checkbox", Child(check, "strong"), CTL_CHECKBOX},
      {"number input", d.Find(L"CFUDaysNumber"), CTL_NUMERIC},
      {"plain text span", d.Find(L"hint"), CTL_NO},
      {"days label", d.Find(L"cfu_days_text"), CTL_NO},
      {"table cell", d.Find(L"settings"), CTL_NO},
      {"root", d.Root(), CTL_NO},
      {"link", newsLink, CTL_HYPERLINK},
      {"image inside a link", Child(d.Root(), "img"), CTL_HYPERLINK},
      {"date beside the link", d.Find(L"id_item_date"), CTL_NO},
      {"anchor without href", FindAll(d.Root(), "a", "name", nullptr).at(0), CTL_NO},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.he) << c.what;
    EXPECT_EQ(ControlType(c.he), c.type) << c.what;
  }
  Dialog w;
  ASSERT_TRUE(w.Load(hlpages::WelcomePage()));
  auto commands = FindAll(w.Root(), "A", "class", L"qlrLink");
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(ControlType(Child(commands[1], "b")), static_cast<UINT>(CTL_HYPERLINK));
  EXPECT_EQ(Attribute(commands[1], "HREF"), L"%CMD_SHOW_TRAY_MENU%");
}

TEST(ViewExportsTest, SettingsWidgetsChangeAndClear) {
  Dialog d;
  ASSERT_TRUE(d.Load(hlpages::UpdatePage(true, 7)));
  HELEMENT check = d.Find(L"CFUAutoCheck"), days = d.Find(L"CFUDaysNumber"), label = d.Find(L"cfu_days_text");
  // The checkbox cleared: red, the input disabled, the label struck through.
  EXPECT_EQ(HTMLayoutSetElementState(check, 0, STATE_CHECKED, TRUE), HLDOM_OK);
  EXPECT_EQ(HTMLayoutSetStyleAttribute(check, nullptr, nullptr), HLDOM_OK);
  EXPECT_EQ(HTMLayoutSetStyleAttribute(check, "color", L"red"), HLDOM_OK);
  EXPECT_EQ(HTMLayoutSetElementState(days, STATE_DISABLED, 0, TRUE), HLDOM_OK);
  EXPECT_EQ(HTMLayoutSetStyleAttribute(label, "color", L"gray"), HLDOM_OK);
  EXPECT_EQ(HTMLayoutSetStyleAttribute(label, "text-decoration", L"line-through"), HLDOM_OK);
  EXPECT_EQ(State(check), 0u);
  EXPECT_EQ(State(days), static_cast<UINT>(STATE_DISABLED));
  std::wstring text = d.Text();
  EXPECT_NE(text.find(L"<widget type=\"checkbox\" id=\"CFUAutoCheck\""), std::wstring::npos);
  EXPECT_EQ(text.find(L"checked="), std::wstring::npos);
  EXPECT_NE(text.find(L"style=\"color:red\">"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"value=\"7\" disabled=\"true\">"), std::wstring::npos);
  EXPECT_NE(text.find(L"<span id=\"cfu_days_text\" style=\"color:gray;text-decoration:line-through\">"),
            std::wstring::npos);

  // Checked again: everything back at once.
  HTMLayoutSetElementState(check, STATE_CHECKED, 0, TRUE);
  HTMLayoutSetStyleAttribute(check, nullptr, nullptr);
  HTMLayoutSetStyleAttribute(check, "color", L"green");
  HTMLayoutSetStyleAttribute(check, "COLOR", L"green");  // set twice: one entry
  HTMLayoutSetElementState(days, 0, STATE_DISABLED, TRUE);
  HTMLayoutSetStyleAttribute(label, nullptr, nullptr);
  EXPECT_EQ(State(check), static_cast<UINT>(STATE_CHECKED));
  EXPECT_EQ(State(days), 0u);
  text = d.Text();
  EXPECT_NE(text.find(L"checked=\"true\" style=\"color:green\">"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"<span id=\"cfu_days_text\">"), std::wstring::npos);

  // Attributes: the blink's "hidden", set, changed, removed.
  EXPECT_EQ(Attribute(check, "hidden"), L"(none)");
  EXPECT_EQ(HTMLayoutSetAttributeByName(check, "hidden", L"true"), HLDOM_OK);
  EXPECT_EQ(Attribute(check, "HIDDEN"), L"true");
  EXPECT_EQ(HTMLayoutSetAttributeByName(check, "hidden", L"false"), HLDOM_OK);
  EXPECT_EQ(Attribute(check, "hidden"), L"false");
  EXPECT_EQ(HTMLayoutSetAttributeByName(check, "hidden", nullptr), HLDOM_OK);
  EXPECT_EQ(Attribute(check, "hidden"), L"(none)");
  EXPECT_EQ(HTMLayoutSetAttributeByName(days, "value", L"12"), HLDOM_OK);
  VALUE v, copy;
  ValueInit(&v);
  ValueInit(&copy);
  HTMLayoutControlGetValue(days, &v);
  EXPECT_EQ(ValueCopy(&copy, &v), 0u);
  EXPECT_EQ(static_cast<int>(copy.d), 12);
  ValueClear(&copy);
  EXPECT_EQ(copy.t, static_cast<UINT>(T_UNDEFINED));
}

TEST(ViewExportsTest, StringValuesCopyAndClear) {
  Dialog d;
  ASSERT_TRUE(d.Load("<input id=name value=\"K&amp;R\"><input id=n type=number value=\" x1 \">"
                     "<input id=big type=number value=99999999999><textarea id=t>a&lt;b</textarea>"));
  const struct {
    const wchar_t* id;
    UINT type;
    const wchar_t* text;
  } cases[] = {{L"name", T_STRING, L"K&R"}, {L"t", T_STRING, L"a<b"}, {L"n", T_UNDEFINED, nullptr},
               {L"big", T_UNDEFINED, nullptr}};
  for (const auto& c : cases) {
    VALUE v, copy;
    ValueInit(&v);
    ValueInit(&copy);
    ASSERT_EQ(HTMLayoutControlGetValue(d.Find(c.id), &v), HLDOM_OK) << c.id;
    EXPECT_EQ(v.t, c.type) << c.id;
    EXPECT_EQ(ValueCopy(&copy, &v), 0u);
    ValueClear(&v);
    if (c.text) {
      ASSERT_EQ(copy.t, static_cast<UINT>(T_STRING));
      EXPECT_STREQ(reinterpret_cast<const wchar_t*>(copy.d), c.text);
    }
    ValueClear(&copy);
  }
}

TEST(ViewExportsTest, VisitFindsEachMatchOnce) {
  Dialog d;
  ASSERT_TRUE(d.Load(hlpages::WelcomePage()));
  HELEMENT root = d.Root();
  const struct {
    const char* tag;
    const char* attr;
    const wchar_t* value;
    DWORD depth;
    size_t count;
  } cases[] = {
      {"a", nullptr, nullptr, 0, 8},          {nullptr, "class", L"qlrLink", 0, 4},
      {"A", "CLASS", L"qlrLink", 0, 4},       {nullptr, "class", L"QLRLINK", 0, 0},
      {"div", nullptr, nullptr, 0, 7},        {nullptr, "target", nullptr, 0, 2},
      {"div", nullptr, nullptr, 2, 5},        {"div", nullptr, nullptr, 1, 0},
      {"html", nullptr, nullptr, 0, 1},       {"li", nullptr, nullptr, 0, 2},
  };
  for (const auto& c : cases) {
    auto found = FindAll(root, c.tag, c.attr, c.value, c.depth);
    std::set<HELEMENT> distinct(found.begin(), found.end());
    EXPECT_EQ(found.size(), c.count) << (c.tag ? c.tag : "*") << " " << (c.attr ? c.attr : "") << " " << c.depth;
    EXPECT_EQ(distinct.size(), found.size());
  }
  // A callback answering TRUE ends the visit.
  int calls = 0;
  HTMLayoutVisitElements(root, "a", nullptr, nullptr, [](HELEMENT, LPVOID p) -> BOOL {
    ++*static_cast<int*>(p);
    return TRUE;
  }, &calls, 0);
  EXPECT_EQ(calls, 1);
  // A callback that loads another page mid-visit sees no freed element.
  static Dialog* reloading;
  reloading = &d;
  calls = 0;
  EXPECT_EQ(HTMLayoutVisitElements(root, "a", nullptr, nullptr, [](HELEMENT he, LPVOID p) -> BOOL {
    ++*static_cast<int*>(p);
    UINT state = 0;
    EXPECT_EQ(HTMLayoutGetElementState(he, &state), HLDOM_OK);
    reloading->Load("<a href=x>new</a>");
    return FALSE;
  }, &calls, 0), HLDOM_OK);
  EXPECT_EQ(calls, 1);
}

TEST(ViewExportsTest, HandlesAcrossReloads) {
  Dialog d;
  ASSERT_TRUE(d.Load(hlpages::UpdatePage(true, 7)));
  HELEMENT kept = d.Find(L"CFUAutoCheck");
  HELEMENT borrowed = d.Find(L"CFUDaysNumber");
  ASSERT_EQ(HTMLayout_UseElement(kept), HLDOM_OK);
  for (int reload = 0; reload < 2; ++reload) {
    ASSERT_TRUE(d.Load(hlpages::UpdatePage(false, 3)));
    UINT state = 0;
    LPCWSTR value = nullptr;
    EXPECT_EQ(HTMLayoutGetElementState(kept, &state), HLDOM_PASSIVE_HANDLE);
    EXPECT_EQ(HTMLayoutGetAttributeByName(kept, "id", &value), HLDOM_PASSIVE_HANDLE);
    EXPECT_EQ(HTMLayoutSetStyleAttribute(kept, "color", L"red"), HLDOM_PASSIVE_HANDLE);
    EXPECT_EQ(HTMLayoutGetElementState(borrowed, &state), HLDOM_INVALID_HANDLE);
    EXPECT_EQ(HTMLayoutSetAttributeByName(borrowed, "value", L"1"), HLDOM_INVALID_HANDLE);
  }
  EXPECT_EQ(HTMLayout_UnuseElement(kept), HLDOM_OK);
  UINT state = 0;
  EXPECT_EQ(HTMLayoutGetElementState(kept, &state), HLDOM_INVALID_HANDLE);
  EXPECT_EQ(HTMLayout_UnuseElement(kept), HLDOM_INVALID_HANDLE);
  // The new page is the one the view answers for.
  EXPECT_EQ(State(d.Find(L"CFUAutoCheck")) & STATE_CHECKED, 0u);
}

LRESULT CALLBACK WelcomeLoadData(UINT msg, WPARAM, LPARAM lParam, LPVOID param) {
  auto* seen = static_cast<std::vector<std::wstring>*>(param);
  auto* nm = reinterpret_cast<NMHL_LOAD_DATA*>(lParam);
  if (msg != WM_NOTIFY || nm->hdr.code != HLN_LOAD_DATA) return 0;
  seen->push_back(std::wstring(nm->uri) + L"|" + std::to_wstring(nm->dataType) + L"|" +
                  std::to_wstring(nm->hdr.idFrom));
  static char css[] = "#macro {color: orange}";
  EXPECT_TRUE(HTMLayoutDataReady(nm->hdr.hwndFrom, nm->uri, reinterpret_cast<BYTE*>(css), sizeof(css) - 1));
  // Handed over once: a second time finds nothing waiting.
  EXPECT_FALSE(HTMLayoutDataReady(nm->hdr.hwndFrom, nm->uri, reinterpret_cast<BYTE*>(css), sizeof(css) - 1));
  return LOAD_OK;
}

TEST(ViewExportsTest, WelcomePageAsksForItsStyleSheetOnly) {
  Dialog d;
  std::vector<std::wstring> seen;
  HTMLayoutSetCallback(d.view, WelcomeLoadData, &seen);
  const std::string page = hlpages::WelcomePage();
  ASSERT_TRUE(HTMLayoutLoadHtmlEx(d.view, reinterpret_cast<const BYTE*>(page.data()), static_cast<UINT>(page.size()),
                                  L"C:\\Program Files\\Quillora\\HTML\\de\\"));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], L"C:\\Program Files\\Quillora\\HTML\\de\\ext_style.css|2|1012");
  // The built-in page's base names the image folder.
  ASSERT_TRUE(HTMLayoutLoadHtmlEx(d.view, reinterpret_cast<const BYTE*>(page.data()), static_cast<UINT>(page.size()),
                                  L"C:\\Quillora\\HTML\\img"));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], L"C:\\Quillora\\HTML\\ext_style.css|2|1012");
  // The byte-order mark is no text.
  EXPECT_EQ(d.Text().find(L"\xFEFF"), std::wstring::npos);
  EXPECT_NE(d.Text().find(L"<title>Welcome to Quillora</title>"), std::wstring::npos);
}

TEST(ViewExportsTest, BadCallsAreRefused) {
  Dialog d;
  HWND notAView = d.parent;
  HELEMENT he = nullptr;
  UINT state = 0;
  LPCWSTR value = nullptr;
  EXPECT_FALSE(HTMLayoutLoadHtml(notAView, reinterpret_cast<const BYTE*>("<p>"), 3));
  EXPECT_FALSE(HTMLayoutLoadHtml(nullptr, reinterpret_cast<const BYTE*>("<p>"), 3));
  EXPECT_FALSE(HTMLayoutLoadHtml(d.view, nullptr, 10));
  EXPECT_TRUE(HTMLayoutLoadHtml(d.view, nullptr, 0));
  EXPECT_EQ(HTMLayoutGetRootElement(notAView, &he), HLDOM_INVALID_HWND);
  EXPECT_EQ(he, nullptr);
  EXPECT_EQ(HTMLayoutGetRootElement(d.view, nullptr), HLDOM_INVALID_PARAMETER);
  EXPECT_EQ(HTMLayoutWindowAttachEventHandler(notAView, [](LPVOID, HELEMENT, UINT, LPVOID) -> BOOL { return FALSE; },
                                              nullptr, HANDLE_ALL), HLDOM_INVALID_HWND);
  EXPECT_FALSE(HTMLayoutDataReady(d.view, L"x.css", nullptr, 0));
  HELEMENT bogus = reinterpret_cast<HELEMENT>(static_cast<UINT_PTR>(0x7FFF0000));
  EXPECT_EQ(HTMLayoutGetElementState(bogus, &state), HLDOM_INVALID_HANDLE);
  EXPECT_EQ(HTMLayoutGetAttributeByName(bogus, "id", &value), HLDOM_INVALID_HANDLE);
  EXPECT_EQ(HTMLayout_UseElement(nullptr), HLDOM_INVALID_HANDLE);
  ASSERT_EQ(HTMLayoutGetRootElement(d.view, &he), HLDOM_OK);
  EXPECT_EQ(HTMLayoutGetAttributeByName(he, nullptr, &value), HLDOM_INVALID_PARAMETER);
  EXPECT_EQ(HTMLayoutSetAttributeByName(he, "", L"x"), HLDOM_INVALID_PARAMETER);
  EXPECT_EQ(HTMLayoutControlGetType(he, nullptr), HLDOM_INVALID_PARAMETER);
  EXPECT_EQ(ValueInit(nullptr), 1u);
  // WM_SETTEXT does not replace the document.
  SetWindowTextW(d.view, L"<p>other</p>");
  EXPECT_EQ(d.Text(), L"<html></html>");
}

// Names of the DLL's export table, read from its PE image.
std::vector<std::string> ExportNames(HMODULE module) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::vector<std::string> out;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) out.push_back(reinterpret_cast<const char*>(base + names[i]));
  std::sort(out.begin(), out.end());
  return out;
}

TEST(ViewExportsTest, ExportTableHoldsThePlainNames) {
  HMODULE dll = GetModuleHandleW(L"HTMLayout.dll");
  ASSERT_TRUE(dll);
  std::vector<std::string> expected = {
      "HTMLayoutClassNameW", "HTMLayoutLoadHtml", "HTMLayoutLoadHtmlEx", "HTMLayoutSetCallback",
      "HTMLayoutDataReady", "HTMLayoutWindowAttachEventHandler", "HTMLayoutGetRootElement",
      "HTMLayoutVisitElements", "HTMLayoutGetElementState", "HTMLayoutSetElementState",
      "HTMLayoutSetStyleAttribute", "HTMLayoutGetAttributeByName", "HTMLayoutSetAttributeByName",
      "HTMLayoutControlGetType", "HTMLayoutControlGetValue", "HTMLayout_UseElement", "HTMLayout_UnuseElement",
      "ValueInit", "ValueClear", "ValueCopy"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ExportNames(dll), expected);
  for (const std::string& name : expected) EXPECT_TRUE(GetProcAddress(dll, name.c_str())) << name;
  // The class belongs to the DLL and serves every module of the process.
  WNDCLASSEXW wc = {sizeof(wc)};
  EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), HTMLayoutClassNameW(), &wc));
  EXPECT_TRUE(wc.style & CS_GLOBALCLASS);
}

}  // namespace
