#include "tray/hook/interchange.h"

#include <cstring>
#include <cwchar>

#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/security.h"
#include "foundation/text/convert.h"
#include "phrases/insertion/clipboard_snapshot.h"
#include "settings/shared_memory.h"
#include "tray/hook/query_xml.h"

namespace {

ClipboardCaptureBlocker g_captureBlocker = nullptr;

constexpr DWORD kCopyWaitMs = 400;

HANDLE CreateInterchangeEvent(const std::wstring& name, SECURITY_ATTRIBUTES* sa) {
  return CreateEventW(sa, TRUE, FALSE, name.c_str());
}

void SendCtrlC() {
  INPUT keys[4] = {};
  const WORD order[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(4, keys, sizeof(INPUT));
}

bool HasClipboardText() {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

// CF_UNICODETEXT, else CF_TEXT from the ANSI code page; never read past the
// block even when its text lacks a terminator.
std::wstring ReadClipboardText() {
  ClipboardLock lock(nullptr, 10, 10);
  if (!lock) return std::wstring();
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    GlobalLockScope<const wchar_t> text(data);
    if (text) return std::wstring(text.Get(), wcsnlen(text.Get(), GlobalSize(data) / sizeof(wchar_t)));
  }
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    GlobalLockScope<const char> text(data);
    if (text) return AnsiToWide(std::string(text.Get(), strnlen(text.Get(), GlobalSize(data))).c_str());
  }
  return std::wstring();
}

bool EmptyTheClipboard() {
  ClipboardLock lock(nullptr, 10, 10);
  return lock && EmptyClipboard();
}

}  // namespace

bool CInterchangeObjects::Create() {
  Close();
  EveryoneSecurity everyone;
  m_mapping.Reset(CreateNamedMapping(GetInterchangeAreaName(), kInterchangeAreaSize, true));
  if (m_mapping) m_dataNeeded.Reset(CreateInterchangeEvent(GetDataNeededEventName(), everyone.Get()));
  if (m_dataNeeded)
    m_dataCompleted.Reset(CreateInterchangeEvent(GetDataCompletedEventName(), everyone.Get()));
  if (m_dataCompleted) return true;
  LogError(L"Cannot create interchange object (error " + std::to_wstring(GetLastError()) + L")");
  Close();
  return false;
}

void CInterchangeObjects::Close() {
  m_dataCompleted.Reset();
  m_dataNeeded.Reset();
  m_mapping.Reset();
}

bool ReadQueryFromArea(CQueryRecord& query, const std::wstring& areaName) {
  return ReadQueryFromArea(query, SharedView(areaName));
}

bool ReadQueryFromArea(CQueryRecord& query, const SharedView& view) {
  if (!view.HasMapping()) {
    LogError(L"cannot open file");
    return false;
  }
  if (!view.Data()) {
    LogError(L"cannot MapViewOfFile");
    return false;
  }
  const long length = view.TextLength(kMaxQueryTextBytes);
  wchar_t line[96];
  swprintf(line, 96, L"Read A from buffer, filelen=%ld max_len=%d", length,
           static_cast<int>(kMaxQueryTextBytes));
  Log(line);
  if (length <= 0) return false;
  return ParseQuery(query, std::string(view.Data(), static_cast<size_t>(length)).c_str());
}

bool WriteAnswerToArea(const CAnswerRecord& answer, const std::wstring& areaName) {
  std::string text;
  if (!BuildAnswerXml(answer, text) || text.empty()) return false;
  bool written = false;
  UniqueHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, areaName.c_str()));
  if (mapping) {
    // Past the end of the area the view cannot be made: nothing is cut off.
    if (void* view = MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, text.size() + 1)) {
      memcpy(view, text.c_str(), text.size() + 1);
      FlushViewOfFile(view, text.size() + 1);
      written = UnmapViewOfFile(view) != FALSE;
    }
  }
  if (!written) LogError(L"Cannot write answer to MMF\n");
  return written;
}

void SetClipboardCaptureBlocker(ClipboardCaptureBlocker blocker) { g_captureBlocker = blocker; }

std::wstring GetSelectedTextByCopy(HWND target, HWND trayWnd) {
  CClipboardSnapshot snapshot;
  if (g_captureBlocker) g_captureBlocker(trayWnd);
  EmptyTheClipboard();
  SendCtrlC();
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(target, WM_COPY, 0, 0, SMTO_ABORTIFHUNG, kCopyWaitMs, &ignored);
  // The copy lands on a clipboard we emptied: any text is the selection.
  const ULONGLONG end = GetTickCount64() + kCopyWaitMs;
  while (!HasClipboardText() && GetTickCount64() < end) Sleep(10);
  std::wstring text = ReadClipboardText();
  // The user's clipboard goes back at once, still inside the capture block.
  if (!snapshot.Restore() && snapshot.Entries().empty()) EmptyTheClipboard();
  return text;
}
