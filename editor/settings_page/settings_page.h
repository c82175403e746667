// CSettingsPage: the editor's page of every option of the tray program, a
// child dialog on template 130 inside the settings tab. It fills its
// controls from the editor's settings, writes them back when it is
// destroyed, keeps the autostart box in step with the registry and tests
// the hotkey against the tray program and the system.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "editor/services/page_dialog.h"
#include "editor/settings_page/run_key_watcher.h"
#include "editor/settings_page/settings_page_host.h"
#include "editor_settings/buttons/color_label.h"
#include "editor_settings/buttons/hover_link_button.h"
#include "editor_settings/buttons/hyperlink.h"
#include "editor_settings/buttons/themed_icon_button.h"
#include "editor_settings/controls/hotkey_ctrl_ex.h"
#include "foundation/localization/dialog_localizer.h"
#include "foundation/ui/dialog_template.h"
#include "platform/mfc/afxcmn.h"

// Messages of the page.
constexpr UINT WM_SP_RUN_KEY_CHANGED = WM_APP + 1;
constexpr UINT WM_SP_CHECK_UPDATES = WM_APP + 2;
// Posted to the page: put the format rows' icons in once the shell has them.
constexpr UINT WM_SP_FORMAT_ICONS = WM_APP + 3;
// Posted to the page once it is shown: make its tips.
constexpr UINT WM_SP_MAKE_TIPS = WM_APP + 4;
// RegisterHotKey identifier of the hotkey test.
constexpr int kHotkeyTestId = 2342;
// Command identifiers of the special-key popup.
constexpr UINT kSpecialKeyFirstCommand = 32000;

// For tests: the shell is asked for the format rows' icons only once the
// event is set (call before the process's first page).
void HoldFormatImagesUntil(HANDLE released);

// Results of the hotkey test.
enum HotkeyTestStates { kHotkeyUsedByTray = 0, kHotkeyValidated = 1, kHotkeyConflict = 2 };

class CSettingsPage;

// The page's localiser: after the dialog's texts it renews every text the
// page builds itself.
class CSettingsPageLocalizer : public CDialogLocalizerEx {
 public:
  CSettingsPageLocalizer(CSettingsPage& page, const HWND& dialog);
  int Localize() override;

 private:
  CSettingsPage& m_page;
};

class CSettingsPage : public CPageDialog {
 public:
  CSettingsPage(CWnd* pParent, const SettingsPageHost& host);
  ~CSettingsPage() override;

  // Makes the page on template 130 as a child of its parent.
  BOOL Create();
  // The same in parts, for a page made while its program starts: the
  // page's window (hidden, at its full size) now, then each MakeNextPart
  // makes a few of its controls, and the last one fills the page as Create
  // does. Between parts the thread answers its messages.
  BOOL CreateInParts();
  enum class PartResult { kMore, kDone, kFailed };
  PartResult MakeNextPart();

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The key of a format row's value among the page's control values.
  static constexpr int FormatRowKey(int row) { return 0x10000 + row; }

  void LoadControls();
  // Saves what the page changed since it was filled (or last saved), over
  // the file's current values for the rest. False (the user told, with the
  // file and the error) when Settings.ini could not be written.
  bool SaveControls();
  // The save of a closing editor: true lets it close (saved, or the user
  // chose to close without the page's changes), false keeps it open.
  bool SaveBeforeClose();
  void CheckHotKey(bool blink);
  // A document hint: 4 (language) localises the page again.
  void OnDocumentUpdate(LPARAM hint);
  // Renews every text the page builds itself (the localiser's second half).
  void RenewBuiltTexts();

  int GetHotkeyTestState() const { return m_hotkeyTestState; }
  bool GetHotkeyTestOk() const { return m_hotkeyTestOk; }
  // The hotkey text shown in 1004.
  const std::wstring& GetHotkeyTestText() const { return m_hotkeyTestText; }
  RunKeyWatcher& GetRunKeyWatcher() { return m_watcher; }
  // The popup's choice for a command id; false for none.
  bool ChooseSpecialKey(UINT command);
  // Builds the special-key popup (caller destroys it) and the list behind it.
  HMENU BuildSpecialKeyMenu(std::vector<HotkeyRecord>& list);
  void ShowSpecialKeyMenu(POINT screen);
  void ShowFontDialog();
  void ShowExtendedCommands();

