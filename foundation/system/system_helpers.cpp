#include "foundation/system/system_helpers.h"

#include <atomic>

#include <rpc.h>

#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"

namespace {

// Keys whose scan code carries the E0 prefix: without the extended bit the
// keyboard names their numeric-pad twins (Insert reads as "Num 0").
bool IsExtendedKey(UINT vk) {
  switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_CANCEL: case VK_SNAPSHOT:
    case VK_RCONTROL: case VK_RMENU: case VK_LWIN: case VK_RWIN: case VK_APPS:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::wstring CreateGuidString(bool bare) {
  UUID uuid = {};
  RPC_STATUS status = UuidCreate(&uuid);
  if (status != RPC_S_OK && status != RPC_S_UUID_LOCAL_ONLY) return std::wstring();
  RPC_WSTR text = nullptr;
  if (UuidToStringW(&uuid, &text) != RPC_S_OK || !text) return std::wstring();
  std::wstring result = reinterpret_cast<wchar_t*>(text);
  RpcStringFreeW(&text);
  if (bare) {
    ReplaceText(result, L"-", L"");
    ReplaceText(result, L"{", L"");
    ReplaceText(result, L"}", L"");
  }
  return result;
}

BOOL SetHandleProtectFromClose(HANDLE handle, bool protect) {
  DynamicFunction<BOOL(WINAPI*)(HANDLE, DWORD, DWORD)> fn(L"kernel32.dll", "SetHandleInformation");
  if (!fn) return FALSE;
  return fn.Get()(handle, HANDLE_FLAG_PROTECT_FROM_CLOSE,
                  protect ? HANDLE_FLAG_PROTECT_FROM_CLOSE : 0);
}

long BroadcastMessageToAll(UINT message, WPARAM wParam, LPARAM lParam) {
  DynamicFunction<long(WINAPI*)(DWORD, LPDWORD, UINT, WPARAM, LPARAM)> fn(
      L"user32.dll", "BroadcastSystemMessageW");
  if (!fn) return -1;
  DWORD recipients = BSM_ALLCOMPONENTS;
  return fn.Get()(BSF_POSTMESSAGE | BSF_ALLOWSFW, &recipients, message, wParam, lParam);
}

std::wstring GetKeyDisplayName(UINT vk, bool extended) {
  if (vk == VK_PAUSE) return L"Pause";
  LONG lParam = static_cast<LONG>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
  if (extended) lParam |= 1 << 24;
  wchar_t name[100] = {};
  int n = GetKeyNameTextW(lParam, name, 100);
  return std::wstring(name, n > 0 ? n : 0);
}

std::wstring GetHotkeyDisplayName(UINT vk, UINT modifiers) {
  if (vk == 0 && (modifiers & 0xFFFF) == 0) return std::wstring();
  std::wstring text;
  if (modifiers & MOD_CONTROL) text += GetKeyDisplayName(VK_CONTROL, false) + L"+";
  if (modifiers & MOD_SHIFT) text += GetKeyDisplayName(VK_SHIFT, false) + L"+";
  if (modifiers & MOD_ALT) text += GetKeyDisplayName(VK_MENU, false) + L"+";
  if (modifiers & MOD_WIN) text += L"WIN+";
  return text + GetKeyDisplayName(vk, IsExtendedKey(vk));
}

int GetDayOfWeek(int day, int month, int year) {
  int a = (14 - month) / 12;
  int y = year - a;
  int m = month + 12 * a - 2;
  return (day + y + y / 4 - y / 100 + y / 400 + (31 * m) / 12 + 7000) % 7;
}

HCURSOR GetSizeAllCursor() {
  static std::atomic<HCURSOR> cursor{nullptr};
  HCURSOR loaded = cursor.load();
  if (!loaded) {
    loaded = LoadCursorW(nullptr, IDC_SIZEALL);
    cursor = loaded;
  }
  return loaded;
}

namespace {

// Where the memory at address can be read: the end of its region, or 0.
ULONG_PTR ReadableUntil(ULONG_PTR address) {
  const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                         PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  MEMORY_BASIC_INFORMATION region = {};
  if (!VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof(region))) return 0;
  if (region.State != MEM_COMMIT || !(region.Protect & readable) || (region.Protect & PAGE_GUARD)) return 0;
  return reinterpret_cast<ULONG_PTR>(region.BaseAddress) + region.RegionSize;
}

}  // namespace

bool IsReadableMemory(const void* address, size_t size) {
  ULONG_PTR at = reinterpret_cast<ULONG_PTR>(address);
  const ULONG_PTR end = at + size;
  if (!address || end < at) return false;
  // The committed part of this thread's stack can always be read; controls
  // build their notices there, and asking the system for the region costs
  // more than the notice itself.
  const NT_TIB* tib = reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
  if (at >= reinterpret_cast<ULONG_PTR>(tib->StackLimit) && end <= reinterpret_cast<ULONG_PTR>(tib->StackBase))
    return true;
  while (at < end) {
    at = ReadableUntil(at);
    if (!at) return false;
  }
  return true;
}

bool CopyTextFromAddress(const wchar_t* text, size_t maxChars, std::wstring* out) {
  out->clear();
  ULONG_PTR at = reinterpret_cast<ULONG_PTR>(text);
  if (!text || at % sizeof(wchar_t)) return false;
  while (out->size() < maxChars) {
    // The text is read only inside committed memory that may be read.
    const ULONG_PTR end = ReadableUntil(at);
    if (!end) return false;
    const wchar_t* c = reinterpret_cast<const wchar_t*>(at);
    const wchar_t* last = reinterpret_cast<const wchar_t*>(end - end % sizeof(wchar_t));
    for (; c < last && out->size() < maxChars; ++c) {
      if (*c == L'\0') return true;
      out->push_back(*c);
    }
    at = reinterpret_cast<ULONG_PTR>(c);
  }
  return true;
}
