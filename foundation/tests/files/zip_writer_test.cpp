#include "foundation/files/zip_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/tests/pipe_capture.h"
#include "foundation/tests/zip_test_reader.h"
#include "tests/support/test_support.h"

namespace {

using ziptest::ReadArchive;
using ziptest::ReadEntry;

DWORD Crc(const std::string& data) {
  return crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
}

std::string Utf8(const std::wstring& text) { return qlrtest::ToUtf8(text); }

std::string SampleData(size_t size) {
  std::string data;
  unsigned seed = 12345;
  while (data.size() < size) {
    seed = seed * 1103515245 + 12345;
    // Half repetitive text, half noise: both deflate paths get exercised.
    data += (seed >> 16) % 2 ? std::string("phrase text ") : std::string(1, char(seed >> 8));
  }
  data.resize(size);
  return data;
}

class ZipWriterTest : public ::testing::Test {
 protected:
  qlrtest::TempDir dir;
  std::wstring archive = dir.File(L"out.zip");

  std::wstring Source(const std::wstring& name, const std::string& bytes) {
    std::wstring path = dir.File(name);
    EXPECT_TRUE(qlrtest::WriteBytes(path, bytes));
    return path;
  }
  std::vector<ReadEntry> Read(const std::wstring& path) {
    std::vector<ReadEntry> entries;
    EXPECT_TRUE(ReadArchive(qlrtest::ReadBytes(path), entries));
    return entries;
  }
};

TEST_F(ZipWriterTest, PackedExtensionsAreStoredAndEverythingElseDeflated) {
  struct {
    const wchar_t* name;
    WORD method;
  } cases[] = {{L"a.gz", 0}, {L"b.TGZ", 0}, {L"c.zip", 0}, {L"d.Z", 0}, {L"e.lzh", 0},
               {L"f.txt", 8}, {L"noext", 8}, {L"g.gzip", 8}, {L"big.bin", 8}, {L"empty.txt", 8}};
  ZipHandle* zip = ZipCreateFile(archive.c_str(), nullptr);
  ASSERT_NE(zip, nullptr);
  std::vector<std::string> contents;
  for (const auto& c : cases) {
    std::string name = Utf8(c.name);
    std::string data = name == "big.bin" ? SampleData(100000)
                       : name == "empty.txt" ? std::string()
                                              : "contents of " + name;
    contents.push_back(data);
    EXPECT_EQ(ZipAddFile(zip, c.name, Source(c.name, data).c_str()), kZipOk) << name;
  }
  ASSERT_EQ(CloseZip(zip), kZipOk);

  std::vector<ReadEntry> entries = Read(archive);
  ASSERT_EQ(entries.size(), std::size(cases));
  for (size_t i = 0; i < entries.size(); ++i) {
    const ReadEntry& e = entries[i];
    EXPECT_EQ(e.name, Utf8(cases[i].name));
    EXPECT_EQ(e.method, cases[i].method) << e.name;
    EXPECT_EQ(e.data, contents[i]) << e.name;
    EXPECT_EQ(e.size, contents[i].size()) << e.name;
    EXPECT_EQ(e.crc, Crc(contents[i])) << e.name;
  }
  EXPECT_LT(entries[8].packedSize, entries[8].size);  // the sample compresses
}

TEST_F(ZipWriterTest, ArchiveOnDiskHasRealSizesInItsLocalHeadersAndNoDescriptors) {
  ASSERT_TRUE(ZipFileList({Source(L"one.txt", "first file"), Source(L"two.txt", SampleData(40000))},
                          archive));
  for (const ReadEntry& e : Read(archive)) {
    EXPECT_EQ(e.localFlags & 8, 0) << e.name;
    EXPECT_EQ(e.centralFlags & 8, 0) << e.name;
    EXPECT_FALSE(e.hasDescriptor) << e.name;
    EXPECT_EQ(e.localCrc, e.crc) << e.name;
    EXPECT_EQ(e.localSize, e.size) << e.name;
  }
}

TEST_F(ZipWriterTest, OutputWithoutPositionGetsDataDescriptors) {
  PipeCapture pipe;
  ZipHandle* zip = ZipCreateHandle(pipe.WriteEnd(), nullptr);
  ASSERT_NE(zip, nullptr);
  std::string memo = SampleData(30000);
  EXPECT_EQ(ZipAddMemory(zip, L"memo.txt", memo.data(), static_cast<DWORD>(memo.size())), kZipOk);
  EXPECT_EQ(ZipAddFile(zip, L"sub\\stored.gz", Source(L"s.gz", "stored bytes").c_str()), kZipOk);
  EXPECT_EQ(CloseZip(zip), kZipOk);
  // The writer leaves a handle it did not open to its owner.
  const std::string& piped = pipe.Finish();

  std::vector<ReadEntry> entries;
  ASSERT_TRUE(ReadArchive(piped, entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].data, memo);
  EXPECT_EQ(entries[1].name, "sub/stored.gz");
  EXPECT_EQ(entries[1].data, "stored bytes");
  for (const ReadEntry& e : entries) {
    EXPECT_EQ(e.localFlags & 8, 8) << e.name;
    EXPECT_EQ(e.centralFlags & 8, 8) << e.name;
    EXPECT_TRUE(e.hasDescriptor) << e.name;
    EXPECT_EQ(e.crc, Crc(e.data)) << e.name;
  }
}

TEST_F(ZipWriterTest, ArchiveAppendedToAFileUsesAbsoluteOffsets) {
  std::string prefix(1000, 'P');
  HANDLE file = CreateFileW(archive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD n;
  ASSERT_TRUE(WriteFile(file, prefix.data(), 1000, &n, nullptr));
  ZipHandle* zip = ZipCreateHandle(file, nullptr);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipAddMemory(zip, L"x.txt", "xyz", 3), kZipOk);
  EXPECT_EQ(ZipAddFolder(zip, L"folder"), kZipOk);
  EXPECT_EQ(CloseZip(zip), kZipOk);
  CloseHandle(file);

  std::vector<ReadEntry> entries = Read(archive);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].offset, 1000u);
  EXPECT_EQ(entries[0].data, "xyz");
  EXPECT_FALSE(entries[0].hasDescriptor);
  EXPECT_EQ(entries[1].name, "folder/");
  EXPECT_EQ(entries[1].method, 0);
  EXPECT_EQ(entries[1].size, 0u);
  EXPECT_EQ(entries[1].attributes & 0xFFFF, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(entries[1].attributes >> 16 & 0xF000, 0x4000u);
}

