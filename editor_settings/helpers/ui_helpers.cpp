#include "editor_settings/helpers/ui_helpers.h"

#include <richedit.h>

#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/shared_icons.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/shell_work_once.h"
#include "foundation/ui/icons.h"
#include "foundation/ui/rich_edit_convert.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/controls/image_list.h"
#include "platform/mfc/window/wnd.h"

namespace {

constexpr int kFileTypeImageSize = 18;

// The shell's icons of the file-type list, in the list's order, asked once.
HICON g_typeIcons[4] = {};

CShellWorkOnce& TypeIconsWork() {
  static CShellWorkOnce work([] {
    g_typeIcons[kImageFolder] = GetFolderIcon(false, false);
    g_typeIcons[kImageFolderOpen] = GetFolderIcon(true, false);
    g_typeIcons[kImageRichText] = GetShellFileIcon(L".rtf", false);
    g_typeIcons[kImagePlainText] = GetTxtFileIcon();
  });
  return work;
}

}  // namespace

void StartAskingForFileTypeIcons() { TypeIconsWork().Start(); }

int AddEmptyImage(CImageList& list) {
  int cx = 0, cy = 0;
  if (!::ImageList_GetIconSize(list.GetSafeHandle(), &cx, &cy) || cx <= 0 || cy <= 0) return -1;
  int index = -1;
  HDC screen = ::GetDC(nullptr);
  HBITMAP image = ::CreateCompatibleBitmap(screen, cx, cy);
  HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  ::ReleaseDC(nullptr, screen);
  if (image && mask) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, mask);
    RECT rc = {0, 0, cx, cy};
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));  // all transparent
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    index = ::ImageList_Add(list.GetSafeHandle(), image, mask);
  }
  if (image) ::DeleteObject(image);
  if (mask) ::DeleteObject(mask);
  return index;
}

int AddIconOrEmpty(CImageList& list, HICON icon) {
  int index = icon ? list.Add(icon) : -1;
  if (index < 0) index = AddEmptyImage(list);
  if (icon) ::DestroyIcon(icon);
  return index;
}

CImageList* GetFileTypeImageList() {
  static CImageList* list = nullptr;
  if (list) return list;
  auto* made = new CImageList;
  if (!made->Create(kFileTypeImageSize, kFileTypeImageSize, ILC_COLOR32 | ILC_MASK, 0, 1)) {
    delete made;
    return nullptr;
  }
  made->SetBkColor(editor::GetMenuColor());
  TypeIconsWork().Finish();
  for (HICON& icon : g_typeIcons) {
    AddIconOrEmpty(*made, icon);
    icon = nullptr;
  }
  AddIconOrEmpty(*made, LoadSmallAppIcon(IDI_APP_PHRASE));
  list = made;
  return list;
}

bool IsKeyDown(int virtualKey) { return (::GetKeyState(virtualKey) & ~1) != 0; }

void SetupPhraseEditControl(HWND richEdit) {
  if (!richEdit || !::IsWindow(richEdit)) return;
  ::SendMessageW(richEdit, WM_SETFONT, reinterpret_cast<WPARAM>(editor::GetLargeDialogFont()), TRUE);
  ::SendMessageW(richEdit, EM_SETOPTIONS, ECOOP_OR,
                 ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_NOHIDESEL | ECO_SELECTIONBAR);
  ::SendMessageW(richEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 10));
  RECT rc = {};
  ::SendMessageW(richEdit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
  rc.top += 7;
  ::SendMessageW(richEdit, EM_SETRECT, 1, reinterpret_cast<LPARAM>(&rc));
}

HICON LoadSmallAppIcon(UINT id) { return LoadSmallIcon(GetAppInstanceHandle(), id); }

std::wstring RtfStringToPlainText(const std::wstring& text) {
  if (text.empty()) return std::wstring();
  return RtfToPlainText(text);
}

HINSTANCE GetAppInstanceHandle() { return AfxGetInstanceHandle(); }

UINT GetFrameNotifyMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{3875692C-ED88-4395-98D9-42698D67B08A}");
  return message;
}

LRESULT SendFrameNotify(LPARAM lParam) {
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->m_hWnd) return 0;
  return ::SendMessageW(main->m_hWnd, GetFrameNotifyMessage(), 0, lParam);
}

bool BindLanguageFile(const std::wstring& lngPath, const std::wstring& sectionSuffix) {
  return SetLngStringFile(lngPath, sectionSuffix);
}

void TreeEnsureVisibleKeepHScroll(HWND tree, HTREEITEM item) {
  if (!tree || !item) return;
  int before = ::GetScrollPos(tree, SB_HORZ);
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  if (::GetScrollPos(tree, SB_HORZ) != before)
    ::SendMessageW(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, before), 0);
}
