#include "phrases/menu/menu_handler.h"

#include "foundation/logging/exception_guard.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "foundation/ui/foreground.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_draw.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_road_clock.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_store.h"

IDataNeededHander::IDataNeededHander() = default;

void IDataNeededHander::SetTarget(HKL layout, const std::wstring& selectedText, HWND target) {
  m_layout = layout;
  m_selectedText = selectedText;
  m_target = target;
}

BOOL IDataNeededHander::SetLastID(int id) {
  if (m_preSet && !m_preSet(m_preSetContext, id)) return FALSE;
  m_lastUsedId = id;
  std::wstring path;
  if (m_store)
    if (const CPhraseNode* node = m_store->FindNodeById(static_cast<std::uint32_t>(id))) path = node->GetFilePath();
  m_lastUsed.Add(static_cast<std::uint32_t>(id), path, m_lastUsedCount);
  return TRUE;
}

void IDataNeededHander::OnPhrasesReloaded() {
  if (!m_store) return;
  std::vector<std::uint32_t> before = m_lastUsed.Ids();
  m_lastUsed.Remap(*m_store);
  // The last used id follows its phrase like the list does.
  for (size_t i = 0; i < before.size(); ++i)
    if (static_cast<int>(before[i]) == m_lastUsedId) {
      m_lastUsedId = i < m_lastUsed.Ids().size() ? static_cast<int>(m_lastUsed.Ids()[i]) : -1;
      break;
    }
}

void IDataNeededHander::SetOptions(const CPhraseMenuOptions& options, int lastUsedCount) {
  m_options = options;
  m_lastUsedCount = ValidLastUsedCount(lastUsedCount);
  SetMenuFontBase(options.hasMenuFont ? &options.menuFont : nullptr);
}

IDataNeededHander_MenuSelf::IDataNeededHander_MenuSelf(HWND resultWindow, UINT resultMessage, CPhraseStore* store,
                                                       IMenuHistory* history, HWND trayWindow)
    : m_resultWindow(resultWindow), m_resultMessage(resultMessage), m_trayWindow(trayWindow) {
  m_store = store;
  m_history = history;
  ResetMenuDrawing();
}

IDataNeededHander_MenuSelf::~IDataNeededHander_MenuSelf() {
  delete m_tracker;
  m_folderCache.Clear(nullptr);
  FreeMenuKindIcons();
  ::ReleaseMenuFonts();
}

void IDataNeededHander_MenuSelf::ReleaseMenuFonts() { ::ReleaseMenuFonts(); }

void IDataNeededHander_MenuSelf::OnDataNeeded(const CMenuRequest& request, void*) {
  if (m_requestOpen) {
    // A nested menu would tear down the open one's tip and state, and could
    // take back folder submenus the open one still shows.
    Log(L"IDataNeededHander_MenuSelf::OnDataNeeded: a phrase menu is open; the request is ignored");
    return;
  }
  m_requestOpen = true;
  if (m_history) m_history->SetLocked(true);
  Log(L"IDataNeededHander_MenuSelf::OnDataNeeded lcid=" +
      IntToStr(static_cast<int>(reinterpret_cast<INT_PTR>(request.layout))));
  LogWindow(L"Caret", request.caret);
  LogWindow(L"Focus", request.focus);
  LogWindow(L"Active", request.active);
  LogWindow(L"Menu", request.menuOwner);
  LogWindow(L"Capture", request.capture);
  LogWindow(L"hwndForMenu", request.hwndForMenu);
  int result = ShowMenu(request);
  PostMessageW(m_resultWindow, m_resultMessage, static_cast<WPARAM>(static_cast<INT_PTR>(result ? result : -1)),
               reinterpret_cast<LPARAM>(request.hwndForMenu));
  if (m_history) m_history->SetLocked(false);
  m_requestOpen = false;
}

