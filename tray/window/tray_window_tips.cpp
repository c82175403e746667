// The tray menu's tooltip: made with the tray window, fed the menu's
// selection, and the pane blinked while "Clipboard History Pane" stays
// highlighted.
#include "tray/app/app_texts.h"
#include "tray/app/problem_list.h"
#include "tray/menu/tray_menu_tooltip.h"
#include "tray/window/tray_window.h"

namespace {

class CTrayTipSource : public ITrayTipSource {
 public:
  CTrayTipSource(std::unique_ptr<CQLRWndClipboardHandler>& handler, CPhraseStore& store, CQLRDLLService& dll)
      : m_handler(handler), m_store(store), m_dll(dll) {}
  CQLRWndClipboardHandler* ClipboardHandler() override { return m_handler.get(); }
  bool CoreLibraryLoaded() override { return m_dll.IsInstalled(); }
  void CountPhrases(int* enabled, int* total) override { m_store.CountNodes(enabled, total); }
  int LogMessageCount() override { return static_cast<int>(GetProblemList().size()); }

 private:
  std::unique_ptr<CQLRWndClipboardHandler>& m_handler;
  CPhraseStore& m_store;
  CQLRDLLService& m_dll;
};

}  // namespace

std::unique_ptr<ITrayTipSource> CQLRTrayWnd::MakeTipSource() {
  return std::make_unique<CTrayTipSource>(m_clipboardHandler, m_phraseStore, m_dllService);
}

void CQLRTrayWnd::CreateTrayMenuTip() {
  const std::wstring text = GetClientString(kTrayTipInitialText);
  m_trayMenuTip->Create(m_hWnd, text.c_str(), GetModuleHandleW(nullptr), 0, nullptr);
}

LRESULT CQLRTrayWnd::OnMenuSelect(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  bHandled = FALSE;
  if (m_dataNeededHandler && m_dataNeededHandler->IsMenuShown()) {
    m_trayMenuTip->HideTip();
    return 0;
  }
  const UINT item = LOWORD(wParam);
  if (!(HIWORD(wParam) & MF_POPUP)) m_lastMenuSelect = item;
  m_trayMenuTip->HandleMenuSelect(msg, wParam, lParam);
  if (item == ID_TRAY_HISTORY_PANE && !(HIWORD(wParam) & MF_POPUP))
    SetTimer(kTimerPaneBlink, kPaneBlinkDelayMs);
  else
    KillTimer(kTimerPaneBlink);
  return 0;
}

LRESULT CQLRTrayWnd::OnEnterIdle(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  bHandled = FALSE;
  m_trayMenuTip->HandleEnterIdle(msg, wParam, lParam);
  return 0;
}

LRESULT CQLRTrayWnd::OnExitMenuLoop(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  m_lastMenuSelect = 0;
  KillTimer(kTimerPaneBlink);
  m_trayMenuTip->HideTip();
  return 0;
}

void CQLRTrayWnd::OnPaneBlinkTimer() {
  if (m_lastMenuSelect == ID_TRAY_HISTORY_PANE && m_floatPane && m_floatPane->IsWindow()) m_floatPane->Flash();
}
