#include "foundation/localization/menu_localizer.h"

#include <cwchar>

#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_cache.h"
#include "foundation/localization/lng_section_batch.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr wchar_t kLocalizeMarker[] = L"{87D306BD-DD3A-42fa-B7F2-9B39C5D6F374}";
constexpr wchar_t kItemTextMarker[] = L"{87D306BD-DD3A-42fa-B7F2123129B39C5D6F374}";
constexpr DWORD kValueChars = 2000;
constexpr int kItemChars = 260;
constexpr int kCommandTextChars = 1000;
constexpr wchar_t kEllipsis = L'\u2026';
constexpr wchar_t kKeyboardPunctuation[] = L"<>,./?\";:']}[{!@#$%^&*()-_=+\\|";

struct ItemInfo {
  UINT id = 0;
  HMENU submenu = nullptr;
};

ItemInfo GetItem(HMENU menu, int pos) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_SUBMENU;
  ItemInfo item;
  if (GetMenuItemInfoW(menu, pos, TRUE, &mii)) {
    item.id = mii.wID;
    item.submenu = mii.hSubMenu;
  }
  return item;
}

std::wstring MenuText(HMENU menu, UINT item, UINT flags, int maxChars) {
  std::wstring text(maxChars + 1, L'\0');
  int n = GetMenuStringW(menu, item, &text[0], maxChars + 1, flags);
  text.resize(n > 0 ? n : 0);
  return text;
}

// Depth first by position; the first item with the command id wins.
std::wstring FindCommandText(HMENU menu, UINT commandId) {
  int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; ++pos) {
    ItemInfo item = GetItem(menu, pos);
    if (item.submenu) {
      std::wstring text = FindCommandText(item.submenu, commandId);
      if (!text.empty()) return text;
      continue;
    }
    if (item.id == 0) continue;
    if (item.id == commandId) return MenuText(menu, pos, MF_BYPOSITION, kCommandTextChars);
  }
  return std::wstring();
}

// The example file gathers each item's display text (no "&", no
// accelerator) and is read as the language when none is chosen: a value
// that is the item's own display text is no translation, and the item
// keeps its mnemonic and accelerator.
bool IsOwnDisplayText(const std::wstring& value, const MenuItemKey& key) {
  return value == LngValueAsRead(key.display);
}

void WriteMenuLevel(CLngSectionBatch& batch, HMENU menu, const CMenuLocalizer* exemptFrom) {
  int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; ++pos) {
    ItemInfo item = GetItem(menu, pos);
    if (!item.submenu && (item.id == 0 || (exemptFrom && exemptFrom->IsExempt(item.id)))) continue;
    MenuItemKey key = MakeMenuItemKey(MenuText(menu, pos, MF_BYPOSITION, kItemChars));
    if (!key.key.empty()) batch.AddMissing(key.key, key.display);
    if (item.submenu) WriteMenuLevel(batch, item.submenu, exemptFrom);
  }
}

}  // namespace

MenuItemKey MakeMenuItemKey(const std::wstring& itemText) {
  MenuItemKey result;
  std::wstring text = itemText;
  size_t tab = text.find(L'\t');
  if (tab != std::wstring::npos && tab > 0) {
    result.accelerator = text.substr(tab + 1);
    text.erase(tab);
  }
  ReplaceText(text, L"&", L"");
  result.display = text;
  std::wstring key;
  for (wchar_t ch : text) {
    if (ch == kEllipsis) continue;
    key += ch == L' ' ? L'_' : ch;
  }
  while (!key.empty() && (key.back() == L'.' || key.back() == kEllipsis)) key.pop_back();
  result.key = key;
  return result;
}

bool HasNonKeyboardChars(const std::wstring& text) {
  for (wchar_t ch : text) {
    bool letter = (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
    bool digit = ch >= L'0' && ch <= L'9';
    if (!letter && !digit && !wcschr(kKeyboardPunctuation, ch)) return true;
  }
  return false;
}

void StripMenuAmpersands(std::wstring& text) {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L'&' && i + 1 < text.size()) {
      if (text[i + 1] != L'&') text.erase(i, 1);
      // Either way the scan goes on behind the character now at i: the
      // second "&" of a pair, or the one that took the mark's place.
    }
    ++i;
  }
  while (!text.empty() && text.back() == kEllipsis) text.pop_back();
}

