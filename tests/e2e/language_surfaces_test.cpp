// Every surface of the real programs in the chosen language: with a template
// made from the three programs and one text of each translated in it, each
// shows its translation; with no language chosen, LocalizeExample.lng
// gathers the built-in text of each surface once it has been shown, and at
// the next start the menus still answer their mnemonic keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor_settings/language/make_lng_file.h"
#include "editor_settings/language/tests/lng_template_run.h"
#include "foundation/logging/log.h"
#include "tests/e2e/editor_session.h"
#include "tests/e2e/hotkey_session.h"
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
constexpr UINT kOpenAsUrl = 32806;
constexpr UINT kCheckForUpdates = 32791;
constexpr int kUpdateSkipButton = 5;
constexpr int kPromptEdit = 1013;
constexpr UINT kEditorExit = 32834;
constexpr WORD kEditorMenu = 128;
constexpr UINT kEditorHomePage = 32781;
constexpr int kSettingsSounds = 1011;
constexpr wchar_t kTipAddressSeparator[] = L"   \u00BB ";

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
    qlre2e::MenuDump dump = Dump(nullptr, id);
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
  // Found by its OK button: its title is the about item's caption in the menu.
  std::wstring AboutDialog(int control) {
    PostMessageW(tray, WM_COMMAND, kAbout, 0);
    return ReadAndClose(TrayDialogWith(IDOK), control, IDOK);
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
  // The phrase menu, brought up by the hotkey over a target of its own;
  // read runs while it is open, and every menu is closed afterwards.
  std::wstring InPhraseMenu(const std::function<std::wstring()>& read) {
    qlre2e::InsertTarget target;
    if (!target.Start() || !qlrtest::WaitUntil([] { return !qlre2e::DefaultHotkeyIsFree(); }, kProgramWaitMs))
      return std::wstring();
    if (!qlre2e::PressDefaultHotkey() || !WaitForMenu()) return std::wstring();
    const std::wstring text = read();
    qlrtest::WaitUntil(
        [&] {
          if (!MenuWindow()) return true;
          PostMessageW(tray, RegisterWindowMessageW(kMenuProbeCloseMessage), 0, 0);
          return false;
        },
        kProgramWaitMs, 200);
    return text;
  }
  // The last item highlighted from the keyboard, its tip read.
  std::wstring PhraseMenuTip() {
    return InPhraseMenu([&] {
      PostMessageW(tray, WM_KEYDOWN, VK_UP, 0);
      std::wstring text;
      qlrtest::WaitUntil(
          [&] {
            for (HWND tip : qlrtest::FindProcessWindows(child.Pid())) {
              wchar_t cls[32] = {};
              GetClassNameW(tip, cls, 32);
              if (wcscmp(cls, L"MenuToolTip") == 0 && IsWindowVisible(tip)) text = ControlText(tip, 0);
            }
            return !text.empty();
          },
          kProgramWaitMs);
      return text;
    });
  }
  // The first item's right-click menu.
  std::wstring PhraseItemMenu(UINT id) {
    return InPhraseMenu([&] {
      HWND tracker = nullptr;
      // A walk over the message windows ends early when the window it stands
      // on goes meanwhile (other programs make and end theirs): walk again.
      qlrtest::WaitUntil(
          [&] {
            for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, L"Quillora_Menu_Tracker", nullptr); w && !tracker;
                 w = FindWindowExW(HWND_MESSAGE, w, L"Quillora_Menu_Tracker", nullptr)) {
              DWORD pid = 0;
              GetWindowThreadProcessId(w, &pid);
              if (pid == child.Pid()) tracker = w;
            }
            return tracker != nullptr;
          },
          kProgramWaitMs, 50);
      if (!tracker) {
        std::wstring seen = L"<no tracker; child " + std::to_wstring(child.Pid()) + L"; trackers of";
        for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
             w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
          wchar_t cls[64] = {};
          GetClassNameW(w, cls, 64);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          seen += L" " + std::wstring(cls) + L":" + std::to_wstring(pid);
        }
        return seen + L"; menus " + std::to_wstring(VisibleMenus()) + L">";
      }
      PostMessageW(tray, RegisterWindowMessageW(kMenuProbeRightUpMessage), reinterpret_cast<WPARAM>(tracker), 0);
      // Read once it is up beside the phrase menu.
      qlrtest::WaitUntil([&] { return VisibleMenus() >= 2; }, kProgramWaitMs, 50);
      const qlre2e::MenuDump dump = Dump(tray, id);
      const qlre2e::MenuItemDump* item = dump.Find(id);
      return item ? item->caption : L"<no item " + std::to_wstring(id) + L">";
    });
  }
  int VisibleMenus() const {
    int n = 0;
    for (HWND w : qlrtest::FindProcessWindows(child.Pid())) {
      wchar_t cls[16] = {};
      GetClassNameW(w, cls, 16);
      n += wcscmp(cls, L"#32768") == 0 && IsWindowVisible(w);
    }
    return n;
  }
  // The visible dialogs (message boxes too) of the process that hold the
  // control.
  static std::vector<HWND> DialogsWith(DWORD process, int control) {
    std::vector<HWND> found;
    for (HWND w : qlrtest::FindProcessWindows(process)) {
      wchar_t cls[16] = {};
      GetClassNameW(w, cls, 16);
      if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w) && GetDlgItem(w, control)) found.push_back(w);
    }
    return found;
  }
  // A visible dialog of the tray program that holds the control.
  HWND TrayDialogWith(int control) {
    HWND found = nullptr;
    qlrtest::WaitUntil(
        [&] {
          for (HWND w : DialogsWith(child.Pid(), control)) found = w;
          return found != nullptr;
        },
        kProgramWaitMs);
    return found;
  }
  // The dialog's control read, then the dialog closed by the command.
  std::wstring ReadAndClose(HWND dialog, int control, int command = IDCANCEL) {
    if (!dialog) return std::wstring();
    const std::wstring text = ControlText(dialog, control);
    PostMessageW(dialog, WM_COMMAND, command, 0);
    qlrtest::WaitUntil([&] { return !IsWindow(dialog); }, kProgramWaitMs);
    return text;
  }
  // The phrase with a prompt, sent by another program for a target of its
  // own: the prompt dialog asks first.
  std::wstring PromptDialog(int control) {
    qlre2e::InsertTarget target;
    if (!target.Start()) return std::wstring();
    // The tray may ask while the block is still being delivered.
    std::thread send([&] { qlre2e::SendCommandBlock(tray, 1, target.Window(), 138); });
    const std::wstring text = ReadAndClose(TrayDialogWith(kPromptEdit), control);
    send.join();
    return text;
  }
  // A check against an update site that does not answer: the dialog shows
  // the failure.
  std::wstring UpdateDialog(int control) {
    PostMessageW(tray, WM_COMMAND, kCheckForUpdates, 0);
    return ReadAndClose(TrayDialogWith(kUpdateSkipButton), control);
  }
  // The editor beside the tray program: started, read, ended.
  std::wstring InEditor(const std::function<std::wstring(HWND frame, DWORD pid)>& read) {
    qlrtest::ChildProcess editor;
    if (!editor.Start(dir.File(L"QuilloraEditor.exe"), L"")) return std::wstring();
    HWND frame = nullptr;
    qlrtest::WaitUntil(
        [&] {
          std::vector<HWND> frames = qlre2e::FindEditorFrames(editor.Pid());
          frame = frames.empty() ? nullptr : frames.front();
          return frame != nullptr;
        },
        kProgramWaitMs);
    const std::wstring text = frame ? read(frame, editor.Pid()) : std::wstring();
    if (frame) PostMessageW(frame, WM_COMMAND, kEditorExit, 0);
    EndEditor(editor);
    return text;
  }
  // Waits for the editor to end. A box it shows on the way (settings it
  // could not save) is kept in editorBoxes and answered Yes where it offers
  // to go on without saving; an editor that stays open for it is ended.
  void EndEditor(qlrtest::ChildProcess& editor) {
    std::vector<HWND> answered;
    bool stays = false;
    qlrtest::WaitUntil(
        [&] {
          for (HWND box : DialogsWith(editor.Pid(), 0xFFFF)) {
            if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
            answered.push_back(box);
            editorBoxes.push_back(ControlText(box, 0xFFFF));
            if (!GetDlgItem(box, IDYES)) stays = true;
            PostMessageW(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
          }
          return stays || !editor.IsRunning();
        },
        kProgramWaitMs, 100);
    if (editor.Wait(stays ? 0 : kProgramWaitMs) == -1) editor.Kill();
  }
  // A menu of the frame opened from the keyboard once the menu bar is in:
  // by the bar item's mnemonic, or (key 0) the first item of the bar chosen
  // and opened, since its mnemonic may be gone in a language file's text.
  // Asked again now and then: a start still under way may drop it.
  bool OpenEditorMenu(HWND frame, DWORD pid, wchar_t key) {
    qlrtest::WaitUntil([&] { return IsWindowVisible(frame) && GetMenu(frame); }, kProgramWaitMs);
    return qlrtest::WaitUntil(
        [&] {
          if (MenuWindow(pid)) return true;
          PostMessageW(frame, WM_SYSCOMMAND, SC_KEYMENU, key);
          if (!key) PostMessageW(frame, WM_KEYDOWN, VK_DOWN, 0);
          return WaitForMenu(pid, 2000);
        },
        kProgramWaitMs, 10);
  }
  // The File menu opened from the keyboard, read in the editor's thread.
  std::wstring EditorMenu(UINT id) {
    return InEditor([&](HWND frame, DWORD pid) {
      if (!ProbeThreadOf(frame)) return std::wstring(L"<no probe>");
      if (!OpenEditorMenu(frame, pid, 0)) return std::wstring(L"<no menu>");
      qlre2e::MenuDump dump = Dump(frame, id);
      CloseMenu(frame, pid);
      const qlre2e::MenuItemDump* item = dump.Find(id);
      return item ? item->caption : L"<no item " + std::to_wstring(id) + L">";
    });
  }
  // A toolbar button's tip as its tooltip asks the toolbar for it (in the
  // editor's thread: the question cannot cross processes); the web address
  // behind the text left out.
  std::wstring EditorToolbarTip(UINT id) {
    return InEditor([&](HWND frame, DWORD) {
      std::pair<UINT, HWND> found(id, nullptr);
      qlrtest::WaitUntil(
          [&] {
            EnumChildWindows(
                frame,
                [](HWND w, LPARAM out) -> BOOL {
                  wchar_t cls[32] = {};
                  GetClassNameW(w, cls, 32);
                  auto* found = reinterpret_cast<std::pair<UINT, HWND>*>(out);
                  if (wcscmp(cls, TOOLBARCLASSNAMEW) != 0 || SendMessageW(w, TB_COMMANDTOINDEX, found->first, 0) < 0)
                    return TRUE;
                  found->second = w;
                  return FALSE;
                },
                reinterpret_cast<LPARAM>(&found));
            return found.second != nullptr;
          },
          kProgramWaitMs);
      if (!found.second || !ProbeThreadOf(found.second)) return std::wstring(L"<no toolbar>");
      const std::wstring answer = AskProbe(found.second, kMenuProbeToolbarTipMessage,
                                           reinterpret_cast<WPARAM>(found.second), id);
      if (answer.compare(0, 4, L"tip|") != 0) return std::wstring(L"<no tip>");
      const std::wstring tip = answer.substr(4, answer.find(L'\n') - 4);
      return tip.substr(0, tip.find(kTipAddressSeparator));
    });
  }
  // At the second start with no language: every item of the tray menu
  // that had a mnemonic at the first start still has it, and the command's
  // mnemonic key carries it out (Exit: the program ends).
  std::wstring TrayMenuKey(const qlre2e::MenuDump& first, UINT id, wchar_t key) {
    if (!ClickIcon(WM_RBUTTONUP)) return L"<no menu>";
    const qlre2e::MenuDump dump = Dump(nullptr, id);
    std::wstring lost;
    for (const qlre2e::MenuItemDump& was : first.items) {
      const qlre2e::MenuItemDump* now = was.caption.find(L'&') == std::wstring::npos ? nullptr : dump.Find(was.id);
      if (now && now->caption != was.caption) lost += L" " + was.caption + L" -> " + now->caption;
    }
    const qlre2e::MenuItemDump* item = dump.Find(id);
    const std::wstring caption = item ? item->caption : L"<no item>";
    PostMessageW(tray, WM_CHAR, key, 0);
    if (child.Wait(kProgramWaitMs) == -1) {
      CloseMenu();
      return caption + L" <still running>" + lost;
    }
    return caption + lost;
  }
  // The editor's File menu opened by its mnemonic after Alt, then the
  // command's key pressed in it (Exit: the editor ends). Every command of
  // the open menu shows its text as the editor's menu resource has it,
  // mnemonic and accelerator included.
  std::wstring EditorMenuKey(UINT id, wchar_t menuKey, wchar_t key) {
    return InEditor([&](HWND frame, DWORD pid) {
      if (!ProbeThreadOf(frame)) return std::wstring(L"<no probe>");
      if (!OpenEditorMenu(frame, pid, menuKey)) return std::wstring(L"<no menu from its key>");
      const qlre2e::MenuDump dump = Dump(frame, id);
      const qlre2e::MenuItemDump* item = dump.Find(id);
      std::wstring caption = item ? item->caption : L"<no item>";
      HMODULE module = LoadLibraryExW(dir.File(L"QuilloraEditor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
      HMENU builtIn = module ? LoadMenuW(module, MAKEINTRESOURCEW(kEditorMenu)) : nullptr;
      if (!builtIn) caption += L" <no menu resource>";
      for (const qlre2e::MenuItemDump& now : dump.items) {
        wchar_t text[260] = {};
        if (!builtIn || now.Has(L'P') || GetMenuStringW(builtIn, now.id, text, 260, MF_BYCOMMAND) <= 0) continue;
        if (now.caption != text) caption += L" " + std::wstring(text) + L" -> " + now.caption;
      }
      if (builtIn) DestroyMenu(builtIn);
      if (module) FreeLibrary(module);
      PostMessageW(frame, WM_CHAR, key, 0);
      if (!qlrtest::WaitUntil([&] { return !IsWindow(frame); }, kProgramWaitMs)) {
        CloseMenu(frame, pid);
        return caption + L" <still running>";
      }
      return caption;
    });
  }
  std::wstring SettingsPage(int control) {
    return InEditor([&](HWND frame, DWORD) {
      HWND page = nullptr;
      qlrtest::WaitUntil([&] { return (page = qlre2e::FindSettingsPage(frame)) != nullptr; }, kProgramWaitMs);
      return page ? ControlText(page, control) : std::wstring();
    });
  }
  static std::wstring ControlText(HWND parent, int control) {
    HWND window = control ? GetDlgItem(parent, control) : parent;
    if (!window) return std::wstring();
    std::wstring text(4096, L'\0');
    const LRESULT n = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
  }
  std::vector<std::wstring> editorBoxes;
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
    CopyLibrary();
    SetSetting(L"AutoCheckForUpdates", L"0");
    for (const wchar_t* f : {L"Quillora_Welcome.exe", L"HTMLayout.dll", L"QuilloraEditor.exe"})
      ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), dir.File(f)));
    // Nothing listens there: the update check fails at once.
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"UpdateSite_Test.UpdateSite_Test"), "http://127.0.0.1:1/"));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"InternetState_Test.InternetState_Test"), "0"));
    ASSERT_TRUE(
        qlre2e::WritePhrase(dir.File(L"Phrases\\Letter.quillora"), L"Letter", L"Dear %PROMPT_TEXT={Name}%,", 0));
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
    {L"phrase menu", L"Strings_Client", L"32784", L"Visit to support form on official web site",
     L"Zum Support-Formular", [](LanguageSurfacesTest& t) { return t.PhraseMenuTip(); }},
    {L"phrase item menu", L"Menu_Client", L"Open_As_URL", L"Open As URL", L"Als Adresse öffnen",
     [](LanguageSurfacesTest& t) { return t.PhraseItemMenu(kOpenAsUrl); }},
    {L"prompt dialog", L"Dialog_Prompt_220", L"1", L"OK", L"Weiter",
     [](LanguageSurfacesTest& t) { return t.PromptDialog(IDOK); }},
    {L"prompt dialog cancel", L"Strings_Client", L"230", L"Cancel", L"Abbrechen",
     [](LanguageSurfacesTest& t) { return t.PromptDialog(IDCANCEL); }},
    {L"update dialog", L"Strings_Client", L"241", L"Close", L"Schließen",
     [](LanguageSurfacesTest& t) { return t.UpdateDialog(IDCANCEL); }},
    {L"editor menu", L"Menu_Editor", L"Exit", L"Exit", L"Beenden",
     [](LanguageSurfacesTest& t) { return t.EditorMenu(kEditorExit); }},
    // The tip is the text's first line; the file holds both lines.
    {L"editor toolbar tip", L"Strings_Editor", L"32781", L"Visit the web site of Quillora\\nHome Page",
     L"Webseite besuchen", [](LanguageSurfacesTest& t) { return t.EditorToolbarTip(kEditorHomePage); }},
    {L"settings page", L"Dialog_130", L"1011", L"Enable sounds", L"Töne an",
     [](LanguageSurfacesTest& t) { return t.SettingsPage(kSettingsSounds); }},
};

