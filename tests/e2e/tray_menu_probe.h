// A real Quillora.exe whose tray menu a test opens through the icon's
// callback message and reads in the program's own process through the
// menu probe hook library.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"
#include "tests/helpers/menu_probe/menu_probe.h"
#include "tests/support/test_support.h"

namespace qlre2e {

constexpr UINT kTrayNotify = 32770;
constexpr UINT kTrayIconId = 10;
constexpr UINT kShowTrayMenuCommand = 32833;

struct MenuItemDump {
  int depth = 0;
  UINT id = 0;
  std::wstring flags;
  std::wstring caption;
  bool Has(wchar_t flag) const { return flags.find(flag) != std::wstring::npos; }
};

struct MenuDump {
  RECT window = {};
  std::vector<MenuItemDump> items;
  const MenuItemDump* Find(UINT id) const {
    for (const auto& item : items)
      if (item.id == id && !item.Has(L'P')) return &item;
    return nullptr;
  }
  const MenuItemDump* FindPopup(const std::wstring& captionStart) const {
    for (const auto& item : items)
      if (item.Has(L'P') && item.caption.compare(0, captionStart.size(), captionStart) == 0) return &item;
    return nullptr;
  }
  // The items directly inside the popup at index popupIndex of items.
  std::vector<MenuItemDump> Children(const MenuItemDump* popup) const {
    std::vector<MenuItemDump> out;
    size_t at = static_cast<size_t>(popup - items.data()) + 1;
    for (; at < items.size() && items[at].depth > popup->depth; ++at)
      if (items[at].depth == popup->depth + 1) out.push_back(items[at]);
    return out;
  }
  size_t CountIds(UINT first, UINT last) const {
    size_t n = 0;
    for (const auto& item : items)
      if (!item.Has(L'P') && item.id >= first && item.id <= last) ++n;
    return n;
  }
};

class TrayMenuTest : public TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
    SetSetting(L"ShowHistoryPaneOnStart", L"0");
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"), dir.File(L"QuilloraEditor.exe")));
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"), dir.File(L"Quillora_Welcome.exe")));
  }
  void TearDown() override {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    for (HHOOK hook : m_otherHooks) UnhookWindowsHookEx(hook);
    m_otherHooks.clear();
    TrayProgramTest::TearDown();
    if (m_probe) FreeLibrary(m_probe);
  }

  // Starts the program and hooks the probe into its window's thread.
  HWND StartTray(const std::wstring& args, bool logs = true) {
    tray = Start(args, logs);
    if (!tray) return nullptr;
    if (m_hook) UnhookWindowsHookEx(m_hook);
    m_hook = HookProbe(tray);
    return m_hook ? tray : nullptr;
  }
  // The probe in the thread of a window of another program beside the tray
  // (the editor's frame); unhooked at tear down.
  bool ProbeThreadOf(HWND window) {
    HHOOK hook = HookProbe(window);
    if (hook) m_otherHooks.push_back(hook);
    return hook != nullptr;
  }
  void ExitTray() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    Exit();
  }

  // A visible menu of the process (the tray program's by default).
  HWND MenuWindow(DWORD process = 0) const {
    return VisibleMenuOf(process ? process : child.Pid());
  }
  bool WaitForMenu(DWORD process = 0, DWORD timeoutMs = kProgramWaitMs) const {
    return qlrtest::WaitUntil([&] { return MenuWindow(process) != nullptr; }, timeoutMs);
  }
  bool WaitForMenuGone(DWORD process = 0) const {
    return qlrtest::WaitUntil([&] { return MenuWindow(process) == nullptr; }, kProgramWaitMs);
  }
  // The icon's notification at the cursor point x, y.
  bool ClickIcon(LPARAM mouseMessage, int x = 200, int y = 150) {
    SetCursorPos(x, y);
    return PostMessageW(tray, kTrayNotify, kTrayIconId, mouseMessage) && WaitForMenu();
  }
  // The open menu as the program sees it: the window holding the command
  // (the tray menu's Exit by default), else the first. owner: a window of
  // the probed thread, the tray window by default.
  MenuDump Dump(HWND owner = nullptr, UINT holding = 57665) {
    const std::wstring text = AskProbe(owner, kMenuProbeDumpMessage);
    MenuDump dump;
    std::vector<MenuDump> windows;
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
      std::vector<std::wstring> parts;
      std::wstring line = text.substr(start, end - start);
      for (size_t at = 0;;) {
        size_t bar = line.find(L'|', at);
        // The caption is the rest of the line, bars and all.
        if (bar == std::wstring::npos || parts.size() == 4) {
          parts.push_back(line.substr(at));
          break;
        }
        parts.push_back(line.substr(at, bar - at));
        at = bar + 1;
      }
      if (parts[0] == L"window" && parts.size() == 5) {
        windows.emplace_back();
        windows.back().window = {_wtoi(parts[1].c_str()), _wtoi(parts[2].c_str()), _wtoi(parts[3].c_str()),
                                 _wtoi(parts[4].c_str())};
      } else if (parts[0] == L"item" && parts.size() == 5 && !windows.empty()) {
        MenuItemDump item;
        item.depth = _wtoi(parts[1].c_str());
        item.id = static_cast<UINT>(_wtoi(parts[2].c_str()));
        item.flags = parts[3];
        item.caption = parts[4];
        windows.back().items.push_back(item);
      }
    }
    for (const MenuDump& w : windows)
      if (w.Find(holding)) return w;
    return windows.empty() ? dump : windows.front();
  }
  // The probe's answer to one of its messages, posted to owner (the tray
  // window by default), as far as its closing "end".
  std::wstring AskProbe(HWND owner, const wchar_t* message, WPARAM wParam = 0, LPARAM lParam = 0) {
    const std::wstring file = dir.File(kMenuProbeFile);
    DeleteFileW(file.c_str());
    PostMessageW(owner ? owner : tray, RegisterWindowMessageW(message), wParam, lParam);
    std::wstring text;
    qlrtest::WaitUntil([&] {
      text = qlrtest::ReadUtf16File(file);
      return text.size() >= 4 && text.compare(text.size() - 4, 4, L"end\n") == 0;
    }, kProgramWaitMs);
    return text;
  }
  bool CloseMenu(HWND owner = nullptr, DWORD process = 0) {
    PostMessageW(owner ? owner : tray, RegisterWindowMessageW(kMenuProbeCloseMessage), 0, 0);
    return WaitForMenuGone(process);
  }
  // Opens the menu from the icon, reads it and closes it again.
  MenuDump OpenAndRead() {
    if (!ClickIcon(WM_RBUTTONUP)) return MenuDump();
    MenuDump dump = Dump();
    EXPECT_TRUE(CloseMenu());
    return dump;
  }
  std::wstring Setting(const wchar_t* key) const {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(L"Settings", key, L"<none>", value, 512, dir.File(L"Settings.ini").c_str());
    return value;
  }
  std::string Requests() const { return qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log")); }

  HWND tray = nullptr;

 private:
  HHOOK HookProbe(HWND window) {
    if (!m_probe) m_probe = LoadLibraryW(qlrtest::BinFile(L"helper_menu_probe.dll").c_str());
    auto proc = m_probe ? reinterpret_cast<HOOKPROC>(GetProcAddress(m_probe, kMenuProbeHookName)) : nullptr;
    return proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, m_probe, GetWindowThreadProcessId(window, nullptr))
                : nullptr;
  }

  HMODULE m_probe = nullptr;
  HHOOK m_hook = nullptr;
  std::vector<HHOOK> m_otherHooks;
};

}  // namespace qlre2e
