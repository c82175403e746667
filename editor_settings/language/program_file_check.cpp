#include "editor_settings/language/program_file_check.h"

#include <windows.h>

#include <vector>

#include "foundation/system/handles.h"

namespace {

// Enough for the headers and section tables of any program of the suite.
constexpr DWORD kHeaderBytes = 64 * 1024;

template <typename T>
const T* At(const std::vector<BYTE>& bytes, size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return nullptr;
  return reinterpret_cast<const T*>(bytes.data() + offset);
}

}  // namespace

bool IsCompleteProgramFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
  std::vector<BYTE> bytes(static_cast<size_t>(size.QuadPart < kHeaderBytes ? size.QuadPart : kHeaderBytes));
  DWORD read = 0;
  if (bytes.empty() || !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size())
    return false;

  const auto* dos = At<IMAGE_DOS_HEADER>(bytes, 0);
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return false;
  const size_t nt = static_cast<size_t>(dos->e_lfanew);
  const auto* signature = At<DWORD>(bytes, nt);
  const auto* header = At<IMAGE_FILE_HEADER>(bytes, nt + sizeof(DWORD));
  if (!signature || *signature != IMAGE_NT_SIGNATURE || !header) return false;
  const size_t sections = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) + header->SizeOfOptionalHeader;
  const ULONGLONG fileSize = static_cast<ULONGLONG>(size.QuadPart);
  for (WORD i = 0; i < header->NumberOfSections; ++i) {
    const auto* section = At<IMAGE_SECTION_HEADER>(bytes, sections + i * sizeof(IMAGE_SECTION_HEADER));
    if (!section) return false;
    if (section->SizeOfRawData &&
        static_cast<ULONGLONG>(section->PointerToRawData) + section->SizeOfRawData > fileSize)
      return false;
  }
  return header->NumberOfSections > 0;
}
