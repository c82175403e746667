// The hotkey road: a press of the hotkey (or a request from elsewhere) asks
// the target window for its state, the phrase menu opens, and the chosen
// phrase goes into the target; the library's queries come in on the same
// road.
#include "foundation/logging/log.h"
#include "foundation/ui/desktop.h"
#include "history/capture/own_copy.h"
#include "history/store/history_caption.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/insertion/keystrokes.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_road_clock.h"
#include "phrases/store/phrase_node.h"
#include "settings/settings.h"
#include "tray/app/app_control.h"
#include "tray/app/app_texts.h"
#include "tray/hook/menu_request.h"
#include "tray/icon/event_sounds.h"
#include "tray/program/resource.h"
#include "tray/window/tray_window.h"

namespace {

constexpr DWORD kDoublePressMs = 500;
constexpr DWORD kRoadBalloonMs = 3000;
constexpr WORD kCmdHistoryPane = 32792;
constexpr wchar_t kMouseEventMessageName[] = L"{CD8F8D19-9440-4b61-ADD7-980B478E41F6}";

int CommandIdFromWParam(WPARAM wParam) { return static_cast<int>(static_cast<INT_PTR>(wParam)); }

}  // namespace

UINT CQLRTrayWnd::GetMouseEventMessage() {
  static const UINT message = RegisterWindowMessageW(kMouseEventMessageName);
  return message;
}

void CQLRTrayWnd::PrepareDataNeededHandler() {
  if (!m_dataNeededHandler) {
    // The history window comes and goes with its setting: asked each time.
    m_menuHistory.reset(new CHandlerMenuHistory(
        [this] { return IsClipboardHistoryRunning() ? m_clipboardHandler.get() : nullptr; }));
    m_dataNeededHandler.reset(new IDataNeededHander_MenuSelf(m_hWnd, WM_TRAY_COMMAND_FROM_SELF, &m_phraseStore,
                                                             m_menuHistory.get(), m_hWnd));
    m_dataNeededHandler->SetPreSetCallback(&CQLRTrayWnd::PreSetLastID_CallBack, this);
  }
  CQLRTraySettings& settings = GetSettings();
  m_dataNeededHandler->SetOptions(MenuOptionsFromSettings(settings), settings.GetAddLastUsedMenuToBeginCount());
}

LRESULT CQLRTrayWnd::OnHotKey(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (static_cast<int>(wParam) != kMainHotkeyId) return 0;
  if (!IsCurrentDesktopActive()) {
    Log(L"SKIP HOTKEY. Input desktop is INACTIVE");
    return 0;
  }
  Log(L"Input desktop is active");
  OnHotKeyPressed();
  return 0;
}

void CQLRTrayWnd::OnHotKeyPressed() {
  if (GetSettings().hotkeyDoubled) {
    DWORD now = GetTickCount();
    if (now - m_lastHotkeyPress > kDoublePressMs) {
      m_lastHotkeyPress = now;
      return;
    }
    m_lastHotkeyPress = 0;
  }
  if (m_dllService.IsInstalled()) ShowMenuForTarget(true);
}

bool CQLRTrayWnd::IsPhraseMenuBusy() const {
  return m_menuCommandDue || (m_dataNeededHandler && m_dataNeededHandler->IsRequestOpen());
}

void CQLRTrayWnd::ShowMenuForTarget(bool fromHotkey) {
  if (!m_dataNeededHandler) return;
  // One phrase menu at a time: the open one keeps its target, its
  // clipboard copy and its folders.
  if (m_dataNeededHandler->IsRequestOpen()) {
    Log(L"A phrase menu is open: the request is ignored");
    return;
  }
  menu_road::MarkRoadStart();
  CQLRTraySettings& settings = GetSettings();
  if (fromHotkey && settings.showTrayBallonOnHotkey) {
    std::wstring text = GetClientString(IDS_HOTKEY_DETECTED) + L" - " + GetHotkeyText() + L"\n" +
                        GetClientString(IDS_SHOWING_MENU) + L"\u2026";
    ShowTrayBalloon(text.c_str(), kRoadBalloonMs);
  }
  PlayMenuSound();
  // The road's own clipboard work is not recorded.
  CBlockClipboardHandler block;
  wchar_t* clipboardText = GetClipboardTextCopy();
  m_dataNeededHandler->SetClipboardText(clipboardText ? clipboardText : L"");
  FreeClipboardTextCopy(clipboardText);
  m_clipboardKeeper.Save();

  CQueryRecord query;
  menu_road::MarkQueryAsked();
  int road = m_dllService.SendMessageToTargetWindow(fromHotkey ? FALSE : TRUE, query, m_hWnd);
  if (road == CQLRDLLService::kFilledBySelf) {
    menu_road::MarkQueryAnswered();
    CAnswerRecord answer;
    m_dataNeededHandler->OnDataNeeded(MenuRequestFromQuery(query), &answer);
    m_menuCommandDue = true;
  } else {
    // The library answers through the interchange, or there is no target.
    ShowTrayBalloon(nullptr, 0);
    // Without a target no menu opens and nothing will end the request.
    if (road == CQLRDLLService::kNoTarget) m_clipboardKeeper.Disarm();
  }
}

