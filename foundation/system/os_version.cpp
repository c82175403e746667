#include "foundation/system/os_version.h"

#include <cwchar>
#include <mutex>

#include "foundation/system/handles.h"

namespace {

struct OSNames {
  int id;
  const wchar_t* name;
  const wchar_t* token;
};

constexpr OSNames kOSNames[] = {
    {OS_UNKNOWN, L"Unknown Windows", L"UnknowOs"},
    {OS_WIN95, L"Windows 95", L"Win95"},
    {OS_WIN98, L"Windows 98", L"Win98"},
    {OS_WINME, L"Windows ME", L"WinMe"},
    {OS_WINNT351, L"Windows NT 3.51", L"WinNT351"},
    {OS_WINNT40, L"Windows NT 4.0", L"WinNT40"},
    {OS_WIN2000, L"Windows 2000", L"Win2000"},
    {OS_WINVISTA, L"Windows Vista", L"WinVista"},
    {OS_WINSERVER2008, L"Windows Server 2008", L"WinServer2008"},
    {OS_WIN31, L"Unknown Windows", L"Win31"},
    {OS_WINXP, L"Windows XP", L"WinXP"},
    {OS_WINSERVER2003, L"Windows Server 2003", L"Server2003"},
    {OS_WIN7, L"Windows 7", L"Win7"},
    {OS_WINSERVER2008R2, L"Windows Server 2008 R2", L"WinServer2008R2"},
    {OS_WIN8, L"Windows 8", L"Win8"},
    {OS_WINSERVER2012, L"Windows Server 2012", L"WinServer2012"},
    {OS_WIN81, L"Windows 8.1", L"Win81"},
    {OS_WINSERVER2012R2, L"Windows Server 2012 R2", L"WinServer2012R2"},
    {OS_WIN10, L"Windows 10", L"Win10"},
    {OS_WINSERVER2016, L"Windows Server 2016", L"WinServer2016"},
};

const OSNames& NamesOf(int id) {
  for (const auto& entry : kOSNames) {
    if (entry.id == id) return entry;
  }
  return kOSNames[0];
}

constexpr size_t kServicePackChars = 99;

// One record per process. A failed version query leaves it unfilled so a
// later call tries again; the lock keeps two first callers from filling it
// at the same time.
OSRecord g_os;
std::mutex g_osLock;

bool QueryVersion(OSVERSIONINFOEXW& info) {
  // The kernel's own answer is not shimmed to an older version the way
  // GetVersionExW is for programs without a compatibility manifest.
  info = OSVERSIONINFOEXW{};
  info.dwOSVersionInfoSize = sizeof(info);
  DynamicFunction<LONG(WINAPI*)(OSVERSIONINFOEXW*)> rtlGetVersion(L"ntdll.dll", "RtlGetVersion");
  if (rtlGetVersion && rtlGetVersion.Get()(&info) == 0) return true;
  info = OSVERSIONINFOEXW{};
  info.dwOSVersionInfoSize = sizeof(info);
  DynamicFunction<BOOL(WINAPI*)(OSVERSIONINFOEXW*)> getVersionEx(L"kernel32.dll", "GetVersionExW");
  return getVersionEx && getVersionEx.Get()(&info);
}

OSRecord CurrentRecord() {
  std::lock_guard<std::mutex> lock(g_osLock);
  if (!g_os.filled) {
    OSVERSIONINFOEXW info;
    if (QueryVersion(info)) FillOSRecord(info, g_os);
  }
  return g_os;
}

bool IsWin9xId(int id) { return id == OS_WIN95 || id == OS_WIN98 || id == OS_WINME; }

}  // namespace

void FillOSRecord(const OSVERSIONINFOEXW& info, OSRecord& record) {
  const bool server = info.wProductType != VER_NT_WORKSTATION;
  switch (info.dwMajorVersion) {
    case 3:
      record.id = OS_WINNT351;
      break;
    case 4:
      if (info.dwMinorVersion == 0) {
        if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) record.id = OS_WIN95;
        else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) record.id = OS_WINNT40;
      } else if (info.dwMinorVersion == 10) {
        record.id = OS_WIN98;
      } else if (info.dwMinorVersion == 90) {
        record.id = OS_WINME;
      }
      break;
    case 5:
      if (info.dwMinorVersion == 0) record.id = OS_WIN2000;
      else if (info.dwMinorVersion == 1) record.id = OS_WINXP;
      else if (info.dwMinorVersion == 2) record.id = OS_WINSERVER2003;
      break;
    case 6: {
      static const int kWorkstation[] = {OS_WINVISTA, OS_WIN7, OS_WIN8, OS_WIN81};
      if (info.dwMinorVersion < 4) record.id = kWorkstation[info.dwMinorVersion] + (server ? 1 : 0);
      break;
    }
    case 10:
      record.id = server ? OS_WINSERVER2016 : OS_WIN10;
      break;
    default:
      break;
  }
  record.filled = true;
  if (info.szCSDVersion[0]) {
    size_t n = wcsnlen(info.szCSDVersion, kServicePackChars);
    record.servicePack.assign(info.szCSDVersion, n);
  }
  record.build = IsWin9xId(record.id) ? LOWORD(info.dwBuildNumber) : info.dwBuildNumber;
}

std::wstring GetOSNameById(int id) { return NamesOf(id).name; }

std::wstring GetOSTokenById(int id) { return NamesOf(id).token; }

int COSVersionInfo::DetectOSVersion() const { return CurrentRecord().id; }

bool COSVersionInfo::IsWin9x() const { return IsWin9xId(DetectOSVersion()); }

std::wstring COSVersionInfo::GetOSName() const { return GetOSNameById(DetectOSVersion()); }

std::wstring COSVersionInfo::GetOSNameWithBitness() const {
  // A 64-bit build never runs under WOW64, so asking only IsWow64 would call
  // every system that runs the x64 build 32-bit.
  return GetOSName() + (IsOS64Bit() ? L" 64x" : L" 32x");
}

unsigned int COSVersionInfo::GetOSBuild() const { return CurrentRecord().build; }

std::wstring COSVersionInfo::GetOSBuildText() const {
  wchar_t text[32];
  swprintf(text, 32, L"build %d", static_cast<int>(GetOSBuild()));
  return text;
}

std::wstring COSVersionInfo::GetServicePack() const { return CurrentRecord().servicePack; }

std::wstring COSVersionInfo::GetOSDisplayName() const {
  return GetOSNameWithBitness() + L" " + GetOSBuildText() + L" " + GetServicePack();
}

std::wstring COSVersionInfo::GetOSToken() const { return GetOSTokenById(DetectOSVersion()); }

bool IsWow64() {
  DynamicFunction<BOOL(WINAPI*)(HANDLE, PBOOL)> isWow64Process(L"kernel32.dll", "IsWow64Process");
  if (!isWow64Process) return false;
  BOOL wow64 = FALSE;
  if (!isWow64Process.Get()(GetCurrentProcess(), &wow64)) return false;
  return wow64 != FALSE;
}

bool IsOS64Bit() { return sizeof(void*) == 8 || IsWow64(); }

bool IsOSVersionAtLeast(DWORD major, DWORD minor) {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
  if (info.dwMajorVersion != major) return info.dwMajorVersion > major;
  return info.dwMinorVersion >= minor;
}

bool IsVistaOrLater() { return IsOSVersionAtLeast(6, 0); }
