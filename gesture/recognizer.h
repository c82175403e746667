// Recognises the installed gesture from the low-level mouse events the hook
// hands over. Runs on the hook thread for every event of the desktop: no
// allocation, no waiting, no window or file work.
#pragma once
#include <windows.h>

#include "gesture/shared_state.h"

// What the recogniser asks of the system; tests give their own clock and
// trace sink.
struct GestureEnvironment {
  DWORD (*tickCount)();                 // milliseconds, wrapping at 2^32
  void (*trace)(const wchar_t* text);   // debugger output
  void (*signal)(std::int32_t mode);    // a gesture was recognised
};

const GestureEnvironment& SystemGestureEnvironment();

// Opens the gesture event (it is never created here) and sets it; a triple
// click first ends the menu of the calling thread. Nothing happens when the
// event does not exist.
void SignalGestureEvent(std::int32_t mode);

// Whole pixels between two points: the distance in double, truncated toward
// zero. Coordinates anywhere in the 32-bit range neither overflow nor wrap.
double TruncatedDistance(const GesturePoint& from, const GesturePoint& to);

class GestureRecognizer {
 public:
  static constexpr double kMinMovePixels = 151;  // more than 150 whole pixels
  static constexpr DWORD kMaxClickGapMs = 500;

  GestureRecognizer(GestureSharedState* shared, const GestureEnvironment& env)
      : m_shared(shared), m_env(env) {}

  // At each install: the mode chosen, no gesture begun.
  void Prepare(std::int32_t mode);
  // One event of the hook: the message identifier and the pointer position.
  void Dispatch(WPARAM message, POINT pt);

  void OnMouseDown_MoveMiddle(const GesturePoint& pt);
  void OnMouseUp_MoveMiddle(const GesturePoint& pt);
  void OnMouseUp_Triple_Right(const GesturePoint& pt);

 private:
  void ResetClicks();

  GestureSharedState* m_shared;
  GestureEnvironment m_env;
  DWORD m_firstClick = 0;   // 0: none
  DWORD m_secondClick = 0;
};
