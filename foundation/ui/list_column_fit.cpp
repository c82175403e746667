#include "foundation/ui/list_column_fit.h"

#include <commctrl.h>

#include <utility>

namespace {

int ColumnCount(HWND list) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const LRESULT count = header ? ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 0;
  return count > 0 ? static_cast<int>(count) : 0;
}

HFONT ListFont(HWND list) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

ListColumnFitter::~ListColumnFitter() {
  if (m_host && ::IsWindow(m_host)) ::DestroyWindow(m_host);
}

ListColumnFitter::Fill::Fill(ListColumnFitter& fitter, HWND list)
    : m_fitter(fitter), m_list(list), m_dc(::GetDC(list)) {
  if (m_dc) m_oldFont = ::SelectObject(m_dc, ListFont(list));
  // The last column fills what the others leave: its texts are not asked.
  const int fitted = ColumnCount(list) - 1;
  m_widest.resize(fitted > 0 ? static_cast<size_t>(fitted) : 0);
  m_widths.assign(m_widest.size(), -1);
}

ListColumnFitter::Fill::~Fill() {
  if (m_dc) {
    ::SelectObject(m_dc, m_oldFont);
    ::ReleaseDC(m_list, m_dc);
  }
  m_fitter.m_hasRows = m_hadRows;
  // Texts that could not be measured leave the sizing to the list.
  m_fitter.m_filled = m_dc != nullptr;
  m_fitter.m_widest = std::move(m_widest);
}

void ListColumnFitter::Fill::Offer(int column, const std::wstring& text) {
  m_hadRows = true;
  if (column < 0 || static_cast<size_t>(column) >= m_widest.size() || !m_dc) return;
  SIZE size = {};
  if (!::GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size)) size.cx = 0;
  if (size.cx > m_widths[static_cast<size_t>(column)]) {
    m_widths[static_cast<size_t>(column)] = size.cx;
    m_widest[static_cast<size_t>(column)] = text;
  }
}

bool ListColumnFitter::MakeMeasuringList() {
  if (m_measure && ::IsWindow(m_measure)) return true;
  if (m_host && ::IsWindow(m_host)) ::DestroyWindow(m_host);
  m_host = m_measure = nullptr;
  // A message-only parent of this thread: the hidden list is never shown,
  // never enumerated, and its notices stay in this thread.
  m_host = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!m_host) return false;
  m_measure = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 200, 100,
                                m_host, nullptr, nullptr, nullptr);
  if (m_measure) return true;
  ::DestroyWindow(m_host);
  m_host = nullptr;
  return false;
}

void ListColumnFitter::FitAllButLast(HWND list) {
  const int columns = ColumnCount(list);
  if (columns < 2) return;
  if (!m_filled || !MakeMeasuringList()) {
    for (int column = 0; column + 1 < columns; ++column)
      ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE_USEHEADER);
    return;
  }
  // Set up as the fitted list in everything its sizing reads.
  const LRESULT exStyle = ::SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  if (::SendMessageW(m_measure, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) != exStyle)
    ::SendMessageW(m_measure, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(-1), exStyle);
  const WPARAM font = ::SendMessageW(list, WM_GETFONT, 0, 0);
  if (static_cast<WPARAM>(::SendMessageW(m_measure, WM_GETFONT, 0, 0)) != font)
    ::SendMessageW(m_measure, WM_SETFONT, font, FALSE);
  // The titles are measured in the header's font, which a list given no
  // font of its own leaves at the header's default.
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  HWND measureHeader = reinterpret_cast<HWND>(::SendMessageW(m_measure, LVM_GETHEADER, 0, 0));
  const WPARAM headerFont = ::SendMessageW(header, WM_GETFONT, 0, 0);
  if (measureHeader && static_cast<WPARAM>(::SendMessageW(measureHeader, WM_GETFONT, 0, 0)) != headerFont)
    ::SendMessageW(measureHeader, WM_SETFONT, headerFont, FALSE);
  const LPARAM images = ::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
  if (::SendMessageW(m_measure, LVM_GETIMAGELIST, LVSIL_SMALL, 0) != images)
    ::SendMessageW(m_measure, LVM_SETIMAGELIST, LVSIL_SMALL, images);

  ::SendMessageW(m_measure, LVM_DELETEALLITEMS, 0, 0);
  int have = ColumnCount(m_measure);
  while (have > columns) ::SendMessageW(m_measure, LVM_DELETECOLUMN, static_cast<WPARAM>(--have), 0);
  for (int column = 0; column < columns; ++column) {
    wchar_t title[260] = {};
    LVCOLUMNW item = {};
    item.mask = LVCF_FMT | LVCF_TEXT;
    item.pszText = title;
    item.cchTextMax = 260;
    if (!::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) {
      title[0] = L'\0';
      item.fmt = LVCFMT_LEFT;
    }
    item.pszText = title;
    const UINT message = column < have ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW;
    ::SendMessageW(m_measure, message, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  }

  // One row holds the widest text of each column: the widest row of each
  // column is what the list's own sizing ends on.
  if (m_hasRows) {
    std::wstring first = m_widest.empty() ? std::wstring() : m_widest[0];
    LVITEMW row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.pszText = &first[0];
    if (::SendMessageW(m_measure, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)) == 0) {
      for (size_t column = 1; column < m_widest.size(); ++column) {
        LVITEMW sub = {};
        sub.iSubItem = static_cast<int>(column);
        sub.pszText = &m_widest[column][0];
        ::SendMessageW(m_measure, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub));
      }
    }
  }
  for (int column = 0; column + 1 < columns; ++column) {
    ::SendMessageW(m_measure, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE_USEHEADER);
    const LRESULT width = ::SendMessageW(m_measure, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0);
    if (::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0) != width)
      ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width);
  }
}
