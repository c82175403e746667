// The phrase file: one UTF-8 XML document (root QLRCommand) per phrase, and
// "FOLDER_SELF.quillora" for a folder's own attributes. The tray program and
// the editor read and write the same files through these functions.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CPhraseNode;

// A phrase file larger than this is not a phrase the menu can use; it is
// skipped rather than parsed into a tree many times its size.
constexpr unsigned long long kMaxPhraseFileBytes = 64ull * 1024 * 1024;

// Fills the record from the file. False when the file cannot be read, is
// empty, does not parse, has no QLRCommand root or no MenuName text; the
// attributes read before the missing MenuName stay in the record.
bool ReadPhraseFile(CPhraseNode& record, const std::wstring& path);
// The same on content already in memory.
bool ReadPhraseXml(CPhraseNode& record, const char* content);

// The complete file content; empty when the document cannot be built.
std::string PhraseNodeToXml(const CPhraseNode& record);

// What an error callback receives when a write fails.
struct PhraseFileError {
  std::wstring message;  // "ERROR: ..."
  std::wstring path;
  const CPhraseNode* record;
};
using PhraseFileErrorCallback = void (*)(const PhraseFileError& error, void* context);

// Writes the record to path, replacing the old file only once the new one is
// complete. A failure is logged and reported once to the callback (if any).
bool WritePhraseFile(const CPhraseNode& record, const std::wstring& path,
                     PhraseFileErrorCallback onError, void* context);
bool SavePhraseToFile(const CPhraseNode& record, const std::wstring& path);

// "year|month|day|hour|minute|second", decimal, no leading zeros.
std::string FormatDateUsage(const SYSTEMTIME& date);
// False unless the text holds six such numbers within a date's ranges.
bool ParseDateUsage(const std::string& text, SYSTEMTIME* out);

std::wstring DataTypeToText(std::uint32_t dataType);  // any unknown number gives "TEXT"
std::uint32_t ParseDataType(const std::wstring& text);  // case ignored; unknown gives 0
