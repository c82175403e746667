// Column widths of a report list view fitted to header and contents the
// list's own way (LVSCW_AUTOSIZE_USEHEADER), without the list measuring
// every row: it takes a device context and realizes its font once per row
// and column, which for a few thousand rows costs more than the fill.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class ListColumnFitter {
 public:
  ListColumnFitter() = default;
  ~ListColumnFitter();
  ListColumnFitter(const ListColumnFitter&) = delete;
  ListColumnFitter& operator=(const ListColumnFitter&) = delete;

  // The texts of one fill, measured in the list's font with one device
  // context. Its end replaces the widest texts of the last fill.
  class Fill {
   public:
    Fill(ListColumnFitter& fitter, HWND list);
    ~Fill();
    Fill(const Fill&) = delete;
    Fill& operator=(const Fill&) = delete;

    void Offer(int column, const std::wstring& text);

   private:
    ListColumnFitter& m_fitter;
    HWND m_list;
    HDC m_dc;
    HGDIOBJ m_oldFont = nullptr;
    std::vector<std::wstring> m_widest;
    std::vector<int> m_widths;
    bool m_hadRows = false;
  };

  // Sets every column but the last to the width LVSCW_AUTOSIZE_USEHEADER
  // gives it for the list's headers of now and the rows of the last fill:
  // the widest text of each column goes into a hidden list set up as this
  // one (font, images, styles, headers), which sizes its own columns.
  // Before any fill, or without the hidden list, the list sizes its
  // columns itself.
  void FitAllButLast(HWND list);

 private:
  bool MakeMeasuringList();

  std::vector<std::wstring> m_widest;
  bool m_hasRows = false;
  bool m_filled = false;
  HWND m_host = nullptr;
  HWND m_measure = nullptr;
};
