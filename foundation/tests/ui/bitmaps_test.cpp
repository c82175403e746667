#include "foundation/ui/bitmaps.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// Pixel (x, y) gets colour(x, y) through a memory DC.
template <typename Fn>
void Paint(HBITMAP bitmap, int width, int height, Fn colour) {
  UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.Get(), bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixelV(dc.Get(), x, y, colour(x, y));
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.Get(), bitmap);
  return GetPixel(dc.Get(), x, y);
}

HBITMAP MakeDibSection(int width, int height, WORD bits) {
  std::vector<BYTE> mem(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* info = reinterpret_cast<BITMAPINFO*>(mem.data());
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = bits;
  info->bmiHeader.biCompression = BI_RGB;
  if (bits <= 8) {
    int colours = 1 << bits;
    info->bmiHeader.biClrUsed = colours;
    for (int i = 0; i < colours; ++i) {  // greys, with red and blue at 1 and 2
      BYTE v = static_cast<BYTE>(i * 255 / (colours - 1));
      info->bmiColors[i] = {v, v, v, 0};
    }
    if (colours > 2) {
      info->bmiColors[1] = {0, 0, 255, 0};
      info->bmiColors[2] = {255, 0, 0, 0};
    }
  }
  void* bitsPtr = nullptr;
  return CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bitsPtr, nullptr, 0);
}

