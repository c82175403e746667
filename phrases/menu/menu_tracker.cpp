#include "phrases/menu/menu_tracker.h"

#include <commctrl.h>

#include <map>

#include "foundation/files/program_names.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/logging/log.h"
#include "foundation/system/trusted_messages.h"
#include "foundation/text/text_basics.h"
#include "foundation/ui/icons.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_item_text.h"

namespace {

const wchar_t kTrackerClass[] = L"Quillora_Menu_Tracker";
constexpr UINT kIdsCopy = 160;
constexpr UINT kIdsEdit = 283;

ATOM g_trackerClass = 0;
CMenuLocalizer* g_localizer = nullptr;

bool IsSearchCommand(UINT id) { return id >= kCmdSearchGoogle && id <= kCmdSearchWikipedia; }

std::map<UINT, HICON>& IconCache() {
  static std::map<UINT, HICON> icons;
  return icons;
}

HICON LoadCommandIcon(UINT id) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  switch (id) {
    case kCmdEditSettings:
    case kCmdSelectionIntoPhrase: {
      std::wstring editor = GetEditorExePath();
      return GetFileAttributesW(editor.c_str()) != INVALID_FILE_ATTRIBUTES ? GetFileIconByPath(editor.c_str(), false)
                                                                           : nullptr;
    }
    case kCmdOpenWith:
      return GetFolderIcon(true, false);
    case kCmdSupport:
    case kCmdOpenAsUrl:
    case kCmdOpenSourceUrl:
      return LoadIconSize(self, 234, 16);
    case kCmdSearchGoogle:
      return LoadIconSize(self, 230, 16);
    case kCmdSearchYandex:
      return LoadIconSize(self, 231, 16);
    case kCmdSearchMsdn:
      return LoadIconSize(self, 240, 16);
    case kCmdSearchWikipedia:
      return LoadIconSize(self, 239, 16);
    default:
      return nullptr;
  }
}

}  // namespace

int RightMenuActionCode(UINT command) {
  switch (command) {
    case kCmdCopyItem:
      return 0;
    case kCmdOpenAsUrl:
      return 1;
    case kCmdEditItem:
      return 2;
    case kCmdOpenWith:
      return 3;
    case kCmdSearchGoogle:
      return 4;
    case kCmdSearchYandex:
      return 5;
    case kCmdSearchMsdn:
      return 6;
    case kCmdSearchWikipedia:
      return 7;
    default:
      return -1;
  }
}

CPhraseMenuToolTip::CPhraseMenuToolTip() { m_hookWanted = false; }

CPhraseMenuToolTip::~CPhraseMenuToolTip() {
  if (m_programIcon && m_programIcon != reinterpret_cast<HICON>(1)) DestroyIcon(m_programIcon);
}

HICON CPhraseMenuToolTip::ProgramIcon() {
  if (!m_programIcon) {
    m_programIcon = LoadIconSize(m_instance ? m_instance : GetModuleHandleW(nullptr), 128, 16);
    if (!m_programIcon) m_programIcon = reinterpret_cast<HICON>(1);  // the tip's "info" icon
  }
  return m_programIcon;
}

HICON CPhraseMenuToolTip::GetItemIcon(UINT id) {
  auto& cache = IconCache();
  auto it = cache.find(id);
  if (it == cache.end()) it = cache.emplace(id, LoadCommandIcon(id)).first;
  return it->second ? it->second : ProgramIcon();
}

void CPhraseMenuToolTip::AdjustTipPosition(POINT& point, HMENU menu, UINT id) {
  int pos = FindMenuItemPosById(menu, id);
  RECT item, tip;
  if (pos < 0 || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(pos), &item) || !GetWindowRect(GetTipWindow(), &tip))
    return;
  int width = GetSystemMetrics(SM_CXSCREEN);
  point.x = item.right + GetTipWidth() <= width ? item.right : item.left - (tip.right - tip.left);
  point.y = item.bottom - (tip.bottom - tip.top);
  if (GetWindowLongW(GetTipWindow(), GWL_STYLE) & TTS_BALLOON) point.y += (item.bottom - item.top) / 2;
  if (point.y < 0) point.y = item.top;
}

bool CPhraseMenuToolTip::GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title) {
  if (id == 0) {
    Deactivate();
    return false;
  }
  if (RightMenuActionCode(id) >= 0) text = MenuString(id);
  CMenuItemData* data = GetMenuItemDataById(menu, id);
  if (!data) return !text.empty();
  if (IsSearchCommand(id)) {
    text += L" [" + data->expandedText + L"]";
  } else {
    const wchar_t* caption = data->GetCaption();
    title = caption ? caption : L"";
    text = data->GetToolTip();
  }
  return !text.empty();
}

void CMenuTracker::SetMenuLocalizer(CMenuLocalizer* localizer) { g_localizer = localizer; }