TEST_F(ZipWriterTest, NamesUseSlashesAndUtf8ForEveryNameBeyondAscii) {
  // Latin letters the ANSI code page holds are UTF-8 too: other readers
  // take an unflagged name in the OEM code page.
  const std::wstring names[] = {L"dir\\sub\\plain.txt", L"\u0424\u0440\u0430\u0437\u0430.txt",
                                L"caf\u00e9 na\u00efve.txt", L"Caf\u00e9.quillora", L"\u00c4/\u20ac.txt"};
  ZipHandle* zip = ZipCreateFile(archive.c_str(), nullptr);
  ASSERT_NE(zip, nullptr);
  for (const std::wstring& name : names) EXPECT_EQ(ZipAddMemory(zip, name.c_str(), "x", 1), kZipOk);
  ASSERT_EQ(CloseZip(zip), kZipOk);

  std::vector<ReadEntry> entries = Read(archive);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].name, "dir/sub/plain.txt");
  EXPECT_EQ(entries[0].centralFlags & 0x800, 0);
  EXPECT_EQ(entries[0].localFlags & 0x800, 0);
  for (size_t i = 1; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].centralFlags & 0x800, 0x800) << i;
    EXPECT_EQ(entries[i].localFlags & 0x800, 0x800) << i;
    EXPECT_EQ(entries[i].name, Utf8(names[i])) << i;
  }
}

