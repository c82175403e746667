#include "editor/toolbars/text_tool_bar.h"

#include "editor/toolbars/toolbar_images.h"
#include "editor/toolbars/toolbar_names.h"
#include "editor/toolbars/toolbar_res.h"
#include "editor_settings/helpers/shared_icons.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/system/sounds.h"
#include "foundation/ui/icons.h"

using namespace toolbars;

IMPLEMENT_DYNAMIC(CTextToolBar, CToolBarCtrlEx)

BEGIN_MESSAGE_MAP(CTextToolBar, CToolBarCtrlEx)
  ON_WM_CREATE()
  ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, OnCustomDraw)
  ON_MESSAGE(kBlinkDoneMessage, OnBlinkDone)
END_MESSAGE_MAP()

namespace {

struct ButtonSpec {
  UINT id;
  int image;
  BYTE style;
};

const ButtonSpec kButtons[] = {
    {ID_EDIT_UNDO, 0, BTNS_BUTTON},      {ID_EDIT_REDO, 1, BTNS_BUTTON},   {0, 0, BTNS_SEP},
    {ID_EDIT_CUT, 2, BTNS_BUTTON},       {ID_EDIT_COPY, 3, BTNS_BUTTON},   {ID_EDIT_PASTE, 4, BTNS_BUTTON},
    {0, 0, BTNS_SEP},                    {kIdIntoMenuName, 5, BTNS_BUTTON}, {kIdDataType, 6, BTNS_DROPDOWN},
    {kIdInsertMacro, 7, BTNS_DROPDOWN},  {kIdReadOnlyMode, 8, BTNS_CHECK},
};
constexpr int kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);
constexpr int kStripImages = 9;

// What the blink thread needs: it outlives neither the process nor its
// argument, and reaches the toolbar only through its handle.
struct BlinkArgs {
  HWND toolbar;
  UINT id;
};

DWORD WINAPI BlinkThread(void* param) {
  auto* args = static_cast<BlinkArgs*>(param);
  for (int i = 0; i < kBlinkCycles; ++i) {
    ::SendMessageW(args->toolbar, TB_HIDEBUTTON, args->id, MAKELPARAM(TRUE, 0));
    ::Sleep(kBlinkHiddenMs);
    ::SendMessageW(args->toolbar, TB_HIDEBUTTON, args->id, MAKELPARAM(FALSE, 0));
    ::Sleep(kBlinkShownMs);
  }
  ::PostMessageW(args->toolbar, kBlinkDoneMessage, 0, 0);
  delete args;
  return 0;
}

// The width of the text in the toolbar's font; -1 when it cannot be measured.
int MeasureText(HWND window, const std::wstring& text) {
  HDC dc = ::GetDC(window);
  if (!dc) return -1;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size = {};
  BOOL ok = ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return ok ? size.cx : -1;
}

}  // namespace

int CTextToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CToolBarCtrlEx::OnCreate(lpCreateStruct) == -1) return -1;
  BuildImages();
  SetImageList(&m_images);
  TBBUTTON buttons[kButtonCount] = {};
  for (int i = 0; i < kButtonCount; ++i) {
    buttons[i].iBitmap = kButtons[i].style == BTNS_SEP ? 0 : kButtons[i].image;
    buttons[i].idCommand = static_cast<int>(kButtons[i].id);
    buttons[i].fsState = 0;  // the command-UI update enables them
    buttons[i].fsStyle = kButtons[i].style;
    buttons[i].iString = -1;
  }
  if (!AddButtons(kButtonCount, buttons)) LogError(L"text toolbar: TB_ADDBUTTONS failed");
  RefreshTexts();
  return 0;
}

