// A markup tooltip bound to one tree control: the tree's owner hands it a
// text and an icon for an item, and after a second the text shows at the
// cursor, but only when the cursor still rests on that item.
#pragma once
#include <windows.h>

#include <string>

#include "htmldraw/tooltip/pp_tooltip.h"

class CTreeItemToolTip : public CPPToolTip {
 public:
  static constexpr UINT_PTR kTimerItem = 1234;
  static constexpr UINT kItemDelay = 1000;

  explicit CTreeItemToolTip(HWND tree);
  ~CTreeItemToolTip() override;

  // Takes the icon (destroyed when replaced or with the object). An empty
  // text starts no wait.
  void SetItemTip(int value1, int value2, const std::wstring& text, HTREEITEM item, HICON icon);
  void CancelTip();

  HTREEITEM GetPendingItem() const { return m_item; }

 protected:
  void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowIfStillOnItem();

  HWND m_tree;
  HICON m_icon = nullptr;
  HTREEITEM m_item = nullptr;
  int m_value1 = -1;
  int m_value2 = -1;
  std::wstring m_text;
};
