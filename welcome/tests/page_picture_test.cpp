// The suite's own pages as the HTML view draws them: the welcome program's
// built-in page and style sheet, taken from the built program's resources,
// and an update page with two news items from the page builder, each painted
// into a DIB and read as a picture: where its boxes, columns and corner text
// stand, not pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "online/update_info.h"
#include "online/update_page/update_page.h"
#include "platform/htmlayout/htmlayout.h"
#include "welcome/welcome_page.h"

namespace {

struct Box {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
  long long count = 0;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  int MidX() const { return (left + right) / 2; }
  int MidY() const { return (top + bottom) / 2; }
  bool Empty() const { return count == 0; }
  void Add(int x, int y) {
    if (count++ == 0) left = right = x, top = bottom = y;
    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  }
};

class Picture {
 public:
  Picture(int w, int h) : m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h, 0) {}
  int Width() const { return m_w; }
  int Height() const { return m_h; }
  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return 0xFFFFFFFF;
    const UINT32 v = m_px[static_cast<size_t>(y) * m_w + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  UINT32* Bits() { return m_px.data(); }

  // The bounding box of every pixel that passes, within the area.
  template <class Pred>
  Box Where(Pred pred, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const {
    Box box;
    if (x1 < 0) x1 = m_w;
    if (y1 < 0) y1 = m_h;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (pred(At(x, y))) box.Add(x, y);
    return box;
  }

  // The regions of one colour (four-connected) of at least minCount pixels,
  // top to bottom.
  std::vector<Box> Regions(COLORREF color, long long minCount) const {
    std::vector<char> seen(m_px.size(), 0);
    std::vector<Box> out;
    std::vector<int> stack;
    for (int start = 0; start < m_w * m_h; ++start) {
      if (seen[start] || At(start % m_w, start / m_w) != color) continue;
      Box box;
      stack.assign(1, start);
      seen[start] = 1;
      while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int x = i % m_w, y = i / m_w;
        box.Add(x, y);
        const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& n : next) {
          if (n[0] < 0 || n[1] < 0 || n[0] >= m_w || n[1] >= m_h) continue;
          const int j = n[1] * m_w + n[0];
          if (!seen[j] && At(n[0], n[1]) == color) seen[j] = 1, stack.push_back(j);
        }
      }
      if (box.count >= minCount) out.push_back(box);
    }
    std::sort(out.begin(), out.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
    return out;
  }

 private:
  int m_w, m_h;
  std::vector<UINT32> m_px;
};

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// A resource of the built welcome program (type 23, as the program reads it).
std::string WelcomeResource(int id) {
  HMODULE module = LoadLibraryExW(L"Quillora_Welcome.exe", nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return std::string();
  std::string out;
  if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(23))) {
    HGLOBAL data = LoadResource(module, res);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (bytes) out.assign(static_cast<const char*>(bytes), SizeofResource(module, res));
  }
  FreeLibrary(module);
  return out;
}

// Answers the view's requests for style sheets as the welcome window does.
LRESULT CALLBACK HandOverSheet(UINT msg, WPARAM, LPARAM lParam, LPVOID param) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  const auto* sheet = static_cast<const std::string*>(param);
  if (msg != WM_NOTIFY || !header || header->code != HLN_LOAD_DATA || !sheet || sheet->empty()) return LOAD_OK;
  auto* nm = reinterpret_cast<NMHL_LOAD_DATA*>(lParam);
  if (nm->dataType == HLRT_DATA_STYLE)
    HTMLayoutDataReady(header->hwndFrom, nm->uri, reinterpret_cast<BYTE*>(const_cast<char*>(sheet->data())),
                       static_cast<DWORD>(sheet->size()));
  return LOAD_OK;
}

