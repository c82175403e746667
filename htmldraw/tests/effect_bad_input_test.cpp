// Sizes, colours, percentages and images as markup may hand them over:
// every operation of the painter finishes, and no pixel outside the area it
// was given (or its shadow) changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/tests/dib_canvas.h"

namespace {

using drawtest::Canvas;
using drawtest::MakeBitmap;
using drawtest::ToBgr;
using P = CEffectPainter;

constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kShadow = 2;  // shadow offsets of the image cases

struct Area {
  const char* name;
  RECT rect;
};

const Area kAreas[] = {
    {"0 x 50", {3, 3, 3, 53}},
    {"50 x 0", {3, 3, 53, 3}},
    {"negative", {53, 53, 3, 3}},
    {"1 x 1", {3, 3, 4, 4}},
    {"1 x 50", {3, 3, 4, 53}},
    {"50 x 1", {3, 3, 53, 4}},
    {"40,000 x 4", {3, 3, 40003, 7}},
    {"40,000 x 40,000", {3, 3, 40003, 40003}},
    {"across the left edge", {-20000, 3, 20000, 9}},
    {"overflowing width", {LONG_MIN, 3, LONG_MAX, 7}},
};

struct Images {
  UniqueGdiObject masked{MakeBitmap(4, 4, [](int x, int) { return ToBgr(x % 2 ? kMagenta : RGB(9, 9, 9)); })};
  UniqueGdiObject alpha{MakeBitmap(3, 3, [](int x, int) -> DWORD { return x ? 0x80FF0000 : 0; })};
  UniqueGdiObject tiny{MakeBitmap(1, 1, [](int, int) { return 0x00FF00u; })};
  UniqueGdiObject stockEmpty{CreateBitmap(0, 0, 1, 1, nullptr)};  // the 1 x 1 default
  UniqueIcon icon{[] {
    UniqueGdiObject colour(MakeBitmap(4, 4, [](int, int) { return 0x00FF0000u; }));
    UniqueGdiObject mask(CreateBitmap(4, 4, 1, 1, nullptr));
    ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), static_cast<HBITMAP>(colour.Get())};
    return CreateIconIndirect(&info);
  }()};
  UniqueIcon monochrome{[] {
    BYTE andBits[4 * 2] = {}, xorBits[4 * 2] = {};
    return CreateIcon(nullptr, 4, 4, 1, 1, andBits, xorBits);
  }()};
  HBITMAP Masked() const { return static_cast<HBITMAP>(masked.Get()); }
};

using Draw = std::function<void(P&, HDC, const RECT&, int, int)>;

struct Operation {
  std::string name;
  Draw draw;
  bool origin;  // given x, y, width, height: draws from (3, 3) rather than in the rectangle
  bool shadow;  // may also draw at the shadow offsets
};

