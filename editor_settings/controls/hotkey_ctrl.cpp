#include "editor_settings/controls/hotkey_ctrl.h"

#include <commctrl.h>
#include <windowsx.h>

#include "editor_settings/controls/hotkey_ctrl_internal.h"
#include "editor_settings/controls/hotkey_record.h"
#include "editor_settings/helpers/bold_check_box.h"
#include "foundation/system/system_helpers.h"
#include "foundation/system/trusted_messages.h"

namespace {

constexpr size_t kMaxDoubleTextChars = 260;

int MenuBarHeight() { return ::GetSystemMetrics(SM_CYMENU); }

// The control's own children are kept: GetDlgItem asks the window server
// each time, and every message of the control looks one up.
HWND Child(HWND control, int id) {
  const HotkeyCtrlData* data = GetHotkeyCtrlData(control);
  if (data && id >= kHotkeyFieldId && id <= kHotkeyArrowButtonId) {
    HWND kept = data->children[id - kHotkeyFieldId];
    if (kept && ::GetParent(kept) == control) return kept;
  }
  return ::GetDlgItem(control, id);
}

void RepaintField(HWND control) { ::InvalidateRect(Child(control, kHotkeyFieldId), nullptr, TRUE); }

void SetBox(HWND control, int id, bool checked) {
  ::SendMessageW(Child(control, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  RepaintField(control);
}

LRESULT BoxState(HWND control, int id) {
  HWND box = Child(control, id);
  return box && ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

int BoxIdOf(WPARAM which) { return which == 1 ? kHotkeyWinBoxId : which == 2 ? kHotkeyDoubleBoxId : 0; }

// Where the children lie in a control of the given width: the field with
// the arrow button beside its right edge, and the two boxes under it.
struct ChildPlace {
  int id;
  RECT place;
};

void ChildPlaces(int width, ChildPlace (&places)[4]) {
  const int bar = MenuBarHeight();
  const int fieldWidth = width - 25;
  const int boxWidth = fieldWidth / 2 - 5;
  const int boxTop = 4 + bar + 4;
  places[0] = {kHotkeyFieldId, {5, 4, 5 + fieldWidth, 4 + bar}};
  places[1] = {kHotkeyArrowButtonId, {width - 19, 4, width - 4, 4 + bar}};
  places[2] = {kHotkeyWinBoxId, {5, boxTop, 5 + boxWidth, boxTop + bar}};
  places[3] = {kHotkeyDoubleBoxId, {5 + fieldWidth - boxWidth, boxTop, 5 + fieldWidth, boxTop + bar}};
}

bool CreateChildren(HWND control, int width) {
  struct ChildSpec {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
  } specs[4] = {
      {HOTKEY_CLASSW, L"", WS_TABSTOP},
      {L"Button", L">", BS_PUSHBUTTON},
      {L"Button", L"WIN", BS_AUTOCHECKBOX},
      {L"Button", L"Double", BS_AUTOCHECKBOX},
  };
  // Made in their places: the first WM_SIZE then moves none of them.
  ChildPlace places[4];
  ChildPlaces(width, places);
  for (int i = 0; i < 4; ++i) {
    const ChildSpec& s = specs[i];
    const RECT& r = places[i].place;
    HWND child = ::CreateWindowExW(0, s.className, s.text, WS_CHILD | WS_VISIBLE | s.style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, control,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(places[i].id)), nullptr, nullptr);
    if (!child) return false;
    GetHotkeyCtrlData(control)->children[places[i].id - kHotkeyFieldId] = child;
  }
  SetBoldWhenChecked(Child(control, kHotkeyWinBoxId));
  SetBoldWhenChecked(Child(control, kHotkeyDoubleBoxId));
  HWND field = Child(control, kHotkeyFieldId);
  GetHotkeyCtrlData(control)->fieldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HotkeyFieldProc)));
  return true;
}

