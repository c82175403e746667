// The page's list of clipboard formats: one row per format with the
// system's type name and icon, drawn green when kept and red struck out
// when not.
#include "editor/settings_page/settings_page.h"

#include <shellapi.h>

#include <array>
#include <atomic>

#include "editor/settings_page/settings_page_helpers.h"
#include "editor/settings_page/settings_page_ids.h"
#include "editor/settings_page/settings_page_rules.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/shared_icons.h"
#include "foundation/system/shell_work_once.h"

namespace {

constexpr int kFormatCount = 5;
constexpr int kIconSize = 16;

struct FormatRow {
  const wchar_t* extension;
  UINT nameId;
  bool askSystemName;
};
const FormatRow kFormatRows[kFormatCount] = {{L".txt", IDS_SP_FMT_TEXT, true},
                                             {L".rtf", IDS_SP_FMT_RTF, true},
                                             {L".bmp", IDS_SP_FMT_BITMAP, true},
                                             {L".bnd", IDS_SP_FMT_BND, true},
                                             {L".html", IDS_SP_FMT_HTML, false}};

// The strike-out copy of the format list's font, made once per process.
HFONT StrikeOutFontOf(HFONT listFont) {
  static HFONT font = editor::CreateStrikeOutFont(listFont ? listFont : editor::GetDefaultGuiFont());
  return font;
}

// What the system registers for each row's extension, asked once per
// process: the registry answers in well under a millisecond.
const std::array<std::wstring, kFormatCount>& FormatTypeNames() {
  static const std::array<std::wstring, kFormatCount> names = [] {
    std::array<std::wstring, kFormatCount> asked;
    for (int i = 0; i < kFormatCount; ++i) {
      if (!kFormatRows[i].askSystemName) continue;
      SHFILEINFOW info = {};
      if (::SHGetFileInfoW(kFormatRows[i].extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                           SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME))
        asked[i].assign(info.szTypeName, ::wcsnlen(info.szTypeName, 80));
    }
    return asked;
  }();
  return names;
}

// The rows' icons, gathered once per process: the shell's first icon takes
// tens of milliseconds (it loads its icon handlers and image lists), and
// an icon takes long to add to an image list. The list serves every fill.
struct FormatImages {
  HIMAGELIST list = nullptr;  // kept for the process
  int image[kFormatCount] = {I_IMAGENONE, I_IMAGENONE, I_IMAGENONE, I_IMAGENONE, I_IMAGENONE};
};

FormatImages AskShellForFormatImages() {
  FormatImages made;
  made.list = ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kFormatCount, 1);
  for (int i = 0; i < kFormatCount; ++i) {
    // ".rtf" shows the editor's own icon.
    const bool ownIcon = i == 1;
    HICON icon = nullptr;
    if (ownIcon) {
      icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_RTF_PHRASE),
                                             IMAGE_ICON, kIconSize, kIconSize, 0));
    } else {
      SHFILEINFOW info = {};
      ::SHGetFileInfoW(kFormatRows[i].extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON);
      icon = info.hIcon;
    }
    if (!icon) continue;
    if (made.list) {
      const int image = ::ImageList_ReplaceIcon(made.list, -1, icon);
      if (image >= 0) made.image[i] = image;
    }
    ::DestroyIcon(icon);
  }
  return made;
}

FormatImages& FormatImagesKept() {
  static FormatImages images;
  return images;
}

// Set by tests only: the icons are asked once it is set.
HANDLE g_formatImagesGate = nullptr;
// What a WM_SP_FORMAT_ICONS says: the page should look (a fill), its list
// is being painted, or the icons are there.
constexpr WPARAM kFormatIconsLook = 0;
constexpr WPARAM kFormatIconsPainting = 1;
constexpr WPARAM kFormatIconsThere = 2;
// The page told when the icons are there: a list that is shown but not
// painted (scrolled out of its pane) would otherwise never take them.
std::atomic<HWND> g_formatImagesPage{nullptr};

// Asked on a thread of their own once the page is made; the rows show
// without icons until the list is seen.
CShellWorkOnce& FormatImagesWork() {
  static CShellWorkOnce work([] {
    if (g_formatImagesGate) ::WaitForSingleObject(g_formatImagesGate, 60000);
    FormatImagesKept() = AskShellForFormatImages();
    if (HWND page = g_formatImagesPage.load()) ::PostMessageW(page, WM_SP_FORMAT_ICONS, kFormatIconsThere, 0);
  });
  return work;
}

// An empty list of the icons' size: the rows are laid out for their icons
// before the icons come, so nothing moves when they do.
HIMAGELIST EmptyFormatImages() {
  static HIMAGELIST list = ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 0, 1);
  return list;
}

}  // namespace

