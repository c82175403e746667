// Every surface of the real programs in the chosen language: with a language
// file that translates one text of each, each shows its translation; with
// no language chosen, LocalizeExample.lng gathers the built-in text of each
// surface once it has been shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/tray_menu_probe.h"
#include "tests/support/test_support.h"

namespace {

constexpr wchar_t kPaneClass[] = L"QuilloraFloatPane";
constexpr wchar_t kPaneToolbarClass[] = L"QuilloraPaneToolbar";
constexpr UINT kSetPaneShowMode = WM_APP + 3;
constexpr UINT kExit = 57665;
constexpr UINT kAbout = 57664;
constexpr UINT kCopyAsPlainText = 32797;
constexpr UINT kMinimizeToCaption = 32798;
constexpr int kWelcomeLanguageLabel = 1000;

class LanguageSurfacesTest;

struct Surface {
  const wchar_t* name;
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* builtIn;
  const wchar_t* translation;
  // Shows the surface and reads the text from outside; empty when the
  // surface did not come up.
  std::function<std::wstring(LanguageSurfacesTest&)> show;
};

class LanguageSurfacesTest : public qlre2e::TrayMenuTest {
 public:
  // The caption of a command in the menu open now, closed afterwards.
  std::wstring CaptionInOpenMenu(UINT id) {
    if (!WaitForMenu()) return std::wstring();
    qlre2e::MenuDump dump = Dump();
    CloseMenu();
    const qlre2e::MenuItemDump* item = dump.Find(id);
    return item ? item->caption : L"<no item " + std::to_wstring(id) + L">";
  }
  std::wstring TrayMenu(UINT id) {
    if (!ClickIcon(WM_RBUTTONUP)) return std::wstring();
    return CaptionInOpenMenu(id);
  }
  HWND Pane() {
    HWND pane = nullptr;
    qlrtest::WaitUntil([&] { return (pane = qlrtest::FindProcessWindow(child.Pid(), kPaneClass)) != nullptr; },
                       kProgramWaitMs);
    if (pane) SendMessageW(pane, kSetPaneShowMode, 0, 0);
    return pane;
  }
  // A right click into the history list opens the item menu.
  std::wstring PaneItemMenu(UINT id) {
    HWND pane = Pane();
    HWND list = pane ? FindWindowExW(pane, nullptr, L"SysListView32", nullptr) : nullptr;
    if (!list) return std::wstring();
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    return CaptionInOpenMenu(id);
  }
  // The window menu, from the keyboard.
  std::wstring PaneWindowMenu(UINT id) {
    HWND pane = Pane();
    if (!pane) return std::wstring();
    PostMessageW(pane, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
    return CaptionInOpenMenu(id);
  }
  // Ctrl + click on the caption opens the caption menu.
  std::wstring PaneCaptionMenu(UINT id) {
    HWND pane = Pane();
    HWND toolbar = pane ? FindWindowExW(pane, nullptr, kPaneToolbarClass, nullptr) : nullptr;
    if (!toolbar) return std::wstring();
    PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
    PostMessageW(toolbar, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(5, 5));
    return CaptionInOpenMenu(id);
  }
  // Found by its class: its title is the about item's caption in the menu.
  std::wstring AboutDialog(int control) {
    PostMessageW(tray, WM_COMMAND, kAbout, 0);
    HWND about = nullptr;
    qlrtest::WaitUntil(
        [&] {
          for (HWND w : qlrtest::FindProcessWindows(child.Pid())) {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w)) about = w;
          }
          return about != nullptr;
        },
        kProgramWaitMs);
    if (!about) return std::wstring();
    const std::wstring text = ControlText(about, control);
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    qlrtest::WaitUntil([&] { return !IsWindow(about); }, kProgramWaitMs);
    return text;
  }
  // The welcome program beside the tray program, its window read and closed.
  std::wstring WelcomeWindow(int control) {
    qlrtest::ChildProcess welcome;
    if (!welcome.Start(dir.File(L"Quillora_Welcome.exe"), L"")) return std::wstring();
    HWND window = nullptr;
    qlrtest::WaitUntil(
        [&] { return (window = qlrtest::FindProcessWindow(welcome.Pid(), L"#32770")) && IsWindowVisible(window); },
        kProgramWaitMs);
    // The texts are in once the page is loaded, the last step of its start.
    qlrtest::WaitUntil([&] { return ControlText(GetDlgItem(window, 1002), 0).find(L"Use: ") != std::wstring::npos; },
                       kProgramWaitMs);
    const std::wstring text = window ? ControlText(window, control) : std::wstring();
    if (window) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    welcome.Wait(kProgramWaitMs);
    return text;
  }
  static std::wstring ControlText(HWND parent, int control) {
    HWND window = control ? GetDlgItem(parent, control) : parent;
    if (!window) return std::wstring();
    std::wstring text(4096, L'\0');
    const LRESULT n = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
  }
  std::wstring LngValue(const wchar_t* file, const Surface& s) const {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(s.section, s.key, L"<missing>", value, 512, dir.File(file).c_str());
    return value;
  }

