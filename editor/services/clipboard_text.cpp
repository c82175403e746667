#include "editor/services/clipboard_text.h"

#include <cstring>
#include <cwchar>

#include "foundation/system/handles.h"

namespace {

HWND g_ownerWindow = nullptr;

}  // namespace

void SetClipboardOwnerWindow(HWND window) { g_ownerWindow = window; }
HWND GetClipboardOwnerWindow() { return g_ownerWindow; }

HANDLE GetClipboardDataHandle(UINT format) {
  if (!IsClipboardFormatAvailable(format)) return nullptr;
  ClipboardLock clipboard(nullptr);
  if (!clipboard) return nullptr;
  return GetClipboardData(format);
}

std::wstring ReadUnicodeBlock(HGLOBAL data) {
  if (!data) return std::wstring();
  SIZE_T chars = GlobalSize(data) / sizeof(wchar_t);
  GlobalLockScope<const wchar_t> text(data);
  if (!text || chars == 0) return std::wstring();
  return std::wstring(text.Get(), wcsnlen(text.Get(), chars));
}

bool GetClipboardText(std::wstring& out, HWND owner) {
  out.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  ClipboardLock clipboard(owner ? owner : g_ownerWindow, 3);
  if (!clipboard) return false;
  out = ReadUnicodeBlock(GetClipboardData(CF_UNICODETEXT));
  return !out.empty();
}

wchar_t* CopyClipboardUnicodeText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return nullptr;
  ClipboardLock clipboard(g_ownerWindow, 3);
  if (!clipboard) return nullptr;
  HGLOBAL data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return nullptr;
  SIZE_T size = GlobalSize(data);
  GlobalLockScope<const char> source(data);
  if (!source) return nullptr;
  // Committed pages come zero-filled: the two bytes behind an even copy
  // are its terminator.
  void* block = VirtualAlloc(nullptr, size + 2, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!block) return nullptr;
  std::memcpy(block, source.Get(), size & ~static_cast<SIZE_T>(1));
  return static_cast<wchar_t*>(block);
}

UINT GetRtfClipboardFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Rich Text Format");
  return format;
}
