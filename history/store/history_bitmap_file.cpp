#include "history/store/history_bitmap_file.h"

#include <cstring>
#include <vector>

namespace {

constexpr LONG kMaxSide = 65536;

bool Fail(std::wstring* problem, const wchar_t* why) {
  *problem = why;
  return false;
}

struct BmpLayout {
  BITMAPINFOHEADER header;
  DWORD masks[3];
  size_t maskCount;
  size_t colours;
  size_t bitsOffset;
  size_t bitsSize;
};

bool ReadLayout(const unsigned char* bytes, size_t size, BmpLayout* out, std::wstring* problem) {
  BITMAPFILEHEADER fh;
  if (size < sizeof(fh) + sizeof(BITMAPINFOHEADER)) return Fail(problem, L"header truncated");
  std::memcpy(&fh, bytes, sizeof(fh));
  if (fh.bfType != 0x4D42) return Fail(problem, L"not a BMP");
  BITMAPINFOHEADER& h = out->header;
  std::memcpy(&h, bytes + sizeof(fh), sizeof(h));
  if (h.biSize < sizeof(h) || h.biSize > size - sizeof(fh)) return Fail(problem, L"header size");
  if (h.biWidth <= 0 || h.biWidth > kMaxSide || h.biHeight == 0 || h.biHeight > kMaxSide ||
      h.biHeight < -kMaxSide || h.biPlanes != 1)
    return Fail(problem, L"bad dimensions");
  const WORD depth = h.biBitCount;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
    return Fail(problem, L"bad depth");
  out->maskCount = 0;
  if (h.biCompression == BI_BITFIELDS && (depth == 16 || depth == 32)) {
    out->maskCount = 3;  // after a 40-byte header; inside a longer one
  } else if (h.biCompression != BI_RGB) {
    return Fail(problem, L"compressed");
  }
  size_t maxColours = depth <= 8 ? (size_t(1) << depth) : 256;
  out->colours = h.biClrUsed ? h.biClrUsed : (depth <= 8 ? maxColours : 0);
  if (out->colours > maxColours) return Fail(problem, L"colour table too large");

  size_t at = sizeof(fh) + sizeof(h);
  size_t headerEnd = sizeof(fh) + h.biSize;
  std::memset(out->masks, 0, sizeof(out->masks));
  if (out->maskCount) {
    if (at + sizeof(out->masks) > size) return Fail(problem, L"masks truncated");
    std::memcpy(out->masks, bytes + at, sizeof(out->masks));
    if (h.biSize == sizeof(h)) headerEnd += sizeof(out->masks);
  }
  size_t tableEnd = headerEnd + out->colours * sizeof(RGBQUAD);
  if (tableEnd > size) return Fail(problem, L"colour table truncated");

  const unsigned long long stride = ((unsigned long long)depth * h.biWidth + 31) / 32 * 4;
  const unsigned long long rows = h.biHeight < 0 ? -(long long)h.biHeight : h.biHeight;
  const unsigned long long bitsSize = stride * rows;
  if (fh.bfOffBits < tableEnd || fh.bfOffBits > size || bitsSize > size - fh.bfOffBits)
    return Fail(problem, L"sizes do not match the file");
  out->bitsOffset = fh.bfOffBits;
  out->bitsSize = static_cast<size_t>(bitsSize);
  return true;
}

}  // namespace

HBITMAP BitmapFromBmpBytes(const unsigned char* bytes, size_t size, std::wstring* problem) {
  BmpLayout layout;
  if (!bytes || !ReadLayout(bytes, size, &layout, problem)) return nullptr;
  // A plain 40-byte header, then the masks, then the colour table.
  std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + sizeof(layout.masks) +
                                  layout.colours * sizeof(RGBQUAD));
  BITMAPINFOHEADER header = layout.header;
  header.biSize = sizeof(header);
  header.biSizeImage = static_cast<DWORD>(layout.bitsSize);
  header.biClrUsed = static_cast<DWORD>(layout.colours);
  std::memcpy(info.data(), &header, sizeof(header));
  size_t at = sizeof(header);
  if (layout.maskCount) {
    std::memcpy(info.data() + at, layout.masks, sizeof(layout.masks));
    at += sizeof(layout.masks);
  }
  size_t tableStart = sizeof(BITMAPFILEHEADER) + layout.header.biSize +
                      (layout.maskCount && layout.header.biSize == sizeof(header) ? sizeof(layout.masks) : 0);
  std::memcpy(info.data() + at, bytes + tableStart, layout.colours * sizeof(RGBQUAD));

  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    *problem = L"CreateDIBSection failed, code=" + std::to_wstring(GetLastError());
    return nullptr;
  }
  std::memcpy(bits, bytes + layout.bitsOffset, layout.bitsSize);
  GdiFlush();
  return bitmap;
}
