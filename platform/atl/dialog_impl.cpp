#include "platform/atl/dialog_impl.h"

#include "platform/atl/app_module.h"

INT_PTR CDialogImplCore::DoModalImpl(const wchar_t* templateName, HWND parent, LPARAM initParam) {
  if (m_hWnd) return -1;
  m_isDialog = true;
  m_modal = true;
  BindForCreation();
  INT_PTR result =
      ::DialogBoxParamW(GetResourceInstanceHandle(), templateName, parent, QlrDialogProc, initParam);
  EndCreation();
  m_modal = false;
  return result;
}

HWND CDialogImplCore::CreateImpl(const wchar_t* templateName, HWND parent, LPARAM initParam) {
  if (m_hWnd) return nullptr;
  m_isDialog = true;
  m_modal = false;
  BindForCreation();
  HWND h = ::CreateDialogParamW(GetResourceInstanceHandle(), templateName, parent, QlrDialogProc,
                                initParam);
  EndCreation();
  return h;
}

BOOL CDialogImplCore::EndDialog(INT_PTR result) { return ::EndDialog(m_hWnd, result); }
