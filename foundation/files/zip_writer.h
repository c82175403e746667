// Writer of ZIP archives (PKWARE format) in one pass: each entry's local
// header, its raw-deflated or stored data, then the central directory.
// Entries are never encrypted.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Result codes of the handle operations.
enum : DWORD {
  kZipOk = 0,
  kZipNoFile = 0x200,             // output or source cannot be opened or examined
  kZipNoMapping = 0x300,          // no page-file mapping for an in-memory archive
  kZipWriteFailed = 0x400,        // a header, the central directory or the end record
  kZipBadArgument = 0x10000,      // null handle, empty or too long name, password, ...
  kZipEmptyMemory = 0x30000,      // in-memory archive of size 0
  kZipEarlierFailure = 0x40000,   // an earlier step of this archive failed
  kZipClosed = 0x50000,           // the central directory is written already
  kZipShortCopy = 0x60000,        // a stored entry could not be written completely
  kZipReaderHandle = 0x80000,     // the handle is of the reading kind
  kZipCannotPosition = 0x2000000, // the local header could not be rewritten in place
  kZipDeflateFailed = 0x5000000,
};

class ZipWriter;

// kind 2 is a writer; 1 would be the reading side, which has no use here.
struct ZipHandle {
  int kind;
  ZipWriter* writer;
};
constexpr int kZipReaderKind = 1;
constexpr int kZipWriterKind = 2;

// New archive file (replaced when it exists). The password must be null or
// empty: encryption is not offered. Null on failure (see ZipLastResult).
ZipHandle* ZipCreateFile(const wchar_t* archivePath, const char* password);
// Writes from the handle's current position on; headers are rewritten in
// place when that position can be read, else data descriptors follow.
ZipHandle* ZipCreateHandle(HANDLE file, const char* password);
// Writes into the buffer, or into a page-file mapping of that size when the
// buffer is null.
ZipHandle* ZipCreateMemory(void* buffer, DWORD size, const char* password);

// Entry names use "/" between folders ("\" is turned into it). Names past
// ASCII are written as UTF-8 and flagged so.
DWORD ZipAddFile(ZipHandle* zip, const wchar_t* name, const wchar_t* sourcePath);
DWORD ZipAddHandle(ZipHandle* zip, const wchar_t* name, HANDLE source, DWORD length);
DWORD ZipAddMemory(ZipHandle* zip, const wchar_t* name, const void* data, DWORD length);
DWORD ZipAddFolder(ZipHandle* zip, const wchar_t* name);

// Writes the central directory when not yet written, closes the output
// and frees the handle.
DWORD CloseZip(ZipHandle* zip);

// The result of the last handle operation of any archive in this process.
DWORD ZipLastResult();

// Packs the files under their bare file names into a new archive. False,
// and no archive left behind, when the list is empty or any step fails.
bool ZipFileList(const std::vector<std::wstring>& files, const std::wstring& archivePath);

// Closes the handle it owns when it goes away.
class CZipHandleHolder {
 public:
  explicit CZipHandleHolder(ZipHandle* zip = nullptr) : m_zip(zip) {}
  ~CZipHandleHolder() { Close(); }
  CZipHandleHolder(const CZipHandleHolder&) = delete;
  CZipHandleHolder& operator=(const CZipHandleHolder&) = delete;

  ZipHandle* Get() const { return m_zip; }
  // Result of closing; kZipOk when nothing was held.
  DWORD Close();

 private:
  ZipHandle* m_zip;
};
