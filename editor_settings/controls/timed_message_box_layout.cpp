// Lays the box out once it has placed its own controls: the check boxes go
// under the text, the standard buttons move down and stay one centred row.
#include <algorithm>

#include "editor_settings/controls/timed_message_box.h"
#include "editor_settings/helpers/bold_check_box.h"
#include "foundation/system/os_version.h"
#include "foundation/ui/theme.h"

namespace {

bool HasClass(HWND hWnd, const wchar_t* className) {
  wchar_t name[32] = {};
  return ::GetClassNameW(hWnd, name, 32) > 0 && ::lstrcmpiW(name, className) == 0;
}

RECT ChildRect(HWND dialog, HWND child) {
  RECT r = {};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int TextWidth(HDC dc, const std::wstring& text, bool singleLine) {
  RECT r = {0, 0, 0, 0};
  UINT flags = DT_CALCRECT | DT_NOPREFIX | (singleLine ? DT_SINGLELINE : 0);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  return r.right - r.left;
}

}  // namespace

void CTimedMessageBox::LayOut() {
  if (m_laidOut || !m_dialog) return;
  m_laidOut = true;
  HWND dialog = m_dialog;
  const bool version6 = IsOSVersionAtLeast(6, 0);
  if (version6) {
    if (HWND extra = ::GetDlgItem(dialog, 51966)) ::DestroyWindow(extra);
  }

  HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
  const int checkWidth = ::GetSystemMetrics(SM_CXMENUCHECK);
  const int itemHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
  const int pitch = itemHeight + itemHeight / 2;
  HWND iconStatic = nullptr;
  HWND textStatic = nullptr;
  std::vector<HWND> buttons;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (HasClass(child, L"Static")) {
      if (!iconStatic) {
        iconStatic = child;
      } else if (!textStatic) {
        textStatic = child;
      }
    } else if (HasClass(child, L"Button")) {
      buttons.push_back(child);
    }
  }
  if (!iconStatic) return;

  HDC dc = ::GetDC(dialog);
  HGDIOBJ oldFont = dialogFont ? ::SelectObject(dc, dialogFont) : nullptr;
  int itemWidth = 0;
  for (const std::wstring& line : m_lines) itemWidth = std::max(itemWidth, TextWidth(dc, line, true));
  itemWidth += 2 * checkWidth;

