#include "editor_settings/language/make_lng_file.h"

#include <cwchar>

#include "editor_settings/language/language_tools_names.h"
#include "editor_settings/language/lng_file_maker.h"
#include "editor_settings/language/program_file_check.h"
#include "editor_settings/language/welcome_page_extract.h"
#include "editor_settings/settings_file_replace.h"
#include "foundation/files/files.h"
#include "foundation/files/ini.h"
#include "foundation/files/paths.h"
#include "foundation/files/shell_file_ops.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/shell_open.h"

namespace {

constexpr wchar_t kAbsentMarker[] = L"{6B0F2D4E-91C3-4A57-8E1D-3C9A7B52F0E8}";

LngRecycler g_recycler = nullptr;

struct HeaderKey {
  const wchar_t* key;
  const wchar_t* tip;
};
constexpr HeaderKey kHeaderKeys[] = {
    {kLngKeyPrefix, kLngPrefixTip},
    {kLngKeyAuthor, kLngAuthorTip},
    {kLngKeyLocalized, kLngLocalizedTip},
};

bool ShellRecycle(HWND owner, const std::wstring& path) {
  return DeleteToRecycleBin(owner, path, false);
}

void ShowBox(HWND parent, const std::wstring& text, UINT type) {
  MessageBoxW(parent, text.c_str(), kLngToolsBoxCaption, type);
}

std::wstring Format(const wchar_t* format, const std::wstring& value) {
  std::wstring text(wcslen(format) + value.size() + 1, L'\0');
  int n = swprintf(&text[0], text.size(), format, value.c_str());
  text.resize(n > 0 ? n : 0);
  return text;
}

int AskAboutExistingFile(const std::wstring& lngPath, HWND parent) {
  CLngString question;
  question.LoadString(kIdsLngFileExists);
  const std::wstring text = lngPath + L"\n\n" + question.Text();
  return MessageBoxW(parent, text.c_str(), kLngToolsBoxCaption,
                     MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
}

// A file past the size the programs read is read as empty: adding to it
// would write the built-in texts over its translations. True when the
// user was told so.
bool RefuseOversizedFile(const std::wstring& lngPath, HWND parent) {
  if (IsProfileFileWritable(lngPath.c_str(), kMaxLngFileBytes)) return false;
  CLngString text;
  text.LoadString(kIdsLngFileTooLarge);
  ShowBox(parent, lngPath + L"\n\n" + text.Text(), MB_OK | MB_ICONERROR);
  return true;
}

// The profile functions write UTF-16 only into a file that starts with the
// byte-order mark: a new file gets it, and so does an empty one.
bool CreateUtf16File(const std::wstring& lngPath) {
  UniqueHandle file(CreateFileW(lngPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogError(L"CreateFileW [" + lngPath + L"], code " + std::to_wstring(GetLastError()));
    return false;
  }
  static const BYTE kBom[] = {0xFF, 0xFE};
  DWORD written = 0;
  return WriteFile(file.Get(), kBom, sizeof(kBom), &written, nullptr) && written == sizeof(kBom);
}

// Run on the working copy before the profile functions touch it: an empty
// file gets the UTF-16 mark, and a file that starts with the mark as a
// 32-bit value (FF FE 00 00) loses the two zero bytes, which the profile
// functions would read as part of the first line, dropping its section.
bool PrepareUtf16Header(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
  static const BYTE kBom[] = {0xFF, 0xFE};
  DWORD done = 0;
  if (size.QuadPart == 0) return WriteFile(file.Get(), kBom, sizeof(kBom), &done, nullptr) && done == sizeof(kBom);
  BYTE head[4] = {};
  if (size.QuadPart < 4 || !ReadFile(file.Get(), head, 4, &done, nullptr) || done != 4) return true;
  if (!(head[0] == 0xFF && head[1] == 0xFE && head[2] == 0 && head[3] == 0)) return true;
  std::string rest(static_cast<size_t>(size.QuadPart - 4), '\0');
  if (!rest.empty() && (!ReadFile(file.Get(), &rest[0], static_cast<DWORD>(rest.size()), &done, nullptr) ||
                        done != rest.size()))
    return false;
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return false;
  const std::string fixed = std::string(reinterpret_cast<const char*>(kBom), 2) + rest;
  return WriteFile(file.Get(), fixed.data(), static_cast<DWORD>(fixed.size()), &done, nullptr) &&
         done == fixed.size() && SetEndOfFile(file.Get());
}

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

// Collects the texts of another program file, loaded only for its
// resources; on a missing or unreadable file the box names its path and
// the template goes on without that program. False when a write into the
// file failed.
bool CollectProgram(const std::wstring& target, const std::wstring& lngPath, HWND parent,
                    const std::wstring& programPath, const wchar_t* suffix, const wchar_t* missingFormat,
                    std::wstring* pagePath) {
  HMODULE module = nullptr;
  if (!IsCompleteProgramFile(programPath))
    LogError(L"no complete program file [" + programPath + L"]");
  else if (!(module = LoadLibraryExW(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)))
    LogError(L"LoadLibraryExW [" + programPath + L"], code " + std::to_wstring(GetLastError()));
  if (!module) {
    ShowBox(parent, Format(missingFormat, programPath), MB_OK | MB_ICONERROR);
    return true;
  }
  bool wrote = false;
  {
    CLngFileMaker maker(target, suffix, module);
    wrote = maker.Write();
  }
  if (pagePath) *pagePath = ExtractWelcomePage(module, lngPath);
  FreeLibrary(module);
  return wrote;
}

}  // namespace

void SetLngRecyclerForTests(LngRecycler recycler) { g_recycler = recycler; }

bool WriteLngTemplateHeader(const std::wstring& lngPath) {
  if (!WriteLngValue(lngPath, kLngMainSection, kLngTipKey, kLngTipText)) return false;
  // Asked for by name: the profile functions match keys in any letter case,
  // and a long section read at once would be cut.
  for (const HeaderKey& h : kHeaderKeys) {
    std::wstring value;
    ReadLngValue(lngPath, kLngMainSection, h.key, kAbsentMarker, 64, &value);
    if (value == kAbsentMarker) WriteLngValue(lngPath, kLngMainSection, h.key, h.tip);
  }
  return true;
}

int MakeLngFile(const std::wstring& lngPath, HWND parent, std::wstring& pagePath) {
  return MakeLngFile(lngPath, parent, pagePath, LngTemplateSources());
}

int MakeLngFile(const std::wstring& lngPath, HWND parent, std::wstring& pagePath,
                const LngTemplateSources& sources) {
  pagePath.clear();
  if (lngPath.empty()) return kMakeLngFailed;
  if (IsFileExist(lngPath)) {
    switch (AskAboutExistingFile(lngPath, parent)) {
      case IDCANCEL:
        return kMakeLngCancelled;
      case IDNO: {
        LngRecycler recycle = g_recycler ? g_recycler : ShellRecycle;
        // A move that fails leaves the old file in place: going on would
        // quietly add to it instead of starting anew.
        if (!recycle(parent, lngPath) || IsFileExist(lngPath)) {
          LogError(L"the old language file stays [" + lngPath + L"]");
          ShowBox(parent, Format(kRecycleFailedFormat, lngPath), MB_OK | MB_ICONERROR);
          return kMakeLngCancelled;
        }
        break;
      }
      default:
        if (RefuseOversizedFile(lngPath, parent)) return kMakeLngCancelled;
        break;
    }
  }
  const bool created = !IsFileExist(lngPath);
  if (created && !CreateUtf16File(lngPath)) return kMakeLngFailed;
  const std::wstring folder =
      WithBackslash(sources.programFolder.empty() ? GetAppFolder() : sources.programFolder);
  // Everything goes into a copy that replaces the file at the end, so that
  // a write failing half-way leaves the translator's file as it was. A
  // program file that is missing was reported by its own box: the file
  // holds the others' texts and counts as made.
  const bool written = ReplaceSettingsFile(lngPath, [&](const std::wstring& target) {
    if (!PrepareUtf16Header(target) || !WriteLngTemplateHeader(target)) {
      LogError(L"writing the header [" + target + L"], code " + std::to_wstring(GetLastError()));
      return false;
    }
    bool complete = false;
    {
      CLngFileMaker editor(target, kLngSuffixEditor, sources.editorModule);
      editor.ExcludeString(kEditorDocTemplateString);
      editor.ExcludeStrings(kEditorIndicatorFirst, kEditorIndicatorLast);
      complete = editor.Write();
    }
    complete = complete && CollectProgram(target, lngPath, parent, folder + kAgentModuleName, kLngSuffixClient,
                                          kAgentMissingFormat, nullptr);
    complete = complete && CollectProgram(target, lngPath, parent, folder + kWelcomeModuleName,
                                          kLngSuffixWelcome, kWelcomeMissingFormat, &pagePath);
    return complete;
  });
  if (!written) {
    LogError(L"the language file was not made [" + lngPath + L"]");
    if (created) DeleteFileW(lngPath.c_str());
    // The page belongs to a template that is not there.
    if (!pagePath.empty()) DeleteFileW(pagePath.c_str());
    pagePath.clear();
    return kMakeLngFailed;
  }
  return IsFileExist(lngPath) ? kMakeLngDone : kMakeLngFailed;
}

bool OpenInNotepad(const std::wstring& path, HWND parent) {
  const std::wstring folder = GetFolderFromPath(path, true);
  return ShellOpen(parent, L"open", kNotepadProgram, path.c_str(), folder.c_str(), SW_SHOW) > 32;
}
