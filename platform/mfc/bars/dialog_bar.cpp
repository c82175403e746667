#include "platform/mfc/bars/dialog_bar.h"

#include <cstring>
#include <string>
#include <vector>

#include "foundation/logging/log.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/frame/frame_wnd.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

namespace {

thread_local CDialogBar* t_creatingBar = nullptr;

constexpr DWORD kNotForChildren = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME |
                                  WS_DISABLED | WS_VISIBLE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// A copy of the template with the style of a child window; empty when the
// template is missing or too short to hold its header.
std::vector<BYTE> ChildTemplate(UINT nIDTemplate) {
  HINSTANCE res = AfxGetResourceHandle();
  HRSRC found = ::FindResourceW(res, MAKEINTRESOURCEW(nIDTemplate), RT_DIALOG);
  if (!found) return {};
  DWORD size = ::SizeofResource(res, found);
  HGLOBAL loaded = ::LoadResource(res, found);
  const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  if (!data || size < sizeof(DLGTEMPLATE)) return {};
  std::vector<BYTE> copy(data, data + size);
  WORD version = 0, signature = 0;
  std::memcpy(&version, copy.data(), sizeof(WORD));
  std::memcpy(&signature, copy.data() + 2, sizeof(WORD));
  // The extended header keeps its style after version, signature, help id
  // and extended style.
  const size_t styleAt = (version == 1 && signature == 0xFFFF) ? 12 : 0;
  if (copy.size() < styleAt + sizeof(DWORD)) return {};
  DWORD style = 0;
  std::memcpy(&style, copy.data() + styleAt, sizeof(style));
  style = (style & ~kNotForChildren) | WS_CHILD;
  std::memcpy(copy.data() + styleAt, &style, sizeof(style));
  return copy;
}

}  // namespace

INT_PTR CALLBACK AfxDialogBarProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  CWnd* object = CWnd::FromHandlePermanent(hWnd);
  if (!object && t_creatingBar) {
    // The first message of the new dialog: from here on it reaches the bar.
    CDialogBar* bar = t_creatingBar;
    t_creatingBar = nullptr;
    if (!bar->SubclassWindow(hWnd)) return FALSE;
    bar->ExpectCreationMessages();
    object = bar;
  }
  if (message != WM_INITDIALOG || !object || !object->IsKindOf(RUNTIME_CLASS(CDialogBar))) return FALSE;
  // Once, from the dialog's creation; another program may send it again.
  if (!object->TakeCreationMessage(message)) return FALSE;
  return static_cast<CDialogBar*>(object)->OnInitDialog();
}

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
  if (m_hWnd || !pParentWnd || !pParentWnd->m_hWnd) return FALSE;
  std::vector<BYTE> tmpl = ChildTemplate(nIDTemplate);
  if (tmpl.empty()) {
    LogError(L"CDialogBar: no dialog template " + std::to_wstring(nIDTemplate));
    return FALSE;
  }
  m_dwStyle = nStyle & CBRS_ALL;
  if (pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    SetOwner(pParentWnd);
  }
  CDialogBar* before = t_creatingBar;
  t_creatingBar = this;
  HWND h = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                                        pParentWnd->m_hWnd, AfxDialogBarProc, 0);
  DWORD error = ::GetLastError();
  t_creatingBar = before;
  if (!h) {
    LogError(L"CDialogBar: CreateDialogIndirectParamW failed " + std::to_wstring(error));
    if (m_hWnd) Detach();
    m_pDockSite = nullptr;
    return FALSE;
  }
  SetDlgCtrlID(static_cast<int>(nID));
  CRect r;
  GetWindowRect(&r);
  m_sizeDefault = r.Size();
  if (m_pDockSite) m_pDockSite->AddControlBar(this);
  if (nStyle & WS_VISIBLE) ShowWindow(SW_SHOWNA);
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = m_sizeDefault;
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
