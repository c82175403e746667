// CToolBarCtrl: a toolbar control. Every method is the plain message;
// buttons are named by command id unless the name says index.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/controls/image_list.h"
#include "platform/mfc/window/wnd.h"

class CToolBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolBarCtrl)

 public:
  CToolBarCtrl() = default;
  using CWnd::Create;
  // Also tells the control the size of TBBUTTON.
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons) {
    return Send(TB_ADDBUTTONSW, static_cast<WPARAM>(nNumButtons), lpButtons) != 0;
  }
  int GetButtonCount() const { return static_cast<int>(Send(TB_BUTTONCOUNT, 0, 0)); }
  // Answers the list it replaced.
  HIMAGELIST SetImageList(CImageList* pImageList);
  BOOL SetIndent(int iIndent) { return Send(TB_SETINDENT, static_cast<WPARAM>(iIndent), 0) != 0; }
  // Answers the padding it replaced (cx in the low word).
  DWORD SetPadding(int cx, int cy) { return static_cast<DWORD>(Send(TB_SETPADDING, 0, MAKELPARAM(cx, cy))); }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(TB_GETEXTENDEDSTYLE, 0, 0)); }
  // Answers the extended style it replaced.
  DWORD SetExtendedStyle(DWORD dwExStyle) {
    return static_cast<DWORD>(Send(TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(dwExStyle)));
  }

  // The structure's size is set here; dwMask says what is read or
  // written (TBIF_TEXT, TBIF_IMAGE, TBIF_SIZE, TBIF_LPARAM, TBIF_STATE...).
  // A text is read into pszText, at most cchText characters with the
  // terminator. GetButtonInfo answers the button's index or -1.
  int GetButtonInfo(int nID, TBBUTTONINFOW* ptbbi) const;
  BOOL SetButtonInfo(int nID, TBBUTTONINFOW* ptbbi);

  BOOL CheckButton(int nID, BOOL bCheck = TRUE) { return Send(TB_CHECKBUTTON, nID, MAKELPARAM(bCheck, 0)) != 0; }
  BOOL EnableButton(int nID, BOOL bEnable = TRUE) { return Send(TB_ENABLEBUTTON, nID, MAKELPARAM(bEnable, 0)) != 0; }
  BOOL HideButton(int nID, BOOL bHide = TRUE) { return Send(TB_HIDEBUTTON, nID, MAKELPARAM(bHide, 0)) != 0; }
  // TBSTATE_ flags, or -1 for an unknown id.
  int GetState(int nID) const { return static_cast<int>(Send(TB_GETSTATE, nID, 0)); }
  BOOL SetState(int nID, UINT nState) { return Send(TB_SETSTATE, nID, MAKELPARAM(nState, 0)) != 0; }

  BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return Send(TB_GETITEMRECT, nIndex, lpRect) != 0; }
  BOOL GetRect(int nID, LPRECT lpRect) const { return Send(TB_GETRECT, nID, lpRect) != 0; }
  int CommandToIndex(UINT nID) const { return static_cast<int>(Send(TB_COMMANDTOINDEX, nID, 0)); }
  // The index of the button at the client point; negative off any button
  // (a separator's index as -index - 1).
  int HitTest(LPPOINT ppt) const { return static_cast<int>(Send(TB_HITTEST, 0, ppt)); }

  // The window the control sends its notifications to (TB_SETPARENT),
  // which also becomes the object's owner.
  void SetOwner(CWnd* pWnd);

 protected:
  // A subclass that adds its buttons in its own OnCreate calls this first:
  // the control learns the size of TBBUTTON before any button comes.
  int OnCreate(LPCREATESTRUCT lpCreateStruct);

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  template <typename T>
  LRESULT Send(UINT message, WPARAM wParam, T* lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
};
