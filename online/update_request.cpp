#include "online/update_request.h"

#include <vector>

#include "foundation/files/paths.h"
#include "foundation/system/system_helpers.h"
#include "foundation/text/convert.h"
#include "foundation/text/url_query.h"
#include "online/tray_helpers.h"
#include "online/update_info.h"
#include "online/web_links.h"
#include "settings/settings.h"
#include "settings/settings_files.h"

std::wstring BuildUpdateRequestUrl() {
  CQLRTraySettings& settings = GetSettings();
  CUrlQuery query(GetUpdateServiceURL());
  query.AddModuleVersion(L"qlr_version");
  query.AddWinVer();
  query.AddParam(L"sounds", settings.soundOnEvents ? L"1" : L"0");
  query.AddParam(L"version_installed", IsInstalledByInstaller() ? L"1" : L"0");
  std::wstring hotkey = MapStringUpperInvariant(
      GetHotkeyDisplayName(settings.hotkey.key, settings.hotkey.modifiers));
  if (settings.hotkeyDoubled) hotkey += L"x2";
  query.AddParam(L"hotkey", hotkey);
  if (settings.autoCheckForUpdates)
    query.AddParamInt(L"au", settings.GetDaysCheckForUpdates());
  else
    query.AddParam(L"au", L"disabled");
  query.AddParam(L"LangFile", GetFileNameFromPath(settings.GetLanguage()), true);
  query.AddLanguages();
  query.AddCountry();
  query.AddDomain();
  query.AddRAM();
  query.AddScreen();
  std::wstring mfc;
  GetMfcRuntimePath(mfc);
  query.AddParam(L"MFC", mfc);
  std::vector<int> skipped;
  if (CQLRSettings::LoadSkippedVersions(skipped) && !skipped.empty())
    query.AddParam(L"SkippedVersion", CVersionNumber::ToString(skipped), true);
  return query.GetUrl();
}
