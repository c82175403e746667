#include "phrases/insertion/clipboard_snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "phrases/insertion/clipboard_ops.h"
#include "phrases/tests/clipboard_and_dialogs.h"

namespace {

std::wstring ReadText() {
  std::vector<BYTE> b = ReadClipboardFormat(CF_UNICODETEXT);
  if (b.size() < 2) return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(b.data()));
}

void SetGlobal(UINT format, const void* data, size_t size) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, size);
  memcpy(GlobalLock(g), data, size);
  GlobalUnlock(g);
  ASSERT_TRUE(SetClipboardData(format, g) != nullptr) << format;
}

// Replaces the clipboard with a single text.
void PutText(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetGlobal(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * 2);
  CloseClipboard();
}

void EmptyTheClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

// A 3 x 2 bitmap with known pixels, as 32-bit top-down BGRA.
const DWORD kPixels[6] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456, 0x00FFFFFF, 0x00000000};

BITMAPINFO PixelsInfo() {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 3;
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  return bi;
}

HBITMAP MakeBitmap() {
  BITMAPINFO bi = PixelsInfo();
  HDC dc = GetDC(nullptr);
  HBITMAP bmp = CreateDIBitmap(dc, &bi.bmiHeader, CBM_INIT, kPixels, &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  return bmp;
}

// The pixels of the clipboard's image, read back through CF_BITMAP.
std::vector<DWORD> ClipboardPixels() {
  std::vector<DWORD> px(6, 0xDEADBEEF);
  if (!OpenClipboard(nullptr)) return {};
  HBITMAP bmp = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (bmp) {
    BITMAPINFO bi = PixelsInfo();
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, 2, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
  }
  CloseClipboard();
  if (!bmp) return {};
  for (DWORD& p : px) p &= 0x00FFFFFF;
  return px;
}

HENHMETAFILE MakeEnhMetaFile() {
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  Rectangle(dc, 1, 2, 30, 40);
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 25, 35);
  return CloseEnhMetaFile(dc);
}

