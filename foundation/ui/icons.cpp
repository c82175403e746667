#include "foundation/ui/icons.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/files/paths.h"
#include "foundation/system/handles.h"

HICON LoadIconSize(HINSTANCE module, UINT resourceId, int size) {
  return static_cast<HICON>(
      ::LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0));
}

HICON LoadSmallIcon(HINSTANCE module, UINT resourceId) { return LoadIconSize(module, resourceId, 16); }

HICON GetFileIconByPath(const wchar_t* path, bool noIcon) {
  SHFILEINFOW info = {};
  ::SHGetFileInfoW(path, 0, &info, sizeof(info), noIcon ? 0 : SHGFI_ICON);
  return info.hIcon;
}

HICON GetShellFileIcon(const wchar_t* pathOrName, bool large) {
  UniqueModule shell(::LoadLibraryW(L"shell32.dll"));
  SHFILEINFOW info = {};
  UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (large ? 0 : SHGFI_SMALLICON);
  ::SHGetFileInfoW(pathOrName, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags);
  return info.hIcon;
}

HICON GetTxtFileIcon() { return GetShellFileIcon(L".txt", false); }

namespace {

FARPROC g_stockIconOverride = nullptr;

HICON StockFolderIcon(bool open, bool large) {
  UniqueModule shell(::LoadLibraryW(L"shell32.dll"));
  if (!shell) return nullptr;
  typedef HRESULT(WINAPI * StockFn)(SHSTOCKICONID, UINT, SHSTOCKICONINFO*);
  FARPROC proc = g_stockIconOverride ? g_stockIconOverride
                                     : ::GetProcAddress(shell.Get(), "SHGetStockIconInfo");
  auto fn = reinterpret_cast<StockFn>(reinterpret_cast<void*>(proc));
  HICON icon = nullptr;
  if (fn) {
    SHSTOCKICONINFO info = {};
    info.cbSize = sizeof(info);
    if (fn(open ? SIID_FOLDEROPEN : SIID_FOLDER, SHGSI_ICON | (large ? 0 : SHGSI_SMALLICON),
           &info) == S_OK) {
      icon = info.hIcon;  // may still be null: the caller falls back then
    }
  }
  return icon;
}

}  // namespace

void SetStockIconFunction(FARPROC fn) { g_stockIconOverride = fn; }

HICON GetFolderIcon(bool open, bool large) {
  HICON icon = StockFolderIcon(open, large);
  if (icon) return icon;
  UniqueModule shell(::LoadLibraryW(L"shell32.dll"));
  SHFILEINFOW info = {};
  UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (open ? SHGFI_OPENICON : 0) |
               (large ? 0 : SHGFI_SMALLICON);
  std::wstring folder = GetAppFolder();
  ::SHGetFileInfoW(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags);
  return info.hIcon;
}

namespace {

// 32-bit top-down pixels of a bitmap, 0xAARRGGBB each.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<DWORD> bits;
};

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

bool ReadPixels(HBITMAP bitmap, Pixels* out) {
  BITMAP bm = {};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
    return false;
  }
  BITMAPINFO bi = TopDown32(bm.bmWidth, bm.bmHeight);
  out->width = bm.bmWidth;
  out->height = bm.bmHeight;
  out->bits.assign(static_cast<size_t>(bm.bmWidth) * bm.bmHeight, 0);
  HDC dc = ::GetDC(nullptr);
  int lines = ::GetDIBits(dc, bitmap, 0, bm.bmHeight, out->bits.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  return lines == bm.bmHeight;
}

// A 32-bit DIB section keeps the alpha channel whatever the screen depth.
HBITMAP MakeColorBitmap(const Pixels& p) {
  BITMAPINFO bi = TopDown32(p.width, p.height);
  void* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp && bits) memcpy(bits, p.bits.data(), p.bits.size() * sizeof(DWORD));
  return bmp;
}

HBITMAP MakeMaskBitmap(const Pixels& p) {
  HBITMAP mask = ::CreateBitmap(p.width, p.height, 1, 1, nullptr);
  if (!mask) return nullptr;
  BITMAPINFO bi = TopDown32(p.width, p.height);
  HDC dc = ::GetDC(nullptr);
  // Black and white pixels map onto the mask's two colours.
  ::SetDIBits(dc, mask, 0, p.height, p.bits.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  return mask;
}

struct IconParts {
  ICONINFO info = {};
  bool ok = false;
  explicit IconParts(HICON icon) { ok = icon && ::GetIconInfo(icon, &info); }
  ~IconParts() {
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
  }
};

HICON BuildIcon(HBITMAP color, HBITMAP mask) {
  ICONINFO ii = {};
  ii.fIcon = TRUE;
  ii.hbmColor = color;
  ii.hbmMask = mask;
  return ::CreateIconIndirect(&ii);
}

DWORD FromColorRef(COLORREF c, DWORD alpha) {
  return (alpha << 24) | (static_cast<DWORD>(GetRValue(c)) << 16) |
         (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

HICON CreateRecoloredIcon(HICON icon, const COLORREF palette[256]) {
  IconParts parts(icon);
  Pixels p;
  if (!parts.ok || !palette || !ReadPixels(parts.info.hbmColor, &p)) return nullptr;
  for (DWORD& px : p.bits) {
    DWORD alpha = px >> 24;
    DWORD rgb = px & 0xFFFFFF;
    if (alpha == 0 && rgb == 0) continue;
    int mean = static_cast<int>(((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF)) / 3;
    int index = 255 - mean;
    if (index == 0) index = 1;
    px = FromColorRef(palette[index], alpha);
  }
  HBITMAP color = MakeColorBitmap(p);
  if (!color) return nullptr;
  HICON result = BuildIcon(color, parts.info.hbmMask);
  ::DeleteObject(color);
  return result;
}

HICON CreateGrayIcon(HICON icon) {
  COLORREF palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = RGB(255 - i, 255 - i, 255 - i);
  return CreateRecoloredIcon(icon, palette);
}

namespace {

Pixels Rotate(const Pixels& src) {
  Pixels dst;
  dst.width = src.height;
  dst.height = src.width;
  dst.bits.assign(src.bits.size(), 0);
  for (int y = 0; y < src.height; ++y) {
    for (int x = 0; x < src.width; ++x) {
      int nx = y, ny = src.width - 1 - x;
      dst.bits[static_cast<size_t>(ny) * dst.width + nx] =
          src.bits[static_cast<size_t>(y) * src.width + x];
    }
  }
  return dst;
}

}  // namespace

HICON CreateRotatedIcon(HICON icon) {
  IconParts parts(icon);
  Pixels color, mask;
  if (!parts.ok || !ReadPixels(parts.info.hbmColor, &color) ||
      !ReadPixels(parts.info.hbmMask, &mask) || mask.height != color.height) {
    return nullptr;
  }
  HBITMAP newColor = MakeColorBitmap(Rotate(color));
  HBITMAP newMask = MakeMaskBitmap(Rotate(mask));
  HICON result = newColor && newMask ? BuildIcon(newColor, newMask) : nullptr;
  if (newColor) ::DeleteObject(newColor);
  if (newMask) ::DeleteObject(newMask);
  return result;
}
