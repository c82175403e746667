#include "editor/doc/phrase_view.h"

#include <commctrl.h>

#include "editor/app/editor_access.h"
#include "editor/doc/doc.h"
#include "editor/doc/doc_listener.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor/text/load_pause.h"
#include "editor/text/look_stream.h"
#include "editor/text/macro_highlight.h"
#include "editor/text/rich_text_io.h"
#include "editor/toolbars/toolbar_names.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "foundation/localization/localized_strings.h"
#include "phrases/store/phrase_node.h"
#include "platform/mfc/window/cmd_ui.h"

IMPLEMENT_DYNCREATE(CQLRView, CView)

namespace {

constexpr DWORD kToolBarStyle = 0x50001901;
constexpr DWORD kTextStyle = 0x50201044;
constexpr DWORD kPreviewStyle = 0x50205844;
constexpr int kToolBarHeight = 34;
// Texts of the data-type button and the cue of a command line.
constexpr UINT kIdsPlainText = 61212;
constexpr UINT kIdsFormattedText = 61213;
constexpr UINT kIdsStartApplication = 134;
constexpr UINT kIdsCommandCue = 136;
constexpr int kDataTypeButtonWidth = 180;
constexpr int kButtonTextMax = 100;

std::wstring LngText(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

}  // namespace

CQLRView::CQLRView() : Text(new CPhraseRichEdit) {}

CQLRView::~CQLRView() {
  if (PreviewPane.m_hWnd) PreviewPane.DestroyWindow();
  if (TextToolBar.m_hWnd) TextToolBar.DestroyWindow();
}

BOOL CQLRView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return CView::PreCreateWindow(cs);
}

int CQLRView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CView::OnCreate(lpcs) == -1) return -1;
  const int width = lpcs->cx > 4 ? lpcs->cx : 4;
  if (!TextToolBar.Create(kToolBarStyle, CRect(2, 2, width, 2 + kToolBarHeight), this, kViewToolBarId)) return -1;
  TextToolBar.SendMessage(TB_SETINDENT, 10, 0);
  TextToolBar.SendMessage(TB_SETPADDING, 0, MAKELPARAM(4, 2));
  TextToolBar.SetOwner(this);
  TextToolBar.ParentDraws = true;
  CRect bar;
  ::GetWindowRect(TextToolBar.m_hWnd, &bar);
  const int top = bar.Height() + 2;
  const int height = lpcs->cy > top ? lpcs->cy - top : 0;
  if (!Text->Create(kTextStyle, CRect(2, top, width - 2, top + height), this, kViewTextId)) return -1;
  Text->SendMessage(EM_SETEVENTMASK, 0, Text->SendMessage(EM_GETEVENTMASK, 0, 0) | ENM_LINK | ENM_CHANGE);
  Text->SendMessage(EM_AUTOURLDETECT, TRUE, 0);
  if (GetEditorSettings().Preview) CreatePreview();
  if (CWnd* parent = GetParent()) {
    CRect client;
    ::GetClientRect(parent->m_hWnd, &client);
    MoveWindow(&client);
  }
  return 0;
}

void CQLRView::OnInitialUpdate() {
  if (CWnd* parent = GetParent()) {
    CRect client;
    ::GetClientRect(parent->m_hWnd, &client);
    MoveWindow(&client);
  }
  CRect rect;
  ::GetClientRect(m_hWnd, &rect);
  Layout(rect.Width(), rect.Height());
  CView::OnInitialUpdate();
}

void CQLRView::OnSize(UINT, int cx, int cy) { Layout(cx, cy); }

