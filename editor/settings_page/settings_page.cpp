#include "editor/settings_page/settings_page.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <set>
#include <vector>

#include "editor/services/editor_system.h"
#include "editor/settings_page/settings_page_helpers.h"
#include "editor/settings_page/settings_page_ids.h"
#include "editor/settings_page/settings_page_rules.h"
#include "editor_settings/buttons/buttons_names.h"
#include "editor_settings/controls/timed_message_box.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/blink_font.h"
#include "editor_settings/helpers/bold_check_box.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "foundation/files/ini.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_dialog_names.h"
#include "foundation/logging/log.h"
#include "settings/settings_area.h"
#include "settings/settings_files.h"

using editor::GetLargeBoldDialogFont;
using editor::GetNormalDialogFont;

namespace {

constexpr wchar_t kAutoStartValue[] = L"Quillora";

std::wstring ListText(unsigned id) { return PageText(id); }

int ScreenDpiY() {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

// The data of the list's selection; false when nothing is selected (CB_ERR
// is never taken for data).
bool SelectedData(const CComboBox& list, int& data) {
  int selection = list.GetCurSel();
  if (selection == CB_ERR) return false;
  data = static_cast<int>(static_cast<INT_PTR>(list.GetItemData(selection)));
  return true;
}

void FillList(CComboBox& list, const std::vector<ListItem>& items) {
  list.ResetContent();
  for (const ListItem& item : items) {
    int index = list.AddString(ListItemText(item, ListText).c_str());
    if (index >= 0) list.SetItemData(index, static_cast<DWORD_PTR>(static_cast<INT_PTR>(item.data)));
  }
}

void SelectData(CComboBox& list, int data) {
  int found = CB_ERR;
  for (int i = 0; i < list.GetCount() && found == CB_ERR; ++i)
    if (static_cast<int>(static_cast<INT_PTR>(list.GetItemData(i))) == data) found = i;
  list.SetCurSel(found);
}

std::vector<HotkeyRecord>& RunSpecialKeys() {
  static std::vector<HotkeyRecord> list;
  return list;
}

}  // namespace

CSettingsPageLocalizer::CSettingsPageLocalizer(CSettingsPage& page, const HWND& dialog)
    : CDialogLocalizerEx(dialog, IDD_SETTINGS_PAGE, GetLngDialogName(kLngSuffixEditor, IDD_SETTINGS_PAGE),
                         {1002, 1004, 1001, 1010, 1013, 1014, 1009, 1042, 1021, 1024, 1029, 1030, 1020, 1034,
                          1043, 1044, 1046, 1045, 1047, 1048}),
      m_page(page) {}

int CSettingsPageLocalizer::Localize() {
  int result = CDialogLocalizerEx::Localize();
  m_page.RenewBuiltTexts();
  return result;
}

BEGIN_MESSAGE_MAP(CSettingsPage, CPageDialog)
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_BN_CLICKED(IDC_SP_AUTOSTART, OnAutoStart)
  ON_BN_CLICKED(IDC_SP_AUTO_UPDATE, OnAutoUpdate)
  ON_BN_CLICKED(IDC_SP_DELAY, OnDelay)
  ON_BN_CLICKED(IDC_SP_HISTORY, OnHistory)
  ON_BN_CLICKED(IDC_SP_HISTORY_IN_MENU, OnHistoryInMenu)
  ON_BN_CLICKED(IDC_SP_MENU_HISTORY_LIMIT, OnMenuHistoryLimit)
  ON_BN_CLICKED(IDC_SP_LAST_USED, OnLastUsed)
  ON_BN_CLICKED(IDC_SP_SAVE_CLOSE, OnSaveAndClose)
  ON_BN_CLICKED(IDC_SP_HIDE, OnHide)
  ON_BN_CLICKED(IDC_SP_FONT, OnFont)
  ON_BN_CLICKED(IDC_SP_EXT_COMMANDS, OnExtendedCommands)
  ON_BN_CLICKED(IDC_SP_HOTKEY_CHECK, OnNothing)
  ON_EN_CHANGE(IDC_SP_HISTORY_MAX, OnNothing)
  ON_CONTROL(CBN_SELENDOK, IDC_SP_PASTE_METHOD, OnPasteMethod)
  ON_CONTROL(CBN_SELENDOK, IDC_SP_TRACKING, OnTracking)
  ON_CONTROL(CBN_SELENDOK, IDC_SP_MOUSE_EVENTS, OnMouseEvents)
  ON_NOTIFY(kHotkeyNotifyChanged, IDC_SP_HOTKEY, OnHotkeyChanged)
  ON_NOTIFY(1232, IDC_SP_HOTKEY, OnHotkeyChanged)
  ON_NOTIFY(kHotkeyNotifyContextMenu, IDC_SP_HOTKEY, OnHotkeyContextMenu)
  ON_NOTIFY(kHotkeyNotifyArrowButton, IDC_SP_HOTKEY, OnHotkeyArrow)
  ON_NOTIFY(qlr_editor::kHoverLinkClickedCode, IDC_SP_WRITE_LOG, OnLogLink)
  ON_NOTIFY(NM_CUSTOMDRAW, IDC_SP_FORMATS, OnFormatsCustomDraw)
  ON_MESSAGE(WM_SP_RUN_KEY_CHANGED, OnRunKeyChanged)
  ON_MESSAGE(WM_SP_CHECK_UPDATES, OnCheckUpdates)
  ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
  ON_MESSAGE(WM_SP_FORMAT_ICONS, OnFormatIcons)
  ON_WM_SETCURSOR()
  ON_MESSAGE(WM_SHOWWINDOW, OnShowWindowMessage)
  ON_MESSAGE(WM_SP_MAKE_TIPS, OnMakeTips)
END_MESSAGE_MAP()

CSettingsPage::CSettingsPage(CWnd* pParent, const SettingsPageHost& host)
    : CPageDialog(IDD_SETTINGS_PAGE, pParent), m_host(host), m_localizer(*this, m_hWnd) {}

CSettingsPage::~CSettingsPage() {
  if (m_hWnd) DestroyWindow();
  if (m_faceBrush) ::DeleteObject(m_faceBrush);
}

BOOL CSettingsPage::Create() {
  return CPageDialog::Create(IDD_SETTINGS_PAGE, m_pParentWnd);
}

BOOL CSettingsPage::CreateInParts() {
  auto parts = std::make_unique<DialogTemplate>();
  if (!parts->Load(AfxGetResourceHandle(), IDD_SETTINGS_PAGE)) {
    Log(L"CSettingsPage: the template is made in one go");
    return Create();
  }
  m_nextControl = 0;
  m_parts = std::move(parts);
  if (CreateIndirect(m_parts->Frame(), m_pParentWnd, m_parts->Module())) return TRUE;
  m_parts.reset();
  return FALSE;
}

CSettingsPage::PartResult CSettingsPage::MakeNextPart() {
  // Enough controls for a few milliseconds.
  constexpr size_t kControlsPerPart = 6;
  if (!m_hWnd) return PartResult::kFailed;
  if (!m_parts) return PartResult::kDone;
  if (m_nextControl < m_parts->ControlCount()) {
    if (m_parts->MakeControls(m_hWnd, &m_nextControl, kControlsPerPart)) return PartResult::kMore;
    LogError(L"CSettingsPage: control " + std::to_wstring(m_nextControl) + L" of the template cannot be made");
    m_parts.reset();
    return PartResult::kFailed;
  }
  m_parts.reset();
  OnInitDialog();
  return PartResult::kDone;
}

std::wstring CSettingsPage::TrayProgramPath() const {
  if (!m_host.trayProgramPath.empty()) return m_host.trayProgramPath;
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length < MAX_PATH ? length : 0);
  size_t slash = folder.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
  return folder + L"Quillora.exe";
}

