// Items and history folders for the history tests.
#pragma once
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "foundation/logging/log.h"
#include "history/pane/float_pane.h"
#include "history/store/history_files.h"
#include "history/store/history_item.h"
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

// A log file for the whole test program, opened at its first use.
inline const std::wstring& TestLogPath() {
  static qlrtest::TempDir* dir = new qlrtest::TempDir();  // lives for the run
  static const std::wstring path = [] {
    std::wstring p = dir->File(L"log.txt");
    InitLog(p.c_str());
    return p;
  }();
  return path;
}

// How often text stands in the log once every queued line is written.
inline int LogCount(const std::wstring& text) {
  WaitLogWritten(10000);
  std::wstring log = qlrtest::ReadUtf16File(TestLogPath());
  int count = 0;
  for (size_t at = log.find(text); at != std::wstring::npos; at = log.find(text, at + 1)) ++count;
  return count;
}

// Lets messages and timers run for a while (to see that nothing comes).
inline void Pump(DWORD ms) { qlrtest::PumpUntil([] { return false; }, ms); }

// The object of a test window, handed over by CreateWindowExW's last
// argument and kept in the window data.
template <typename T>
T* TestWindowObject(HWND hwnd, UINT msg, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool IsReadOnly(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A pane over handler's items, come up and slid to its caption, then fixed
// and expanded.
inline bool OpenFixedPane(CQLRFloatPane& pane, CQLRWndClipboardHandler* handler) {
  if (!pane.Create(handler, false, false)) return false;
  qlrtest::PumpUntil([&] { return pane.ShowMode() == 1 && !pane.IsSliding(); }, 10000);
  pane.SetFixed(true);
  pane.SetShowMode(0, false);
  return true;
}

}  // namespace histtest
