// Small system helpers: GUID text, handle protection, a broadcast to all
// windows, key and hotkey names, and the day of the week.
#pragma once
#include <windows.h>

#include <string>

// A new GUID as 36 characters with hyphens; bare: 32 hex digits only.
std::wstring CreateGuidString(bool bare);
// Sets or clears the protect-from-close flag; 0 when the system lacks it.
BOOL SetHandleProtectFromClose(HANDLE handle, bool protect);
// Posts the message to every top-level window of every component; -1 when
// the system lacks BroadcastSystemMessageW.
long BroadcastMessageToAll(UINT message, WPARAM wParam, LPARAM lParam);

// The keyboard's name of a virtual key ("Pause" for VK_PAUSE).
std::wstring GetKeyDisplayName(UINT vk, bool extended);
// "Ctrl+Shift+Alt+WIN+Key" in the keyboard's words; empty for no hotkey.
// modifiers are MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN.
std::wstring GetHotkeyDisplayName(UINT vk, UINT modifiers);

// Copies a NUL-terminated text at an address this process was handed by a
// message (a sender in another process hands an address that means nothing
// here): false when the memory cannot be read before the terminator. A text
// longer than maxChars is cut there.
bool CopyTextFromAddress(const wchar_t* text, size_t maxChars, std::wstring* out);
// Whether size bytes at address lie in committed memory that may be read.
bool IsReadableMemory(const void* address, size_t size);

// 0 = Sunday .. 6 = Saturday, Gregorian calendar.
int GetDayOfWeek(int day, int month, int year);
inline int DayOfWeek(int day, int month, int year) { return GetDayOfWeek(day, month, year); }

// The system's four-way arrow cursor, loaded once.
HCURSOR GetSizeAllCursor();
