#include "editor_settings/buttons/themed_icon_button.h"

#include "editor_settings/buttons/theme_functions.h"

namespace qlr_editor {

namespace {

// Push-button part and its states (the toolbar class numbers them alike).
constexpr int kPartButton = 1;
constexpr int kStateNormal = 1;
constexpr int kStateHot = 2;
constexpr int kStatePressed = 3;
constexpr int kStateDisabled = 4;
constexpr int kStateDefaulted = 5;

constexpr UINT kRepeatBit = 0x40000000;

SIZE IconSize(HICON icon) {
  SIZE size = {0, 0};
  ICONINFO info = {};
  if (!icon || !::GetIconInfo(icon, &info)) return size;
  BITMAP bm = {};
  HBITMAP source = info.hbmColor ? info.hbmColor : info.hbmMask;
  if (::GetObjectW(source, sizeof(bm), &bm)) {
    size.cx = bm.bmWidth;
    size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return size;
}

}  // namespace

HICON MakeDisabledIcon(HICON icon) {
  SIZE size = IconSize(icon);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return nullptr;
  HICON result = nullptr;
  if (info.hbmColor) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP grey = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (grey && ::GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size.cy), bits, &bi, DIB_RGB_COLORS)) {
      DWORD* pixel = static_cast<DWORD*>(bits);
      for (LONG i = 0; i < size.cx * size.cy; ++i) {
        DWORD p = pixel[i];
        DWORD r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        // Lighter grey, as disabled pictures look.
        DWORD y = (r * 30 + g * 59 + b * 11) / 100;
        y = 128 + y / 2;
        pixel[i] = (p & 0xFF000000) | (y << 16) | (y << 8) | y;
      }
      ICONINFO made = info;
      made.hbmColor = grey;
      result = ::CreateIconIndirect(&made);
    }
    if (grey) ::DeleteObject(grey);
    ::ReleaseDC(nullptr, screen);
  } else {
    result = ::CopyIcon(icon);
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return result;
}

CThemedIconButton::~CThemedIconButton() {
  CloseTheme();
  if (m_icon) ::DestroyIcon(m_icon);
  if (m_disabledIcon) ::DestroyIcon(m_disabledIcon);
  if (m_backgroundDC) {
    ::SelectObject(m_backgroundDC, m_backgroundOld);
    ::DeleteDC(m_backgroundDC);
  }
  if (m_backgroundBitmap) ::DeleteObject(m_backgroundBitmap);
}

void CThemedIconButton::CloseTheme() {
  if (m_theme) ThemeFunctions().CloseThemeData(m_theme);
  m_theme = nullptr;
  m_rereadTheme = true;
}

void CThemedIconButton::Repaint() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CThemedIconButton::SetIcon(HICON icon, int alignment) {
  if (m_icon && m_icon != icon) ::DestroyIcon(m_icon);
  if (m_disabledIcon) ::DestroyIcon(m_disabledIcon);
  m_icon = icon;
  m_disabledIcon = nullptr;
  m_iconAlign = alignment;
  Repaint();
}

HICON CThemedIconButton::GetDisabledIcon() const {
  if (!m_disabledIcon && m_icon) m_disabledIcon = MakeDisabledIcon(m_icon);
  return m_disabledIcon;
}

void CThemedIconButton::SetChecked(bool checked) {
  if (m_checked == checked) return;
  m_checked = checked;
  Repaint();
}

void CThemedIconButton::SetFlat(bool flat) {
  if (m_flat == flat) return;
  m_flat = flat;
  CloseTheme();  // the other theme class
  Repaint();
}

void CThemedIconButton::SetColours(COLORREF background, COLORREF text) {
  m_background = background;
  m_text = text;
  Repaint();
}

