// The pieces of the phrase pane's model run (pane_model.h): the model of
// the phrase folder, the editor on a prepared folder, the box answerer and
// the stand-in for the tray program's options announcement.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "editor/app/editor_access.h"
#include "editor/app/editor_app.h"
#include "editor/app/editor_ids.h"
#include "editor/doc/doc.h"
#include "editor/doc/phrase_view.h"
#include "editor/frame/main_frame.h"
#include "editor/pane/phrase_pane.h"
#include "editor/store/command_folder.h"
#include "editor/text/rich_text_io.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/phrase_test_util.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/res/afx_ids.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace panemodel {

using Path = std::vector<std::wstring>;  // group names from the top; a phrase's own name last

struct Phrase {
  Phrase(const wchar_t* words = L"") : text(words) {}
  Phrase(std::wstring words, bool checked) : text(std::move(words)), on(checked) {}
  std::wstring text;
  bool on = true;  // its check box
};

struct Group {
  std::map<std::wstring, Phrase> phrases;  // by name
  std::map<std::wstring, Group> groups;
};

inline std::string Narrow(const std::wstring& text) { return qlrtest::ToUtf8(text); }

// The seed given as "--seed=N" on the command line, else one from the clock.
inline unsigned ChosenSeed() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  unsigned seed = GetTickCount() ^ GetCurrentProcessId();
  for (int i = 1; args && i < count; ++i)
    if (wcsncmp(args[i], L"--seed=", 7) == 0) seed = static_cast<unsigned>(wcstoul(args[i] + 7, nullptr, 10));
  LocalFree(args);
  return seed;
}

inline std::string Show(const Path& path) {
  std::string out;
  for (const std::wstring& part : path) out += (out.empty() ? "" : "/") + Narrow(part);
  return out.empty() ? "(top)" : out;
}

// "name=text" per phrase ("name-=text" unchecked), "name{...}" per group,
// sorted by name.
inline std::string Describe(const Group& group) {
  std::string out;
  for (const auto& p : group.phrases) out += Narrow(p.first) + (p.second.on ? "=" : "-=") + Narrow(p.second.text) + ";";
  for (const auto& g : group.groups) out += Narrow(g.first) + "{" + Describe(g.second) + "}";
  return out;
}

// Every message queued on this thread (and those their handling queues)
// dispatched.
inline void Pump() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// Answers every dialog box of the editor's thread from a thread of its own
// (Yes, else OK) and keeps their texts: the shell's delete question, and
// whatever box a step should not have shown.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(DWORD thread) : m_thread(thread), m_worker([this] { Run(); }) {}
  ~BoxAnswerer() {
    m_stop = true;
    m_worker.join();
  }
  std::vector<std::wstring> Take() {
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<std::wstring> texts;
    texts.swap(m_texts);
    return texts;
  }
  // The next file dialog gets this path typed into its name field and is
  // confirmed; true once it was.
  void GiveFile(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_file = path;
    m_fileGiven = false;
  }
  bool FileGiven() {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_fileGiven;
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    auto* answerer = reinterpret_cast<BoxAnswerer*>(self);
    // A file dialog: its name field (a combo box, or an edit) takes the file.
    HWND name = GetDlgItem(window, 0x47C);
    if (!name) name = GetDlgItem(window, 0x480);
    if (name) {
      std::wstring file;
      {
        std::lock_guard<std::mutex> hold(answerer->m_lock);
        file = answerer->m_file;
      }
      if (file.empty()) return TRUE;
      // A dialog still setting itself up may put a file of its list into
      // the name field after the path went in: the path is confirmed only
      // once it has stood through two later looks.
      wchar_t shown[2 * MAX_PATH] = {};
      GetWindowTextW(name, shown, 2 * MAX_PATH);
      if (file != shown) {
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        answerer->m_fileStood = 0;
        return TRUE;
      }
      if (++answerer->m_fileStood < 3) return TRUE;
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      std::lock_guard<std::mutex> hold(answerer->m_lock);
      answerer->m_file.clear();
      answerer->m_fileGiven = true;
      return TRUE;
    }
    std::wstring text;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t part[512] = {};
      GetClassNameW(child, cls, 32);
      if (wcscmp(cls, L"Static") == 0 && GetWindowTextW(child, part, 512) > 0) text += part;
    }
    {
      std::lock_guard<std::mutex> hold(answerer->m_lock);
      answerer->m_texts.push_back(text);
    }
    const int button = GetDlgItem(window, IDYES) ? IDYES : IDOK;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return TRUE;
  }
  void Run() {
    while (!m_stop) {
      EnumThreadWindows(m_thread, Visit, reinterpret_cast<LPARAM>(this));
      // A box answered is gone before it is looked at again.
      Sleep(50);
    }
  }
  DWORD m_thread;
  std::atomic<bool> m_stop{false};
  std::mutex m_lock;
  std::vector<std::wstring> m_texts;
  std::wstring m_file;
  int m_fileStood = 0;  // looks the path has stood in the name field (the worker's own)
  bool m_fileGiven = false;
  std::thread m_worker;
};

