// CFileDialog: the system's open and save dialogs, explorer style, with a
// hook that gives the object the dialog window while it runs: OnInitDialog
// when it opens (the object's window is then the dialog itself, the parent
// of the hook's child dialog) and OnFolderChange whenever the user moves to
// another folder.
//
// Filters are written "Text (*.txt)|*.txt|All Files (*.*)|*.*||": each
// description is followed by its pattern, and "||" or the string's end
// closes the list.
#pragma once
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "platform/mfc/core/position.h"
#include "platform/mfc/window/wnd.h"

class CFileDialog : public CWnd {
  DECLARE_DYNAMIC(CFileDialog)

 public:
  CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
              DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
              CWnd* pParentWnd = nullptr);
  ~CFileDialog() override;

  // Callers may change the structure before DoModal (a bigger file buffer
  // for a multiple selection, the initial folder, the title).
  OPENFILENAMEW m_ofn;
  BOOL m_bOpenFileDialog;

  // IDOK or IDCANCEL (a failure of the dialog is logged and cancels).
  virtual INT_PTR DoModal();

  // The chosen path; with several files chosen, their folder. Empty when
  // the buffer holds no complete path.
  CString GetPathName() const;
  // Walks the chosen files: a single path, or a folder followed by file
  // names. The walk never reads past m_ofn.nMaxFile, and a name cut by the
  // buffer's end is not given out.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

  // The hook procedure m_ofn carries; a subclass that runs the system
  // dialog itself passes m_ofn as it is.
  static UINT_PTR CALLBACK HookProc(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // Runs the system's open or save dialog for this object (its hook takes
  // the dialog's first WM_INITDIALOG only then); whether a file was chosen.
  BOOL ShowSystemDialog();
  virtual void OnFolderChange() {}

 private:
  // Length of the complete string at p, or -1 when no terminator comes
  // before the buffer's end.
  int EntryLength(const wchar_t* p) const;
  const wchar_t* BufferEnd() const { return m_ofn.lpstrFile + m_ofn.nMaxFile; }
  // Start of the entry behind the one at p, or null at the list's end (an
  // empty entry, the buffer's end, or a name cut by the buffer's end).
  const wchar_t* NextEntry(const wchar_t* p) const;

  std::wstring m_filter;  // NUL-separated, double NUL at the end
  std::wstring m_defExt;
  wchar_t m_szFileName[MAX_PATH] = {};
  wchar_t m_szFileTitle[MAX_PATH] = {};
  HWND m_hWndHook = nullptr;
};

// A "|"-separated filter as the dialog takes it: pairs of description and
// pattern separated and ended by NULs, with a second NUL at the end. A
// description without a pattern, and a pair with an empty half, are left
// out; empty when no pair remains (the dialog then offers no filter).
std::wstring AfxFilterFromPipes(const wchar_t* filter);
