#include "tray/menu/tray_menu_tooltip.h"

#include <shellapi.h>

#include "foundation/files/program_names.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/logging/log.h"
#include "history/capture/clipboard_handler.h"
#include "history/store/history_files.h"
#include "online/tray_helpers.h"
#include "online/web_links.h"
#include "phrases/macros/macro_dates.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tray/app/app_texts.h"
#include "tray/menu/tray_menu_ids.h"
#include "tray/menu/tray_tip_texts.h"
#include "tray/window/tray_messages.h"

namespace {

constexpr UINT kIdsHotKey = 132;
constexpr UINT kIdsPhrases = 135;
constexpr UINT kIdsPlainText = 136;
constexpr UINT kIdsContent = 147;
constexpr UINT kIdsDelayOnStart = 168;
constexpr UINT kIdsPaneText = 174;
constexpr UINT kIdsFolder = 220;
constexpr UINT kIdsTriggerMenu = 232;
constexpr UINT kIdsPhraseFolder = 234;
constexpr UINT kIdsTurnOff = 131;
constexpr UINT kIdsMiddleButton = 249;
constexpr UINT kIdsSettingsFileNote = 274;
constexpr UINT kIdsTripleClick = 280;
constexpr UINT kIdsUndoPool = 290;
constexpr UINT kIdsElevatedUse = 1062;

constexpr UINT kUndoCommand = 32838;
constexpr UINT kCopyPlainCommand = 32797;
constexpr UINT kCopyRtfCommand = 32849;
constexpr UINT kCopyHtmlCommand = 32851;
constexpr UINT kInfoButtonSave = 1002;
constexpr UINT kInfoButtonCopy = 259;
constexpr UINT kLastHistoryEntryWithTip = kHistoryEntryLastId - 1;
// Lines of the clipboard text shown in the tip of "Save Phrase From Clipboard".
constexpr int kClipboardTipLines = 10;

struct IconRow {
  UINT command;
  UINT icon;
};
const IconRow kIconRows[] = {{32840, 230}, {32841, 231}, {32842, 239}, {ID_TRAY_CHECK_FOR_UPDATES, 234}};

HICON ShellIconOf(const std::wstring& path, DWORD attributes, UINT flags) {
  SHFILEINFOW info = {};
  if (!SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | flags)) return nullptr;
  return info.hIcon;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.assign(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The first lines of the text, with "\r\n..." when there were more.
std::wstring FirstLines(const std::wstring& text, int lines) {
  size_t at = 0;
  for (int i = 0; i < lines; ++i) {
    at = text.find(L'\n', at);
    if (at == std::wstring::npos) return text;
    ++at;
  }
  std::wstring head = text.substr(0, at);
  while (!head.empty() && (head.back() == L'\r' || head.back() == L'\n')) head.pop_back();
  return head + L"\r\n...";
}

std::wstring WithAddress(const std::wstring& tip, const std::wstring& address) {
  return tip + L"\r\n\r\n \u00BB " + address;
}

}  // namespace

CTrayMenuToolTip::CTrayMenuToolTip(const std::vector<std::wstring>& languages, ITrayTipSource& source)
    : m_languages(languages), m_source(source) {}

CTrayMenuToolTip::~CTrayMenuToolTip() {
  for (HICON icon : m_icons) {
    if (icon) DestroyIcon(icon);
  }
  if (m_extraIcon) DestroyIcon(m_extraIcon);
  if (m_font) DeleteObject(m_font);
}

bool CTrayMenuToolTip::IsSysCommandId(UINT id) {
  if (CMenuToolTip::IsSysCommandId(id)) return true;
  return m_respectSetting && GetSettings().menuToolTips == 0;
}

void CTrayMenuToolTip::SetExtraTitleIcon(HICON icon) {
  if (m_extraIcon) DestroyIcon(m_extraIcon);
  m_extraIcon = icon ? CopyIcon(icon) : nullptr;
}

void CTrayMenuToolTip::SetConnection(int state, const std::wstring& text) {
  m_connectionState = state;
  m_connectionText = text;
}

HICON CTrayMenuToolTip::CachedIcon(int slot, UINT id) {
  if (m_icons[slot]) return m_icons[slot];
  switch (slot) {
    case 0:
      m_icons[slot] = ShellIconOf(GetEditorPath(), 0, 0);
      break;
    case 1:
      m_icons[slot] = ShellIconOf(GetWelcomeExePath(), 0, 0);
      break;
    case 2:
      m_icons[slot] = ShellIconOf(L".html", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
      break;
    case 3:
      m_icons[slot] = static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
      break;
    default:
      m_icons[slot] = ShellIconOf(L".txt", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
      break;
  }
  return m_icons[slot];
}

HICON CTrayMenuToolTip::GetItemIcon(UINT id) {
  if (m_extraIcon) return m_extraIcon;
  switch (id) {
    case ID_TRAY_START_EDITOR:
      return CachedIcon(0, id);
    case ID_TRAY_WELCOME:
      return CachedIcon(1, id);
    case kCopyHtmlCommand:
      return CachedIcon(2, id);
    case kCopyRtfCommand:
      return CachedIcon(3, 223);
    case kCopyPlainCommand:
      return CachedIcon(4, id);
    default:
      break;
  }
  for (const IconRow& row : kIconRows) {
    if (row.command == id)
      return static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(row.icon), IMAGE_ICON, 16, 16, LR_SHARED));
  }
  return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
}

bool CTrayMenuToolTip::GetItemText(std::wstring& text, UINT id, HMENU, std::wstring& title) {
  text = TextOf(id, &title);
  return !text.empty();
}

std::wstring CTrayMenuToolTip::TextOf(UINT id, std::wstring* title) {
  const CQLRTraySettings& settings = GetSettings();
  CQLRWndClipboardHandler* handler = m_source.ClipboardHandler();
  const std::wstring tip = GetCommandToolTip(id);
  if (id >= kLanguageFirstId && id <= kLanguageLastId) {
    const size_t entry = id - kLanguageFirstId;
    std::wstring file = entry < m_languages.size() && !m_languages[entry].empty()
                            ? GetLngFolder() + m_languages[entry]
                            : std::wstring();
    return LanguageEntryTipText(file);
  }
  if (id >= kHistoryEntryFirstId && id <= kLastHistoryEntryWithTip) {
    if (title) *title = GetClientString(140);
    const int n = static_cast<int>(id - kHistoryEntryFirstId);
    const CCHItem* item = handler && n < handler->GetItemCount() ? handler->GetItem(n) : nullptr;
    return HistoryEntryTipText(item);
  }
  switch (id) {
    case kUndoCommand:
      return tip + L"\n\n   " + GetClientString(kIdsUndoPool);
    case ID_TRAY_ABOUT:
      return AboutTipText(tip, GetProgramVersionTextFull(), GetBuildDateText(), m_source.LogMessageCount());
    case ID_TRAY_MENU_ON_MOUSE_EVENT: {
      std::wstring gesture = !m_source.CoreLibraryLoaded() ? GetClientString(kIdsTurnOff)
                             : settings.gestureType == 1  ? GetClientString(kIdsTripleClick)
                                                          : GetClientString(kIdsMiddleButton);
      return GetClientString(kIdsTriggerMenu) + L": " + gesture;
    }
    case ID_TRAY_OPEN_SETTINGS_FILE:
      return tip + L"\r\n" + GetSettingsIniPath() + L"\r\n\r\n" + GetClientString(kIdsSettingsFileNote);
    case ID_TRAY_HISTORY_SAVE_ON_EXIT:
      return tip + L"\r\n" + GetClientString(kIdsFolder) + L": " + GetClipboardHistoryFolder();
    case ID_TRAY_REREAD_PHRASES:
      return tip + L"\r\n" + GetClientString(kIdsPhraseFolder) + L": " + settings.GetPhrasesDirectory();
    case ID_TRAY_CHECK_FOR_UPDATES: {
      UpdateTipFacts facts;
      facts.hasLastCheck = CQLRSettings::GetLastCheckForUpdatesLocal(facts.lastCheckLocal);
      facts.automatic = settings.autoCheckForUpdates != 0;
      facts.days = settings.GetDaysCheckForUpdates();  // as the schedule reads it
      return CheckForUpdatesTipText(tip, facts);
    }
    case ID_TRAY_AUTOSTART: {
      wchar_t seconds[32];
      swprintf(seconds, 32, L"%d sec", static_cast<int>(settings.delayAutoLoadSeconds));
      return tip + L"\r\n" + GetClientString(kIdsDelayOnStart) + L": " +
             (settings.delayAutoLoadSeconds ? std::wstring(seconds) : GetClientString(kIdsTurnOff)) + L"\n";
    }
    case ID_TRAY_START_EDITOR: {
      InfoBlockFacts facts;
      facts.hotkey = GetHotkeyText();
      facts.phraseFolder = settings.GetPhrasesDirectory();
      facts.defaultFolder = settings.IsPhrasesDirectoryDefault();
      facts.admin = IsUserAdmin();
      facts.menuToolTips = settings.menuToolTips != 0;
      facts.logOn = IsLogOpen();
      facts.logPath = GetLogFilePath();
      facts.delayInsertMs = CQLRSettings::GetDelayInsertMilliseconds();
      facts.textPasteMethod = settings.textPasteMethod;
      facts.handlerState = handler ? handler->GetState() : 0;
      facts.spyMethodSetting = settings.clipboardSpyMethod;
      return tip + L"\n\n" + InformationBlockText(facts);
    }
    case ID_TRAY_ENABLE_PHRASE_MENU: {
      int enabled = 0;
      int total = 0;
      m_source.CountPhrases(&enabled, &total);
      wchar_t counts[48];
      swprintf(counts, 48, L"%d/%d", enabled, total);
      return tip + L"\n" + GetClientString(kIdsHotKey) + L": " + GetHotkeyText() + L"\n" +
             GetClientString(kIdsPhrases) + L": [" + counts + L"]";
    }
    case ID_TRAY_PHRASE_FROM_CLIPBOARD: {
      if (!IsClipboardFormatAvailable(CF_UNICODETEXT) && !IsClipboardFormatAvailable(CF_TEXT)) return tip;
      std::wstring formats;
      if (IsClipboardFormatAvailable(RegisterClipboardFormatW(L"Rich Text Format"))) formats = L"RTF";
      formats += (formats.empty() ? L"" : L", ") + GetClientString(kIdsPlainText);
      return GetClientString(kIdsContent) + L"\r\n\r\n" + FirstLines(ClipboardText(), kClipboardTipLines) +
             L"\r\n" + formats;
    }
    case ID_TRAY_HISTORY_KEEP: {
      KeepTipFacts facts;
      facts.historyMax = settings.clipboardHistoryMax;
      facts.connectionState = m_connectionState;
      facts.connectionText = m_connectionText;
      facts.handlerState = handler ? handler->GetState() : 0;
      using SequenceFn = DWORD(WINAPI*)();
      HMODULE user = GetModuleHandleW(L"user32.dll");
      auto sequence = user ? reinterpret_cast<SequenceFn>(GetProcAddress(user, "GetClipboardSequenceNumber")) : nullptr;
      facts.sequenceNumber = sequence ? sequence() : 0;
      facts.historyAtStartup = settings.clipboardHistory != 0;
      facts.editCommandText = GetLangFile().GetItemText(kTrayMenuResource, ID_TRAY_START_EDITOR);
      return KeepTipText(tip, facts);
    }
    case ID_TRAY_HISTORY_PANE:
      return GetClientString(ID_TRAY_HISTORY_PANE) + L"\r\n\r\n" + GetClientString(kIdsPaneText);
    case ID_TRAY_RUN_AS_ADMIN:
      return tip + L"\r\n\r\n\t" + GetClientString(kIdsElevatedUse);
    case ID_TRAY_WRITE_LOG:
      return tip + L"\r\n \u00BB " + GetLogFilePath();
    case kInfoButtonSave:
      return GetClientString(1058);
    case kInfoButtonCopy:
      return GetClientString(1057);
    case ID_TRAY_HOME_PAGE:
      return WithAddress(tip, GetHomePageURL());
    case ID_TRAY_FORUM:
      return WithAddress(tip, GetForumURL());
    case ID_TRAY_MAIL_TO_US:
      return WithAddress(tip, GetSupportMailAddress());
    case ID_TRAY_SUPPORT:
      return WithAddress(tip, GetSupportPageURL());
    case ID_TRAY_NEWS_FEED:
      return WithAddress(tip, GetNewsFeedURL());
    case ID_TRAY_VIDEO:
      return WithAddress(tip, GetVideoPageURL());
    default:
      return tip;
  }
}
