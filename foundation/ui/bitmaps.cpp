#include "foundation/ui/bitmaps.h"

#include <cstring>
#include <vector>

#include "foundation/system/handles.h"

namespace {

WORD RoundedDepth(const BITMAP& bm) {
  int bits = bm.bmPlanes * bm.bmBitsPixel;
  for (int depth : {1, 4, 8, 16, 24}) {
    if (bits <= depth) return static_cast<WORD>(depth);
  }
  return 32;
}

// Bytes of one pixel row of a DIB: rows are padded to 32 bits.
DWORD RowStride(int depth, LONG width) { return ((depth * width + 31) & ~31) / 8; }

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

size_t ColourTableBytes(const BITMAPINFOHEADER& h) { return h.biClrUsed * sizeof(RGBQUAD); }

// GetDIBits fills the whole colour table but may report its size as 0
// ("as many as the depth allows"); the file header needs the real count.
bool GetDibBits(HDC dc, HBITMAP bitmap, BITMAPINFO* info, void* bits) {
  DWORD colours = info->bmiHeader.biClrUsed;
  if (GetDIBits(dc, bitmap, 0, info->bmiHeader.biHeight, bits, info, DIB_RGB_COLORS) == 0)
    return false;
  if (info->bmiHeader.biClrUsed == 0) info->bmiHeader.biClrUsed = colours;
  return true;
}

// The bitmap's pixels (and colour table) as a DIB of its own depth.
bool ReadDibBits(HBITMAP bitmap, std::vector<BYTE>& header, std::vector<BYTE>& bits) {
  UniqueLocalMemory infoMem(CreateBitmapInfo(bitmap));
  if (!infoMem) return false;
  auto* info = static_cast<BITMAPINFO*>(infoMem.Get());
  bits.assign(info->bmiHeader.biSizeImage, 0);
  WindowDC screen(nullptr);
  if (!screen || !GetDibBits(screen.Get(), bitmap, info, bits.data())) return false;
  const BYTE* raw = reinterpret_cast<const BYTE*>(info);
  header.assign(raw, raw + info->bmiHeader.biSize + ColourTableBytes(info->bmiHeader));
  return true;
}

}  // namespace

BITMAPINFO* CreateBitmapInfo(HBITMAP bitmap) {
  BITMAP bm = {};
  if (!bitmap || GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm)) return nullptr;
  WORD depth = RoundedDepth(bm);
  DWORD colours = depth < 24 ? (1u << depth) : 0;
  size_t size = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
  if (depth == 32) size += sizeof(DWORD);  // GetDIBits may add colour masks
  auto* info = static_cast<BITMAPINFO*>(LocalAlloc(LPTR, size));
  if (!info) return nullptr;
  BITMAPINFOHEADER& h = info->bmiHeader;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = bm.bmWidth;
  h.biHeight = bm.bmHeight;
  h.biPlanes = bm.bmPlanes;
  h.biBitCount = bm.bmBitsPixel;
  h.biCompression = BI_RGB;
  h.biClrUsed = colours;
  h.biSizeImage = RowStride(depth, bm.bmWidth) * bm.bmHeight;
  return info;
}

bool WriteBitmapFile(const std::wstring& path, BITMAPINFO* info, HBITMAP bitmap, HDC dc) {
  if (!info || !bitmap || !dc) return false;
  BITMAPINFOHEADER& h = info->bmiHeader;
  UniqueGlobalMemory bitsMem(GlobalAlloc(GMEM_FIXED, h.biSizeImage ? h.biSizeImage : 1));
  if (!bitsMem) return false;
  void* bits = static_cast<void*>(bitsMem.Get());
  if (!GetDibBits(dc, bitmap, info, bits)) return false;

  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD headerBytes = h.biSize + static_cast<DWORD>(ColourTableBytes(h));
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;  // "BM"
  fh.bfOffBits = sizeof(BITMAPFILEHEADER) + headerBytes;
  fh.bfSize = fh.bfOffBits + h.biSizeImage;
  bool ok = WriteAll(file.Get(), &fh, sizeof(fh)) && WriteAll(file.Get(), info, headerBytes) &&
            WriteAll(file.Get(), bits, h.biSizeImage);
  return CloseHandle(file.Release()) && ok;
}

bool SaveBitmapToFile(const std::wstring& path, HBITMAP bitmap) {
  UniqueLocalMemory info(CreateBitmapInfo(bitmap));
  if (!info) return false;
  WindowDC screen(nullptr);
  return WriteBitmapFile(path, static_cast<BITMAPINFO*>(info.Get()), bitmap, screen.Get());
}

bool CopyBitmapToClipboard(HBITMAP bitmap) {
  BITMAP bm = {};
  if (!bitmap || GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm)) return false;
  UniqueGdiObject copy(CopyImage(bitmap, IMAGE_BITMAP, bm.bmWidth, bm.bmHeight, 0));
  if (!copy) return false;
  ClipboardLock clipboard(GetDesktopWindow(), 10);
  if (!clipboard) return false;
  // Without emptying it, the formats already there stay beside the bitmap
  // and a paste takes the old text instead.
  if (!EmptyClipboard()) return false;
  if (!SetClipboardData(CF_BITMAP, copy.Get())) return false;
  copy.Release();  // the clipboard owns it now
  return true;
}

bool IsSameBitmap(HBITMAP a, HBITMAP b) {
  if (a == b) return true;
  if (!a || !b) return false;
  BITMAP bmA = {}, bmB = {};
  if (GetObjectW(a, sizeof(bmA), &bmA) != sizeof(bmA) ||
      GetObjectW(b, sizeof(bmB), &bmB) != sizeof(bmB))
    return false;
  if (bmA.bmWidth != bmB.bmWidth || bmA.bmHeight != bmB.bmHeight ||
      bmA.bmPlanes != bmB.bmPlanes || bmA.bmBitsPixel != bmB.bmBitsPixel)
    return false;
  std::vector<BYTE> headerA, bitsA, headerB, bitsB;
  if (!ReadDibBits(a, headerA, bitsA) || !ReadDibBits(b, headerB, bitsB)) return false;
  return headerA == headerB && bitsA == bitsB;
}
