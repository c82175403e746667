#include "history/store/history_item.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <new>
#include <optional>
#include <vector>

#include "foundation/logging/log.h"
#include "foundation/system/system_helpers.h"
#include "history/store/history_files.h"
#include "history/store/save_load_lock.h"

namespace {

std::atomic<std::uint32_t> g_itemCounter{0};

// FNV-1a over the shape and the pixels as 32-bit colours (any depth maps
// to the same colours for the same pixels and colour table).
// Pixels are read in bands of rows of about this many bytes: a giant
// bitmap never needs one giant buffer.
constexpr size_t kBandBytes = 1u << 20;

bool BitmapShape(HBITMAP bitmap, BITMAP* bm) {
  return bitmap && GetObjectW(bitmap, sizeof(*bm), bm) == sizeof(*bm) && bm->bmWidth > 0 && bm->bmHeight > 0;
}

int BandRows(const BITMAP& bm) {
  return static_cast<int>(std::max<size_t>(1, kBandBytes / (static_cast<size_t>(bm.bmWidth) * 4)));
}

// Rows first .. first+rows-1 (bottom-up) as 32-bit colours into pixels.
bool ReadBand(HDC dc, HBITMAP bitmap, const BITMAP& bm, int first, int rows, std::vector<std::uint32_t>& pixels) {
  try {
    pixels.resize(static_cast<size_t>(bm.bmWidth) * rows);
  } catch (const std::bad_alloc&) {
    return false;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return GetDIBits(dc, bitmap, static_cast<UINT>(first), static_cast<UINT>(rows), pixels.data(), &info,
                   DIB_RGB_COLORS) == rows;
}

std::uint64_t ComputeBitmapFingerprint(HBITMAP bitmap) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&](const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
  };
  BITMAP bm = {};
  if (!bitmap || GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm)) return 0;
  mix(&bm.bmWidth, sizeof(bm.bmWidth));
  mix(&bm.bmHeight, sizeof(bm.bmHeight));
  mix(&bm.bmBitsPixel, sizeof(bm.bmBitsPixel));
  if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return hash;
  const std::uint64_t shape = hash;
  const int bandRows = BandRows(bm);
  std::vector<std::uint32_t> pixels;
  HDC screen = GetDC(nullptr);
  bool read = true;
  for (int first = 0; read && first < bm.bmHeight; first += bandRows) {
    const int rows = std::min(bandRows, static_cast<int>(bm.bmHeight) - first);
    read = ReadBand(screen, bitmap, bm, first, rows, pixels);
    if (read) mix(pixels.data(), pixels.size() * sizeof(std::uint32_t));
  }
  ReleaseDC(nullptr, screen);
  // Unreadable pixels: the shape alone, and the pixel compare decides.
  return read ? hash : shape;
}

// The pixels of two bitmaps compared band by band.
bool SamePixels(HBITMAP a, HBITMAP b) {
  BITMAP bmA = {}, bmB = {};
  if (!BitmapShape(a, &bmA) || !BitmapShape(b, &bmB)) return false;
  if (bmA.bmWidth != bmB.bmWidth || bmA.bmHeight != bmB.bmHeight || bmA.bmBitsPixel != bmB.bmBitsPixel)
    return false;
  const int bandRows = BandRows(bmA);
  std::vector<std::uint32_t> pixelsA, pixelsB;
  HDC screen = GetDC(nullptr);
  bool same = true;
  for (int first = 0; same && first < bmA.bmHeight; first += bandRows) {
    const int rows = std::min(bandRows, static_cast<int>(bmA.bmHeight) - first);
    same = ReadBand(screen, a, bmA, first, rows, pixelsA) && ReadBand(screen, b, bmB, first, rows, pixelsB) &&
           pixelsA == pixelsB;
  }
  ReleaseDC(nullptr, screen);
  return same;
}

bool IsStored(int state) { return state == kStoredLoaded || state == kStoredSaved; }

// A file that is not there needs nothing.
bool SetReadOnlyIfThere(const std::wstring& path, bool readOnly) {
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return SetFileReadOnly(path, readOnly);
}

// How long a change of an item's files waits at most for a load or save.
constexpr DWORD kFileChangeLockWaitMs = 3000;

// A load reads the history's files with the lock held, and a file it has
// open can neither be deleted nor written: a delete then left a removed
// item on disk, to come back at the next start, and a protection that did
// not reach the disk let that start trim the item away. Changes of the
// files wait for the load (or a save), bounded like a clear.
class FileChangeLock {
 public:
  FileChangeLock() : m_lock(false, kFileChangeLockWaitMs) {
    if (!m_lock.Held()) LogError(L"History files are changed without the save/load lock");
  }

 private:
  CSaveLoadLock m_lock;
};

}  // namespace

CCHItem::CCHItem(int kind_) : key(CreateGuidString(true)), number(++g_itemCounter), kind(kind_) {
  GetLocalTime(&captureTime);
}

