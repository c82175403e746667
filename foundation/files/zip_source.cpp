#include "foundation/files/zip_source.h"

#include "foundation/files/zip_writer.h"

namespace {

constexpr DWORD kUnixDirectory = 0x4000;
constexpr DWORD kUnixFile = 0x8000;
constexpr DWORD kUnixOwnerRead = 0x0100;
constexpr DWORD kUnixOwnerWrite = 0x0080;
constexpr DWORD kUnixOwnerExecute = 0x0040;
constexpr DWORD kWindowsAttributeBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                        FILE_ATTRIBUTE_ARCHIVE;

uint32_t UnixTime(const FILETIME& ft) {
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  if (t.QuadPart < 116444736000000000ULL) return 0;
  return static_cast<uint32_t>((t.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

void DosDateTime(const SYSTEMTIME& st, WORD& time, WORD& date) {
  time = static_cast<WORD>(st.wHour << 11 | st.wMinute << 5 | st.wSecond / 2);
  int year = st.wYear < 1980 ? 0 : st.wYear - 1980;
  date = static_cast<WORD>(year << 9 | st.wMonth << 5 | st.wDay);
}

DWORD UnixMode(DWORD windowsAttributes, bool executable) {
  DWORD mode = (windowsAttributes & FILE_ATTRIBUTE_DIRECTORY) ? kUnixDirectory : kUnixFile;
  mode |= kUnixOwnerRead;
  if (!(windowsAttributes & FILE_ATTRIBUTE_READONLY)) mode |= kUnixOwnerWrite;
  if (executable) mode |= kUnixOwnerExecute;
  return mode;
}

}  // namespace

ZipSource::~ZipSource() {
  if (m_ownsFile && m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
}

DWORD ZipSource::OpenFile(const wchar_t* path) {
  m_file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (m_file == INVALID_HANDLE_VALUE) return kZipNoFile;
  m_ownsFile = true;
  LARGE_INTEGER size;
  // The format without its 64-bit extension cannot describe 4 GB or more.
  if (!GetFileSizeEx(m_file, &size) || size.QuadPart > 0xFFFFFFFFLL) return kZipNoFile;
  m_size = m_left = static_cast<DWORD>(size.QuadPart);
  return TakeFileInformation(true);
}

DWORD ZipSource::OpenHandle(HANDLE file, DWORD length) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return kZipNoFile;
  m_file = file;
  m_size = m_left = length;
  return TakeFileInformation(false);
}

DWORD ZipSource::OpenMemory(const void* data, DWORD length) {
  if (!data && length > 0) return kZipBadArgument;
  m_memory = static_cast<const BYTE*>(data);
  m_size = m_left = length;
  m_attributes = FILE_ATTRIBUTE_ARCHIVE | UnixMode(0, false) << 16;
  TakeCurrentTime();
  return kZipOk;
}

DWORD ZipSource::OpenFolder() {
  m_folder = true;
  m_attributes = FILE_ATTRIBUTE_DIRECTORY | UnixMode(FILE_ATTRIBUTE_DIRECTORY, false) << 16;
  TakeCurrentTime();
  return kZipOk;
}

DWORD ZipSource::TakeFileInformation(bool probeExecutable) {
  // The basic record alone: the whole handle record also asks for the
  // volume, which costs about a millisecond per file under Wine (a backup
  // of thousands of phrase files).
  FILE_BASIC_INFO info;
  if (!GetFileInformationByHandleEx(m_file, FileBasicInfo, &info, sizeof(info))) return kZipNoFile;
  auto fileTime = [](const LARGE_INTEGER& t) {
    FILETIME ft;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = static_cast<DWORD>(t.HighPart);
    return ft;
  };
  const FILETIME written = fileTime(info.LastWriteTime);
  bool executable = probeExecutable && LooksExecutable();
  m_attributes = (info.FileAttributes & kWindowsAttributeBits) | UnixMode(info.FileAttributes, executable) << 16;
  m_modified = UnixTime(written);
  m_accessed = UnixTime(fileTime(info.LastAccessTime));
  m_created = UnixTime(fileTime(info.CreationTime));
  // Zip readers show DOS times as local times.
  FILETIME local;
  SYSTEMTIME st;
  if (FileTimeToLocalFileTime(&written, &local) && FileTimeToSystemTime(&local, &st))
    DosDateTime(st, m_dosTime, m_dosDate);
  return kZipOk;
}

void ZipSource::TakeCurrentTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  DosDateTime(st, m_dosTime, m_dosDate);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  m_modified = m_accessed = m_created = UnixTime(now);
}

// The historical executable probe of this format's writers: a two-byte
// mark, a header position at offset 36 and a known signature there.
bool ZipSource::LooksExecutable() {
  if (m_size <= 40) return false;
  BYTE head[40];
  DWORD got = 0;
  bool result = false;
  if (ReadFile(m_file, head, sizeof head, &got, nullptr) && got == sizeof head) {
    WORD mark = static_cast<WORD>(head[0] | head[1] << 8);
    DWORD at = head[36] | head[37] << 8 | head[38] << 16 | static_cast<DWORD>(head[39]) << 24;
    DWORD signature = 0;
    LARGE_INTEGER pos;
    pos.QuadPart = at;
    if (mark == 0x54AD && static_cast<uint64_t>(m_size) > static_cast<uint64_t>(at) + 52 &&
        SetFilePointerEx(m_file, pos, nullptr, FILE_BEGIN) &&
        ReadFile(m_file, &signature, sizeof signature, &got, nullptr) && got == sizeof signature) {
      result = signature == 0x5A4D || signature == 0x454E || signature == 0x454C ||
               signature == 0x4550;
    }
  }
  LARGE_INTEGER zero = {};
  SetFilePointerEx(m_file, zero, nullptr, FILE_BEGIN);
  return result;
}

DWORD ZipSource::Read(void* buffer, DWORD size) {
  DWORD n = size < m_left ? size : m_left;
  if (n == 0) return 0;
  if (m_memory) {
    memcpy(buffer, m_memory + (m_size - m_left), n);
  } else if (m_file != INVALID_HANDLE_VALUE) {
    DWORD got = 0;
    if (!ReadFile(m_file, buffer, n, &got, nullptr)) got = 0;
    n = got;
    if (n == 0) m_left = 0;  // the source ended early or failed: stop
  } else {
    return 0;
  }
  m_left -= n;
  return n;
}
