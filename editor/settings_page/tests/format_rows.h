// What the settings page's format list shows of its icons, for its tests.
#pragma once
#include <windows.h>

#include <commctrl.h>

namespace sptest {

// The format rows whose image is one of the list's small images.
inline int RowsWithIcons(HWND list) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  const int count = images ? ::ImageList_GetImageCount(images) : 0;
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  int shown = 0;
  for (int i = 0; i < rows; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (item.iImage >= 0 && item.iImage < count) ++shown;
  }
  return shown;
}

}  // namespace sptest
