// The images of the bmp, icon and ilst tags: their attributes, where they are
// loaded from, and who frees them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "htmldraw/markup_tags.h"

struct MarkupImageAttributes {
  int index = 0;
  std::wstring idres, iddll, file, handle, srcdll;
  bool maskOn = false;
  COLORREF mask = RGB(255, 0, 255);
  std::wstring style, hotStyle;
  std::wstring cx, cy, width, height;
  int speed = 0;
};

// The mask colour is read by name or number, never as the disabled colour.
class NamedColorTable;
MarkupImageAttributes ReadImageAttributes(const std::wstring& attributes, const NamedColorTable& names);

// A loaded image: a bitmap or an icon, freed on destruction unless it came
// by handle. Empty when the source is missing or fails to load.
class MarkupImage {
 public:
  MarkupImage() = default;
  ~MarkupImage();
  MarkupImage(const MarkupImage&) = delete;
  MarkupImage& operator=(const MarkupImage&) = delete;

  // Loads the image of a bmp or icon tag (icons at iconWidth x iconHeight),
  // or the strip of an ilst tag with a source. A bitmap file ending in .png
  // is decoded as a PNG (png_file.h). resourceModule serves iddll
  // without srcdll. A srcdll module is mapped as data only, so no code of it
  // runs, and released right after.
  bool Load(HtmlTagId tag, const MarkupImageAttributes& attrs, HMODULE resourceModule, int iconWidth,
            int iconHeight);

  HBITMAP Bitmap() const { return m_bitmap; }
  HICON Icon() const { return m_icon; }
  bool Empty() const { return !m_bitmap && !m_icon; }

 private:
  void Free();

  HBITMAP m_bitmap = nullptr;
  HICON m_icon = nullptr;
  bool m_owned = true;
};

// Effect letters g, d, l and s as CEffectPainter effect bits (s only with a
// non-zero shadow offset; soft or hard as asked).
UINT ImageEffectBits(const std::wstring& letters, bool shadowOn, bool soft);
