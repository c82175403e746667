#include "online/update_answer.h"

#include <tinyxml.h>

#include <climits>
#include <cstdlib>
#include <cwctype>

#include "foundation/files/file_version.h"
#include "foundation/files/files.h"
#include "foundation/system/test_switches.h"
#include "foundation/text/convert.h"
#include "foundation/text/xml_reader.h"
#include "online/downloads.h"
#include "online/http_head_info.h"
#include "online/web_links.h"
#include "phrases/macros/macro_dates.h"

namespace {

constexpr char kRoot[] = "QuilloraVersionInfo";
constexpr wchar_t kDefaultOfferLanguage[] = L"EN";

std::wstring ChildText(const TiXmlElement* parent, const char* name) {
  const TiXmlElement* child = parent->FirstChildElement(name);
  const char* text = child ? child->GetText() : nullptr;
  return text ? Utf8ToWide(text) : std::wstring();
}

bool HasChildText(const TiXmlElement* parent, const char* name) {
  const TiXmlElement* child = parent->FirstChildElement(name);
  return child && child->GetText();
}

// "%d" of one piece: optional blanks and sign, then digits; false when the
// number does not fit an int.
bool ReadPiece(const std::wstring& piece, int& value) {
  size_t i = 0;
  while (i < piece.size() && std::iswspace(piece[i])) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == L'+' || piece[i] == L'-')) negative = piece[i++] == L'-';
  long long v = 0;
  for (; i < piece.size() && piece[i] >= L'0' && piece[i] <= L'9'; ++i) {
    v = v * 10 + (piece[i] - L'0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

std::vector<int> OwnProductVersion() {
  std::vector<int> version;
  CFileVersionInfo info(static_cast<HMODULE>(nullptr));
  if (info.Load()) CVersionNumber::Split(info.GetProductVersion(), version);
  return version;
}

void ReadMainDownload(const std::wstring& url, CUpdateInfo& record) {
  record.downloadUrl = url;
  CHttpHeadInfo probe(url);
  if (!probe.Query(L"Quillora_Update")) return;
  std::wstring date = probe.lastModifiedText;
  SYSTEMTIME time = {};
  bool haveTime = probe.GetLastModifiedLocal(time);
  if (!haveTime && InternetTimeToSystemTimeText(probe.lastModifiedText.c_str(), time)) {
    SystemTimeToLocalZone(time);
    haveTime = true;
  }
  if (haveTime) {
    date = FormatDateTimeText(time);
    record.releaseDate = time;
  }
  record.releaseDateText = date;
  record.downloadSize = probe.GetContentLength();
}

void ReadOffers(const TiXmlElement* root, CUpdateInfo& record) {
  const TiXmlElement* offers = root->FirstChildElement("Offers");
  if (!offers) return;
  for (const TiXmlElement* offer = offers->FirstChildElement("Offer"); offer;
       offer = offer->NextSiblingElement("Offer")) {
    const char* lang = offer->Attribute("Lang");
    std::wstring language = lang && *lang ? Utf8ToWide(lang) : std::wstring();
    if (language.empty()) language = kDefaultOfferLanguage;
    language = MapStringUpperInvariant(language);
    const char* link = offer->Attribute("URL");
    std::wstring address = link ? Utf8ToWide(link) : std::wstring();
    if (address.empty()) address = GetHomePageURL();
    const char* caption = offer->GetText();
    std::wstring captionText = caption ? Utf8ToWide(caption) : std::wstring();
    if (!captionText.empty()) record.offers[language] = {address, captionText};
  }
}

}  // namespace

std::wstring CVersionNumber::ToString(const std::vector<int>& version) {
  std::wstring text;
  for (size_t i = 0; i < version.size(); ++i) {
    if (i) text += L'.';
    text += std::to_wstring(version[i]);
  }
  return text;
}

bool CVersionNumber::Split(const std::wstring& text, std::vector<int>& version) {
  version.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t dot = text.find(L'.', start);
    if (dot == std::wstring::npos) dot = text.size();
    if (dot > start) {
      int value = 0;
      if (!ReadPiece(text.substr(start, dot - start), value)) {
        version.clear();
        return false;
      }
      version.push_back(value);
    }
    start = dot + 1;
  }
  return true;
}

bool IsVersionNewer(const std::vector<int>& offered, const std::vector<int>& own) {
  size_t count = offered.size() > own.size() ? offered.size() : own.size();
  for (size_t i = 0; i < count; ++i) {
    int a = i < offered.size() ? offered[i] : 0;
    int b = i < own.size() ? own[i] : 0;
    if (a != b) return a > b;
  }
  return false;
}

CUpdateInfo::CUpdateInfo() : ownVersion(OwnProductVersion()) {}

int LoadUpdateInfoFile(const std::wstring& path, CUpdateInfo& record) {
  size_t size = 0;
  std::unique_ptr<char[]> text = ReadFileToBuffer(path, &size);
  if (!text || size > kMaxDownloadBytes) return kAnswerInvalid;
  TiXmlDocument document;
  // Too deep a tree leaves the document empty, and so invalid.
  ParseXmlBounded(document, text.get(), TIXML_ENCODING_UNKNOWN);
  return ParseUpdateInfoXml(document, record);
}

int ParseUpdateInfoXml(TiXmlDocument& document, CUpdateInfo& record) {
  return ParseUpdateInfoXml(document, record, IsUpdateVersionTest());
}

int ParseUpdateInfoXml(TiXmlDocument& document, CUpdateInfo& record, bool versionTest) {
  const TiXmlElement* root = document.FirstChildElement(kRoot);
  if (!root) return kAnswerInvalid;
  const TiXmlElement* version = root->FirstChildElement(versionTest ? "Version_Test" : "Version");
  if (!version) return kAnswerInvalid;
  if (HasChildText(root, "Status")) record.statusText = ChildText(root, "Status");
  const char* versionUtf8 = version->GetText();
  if (!versionUtf8) return kAnswerInvalid;
  std::wstring versionText = Utf8ToWide(versionUtf8);
  std::vector<int> offered;
  // A number beyond the int range is no version of ours.
  if (!CVersionNumber::Split(versionText, offered) || offered.empty()) return kAnswerInvalid;

  if (HasChildText(root, "DownloadURL")) {
    std::wstring url = ChildText(root, "DownloadURL");
    if (!url.empty()) ReadMainDownload(url, record);
    record.downloadUrl = url;
  }
  if (HasChildText(root, "DownloadURL_PE")) {
    record.downloadUrlPortable = ChildText(root, "DownloadURL_PE");
    CHttpHeadInfo probe(record.downloadUrlPortable);
    record.downloadSizePortable = probe.Query(L"Quillora_Update") ? probe.GetContentLength() : -1;
  }
  if (HasChildText(root, "WhatNewsURL")) record.whatsNewUrl = ChildText(root, "WhatNewsURL");
  record.offeredVersion = offered;
  ReadOffers(root, record);

  if (IsVersionNewer(offered, record.ownVersion)) {
    record.versionText = versionText;
    return kAnswerNewerVersion;
  }
  record.versionText.clear();
  return kAnswerNoNewerVersion;
}