// The page loaded into a view of w x h pixels and painted into a DIB.
Picture Render(const std::string& page, const std::wstring& base, const std::string& sheet, int w, int h) {
  Picture picture(w, h);
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, w, h, nullptr, nullptr, nullptr, nullptr);
  HWND view = CreateWindowExW(0, HTMLayoutClassNameW(), L"", WS_CHILD | WS_VISIBLE, 0, 0, w, h, host, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(view, nullptr);
  if (!view) return picture;
  HTMLayoutSetCallback(view, HandOverSheet, const_cast<std::string*>(&sheet));
  auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(page.data()));
  EXPECT_TRUE(base.empty() ? HTMLayoutLoadHtml(view, bytes, static_cast<UINT>(page.size()))
                           : HTMLayoutLoadHtmlEx(view, bytes, static_cast<UINT>(page.size()), base.c_str()));
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc && dib && bits) {
    HGDIOBJ old = SelectObject(dc, dib);
    SendMessageW(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    memcpy(picture.Bits(), bits, static_cast<size_t>(w) * h * 4);
    SelectObject(dc, old);
  }
  if (dib) DeleteObject(dib);
  if (dc) DeleteDC(dc);
  DestroyWindow(host);
  return picture;
}

// A box of the page: its background fills it, its border colour runs along
// the named sides, and its rounded corner leaves the corner pixel of the
// border box to the page.
void ExpectFramedBox(const Picture& p, const Box& fill, COLORREF border, bool allSides, COLORREF page,
                     const char* what) {
  SCOPED_TRACE(what);
  ASSERT_FALSE(fill.Empty());
  EXPECT_GT(fill.Width(), 40);
  EXPECT_GT(fill.Height(), 12);
  EXPECT_GE(fill.count * 10, 6LL * fill.Width() * fill.Height()) << "the background fills its box";
  EXPECT_EQ(p.At(fill.MidX(), fill.top - 1), border) << "top edge";
  if (allSides) {
    EXPECT_EQ(p.At(fill.left - 1, fill.MidY()), border) << "left edge";
    EXPECT_EQ(p.At(fill.right + 1, fill.MidY()), border) << "right edge";
    EXPECT_EQ(p.At(fill.MidX(), fill.bottom + 1), border) << "bottom edge";
  }
  EXPECT_EQ(p.At(fill.left - 1, fill.top - 1), page) << "the rounded corner leaves its pixel";
  EXPECT_EQ(p.At(fill.right + 1, fill.bottom + 1), page) << "the rounded corner leaves its pixel";
}

bool Greenish(COLORREF c) {
  return GetGValue(c) > GetRValue(c) + 60 && GetGValue(c) > GetBValue(c) + 60;
}

