// Localised strings: a text of the program's string table by id, overridden
// by the string section of the bound language file, plus a few helpers that
// format localised counts and previews.
#pragma once
#include <windows.h>

#include <string>

// The string section's name before the program's suffix.
constexpr wchar_t kLngStringsSection[] = L"Strings";

// Id of the "Lines" text in every program's string table.
constexpr UINT kIdsLines = 277;

class CLngStringBase {
 public:
  CLngStringBase() = default;
  explicit CLngStringBase(const std::wstring& text) : m_text(text) {}
  virtual ~CLngStringBase() = default;

  // The text of the id: the bound language file's translation, else the
  // string table of the running program (or of module, which may be loaded
  // as a data file). Without a translation the built-in text is written
  // into the language files so translators find it. False when neither
  // has a text.
  bool LoadString(UINT id);
  bool LoadString(UINT id, HMODULE module);

  const std::wstring& Text() const { return m_text; }
  const wchar_t* c_str() const { return m_text.c_str(); }
  operator const std::wstring&() const { return m_text; }

 protected:
  std::wstring m_text;
};

class CLngString : public CLngStringBase {
 public:
  using CLngStringBase::CLngStringBase;
};

// The resource string of id from module (null: the running program), at
// most 767 characters; false when empty or missing.
bool LoadResourceString(HMODULE module, UINT id, std::wstring* out);

// Binds the process-wide string loader to a language file (which becomes
// the current language) with fill-missing on, and appends the suffix to
// the string section name.
bool SetLngStringFile(const std::wstring& lngPath, const std::wstring& suffix);
bool SetLngFileBinding(const std::wstring& lngPath, bool fillMissing);
void AppendLngStringSection(const std::wstring& suffix);
// The string section name ("Strings" + suffix) and its replacement, for a
// collector that binds another program's suffix for a while.
std::wstring GetLngStringSection();
void SetLngStringSection(const std::wstring& section);
bool IsLngFileBound();
bool IsFillMissing();

// Tab, line feed and carriage return <-> "\t", "\n", "\r", in place.
void EscapeLngText(std::wstring& text);
void UnescapeLngText(std::wstring& text);

// 0 below two characters, else 1 + the number of line feeds.
int CountLinesA(const char* text, size_t length);
int CountLinesW(const wchar_t* text, size_t length);
// "Lines: <count>" with the localised word.
void FormatLinesInfo(std::wstring& out, int count);
// Longer texts (lineCount above 4) shortened to the first three lines, an
// ellipsis line and the last three lines.
void MakeHeadTailPreview(std::wstring& out, const std::wstring& text, int lineCount);