  if (m_iconProvider && ::SendMessageW(iconStatic, STM_GETICON, 0, 0)) {
    if (HICON icon = m_iconProvider(m_iconArgument)) ::SendMessageW(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }

  RECT dialogRect = {};
  ::GetWindowRect(dialog, &dialogRect);
  int dialogWidth = dialogRect.right - dialogRect.left;
  int dialogHeight = dialogRect.bottom - dialogRect.top;
  if (textStatic && m_text.size() < 61 && dialogFont) {
    LOGFONTW lf = {};
    if (::GetObjectW(dialogFont, sizeof(lf), &lf)) {
      lf.lfWeight = FW_BOLD;
      m_boldFont = ::CreateFontIndirectW(&lf);
    }
    if (m_boldFont) {
      ::SendMessageW(textStatic, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont), TRUE);
      ::SelectObject(dc, m_boldFont);
      RECT text = ChildRect(dialog, textStatic);
      int wider = TextWidth(dc, m_text, false) - (text.right - text.left);
      if (wider > 0) {
        ::SetWindowPos(textStatic, nullptr, 0, 0, text.right - text.left + wider, text.bottom - text.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        dialogWidth += wider;
      }
    }
  }
  if (oldFont) ::SelectObject(dc, oldFont);
  ::ReleaseDC(dialog, dc);

  RECT iconRect = ChildRect(dialog, iconStatic);
  RECT textRect = textStatic ? ChildRect(dialog, textStatic) : iconRect;
  int x = version6 ? checkWidth : std::min<int>(iconRect.left, textRect.left);
  int top = std::max<int>(iconRect.bottom, textRect.bottom) + itemHeight / 2;
  if (IsOSVersionAtLeast(6, 1) && !IsOSVersionAtLeast(7, 0)) top += pitch;

  // A box taller than the screen puts its check boxes into columns, and a
  // box wider than the screen cuts the check boxes' width.
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  const int count = static_cast<int>(m_lines.size());
  const int textBottom = std::max<int>(iconRect.bottom, textRect.bottom);
  int perColumn = std::max(1, (screenHeight - dialogHeight - (top - textBottom)) / pitch);
  int rows = std::min(count, perColumn);
  int columns = count > 0 ? (count + rows - 1) / rows : 0;
  RECT client = {};
  ::GetClientRect(dialog, &client);
  const int frameWidth = dialogWidth - (client.right - client.left);
  if (columns > 0) {
    int room = (screenWidth - frameWidth - 2 * x) / columns;
    itemWidth = std::min(itemWidth, std::max(room, 2 * checkWidth));
  }

  int buttonsTop = dialogHeight;
  for (HWND button : buttons) buttonsTop = std::min<int>(buttonsTop, ChildRect(dialog, button).top);
  HWND after = nullptr;
  int anchorId = (m_uType & 4) ? IDNO : (m_uType & 3) ? IDCANCEL : IDOK;
  after = ::GetDlgItem(dialog, anchorId);
  int itemsBottom = top;
  for (int i = 0; i < count; ++i) {
    int column = i / rows;
    int row = i % rows;
    int itemX = x + column * itemWidth;
    int itemY = top + row * pitch;
    HWND item = ::CreateWindowExW(0, L"Button", m_lines[i].c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, itemX, itemY, itemWidth,
                                  itemHeight, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTimedMessageBoxFirstItemId + i)),
                                  nullptr, nullptr);
    if (!item) continue;
    m_items.push_back(item);
    if (dialogFont) ::SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    if (m_checked.count(static_cast<unsigned>(i))) ::SendMessageW(item, BM_SETCHECK, BST_CHECKED, 0);
    if (m_disabled.count(static_cast<unsigned>(i))) ::EnableWindow(item, FALSE);
    SetBoldWhenChecked(item);
    if (after) ::SetWindowPos(item, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = item;
    itemsBottom = std::max(itemsBottom, itemY + itemHeight);
  }

  // The buttons move under the last check box, however the rows fell.
  int extra = rows * pitch;
  if (buttonsTop < dialogHeight) extra = std::max(extra, itemsBottom + itemHeight / 2 - buttonsTop);
  for (HWND button : buttons) {
    RECT r = ChildRect(dialog, button);
    ::SetWindowPos(button, nullptr, r.left, r.top + extra, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int width = dialogWidth;
  if (!m_items.empty()) width = std::max(width, frameWidth + columns * itemWidth + 2 * x);
  width = std::min(width, screenWidth);
  int height = std::min(dialogHeight + extra, screenHeight);
  ::GetWindowRect(dialog, &dialogRect);
  int left = dialogRect.left;
  int topEdge = dialogRect.top;
  if (m_x != -1 || m_y != -1) {
    left = m_x;
    topEdge = m_y;
  }
  // Also a box placed by the system stays on the screen after it grew.
  left = std::max(0, std::min(left, screenWidth - width));
  topEdge = std::max(0, std::min(topEdge, screenHeight - height));
  ::SetWindowPos(dialog, nullptr, left, topEdge, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  for (const auto& entry : m_buttonTexts) {
    if (entry.second.empty()) continue;
    if (HWND control = ::GetDlgItem(dialog, entry.first)) ::SetWindowTextW(control, entry.second.c_str());
  }
  if (IsAppThemedSafe()) {
    for (HWND item : m_items) SetWindowThemeSafe(item, L"Exporer", L"Button");
  }

  if (buttons.empty()) return;
  std::sort(buttons.begin(), buttons.end(),
            [&](HWND a, HWND b) { return ChildRect(dialog, a).left < ChildRect(dialog, b).left; });
  ::GetClientRect(dialog, &client);
  RECT first = ChildRect(dialog, buttons[0]);
  int buttonPitch = first.right - first.left + 5;
  int buttonX = (client.right - buttonPitch * static_cast<int>(buttons.size()) + 5) / 2;
  for (HWND button : buttons) {
    RECT r = ChildRect(dialog, button);
    ::SetWindowPos(button, nullptr, buttonX, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    buttonX += buttonPitch;
  }
}