std::vector<BYTE> EnhBits(HENHMETAFILE emf) {
  std::vector<BYTE> bits(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
  return bits;
}

const BYTE kRegistered[] = {0x00, 0x01, 0xFF, 0x7F, 'Q', 'L', 'R', 0x00, 0x00, 0x80, 0x10, 0x20, 0x30};

TEST(ClipboardSnapshotTest, RestoresTextLocaleRegisteredFormatAndImage) {
  const UINT custom = RegisterClipboardFormatW(L"Quillora Snapshot Test Format");
  ASSERT_NE(custom, 0u);
  const std::wstring text = L"Gr\u00FC\u00DFe \u4E16\u754C";
  const LCID locale = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetGlobal(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * 2);
  SetGlobal(CF_LOCALE, &locale, sizeof(locale));
  SetGlobal(custom, kRegistered, sizeof(kRegistered));
  ASSERT_TRUE(SetClipboardData(CF_BITMAP, MakeBitmap()) != nullptr);
  CloseClipboard();
  ASSERT_EQ(ClipboardPixels(), std::vector<DWORD>(kPixels, kPixels + 6));

  CClipboardSnapshot snap;
  bool sawRegistered = false;
  for (const auto& e : snap.Entries()) {
    // Handles of GDI objects are never copied as if they were memory.
    EXPECT_NE(e.format, static_cast<UINT>(CF_BITMAP));
    EXPECT_NE(e.format, static_cast<UINT>(CF_PALETTE));
    if (e.format == custom) {
      sawRegistered = true;
      EXPECT_EQ(e.name, L"Quillora Snapshot Test Format");
    }
    if (e.format <= CF_ENHMETAFILE) EXPECT_TRUE(e.name.empty()) << e.format;
  }
  EXPECT_TRUE(sawRegistered);

  PutText(L"something else");
  ASSERT_TRUE(snap.Restore());
  EXPECT_EQ(ReadText(), text);
  std::vector<BYTE> loc = ReadClipboardFormat(CF_LOCALE);
  ASSERT_GE(loc.size(), sizeof(LCID));
  EXPECT_EQ(*reinterpret_cast<const LCID*>(loc.data()), locale);
  EXPECT_EQ(ReadClipboardFormat(custom), std::vector<BYTE>(kRegistered, kRegistered + sizeof(kRegistered)));
  EXPECT_EQ(ClipboardPixels(), std::vector<DWORD>(kPixels, kPixels + 6));
}

TEST(ClipboardSnapshotTest, KeepsAnEnhancedMetafileThroughItsBits) {
  HENHMETAFILE emf = MakeEnhMetaFile();
  ASSERT_TRUE(emf != nullptr);
  const std::vector<BYTE> bits = EnhBits(emf);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  ASSERT_TRUE(SetClipboardData(CF_ENHMETAFILE, emf) != nullptr);
  CloseClipboard();

  CClipboardSnapshot snap;
  PutText(L"over the picture");
  ASSERT_TRUE(snap.Restore());
  ASSERT_TRUE(OpenClipboard(nullptr));
  HENHMETAFILE back = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  std::vector<BYTE> backBits = back ? EnhBits(back) : std::vector<BYTE>();
  CloseClipboard();
  EXPECT_EQ(backBits, bits);
}

TEST(ClipboardSnapshotTest, EmptySnapshotLeavesTheClipboardAlone) {
  EmptyTheClipboard();
  CClipboardSnapshot snap;
  EXPECT_TRUE(snap.Entries().empty());
  PutText(L"the phrase");
  EXPECT_FALSE(snap.Restore());
  EXPECT_EQ(ReadText(), L"the phrase");
}

TEST(ClipboardSnapshotTest, SaveFailsAndKeepsEntriesWhileAnotherHoldsTheClipboard) {
  PutText(L"first");
  CClipboardSnapshot snap;
  ASSERT_FALSE(snap.Entries().empty());
  const size_t before = snap.Entries().size();

  // Another thread holds the clipboard open.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  struct Ctx { HANDLE opened, release; } ctx{opened, release};
  HANDLE th = CreateThread(nullptr, 0, [](void* p) -> DWORD {
    auto* c = static_cast<Ctx*>(p);
    HWND w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    OpenClipboard(w);
    SetEvent(c->opened);
    WaitForSingleObject(c->release, 10000);
    CloseClipboard();
    DestroyWindow(w);
    return 0;
  }, &ctx, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
  EXPECT_FALSE(snap.Save());
  EXPECT_EQ(snap.Entries().size(), before);
  EXPECT_FALSE(snap.Restore());
  SetEvent(release);
  WaitForSingleObject(th, 5000);
  CloseHandle(th);
  CloseHandle(opened);
  CloseHandle(release);
  EXPECT_EQ(ReadText(), L"first");
}

// The keeper puts a snapshot back only while a request runs.
TEST(ClipboardKeeperTest, ArmingRules) {
  struct Case {
    const char* name;
    bool save;            // a request starts (Save) after construction
    int ending;           // 0 none, 1 RestoreIfArmed, 2 Disarm (insertion done)
    bool expectRestored;  // by the ending call
    const wchar_t* afterDestroy;
  };
  const Case cases[] = {
      {"no request: destruction leaves the clipboard", false, 0, false, L"user's new text"},
      {"nothing chosen: restored once", true, 1, true, L"user's new text"},
      {"insertion done: phrase stays", true, 2, false, L"user's new text"},
      {"program ends during a request", true, 0, false, L"before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutText(L"before");
    {
      CClipboardKeeper keeper(1);
      EXPECT_FALSE(keeper.IsArmed());
      if (c.save) {
        EXPECT_GE(keeper.Save(), 1);
        EXPECT_TRUE(keeper.IsArmed());
      }
      PutText(L"request text");
      if (c.ending == 1) {
        EXPECT_TRUE(keeper.RestoreIfArmed());
        EXPECT_EQ(ReadText(), L"before");
        EXPECT_FALSE(keeper.IsArmed());
        EXPECT_FALSE(keeper.RestoreIfArmed());  // once only
      } else if (c.ending == 2) {
        keeper.Disarm();
        EXPECT_FALSE(keeper.RestoreIfArmed());
        EXPECT_EQ(ReadText(), L"request text");
      }
      if (c.ending != 0 || !c.save) PutText(L"user's new text");
    }
    EXPECT_EQ(ReadText(), c.afterDestroy);
  }
}

TEST(ClipboardOpsTest, TextCopyAndPutOperations) {
  EmptyTheClipboard();
  EXPECT_EQ(GetClipboardTextCopy(), nullptr);
  FreeClipboardTextCopy(nullptr);

  const std::wstring text = L"line one\r\nline \u00E9";
  ASSERT_TRUE(PutTextOnClipboard(text));
  wchar_t* copy = GetClipboardTextCopy();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::wstring(copy), text);
  FreeClipboardTextCopy(copy);
  std::vector<BYTE> loc = ReadClipboardFormat(CF_LOCALE);
  ASSERT_GE(loc.size(), sizeof(LCID));
  EXPECT_EQ(*reinterpret_cast<const LCID*>(loc.data()), GetThreadLocale());

  // Several formats at once, set in ascending id, and nothing for an empty table.
  const UINT a = RegisterClipboardFormatW(L"Quillora Test A");
  const UINT b = RegisterClipboardFormatW(L"Quillora Test B");
  ClipboardFormatTable table;
  table[b] = {1, 2, 3};
  table[a] = {9};
  ASSERT_TRUE(PutFormatsOnClipboard(table));
  EXPECT_EQ(ReadClipboardFormat(a), std::vector<BYTE>({9}));
  EXPECT_EQ(ReadClipboardFormat(b), std::vector<BYTE>({1, 2, 3}));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::vector<UINT> order;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
    if (f == a || f == b) order.push_back(f);
  CloseClipboard();
  EXPECT_EQ(order, std::vector<UINT>({std::min(a, b), std::max(a, b)}));
  EXPECT_FALSE(PutFormatsOnClipboard({}));
  EXPECT_EQ(ReadClipboardFormat(a), std::vector<BYTE>({9}));
}

TEST(ClipboardOpsTest, CaretPacing) {
  struct Case {
    int n;
    std::vector<int> sleeps;
  };
  const Case cases[] = {
      {0, {}},
      {1, {}},
      {3, {2, 3}},
      {4, {3}},
      {10, {3, 5, 7, 9}},
      {11, {5, 9}},  // k = 4
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CaretPacingSleeps(c.n), c.sleeps) << c.n;
  }
  // Above 100 presses the pause comes every n / 100 presses.
  std::vector<int> s = CaretPacingSleeps(250);
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s[0], 3);
  EXPECT_EQ(s.size(), 124u);
}

}  // namespace
