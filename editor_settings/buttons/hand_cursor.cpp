#include "editor_settings/buttons/hand_cursor.h"

#include <cstring>

namespace qlr_editor {

namespace {

constexpr int kSize = 32;
constexpr int kHotX = 5;
constexpr int kHotY = 0;

// 'X' black outline, '.' white inside, ' ' transparent; rows below the
// picture are transparent.
const char* const kPicture[] = {
    "     XX",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..XXX",
    "    X..X..XXX",
    "    X..X..X..XX",
    "    X..X..X..X.X",
    "XX  X..X..X..X..X",
    "X..XX........X..X",
    "X...X...........X",
    " X..............X",
    "  X.............X",
    "  X.............X",
    "   X...........X",
    "   X...........X",
    "    X.........X",
    "    X.........X",
    "    XXXXXXXXXXX",
};

HCURSOR CreateHandCursor() {
  constexpr int kRowBytes = kSize / 8;
  BYTE andMask[kSize * kRowBytes];
  BYTE xorMask[kSize * kRowBytes];
  std::memset(andMask, 0xFF, sizeof(andMask));
  std::memset(xorMask, 0x00, sizeof(xorMask));
  for (size_t y = 0; y < sizeof(kPicture) / sizeof(kPicture[0]); ++y) {
    for (int x = 0; kPicture[y][x] && x < kSize; ++x) {
      char c = kPicture[y][x];
      if (c == ' ') continue;
      BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
      size_t at = y * kRowBytes + static_cast<size_t>(x / 8);
      andMask[at] &= static_cast<BYTE>(~bit);
      if (c == '.') xorMask[at] |= bit;
    }
  }
  return ::CreateCursor(::GetModuleHandleW(nullptr), kHotX, kHotY, kSize, kSize, andMask, xorMask);
}

}  // namespace

HCURSOR GetLinkHandCursor() {
  static HCURSOR cursor = CreateHandCursor();
  return cursor;
}

}  // namespace qlr_editor
