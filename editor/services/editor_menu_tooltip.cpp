#include "editor/services/editor_menu_tooltip.h"

#include "editor/services/clipboard_text.h"
#include "editor/services/editor_system.h"
#include "editor/services/macro_menus.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr UINT kCmdAddFromClipboard = 32775;
constexpr UINT kCmdZipLogFile = 32826;
constexpr UINT kCmdPaste = 57637;
constexpr UINT kIdsChooseFolder = 32833;
constexpr UINT kIdsUseLanguage = 61219;

std::wstring ClipboardTipText() {
  std::wstring text;
  if (!GetClipboardText(text)) return std::wstring();
  size_t start = text.find_first_not_of(L"\r\n\t");
  if (start == std::wstring::npos) return std::wstring();
  text.erase(0, start);
  size_t end = text.find_first_of(L"\r\n");
  if (end != std::wstring::npos && end > 0) text.resize(end);
  return L"\r\n\r\n[" + CutForTip(text) + L"...]";
}

}  // namespace

UINT GetFrameStatusTextMessage() {
  static const UINT message = RegisterWindowMessageW(L"{3875692C-ED88-4395-98D9-42698D67B08A}");
  return message;
}

std::wstring MakeStatusLine(const std::wstring& text) {
  std::wstring line = text;
  for (const wchar_t* lineBreak : {L"\n\n", L"\r\r", L"\n", L"\r"}) ReplaceText(line, lineBreak, L" ");
  return line;
}

CEditorMenuToolTip::~CEditorMenuToolTip() {
  if (m_macroIcon) DestroyIcon(m_macroIcon);
}

bool CEditorMenuToolTip::IsSysCommandId(UINT id) {
  if (IsInRange(id, 1000, 1100)) return true;
  switch (id) {
    case SC_SIZE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_CLOSE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

HICON CEditorMenuToolTip::GetTipIcon(UINT id) {
  if (!IsInRange(id, kMacroItemFirst, kMacroItemLast)) return CMenuToolTip::GetItemIcon(id);
  if (!m_macroIconLoaded) {
    m_macroIconLoaded = true;
    HINSTANCE instance = m_instance ? m_instance : GetModuleHandleW(nullptr);
    m_macroIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kMacroTipIconId), IMAGE_ICON,
                                                16, 16, LR_DEFAULTCOLOR));
  }
  return m_macroIcon;
}

std::wstring CEditorMenuToolTip::LanguageTip(UINT index) {
  CLngString useLanguage;
  useLanguage.LoadString(kIdsUseLanguage);
  std::wstring tip = useLanguage.Text();
  std::vector<std::wstring> files;
  if (m_languagesForTests)
    files = *m_languagesForTests;
  else
    EnumLanguageFiles(files, GetLocalizeExampleFileName().c_str());
  if (index >= files.size() || files[index].empty()) return tip;
  std::wstring path = GetLngFilePath(files[index].c_str());
  LangFileInfo info;
  if (GetLangFileInfo(path, &info) != 1 || info.name.empty()) return tip;
  return tip + L"\r\n\r\n" + info.name + L"\r\n" + files[index];
}

void CEditorMenuToolTip::GetTipText(std::wstring& out, UINT id) {
  out.clear();
  if (IsInRange(id, kMacroItemFirst, kMacroItemLast)) {
    std::wstring macro = GetMenuMacroName(id);
    if (!macro.empty()) out = GetMacroDescription(macro);
    return;
  }
  if (IsInRange(id, kRecentFolderFirst, kRecentFolderLast)) {
    out = GetLocalizedFirstLine(kIdsChooseFolder) + L"\n[" +
          GetEditorSettings().GetPrevFolder(static_cast<int>(id - kRecentFolderFirst)) + L"]";
    return;
  }
  out = GetCommandToolTip(id);
  switch (id) {
    case kCmdAddFromClipboard:
      out += ClipboardTipText();
      break;
    case kCmdZipLogFile:
      out += L"\r\n \u00BB " + GetLogReportPath();
      break;
    case kCmdPaste:
      if (!m_extraText.empty()) {
        out += L"\n\n " + m_extraText;
        HWND frame = GetOwner();
        std::wstring status = MakeStatusLine(out);
        if (frame) SendMessageW(frame, GetFrameStatusTextMessage(), 0, reinterpret_cast<LPARAM>(status.c_str()));
      }
      break;
    default:
      if (id >= kLanguageItemFirst && id < kLanguageItemLast) out += LanguageTip(id - kLanguageItemFirst);
      break;
  }
}

bool CEditorMenuToolTip::GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title) {
  if (IsDisabled()) return CMenuToolTip::GetItemText(text, id, menu, title);
  GetTipText(text, id);
  return !text.empty();
}
