// The URL of an update request: a base URL and name/value pairs about the
// program and the machine, sent in the order they were added.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct CNameValuePair {
  std::wstring name;
  std::wstring value;
};

class CUrlQuery {
 public:
  explicit CUrlQuery(const std::wstring& baseUrl);

  // Blanks in the value become "_"; bracketed wraps it in "[" and "]".
  // Names are not checked: a name added twice is sent twice.
  void AddParam(const std::wstring& name, const std::wstring& value, bool bracketed);
  void AddParam(const std::wstring& name, const std::wstring& value);
  void AddParamInt(const std::wstring& name, int value);

  // Base URL, "?", then name=value pairs joined by "&", with blanks and "+"
  // in values written as "_". Empty when no pair was added.
  std::wstring GetUrl() const;
  const std::vector<CNameValuePair>& GetParams() const { return m_params; }

  // Machine facts; each adds its pair even when the fact is unknown (with an
  // empty value), except AddModuleVersion, which then adds nothing.
  void AddWinVer();
  void AddDomain();
  void AddCountry();
  void AddLanguages();
  void AddLanguages(const std::vector<HKL>& layouts);
  void AddRAM();
  void AddScreen();
  bool AddModuleVersion(const std::wstring& name);

 private:
  std::wstring m_baseUrl;
  std::vector<CNameValuePair> m_params;
};
