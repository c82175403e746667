#include "editor/app/editor_access.h"

#include "editor/doc/doc.h"
#include "editor/editor_names.h"
#include "editor/frame/main_frame.h"
#include "editor/services/web_pages.h"
#include "editor/store/command_folder.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/text/text_basics.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/doc/doc_template.h"
#include "settings/settings_files.h"

namespace {
CQLREditorApp* g_editorApp = nullptr;
}

CQLREditorApp* GetEditorApp() { return g_editorApp; }
void SetEditorApp(CQLREditorApp* app) { g_editorApp = app; }

CWnd* GetMainFrameWnd() {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->GetMainWnd() : nullptr;
}

HWND GetMainFrameHwnd() {
  CWnd* frame = GetMainFrameWnd();
  return frame ? frame->GetSafeHwnd() : nullptr;
}

CMainFrame* GetMainFrame() {
  CWnd* frame = GetMainFrameWnd();
  return frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(frame) : nullptr;
}

IDocUpdateListener* GetMainFrameListener() { return GetMainFrame(); }

CEditorMenuToolTip* GetMenuToolTipProvider() {
  CMainFrame* frame = GetMainFrame();
  return frame ? &frame->m_menuTip : nullptr;
}

CDoc* GetActiveDoc() {
  CWinApp* app = AfxGetApp();
  if (!app) return nullptr;
  POSITION pos = app->GetFirstDocTemplatePosition();
  CDocTemplate* docTemplate = pos ? app->GetNextDocTemplate(pos) : nullptr;
  if (!docTemplate) return nullptr;
  POSITION docPos = docTemplate->GetFirstDocPosition();
  CDocument* doc = docPos ? docTemplate->GetNextDoc(docPos) : nullptr;
  return doc && doc->IsKindOf(RUNTIME_CLASS(CDoc)) ? static_cast<CDoc*>(doc) : nullptr;
}

void AddDocListener(IDocUpdateListener* listener) {
  if (CDoc* doc = GetActiveDoc()) doc->AddListener(listener);
}

void UpdateDocViews(CView* pSender, LPARAM lHint, LPARAM value) {
  if (CDoc* doc = GetActiveDoc()) doc->UpdateViews(pSender, lHint, value);
}

CCommandFolder& GetCommandStore() {
  static CCommandFolder* store = [] {
    auto* folder = new CCommandFolder;  // lives until the process ends
    // The record lies beside the settings file in use, outside the phrase
    // folder (which is backed up and exported).
    const std::wstring ini = GetSettingsIniPath();
    const size_t slash = ini.find_last_of(L'\\');
    if (slash != std::wstring::npos)
      folder->SetLoadRecordPath(ini.substr(0, slash + 1) + editor_names::kPhraseLoadRecordFile);
    folder->Load(GetEditorSettings().GetPhrasesDirectoryNoSlash());
    return folder;
  }();
  return *store;
}

void StampPhraseChange() {
  if (CMainFrame* frame = GetMainFrame()) frame->StampChange();
}

std::wstring MakeEditorLanguageFilePath(const std::wstring& programFolder, const std::wstring& language) {
  // A program run from a build folder uses the language files above it.
  return GetLngFolderOf(programFolder) +
         (language.empty() ? std::wstring(editor_names::kDefaultLanguageFile) : language);
}

std::wstring GetEditorLanguageFilePath() {
  return MakeEditorLanguageFilePath(GetAppFolder(), GetEditorSettings().GetLanguage());
}

const CEditorLanguage& GetEditorLanguage() {
  static CEditorLanguage language = [] {
    CEditorLanguage bound;
    bound.filePath = GetEditorLanguageFilePath();
    bound.sectionSuffix = editor_names::kLanguageSuffix;
    bound.bound = BindLanguageFile(bound.filePath, bound.sectionSuffix);
    SetRussianPages(IsRussianLangFile(bound.filePath));
    return bound;
  }();
  return language;
}
