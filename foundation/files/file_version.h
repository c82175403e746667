// One file's version resource read into texts.
#pragma once
#include <windows.h>

#include <string>

// Texts for the fixed part's file type (with the subtype of drivers and
// fonts) and target OS; empty for values outside the tables.
std::wstring GetFileTypeText(DWORD fileType, DWORD fileSubtype);
std::wstring GetFileOSText(DWORD fileOS);

class CFileVersionInfo {
 public:
  explicit CFileVersionInfo(const std::wstring& path);
  // Null means the program's own module.
  explicit CFileVersionInfo(HMODULE module);

  // Reads the resource; false (and every text empty) when the file has none
  // or it cannot be read.
  bool Load();

  const std::wstring& GetFilePath() const { return m_filePath; }
  // ProductVersion with "," as "." and without blanks: "1, 5, 0, 2" -> "1.5.0.2".
  std::wstring GetProductVersion() const;
  std::wstring GetFileDescription() const { return FileDescription; }
  // GetProductVersion before / after its last "."; all of it without one.
  std::wstring GetVersionWithoutBuild() const;
  std::wstring GetBuildNumber() const;

  // String values of the first translation.
  std::wstring CompanyName, LegalCopyRight, ProductName, ProductVersion, OriginalFileName,
      FileDescription, FileVersion, InternalName;
  std::wstring MajorText, MinorText;  // file version's first and second number
  std::wstring FixedVersionText;      // "%d.%d.%d.%d" of the file version
  std::wstring OSText, TypeText;
  VS_FIXEDFILEINFO FixedInfo = {};
  WORD TranslationLanguage = 0;
  WORD TranslationCodePage = 0;

 private:
  void Clear();

  std::wstring m_filePath;
};
