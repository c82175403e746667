// The language bar of the main frame's rebar: the language drop-down list
// (combo 1010) and the links toolbar beside it. On the first run the list
// blinks to show where the language is chosen.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "editor/doc/doc_listener.h"
#include "editor/toolbars/links_tool_bar.h"
#include "platform/mfc/bars/dialog_bar.h"

class CLanguageBar : public CDialogBar, public IDocUpdateListener {
  DECLARE_DYNAMIC(CLanguageBar)

 public:
  static constexpr UINT kTemplateId = 128;
  static constexpr UINT kComboId = 1010;
  static constexpr UINT kToolBarId = 59392;
  static constexpr UINT_PTR kBlinkTimerId = 1232;
  static constexpr UINT kBlinkDelayMs = 1500;
  static constexpr UINT kBlinkDoneMessage = WM_APP + 1;
  static constexpr int kToolBarGap = 10;

  CLanguageBar() = default;
  ~CLanguageBar() override;

  // files: the frame's list, refreshed before each use.
  BOOL CreateBar(CWnd* parent, std::vector<std::wstring>* files);
  // Fills the list again from the program folder and selects the current
  // language.
  void RefillCombo();
  void StartBlinkTimer() { SetTimer(kBlinkTimerId, kBlinkDelayMs, nullptr); }

  void OnDocUpdate(CView* pSender, LPARAM lHint, LPARAM value) override;
  HWND GetListenerHwnd() override { return m_hWnd; }

 protected:
  BOOL OnInitDialog() override;
  void OnSize(UINT nType, int cx, int cy);
  void OnTimer(UINT_PTR nIDEvent);
  void OnComboSelChange();
  void OnComboCloseUp();
  void OnComboDropDown();
  LRESULT OnBlinkDone(WPARAM, LPARAM);
  LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Localize();
  void PlaceToolBar();
  HWND Combo() const { return ::GetDlgItem(m_hWnd, kComboId); }

  CLinksToolBar m_wndToolBar;
  HFONT m_hBlinkFont = nullptr;
  std::vector<std::wstring>* m_pLanguageFiles = nullptr;
};
