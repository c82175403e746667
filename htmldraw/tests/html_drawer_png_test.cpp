// PNG files drawn by the text drawer: straight alpha over the background,
// from threads in either COM apartment, and files that must draw nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/dib_canvas.h"
#include "tests/support/test_support.h"

namespace {

// 4 x 2, RGBA. Top row: opaque red, green, blue, then a fully transparent
// pixel; bottom row: black at alpha 128.
const unsigned char kSmallPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x04, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x7f, 0xa8, 0x7d, 0x63, 0x00, 0x00, 0x00,
    0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xf0, 0x1f, 0x0c, 0x19, 0xfe, 0x03, 0x31,
    0x04, 0x34, 0x20, 0x63, 0x00, 0xaf, 0x80, 0x07, 0xfb, 0xff, 0x36, 0x1a, 0x5a, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
const size_t kSmallIdatData = 41;  // first byte of the compressed pixels

// A valid 4097 x 1 grey image: one column past the largest side decoded.
const unsigned char kWidePng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x10, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x94, 0x88, 0x5f, 0x9e, 0x00, 0x00, 0x00,
    0x1a, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0xed, 0xc1, 0x01, 0x0d, 0x00, 0x00, 0x00, 0xc2, 0xa0, 0xf7, 0x4f,
    0x6d, 0x0f, 0x07, 0x14, 0x00, 0x00, 0x00, 0xf0, 0x6f, 0x10, 0x02, 0x00, 0x01, 0xa5, 0x8c, 0xa9, 0xbd, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

std::string Bytes(const unsigned char* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class DrawerPngTest : public ::testing::Test {
 protected:
  std::wstring Write(const wchar_t* name, const std::string& bytes) {
    std::wstring path = dir.File(name);
    EXPECT_TRUE(qlrtest::WriteBytes(path, bytes));
    return path;
  }
  static std::wstring Tag(const std::wstring& path, const std::wstring& more = L"") {
    return L"<bmp file=\"" + path + L"\"" + more + L">";
  }
  // Measures and draws text on a white canvas; the measured size (one more
  // than the content on each side, as for any text).
  SIZE Draw(const std::wstring& text) {
    SIZE size = drawer.Measure(canvas.Dc(), text.c_str());
    canvas.Fill(RGB(255, 255, 255));
    RECT r = {0, 0, canvas.Width(), canvas.Height()};
    drawer.Draw(canvas.Dc(), r);
    GdiFlush();
    return size;
  }
  bool Clean() const {
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x)
        if (canvas.At(x, y) != RGB(255, 255, 255)) return false;
    return true;
  }

  qlrtest::TempDir dir;
  drawtest::Canvas canvas{40, 20};
  CHtmlTextDrawer drawer;
};

TEST_F(DrawerPngTest, PixelsAndAlphaOverTheBackground) {
  const std::wstring path = Write(L"small.png", Bytes(kSmallPng, sizeof kSmallPng));
  SIZE size = Draw(Tag(path));
  EXPECT_EQ(size.cx, 4 + 1);
  EXPECT_EQ(size.cy, 2 + 1);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(3, 0), RGB(255, 255, 255)) << "a transparent pixel covers the background";
  EXPECT_TRUE(Near(canvas.At(1, 1), RGB(127, 127, 127), 2)) << std::hex << canvas.At(1, 1);
  EXPECT_EQ(canvas.At(4, 0), RGB(255, 255, 255));

  // Stretched like any bitmap, and the extension read in any case.
  const std::wstring upper = Write(L"UPPER.PNG", Bytes(kSmallPng, sizeof kSmallPng));
  size = Draw(Tag(upper, L" width=8 height=4"));
  EXPECT_EQ(size.cx, 8 + 1);
  EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(5, 1), RGB(0, 0, 255));
}

TEST_F(DrawerPngTest, DecodedOnThreadsOfEitherApartment) {
  const std::wstring path = Write(L"small.png", Bytes(kSmallPng, sizeof kSmallPng));
  for (DWORD model : {static_cast<DWORD>(COINIT_MULTITHREADED), static_cast<DWORD>(COINIT_APARTMENTTHREADED)}) {
    COLORREF first = 0;
    HRESULT after = E_FAIL;
    std::thread t([&] {
      HRESULT own = CoInitializeEx(nullptr, model);
      drawtest::Canvas c(8, 4);
      CHtmlTextDrawer d;
      std::wstring text = Tag(path);
      d.Measure(c.Dc(), text.c_str());
      RECT r = {0, 0, c.Width(), c.Height()};
      d.Draw(c.Dc(), r);
      GdiFlush();
      first = c.At(0, 0);
      // The thread's own apartment is left as it was.
      after = CoInitializeEx(nullptr, model);
      if (SUCCEEDED(after)) CoUninitialize();
      if (SUCCEEDED(own)) CoUninitialize();
    });
    t.join();
    EXPECT_EQ(first, RGB(255, 0, 0)) << model;
    EXPECT_EQ(after, S_FALSE) << model;
  }
}

TEST_F(DrawerPngTest, BrokenOrOversizeFilesDrawNothing) {
  const std::string good = Bytes(kSmallPng, sizeof kSmallPng);
  std::string corrupt = good;
  for (size_t i = kSmallIdatData; i < kSmallIdatData + 8; ++i) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  std::string badHeader = good;
  badHeader[20] = '\x7f';  // width 0x7f000004, CRC left as it was
  std::string bmp = "BM";
  bmp.resize(64, '\0');
  struct Case {
    const char* label;
    const wchar_t* name;
    std::string bytes;
  } cases[] = {
      {"truncated", L"truncated.png", good.substr(0, 50)},
      {"header only", L"header.png", good.substr(0, 33)},
      {"signature only", L"signature.png", good.substr(0, 8)},
      {"corrupt pixels", L"corrupt.png", corrupt},
      {"corrupt header", L"badheader.png", badHeader},
      {"wider than decoded", L"wide.png", Bytes(kWidePng, sizeof kWidePng)},
      {"empty", L"empty.png", std::string()},
      {"not a png", L"text.png", "hello, this is not an image"},
      {"a bitmap named png", L"bitmap.png", bmp},
  };
  for (const Case& c : cases) {
    const std::wstring path = Write(c.name, c.bytes);
    // Sized by markup, so only the decoder's refusal keeps it undrawn.
    SIZE size = Draw(Tag(path, L" width=10 height=4"));
    EXPECT_EQ(size.cx, 1) << c.label;
    EXPECT_TRUE(Clean()) << c.label;
  }
  EXPECT_EQ(Draw(Tag(dir.File(L"missing.png"))).cx, 1);
  // The good file still draws after all of them.
  Draw(Tag(Write(L"good.png", good)));
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
}

}  // namespace
