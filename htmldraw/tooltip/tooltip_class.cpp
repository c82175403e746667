#include "htmldraw/tooltip/tooltip_class.h"

#include <string>

#include "foundation/logging/log.h"
#include "htmldraw/tooltip/pp_tooltip.h"

namespace {

ToolTipClassRegistrar g_registrar = nullptr;

}  // namespace

void SetToolTipClassRegistrar(ToolTipClassRegistrar registrar) { g_registrar = registrar; }

bool EnsureToolTipClass() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {sizeof(wc)};
  if (GetClassInfoExW(instance, kPPToolTipClass, &wc)) return true;
  wc = {sizeof(wc)};
  // The screen under a tip comes back without a repaint of what it covered.
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kPPToolTipClass;
  if ((g_registrar ? g_registrar : RegisterClassExW)(&wc)) return true;
  DWORD error = GetLastError();
  if (error == ERROR_CLASS_ALREADY_EXISTS) return true;
  LogError(L"RegisterClassExW CPPToolTip failed " + std::to_wstring(error));
  return false;
}
