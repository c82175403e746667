#include "history/store/history_descriptor.h"

#include <cwctype>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"
#include "history/store/history_files.h"
#include "history/store/history_names.h"

namespace hn = history_names;

namespace {

constexpr size_t kProfileValueChars = 259;  // what a 260-character buffer keeps
constexpr size_t kMaxDescriptorBytes = 1 << 20;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Trimmed(const std::wstring& text, size_t begin, size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Whole text of decimal digits, fitting 64 bits.
bool ParseUnsigned(const std::wstring& text, ULONGLONG* value) {
  if (text.empty() || text.size() > 20) return false;
  ULONGLONG v = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    ULONGLONG next = v * 10 + (c - L'0');
    if (next / 10 != v) return false;
    v = next;
  }
  *value = v;
  return true;
}

// A key that is there must hold a number.
bool ReadNumberKey(const std::wstring& text, const wchar_t* key, bool* present, ULONGLONG* value,
                   std::wstring* problem) {
  std::wstring raw;
  *present = FindProfileValue(text, hn::kSection, key, &raw);
  if (!*present) return true;
  if (ParseUnsigned(raw, value)) return true;
  *problem = std::wstring(L"the key ") + key + L" is empty or not a number";
  return false;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

std::wstring DecodeProfileText(const char* bytes, size_t size) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE)
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes + 2), (size - 2) / sizeof(wchar_t));
  UINT codePage = CP_ACP;
  if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    codePage = CP_UTF8;
    bytes += 3;
    size -= 3;
  }
  if (size == 0) return std::wstring();
  int chars = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
  std::wstring text(chars > 0 ? chars : 0, L'\0');
  if (chars > 0) MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), &text[0], chars);
  return text;
}

bool FindProfileValue(const std::wstring& text, const wchar_t* section, const wchar_t* key,
                      std::wstring* value) {
  bool inSection = false, sectionSeen = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = Trimmed(text, pos, end);
    pos = end + 1;
    if (!line.empty() && line[0] == L'[') {
      size_t close = line.find(L']');
      if (close == std::wstring::npos) continue;
      // Only the first section of the name counts.
      if (inSection) return false;
      inSection = !sectionSeen && EqualNoCase(Trimmed(line, 1, close), section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection) continue;
    size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    if (!EqualNoCase(Trimmed(line, 0, equals), key)) continue;
    std::wstring v = Trimmed(line, equals + 1, line.size());
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    if (v.size() > kProfileValueChars) v.resize(kProfileValueChars);
    *value = v;
    return true;
  }
  return false;
}

bool ParseHistoryDescriptor(const std::wstring& text, HistoryDescriptor* out, std::wstring* problem) {
  HistoryDescriptor d;
  bool present = false;
  ULONGLONG number = 0;
  if (!ReadNumberKey(text, hn::kKeyDataType, &present, &number, problem)) return false;
  if (present) d.dataType = number < 100 ? static_cast<int>(number) : -1;
  if (!ReadNumberKey(text, hn::kKeyProtected, &present, &number, problem)) return false;
  d.isProtected = present && number != 0;
  if (!ReadNumberKey(text, hn::kKeyCaptureTime, &d.hasCaptureTime, &d.captureTime, problem))
    return false;
  for (int index = 0;; ++index) {
    std::wstring key = hn::kKeyFile + std::to_wstring(index), name;
    if (!FindProfileValue(text, hn::kSection, key.c_str(), &name) || name.empty()) break;
    d.files.push_back(name);
  }
  if (d.files.empty()) {
    *problem = L"no File0";
    return false;
  }
  *out = std::move(d);
  return true;
}

bool ReadHistoryDescriptor(const std::wstring& path, HistoryDescriptor* out, std::wstring* problem) {
  size_t size = 0;
  std::unique_ptr<char[]> bytes = ReadFileToBuffer(path, &size);
  if (!bytes) {
    *problem = L"cannot be read, code=" + std::to_wstring(GetLastError());
    return false;
  }
  if (size > kMaxDescriptorBytes) {
    *problem = L"too large";
    return false;
  }
  return ParseHistoryDescriptor(DecodeProfileText(bytes.get(), size), out, problem);
}

bool ReadHistoryDescriptor(const std::wstring& path, std::vector<std::wstring>* files,
                           bool* isProtected) {
  HistoryDescriptor d;
  std::wstring problem;
  if (!ReadHistoryDescriptor(path, &d, &problem)) return false;
  *files = d.files;
  *isProtected = d.isProtected;
  return true;
}

bool WriteHistoryDescriptor(const std::wstring& path, const HistoryDescriptor& d) {
  std::wstring text = L"\xFEFF[";
  text += hn::kSection;
  text += L"]\r\n";
  auto line = [&](const std::wstring& key, const std::wstring& value) {
    text += key + L"=" + value + L"\r\n";
  };
  line(hn::kKeyDataType, std::to_wstring(d.dataType));
  line(hn::kKeyProtected, d.isProtected ? L"1" : L"0");
  for (size_t i = 0; i < d.files.size(); ++i) line(hn::kKeyFile + std::to_wstring(i), d.files[i]);
  if (d.hasCaptureTime) line(hn::kKeyCaptureTime, std::to_wstring(d.captureTime));

  // The old descriptor stays until the new one is complete on disk.
  std::wstring temp = MakeTempFileName(GetFolderFromPath(path, true), L"tmp");
  if (temp.empty()) return false;
  {
    UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool ok = WriteAll(file.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t))) &&
              FlushFileBuffers(file.Get());
    if (!CloseHandle(file.Release()) || !ok) {
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  SetFileReadOnly(path, false);
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    SetFileReadOnly(path, d.isProtected);
    return false;
  }
  if (d.hasCaptureTime) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    FILETIME created;
    created.dwLowDateTime = static_cast<DWORD>(d.captureTime);
    created.dwHighDateTime = static_cast<DWORD>(d.captureTime >> 32);
    if (file) SetFileTime(file.Get(), &created, nullptr, nullptr);
  }
  return SetFileReadOnly(path, d.isProtected);
}

int ListHistoryDescriptors(const std::wstring& folder, std::vector<std::wstring>* names) {
  std::wstring prefix = folder;
  if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle find(FindFirstFileW((prefix + L"*" + hn::kDescriptorExtension).c_str(), &found));
  if (!find) return 0;
  int count = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    // The pattern also matches longer extensions through short names.
    if (!EqualNoCase(GetFileExt(found.cFileName), hn::kDescriptorExtension)) continue;
    names->push_back(found.cFileName);
    ++count;
  } while (FindNextFileW(find.Get(), &found));
  return count;
}
