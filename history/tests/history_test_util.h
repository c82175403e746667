// Items and history folders for the history tests.
#pragma once
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "history/history_files.h"
#include "history/history_item.h"
#include "tests/support/test_support.h"

namespace histtest {

// A temporary folder that the history uses while the object lives.
class HistoryFolder {
 public:
  HistoryFolder() { SetClipboardHistoryFolderForTest(m_dir.Path()); }
  ~HistoryFolder() { SetClipboardHistoryFolderForTest(L""); }
  const std::wstring& Path() const { return m_dir.Path(); }
  std::wstring File(const std::wstring& name) const { return m_dir.File(name); }

 private:
  qlrtest::TempDir m_dir;
};

inline std::unique_ptr<CCHItem> MakeText(const std::wstring& text) {
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  item->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * sizeof(wchar_t)));
  return item;
}

inline std::unique_ptr<CCHItem> MakeBytes(int kind, const std::string& bytes, bool terminator) {
  auto item = std::make_unique<CCHItem>(kind);
  item->SetData(bytes.c_str(), static_cast<std::uint32_t>(bytes.size() + (terminator ? 1 : 0)));
  return item;
}

// A 32-bit DIB section whose pixels are colour, with pixel (0, 0) corner.
inline HBITMAP MakeBitmap(int width, int height, COLORREF colour, COLORREF corner) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* pixels = static_cast<DWORD*>(bits);
  DWORD rgb = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int i = 0; i < width * height; ++i) pixels[i] = rgb;
  pixels[0] = (GetRValue(corner) << 16) | (GetGValue(corner) << 8) | GetBValue(corner);
  GdiFlush();
  return bitmap;
}

inline std::unique_ptr<CCHItem> MakeBitmapItem(int width, int height, COLORREF colour,
                                               COLORREF corner) {
  auto item = std::make_unique<CCHItem>(kHistoryKindBitmap);
  item->SetBitmap(MakeBitmap(width, height, colour, corner), true);
  return item;
}

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool IsReadOnly(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace histtest
