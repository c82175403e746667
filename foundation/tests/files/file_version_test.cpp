#include "foundation/files/file_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resources/version.h"
#include "tests/support/test_support.h"

namespace {

std::wstring Widen(const char* text) { return qlrtest::FromUtf8(text); }

// One node of a version resource: header, key, value, children, each part
// aligned to 32 bits.
struct VersionNode {
  std::wstring key;
  WORD type = 1;  // 1: text value, 0: binary value
  std::vector<unsigned char> value;
  WORD valueLength = 0;  // characters for text, bytes for binary
  std::vector<VersionNode> children;
};

VersionNode TextValue(const std::wstring& key, const std::wstring& text) {
  VersionNode node;
  node.key = key;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
  node.value.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
  node.valueLength = static_cast<WORD>(text.size() + 1);
  return node;
}

VersionNode Block(const std::wstring& key, std::vector<VersionNode> children) {
  VersionNode node;
  node.key = key;
  node.children = std::move(children);
  return node;
}

void Align(std::vector<unsigned char>& out) {
  while (out.size() % 4) out.push_back(0);
}

void Serialize(const VersionNode& node, std::vector<unsigned char>& out) {
  Align(out);
  size_t start = out.size();
  out.resize(start + 6);
  const auto* key = reinterpret_cast<const unsigned char*>(node.key.c_str());
  out.insert(out.end(), key, key + (node.key.size() + 1) * sizeof(wchar_t));
  Align(out);
  out.insert(out.end(), node.value.begin(), node.value.end());
  for (const auto& child : node.children) Serialize(child, out);
  WORD header[3] = {static_cast<WORD>(out.size() - start), node.valueLength, node.type};
  std::memcpy(&out[start], header, sizeof(header));
}

struct ResourceShape {
  DWORD fileVersionMS = MAKELONG(7, 3), fileVersionLS = MAKELONG(13, 11);
  DWORD fileOS = VOS_NT_WINDOWS32, fileType = VFT_APP, fileSubtype = 0;
  bool withTranslation = true;
  WORD language = 0x0407, codePage = 0x04E4;
  std::vector<VersionNode> strings;
};

std::vector<unsigned char> BuildVersionResource(const ResourceShape& want) {
  VS_FIXEDFILEINFO fixed = {};
  fixed.dwSignature = VS_FFI_SIGNATURE;
  fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
  fixed.dwFileVersionMS = want.fileVersionMS;
  fixed.dwFileVersionLS = want.fileVersionLS;
  fixed.dwProductVersionMS = want.fileVersionMS;
  fixed.dwProductVersionLS = want.fileVersionLS;
  fixed.dwFileOS = want.fileOS;
  fixed.dwFileType = want.fileType;
  fixed.dwFileSubtype = want.fileSubtype;
  VersionNode root;
  root.key = L"VS_VERSION_INFO";
  root.type = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&fixed);
  root.value.assign(bytes, bytes + sizeof(fixed));
  root.valueLength = sizeof(fixed);
  wchar_t table[16];
  swprintf(table, 16, L"%04x%04x", want.language, want.codePage);
  root.children.push_back(Block(L"StringFileInfo", {Block(table, want.strings)}));
  if (want.withTranslation) {
    VersionNode translation;
    translation.key = L"Translation";
    translation.type = 0;
    WORD pair[2] = {want.language, want.codePage};
    const auto* p = reinterpret_cast<const unsigned char*>(pair);
    translation.value.assign(p, p + sizeof(pair));
    translation.valueLength = sizeof(pair);
    root.children.push_back(Block(L"VarFileInfo", {translation}));
  }
  std::vector<unsigned char> out;
  Serialize(root, out);
  return out;
}

// A copy of this test program with all its resources replaced: only the
// given version block, or none at all.
std::wstring MakeProgram(const qlrtest::TempDir& dir, const wchar_t* name,
                         const std::vector<unsigned char>* version) {
  std::wstring path = dir.File(name);
  if (!qlrtest::CopyFileTo(CFileVersionInfo(static_cast<HMODULE>(nullptr)).GetFilePath(), path))
    return std::wstring();
  HANDLE update = BeginUpdateResourceW(path.c_str(), TRUE);
  if (!update) return std::wstring();
  bool ok = true;
  if (version) {
    ok = UpdateResourceW(update, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO),
                         MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                         const_cast<unsigned char*>(version->data()),
                         static_cast<DWORD>(version->size())) != FALSE;
  }
  if (!EndUpdateResourceW(update, !ok) || !ok) return std::wstring();
  return path;
}

