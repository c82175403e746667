#include "foundation/text/url_query.h"

#include <cwchar>

#include "foundation/files/file_version.h"
#include "foundation/localization/locale_names.h"
#include "foundation/system/os_version.h"
#include "foundation/system/security.h"
#include "foundation/system/system_info.h"

namespace {

constexpr int kMaxLayouts = 50;
constexpr int kIsoNameChars = 99;

std::wstring Replaced(std::wstring text, const wchar_t* from, wchar_t to) {
  for (wchar_t& ch : text) {
    if (ch && std::wcschr(from, ch)) ch = to;
  }
  return text;
}

}  // namespace

CUrlQuery::CUrlQuery(const std::wstring& baseUrl) : m_baseUrl(baseUrl) {}

void CUrlQuery::AddParam(const std::wstring& name, const std::wstring& value, bool bracketed) {
  std::wstring text = Replaced(value, L" ", L'_');
  if (bracketed) text = L"[" + text + L"]";
  m_params.push_back({name, text});
}

void CUrlQuery::AddParam(const std::wstring& name, const std::wstring& value) {
  AddParam(name, value, false);
}

void CUrlQuery::AddParamInt(const std::wstring& name, int value) {
  wchar_t text[16];
  swprintf(text, 16, L"%d", value);
  AddParam(name, text, false);
}

std::wstring CUrlQuery::GetUrl() const {
  if (m_params.empty()) return std::wstring();
  std::wstring url = m_baseUrl + L"?";
  for (const auto& pair : m_params) {
    wchar_t last = url.back();
    if (last != L'?' && last != L'&') url += L'&';
    url += pair.name;
    url += L'=';
    url += Replaced(pair.value, L" +", L'_');
  }
  return url;
}

void CUrlQuery::AddWinVer() { AddParam(L"winver", COSVersionInfo().GetOSDisplayName()); }

void CUrlQuery::AddDomain() {
  std::wstring domain;
  GetComputerDnsDomain(domain);  // stays empty when unknown
  AddParam(L"domain", domain, true);
}

void CUrlQuery::AddCountry() { AddParam(L"country", GetGeoFriendlyName(), true); }

void CUrlQuery::AddLanguages() {
  HKL layouts[kMaxLayouts] = {};
  int count = GetKeyboardLayoutList(kMaxLayouts, layouts);
  if (count < 0) count = 0;
  AddLanguages(std::vector<HKL>(layouts, layouts + count));
}

void CUrlQuery::AddLanguages(const std::vector<HKL>& layouts) {
  std::wstring names;
  for (HKL layout : layouts) {
    LCID locale = LOWORD(reinterpret_cast<ULONG_PTR>(layout));
    wchar_t name[kIsoNameChars] = {};
    if (GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, name, kIsoNameChars) <= 0) continue;
    if (!name[0]) continue;
    if (!names.empty()) names += L'+';
    names += name;
  }
  AddParam(L"languages", names);
}

void CUrlQuery::AddRAM() { AddParam(L"RAM", GetCommitLimitText()); }

void CUrlQuery::AddScreen() {
  wchar_t text[32];
  swprintf(text, 32, L"%dx%d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  AddParam(L"screen", text, true);
}

bool CUrlQuery::AddModuleVersion(const std::wstring& name) {
  CFileVersionInfo version(static_cast<HMODULE>(nullptr));
  if (!version.Load()) return false;
  AddParam(name, version.GetProductVersion());
  return true;
}
