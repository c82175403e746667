// Images of the text drawer: bitmaps, strips and their animation, icons,
// image lists, modules mapped as data only, and sources that are missing.
// Resource 300 is a strip of four 4 x 4 frames: red, green, blue, yellow.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/dib_canvas.h"
#include "htmldraw/tests/drawer_test_util.h"

namespace {

const COLORREF kFrames[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

std::wstring BesideTestProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class DrawerImagesTest : public ::testing::Test {
 protected:
  SIZE Measure(const std::wstring& text) { return drawer.Measure(canvas.Dc(), text.c_str()); }
  void DrawAll() {
    canvas.Fill(RGB(255, 255, 255));
    RECT r = {0, 0, canvas.Width(), canvas.Height()};
    drawer.Draw(canvas.Dc(), r);
  }

  drawtest::Canvas canvas{200, 100};
  CHtmlTextDrawer drawer;
};

TEST_F(DrawerImagesTest, BitmapsAndStripFrames) {
  SIZE size = Measure(L"<bmp idres=300>");
  EXPECT_EQ(size.cx, 16 + 1);
  EXPECT_EQ(size.cy, 4 + 1);
  DrawAll();
  for (int f = 0; f < 4; ++f) EXPECT_EQ(canvas.At(4 * f + 1, 1), kFrames[f]) << f;

  // Sizes as pixels or percentages of the natural size.
  size = Measure(L"<bmp idres=300 width=32 height=50%>");
  EXPECT_EQ(size.cx, 33);
  EXPECT_EQ(size.cy, 3);

  // One frame of the strip, chosen by index.
  for (int f = 0; f < 4; ++f) {
    size = Measure(L"<ilst idres=300 cx=4 index=" + std::to_wstring(f) + L">");
    EXPECT_EQ(size.cx, 5);
    DrawAll();
    EXPECT_EQ(canvas.At(1, 1), kFrames[f]) << f;
    EXPECT_EQ(canvas.At(6, 1), RGB(255, 255, 255)) << f;
  }
  // cy alone gives the frame width too; beyond the last frame: nothing.
  EXPECT_EQ(Measure(L"<ilst idres=300 cy=4 index=3>").cx, 5);
  EXPECT_EQ(Measure(L"<ilst idres=300 cx=4 index=4>").cx, 1);
  EXPECT_EQ(Measure(L"<ilst idres=300 cx=0>").cx, 1);
  EXPECT_EQ(Measure(L"<ilst idres=300 cx=40>").cx, 1) << "a frame wider than the strip makes no frames";
}

TEST_F(DrawerImagesTest, AnimationAdvancesEverySecondTickAndWraps) {
  Measure(L"<ilst idres=300 cx=4 speed=2>");
  ASSERT_EQ(drawer.Animations().size(), 1u);
  EXPECT_EQ(drawer.Animations()[0].count, 4);
  EXPECT_EQ(drawer.Animations()[0].frame, 0);
  const bool changes[] = {false, true, false, true, false, true, false, true};
  const int frames[] = {0, 1, 1, 2, 2, 3, 3, 0};
  for (int tick = 0; tick < 8; ++tick) {
    EXPECT_EQ(drawer.OnTimer(), changes[tick]) << tick;
    EXPECT_EQ(drawer.Animations()[0].frame, frames[tick]) << tick;
    DrawAll();
    EXPECT_EQ(canvas.At(1, 1), kFrames[frames[tick]]) << tick;
  }
  // Still images are no animations; a new text drops the old records.
  Measure(L"<ilst idres=300 cx=4 speed=0>");
  EXPECT_TRUE(drawer.Animations().empty());
  EXPECT_FALSE(drawer.OnTimer());
}

TEST_F(DrawerImagesTest, ImageListAndIcons) {
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 2, 0);
  ASSERT_NE(list, nullptr);
  for (COLORREF c : {RGB(255, 0, 0), RGB(0, 0, 255)}) {
    HBITMAP b = drawtest::MakeBitmap(8, 8, [c](int, int) { return drawtest::ToBgr(c) | 0xFF000000; });
    ImageList_Add(list, b, nullptr);
    DeleteObject(b);
  }
  EXPECT_EQ(Measure(L"<ilst index=1>").cx, 1) << "no image list yet";
  drawer.SetImageList(list, 8, 8);
  EXPECT_EQ(Measure(L"<ilst index=1>").cx, 9);
  DrawAll();
  EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 255));
  EXPECT_EQ(Measure(L"<ilst index=2>").cx, 1);
  drawer.SetImageList(nullptr, 0, 0);
  ImageList_Destroy(list);

  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  SIZE icon = Measure(L"<icon idres=310>");
  EXPECT_EQ(icon.cx, cx + 1);
  EXPECT_EQ(icon.cy, cy + 1);
  EXPECT_EQ(Measure(L"<icon idres=310 width=50% height=50%>").cx, cx / 2 + 1);
  DrawAll();
  EXPECT_GE(drawertest::RightmostInk(canvas, 0, cy), 0);
}

