#include "gesture/recognizer.h"

#include <cmath>

#include "foundation/system/handles.h"

namespace {

DWORD SystemTicks() { return GetTickCount(); }
void DebuggerTrace(const wchar_t* text) { OutputDebugStringW(text); }

}  // namespace

const GestureEnvironment& SystemGestureEnvironment() {
  static const GestureEnvironment env = {&SystemTicks, &DebuggerTrace, &SignalGestureEvent};
  return env;
}

void SignalGestureEvent(std::int32_t mode) {
  UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, kGestureEventName));
  if (!event) return;
  // The clicks may have opened a context menu that would cover the phrase menu.
  if (mode == kGestureTripleRight) EndMenu();
  SetEvent(event.Get());
}

double TruncatedDistance(const GesturePoint& from, const GesturePoint& to) {
  double dx = static_cast<double>(to.x) - static_cast<double>(from.x);
  double dy = static_cast<double>(to.y) - static_cast<double>(from.y);
  return std::trunc(std::sqrt(dx * dx + dy * dy));
}

void GestureRecognizer::Prepare(std::int32_t mode) {
  ClearPoint(&m_shared->start);
  m_shared->mode = mode;
  ResetClicks();
}

void GestureRecognizer::Dispatch(WPARAM message, POINT pt) {
  GesturePoint at = {static_cast<std::int32_t>(pt.x), static_cast<std::int32_t>(pt.y)};
  // A mode outside the known ones (the block is shared) matches no row.
  std::int32_t mode = m_shared->mode;
  switch (message) {
    case WM_RBUTTONUP:
      if (mode == kGestureTripleRight) OnMouseUp_Triple_Right(at);
      break;
    case WM_MBUTTONDOWN:
      if (mode == kGestureMoveMiddle) OnMouseDown_MoveMiddle(at);
      break;
    case WM_MBUTTONUP:
      if (mode == kGestureMoveMiddle) OnMouseUp_MoveMiddle(at);
      break;
    default:  // a right-button press and everything else has no effect
      break;
  }
}

void GestureRecognizer::OnMouseDown_MoveMiddle(const GesturePoint& pt) {
  m_env.trace(L"OnMouseDown_MoveMiddle\n");
  // A press after a too-short move keeps the first press as the start.
  if (!IsPointSet(m_shared->start)) m_shared->start = pt;
}

void GestureRecognizer::OnMouseUp_MoveMiddle(const GesturePoint& pt) {
  m_env.trace(L"OnMouseUp_MoveMiddle\n");
  GesturePoint start = m_shared->start;
  if (!IsPointSet(start)) return;
  if (TruncatedDistance(start, pt) < kMinMovePixels) return;
  m_shared->gesture = start;
  ClearPoint(&m_shared->start);
  m_env.signal(kGestureMoveMiddle);
}

void GestureRecognizer::OnMouseUp_Triple_Right(const GesturePoint& pt) {
  m_env.trace(L"OnMouseUp_Triple_Right\n");
  DWORD now = m_env.tickCount();
  if (m_firstClick == 0) {
    m_shared->start = pt;
    m_firstClick = now;
    return;
  }
  // Unsigned differences stay right across the counter's wrap.
  if (m_secondClick == 0) {
    if (now - m_firstClick <= kMaxClickGapMs) {
      m_secondClick = now;
      return;
    }
  } else if (now - m_secondClick <= kMaxClickGapMs) {
    ResetClicks();
    m_env.signal(kGestureTripleRight);
  }
  ResetClicks();
}

void GestureRecognizer::ResetClicks() {
  m_env.trace(L"Clear\n");
  m_firstClick = m_secondClick = 0;
}
