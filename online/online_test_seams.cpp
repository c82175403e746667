#include "online/online_test_seams.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

#include "foundation/system/handles.h"
#include "foundation/system/test_switches.h"

namespace {

SRWLOCK g_siteLock = SRWLOCK_INIT;
std::wstring g_site;
std::atomic<int> g_internetState{-1};

std::wstring WithSlash(std::wstring url) {
  if (!url.empty() && url.back() != L'/') url += L'/';
  return url;
}

bool IsHttpUrl(const std::wstring& url) {
  return url.compare(0, 7, L"http://") == 0 || url.compare(0, 8, L"https://") == 0;
}

}  // namespace

std::wstring GetUpdateSiteOverride() {
  {
    SrwSharedLock lock(g_siteLock);
    if (!g_site.empty()) return g_site;
  }
  std::wstring marker = GetTestSwitchValue(kUpdateSiteSwitch);
  return IsHttpUrl(marker) ? WithSlash(marker) : std::wstring();
}

void SetUpdateSiteForTests(const std::wstring& baseUrl) {
  SrwExclusiveLock lock(g_siteLock);
  g_site = WithSlash(baseUrl);
}

bool GetInternetStateOverride(int& state) {
  int set = g_internetState.load();
  if (set >= 0) {
    state = set;
    return true;
  }
  std::wstring marker = GetTestSwitchValue(kInternetStateSwitch);
  if (marker.size() != 1 || marker[0] < L'0' || marker[0] > L'2') return false;
  state = marker[0] - L'0';
  return true;
}

void SetInternetStateForTests(int state) { g_internetState = state < 0 ? -1 : state; }

bool GetScheduledWaitOverride(unsigned long& waitMs) {
  std::wstring marker = GetTestSwitchValue(kUpdateWaitSwitch);
  if (marker.empty() || marker.size() > 6 || marker.find_first_not_of(L"0123456789") != std::wstring::npos)
    return false;
  waitMs = std::wcstoul(marker.c_str(), nullptr, 10);
  if (waitMs > 600000) waitMs = 600000;
  return true;
}
