// A real QuilloraEditor.exe started from a program folder of its own (a
// temporary folder with Settings.ini, an empty or prepared phrase folder),
// for the tests that drive the editor from outside. The test process keeps
// the log open as the tray program would, so the editor's lines land in
// the folder's LogReport.txt.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace qlre2e {

constexpr wchar_t kRunningEditorMessage[] = L"QLR_1A80D5B9-1905-4d8c-BDFB-F37358C6F3F2";
constexpr wchar_t kEditorInstanceEvent[] = L"A342649A-EB3E-425a-BB03-0F47CA7A0A9F";
constexpr wchar_t kEditorEndedEvent[] = L"Local\\Quillora_Event_PhraseEditorAgentCoop_Ended";
constexpr wchar_t kCoopClientEditorEvent[] = L"Local\\Quillora_CoopClientEditor";
constexpr wchar_t kOptionsChangedEvent[] = L"Local\\Quillora_OptionsChanged";
constexpr wchar_t kCommandCheckForUpdatesEvent[] = L"Local\\Quillora_CommandCheckForUpdates";
constexpr UINT kEditorExitCommand = 32834;
constexpr UINT kEditorCheckForUpdatesCommand = 32825;

// The top-level windows of the process that answer the running-editor
// question with 1.
inline std::vector<HWND> FindEditorFrames(DWORD pid) {
  const UINT message = RegisterWindowMessageW(kRunningEditorMessage);
  std::vector<HWND> frames;
  for (HWND window : qlrtest::FindProcessWindows(pid)) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer) && answer == 1)
      frames.push_back(window);
  }
  return frames;
}

inline bool IsEventSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// A thread that waits for an event (made by the test) for the whole test;
// Released() tells whether a pulse reached it.
class EventWaiter {
 public:
  // A set-then-reset wakes only a thread that waits already: the thread
  // says it is ready and starts its wait in one call. It is woken at the
  // end by an APC, never by setting the event of the program under test.
  explicit EventWaiter(HANDLE event)
      : m_event(event), m_ready(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_thread.Reset(CreateThread(nullptr, 0, Wait, this, 0, nullptr));
    WaitForSingleObject(m_ready.Get(), 20000);
  }
  ~EventWaiter() {
    if (!m_thread) return;
    QueueUserAPC(Wake, m_thread.Get(), 0);
    WaitForSingleObject(m_thread.Get(), 20000);
  }
  bool Released() const { return m_released; }

 private:
  static void WINAPI Wake(ULONG_PTR) {}
  static DWORD WINAPI Wait(void* param) {
    auto* self = static_cast<EventWaiter*>(param);
    self->m_released = SignalObjectAndWait(self->m_ready.Get(), self->m_event, 120000, TRUE) == WAIT_OBJECT_0;
    return 0;
  }
  HANDLE m_event;
  UniqueHandle m_ready;
  UniqueHandle m_thread;
  std::atomic<bool> m_released{false};
};

// A block of memory inside another process, for the controls' messages
// that carry pointers (TVM_GETITEMW, LVM_GETITEMTEXTW...).
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD pid, size_t size)
      : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)),
        m_size(size) {
    if (m_process)
      m_address = VirtualAllocEx(m_process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (m_address) VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE);
  }
  void* Address() const { return m_address; }
  bool Write(const void* data, size_t size, size_t offset = 0) {
    SIZE_T done = 0;
    return m_address && offset + size <= m_size &&
           WriteProcessMemory(m_process.Get(), static_cast<char*>(m_address) + offset, data, size, &done) &&
           done == size;
  }
  bool Read(void* data, size_t size, size_t offset = 0) const {
    SIZE_T done = 0;
    return m_address && offset + size <= m_size &&
           ReadProcessMemory(m_process.Get(), static_cast<char*>(m_address) + offset, data, size, &done) &&
           done == size;
  }

 private:
  UniqueHandle m_process;
  void* m_address = nullptr;
  size_t m_size;
};

// One entry of a list view in another process.
struct RemoteListItem {
  std::wstring text;
  UINT stateImage = 0;  // 0 no check box, 1 unchecked, 2 checked
  RECT rect = {};       // the label (LVIR_LABEL) in the list's client coordinates
  int image = I_IMAGENONE;  // the row's icon in the list's small images
};

