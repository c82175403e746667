#include "editor_settings/helpers/blink_font.h"

namespace {

struct BlinkContext {
  HWND control;
  HFONT normalFont;
  HFONT blinkFont;
  BlinkNotifyRecord notify;
};

void ShowFont(HWND control, HFONT font) {
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ::InvalidateRect(control, nullptr, TRUE);
  ::Sleep(kBlinkStepMs);
}

DWORD WINAPI BlinkThread(void* param) {
  auto* context = static_cast<BlinkContext*>(param);
  if (::IsWindow(context->control)) {
    for (int i = 0; i < kBlinkCycles; ++i) {
      ShowFont(context->control, context->blinkFont);
      ShowFont(context->control, context->normalFont);
    }
  }
  const BlinkNotifyRecord& n = context->notify;
  if (n.message && n.window && ::IsWindow(n.window))
    ::SendMessageW(n.window, n.message, n.wParam, n.lParam);
  delete context;
  return 0;
}

}  // namespace

bool BlinkControlFontAsync(HWND control, HFONT normalFont, HFONT blinkFont,
                           const BlinkNotifyRecord* notify) {
  auto* context = new BlinkContext{control, normalFont, blinkFont, {}};
  if (notify) context->notify = *notify;
  HANDLE thread = ::CreateThread(nullptr, 0, BlinkThread, context, 0, nullptr);
  if (!thread) {
    delete context;
    return false;
  }
  ::CloseHandle(thread);
  return true;
}
