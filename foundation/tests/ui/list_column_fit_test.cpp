#include "foundation/ui/list_column_fit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

HWND MakeList(HWND parent, int columns) {
  HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 500, 300, parent,
                                nullptr, nullptr, nullptr);
  for (int column = 0; column < columns; ++column) {
    LVCOLUMNW item = {};
    item.mask = LVCF_TEXT | LVCF_FMT;
    item.fmt = column == 1 ? LVCFMT_CENTER : LVCFMT_LEFT;
    item.pszText = const_cast<wchar_t*>(L"Title");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  }
  return list;
}

void WriteRows(HWND list, const Rows& rows, ListColumnFitter::Fill* measure) {
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    std::wstring first = rows[i][0];
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.iImage = static_cast<int>(i % 3);
    item.pszText = &first[0];
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t column = 1; column < rows[i].size(); ++column) {
      std::wstring text = rows[i][column];
      LVITEMW sub = {};
      sub.iSubItem = static_cast<int>(column);
      sub.pszText = &text[0];
      ::SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
    }
    if (measure)
      for (size_t column = 0; column < rows[i].size(); ++column)
        measure->Offer(static_cast<int>(column), rows[i][column]);
  }
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

std::vector<int> Widths(HWND list, int columns) {
  std::vector<int> widths;
  for (int column = 0; column < columns; ++column)
    widths.push_back(static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)));
  return widths;
}

// The fitters' hidden lists: message-only hosts holding a list view.
std::vector<HWND> HiddenListHosts() {
  std::vector<HWND> hosts;
  for (HWND found = nullptr; (found = ::FindWindowExW(HWND_MESSAGE, found, L"STATIC", nullptr));)
    if (::FindWindowExW(found, nullptr, WC_LISTVIEWW, nullptr)) hosts.push_back(found);
  return hosts;
}

std::wstring RandomText(std::mt19937& random, size_t most) {
  static const std::wstring kLetters =
      L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;-_WWMMiIl|\u00e9\u00fc\u0416\u4e2d\u3042";
  std::wstring text(std::uniform_int_distribution<size_t>(0, most)(random), L' ');
  for (wchar_t& c : text) c = kLetters[std::uniform_int_distribution<size_t>(0, kLetters.size() - 1)(random)];
  return text;
}

// A list fitted by the fitter and a twin with the same rows, styles, font,
// images and titles that sizes its own columns: after every step of a random
// walk the two must show the same widths. The walk also destroys the
// fitter's hidden list from outside now and then; a fitter leaves no hidden
// list behind.
TEST(ListColumnFitterTest, FitsEveryColumnButTheLastAsTheListItselfWould) {
  HWND frame = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1100, 350, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_TRUE(frame);
  HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32, 3, 0);
  HIMAGELIST wide = ImageList_Create(40, 24, ILC_COLOR32, 3, 0);
  std::vector<HFONT> fonts = {nullptr};
  for (int height : {-9, -13, -22})
    for (int weight : {FW_NORMAL, FW_BOLD})
      fonts.push_back(::CreateFontW(height, 0, 0, 0, weight, height == -13, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                    0, L""));
  const size_t hostsBefore = HiddenListHosts().size();
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 random(seed);
    const int columns = 1 + static_cast<int>(seed % 4);
    HWND fitted = MakeList(frame, columns);
    HWND twin = MakeList(frame, columns);
    ::SetWindowPos(twin, nullptr, 550, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ListColumnFitter fitter;
    bool filled = false;
    const auto both = [&](UINT message, WPARAM wParam, LPARAM lParam) {
      ::SendMessageW(fitted, message, wParam, lParam);
      ::SendMessageW(twin, message, wParam, lParam);
    };
    for (int step = 0; step < 40; ++step) {
      int op = std::uniform_int_distribution<int>(0, 6)(random);
      if (step == 0) op = 5;  // before any fill the list sizes itself
      if (op == 2 && !filled) op = 0;
      std::wstring what;
      if (op == 0 || op == 1) {
        // A fill: no rows now and then, few or many, texts from empty to
        // longer than a list shows.
        const int count = std::uniform_int_distribution<int>(0, 8)(random) == 0
                              ? 0
                              : std::uniform_int_distribution<int>(1, op == 0 ? 12 : 400)(random);
        Rows rows(static_cast<size_t>(count));
        for (auto& row : rows)
          for (int column = 0; column < columns; ++column) row.push_back(RandomText(random, op == 0 ? 300 : 40));
        {
          ListColumnFitter::Fill measure(fitter, fitted);
          WriteRows(fitted, rows, &measure);
        }
        WriteRows(twin, rows, nullptr);
        filled = true;
        what = L"fill of " + std::to_wstring(count);
      } else if (op == 2) {
        // New titles (a language switch): the rows of the last fill stay.
        for (int column = 0; column < columns; ++column) {
          std::wstring title = RandomText(random, 50);
          LVCOLUMNW item = {};
          item.mask = LVCF_TEXT;
          item.pszText = &title[0];
          both(LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        }
        what = L"titles";
      } else if (op == 3) {
        const LPARAM exStyle = std::uniform_int_distribution<int>(0, 1)(random) ? LVS_EX_CHECKBOXES : 0;
        both(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, exStyle);
        what = exStyle ? L"check boxes" : L"no check boxes";
      } else if (op == 4) {
        const int pick = std::uniform_int_distribution<int>(0, 2)(random);
        HIMAGELIST images = pick == 0 ? nullptr : pick == 1 ? small : wide;
        both(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
        what = L"images " + std::to_wstring(pick);
      } else if (op == 6) {
        for (HWND host : HiddenListHosts()) ::DestroyWindow(host);
        what = L"hidden list destroyed";
      } else {
        // A new font comes with a fill in it, as a list that takes another
        // font shows its rows again.
        HFONT font = fonts[std::uniform_int_distribution<size_t>(0, fonts.size() - 1)(random)];
        both(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        what = L"font";
        if (filled) {
          Rows rows(static_cast<size_t>(std::uniform_int_distribution<int>(0, 30)(random)));
          for (auto& row : rows)
            for (int column = 0; column < columns; ++column) row.push_back(RandomText(random, 60));
          {
            ListColumnFitter::Fill measure(fitter, fitted);
            WriteRows(fitted, rows, &measure);
          }
          WriteRows(twin, rows, nullptr);
        }
      }
      fitter.FitAllButLast(fitted);
      for (int column = 0; column + 1 < columns; ++column)
        ::SendMessageW(twin, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE_USEHEADER);
      ASSERT_EQ(Widths(twin, columns), Widths(fitted, columns))
          << "seed " << seed << " step " << step << ": " << std::string(what.begin(), what.end());
    }
    ::DestroyWindow(fitted);
    ::DestroyWindow(twin);
  }
  EXPECT_EQ(hostsBefore, HiddenListHosts().size());
  ::DestroyWindow(frame);
  ImageList_Destroy(small);
  ImageList_Destroy(wide);
  for (HFONT font : fonts)
    if (font) ::DeleteObject(font);
}

}  // namespace
