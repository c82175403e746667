// Owners for Windows handles: each closes what it holds when it goes away.
// Move-only; Release() hands the handle over without closing it.
#pragma once
#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueResource {
 public:
  using T = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(T value) : m_value(value) {}
  ~UniqueResource() { Reset(); }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : m_value(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  T Get() const { return m_value; }
  bool IsValid() const { return Traits::IsValid(m_value); }
  explicit operator bool() const { return IsValid(); }

  // Address for the out parameter of a creating call; closes what is held.
  T* Put() {
    Reset();
    return &m_value;
  }
  T Release() { return std::exchange(m_value, Traits::Invalid()); }
  void Reset(T value = Traits::Invalid()) {
    if (Traits::IsValid(m_value)) Traits::Close(m_value);
    m_value = value;
  }

 private:
  T m_value = Traits::Invalid();
};

namespace handle_traits {

// Kernel handles: CreateFileW fails with INVALID_HANDLE_VALUE, most other
// creators with null; neither is closed.
struct Kernel {
  using Type = HANDLE;
  static HANDLE Invalid() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};

struct Key {
  using Type = HKEY;
  static HKEY Invalid() { return nullptr; }
  static bool IsValid(HKEY h) { return h != nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};

struct Module {
  using Type = HMODULE;
  static HMODULE Invalid() { return nullptr; }
  static bool IsValid(HMODULE h) { return h != nullptr; }
  static void Close(HMODULE h) { FreeLibrary(h); }
};

struct Find {
  using Type = HANDLE;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) { FindClose(h); }
};

struct GdiObject {
  using Type = HGDIOBJ;
  static HGDIOBJ Invalid() { return nullptr; }
  static bool IsValid(HGDIOBJ h) { return h != nullptr; }
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};

struct MemoryDC {
  using Type = HDC;
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};

struct Icon {
  using Type = HICON;
  static HICON Invalid() { return nullptr; }
  static bool IsValid(HICON h) { return h != nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};

struct LocalMemory {
  using Type = HLOCAL;
  static HLOCAL Invalid() { return nullptr; }
  static bool IsValid(HLOCAL h) { return h != nullptr; }
  static void Close(HLOCAL h) { LocalFree(h); }
};

struct GlobalMemory {
  using Type = HGLOBAL;
  static HGLOBAL Invalid() { return nullptr; }
  static bool IsValid(HGLOBAL h) { return h != nullptr; }
  static void Close(HGLOBAL h) { GlobalFree(h); }
};

}  // namespace handle_traits

using UniqueHandle = UniqueResource<handle_traits::Kernel>;
using UniqueHKey = UniqueResource<handle_traits::Key>;
using UniqueModule = UniqueResource<handle_traits::Module>;
using UniqueFindHandle = UniqueResource<handle_traits::Find>;
using UniqueGdiObject = UniqueResource<handle_traits::GdiObject>;
using UniqueMemoryDC = UniqueResource<handle_traits::MemoryDC>;
using UniqueIcon = UniqueResource<handle_traits::Icon>;
using UniqueLocalMemory = UniqueResource<handle_traits::LocalMemory>;
using UniqueGlobalMemory = UniqueResource<handle_traits::GlobalMemory>;

// A screen or window DC from GetDC, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
  ~WindowDC() {
    if (m_dc) ReleaseDC(m_hwnd, m_dc);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

 private:
  HWND m_hwnd;
  HDC m_dc;
};

// Selects an object into a DC for one scope and puts the old one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(SelectObject(dc, obj)) {}
  ~SelectObjectScope() {
    if (m_old && m_old != HGDI_ERROR) SelectObject(m_dc, m_old);
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// Locks a global memory block for one scope.
template <typename T = void>
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL mem) : m_mem(mem), m_ptr(mem ? GlobalLock(mem) : nullptr) {}
  ~GlobalLockScope() {
    if (m_ptr) GlobalUnlock(m_mem);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  T* Get() const { return static_cast<T*>(m_ptr); }
  explicit operator bool() const { return m_ptr != nullptr; }

 private:
  HGLOBAL m_mem;
  void* m_ptr;
};

// Opens the clipboard for one scope. The clipboard is a shared resource that
// another program may hold for a moment, so the open may be retried.
class ClipboardLock {
 public:
  explicit ClipboardLock(HWND owner, int attempts = 1, DWORD pauseMs = 10) {
    for (int i = 0; i < attempts && !m_open; ++i) {
      if (i > 0) Sleep(pauseMs);
      m_open = OpenClipboard(owner) != FALSE;
    }
  }
  ~ClipboardLock() {
    if (m_open) CloseClipboard();
  }
  ClipboardLock(const ClipboardLock&) = delete;
  ClipboardLock& operator=(const ClipboardLock&) = delete;
  bool IsOpen() const { return m_open; }
  explicit operator bool() const { return m_open; }

 private:
  bool m_open = false;
};

// Closes a clipboard that the caller opened itself, unless released.
class CAutoCloseClipboard {
 public:
  CAutoCloseClipboard() = default;
  ~CAutoCloseClipboard() {
    if (!m_released) CloseClipboard();
  }
  CAutoCloseClipboard(const CAutoCloseClipboard&) = delete;
  CAutoCloseClipboard& operator=(const CAutoCloseClipboard&) = delete;
  void Release() { m_released = true; }

 private:
  bool m_released = false;
};

// Holds a slim reader/writer lock, shared or exclusive, for one scope.
class SrwSharedLock {
 public:
  explicit SrwSharedLock(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockShared(&m_lock); }
  ~SrwSharedLock() { ReleaseSRWLockShared(&m_lock); }
  SrwSharedLock(const SrwSharedLock&) = delete;
  SrwSharedLock& operator=(const SrwSharedLock&) = delete;

 private:
  SRWLOCK& m_lock;
};

class SrwExclusiveLock {
 public:
  explicit SrwExclusiveLock(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
  ~SrwExclusiveLock() { ReleaseSRWLockExclusive(&m_lock); }
  SrwExclusiveLock(const SrwExclusiveLock&) = delete;
  SrwExclusiveLock& operator=(const SrwExclusiveLock&) = delete;

 private:
  SRWLOCK& m_lock;
};

// Looks a function up in a library loaded for the owner's lifetime; for
// system functions that older Windows versions lack.
template <typename Fn>
class DynamicFunction {
 public:
  DynamicFunction(const wchar_t* library, const char* name) : m_lib(LoadLibraryW(library)) {
    if (m_lib)
      m_fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_lib.Get(), name)));
  }
  explicit operator bool() const { return m_fn != nullptr; }
  Fn Get() const { return m_fn; }

 private:
  UniqueModule m_lib;
  Fn m_fn = nullptr;
};
