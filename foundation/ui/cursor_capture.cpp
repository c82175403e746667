#include "foundation/ui/cursor_capture.h"

CCursorCapture::CCursorCapture(HWND captureWindow, LPCWSTR cursorId) : m_captureWindow(captureWindow) {
  if (captureWindow && IsWindow(captureWindow)) {
    SetCapture(captureWindow);
    m_captured = GetCapture() == captureWindow;
  }
  HCURSOR cursor = cursorId ? LoadCursorW(nullptr, cursorId) : nullptr;
  m_previous = cursor ? SetCursor(cursor) : GetCursor();
}

CCursorCapture::~CCursorCapture() {
  if (!m_done) Restore(true);
}

void CCursorCapture::Restore(bool bForget) {
  if (m_done) return;
  SetCursor(m_previous);
  // The system shows a changed cursor only once the mouse moves.
  POINT at;
  if (GetCursorPos(&at)) {
    SetCursorPos(at.x, at.y + 1);
    SetCursorPos(at.x, at.y);
  }
  // A capture someone else took since is not ours to release.
  if (m_captured && GetCapture() == m_captureWindow) ReleaseCapture();
  m_captured = false;
  if (bForget) m_done = true;
}
