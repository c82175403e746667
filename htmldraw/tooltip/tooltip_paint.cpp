// Drawing a tip at its transparency: the markup over the background, the
// border, the soft shadow over the saved screen, and the blend of the tip
// over that screen.
#include <algorithm>

#include "foundation/system/handles.h"
#include "htmldraw/tooltip/pp_tooltip.h"

void CPPToolTip::DrawTip(HDC target) {
  const int width = m_windowRect.right - m_windowRect.left, height = m_windowRect.bottom - m_windowRect.top;
  if (!target || !m_tipRegion || m_background.Width() != width || m_background.Height() != height) return;
  WorkBitmap tip, out;
  if (!tip.Create(width, height) || !out.Create(width, height)) return;
  BitBlt(tip.Dc(), 0, 0, width, height, m_background.Dc(), 0, 0, SRCCOPY);
  {
    LayoutWidthScope scope(m_drawer, m_layoutWidth);
    m_drawer.Draw(tip.Dc(), m_textRect);
  }
  DrawBorder(tip.Dc(), m_tipRegion);
  if (m_screenCopy.Dc()) BitBlt(out.Dc(), 0, 0, width, height, m_screenCopy.Dc(), 0, 0, SRCCOPY);

  const int t = std::min(m_transparency, 100);
  CEffectPainter& painter = m_drawer.GetEffectPainter();
  if (ShadowDx() || ShadowDy()) {
    // Grey where the tip is, lighter as the tip fades; white elsewhere.
    const int dark = 255 * (100 - m_shadowDarkness) / 100;
    const int level = dark + (255 - dark) * t / 100;
    WorkBitmap mask;
    if (mask.Create(width, height)) {
      std::fill(mask.Pixels(), mask.Pixels() + mask.Count(), 0x00FFFFFFu);
      UniqueGdiObject grey(CreateSolidBrush(RGB(level, level, level)));
      if (grey) FillRgn(mask.Dc(), m_tipRegion, static_cast<HBRUSH>(grey.Get()));
      // The painter stretches the mask into the area inside half a blur
      // window on each side: the area is grown so that it lands one to one.
      const int bx = m_shadowBlurX | 1, by = m_shadowBlurY | 1;
      UniqueGdiObject shadow(mask.Detach());
      painter.DrawShadow(out.Dc(), ShadowDx() - bx / 2, ShadowDy() - by / 2, width + bx, height + by,
                         static_cast<HBITMAP>(shadow.Get()), true, m_shadowBlurX, m_shadowBlurY);
    }
  }
  SelectClipRgn(out.Dc(), m_tipRegion);
  painter.BlendBlit(out.Dc(), 0, 0, width, height, tip.Dc(), 0, 0, 100 - t);
  SelectClipRgn(out.Dc(), nullptr);
  BitBlt(target, 0, 0, width, height, out.Dc(), 0, 0, SRCCOPY);
}

void CPPToolTip::Redraw() {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return;
  WindowDC dc(m_hWnd);
  if (dc) DrawTip(dc.Get());
}