 protected:
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);

 private:
  std::wstring TrayProgramPath() const;
  void ApplyAutoStart();
  void LoadAutoStart();
  void EnableStates();
  void EnableHistoryGroup();
  void EnableMenuHistory();
  void EnableMenuHistoryCount();
  // The page's tips are made once the page is shown (right after, never
  // inside the input or paint that comes then), or at the first mouse
  // message over it, whichever comes first: each tool costs a trip to the
  // window server. Until then SetUpToolTips and SetTip do nothing.
  void MakeToolTips();
  void SetUpToolTips();
  void SetTip(int id, const std::wstring& text);
  void FillLists();
  void FillFormatList();
  // Puts the shell's icons on the format rows when the shell has them, or
  // when the list is to be seen (waiting for them then); else leaves them
  // to the list's first paint.
  // mayWait: the list is being painted, or the shell's work has ended and
  // only its thread is still to be joined.
  void ShowFormatIcons(bool mayWait);
  void RenewListTip(int id);
  void SetFontSample();
  HotkeyRecord ControlHotkey() const;
  // What the controls show, by control id (settings_page_values.cpp): a
  // box's state, a field's text, a list's selection, the hotkey, the
  // format rows.
  using ControlValues = std::map<int, std::wstring>;
  ControlValues ReadControlValues() const;
  void WriteControlValue(int id, const std::wstring& value);
  // Puts back each value of shown that differs from baseline.
  void WriteChangedControlValues(const ControlValues& shown, const ControlValues& baseline);
  bool ReadTrayHotkey(HotkeyRecord& hotkey) const;
  // Writes the settings from the page (see SaveControls) without a word;
  // *error gets the reason of a failure.
  bool WriteSettings(DWORD* error);
  std::wstring SaveFailureText(DWORD error) const;
  std::wstring FieldText(int id) const;
  // Straight to the control's own procedure, as a SendMessageW from this
  // thread would arrive: under Wine each send is a trip through the
  // server, and a fill sends hundreds.
  LRESULT CallControl(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // The page's control of an id, as GetDlgItem finds it: kept from one
  // walk over the children, since each GetDlgItem lists every child of
  // the page through the window server.
  HWND Control(int id) const;
  bool SubclassControl(CWnd& wrapper, int id);
  void SetText(int id, const wchar_t* text) const {
    ::SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  bool IsChecked(int id) const { return CallControl(id, BM_GETCHECK) == BST_CHECKED; }
  void Check(int id, bool on) { CallControl(id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
  void Enable(int id, bool enable) { ::EnableWindow(Control(id), enable ? TRUE : FALSE); }

  void OnAutoStart();
  void OnAutoUpdate();
  void OnDelay();
  void OnHistory();
  void OnHistoryInMenu();
  void OnMenuHistoryLimit();
  void OnLastUsed();
  void OnSaveAndClose();
  void OnHide();
  void OnFont() { ShowFontDialog(); }
  void OnExtendedCommands() { ShowExtendedCommands(); }
  void OnNothing() {}
  void OnPasteMethod();
  void OnTracking() { RenewListTip(1035); }
  void OnMouseEvents() { RenewListTip(1036); }
  void OnHotkeyChanged(NMHDR*, LRESULT* result);
  void OnHotkeyContextMenu(NMHDR* header, LRESULT* result);
  void OnHotkeyArrow(NMHDR* header, LRESULT* result);
  void OnLogLink(NMHDR*, LRESULT* result);
  void OnFormatsCustomDraw(NMHDR* header, LRESULT* result);
  LRESULT OnRunKeyChanged(WPARAM, LPARAM);
  LRESULT OnCheckUpdates(WPARAM, LPARAM);
  LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
  LRESULT OnFormatIcons(WPARAM, LPARAM);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  LRESULT OnShowWindowMessage(WPARAM shown, LPARAM);
  LRESULT OnMakeTips(WPARAM, LPARAM);

  SettingsPageHost m_host;
  CSettingsPageLocalizer m_localizer;
  RunKeyWatcher m_watcher;
  CToolTipCtrl m_tips;
  int m_hotkeyTestState = kHotkeyValidated;
  bool m_hotkeyTestOk = true;
  std::wstring m_hotkeyTestText;
  qlr_editor::CHyperLink m_updateLink;
  qlr_editor::CThemedIconButton m_saveButton;
  qlr_editor::CThemedIconButton m_hideButton;
  qlr_editor::CHoverLinkButton m_logBox;
  qlr_editor::CColorLabel m_fontSample;
  CListCtrl m_formats;
  CComboBox m_mouseEvents;
  CComboBox m_pasteMethod;
  CComboBox m_tracking;
  CHotkeyCtrlAdv m_hotkey;
  HBRUSH m_faceBrush = nullptr;
  // The controls as the last save wrote them (m_anySaved: there was one);
  // m_dropChanges: the user closed without saving them.
  ControlValues m_savedValues;
  bool m_anySaved = false;
  bool m_dropChanges = false;
  // The controls as the last load filled them: a control that differs now
  // holds the user's unsaved change, which a reload keeps.
  ControlValues m_loadedValues;
  // Controls by id (see Control).
  mutable std::map<int, HWND> m_controls;
  // The format rows wait for the shell's icons; a WM_SP_FORMAT_ICONS is
  // on its way while m_formatIconsPosted.
  bool m_formatIconsPending = false;
  bool m_formatIconsPosted = false;
  bool m_tipsPosted = false;
  // The template of a page being made in parts, and its next control.
  std::unique_ptr<DialogTemplate> m_parts;
  size_t m_nextControl = 0;
  bool m_filled = false;  // OnInitDialog has filled the controls

  DECLARE_MESSAGE_MAP()
};
