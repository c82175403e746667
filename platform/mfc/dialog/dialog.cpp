#include "platform/mfc/dialog/dialog.h"

#include <string>

#include "foundation/logging/log.h"
#include "platform/mfc/app/win_app.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOKCommand)
  ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

namespace {

// The dialog whose window is being made on this thread.
thread_local CDialog* t_creating = nullptr;

}  // namespace

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  CWnd* object = CWnd::FromHandlePermanent(hWnd);
  if (!object && t_creating) {
    // The first message the dialog procedure sees (WM_SETFONT or
    // WM_INITDIALOG): from now on the window's messages reach the object.
    CDialog* dialog = t_creating;
    t_creating = nullptr;
    if (!dialog->SubclassWindow(hWnd)) return FALSE;
    dialog->ExpectCreationMessages();
    object = dialog;
  }
  if (message != WM_INITDIALOG || !object || !object->IsKindOf(RUNTIME_CLASS(CDialog))) return FALSE;
  // Once, from the dialog's creation; another program may send it again.
  if (!object->TakeCreationMessage(message)) return FALSE;
  return static_cast<CDialog*>(object)->OnInitDialog();
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
  // A modeless dialog that goes with its object.
  if (m_hWnd && !m_bModal) {
    HWND h = UnsubclassWindow();
    if (h) ::DestroyWindow(h);
  }
}

HWND CDialog::ParentHandle() const {
  if (m_pParentWnd && m_pParentWnd->m_hWnd) return m_pParentWnd->m_hWnd;
  CWnd* main = AfxGetMainWnd();
  return main ? main->m_hWnd : nullptr;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) {
    LogError(L"CDialog::DoModal: the dialog is already shown");
    return -1;
  }
  m_bModal = true;
  CDialog* before = t_creating;
  t_creating = this;
  INT_PTR result = ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), ParentHandle(),
                                     AfxDlgProc, 0);
  DWORD error = ::GetLastError();
  t_creating = before;
  m_bModal = false;
  if (result == -1) LogError(L"DialogBoxParamW " + std::to_wstring(m_nIDTemplate) + L" failed " + std::to_wstring(error));
  // The window is gone; a handle still bound means the object missed its
  // WM_NCDESTROY.
  if (m_hWnd) Detach();
  return result;
}

template <class Make>
BOOL CDialog::CreateModeless(CWnd* pParentWnd, const wchar_t* what, Make make) {
  if (m_hWnd) {
    LogError(L"CDialog::Create: the dialog already exists");
    return FALSE;
  }
  if (pParentWnd) m_pParentWnd = pParentWnd;
  m_bModal = false;
  CDialog* before = t_creating;
  t_creating = this;
  HWND h = make(ParentHandle(), AfxDlgProc);
  DWORD error = ::GetLastError();
  t_creating = before;
  if (!h) {
    LogError(std::wstring(what) + L" failed " + std::to_wstring(error));
    if (m_hWnd) Detach();
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  m_nIDTemplate = nIDTemplate;
  const std::wstring what = L"CreateDialogParamW " + std::to_wstring(nIDTemplate);
  return CreateModeless(pParentWnd, what.c_str(), [nIDTemplate](HWND parent, DLGPROC proc) {
    return ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDTemplate), parent, proc, 0);
  });
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  HINSTANCE module = hInst ? hInst : AfxGetResourceHandle();
  return CreateModeless(pParentWnd, L"CreateDialogIndirectParamW", [=](HWND parent, DLGPROC proc) {
    return ::CreateDialogIndirectParamW(module, lpDialogTemplate, parent, proc, 0);
  });
}

void CDialog::EndDialog(int nResult) {
  if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() { return TRUE; }  // the system focuses the first control

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

int CDialog::GetDlgItemText(int nID, CString& rString) const {
  HWND item = ::GetDlgItem(m_hWnd, nID);
  rString.Empty();
  if (!item) return 0;
  CWnd* wrapper = CWnd::FromHandle(item);
  rString = wrapper->GetWindowTextString();
  return rString.GetLength();
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl && pWndCtrl->m_hWnd)
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  const UINT m = pMsg->message;
  const bool input = (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST);
  if (!input || !m_hWnd) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return ::IsDialogMessageW(m_hWnd, pMsg);
}
