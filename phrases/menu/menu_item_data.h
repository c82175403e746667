// The record every item of the phrase menu carries (as its item data): the
// texts it is drawn with, its tooltip and the marks that pick colours,
// icons and numbers when it is painted.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

constexpr int kMenuItemTextChars = 256;  // 255 used, zero-terminated
constexpr std::uint32_t kMenuItemPopup = 16;
constexpr std::uint32_t kMenuItemSeparator = 2048;
constexpr size_t kShortExpandedMax = 70;

// String ids of the menu texts.
constexpr UINT kIdsRightClickHint = 281;

class CMenuItemData {
 public:
  CMenuItemData();
  CMenuItemData(const CMenuItemData& other);
  CMenuItemData& operator=(const CMenuItemData& other) = default;
  ~CMenuItemData();

  // Copy at most 255 characters. A source inside the destination buffer is
  // refused (false); an empty or null source sets nothing (true).
  bool SetCaption(const wchar_t* text) { return SetText(m_caption, text); }
  bool SetHint(const wchar_t* text) { return SetText(m_hint, text); }
  bool SetCommandText(const wchar_t* text) { return SetText(m_commandText, text); }
  // Null when empty.
  const wchar_t* GetCaption() const { return m_caption[0] ? m_caption : nullptr; }
  const wchar_t* GetHint() const { return m_hint[0] ? m_hint : nullptr; }
  const wchar_t* GetCommandText() const { return m_commandText; }

  // withHint appends the line that tells about the right-click menu to a
  // non-empty tooltip.
  void SetToolTip(const std::wstring& text, bool withHint);
  const std::wstring& GetToolTip() const { return m_toolTip; }

  // The expanded text on one line, trimmed, at most 70 characters + "…".
  std::wstring GetShortExpandedText() const;

  bool IsPopup() const { return (kindFlags & kMenuItemPopup) != 0; }
  bool IsSeparator() const { return (kindFlags & kMenuItemSeparator) != 0; }

  std::wstring expandedText;
  std::uint32_t historyFlag = 0;
  std::uint32_t bitmapFlag = 0;
  std::uint32_t dataType = 0;
  std::uint32_t position = 0;
  std::uint32_t kindFlags = 0;
  std::uint32_t highlight = 0;
  std::uint32_t commandId = 0;
  std::int32_t markerPosition = -1;
  std::int32_t lastUsedIndex = -1;

 private:
  static bool SetText(wchar_t* field, const wchar_t* text);

  wchar_t m_caption[kMenuItemTextChars];
  wchar_t m_hint[kMenuItemTextChars];
  wchar_t m_commandText[kMenuItemTextChars];
  std::wstring m_toolTip;
};

// Whether a value is the address of a record alive in this process. Item
// data that reaches the menu's owner in a message is used only when it is
// one: another program can send any value as item data.
bool IsMenuItemRecord(ULONG_PTR value);

// Attaches a record (MIIM_DATA) to an item by command id or by position.
bool SetMenuItemData(HMENU menu, UINT item, bool byPosition, CMenuItemData* data);
// The record of an item; null when the item's data is not one of this
// process's records (a menu of another program, or none).
CMenuItemData* GetMenuItemDataById(HMENU menu, UINT id);
CMenuItemData* GetMenuItemDataByPos(HMENU menu, int position);
// Frees the records of every item, depth first into the submenus.
void FreeMenuItemData(HMENU menu);

// Icon kinds: 0 plain text, 1 formatted text, 2 program, 3 and 4 the two
// web searches, 5 a web address.
int GetMenuIconKind(std::uint32_t dataType, const wchar_t* commandText);
// Icon resource of a kind; 0 for plain text (the shell's ".txt" icon).
UINT GetMenuIconResource(int kind);

// Font styles of an item: the special commands bold, programs underlined,
// formatted text italic.
enum MenuFontStyle { kMenuFontBold = 1, kMenuFontItalic = 2, kMenuFontUnderline = 4 };
int GetMenuItemFontStyle(bool specialCommand, std::uint32_t dataType);
