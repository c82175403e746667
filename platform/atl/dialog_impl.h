// Dialog objects from a dialog template: CDialogImpl<T> with T::IDD.
// Handlers return their result; for messages whose result travels through
// DWLP_MSGRESULT (e.g. WM_NOTIFY) the layer stores it there. A message the
// map leaves unhandled goes to the dialog manager's default processing.
#pragma once
#include <windows.h>

#include "platform/atl/window_impl.h"

INT_PTR CALLBACK QlrDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

class CDialogImplCore : public CWindowImplRoot<CWindow> {
 public:
  // Modal: runs DialogBoxParamW; the result is what EndDialog was given,
  // or -1 when the dialog could not be created.
  INT_PTR DoModalImpl(const wchar_t* templateName, HWND parent, LPARAM initParam);
  // Modeless: CreateDialogParamW; the window is destroyed with
  // DestroyWindow.
  HWND CreateImpl(const wchar_t* templateName, HWND parent, LPARAM initParam);
  BOOL EndDialog(INT_PTR result);
  BOOL IsModal() const { return m_modal; }

 protected:
  CDialogImplCore() { m_isDialog = true; }

 private:
  bool m_modal = false;
};

template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplCore {
 public:
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0) {
    return DoModalImpl(MAKEINTRESOURCEW(T::IDD), parent, initParam);
  }
  HWND Create(HWND parent, LPARAM initParam = 0) {
    return CreateImpl(MAKEINTRESOURCEW(T::IDD), parent, initParam);
  }
};