CMenuLocalizer::CMenuLocalizer(const std::wstring& lngPath, bool writeMode,
                               const std::wstring& suffix)
    : m_writeMode(writeMode), m_section(MakeMenuSectionName(std::wstring())) {
  SetCurrentLanguage(lngPath);
  WriteLangFileHeader(lngPath);
  if (m_writeMode && !lngPath.empty()) CreateLangFile(lngPath);
  if (!suffix.empty()) m_section = MakeMenuSectionName(suffix);
}

std::wstring MakeMenuSectionName(const std::wstring& suffix) { return L"Menu" + suffix; }

void CMenuLocalizer::AddExemptRange(UINT first, UINT last) { m_exempt.emplace_back(first, last); }

bool CMenuLocalizer::IsExempt(UINT commandId) const {
  for (const auto& range : m_exempt)
    if (commandId >= range.first && commandId <= range.second) return true;
  return false;
}

void CMenuLocalizer::LocalizeMenu(HMENU menu) {
  const std::wstring lngFile = GetCurrentLanguage();
  // The keys this opening lacks are written together at its end.
  CLngPendingWrites missing(lngFile, m_section);
  LocalizeLevel(menu, lngFile, missing);
}

void CMenuLocalizer::LocalizeLevel(HMENU menu, const std::wstring& lngFile, CLngPendingWrites& missing) {
  int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; ++pos) {
    ItemInfo item = GetItem(menu, pos);
    if (item.submenu) {
      LocalizeItem(menu, pos, lngFile, missing);
      LocalizeLevel(item.submenu, lngFile, missing);
    } else if (item.id != 0 && !IsExempt(item.id)) {
      LocalizeItem(menu, pos, lngFile, missing);
    }
  }
}

void CMenuLocalizer::LocalizeItem(HMENU menu, int pos, const std::wstring& lngFile, CLngPendingWrites& missing) {
  std::wstring text = MenuText(menu, pos, MF_BYPOSITION, kItemChars);
  if (text.empty()) return;
  MenuItemKey key = MakeMenuItemKey(text);
  if (key.key.empty()) return;
  std::wstring value;
  ReadLngValue(lngFile, m_section, key.key, kLocalizeMarker, kValueChars + 1, &value);
  if (!value.empty() && !EqualNoCase(value, kLocalizeMarker)) {
    if (IsOwnDisplayText(value, key)) return;
    if (!key.accelerator.empty()) value += L"\t" + key.accelerator;
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = &value[0];
    SetMenuItemInfoW(menu, pos, TRUE, &mii);
    return;
  }
  // A menu already shown in a non-Latin script adds no keys.
  if (m_writeMode && !HasNonKeyboardChars(key.key)) missing.Put(key.key, key.display);
}

std::wstring CMenuLocalizer::GetItemText(UINT menuId, UINT commandId) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(LOWORD(menuId)));
  if (!menu) return std::wstring();
  // Stripped once, wherever the item sits: a second pass would eat the
  // "&" that a doubled "&&" leaves.
  std::wstring text = FindCommandText(menu, commandId);
  DestroyMenu(menu);
  StripMenuAmpersands(text);
  if (text.empty()) return text;
  const MenuItemKey key = MakeMenuItemKey(text);
  std::wstring value;
  ReadLngValue(GetCurrentLanguage(), m_section, key.key, kItemTextMarker, kValueChars + 1, &value);
  // An empty translation counts as missing, as it does for LocalizeMenu.
  if (!value.empty() && value != kItemTextMarker && !IsOwnDisplayText(value, key)) return value;
  return text;
}

CMenuLocalizerEx::CMenuLocalizerEx(const std::wstring& lngPath, const std::wstring& suffix)
    : CMenuLocalizer(lngPath, true, suffix) {}

void CMenuLocalizerEx::WriteMenu(HMENU menu) {
  WriteMenuTexts(GetCurrentLanguage(), GetSectionName(), menu, this);
}

int WriteMenuTexts(const std::wstring& lngFile, const std::wstring& section, HMENU menu,
                   const CMenuLocalizer* exemptFrom) {
  if (lngFile.empty()) return -1;
  CLngSectionBatch batch(lngFile, section);
  WriteMenuLevel(batch, menu, exemptFrom);
  return batch.Flush();
}