CCHItem::~CCHItem() { FreeData(); }

void* CCHItem::AllocateData(std::uint32_t size) {
  FreeBuffer();
  // Zeroed, so the two bytes after the data end a text. From the heap: a
  // block of pages of its own per item made every file call around a
  // history load several times slower under Wine.
  void* buffer = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(size) + 2);
  if (!buffer) return nullptr;
  m_data = buffer;
  m_size = size;
  return buffer;
}

bool CCHItem::SetData(const void* bytes, std::uint32_t size) {
  void* buffer = AllocateData(size);
  if (!buffer) return false;
  if (size) std::memcpy(buffer, bytes, size);
  return true;
}

void CCHItem::DropLeadingBytes(std::uint32_t count) {
  if (kind == kHistoryKindBitmap || !m_data) return;
  if (count > m_size) count = m_size;
  auto* bytes = static_cast<unsigned char*>(m_data);
  std::memmove(bytes, bytes + count, m_size - count);
  std::memset(bytes + m_size - count, 0, count);  // the zero bytes after the data stay
  m_size -= count;
}

void CCHItem::SetBitmap(HBITMAP bitmap, bool owns) {
  FreeBuffer();
  m_data = bitmap;
  m_size = bitmap ? 4 : 0;
  ownsBitmap = owns;
}

const wchar_t* CCHItem::Text() const {
  return kind == kHistoryKindUnicode && m_data ? static_cast<const wchar_t*>(m_data) : nullptr;
}

void CCHItem::FreeData() {
  alternates.clear();
  FreeBuffer();
  if (kind != kHistoryKindBitmap) {
    locale = 0;
    sourceUrl.clear();
  }
}

std::uint64_t CCHItem::BitmapFingerprint() const {
  if (!m_fingerprintValid) {
    m_fingerprint = ComputeBitmapFingerprint(Bitmap());
    m_fingerprintValid = true;
  }
  return m_fingerprint;
}

void CCHItem::FreeBuffer() {
  m_fingerprintValid = false;
  if (kind == kHistoryKindBitmap) {
    // A bitmap the item does not own stays with its owner.
    if (ownsBitmap && m_data) DeleteObject(static_cast<HGDIOBJ>(m_data));
  } else if (m_data) {
    HeapFree(GetProcessHeap(), 0, m_data);
  }
  m_data = nullptr;
  m_size = 0;
}

void CCHItem::CopyFrom(const CCHItem& other) {
  if (&other == this) return;
  FreeData();
  key = other.key;
  m_protected = other.m_protected;
  number = other.number;
  storedState = other.storedState;
  descriptorPath = other.descriptorPath;
  menuCaption = other.menuCaption;
  tipText = other.tipText;
  dataPath = other.dataPath;
  kind = other.kind;
  captureTime = other.captureTime;
  locale = other.locale;
  editCount = other.editCount;
  if (kind == kHistoryKindBitmap) {
    HANDLE copy = other.Bitmap() ? CopyImage(other.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)
                                 : nullptr;
    SetBitmap(static_cast<HBITMAP>(copy), true);
  } else if (other.m_data) {
    SetData(other.m_data, other.m_size);
  }
}

std::unique_ptr<CCHItem> CCHItem::Clone() const {
  auto copy = std::make_unique<CCHItem>(kind);
  copy->CopyFrom(*this);
  copy->alternates = alternates;
  copy->sourceUrl = sourceUrl;
  return copy;
}

std::unique_ptr<CCHItem> CCHItem::DeepClone() const {
  auto copy = Clone();
  for (auto& alternate : copy->alternates)
    if (alternate) alternate = std::shared_ptr<CCHItem>(alternate->Clone().release());
  return copy;
}

const CCHItem* CCHItem::FindFormat(int wantedKind) const {
  if (kind == wantedKind) return this;
  for (const auto& alternate : alternates)
    if (alternate && alternate->kind == wantedKind) return alternate.get();
  return nullptr;
}

bool CCHItem::HasHtml(bool alternatesOnly) const {
  if (!alternatesOnly && kind == kHistoryKindHtml) return true;
  for (const auto& alternate : alternates)
    if (alternate && alternate->kind == kHistoryKindHtml) return true;
  return false;
}

const CCHItem* CCHItem::GetHtml() const { return FindFormat(kHistoryKindHtml); }

void CCHItem::SetProtected(bool flag) {
  if (flag == m_protected) return;
  m_protected = flag;
  ApplyProtectionToFiles();
}

