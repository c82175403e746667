// A running Quillora.exe in a program folder of its own, with the core
// library, a phrase folder and an insert target in front: what the hotkey
// tests and the hotkey benchmark drive from outside, as a user would.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/test_support.h"

namespace qlre2e {

constexpr DWORD kWaitMs = 20000;
constexpr int kProbeHotkeyId = 78;

inline std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'\r': out += L"&#x0D;"; break;
      case L'\n': out += L"&#x0A;"; break;
      default: out += c;
    }
  }
  return out;
}

// A phrase file as the editor writes it (UTF-8 XML).
inline bool WritePhrase(const std::wstring& path, const std::wstring& caption, const std::wstring& text,
                        int sortId) {
  std::wstring xml =
      L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
      L"<QLRCommand UsageCount=\"0\" DisabledIsNoHasSelection=\"0\" UseTitleOnly=\"0\" SortID=\"" +
      std::to_wstring(sortId) + L"\" FlagsMenu=\"0\">\r\n    <MenuName>" + Escaped(caption) +
      L"</MenuName>\r\n    <DataType>TEXT</DataType>\r\n    <Cmd>" + Escaped(text) +
      L"</Cmd>\r\n    <Hint></Hint>\r\n</QLRCommand>\r\n";
  return qlrtest::WriteBytes(path, qlrtest::ToUtf8(xml));
}

// The value of attribute name in a phrase file's root element; empty when
// it is missing.
inline std::string PhraseAttribute(const std::wstring& path, const std::string& name) {
  std::string bytes = qlrtest::ReadBytes(path);
  size_t at = bytes.find(" " + name + "=\"");
  if (at == std::string::npos) return std::string();
  at += name.size() + 3;
  size_t end = bytes.find('"', at);
  return end == std::string::npos ? std::string() : bytes.substr(at, end - at);
}

// Whether somebody holds the hotkey: a free one is taken and given back.
inline bool HotkeyHeld(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, kProbeHotkeyId, modifiers, key)) return true;
  UnregisterHotKey(nullptr, kProbeHotkeyId);
  return false;
}

// Whether nobody (including an earlier Quillora) holds Ctrl+Alt+Enter.
inline bool DefaultHotkeyIsFree() { return !HotkeyHeld(MOD_CONTROL | MOD_ALT, VK_RETURN); }

