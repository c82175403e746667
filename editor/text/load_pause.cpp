#include "editor/text/load_pause.h"

#include <richedit.h>

RedrawPause::RedrawPause(HWND control)
    : m_control(control), m_paused((::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0) {
  if (m_paused) ::SendMessageW(control, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
  if (!m_paused) return;
  ::SendMessageW(m_control, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_control, nullptr, TRUE);
}

LoadPause::LoadPause(HWND control)
    : m_control(control), m_eventMask(::SendMessageW(control, EM_SETEVENTMASK, 0, 0)), m_redraw(control) {
  ::SendMessageW(control, EM_SETUNDOLIMIT, 0, 0);
}

LoadPause::~LoadPause() {
  ::SendMessageW(m_control, EM_SETUNDOLIMIT, kUndoLimit, 0);
  ::SendMessageW(m_control, EM_EMPTYUNDOBUFFER, 0, 0);
  ::SendMessageW(m_control, EM_SETEVENTMASK, 0, m_eventMask);
}
