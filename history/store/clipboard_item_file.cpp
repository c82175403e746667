#include "history/store/clipboard_item_file.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "foundation/system/handles.h"
#include "foundation/ui/bitmaps.h"
#include "history/store/history_item.h"

namespace {

// The data up to its first zero, never past the stored size.
size_t TextBytes(const CCHItem& item) {
  const void* data = item.Data();
  if (!data) return 0;
  const void* zero = std::memchr(data, 0, item.Size());
  return zero ? static_cast<const char*>(zero) - static_cast<const char*>(data) : item.Size();
}

size_t WideChars(const CCHItem& item) {
  const wchar_t* data = static_cast<const wchar_t*>(item.Data());
  if (!data) return 0;
  const size_t max = item.Size() / sizeof(wchar_t);
  size_t n = 0;
  while (n < max && data[n]) ++n;
  return n;
}

bool WriteAll(HANDLE file, const void* bytes, size_t size) {
  if (size == 0) return true;  // an empty item is an empty file
  DWORD written = 0;
  return WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool WriteItem(const CCHItem& item, const std::wstring& path) {
  if (item.kind == kHistoryKindBitmap) return SaveBitmapToFile(path, item.Bitmap());
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  switch (item.kind) {
    case kHistoryKindAnsi:
    case kHistoryKindRtf:
      return WriteAll(file.Get(), item.Data(), TextBytes(item));
    case kHistoryKindUnicode: {
      const wchar_t bom = 0xFEFF;
      return WriteAll(file.Get(), &bom, sizeof(bom)) &&
             WriteAll(file.Get(), item.Data(), WideChars(item) * sizeof(wchar_t));
    }
    case kHistoryKindBrindle:
    case kHistoryKindHtml:
      return WriteAll(file.Get(), item.Data(), item.Data() ? item.Size() : 0);
    default:
      return false;
  }
}

}  // namespace

bool SaveClipboardItemToFile(const CCHItem& item, const std::wstring& path) {
  const bool ok = WriteItem(item, path);
  if (item.IsProtected()) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
      SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
  }
  return ok;
}