TEST(FileVersionTest, ReadsOurOwnVersionInfo) {
  CFileVersionInfo info(static_cast<HMODULE>(nullptr));
  ASSERT_TRUE(info.Load());
  EXPECT_NE(info.GetFilePath().find(L"foundation_file_version_test.exe"), std::wstring::npos);
  EXPECT_EQ(info.CompanyName, Widen(QLR_COMPANY));
  EXPECT_EQ(info.ProductName, Widen(QLR_PRODUCT));
  EXPECT_EQ(info.LegalCopyRight, Widen(QLR_COPYRIGHT));
  EXPECT_EQ(info.ProductVersion, Widen(QLR_VER_TEXT));
  EXPECT_EQ(info.FileVersion, Widen(QLR_VER_TEXT));
  EXPECT_EQ(info.GetFileDescription(), L"Version reader test");
  EXPECT_EQ(info.InternalName, L"file_version_test");
  EXPECT_EQ(info.OriginalFileName, L"foundation_file_version_test.exe");

  const std::wstring major = std::to_wstring(QLR_VER_MAJOR), minor = std::to_wstring(QLR_VER_MINOR);
  const std::wstring withoutBuild = major + L"." + minor + L"." + std::to_wstring(QLR_VER_PATCH);
  const std::wstring build = std::to_wstring(QLR_VER_BUILD);
  EXPECT_EQ(info.GetProductVersion(), withoutBuild + L"." + build);
  EXPECT_EQ(info.GetVersionWithoutBuild(), withoutBuild);
  EXPECT_EQ(info.GetBuildNumber(), build);
  EXPECT_EQ(info.FixedVersionText, withoutBuild + L"." + build);
  EXPECT_EQ(info.MajorText, major);
  EXPECT_EQ(info.MinorText, minor);
  EXPECT_EQ(info.OSText, L"Win32 API on Windows NT");
  EXPECT_EQ(info.TypeText, L"Application");
  EXPECT_EQ(info.TranslationLanguage, 0x0409);
  EXPECT_EQ(info.TranslationCodePage, 1200);
  EXPECT_EQ(info.FixedInfo.dwSignature, static_cast<DWORD>(VS_FFI_SIGNATURE));
}

TEST(FileVersionTest, ModuleHandleNamesThatModule) {
  CFileVersionInfo kernel(GetModuleHandleW(L"kernel32.dll"));
  std::wstring path = kernel.GetFilePath();
  ASSERT_GE(path.size(), 13u);
  EXPECT_EQ(_wcsicmp(path.substr(path.size() - 13).c_str(), L"\\kernel32.dll"), 0) << path;
}

TEST(FileVersionTest, CommasBlanksMissingValuesAndOtherTables) {
  qlrtest::TempDir dir;
  ResourceShape want;
  want.fileOS = VOS_DOS_WINDOWS16;
  want.fileType = VFT_DRV;
  want.fileSubtype = VFT2_DRV_MOUSE;
  want.strings = {TextValue(L"CompanyName", L"Maker"), TextValue(L"ProductName", L"Product"),
                  TextValue(L"ProductVersion", L"1, 5, 0, 2"),
                  TextValue(L"FileDescription", L"Described"),
                  TextValue(L"InternalName", L"inner")};
  auto resource = BuildVersionResource(want);
  std::wstring path = MakeProgram(dir, L"commas.exe", &resource);
  ASSERT_FALSE(path.empty());
  CFileVersionInfo info(path);
  ASSERT_TRUE(info.Load());
  EXPECT_EQ(info.GetProductVersion(), L"1.5.0.2");
  EXPECT_EQ(info.GetVersionWithoutBuild(), L"1.5.0");
  EXPECT_EQ(info.GetBuildNumber(), L"2");
  EXPECT_EQ(info.CompanyName, L"Maker");
  EXPECT_EQ(info.ProductName, L"Product");
  EXPECT_EQ(info.GetFileDescription(), L"Described");
  EXPECT_EQ(info.InternalName, L"inner");
  EXPECT_EQ(info.LegalCopyRight, L"");
  EXPECT_EQ(info.FileVersion, L"");
  EXPECT_EQ(info.TranslationLanguage, 0x0407);
  EXPECT_EQ(info.TranslationCodePage, 0x04E4);
  EXPECT_EQ(info.FixedVersionText, L"3.7.11.13");
  EXPECT_EQ(info.MajorText, L"3");
  EXPECT_EQ(info.MinorText, L"7");
  EXPECT_EQ(info.TypeText, L"Mouse driver");
  EXPECT_EQ(info.OSText, L"16-bit windows running on MS-DOS");
}

