#include "editor/text/phrase_rich_edit.h"

#include "editor/text/macro_hover.h"
#include "editor/text/rich_text_io.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/localization/localized_strings.h"

IMPLEMENT_DYNAMIC(CPhraseRichEdit, CRichEditCtrl)

BEGIN_MESSAGE_MAP(CPhraseRichEdit, CRichEditCtrl)
  ON_WM_CONTEXTMENU()
  ON_WM_CREATE()
  ON_CONTROL_REFLECT_EX(EN_KILLFOCUS, OnKillFocusReflect)
  ON_CONTROL_REFLECT_EX(EN_SETFOCUS, OnSetFocusReflect)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_NOTIFY_REFLECT_EX(EN_LINK, OnLinkReflect)
  ON_WM_MOUSELEAVE()
  ON_WM_KEYUP()
END_MESSAGE_MAP()

namespace {

// Loads lift the limit to this while they read.
constexpr LPARAM kNoLimit = 0x7FFFFFFE;

bool KeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool IsPhraseTypingKey(UINT key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_INSERT:
    case VK_TAB:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_PAUSE:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
      return false;
    default:
      break;
  }
  if (key >= VK_END && key <= VK_DOWN) return false;  // End, Home and the arrows
  if (key >= VK_F1 && key <= VK_F24) return false;
  if (key >= VK_LSHIFT && key <= VK_RMENU) return false;
  return true;
}

CPhraseCuePainter::CPhraseCuePainter(const CPhraseRichEdit& owner) : m_owner(owner) {
  SetStringId(kIdsPhraseCue);
}

bool CPhraseCuePainter::IsTextShown() const { return m_owner.m_hWnd && m_owner.IsCueWanted(); }

int CPhraseCuePainter::GetBackgroundColorIndex() const {
  return m_owner.IsReadOnly() ? COLOR_BTNFACE : COLOR_WINDOW;
}

CPhraseRichEdit::CPhraseRichEdit() : CuePainter(*this) {}

CPhraseRichEdit::~CPhraseRichEdit() {
  if (HtmlTip.m_hWnd) HtmlTip.DestroyWindow();
  if (Tips.m_hWnd) Tips.DestroyWindow();
  if (m_hWnd) DestroyWindow();
}

BOOL CPhraseRichEdit::PreCreateWindow(CREATESTRUCT& cs) {
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return CRichEditCtrl::PreCreateWindow(cs);
}

int CPhraseRichEdit::OnCreate(LPCREATESTRUCT) {
  int result = static_cast<int>(Default());
  if (result == -1) return -1;
  CuePainter.SetWindow(m_hWnd);
  // The setup's font and option changes notify nobody.
  DWORD mask = SetEventMask(0);
  SetupPhraseEditControl(m_hWnd);
  SetEventMask(mask | ENM_LINK);
  ::SendMessageW(m_hWnd, EM_LIMITTEXT, kPhraseTextLimit, 0);
  InitTips();
  return result;
}

void CPhraseRichEdit::InitTips() {
  if (Tips.Create(this)) {
    Tips.SetFont(editor::GetDialogFont(), FALSE);
    CRect client;
    GetClientRect(&client);
    Tips.SetMaxTipWidth(client.Width() * 2 / 3);
    Tips.Activate(TRUE);
    Tips.AddTool(this);
  }
  if (HtmlTip.Create(this)) {
    HtmlTip.SetBehaviour(HtmlTip.GetBehaviour() | kPPFollowCursor | kPPRestartOnMove);
    HtmlTip.AddTool(this, std::wstring());
  }
  HalfScreenWidth = ::GetSystemMetrics(SM_CXSCREEN) / 2;
}

LRESULT CPhraseRichEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A stream into the selection is an insertion (some rich edit versions
  // paste that way), any other a load.
  bool intoSelection = message == EM_STREAMIN && (wParam & SFF_SELECTION);
  if ((message == EM_STREAMIN && !intoSelection) || message == WM_SETTEXT)
    return LoadUnlimited(message, wParam, lParam);
  if (message == WM_PASTE || message == EM_REPLACESEL || intoSelection)
    return InsertLimited(message, wParam, lParam);
  if (message == WM_KEYDOWN && wParam == VK_INSERT && !KeyHeld(VK_SHIFT) && !KeyHeld(VK_CONTROL))
    m_insertToggled = !m_insertToggled;
  return CRichEditCtrl::WindowProc(message, wParam, lParam);
}

LRESULT CPhraseRichEdit::LoadUnlimited(UINT message, WPARAM wParam, LPARAM lParam) {
  // Emptied, the control takes the typing limit again.
  const auto* setText = reinterpret_cast<const wchar_t*>(lParam);
  if (message == WM_SETTEXT && (!setText || !*setText)) {
    LRESULT result = CRichEditCtrl::WindowProc(message, wParam, lParam);
    ::SendMessageW(m_hWnd, EM_EXLIMITTEXT, 0, kPhraseTextLimit);
    return result;
  }
  ::SendMessageW(m_hWnd, EM_EXLIMITTEXT, 0, kNoLimit);
  LRESULT result = CRichEditCtrl::WindowProc(message, wParam, lParam);
  LONG length = GetTextLengthEx(GTL_PRECISE | GTL_NUMCHARS);
  ::SendMessageW(m_hWnd, EM_EXLIMITTEXT, 0, length > kPhraseTextLimit ? length : kPhraseTextLimit);
  return result;
}

