#include "foundation/system/os_version.h"

#include <gtest/gtest.h>

namespace {

OSVERSIONINFOEXW Version(DWORD major, DWORD minor, DWORD platform, BYTE productType,
                         DWORD build = 1234, const wchar_t* csd = L"") {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  info.dwMajorVersion = major;
  info.dwMinorVersion = minor;
  info.dwPlatformId = platform;
  info.wProductType = productType;
  info.dwBuildNumber = build;
  wcsncpy(info.szCSDVersion, csd, 127);
  return info;
}

constexpr DWORD kNT = VER_PLATFORM_WIN32_NT;
constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr BYTE kWorkstation = VER_NT_WORKSTATION;
constexpr BYTE kServer = VER_NT_SERVER;
constexpr BYTE kDomainController = VER_NT_DOMAIN_CONTROLLER;

TEST(OSVersionTest, SystemsAreIdentifiedByVersionPlatformAndProductType) {
  struct {
    DWORD major, minor, platform;
    BYTE productType;
    int id;
    const wchar_t* name;
    const wchar_t* token;
  } cases[] = {
      {3, 51, kNT, kWorkstation, OS_WINNT351, L"Windows NT 3.51", L"WinNT351"},
      {4, 0, k9x, kWorkstation, OS_WIN95, L"Windows 95", L"Win95"},
      {4, 0, kNT, kWorkstation, OS_WINNT40, L"Windows NT 4.0", L"WinNT40"},
      {4, 10, k9x, kWorkstation, OS_WIN98, L"Windows 98", L"Win98"},
      {4, 90, k9x, kWorkstation, OS_WINME, L"Windows ME", L"WinMe"},
      {5, 0, kNT, kWorkstation, OS_WIN2000, L"Windows 2000", L"Win2000"},
      {5, 1, kNT, kWorkstation, OS_WINXP, L"Windows XP", L"WinXP"},
      {5, 2, kNT, kServer, OS_WINSERVER2003, L"Windows Server 2003", L"Server2003"},
      {6, 0, kNT, kWorkstation, OS_WINVISTA, L"Windows Vista", L"WinVista"},
      {6, 0, kNT, kServer, OS_WINSERVER2008, L"Windows Server 2008", L"WinServer2008"},
      {6, 1, kNT, kWorkstation, OS_WIN7, L"Windows 7", L"Win7"},
      {6, 1, kNT, kDomainController, OS_WINSERVER2008R2, L"Windows Server 2008 R2",
       L"WinServer2008R2"},
      {6, 2, kNT, kWorkstation, OS_WIN8, L"Windows 8", L"Win8"},
      {6, 2, kNT, kServer, OS_WINSERVER2012, L"Windows Server 2012", L"WinServer2012"},
      {6, 3, kNT, kWorkstation, OS_WIN81, L"Windows 8.1", L"Win81"},
      {6, 3, kNT, kServer, OS_WINSERVER2012R2, L"Windows Server 2012 R2", L"WinServer2012R2"},
      {10, 0, kNT, kWorkstation, OS_WIN10, L"Windows 10", L"Win10"},
      {10, 0, kNT, kServer, OS_WINSERVER2016, L"Windows Server 2016", L"WinServer2016"},
      // Versions outside the table keep the unknown id but count as filled.
      {6, 4, kNT, kWorkstation, OS_UNKNOWN, L"Unknown Windows", L"UnknowOs"},
      {4, 0, 7, kWorkstation, OS_UNKNOWN, L"Unknown Windows", L"UnknowOs"},
      {11, 0, kNT, kWorkstation, OS_UNKNOWN, L"Unknown Windows", L"UnknowOs"},
  };
  for (const auto& c : cases) {
    OSRecord record;
    FillOSRecord(Version(c.major, c.minor, c.platform, c.productType), record);
    EXPECT_TRUE(record.filled);
    EXPECT_EQ(record.id, c.id) << c.major << "." << c.minor;
    EXPECT_EQ(GetOSNameById(record.id), c.name);
    EXPECT_EQ(GetOSTokenById(record.id), c.token);
  }
}

TEST(OSVersionTest, NameTableOutsideItsIds) {
  EXPECT_EQ(GetOSNameById(OS_WIN31), L"Unknown Windows");
  EXPECT_EQ(GetOSTokenById(OS_WIN31), L"Win31");
  for (int id : {-2, 19, 1000}) {
    EXPECT_EQ(GetOSNameById(id), L"Unknown Windows") << id;
    EXPECT_EQ(GetOSTokenById(id), L"UnknowOs") << id;
  }
}

TEST(OSVersionTest, BuildAndServicePack) {
  OSRecord nt;
  FillOSRecord(Version(5, 1, kNT, kWorkstation, 0x0A280A28, L"Service Pack 3"), nt);
  EXPECT_EQ(nt.build, 0x0A280A28u);
  EXPECT_EQ(nt.servicePack, L"Service Pack 3");

  OSRecord win98;  // 9x keeps version numbers in the build's high word
  FillOSRecord(Version(4, 10, k9x, kWorkstation, 0x040A08AE, L" A "), win98);
  EXPECT_EQ(win98.build, 0x08AEu);
  EXPECT_EQ(win98.servicePack, L" A ");

  std::wstring longText(120, L's');
  OSRecord cut;
  FillOSRecord(Version(10, 0, kNT, kWorkstation, 19045, longText.c_str()), cut);
  EXPECT_EQ(cut.servicePack, std::wstring(99, L's'));

  OSRecord kept;  // an unknown version leaves the id it had
  kept.id = OS_WIN7;
  FillOSRecord(Version(7, 0, kNT, kWorkstation), kept);
  EXPECT_EQ(kept.id, OS_WIN7);
}

TEST(OSVersionTest, RunningSystemIsNamedWithItsBitness) {
  COSVersionInfo os;
  int id = os.DetectOSVersion();
  EXPECT_GE(id, OS_WIN95);  // the test systems are all in the table
  EXPECT_EQ(os.GetOSName(), GetOSNameById(id));
  EXPECT_EQ(os.GetOSToken(), GetOSTokenById(id));
  EXPECT_FALSE(os.IsWin9x());
  EXPECT_GT(os.GetOSBuild(), 0u);
  EXPECT_EQ(os.GetOSBuildText(), L"build " + std::to_wstring(os.GetOSBuild()));
  // A 64-bit process only runs on a 64-bit system, and it is no WOW64 process.
  EXPECT_FALSE(IsWow64());
  EXPECT_TRUE(IsOS64Bit());
  EXPECT_EQ(os.GetOSNameWithBitness(), os.GetOSName() + L" 64x");
  EXPECT_EQ(os.GetOSDisplayName(),
            os.GetOSName() + L" 64x " + os.GetOSBuildText() + L" " + os.GetServicePack());
}

TEST(OSVersionTest, VersionAtLeastComparesMajorThenMinor) {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExW(&info));
#pragma GCC diagnostic pop
  DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
  EXPECT_TRUE(IsOSVersionAtLeast(major, minor));
  EXPECT_FALSE(IsOSVersionAtLeast(major, minor + 1));
  EXPECT_TRUE(IsOSVersionAtLeast(major - 1, minor + 50));
  EXPECT_FALSE(IsOSVersionAtLeast(major + 1, 0));
  EXPECT_TRUE(IsOSVersionAtLeast(0, 0));
  EXPECT_EQ(IsVistaOrLater(), major >= 6);
}

}  // namespace
