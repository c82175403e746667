#include "platform/mfc/controls/item_text.h"

#include <cwchar>
#include <vector>

namespace {
constexpr int kFirstSize = 256;
constexpr int kMaxSize = 1 << 20;
}  // namespace

CString AfxReadItemText(const std::function<void(wchar_t* buffer, int size)>& read) {
  std::vector<wchar_t> buffer;
  for (int size = kFirstSize;; size *= 2) {
    buffer.assign(static_cast<size_t>(size), L'\0');
    read(buffer.data(), size);
    buffer[static_cast<size_t>(size) - 1] = L'\0';  // whatever the control did
    int length = static_cast<int>(wcsnlen(buffer.data(), static_cast<size_t>(size)));
    if (length < size - 1 || size >= kMaxSize) return CString(buffer.data(), length);
  }
}

int AfxCopyToBuffer(const CString& text, LPWSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  int n = text.GetLength() < size - 1 ? text.GetLength() : size - 1;
  wmemcpy(buffer, text.GetString(), static_cast<size_t>(n));
  buffer[n] = L'\0';
  return n;
}