LRESULT CQLRTrayWnd::OnQuery(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  return ServeQueryMessage(wParam, lParam, [this](CQueryRecord& query, CAnswerRecord& answer) {
    menu_road::MarkQueryAnswered();
    if (!m_dataNeededHandler) return;
    if (m_dataNeededHandler->IsRequestOpen()) {
      Log(L"A phrase menu is open: the query is ignored");
      return;
    }
    m_dataNeededHandler->OnDataNeeded(MenuRequestFromQuery(query), &answer);
    m_menuCommandDue = true;
  });
}

LRESULT CQLRTrayWnd::OnWaitQueryError(UINT, WPARAM, LPARAM, BOOL&) {
  Log(L"Reveived message WM_WAIT_QUERY_COMPLETE_ERROR, wait of query complete with error");
  m_waitQuery.RestartAfterError();
  return 1;
}

LRESULT CQLRTrayWnd::OnMouseEventRequest(UINT, WPARAM, LPARAM, BOOL&) {
  std::wstring text = GetClientString(IDS_MOUSE_EVENT_DETECTED) + L"\n" + GetClientString(IDS_SHOWING_MENU) + L"\u2026";
  ShowTrayBalloon(text.c_str(), kRoadBalloonMs);
  ShowMenuForTarget(false);
  return 1;
}

LRESULT CQLRTrayWnd::OnWmCommandFromSelf(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  // The phrase menu's result comes once for each menu, after it closed.
  // Any other program can post this message with any command: without a
  // result due it runs nothing (no insertion, no clipboard put back).
  if (!m_menuCommandDue) return 0;
  Log(L"CQLRTrayWnd::OnWmCommandFromSelf");
  // A history entry is the one the menu showed under that number.
  DispatchMenuCommand(CommandIdFromWParam(wParam), reinterpret_cast<HWND>(lParam));
  if (m_menuHistory) m_menuHistory->ForgetShown();
  // The menu's command is done: what waited for it may run now.
  m_menuCommandDue = false;
  RunDeferredEditorEnds();
  return 1;
}

LRESULT CQLRTrayWnd::OnCopyData(UINT, WPARAM, LPARAM lParam, BOOL&) {
  int commandId = 0;
  HWND target = nullptr;
  if (!ParseCopyDataCommand(reinterpret_cast<const COPYDATASTRUCT*>(lParam), &commandId, &target)) return 0;
  // No menu of ours stands behind this id: history numbers count as now.
  if (m_menuHistory) m_menuHistory->ForgetShown();
  DispatchMenuCommand(commandId, target);
  return 1;
}

void CQLRTrayWnd::DispatchMenuCommand(int commandId, HWND target) {
  if (commandId == -1) {
    RestoreClipboard();
    return;
  }
  if (ExecuteCommand(commandId, target) == kPhraseInserted && m_dataNeededHandler)
    m_dataNeededHandler->SetLastID(commandId);
}

void CQLRTrayWnd::RestoreClipboard() {
  // What is put back is no new copy of the user's: the history skips it.
  if (IsClipboardHistoryRunning()) m_clipboardHandler->StartAsyncBlock();
  Log(m_clipboardKeeper.RestoreIfArmed() ? L"RestoreClipboard: restored" : L"RestoreClipboard: nothing to restore");
}

bool CQLRTrayWnd::ExecuteSpecialCommand(int commandId, HWND) {
  switch (commandId) {
    case -2:
      RestoreClipboard();
      StartEditorThread(m_stopEvent, m_hWnd, WM_TRAY_EDITOR_STATE, false, false, std::wstring());
      return true;
    case -3:
      RestoreClipboard();
      SendMessage(WM_COMMAND, kCmdHistoryPane);
      return true;
    case -4:
      RestoreClipboard();
      StartEditorThread(m_stopEvent, m_hWnd, WM_TRAY_EDITOR_STATE, false, false,
                        m_dataNeededHandler ? m_dataNeededHandler->GetSelectedText() : std::wstring());
      return true;
    case -6:
      RestoreClipboard();
      PostMessage(WM_COMMAND, kCmdSupport);
      return true;
    default:
      return false;
  }
}

