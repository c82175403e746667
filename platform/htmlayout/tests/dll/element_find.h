// The element of a view's document with the id given, null when none.
#pragma once
#include <windows.h>

#include "platform/htmlayout/htmlayout.h"

namespace hltest {

inline HELEMENT FindById(HWND view, const wchar_t* id) {
  HELEMENT root = nullptr, found = nullptr;
  HTMLayoutGetRootElement(view, &root);
  HTMLayoutVisitElements(root, nullptr, "id", id, [](HELEMENT he, LPVOID p) -> BOOL {
    *static_cast<HELEMENT*>(p) = he;
    return TRUE;
  }, &found, 0);
  return found;
}

}  // namespace hltest