void LayOut(HWND control, int width) {
  ChildPlace places[4];
  ChildPlaces(width, places);
  for (const ChildPlace& place : places) {
    HWND child = Child(control, place.id);
    RECT now = {};
    ::GetWindowRect(child, &now);
    ::MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&now), 2);
    // A move costs a trip through the window system even to the same place.
    if (::EqualRect(&now, &place.place)) continue;
    const RECT& r = place.place;
    ::SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void EraseBackground(HWND control, HDC dc) {
  HWND parent = ::GetParent(control);
  HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(::SendMessageW(parent, WM_CTLCOLORMSGBOX,
                                                                  reinterpret_cast<WPARAM>(dc),
                                                                  reinterpret_cast<LPARAM>(control)))
                        : nullptr;
  if (!brush && parent) brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrW(parent, GCLP_HBRBACKGROUND));
  if (!brush) brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrW(control, GCLP_HBRBACKGROUND));
  if (!brush) brush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  RECT client = {};
  ::GetClientRect(control, &client);
  ::FillRect(dc, &client, brush);
}

LRESULT SetHotkeyValue(HWND control, WPARAM value) {
  HWND field = Child(control, kHotkeyFieldId);
  if (!field) return 0;
  // Only Shift, Control and Alt are flags of the field.
  WORD wanted = static_cast<WORD>(value & 0x07FF);
  ::SendMessageW(field, HKM_SETHOTKEY, wanted, 0);
  RepaintField(control);
  // The field's set message has no answer: success is the value it holds.
  return static_cast<WORD>(::SendMessageW(field, HKM_GETHOTKEY, 0, 0)) == wanted ? 1 : 0;
}

LRESULT SetDoubleText(HWND control, WPARAM wParam, LPARAM lParam) {
  HWND box = Child(control, kHotkeyDoubleBoxId);
  if (wParam != 0 || !box || !lParam) return 0;
  // An address from another thread or process (sent or posted) is never
  // read: only a send of this thread made by SendWithAddress.
  if (!IsAddressFromOwnThread(HKX_SETDOUBLETEXT, lParam)) return 0;
  std::wstring text;
  if (!CopyTextFromAddress(reinterpret_cast<const wchar_t*>(lParam), kMaxDoubleTextChars, &text)) return 0;
  return ::SetWindowTextW(box, text.c_str()) ? 1 : 0;
}

LRESULT OnCommand(HWND control, WPARAM wParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) != BN_CLICKED) return 0;
  if (id == kHotkeyWinBoxId || id == kHotkeyDoubleBoxId) {
    RepaintField(control);
    SendHotkeyNotify(control, kHotkeyNotifyChanged);
  } else if (id == kHotkeyArrowButtonId) {
    HotkeyNotify record = {};
    RECT r = {};
    ::GetWindowRect(Child(control, kHotkeyArrowButtonId), &r);
    record.left = r.left;
    record.top = r.top;
    record.right = r.right;
    record.bottom = r.bottom;
    SendHotkeyNotify(control, kHotkeyNotifyArrowButton, &record);
  }
  return 0;
}

