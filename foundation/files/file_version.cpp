#include "foundation/files/file_version.h"

#include <cwchar>
#include <vector>

namespace {

constexpr int kModulePathChars = 1300;

struct ValueText {
  DWORD value;
  const wchar_t* text;
};

constexpr ValueText kDriverTexts[] = {
    {VFT2_UNKNOWN, L"Unknown driver"},       {VFT2_DRV_PRINTER, L"Printer driver"},
    {VFT2_DRV_KEYBOARD, L"Keyboard driver"}, {VFT2_DRV_LANGUAGE, L"Language driver"},
    {VFT2_DRV_DISPLAY, L"Display driver"},   {VFT2_DRV_MOUSE, L"Mouse driver"},
    {VFT2_DRV_NETWORK, L"Network driver"},   {VFT2_DRV_SYSTEM, L"System driver"},
    {VFT2_DRV_INSTALLABLE, L"Installable driver"}, {VFT2_DRV_SOUND, L"Sound driver"},
};

constexpr ValueText kFontTexts[] = {
    {VFT2_UNKNOWN, L"Unknown font"},
    {VFT2_FONT_RASTER, L"Raster font"},
    {VFT2_FONT_VECTOR, L"Vector font"},
    {VFT2_FONT_TRUETYPE, L"Truetype font"},
};

constexpr ValueText kTypeTexts[] = {
    {VFT_UNKNOWN, L"Unknown type"},
    {VFT_APP, L"Application"},
    {VFT_DLL, L"Dynamic link library"},
    {VFT_STATIC_LIB, L"Static link library"},
    {VFT_VXD, L"Virtual device"},
};

constexpr ValueText kOSTexts[] = {
    {VOS_UNKNOWN, L"Unknown OS"},
    {VOS_DOS, L"MS-DOS"},
    {VOS_DOS_WINDOWS16, L"16-bit windows running on MS-DOS"},
    {VOS_DOS_WINDOWS32, L"Win32 API running on MS-DOS"},
    {VOS_OS216, L"16-bit OS/2"},
    {VOS_OS216_PM16, L"16-bit Presentation manager running on 16-bit OS/2"},
    {VOS_OS232, L"32-bit OS/2"},
    {VOS_NT, L"Windows NT"},
    {VOS_NT_WINDOWS32, L"Win32 API on Windows NT"},
};

template <size_t N>
std::wstring Lookup(const ValueText (&table)[N], DWORD value) {
  for (const auto& entry : table) {
    if (entry.value == value) return entry.text;
  }
  return std::wstring();
}

std::wstring NumberText(unsigned int value) {
  wchar_t text[16];
  swprintf(text, 16, L"%d", static_cast<int>(value));
  return text;
}

}  // namespace

std::wstring GetFileTypeText(DWORD fileType, DWORD fileSubtype) {
  if (fileType == VFT_DRV) return Lookup(kDriverTexts, fileSubtype);
  if (fileType == VFT_FONT) return Lookup(kFontTexts, fileSubtype);
  return Lookup(kTypeTexts, fileType);
}

std::wstring GetFileOSText(DWORD fileOS) { return Lookup(kOSTexts, fileOS); }

CFileVersionInfo::CFileVersionInfo(const std::wstring& path) : m_filePath(path) {}

CFileVersionInfo::CFileVersionInfo(HMODULE module) {
  if (!module) module = GetModuleHandleW(nullptr);
  if (!module) return;
  wchar_t path[kModulePathChars] = {};
  DWORD n = GetModuleFileNameW(module, path, kModulePathChars);
  if (n > 0 && n < static_cast<DWORD>(kModulePathChars)) m_filePath.assign(path, n);
}

void CFileVersionInfo::Clear() {
  for (std::wstring* text : {&CompanyName, &LegalCopyRight, &ProductName, &ProductVersion,
                             &OriginalFileName, &FileDescription, &FileVersion, &InternalName,
                             &MajorText, &MinorText, &FixedVersionText, &OSText, &TypeText}) {
    text->clear();
  }
  FixedInfo = VS_FIXEDFILEINFO{};
  TranslationLanguage = 0;
  TranslationCodePage = 0;
}

bool CFileVersionInfo::Load() {
  Clear();
  if (m_filePath.empty()) return false;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(m_filePath.c_str(), &handle);
  if (size == 0) return false;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(m_filePath.c_str(), 0, size, block.data())) return false;

  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", &value, &length) || !value ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  FixedInfo = *static_cast<const VS_FIXEDFILEINFO*>(value);
  MajorText = NumberText(HIWORD(FixedInfo.dwFileVersionMS));
  MinorText = NumberText(LOWORD(FixedInfo.dwFileVersionMS));
  wchar_t fixed[64];
  swprintf(fixed, 64, L"%d.%d.%d.%d", HIWORD(FixedInfo.dwFileVersionMS),
           LOWORD(FixedInfo.dwFileVersionMS), HIWORD(FixedInfo.dwFileVersionLS),
           LOWORD(FixedInfo.dwFileVersionLS));
  FixedVersionText = fixed;
  OSText = GetFileOSText(FixedInfo.dwFileOS);
  TypeText = GetFileTypeText(FixedInfo.dwFileType, FixedInfo.dwFileSubtype);

  value = nullptr;
  length = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) && value &&
      length >= sizeof(DWORD)) {
    const WORD* pair = static_cast<const WORD*>(value);
    TranslationLanguage = pair[0];
    TranslationCodePage = pair[1];
    struct {
      const wchar_t* name;
      std::wstring* field;
    } names[] = {
        {L"CompanyName", &CompanyName},         {L"LegalCopyRight", &LegalCopyRight},
        {L"ProductName", &ProductName},         {L"ProductVersion", &ProductVersion},
        {L"OriginalFileName", &OriginalFileName}, {L"FileDescription", &FileDescription},
        {L"FileVersion", &FileVersion},         {L"InternalName", &InternalName},
    };
    for (const auto& entry : names) {
      wchar_t query[128];
      swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", TranslationLanguage,
               TranslationCodePage, entry.name);
      value = nullptr;
      length = 0;
      if (VerQueryValueW(block.data(), query, &value, &length) && value) {
        // The length counts characters and may include the terminator.
        const wchar_t* text = static_cast<const wchar_t*>(value);
        entry.field->assign(text, wcsnlen(text, length));
      }
    }
  }
  return true;
}

std::wstring CFileVersionInfo::GetProductVersion() const {
  std::wstring result;
  result.reserve(ProductVersion.size());
  for (wchar_t ch : ProductVersion) {
    if (ch == L' ') continue;
    result += ch == L',' ? L'.' : ch;
  }
  return result;
}

std::wstring CFileVersionInfo::GetVersionWithoutBuild() const {
  std::wstring version = GetProductVersion();
  size_t dot = version.rfind(L'.');
  return dot == std::wstring::npos ? version : version.substr(0, dot);
}

std::wstring CFileVersionInfo::GetBuildNumber() const {
  std::wstring version = GetProductVersion();
  size_t dot = version.rfind(L'.');
  return dot == std::wstring::npos ? version : version.substr(dot + 1);
}