CMenuTracker::CMenuTracker(IMenuTrackerOwner* owner, bool withToolTips)
    : m_owner(owner), m_withToolTips(withToolTips) {}

CMenuTracker::~CMenuTracker() {
  MenuClosed();
  if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
  m_window = nullptr;
}

void CMenuTracker::MenuClosed() {
  if (CMenuToolTip* tip = GetCurrentMenuToolTip()) {
    SetCurrentMenuToolTip(nullptr);
    tip->DestroyTip();
    delete tip;
  }
  m_tipWindow = nullptr;
  m_menuUp = false;
}

HWND CMenuTracker::Create() {
  // The window serves menu after menu: making one costs the system more
  // than readying it again.
  if (!m_window || !IsWindow(m_window)) m_window = MakeWindow();
  if (!m_window) return nullptr;
  m_tipTried = false;
  m_contextOpen = false;
  m_menuUp = true;
  m_openedInSend = InSendMessage() != FALSE;
  if (m_withToolTips && !GetCurrentMenuToolTip()) SetCurrentMenuToolTip(new CPhraseMenuToolTip());
  return m_window;
}

HWND CMenuTracker::MakeWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!g_trackerClass) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kTrackerClass;
    g_trackerClass = RegisterClassExW(&wc);
  }
  HWND window = CreateWindowExW(0, kTrackerClass, L"", WS_CHILD, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  if (!window) LogError(L"CMenuTracker::Create error=" + IntToStr(static_cast<int>(GetLastError())));
  return window;
}

bool CMenuTracker::KeepOnScreen(RECT& rect, int screenWidth, int screenHeight) {
  bool moved = false;
  if (rect.right > screenWidth) {
    rect.right = screenWidth;
    moved = true;
  }
  if (rect.bottom > screenHeight) {
    int over = rect.bottom - screenHeight;
    rect.top -= over;
    rect.bottom -= over;
    moved = true;
  }
  return moved;
}

LRESULT CALLBACK CMenuTracker::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    // Once, from the creation: the window lives for the run and any program
    // can send it another one with any creation parameter.
    if (GetWindowLongPtrW(hwnd, GWLP_USERDATA)) return FALSE;
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<CMenuTracker*>(create->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->m_window = hwnd;
    return TRUE;
  }
  auto* self = reinterpret_cast<CMenuTracker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->m_window != hwnd) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

void CMenuTracker::EnsureTipWindow() {
  // The tip window is made once the menu loop first waits (the menu is up
  // and painted) or an item is first selected: making it before the menu
  // shows only delays the menu, and no tip is due before its delay anyway.
  if (m_tipTried) return;
  m_tipTried = true;
  CMenuToolTip* tip = GetCurrentMenuToolTip();
  if (!tip) return;
  if (!tip->CreateWithClose(m_window, L"Ooops! Tip text not found", GetModuleHandleW(nullptr), 0, nullptr)) return;
  if (m_tipWindow && m_tipWindow != tip->GetTipWindow() && IsWindow(m_tipWindow)) DestroyWindow(m_tipWindow);
  m_tipWindow = tip->GetTipWindow();
  SendMessageW(m_tipWindow, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
  SendMessageW(m_tipWindow, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void CMenuTracker::CleanupTip() {
  if (!m_tipWindow) return;
  if (CMenuToolTip* tip = GetCurrentMenuToolTip())
    if (tip->GetTipWindow() == m_tipWindow) tip->DestroyTip();
  if (IsWindow(m_tipWindow)) {
    SendMessageW(m_tipWindow, TTM_POP, 0, 0);
    ShowWindow(m_tipWindow, SW_HIDE);
    DestroyWindow(m_tipWindow);
  }
  m_tipWindow = nullptr;
}

bool CMenuTracker::FromOwnMenu() const {
  // The window lives for the whole run and any program can find it: the
  // menu's notices come from this thread's own menu loop, while a menu is
  // up. A send from another thread or program is none of them (unless the
  // menu itself runs inside such a send, when only the records can tell).
  if (!m_menuUp) return false;
  return m_openedInSend || !InSendMessage();
}

LRESULT CMenuTracker::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY:
    case WM_EXITMENULOOP:
      CleanupTip();
      return DefWindowProcW(m_window, msg, wParam, lParam);
    case WM_MENUSELECT: {
      LRESULT result = DefWindowProcW(m_window, msg, wParam, lParam);
      if (!FromOwnMenu()) return result;
      EnsureTipWindow();
      if (CMenuToolTip* tip = GetCurrentMenuToolTip()) tip->HandleMenuSelect(msg, wParam, lParam);
      return result;
    }
    case WM_ENTERIDLE: {
      LRESULT result = DefWindowProcW(m_window, msg, wParam, lParam);
      if (!FromOwnMenu()) return result;
      EnsureTipWindow();
      if (CMenuToolTip* tip = GetCurrentMenuToolTip()) tip->HandleEnterIdle(msg, wParam, lParam);
      return result;
    }
    case WM_SETCURSOR:
      // The menu loop asks for the cursor when it starts. The default answer
      // first asks this window's parent, the system's message-window root,
      // which lives in another process: a round trip for nothing.
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      return TRUE;
    // Owner drawing and notices: answered FALSE, silently, unless they are
    // the open menu's own (the owner then uses only its own records).
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!m_owner || !item || !FromOwnMenu() || item->CtlType != ODT_MENU) return FALSE;
      // A menu run inside a send cannot tell its own notices from another
      // program's: then an item without a record is none of its own.
      if (m_openedInSend && !IsMenuItemRecord(item->itemData)) return FALSE;
      return m_owner->OnMenuMEASUREITEM(m_window, item);
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (!m_owner || !item || !FromOwnMenu() || item->CtlType != ODT_MENU) return FALSE;
      return m_owner->OnMenuDRAWITEMSTRUCT(m_window, item);
    }
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
      return FALSE;
    case WM_NOTIFY: {
      if (!FromOwnMenu() || !IsOwnNotification(lParam)) return FALSE;
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != TTN_SHOW || !header->hwndFrom || header->hwndFrom != m_tipWindow) return FALSE;
      RECT r;
      GetWindowRect(header->hwndFrom, &r);
      if (!KeepOnScreen(r, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN))) return FALSE;
      SetWindowPos(header->hwndFrom, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    case WM_MENURBUTTONUP:
      // A handle and a position: the item is taken only when it carries a
      // record of this process, while the menu is up.
      if (!m_menuUp || !IsMenu(reinterpret_cast<HMENU>(lParam))) return FALSE;
      return OnRightButtonUp(static_cast<UINT>(wParam), reinterpret_cast<HMENU>(lParam));
    default:
      break;
  }
  return DefWindowProcW(m_window, msg, wParam, lParam);
}

