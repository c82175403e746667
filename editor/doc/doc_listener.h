// The editor's change notices: every view, pane and dialog that follows the
// document registers one of these with it.
#pragma once
#include <windows.h>

class CView;

class IDocUpdateListener {
 public:
  virtual void OnDocUpdate(CView* pSender, LPARAM lHint, LPARAM value) = 0;
  // The listener's window: a notice from it skips it, and a listener whose
  // window is gone hears nothing more.
  virtual HWND GetListenerHwnd() = 0;

 protected:
  ~IDocUpdateListener() = default;
};

// The hint codes of CDoc::UpdateViews; the value is a record id unless said.
enum DocHint : LPARAM {
  kHintSelect = 1,
  kHintCommit = 2,
  kHintDataType = 3,
  kHintLanguage = 4,
  kHintRenameText = 5,    // value: pointer to a std::wstring
  kHintPathChanged = 6,
  kHintRebuild = 7,
  kHintCheckAll = 8,
  kHintUncheckAll = 9,
  kHintInvertCheck = 10,
  kHintFocusView = 11,
  kHintFocusTree = 12,
  kHintMacroMenu = 13,
  kHintShowUnchecked = 14,
  kHintItemHover = 15,    // the mouse rests on the tree item of the record
  kHintCheckStates = 16,  // value: list of record ids
  kHintFolderChanged = 17,
  kHintPreview = 18,
  kHintMenuFont = 19,
  kHintSeparator = 20,
};
