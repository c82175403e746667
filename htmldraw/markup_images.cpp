#include "htmldraw/markup_images.h"

#include "htmldraw/effect_painter.h"
#include "htmldraw/images/png_file.h"
#include "htmldraw/markup_lexer.h"
#include "htmldraw/markup_values.h"

namespace {

// A resource identifier from markup: 1..65535, else none (0).
WORD ResourceId(const std::wstring& text) {
  uint32_t id = ParseUnsignedNumber(text);
  return id > 0 && id <= 0xFFFF ? static_cast<WORD>(id) : 0;
}

HANDLE LoadFromModule(HMODULE module, const std::wstring& id, UINT type, int cx, int cy, UINT flags) {
  WORD number = ResourceId(id);
  if (!module || !number) return nullptr;
  return LoadImageW(module, MAKEINTRESOURCEW(number), type, cx, cy, flags);
}

// Markup may name any number as a handle: only a real bitmap or icon of
// this process is taken.
HBITMAP CheckedBitmap(const std::wstring& text) {
  HGDIOBJ object = reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(ParseUnsignedNumber(text)));
  return object && GetObjectType(object) == OBJ_BITMAP ? static_cast<HBITMAP>(object) : nullptr;
}

HICON CheckedIcon(const std::wstring& text) {
  HICON icon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(ParseUnsignedNumber(text)));
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return nullptr;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return icon;
}

}  // namespace

MarkupImageAttributes ReadImageAttributes(const std::wstring& attributes, const NamedColorTable& names) {
  MarkupImageAttributes a;
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (name == L"index") a.index = ParseLeadingInt(value.c_str());
    else if (name == L"idres") a.idres = value;
    else if (name == L"iddll") a.iddll = value;
    else if (name == L"file") a.file = value;
    else if (name == L"handle") a.handle = value;
    else if (name == L"srcdll") a.srcdll = value;
    else if (name == L"mask") { a.maskOn = true; a.mask = ParseMarkupColor(value, a.mask, names); }
    else if (name == L"style") a.style = value;
    else if (name == L"hotstyle") a.hotStyle = value;
    else if (name == L"cx") a.cx = value;
    else if (name == L"cy") a.cy = value;
    else if (name == L"width") a.width = value;
    else if (name == L"height") a.height = value;
    else if (name == L"speed") a.speed = ParseLeadingInt(value.c_str());
  }
  if (a.index < 0) a.index = 0;
  if (a.speed < 0) a.speed = 0;
  return a;
}

MarkupImage::~MarkupImage() { Free(); }

void MarkupImage::Free() {
  if (m_owned) {
    if (m_bitmap) DeleteObject(m_bitmap);
    if (m_icon) DestroyIcon(m_icon);
  }
  m_bitmap = nullptr;
  m_icon = nullptr;
  m_owned = true;
}

bool MarkupImage::Load(HtmlTagId tag, const MarkupImageAttributes& a, HMODULE resourceModule, int iconWidth,
                       int iconHeight) {
  Free();
  const bool icon = tag == kTagIcon;
  const UINT type = icon ? IMAGE_ICON : IMAGE_BITMAP;
  const int cx = icon ? iconWidth : 0;
  const int cy = icon ? iconHeight : 0;
  // Bitmaps from files and modules come as DIB sections, so that 32-bit ones
  // keep their alpha channel for the painter.
  const UINT fileFlags = LR_LOADFROMFILE | (icon ? 0 : LR_DEFAULTSIZE | LR_CREATEDIBSECTION);
  const UINT moduleFlags = icon ? 0 : LR_DEFAULTSIZE | LR_CREATEDIBSECTION;
  HANDLE image = nullptr;
  if (!a.idres.empty()) {
    image = LoadFromModule(GetModuleHandleW(nullptr), a.idres, type, cx, cy, 0);
  } else if (!a.file.empty()) {
    image = !icon && IsPngPath(a.file) ? LoadPngFile(a.file)
                                       : LoadImageW(nullptr, a.file.c_str(), type, cx, cy, fileFlags);
  } else if (!a.iddll.empty()) {
    if (!a.srcdll.empty()) {
      // As data only: the module's entry point never runs for a markup text.
      HMODULE module = LoadLibraryExW(a.srcdll.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
      if (module) {
        image = LoadFromModule(module, a.iddll, type, cx, cy, moduleFlags);
        FreeLibrary(module);
      }
    } else {
      image = LoadFromModule(resourceModule, a.iddll, type, cx, cy, moduleFlags);
    }
  } else if (!a.handle.empty()) {
    m_owned = false;
    if (icon) m_icon = CheckedIcon(a.handle); else m_bitmap = CheckedBitmap(a.handle);
    return !Empty();
  }
  if (icon) m_icon = static_cast<HICON>(image); else m_bitmap = static_cast<HBITMAP>(image);
  return !Empty();
}

UINT ImageEffectBits(const std::wstring& letters, bool shadowOn, bool soft) {
  UINT bits = 0;
  for (wchar_t c : letters) {
    switch (c) {
      case L'g': bits |= CEffectPainter::kEffectGray; break;
      case L'd': bits |= CEffectPainter::kEffectDarken; break;
      case L'l': bits |= CEffectPainter::kEffectLighten; break;
      case L's':
        if (shadowOn) bits |= soft ? CEffectPainter::kEffectSoftShadow : CEffectPainter::kEffectHardShadow;
        break;
      default: break;
    }
  }
  return bits;
}