TEST(PagePictureTest, BuiltInWelcomePage) {
  const std::string builtIn = WelcomeResource(201), sheet = WelcomeResource(202);
  ASSERT_FALSE(builtIn.empty());
  ASSERT_FALSE(sheet.empty());
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder.resize(folder.find_last_of(L'\\') + 1);
  const std::wstring base = GetWelcomeBaseFolder(folder);
  WelcomePageRecord record = ChooseWelcomePage(base, L"", builtIn);
  WelcomeFillRecord fill;
  fill.hotkeyBlock = BuildHotkeyBlock(true, 'Q', MOD_CONTROL, false, L"Current Hotkey", L"unknown", L"twice");
  fill.rssUrl = L"https://www.quillora.example/news_en.xml";
  fill.subscribeUrl = L"https://www.quillora.example/subscribe";
  fill.languageBlock = BuildLanguageBlock(record.label, record.fallback, base);
  const std::wstring version = BuildWelcomeVersionText(L"2, 6, 0, 7", L"Dec 10 2026 01:00:00");
  const std::string page = FillWelcomePage(record.text, fill, &version);

  const int w = 780, h = 560;
  const Picture p = Render(page, record.baseUrl, sheet, w, h);
  const COLORREF white = RGB(255, 255, 255);

  // The hotkey box: lemon chiffon inside a forest-green frame, rounded.
  const std::vector<Box> hotkey = p.Regions(RGB(255, 250, 205), 500);
  ASSERT_EQ(hotkey.size(), 1u);
  ExpectFramedBox(p, hotkey[0], RGB(34, 139, 34), true, white, "hotkey box");

  // The two columns: their headings stand level, one in each half, and no
  // ink crosses the gutter between them from the headings down to the end
  // of the hotkey box.
  const Box title = p.Where(Greenish, 0, 0, w, hotkey[0].top);
  ASSERT_FALSE(title.Empty());
  int row = title.top;
  while (row < hotkey[0].top && !p.Where(Greenish, 0, row, w, row + 1).Empty()) ++row;  // past the page title
  const Box headings = p.Where(Greenish, 0, row, w, hotkey[0].top);
  ASSERT_FALSE(headings.Empty());
  const int band = headings.top + 30;
  const Box left = p.Where(Greenish, 0, headings.top, w / 2, band);
  const Box right = p.Where(Greenish, w / 2, headings.top, w, band);
  ASSERT_FALSE(left.Empty());
  ASSERT_FALSE(right.Empty());
  EXPECT_LT(left.right, right.left);
  EXPECT_LE(std::abs(left.top - right.top), 2) << "the columns' tops are level";
  EXPECT_LT(left.right, w / 2);
  EXPECT_GT(right.left, w / 2);
  EXPECT_LT(hotkey[0].right, w / 2) << "the hotkey box stays in the left column";
  auto ink = [&](COLORREF c) { return c != white; };
  EXPECT_TRUE(p.Where(ink, w / 2 - 4, headings.top, w / 2 + 4, hotkey[0].bottom + 1).Empty()) << "the gutter";
  EXPECT_FALSE(p.Where(ink, w / 2 + 10, hotkey[0].top, w, hotkey[0].bottom + 1).Empty())
      << "the right column beside the hotkey box";

  // The version line and the language block: in the bottom-right quarter.
  const Box red = p.Where([](COLORREF c) { return c == RGB(255, 0, 0); });
  ASSERT_FALSE(red.Empty()) << "the language block";
  EXPECT_GE(red.left, w / 2);
  EXPECT_GE(red.top, h / 2);
  const Box gray = p.Where([](COLORREF c) { return c == RGB(169, 169, 169); }, 0, h / 2, w, h);
  ASSERT_FALSE(gray.Empty()) << "the version text";
  EXPECT_GE(gray.left, w / 2);
  EXPECT_GT(gray.right, w - 40) << "flush with the right edge";
  EXPECT_GT(std::max(gray.bottom, red.bottom), h - 40) << "at the bottom";
}

TEST(PagePictureTest, UpdatePageWithTwoNewsItems) {
  CUpdateInfo record;
  for (int i = 1; i <= 2; ++i) {
    CNewsItem item;
    item.title = L"Release " + std::to_wstring(i);
    item.link = L"http://example.test/n" + std::to_wstring(i);
    item.description = L"A description with <b>markup</b> long enough to wrap over the width of the view once.";
    item.pubDate = L"Mon, 07 Dec 2026";
    item.author = L"The team";
    record.news.push_back(item);
  }
  UpdatePageContext context;
  context.lastCheckText = L"10.12.2026 01:00";
  context.buildDateText = L"Dec 10 2026";
  const std::string page = Utf8(BuildUpdatePage(record, context));
  const int w = 700, h = 1400;
  const Picture p = Render(page, L"", std::string(), w, h);
  const COLORREF white = RGB(255, 255, 255), darkgray = RGB(169, 169, 169);

  // The settings box: white smoke in a dark gray frame with round corners.
  const std::vector<Box> smoke = p.Regions(RGB(245, 245, 245), 2000);
  ASSERT_FALSE(smoke.empty());
  ExpectFramedBox(p, smoke[0], darkgray, true, white, "settings box");

  // Each news title: lemon chiffon framed dark gray with round corners;
  // the item around it shows its dark gray top border just above.
  const std::vector<Box> titles = p.Regions(RGB(255, 250, 205), 500);
  ASSERT_EQ(titles.size(), 2u);
  for (const Box& t : titles) {
    ExpectFramedBox(p, t, darkgray, true, white, "news title");
    bool itemTop = false;
    for (int y = t.top - 3; y >= t.top - 12 && !itemTop; --y) itemTop = p.At(t.MidX(), y) == darkgray;
    EXPECT_TRUE(itemTop) << "the news item's top border";
    EXPECT_GT(t.top, smoke[0].bottom);
  }
  EXPECT_GT(titles[1].top, titles[0].bottom);
}

