#include "phrases/insertion/clipboard_snapshot.h"

#include <cstring>

#include "foundation/system/handles.h"
#include "phrases/insertion/clipboard_ops.h"

namespace {

bool IsGdiImageFormat(UINT format) {
  return format == CF_BITMAP || format == CF_DSPBITMAP || format == CF_PALETTE;
}

// Formats whose handle is neither global memory nor a metafile we can copy:
// owner-drawn display, private handles and GDI objects of other programs.
bool IsUncopyableFormat(UINT format) {
  return format == CF_OWNERDISPLAY || (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
         (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

bool CopyGlobal(HANDLE handle, std::vector<BYTE>& out) {
  const SIZE_T size = GlobalSize(handle);
  GlobalLockScope<const BYTE> data(handle);
  if (size == 0 || !data) return false;
  out.assign(data.Get(), data.Get() + size);
  return true;
}

bool CopyEnhMetaFile(HANDLE handle, std::vector<BYTE>& out) {
  HENHMETAFILE emf = static_cast<HENHMETAFILE>(handle);
  UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
  if (size == 0) return false;
  out.resize(size);
  return GetEnhMetaFileBits(emf, size, out.data()) == size;
}

// The METAFILEPICT header without its handle, then the metafile's bits.
constexpr size_t kMetaPictHeader = 3 * sizeof(LONG);

bool CopyMetaFilePict(HANDLE handle, std::vector<BYTE>& out) {
  LONG header[3];
  HMETAFILE mf;
  {
    GlobalLockScope<const METAFILEPICT> pict(handle);
    if (!pict) return false;
    header[0] = pict.Get()->mm;
    header[1] = pict.Get()->xExt;
    header[2] = pict.Get()->yExt;
    mf = pict.Get()->hMF;
  }
  UINT size = GetMetaFileBitsEx(mf, 0, nullptr);
  if (size == 0) return false;
  out.resize(kMetaPictHeader + size);
  memcpy(out.data(), header, kMetaPictHeader);
  return GetMetaFileBitsEx(mf, size, out.data() + kMetaPictHeader) == size;
}

// A device-independent copy of a clipboard bitmap (header, colour table, bits).
bool CopyBitmapAsDib(HBITMAP bitmap, std::vector<BYTE>& out) {
  BITMAP bm = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return false;
  BITMAPINFOHEADER bih = {};
  bih.biSize = sizeof(bih);
  bih.biWidth = bm.bmWidth;
  bih.biHeight = bm.bmHeight;
  bih.biPlanes = 1;
  bih.biBitCount = 32;
  bih.biCompression = BI_RGB;
  const size_t stride = static_cast<size_t>(bm.bmWidth) * 4;
  const size_t bits = stride * static_cast<size_t>(bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight);
  out.assign(sizeof(bih) + bits, 0);
  memcpy(out.data(), &bih, sizeof(bih));
  WindowDC screen(nullptr);
  return GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), out.data() + sizeof(bih),
                   reinterpret_cast<BITMAPINFO*>(out.data()), DIB_RGB_COLORS) > 0;
}

HANDLE MakeClipboardHandle(const CClipboardSnapshot::Entry& entry) {
  using Storage = CClipboardSnapshot::Storage;
  switch (entry.storage) {
    case Storage::kGlobal:
      return GlobalWithBytes(entry.data.data(), entry.data.size());
    case Storage::kEnhMetaBits:
      return SetEnhMetaFileBits(static_cast<UINT>(entry.data.size()), entry.data.data());
    case Storage::kMetaPictBits: {
      if (entry.data.size() <= kMetaPictHeader) return nullptr;
      LONG header[3];
      memcpy(header, entry.data.data(), kMetaPictHeader);
      HMETAFILE mf = SetMetaFileBitsEx(static_cast<UINT>(entry.data.size() - kMetaPictHeader),
                                       entry.data.data() + kMetaPictHeader);
      if (!mf) return nullptr;
      METAFILEPICT pict = {header[0], header[1], header[2], mf};
      HGLOBAL block = GlobalWithBytes(reinterpret_cast<const BYTE*>(&pict), sizeof(pict));
      if (!block) DeleteMetaFile(mf);
      return block;
    }
  }
  return nullptr;
}

void FreeClipboardHandle(const CClipboardSnapshot::Entry& entry, HANDLE handle) {
  using Storage = CClipboardSnapshot::Storage;
  if (entry.storage == Storage::kEnhMetaBits) {
    DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle));
    return;
  }
  if (entry.storage == Storage::kMetaPictBits) {
    GlobalLockScope<const METAFILEPICT> pict(handle);
    if (pict) DeleteMetaFile(pict.Get()->hMF);
  }
  GlobalFree(handle);
}

}  // namespace

