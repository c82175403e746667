// A small ZIP reader of its own for the tests, written apart from the
// archive writer: central directory, local headers, stored and deflated data.
#pragma once
#include <windows.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace ziptest {

// Just enough of a reader to check what the writer produced.
struct ReadEntry {
  WORD centralFlags = 0, localFlags = 0, method = 0, dosTime = 0, dosDate = 0;
  DWORD crc = 0, packedSize = 0, size = 0, attributes = 0, offset = 0;
  std::string name;
  std::string data;         // the entry's bytes, inflated when deflated
  bool hasDescriptor = false;
  DWORD localCrc = 0, localSize = 0;
};

inline DWORD U16(const std::string& b, size_t at) {
  return static_cast<BYTE>(b[at]) | static_cast<BYTE>(b[at + 1]) << 8;
}
inline DWORD U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

inline std::string Inflate(const std::string& packed, DWORD size) {
  std::string out(size, '\0');
  z_stream z = {};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return "<inflateInit failed>";
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(&out[0]);
  z.avail_out = size;
  int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  return rc == Z_STREAM_END ? out : "<inflate failed>";
}

// Reads the central directory through the end record; base is where the
// archive starts inside the bytes (offsets in it are absolute).
inline bool ReadArchive(const std::string& b, std::vector<ReadEntry>& entries) {
  entries.clear();
  if (b.size() < 22) return false;
  size_t endAt = b.size() - 22;
  if (U32(b, endAt) != 0x06054B50) return false;
  DWORD count = U16(b, endAt + 10);
  size_t at = U32(b, endAt + 16);
  for (DWORD i = 0; i < count; ++i) {
    if (at + 46 > b.size() || U32(b, at) != 0x02014B50) return false;
    ReadEntry e;
    e.centralFlags = static_cast<WORD>(U16(b, at + 8));
    e.method = static_cast<WORD>(U16(b, at + 10));
    e.dosTime = static_cast<WORD>(U16(b, at + 12));
    e.dosDate = static_cast<WORD>(U16(b, at + 14));
    e.crc = U32(b, at + 16);
    e.packedSize = U32(b, at + 20);
    e.size = U32(b, at + 24);
    DWORD nameLen = U16(b, at + 28), extraLen = U16(b, at + 30), commentLen = U16(b, at + 32);
    e.attributes = U32(b, at + 38);
    e.offset = U32(b, at + 42);
    e.name = b.substr(at + 46, nameLen);
    at += 46 + nameLen + extraLen + commentLen;

    size_t local = e.offset;
    if (local + 30 > b.size() || U32(b, local) != 0x04034B50) return false;
    e.localFlags = static_cast<WORD>(U16(b, local + 6));
    e.localCrc = U32(b, local + 14);
    e.localSize = U32(b, local + 22);
    if (b.substr(local + 30, U16(b, local + 26)) != e.name) return false;
    size_t dataAt = local + 30 + U16(b, local + 26) + U16(b, local + 28);
    std::string packed = b.substr(dataAt, e.packedSize);
    e.data = e.method == 8 ? Inflate(packed, e.size) : packed;
    size_t after = dataAt + e.packedSize;
    e.hasDescriptor = after + 16 <= b.size() && U32(b, after) == 0x08074B50 &&
                      U32(b, after + 4) == e.crc && U32(b, after + 8) == e.packedSize &&
                      U32(b, after + 12) == e.size;
    entries.push_back(e);
  }
  return true;
}

}  // namespace ziptest
