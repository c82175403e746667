// Puts the texts of the current language file into menus: section "Menu" +
// program suffix, keyed by the item's English text ("&Save As…\tCtrl+S" has
// the key "Save_As"). Keys the file lacks are written into it with their
// English text.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class CLngPendingWrites;

struct MenuItemKey {
  std::wstring key;
  std::wstring accelerator;  // the text after the first tab
  std::wstring display;      // the text before it, without "&"
};

MenuItemKey MakeMenuItemKey(const std::wstring& itemText);
// True when the text has a character that is not a Latin letter, a digit or
// one of the keyboard's punctuation characters (blanks, "`" and "~" count
// as outside too).
bool HasNonKeyboardChars(const std::wstring& text);
// Turns "&&" into "&" and drops single mnemonic marks (a final "&" stays),
// then trims trailing "…".
void StripMenuAmpersands(std::wstring& text);

class CMenuLocalizer {
 public:
  // Makes lngPath the current language and creates a missing file with its
  // header; the section is "Menu" + suffix.
  CMenuLocalizer(const std::wstring& lngPath, bool writeMode, const std::wstring& suffix);
  virtual ~CMenuLocalizer() = default;
  virtual bool ReturnTrue() { return true; }

  // Replaces the texts of every item of the menu and its submenus.
  void LocalizeMenu(HMENU menu);
  // The localised text of a command of one of the program's menu resources;
  // empty when the menu or the command is missing.
  std::wstring GetItemText(UINT menuId, UINT commandId);
  // Items with a command id in [first, last] keep their texts (lists that
  // the program fills itself, such as recent folders or languages).
  void AddExemptRange(UINT first, UINT last);
  bool IsExempt(UINT commandId) const;
  const std::wstring& GetSectionName() const { return m_section; }

 private:
  void LocalizeLevel(HMENU menu, const std::wstring& lngFile, CLngPendingWrites& missing);
  void LocalizeItem(HMENU menu, int pos, const std::wstring& lngFile, CLngPendingWrites& missing);

  bool m_writeMode;
  std::wstring m_section;
  std::vector<std::pair<UINT, UINT>> m_exempt;
};

class CMenuLocalizerEx : public CMenuLocalizer {
 public:
  CMenuLocalizerEx(const std::wstring& lngPath, const std::wstring& suffix);
  // The menu writer: every item of the menu, submenus included, goes into
  // the section of the current language file with its English text; keys
  // already there keep their values.
  void WriteMenu(HMENU menu);
};

// "Menu" + program suffix.
std::wstring MakeMenuSectionName(const std::wstring& suffix);
// The menu writer for any file and section (exempt ids: none). The number
// of keys written, or -1 when the write failed.
int WriteMenuTexts(const std::wstring& lngFile, const std::wstring& section, HMENU menu,
                   const CMenuLocalizer* exemptFrom = nullptr);
