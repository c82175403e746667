// The tray menu of the tray window: opened from the icon (or on request) at
// a point, filled with the program's state as each popup opens, and the
// history pane put back on the screen when the menu finds it off it.
#include <algorithm>

#include "foundation/localization/language_files.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/logging/log.h"
#include "phrases/menu/menu_tooltip.h"
#include "settings/settings.h"
#include "tray/app/app_control.h"
#include "tray/app/app_texts.h"
#include "tray/menu/tray_menu_ids.h"
#include "tray/menu/tray_menu_state.h"
#include "tray/window/tray_window.h"

namespace {

constexpr int kPaneEdgeGap = 5;

bool ClipboardHoldsText() {
  return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
}

bool IsSeparatorAt(HMENU menu, int position) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

// Takes out the entries of an earlier opening and the separator put before
// them; the menu's own separators (the one before "Clear") stay.
void RemoveHistoryEntries(HMENU menu) {
  bool removed = false;
  for (int pos = GetMenuItemCount(menu) - 1; pos >= 0; --pos) {
    UINT id = GetMenuItemID(menu, pos);
    if (id < kHistoryEntryFirstId || id > kHistoryEntryLastId) continue;
    DeleteMenu(menu, static_cast<UINT>(pos), MF_BYPOSITION);
    removed = true;
  }
  if (!removed) return;
  for (int last = GetMenuItemCount(menu) - 1; last >= 0 && IsSeparatorAt(menu, last); --last)
    DeleteMenu(menu, static_cast<UINT>(last), MF_BYPOSITION);
}

}  // namespace

void CQLRTrayWnd::DisplayTrayMenuWithPoint(int x, int y) {
  HMENU bar = m_trayMenuCache.Take(GetCurrentLanguage(), [](HMENU loaded) {
    HMENU popup = GetSubMenu(loaded, 0);
    SetMenuDefaultItem(popup, ID_TRAY_START_EDITOR, FALSE);
    GetLangFile().LocalizeMenu(popup);
  });
  HMENU menu = bar ? GetSubMenu(bar, 0) : nullptr;
  UINT chosen = 0;
  if (menu) {
    // This menu's messages come to the tray window itself: the tip's thread
    // hook, which forwards those of windows below it, would only slow it.
    CMenuTipHookPause hookPause;
    const std::wstring& choice = GetSettings().GetLanguage();
    if (!m_trayMenuCache.LanguagesCurrent(bar, choice)) {
      m_trayMenuCache.ListLanguages(
          bar, GetLngFolder(), choice,
          [this] {
            EnumLanguageFiles(m_menuLanguages, GetLocalizeExampleFileName().c_str());
            return m_menuLanguages;
          },
          [&](const std::vector<std::wstring>& languages) { FillLanguageSubmenu(menu, languages, choice); });
    }
    // A menu still open elsewhere in the program would take the input.
    EndMenu();
    // Without the foreground the menu would not close on a click outside it.
    ::SetForegroundWindow(m_hWnd);
    CheckMenuItem(menu, ID_TRAY_CHECK_FOR_UPDATES,
                  MF_BYCOMMAND | (GetSettings().autoCheckForUpdates ? MF_CHECKED : MF_UNCHECKED));
    chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, x, y, 0, m_hWnd, nullptr));
    EndMenu();
  }
  m_trayMenuCache.Give(bar);
  if (m_trayMenuTip) m_trayMenuTip->HideTip();
  wchar_t line[120];
  swprintf(line, 120, L"DisplayTrayMenuWithPoint x=%d y=%d bLoad=%d, bPOPUP=%d", x, y, menu ? 1 : 0,
           static_cast<int>(chosen));
  Log(line);
  if (chosen) SendMessage(WM_COMMAND, chosen);
}

void CQLRTrayWnd::DisplayTrayMenuAtCursor() {
  GetCursorPos(&m_lastTrayClick);
  DisplayTrayMenuWithPoint(m_lastTrayClick.x, m_lastTrayClick.y);
}

TrayMenuState CQLRTrayWnd::GetTrayMenuState() const {
  const CQLRTraySettings& settings = GetSettings();
  TrayMenuState state;
  state.servicesOn = IsServiceRunning();
  state.autoStart = IsOwnAutoStartSet();
  state.sounds = settings.soundOnEvents != 0;
  state.logOpen = IsLogOpen();
  state.paneOnStart = settings.showHistoryPaneOnStart != 0;
  state.saveHistoryOnExit = settings.saveClipboardHistory != 0;
  state.clipboardHasText = ClipboardHoldsText();
  state.historyRunning = IsClipboardHistoryRunning();
  // A process keeps its rights for its whole life.
  static const bool admin = IsRunningAsAdmin();
  state.isAdmin = admin;
  state.delaySeconds = settings.delayAutoLoadSeconds;
  m_phraseStore.CountNodes(&state.enabledNodes, &state.totalNodes);
  state.historyCount = m_clipboardHandler ? m_clipboardHandler->GetItemCount() : 0;
  state.historyMax = settings.clipboardHistoryMax;
  return state;
}