void StartAskingForFormatImages(HWND page) {
  g_formatImagesPage = page;
  FormatImagesWork().Start();
}

void StopTellingOfFormatImages(HWND page) {
  HWND told = page;
  g_formatImagesPage.compare_exchange_strong(told, nullptr);
}

void HoldFormatImagesUntil(HANDLE released) { g_formatImagesGate = released; }

void CSettingsPage::FillFormatList() {
  CQLREditorSettings& settings = GetEditorSettings();
  const std::array<std::wstring, kFormatCount>& typeNames = FormatTypeNames();
  const bool iconsReady = FormatImagesWork().TryFinish();
  const FormatImages& images = FormatImagesKept();
  HIMAGELIST shown = iconsReady && images.list ? images.list : EmptyFormatImages();
  // The list shares the process's images (its template says so) and
  // never destroys them.
  ::ImageList_SetBkColor(shown, ::GetSysColor(COLOR_WINDOW));
  CallControl(IDC_SP_FORMATS, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(shown));
  // Laid out once at the end: each row added to a list that draws
  // updates its scroll bars and area on its own.
  CallControl(IDC_SP_FORMATS, WM_SETREDRAW, FALSE);
  CallControl(IDC_SP_FORMATS, LVM_DELETEALLITEMS);
  for (int i = 0; i < kFormatCount; ++i) {
    const FormatRow& row = kFormatRows[i];
    std::wstring text = FormatRowText(typeNames[i], PageText(row.nameId), row.extension);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.iImage = iconsReady ? images.image[i] : I_IMAGENONE;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    const int index =
        static_cast<int>(CallControl(IDC_SP_FORMATS, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) continue;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(settings.clipboardFormats[i] ? 2 : 1);
    if (static_cast<UINT>(CallControl(IDC_SP_FORMATS, LVM_GETITEMSTATE, static_cast<WPARAM>(index), item.stateMask)) !=
        item.state)
      CallControl(IDC_SP_FORMATS, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  CallControl(IDC_SP_FORMATS, WM_SETREDRAW, TRUE);
  m_formatIconsPending = !iconsReady;
  if (m_formatIconsPending && !m_formatIconsPosted)
    m_formatIconsPosted = ::PostMessageW(m_hWnd, WM_SP_FORMAT_ICONS, kFormatIconsLook, 0) != FALSE;
}

void CSettingsPage::ShowFormatIcons(bool mayWait) {
  if (!m_formatIconsPending || !m_hWnd) return;
  HWND list = Control(IDC_SP_FORMATS);
  if (!FormatImagesWork().TryFinish()) {
    // Unseen, the list waits for its first paint or the icons.
    if (!mayWait && !::IsWindowVisible(list)) return;
    FormatImagesWork().Finish();
  }
  m_formatIconsPending = false;
  const FormatImages& images = FormatImagesKept();
  if (images.list) {
    ::ImageList_SetBkColor(images.list, ::GetSysColor(COLOR_WINDOW));
    CallControl(IDC_SP_FORMATS, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.list));
  }
  const int rows = static_cast<int>(CallControl(IDC_SP_FORMATS, LVM_GETITEMCOUNT));
  for (int i = 0; i < kFormatCount && i < rows; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    item.iImage = images.image[i];
    CallControl(IDC_SP_FORMATS, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  // The rows were drawn without their icons.
  ::InvalidateRect(list, nullptr, TRUE);
}

LRESULT CSettingsPage::OnFormatIcons(WPARAM why, LPARAM) {
  if (why != kFormatIconsThere) m_formatIconsPosted = false;
  ShowFormatIcons(why != kFormatIconsLook);
  return 0;
}

void CSettingsPage::OnFormatsCustomDraw(NMHDR* header, LRESULT* result) {
  NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
  *result = CDRF_DODEFAULT;
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    // Seen at last: the icons come right after this paint, never during it.
    if (m_formatIconsPending && !m_formatIconsPosted)
      m_formatIconsPosted = ::PostMessageW(m_hWnd, WM_SP_FORMAT_ICONS, kFormatIconsPainting, 0) != FALSE;
    *result = CDRF_NOTIFYITEMDRAW;
  } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    bool checked = (m_formats.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2;
    if (!m_formats.IsWindowEnabled())
      draw->clrText = editor::GetGrayTextColor();
    else
      draw->clrText = checked ? RGB(0, 128, 0) : RGB(255, 0, 0);
    if (!checked) {
      ::SelectObject(draw->nmcd.hdc,
                     StrikeOutFontOf(reinterpret_cast<HFONT>(::SendMessageW(m_formats.m_hWnd, WM_GETFONT, 0, 0))));
      *result = CDRF_NEWFONT;
    }
  }
}
