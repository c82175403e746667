// CHoverLinkButton: a check box or button whose caption behaves like a
// link. The caption shows blue; over its text it is underlined with the
// hand cursor and a tooltip, and a click there sends the parent WM_NOTIFY
// (code kHoverLinkClickedCode) instead of pressing the button.
#pragma once
#include <windows.h>

#include "platform/mfc/controls/button.h"
#include "platform/mfc/controls/tooltip_ctrl.h"
#include "platform/mfc/gdi/font.h"

namespace qlr_editor {

class CHoverLinkButton : public CButton {
 public:
  CHoverLinkButton() = default;

  // Made when the mouse first comes over the control: most controls of a
  // page are never hovered, and each tooltip is a window of its own.
  CToolTipCtrl& GetToolTip() { return m_toolTip; }
  bool IsHovering() const { return m_hover; }
  // The caption's text box in client coordinates.
  RECT GetCaptionBox() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PreSubclassWindow() override;
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnMouseLeave();
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnLButtonDown(UINT nFlags, CPoint point);
  LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void MakeToolTip();
  void ApplyHoverFont();
  HFONT NormalFont();

  CToolTipCtrl m_toolTip;
  bool m_setUp = false;
  bool m_tipMade = false;
  bool m_changingFont = false;
  bool m_tracking = false;
  bool m_hover = false;
  HFONT m_normalFont = nullptr;  // the control's own, not owned
  CFont m_underlineFont;
};

}  // namespace qlr_editor