LRESULT CThemedIconButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      if (wParam == VK_TAB || (msg && AfxIsMessageFromOwnThread() && msg->message == WM_KEYDOWN &&
                               msg->wParam == VK_TAB))
        return 0;
      return DLGC_WANTALLKEYS;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE || wParam == VK_RETURN) {
        // A held key repeats its key-down: the button is pressed once.
        if (!(static_cast<UINT>(lParam) & kRepeatBit)) SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        return 0;
      }
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE || wParam == VK_RETURN) {
        SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      m_pressed = true;
      if (m_checkBox) m_checked = !m_checked;
      break;
    case WM_LBUTTONUP: {
      m_pressed = false;
      if (m_doubleClickPending) {
        m_doubleClickPending = false;
        SetState(FALSE);
        ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
      }
      if (m_checkBox) {
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!::PtInRect(&client, pt)) {
          m_checked = !m_checked;
          Invalidate(FALSE);
        }
      }
      break;
    }
    case WM_LBUTTONDBLCLK:
      if (!m_checkBox) {
        SetState(TRUE);
        m_doubleClickPending = true;
        return 0;
      }
      break;
    case WM_MOUSEMOVE: {
      RECT window = {};
      ::GetWindowRect(m_hWnd, &window);
      POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ::ClientToScreen(m_hWnd, &pt);
      bool inside = ::PtInRect(&window, pt) != FALSE;
      if (inside != m_hover) {
        m_hover = inside;
        if (inside) {
          TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
          ::TrackMouseEvent(&track);
        }
        Invalidate(FALSE);
      }
      break;
    }
    case WM_MOUSELEAVE:
      if (m_hover) {
        m_hover = false;
        Invalidate(FALSE);
      }
      break;
    case WM_THEMECHANGED:
      CloseTheme();
      break;
    default:
      break;
  }
  return COwnerDrawButton::WindowProc(message, wParam, lParam);
}

void CThemedIconButton::SaveParentBackground(HDC from, const RECT& rect) {
  if (m_backgroundDC) return;
  m_backgroundDC = ::CreateCompatibleDC(from);
  m_backgroundBitmap = ::CreateCompatibleBitmap(from, rect.right - rect.left, rect.bottom - rect.top);
  if (!m_backgroundDC || !m_backgroundBitmap) return;
  m_backgroundOld = ::SelectObject(m_backgroundDC, m_backgroundBitmap);
  ::BitBlt(m_backgroundDC, 0, 0, rect.right - rect.left, rect.bottom - rect.top, from, rect.left, rect.top,
           SRCCOPY);
}

void CThemedIconButton::DrawClassicFrame(HDC dc, RECT* rect, bool pressed, bool focusedOrDefault) const {
  if (!m_flat) {
    RECT inside = *rect;
    ::InflateRect(&inside, -1, -1);
    COLORREF fill = m_background != CLR_INVALID ? m_background : ::GetSysColor(COLOR_BTNFACE);
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc, &inside, brush);
    ::DeleteObject(brush);
  }
  if (focusedOrDefault) {
    ::FrameRect(dc, rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(rect, -1, -1);
  }
  if (pressed)
    ::DrawEdge(dc, rect, EDGE_SUNKEN, BF_RECT);
  else if (!m_flat)
    ::DrawEdge(dc, rect, EDGE_RAISED, BF_RECT);
}

