// CRichEditCtrl: a Rich Edit 2.0 control ("RichEdit20W"). Every method is
// the plain message.
//
// RTF always travels as 8-bit bytes: a stream with SF_RTF never carries
// SF_UNICODE to the control, in either direction (some rich edit versions
// read nothing from a UTF-16 RTF stream). Plain text may be UTF-16
// (SF_TEXT | SF_UNICODE). The text forms of StreamIn/StreamOut hold RTF as
// text of 8-bit characters, as the foundation's rich-text functions do.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>

#include "platform/mfc/window/wnd.h"

class CRichEditCtrl : public CWnd {
  DECLARE_DYNAMIC(CRichEditCtrl)

 public:
  CRichEditCtrl() = default;
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  DWORD GetEventMask() const { return static_cast<DWORD>(Send(EM_GETEVENTMASK, 0, 0)); }
  DWORD SetEventMask(DWORD dwEventMask) { return static_cast<DWORD>(Send(EM_SETEVENTMASK, 0, dwEventMask)); }
  // wOp: ECOOP_SET, ECOOP_OR, ECOOP_AND or ECOOP_XOR.
  void SetOptions(WORD wOp, DWORD dwFlags) { Send(EM_SETOPTIONS, wOp, static_cast<LPARAM>(dwFlags)); }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return Send(EM_SETREADONLY, bReadOnly, 0) != 0; }
  // Answers the colour it replaced.
  COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr) {
    return static_cast<COLORREF>(Send(EM_SETBKGNDCOLOR, bSysColor, static_cast<LPARAM>(cr)));
  }
  void LimitText(long nChars = 0) { Send(EM_EXLIMITTEXT, 0, nChars); }

  void GetSel(CHARRANGE& cr) const { Send(EM_EXGETSEL, 0, &cr); }
  void GetSel(long& nStartChar, long& nEndChar) const;
  void SetSel(CHARRANGE& cr) { Send(EM_EXSETSEL, 0, &cr); }
  void SetSel(long nStartChar, long nEndChar);
  void ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo = FALSE) { Send(EM_REPLACESEL, bCanUndo, lpszNewText); }
  WORD GetSelectionType() const { return static_cast<WORD>(Send(EM_SELECTIONTYPE, 0, 0)); }

  BOOL CanUndo() const { return Send(EM_CANUNDO, 0, 0) != 0; }
  BOOL Undo() { return Send(EM_UNDO, 0, 0) != 0; }
  BOOL CanRedo() const { return Send(EM_CANREDO, 0, 0) != 0; }
  BOOL Redo() { return Send(EM_REDO, 0, 0) != 0; }
  void EmptyUndoBuffer() { Send(EM_EMPTYUNDOBUFFER, 0, 0); }
  BOOL GetModify() const { return Send(EM_GETMODIFY, 0, 0) != 0; }
  void SetModify(BOOL bModified = TRUE) { Send(EM_SETMODIFY, bModified, 0); }

  void Copy() { Send(WM_COPY, 0, 0); }
  void Cut() { Send(WM_CUT, 0, 0); }
  void Paste() { Send(WM_PASTE, 0, 0); }
  void Clear() { Send(WM_CLEAR, 0, 0); }
  // nFormat 0: any format the control can paste.
  BOOL CanPaste(UINT nFormat = 0) const { return Send(EM_CANPASTE, nFormat, 0) != 0; }

  // The structure's size is set here; answers the effects mask.
  DWORD GetSelectionCharFormat(CHARFORMAT2W& cf) const;
  DWORD GetDefaultCharFormat(CHARFORMAT2W& cf) const;
  BOOL SetSelectionCharFormat(CHARFORMAT2W& cf);

  int CharFromPos(CPoint pt) const;
  CPoint PosFromChar(UINT nChar) const;
  int GetFirstVisibleLine() const { return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE, 0, 0)); }
  int LineIndex(int nLine = -1) const { return static_cast<int>(Send(EM_LINEINDEX, static_cast<WPARAM>(nLine), 0)); }
  long GetTextLength() const { return static_cast<long>(Send(WM_GETTEXTLENGTH, 0, 0)); }
  // dwFlags: GTL_ flags; nCodePage -1: the control's own (1200 for UTF-16).
  long GetTextLengthEx(DWORD dwFlags, UINT nCodePage = static_cast<UINT>(-1)) const;
  void GetRect(LPRECT lpRect) const { Send(EM_GETRECT, 0, lpRect); }
  void SetRect(LPCRECT lpRect) { Send(EM_SETRECT, 0, lpRect); }

  // The plain stream messages (SFF_SELECTION allowed); answer the count the
  // control gives.
  long StreamIn(int nFormat, EDITSTREAM& es);
  long StreamOut(int nFormat, EDITSTREAM& es);
  // Text forms; both replace the whole contents. nFormat SF_RTF: text is
  // RTF of 8-bit characters (or a "{\urtf" text, narrowed first); text
  // that is not RTF goes in as plain text. Otherwise plain UTF-16 text.
  // True when the control read any character.
  BOOL StreamIn(int nFormat, const std::wstring& text);
  // The whole text or, with SFF_SELECTION, the selection: RTF widened one
  // byte to one character with SF_RTF, else plain UTF-16 text.
  std::wstring StreamOut(int nFormat) const;

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  template <typename T>
  LRESULT Send(UINT message, WPARAM wParam, T* lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
};
