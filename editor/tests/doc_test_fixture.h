// The document with its frame and a small phrase folder, for the tests of
// the document hub and its views.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/app/editor_access.h"
#include "editor/app/editor_app.h"
#include "editor/doc/doc.h"
#include "editor/doc/folder_view.h"
#include "editor/doc/phrase_view.h"
#include "editor/store/command_folder.h"
#include "editor_settings/editor_settings.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/phrase_test_util.h"
#include "platform/mfc/doc/view.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace docfix {

struct Notice {
  int listener;
  LPARAM hint;
  LPARAM value;
};
inline std::vector<Notice> g_notices;

// A listener with a window of its own (or a borrowed one).
class RecordingListener : public IDocUpdateListener {
 public:
  explicit RecordingListener(int number, HWND borrowed = nullptr) : m_number(number), m_window(borrowed) {
    if (!m_window) {
      m_window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      m_own = true;
    }
  }
  ~RecordingListener() {
    if (m_own && IsWindow(m_window)) DestroyWindow(m_window);
  }
  void OnDocUpdate(CView*, LPARAM hint, LPARAM value) override { g_notices.push_back({m_number, hint, value}); }
  HWND GetListenerHwnd() override { return m_window; }
  void DestroyOwnWindow() { DestroyWindow(m_window); }

 private:
  int m_number;
  HWND m_window;
  bool m_own = false;
};

inline std::wstring ReadIni(const std::wstring& ini, const wchar_t* section, const wchar_t* key) {
  wchar_t buf[1024] = {};
  GetPrivateProfileStringW(section, key, L"", buf, 1024, ini.c_str());
  return buf;
}

class DocHubTest : public ::testing::Test {
 protected:
  void SetUp() override {
    phrases = dir.File(L"Phrases");
    CreateDirectoryW(phrases.c_str(), nullptr);
    CreateDirectoryW((phrases + L"\\Sub").c_str(), nullptr);
    ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"Alpha", L"alpha text", 1), phrases + L"\\Alpha.quillora"));
    ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"Beta", L"beta text", 2), phrases + L"\\Beta.quillora"));
    CPhraseNode off = phrasetest::MakePhrase(L"Off", L"off text", 3);
    off.SetEnabled(false);
    ASSERT_TRUE(SavePhraseToFile(off, phrases + L"\\Sub\\Off.quillora"));
    ASSERT_TRUE(SavePhraseToFile(phrasetest::MakePhrase(L"Gamma", L"g", 4), phrases + L"\\Sub\\Gamma.quillora"));
    ini = dir.File(L"Settings.ini");
    WritePrivateProfileStringW(L"Settings", L"PhrasesDirectory", phrases.c_str(), ini.c_str());
    WritePrivateProfileStringW(L"Settings", L"WriteLog", L"7", ini.c_str());
    SetSettingsFolders(dir.Path(), dir.File(L"profile"));
    GetEditorSettings().Load();
    GetEditorSettings().ShowUncheckedPhrases = 1;
    GetCommandStore().Load(phrases);
    g_notices.clear();

    CDocument* created = tmpl.OpenDocumentFile(nullptr, FALSE);
    ASSERT_NE(created, nullptr);
    doc = static_cast<CDoc*>(created);
    frame = View()->GetParentFrame();
    frame->MoveWindow(10, 10, 600, 400);
    frame->RecalcLayout();
  }
  void TearDown() override {
    if (frame && IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    SetSettingsFolders(L"", L"");
  }
  CView* View() const {
    POSITION pos = doc->GetFirstViewPosition();
    return pos ? doc->GetNextView(pos) : nullptr;
  }
  int IdOf(const std::wstring& file) {
    CQLRCommand* record = GetCommandStore().FindByPath((phrases + L"\\" + file).c_str());
    return record ? static_cast<int>(record->GetId()) : -1;
  }
  std::string ViewRect() const {
    RECT rect;
    GetWindowRect(View()->m_hWnd, &rect);
    MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
  }

  qlrtest::TempDir dir;
  std::wstring phrases, ini;
  CQLRDocTemplate tmpl;
  CDoc* doc = nullptr;
  CFrameWnd* frame = nullptr;
};
}  // namespace docfix
