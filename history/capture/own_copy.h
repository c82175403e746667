// The program's own clipboard writes are not recorded: while a block is
// alive, or another program of the suite says it copies (the start-copy and
// end-copy events), clipboard changes are not captured.
#pragma once

// Scoped and delayed blocks are counted; the copy events only set or clear
// a flag of their own, so that neither can push the other below zero.
void RaiseOwnCopyBlock();
// Lowers the count by one unless it is 0; false when it was 0.
bool LowerOwnCopyBlock();
// value 1 from the start-copy event, 0 from the end-copy event.
void SetOwnCopyFromEvent(int value);
bool IsOwnCopyBlocked();
int GetOwnCopyBlockCount();
// At the handler window's creation: no block and no copy in progress.
void ResetOwnCopy();

class CBlockClipboardHandler {
 public:
  CBlockClipboardHandler() { RaiseOwnCopyBlock(); }
  ~CBlockClipboardHandler() { LowerOwnCopyBlock(); }
  CBlockClipboardHandler(const CBlockClipboardHandler&) = delete;
  CBlockClipboardHandler& operator=(const CBlockClipboardHandler&) = delete;
};
