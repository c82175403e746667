#include "platform/mfc/frame/status_bar.h"

#include <commctrl.h>

#include <cstring>

#include "foundation/logging/log.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/window/cmd_ui.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  // The window text is the message pane's text.
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

// A pane's item state for the status bar: enabling shows the pane's text,
// the text replaces it.
class CStatusCmdUI : public CCmdUI {
 public:
  CStatusBar* m_pBar = nullptr;
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    m_pBar->EnablePane(static_cast<int>(m_nIndex), bOn);
  }
  void SetCheck(int) override {}
  void SetText(LPCWSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText); }
};

constexpr int kPaneMargin = 10;  // pixels beside an indicator's text

}  // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  // The frame places the bar: the control must not move or size itself.
  DWORD style = dwStyle | CCS_NOPARENTALIGN | CCS_NODIVIDER | CCS_NORESIZE;
  if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME) && !(pParentWnd->GetStyle() & WS_MAXIMIZE))
    style |= SBARS_SIZEGRIP;
  if (!CreateBar(STATUSCLASSNAMEW, style, pParentWnd, nID)) return FALSE;
  SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return TRUE;
}

int CStatusBar::MeasureText(const CString& text) const {
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, GetFont() ? GetFont() : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(dc, text.GetString(), text.GetLength(), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0 || nIDCount > 255 || (nIDCount > 0 && !lpIDArray)) return FALSE;
  m_panes.assign(static_cast<size_t>(nIDCount), Pane());
  BOOL ok = TRUE;
  for (int i = 0; i < nIDCount; ++i) {
    Pane& pane = m_panes[i];
    pane.id = lpIDArray[i];
    if (pane.id == ID_SEPARATOR) continue;
    if (!pane.text.LoadString(pane.id)) {
      LogError(L"CStatusBar: no string for indicator " + std::to_wstring(pane.id));
      ok = FALSE;
    }
    pane.width = MeasureText(pane.text) + kPaneMargin;
  }
  UpdateParts();
  for (int i = 0; i < nIDCount; ++i) ShowPane(i);
  return ok;
}

void CStatusBar::UpdateParts() {
  if (!m_hWnd || m_panes.empty()) return;
  CRect client;
  GetClientRect(&client);
  int right = client.Width();
  if (GetStyle() & SBARS_SIZEGRIP) right -= ::GetSystemMetrics(SM_CXVSCROLL);
  // Parts are given by their right edges; the first takes what is left.
  std::vector<int> edges(m_panes.size());
  for (size_t i = m_panes.size(); i-- > 1;) {
    edges[i] = right;
    right -= m_panes[i].width;
  }
  edges[0] = right > 0 ? right : 0;
  edges.back() = -1;  // the last part reaches the right edge
  SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::ShowPane(int nIndex) {
  if (!m_hWnd || nIndex < 0 || nIndex >= GetCount()) return;
  const Pane& pane = m_panes[nIndex];
  const wchar_t* text = pane.enabled ? pane.text.GetString() : L"";
  SendMessage(SB_SETTEXTW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text));
}

UINT CStatusBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].id : 0;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (m_panes[i].id == nIDFind) return i;
  }
  return -1;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
  Pane& pane = m_panes[nIndex];
  CString text(lpszNewText);
  if (pane.text == text) return TRUE;
  pane.text = text;
  if (bUpdate) ShowPane(nIndex);
  return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].text : CString();
}

void CStatusBar::EnablePane(int nIndex, BOOL bEnable) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  bool on = bEnable != FALSE;
  if (m_panes[nIndex].enabled == on) return;
  m_panes[nIndex].enabled = on;
  ShowPane(nIndex);
}

BOOL CStatusBar::IsPaneEnabled(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() && m_panes[nIndex].enabled;
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  // Some status controls keep a height of their own whatever they are
  // given: once the bar has a height, that is the answer.
  if (size.cy > 0) return size;
  // Before: one line of the bar's font between the control's borders.
  int borders[3] = {0, 0, 0};
  if (m_hWnd) SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, GetFont() ? GetFont() : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm = {};
  ::GetTextMetricsW(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  size.cy = tm.tmHeight + 2 * borders[1] + 4;
  return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CStatusCmdUI state;
  state.m_pBar = this;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_panes[state.m_nIndex].id;
    // Panes are never disabled for want of a handler.
    state.DoUpdate(pTarget, FALSE);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CStatusBar::OnSize(UINT, int, int) {
  Default();
  UpdateParts();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  if (m_panes.empty() || m_panes[0].id != ID_SEPARATOR) return Default();
  // The system copies WM_SETTEXT's text across processes.
  SetPaneText(0, reinterpret_cast<LPCWSTR>(lParam));
  return TRUE;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  if (m_panes.empty() || m_panes[0].id != ID_SEPARATOR) return Default();
  if (!lParam || wParam == 0) return 0;
  const CString& text = m_panes[0].text;
  size_t n = static_cast<size_t>(text.GetLength());
  if (n > wParam - 1) n = wParam - 1;
  auto* out = reinterpret_cast<wchar_t*>(lParam);
  std::memcpy(out, text.GetString(), n * sizeof(wchar_t));
  out[n] = L'\0';
  return static_cast<LRESULT>(n);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  if (m_panes.empty() || m_panes[0].id != ID_SEPARATOR) return Default();
  return m_panes[0].text.GetLength();
}
