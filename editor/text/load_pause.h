// Keeping a rich edit control still while its text is replaced: every
// change would otherwise be drawn at once, announced to the parent and kept
// as an undo step, and each of those costs more than the change itself.
#pragma once
#include <windows.h>

// Keeps a visible control from drawing while it lives, then lets it draw
// again and asks for one repaint. A hidden control is left alone: redraw
// switched back on makes a window visible.
class RedrawPause {
 public:
  explicit RedrawPause(HWND control);
  ~RedrawPause();
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND m_control;
  bool m_paused;
};

// For a new text coming in: while it lives the control draws nothing,
// sends no notices and keeps no undo steps (under Wine the steps of a long
// text, even when dropped afterwards, leave every later layout of a rich
// edit in the process far slower). At its end the undo history is empty,
// the control keeps the default undo limit, its notices are back and it
// is repainted once.
class LoadPause {
 public:
  explicit LoadPause(HWND control);
  ~LoadPause();
  LoadPause(const LoadPause&) = delete;
  LoadPause& operator=(const LoadPause&) = delete;

  // The rich edit's own default.
  static constexpr WPARAM kUndoLimit = 100;

 private:
  HWND m_control;
  LRESULT m_eventMask;
  RedrawPause m_redraw;
};