inline INPUT Key(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// Ctrl+Alt+vk, down and up again.
inline bool PressCtrlAlt(WORD vk) {
  INPUT keys[] = {Key(VK_CONTROL, false), Key(VK_MENU, false), Key(vk, false),
                  Key(vk, true),          Key(VK_MENU, true),  Key(VK_CONTROL, true)};
  return SendInput(6, keys, sizeof(INPUT)) == 6;
}

// Ctrl+Alt+Enter.
inline bool PressDefaultHotkey() { return PressCtrlAlt(VK_RETURN); }

// A visible popup menu of the process, or null.
inline HWND VisibleMenuOf(DWORD pid) {
  for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
       menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(menu, &owner);
    if (owner == pid && IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

inline bool PressKey(WORD vk) {
  INPUT keys[] = {Key(vk, false), Key(vk, true)};
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

// The insert target: a window of its own process with a focused EDIT (or
// rich edit with kind "rich"), brought to the front on request.
class InsertTarget {
 public:
  InsertTarget() = default;
  ~InsertTarget() { Stop(); }
  InsertTarget(const InsertTarget&) = delete;
  InsertTarget& operator=(const InsertTarget&) = delete;

  HWND Window() const { return m_main; }
  HWND Edit() const { return m_edit; }

  bool Start(const std::wstring& kind = L"edit") {
    if (!m_process.Start(qlrtest::BinFile(L"helper_insert_target.exe"), kind + L" \"Hotkey Target\""))
      return false;
    // The window shows before its edit control is made.
    qlrtest::WaitUntil([&] {
      m_main = qlrtest::FindProcessWindow(m_process.Pid(), L"QlrInsertTarget");
      m_edit = m_main ? FindWindowExW(m_main, nullptr, nullptr, nullptr) : nullptr;
      return m_edit != nullptr;
    }, kWaitMs);
    return m_edit != nullptr && BringForward();
  }

  // The target comes to the front with its EDIT focused.
  bool BringForward() {
    return qlrtest::WaitUntil([&] {
      if (GetForegroundWindow() == m_main && Focus() == m_edit) return true;
      DWORD_PTR result = 0;
      SendMessageTimeoutW(m_main, WM_APP + 2, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
      return GetForegroundWindow() == m_main && Focus() == m_edit;
    }, kWaitMs, 50);
  }

  std::wstring Text() const {
    wchar_t text[4096] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(m_edit, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &n);
    return std::wstring(text, n);
  }
  bool WaitForText(const std::wstring& expected, DWORD timeoutMs = kWaitMs) const {
    return qlrtest::WaitUntil([&] { return Text() == expected; }, timeoutMs, 20);
  }
  void Clear() const { SendMessageW(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }

  void Stop() {
    if (!m_process.IsRunning()) return;
    PostMessageW(m_main, WM_CLOSE, 0, 0);
    if (m_process.Wait(kWaitMs) == -1) m_process.Kill();
  }

 private:
  HWND Focus() const {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    DWORD thread = GetWindowThreadProcessId(m_main, nullptr);
    return GetGUIThreadInfo(thread, &gui) ? gui.hwndFocus : nullptr;
  }

  qlrtest::ChildProcess m_process;
  HWND m_main = nullptr;
  HWND m_edit = nullptr;
};

// The block another program sends to have a phrase inserted: command id in
// bytes 0-3, the target window as 32 bits in bytes 134-137. The tray's
// answer, or -1 when it gave none.
inline LRESULT SendCommandBlock(HWND tray, int id, HWND target, DWORD size, bool withData = true) {
  unsigned char block[200] = {};
  memcpy(block, &id, 4);
  const INT32 handle = static_cast<INT32>(reinterpret_cast<INT_PTR>(target));
  memcpy(block + 134, &handle, 4);
  COPYDATASTRUCT cds = {};
  cds.cbData = size;
  cds.lpData = withData ? block : nullptr;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, kWaitMs,
                           &result))
    return -1;
  return static_cast<LRESULT>(result);
}

class HotkeySession {
 public:
  HotkeySession() {
    m_ok = qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), File(L"Quillora.exe")) &&
           qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.dll"), File(L"Quillora.dll")) &&
           CreateDirectoryW(PhraseFolder().c_str(), nullptr);
    SetSetting(L"WriteLog", L"1");
    SetSetting(L"Welcome_Already_Started_V2_60", L"1");
  }
  ~HotkeySession() { Stop(); }
  HotkeySession(const HotkeySession&) = delete;
  HotkeySession& operator=(const HotkeySession&) = delete;

  bool Prepared() const { return m_ok; }
  std::wstring File(const std::wstring& name) const { return m_dir.File(name); }
  std::wstring PhraseFolder() const { return m_dir.File(L"UserPhrases"); }
  std::wstring PhraseFile(const std::wstring& name) const { return PhraseFolder() + L"\\" + name; }
  void SetSetting(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"Settings", key, value, File(L"Settings.ini").c_str());
  }
  std::wstring LogText() const { return qlrtest::ReadUtf16File(File(L"LogReport.txt")); }
  size_t CountInLog(const std::wstring& text) const {
    std::wstring log = LogText();
    size_t n = 0;
    for (size_t at = log.find(text); at != std::wstring::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }
  DWORD QuilloraPid() const { return m_quillora.Pid(); }
  HWND TrayWindow() const { return m_trayWindow; }
  HWND TargetWindow() const { return m_target.Window(); }
  HWND TargetEdit() const { return m_target.Edit(); }

  bool StartTarget(const std::wstring& kind = L"edit") { return m_target.Start(kind); }
  bool BringTargetForward() { return m_target.BringForward(); }

  // Starts Quillora.exe and waits until its hotkey and services are up.
  bool StartQuillora() {
    if (!m_quillora.Start(File(L"Quillora.exe"), L"")) return false;
    qlrtest::WaitUntil([&] {
      m_trayWindow = qlrtest::FindProcessWindow(m_quillora.Pid(), nullptr, L"Quillora");
      return m_trayWindow != nullptr;
    }, kWaitMs);
    if (!m_trayWindow) return false;
    if (!WaitForLog(L"WTS_Notify successfully installed")) return false;
    return !DefaultHotkeyIsFree();
  }

  // Ends Quillora.exe the way a user's second start does, then the target.
  int Stop() {
    int code = 0;
    if (m_quillora.IsRunning()) {
      qlrtest::RunProcess(File(L"Quillora.exe"), L"/exit", kWaitMs);
      code = m_quillora.Wait(kWaitMs);
      if (code == -1) m_quillora.Kill();
    }
    m_target.Stop();
    return code;
  }

  bool WaitForLog(const std::wstring& text, DWORD timeoutMs = kWaitMs) const {
    return qlrtest::WaitUntil([&] { return LogText().find(text) != std::wstring::npos; }, timeoutMs, 20);
  }

  // The visible phrase menu of Quillora.exe, or null. Looked up by class,
  // which is cheap enough to poll without delaying the menu itself.
  HWND PhraseMenu() const { return VisibleMenuOf(m_quillora.Pid()); }
  bool WaitForMenu(DWORD timeoutMs = kWaitMs) const {
    return qlrtest::WaitUntil([&] { return PhraseMenu() != nullptr; }, timeoutMs, 5);
  }
  bool WaitForMenuGone(DWORD timeoutMs = kWaitMs) const {
    return qlrtest::WaitUntil([&] { return PhraseMenu() == nullptr; }, timeoutMs, 5);
  }

  std::wstring TargetText() const { return m_target.Text(); }
  bool WaitForTargetText(const std::wstring& expected, DWORD timeoutMs = kWaitMs) const {
    return m_target.WaitForText(expected, timeoutMs);
  }
  void ClearTarget() const { m_target.Clear(); }

 private:
  qlrtest::TempDir m_dir;
  InsertTarget m_target;
  qlrtest::ChildProcess m_quillora;
  HWND m_trayWindow = nullptr;
  bool m_ok = false;
};

}  // namespace qlre2e
