#include "tray/localized_text.h"

#include <windows.h>

std::wstring LocalizedText(unsigned id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 && text ? std::wstring(text, length) : std::wstring();
}