HMENU IDataNeededHander_MenuSelf::MakeMenu(const CMenuRequest&, CPhraseStore* store) {
  HMENU menu = nullptr;
  std::vector<std::uint32_t> ids = m_lastUsed.Ids();
  CPhraseMenuRequest build;
  build.store = store;
  build.lastUsed = &ids;
  build.lastUsedId = static_cast<std::uint32_t>(m_lastUsedId);
  build.texts.selectedText = m_menuSelectedText;
  build.texts.clipboardText = m_menuClipboardText;
  build.texts.lang = GetTargetLangId();
  build.texts.macros = m_macros;
  build.hasSelection = m_menuHasSelection;
  build.history = m_history;
  build.options = m_options;
  build.pool = &m_menuPool;
  build.folders = &m_folderCache;
  build.menuFont = m_options.hasMenuFont ? &m_options.menuFont : nullptr;
  build.itemHeight = GetMenuItemHeight();
  auto body = [&] { menu = CPhraseMenuBuilder(build).Build(); };
  menu_road::MarkBuild(true);
  const bool built = RunGuardedReported(L"ERROR: Exception in IDataNeededHander_MenuSelf::MakeMenu", body);
  menu_road::MarkBuild(false);
  if (!built) return nullptr;
  m_lastUsed.KeepOnly(ids);
  return menu;
}

int IDataNeededHander_MenuSelf::ShowMenu(const CMenuRequest& request) {
  m_menuHasSelection = request.selectionFlag != 0 || request.selectionFlagOther != 0;
  std::wstring selected = m_menuHasSelection ? request.selectedText : std::wstring();
  SetTarget(request.layout, selected, request.hwndForMenu);
  m_menuSelectedText = selected;
  m_menuClipboardText = m_clipboardText;
  m_engine.NewRequest();

  ReadMenuItemHeight();
  HMENU menu = MakeMenu(request, m_store);
  if (!menu) return 0;
  POINT at = {request.x, request.y};
  if (request.x == -1 && request.y == -1) GetCursorPos(&at);

  // The tray menu's tip has nothing to forward for this menu.
  CMenuTipHookPause hookPause;
  if (!m_tracker) m_tracker = new CMenuTracker(this, m_options.menuToolTips);
  m_tracker->SetToolTips(m_options.menuToolTips);
  HWND tracker = m_tracker->Create();
  CAutoForegroundWindow foreground(m_trayWindow);
  SetCurrentPhraseMenu(menu, tracker);
  m_menu = menu;
  SetCursorPos(at.x, at.y);
  ResetSideBand();

  menu_road::MarkTrack();
  UINT id = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD, at.x, at.y, tracker, nullptr));
  Log(menu_road::TakeReport());

  ResetSideBand();
  if (m_trayWindow) SendMessageW(m_trayWindow, kMsgHideMenuTip, 0, 0);
  m_tracker->MenuClosed();
  CleanupMenu(menu);
  m_menuPool.Give(menu);
  m_menu = nullptr;
  SetCurrentPhraseMenu(nullptr, nullptr);
  foreground.Restore();

  int key = GetSpecialCommandKey(id);
  if (id) Sleep(100);
  return key ? key : static_cast<int>(id);
}

void IDataNeededHander_MenuSelf::CleanupMenu(HMENU menu) {
  auto body = [&] {
    m_folderCache.DetachFrom(menu);
    FreeMenuItemData(menu);
  };
  RunGuardedReported(L"Crash: on IDataNeededHander_MenuSelf::CleanupMenu", body);
}

BOOL IDataNeededHander_MenuSelf::OnMenuMEASUREITEM(HWND, MEASUREITEMSTRUCT* item) {
  BOOL measured = MeasureMenuItem(item);
  menu_road::MarkItemMeasured();
  return measured;
}

BOOL IDataNeededHander_MenuSelf::OnMenuDRAWITEMSTRUCT(HWND, DRAWITEMSTRUCT* item) {
  menu_road::MarkShown();
  return DrawMenuItem(item);
}

LRESULT IDataNeededHander_MenuSelf::OnRightMenuCommand(UINT itemId, int actionCode) {
  Log(L"IDataNeededHander_MenuSelf::OnRightMenuCommand");
  return SendMessageW(m_trayWindow, kMsgRightMenuCommand, static_cast<WPARAM>(actionCode),
                      static_cast<LPARAM>(itemId));
}
