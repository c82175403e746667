#include "welcome/welcome_page.h"

#include <shlwapi.h>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/system/system_helpers.h"
#include "foundation/text/convert.h"
#include "foundation/text/html_escape.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr wchar_t kHotkeyStart[] = L"<!-- HOTKEY_START -->";
constexpr wchar_t kHotkeyEnd[] = L"<!-- HOTKEY_END -->";
constexpr wchar_t kRssMarker[] = L"<!-- RSS_URL -->";
constexpr wchar_t kVersionMarker[] = L"<!-- VERSION_WELCOME_INFO -->";
constexpr wchar_t kLocalizeMarker[] = L"<!-- LOCALIZE_PATH -->";
constexpr wchar_t kSubscribeMarker[] = L"<!-- SUBSCRIBE_URL -->";
constexpr size_t kMaxPrefixChars = 10;

std::wstring WithSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::string ReadPageFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::string();
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow > kWelcomePageMaxBytes) return std::string();
  size_t size = 0;
  std::unique_ptr<char[]> bytes = ReadFileToBuffer(path, &size);
  return bytes ? std::string(bytes.get(), size) : std::string();
}

// The search of one prefix: the file found, its label and the flag.
bool SearchPage(const std::wstring& htmlFolder, const std::wstring& rawPrefix, std::wstring* file,
                std::wstring* label, bool* fallback) {
  if (!IsFolderExist(htmlFolder)) return false;
  const std::wstring prefix = TrimChars(rawPrefix, L" \t");
  if (!IsUsablePagePrefix(prefix)) return false;
  const std::wstring parent = GetWelcomeParentLanguage(prefix);
  if (IsFolderExist(htmlFolder + prefix)) {
    std::wstring candidate = htmlFolder + prefix + L"\\welcome.html";
    if (IsFileExist(candidate)) {
      *file = candidate;
      *label = L"HTML\\" + prefix + L"\\welcome.html";
      return true;
    }
    return !parent.empty() && SearchPage(htmlFolder, parent, file, label, fallback);
  }
  if (parent.empty() || !SearchPage(htmlFolder, parent, file, label, fallback)) return false;
  *fallback = true;
  return true;
}

// Replaces the first occurrence; true when there was one.
bool ReplaceFirst(std::wstring& text, const wchar_t* marker, const std::wstring& value) {
  size_t at = text.find(marker);
  if (at == std::wstring::npos) return false;
  text.replace(at, wcslen(marker), value);
  return true;
}

bool IsPlainPrefixChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
         c == L'-' || c == L'_';
}

}  // namespace

std::wstring GetWelcomeBaseFolder(const std::wstring& programFolder) { return GetLngFolderOf(programFolder); }

std::wstring GetWelcomeParentLanguage(const std::wstring& prefix) {
  for (const wchar_t* code : {L"uk", L"be", L"kz", L"lv", L"lt", L"et"})
    if (EqualNoCase(prefix, code)) return L"ru";
  return std::wstring();
}

bool IsUsablePagePrefix(const std::wstring& prefix) {
  if (prefix.empty() || prefix.size() > kMaxPrefixChars) return false;
  for (wchar_t c : prefix)
    if (!IsPlainPrefixChar(c)) return false;
  return true;
}

WelcomePageRecord ChooseWelcomePage(const std::wstring& baseFolder, const std::wstring& prefix,
                                    const std::string& builtInPage) {
  WelcomePageRecord page;
  const std::wstring base = WithSlash(baseFolder);
  std::wstring file;
  if (!prefix.empty() && SearchPage(base + L"HTML\\", prefix, &file, &page.label, &page.fallback)) {
    page.text = ReadPageFile(file);
    if (!page.text.empty()) page.baseUrl = GetFolderFromPath(file, false);
    return page;
  }
  page.text = builtInPage;
  page.baseUrl = base + L"HTML\\img";
  page.fallback = true;
  if (!builtInPage.empty()) page.label = kWelcomeEmbeddedLabel;
  return page;
}

