#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "editor_settings/helpers/control_ex.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/file_helpers.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/system/shell_open.h"
#include "foundation/ui/icons.h"
#include "foundation/ui/rich_edit_convert.h"
#include "platform/mfc/afxcmn.h"
#include "platform/mfc/tests/control_host.h"

namespace {

// The pixels of one image of a list, drawn on its background colour.
std::vector<DWORD> ImagePixels(HIMAGELIST list, int index) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 18, -18, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
  ::GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + 18 * 18);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);
  return pixels;
}

TEST(UiHelpersTest, FileTypeImagesAreMadeOnceWithFixedPlaces) {
  // As the editor starts: the shell is asked on a thread (a second start
  // does nothing) while the caller goes on.
  StartAskingForFileTypeIcons();
  StartAskingForFileTypeIcons();
  CImageList* list = GetFileTypeImageList();
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(list, GetFileTypeImageList());
  // The images the thread brought are the ones the shell gives here.
  CImageList asked;
  ASSERT_TRUE(asked.Create(18, 18, ILC_COLOR32 | ILC_MASK, 0, 1));
  asked.SetBkColor(editor::GetMenuColor());
  AddIconOrEmpty(asked, GetFolderIcon(false, false));
  AddIconOrEmpty(asked, GetFolderIcon(true, false));
  AddIconOrEmpty(asked, GetShellFileIcon(L".rtf", false));
  AddIconOrEmpty(asked, GetTxtFileIcon());
  for (int image : {kImageFolder, kImageFolderOpen, kImageRichText, kImagePlainText})
    EXPECT_EQ(ImagePixels(asked.GetSafeHandle(), image), ImagePixels(list->GetSafeHandle(), image)) << image;
  // The test program has no icon 144: its place is kept empty.
  EXPECT_EQ(5, list->GetImageCount());
  int cx = 0, cy = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(list->GetSafeHandle(), &cx, &cy));
  EXPECT_EQ(18, cx);
  EXPECT_EQ(18, cy);
  EXPECT_EQ(editor::GetMenuColor(), ::ImageList_GetBkColor(list->GetSafeHandle()));
}

TEST(UiHelpersTest, TabParamsAndTheirFailure) {
  CControlHost host;
  CTabCtrlEx tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CControlHost::ChildRect(), &host, 100));
  tabs.InsertItem(0, L"General", -1, 11);
  tabs.InsertItem(1, L"Hotkeys", -1, -7);
  EXPECT_EQ(11, tabs.GetItemParam(0));
  EXPECT_EQ(-7, tabs.GetItemParam(1));
  EXPECT_EQ(-1, tabs.GetItemParam(2));
  EXPECT_EQ(-1, tabs.GetItemParam(-1));
  CTabCtrlEx unmade;
  EXPECT_EQ(-1, unmade.GetItemParam(0));
}

TEST(UiHelpersTest, PhraseEditControlGetsItsLook) {
  ::LoadLibraryW(L"riched20.dll");
  CControlHost host;
  HWND edit = ::CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 300,
                                200, host.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, edit);
  ::SendMessageW(edit, EM_SETOPTIONS, ECOOP_SET, ECO_READONLY);
  RECT before = {};
  ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&before));
  SetupPhraseEditControl(edit);
  // A rich edit keeps no font handle: its character format shows the font.
  CHARFORMATW format = {};
  format.cbSize = sizeof(format);
  ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_STREQ(L"MS Shell Dlg", format.szFaceName);
  LRESULT options = ::SendMessageW(edit, EM_GETOPTIONS, 0, 0);
  EXPECT_TRUE(options & ECO_READONLY) << "options are added, not replaced";
  // (Wine's control does not report ECO_AUTOVSCROLL back.)
  for (LRESULT flag : {ECO_AUTOWORDSELECTION, ECO_NOHIDESEL, ECO_SELECTIONBAR})
    EXPECT_TRUE(options & flag) << std::hex << flag << " of " << options;
  RECT after = {};
  ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(before.top + 7, after.top);
  SetupPhraseEditControl(nullptr);  // harmless
  ::DestroyWindow(edit);
}

TEST(UiHelpersTest, EnsureVisibleKeepsTheTreeWhereItWasSideways) {
  CControlHost host;
  HWND tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES, 0, 0, 120, 80,
                                host.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, tree);
  TVINSERTSTRUCTW ins = {};
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT;
  std::wstring wide(120, L'W');
  ins.item.pszText = const_cast<wchar_t*>(wide.c_str());
  HTREEITEM parent = TVI_ROOT, last = nullptr, first = nullptr;
  for (int i = 0; i < 30; ++i) {
    ins.hParent = i % 5 == 0 ? TVI_ROOT : parent;
    last = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (i % 5 == 0) parent = last;
    if (!first) first = last;
  }
  // Scrolled to the far right, a plain ensure-visible of an item moves
  // the tree back to the left edge; the helper must not.
  SCROLLINFO si = {sizeof(si), SIF_ALL};
  ASSERT_TRUE(::GetScrollInfo(tree, SB_HORZ, &si)) << "the tree needs a horizontal scroll bar";
  int right = si.nMax - static_cast<int>(si.nPage) + 1;
  ASSERT_GT(right, 0);
  auto scrollRight = [&] {
    ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(first));
    ::SendMessageW(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, right), 0);
    return ::GetScrollPos(tree, SB_HORZ);
  };
  int left = scrollRight();
  ASSERT_GT(left, 0);
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(last));
  ASSERT_NE(left, ::GetScrollPos(tree, SB_HORZ)) << "a plain ensure-visible did not scroll sideways here";
  left = scrollRight();
  TreeEnsureVisibleKeepHScroll(tree, last);
  EXPECT_EQ(left, ::GetScrollPos(tree, SB_HORZ));
  RECT rc = {};
  *reinterpret_cast<HTREEITEM*>(&rc) = last;
  ASSERT_TRUE(::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc)));
  RECT client;
  ::GetClientRect(tree, &client);
  EXPECT_LE(rc.bottom, client.bottom) << "the item was not brought into view";
  TreeEnsureVisibleKeepHScroll(nullptr, last);  // harmless
}

std::wstring g_verb, g_file;
INT_PTR RecordOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int) {
  g_verb = verb ? verb : L"";
  g_file = file ? file : L"";
  return 42;
}

TEST(UiHelpersTest, PropertiesGoThroughTheShellDoorAndRtfBecomesText) {
  SetShellOpenHookForTests(RecordOpen);
  EXPECT_TRUE(ShowFileProperties(L"C:\\phrases\\a.quillora"));
  EXPECT_EQ(L"properties", g_verb);
  EXPECT_EQ(L"C:\\phrases\\a.quillora", g_file);
  EXPECT_FALSE(ShowFileProperties(L""));
  SetShellOpenHookForTests(nullptr);

  CControlHost host;
  SetHiddenRichEditParent(host.m_hWnd);
  EXPECT_EQ(L"", RtfStringToPlainText(L""));
  EXPECT_EQ(L"Hello bold", RtfStringToPlainText(L"{\\rtf1\\ansi Hello {\\b bold}}"));
  SetHiddenRichEditParent(nullptr);
  EXPECT_NE(nullptr, GetAppInstanceHandle());
  EXPECT_EQ(GetFrameNotifyMessage(), ::RegisterWindowMessageW(L"{3875692C-ED88-4395-98D9-42698D67B08A}"));
  EXPECT_EQ(0, SendFrameNotify(5)) << "no main window here";
}

}  // namespace