// The entries of a list view of another process, read through a buffer
// made there.
inline std::vector<RemoteListItem> ReadRemoteList(HWND list) {
  std::vector<RemoteListItem> items;
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  RemoteBuffer buffer(pid, 4096);
  if (!buffer.Address()) return items;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RemoteListItem item;
    LVITEMW lv = {};
    lv.mask = LVIF_TEXT;
    lv.iItem = i;
    lv.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + 1024);
    lv.cchTextMax = 512;
    buffer.Write(&lv, sizeof(lv));
    SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(buffer.Address()));
    wchar_t text[512] = {};
    buffer.Read(text, sizeof(text) - sizeof(wchar_t), 1024);
    item.text = text;
    item.stateImage = (static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK)) >> 12) & 0xF;
    RECT rect = {};
    rect.left = LVIR_LABEL;
    buffer.Write(&rect, sizeof(rect));
    SendMessageW(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(&item.rect, sizeof(item.rect));
    lv = {};
    lv.mask = LVIF_IMAGE;
    lv.iItem = i;
    buffer.Write(&lv, sizeof(lv));
    if (SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address())) && buffer.Read(&lv, sizeof(lv)))
      item.image = lv.iImage;
    items.push_back(item);
  }
  return items;
}

// A window's text through a message (a window of another process too).
inline std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &n);
  return std::wstring(text, n);
}

// A message to a window of another process, which may hang: 0 then.
inline LRESULT SendWaiting(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

// Ticks or clears the check box of a row of a list view of another process.
inline bool SetRemoteListCheck(HWND list, int row, bool checked) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  RemoteBuffer buffer(pid, sizeof(LVITEMW));
  LVITEMW item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  return buffer.Write(&item, sizeof(item)) &&
         SendWaiting(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.Address()));
}

