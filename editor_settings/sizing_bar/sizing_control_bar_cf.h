// CSizingControlBarCF: a sizing bar whose band is a caption with the
// pane's title (its window text), drawn down the left side when docked
// horizontally. The caption is repainted when the title changes and when
// the focus enters or leaves the pane.
#pragma once
#include <windows.h>

#include <string>

#include "editor_settings/sizing_bar/sizing_control_bar_g.h"

class CSizingControlBarCF : public CSizingControlBarG {
  DECLARE_DYNAMIC(CSizingControlBarCF)

 public:
  CSizingControlBarCF() = default;

  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  // "Tahoma" when a font family of that name is installed, else "Arial".
  static std::wstring CaptionFaceName();

  BOOL m_bActive = FALSE;  // the focus lies inside the pane

 protected:
  void NcPaintGripper(CDC* pDC, CRect rcClient) override;
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