void CThemedIconButton::DrawIconAndCaption(HDC dc, const RECT& rect, bool pressed, bool disabled, int themeState) {
  CString caption = GetWindowTextString();
  HWND parent = ::GetParent(m_hWnd);
  HFONT font = parent ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
  HGDIOBJ oldFont = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE text = {0, 0};
  if (caption.GetLength() > 0) ::GetTextExtentPoint32W(dc, caption.GetString(), caption.GetLength(), &text);
  SIZE icon = IconSize(m_icon);
  int gap = icon.cx / 2;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  bool beside = m_icon && caption.GetLength() > 0 && m_iconAlign != kIconCenter;
  int total = beside ? icon.cx + gap + text.cx : (m_icon ? icon.cx : text.cx);
  int x = rect.left + (width - total) / 2;
  int shift = pressed ? 1 : 0;
  RECT textRect = rect;
  if (m_icon) {
    int iconX = x;
    if (beside && m_iconAlign == kIconRight) iconX = x + text.cx + gap;
    if (!beside) iconX = rect.left + (width - icon.cx) / 2;
    int iconY = rect.top + (height - icon.cy) / 2;
    if (disabled) {
      ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(GetDisabledIcon() ? GetDisabledIcon() : m_icon), 0,
                   iconX + shift, iconY + shift, icon.cx, icon.cy, DST_ICON | DSS_DISABLED);
    } else {
      ::DrawIconEx(dc, iconX + shift, iconY + shift, m_icon, icon.cx, icon.cy, 0, nullptr, DI_NORMAL);
    }
    if (beside) {
      textRect.left = m_iconAlign == kIconRight ? x : x + icon.cx + gap;
      textRect.right = textRect.left + text.cx;
    }
  }
  ::OffsetRect(&textRect, shift, shift);
  UINT format = DT_SINGLELINE | DT_VCENTER | (beside ? DT_LEFT : DT_CENTER);
  ::SetBkMode(dc, TRANSPARENT);
  if (caption.GetLength() > 0) {
    if (m_theme) {
      ThemeFunctions().DrawThemeText(m_theme, dc, kPartButton, themeState, caption.GetString(), -1, format, 0,
                                     &textRect);
    } else if (disabled) {
      RECT embossed = textRect;
      ::OffsetRect(&embossed, 1, 1);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
      ::DrawTextW(dc, caption.GetString(), -1, &embossed, format);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
      ::DrawTextW(dc, caption.GetString(), -1, &textRect, format);
    } else {
      ::SetTextColor(dc, m_text != CLR_INVALID ? m_text : ::GetSysColor(COLOR_BTNTEXT));
      ::DrawTextW(dc, caption.GetString(), -1, &textRect, format);
    }
  }
  ::SelectObject(dc, oldFont);
}

void CThemedIconButton::DrawItem(LPDRAWITEMSTRUCT item) {
  RECT rect = item->rcItem;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  HDC mem = ::CreateCompatibleDC(item->hDC);
  HBITMAP bitmap = ::CreateCompatibleBitmap(item->hDC, width, height);
  if (!mem || !bitmap) {
    if (mem) ::DeleteDC(mem);
    if (bitmap) ::DeleteObject(bitmap);
    return;
  }
  HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
  RECT local = {0, 0, width, height};

  const CThemeFunctions& themes = ThemeFunctions();
  if (m_rereadTheme && themes.IsThemeActive()) {
    m_theme = themes.OpenThemeData(m_hWnd, m_flat ? L"Toolbar" : L"Button");
    m_rereadTheme = false;
  }
  if (m_theme && !themes.IsThemeActive()) CloseTheme();

  if (m_flat) {
    SaveParentBackground(item->hDC, rect);
    if (m_backgroundDC) ::BitBlt(mem, 0, 0, width, height, m_backgroundDC, 0, 0, SRCCOPY);
  }
  bool disabled = (item->itemState & ODS_DISABLED) != 0;
  bool focused = (item->itemState & ODS_FOCUS) != 0;
  bool pressed = m_pressed || (item->itemState & ODS_SELECTED) != 0;
  bool sunken = pressed || m_checked;
  int state = kStateNormal;
  if (disabled)
    state = kStateDisabled;
  else if (sunken)
    state = kStatePressed;
  else if (focused || IsDefaultButton())
    state = kStateDefaulted;
  else if (m_hover)
    state = kStateHot;

  RECT content = local;
  if (m_theme) {
    themes.DrawThemeParentBackground(m_hWnd, mem, &local);
    themes.DrawThemeBackground(m_theme, mem, kPartButton, state, &local, nullptr);
    themes.GetThemeBackgroundContentRect(m_theme, mem, kPartButton, state, &local, &content);
  } else {
    DrawClassicFrame(mem, &content, sunken, focused || IsDefaultButton());
  }
  DrawIconAndCaption(mem, content, sunken, disabled, state);
  if (focused && !(item->itemState & ODS_NOFOCUSRECT)) {
    RECT focus = local;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(mem, &focus);
  }
  ::BitBlt(item->hDC, rect.left, rect.top, width, height, mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
}

}  // namespace qlr_editor
