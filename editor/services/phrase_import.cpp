#include "editor/services/phrase_import.h"

#include <windows.h>

#include <cwchar>
#include <memory>

#include "editor/store/command_folder.h"
#include "editor/store/command_names.h"
#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/text/convert.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_node.h"

namespace {

constexpr std::uint32_t kFailed = static_cast<std::uint32_t>(-1);
constexpr wchar_t kPhraseExt[] = L".quillora";
constexpr char kRtfSignature[] = "{\\rtf1";
constexpr size_t kRtfSignatureBytes = sizeof(kRtfSignature) - 1;

bool HasExtension(const std::wstring& path, const wchar_t* ext) {
  return EqualNoCase(GetFileExt(path), ext);
}

std::wstring Utf16Text(const char* data, size_t size) {
  size_t chars = size / sizeof(wchar_t);
  std::wstring text(chars, L'\0');
  if (chars) memcpy(&text[0], data, chars * sizeof(wchar_t));
  text.resize(wcsnlen(text.c_str(), chars));
  return text;
}

std::uint32_t CopyPhraseFile(CCommandFolder& store, const std::wstring& path) {
  std::wstring name = GetFileNameFromPath(path);
  size_t dot = name.rfind(L'.');
  std::wstring base = name.substr(0, dot);
  std::wstring ext = name.substr(dot);
  std::wstring target = store.GetRootPath() + L"\\" + name;
  for (int n = 2; GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) {
    if (n > 100000) return kFailed;
    target = store.GetRootPath() + L"\\" + base + IntToStr(n) + ext;
  }
  if (!CopyFileW(path.c_str(), target.c_str(), TRUE)) {
    LogError(L"Import CopyFile [" + path + L"] error=" + IntToStr(static_cast<int>(GetLastError())));
    return kFailed;
  }
  std::uint32_t id = store.LoadCommandFile(target);
  // A copy that is no phrase would lie in the phrases folder as a stray file.
  if (id == kFailed) DeleteFileW(target.c_str());
  return id;
}

// The whole file, or null when it cannot be opened, is empty, too big, or
// cannot be read whole. A zero byte pair follows the data.
std::unique_ptr<char[]> ReadImportFile(const std::wstring& path, size_t* size) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(file.Get(), &length) || length.QuadPart <= 0 ||
      static_cast<std::uint64_t>(length.QuadPart) > kMaxImportBytes)
    return nullptr;
  DWORD bytes = static_cast<DWORD>(length.QuadPart);
  std::unique_ptr<char[]> buffer(new char[bytes + 4]());
  DWORD read = 0;
  if (!ReadFile(file.Get(), buffer.get(), bytes, &read, nullptr) || read != bytes) return nullptr;
  *size = bytes;
  return buffer;
}

}  // namespace

std::wstring ImportedText(const char* data, size_t size, bool rtf) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
  if (rtf) {
    if (size >= kRtfSignatureBytes + 1 && memcmp(data, kRtfSignature, kRtfSignatureBytes) == 0) {
      // 8-bit RTF is held one byte to a character.
      size_t length = strnlen(data, size);
      return std::wstring(bytes, bytes + length);
    }
    return Utf16Text(data, size);
  }
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    // The mark is no part of the text; files of older exports carry it as
    // the 32-bit FF FE 00 00.
    size_t skip = size >= 4 && bytes[2] == 0 && bytes[3] == 0 ? 4 : 2;
    return Utf16Text(data + skip, size - skip);
  }
  std::string narrow(data, strnlen(data, size));
  return AnsiToWide(narrow.c_str());
}

std::uint32_t ImportPhraseFile(CCommandFolder& store, const std::wstring& path) {
  // Without the phrase folder a copy would land beside the drive's root.
  if (path.empty() || !store.IsRootPresent()) return kFailed;
  if (HasExtension(path, kPhraseExt)) return CopyPhraseFile(store, path);
  size_t size = 0;
  std::unique_ptr<char[]> data = ReadImportFile(path, &size);
  if (!data) return kFailed;
  bool rtf = HasExtension(path, L".rtf");
  std::wstring title = MakeSafeFileName(GetFileNameFromPath(path), false);
  std::uint32_t id = store.AddCommand(title, ImportedText(data.get(), size, rtf), rtf ? kDataTypeRtf : kDataTypeText, kRootId);
  if (id != kFailed) store.SaveCommand(id);
  return id;
}