TEST_F(LanguageSurfacesTest, EachSurfaceShowsTheChosenLanguageAndTheExampleFileGathersItsTexts) {
  // The translator's road: a template made from the three programs (the
  // editor's file read as data, as the editor reads its own), and each
  // surface's text translated where the template put it.
  qlrtest::TempDir work;
  LngTemplateSources sources;
  sources.programFolder = dir.Path();
  sources.editorModule =
      LoadLibraryExW(dir.File(L"QuilloraEditor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(sources.editorModule, nullptr);
  const lngtest::TemplateRun made = lngtest::MakeTemplate(work.File(L"Deutsch.lng"), sources);
  FreeLibrary(sources.editorModule);
  ASSERT_EQ(made.result, kMakeLngDone);
  EXPECT_TRUE(made.unanswered.empty()) << qlrtest::ToUtf8(made.unanswered.empty() ? L"" : made.unanswered[0]);
  const std::wstring lng = dir.File(L"Deutsch.lng");
  ASSERT_TRUE(CopyFileW(work.File(L"Deutsch.lng").c_str(), lng.c_str(), FALSE));
  for (const Surface& s : kSurfaces) {
    EXPECT_EQ(LngValue(L"Deutsch.lng", s), s.builtIn) << "in the template: " << qlrtest::ToUtf8(s.name);
    ASSERT_TRUE(WritePrivateProfileStringW(s.section, s.key, s.translation, lng.c_str()));
  }
  ASSERT_TRUE(WritePrivateProfileStringW(L"Main", L"LangPrefix", L"de", lng.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Main", L"LangLocalized", L"Deutsch", lng.c_str()));

  SetSetting(L"Language", L"Deutsch.lng");
  ASSERT_NE(StartTray(L""), nullptr);
  for (const Surface& s : kSurfaces) EXPECT_EQ(s.show(*this), s.translation) << qlrtest::ToUtf8(s.name);
  ExitTray();

  // No language: the example file is the language file, and each surface
  // shown leaves its built-in text in it.
  DeleteFileW(dir.File(L"LocalizeExample.lng").c_str());
  SetSetting(L"Language", L"");
  ASSERT_NE(StartTray(L""), nullptr);
  const qlre2e::MenuDump firstTrayMenu = OpenAndRead();
  for (const Surface& s : kSurfaces) {
    const std::wstring shown = s.show(*this);
    EXPECT_FALSE(shown.empty()) << qlrtest::ToUtf8(s.name);
    EXPECT_NE(shown, s.translation) << qlrtest::ToUtf8(s.name);
    EXPECT_EQ(LngValue(L"LocalizeExample.lng", s), s.builtIn) << qlrtest::ToUtf8(s.name);
  }
  ExitTray();

  // The next start reads the gathered texts as its language: they are no
  // translation, and the menus keep their mnemonics and answer their keys.
  ASSERT_NE(StartTray(L""), nullptr);
  EXPECT_EQ(EditorMenuKey(kEditorExit, L'f', L'x'), L"E&xit") << "editor: Alt+F, then x";
  EXPECT_EQ(TrayMenuKey(firstTrayMenu, kExit, L'x'), L"E&xit") << "tray menu: x";
}

// A UTF-16 file of at least the size: body, then comment lines.
std::wstring Padded(std::wstring body, size_t bytes) {
  while ((body.size() + 1) * sizeof(wchar_t) <= bytes) body += L";" + std::wstring(120, L'-') + L"\r\n";
  return body;
}

constexpr UINT kTrayWriteLog = 32815;
constexpr UINT kTraySounds = 32817;
constexpr UINT kEditorPreview = 32841;

// Files past the sizes the programs read are read as empty; whatever the
// programs do, they write nothing into them: every surface shown, an option
// changed in the tray, in the editor's menu and on its settings page.
TEST_F(LanguageSurfacesTest, FilesPastTheirSizeLimitsStayByteForByte) {
  std::map<std::wstring, std::wstring> sections;
  for (const Surface& s : kSurfaces) sections[s.section] += std::wstring(s.key) + L"=" + s.translation + L"\r\n";
  std::wstring translations = L"[Main]\r\nLangPrefix=de\r\nLangLocalized=Deutsch\r\n";
  for (const auto& section : sections) translations += L"[" + section.first + L"]\r\n" + section.second;
  // Where the phrases are when the settings cannot be read.
  CreateDirectoryW(dir.File(L"UserPhrases").c_str(), nullptr);
  ASSERT_TRUE(
      qlre2e::WritePhrase(dir.File(L"UserPhrases\\Letter.quillora"), L"Letter", L"Dear %PROMPT_TEXT={Name}%,", 0));
  const struct {
    const char* name;
    bool bigSettings;       // Settings.ini past 256 KB, so no language is read
    const wchar_t* lngFile;  // the language file in use, 1 MB
  } rows[] = {
      {"chosen language file", false, L"Big.lng"},
      {"settings file and example file", true, L"LocalizeExample.lng"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring lngPath = dir.File(row.lngFile), iniPath = dir.File(L"Settings.ini");
    ASSERT_TRUE(qlrtest::WriteUtf16File(lngPath, Padded(translations, 1024 * 1024)));
    SetSetting(L"Language", row.bigSettings ? L"" : row.lngFile);
    SetSetting(L"SoundOnEventsV094", L"0");
    if (row.bigSettings) {
      // The user's keys, then enough to pass the limit.
      SetSetting(L"ClipboardHistoryMax", L"77");
      SetSetting(L"Language", L"Big.lng");
      ASSERT_TRUE(qlrtest::WriteUtf16File(iniPath, Padded(qlrtest::ReadUtf16File(iniPath), 300 * 1024)));
    }
    const std::string lngBefore = qlrtest::ReadBytes(lngPath), iniBefore = qlrtest::ReadBytes(iniPath);
    editorBoxes.clear();
    DeleteFileW(dir.File(L"LogReport.txt").c_str());

    // No settings read, no log switch: the log stays closed. (Nor is the
    // welcome window known to have been shown: the tray asks the shell,
    // which the test switch answers, to start it.)
    ASSERT_NE(StartTray(L"", !row.bigSettings), nullptr);
    // Read as empty, the file translates nothing.
    for (const Surface& s : kSurfaces) {
      const std::wstring shown = s.show(*this);
      EXPECT_FALSE(shown.empty()) << qlrtest::ToUtf8(s.name);
      EXPECT_NE(shown, s.translation) << qlrtest::ToUtf8(s.name);
    }
    // The file refused while the log was closed is told once the user
    // opens it: opening it is an option saved too.
    if (row.bigSettings) {
      EXPECT_EQ(SendMessageW(tray, WM_COMMAND, kTrayWriteLog, 0), 0);
      EXPECT_TRUE(WaitForLog(L"Settings.ini] is larger than"));
    }
    EXPECT_EQ(SendMessageW(tray, WM_COMMAND, kTraySounds, 0), 0);
    InEditor([&](HWND frame, DWORD) {
      qlre2e::SendWaiting(frame, WM_COMMAND, kEditorPreview, 0);
      HWND page = nullptr;
      qlrtest::WaitUntil([&] { return (page = qlre2e::FindSettingsPage(frame)) != nullptr; }, kProgramWaitMs);
      if (page) qlre2e::SendWaiting(GetDlgItem(page, kSettingsSounds), BM_CLICK);
      return std::wstring();
    });
    ExitTray();

    EXPECT_TRUE(qlrtest::ReadBytes(lngPath) == lngBefore);
    if (row.bigSettings) {
      EXPECT_TRUE(qlrtest::ReadBytes(iniPath) == iniBefore);
      // The editor said that it could not save the settings.
      bool told = false;
      for (const std::wstring& box : editorBoxes) told = told || box.find(iniPath) != std::wstring::npos;
      EXPECT_TRUE(told) << editorBoxes.size();
    } else {
      // The same changes go into a file of a usual size.
      EXPECT_NE(qlrtest::ReadBytes(iniPath), iniBefore);
      EXPECT_TRUE(editorBoxes.empty()) << qlrtest::ToUtf8(editorBoxes.empty() ? L"" : editorBoxes[0]);
    }
    // Said once by the tray program, however often it was refused.
    const std::wstring refused = row.bigSettings ? L"Settings.ini] is larger than" : L"Big.lng] is larger than";
    const std::wstring log = LogText();
    int told = 0;
    for (size_t at = log.find(refused); at != std::wstring::npos; at = log.find(refused, at + 1))
      told += log.compare(log.rfind(L'\n', at) + 1, wcslen(kLogTagAgent), kLogTagAgent) == 0;
    EXPECT_EQ(told, 1) << qlrtest::ToUtf8(log.substr(log.size() > 3000 ? log.size() - 3000 : 0));
    DeleteFileW(lngPath.c_str());
  }
}

}  // namespace
