// The running Windows edition, identified once per process, and version
// tests of the running system.
#pragma once
#include <windows.h>

#include <string>

enum OSId {
  OS_UNKNOWN = -1,
  OS_WIN95 = 0,
  OS_WIN98 = 1,
  OS_WINME = 2,
  OS_WINNT351 = 3,
  OS_WINNT40 = 4,
  OS_WIN2000 = 5,
  OS_WINVISTA = 6,
  OS_WINSERVER2008 = 7,
  OS_WIN31 = 8,
  OS_WINXP = 9,
  OS_WINSERVER2003 = 10,
  OS_WIN7 = 11,
  OS_WINSERVER2008R2 = 12,
  OS_WIN8 = 13,
  OS_WINSERVER2012 = 14,
  OS_WIN81 = 15,
  OS_WINSERVER2012R2 = 16,
  OS_WIN10 = 17,
  OS_WINSERVER2016 = 18,
};

// The process-wide record: id -1 until identified.
struct OSRecord {
  int id = OS_UNKNOWN;
  unsigned int build = 0;
  std::wstring servicePack;  // at most 99 characters
  bool filled = false;
};

// Identifies the system a version record describes and marks the record
// filled; an unknown version keeps the record's id.
void FillOSRecord(const OSVERSIONINFOEXW& info, OSRecord& record);
// Display name and short token of an id ("Unknown Windows"/"UnknowOs" for
// ids outside the table).
std::wstring GetOSNameById(int id);
std::wstring GetOSTokenById(int id);

// Reads the process-wide record, filling it on first use.
class COSVersionInfo {
 public:
  int DetectOSVersion() const;
  bool IsWin9x() const;
  std::wstring GetOSName() const;
  // The name followed by " 64x" on a 64-bit system, else " 32x".
  std::wstring GetOSNameWithBitness() const;
  unsigned int GetOSBuild() const;
  std::wstring GetOSBuildText() const;  // "build %d"
  std::wstring GetServicePack() const;
  // Name with bitness, a blank, the build text, a blank, the service pack.
  std::wstring GetOSDisplayName() const;
  std::wstring GetOSToken() const;
};

// IsWow64Process of this process; false when missing or failing.
bool IsWow64();
// True when the system is a 64-bit Windows: this process is 64-bit, or it
// is a 32-bit process under WOW64.
bool IsOS64Bit();
// GetVersionExW at the time of the call compared with major.minor.
bool IsOSVersionAtLeast(DWORD major, DWORD minor);
bool IsVistaOrLater();