std::vector<Operation> Operations(const Images& img, HDC source) {
  std::vector<Operation> ops;
  const HBITMAP masked = img.Masked();
  auto add = [&](std::string name, Draw d) { ops.push_back({std::move(name), std::move(d), false, false}); };
  auto addAt = [&](std::string name, Draw d, bool shadow = false) {
    ops.push_back({std::move(name), std::move(d), true, shadow});
  };
  for (int effect : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, -7, 99}) {
    for (int granularity : {0, 5, 127, 255, 1000, -1}) {
      add("fill " + std::to_string(effect) + " granularity " + std::to_string(granularity),
          [=](P& p, HDC dc, const RECT& r, int, int) {
            p.FillRectEffect(dc, effect, r, RGB(250, 250, 250), 0xFFFFFFFF, RGB(0, 0, 200),
                             granularity, granularity == 5 ? 150 : -5);
          });
    }
  }
  for (bool horizontal : {true, false})
    add(horizontal ? "hgradient" : "vgradient", [=](P& p, HDC dc, const RECT& r, int, int) {
      p.DrawGradient(dc, r, RGB(0, 0, 0), RGB(255, 255, 255), horizontal);
    });
  for (int percent : {-5, 0, 50, 99, 100, 101, 1000, INT_MAX})
    addAt("blend " + std::to_string(percent), [=](P& p, HDC dc, const RECT&, int w, int h) {
      p.BlendBlit(dc, 3, 3, w, h, source, 0, 0, percent);
    });
  addAt("alpha blit", [=](P& p, HDC dc, const RECT&, int w, int h) {
    p.AlphaBlit(dc, 3, 3, w, h, source, 0, 0);
  });
  for (int tile : {-1, 0, 1, 3, 100000})
    add("tile " + std::to_string(tile), [=](P& p, HDC dc, const RECT& r, int w, int h) {
      p.TileBitmap(dc, r.left, r.top, w, h, source, 1, 1, tile, tile == 1 ? 2 : tile);
    });
  struct Picture {
    const char* name;
    HBITMAP bitmap;
  } pictures[] = {{"null", nullptr}, {"masked", masked},
                  {"alpha", static_cast<HBITMAP>(img.alpha.Get())},
                  {"1 x 1", static_cast<HBITMAP>(img.tiny.Get())},
                  {"stock empty", static_cast<HBITMAP>(img.stockEmpty.Get())}};
  for (const Picture& pic : pictures) {
    for (UINT effect : {0u, 0x1u | 0x2u | 0x4u | 0x8000u, 0x8u, 0x100u, 0x200u, 0xFFFFFFFFu}) {
      for (int blur : {0, -3, 7, 100000}) {
        addAt(std::string("bitmap ") + pic.name + " effect " + std::to_string(effect) + " blur " +
                std::to_string(blur),
            [=](P& p, HDC dc, const RECT&, int w, int h) {
              p.DrawBitmap(dc, 3, 3, w, h, pic.bitmap, effect != 0, kMagenta, effect, true,
                           kShadow, kShadow, blur, blur, RGB(80, 80, 80));
            },
            true);
      }
    }
  }
  for (HICON icon : {static_cast<HICON>(nullptr), img.icon.Get(), img.monochrome.Get()}) {
    for (UINT effect : {0u, 0x8u, 0x200u, 0x108u}) {
      addAt("icon effect " + std::to_string(effect), [=](P& p, HDC dc, const RECT&, int w, int h) {
        p.DrawIcon(dc, 3, 3, w, h, icon, effect, true, kShadow, kShadow, 6, 6, RGB(7, 7, 7));
      }, true);
    }
  }
  for (int index : {-1, 0, 1, 3, 4, INT_MAX}) {
    for (SIZE frame : {SIZE{2, 2}, SIZE{0, 2}, SIZE{2, -1}, SIZE{5, 5}, SIZE{1, 1}}) {
      addAt("strip frame " + std::to_string(index), [=](P& p, HDC dc, const RECT&, int w, int h) {
        p.DrawStripFrame(dc, 3, 3, w, h, masked, index, frame.cx, frame.cy, true, kMagenta,
                         0x200, true, kShadow, kShadow, 3, 3, RGB(7, 7, 7));
      }, true);
    }
  }
  for (bool soft : {true, false})
    for (int blur : {0, -1, 1, 6, 49, 51, 100000, INT_MAX})
      addAt(std::string(soft ? "soft" : "hard") + " shadow blur " + std::to_string(blur),
          [=](P& p, HDC dc, const RECT&, int w, int h) {
            p.DrawShadow(dc, 3, 3, w, h, masked, soft, blur, blur / 2);
          });
  for (int style : {-1, 0, 1, 2, 3, 4, 5, 6, 99})
    for (int width : {-4, 0, 1, 2, 7})
      add("frame style " + std::to_string(style) + " width " + std::to_string(width),
          [=](P& p, HDC dc, const RECT& r, int, int) {
            p.DrawFrame(dc, r, RGB(10, 10, 10), RGB(20, 20, 20), style, width);
          });
  return ops;
}

TEST(EffectBadInputTest, EveryOperationStaysInsideItsAreaForAnySize) {
  Canvas canvas(40010, 60, kSentinel);
  Canvas source(6, 6, RGB(200, 0, 0));
  Images images;
  ASSERT_TRUE(canvas.Ok());
  ASSERT_TRUE(images.icon);
  P painter;
  std::vector<Operation> ops = Operations(images, source.Dc());
  for (const Area& area : kAreas) {
    long long w64 = static_cast<long long>(area.rect.right) - area.rect.left;
    long long h64 = static_cast<long long>(area.rect.bottom) - area.rect.top;
    int w = static_cast<int>(w64), h = static_cast<int>(h64);
    for (const Operation& op : ops) {
      SCOPED_TRACE(testing::Message() << area.name << ": " << op.name);
      canvas.Fill(kSentinel);
      op.draw(painter, canvas.Dc(), area.rect, w, h);
      // Operations given x, y, width, height draw from (3, 3).
      RECT allowed = {0, 0, 0, 0};  // an unusable size changes nothing at all
      if (w64 > 0 && h64 > 0 && w64 <= INT_MAX) {
        allowed = area.rect;
        if (op.origin) {
          const int room = op.shadow ? kShadow : 0;
          allowed = {3, 3, static_cast<LONG>(3LL + w + room), static_cast<LONG>(3LL + h + room)};
        }
      }
      ASSERT_EQ(0, canvas.CountOutside(allowed, kSentinel));
    }
  }
}

}  // namespace