LRESULT CMenuTracker::OnRightButtonUp(UINT position, HMENU menu) {
  // Every item of the phrase menu has a record: an item without one is no
  // item of the open menu.
  CMenuItemData* data = GetMenuItemDataByPos(menu, static_cast<int>(position));
  if (!data) return FALSE;
  UINT id = GetMenuItemID(menu, static_cast<int>(position));
  bool popup = GetSubMenu(menu, static_cast<int>(position)) != nullptr;
  if (m_contextOpen || id == 0 || id == static_cast<UINT>(-1) || popup || IsSpecialCommandId(id)) {
    MessageBeep(static_cast<UINT>(-1));
    return TRUE;
  }
  HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kItemContextMenu));
  HMENU texts = resource ? GetSubMenu(resource, 0) : nullptr;
  if (texts && g_localizer) g_localizer->LocalizeMenu(texts);
  auto resourceText = [&](UINT command) {
    wchar_t text[256] = {};
    if (resource) GetMenuStringW(resource, command, text, 256, MF_BYCOMMAND);
    return std::wstring(text);
  };
  bool bitmap = data->bitmapFlag != 0;
  bool history = data->historyFlag != 0;
  std::wstring shortText = data->GetShortExpandedText();
  HMENU context = CreatePopupMenu();
  AppendMenuW(context, MF_STRING, kCmdCopyItem, MenuString(kIdsCopy).c_str());
  AppendMenuW(context, MF_STRING | (bitmap ? MF_GRAYED : 0), kCmdOpenAsUrl, resourceText(kCmdOpenAsUrl).c_str());
  AppendMenuW(context, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(context, MF_STRING | (history ? 0 : MF_GRAYED), kCmdEditItem, MenuString(kIdsEdit).c_str());
  AppendMenuW(context, MF_STRING | (history ? 0 : MF_GRAYED), kCmdOpenWith, resourceText(kCmdOpenWith).c_str());
  AppendMenuW(context, MF_SEPARATOR, 0, nullptr);
  for (UINT search : {kCmdSearchGoogle, kCmdSearchYandex, kCmdSearchWikipedia, kCmdSearchMsdn}) {
    std::wstring text = MenuString(search) + L" [" + shortText + L"]";
    AppendMenuW(context, MF_STRING | (bitmap ? MF_GRAYED : 0), search, text.c_str());
  }
  m_contextOpen = true;
  SetLastError(ERROR_SUCCESS);
  POINT at;
  GetCursorPos(&at);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(context, TPM_RETURNCMD | TPM_RECURSE, at.x, at.y, 0, m_window, nullptr));
  if (!chosen && GetLastError() != ERROR_SUCCESS)
    LogError(L"CMenuTracker: TrackPopupMenu error=" + IntToStr(static_cast<int>(GetLastError())));
  m_contextOpen = false;
  int code = RightMenuActionCode(chosen);
  if (code >= 4) EndMenu();
  if (code >= 0 && m_owner) m_owner->OnRightMenuCommand(id, code);
  DestroyMenu(context);
  if (resource) DestroyMenu(resource);
  return TRUE;
}
