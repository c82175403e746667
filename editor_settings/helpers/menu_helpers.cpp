#include "editor_settings/helpers/menu_helpers.h"

#include <vector>

#include "editor_settings/helpers/ui_helpers.h"

namespace {

constexpr size_t kAppendedTextChars = 256;

// The first pop-up item (depth first) with the id, as menu and position.
bool FindFirst(HMENU menu, UINT id, HMENU* owner, int* position) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (FindFirst(sub, id, owner, position)) return true;
      continue;
    }
    if (::GetMenuItemID(menu, i) == id && !(::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)) {
      *owner = menu;
      *position = i;
      return true;
    }
  }
  return false;
}

// The text of an item, by id or by position.
std::wstring ItemText(HMENU menu, UINT item, bool byPosition) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  if (!::GetMenuItemInfoW(menu, item, byPosition, &info) || info.cch == 0) return std::wstring();
  std::vector<wchar_t> buf(info.cch + 1);
  info.dwTypeData = buf.data();
  info.cch = static_cast<UINT>(buf.size());
  if (!::GetMenuItemInfoW(menu, item, byPosition, &info)) return std::wstring();
  return std::wstring(buf.data());
}

std::wstring WithoutEllipsis(std::wstring text) {
  if (!text.empty() && text.back() == L'\x2026') {
    text.pop_back();
  } else if (text.size() >= 3 && text.compare(text.size() - 3, 3, L"...") == 0) {
    text.resize(text.size() - 3);
  }
  return text;
}

}  // namespace

namespace {

// found: a hit was seen; the result is false once the callback asked to stop.
bool VisitMenuItems(HMENU menu, UINT id, MenuItemCallback callback, void* context, bool recurse,
                    bool* found) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (recurse && !VisitMenuItems(sub, id, callback, context, true, found)) return false;
      continue;
    }
    if (::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
    if (::GetMenuItemID(menu, i) != id) continue;
    *found = true;
    if (callback && !callback(menu, id, context)) return false;
  }
  return true;
}

}  // namespace

bool FindMenuItem(HMENU menu, UINT id, MenuItemCallback callback, void* context, bool recurse) {
  if (!menu) return false;
  bool found = false;
  VisitMenuItems(menu, id, callback, context, recurse, &found);
  return found;
}

bool AppendResourceMenu(HMENU menu, UINT id, UINT menuResourceId) {
  if (!menu || FindMenuItem(menu, id, nullptr, nullptr, true)) return false;
  HMENU resource = ::LoadMenuW(GetAppInstanceHandle(), MAKEINTRESOURCEW(menuResourceId));
  if (!resource) return false;
  HMENU owner = nullptr;
  int position = -1;
  bool appended = false;
  if (FindFirst(resource, id, &owner, &position)) {
    std::wstring text = ItemText(owner, position, true);
    if (text.size() > kAppendedTextChars) text.resize(kAppendedTextChars);
    appended = ::AppendMenuW(menu, MF_STRING, id, text.c_str()) != FALSE;
  }
  ::DestroyMenu(resource);
  return appended;
}

std::wstring GetMenuItemText(HMENU menu, UINT id) {
  if (!menu) return std::wstring();
  return WithoutEllipsis(ItemText(menu, id, false));
}

std::wstring GetMenuItemTextFromResource(UINT menuResourceId, UINT id) {
  HMENU resource = ::LoadMenuW(GetAppInstanceHandle(), MAKEINTRESOURCEW(menuResourceId));
  if (!resource) return std::wstring();
  std::wstring text = GetMenuItemText(resource, id);
  ::DestroyMenu(resource);
  return text;
}

std::wstring GetMenuItemTextNoShortcut(HMENU menu, UINT id) {
  std::wstring text = GetMenuItemText(menu, id);
  size_t tab = text.find(L'\t');
  if (tab != std::wstring::npos) text.resize(tab);
  return text;
}
