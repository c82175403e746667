// The data-needed handler of the tray program: given the state of the
// target window, it builds the phrase menu, shows it at the caret or the
// mouse, and reports the chosen command to the tray window by message. It
// also keeps the request's state that the insertion reads later and the
// list of last-used phrases.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_folder_cache.h"
#include "phrases/menu/menu_last_used.h"
#include "phrases/menu/menu_macros.h"
#include "phrases/menu/menu_pool.h"
#include "phrases/menu/menu_tracker.h"

class CPhraseStore;

// One request as the tray window hands it over (from its hotkey path or
// from the core hook library's query).
struct CMenuRequest {
  HWND hwndForMenu = nullptr;
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND menuOwner = nullptr;
  HWND caret = nullptr;
  HKL layout = nullptr;
  std::wstring selectedText;
  int selectionFlag = 0;       // the two selection-state flags: both 0 means
  int selectionFlagOther = 0;  // "nothing selected", whatever the text says
  int x = -1;  // both -1: no caret position known
  int y = -1;
};

// Asked before the last-used list changes; 0 refuses the id.
typedef BOOL (*PreSetLastIdCallback)(void* context, int id);

class IDataNeededHander {
 public:
  IDataNeededHander();
  virtual void ReleaseMenuFonts() = 0;
  virtual BOOL AllowKeyboardLayoutSwitch() = 0;
  virtual BOOL IsMenuShown() = 0;
  virtual void OnDataNeeded(const CMenuRequest& request, void* answer) = 0;
  virtual BOOL FillsAnswer() = 0;
  virtual ~IDataNeededHander() = default;

  void SetTarget(HKL layout, const std::wstring& selectedText, HWND target);
  WORD GetTargetLangId() const { return LOWORD(reinterpret_cast<ULONG_PTR>(m_layout)); }
  HWND GetTargetWindow() const { return m_target; }
  const std::wstring& GetSelectedText() const { return m_selectedText; }
  int GetLastUsedId() const { return m_lastUsedId; }
  // False when the pre-set callback refused the id.
  BOOL SetLastID(int id);
  const std::vector<std::uint32_t>& GetLastUsedIds() const { return m_lastUsed.Ids(); }
  // After the phrase store was loaded again: the last-used ids follow their
  // phrase files.
  void OnPhrasesReloaded();

  void SetPreSetCallback(PreSetLastIdCallback callback, void* context) {
    m_preSet = callback;
    m_preSetContext = context;
  }
  void SetClipboardText(const std::wstring& text) { m_clipboardText = text; }
  const std::wstring& GetClipboardText() const { return m_clipboardText; }
  void SetOptions(const CPhraseMenuOptions& options, int lastUsedCount);
  const CPhraseMenuOptions& GetOptions() const { return m_options; }
  // The macro engine by default; tests may hand in another.
  void SetMacroExpander(IMenuMacroExpander* macros) { m_macros = macros ? macros : &m_engine; }

 protected:
  CLastUsedList m_lastUsed;
  int m_lastUsedId = -1;
  std::wstring m_selectedText;
  HKL m_layout = nullptr;
  HWND m_target = nullptr;
  PreSetLastIdCallback m_preSet = nullptr;
  void* m_preSetContext = nullptr;
  CPhraseStore* m_store = nullptr;
  IMenuHistory* m_history = nullptr;
  std::wstring m_clipboardText;
  CPhraseMenuOptions m_options;
  int m_lastUsedCount = 3;
  CPhraseMenuMacros m_engine;
  IMenuMacroExpander* m_macros = &m_engine;
};

class IDataNeededHander_MenuSelf : public IDataNeededHander, public IMenuTrackerOwner {
 public:
  IDataNeededHander_MenuSelf(HWND resultWindow, UINT resultMessage, CPhraseStore* store, IMenuHistory* history,
                             HWND trayWindow);
  ~IDataNeededHander_MenuSelf() override;

  void ReleaseMenuFonts() override;
  BOOL AllowKeyboardLayoutSwitch() override { return TRUE; }
  BOOL IsMenuShown() override { return m_menu && IsMenu(m_menu); }
  // One phrase menu at a time: a request while one is being built or shown
  // (its loop dispatches the next hotkey press or query) is ignored, and
  // posts no result.
  void OnDataNeeded(const CMenuRequest& request, void* answer) override;
  // From the start of a request until its result is posted.
  bool IsRequestOpen() const { return m_requestOpen; }
  BOOL FillsAnswer() override { return FALSE; }

  // The chosen command (a special command as its negative key); 0 when
  // nothing was chosen.
  int ShowMenu(const CMenuRequest& request);
  // Submenus of folders may come from the previous menu; CleanupMenu keeps
  // them for the next one, so free a menu of MakeMenu with it only.
  HMENU MakeMenu(const CMenuRequest& request, CPhraseStore* store);
  void CleanupMenu(HMENU menu);

  BOOL OnMenuMEASUREITEM(HWND window, MEASUREITEMSTRUCT* item) override;
  BOOL OnMenuDRAWITEMSTRUCT(HWND window, DRAWITEMSTRUCT* item) override;
  LRESULT OnRightMenuCommand(UINT itemId, int actionCode) override;

  HMENU GetShownMenu() const { return m_menu; }
  CMenuTracker* GetTracker() const { return m_tracker; }

 private:
  HWND m_resultWindow;
  UINT m_resultMessage;
  HWND m_trayWindow;
  HMENU m_menu = nullptr;
  CMenuTracker* m_tracker = nullptr;
  CPopupMenuPool m_menuPool;  // the popups of one menu serve the next
  CFolderMenuCache m_folderCache;  // folder submenus kept whole
  std::wstring m_menuSelectedText;  // the copies the captions read
  std::wstring m_menuClipboardText;
  bool m_menuHasSelection = false;
  bool m_requestOpen = false;
};