TEST(FileVersionTest, VersionsWithoutDotsOrTranslation) {
  qlrtest::TempDir dir;
  ResourceShape want;
  want.withTranslation = false;
  want.strings = {TextValue(L"CompanyName", L"Maker"), TextValue(L"ProductVersion", L"7")};
  auto resource = BuildVersionResource(want);
  std::wstring path = MakeProgram(dir, L"plain.exe", &resource);
  ASSERT_FALSE(path.empty());
  CFileVersionInfo info(path);
  ASSERT_TRUE(info.Load());
  EXPECT_EQ(info.CompanyName, L"");  // no translation table: no string values
  EXPECT_EQ(info.ProductVersion, L"");
  EXPECT_EQ(info.FixedVersionText, L"3.7.11.13");

  info.ProductVersion = L"12 34";
  EXPECT_EQ(info.GetProductVersion(), L"1234");
  EXPECT_EQ(info.GetVersionWithoutBuild(), L"1234");
  EXPECT_EQ(info.GetBuildNumber(), L"1234");
}

TEST(FileVersionTest, FilesWithoutVersionResourceLeaveEverythingEmpty) {
  qlrtest::TempDir dir;
  std::wstring bare = MakeProgram(dir, L"bare.exe", nullptr);
  ASSERT_FALSE(bare.empty());
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"text.txt"), "not a program"));
  for (const std::wstring& path : {bare, dir.File(L"text.txt"), dir.File(L"missing.exe"),
                                   std::wstring()}) {
    CFileVersionInfo info(path);
    // A failed load also clears what an earlier load of another file left.
    info.CompanyName = L"stale";
    EXPECT_FALSE(info.Load()) << path;
    EXPECT_EQ(info.CompanyName, L"");
    EXPECT_EQ(info.GetProductVersion(), L"");
    EXPECT_EQ(info.FixedVersionText, L"");
    EXPECT_EQ(info.TypeText, L"");
  }
}

TEST(FileVersionTest, TypeAndOSTexts) {
  struct {
    DWORD type, subtype;
    const wchar_t* text;
  } types[] = {
      {VFT_UNKNOWN, 0, L"Unknown type"},         {VFT_APP, 5, L"Application"},
      {VFT_DLL, 0, L"Dynamic link library"},     {VFT_STATIC_LIB, 0, L"Static link library"},
      {VFT_VXD, 0, L"Virtual device"},           {VFT_DRV, 0, L"Unknown driver"},
      {VFT_DRV, 1, L"Printer driver"},           {VFT_DRV, 9, L"Sound driver"},
      {VFT_DRV, 10, L""},                        {VFT_FONT, 0, L"Unknown font"},
      {VFT_FONT, 3, L"Truetype font"},           {VFT_FONT, 4, L""},
      {99, 0, L""},
  };
  for (const auto& t : types) EXPECT_EQ(GetFileTypeText(t.type, t.subtype), t.text) << t.type;
  struct {
    DWORD os;
    const wchar_t* text;
  } systems[] = {
      {VOS_UNKNOWN, L"Unknown OS"},
      {VOS_DOS, L"MS-DOS"},
      {VOS_DOS_WINDOWS32, L"Win32 API running on MS-DOS"},
      {VOS_OS216, L"16-bit OS/2"},
      {VOS_OS216_PM16, L"16-bit Presentation manager running on 16-bit OS/2"},
      {VOS_OS232, L"32-bit OS/2"},
      {VOS_NT, L"Windows NT"},
      {VOS_NT_WINDOWS32, L"Win32 API on Windows NT"},
      {VOS__WINDOWS32, L""},
      {0x12345, L""},
  };
  for (const auto& s : systems) EXPECT_EQ(GetFileOSText(s.os), s.text) << s.os;
}

}  // namespace
