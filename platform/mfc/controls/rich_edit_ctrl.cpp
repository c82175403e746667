#include "platform/mfc/controls/rich_edit_ctrl.h"

#include "foundation/ui/rich_edit.h"
#include "platform/mfc/controls/control_classes.h"

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace {

// RTF is never a UTF-16 stream.
int EightBitRtf(int nFormat) { return (nFormat & SF_RTF) ? (nFormat & ~SF_UNICODE) : nFormat; }

}  // namespace

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!AfxEnsureRichEdit()) return FALSE;
  return CWnd::Create(RICHEDIT_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const {
  CHARRANGE cr = {0, 0};
  GetSel(cr);
  nStartChar = cr.cpMin;
  nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar) {
  CHARRANGE cr = {nStartChar, nEndChar};
  SetSel(cr);
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT2W& cf) const {
  cf.cbSize = sizeof(cf);
  return static_cast<DWORD>(Send(EM_GETCHARFORMAT, SCF_SELECTION, &cf));
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT2W& cf) const {
  cf.cbSize = sizeof(cf);
  return static_cast<DWORD>(Send(EM_GETCHARFORMAT, SCF_DEFAULT, &cf));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT2W& cf) {
  cf.cbSize = sizeof(cf);
  return Send(EM_SETCHARFORMAT, SCF_SELECTION, &cf) != 0;
}

int CRichEditCtrl::CharFromPos(CPoint pt) const {
  POINTL p = {pt.x, pt.y};
  return static_cast<int>(Send(EM_CHARFROMPOS, 0, &p));
}

CPoint CRichEditCtrl::PosFromChar(UINT nChar) const {
  POINTL p = {0, 0};
  Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), static_cast<LPARAM>(nChar));
  return CPoint(static_cast<int>(p.x), static_cast<int>(p.y));
}

long CRichEditCtrl::GetTextLengthEx(DWORD dwFlags, UINT nCodePage) const {
  GETTEXTLENGTHEX gtl = {dwFlags, nCodePage == static_cast<UINT>(-1) ? 1200u : nCodePage};
  return static_cast<long>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gtl), 0));
}

long CRichEditCtrl::StreamIn(int nFormat, EDITSTREAM& es) {
  return static_cast<long>(Send(EM_STREAMIN, static_cast<WPARAM>(EightBitRtf(nFormat)), &es));
}

long CRichEditCtrl::StreamOut(int nFormat, EDITSTREAM& es) {
  return static_cast<long>(Send(EM_STREAMOUT, static_cast<WPARAM>(EightBitRtf(nFormat)), &es));
}

BOOL CRichEditCtrl::StreamIn(int nFormat, const std::wstring& text) {
  if (nFormat & SF_RTF) return RichEditSetText(m_hWnd, text);
  return RichEditStreamIn(m_hWnd, text.data(), text.size() * sizeof(wchar_t), true, false);
}

std::wstring CRichEditCtrl::StreamOut(int nFormat) const {
  return RichEditStreamOut(m_hWnd, (nFormat & SF_RTF) == 0, (nFormat & SFF_SELECTION) != 0);
}
