#include "foundation/files/zip_writer.h"

#include <zlib.h>

#include <atomic>
#include <string>

#include "foundation/files/files.h"
#include "foundation/files/zip_source.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr DWORD kBufferSize = 16384;
constexpr int kDeflateLevel = 8;
constexpr WORD kVersionMadeBy = 0x0B17;
constexpr WORD kVersionNeeded = 20;
constexpr WORD kFlagDataDescriptor = 0x0008;
constexpr WORD kFlagUtf8Name = 0x0800;
constexpr WORD kMethodStored = 0;
constexpr WORD kMethodDeflated = 8;
constexpr size_t kMaxNameBytes = 0xFFFF;

std::atomic<DWORD> g_lastResult{kZipOk};

DWORD Remember(DWORD result) {
  g_lastResult = result;
  return result;
}

// Little-endian record builder.
class Bytes {
 public:
  Bytes& U8(BYTE v) {
    m_data.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& U16(WORD v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(DWORD v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Raw(const std::string& s) {
    m_data += s;
    return *this;
  }
  const std::string& Data() const { return m_data; }

 private:
  std::string m_data;
};

bool IsStoredExtension(const std::wstring& name) {
  static const wchar_t* const kPacked[] = {L".Z", L".zip", L".zoo", L".arc",
                                           L".lzh", L".arj", L".gz", L".tgz"};
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return false;
  std::wstring ext = name.substr(dot);
  for (const wchar_t* packed : kPacked) {
    if (CompareStringOrdinal(ext.c_str(), -1, packed, -1, TRUE) == CSTR_EQUAL) return true;
  }
  return false;
}

// ASCII names stay as they are; any other name is written as UTF-8 and
// flagged so (the caller sets the flag). A name in the ANSI code page
// without the flag is read by other readers in the OEM code page, which
// garbles every letter past ASCII.
std::string EntryNameBytes(const std::wstring& name, bool& utf8) {
  utf8 = !IsAscii(name);
  if (!utf8) return std::string(name.begin(), name.end());
  int n = WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace

// One archive being written.
class ZipWriter {
 public:
  ~ZipWriter() {
    if (m_deflateReady) deflateEnd(&m_deflate);
    if (m_mappedView) UnmapViewOfFile(m_mappedView);
    if (m_mapping) CloseHandle(m_mapping);
    if (m_ownsFile && m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
  }

  DWORD OpenFile(const wchar_t* path) {
    m_file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (m_file == INVALID_HANDLE_VALUE) return kZipNoFile;
    m_ownsFile = true;
    m_canPosition = true;
    return kZipOk;
  }

  DWORD OpenHandle(HANDLE file) {
    if (file == nullptr || file == INVALID_HANDLE_VALUE) return kZipBadArgument;
    m_file = file;
    LARGE_INTEGER zero = {}, pos = {};
    // A pipe or a console has no position: then sizes follow each entry.
    if (GetFileType(file) == FILE_TYPE_DISK && SetFilePointerEx(file, zero, &pos, FILE_CURRENT)) {
      m_canPosition = true;
      m_start = static_cast<DWORD>(pos.QuadPart);
    }
    return kZipOk;
  }

  DWORD OpenMemory(void* buffer, DWORD size) {
    if (size == 0) return kZipEmptyMemory;
    if (!buffer) {
      m_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, nullptr);
      if (m_mapping) m_mappedView = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
      if (!m_mappedView) return kZipNoMapping;
      buffer = m_mappedView;
    }
    m_memory = static_cast<BYTE*>(buffer);
    m_memorySize = size;
    m_canPosition = true;
    return kZipOk;
  }

  DWORD Add(const std::wstring& rawName, ZipSource& source) {
    if (m_error != kZipOk) return kZipEarlierFailure;
    if (m_closed) return kZipClosed;
    std::wstring name = rawName;
    for (wchar_t& c : name)
      if (c == L'\\') c = L'/';
    if (source.IsFolder() && name.back() != L'/') name += L'/';

    Entry e;
    bool utf8 = false;
    e.name = EntryNameBytes(name, utf8);
    if (e.name.empty() || e.name.size() > kMaxNameBytes) return kZipBadArgument;
    e.flags = kFlagDataDescriptor | (utf8 ? kFlagUtf8Name : 0);
    e.method = (source.IsFolder() || IsStoredExtension(name)) ? kMethodStored : kMethodDeflated;
    e.dosTime = source.DosTime();
    e.dosDate = source.DosDate();
    e.uncompressedSize = source.Size();
    e.compressedSize = e.method == kMethodStored ? source.Size() : 0;
    e.externalAttributes = source.ExternalAttributes();
    e.offset = m_written;
    e.modified = source.ModifiedUnix();
    std::string localExtra = Bytes()
                                 .U16(0x5455).U16(13).U8(7)
                                 .U32(source.ModifiedUnix())
                                 .U32(source.AccessedUnix())
                                 .U32(source.CreatedUnix())
                                 .Data();
    if (!Write(LocalHeader(e, localExtra))) return Fail(kZipWriteFailed);

    DWORD result = source.IsFolder() ? kZipOk
                   : e.method == kMethodStored ? CopyData(source, e)
                                               : DeflateData(source, e);
    if (result != kZipOk) return Fail(result);

    if (m_canPosition) {
      // The real sizes go into the local header itself: no descriptor.
      e.flags &= ~kFlagDataDescriptor;
      DWORD end = m_written;
      if (!PositionAt(e.offset)) return Fail(kZipCannotPosition);
      if (!Write(LocalHeader(e, localExtra))) return Fail(kZipWriteFailed);
      m_written = end;
      if (!PositionAt(end)) return Fail(kZipCannotPosition);
    } else {
      Bytes descriptor;
      descriptor.U32(0x08074B50).U32(e.crc).U32(e.compressedSize).U32(e.uncompressedSize);
      if (!Write(descriptor.Data())) return Fail(kZipWriteFailed);
    }
    m_entries.push_back(e);
    return kZipOk;
  }

  DWORD Close() {
    if (m_closed) return kZipOk;
    m_closed = true;
    Bytes central;
    for (const Entry& e : m_entries) {
      std::string extra = Bytes().U16(0x5455).U16(5).U8(7).U32(e.modified).Data();
      central.U32(0x02014B50).U16(kVersionMadeBy).U16(kVersionNeeded).U16(e.flags).U16(e.method)
          .U16(e.dosTime).U16(e.dosDate).U32(e.crc).U32(e.compressedSize).U32(e.uncompressedSize)
          .U16(static_cast<WORD>(e.name.size())).U16(static_cast<WORD>(extra.size())).U16(0)
          .U16(0).U16(0).U32(e.externalAttributes).U32(m_start + e.offset)
          .Raw(e.name).Raw(extra);
    }
    DWORD centralOffset = m_start + m_written;
    Bytes end;
    end.U32(0x06054B50).U16(0).U16(0)
        .U16(static_cast<WORD>(m_entries.size())).U16(static_cast<WORD>(m_entries.size()))
        .U32(static_cast<DWORD>(central.Data().size())).U32(centralOffset).U16(0);
    if (!Write(central.Data()) || !Write(end.Data())) return kZipWriteFailed;
    return kZipOk;
  }

 private:
  struct Entry {
    WORD flags = 0;
    WORD method = 0;
    WORD dosTime = 0;
    WORD dosDate = 0;
    DWORD crc = 0;
    DWORD compressedSize = 0;
    DWORD uncompressedSize = 0;
    DWORD externalAttributes = 0;
    DWORD offset = 0;
    uint32_t modified = 0;
    std::string name;
  };

  DWORD Fail(DWORD code) {
    m_error = code;
    return code;
  }

  static std::string LocalHeader(const Entry& e, const std::string& extra) {
    return Bytes()
        .U32(0x04034B50).U16(kVersionNeeded).U16(e.flags).U16(e.method).U16(e.dosTime)
        .U16(e.dosDate).U32(e.crc).U32(e.compressedSize).U32(e.uncompressedSize)
        .U16(static_cast<WORD>(e.name.size())).U16(static_cast<WORD>(extra.size()))
        .Raw(e.name).Raw(extra)
        .Data();
  }

  bool Write(const std::string& bytes) { return Write(bytes.data(), static_cast<DWORD>(bytes.size())); }

  bool Write(const void* data, DWORD size) {
    if (m_memory) {
      if (m_memoryPos > m_memorySize || size > m_memorySize - m_memoryPos) return false;
      memcpy(m_memory + m_memoryPos, data, size);
      m_memoryPos += size;
    } else {
      const char* p = static_cast<const char*>(data);
      DWORD left = size;
      while (left > 0) {
        DWORD done = 0;
        if (!WriteFile(m_file, p, left, &done, nullptr) || done == 0) return false;
        p += done;
        left -= done;
      }
    }
    if (size > 0xFFFFFFFFu - m_written) return false;  // beyond what the format can address
    m_written += size;
    return true;
  }

  bool PositionAt(DWORD pos) {
    if (m_memory) {
      m_memoryPos = pos;
      return pos <= m_memorySize;
    }
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(m_start) + pos;
    return SetFilePointerEx(m_file, to, nullptr, FILE_BEGIN) != FALSE;
  }

  DWORD CopyData(ZipSource& source, Entry& e) {
    BYTE buffer[kBufferSize];
    DWORD total = 0;
    for (DWORD n; (n = source.Read(buffer, kBufferSize)) > 0;) {
      e.crc = crc32(e.crc, buffer, n);
      if (!Write(buffer, n)) return kZipShortCopy;
      total += n;
    }
    e.compressedSize = e.uncompressedSize = total;
    return kZipOk;
  }

  DWORD DeflateData(ZipSource& source, Entry& e) {
    int rc = m_deflateReady ? deflateReset(&m_deflate)
                            : deflateInit2(&m_deflate, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8,
                                           Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) return kZipDeflateFailed;
    m_deflateReady = true;
    BYTE in[kBufferSize], out[kBufferSize];
    DWORD total = 0, packed = 0;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
      DWORD n = source.Read(in, kBufferSize);
      e.crc = crc32(e.crc, in, n);
      total += n;
      flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
      m_deflate.next_in = in;
      m_deflate.avail_in = n;
      do {
        m_deflate.next_out = out;
        m_deflate.avail_out = kBufferSize;
        rc = deflate(&m_deflate, flush);
        if (rc == Z_STREAM_ERROR) return kZipDeflateFailed;
        DWORD have = kBufferSize - m_deflate.avail_out;
        if (have > 0 && !Write(out, have)) return kZipWriteFailed;
        packed += have;
      } while (m_deflate.avail_out == 0);
    }
    if (rc != Z_STREAM_END) return kZipDeflateFailed;
    e.uncompressedSize = total;
    e.compressedSize = packed;
    return kZipOk;
  }

  HANDLE m_file = INVALID_HANDLE_VALUE;
  bool m_ownsFile = false;
  HANDLE m_mapping = nullptr;
  void* m_mappedView = nullptr;
  BYTE* m_memory = nullptr;
  DWORD m_memorySize = 0;
  DWORD m_memoryPos = 0;
  DWORD m_start = 0;
  DWORD m_written = 0;
  bool m_canPosition = false;
  DWORD m_error = kZipOk;
  bool m_closed = false;
  std::vector<Entry> m_entries;
  z_stream m_deflate = {};
  bool m_deflateReady = false;
};

namespace {

template <typename OpenFn>
ZipHandle* Create(const char* password, OpenFn open) {
  if (password && *password) {  // entries are never encrypted
    Remember(kZipBadArgument);
    return nullptr;
  }
  ZipWriter* writer = new ZipWriter();
  DWORD result = open(*writer);
  if (Remember(result) != kZipOk) {
    delete writer;
    return nullptr;
  }
  return new ZipHandle{kZipWriterKind, writer};
}

template <typename OpenFn>
DWORD AddFrom(ZipHandle* zip, const wchar_t* name, OpenFn open) {
  if (!zip || !name || !*name) return Remember(kZipBadArgument);
  if (zip->kind != kZipWriterKind) return Remember(kZipReaderHandle);
  ZipSource source;
  DWORD result = open(source);
  if (result != kZipOk) return Remember(result);
  return Remember(zip->writer->Add(name, source));
}

}  // namespace

ZipHandle* ZipCreateFile(const wchar_t* archivePath, const char* password) {
  if (!archivePath || !*archivePath) {
    Remember(kZipBadArgument);
    return nullptr;
  }
  return Create(password, [&](ZipWriter& w) { return w.OpenFile(archivePath); });
}

ZipHandle* ZipCreateHandle(HANDLE file, const char* password) {
  return Create(password, [&](ZipWriter& w) { return w.OpenHandle(file); });
}

ZipHandle* ZipCreateMemory(void* buffer, DWORD size, const char* password) {
  return Create(password, [&](ZipWriter& w) { return w.OpenMemory(buffer, size); });
}

DWORD ZipAddFile(ZipHandle* zip, const wchar_t* name, const wchar_t* sourcePath) {
  if (!sourcePath) return Remember(kZipBadArgument);
  return AddFrom(zip, name, [&](ZipSource& s) { return s.OpenFile(sourcePath); });
}

DWORD ZipAddHandle(ZipHandle* zip, const wchar_t* name, HANDLE source, DWORD length) {
  return AddFrom(zip, name, [&](ZipSource& s) { return s.OpenHandle(source, length); });
}

DWORD ZipAddMemory(ZipHandle* zip, const wchar_t* name, const void* data, DWORD length) {
  return AddFrom(zip, name, [&](ZipSource& s) { return s.OpenMemory(data, length); });
}

DWORD ZipAddFolder(ZipHandle* zip, const wchar_t* name) {
  return AddFrom(zip, name, [&](ZipSource& s) { return s.OpenFolder(); });
}

DWORD CloseZip(ZipHandle* zip) {
  if (!zip) return Remember(kZipBadArgument);
  if (zip->kind != kZipWriterKind) return Remember(kZipReaderHandle);
  DWORD result = zip->writer->Close();
  delete zip->writer;
  delete zip;
  return Remember(result);
}

DWORD ZipLastResult() { return g_lastResult; }

DWORD CZipHandleHolder::Close() {
  if (!m_zip) return kZipOk;
  DWORD result = CloseZip(m_zip);
  m_zip = nullptr;
  return result;
}

bool ZipFileList(const std::vector<std::wstring>& files, const std::wstring& archivePath) {
  if (files.empty()) return false;
  auto discard = [&]() {
    if (IsFileExist(archivePath)) DeleteFileW(archivePath.c_str());
    return false;
  };
  CZipHandleHolder zip(ZipCreateFile(archivePath.c_str(), nullptr));
  if (!zip.Get()) return discard();
  for (const std::wstring& path : files) {
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (ZipAddFile(zip.Get(), name.c_str(), path.c_str()) != kZipOk) {
      zip.Close();
      return discard();
    }
  }
  // An archive without its central directory is unreadable: not a success.
  if (zip.Close() != kZipOk) return discard();
  return true;
}
