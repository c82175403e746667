// The about dialog of a real Quillora.exe, seen from outside: found by its
// caption once visible, its report rows read out of the program's memory.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace qlre2e {

constexpr WORD kAboutCommand = 57664;
constexpr int kAboutList = 1001;
constexpr int kAboutCopy = 1002;
constexpr int kGroupKind = 1, kFailureKind = 2, kSuccessKind = 3;

struct ReportRow {
  std::wstring caption, value;
  LPARAM kind = 0;
};

// Memory inside another process for the list messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : m_process(process), m_size(size),
        m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  char* Address() const { return static_cast<char*>(m_address); }
  bool Write(size_t offset, const void* data, size_t size) {
    return offset + size <= m_size && WriteProcessMemory(m_process, Address() + offset, data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return offset + size <= m_size && ReadProcessMemory(m_process, Address() + offset, data, size, nullptr);
  }

 private:
  HANDLE m_process;
  size_t m_size;
  void* m_address;
};

class AboutDialogTest : public TrayProgramTest {
 protected:
  static constexpr size_t kTextChars = 1024;

  // The visible dialog (the dialog localiser's hidden copy has the same
  // caption for a moment).
  HWND WaitForAbout(const wchar_t* title = L"About Quillora") {
    HWND about = nullptr;
    qlrtest::WaitUntil(
        [&] {
          about = qlrtest::FindProcessWindow(child.Pid(), L"#32770", title);
          return about && IsWindowVisible(about);
        },
        kProgramWaitMs);
    return about && IsWindowVisible(about) ? about : nullptr;
  }
  size_t CountVisibleAboutDialogs(const wchar_t* title = L"About Quillora") {
    size_t n = 0;
    for (HWND w : qlrtest::FindProcessWindows(child.Pid())) {
      wchar_t text[64] = {};
      GetWindowTextW(w, text, 64);
      if (IsWindowVisible(w) && wcscmp(text, title) == 0) ++n;
    }
    return n;
  }
  // The report fills from a timer; it is complete once the log group, the
  // last one, is there.
  bool WaitForReport(HWND about) {
    return qlrtest::WaitUntil(
        [&] {
          std::vector<ReportRow> rows = ReadRows(about);
          for (const ReportRow& row : rows)
            if (row.kind == kGroupKind && row.caption.rfind(L"Log (", 0) == 0) return true;
          return false;
        },
        kProgramWaitMs, 100);
  }
  std::vector<ReportRow> ReadRows(HWND about) {
    std::vector<ReportRow> rows;
    HWND list = GetDlgItem(about, kAboutList);
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteBuffer remote(child.Handle(), sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    if (!remote.Address()) return rows;
    for (int i = 0; i < count; ++i) {
      ReportRow row;
      for (int sub = 0; sub < 2; ++sub) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.iSubItem = sub;
        item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(LVITEMW));
        item.cchTextMax = static_cast<int>(kTextChars);
        wchar_t text[kTextChars] = {};
        remote.Write(0, &item, sizeof(item));
        remote.Write(sizeof(LVITEMW), text, sizeof(wchar_t));
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()));
        remote.Read(0, &item, sizeof(item));
        remote.Read(sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t));
        (sub == 0 ? row.caption : row.value) = text;
        if (sub == 0) row.kind = item.lParam;
      }
      rows.push_back(row);
    }
    return rows;
  }
  static const ReportRow* FindRow(const std::vector<ReportRow>& rows, const std::wstring& caption) {
    for (const ReportRow& row : rows)
      if (row.caption == caption) return &row;
    return nullptr;
  }
  // Copy as the button does it; the report as the clipboard has it.
  std::wstring CopyReport(HWND about) {
    qlrtest::PutClipboardText(L"before");
    SendMessageW(about, WM_COMMAND, MAKEWPARAM(kAboutCopy, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(about, kAboutCopy)));
    std::wstring report;
    qlrtest::WaitUntil([&] { return (report = qlrtest::ClipboardText()) != L"before"; }, kProgramWaitMs);
    return report;
  }
  HWND OpenAbout(HWND tray) {
    PostMessageW(tray, WM_COMMAND, kAboutCommand, 0);
    HWND about = WaitForAbout();
    if (about && !WaitForReport(about)) return nullptr;
    return about;
  }
};

}  // namespace qlre2e