// The editor on a prepared phrase folder: the application object, its
// document template, the frame with the pane and the settings that point
// at the folder.
class Editor {
 public:
  // onlyPhrase: the folder holds one phrase, "Only", and nothing else.
  explicit Editor(bool onlyPhrase = false) {
    InitCommonControls();
    LoadLibraryW(L"Riched20.dll");
    root = dir.File(L"Phrases");
    CreateDirectoryW(root.c_str(), nullptr);
    struct Start {
      const wchar_t* file;
      const wchar_t* title;
      const wchar_t* text;
    };
    const std::vector<Start> kStart =
        onlyPhrase ? std::vector<Start>{{L"Only.quillora", L"Only", L"only words"}}
                   : std::vector<Start>{{L"Alpha.quillora", L"Alpha", L"alpha text"},
                                        {L"Beta.quillora", L"Beta", L"beta text"},
                                        {L"Sub\\Gamma.quillora", L"Gamma", L"gamma text"},
                                        {L"Sub\\Deep\\Delta.quillora", L"Delta", L"delta text"}};
    if (!onlyPhrase) {
      CreateDirectoryW((root + L"\\Sub").c_str(), nullptr);
      CreateDirectoryW((root + L"\\Sub\\Deep").c_str(), nullptr);
    }
    // Another folder to choose and leave again.
    other = dir.File(L"Other");
    CreateDirectoryW(other.c_str(), nullptr);
    SavePhraseToFile(phrasetest::MakePhrase(L"Elsewhere", L"elsewhere", 1), other + L"\\Elsewhere.quillora");
    int sort = 0;
    for (const auto& phrase : kStart)
      SavePhraseToFile(phrasetest::MakePhrase(phrase.title, phrase.text, ++sort), root + L"\\" + phrase.file);
    const std::wstring ini = dir.File(L"Settings.ini");
    WritePrivateProfileStringW(L"Settings", L"PhrasesDirectory", root.c_str(), ini.c_str());
    SetSettingsFolders(dir.Path(), dir.File(L"profile"));
    GetEditorSettings().Load();
    GetEditorSettings().ShowUncheckedPhrases = 1;
    GetEditorSettings().lastFile.clear();
    GetCommandStore().Load(root);
    app.AddDocTemplate(new CQLRDocTemplate);
    app.OnFileNew();
    doc = GetActiveDoc();
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    frame = view ? static_cast<CMainFrame*>(view->GetParentFrame()) : nullptr;
    if (!frame) return;
    if (!app.m_pMainWnd) app.m_pMainWnd = frame;
    frame->SetWindowPos(nullptr, 10, 10, 900, 650, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    frame->RecalcLayout();
  }
  ~Editor() {
    if (frame && IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    WaitForPhraseWrites(10000);
    SetSettingsFolders(L"", L"");
  }
  bool Ready() const { return doc && frame && frame->m_wndPhrases.m_hWnd; }

  qlrtest::TempDir dir;
  std::wstring root;
  std::wstring other;
  CWinApp app;
  CDoc* doc = nullptr;
  CMainFrame* frame = nullptr;
};

// Stands for the tray program announcing changed options while a command
// runs: armed, it raises the announcement when it hears the filter toggled
// and reads the settings at once, as any listener may.
class OptionsAnnouncer : public IDocUpdateListener {
 public:
  static OptionsAnnouncer& Get() {
    static OptionsAnnouncer one;  // the document keeps its listeners for good
    return one;
  }
  void Arm(CDoc* doc, HWND window) {
    doc->AddListener(this);
    m_window = window;
    m_armed = true;
    m_heard = false;
    m_loadsWithin = 0;
  }
  bool Heard() const { return m_heard; }
  // Loads of the settings that the announcement caused inside the command.
  int LoadsWithin() const { return m_loadsWithin; }

  void OnDocUpdate(CView*, LPARAM hint, LPARAM) override {
    if (hint != kHintShowUnchecked || !m_armed) return;
    m_armed = false;
    m_heard = true;
    const int before = GetEditorSettings().GetLoadCount();
    MarkEditorSettingsChanged();
    m_loadsWithin = GetEditorSettings().GetLoadCount() - before;
  }
  HWND GetListenerHwnd() override { return m_window; }

 private:
  HWND m_window = nullptr;
  bool m_armed = false;
  bool m_heard = false;
  int m_loadsWithin = 0;
};

}  // namespace panemodel