CClipboardSnapshot::CClipboardSnapshot() { Save(); }

bool CClipboardSnapshot::Save() {
  ClipboardLock clipboard(nullptr);
  if (!clipboard) return false;
  m_entries.clear();
  bool sawBitmap = false;
  bool haveDib = false;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    // Images are kept through CF_DIB/CF_DIBV5, which the system offers beside
    // a bitmap and from which it makes the bitmap again after a restore.
    if (IsGdiImageFormat(format)) {
      sawBitmap = sawBitmap || format == CF_BITMAP;
      continue;
    }
    if (IsUncopyableFormat(format)) continue;
    Entry entry;
    entry.format = format;
    if (format > CF_ENHMETAFILE) {
      wchar_t name[100] = {};
      if (GetClipboardFormatNameW(format, name, 100) > 0) entry.name = name;
    }
    HANDLE handle = GetClipboardData(format);
    if (!handle) continue;
    bool copied = false;
    if (format == CF_ENHMETAFILE || format == CF_DSPENHMETAFILE) {
      entry.storage = Storage::kEnhMetaBits;
      copied = CopyEnhMetaFile(handle, entry.data);
    } else if (format == CF_METAFILEPICT || format == CF_DSPMETAFILEPICT) {
      entry.storage = Storage::kMetaPictBits;
      copied = CopyMetaFilePict(handle, entry.data);
    } else {
      copied = CopyGlobal(handle, entry.data);
    }
    if (!copied) continue;
    haveDib = haveDib || format == CF_DIB || format == CF_DIBV5;
    m_entries.push_back(std::move(entry));
  }
  // A system that does not offer CF_DIB for a bitmap: convert it ourselves.
  if (sawBitmap && !haveDib) {
    Entry entry;
    entry.format = CF_DIB;
    if (CopyBitmapAsDib(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), entry.data))
      m_entries.push_back(std::move(entry));
  }
  return true;
}

bool CClipboardSnapshot::Restore() {
  if (m_entries.empty()) return false;
  ClipboardLock clipboard(nullptr);
  if (!clipboard) return false;
  EmptyClipboard();
  for (const Entry& entry : m_entries) {
    UINT format = entry.format;
    // A registered format's id may have changed since the snapshot.
    if (!entry.name.empty()) {
      if (UINT id = RegisterClipboardFormatW(entry.name.c_str())) format = id;
    }
    HANDLE handle = MakeClipboardHandle(entry);
    if (handle && !SetClipboardData(format, handle)) FreeClipboardHandle(entry, handle);
  }
  return true;
}

CClipboardKeeper::CClipboardKeeper(int takeNow) {
  if (takeNow) CClipboardSnapshot::Save();
}

CClipboardKeeper::~CClipboardKeeper() { RestoreIfArmed(); }

int CClipboardKeeper::Save() {
  m_armed = true;
  CClipboardSnapshot::Save();
  return static_cast<int>(Entries().size());
}

bool CClipboardKeeper::RestoreIfArmed() {
  if (!m_armed) return false;
  m_armed = false;
  return Restore();
}
