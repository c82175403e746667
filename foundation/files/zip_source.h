// What one archive entry is read from: a file, an open handle, a memory
// block or nothing (a folder entry), with its attributes and times.
#pragma once
#include <windows.h>

#include <cstdint>

class ZipSource {
 public:
  ZipSource() = default;
  ~ZipSource();
  ZipSource(const ZipSource&) = delete;
  ZipSource& operator=(const ZipSource&) = delete;

  // Each returns kZipOk or the writer's result code.
  DWORD OpenFile(const wchar_t* path);
  DWORD OpenHandle(HANDLE file, DWORD length);
  DWORD OpenMemory(const void* data, DWORD length);
  DWORD OpenFolder();

  // Copies up to size bytes of what is left; 0 at the end or on a read error.
  DWORD Read(void* buffer, DWORD size);

  bool IsFolder() const { return m_folder; }
  DWORD Size() const { return m_size; }
  DWORD ExternalAttributes() const { return m_attributes; }
  WORD DosTime() const { return m_dosTime; }
  WORD DosDate() const { return m_dosDate; }
  uint32_t ModifiedUnix() const { return m_modified; }
  uint32_t AccessedUnix() const { return m_accessed; }
  uint32_t CreatedUnix() const { return m_created; }

 private:
  DWORD TakeFileInformation(bool probeExecutable);
  void TakeCurrentTime();
  bool LooksExecutable();

  HANDLE m_file = INVALID_HANDLE_VALUE;
  bool m_ownsFile = false;
  const BYTE* m_memory = nullptr;
  bool m_folder = false;
  DWORD m_size = 0;
  DWORD m_left = 0;
  DWORD m_attributes = 0;
  WORD m_dosTime = 0;
  WORD m_dosDate = 0;
  uint32_t m_modified = 0;
  uint32_t m_accessed = 0;
  uint32_t m_created = 0;
};