// The settings page: the child dialog of the frame that holds the
// autostart box.
inline HWND FindSettingsPage(HWND frame) {
  HWND found = nullptr;
  EnumChildWindows(
      frame,
      [](HWND window, LPARAM out) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        // Made in parts after the frame is up, the page is shown once it
        // is filled (its own style: the pane may be hidden).
        if (wcscmp(cls, L"#32770") != 0 || !GetDlgItem(window, 1003) ||
            !(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE))
          return TRUE;
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The first window below parent whose class name starts with prefix
// (case ignored); null when there is none.
inline HWND FindChildOfClass(HWND parent, const std::wstring& prefix) {
  struct Search {
    const std::wstring* prefix;
    HWND found;
  } search{&prefix, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        if (_wcsnicmp(cls, s->prefix->c_str(), s->prefix->size()) != 0) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The phrase pane of the editor's frame, found by its caption "Phrases [".
inline HWND FindPhrasePane(HWND frame) {
  HWND found = nullptr;
  EnumChildWindows(
      frame,
      [](HWND window, LPARAM lParam) -> BOOL {
        wchar_t text[64] = {};
        GetWindowTextW(window, text, 64);
        if (wcsncmp(text, L"Phrases [", 9) != 0) return TRUE;
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The pane of the editor's frame (id 0xE900) when it is the folder list.
inline HWND FindFolderList(HWND frame) {
  HWND pane = GetDlgItem(frame, 0xE900);
  wchar_t cls[64] = {};
  if (pane) GetClassNameW(pane, cls, 64);
  return wcscmp(cls, L"SysListView32") == 0 ? pane : nullptr;
}

struct TreeEntry {
  HTREEITEM item = nullptr;
  std::wstring text;
  int depth = 0;
  UINT check = 0;  // 1 unchecked, 2 checked
};

// Every item of a tree in another process, in display order.
inline std::vector<TreeEntry> ReadRemoteTree(HWND tree) {
  std::vector<TreeEntry> items;
  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  RemoteBuffer buffer(pid, 4096);
  if (!buffer.Address()) return items;
  struct Walk {
    HWND tree;
    RemoteBuffer& buffer;
    std::vector<TreeEntry>& out;
    void Run(HTREEITEM parent, int depth) {
      auto item = reinterpret_cast<HTREEITEM>(
          SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
      for (; item; item = reinterpret_cast<HTREEITEM>(
                       SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
        tv.hItem = item;
        tv.stateMask = TVIS_STATEIMAGEMASK;
        tv.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + 1024);
        tv.cchTextMax = 512;
        buffer.Write(&tv, sizeof(tv));
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()));
        buffer.Read(&tv, sizeof(tv));
        wchar_t text[512] = {};
        buffer.Read(text, sizeof(text) - sizeof(wchar_t), 1024);
        out.push_back({item, text, depth, (tv.state & TVIS_STATEIMAGEMASK) >> 12});
        Run(item, depth + 1);
      }
    }
  } walk{tree, buffer, items};
  walk.Run(TVI_ROOT, 0);
  return items;
}

// "text:check" per item, children after a ">" per level.
inline std::wstring Describe(const std::vector<TreeEntry>& items) {
  std::wstring out;
  for (const TreeEntry& e : items) out += std::wstring(e.depth, L'>') + e.text + L":" + std::to_wstring(e.check) + L"|";
  return out;
}

// The first item of the tree (in another process) with the text; null when
// there is none.
inline HTREEITEM FindRemoteTreeItem(HWND tree, const std::wstring& text) {
  for (const TreeEntry& e : ReadRemoteTree(tree))
    if (e.text == text) return e.item;
  return nullptr;
}

// A left click posted onto the middle of the item's text, as the mouse
// gives it: the tree tells its parent the selection came by mouse.
inline bool ClickTreeItem(HWND tree, HTREEITEM item) {
  if (!item) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  RemoteBuffer buffer(pid, sizeof(RECT));
  RECT rect = {};
  memcpy(&rect, &item, sizeof(item));  // the item goes in, its rectangle comes out
  buffer.Write(&rect, sizeof(rect));
  if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.Address()))) return false;
  buffer.Read(&rect, sizeof(rect));
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(tree, WM_LBUTTONUP, 0, at);
  return true;
}

inline std::wstring JoinTexts(const std::vector<RemoteListItem>& items) {
  std::wstring out;
  for (const RemoteListItem& item : items) out += item.text + L"|";
  return out;
}

class EditorSessionTest : public ::testing::Test {
 protected:
  static constexpr DWORD kWaitMs = 20000;

  void SetUp() override {
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"QuilloraEditor.exe"), dir.File(L"QuilloraEditor.exe")));
    CreateDirectoryW(PhrasesFolder().c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", PhrasesFolder());
    SetSetting(L"WriteLog", L"1");
    ASSERT_TRUE(InitLog(dir.File(L"LogReport.txt").c_str()));
  }
  void TearDown() override {
    for (qlrtest::ChildProcess* p : {&second, &child}) {
      if (!p->IsRunning()) continue;
      for (HWND frame : FindEditorFrames(p->Pid())) PostMessageW(frame, WM_COMMAND, kEditorExitCommand, 0);
      if (p->Wait(kWaitMs) == -1) p->Kill();
    }
    TermLog();
  }
  std::wstring PhrasesFolder() const { return dir.File(L"Phrases"); }
  void SetSetting(const wchar_t* key, const std::wstring& value, const wchar_t* section = L"Settings") {
    WritePrivateProfileStringW(section, key, value.c_str(), dir.File(L"Settings.ini").c_str());
  }
  std::wstring Setting(const wchar_t* key, const wchar_t* section = L"Settings") const {
    wchar_t buf[2048] = {};
    GetPrivateProfileStringW(section, key, L"", buf, 2048, dir.File(L"Settings.ini").c_str());
    return buf;
  }
  std::wstring LogText() const { return qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")); }
  bool WaitForLog(const std::wstring& text, DWORD timeoutMs = kWaitMs) const {
    return qlrtest::WaitUntil([&] { return LogText().find(text) != std::wstring::npos; }, timeoutMs);
  }
  // Starts the editor; its frame once it answers the question, or null.
  HWND Start(qlrtest::ChildProcess& process, const std::wstring& args = std::wstring()) {
    if (!process.Start(dir.File(L"QuilloraEditor.exe"), args)) return nullptr;
    HWND frame = nullptr;
    qlrtest::WaitUntil(
        [&] {
          if (!process.IsRunning()) return true;
          std::vector<HWND> frames = FindEditorFrames(process.Pid());
          if (!frames.empty()) frame = frames.front();
          return frame != nullptr;
        },
        kWaitMs, 50);
    return frame;
  }
  HWND Start(const std::wstring& args = std::wstring()) { return Start(child, args); }
  // Exit through the File menu's command; the exit code.
  int Exit(HWND frame) {
    PostMessageW(frame, WM_COMMAND, kEditorExitCommand, 0);
    return child.Wait(kWaitMs);
  }

  qlrtest::TempDir dir;
  qlrtest::ChildProcess child;
  qlrtest::ChildProcess second;
};

}  // namespace qlre2e
