// Prints how fast the zip writer packs text-like and random data into an
// archive on disk, in MB/s of input.
//   bench_zip_writer
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/files/zip_writer.h"

namespace {

std::string Sample(size_t size, bool text) {
  std::string data;
  data.reserve(size);
  unsigned seed = 1;
  while (data.size() < size) {
    seed = seed * 1103515245 + 12345;
    if (text)
      data += "Phrase " + std::to_string(seed % 1000) + " of the backup\r\n";
    else
      data += static_cast<char>(seed >> 16);
  }
  data.resize(size);
  return data;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
  CloseHandle(h);
  return ok;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"qlr_bench_zip";
  CreateDirectoryW(folder.c_str(), nullptr);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (bool text : {true, false}) {
    for (size_t size : {size_t(64) << 10, size_t(4) << 20}) {
      std::wstring source = folder + L"\\source.bin";
      if (!WriteFileBytes(source, Sample(size, text))) return 1;
      std::wstring archive = folder + L"\\bench.zip";
      int rounds = size < (1 << 20) ? 50 : 5;
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      for (int i = 0; i < rounds; ++i)
        if (!ZipFileList({source}, archive)) return 1;
      QueryPerformanceCounter(&end);
      double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
      WIN32_FILE_ATTRIBUTE_DATA info;
      GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &info);
      std::printf("%-6s %6zu KB: %7.1f MB/s, archive %5.1f%% of input\n", text ? "text" : "random",
                  size >> 10, double(size) * rounds / seconds / (1024.0 * 1024.0),
                  100.0 * info.nFileSizeLow / double(size));
      DeleteFileW(archive.c_str());
      DeleteFileW(source.c_str());
    }
  }
  RemoveDirectoryW(folder.c_str());
  return 0;
}
