// A tracking tooltip that follows the selected item of an open menu. It is
// fed the menu owner's WM_MENUSELECT, WM_ENTERIDLE and WM_EXITMENULOOP,
// waits half a second after the selection changed, asks for the item's text
// and shows it beside the item with a title and an icon. Free of any
// window framework: the tray menu, the history pane, the phrase menu and
// the editor use it.
#pragma once
#include <windows.h>

#include <string>

// The text query sent to the owner window (registered message
// "9176C785-52C0-432a-AB51-C8439932297C"); a non-zero answer means the
// owner filled text, title and icon.
struct CMenuTipQuery {
  UINT id;
  wchar_t text[1024];
  wchar_t title[256];
  HICON icon;
};
UINT GetMenuTipQueryMessage();

constexpr DWORD kMenuTipDelayMs = 500;

class CMenuToolTip {
 public:
  CMenuToolTip();
  virtual ~CMenuToolTip();
  CMenuToolTip(const CMenuToolTip&) = delete;
  CMenuToolTip& operator=(const CMenuToolTip&) = delete;

  virtual bool IsSysCommandId(UINT id);
  virtual void SetTipTitle(const std::wstring& title, UINT id, HICON icon = nullptr);
  virtual void Activate(bool on);
  virtual bool IsDisabled() { return m_disabled; }
  virtual HICON GetItemIcon(UINT) { return nullptr; }
  virtual bool HideOnMouse() { return true; }
  virtual void AdjustTipPosition(POINT& point, HMENU menu, UINT id);
  virtual bool ShowAtOnce(UINT) { return false; }
  // The item's text (and title); false when it has none.
  virtual bool GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title);
  virtual int GetTipHeight() { return 150; }
  virtual int GetTipWidth() { return 200; }

  // text: the default text (null: "No Text associated"; LPSTR_TEXTCALLBACKW:
  // none stored). True when the tip window exists.
  bool Create(HWND owner, const wchar_t* text, HINSTANCE instance, DWORD style, const wchar_t* title);
  bool CreateWithClose(HWND owner, const wchar_t* text, HINSTANCE instance, DWORD style, const wchar_t* title) {
    return Create(owner, text, instance, style | 0x80, title);
  }
  void HandleMenuSelect(UINT msg, WPARAM wParam, LPARAM lParam);
  void HandleEnterIdle(UINT msg, WPARAM wParam, LPARAM lParam);
  void HideTip();
  void Deactivate();
  // Hides and destroys the tip window (the object stays usable for Create).
  void DestroyTip();

  HWND GetTipWindow() const { return m_tip; }
  HWND GetOwner() const { return m_owner; }
  bool IsActive() const { return m_active; }
  UINT GetCurrentItem() const { return static_cast<UINT>(m_currentItem); }
  LONG GetPendingThreads() const { return m_pending; }
  void SetDisabled(bool disabled) { m_disabled = disabled; }
  // Shows the tip for (menu, item) now, on the calling thread.
  void ShowFor(HMENU menu, UINT item);

 protected:
  // The tip also follows menus tracked by windows below the owner (a
  // tree's context menu): their menu messages reach the owner through
  // thread hooks, in place only while a menu loop runs.
  bool m_hookWanted = true;
  HINSTANCE m_instance = nullptr;

 private:
  static DWORD WINAPI DelayThread(void* param);
  static LRESULT CALLBACK TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Place(HMENU menu, UINT item);
  void WaitForDelayThreads();

  HWND m_owner = nullptr;
  HWND m_tip = nullptr;
  HWND m_menuWindow = nullptr;
  HMENU m_menu = nullptr;
  UINT m_item = 0;
  bool m_active = false;
  bool m_disabled = false;
  volatile LONG m_pending = 0;
  volatile LONG m_currentItem = 0;
  HANDLE m_cancel = nullptr;  // set while the object goes away: delay threads stop waiting
  std::wstring m_defaultText;
  bool m_hasTitle = false;
  int m_screenWidth = 0;
  int m_screenHeight = 0;
};

// The variant that reads the texts of commands from localised strings.
class CMenuToolTipDelegate : public CMenuToolTip {
 public:
  bool GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title) override;
};
// The localised string of a command, cut before a "\n" after its first character.
std::wstring GetCommandToolTip(UINT id);

// Menu helpers.
bool InsertMenuStringItem(HMENU menu, const wchar_t* text, UINT id, UINT position);
int FindMenuItemPosById(HMENU menu, UINT id);
int FindMenuItemPosFromEnd(UINT id, HMENU menu);

// Keeps the thread's menu-message hooks (made by a tip that wants them)
// away while it lives and puts them back after, unless the tip went. While
// a menu loop runs, every message sent on the thread passes through the
// call-window hook, which under Wine costs a trip to the server each: a
// menu the hook has nothing to forward for opens twice as slowly with it
// (hundreds of measuring, drawing and menu messages).
class CMenuTipHookPause {
 public:
  CMenuTipHookPause();
  ~CMenuTipHookPause();
  CMenuTipHookPause(const CMenuTipHookPause&) = delete;
  CMenuTipHookPause& operator=(const CMenuTipHookPause&) = delete;
};
// Whether the thread's call-window hook, which forwards the menu messages
// of windows below the tip's owner, is in place now (only while a menu
// loop runs).
bool IsMenuTipHookInstalled();
// Whether the thread waits for a menu loop to put that hook in.
bool IsMenuTipHookArmed();

// The process-wide current menu tooltip (the one the menu tracker feeds).
CMenuToolTip* GetCurrentMenuToolTip();
void SetCurrentMenuToolTip(CMenuToolTip* tip);
