#include "phrases/insertion/keystrokes.h"

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"

namespace {

INPUT Key(WORD vk, WORD scan, DWORD flags) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = flags;
  return in;
}

void AddPress(std::vector<INPUT>& list, WORD vk, WORD scan = 0) {
  list.push_back(Key(vk, scan, 0));
  list.push_back(Key(vk, scan, KEYEVENTF_KEYUP));
}

void Send(const std::vector<INPUT>& list) {
  if (list.empty()) return;
  SendInput(static_cast<UINT>(list.size()), const_cast<INPUT*>(list.data()), sizeof(INPUT));
}

}  // namespace

std::vector<INPUT> BuildTypeTextInputs(const std::wstring& text, int leftMoves, int rightMoves) {
  std::vector<INPUT> list;
  list.reserve(2 * text.size() + 2 * (leftMoves + rightMoves) + 3);
  for (wchar_t ch : text) {
    if (ch == L'\t' || ch == L'\n' || ch == L'\r') {
      AddPress(list, ch, static_cast<WORD>(MapVirtualKeyW(ch, MAPVK_VK_TO_VSC)));
    } else {
      list.push_back(Key(0, ch, KEYEVENTF_UNICODE));
      list.push_back(Key(0, ch, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
  }
  if (leftMoves > 0) {
    list.push_back(Key(VK_SHIFT, 0, KEYEVENTF_KEYUP));
    for (int i = 0; i < leftMoves; ++i) AddPress(list, VK_LEFT);
  }
  if (rightMoves > 0) {
    list.push_back(Key(VK_SHIFT, 0, 0));
    for (int i = 0; i < rightMoves; ++i) AddPress(list, VK_RIGHT);
    list.push_back(Key(VK_SHIFT, 0, KEYEVENTF_KEYUP));
  }
  return list;
}

void SendBackspaces(int n) {
  // A virtual-key pair: a Unicode event would carry the character in its scan
  // field and a Backspace has none, so the target would see no key at all.
  for (int i = 0; i < n; ++i) {
    std::vector<INPUT> pair;
    AddPress(pair, VK_BACK);
    Send(pair);
    Sleep(10);
  }
}

void LetTargetReadSentKeys(HWND target) {
  if (!target || !IsWindow(target)) return;
  // The answer comes once the target's thread looks at its queue again; the
  // pause lets it take the keys that were already there.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
  Sleep(150);
}

bool TypeText(const std::wstring& text, HWND /*target*/, int backspaces, int leftMoves,
              int rightMoves) {
  if (text.empty()) return false;
  // A Ctrl still held from the hotkey must not combine with the text.
  Send({Key(VK_CONTROL, 0, KEYEVENTF_KEYUP)});
  if (backspaces > 0) SendBackspaces(backspaces);
  Send(BuildTypeTextInputs(text, leftMoves, rightMoves));
  return true;
}

int GetLayoutSwitchMethod() {
  UniqueHKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Keyboard Layout\\Toggle", 0, KEY_READ, key.Put()) !=
      ERROR_SUCCESS)
    return 0;
  wchar_t value[11] = {};  // 20 bytes and a terminator
  DWORD size = 20;
  DWORD type = 0;
  const LONG rc =
      RegQueryValueExW(key.Get(), L"Hotkey", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  if (rc == ERROR_FILE_NOT_FOUND) return 1;
  if (rc != ERROR_SUCCESS || type != REG_SZ) return 0;
  const std::wstring text(value);
  for (int m = 1; m <= 4; ++m) {
    if (text == std::to_wstring(m)) return m;
  }
  return 0;
}

std::vector<INPUT> BuildLayoutSwitchInputs(int method) {
  WORD modifier = VK_LMENU;
  WORD main = VK_SHIFT;
  if (method == 2) {
    modifier = VK_LCONTROL;
  } else if (method == 4) {
    modifier = 0;
    main = VK_OEM_3;
  }
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(main, MAPVK_VK_TO_VSC));
  std::vector<INPUT> list;
  if (modifier) list.push_back(Key(modifier, 0, 0));
  list.push_back(Key(main, scan, 0));
  list.push_back(Key(main, scan, KEYEVENTF_KEYUP));
  if (modifier) list.push_back(Key(modifier, 0, KEYEVENTF_KEYUP));
  return list;
}

int SwitchKeyboardLayoutWith(HKL wanted, int method, const LayoutSwitchIo& io) {
  if (method == 4) {
    Log(L"Warning: keyboard layout switch [VK_TILDA_YOU detected]");
  } else if (method != 1 && method != 2) {
    LogError(L"Cannot detect keyboard layout switch method, Use: Alt+SHIFT");
  }
  const std::vector<INPUT> keys = BuildLayoutSwitchInputs(method);
  // With two layouts one press toggles to the other.
  if (io.layoutCount < 3) {
    io.send(keys);
    return 1;
  }
  const WORD wantedLanguage = LOWORD(reinterpret_cast<UINT_PTR>(wanted));
  int presses = 0;
  for (int i = 0; i < io.layoutCount; ++i) {
    io.send(keys);
    ++presses;
    if (io.targetInOtherProcess && io.letTargetCatchUp) io.letTargetCatchUp();
    HKL now = io.currentLayout();
    if (now == wanted || LOWORD(reinterpret_cast<UINT_PTR>(now)) == wantedLanguage) break;
  }
  return presses;
}

void SwitchTargetKeyboardLayout(HKL wanted, DWORD targetThread, HWND target) {
  DWORD targetProcess = 0;
  GetWindowThreadProcessId(target, &targetProcess);
  LayoutSwitchIo io;
  io.layoutCount = GetKeyboardLayoutList(0, nullptr);
  io.targetInOtherProcess = targetProcess != GetCurrentProcessId();
  io.send = Send;
  io.currentLayout = [targetThread] { return GetKeyboardLayout(targetThread); };
  // The target only applies the switch when it handles its next message.
  io.letTargetCatchUp = [target] {
    Sleep(200);
    PostMessageW(target, WM_NULL, 0, 0);
  };
  SwitchKeyboardLayoutWith(wanted, GetLayoutSwitchMethod(), io);
}