void CQLRView::Layout(int cx, int cy) {
  if (!TextToolBar.m_hWnd || !Text->m_hWnd) return;
  CRect bar;
  ::GetWindowRect(TextToolBar.m_hWnd, &bar);
  TextToolBar.SetWindowPos(nullptr, 0, 0, cx > 2 ? cx - 2 : 0, bar.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int top = bar.Height() + 2;
  const int rest = cy > top ? cy - top : 0;
  const int textHeight = IsPreviewShown() ? rest / 2 : rest;
  const int width = cx > 4 ? cx - 4 : 0;
  Text->SetWindowPos(nullptr, 0, top, width, textHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsPreviewShown()) {
    const int previewTop = top + textHeight + 2;
    PreviewPane.SetWindowPos(nullptr, 0, previewTop, width, cy > previewTop ? cy - previewTop : 0,
                             SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

CQLRCommand* CQLRView::CurrentRecord() {
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  return doc ? doc->CurrentRecord() : nullptr;
}

int CQLRView::GetCurrentId() const {
  const CDoc* doc = static_cast<const CDoc*>(GetDocument());
  return doc ? doc->GetCurrentId() : -1;
}

bool CQLRView::IsRtfPhrase() {
  CQLRCommand* record = CurrentRecord();
  return !record || record->DataType == kDataTypeRtf;
}

BOOL CQLRView::IsTextModified() const {
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  if (!doc || doc->GetCurrentId() == -1 || !Text->m_hWnd) return FALSE;
  return Text->SendMessage(EM_GETMODIFY, 0, 0) != 0;
}

// The data-type button, the cue and a shown preview follow the current phrase.
void CQLRView::RefreshForPhrase() {
  RefreshDataTypeButton();
  RefreshCue();
  if (IsPreviewShown()) {
    KillTimer(kPreviewLayoutTimer);
    RefreshPreview();
  }
}

void CQLRView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  const int value = static_cast<int>(reinterpret_cast<LPARAM>(pHint));
  switch (lHint) {
    case kHintSelect:
      Load(value);
      Text->Invalidate();
      RefreshForPhrase();
      break;
    case kHintCommit:
      if (Text->m_hWnd && Text->SendMessage(EM_GETMODIFY, 0, 0)) Save();
      break;
    case kHintDataType:
      Save();
      RefreshForPhrase();
      break;
    case kHintLanguage:
      Text->Invalidate();
      RefreshDataTypeButton();
      TextToolBar.RefreshTexts();
      break;
    case kHintFocusView:
      Text->SetFocus();
      break;
    case kHintMacroMenu:
      Text->SetFocus();
      OnMacroButton();
      break;
    case kHintCheckStates: {
      CDoc* doc = static_cast<CDoc*>(GetDocument());
      CQLRCommand* record = doc ? doc->CurrentRecord() : nullptr;
      Text->SetReadOnly(record && !record->IsEnabled());
      break;
    }
    case kHintFolderChanged:
      // A renamed folder keeps the open phrase (only its path changed);
      // only a phrase that is gone takes its text with it.
      if (!CurrentRecord()) {
        ClearText();
        Text->SetReadOnly(TRUE);
      }
      break;
    case kHintPreview:
      if (GetEditorSettings().Preview) {
        CreatePreview();
        RefreshPreview();
      } else if (IsPreviewShown()) {
        KillTimer(kPreviewLayoutTimer);
        KillTimer(kPreviewTypingTimer);
        PreviewPane.DestroyWindow();
      }
      {
        CRect rect;
        ::GetClientRect(m_hWnd, &rect);
        Layout(rect.Width(), rect.Height());
      }
      break;
    default:
      break;
  }
}

// The editor's text font, plain and in the window's colour: a plain text
// shown after a formatted one must not keep that one's look.
void CQLRView::SetPlainTextFont(HWND edit) {
  ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(editor::GetLargeDialogFont()), FALSE);
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_BACKCOLOR;
  format.dwEffects = CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR;
  ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void CQLRView::ClearText() {
  // No change or selection notice while the text goes.
  const LRESULT mask = Text->SendMessage(EM_SETEVENTMASK, 0, 0);
  Text->SetReadOnly(FALSE);
  {
    RedrawPause still(Text->m_hWnd);
    EmptyInPieces(Text->m_hWnd);
  }
  Text->SendMessage(EM_SETEVENTMASK, 0, mask);
}

void CQLRView::Load(int id) {
  if (!Text->m_hWnd) return;
  CQLRCommand* record = id == -1 ? nullptr : GetCommandStore().FindCommandById(static_cast<std::uint32_t>(id));
  if (!record || record->IsFolder()) {
    ClearText();
    Text->SetReadOnly(TRUE);
    Text->SendMessage(EM_EMPTYUNDOBUFFER, 0, 0);
    Text->SendMessage(EM_SETMODIFY, FALSE, 0);
    return;
  }
  HWND edit = Text->m_hWnd;
  // The text comes in while the control stays read-only, as every phrase
  // opens: a program may change a read-only text, and each switch costs a
  // restyle and a repaint.
  const bool readOnly = Text->IsReadOnly() && (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY);
  const std::wstring text = record->m_cmd;
  const bool rtf = record->DataType == kDataTypeRtf;
  {
    // Drawn once, when all is in; no notice, no undo step on the way.
    LoadPause quiet(edit);
    if (rtf && !text.empty()) {
      // Formatted text is read through the narrowing RTF input; anything
      // that does not parse as RTF goes in as plain text.
      rich_text::StreamInByPrefix(edit, text);
    } else {
      // The old text goes first: the font set over a long text would lay
      // all of it out again just before it is replaced.
      EmptyInPieces(edit);
      SetPlainTextFont(edit);
      if (!rtf) {
        // A plain text goes in with its macros coloured: laid out once.
        SetHighlightEnabled(true);
        SetTextHighlighted(edit, GetMacroScheme(), text);
      }
    }
  }
  Text->SendMessage(EM_SETMODIFY, FALSE, 0);
  if (!readOnly) Text->SetReadOnly(TRUE);
  TextToolBar.Blinking = false;
}

void CQLRView::Save() {
  CQLRCommand* record = CurrentRecord();
  if (!record || !Text->m_hWnd) return;
  // RTF leaves the control as 8-bit characters widened one to one, the
  // form the phrase files keep.
  record->m_cmd = record->DataType == kDataTypeRtf ? rich_text::GetRtf(Text->m_hWnd)
                                                   : rich_text::GetPlainText(Text->m_hWnd);
  if (GetCommandStore().SaveCommand(record->GetId())) {
    Text->SendMessage(EM_SETMODIFY, FALSE, 0);
    StampPhraseChange();
  }
}

void CQLRView::RefreshDataTypeButton() {
  CQLRCommand* record = CurrentRecord();
  if (!record || !TextToolBar.m_hWnd) return;
  const int type = record->DataType;
  static const UINT kTexts[] = {kIdsPlainText, kIdsFormattedText, kIdsStartApplication};
  if (type < 0 || type > 2) return;
  const int images[] = {TextToolBar.TextImage, TextToolBar.RtfImage, TextToolBar.ExecImage};
  std::wstring wanted = LngText(kTexts[type]);
  wchar_t current[kButtonTextMax + 1] = L"";
  TBBUTTONINFOW info = {};
  info.dwMask = TBIF_TEXT;
  info.pszText = current;
  info.cchText = kButtonTextMax + 1;
  TextToolBar.GetButtonInfo(toolbars::kIdDataType, &info);
  current[kButtonTextMax] = L'\0';
  if (wanted != current) {
    TBBUTTONINFOW set = {};
    set.dwMask = TBIF_TEXT | TBIF_IMAGE | TBIF_SIZE;
    set.pszText = &wanted[0];
    set.iImage = images[type];
    set.cx = kDataTypeButtonWidth;
    TextToolBar.SetButtonInfo(toolbars::kIdDataType, &set);
  }
  TextToolBar.SetCurrentType(type);
}

void CQLRView::RefreshCue() {
  CQLRCommand* record = CurrentRecord();
  if (!record) return;
  if (record->DataType == kDataTypeText || record->DataType == kDataTypeRtf)
    Text->SetCueString(kIdsPhraseCue);
  else if (record->DataType == kDataTypeExec)
    Text->SetCueString(kIdsCommandCue);
}

void CQLRView::CreatePreview() {
  if (IsPreviewShown() || !Text->m_hWnd) return;
  CRect text;
  ::GetWindowRect(Text->m_hWnd, &text);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&text), 2);
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  CRect place(text.left, text.bottom + 2, text.left + (client.Width() > 4 ? client.Width() - 4 : 0), client.bottom);
  if (!PreviewPane.Create(kPreviewStyle, place, this, kViewPreviewId)) return;
  PreviewPane.SendMessage(EM_SETEVENTMASK, 0, 0);
  SetPlainTextFont(PreviewPane.m_hWnd);
  PreviewPane.SendMessage(EM_SETOPTIONS, ECOOP_OR,
                          ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_NOHIDESEL | ECO_SELECTIONBAR);
  PreviewPane.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 10));
  CRect format;
  PreviewPane.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  format.top += 7;
  PreviewPane.SendMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
  PreviewPane.SendMessage(EM_SETBKGNDCOLOR, 0, ::GetSysColor(COLOR_INFOBK));
  PreviewPane.ShowWindow(SW_SHOW);
}

