#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "editor_settings/helpers/bold_check_box.h"
#include "editor_settings/helpers/window_text_painter.h"

namespace {

constexpr UINT kNoteId = 4711;
constexpr UINT kProbeMessage = WM_APP + 17;
constexpr LRESULT kProbeAnswer = 1234;

// A plain top-level window of the static class: the painter only needs
// its client rectangle.
struct TestWindow {
  HWND hWnd;
  TestWindow(int w, int h)
      : hWnd(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, w, h, nullptr, nullptr, nullptr,
                               nullptr)) {}
  ~TestWindow() { ::DestroyWindow(hWnd); }
};

class NotePainter : public CWindowTextPainter {
 public:
  using CWindowTextPainter::CWindowTextPainter;
  bool shown = true;
  bool IsTextShown() const override { return shown; }
};

// A memory DC of the window's client size, filled with a marker colour.
struct Canvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  int w, h;
  Canvas(int width, int height) : w(width), h(height) {
    HDC screen = ::GetDC(nullptr);
    dc = ::CreateCompatibleDC(screen);
    bitmap = ::CreateCompatibleBitmap(screen, w, h);
    ::ReleaseDC(nullptr, screen);
    old = ::SelectObject(dc, bitmap);
    HBRUSH marker = ::CreateSolidBrush(RGB(255, 0, 255));
    RECT rc = {0, 0, w, h};
    ::FillRect(dc, &rc, marker);
    ::DeleteObject(marker);
  }
  ~Canvas() {
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
  int Count(COLORREF colour, RECT* box = nullptr) const {
    int n = 0;
    if (box) *box = {w, h, -1, -1};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (::GetPixel(dc, x, y) != colour) continue;
        ++n;
        if (box) {
          box->left = std::min<LONG>(box->left, x);
          box->top = std::min<LONG>(box->top, y);
          box->right = std::max<LONG>(box->right, x);
          box->bottom = std::max<LONG>(box->bottom, y);
        }
      }
    return n;
  }
};

TEST(WindowTextPainterTest, DrawsTheLocalisedTextCentredAndNothingWithoutOne) {
  TestWindow window(200, 60);
  ASSERT_NE(nullptr, window.hWnd);
  NotePainter painter(window.hWnd);
  painter.SetStringId(kNoteId);
  EXPECT_EQ(L"No phrase selected", painter.GetText());
  {
    Canvas canvas(200, 60);
    painter.Paint(canvas.dc);
    EXPECT_EQ(0, canvas.Count(RGB(255, 0, 255))) << "the background was not filled";
    int background = canvas.Count(::GetSysColor(COLOR_WINDOW));
    EXPECT_LT(background, 200 * 60) << "no text was drawn";
    // The text's ink sits about the middle.
    RECT ink;
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_GRAYTEXT), &ink), 0);
    int middleX = (ink.left + ink.right) / 2, middleY = (ink.top + ink.bottom) / 2;
    EXPECT_NEAR(100, middleX, 12);
    EXPECT_NEAR(30, middleY, 8);
  }
  // An id without a string: the window is left as it was.
  painter.SetStringId(4712);
  EXPECT_EQ(L"", painter.GetText());
  Canvas untouched(200, 60);
  painter.Paint(untouched.dc);
  EXPECT_EQ(200 * 60, untouched.Count(RGB(255, 0, 255)));
  // Without its window the painter draws nothing either.
  NotePainter orphan(nullptr);
  orphan.SetStringId(kNoteId);
  orphan.Paint(untouched.dc);
  EXPECT_EQ(200 * 60, untouched.Count(RGB(255, 0, 255)));
}

// The procedure another subclass put on the first check box before: it
// answers its own message and counts the fonts that reach it.
WNDPROC g_buttonProc = nullptr;
int g_fontsSeen = 0;
LRESULT CALLBACK OtherSubclass(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbeMessage) return kProbeAnswer;
  if (msg == WM_SETFONT) ++g_fontsSeen;
  return ::CallWindowProcW(g_buttonProc, hWnd, msg, wParam, lParam);
}

HFONT FontOf(HWND hWnd) { return reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)); }

TEST(BoldWhenCheckedTest, EachBoxKeepsItsOwnProcedureAndTheFontFollowsChanges) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(nullptr, parent);
  auto makeBox = [parent](int y) {
    return ::CreateWindowExW(0, L"BUTTON", L"Option", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, y,
                             200, 20, parent, nullptr, nullptr, nullptr);
  };
  HWND subclassed = makeBox(0);
  HWND plain = makeBox(30);
  ASSERT_TRUE(subclassed && plain);
  g_buttonProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(subclassed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OtherSubclass)));
  ::SendMessageW(subclassed, BM_SETCHECK, BST_CHECKED, 0);

  ASSERT_TRUE(SetBoldWhenChecked(subclassed));
  ASSERT_TRUE(SetBoldWhenChecked(plain));
  HFONT bold = GetBoldCheckBoxFont();
  HFONT normal = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_NE(nullptr, bold);
  EXPECT_EQ(bold, FontOf(subclassed)) << "the font of the present state is set at once";
  EXPECT_EQ(normal, FontOf(plain));

  // Each box reaches its own previous procedure.
  EXPECT_EQ(kProbeAnswer, ::SendMessageW(subclassed, kProbeMessage, 0, 0));
  EXPECT_NE(kProbeAnswer, ::SendMessageW(plain, kProbeMessage, 0, 0));

  // The font changes with the state, and only then.
  int fonts = g_fontsSeen;
  ::SendMessageW(subclassed, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(fonts, g_fontsSeen) << "the same state set again changed the font";
  ::SendMessageW(subclassed, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(fonts + 1, g_fontsSeen);
  EXPECT_EQ(normal, FontOf(subclassed));
  EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(subclassed, BM_GETCHECK, 0, 0));

  ::SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(bold, FontOf(plain));
  EXPECT_EQ(BST_CHECKED, ::SendMessageW(plain, BM_GETCHECK, 0, 0));
  ::SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(normal), FALSE);
  ::SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(normal, FontOf(plain)) << "an unchanged state must leave the font alone";
  // A second call subclasses nothing more and keeps the box working.
  EXPECT_TRUE(SetBoldWhenChecked(plain));
  ::SendMessageW(plain, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(normal, FontOf(plain));
  ::SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(bold, FontOf(plain));

  EXPECT_FALSE(SetBoldWhenChecked(nullptr));
  ::DestroyWindow(parent);  // the subclasses end with their windows
}

}  // namespace