TEST_F(DrawerImagesTest, ModuleSourcesAreMappedAsDataOnly) {
  const std::wstring module = BesideTestProgram(L"marker_module.dll");
  const std::wstring marker = module + L".ran";
  ASSERT_TRUE(Exists(module));
  // The marker works: loading the module as code writes it.
  DeleteFileW(marker.c_str());
  HMODULE code = LoadLibraryW(module.c_str());
  ASSERT_NE(code, nullptr);
  FreeLibrary(code);
  ASSERT_TRUE(Exists(marker));
  ASSERT_TRUE(DeleteFileW(marker.c_str()));

  SIZE size = Measure(L"<bmp srcdll=\"" + module + L"\" iddll=500>");
  EXPECT_EQ(size.cx, 17);
  EXPECT_EQ(size.cy, 5);
  DrawAll();
  EXPECT_EQ(canvas.At(1, 1), kFrames[0]);
  EXPECT_EQ(canvas.At(13, 1), kFrames[3]);
  Measure(L"<ilst srcdll=\"" + module + L"\" iddll=500 cx=4 index=2>");
  DrawAll();
  EXPECT_EQ(canvas.At(1, 1), kFrames[2]);
  // The drawer's own resource module serves iddll without srcdll.
  EXPECT_EQ(Measure(L"<bmp iddll=500>").cx, 1);
  ASSERT_TRUE(drawer.LoadResourceModule(module.c_str()));
  EXPECT_EQ(Measure(L"<bmp iddll=500>").cx, 17);
  drawer.SetResourceModule(nullptr);
  EXPECT_FALSE(Exists(marker)) << "the module's entry point ran";
}

TEST_F(DrawerImagesTest, MissingSourcesDrawNothingAndMoveNothing) {
  const std::wstring module = BesideTestProgram(L"marker_module.dll");
  const std::wstring sources[] = {
      L"<bmp idres=999>",
      L"<bmp file=\"C:\\no\\such\\image.bmp\">",
      L"<bmp srcdll=\"C:\\no\\such\\module.dll\" iddll=500>",
      L"<bmp srcdll=\"" + module + L"\" iddll=999>",
      L"<bmp handle=12345>",
      L"<bmp handle=0x7fffffff>",
      L"<bmp>",
      L"<bmp idres=300 width=100000>",
      L"<icon idres=999>",
      L"<icon handle=4242>",
      L"<icon file=\"C:\\no\\such.ico\">",
      L"<ilst index=0>",
      L"<ilst idres=999 cx=4 speed=3>",
  };
  const int ab = drawertest::BodyExtent(canvas.Dc(), L"ab").cx;
  for (const std::wstring& source : sources) {
    SIZE alone = Measure(source);
    EXPECT_EQ(alone.cx, 1) << source;
    EXPECT_EQ(alone.cy, 1) << source;
    Measure(L"a" + source + L"b");
    ASSERT_EQ(drawer.Lines().size(), 1u) << source;
    EXPECT_EQ(drawer.Lines()[0].width, ab) << source;
    EXPECT_TRUE(drawer.Animations().empty()) << source;
    DrawAll();
  }
  // A handle of a real bitmap is drawn and left to its owner.
  HBITMAP own = drawtest::MakeSolidBitmap(6, 3, RGB(0, 128, 0));
  Measure(L"<bmp handle=" + std::to_wstring(reinterpret_cast<ULONG_PTR>(own)) + L">");
  DrawAll();
  EXPECT_EQ(canvas.At(2, 1), RGB(0, 128, 0));
  EXPECT_EQ(GetObjectType(own), static_cast<DWORD>(OBJ_BITMAP));
  DeleteObject(own);
}

}  // namespace