BOOL CSettingsPage::OnInitDialog() {
  // Made in parts, the page is filled once its last control is made.
  if (m_parts) return FALSE;
  CPageDialog::OnInitDialog();
  if (m_host.listen) m_host.listen(this, true);

  // The hotkey control takes the place of the template's field.
  HWND field = Control(IDC_SP_HOTKEY);
  RECT place = {8, 8, 200, 30};
  if (field) {
    ::GetWindowRect(field, &place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    ::DestroyWindow(field);
  }
  // Its "WIN" and "x2" boxes lie under its field: never shorter than the
  // control asks, and the test's result label below them, or a click on
  // a box would land on the label.
  MINMAXINFO least = {};
  m_hotkey.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, place, this, IDC_SP_HOTKEY);
  m_hotkey.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&least));
  if (place.bottom - place.top < least.ptMinTrackSize.y) {
    place.bottom = place.top + least.ptMinTrackSize.y;
    m_hotkey.SetWindowPos(nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (HWND result = Control(IDC_SP_HOTKEY_RESULT)) {
    RECT label = {};
    ::GetWindowRect(result, &label);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&label), 2);
    if (label.top < place.bottom) {
      const int height = std::max<int>(label.bottom - place.bottom, ::GetSystemMetrics(SM_CYMENU));
      ::SetWindowPos(result, nullptr, label.left, place.bottom, label.right - label.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  m_hotkey.SetFont(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  m_hotkey.SetDoubleText(L"x2");
  if (field) ::SetWindowPos(m_hotkey.m_hWnd, Control(IDC_SP_HOTKEY_GROUP), 0, 0, 0, 0,
                            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  SubclassControl(m_fontSample, IDC_SP_FONT_SAMPLE);
  SubclassControl(m_formats, IDC_SP_FORMATS);
  m_formats.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  RECT client = {};
  ::GetClientRect(m_formats.m_hWnd, &client);
  m_formats.InsertColumn(0, L"", LVCFMT_LEFT, client.right - client.left);

  SubclassControl(m_pasteMethod, IDC_SP_PASTE_METHOD);
  SubclassControl(m_tracking, IDC_SP_TRACKING);
  SubclassControl(m_mouseEvents, IDC_SP_MOUSE_EVENTS);
  FillLists();

  // The title spans the page under the Hide and Save buttons: last in the
  // z-order and clipped by them, it never paints over them.
  ::SetWindowPos(Control(IDC_SP_TITLE), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SubclassControl(m_saveButton, IDC_SP_SAVE_CLOSE);
  SubclassControl(m_hideButton, IDC_SP_HIDE);
  HINSTANCE resources = ::GetModuleHandleW(nullptr);
  m_saveButton.SetIcon(static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDI_SETTINGS_SAVE), IMAGE_ICON,
                                                        16, 16, 0)),
                       qlr_editor::CThemedIconButton::kIconLeft);
  m_hideButton.SetIcon(static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDI_SETTINGS_HIDE), IMAGE_ICON,
                                                        16, 16, 0)),
                       qlr_editor::CThemedIconButton::kIconLeft);
  SetText(IDC_SP_SAVE_CLOSE, PageText(IDS_SP_SAVE_CLOSE).c_str());
  SubclassControl(m_logBox, IDC_SP_WRITE_LOG);

  for (const NumberRow& row : SettingsNumberRows()) {
    CallControl(row.spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(row.edit)));
    CallControl(row.spin, UDM_SETRANGE32, static_cast<WPARAM>(row.low), row.high);
  }
  SetBoldWhenChecked(Control(IDC_SP_HISTORY));
  SetBoldWhenChecked(Control(IDC_SP_AUTOSTART));
  ::SendMessageW(Control(IDC_SP_HOTKEY_RESULT), WM_SETFONT, reinterpret_cast<WPARAM>(GetNormalDialogFont()), TRUE);
  ::SendMessageW(Control(IDC_SP_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(GetLargeBoldDialogFont()), TRUE);
  ::SendMessageW(Control(IDC_SP_SAVE_CLOSE), WM_SETFONT, reinterpret_cast<WPARAM>(GetBoldDialogFont()), TRUE);

  SubclassControl(m_updateLink, IDC_SP_UPDATE_LINK);
  // The dialog's texts only: LoadControls below builds every other text,
  // and the format rows ask the shell for their names once.
  m_localizer.CDialogLocalizerEx::Localize();
  SetText(IDC_SP_UPDATE_LINK, PageText(IDS_SP_UPDATE_NOW).c_str());
  LoadControls();
  m_watcher.Start(m_hWnd, WM_SP_RUN_KEY_CHANGED);
  CheckHotKey(false);
  SetText(IDC_SP_TITLE, PageText(IDS_SP_TITLE).c_str());
  m_updateLink.SetURL(qlr_editor::CHyperLink::MakeMessageLink(WM_SP_CHECK_UPDATES).c_str());
  for (int id : {IDC_SP_MOUSE_LABEL, IDC_SP_PASTE_LABEL, IDC_SP_TRACKING_LABEL, IDC_SP_FORMATS_LABEL})
    ::SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(GetBoldDialogFont()), TRUE);
  m_filled = true;
  // The shell is asked for the format rows' icons once the page is made:
  // its first icons take a while, and a thread asking for them holds up
  // every window made beside it.
  StartAskingForFormatImages(m_hWnd);
  return TRUE;
}

