// The record of one update check: what the update service answered, the
// running program's version, the two downloads and the latest news. The
// worker fills it on its own stack and hands it to the tray window by a sent
// message; the receiver copies what it keeps.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

struct CNewsItem {
  std::wstring title;
  std::wstring description;
  std::wstring link;
  std::wstring pubDate;  // the display date
  std::wstring author;
};

class CVersionNumber {
 public:
  // Each component "%d", joined by "."; an empty list gives "".
  static std::wstring ToString(const std::vector<int>& version);
  // Cuts the text at every "." and reads each non-empty piece as a decimal
  // number (a piece without a leading number reads 0). False, with the list
  // emptied, when a piece does not fit an int.
  static bool Split(const std::wstring& text, std::vector<int>& version);
};

// Compares component pairs from the first; the first unequal pair decides.
// A missing component counts as 0, so 2.60 equals 2.60.0.0.
bool IsVersionNewer(const std::vector<int>& offered, const std::vector<int>& own);

// The error texts the worker puts into the record.
constexpr wchar_t kUpdateErrorCannotLoad[] = L"ERROR: Cannot load information from official web-site";
constexpr wchar_t kUpdateErrorCannotParse[] = L"ERROR: Cannot parse information file";
constexpr wchar_t kUpdateErrorNoConnection[] = L"ERROR: No connection to the Internet, the check was given up";

class CUpdateInfo {
 public:
  // Every field empty or zero, then ownVersion from the program's own
  // version resource (left empty when it cannot be read).
  CUpdateInfo();

  std::wstring versionText;  // the offered version when it is newer, else empty
  std::wstring releaseDateText;
  std::wstring statusText;
  std::wstring errorText;
  int scheduled = 0;
  std::vector<int> ownVersion;
  std::vector<int> offeredVersion;
  std::wstring whatsNewUrl;
  std::wstring downloadUrlPortable;
  std::wstring downloadUrl;
  int downloadSizePortable = 0;  // -1 unknown, 0 not asked
  int downloadSize = 0;
  std::vector<CNewsItem> news;
  std::map<std::wstring, std::pair<std::wstring, std::wstring>> offers;  // language -> {link, caption}
  int autoMode = 0;
  SYSTEMTIME releaseDate = {};
};
