#include "phrases/insertion/clipboard_ops.h"

#include <cstring>

#include "foundation/system/handles.h"

namespace {

// SetClipboardData owns the block only on success.
bool SetClipboardBytes(UINT format, const void* data, size_t bytes) {
  HGLOBAL block = GlobalWithBytes(data, bytes);
  if (!block) return false;
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

void KeyPress(BYTE vk, DWORD flags) { keybd_event(vk, 0, flags, 0); }

}  // namespace

HGLOBAL GlobalWithBytes(const void* data, size_t bytes) {
  UniqueGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
  {
    GlobalLockScope<void> p(block.Get());
    if (!p) return nullptr;
    if (bytes) memcpy(p.Get(), data, bytes);
  }
  return block.Release();
}

wchar_t* GetClipboardTextCopy() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return nullptr;
  ClipboardLock clipboard(nullptr);
  if (!clipboard) return nullptr;
  HANDLE handle = GetClipboardData(CF_UNICODETEXT);
  const SIZE_T size = handle ? GlobalSize(handle) : 0;
  GlobalLockScope<const BYTE> text(size ? handle : nullptr);
  if (!text) return nullptr;
  // The pages come zeroed: the terminator is there.
  auto* copy = static_cast<wchar_t*>(
      VirtualAlloc(nullptr, size + sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  if (copy) memcpy(copy, text.Get(), size);
  return copy;
}

void FreeClipboardTextCopy(wchar_t* buffer) {
  if (buffer) VirtualFree(buffer, 0, MEM_RELEASE);
}

bool PutDataOnClipboard(UINT format, const void* data, size_t bytes) {
  ClipboardLock clipboard(nullptr);
  if (!clipboard) return false;
  EmptyClipboard();
  const bool ok = SetClipboardBytes(format, data, bytes);
  const LCID locale = GetThreadLocale();
  SetClipboardBytes(CF_LOCALE, &locale, sizeof(locale));
  return ok;
}

bool PutTextOnClipboard(const std::wstring& text) {
  return PutDataOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool PutFormatsOnClipboard(const ClipboardFormatTable& formats) {
  if (formats.empty()) return false;
  ClipboardLock clipboard(nullptr);
  if (!clipboard) return false;
  EmptyClipboard();
  int set = 0;
  for (const auto& f : formats) {
    if (SetClipboardBytes(f.first, f.second.data(), f.second.size())) ++set;
  }
  return set > 0;
}

void SendCtrlV(bool wait) {
  // A modifier still held from the hotkey would turn Ctrl+V into another
  // shortcut.
  for (BYTE vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
    if (GetKeyState(vk) != 0) KeyPress(vk, KEYEVENTF_KEYUP);
  }
  KeyPress(VK_CONTROL, 0);
  KeyPress('V', 0);
  if (wait) Sleep(100);
  KeyPress('V', KEYEVENTF_KEYUP);
  KeyPress(VK_CONTROL, KEYEVENTF_KEYUP);
  if (wait) Sleep(500);
}

std::vector<int> CaretPacingSleeps(int n) {
  const int k = n <= 3 ? 1 : n <= 10 ? 2 : n <= 100 ? 4 : n / 100;
  std::vector<int> sleeps;
  int counter = 0;
  for (int press = 1; press <= n; ++press) {
    if (counter == k) {
      sleeps.push_back(press);
      counter = 0;
    }
    ++counter;
  }
  return sleeps;
}

void PasteAndMoveCaretLeft(int n) {
  SendCtrlV(false);
  Sleep(100);
  std::vector<int> sleeps = CaretPacingSleeps(n);
  size_t next = 0;
  for (int press = 1; press <= n; ++press) {
    KeyPress(VK_LEFT, KEYEVENTF_EXTENDEDKEY);
    KeyPress(VK_LEFT, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
    if (next < sleeps.size() && sleeps[next] == press) {
      Sleep(1);
      ++next;
    }
  }
}
