// The macro table: the fixed macro names, one keyboard-layout macro per
// installed layout, and the macros that carry an argument.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

enum MacroId {
  kMacroClipboardText,
  kMacroSelectedText,
  kMacroCursorPos,
  kMacroDateTime,
  kMacroDate,
  kMacroTime,
  kMacroDateExWd,
  kMacroDateTimeExWd,
  kMacroUserName,
  kMacroVersion,
  kMacroVersionEditor,
  kMacroVersionDll,
  kMacroDay,
  kMacroDay2,
  kMacroMonthName,
  kMacroMonthNumber,
  kMacroMonthNumber2,
  kMacroMonthNameAbbr,
  kMacroYear,
  kMacroYear2,
  kMacroWeekdayName,
  kMacroWeekdayNameAbbr,
  kMacroKeyTab,
  kMacroKeyEnter,
  kMacroUrlFromSelText,
  kMacroTextAfterUrl,
  kMacroUrlFromClipboard,
  kMacroPromptText,
  kMacroTrimProtocols,
  kMacroWindowsVersion,
  kMacroNumberCharsSelText,
  kMacroNumberCharsClipboard,
  kMacroUpperSelText,
  kMacroLowerSelText,
  kFixedMacroCount,
  kMacroKeyboardLayout = kFixedMacroCount,  // every "%ACTIVATE_KL_xx%"
  kMacroUnknown,
};

// The name of a fixed macro as written in phrases; empty for any other id.
const wchar_t* MacroName(int id);
// The id of a fixed macro by its exact name; kMacroUnknown otherwise.
int FindMacroId(const std::wstring& name);

// Values that stay the same through one request (the user name, the
// versions, the caret mark and the layout macros); every other macro may
// change from one insertion to the next.
bool IsFixedValueMacro(int id);

struct CMacroEntry {
  std::wstring name;
  int id = kMacroUnknown;
};
using CMacroList = std::vector<CMacroEntry>;

// The fixed names and one macro per installed keyboard layout, sorted by
// UTF-16 code units (case-sensitive). Built on first use and kept; the
// returned list stays valid while held even when it is built again.
std::shared_ptr<const CMacroList> GetMacroList();
void ResetMacroList();

// The description the table itself gives a macro; the table holds names
// and values only, so this is empty and callers describe macros with their
// own localised texts.
std::wstring GetMacroTableDescription(const std::wstring& macro);

int GetMacroCount();
// The macro at index of the list; empty outside the list.
std::wstring GetMacroName(int index);

// Keyboard-layout macros: "%ACTIVATE_KL_" + the layout language's ISO 639
// name in upper case + "%".
constexpr wchar_t kLayoutMacroPrefix[] = L"%ACTIVATE_KL_";
struct CLayoutMacro {
  std::wstring name;
  HKL layout = nullptr;
};
// The macro of one layout; empty when its language has no ISO name.
std::wstring LayoutMacroName(HKL layout);
// The macros of the installed layouts, read anew, sorted by name. Layouts of
// one language share a macro, which maps to the later layout of the list.
std::vector<CLayoutMacro> GetLayoutMacros();

// Macros with an argument, "%PROMPT_TEXT={question}%".
struct CArgMacroEntry {
  std::wstring opening;
  std::wstring closing;
  std::wstring whole;
};
int GetArgMacroCount();
// An empty entry outside the table.
CArgMacroEntry GetArgMacroEntry(int index);
