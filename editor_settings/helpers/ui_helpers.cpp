#include "editor_settings/helpers/ui_helpers.h"

#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

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

// The list with the shell's icons, in the list's order, made once; the
// shell's first answers take long, so the list may be made on a thread of
// its own while the windows are made (an image list belongs to no thread).
CImageList* g_typeImages = nullptr;
// Windows that asked for the list while its thread ran; the thread posts to
// them once the list is made.
std::mutex g_typeImagesLock;
bool g_typeImagesMade = false;
std::vector<HWND> g_typeImagesWaiting;
std::atomic<HANDLE> g_typeImagesGate{nullptr};

void TellTypeImagesMade() {
  std::vector<HWND> waiting;
  {
    std::lock_guard<std::mutex> lock(g_typeImagesLock);
    g_typeImagesMade = true;
    waiting.swap(g_typeImagesWaiting);
  }
  for (HWND window : waiting) ::PostMessageW(window, GetFileTypeImagesReadyMessage(), 0, 0);
}

// An empty list of the file-type images' size and background; null when
// it cannot be made.
CImageList* NewTypeImageList() {
  auto* list = new CImageList;
  if (!list->Create(kFileTypeImageSize, kFileTypeImageSize, ILC_COLOR32 | ILC_MASK, 0, 1)) {
    delete list;
    return nullptr;
  }
  list->SetBkColor(editor::GetMenuColor());
  return list;
}

CShellWorkOnce& TypeIconsWork() {
  static CShellWorkOnce work([] {
    if (HANDLE gate = g_typeImagesGate.load()) ::WaitForSingleObject(gate, INFINITE);
    CImageList* made = NewTypeImageList();
    if (!made) {
      TellTypeImagesMade();
      return;
    }
    for (HICON icon : {GetFolderIcon(false, false), GetFolderIcon(true, false), GetShellFileIcon(L".rtf", false),
                       GetTxtFileIcon(), LoadSmallAppIcon(IDI_APP_PHRASE)})
      AddIconOrEmpty(*made, icon);
    g_typeImages = made;
    TellTypeImagesMade();
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
  // Whoever must have the list now does not wait for a hold to end.
  if (HANDLE gate = g_typeImagesGate.exchange(nullptr)) ::SetEvent(gate);
  TypeIconsWork().Finish();
  return g_typeImages;
}

CImageList* GetFileTypeImageListOrLater(HWND window) {
  if (TypeIconsWork().IsRunning()) {
    std::lock_guard<std::mutex> lock(g_typeImagesLock);
    if (!g_typeImagesMade) {
      if (window && std::find(g_typeImagesWaiting.begin(), g_typeImagesWaiting.end(), window) ==
                        g_typeImagesWaiting.end())
        g_typeImagesWaiting.push_back(window);
      static CImageList* placeholder = NewTypeImageList();
      return placeholder;
    }
  }
  // Made (its thread is at its end) or never started.
  return GetFileTypeImageList();
}

void HoldFileTypeImagesUntil(HANDLE released) { g_typeImagesGate = released; }

UINT GetFileTypeImagesReadyMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"{5E0C7D21-8B43-4F6A-9C1E-2A7B3D9F0E64}");
  return message;
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