BOOL CSettingsPage::PreTranslateMessage(MSG* pMsg) {
  // The first mouse message over the page makes its tips, before it is
  // relayed to them.
  if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) MakeToolTips();
  if (m_tips.m_hWnd) m_tips.RelayEvent(pMsg);
  // The dialog keys would take Alt+0 and Alt+2 as mnemonics: the frame
  // switches its panes with them wherever the focus is. Its other keys
  // (copy, paste, undo) stay the page's own.
  if (pMsg->message == WM_SYSKEYDOWN && (pMsg->wParam == '0' || pMsg->wParam == '2')) {
    CWnd* frame = AfxGetMainWnd();
    if (frame && frame != this && frame->m_hWnd && frame->PreTranslateMessage(pMsg)) return TRUE;
  }
  return CPageDialog::PreTranslateMessage(pMsg);
}

void CSettingsPage::RenewBuiltTexts() {
  if (!m_hWnd) return;
  // The lists are filled anew in the new language; the user's choices stay.
  const ControlValues shown = ReadControlValues();
  SetUpToolTips();
  FillLists();
  {
    CQLREditorSettings& settings = GetEditorSettings();
    SelectData(m_pasteMethod, settings.textPasteMethod);
    SelectData(m_tracking, settings.clipboardSpyMethod);
    m_mouseEvents.SetCurSel(0);
  }
  SetText(IDC_SP_UPDATE_LINK, PageText(IDS_SP_UPDATE_NOW).c_str());
  for (int id : {IDC_SP_PASTE_METHOD, IDC_SP_TRACKING, IDC_SP_MOUSE_EVENTS}) RenewListTip(id);
  FillFormatList();
  if (!m_loadedValues.empty()) WriteChangedControlValues(shown, ReadControlValues());
  SetFontSample();
}

