#include "tray/menu/tray_tip_texts.h"

#include <cwchar>

#include "foundation/localization/language_files.h"
#include "history/store/history_caption.h"
#include "history/store/history_item.h"
#include "phrases/macros/macro_dates.h"
#include "tray/app/app_texts.h"

namespace {

constexpr UINT kIdsTurnOn = 130;
constexpr UINT kIdsTurnOff = 131;
constexpr UINT kIdsHotKey = 132;
constexpr UINT kIdsPlainText = 136;
constexpr UINT kIdsPutIntoClipboard = 139;
constexpr UINT kIdsTextLength = 141;
constexpr UINT kIdsDataFormat = 143;
constexpr UINT kIdsRtf = 144;
constexpr UINT kIdsCopiedFrom = 145;
constexpr UINT kIdsUnknownSource = 146;
constexpr UINT kIdsLastCheck = 152;
constexpr UINT kIdsAutoCheck = 153;
constexpr UINT kIdsCheckEvery = 154;
constexpr UINT kIdsNextCheck = 155;
constexpr UINT kIdsDays = 156;
constexpr UINT kIdsMenuHints = 167;
constexpr UINT kIdsReleased = 175;
constexpr UINT kIdsSaveFromPane = 177;
constexpr UINT kIdsWriteLogFile = 191;
constexpr UINT kIdsFolder = 220;
constexpr UINT kIdsHistoryAtStart = 221;
constexpr UINT kIdsChangeDefaults = 222;
constexpr UINT kIdsLogMessages = 223;
constexpr UINT kIdsChooseLanguage = 57666;

std::wstring S(UINT id) { return GetClientString(id); }
std::wstring OnOff(bool on) { return S(on ? kIdsTurnOn : kIdsTurnOff); }

std::wstring EntryText(const CCHItem& item) {
  switch (item.kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
    case kHistoryKindRtf:
      return HistoryItemPlainText(item);
    default:
      return L"Ooops! Other data format";
  }
}

std::wstring DataFormatText(int kind) {
  switch (kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      return S(kIdsPlainText);
    case kHistoryKindRtf:
      return S(kIdsRtf);
    default:
      return L"OOOPS! Unknow format";
  }
}

}  // namespace

std::wstring CaptureMethodText(int handlerState) {
  switch (handlerState) {
    case 0:
      return L"no try install service of clipboard history";
    case 2:
      return L"using AddClipboardListener";
    case 3:
      return L"using SetClipboardViewer";
    default:
      return L"using unknow method";
  }
}

std::wstring CaptureMethodSettingText(int setting) {
  switch (setting) {
    case 0:
      return L"SetClipboardViewer (for old version of Windows)";
    case 1:
      return L"AddClipboardListener (for Windows Vista or later)";
    default:
      return L"Automatically (AddClipboardListener is available, or SetClipboardViewer in other)";
  }
}

std::wstring HistoryEntryTipText(const CCHItem* item) {
  std::wstring text = item ? EntryText(*item) : L"Ooops! Epirsh";
  std::wstring tip = S(kIdsPutIntoClipboard);
  tip += L"\r\n" + S(kIdsTextLength) + L": [" + std::to_wstring(text.size()) + L"]";
  tip += L"\r\n" + S(kIdsDataFormat) + L": " + (item ? DataFormatText(item->kind) : std::wstring(L"OOOPS! Unknow format"));
  tip += L"\r\n" + S(kIdsCopiedFrom) + L": " + S(kIdsUnknownSource);
  if (item) tip += L"\r\n" + FormatDateTimeText(item->captureTime);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'\t')) text.pop_back();
  if (!text.empty()) {
    tip += L"\r\n\r\n";
    if (text.size() > kHistoryTipTextChars) {
      size_t cut = kHistoryTipTextChars;
      // A cut never leaves half of a surrogate pair.
      if (IS_HIGH_SURROGATE(text[cut - 1])) --cut;
      tip += text.substr(0, cut) + L"\r\n...";
    } else {
      tip += text;
    }
  }
  tip += L"\r\n\r\n \u00AB  " + S(kIdsSaveFromPane);
  return tip;
}

