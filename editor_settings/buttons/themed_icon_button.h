// CThemedIconButton: an owner-drawn button with an icon and a caption that
// follows the system's visual style (classic look without one). It can act
// as a check box, and Space or Enter click it like the mouse.
#pragma once
#include <windows.h>

#include "editor_settings/buttons/owner_draw_button.h"
#include "foundation/ui/theme.h"

namespace qlr_editor {

class CThemedIconButton : public COwnerDrawButton {
 public:
  // Where the icon stands beside the caption.
  enum IconAlign { kIconCenter = 0, kIconLeft = 1, kIconRight = 2 };

  CThemedIconButton() = default;
  ~CThemedIconButton() override;

  // Takes the icon over (null: none); the old one is destroyed.
  void SetIcon(HICON icon, int alignment);
  HICON GetIcon() const { return m_icon; }
  // Made on first use: most buttons are never drawn disabled.
  HICON GetDisabledIcon() const;
  void SetCheckBoxMode(bool checkBox) { m_checkBox = checkBox; }
  bool IsChecked() const { return m_checked; }
  void SetChecked(bool checked);
  void SetFlat(bool flat);
  // CLR_INVALID: the system colour.
  void SetColours(COLORREF background, COLORREF text);
  bool IsHot() const { return m_hover; }

  void DrawItem(LPDRAWITEMSTRUCT item) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CloseTheme();
  void DrawClassicFrame(HDC dc, RECT* rect, bool pressed, bool focusedOrDefault) const;
  void DrawIconAndCaption(HDC dc, const RECT& rect, bool pressed, bool disabled, int themeState);
  void SaveParentBackground(HDC from, const RECT& rect);
  void Repaint();

  bool m_rereadTheme = true;
  bool m_checked = false;
  bool m_checkBox = false;
  bool m_pressed = false;
  bool m_doubleClickPending = false;
  bool m_flat = false;
  HTHEME_SAFE m_theme = nullptr;
  HICON m_icon = nullptr;
  mutable HICON m_disabledIcon = nullptr;
  int m_iconAlign = kIconLeft;
  HDC m_backgroundDC = nullptr;
  HBITMAP m_backgroundBitmap = nullptr;
  HGDIOBJ m_backgroundOld = nullptr;
  bool m_hover = false;
  COLORREF m_background = CLR_INVALID;
  COLORREF m_text = CLR_INVALID;
};

// A grey copy of an icon for the disabled look; null when it cannot be made.
HICON MakeDisabledIcon(HICON icon);

}  // namespace qlr_editor
