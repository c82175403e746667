// The "Settings" pane of the main frame: a sizing bar docked on the right
// with a tab strip and, below it, the settings page in a scroller. The tab
// with data 1 ("Hide Settings") hides the pane; a language change renews
// the texts. Until the user sizes the pane it is as wide as its page, or
// as the frame leaves beside its other panes and a usable view.
#pragma once
#include <windows.h>

#include <memory>

#include "editor/doc/doc_listener.h"
#include "editor/settings_page/settings_page_host.h"
#include "editor_settings/helpers/control_ex.h"
#include "editor_settings/sizing_bar/sizing_control_bar.h"

class CFrameWnd;
class CSettingsPage;

class CSettingsBar : public CSizingControlBar, public IDocUpdateListener {
  DECLARE_DYNAMIC(CSettingsBar)

 public:
  static constexpr UINT kTabId = 1234;
  static constexpr int kPageGap = 2;  // between the tab strip and the page
  static constexpr UINT kScrollerId = 1235;
  // What the pane leaves of the frame for the view when it takes its width
  // by itself.
  static constexpr int kViewRoom = 200;

  CSettingsBar();
  ~CSettingsBar() override;

  // Docked on the right of frame (the only side it docks on). A page that
  // cannot be made leaves the bar empty. frameCreated: the tick count at
  // the frame's creation, for the log's timing line.
  BOOL CreatePane(CFrameWnd* frame, UINT nID, const SettingsPageHost& host, DWORD frameCreated);
  // Null when the page could not be made. Until IsPageReady it is being
  // made in parts (messages posted from the bar's creation on).
  CSettingsPage* Page() const { return m_page.get(); }
  bool IsPageReady() const;
  // The page's controls filled again from the editor's settings.
  void ReloadPage();
  // The page's values written as the editor closes; false when they could
  // not be (the user was told).
  bool SavePageBeforeClose();
  bool IsFocusInside() const;  // the page or the tab strip

  // Docked, never wider than the frame leaves room for (a damaged saved
  // width would push everything else out).
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  // A size is kept only once the user has chosen one.
  BOOL LoadState(LPCWSTR lpszProfileName) override;
  BOOL SaveState(LPCWSTR lpszProfileName) override;

  void OnDocUpdate(CView* pSender, LPARAM lHint, LPARAM value) override;
  HWND GetListenerHwnd() override { return m_hWnd; }

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  void OnTabSelChange(NMHDR* header, LRESULT* result);
  LRESULT OnLayoutRequest(WPARAM, LPARAM);
  LRESULT OnMakePageRequest(WPARAM, LPARAM);
  LRESULT OnWindowPosChanged(WPARAM, LPARAM lParam);
  void NcCalcClient(LPRECT pRc, UINT nDockBarID) override;
  void StopTracking() override;
  DECLARE_MESSAGE_MAP()

 private:
  void FillTabs();
  CWnd* PageParent();
  void Layout();
  void RedrawAll();
  // The docked width that shows the whole page, within what the frame leaves.
  int OwnWidth() const;

  CTabCtrlEx m_tabs;
  std::unique_ptr<CSettingsPage> m_page;
  SettingsPageHost m_host;
  HWND m_scroller = nullptr;
  CWnd m_scrollerWnd;  // the page's parent
  SIZE m_pageSize = {};
  bool m_bUserSized = false;
  UINT m_nLaidOutDockBar = 0;
  DWORD m_nFrameCreated = 0;  // tick count, for the log's timing line
  DWORD m_nPageStart = 0;
  bool m_bPageReady = false;
  bool m_bLayoutPosted = false;
};
