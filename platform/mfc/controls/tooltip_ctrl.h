// CToolTipCtrl: a tooltip control owned by a window. Every method is the
// plain message.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/window/wnd.h"

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  CToolTipCtrl() = default;
  using CWnd::Create;
  // A topmost popup owned by the parent; dwStyle adds TTS_ styles
  // (TTS_BALLOON, TTS_ALWAYSTIP...) to WS_POPUP | TTS_NOPREFIX.
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

  // nIDTool 0: the tool is the whole window. Otherwise the tool is the
  // rectangle (the window's client area when null). Text may be
  // LPSTR_TEXTCALLBACKW.
  BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  BOOL AddTool(TOOLINFOW* pToolInfo) { return Send(TTM_ADDTOOLW, 0, pToolInfo) != 0; }
  void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void Activate(BOOL bActivate) { Send(TTM_ACTIVATE, bActivate, 0); }
  int SetMaxTipWidth(int iWidth) { return static_cast<int>(Send(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
  void RelayEvent(LPMSG lpMsg) { Send(TTM_RELAYEVENT, 0, lpMsg); }
  // dwDuration: TTDT_AUTOPOP, TTDT_INITIAL, TTDT_RESHOW or TTDT_AUTOMATIC.
  void SetDelayTime(DWORD dwDuration, int iTime) { Send(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
  void SetDelayTime(UINT nDelay) { SetDelayTime(TTDT_AUTOMATIC, static_cast<int>(nDelay)); }
  // uIcon: TTI_NONE, TTI_INFO, TTI_WARNING, TTI_ERROR (or an icon handle).
  BOOL SetTitle(UINT_PTR uIcon, LPCWSTR lpszTitle) { return Send(TTM_SETTITLEW, uIcon, lpszTitle) != 0; }
  // Tracking tips (a tool added with TTF_TRACK): shown and hidden by the
  // caller, at a screen position.
  void TrackActivate(BOOL bActivate, CWnd* pWnd, UINT_PTR nIDTool);
  void TrackPosition(int xScreen, int yScreen) { Send(TTM_TRACKPOSITION, 0, MAKELPARAM(xScreen, yScreen)); }

 private:
  // The tool structure without the newest trailing member, which older
  // comctl32 versions refuse.
  static TOOLINFOW ToolInfo(CWnd* pWnd, UINT_PTR nIDTool);
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  template <typename T>
  LRESULT Send(UINT message, WPARAM wParam, T* lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
};
