#include "htmldraw/images/png_file.h"

#include <objbase.h>
#include <initguid.h>
#include <wincodec.h>

#include <cstdint>

#include "htmldraw/work_bitmap.h"

namespace {

// COM on the calling thread for the time of one decode. A thread already in
// an apartment of the other kind keeps it: the codecs work in either.
class ComScope {
 public:
  ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(m_result)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

 private:
  HRESULT m_result;
};

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (m_p) m_p->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &m_p; }
  T* operator->() const { return m_p; }
  T* Get() const { return m_p; }

 private:
  T* m_p = nullptr;
};

// The converted pixels of the file's first frame, copied straight into the
// bits of a new top-down DIB section.
HBITMAP Decode(IWICImagingFactory* factory, const std::wstring& path) {
  ComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())))
    return nullptr;
  GUID format = {};
  if (FAILED(decoder->GetContainerFormat(&format)) || format != GUID_ContainerFormatPng) return nullptr;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return nullptr;
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height))) return nullptr;
  if (width < 1 || height < 1 || width > kMaxPngSide || height > kMaxPngSide) return nullptr;
  const uint64_t stride = static_cast<uint64_t>(width) * 4;
  const uint64_t bytes = stride * height;
  if (bytes > UINT32_MAX || !IsDrawableSize(static_cast<int>(width), static_cast<int>(height))) return nullptr;

  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom)))
    return nullptr;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(bytes),
                                   static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace

bool IsPngPath(const std::wstring& path) {
  return path.size() > 4 && CompareStringOrdinal(path.c_str() + path.size() - 4, 4, L".png", 4, TRUE) == CSTR_EQUAL;
}

HBITMAP LoadPngFile(const std::wstring& path) {
  if (path.empty() || path.size() >= MAX_PATH) return nullptr;
  ComScope com;
  if (!com.Usable()) return nullptr;
  ComRef<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Out()))))
    return nullptr;
  return Decode(factory.Get(), path);
}
