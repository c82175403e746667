// The update and news dialog: the page of one check's result in an HTML
// view, the two settings widgets saved when it closes, and the buttons
// Close, visit the web site and skip this version.
#pragma once
#include <windows.h>

#include "online/update_dlg/update_dlg_ids.h"
#include "online/update_info.h"
#include "platform/atl/dialog_impl.h"
#include "platform/atl/message_map.h"
#include "platform/htmlayout/htmlayout_handler.h"

// The open update dialog's window, or null.
HWND GetUpdateDlgWindow();

class CQLRUpdateDlg : public CDialogImpl<CQLRUpdateDlg>, public HLEventHandler {
 public:
  enum { IDD = IDD_QLR_UPDATE };
  // The record must outlive the dialog.
  explicit CQLRUpdateDlg(const CUpdateInfo* record) : m_record(record) {}

  HWND GetViewWindow() const { return m_view; }

  BEGIN_MSG_MAP(CQLRUpdateDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_APP + 1, OnResetBlink)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    COMMAND_ID_HANDLER(IDC_UPDATE_VISIT, OnVisit)
    COMMAND_ID_HANDLER(IDC_UPDATE_SKIP, OnSkipVersion)
  END_MSG_MAP()

  // The checkbox's colour, and the days input and its label enabled or
  // greyed out, as the checkbox says.
  void UpdateSettingsWidgets();
  // The two widgets into the settings and Settings.ini; nothing when one
  // of them is missing.
  void SaveUpdateSettings();

  bool HandleMouse(HELEMENT he, MOUSE_PARAMS& params) override;
  bool HandleBehaviorEvent(HELEMENT he, BEHAVIOR_EVENT_PARAMS& params) override;

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnResetBlink(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&);
  LRESULT OnVisit(WORD, WORD, HWND, BOOL&);
  LRESULT OnSkipVersion(WORD, WORD, HWND, BOOL&);

  void CreateView();
  bool OnHyperlink(HELEMENT link);

  HWND m_view = nullptr;
  const CUpdateInfo* m_record;
  LONG m_blinkCount = 0;
};
