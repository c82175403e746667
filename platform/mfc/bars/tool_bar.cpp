#include "platform/mfc/bars/tool_bar.h"

#include <vector>

#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/window/cmd_ui.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

// The state of one button while its update handler runs.
class CToolCmdUI : public CCmdUI {
 public:
  explicit CToolCmdUI(HWND toolbar) : m_toolbar(toolbar) {}
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    SetStateBit(TBSTATE_ENABLED, bOn != FALSE);
  }
  void SetCheck(int nCheck) override {
    SetStateBit(TBSTATE_CHECKED, nCheck == 1);
    SetStateBit(TBSTATE_INDETERMINATE, nCheck == 2);
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
  void SetText(LPCWSTR) override {}

 private:
  void SetStateBit(BYTE bit, bool on) {
    LRESULT state = ::SendMessageW(m_toolbar, TB_GETSTATE, m_nID, 0);
    if (state == -1) return;
    BYTE next = static_cast<BYTE>(on ? (state | bit) : (state & ~bit));
    // Only a change repaints the button.
    if (next != static_cast<BYTE>(state)) ::SendMessageW(m_toolbar, TB_SETSTATE, m_nID, MAKELPARAM(next, 0));
  }
  HWND m_toolbar;
};

}  // namespace

CToolBar::~CToolBar() { m_ctrl.m_hWnd = nullptr; }

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  if (!pParentWnd || !pParentWnd->m_hWnd) return FALSE;
  m_rcBorders = rcBorders;
  const DWORD style = dwStyle | dwCtrlStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (!CreateBar(TOOLBARCLASSNAMEW, style, pParentWnd, nID)) return FALSE;
  m_ctrl.m_hWnd = m_hWnd;
  return TRUE;
}

BOOL CToolBar::PreCreateWindow(CREATESTRUCT& cs) { return CControlBar::PreCreateWindow(cs); }

int CToolBar::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  m_ctrl.m_hWnd = m_hWnd;
  // Buttons may come in a derived OnCreate: the control learns their size first.
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return 0;
}

void CToolBar::OnNcDestroy() {
  m_ctrl.m_hWnd = nullptr;
  CControlBar::OnNcDestroy();
}

CToolBarCtrl& CToolBar::GetToolBarCtrl() const {
  m_ctrl.m_hWnd = m_hWnd;
  return m_ctrl;
}

BOOL CToolBar::SetButtonText(int nIndex, LPCWSTR lpszText) {
  if (!m_hWnd || nIndex < 0 || nIndex >= static_cast<int>(SendMessage(TB_BUTTONCOUNT))) return FALSE;
  TBBUTTONINFOW info = {sizeof(info)};
  info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
  info.pszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
  return SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info)) != 0;
}

CString CToolBar::GetButtonText(int nIndex) const {
  wchar_t text[260] = L"";
  if (m_hWnd && nIndex >= 0 && nIndex < static_cast<int>(SendMessage(TB_BUTTONCOUNT))) {
    TBBUTTONINFOW info = {sizeof(info)};
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = text;
    info.cchText = static_cast<int>(sizeof(text) / sizeof(text[0]));
    SendMessage(TB_GETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
    text[259] = L'\0';
  }
  return CString(text);
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
  return m_hWnd ? static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind)) : -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON button = {};
  if (!m_hWnd || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
    return 0;
  return (button.fsStyle & BTNS_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

int CToolBar::ItemFromPoint(CPoint point) const {
  if (!m_hWnd) return -1;
  int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
  return index >= 0 ? index : -1;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size(0, 0);
  if (m_hWnd) {
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    // The buttons' extent, from the first button's corner.
    for (int i = 0; i < count; ++i) {
      CRect r;
      if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      if (r.right > size.cx) size.cx = r.right;
      if (r.bottom > size.cy) size.cy = r.bottom;
    }
    if (count == 0) size.cy = HIWORD(SendMessage(TB_GETBUTTONSIZE));
  }
  size.cx += m_rcBorders.left + m_rcBorders.right;
  size.cy += m_rcBorders.top + m_rcBorders.bottom;
  if (m_dwStyle & (CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT)) size.cx += 4;
  if (m_dwStyle & (CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM)) size.cy += 4;
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  if (!m_hWnd || !pTarget) return;
  CToolCmdUI state(m_hWnd);
  state.m_pOther = this;
  const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
  state.m_nIndexMax = static_cast<UINT>(count);
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
    if (button.fsStyle & BTNS_SEP) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(button.idCommand);
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  // Controls placed on the toolbar follow their commands as well.
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
