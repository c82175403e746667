// What a folder list shows, as text, for tests that compare a shown list
// with one made anew.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <sstream>
#include <string>
#include <vector>

#include "editor/doc/doc.h"
#include "editor/doc/folder_view.h"
#include "platform/mfc/doc/create_context.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "tests/support/test_support.h"

namespace docfix {

// Everything a user or a program can see of a report list, as text, so two
// lists compare in one line and a difference reads plainly.
inline std::string DescribeList(HWND list) {
  std::wostringstream out;
  out << L"style " << std::hex << GetWindowLongPtrW(list, GWL_STYLE) << L" ex "
      << GetWindowLongPtrW(list, GWL_EXSTYLE) << L" lvex " << SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)
      << std::dec << L" font " << SendMessageW(list, WM_GETFONT, 0, 0) << L" images "
      << SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) << L"/"
      << (SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0) != 0) << L" colours "
      << SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0) << L"/" << SendMessageW(list, LVM_GETBKCOLOR, 0, 0) << L"\n";
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  std::vector<int> order(static_cast<size_t>(columns > 0 ? columns : 1));
  SendMessageW(list, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns), reinterpret_cast<LPARAM>(order.data()));
  for (int c = 0; c < columns; ++c) {
    wchar_t text[260] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = 260;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
    out << L"column " << c << L" [" << text << L"] width " << column.cx << L" fmt " << column.fmt << L" header "
        << item.fmt << L" order " << order[static_cast<size_t>(c)] << L"\n";
  }
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  out << L"items " << count << L" selected " << SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) << L" mark "
      << SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0) << L" focused "
      << SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) << L" top "
      << SendMessageW(list, LVM_GETTOPINDEX, 0, 0);
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO info = {sizeof(info), SIF_ALL};
    if (!GetScrollInfo(list, bar, &info)) info = {sizeof(info)};
    out << L" scroll " << info.nPos << L" of " << info.nMin << L".." << info.nMax << L" page " << info.nPage;
  }
  out << L"\n";
  for (int i = 0; i < count; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = i;
    item.stateMask = static_cast<UINT>(-1);
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    out << L"row " << i << L" record " << item.lParam << L" image " << item.iImage << L" state " << std::hex
        << item.state << std::dec;
    for (int sub = 0; sub < 3; ++sub) {
      wchar_t text[520] = {};
      LVITEMW cell = {};
      cell.iSubItem = sub;
      cell.pszText = text;
      cell.cchTextMax = 520;
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&cell));
      out << L" [" << text << L"]";
    }
    out << L"\n";
  }
  return qlrtest::ToUtf8(out.str());
}

// The lines of have that differ from want's, or nothing when they agree.
inline std::string Differences(const std::string& have, const std::string& want) {
  std::istringstream a(have), b(want);
  std::string x, y, out;
  int shown = 0;
  while (shown < 6) {
    const bool moreA = static_cast<bool>(std::getline(a, x));
    const bool moreB = static_cast<bool>(std::getline(b, y));
    if (!moreA && !moreB) break;
    if (!moreA) x = "(none)";
    if (!moreB) y = "(none)";
    if (x == y) continue;
    out += "shown: " + x + "\nnew:   " + y + "\n";
    ++shown;
  }
  return out;
}

// A folder list made now, as the document makes one, at the shown list's
// place; described, then destroyed.
inline std::string DescribeNewFolderList(CDoc* doc, CFrameWnd* frame, HWND shown) {
  CRect rect;
  GetWindowRect(shown, &rect);
  MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
  CView* fresh = static_cast<CView*>(RUNTIME_CLASS(CFolderView)->CreateObject());
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CFolderView);
  context.m_pCurrentDoc = doc;
  context.m_pCurrentFrame = frame;
  if (!fresh->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, frame, AFX_IDW_PANE_FIRST + 1, &context))
    return "no list could be made";
  fresh->OnInitialUpdate();
  std::string description = DescribeList(fresh->m_hWnd);
  fresh->DestroyWindow();
  return description;
}

}  // namespace docfix
