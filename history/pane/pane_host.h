// What the history pane needs from the program around it: the tray window
// that takes its passed-on commands and its reports, the window the user
// worked in before the pane, and the event sounds.
#pragma once
#include <windows.h>

#include <string>

class IPaneHost {
 public:
  virtual ~IPaneHost() = default;
  virtual HWND TrayWindow() = 0;
  // The window that had the focus before the pane, or null.
  virtual HWND PreviousFocusWindow() = 0;
  // A problem text for the tray window to show or keep.
  virtual void ReportToTray(const std::wstring& text) = 0;
  virtual void PlayPaperSound() = 0;
  virtual void PlayKeyboardSound() = 0;
  virtual bool IsAdministrator() { return false; }
  virtual bool SoundsOn() { return false; }
  // The tray menu's caption of a command, in the user's language; empty
  // when the tray menu lacks the command. By default the menu resource's.
  virtual std::wstring TrayMenuText(UINT command);
  // Puts the user's language into a menu of the pane before it is shown;
  // by default the built-in texts stay.
  virtual void LocalizeMenu(HMENU) {}
};

// The caption of a command in the tray menu resource of the program, as
// built in; empty when it is missing.
std::wstring TrayMenuResourceText(UINT command);