// An 8 x 8 checkerboard of red and green 4 x 4 squares, as a 24-bit BMP.
bool WriteCheckerTile(const std::wstring& path) {
  const int side = 8;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = side;
  info.biHeight = side;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::string pixels;
  for (int y = side - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < side; ++x) {
      const bool red = (x < 4) != (y < 4);
      pixels += std::string{'\0', static_cast<char>(red ? 0 : 255), static_cast<char>(red ? 255 : 0)};  // B G R
    }
  }
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, &file, sizeof(file), &written, nullptr) &&
            WriteFile(h, &info, sizeof(info), &written, nullptr) &&
            WriteFile(h, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(h);
  return ok;
}

// The bands of rows (top, bottom inclusive) in which some pixel passes.
template <class Pred>
std::vector<std::pair<int, int>> RowBands(const Picture& p, Pred pred) {
  std::vector<std::pair<int, int>> bands;
  for (int y = 0; y < p.Height(); ++y) {
    if (p.Where(pred, 0, y, p.Width(), y + 1).Empty()) continue;
    if (!bands.empty() && bands.back().second == y - 1) bands.back().second = y;
    else bands.emplace_back(y, y);
  }
  return bands;
}

// What the page sheets may ask of a block beyond the suite's own pages: a
// first-line indent, text flowing beside a float and on below it, tiled,
// placed and sized background images, and dashed, double and wide borders.
TEST(PagePictureTest, IndentFloatsBackgroundImagesAndBorderStyles) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"qlr_page_picture_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(WriteCheckerTile(folder + L"tile.bmp"));
  std::string words;
  for (int i = 0; i < 30; ++i) words += "brown words flow beside the float ";
  const std::string page =
      "<html><head><style>"
      "#indent { text-indent: 40px; width: 300px; color: #000080 }"
      "#float { float: left; width: 100px; padding: 40px 0; background-color: #0000FF }"
      "#flow { color: #804000 }"
      "#boxed { color: #008000; margin: 4px 0 }"
      "#full { float: right; background-color: #C0C0FF; padding: 6px 0 }"
      "#after { color: #400040 }"
      "#tiles { background: url(tile.bmp) repeat; padding: 30px; width: 200px; margin-top: 10px }"
      "#row { background-image: url(tile.bmp); background-repeat: repeat-x; padding: 30px; width: 200px; "
      "margin-top: 10px }"
      "#corner { background: #E0E0E0 url(tile.bmp) no-repeat right bottom; background-size: 16px 16px; "
      "padding: 30px; width: 200px; margin-top: 10px }"
      "#dashed { border: 2px dashed #800080; padding: 10px; width: 300px; margin-top: 10px }"
      "#double { border: double #008080; padding: 10px; width: 300px; margin-top: 10px }"
      "#wide { border: 5px solid #FF8000; padding: 10px; width: 300px; margin-top: 10px }"
      "#inline { background: url(tile.bmp) repeat-x }"
      "</style></head><body>"
      "<p id=indent>The first line of this paragraph starts further right than the lines that follow it "
      "once it wraps.</p>"
      "<div id=float>&nbsp;</div><p id=boxed>Green text in a paragraph with margins of its own.</p>"
      "<span id=flow>" + words + "</span><div id=full>&nbsp;</div><span id=after>after</span>"
      "<div id=tiles>&nbsp;</div><div id=row>&nbsp;</div><div id=corner>&nbsp;</div>"
      "<div id=dashed>&nbsp;</div><div id=double>&nbsp;</div><div id=wide>&nbsp;</div>"
      "<div><span id=inline>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</span></div>"
      "</body></html>";
  const int w = 780, h = 1100;
  const Picture p = Render(page, folder + L"page.html", std::string(), w, h);
  DeleteFileW((folder + L"tile.bmp").c_str());
  RemoveDirectoryW(folder.c_str());

  // The indent: the first line's ink starts 40 pixels right of the second's.
  const auto navy = [](COLORREF c) { return c == RGB(0, 0, 128); };
  const std::vector<std::pair<int, int>> lines = RowBands(p, navy);
  ASSERT_GE(lines.size(), 2u);
  const Box first = p.Where(navy, 0, lines[0].first, w, lines[0].second + 1);
  const Box second = p.Where(navy, 0, lines[1].first, w, lines[1].second + 1);
  EXPECT_GE(first.left, second.left + 35);
  EXPECT_LE(first.left, second.left + 45);

  // Beside the float the text starts right of it, also in a paragraph with
  // a box of its own; below it, at the left.
  const std::vector<Box> floats = p.Regions(RGB(0, 0, 255), 2000);
  ASSERT_EQ(floats.size(), 1u);
  const Box& f = floats[0];
  EXPECT_GE(f.Height(), 80);
  const auto brown = [](COLORREF c) { return c == RGB(128, 64, 0); };
  const Box beside = p.Where(brown, 0, f.top, w, f.bottom + 1);
  ASSERT_FALSE(beside.Empty()) << "text beside the float";
  EXPECT_GT(beside.left, f.right);
  const Box green = p.Where([](COLORREF c) { return c == RGB(0, 128, 0); });
  ASSERT_FALSE(green.Empty());
  EXPECT_GT(green.left, f.right) << "the paragraph's text beside the float";
  EXPECT_LE(std::abs(green.top - f.top - 4), 6) << "level with the float, below its margin";
  EXPECT_GT(beside.top, green.bottom);
  const Box below = p.Where(brown, 0, f.bottom + 1, w, h);
  ASSERT_FALSE(below.Empty()) << "text below the float";
  EXPECT_LT(below.left, f.right) << "the full width again below the float";
  const std::vector<Box> full = p.Regions(RGB(192, 192, 255), 2000);
  ASSERT_EQ(full.size(), 1u);
  EXPECT_GE(full[0].Width(), w - 40) << "a float without a width takes the whole width";
  const Box after = p.Where([](COLORREF c) { return c == RGB(64, 0, 64); });
  ASSERT_FALSE(after.Empty());
  EXPECT_GT(after.top, full[0].bottom) << "so what follows goes below it";
  EXPECT_LE(after.left, full[0].left + 4);

  // Tiles: a checkerboard repeated every 8 pixels across and down the
  // first box, one row of tiles in the second, one tile at 16 x 16 in the
  // bottom-right corner of the third, and a row of them behind the blanks
  // of an inline element.
  const auto tile = [](COLORREF c) { return c == RGB(255, 0, 0) || c == RGB(0, 255, 0); };
  const std::vector<std::pair<int, int>> tiled = RowBands(p, tile);
  ASSERT_EQ(tiled.size(), 4u);
  const Box all = p.Where(tile, 0, tiled[0].first, w, tiled[0].second + 1);
  EXPECT_GE(all.Width(), 200);
  EXPECT_GE(all.Height(), 60);
  int differ = 0;
  for (int y = all.top; y + 8 <= all.bottom; y += 3) {
    for (int x = all.left; x + 8 <= all.right; x += 3) {
      ASSERT_TRUE(tile(p.At(x, y))) << x << "," << y;
      ASSERT_EQ(p.At(x, y), p.At(x + 8, y)) << "period 8 across at " << x << "," << y;
      ASSERT_EQ(p.At(x, y), p.At(x, y + 8)) << "period 8 down at " << x << "," << y;
      differ += p.At(x, y) != p.At(x + 4, y);
    }
  }
  EXPECT_GT(differ, 100) << "the two colours alternate every 4 pixels";
  const Box row = p.Where(tile, 0, tiled[1].first, w, tiled[1].second + 1);
  EXPECT_EQ(row.Height(), 8) << "repeat-x: one row of tiles";
  EXPECT_GE(row.Width(), 200);
  const Box corner = p.Where(tile, 0, tiled[2].first, w, tiled[2].second + 1);
  EXPECT_EQ(corner.Width(), 16);
  EXPECT_EQ(corner.Height(), 16);
  const COLORREF gray = RGB(224, 224, 224);
  EXPECT_EQ(p.At(corner.left - 1, corner.MidY()), gray) << "the box's background left of the image";
  EXPECT_EQ(p.At(corner.MidX(), corner.top - 1), gray) << "the box's background above the image";
  EXPECT_NE(p.At(corner.right + 1, corner.MidY()), gray) << "the image ends at the box's right edge";
  EXPECT_NE(p.At(corner.MidX(), corner.bottom + 1), gray) << "the image ends at the box's bottom edge";
  const Box span = p.Where(tile, 0, tiled[3].first, w, tiled[3].second + 1);
  EXPECT_EQ(span.Height(), 8) << "repeat-x behind the text";
  EXPECT_GE(span.Width(), 40);
  for (int x = span.left; x + 8 <= span.right; ++x) ASSERT_EQ(p.At(x, span.top), p.At(x + 8, span.top)) << x;

  // A dashed border two pixels deep has gaps along its top edge.
  const auto purple = [](COLORREF c) { return c == RGB(128, 0, 128); };
  const Box dashed = p.Where(purple);
  ASSERT_FALSE(dashed.Empty());
  int gaps = 0;
  for (int x = dashed.left + 1; x <= dashed.right; ++x)
    gaps += purple(p.At(x - 1, dashed.top)) && !purple(p.At(x, dashed.top));
  EXPECT_GE(gaps, 20) << "dashes with gaps between them";
  for (int x = dashed.left + 2; x <= dashed.right - 2; ++x) {
    ASSERT_EQ(purple(p.At(x, dashed.top)), purple(p.At(x, dashed.top + 1))) << "two pixels deep at " << x;
    ASSERT_FALSE(purple(p.At(x, dashed.top + 2))) << x;
  }

  // A double border: two one-pixel lines with a pixel between them.
  const COLORREF teal = RGB(0, 128, 128);
  const Box twin = p.Where([&](COLORREF c) { return c == teal; });
  ASSERT_FALSE(twin.Empty());
  for (int y : {twin.MidY(), twin.top + 5}) {
    EXPECT_EQ(p.At(twin.left, y), teal);
    EXPECT_NE(p.At(twin.left + 1, y), teal);
    EXPECT_EQ(p.At(twin.left + 2, y), teal);
    EXPECT_NE(p.At(twin.left + 3, y), teal);
    EXPECT_EQ(p.At(twin.right, y), teal);
    EXPECT_NE(p.At(twin.right - 1, y), teal);
    EXPECT_EQ(p.At(twin.right - 2, y), teal);
  }

  // A solid border five pixels wide.
  const COLORREF orange = RGB(255, 128, 0);
  const Box wide = p.Where([&](COLORREF c) { return c == orange; });
  ASSERT_FALSE(wide.Empty());
  for (int d = 0; d < 5; ++d) {
    EXPECT_EQ(p.At(wide.MidX(), wide.top + d), orange) << d;
    EXPECT_EQ(p.At(wide.left + d, wide.MidY()), orange) << d;
    EXPECT_EQ(p.At(wide.MidX(), wide.bottom - d), orange) << d;
  }
  EXPECT_NE(p.At(wide.MidX(), wide.top + 5), orange);
  EXPECT_NE(p.At(wide.left + 5, wide.MidY()), orange);
}

}  // namespace