TEST_F(ZipWriterTest, TimesAndAttributesComeFromTheSourceFile) {
  std::wstring path = Source(L"t.txt", "time");
  SYSTEMTIME local = {2025, 6, 0, 17, 13, 45, 31, 0};
  FILETIME lft, ft;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &lft));
  ASSERT_TRUE(LocalFileTimeToFileTime(&lft, &ft));
  {
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
  }
  // An image with the mark the executable probe looks for.
  std::string image(120, '\0');
  image[0] = '\xAD', image[1] = '\x54', image[36] = 48, image[48] = 'P', image[49] = 'E';
  std::wstring exe = Source(L"probe.bin", image);
  std::wstring readOnly = Source(L"ro.txt", "read only");
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));

  ZipHandle* zip = ZipCreateFile(archive.c_str(), nullptr);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipAddFile(zip, L"t.txt", path.c_str()), kZipOk);
  EXPECT_EQ(ZipAddFile(zip, L"probe.bin", exe.c_str()), kZipOk);
  EXPECT_EQ(ZipAddFile(zip, L"ro.txt", readOnly.c_str()), kZipOk);
  ASSERT_EQ(CloseZip(zip), kZipOk);
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

  std::vector<ReadEntry> entries = Read(archive);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].dosTime, 13 << 11 | 45 << 5 | 15);
  EXPECT_EQ(entries[0].dosDate, (2025 - 1980) << 9 | 6 << 5 | 17);
  EXPECT_EQ(entries[0].attributes >> 16, 0x8000u | 0x0100 | 0x0080);
  EXPECT_EQ(entries[1].attributes >> 16, 0x8000u | 0x0100 | 0x0080 | 0x0040);
  EXPECT_EQ(entries[2].attributes >> 16, 0x8000u | 0x0100);
  EXPECT_EQ(entries[2].attributes & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

TEST_F(ZipWriterTest, BadArgumentsAndMissingSourcesAreReported) {
  EXPECT_EQ(CloseZip(nullptr), kZipBadArgument);
  EXPECT_EQ(ZipLastResult(), kZipBadArgument);
  ZipWriter* none = nullptr;
  ZipHandle reader = {kZipReaderKind, none};
  EXPECT_EQ(CloseZip(&reader), kZipReaderHandle);
  EXPECT_EQ(ZipAddMemory(&reader, L"a", "a", 1), kZipReaderHandle);
  EXPECT_EQ(ZipCreateFile(archive.c_str(), "secret"), nullptr);
  EXPECT_EQ(ZipLastResult(), kZipBadArgument);
  EXPECT_EQ(ZipCreateMemory(nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(ZipLastResult(), kZipEmptyMemory);
  EXPECT_EQ(ZipCreateFile(dir.File(L"no\\such\\folder.zip").c_str(), nullptr), nullptr);
  EXPECT_EQ(ZipLastResult(), kZipNoFile);

  CZipHandleHolder zip(ZipCreateFile(archive.c_str(), nullptr));
  ASSERT_NE(zip.Get(), nullptr);
  EXPECT_EQ(ZipAddMemory(zip.Get(), L"", "a", 1), kZipBadArgument);
  EXPECT_EQ(ZipAddFile(zip.Get(), L"gone.txt", dir.File(L"gone.txt").c_str()), kZipNoFile);
  // A source that could not be opened leaves the archive usable.
  EXPECT_EQ(ZipAddMemory(zip.Get(), L"after.txt", "ok", 2), kZipOk);
  EXPECT_EQ(ZipLastResult(), kZipOk);
  EXPECT_EQ(zip.Close(), kZipOk);
  std::vector<ReadEntry> entries = Read(archive);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].data, "ok");
}

TEST_F(ZipWriterTest, MemoryArchiveThatRunsOutOfRoomRefusesFurtherEntries) {
  std::vector<char> buffer(200);
  ZipHandle* zip = ZipCreateMemory(buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipAddMemory(zip, L"small.txt", "small", 5), kZipOk);
  std::string noise = SampleData(5000);
  EXPECT_NE(ZipAddMemory(zip, L"noise.bin", noise.data(), 5000), kZipOk);
  EXPECT_EQ(ZipAddMemory(zip, L"more.txt", "more", 4), kZipEarlierFailure);
  CloseZip(zip);

  ZipHandle* mapped = ZipCreateMemory(nullptr, 65536, nullptr);
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(ZipAddMemory(mapped, L"noise.bin", noise.data(), 5000), kZipOk);
  EXPECT_EQ(CloseZip(mapped), kZipOk);
}

TEST_F(ZipWriterTest, FileListLeavesNoArchiveBehindOnFailure) {
  EXPECT_FALSE(ZipFileList({}, archive));
  EXPECT_EQ(GetFileAttributesW(archive.c_str()), INVALID_FILE_ATTRIBUTES);

  std::wstring first = Source(L"first.txt", "1");
  EXPECT_FALSE(ZipFileList({first, dir.File(L"missing.txt"), first}, archive));
  EXPECT_EQ(GetFileAttributesW(archive.c_str()), INVALID_FILE_ATTRIBUTES);

  qlrtest::TempDir other;
  std::wstring nested = other.File(L"nested.log");
  ASSERT_TRUE(qlrtest::WriteBytes(nested, "log line"));
  ASSERT_TRUE(ZipFileList({first, nested}, archive));
  std::vector<ReadEntry> entries = Read(archive);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "first.txt");
  EXPECT_EQ(entries[1].name, "nested.log");
  EXPECT_EQ(entries[1].data, "log line");
}

}  // namespace
