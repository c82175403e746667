// Looks at the clipboard from another process.
//   clipboard_probe bitmap <width> <height> <corner RRGGBB> <rest RRGGBB>
// Exit codes: 0 the clipboard holds exactly such a bitmap and no text;
// 1 bad arguments; 2 no bitmap; 3 other size; 4 other pixels; 5 text too;
// 6 the clipboard could not be opened.
#include <windows.h>

#include <cwchar>

namespace {

COLORREF ParseColour(const wchar_t* text) {
  unsigned long rgb = wcstoul(text, nullptr, 16);
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool OpenWithRetry() {
  for (int i = 0; i < 200; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6 || wcscmp(argv[1], L"bitmap") != 0) return 1;
  int width = _wtoi(argv[2]), height = _wtoi(argv[3]);
  COLORREF corner = ParseColour(argv[4]), rest = ParseColour(argv[5]);
  if (!OpenWithRetry()) return 6;
  int result = 0;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP bm = {};
  if (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT)) {
    result = 5;
  } else if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) {
    result = 2;
  } else if (bm.bmWidth != width || bm.bmHeight != height) {
    result = 3;
  } else {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height && result == 0; ++y) {
      for (int x = 0; x < width; ++x) {
        COLORREF want = (x == 0 && y == 0) ? corner : rest;
        if (GetPixel(dc, x, y) != want) {
          result = 4;
          break;
        }
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  CloseClipboard();
  return result;
}