std::wstring QuoteUrlPath(const std::wstring& path) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (wchar_t c : path) {
    if (c == L'%' || c == L'#' || c == L' ' || c == L'"' || c == L'\'' || c == L'<' || c == L'>' ||
        c == L'&' || c == L'?' || c < 0x20) {
      out += L'%';
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::wstring UnquoteUrlPath(const std::wstring& path) {
  std::wstring out;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == L'%' && i + 2 < path.size() && iswxdigit(path[i + 1]) && iswxdigit(path[i + 2])) {
      out += static_cast<wchar_t>(wcstol(path.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += path[i];
    }
  }
  return out;
}

std::wstring BuildHotkeyBlock(bool areaRead, UINT key, UINT modifiers, bool doubled,
                              const std::wstring& currentHotkey, const std::wstring& unknown,
                              const std::wstring& twice) {
  if (!areaRead) return currentHotkey + L": " + unknown;
  std::wstring block = currentHotkey + L": " + EscapeHtml(GetHotkeyDisplayName(key, modifiers), false);
  if (doubled) {
    std::wstring lower = twice;
    if (!lower.empty()) CharLowerBuffW(&lower[0], static_cast<DWORD>(lower.size()));
    block += L" <B>x 2</B> \x2014 " + lower;
  }
  return block;
}

std::wstring BuildLanguageBlock(const std::wstring& label, bool fallback,
                                const std::wstring& baseFolder) {
  if (label.empty()) return std::wstring();
  std::wstring shown = EscapeHtml(label, false);
  if (label.find(L'\\', 1) != std::wstring::npos) {
    shown = L"<A HREF=\"" + QuoteUrlPath(WithSlash(baseFolder) + label) + L"\" TARGET=_blank>" +
            shown + L"</A>";
  }
  return std::wstring(L"<BR><FONT COLOR=") + (fallback ? L"red" : L"green") + L">Use: " + shown +
         L"</FONT>";
}

std::wstring BuildWelcomeVersionText(const std::wstring& productVersion, const std::wstring& stamp) {
  std::wstring version;
  for (wchar_t c : productVersion) {
    if (c == L',') version += L'.';
    else if (c != L' ' && c != L'\t') version += c;
  }
  if (version.empty()) return std::wstring();
  std::wstring build;
  size_t last = version.rfind(L'.');
  if (last != std::wstring::npos) {
    build = version.substr(last + 1);
    version.resize(last);
  }
  size_t first = version.find(L'.');
  if (first != std::wstring::npos) {
    std::wstring tail = version.substr(first + 1);
    ReplaceText(tail, L".", L"");
    version = version.substr(0, first + 1) + tail;
  }
  std::wstring text = L"v." + version;
  if (!build.empty()) text += L" build " + build;
  return text + L" (" + stamp + L")";
}

std::string FillWelcomePage(const std::string& page, const WelcomeFillRecord& fill,
                            const std::wstring* versionText) {
  if (page.empty()) return page;
  int chars = MultiByteToWideChar(CP_UTF8, 0, page.data(), static_cast<int>(page.size()), nullptr, 0);
  if (chars <= 0) return page;
  std::wstring text(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, page.data(), static_cast<int>(page.size()), &text[0], chars);

  bool replaced = false;
  size_t start = text.find(kHotkeyStart);
  if (start != std::wstring::npos) {
    // The end marker counts only after the start marker.
    size_t end = text.find(kHotkeyEnd, start + wcslen(kHotkeyStart));
    if (end != std::wstring::npos) {
      text.replace(start, end + wcslen(kHotkeyEnd) - start, fill.hotkeyBlock);
      replaced = true;
    }
  }
  replaced |= ReplaceFirst(text, kRssMarker, fill.rssUrl);
  if (versionText) replaced |= ReplaceFirst(text, kVersionMarker, *versionText);
  replaced |= ReplaceFirst(text, kLocalizeMarker, fill.languageBlock);
  replaced |= ReplaceFirst(text, kSubscribeMarker, fill.subscribeUrl);
  if (!replaced) return page;
  return WideToUtf8(text);
}

bool IsWebAddress(const std::wstring& href) {
  return _wcsnicmp(href.c_str(), L"http://", 7) == 0 || _wcsnicmp(href.c_str(), L"https://", 8) == 0;
}

bool ResolveWelcomeCommand(const std::wstring& href, const std::wstring& baseFolder,
                           const std::wstring& baseUrl, WelcomeCommand* out) {
  const std::wstring target = TrimChars(href, L" \t\r\n");
  if (target.empty() || target.size() >= MAX_PATH * 4) return false;
  const std::wstring base = WithSlash(baseFolder);
  static const struct {
    const wchar_t* href;
    const wchar_t* program;
    const wchar_t* parameters;
  } kCommands[] = {
      {L"%CMD_START_EDITOR%", L"QuilloraEditor.exe", L""},
      {L"%CMD_SHOW_TRAY_MENU%", L"Quillora.exe", L"/showmenu"},
      {L"%CMD_SHOW_CMD_LINE%", L"Quillora.exe", L"/?"},
      {L"%CMD_CHECK_FOR_UPDATES%", L"Quillora.exe", L"/cfu"},
  };
  for (const auto& command : kCommands) {
    if (!EqualNoCase(target, command.href)) continue;
    out->program = base + command.program;
    out->parameters = command.parameters;
    return true;
  }
  if (IsWebAddress(target)) return false;
  // Only plain paths: a colon may stand only after a drive letter, so no
  // "file:", "mailto:" or "javascript:" target becomes a file name.
  const size_t colon = target.find(L':');
  if (colon != std::wstring::npos && (colon != 1 || target.find(L':', 2) != std::wstring::npos))
    return false;
  std::wstring path = UnquoteUrlPath(target);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  if (path.size() >= MAX_PATH) return false;
  if (PathIsRelativeW(path.c_str())) {
    // The page's folder: the base itself when it ends in a backslash, else
    // the folder its last component lies in.
    if (baseUrl.empty()) return false;
    std::wstring folder = baseUrl.back() == L'\\' ? baseUrl : GetFolderFromPath(baseUrl, false);
    if (folder.empty()) return false;
    path = WithSlash(folder) + path;
  }
  wchar_t full[MAX_PATH] = {};
  if (!GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr)) return false;
  if (!IsFileExist(full) || IsFolderExist(full)) return false;
  out->program = full;
  out->parameters.clear();
  return true;
}
