// Process-wide ways into the editor: the application, its main frame, the
// active document, the phrase store and the language binding.
#pragma once
#include <windows.h>

#include <string>

class CCommandFolder;
class CDoc;
class CEditorMenuToolTip;
class CMainFrame;
class CQLREditorApp;
class CView;
class CWnd;
class IDocUpdateListener;

CQLREditorApp* GetEditorApp();
void SetEditorApp(CQLREditorApp* app);

// The calling thread's main window; null on threads without a framework
// object or without a main window.
CWnd* GetMainFrameWnd();
HWND GetMainFrameHwnd();
// The main window when it is the editor's frame.
CMainFrame* GetMainFrame();
IDocUpdateListener* GetMainFrameListener();
// The main frame's menu-tooltip provider; null without the frame.
CEditorMenuToolTip* GetMenuToolTipProvider();

// The first document of the application's first template; null when none.
CDoc* GetActiveDoc();
void AddDocListener(IDocUpdateListener* listener);
void UpdateDocViews(CView* pSender, LPARAM lHint, LPARAM value);

// The phrase store, loaded on the first call from the settings' phrase
// folder.
CCommandFolder& GetCommandStore();

// A phrase was saved: the tray program hears of it once a burst of changes
// has been quiet for two seconds (through the main frame's timer).
void StampPhraseChange();

struct CEditorLanguage {
  std::wstring filePath;
  std::wstring sectionSuffix;
  bool bound = false;
};
// Binds the language file and the editor's section suffix on the first
// call (every string lookup of the process uses them afterwards).
const CEditorLanguage& GetEditorLanguage();
// The program folder (without a last "Debug" or "Release" component), "\",
// then the Language setting, or "LocalizeExample.lng" when it is empty.
std::wstring GetEditorLanguageFilePath();
std::wstring MakeEditorLanguageFilePath(const std::wstring& programFolder, const std::wstring& language);
