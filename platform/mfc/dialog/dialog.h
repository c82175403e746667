// CDialog: a dialog from a template resource, modal (DoModal) or modeless
// (Create, also as a child page inside another window). The object gets
// the dialog's messages through its message map from the first one on;
// Enter and Escape arrive as IDOK and IDCANCEL, whose handlers a derived
// dialog may replace.
#pragma once
#include <windows.h>

#include "platform/mfc/window/wnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // The button's id that ended the dialog (IDOK, IDCANCEL...), -1 when the
  // dialog could not be made.
  using CWnd::Create;
  virtual INT_PTR DoModal();
  // A modeless dialog; with a child template it becomes a page of pParentWnd.
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  // The same from a template in memory (module: the controls' instance;
  // null for the resource handle).
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr,
                              HINSTANCE hInst = nullptr);
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  void SetDlgItemText(int nID, LPCWSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, CString& rString) const;
  void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
  void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
  void GotoDlgCtrl(CWnd* pWndCtrl);

  // Keyboard and mouse input for the dialog or its controls goes through
  // the dialog manager (Tab, arrows, Enter, Escape, mnemonics).
  BOOL PreTranslateMessage(MSG* pMsg) override;

  UINT m_nIDHelp = 0;

 protected:
  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;
  bool m_bModal = false;

 private:
  friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
  HWND ParentHandle() const;
  // Makes the modeless window through make (given the parent and the
  // dialog procedure); what names it goes to the log on failure.
  template <class Make>
  BOOL CreateModeless(CWnd* pParentWnd, const wchar_t* what, Make make);
  void OnOKCommand() { OnOK(); }
  void OnCancelCommand() { OnCancel(); }
  DECLARE_MESSAGE_MAP()
};

// The dialog procedure of every CDialog: binds the dialog's window to the
// object waiting for it and runs OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