 protected:
  void SetUp() override {
    TrayMenuTest::SetUp();
    SetSetting(L"ShowHistoryPaneOnStart", L"1");
    SetSetting(L"ClipboardHistory", L"1");
    for (const wchar_t* f : {L"Quillora_Welcome.exe", L"HTMLayout.dll"})
      ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), dir.File(f)));
  }
};

const Surface kSurfaces[] = {
    {L"tray menu", L"Menu_Client", L"Exit", L"Exit", L"Beenden",
     [](LanguageSurfacesTest& t) { return t.TrayMenu(kExit); }},
    {L"pane item menu", L"Menu_Client", L"Copy_As_Plain_Text", L"Copy As Plain Text", L"Als Text kopieren",
     [](LanguageSurfacesTest& t) { return t.PaneItemMenu(kCopyAsPlainText); }},
    {L"pane window menu", L"Menu_Client", L"Minimize_To_Caption", L"Minimize To Caption", L"Zur Titelleiste",
     [](LanguageSurfacesTest& t) { return t.PaneWindowMenu(kMinimizeToCaption); }},
    {L"pane caption menu", L"Menu_Client", L"About_Quillora", L"About Quillora\u2026", L"Über Quillora",
     [](LanguageSurfacesTest& t) { return t.PaneCaptionMenu(kAbout); }},
    // The template's own text: the other controls are filled from strings.
    {L"about dialog", L"Dialog_About_100", L"1", L"OK", L"Gut",
     [](LanguageSurfacesTest& t) { return t.AboutDialog(IDOK); }},
    {L"welcome window", L"Dialog_Welcome_129", L"1000", L"Select Your Language:", L"Sprache wählen:",
     [](LanguageSurfacesTest& t) { return t.WelcomeWindow(kWelcomeLanguageLabel); }},
    {L"welcome title", L"Strings_Welcome", L"57346", L"Welcome to Quillora", L"Willkommen bei Quillora",
     [](LanguageSurfacesTest& t) { return t.WelcomeWindow(0); }},
};

TEST_F(LanguageSurfacesTest, EachSurfaceShowsTheChosenLanguageAndTheExampleFileGathersItsTexts) {
  // One section each: the profile functions read only the first of a name.
  std::map<std::wstring, std::wstring> sections;
  for (const Surface& s : kSurfaces) sections[s.section] += std::wstring(s.key) + L"=" + s.translation + L"\r\n";
  std::wstring body = L"[Main]\r\nLangPrefix=de\r\nLangLocalized=Deutsch\r\n";
  for (const auto& section : sections) body += L"[" + section.first + L"]\r\n" + section.second;
  ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"Deutsch.lng"), body));

  SetSetting(L"Language", L"Deutsch.lng");
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  for (const Surface& s : kSurfaces) EXPECT_EQ(s.show(*this), s.translation) << qlrtest::ToUtf8(s.name);
  ExitTray();

  // No language: the example file is the language file, and each surface
  // shown leaves its built-in text in it.
  DeleteFileW(dir.File(L"LocalizeExample.lng").c_str());
  SetSetting(L"Language", L"");
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  for (const Surface& s : kSurfaces) {
    const std::wstring shown = s.show(*this);
    EXPECT_FALSE(shown.empty()) << qlrtest::ToUtf8(s.name);
    EXPECT_NE(shown, s.translation) << qlrtest::ToUtf8(s.name);
    EXPECT_EQ(LngValue(L"LocalizeExample.lng", s), s.builtIn) << qlrtest::ToUtf8(s.name);
  }
  ExitTray();
}

}  // namespace