template <typename T>
T At(const std::string& bytes, size_t offset) {
  T value{};
  if (offset + sizeof(T) <= bytes.size()) memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

TEST(BitmapsTest, InfoDescribesTheBitmapAsAnUncompressedDib) {
  struct Case {
    WORD bits;
    DWORD colours;
  } cases[] = {{1, 2}, {4, 16}, {8, 256}, {24, 0}, {32, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    UniqueGdiObject bitmap(MakeDibSection(7, 3, c.bits));
    ASSERT_TRUE(bitmap);
    UniqueLocalMemory mem(CreateBitmapInfo(static_cast<HBITMAP>(bitmap.Get())));
    ASSERT_TRUE(mem);
    const BITMAPINFOHEADER& h = static_cast<BITMAPINFO*>(mem.Get())->bmiHeader;
    EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(h.biWidth, 7);
    EXPECT_EQ(h.biHeight, 3);
    EXPECT_EQ(h.biBitCount, c.bits);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(h.biClrUsed, c.colours);
    DWORD stride = ((c.bits * 7 + 31) / 32) * 4;
    EXPECT_EQ(h.biSizeImage, stride * 3);
    EXPECT_GE(LocalSize(mem.Get()), sizeof(BITMAPINFOHEADER) + c.colours * sizeof(RGBQUAD));
  }
  EXPECT_EQ(CreateBitmapInfo(nullptr), nullptr);
}

TEST(BitmapsTest, SavedFileIsAValidBmpWithTheSamePixels) {
  qlrtest::TempDir dir;
  WindowDC screen(nullptr);
  struct Case {
    const char* what;
    HBITMAP bitmap;
    COLORREF a, b;
  } cases[] = {
      {"screen", CreateCompatibleBitmap(screen.Get(), 5, 3), kRed, kBlue},
      {"24 bits", MakeDibSection(5, 3, 24), kRed, kBlue},
      {"8 bits", MakeDibSection(5, 3, 8), kRed, kBlue},
      {"1 bit", CreateBitmap(5, 3, 1, 1, nullptr), kWhite, kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UniqueGdiObject owner(c.bitmap);
    ASSERT_TRUE(owner);
    auto colour = [&](int x, int y) { return (x + y) % 2 ? c.b : c.a; };
    Paint(c.bitmap, 5, 3, colour);
    std::wstring path = dir.File(L"out.bmp");
    ASSERT_TRUE(SaveBitmapToFile(path, c.bitmap));

    std::string file = qlrtest::ReadBytes(path);
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(At<DWORD>(file, 2), file.size());
    DWORD clrUsed = At<DWORD>(file, 14 + 32);
    EXPECT_EQ(At<DWORD>(file, 10), 14 + 40 + 4 * clrUsed);
    EXPECT_EQ(At<LONG>(file, 18), 5);
    EXPECT_EQ(At<LONG>(file, 22), 3);
    EXPECT_EQ(At<DWORD>(file, 10) + At<DWORD>(file, 34), file.size());

    UniqueGdiObject loaded(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_TRUE(loaded);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(PixelOf(static_cast<HBITMAP>(loaded.Get()), x, y), colour(x, y)) << x << "," << y;
  }
  UniqueGdiObject bitmap(MakeDibSection(2, 2, 24));
  EXPECT_FALSE(SaveBitmapToFile(dir.File(L"no\\such\\folder.bmp"), static_cast<HBITMAP>(bitmap.Get())));
  EXPECT_FALSE(SaveBitmapToFile(dir.File(L"null.bmp"), nullptr));
}

TEST(BitmapsTest, SameBitmapComparesSizeDepthAndPixels) {
  WindowDC screen(nullptr);
  auto make = [&](int w, int h, COLORREF corner) {
    HBITMAP b = CreateCompatibleBitmap(screen.Get(), w, h);
    Paint(b, w, h, [&](int x, int y) { return x == 0 && y == 0 ? corner : kWhite; });
    return b;
  };
  UniqueGdiObject a(make(4, 4, kRed)), same(make(4, 4, kRed)), other(make(4, 4, kBlue)),
      wider(make(5, 4, kRed));
  UniqueGdiObject dib(MakeDibSection(4, 4, 24));
  Paint(static_cast<HBITMAP>(dib.Get()), 4, 4,
        [&](int x, int y) { return x == 0 && y == 0 ? kRed : kWhite; });
  auto hb = [](const UniqueGdiObject& o) { return static_cast<HBITMAP>(o.Get()); };
  struct Case {
    HBITMAP x, y;
    bool same;
  } cases[] = {
      {hb(a), hb(a), true},       {hb(a), hb(same), true},  {hb(a), hb(other), false},
      {hb(a), hb(wider), false},  {hb(a), nullptr, false},  {nullptr, hb(a), false},
      {hb(a), hb(dib), false},  // other depth
  };
  for (const Case& c : cases) EXPECT_EQ(IsSameBitmap(c.x, c.y), c.same);

  // Same palette indices, different palettes: different pictures.
  UniqueGdiObject p1(MakeDibSection(4, 4, 8)), p2(MakeDibSection(4, 4, 8));
  EXPECT_TRUE(IsSameBitmap(hb(p1), hb(p2)));
  UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  {
    SelectObjectScope select(dc.Get(), p2.Get());
    RGBQUAD green = {0, 255, 0, 0};
    ASSERT_EQ(SetDIBColorTable(dc.Get(), 0, 1, &green), 1u);
  }
  EXPECT_FALSE(IsSameBitmap(hb(p1), hb(p2)));
}

TEST(BitmapsTest, BitmapOnTheClipboardReplacesTextForOtherPrograms) {
  {
    ClipboardLock clipboard(nullptr, 100);
    ASSERT_TRUE(clipboard);
    ASSERT_TRUE(EmptyClipboard());
    static const wchar_t kText[] = L"old text";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof(kText));
    {
      GlobalLockScope<wchar_t> lock(mem);
      memcpy(lock.Get(), kText, sizeof(kText));
    }
    ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, mem));
  }
  WindowDC screen(nullptr);
  UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), 6, 4));
  Paint(static_cast<HBITMAP>(bitmap.Get()), 6, 4,
        [](int x, int y) { return x == 0 && y == 0 ? kBlue : kRed; });
  ASSERT_TRUE(CopyBitmapToClipboard(static_cast<HBITMAP>(bitmap.Get())));
  // The caller keeps its own bitmap.
  EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.Get()), 0, 0), kBlue);
  EXPECT_EQ(qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_probe.exe"),
                                L"bitmap 6 4 0000FF FF0000"),
            0);
  EXPECT_FALSE(CopyBitmapToClipboard(nullptr));
}

}  // namespace
