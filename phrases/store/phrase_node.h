// One phrase or phrase folder of the phrase tree. A node begins with the
// menu record it is shown as; a folder owns the list of its children.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/system/shared_records.h"

enum PhraseDataType : std::uint32_t {
  kDataTypeText = 0,
  kDataTypeRtf = 1,
  kDataTypeExec = 2,
};

// Characters a phrase file contributes to the caption and the hint.
constexpr size_t kPhraseCaptionMax = 60;
constexpr size_t kPhraseHintMax = 512;

// Bits of FlagsMenu.
constexpr std::uint32_t kFlagSeparatorBefore = 1;
constexpr std::uint32_t kFlagSeparatorAfter = 2;

class CPhraseNode : public CMenuRecord {
 public:
  CPhraseNode();
  ~CPhraseNode();
  // Moving hands over the children list (and the menu record's); a node is
  // never copied deeply.
  CPhraseNode(CPhraseNode&& other) noexcept;
  CPhraseNode& operator=(CPhraseNode&& other) noexcept;

  bool IsFolder() const { return childNodes != nullptr; }
  // Gives the node an empty children list (makes it a folder).
  void MakeFolder();

  int GetUsageCount() const { return usageCount; }
  void IncrementUsageCount() { ++usageCount; }
  bool GetDisabledIsNoHasSelection() const { return disabledIsNoHasSelection; }
  bool GetUseTitleOnly() const { return useTitleOnly; }
  bool IsSeparatorBefore() const { return (flagsMenu & kFlagSeparatorBefore) != 0; }
  bool IsSeparatorAfter() const { return (flagsMenu & kFlagSeparatorAfter) != 0; }

  // A phrase: its own flag; a folder: whether any node below it is enabled.
  bool IsEnabled() const;
  // A phrase: sets the flag, true when it changed. A folder: applies the
  // value to everything below and saves every phrase whose flag changed.
  bool SetEnabled(bool value);

  bool GetDateUsage(SYSTEMTIME* out) const;  // false while unset (year 0)
  bool SetDateUsage(const SYSTEMTIME& date);  // refused for a folder
  void TouchDateUsage();                      // now, in UTC; phrases only

  // For a folder whose directory exists under the old path and not yet
  // under the new one, the directory is moved first.
  void SetFilePath(const std::wstring& path);
  const std::wstring& GetFilePath() const { return filePath; }

  void SetCaption(const std::wstring& text, size_t maxChars = kPhraseCaptionMax);
  void SetHint(const std::wstring& text, size_t maxChars = kPhraseHintMax);
  std::wstring GetCaption() const { return caption; }

  void ClearTextCaches();
  void SetFirstTextCache(const std::wstring& text) { firstTextCache = text; }
  void SetSecondTextCache(const std::wstring& text) { secondTextCache = text; }

  // Writes the node in the background: a phrase to its file, a folder to
  // "FOLDER_SELF.quillora" in its directory. The file content is built here,
  // so the node may move or go away while the write runs. False when the
  // node has no path or the content cannot be built.
  bool SaveNodeAsync() const;

  std::wstring data;           // the Cmd text
  std::uint32_t sortId = 0;    // order among siblings, compared unsigned
  // Texts the phrase menu made for the node when they do not depend on the
  // request (no changing macros): caption, tooltip, expanded text, layout
  // hint and caret-mark position. Empty again on a reload or a new language.
  std::wstring firstTextCache;
  std::wstring secondTextCache;
  std::wstring expandedTextCache;
  std::wstring hintTextCache;
  std::int32_t markerCache = -1;
  std::int32_t macroState = 0;  // 1 uses changing macros, 2 does not, 0 untested
  bool useTitleOnly = false;
  SYSTEMTIME lastUse = {};
  std::vector<CPhraseNode>* childNodes = nullptr;  // owned; set exactly for a folder
  bool disabledIsNoHasSelection = false;
  std::int32_t usageCount = 0;
  bool enabled = true;
  std::uint32_t flagsMenu = 0;
  std::wstring filePath;  // a phrase: its file; a folder: its directory

 private:
  void TakePhraseFields(CPhraseNode& other);
};

// Path of the file holding a node: the phrase file, or the folder's own record.
std::wstring NodeRecordPath(const CPhraseNode& node);