int CQLRTrayWnd::GetCommandText(int commandId, std::wstring* text, int* dataType) {
  CPhraseNode* node = commandId > 0 ? m_phraseStore.FindNodeById(static_cast<std::uint32_t>(commandId)) : nullptr;
  if (node && !node->IsFolder()) {
    *text = node->data;
    *dataType = static_cast<int>(node->DataType);
    return kPhraseSource;
  }
  if (commandId < static_cast<int>(kHistoryFirstId) || !m_menuHistory) return kUnknownSource;
  CCHItem* item = m_menuHistory->ShownItem(commandId - static_cast<int>(kHistoryFirstId));
  return item && HistoryItemInsertText(*item, text, dataType) ? kHistorySource : kUnknownSource;
}

CQLRInsertRequest CQLRTrayWnd::MakeInsertRequest(HWND target, int dataType) const {
  const IDataNeededHander* handler = m_dataNeededHandler.get();
  CQLRInsertRequest request(target, handler ? handler->GetTargetLangId() : 0,
                            handler ? handler->GetClipboardText() : std::wstring(),
                            handler ? handler->GetSelectedText() : std::wstring(), dataType);
  const CQLRTraySettings& settings = GetSettings();
  request.pasteMethod.textPasteMethod = settings.textPasteMethod;
  request.pasteMethod.printLTChars = settings.printLTChars;
  return request;
}

int CQLRTrayWnd::ExecuteCommand(int commandId, HWND target) {
  if (ExecuteSpecialCommand(commandId, target)) return kSpecialCommand;
  std::wstring text;
  int dataType = 0;
  int source = GetCommandText(commandId, &text, &dataType);
  if (source == kUnknownSource) {
    RestoreClipboard();
    return kUnknownCommand;
  }
  HKL layout = nullptr;
  if (m_dataNeededHandler && m_dataNeededHandler->AllowKeyboardLayoutSwitch()) layout = TakeKeyboardLayoutMacro(text);
  CQLRInsertRequest request = MakeInsertRequest(target, dataType);
  CQLRActionList actions;
  request.BuildActions(actions, text);
  if (layout && LOWORD(reinterpret_cast<ULONG_PTR>(layout)) != request.GetLocale() && ::IsWindow(target))
    SwitchTargetKeyboardLayout(layout, GetWindowThreadProcessId(target, nullptr), target);
  if (!actions.Empty()) {
    if (dataType == CQLRInsertRequest::kExec)
      PlayLaunchSound();
    else
      PlayKbdSound();
    // An insertion through the clipboard is no copy of the user's; the
    // notifications of its writes arrive after the actions are done.
    if (IsClipboardHistoryRunning()) m_clipboardHandler->StartAsyncBlock();
    CBlockClipboardHandler block;
    if (request.RunActions(actions)) {
      // The phrase is in: the clipboard now holds what the user expects.
      m_clipboardKeeper.Disarm();
      if (source == kPhraseSource) AfterPhraseInserted(commandId);
    }
  }
  if (source == kPhraseSource) return kPhraseInserted;
  // The chosen entry becomes the clipboard's content again, in every form
  // it holds; that is no new copy of the user's either.
  if (IsClipboardHistoryRunning()) m_clipboardHandler->StartAsyncBlock();
  CBlockClipboardHandler block;
  const CCHItem* entry = m_menuHistory ? m_menuHistory->ShownItem(commandId - static_cast<int>(kHistoryFirstId)) : nullptr;
  const LCID locale = LOWORD(reinterpret_cast<ULONG_PTR>(layout));
  bool copied = entry && IsClipboardHistoryRunning() ? m_clipboardHandler->PutItemOnClipboard(*entry)
                                                     : CQLRAction_TextCommon::MutiCopy_Impl(
                                                           dataType == CQLRInsertRequest::kText, text, 0, locale, false);
  if (copied) m_clipboardKeeper.Disarm();
  return kHistoryInserted;
}

void CQLRTrayWnd::AfterPhraseInserted(int commandId) {
  CPhraseNode* node = m_phraseStore.FindNodeById(static_cast<std::uint32_t>(commandId));
  if (!node) return;
  node->IncrementUsageCount();
  node->TouchDateUsage();
  m_phraseStore.SaveNodeById(static_cast<std::uint32_t>(commandId));
}

BOOL CQLRTrayWnd::PreSetLastID_CallBack(void* context, int id) {
  CQLRTrayWnd* window = static_cast<CQLRTrayWnd*>(context);
  if (!window) {
    LogError(L"CQLRTrayWnd::PreSetLastID_CallBack command is NULL");
    return FALSE;
  }
  CPhraseNode* node = id > 0 ? window->m_phraseStore.FindNodeById(static_cast<std::uint32_t>(id)) : nullptr;
  if (!node || node->IsFolder()) {
    LogError(L"CQLRTrayWnd::PreSetLastID_CallBack command IsBadReadPtr");
    return FALSE;
  }
  return TRUE;
}
