// Helpers shared by every test program: temporary folders, polling waits,
// child processes, UTF-16 files and window lookup.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qlrtest {

// A fresh folder under the temporary folder, removed with its content when
// the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::wstring& Path() const { return m_path; }        // no trailing backslash
  std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// Polls pred every few milliseconds until it is true or timeoutMs passed.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000, DWORD stepMs = 10);

// Polls get() until what it returns stayed the same for stillMs; false
// when that did not happen within timeoutMs.
template <typename Get>
bool WaitUntilStill(Get get, DWORD stillMs, DWORD timeoutMs = 20000, DWORD stepMs = 50) {
  auto before = get();
  ULONGLONG since = GetTickCount64();
  return WaitUntil(
      [&] {
        auto now = get();
        if (!(now == before)) {
          before = now;
          since = GetTickCount64();
        }
        return GetTickCount64() - since >= stillMs;
      },
      timeoutMs, stepMs);
}

// Folder of the running test program (where the build puts every program).
std::wstring BinDir();
std::wstring BinFile(const std::wstring& name);

// A child process started by a test; ended (by its id) when the object goes
// away if it still runs.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Start(const std::wstring& exe, const std::wstring& args,
             const std::wstring& workDir = std::wstring());
  // Exit code, or -1 (and the process is still running) after the time-out.
  int Wait(DWORD timeoutMs);
  bool IsRunning() const;
  void Kill();
  DWORD Pid() const { return m_pi.dwProcessId; }
  HANDLE Handle() const { return m_pi.hProcess; }

 private:
  PROCESS_INFORMATION m_pi = {};
};

// Starts exe with args and waits for its end; -1 on time-out (then ended).
int RunProcess(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs = 30000,
               const std::wstring& workDir = std::wstring());

// Whole files.
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// UTF-16LE: a BOM is skipped on read and written on write.
std::wstring ReadUtf16File(const std::wstring& path);
bool WriteUtf16File(const std::wstring& path, const std::wstring& text, bool bom = true);
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// The clipboard's Unicode text ("-" when it holds none or cannot be
// opened), and a text put on it alone; the clipboard is opened with retries,
// since other programs hold it for moments.
std::wstring ClipboardText();
bool PutClipboardText(const std::wstring& text);

// Copies a file; false on failure.
bool CopyFileTo(const std::wstring& from, const std::wstring& to);

// Top-level windows of a process (visible or not).
std::vector<HWND> FindProcessWindows(DWORD pid);
// Waits for a visible message box of the process whose text the predicate
// accepts (without one: any text but an empty one); its text, or empty after
// the time-out. The box's window goes to *box when asked for.
std::wstring WaitForMessageBox(DWORD pid, DWORD timeoutMs, HWND* box = nullptr,
                               const std::function<bool(const std::wstring&)>& accept = nullptr);
// Waits for a visible message box of the process showing exactly text and
// presses its OK button (or the one given); false when none came within the
// time.
bool CloseMessageBox(DWORD pid, const std::wstring& text, DWORD timeoutMs, int button = IDOK);
// First top-level window of the process with the given class (null: any);
// a dialog's hidden copy, owned by the dialog, is passed over.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr);

// Under Wine: sets or clears the Unix write permission of a file or folder
// (chmod u+w / a-w on the host), so that access checks see a place the user
// may not write. Windows' read-only attribute is ignored on folders.
bool SetUnixWritable(const std::wstring& path, bool writable);

// Pumps this thread's messages for up to ms milliseconds or until pred holds.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// The screen's pixels of a rectangle (0x00RRGGBB, rows from the top).
std::vector<DWORD> ScreenPixels(const RECT& rect);
// A top-down 32-bit bitmap of the size, as the drawing tests read it.
BITMAPINFO TopDownBitmapInfo(int width, int height);
// The colour bits of an icon, to tell pictures apart; empty for none.
std::vector<BYTE> IconBits(HICON icon);

}  // namespace qlrtest
