// Where the time of one phrase menu goes, from the hotkey to the menu on
// the screen: the work before the target is asked, the query to the target
// (through the core library) and back, the phrase store's item texts, the
// rest of the menu build, the preparation of the menu loop (tracker window,
// foreground) and the measuring of the items. The marks are set on the
// tray window's thread; the menu handler logs them as one line when the
// menu has closed, and the hotkey benchmark reads that line.
#pragma once
#include <string>

namespace menu_road {

void MarkRoadStart();     // the tray window takes up a hotkey press or request
void MarkQueryAsked();    // the target is asked for its state
void MarkQueryAnswered(); // the target's state reached the tray window
void MarkBuild(bool start);
void MarkTrack();         // the menu loop starts
void MarkItemMeasured();  // an item of the opening menu was measured
void MarkShown();         // the menu is up (first painting or idle)

// Time spent asking the phrase store, summed over one build.
class LookupTimer {
 public:
  LookupTimer();
  ~LookupTimer();
  LookupTimer(const LookupTimer&) = delete;
  LookupTimer& operator=(const LookupTimer&) = delete;

 private:
  double m_start;
};

// "Phrase menu times: ..." with the stages in milliseconds; the marks are
// cleared for the next menu.
std::wstring TakeReport();

}  // namespace menu_road