SYSTEMTIME AddDays(const SYSTEMTIME& time, int days) {
  FILETIME file = {};
  SYSTEMTIME out = time;
  if (!SystemTimeToFileTime(&time, &file)) return out;
  ULARGE_INTEGER value = {};
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  value.QuadPart += static_cast<ULONGLONG>(days) * 24ULL * 3600ULL * 10000000ULL;
  file.dwLowDateTime = value.LowPart;
  file.dwHighDateTime = value.HighPart;
  FileTimeToSystemTime(&file, &out);
  return out;
}

std::wstring CheckForUpdatesTipText(const std::wstring& commandTip, const UpdateTipFacts& facts) {
  std::wstring tip = commandTip + L"\r\n\r\n   " + S(kIdsLastCheck) + L": ";
  if (facts.hasLastCheck) tip += FormatDateTimeText(facts.lastCheckLocal);
  tip += L"\r\n   " + S(kIdsAutoCheck) + L": " + OnOff(facts.automatic);
  if (facts.automatic) {
    tip += L"\r\n   " + S(kIdsCheckEvery) + L": " + std::to_wstring(facts.days) + L" (" + S(kIdsDays) + L")";
    tip += L"\r\n   " + S(kIdsNextCheck) + L": ";
    if (facts.hasLastCheck) tip += FormatDateTimeText(AddDays(facts.lastCheckLocal, facts.days));
  }
  return tip;
}

std::wstring KeepTipText(const std::wstring& commandTip, const KeepTipFacts& facts) {
  wchar_t max[32];
  swprintf(max, 32, L"max = %d", facts.historyMax);
  std::wstring tip = commandTip + L" [" + max + L"]";
  if (facts.connectionState == 1) {
    tip += L"\nConnection Error!!!";
    if (!facts.connectionText.empty()) tip += L"\n" + facts.connectionText;
  } else if (facts.connectionState == 2) {
    tip += L"\nNo";
  }
  tip += L"\nMethod: " + CaptureMethodText(facts.handlerState);
  tip += L"\nGetClipboardSequenceNumber: " + std::to_wstring(facts.sequenceNumber);
  tip += L"\n" + S(kIdsHistoryAtStart) + L": " +
         (facts.historyAtStartup ? GetTurnOnText() : GetTurnOffText());
  tip += L"\n" + S(kIdsChangeDefaults) + L" \"" + facts.editCommandText + L"\"";
  return tip;
}

std::wstring InformationBlockText(const InfoBlockFacts& facts) {
  std::wstring block = S(kIdsHotKey) + L": " + facts.hotkey;
  block += L"\n" + S(kIdsFolder) + L": " + facts.phraseFolder;
  if (facts.defaultFolder) block += L", " + GetDefaultFolderMacro();
  block += std::wstring(L"\nAdmin rights: ") + (facts.admin ? L"yes" : L"NO");
  block += L"\n" + S(kIdsMenuHints) + L": " + OnOff(facts.menuToolTips);
  block += L"\n" + S(kIdsWriteLogFile) + L": " + OnOff(facts.logOn);
  if (facts.logOn) block += L"\n" + facts.logPath;
  block += L"\nDelayInsert: " + std::to_wstring(facts.delayInsertMs) + L" ms";
  block += std::wstring(L"\nDirectlyPrintText: ") + (facts.textPasteMethod == 1 ? S(kIdsTurnOff) : S(kIdsTurnOn));
  block += L"\nClipboard Tracking Method used: " + CaptureMethodText(facts.handlerState);
  block += L"\nClipboard Tracking Method setting: " + CaptureMethodSettingText(facts.spyMethodSetting);
  return block;
}

std::wstring AboutTipText(const std::wstring& commandTip, const std::wstring& versionText,
                          const std::wstring& buildDate, int logCount) {
  return commandTip + L"\n\n\t" + versionText + L"\n\t" + S(kIdsReleased) + L": " + buildDate + L"\n\t" +
         S(kIdsLogMessages) + L": " + std::to_wstring(logCount);
}

std::wstring LanguageEntryTipText(const std::wstring& languageFile) {
  std::wstring tip = S(kIdsChooseLanguage);
  if (languageFile.empty() || GetFileAttributesW(languageFile.c_str()) == INVALID_FILE_ATTRIBUTES) return tip;
  LangFileInfo info;
  GetLangFileInfo(languageFile, &info);
  if (info.author.empty()) return tip;
  const size_t slash = languageFile.find_last_of(L"\\/");
  tip += L"\r\n\r\n" + info.author + L"\r\n" + (slash == std::wstring::npos ? languageFile : languageFile.substr(slash + 1));
  return tip;
}
