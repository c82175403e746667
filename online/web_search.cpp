#include "online/web_search.h"

#include <atomic>

#include "foundation/shell_helpers.h"

namespace {

std::atomic<CommandRunner> g_runner{nullptr};

const wchar_t* SearchPrefix(int engine) {
  switch (engine) {
    case kSearchEngineGoogle:
      return L"http://www.google.com/search?q=";
    case kSearchEngineYandex:
      return L"http://www.yandex.ru/yandsearch?text=";
    case kSearchEngineMsdn:
      return L"http://social.msdn.microsoft.com/Search/en-US?query=";
    case kSearchEngineWikipedia:
      return L"https://en.wikipedia.org/wiki/Special:Search?search=";
    default:
      return nullptr;
  }
}

void ReplaceAll(std::wstring& text, const wchar_t* from, const wchar_t* to) {
  const std::wstring what = from;
  const std::wstring with = to;
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

}  // namespace

std::wstring BuildWebSearchAddress(const std::wstring& text, int engine) {
  const wchar_t* prefix = SearchPrefix(engine);
  if (!prefix) return std::wstring();
  std::wstring line = text;
  // CR LF first, so that a Windows line break gives one blank, not two.
  ReplaceAll(line, L"\r\n", L" ");
  ReplaceAll(line, L"\n", L" ");
  ReplaceAll(line, L"\r", L" ");
  return prefix + line;
}

bool RunCommand(const std::wstring& command, bool reportErrors, HWND owner) {
  CommandRunner runner = g_runner.load();
  if (runner) return runner(command, reportErrors, owner);
  std::wstring errorText;
  SetLastError(0);
  if (ShellExecuteWithError(owner, L"open", command.c_str(), nullptr, nullptr, SW_SHOW, &errorText))
    return true;
  if (reportErrors && GetLastError() != 0) {
    std::wstring text = errorText + L"\nCommand: [" + command + L"]" + L"\nCommand Lenght: " +
                        std::to_wstring(command.size());
    MessageBoxW(owner, text.c_str(), L"Quillora", MB_ICONEXCLAMATION);
  }
  return false;
}

bool SearchTextOnWeb(const std::wstring& text, int engine, HWND owner) {
  std::wstring address = BuildWebSearchAddress(text, engine);
  if (address.empty()) return false;
  return RunCommand(address, true, owner);
}

void SetCommandRunnerForTests(CommandRunner runner) { g_runner = runner; }
