#include "foundation/ui/icons.h"

#include <shellapi.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/test_support.h"

namespace {

struct IconImage {
  int width = 0, height = 0;
  std::vector<DWORD> color;  // 0xAARRGGBB, top-down
  std::vector<DWORD> mask;   // 0 or 0xFFFFFF
};

std::vector<DWORD> ReadBits(HBITMAP bmp, int* w, int* h) {
  BITMAP bm = {};
  ::GetObjectW(bmp, sizeof(bm), &bm);
  *w = bm.bmWidth;
  *h = bm.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB};
  std::vector<DWORD> bits(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  HDC dc = ::GetDC(nullptr);
  ::GetDIBits(dc, bmp, 0, bm.bmHeight, bits.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  return bits;
}

IconImage ReadIcon(HICON icon) {
  IconImage img;
  ICONINFO ii = {};
  if (!::GetIconInfo(icon, &ii)) return img;
  int mw, mh;
  img.color = ReadBits(ii.hbmColor, &img.width, &img.height);
  img.mask = ReadBits(ii.hbmMask, &mw, &mh);
  for (DWORD& m : img.mask) m &= 0xFFFFFF;
  ::DeleteObject(ii.hbmColor);
  ::DeleteObject(ii.hbmMask);
  return img;
}

HICON MakeIcon(int w, int h, const std::vector<DWORD>& color, const std::vector<DWORD>& mask) {
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP colorBmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  memcpy(bits, color.data(), color.size() * 4);
  HBITMAP maskBmp = ::CreateBitmap(w, h, 1, 1, nullptr);
  HDC dc = ::GetDC(nullptr);
  ::SetDIBits(dc, maskBmp, 0, h, mask.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  ICONINFO ii = {TRUE, 0, 0, maskBmp, colorBmp};
  HICON icon = ::CreateIconIndirect(&ii);
  ::DeleteObject(colorBmp);
  ::DeleteObject(maskBmp);
  return icon;
}

constexpr DWORD W = 0xFFFFFF;  // mask: transparent

TEST(IconsTest, GreyCopyTakesEachPixelsMeanAndKeepsAlpha) {
  struct Case {
    DWORD in, out;
  } cases[] = {
      {0xFFFFFFFF, 0xFFFEFEFE},  // white becomes grey 254
      {0x00000000, 0x00000000},  // transparent black stays
      {0x80FF0000, 0x80555555},  // mean 85
      {0xFF000000, 0xFF000000},  // opaque black: index 255, grey 0
      {0x00102030, 0x00202020},  // see-through but coloured: recoloured
      {0xFF3C6450, 0xFF505050},  // mean 80
  };
  std::vector<DWORD> color, mask;
  for (const Case& c : cases) {
    color.push_back(c.in);
    mask.push_back(c.in == 0 ? W : 0);
  }
  HICON icon = MakeIcon(3, 2, color, mask);
  ASSERT_TRUE(icon);
  HICON grey = CreateGrayIcon(icon);
  ASSERT_TRUE(grey);
  IconImage img = ReadIcon(grey);
  ASSERT_EQ(3, img.width);
  ASSERT_EQ(2, img.height);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(cases[i].out, img.color[i]) << "pixel " << i << std::hex << " in " << cases[i].in;
    EXPECT_EQ(mask[i], img.mask[i]) << "mask " << i;
  }
  ::DestroyIcon(grey);
  ::DestroyIcon(icon);
}

TEST(IconsTest, RecolouredCopyLooksUpThePaletteByInverseMean) {
  COLORREF palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = RGB(i, 0, 255 - i);
  // mean 0 -> index 255; mean 255 -> index 0 -> 1; mean 100 -> 155
  std::vector<DWORD> color = {0xFF000000, 0x40FFFFFF, 0xFF646464, 0x00000000};
  std::vector<DWORD> mask = {0, 0, 0, W};
  HICON icon = MakeIcon(2, 2, color, mask);
  HICON re = CreateRecoloredIcon(icon, palette);
  ASSERT_TRUE(re);
  IconImage img = ReadIcon(re);
  std::vector<DWORD> expected = {0xFFFF0000, 0x400100FE, 0xFF9B0064, 0x00000000};
  EXPECT_EQ(expected, img.color);
  EXPECT_EQ(nullptr, CreateRecoloredIcon(nullptr, palette));
  EXPECT_EQ(nullptr, CreateRecoloredIcon(icon, nullptr));
  ::DestroyIcon(re);
  ::DestroyIcon(icon);
}

TEST(IconsTest, RotatedCopyTurnsColourAndMask) {
  // 3 wide, 2 high: pixel (x, y) lands at (y, 2 - x) of a 2 x 3 image.
  std::vector<DWORD> color = {0xFF000001, 0xFF000002, 0xFF000003,
                              0xFF000004, 0xFF000005, 0xFF000006};
  std::vector<DWORD> mask = {0, W, 0, 0, 0, W};
  HICON icon = MakeIcon(3, 2, color, mask);
  HICON turned = CreateRotatedIcon(icon);
  ASSERT_TRUE(turned);
  IconImage img = ReadIcon(turned);
  ASSERT_EQ(2, img.width);
  ASSERT_EQ(3, img.height);
  std::vector<DWORD> expectedColor = {0xFF000003, 0xFF000006,   // row 0: x = 2
                                      0xFF000002, 0xFF000005,   // row 1: x = 1
                                      0xFF000001, 0xFF000004};  // row 2: x = 0
  std::vector<DWORD> expectedMask = {0, W, W, 0, 0, 0};
  EXPECT_EQ(expectedColor, img.color);
  EXPECT_EQ(expectedMask, img.mask);
  ::DestroyIcon(turned);
  ::DestroyIcon(icon);
}

int IconWidth(HICON icon) {
  ICONINFO ii = {};
  if (!::GetIconInfo(icon, &ii)) return 0;
  BITMAP bm = {};
  ::GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
  if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
  ::DeleteObject(ii.hbmMask);
  return bm.bmWidth;
}

TEST(IconsTest, ShellIconsComeInTheAskedSize) {
  int small = ::GetSystemMetrics(SM_CXSMICON), large = ::GetSystemMetrics(SM_CXICON);
  struct Case {
    HICON icon;
    int width;
  } cases[] = {
      {GetTxtFileIcon(), small},
      {GetShellFileIcon(L"report.bmp", true), large},
      {GetFolderIcon(false, false), small},
      {GetFolderIcon(true, true), large},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.icon);
    EXPECT_EQ(c.width, IconWidth(c.icon));
    ::DestroyIcon(c.icon);
  }
  qlrtest::TempDir dir;
  std::wstring file = dir.File(L"a.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(file, "x"));
  HICON byPath = GetFileIconByPath(file.c_str(), false);
  EXPECT_TRUE(byPath);
  if (byPath) ::DestroyIcon(byPath);
  EXPECT_EQ(nullptr, GetFileIconByPath(file.c_str(), true));
}

HICON g_stockIcon = nullptr;
int g_stockCalls = 0;
UINT g_stockFlags = 0;
int g_stockId = -1;
DWORD g_stockSize = 0;

HRESULT WINAPI StockOkWithoutIcon(int id, UINT flags, SHSTOCKICONINFO* info) {
  ++g_stockCalls;
  g_stockId = id;
  g_stockFlags = flags;
  g_stockSize = info->cbSize;
  info->hIcon = nullptr;
  return S_OK;
}

HRESULT WINAPI StockGivesIcon(int id, UINT flags, SHSTOCKICONINFO* info) {
  StockOkWithoutIcon(id, flags, info);
  info->hIcon = g_stockIcon;
  return S_OK;
}

HRESULT WINAPI StockFails(int id, UINT flags, SHSTOCKICONINFO* info) {
  StockGivesIcon(id, flags, info);
  return E_FAIL;
}

TEST(IconsTest, FolderIconFallsBackWhenTheStockIconIsMissing) {
  g_stockIcon = ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
  struct Case {
    HRESULT(WINAPI* fn)(int, UINT, SHSTOCKICONINFO*);
    bool open, large;
    bool stockReturned;
    int id;
    UINT flags;
  } cases[] = {
      {StockGivesIcon, false, false, true, SIID_FOLDER, SHGSI_ICON | SHGSI_SMALLICON},
      {StockGivesIcon, true, true, true, SIID_FOLDEROPEN, SHGSI_ICON},
      {StockOkWithoutIcon, false, false, false, SIID_FOLDER, SHGSI_ICON | SHGSI_SMALLICON},
      {StockFails, true, false, false, SIID_FOLDEROPEN, SHGSI_ICON | SHGSI_SMALLICON},
  };
  for (const Case& c : cases) {
    g_stockCalls = 0;
    SetStockIconFunction(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(c.fn)));
    HICON icon = GetFolderIcon(c.open, c.large);
    EXPECT_EQ(1, g_stockCalls);
    EXPECT_EQ(c.id, g_stockId);
    EXPECT_EQ(c.flags, g_stockFlags);
    EXPECT_EQ(sizeof(SHSTOCKICONINFO), g_stockSize);
    ASSERT_TRUE(icon) << "the shell's folder icon must stand in";
    EXPECT_EQ(c.stockReturned, icon == g_stockIcon);
    int expected = ::GetSystemMetrics(c.large ? SM_CXICON : SM_CXSMICON);
    if (!c.stockReturned) {
      EXPECT_EQ(expected, IconWidth(icon));
      ::DestroyIcon(icon);
    }
  }
  SetStockIconFunction(nullptr);
  ::DestroyIcon(g_stockIcon);
}

}  // namespace