LRESULT CQLRTrayWnd::OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  Log(L"CQLRTrayWnd::OnInitMenuPopup");
  if (m_dataNeededHandler && m_dataNeededHandler->IsMenuShown()) {
    bHandled = FALSE;
    return 0;
  }
  HMENU menu = reinterpret_cast<HMENU>(wParam);
  if (!::IsMenu(menu)) return 0;
  ApplyTrayMenuState(menu, GetTrayMenuState());
  HMENU historyMenu = FindSubmenuWithCommand(menu, ID_TRAY_HISTORY_KEEP, nullptr, nullptr);
  wchar_t line[32];
  swprintf(line, 32, L"bHistory=%d\n", historyMenu ? 1 : 0);
  Log(line);
  if (historyMenu) {
    RemoveHistoryEntries(historyMenu);
    if (IsClipboardHistoryRunning())
      m_clipboardHandler->AppendHistoryToMenu(historyMenu, kHistoryEntryFirstId, kHistoryEntryMax);
  }
  CheckFloatPanePosition(menu);
  return 0;
}

void CQLRTrayWnd::CheckFloatPanePosition(HMENU menu) {
  const bool exists = m_floatPane && m_floatPane->IsWindow();
  CheckMenuItem(menu, ID_TRAY_HISTORY_PANE, MF_BYCOMMAND | (exists ? MF_CHECKED : MF_UNCHECKED));
  // The virtual screen may begin left of or above the primary monitor: a
  // pane there is on a screen all the same.
  const int screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  RECT rect = {};
  if (exists) m_floatPane->GetWindowRect(&rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // Right and bottom compare as unsigned numbers, so a rectangle whose
  // edges wrapped counts as off the screen too.
  bool wrong = false;
  if (static_cast<unsigned>(rect.right - screenLeft) > static_cast<unsigned>(screenWidth)) {
    LogError(L"Float pane: right large SM_SXSCREEN");
    wrong = true;
  }
  if (rect.top < screenTop) {
    LogError(L"Float pane: top < 0");
    wrong = true;
  }
  if (rect.left < screenLeft) {
    LogError(L"Float pane: left < 0");
    wrong = true;
  }
  if (static_cast<unsigned>(rect.bottom - screenTop) > static_cast<unsigned>(screenHeight)) {
    LogError(L"Float pane: bottom large by SM_SYSCREEN");
    wrong = true;
  }
  wchar_t values[200];
  swprintf(values, 200, L" SM_CXVIRTUALSCREEN=%d SM_CYVIRTUALSCREEN=%d left=%d top=%d width=%d height=%d",
           screenWidth, screenHeight, static_cast<int>(rect.left), static_cast<int>(rect.top), width, height);
  if (!wrong) {
    Log(std::wstring(L"Well,well, float pane pos is correctly") + values);
    return;
  }
  LogError(std::wstring(L"Correct pos float pane from menu updating") + values);
  if (!exists) return;
  m_floatPane->SetWindowPos(HWND_TOPMOST, screenLeft + screenWidth - width - kPaneEdgeGap,
                            screenTop + GetSystemMetrics(SM_CYCAPTION), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  m_floatPane->Flash();
}

LRESULT CQLRTrayWnd::OnShowMenuInFront(UINT, WPARAM, LPARAM, BOOL&) {
  HWND previous = ::GetForegroundWindow();
  DWORD previousThread = previous ? GetWindowThreadProcessId(previous, nullptr) : 0;
  DWORD previousProcess = 0;
  if (previous) GetWindowThreadProcessId(previous, &previousProcess);
  const bool attach = previous && previousProcess != GetCurrentProcessId() &&
                      AttachThreadInput(GetCurrentThreadId(), previousThread, TRUE);
  if (previous && previousProcess != GetCurrentProcessId()) {
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
  }
  MessageBeep(MB_ICONASTERISK);
  DisplayTrayMenuAtCursor();
  if (previous && previousProcess != GetCurrentProcessId()) ::SetForegroundWindow(previous);
  if (attach) AttachThreadInput(GetCurrentThreadId(), previousThread, FALSE);
  return 1;
}
