#include "history/actions/shell_actions.h"

#include <atomic>

#include "foundation/files/paths.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/system/shell_open.h"
#include "history/store/clipboard_item_file.h"
#include "history/store/history_item.h"
#include "history/store/history_names.h"

namespace {

// Keeps the whole temporary path well inside MAX_PATH.
constexpr int kMaxWarningChars = 100;

std::wstring TempFileWarning() {
  CLngString text;
  text.LoadString(kIdsTempFileWarning);
  std::wstring name = MakeFileNameFromText(text.Text(), false, kMaxWarningChars);
  while (!name.empty() && name.back() == L' ') name.pop_back();
  if (name.empty()) name = MakeFileNameFromText(kTempFileWarningDefault, false, kMaxWarningChars);
  return name;
}

}  // namespace

bool OpenWithDialog(HWND owner, const std::wstring& path) {
  const std::wstring parameters = L"shell32.dll,OpenAs_RunDLL " + path;
  return ShellOpen(owner, L"open", L"Rundll32.exe", parameters.c_str(), nullptr, SW_SHOW) > 32;
}

std::wstring GetHistoryItemFileExt(int kind) {
  switch (kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      return L".txt";
    case kHistoryKindRtf:
      return L".rtf";
    case kHistoryKindBitmap:
      return L".bmp";
    default:
      return std::wstring();
  }
}

std::wstring MakeHistoryTempFileName(const std::wstring& ext) {
  const std::wstring unique = GetTempFileNameWithExt(ext);
  if (unique.empty()) return unique;
  const std::wstring folder = GetFolderFromPath(unique, false);
  const std::wstring fileExt = ext.empty() ? std::wstring() : GetFileExt(unique);
  std::wstring name = GetFileNameFromPath(unique);
  name.resize(name.size() - fileExt.size());
  return folder + TempFileWarning() + L" ==Quillora==" + name + fileExt;
}

bool OpenHistoryItemAsFile(const CCHItem* item, HWND owner, bool openDirectly) {
  if (!item) return false;
  if (item->kind == kHistoryKindBrindle) return true;
  const std::wstring path = MakeHistoryTempFileName(GetHistoryItemFileExt(item->kind));
  if (path.empty() || !SaveClipboardItemToFile(*item, path)) {
    LogError(L"Cannot write the history item to the file " + path + L", error " +
             std::to_wstring(GetLastError()));
    return false;
  }
  if (openDirectly) {
    const std::wstring folder = GetFolderFromPath(path, true);
    // 32 itself is a failure code of the shell.
    if (ShellOpen(owner, L"open", path.c_str(), nullptr, folder.c_str(), SW_SHOW) > 32) return true;
  }
  return OpenWithDialog(owner, path);
}

bool OpenHistoryItemAsFile(const HistoryItemReader& reader, int index, HWND owner,
                           bool openDirectly) {
  if (!reader || index < 0) return false;
  return OpenHistoryItemAsFile(reader(index), owner, openDirectly);
}

UINT GetBrindleClipboardFormat() {
  static std::atomic<UINT> format{0};
  UINT id = format.load();
  if (!id) {
    id = RegisterClipboardFormatW(history_names::kBrindleFormat);
    format = id;
  }
  return id;
}

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
  const size_t length = wcslen(prefix);
  return text.size() >= length &&
         CompareStringOrdinal(text.c_str(), static_cast<int>(length), prefix, static_cast<int>(length),
                              TRUE) == CSTR_EQUAL;
}

void ReplaceAll(std::wstring& text, const wchar_t* what, const wchar_t* with) {
  const size_t length = wcslen(what);
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1))
    text.replace(at, length, with);
}

}  // namespace

std::wstring MakeLinkAddress(const std::wstring& text) {
  std::wstring address = text;
  for (const wchar_t* what : {L"\r\n", L"\r", L"\n", L"\t", L"   ", L"  "}) ReplaceAll(address, what, L" ");
  static const wchar_t* const kKnown[] = {L"http://", L"https://", L"ftp://", L"mailto:", L"file:///", L"file://"};
  for (const wchar_t* prefix : kKnown)
    if (StartsWithNoCase(address, prefix)) return address;
  return L"http://" + address;
}

bool OpenLinkText(HWND owner, const std::wstring& text) {
  const std::wstring address = MakeLinkAddress(text);
  return ShellOpen(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOW) > 32;
}

bool IsWebAddress(const std::wstring& address) {
  return StartsWithNoCase(address, L"http://") || StartsWithNoCase(address, L"https://");
}