void CTextToolBar::BuildImages() {
  if (!m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 11, 1)) return;
  m_images.SetBkColor(::GetSysColor(COLOR_WINDOW));
  AddImageStrip(m_images, IDB_TEXT_TOOLBAR, kStripImages);
  RtfImage = AddIconOrEmpty(m_images, LoadSmallAppIcon(IDI_RTF_PHRASE));
  TextImage = AddIconOrEmpty(m_images, GetTxtFileIcon());
  ExecImage = AddIconOrEmpty(m_images, LoadSmallAppIcon(IDI_APP_PHRASE));
}

void CTextToolBar::RefreshTexts() {
  if (!m_hWnd) return;
  CLngString macro;
  macro.LoadString(kIdsMacro);
  TBBUTTONINFOW info = {};
  if (m_macroBaseWidth < 0) {
    CRect rect = GetButtonRect(kIdInsertMacro);
    m_macroBaseWidth = rect.left == -1 && rect.right == -1 ? 0 : rect.Width();
  }
  const int textWidth = MeasureText(m_hWnd, macro.Text());
  std::wstring text = macro.Text();
  info.dwMask = TBIF_TEXT | TBIF_SIZE | TBIF_LPARAM;
  info.pszText = &text[0];
  info.cx = static_cast<WORD>(textWidth < 0 ? kMacroFallbackWidth : textWidth + m_macroBaseWidth + kMacroTextGap);
  info.lParam = 1;  // the text has been added
  SetButtonInfo(kIdInsertMacro, &info);

  CLngString readOnly;
  readOnly.LoadString(kIdsReadOnly);
  std::wstring roText = readOnly.Text();
  TBBUTTONINFOW ro = {};
  ro.dwMask = TBIF_TEXT | TBIF_SIZE;
  ro.pszText = &roText[0];
  ro.cx = kReadOnlyButtonWidth;
  SetButtonInfo(kIdReadOnlyMode, &ro);
}

std::wstring CTextToolBar::GetButtonTip(UINT id) {
  UINT textId = id;
  if (id == kIdDataType) {
    static const UINT kTypeTexts[] = {kIdPastePlain, kIdPasteRtf, kIdStartAsApp};
    if (CurrentType >= 0 && CurrentType < 3) textId = kTypeTexts[CurrentType];
  }
  std::wstring tip = GetCommandLongPrompt(textId);
  if (id == kIdInsertMacro) tip += kMacroShortcut;
  return tip;
}

void CTextToolBar::SetReadOnlyButton(BOOL checked, BOOL enabled) {
  const int state = GetButtonState(kIdReadOnlyMode);
  if (state == -1) return;
  if (((state & TBSTATE_ENABLED) != 0) != (enabled != FALSE)) EnableButton(kIdReadOnlyMode, enabled);
  if (((state & TBSTATE_CHECKED) != 0) != (checked != FALSE)) CheckButton(kIdReadOnlyMode, checked);
}

void CTextToolBar::Blink(bool beep) {
  if (!Blinking) {
    auto* args = new BlinkArgs{m_hWnd, kIdReadOnlyMode};
    HANDLE thread = ::CreateThread(nullptr, 0, BlinkThread, args, CREATE_SUSPENDED, nullptr);
    if (!thread) {
      LogError(L"text toolbar: blink CreateThread failed, code " + std::to_wstring(::GetLastError()));
      delete args;
      return;
    }
    Blinking = true;
    ::ResumeThread(thread);
    if (beep) PlayExclamationSound(true);
    ::CloseHandle(thread);
    return;
  }
  if (beep) PlayExclamationSound(true);
}

LRESULT CTextToolBar::OnBlinkDone(WPARAM, LPARAM) {
  Blinking = false;
  CRect rect = GetButtonRect(kIdReadOnlyMode);
  if (rect.left != -1 || rect.right != -1) InvalidateRect(&rect);
  return 0;
}

BOOL CTextToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = PaintToolBarBackground(pNMHDR, COLOR_WINDOW);
  // A parent that draws the toolbar itself sees the message too and gives
  // the answer.
  return ParentDraws ? FALSE : TRUE;
}
