#include "tests/support/test_support.h"

#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace qlrtest {

namespace {

std::atomic<unsigned> g_tempCounter{0};

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = path + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path.c_str());
}

}  // namespace

TempDir::TempDir() {
  wchar_t tmp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, tmp);
  std::wstring base = tmp;
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  for (;;) {
    wchar_t name[64];
    swprintf(name, 64, L"\\qlrtest_%lu_%lu_%u", GetCurrentProcessId(), GetTickCount(),
             g_tempCounter.fetch_add(1));
    m_path = base + name;
    if (CreateDirectoryW(m_path.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { RemoveTree(m_path); }

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs, DWORD stepMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (pred()) return true;
    if (GetTickCount64() >= end) return pred();
    Sleep(stepMs);
  }
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (pred()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= end) return pred();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::wstring BinDir() {
  wchar_t buf[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring path = buf;
  return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring BinFile(const std::wstring& name) { return BinDir() + L"\\" + name; }

ChildProcess::~ChildProcess() {
  if (IsRunning()) Kill();
  if (m_pi.hProcess) CloseHandle(m_pi.hProcess);
  if (m_pi.hThread) CloseHandle(m_pi.hThread);
}

bool ChildProcess::Start(const std::wstring& exe, const std::wstring& args,
                         const std::wstring& workDir) {
  // A reused object lets go of the process it started before.
  if (m_pi.hProcess) CloseHandle(m_pi.hProcess);
  if (m_pi.hThread) CloseHandle(m_pi.hThread);
  m_pi = {};
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!args.empty()) cmd += L" " + args;
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  std::vector<wchar_t> buf(cmd.begin(), cmd.end());
  buf.push_back(L'\0');
  // Wine now and then fails a start on a loaded machine: tried again, and
  // the error told when it stays.
  DWORD error = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<wchar_t> line = buf;
    if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workDir.empty() ? nullptr : workDir.c_str(), &si, &m_pi))
      return true;
    error = GetLastError();
    Sleep(200);
  }
  fprintf(stderr, "ChildProcess: cannot start %ls, error %lu\n", exe.c_str(), error);
  return false;
}

int ChildProcess::Wait(DWORD timeoutMs) {
  if (!m_pi.hProcess) return -1;
  if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(m_pi.hProcess, &code);
  return static_cast<int>(code);
}

bool ChildProcess::IsRunning() const {
  return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
  if (!m_pi.hProcess) return;
  TerminateProcess(m_pi.hProcess, 255);
  WaitForSingleObject(m_pi.hProcess, 5000);
}

int RunProcess(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs,
               const std::wstring& workDir) {
  ChildProcess p;
  if (!p.Start(exe, args, workDir)) return -2;
  return p.Wait(timeoutMs);
}

std::string ReadBytes(const std::wstring& path) {
  std::string out;
  // Share delete too: a program that has just moved the file into place may
  // still hold it with delete access, and the read must not fail then.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(h);
  return out;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  // A program under test may be reading the file at this moment (a marker it
  // reads at each schedule, a settings file): wait for it to let go.
  HANDLE h = INVALID_HANDLE_VALUE;
  WaitUntil(
      [&] {
        h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        return h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION;
      },
      10000);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() ||
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

std::wstring ReadUtf16File(const std::wstring& path) {
  std::string bytes = ReadBytes(path);
  size_t start = 0;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    start = 2;
  std::wstring text((bytes.size() - start) / 2, L'\0');
  if (!text.empty()) memcpy(&text[0], bytes.data() + start, text.size() * 2);
  return text;
}

bool WriteUtf16File(const std::wstring& path, const std::wstring& text, bool bom) {
  std::string bytes;
  if (bom) bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return WriteBytes(path, bytes);
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

bool CopyFileTo(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::vector<HWND> FindProcessWindows(DWORD pid) {
  struct Ctx {
    DWORD pid;
    std::vector<HWND> found;
  } ctx{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == c->pid) c->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

std::wstring ClipboardText() {
  std::wstring text = L"-";
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

bool PutClipboardText(const std::wstring& text) {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (block) {
    memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!ok) GlobalFree(block);
  }
  CloseClipboard();
  return ok;
}

std::wstring WaitForMessageBox(DWORD pid, DWORD timeoutMs, HWND* box,
                               const std::function<bool(const std::wstring&)>& accept) {
  std::wstring seen;
  WaitUntil(
      [&] {
        for (HWND window : FindProcessWindows(pid)) {
          wchar_t cls[32] = {};
          GetClassNameW(window, cls, 32);
          if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) continue;
          // 0xFFFF is the id of a message box's text control.
          wchar_t body[1024] = {};
          GetDlgItemTextW(window, 0xFFFF, body, 1024);
          if (accept ? !accept(body) : body[0] == L'\0') continue;
          seen = body;
          if (box) *box = window;
          return true;
        }
        return false;
      },
      timeoutMs);
  return seen;
}

bool CloseMessageBox(DWORD pid, const std::wstring& text, DWORD timeoutMs, int button) {
  HWND box = nullptr;
  WaitForMessageBox(pid, timeoutMs, &box, [&](const std::wstring& body) { return body == text; });
  if (!box) return false;
  PostMessageW(box, WM_COMMAND, button, 0);
  return true;
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title) {
  for (HWND hwnd : FindProcessWindows(pid)) {
    wchar_t cls[256] = {}, text[512] = {};
    GetClassNameW(hwnd, cls, 256);
    GetWindowTextW(hwnd, text, 512);
    if (className && wcscmp(cls, className) != 0) continue;
    if (title && wcscmp(text, title) != 0) continue;
    // The dialog localiser briefly makes a hidden copy of a dialog, owned
    // by it, with the same class and title: never the window sought.
    if (HWND owner = GetWindow(hwnd, GW_OWNER)) {
      wchar_t ownerCls[256] = {}, ownerText[512] = {};
      GetClassNameW(owner, ownerCls, 256);
      GetWindowTextW(owner, ownerText, 512);
      if (!IsWindowVisible(hwnd) && wcscmp(cls, ownerCls) == 0 && wcscmp(text, ownerText) == 0) continue;
    }
    return hwnd;
  }
  return nullptr;
}

bool SetUnixWritable(const std::wstring& path, bool writable) {
  auto isWritable = [&] {
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) == 0;
  };
  // A host program that is never awaited is started only when there is
  // something to change.
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  if (isWritable() == writable) return true;
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return false;
  char* unixPath = toUnix(path.c_str());
  if (!unixPath) return false;
  std::wstring cmd = std::wstring(L"chmod ") + (writable ? L"u+w" : L"a-w") + L" \"" +
                    FromUtf8(unixPath) + L"\"";
  HeapFree(GetProcessHeap(), 0, unixPath);
  // Wine starts a host program given by its path on the Z: drive, but its
  // process handle never reports the end; Wine shows a folder without write
  // permission as read-only, so the change itself is awaited.
  std::vector<wchar_t> buf(cmd.begin(), cmd.end());
  buf.push_back(L'\0');
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(L"Z:\\bin\\chmod", buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return WaitUntil([&] { return isWritable() == writable; });
}

std::vector<BYTE> IconBits(HICON icon) {
  std::vector<BYTE> bits;
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return bits;
  BITMAP bm = {};
  if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
    bits.resize(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
    GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), bits.data());
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bits;
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return info;
}

std::vector<DWORD> ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  std::vector<DWORD> pixels(static_cast<size_t>((width > 0 ? width : 0)) * static_cast<size_t>((height > 0 ? height : 0)));
  if (pixels.empty()) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

}  // namespace qlrtest