LRESULT CPhraseRichEdit::InsertLimited(UINT message, WPARAM wParam, LPARAM lParam) {
  LONG before = GetTextLengthEx(GTL_PRECISE | GTL_NUMCHARS);
  LONG limit = static_cast<LONG>(::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0));
  LRESULT result = CRichEditCtrl::WindowProc(message, wParam, lParam);
  LONG after = GetTextLengthEx(GTL_PRECISE | GTL_NUMCHARS);
  // Some rich edit versions raise the limit to fit what they paste.
  if (::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0) != limit) ::SendMessageW(m_hWnd, EM_EXLIMITTEXT, 0, limit);
  LONG allowed = before > limit ? before : limit;
  if (after <= allowed) return result;
  // Some rich edit versions insert past the limit: the inserted text's
  // tail (up to the caret) goes again.
  CHARRANGE caret = {0, 0};
  GetSel(caret);
  LONG excess = after - allowed;
  CHARRANGE tail = {caret.cpMax - excess > 0 ? caret.cpMax - excess : 0, caret.cpMax};
  CRichEditCtrl::WindowProc(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&tail));
  CRichEditCtrl::WindowProc(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
  return result;
}

BOOL CPhraseRichEdit::PreTranslateMessage(MSG* pMsg) {
  if (HoverPending && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) {
    if (Tips.m_hWnd) Tips.RelayEvent(pMsg);
    if (HtmlTip.m_hWnd) HtmlTip.RelayMessage(pMsg);
  }
  if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd && ReadOnly &&
      IsPhraseTypingKey(static_cast<UINT>(pMsg->wParam)) && !KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU)) {
    ReportReadOnlyTyping();
    return TRUE;
  }
  return CRichEditCtrl::PreTranslateMessage(pMsg);
}

void CPhraseRichEdit::ReportReadOnlyTyping() {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return;
  NMHDR header = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), kPhraseEditReadOnlyTyping};
  ::SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

BOOL CPhraseRichEdit::SetReadOnly(BOOL bReadOnly) {
  BOOL ok = CRichEditCtrl::SetReadOnly(bReadOnly);
  ReadOnly = bReadOnly != FALSE;
  if (ok) {
    SetBackgroundColor(FALSE, ::GetSysColor(ReadOnly ? COLOR_BTNFACE : COLOR_WINDOW));
    Invalidate();
  }
  return ok;
}

bool CPhraseRichEdit::HasEffect(DWORD mask, DWORD effect) const {
  CHARFORMAT2W cf = {};
  cf.cbSize = sizeof cf;
  cf.dwMask = mask;
  ::SendMessageW(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return (cf.dwEffects & effect) != 0;
}

void CPhraseRichEdit::SetEffect(DWORD mask, DWORD effects) {
  CHARFORMAT2W cf = {};
  cf.cbSize = sizeof cf;
  cf.dwMask = mask;
  cf.dwEffects = effects;
  // Some rich edit versions refuse the word scope: the selection alone then.
  if (!::SendMessageW(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&cf)))
    ::SendMessageW(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SetModify(TRUE);
}

bool CPhraseRichEdit::HasSelection() const {
  CHARRANGE range = {0, 0};
  GetSel(range);
  return range.cpMin != range.cpMax;
}

void CPhraseRichEdit::Clear() {
  if (ReadOnly) return;
  ReplaceSel(L"", TRUE);
  SetModify(TRUE);
}

bool CPhraseRichEdit::IsCueWanted() const {
  return ::GetWindowTextLengthW(m_hWnd) == 0 && ::GetFocus() != m_hWnd;
}

BOOL CPhraseRichEdit::OnKillFocusReflect() {
  if (IsCueWanted()) Invalidate();
  LastMouseX = LastMouseY = -1;
  HoverPending = true;
  HideMacroTip();
  return FALSE;  // the parent hears of it too
}

BOOL CPhraseRichEdit::OnSetFocusReflect() {
  Invalidate();
  return FALSE;
}

void CPhraseRichEdit::OnPaint() {
  if (!IsCueWanted()) {
    Default();
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  CuePainter.Paint(dc);
  ::EndPaint(m_hWnd, &ps);
}

void CPhraseRichEdit::OnKeyUp(UINT nChar, UINT, UINT) {
  Default();
  if (nChar != VK_INSERT) return;
  bool known = false;
  bool overtype = rich_text::IsOvertype(m_hWnd, &known);
  if (known) {
    if (overtype) rich_text::SetOvertype(m_hWnd, false);
    m_insertToggled = false;
    return;
  }
  // The mode cannot be read here: an Insert of our own switches back what
  // the user's switched on.
  if (m_insertToggled) {
    m_insertToggled = false;
    DefWindowProc(WM_KEYDOWN, VK_INSERT, 0x00520001);
    DefWindowProc(WM_KEYUP, VK_INSERT, static_cast<LPARAM>(0xC0520001u));
  }
}
