#include "history/actions/version_text.h"

#include <windows.h>

#include "foundation/files/file_version.h"
#include "foundation/system/security.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";

}  // namespace

void NormalizeVersionText(std::wstring& text) {
  std::wstring out;
  bool dotSeen = false;
  for (wchar_t ch : text) {
    if (ch == L' ') continue;
    if (ch == L',' || ch == L'.') {
      if (dotSeen) continue;
      dotSeen = true;
      ch = L'.';
    }
    out += ch;
  }
  text.swap(out);
}

std::wstring ComposeProgramVersionText(const std::wstring& rawVersion, bool withProduct,
                                       bool withBuild, const std::wstring& buildPrefix,
                                       bool blankBeforeBuild, bool isAdmin) {
  const std::wstring start = withProduct ? kProductName : L"";
  // The block's text as the version reader gives it: "1, 5, 0, 7" -> "1.5.0.7".
  std::wstring productVersion;
  for (wchar_t ch : rawVersion)
    if (ch != L' ') productVersion += ch == L',' ? L'.' : ch;
  if (productVersion.empty()) return start;
  const size_t lastDot = productVersion.rfind(L'.');
  std::wstring version =
      lastDot == std::wstring::npos ? productVersion : productVersion.substr(0, lastDot);
  NormalizeVersionText(version);
  if (withBuild) {
    const std::wstring build =
        lastDot == std::wstring::npos ? productVersion : productVersion.substr(lastDot + 1);
    if (!version.empty()) version += L' ';
    version += buildPrefix;
    if (blankBeforeBuild) version += L' ';
    version += build;
  }
  if (isAdmin) version += L'^';
  // No leading blank when the product name is left out.
  if (start.empty()) return version;
  return start + L" " + version;
}

std::wstring BuildProgramVersionText(bool withProduct, bool withBuild,
                                     const std::wstring& buildPrefix, bool blankBeforeBuild) {
  CFileVersionInfo info(static_cast<HMODULE>(nullptr));
  const std::wstring productVersion = info.Load() ? info.GetProductVersion() : std::wstring();
  return ComposeProgramVersionText(productVersion, withProduct, withBuild, buildPrefix,
                                   blankBeforeBuild, !productVersion.empty() && IsRunningAsAdmin());
}

std::wstring GetProgramVersionTextShort() { return BuildProgramVersionText(true, true, L"b", false); }
