// The ".info" descriptor of one saved history item: an ini-style text with
// the section "Files". Read once as a whole file and parsed in memory as the
// profile functions would read it; written whole, so no key of an older
// version of the item stays behind.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct HistoryDescriptor {
  int dataType = -1;                // -1 when the key is missing
  bool isProtected = false;
  std::vector<std::wstring> files;  // "File0", "File1", ... up to the first missing or empty
  bool hasCaptureTime = false;
  ULONGLONG captureTime = 0;        // a FILETIME
};

// The value of key in section as GetPrivateProfileStringW would read it
// (first section and key of that name, blanks around the value and one
// pair of enclosing quotes removed, at most 259 characters); false when
// the key is missing.
bool FindProfileValue(const std::wstring& text, const wchar_t* section, const wchar_t* key,
                      std::wstring* value);
// Decodes a profile file's bytes: UTF-16LE or UTF-8 by their marks, else
// the ANSI code page.
std::wstring DecodeProfileText(const char* bytes, size_t size);

// False, with the reason, for a descriptor that names no data file or whose
// keys are empty or not numbers.
bool ParseHistoryDescriptor(const std::wstring& text, HistoryDescriptor* out, std::wstring* problem);
bool ReadHistoryDescriptor(const std::wstring& path, HistoryDescriptor* out, std::wstring* problem);
bool ReadHistoryDescriptor(const std::wstring& path, std::vector<std::wstring>* files,
                           bool* isProtected);

// Writes the whole descriptor (UTF-16 with its mark) through a temporary
// file in the same folder, replacing a read-only one; its creation time
// becomes the capture time and it is left read-only when protected.
bool WriteHistoryDescriptor(const std::wstring& path, const HistoryDescriptor& descriptor);

// Names of the non-folder entries "*.info" of the folder, in the order of
// the directory enumeration; 0 when it cannot start.
int ListHistoryDescriptors(const std::wstring& folder, std::vector<std::wstring>* names);
