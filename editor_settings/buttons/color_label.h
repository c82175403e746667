// CColorLabel: a static label with its own text and background colours
// and font; optionally painted as a rounded box.
#pragma once
#include <windows.h>

#include "platform/mfc/controls/static_ctrl.h"
#include "platform/mfc/gdi/brush.h"
#include "platform/mfc/gdi/font.h"

namespace qlr_editor {

class CColorLabel : public CStatic {
 public:
  CColorLabel();

  void SetLabelFont(const LOGFONTW& font, COLORREF textColour, BOOL redraw = TRUE);
  // Keeps the current text colour.
  void SetLabelFont(const LOGFONTW& font, BOOL redraw = TRUE);
  void SetBkColour(COLORREF colour, BOOL redraw = TRUE);
  void SetRounded(bool rounded, BOOL redraw = TRUE);
  COLORREF GetTextColour() const { return m_textColour; }
  COLORREF GetBkColour() const { return m_bkColour; }

 protected:
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  void OnPaint();
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  HBRUSH BackgroundBrush();
  void Repaint();

  bool m_rounded = false;
  COLORREF m_textColour;
  COLORREF m_bkColour;
  CBrush m_bkBrush;  // made from m_bkColour on first use
  CFont m_font;
};

}  // namespace qlr_editor