void CCHItem::ApplyProtectionToFiles() {
  if (!IsStored(storedState)) return;
  FileChangeLock lock;
  DWORD failure = ERROR_SUCCESS;
  auto note = [&](bool ok) {
    if (!ok && failure == ERROR_SUCCESS) failure = GetLastError() ? GetLastError() : ERROR_GEN_FAILURE;
  };
  note(SetReadOnlyIfThere(dataPath, m_protected));
  // Every data file of a protected item is read-only, the alternates' too.
  for (const auto& alternate : alternates)
    if (alternate) note(SetReadOnlyIfThere(alternate->dataPath, m_protected));
  if (!descriptorPath.empty() && GetFileAttributesW(descriptorPath.c_str()) != INVALID_FILE_ATTRIBUTES)
    note(WriteProtectedKey(descriptorPath, m_protected));
  if (failure != ERROR_SUCCESS)
    LogError(L"Cannot write the protection of the history item " + descriptorPath + L", code=" +
             std::to_wstring(failure));
}

void CCHItem::SetStoredState(int state, const std::wstring& path) {
  if (path.empty() && !dataPath.empty()) SetFileReadOnly(dataPath, false);
  storedState = state;
  dataPath = path;
}

void CCHItem::ForgetStored() {
  storedState = kStoredNot;
  dataPath.clear();
  descriptorPath.clear();
  replacedFiles.clear();
}

void CCHItem::TakeStoredPaths(const CCHItem& written) {
  dataPath = written.dataPath;
  descriptorPath = written.descriptorPath;
  storedState = kStoredSaved;
}

void CCHItem::MarkEdited() {
  ++editCount;
  if (!dataPath.empty()) {
    SetFileReadOnly(dataPath, false);
    replacedFiles.push_back(dataPath);
  }
  // A save writes every alternate again under a new name.
  for (const auto& alternate : alternates) {
    if (!alternate || alternate->dataPath.empty()) continue;
    replacedFiles.push_back(alternate->dataPath);
    alternate->dataPath.clear();
  }
  storedState = kStoredNot;
  dataPath.clear();
}

void CCHItem::DeleteReplacedFiles() {
  if (replacedFiles.empty()) return;
  FileChangeLock lock;
  std::vector<std::wstring> left;
  for (const auto& path : replacedFiles)
    if (!DeleteHistoryFile(path)) left.push_back(path);
  replacedFiles = std::move(left);
}

int CCHItem::CollectFiles(std::vector<std::wstring>* files) const {
  int count = 0;
  auto add = [&](const std::wstring& path) {
    if (path.empty()) return;
    files->push_back(path);
    ++count;
  };
  add(descriptorPath);
  add(dataPath);
  for (const auto& alternate : alternates)
    if (alternate) add(alternate->dataPath);
  for (const auto& path : replacedFiles) add(path);
  return count;
}

int CCHItem::DeleteFiles() {
  std::vector<std::wstring> files;
  CollectFiles(&files);
  std::optional<FileChangeLock> lock;
  if (!files.empty()) lock.emplace();
  int deleted = 0;
  bool allGone = true;
  for (const auto& path : files) {
    bool existed = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!DeleteHistoryFile(path)) {
      allGone = false;
    } else if (existed) {
      ++deleted;
    }
  }
  if (allGone) {
    ForgetStored();
    // Copies share the alternates: none of them may name a file that is
    // gone, whose name a later save may give to another item.
    for (const auto& alternate : alternates)
      if (alternate) alternate->dataPath.clear();
  }
  return deleted;
}

namespace {

template <typename Char>
bool SameText(const void* a, const void* b, std::uint32_t bytes) {
  // The buffers hold the text with its terminator and two more zero bytes;
  // the compare stays within the stored size.
  size_t chars = bytes / sizeof(Char);
  const Char* x = static_cast<const Char*>(a);
  const Char* y = static_cast<const Char*>(b);
  for (size_t i = 0; i < chars; ++i) {
    if (x[i] != y[i]) return false;
    if (x[i] == 0) return true;
  }
  return true;
}

}  // namespace

bool IsSameContent(const CCHItem& a, const CCHItem& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case kHistoryKindBrindle:
      return false;
    case kHistoryKindBitmap:
      if (a.Bitmap() == b.Bitmap()) return true;
      return a.BitmapFingerprint() == b.BitmapFingerprint() && SamePixels(a.Bitmap(), b.Bitmap());
    default:
      if (a.Size() != b.Size()) return false;
      if (!a.Data() || !b.Data()) return a.Data() == b.Data();
      return a.kind == kHistoryKindUnicode ? SameText<wchar_t>(a.Data(), b.Data(), a.Size())
                                           : SameText<char>(a.Data(), b.Data(), a.Size());
  }
}

int CompareSystemTimes(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  const WORD SYSTEMTIME::*fields[] = {&SYSTEMTIME::wYear,   &SYSTEMTIME::wMonth,
                                      &SYSTEMTIME::wDay,    &SYSTEMTIME::wHour,
                                      &SYSTEMTIME::wMinute, &SYSTEMTIME::wSecond,
                                      &SYSTEMTIME::wMilliseconds};
  for (auto field : fields) {
    if (a.*field != b.*field) return a.*field < b.*field ? -1 : 1;
  }
  return 0;
}