void CSettingsPage::FillLists() {
  FillList(m_pasteMethod, PasteMethodItems());
  FillList(m_tracking, TrackingItems(IsClipboardListenerSupported()));
  FillList(m_mouseEvents, MouseEventItems());
}

std::wstring CSettingsPage::FieldText(int id) const {
  HWND field = Control(id);
  int length = ::GetWindowTextLengthW(field);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(field, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void CSettingsPage::LoadAutoStart() {
  bool set = IsAutoStartSet(kAutoStartValue, TrayProgramPath());
  Check(IDC_SP_AUTOSTART, set);
}

void CSettingsPage::ApplyAutoStart() {
  std::wstring command = TrayProgramPath() + L" /autoload";
  SetAutoStart(IsChecked(IDC_SP_AUTOSTART), kAutoStartValue, command.c_str());
}

void CSettingsPage::LoadControls() {
  if (!m_hWnd) return;
  // A reload (the tray program changed options) keeps every control the
  // user changed and has not saved.
  const ControlValues shown = m_loadedValues.empty() ? ControlValues() : ReadControlValues();
  SetUpToolTips();
  CQLREditorSettings& settings = GetEditorSettings();
  // A value with another text is rewritten (or removed) at once.
  LoadAutoStart();
  ApplyAutoStart();
  for (const CheckRow& row : SettingsCheckRows())
    Check(row.id, settings.*row.field != 0);
  for (const NumberRow& row : SettingsNumberRows()) {
    int stored = row.get(settings);
    int shown = row.shown(stored);
    if (row.guard) Check(row.guard, stored > 0);
    SetText(row.edit, std::to_wstring(shown).c_str());
  }
  HotkeyRecord hotkey = StoredHotkeyRecord(settings);
  m_hotkey.SetHotkey(hotkey.key, hotkey.modifiers & ~MOD_WIN, (hotkey.modifiers & MOD_WIN) != 0, hotkey.IsDouble());
  SelectData(m_pasteMethod, settings.textPasteMethod);
  SelectData(m_tracking, settings.clipboardSpyMethod);
  m_mouseEvents.SetCurSel(0);
  FillFormatList();
  const ControlValues loaded = ReadControlValues();
  if (!m_loadedValues.empty()) WriteChangedControlValues(shown, m_loadedValues);
  m_loadedValues = loaded;
  SetFontSample();
  EnableStates();
  for (int id : {IDC_SP_PASTE_METHOD, IDC_SP_TRACKING, IDC_SP_MOUSE_EVENTS}) RenewListTip(id);
}

bool CSettingsPage::WriteSettings(DWORD* error) {
  *error = ERROR_SUCCESS;
  // A page not filled yet (made in parts, closed before its last part)
  // shows nothing of the user's: it must not write its empty controls.
  if (!m_hWnd || !m_filled) return true;
  const ControlValues shown = ReadControlValues();
  auto changed = [&](int id) {
    auto before = m_loadedValues.find(id);
    auto now = shown.find(id);
    return before == m_loadedValues.end() || now == shown.end() || before->second != now->second;
  };
  // The tray program may have changed options since the page was filled
  // (an editor started before it hears none of them): every value the page
  // did not change keeps what the file holds now. A file that cannot be
  // written (or read) leaves the editor's values as they are.
  const bool saved = GetEditorSettings().SaveChangeOverFile([&](CQLREditorSettings& settings) {
    for (const CheckRow& row : SettingsCheckRows())
      if (changed(row.id)) settings.*row.field = IsChecked(row.id) ? 1 : 0;
    for (const NumberRow& row : SettingsNumberRows()) {
      if (!changed(row.edit) && !(row.guard && changed(row.guard))) continue;
      bool guarded = row.guard == 0 || IsChecked(row.guard);
      row.set(settings, row.saved(ParseFieldNumber(FieldText(row.edit)), row.get(settings), guarded));
    }
    if (changed(IDC_SP_HOTKEY)) SaveHotkeyRecord(settings, ControlHotkey());
    int data = 0;
    if (changed(IDC_SP_PASTE_METHOD) && SelectedData(m_pasteMethod, data))
      settings.textPasteMethod = SavedPasteMethod(data, settings.textPasteMethod);
    if (changed(IDC_SP_TRACKING) && SelectedData(m_tracking, data))
      settings.clipboardSpyMethod = SavedTrackingMethod(data, settings.clipboardSpyMethod);
    if (changed(IDC_SP_MOUSE_EVENTS) && SelectedData(m_mouseEvents, data))
      settings.gestureType = SavedGestureType(data, settings.gestureType);
    for (int i = 0; i < 5 && i < m_formats.GetItemCount(); ++i)
      if (changed(FormatRowKey(i)))
        settings.clipboardFormats[i] = (m_formats.GetItemState(i, LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0;
  });
  const DWORD saveError = ::GetLastError();
  ApplyAutoStart();
  if (saved) {
    // What is saved is the new baseline: only a later change is the
    // user's again, and it is saved at the next save.
    m_loadedValues = shown;
    m_savedValues = shown;
    m_anySaved = true;
    return true;
  }
  *error = saveError ? saveError : ERROR_WRITE_FAULT;
  return false;
}

std::wstring CSettingsPage::SaveFailureText(DWORD error) const {
  return PageText(IDS_SP_CANNOT_SAVE) + L"\n" + GetSettingsIniPath() + L"\n\n" + PageText(IDS_SP_ERROR_CODE) +
         std::to_wstring(error) + L" " + FormatSystemErrorText(error);
}

bool CSettingsPage::SaveControls() {
  DWORD error = ERROR_SUCCESS;
  if (WriteSettings(&error)) return true;
  // The user's choices would be lost without a word: say where and why.
  HWND owner = m_host.mainWindow ? m_host.mainWindow : m_hWnd;
  ::MessageBoxW(owner, SaveFailureText(error).c_str(), qlr_editor::kEditorBoxCaption, MB_OK | MB_ICONERROR);
  return false;
}

bool CSettingsPage::SaveBeforeClose() {
  m_dropChanges = false;
  DWORD error = ERROR_SUCCESS;
  if (WriteSettings(&error)) return true;
  // Whatever keeps the file from being written (it cannot be written, or
  // the store refuses to write over it), the user decides: close without
  // the page's changes, or stay.
  HWND owner = m_host.mainWindow ? m_host.mainWindow : m_hWnd;
  const std::wstring text = SaveFailureText(error) + L"\n\n" + PageText(IDS_SP_CLOSE_UNSAVED);
  if (::MessageBoxW(owner, text.c_str(), qlr_editor::kEditorBoxCaption, MB_YESNO | MB_ICONWARNING) != IDYES)
    return false;
  m_dropChanges = true;
  return true;
}

HotkeyRecord CSettingsPage::ControlHotkey() const {
  WORD key = 0;
  WORD modifiers = 0;
  bool win = false;
  bool doublePress = false;
  m_hotkey.GetHotkey(key, modifiers, win, doublePress);
  HotkeyRecord record;
  record.key = key;
  record.modifiers = static_cast<std::uint16_t>(win ? (modifiers | MOD_WIN) : (modifiers & ~MOD_WIN));
  record.flags = doublePress ? HotkeyRecord::kDoublePress : 0;
  return record;
}

bool CSettingsPage::ReadTrayHotkey(HotkeyRecord& hotkey) const {
  if (m_host.readMainHotkey) return m_host.readMainHotkey(hotkey);
  SettingsAreaRecord area;
  if (!ReadSettingsArea(area)) return false;
  hotkey = HotkeyRecord();
  hotkey.key = area.hotKeyKey;
  hotkey.modifiers = area.hotKeyMod;
  hotkey.flags = area.doubled ? HotkeyRecord::kDoublePress : 0;
  return true;
}

void CSettingsPage::CheckHotKey(bool blink) {
  HotkeyRecord hotkey = ControlHotkey();
  if (hotkey.key) ::ShowWindow(Control(IDC_SP_HOTKEY_RESULT), SW_SHOWNA);
  DWORD code = 0;
  HotkeyRecord tray;
  if (ReadTrayHotkey(tray) && tray.key == hotkey.key && tray.modifiers == hotkey.modifiers) {
    m_hotkeyTestState = tray.IsDouble() == hotkey.IsDouble() ? kHotkeyUsedByTray : kHotkeyValidated;
    m_hotkeyTestOk = true;
  } else {
    DWORD lastError = ::GetLastError();
    HWND target = m_host.mainWindow ? m_host.mainWindow : m_hWnd;
    if (::RegisterHotKey(target, kHotkeyTestId, hotkey.modifiers, hotkey.key)) {
      ::UnregisterHotKey(target, kHotkeyTestId);
      m_hotkeyTestState = kHotkeyValidated;
      m_hotkeyTestOk = true;
    } else {
      code = ::GetLastError();
      m_hotkeyTestState = kHotkeyConflict;
      m_hotkeyTestOk = false;
    }
    ::SetLastError(lastError);
  }
  UINT textId = m_hotkeyTestState == kHotkeyUsedByTray
                    ? IDS_SP_HOTKEY_TRAY
                    : (m_hotkeyTestState == kHotkeyValidated ? IDS_SP_HOTKEY_OK : IDS_SP_HOTKEY_CONFLICT);
  std::wstring text = PageText(textId);
  if (m_hotkeyTestOk)
    text += L"\u2026";
  else
    text += L"!\r\n" + PageText(IDS_SP_ERROR_CODE) + std::to_wstring(code) + L" " + FormatSystemErrorText(code);
  m_hotkeyTestText = text;
  SetText(IDC_SP_HOTKEY_RESULT, text.c_str());
  SetTip(IDC_SP_HOTKEY_RESULT, text);
  ::InvalidateRect(Control(IDC_SP_HOTKEY_RESULT), nullptr, TRUE);
  if (blink) BlinkControlFontAsync(Control(IDC_SP_HOTKEY_RESULT), GetNormalDialogFont(),
                                   GetBoldDialogFont(), nullptr);
}

void CSettingsPage::OnDocumentUpdate(LPARAM hint) {
  if (hint != kHintLanguageChanged || !m_hWnd) return;
  m_localizer.Localize();
  CheckHotKey(false);
  SetText(IDC_SP_TITLE, PageText(IDS_SP_TITLE).c_str());
}

void CSettingsPage::EnableMenuHistoryCount() {
  HWND box = Control(IDC_SP_MENU_HISTORY_LIMIT);
  bool on = IsChecked(IDC_SP_MENU_HISTORY_LIMIT) && ::IsWindowEnabled(box);
  bool was = ::IsWindowEnabled(Control(IDC_SP_MENU_HISTORY_COUNT)) != FALSE;
  Enable(IDC_SP_MENU_HISTORY_COUNT, on);
  Enable(IDC_SP_MENU_HISTORY_SPIN, on);
  if (on && !was && FieldText(IDC_SP_MENU_HISTORY_COUNT).empty()) {
    SetText(IDC_SP_MENU_HISTORY_COUNT, L"15");
    ::SetFocus(Control(IDC_SP_MENU_HISTORY_COUNT));
  }
}

void CSettingsPage::EnableMenuHistory() {
  HWND box = Control(IDC_SP_HISTORY_IN_MENU);
  bool on = IsChecked(IDC_SP_HISTORY_IN_MENU) && ::IsWindowEnabled(box);
  for (int id : {IDC_SP_MENU_HISTORY_LIMIT, IDC_SP_MENU_HISTORY_COUNT, IDC_SP_MENU_HISTORY_SPIN, IDC_SP_HISTORY_SUBMENU})
    Enable(id, on);
  EnableMenuHistoryCount();
}

void CSettingsPage::EnableHistoryGroup() {
  bool on = IsChecked(IDC_SP_HISTORY);
  for (int id : {1015, 1013, 1014, 1019, 1027, 1028, 1029, 1030, 1031, 1040, 1035, 1041, 1042}) Enable(id, on);
}

void CSettingsPage::EnableStates() {
  EnableHistoryGroup();
  EnableMenuHistory();
  bool days = IsChecked(IDC_SP_AUTO_UPDATE);
  Enable(IDC_SP_UPDATE_DAYS, days);
  Enable(IDC_SP_UPDATE_DAYS_SPIN, days);
  bool delay = IsChecked(IDC_SP_DELAY);
  Enable(IDC_SP_DELAY_SECONDS, delay);
  Enable(IDC_SP_DELAY_SPIN, delay);
  bool lastUsed = IsChecked(IDC_SP_LAST_USED);
  Enable(IDC_SP_LAST_USED_COUNT, lastUsed);
  Enable(IDC_SP_LAST_USED_SPIN, lastUsed);
  int data = -1;
  bool shortText = SelectedData(m_pasteMethod, data) && data == 2;
  Enable(IDC_SP_PRINT_CHARS, shortText);
  Enable(IDC_SP_PRINT_CHARS_SPIN, shortText);
  Enable(IDC_SP_MOUSE_EVENTS, false);
  Enable(IDC_SP_MOUSE_LABEL, false);
}

void CSettingsPage::OnAutoStart() { ApplyAutoStart(); }

void CSettingsPage::OnAutoUpdate() {
  bool on = IsChecked(IDC_SP_AUTO_UPDATE);
  Enable(IDC_SP_UPDATE_DAYS, on);
  Enable(IDC_SP_UPDATE_DAYS_SPIN, on);
  if (on) ::SetFocus(Control(IDC_SP_UPDATE_DAYS));
}

void CSettingsPage::OnDelay() {
  bool on = IsChecked(IDC_SP_DELAY);
  Enable(IDC_SP_DELAY_SECONDS, on);
  Enable(IDC_SP_DELAY_SPIN, on);
  if (on) {
    int stored = static_cast<int>(GetEditorSettings().delayAutoLoadSeconds);
    if (FieldText(IDC_SP_DELAY_SECONDS).empty() || ParseFieldNumber(FieldText(IDC_SP_DELAY_SECONDS)) == 0) {
      int shown = stored >= 1 && stored <= 600 ? stored : 30;
      SetText(IDC_SP_DELAY_SECONDS, std::to_wstring(shown).c_str());
    }
  }
  ::SetFocus(Control(IDC_SP_DELAY_SECONDS));
}

void CSettingsPage::OnHistory() {
  EnableHistoryGroup();
  EnableMenuHistory();
}

void CSettingsPage::OnHistoryInMenu() { EnableMenuHistory(); }
void CSettingsPage::OnMenuHistoryLimit() { EnableMenuHistoryCount(); }

void CSettingsPage::OnLastUsed() {
  bool on = IsChecked(IDC_SP_LAST_USED);
  Enable(IDC_SP_LAST_USED_COUNT, on);
  Enable(IDC_SP_LAST_USED_SPIN, on);
  ::SendMessageW(Control(IDC_SP_LAST_USED_COUNT), EM_LIMITTEXT, 1, 0);
  if (on) ::SetFocus(Control(IDC_SP_LAST_USED_COUNT));
}

void CSettingsPage::OnSaveAndClose() {
  if (m_host.mainWindow) ::SendMessageW(m_host.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CSettingsPage::OnHide() {
  if (m_host.hideSettings) m_host.hideSettings();
}

void CSettingsPage::OnPasteMethod() {
  RenewListTip(IDC_SP_PASTE_METHOD);
  int data = -1;
  bool shortText = SelectedData(m_pasteMethod, data) && data == 2;
  Enable(IDC_SP_PRINT_CHARS, shortText);
  Enable(IDC_SP_PRINT_CHARS_SPIN, shortText);
}

void CSettingsPage::OnHotkeyChanged(NMHDR*, LRESULT* result) {
  CheckHotKey(true);
  *result = 0;
}

void CSettingsPage::OnHotkeyContextMenu(NMHDR* header, LRESULT* result) {
  const HotkeyNotify* notify = reinterpret_cast<const HotkeyNotify*>(header);
  ShowSpecialKeyMenu(POINT{notify->x, notify->y});
  *result = 1;
}

void CSettingsPage::OnHotkeyArrow(NMHDR* header, LRESULT* result) {
  const HotkeyNotify* notify = reinterpret_cast<const HotkeyNotify*>(header);
  ShowSpecialKeyMenu(POINT{notify->right, notify->bottom});
  *result = 1;
}

void CSettingsPage::OnLogLink(NMHDR*, LRESULT* result) {
  if (m_host.mainWindow) ::SendMessageW(m_host.mainWindow, WM_COMMAND, kCommandOpenLogFile, 0);
  *result = 0;
}

HMENU CSettingsPage::BuildSpecialKeyMenu(std::vector<HotkeyRecord>& list) {
  HotkeyRecord current = ControlHotkey();
  list = BuildSpecialKeyList(FixedSpecialKeys(), RunSpecialKeys(), current);
  HMENU menu = ::CreatePopupMenu();
  for (size_t i = 0; i < list.size(); ++i) {
    UINT id = kSpecialKeyFirstCommand + static_cast<UINT>(i);
    if (list[i].key == 0) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    bool same = current.key != 0 && SameHotkey(list[i], current);
    ::AppendMenuW(menu, MF_STRING | (same ? MF_CHECKED : 0), id, HotkeyToDisplayText(list[i]).c_str());
    if (same) ::SetMenuDefaultItem(menu, id, FALSE);
  }
  return menu;
}

bool CSettingsPage::ChooseSpecialKey(UINT command) {
  std::vector<HotkeyRecord> list = BuildSpecialKeyList(FixedSpecialKeys(), RunSpecialKeys(), ControlHotkey());
  if (command < kSpecialKeyFirstCommand || command - kSpecialKeyFirstCommand >= list.size()) return false;
  const HotkeyRecord& chosen = list[command - kSpecialKeyFirstCommand];
  if (chosen.key == 0) return false;
  m_hotkey.SetHotkey(chosen.key, chosen.modifiers & ~MOD_WIN, (chosen.modifiers & MOD_WIN) != 0, chosen.IsDouble());
  CheckHotKey(true);
  return true;
}

void CSettingsPage::ShowSpecialKeyMenu(POINT screen) {
  std::vector<HotkeyRecord> list;
  HMENU menu = BuildSpecialKeyMenu(list);
  if (m_host.menuTips) m_host.menuTips(true);
  UINT command = static_cast<UINT>(
      ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr));
  if (m_host.menuTips) m_host.menuTips(false);
  ::DestroyMenu(menu);
  if (command) ChooseSpecialKey(command);
}

void CSettingsPage::SetFontSample() {
  CQLREditorSettings& settings = GetEditorSettings();
  LOGFONTW font = SaneMenuFont(settings.fontForMenu, SystemMenuFont());
  m_fontSample.SetLabelFont(font, ::GetSysColor(COLOR_MENUTEXT), FALSE);
  m_fontSample.SetBkColour(::GetSysColor(COLOR_MENU), FALSE);
  SetText(IDC_SP_FONT_SAMPLE, FontSampleText(PageText(IDS_SP_FONT_FOR_MENU), font, ScreenDpiY()).c_str());
  ::InvalidateRect(m_fontSample.m_hWnd, nullptr, TRUE);
}

void CSettingsPage::ShowFontDialog() {
  CQLREditorSettings& settings = GetEditorSettings();
  LOGFONTW preset = SaneMenuFont(settings.fontForMenu, SystemMenuFont());
  CFontDialog dialog(&preset, CF_SCREENFONTS, this);
  if (dialog.DoModal() != IDOK) return;
  settings.fontForMenu = dialog.m_lf;
  // Written at once: a reload from the tray program must not drop it.
  IniWriteStruct(GetSettingsIniPath().c_str(), L"Settings", L"FontForMenu", &settings.fontForMenu,
                 sizeof(settings.fontForMenu));
  SetFontSample();
  if (m_host.updateViews) m_host.updateViews(kHintMenuFontChanged);
}

void CSettingsPage::ShowExtendedCommands() {
  CQLREditorSettings& settings = GetEditorSettings();
  std::wstring names = PageText(IDS_SP_EXT_EDIT) + L"\n" + PageText(IDS_SP_EXT_SAVE_SEL) + L"\n" + PageText(IDS_SP_EXT_SUPPORT);
  std::set<unsigned> checked;
  for (unsigned i = 0; i < 3; ++i)
    if (settings.extMenuCommand[i]) checked.insert(i);
  std::wstring text = PageText(IDS_SP_EXT_TEXT) + L"\n\n" + PageText(IDS_SP_EXT_MENU_COMMANDS) + L":";
  int result = ShowTimedMessageBox(m_hWnd, MB_OKCANCEL, text, qlr_editor::kEditorBoxCaption, names, &checked, {}, -1,
                                   -1, nullptr, 0, {});
  if (result == IDCANCEL || result == 0) return;
  const std::wstring ini = GetSettingsIniPath();
  static const wchar_t* const kKeys[3] = {L"ExtMenuCommand__EditSetting", L"ExtMenuCommand__SaveSelAsPhrase",
                                          L"ExtMenuCommand__SUPPORT"};
  for (unsigned i = 0; i < 3; ++i) {
    settings.extMenuCommand[i] = checked.count(i) ? 1 : 0;
    // Written at once, like the font.
    IniWriteInt(ini.c_str(), L"Settings", kKeys[i], settings.extMenuCommand[i] ? 1 : 0);
  }
}

LRESULT CSettingsPage::OnRunKeyChanged(WPARAM, LPARAM) {
  LoadAutoStart();
  return 0;
}

LRESULT CSettingsPage::OnCheckUpdates(WPARAM, LPARAM) {
  if (m_host.requestUpdateCheck) m_host.requestUpdateCheck();
  return 0;
}

LRESULT CSettingsPage::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id == IDC_SP_HOTKEY_RESULT) {
    COLORREF colour = m_hotkeyTestState == kHotkeyUsedByTray
                          ? RGB(0, 128, 0)
                          : (m_hotkeyTestState == kHotkeyValidated ? RGB(0, 0, 255) : RGB(255, 0, 0));
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
  }
  if (id == IDC_SP_TITLE) {
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    HWND title = reinterpret_cast<HWND>(lParam);
    if (::IsAppThemed()) {
      HTHEME theme = ::OpenThemeData(title, L"Window");
      if (theme) {
        RECT r = {};
        ::GetClientRect(title, &r);
        ::DrawThemeBackground(theme, dc, WP_CAPTION, CS_ACTIVE, &r, nullptr);
        ::CloseThemeData(theme);
        ::SetBkMode(dc, TRANSPARENT);
      }
    }
    if (!m_faceBrush) m_faceBrush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(m_faceBrush);
  }
  return Default();
}

void CSettingsPage::OnSize(UINT nType, int cx, int cy) {
  (void)cy;
  if (nType == SIZE_MINIMIZED) return;
  HWND title = Control(IDC_SP_TITLE);
  HWND save = Control(IDC_SP_SAVE_CLOSE);
  HWND hide = Control(IDC_SP_HIDE);
  if (!title || !save || !hide) return;
  RECT t = {};
  ::GetWindowRect(title, &t);
  int titleHeight = t.bottom - t.top;
  ::MoveWindow(title, 0, 0, cx, titleHeight, TRUE);
  RECT s = {};
  ::GetWindowRect(save, &s);
  int saveWidth = s.right - s.left;
  int saveX = cx - saveWidth - 1;
  int buttonHeight = titleHeight - 3 > 0 ? titleHeight - 3 : 1;
  ::MoveWindow(save, saveX, 1, saveWidth, buttonHeight, TRUE);
  int hideX = cx - (saveX + saveWidth);  // mirrored: 1 when the title spans the page
  ::MoveWindow(hide, hideX, 1, saveWidth, buttonHeight, TRUE);
}

void CSettingsPage::OnDestroy() {
  StopTellingOfFormatImages(m_hWnd);
  m_watcher.Stop();
  if (m_host.listen) m_host.listen(this, false);
  // Saved at the close already (and nothing changed since), or left
  // unsaved by the user's choice: nothing is written again.
  const bool saved = m_anySaved && ReadControlValues() == m_savedValues;
  if (!m_dropChanges && !saved) SaveControls();
  Default();
  m_controls.clear();
}
