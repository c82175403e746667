// The tray window owns the history pane: it creates the pane's window on
// request and destroys it to hide the pane.
#include "foundation/localization/menu_localizer.h"
#include "foundation/system/trusted_messages.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_host.h"
#include "history/pane/pane_texts.h"
#include "online/tray_helpers.h"
#include "settings/settings.h"
#include "tray/app/app_texts.h"
#include "tray/icon/event_sounds.h"
#include "tray/menu/tray_menu_ids.h"
#include "tray/window/tray_messaging.h"
#include "tray/window/tray_window.h"

namespace {

class CTrayPaneHost : public IPaneHost {
 public:
  CTrayPaneHost(HWND* tray, CQLRDLLService* targets) : m_tray(tray), m_targets(targets) {}
  HWND TrayWindow() override { return *m_tray; }
  HWND PreviousFocusWindow() override { return m_targets->GetTargetWindowOther(); }
  void ReportToTray(const std::wstring& text) override { SendTrayWndPaneMessage(text); }
  void PlayPaperSound() override { ::PlayPaperSound(); }
  void PlayKeyboardSound() override { PlayKbdSound(); }
  bool IsAdministrator() override { return IsUserAdmin(); }
  bool SoundsOn() override { return GetSettings().soundOnEvents != 0; }
  std::wstring TrayMenuText(UINT command) override { return GetLangFile().GetItemText(kTrayMenuResource, command); }
  void LocalizeMenu(HMENU menu) override { GetLangFile().LocalizeMenu(menu); }

 private:
  HWND* m_tray;
  CQLRDLLService* m_targets;
};

}  // namespace

std::unique_ptr<IPaneHost> CQLRTrayWnd::MakePaneHost() {
  return std::make_unique<CTrayPaneHost>(&m_hWnd, &m_dllService);
}

void CQLRTrayWnd::ShowFloatPane(int mode) {
  if (!m_floatPane) return;
  bool exists = m_floatPane->IsWindow() != FALSE;
  if (exists && (mode == kPaneToggle || mode == kPaneStartUp)) {
    m_floatPane->DestroyWindow();
    if (mode == kPaneToggle) return;
    exists = false;
  }
  if (!exists) {
    bool activate = mode != kPaneStartUp;
    if (!m_floatPane->Create(m_clipboardHandler.get(), activate, mode == kPaneToggle)) return;
  } else if (!m_floatPane->IsWindowVisible()) {
    m_floatPane->ShowWindow(SW_SHOWNA);
  }
  // A freshly created pane still slides to its caption afterwards.
  m_floatPane->SetShowMode(0, false);
  if (mode != kPaneStartUp) {
    ::SetForegroundWindow(*m_floatPane);
    ::SetFocus(*m_floatPane);
    ::SetActiveWindow(*m_floatPane);
  }
}

LRESULT CQLRTrayWnd::OnShowPaneMessage(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == 1) ShowFloatPane(kPaneActivate);
  return 1;
}

LRESULT CQLRTrayWnd::OnHistoryCaption(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  int count = IsClipboardHistoryRunning() ? m_clipboardHandler->GetItemCount() : 0;
  std::wstring text = HistoryCaptionText(count);
  // An address is only meaningful to a sender of this thread; others (a
  // post from anywhere included) get the length alone. The capacity bounds
  // the copy, terminator included.
  if (IsAddressFromOwnThread(WM_TRAY_HISTORY_CAPTION, lParam) && wParam > 0 && wParam <= 0x7FFFFFFF)
    CopyToBuffer(text, reinterpret_cast<wchar_t*>(lParam), static_cast<int>(wParam));
  return static_cast<LRESULT>(text.size());
}

void CQLRTrayWnd::RefreshPaneList() {
  if (m_floatPane && m_floatPane->IsWindow()) m_floatPane->RefreshList();
}
