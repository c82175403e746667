// The window calls of the C interface.
#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/view.h"

extern "C" {

LPCWSTR WINAPI HTMLayoutClassNameW(void) { return hl::ViewClassName(); }

BOOL WINAPI HTMLayoutLoadHtmlEx(HWND hwnd, HL_LPCBYTE html, UINT size, LPCWSTR baseUrl) {
  hl::ModelLock lock;
  hl::View* view = hl::ViewFromWindow(hwnd);
  return view && view->Load(html, size, baseUrl);
}

BOOL WINAPI HTMLayoutLoadHtml(HWND hwnd, HL_LPCBYTE html, UINT size) {
  return HTMLayoutLoadHtmlEx(hwnd, html, size, nullptr);
}

VOID WINAPI HTMLayoutSetCallback(HWND hwnd, LPHTMLAYOUT_NOTIFY callback, LPVOID param) {
  hl::ModelLock lock;
  if (hl::View* view = hl::ViewFromWindow(hwnd)) view->SetCallback(callback, param);
}

BOOL WINAPI HTMLayoutDataReady(HWND hwnd, LPCWSTR uri, LPBYTE data, DWORD size) {
  hl::ModelLock lock;
  hl::View* view = hl::ViewFromWindow(hwnd);
  return view && view->DataReady(uri, data, size);
}

HLDOM_RESULT WINAPI HTMLayoutWindowAttachEventHandler(HWND hwnd, LPELEMENT_EVENT_PROC proc,
                                                      LPVOID tag, UINT groups) {
  if (!proc) return HLDOM_INVALID_PARAMETER;
  hl::ModelLock lock;
  hl::View* view = hl::ViewFromWindow(hwnd);
  if (!view) return HLDOM_INVALID_HWND;
  view->AttachHandler(proc, tag, groups);
  return HLDOM_OK;
}

}  // extern "C"