LRESULT CALLBACK HotkeyCtrlProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    // The creation messages come once, from the creation on this thread;
    // another program can send them again.
    case WM_NCCREATE: {
      if (GetHotkeyCtrlData(control)) return FALSE;
      auto* data = new (std::nothrow) HotkeyCtrlData();
      if (!data) return FALSE;
      ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
      break;
    }
    case WM_NCDESTROY: {
      HotkeyCtrlData* data = GetHotkeyCtrlData(control);
      ::SetWindowLongPtrW(control, GWLP_USERDATA, 0);
      if (data && data->blinkEvent) ::CloseHandle(data->blinkEvent);
      delete data;
      break;
    }
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      if (Child(control, kHotkeyFieldId)) return 0;
      if (!GetHotkeyCtrlData(control) || !CreateChildren(control, cs->cx)) return -1;
      PostHotkeyRepaint(control);
      return 0;
    }
    case WM_SIZE:
      if (wParam == SIZE_RESTORED) LayOut(control, LOWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = 155;
      info->ptMinTrackSize.y = 2 * MenuBarHeight() + 12;
      return 0;
    }
    case WM_SETFONT:
      for (int id = kHotkeyFieldId; id <= kHotkeyArrowButtonId; ++id) {
        ::SendMessageW(Child(control, id), WM_SETFONT, wParam, lParam);
      }
      return 0;
    case WM_ENABLE:
      for (int id = kHotkeyFieldId; id <= kHotkeyArrowButtonId; ++id) ::EnableWindow(Child(control, id), wParam != 0);
      RepaintField(control);
      return 0;
    case WM_ERASEBKGND:
      EraseBackground(control, reinterpret_cast<HDC>(wParam));
      PostHotkeyRepaint(control);
      return 1;
    case WM_TIMER:
      if (wParam == kHotkeyRepaintTimer) {
        ::KillTimer(control, kHotkeyRepaintTimer);
        if (HotkeyCtrlData* data = GetHotkeyCtrlData(control)) data->repaintPending = false;
        // No erase: erasing the control would post the next repaint.
        ::InvalidateRect(Child(control, kHotkeyFieldId), nullptr, FALSE);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      ::SetFocus(Child(control, kHotkeyFieldId));
      return 0;
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(wParam);
      if (to != control && !::IsChild(control, to)) SendHotkeyNotify(control, NM_KILLFOCUS);
      return 0;
    }
    case WM_CONTEXTMENU: {
      HotkeyNotify record = {};
      record.x = GET_X_LPARAM(lParam);
      record.y = GET_Y_LPARAM(lParam);
      SendHotkeyNotify(control, kHotkeyNotifyContextMenu, &record);
      return 0;
    }
    case WM_COMMAND:
      return OnCommand(control, wParam);
    case HKX_SETBOX:
      if (!BoxIdOf(wParam)) return 0;
      SetBox(control, BoxIdOf(wParam), lParam != 0);
      return 1;
    case HKX_GETBOX:
      return BoxIdOf(wParam) ? BoxState(control, BoxIdOf(wParam)) : 0;
    case HKX_SETHOTKEY:
      return SetHotkeyValue(control, wParam);
    case HKX_GETHOTKEY:
      return static_cast<WORD>(::SendMessageW(Child(control, kHotkeyFieldId), HKM_GETHOTKEY, 0, 0));
    case HKX_SETDOUBLETEXT:
      return SetDoubleText(control, wParam, lParam);
    case HKX_SETDOUBLE:
      SetBox(control, kHotkeyDoubleBoxId, wParam != 0);
      return 1;
    case HKX_GETDOUBLE:
      return BoxState(control, kHotkeyDoubleBoxId);
    case HKX_GETWIN:
      return BoxState(control, kHotkeyWinBoxId);
    case HKX_SETWIN:
      SetBox(control, kHotkeyWinBoxId, wParam != 0);
      return 1;
    case HKX_DELAYEDREPAINT:
      PostHotkeyRepaint(control);
      return 1;
    case HKX_ENABLEDOUBLE:
    case HKX_ENABLEWIN:
      ::EnableWindow(Child(control, msg == HKX_ENABLEDOUBLE ? kHotkeyDoubleBoxId : kHotkeyWinBoxId), wParam != 0);
      RepaintField(control);
      return 1;
    default:
      break;
  }
  return ::DefWindowProcW(control, msg, wParam, lParam);
}

}  // namespace

void SendHotkeyNotify(HWND control, UINT code, HotkeyNotify* record) {
  HotkeyNotify own = {};
  if (!record) record = &own;
  record->hdr.hwndFrom = control;
  record->hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(control));
  record->hdr.code = code;
  if (HWND parent = ::GetParent(control)) {
    ::SendMessageW(parent, WM_NOTIFY, record->hdr.idFrom, reinterpret_cast<LPARAM>(record));
  }
}

void PostHotkeyRepaint(HWND control) {
  // One timer at most: a pending repaint is not posted again.
  HotkeyCtrlData* data = GetHotkeyCtrlData(control);
  if (!data || data->repaintPending) return;
  if (::SetTimer(control, kHotkeyRepaintTimer, 70, nullptr)) data->repaintPending = true;
}

bool RegisterHotkeyCtrlClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &HotkeyCtrlProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHotkeyCtrlClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

WORD FieldFlagsToModifiers(BYTE fieldFlags) {
  WORD modifiers = 0;
  if (fieldFlags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
  if (fieldFlags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
  if (fieldFlags & HOTKEYF_ALT) modifiers |= MOD_ALT;
  return modifiers;
}

BYTE ModifiersToFieldFlags(WORD modifiers) {
  BYTE flags = 0;
  if (modifiers & MOD_ALT) flags |= HOTKEYF_ALT;
  if (modifiers & MOD_CONTROL) flags |= HOTKEYF_CONTROL;
  if (modifiers & MOD_SHIFT) flags |= HOTKEYF_SHIFT;
  return flags;
}

std::wstring HotkeyToText(UINT vk, UINT modifiers) {
  // The extended-key bit follows the key, not the Win modifier.
  return GetHotkeyDisplayName(vk, modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN));
}
