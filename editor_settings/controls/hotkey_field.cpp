// The hotkey control's field: its own painting of the hotkey text, the
// notices of focus and key changes, and the blink of the arrow button.
#include "editor_settings/controls/hotkey_ctrl.h"

#include <commctrl.h>

#include <cstdio>

#include "editor_settings/controls/hotkey_ctrl_internal.h"
#include "editor_settings/controls/hotkey_record.h"
#include "foundation/system/system_helpers.h"

namespace {

std::wstring Spaced(std::wstring text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'+') {
      out += L" + ";
    } else {
      out += c;
    }
  }
  return out;
}

// A key without a name is shown by its number.
std::wstring ReadableKeyName(UINT vk) {
  std::wstring name = HotkeyToText(vk, 0);
  if (!name.empty() || vk == 0) return name;
  wchar_t number[16] = {};
  std::swprintf(number, 16, L"0x%02X", vk);
  return number;
}

void PaintField(HWND field, HDC dc) {
  HWND control = ::GetParent(field);
  const bool enabled = ::IsWindowEnabled(field) != FALSE;
  RECT client = {};
  ::GetClientRect(field, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  WORD value = static_cast<WORD>(::SendMessageW(field, HKM_GETHOTKEY, 0, 0));
  bool win = ::SendMessageW(control, HKX_GETWIN, 0, 0) != 0;
  bool doublePress = ::SendMessageW(control, HKX_GETDOUBLE, 0, 0) != 0;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(field, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf = {};
  ::GetObjectW(font, sizeof(lf), &lf);
  lf.lfWeight = FW_BOLD;
  HFONT bold = ::CreateFontIndirectW(&lf);
  HGDIOBJ old = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  TEXTMETRICW tm = {};
  ::GetTextMetricsW(dc, &tm);
  int x = client.left + 2;
  int y = client.top + (client.bottom - client.top - tm.tmHeight) / 2;
  for (const HotkeyTextRun& run : BuildHotkeyTextRuns(value, win, doublePress, enabled)) {
    ::SelectObject(dc, run.bold && bold ? bold : font);
    ::SetTextColor(dc, run.color);
    ::TextOutW(dc, x, y, run.text.c_str(), static_cast<int>(run.text.size()));
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, run.text.c_str(), static_cast<int>(run.text.size()), &size);
    x += size.cx;
  }
  ::SelectObject(dc, old);
  if (bold) ::DeleteObject(bold);
}

struct BlinkJob {
  HWND button;
  HANDLE event;  // the thread's own duplicate
};

bool SetTextWaiting(HWND button, const wchar_t* text) {
  DWORD_PTR ignored = 0;
  return ::IsWindow(button) &&
         ::SendMessageTimeoutW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                               &ignored);
}

DWORD WINAPI BlinkThread(void* parameter) {
  BlinkJob job = *static_cast<BlinkJob*>(parameter);
  delete static_cast<BlinkJob*>(parameter);
  wchar_t text[64] = {};
  DWORD_PTR length = 0;
  if (::SendMessageTimeoutW(job.button, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                            &length) &&
      text[0]) {
    // Ends early when the button is gone.
    for (int i = 0; i < 3; ++i) {
      if (!SetTextWaiting(job.button, L"")) break;
      ::Sleep(300);
      if (!SetTextWaiting(job.button, text)) break;
      ::Sleep(400);
    }
  }
  ::ResetEvent(job.event);
  ::CloseHandle(job.event);
  return 0;
}

}  // namespace

std::vector<HotkeyTextRun> BuildHotkeyTextRuns(WORD fieldHotkey, bool win, bool doublePress, bool enabled) {
  const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
  const COLORREF textColor = enabled ? ::GetSysColor(COLOR_WINDOWTEXT) : grey;
  std::vector<HotkeyTextRun> runs;
  const UINT vk = LOBYTE(fieldHotkey);
  if (fieldHotkey == 0) {
    runs.push_back({L"None", false, grey});
    return runs;
  }
  WORD modifiers = FieldFlagsToModifiers(HIBYTE(fieldHotkey));
  std::wstring text = HotkeyToText(vk, modifiers);
  std::wstring key = ReadableKeyName(vk);
  if (HotkeyToText(vk, 0).empty() && !key.empty()) text += key;
  text = Spaced(text);
  if (win) {
    runs.push_back({L"Win", true, enabled ? kHotkeyWinColor : grey});
    text = L" + " + text;
  }
  runs.push_back({text, false, textColor});
  if (doublePress) runs.push_back({L" + " + key, true, textColor});
  return runs;
}

void StartArrowBlink(HWND control) {
  HotkeyCtrlData* data = GetHotkeyCtrlData(control);
  HWND button = ::GetDlgItem(control, kHotkeyArrowButtonId);
  if (!data || !button || !::IsWindowVisible(button)) return;
  if (!data->blinkEvent) {
    data->blinkEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!data->blinkEvent) return;
  } else if (::WaitForSingleObject(data->blinkEvent, 0) == WAIT_OBJECT_0) {
    return;  // a blink runs
  }
  ::SetEvent(data->blinkEvent);
  HANDLE own = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), data->blinkEvent, ::GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
    ::ResetEvent(data->blinkEvent);
    return;
  }
  auto* job = new BlinkJob{button, own};
  HANDLE thread = ::CreateThread(nullptr, 0, &BlinkThread, job, 0, nullptr);
  if (!thread) {
    delete job;
    ::CloseHandle(own);
    ::ResetEvent(data->blinkEvent);
    return;
  }
  ::CloseHandle(thread);
}

LRESULT CALLBACK HotkeyFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND control = ::GetParent(field);
  HotkeyCtrlData* data = GetHotkeyCtrlData(control);
  WNDPROC previous = data ? data->fieldProc : nullptr;
  if (!previous) return ::DefWindowProcW(field, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps = {};
      HDC dc = ::BeginPaint(field, &ps);
      PaintField(field, dc);
      ::EndPaint(field, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintField(field, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFOCUS: {
      LRESULT result = ::CallWindowProcW(previous, field, msg, wParam, lParam);
      SendHotkeyNotify(control, NM_SETFOCUS);
      StartArrowBlink(control);
      return result;
    }
    case WM_KILLFOCUS: {
      LRESULT result = ::CallWindowProcW(previous, field, msg, wParam, lParam);
      HWND to = reinterpret_cast<HWND>(wParam);
      if (to != control && !::IsChild(control, to)) SendHotkeyNotify(control, NM_KILLFOCUS);
      return result;
    }
    case WM_KEYUP: {
      LRESULT result = ::CallWindowProcW(previous, field, msg, wParam, lParam);
      ::InvalidateRect(field, nullptr, TRUE);
      SendHotkeyNotify(control, kHotkeyNotifyChanged);
      return result;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      LRESULT result = ::CallWindowProcW(previous, field, msg, wParam, lParam);
      ::InvalidateRect(field, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      return ::CallWindowProcW(previous, field, msg, wParam, lParam);
    default:
      return ::CallWindowProcW(previous, field, msg, wParam, lParam);
  }
}