void CQLRView::RefreshPreview() {
  if (!IsPreviewShown()) return;
  ++PreviewRefreshes;
  CDoc* doc = static_cast<CDoc*>(GetDocument());
  std::wstring expansion;
  if (doc) doc->BuildPhrasePreview(expansion, false);
  if (expansion.empty()) {
    ::SetWindowTextW(PreviewPane.m_hWnd, L"");
    return;
  }
  if (IsRtfPhrase()) {
    rich_text::StreamInByPrefix(PreviewPane.m_hWnd, expansion);
  } else {
    SetPlainTextFont(PreviewPane.m_hWnd);
    ::SetWindowTextW(PreviewPane.m_hWnd, expansion.c_str());
  }
  KeyboardLayout = ::GetKeyboardLayout(0);
  SetTimer(kPreviewLayoutTimer, kPreviewLayoutPeriod, nullptr);
}

void CQLRView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kPreviewTypingTimer) {
    if (::GetTickCount() - LastEditTicks < kPreviewTypingDelay + 1) return;
    KillTimer(kPreviewTypingTimer);
    RefreshPreview();
  } else if (nIDEvent == kPreviewLayoutTimer) {
    HKL layout = ::GetKeyboardLayout(0);
    if (layout != KeyboardLayout) {
      KeyboardLayout = layout;
      RefreshPreview();
    }
  } else {
    Default();
  }
}

BOOL CQLRView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB && Text->m_hWnd && ::GetFocus() == Text->m_hWnd) {
    if (CDoc* doc = static_cast<CDoc*>(GetDocument())) doc->UpdateViews(this, kHintFocusTree, 0);
    return TRUE;
  }
  // A button whose command nobody updates is disabled.
  if (TextToolBar.m_hWnd) TextToolBar.OnUpdateCmdUI(this, TRUE);
  return CView::PreTranslateMessage(pMsg);
}
