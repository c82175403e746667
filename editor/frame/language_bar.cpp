#include "editor/frame/language_bar.h"

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/frame/main_frame.h"
#include "editor/services/editor_system.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/blink_font.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "editor_settings/language/language_lists.h"
#include "foundation/localization/dialog_localizer.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_dialog_names.h"
#include "foundation/logging/log.h"

IMPLEMENT_DYNAMIC(CLanguageBar, CDialogBar)

BEGIN_MESSAGE_MAP(CLanguageBar, CDialogBar)
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_CBN_SELCHANGE(CLanguageBar::kComboId, OnComboSelChange)
  ON_CBN_CLOSEUP(CLanguageBar::kComboId, OnComboCloseUp)
  ON_CONTROL(CBN_DROPDOWN, CLanguageBar::kComboId, OnComboDropDown)
  ON_MESSAGE(CLanguageBar::kBlinkDoneMessage, OnBlinkDone)
  ON_MESSAGE(WM_CTLCOLOREDIT, OnCtlColor)
  ON_MESSAGE(WM_CTLCOLORLISTBOX, OnCtlColor)
  ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColor)
END_MESSAGE_MAP()

namespace {
// The combo's last item opens the localisation page instead of a language.
constexpr LPARAM kHowToItemData = -1;
}  // namespace

CLanguageBar::~CLanguageBar() {
  if (m_hBlinkFont) ::DeleteObject(m_hBlinkFont);
}

BOOL CLanguageBar::CreateBar(CWnd* parent, std::vector<std::wstring>* files) {
  m_pLanguageFiles = files;
  return Create(parent, kTemplateId, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DIALOGBAR);
}

BOOL CLanguageBar::OnInitDialog() {
  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0),
                             kToolBarId))
    LogError(L"CLanguageBar: the links toolbar cannot be created");
  Localize();
  AddDocListener(this);
  RefillCombo();
  PlaceToolBar();
  return TRUE;
}

void CLanguageBar::Localize() {
  HWND self = m_hWnd;
  CDialogLocalizerEx localizer(self, kTemplateId, GetLngDialogName(kLngSuffixEditor, kTemplateId),
                               {static_cast<int>(kComboId), static_cast<int>(kToolBarId)});
  localizer.Localize();
}

void CLanguageBar::RefillCombo() {
  HWND combo = Combo();
  if (!combo || !m_pLanguageFiles) return;
  std::vector<std::wstring>& files = *m_pLanguageFiles;
  FillLanguageCombo(combo, GetEditorSettings().GetLanguage(), files, std::wstring());
  const std::wstring howTo = GetLocalizedPart(ID_LANGUAGE_HOWTO, false);
  LRESULT index = ::SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(howTo.c_str()));
  if (index >= 0) ::SendMessageW(combo, CB_SETITEMDATA, index, kHowToItemData);
}

void CLanguageBar::PlaceToolBar() {
  HWND combo = Combo();
  if (!combo || !m_wndToolBar.m_hWnd) return;
  RECT comboRect = {}, client = {};
  ::GetWindowRect(combo, &comboRect);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&comboRect), 2);
  ::GetClientRect(m_hWnd, &client);
  const int left = comboRect.right + kToolBarGap;
  m_wndToolBar.MoveWindow(left, client.top, client.right > left ? client.right - left : 0,
                          client.bottom - client.top);
}

void CLanguageBar::OnSize(UINT, int, int) {
  Default();
  PlaceToolBar();
}

void CLanguageBar::OnComboSelChange() {
  HWND combo = Combo();
  const LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0) return;
  const LRESULT data = ::SendMessageW(combo, CB_GETITEMDATA, index, 0);
  CWnd* frame = GetOwner();
  if (!frame) return;
  if (data == kHowToItemData) {
    frame->PostMessage(WM_COMMAND, ID_LANGUAGE_HOWTO, 0);
    return;
  }
  // The item's data is its index in the list the combo was filled from,
  // which is the frame's list as it stands.
  if (data >= 0 && static_cast<size_t>(data) < kLanguageMenuMostItems)
    frame->SendMessage(WM_COMMAND, kLanguageItemFirst + static_cast<UINT>(data), 0);
}

void CLanguageBar::OnComboDropDown() {
  // The files may have changed since the list was filled.
  if (CMainFrame* frame = GetMainFrame()) frame->RefreshLanguageFiles();
}

void CLanguageBar::OnComboCloseUp() {
  ::SendMessageW(Combo(), WM_SETFONT, reinterpret_cast<WPARAM>(editor::GetDialogFont()), TRUE);
}

void CLanguageBar::OnDocUpdate(CView*, LPARAM lHint, LPARAM) {
  if (lHint != kHintLanguage) return;
  Localize();
  RefillCombo();
  m_wndToolBar.Relabel();
  PlaceToolBar();
}

void CLanguageBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kBlinkTimerId) {
    Default();
    return;
  }
  KillTimer(kBlinkTimerId);
  if (m_hBlinkFont) return;
  HFONT large = editor::GetLargeBoldDialogFont();
  LOGFONTW lf = {};
  if (!large || !::GetObjectW(large, sizeof(lf), &lf)) return;
  lf.lfWeight = lf.lfWeight == FW_BOLD ? FW_NORMAL : FW_BOLD;
  m_hBlinkFont = ::CreateFontIndirectW(&lf);
  if (!m_hBlinkFont) return;
  BlinkNotifyRecord notify;
  notify.window = m_hWnd;
  notify.message = kBlinkDoneMessage;
  if (!BlinkControlFontAsync(Combo(), large, m_hBlinkFont, &notify)) {
    ::DeleteObject(m_hBlinkFont);
    m_hBlinkFont = nullptr;
  }
}

LRESULT CLanguageBar::OnBlinkDone(WPARAM, LPARAM) {
  if (m_hBlinkFont) {
    ::DeleteObject(m_hBlinkFont);
    m_hBlinkFont = nullptr;
  }
  HWND combo = Combo();
  ::InvalidateRect(combo, nullptr, TRUE);
  ::SetFocus(combo);
  ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  return 0;
}

LRESULT CLanguageBar::OnCtlColor(WPARAM wParam, LPARAM lParam) {
  const LRESULT brush = Default();
  HWND control = reinterpret_cast<HWND>(lParam);
  if (m_hBlinkFont && (control == Combo() || ::GetParent(control) == Combo()))
    ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
  return brush;
}
