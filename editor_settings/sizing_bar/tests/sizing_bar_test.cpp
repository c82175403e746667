#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor_settings/sizing_bar/sizing_control_bar_cf.h"
#include "editor_settings/sizing_bar/sizing_control_bar_g.h"
#include "tests/support/test_support.h"

namespace {

constexpr UINT kPhrasesId = 0xE840;
constexpr UINT kSettingsId = 0xE841;

// The editor's arrangement: the phrase pane (caption) on the left, the
// settings pane (gripper) on the right, a view between, a status bar below.
class CPaneFrame : public CFrameWnd {
 public:
  CStatusBar m_statusBar;
  CSizingControlBarCF m_phrases;
  CSizingControlBarG m_settings;
  CWnd m_view;
  CWnd m_phraseChild;

  static CPaneFrame* Make() {
    auto* frame = new CPaneFrame;
    if (!frame->Create(nullptr, L"pane demo", WS_OVERLAPPEDWINDOW, CRect(20, 20, 820, 620))) return nullptr;
    frame->RecalcLayout();
    return frame;
  }
  int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT kIndicators[] = {ID_SEPARATOR};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(kIndicators, 1)) return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_phrases.Create(L"Phrases", this, CSize(260, 300), TRUE, kPhrasesId,
                          WS_CHILD | WS_VISIBLE | CBRS_LEFT | SCBS_SIZECHILD))
      return -1;
    if (!m_settings.Create(L"Settings", this, CSize(100, 395), TRUE, kSettingsId, WS_CHILD | WS_VISIBLE | CBRS_RIGHT))
      return -1;
    if (!m_phraseChild.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &m_phrases, 1243)) return -1;
    m_phrases.EnableDocking(CBRS_ALIGN_LEFT);
    m_settings.EnableDocking(CBRS_ALIGN_RIGHT);
    if (!DockControlBar(&m_phrases, AFX_IDW_DOCKBAR_LEFT) || !DockControlBar(&m_settings, AFX_IDW_DOCKBAR_RIGHT))
      return -1;
    if (!m_view.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), this, AFX_IDW_PANE_FIRST))
      return -1;
    return 0;
  }
  CRect InFrame(HWND wnd) const {
    CRect r;
    ::GetWindowRect(wnd, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&r), 2);
    return r;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPaneFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

struct Panes {
  CPaneFrame* frame = CPaneFrame::Make();
  ~Panes() {
    if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CRect Window(const CWnd& w) const {
    CRect r;
    w.GetWindowRect(&r);
    return r;
  }
};

// Drags a bar's sizing edge by dx, dy from a point on it (screen).
void DragEdge(CSizingControlBar& bar, UINT code, CPoint at, int dx, int dy) {
  bar.SendMessage(WM_NCLBUTTONDOWN, code, MAKELPARAM(at.x, at.y));
  CPoint to(at.x + dx, at.y + dy);
  bar.ScreenToClient(&to);
  bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

LRESULT HitTest(CWnd& wnd, CPoint screen) {
  return wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
}

HWND MiniFrameOf(const CControlBar& bar) {
  return bar.IsFloating() ? ::GetParent(bar.m_pDockBar->m_hWnd) : nullptr;
}

TEST(SizingBarTest, PanesDockOnBothSidesAndTheirInnerEdgesSizeThem) {
  Panes p;
  ASSERT_NE(p.frame, nullptr);
  CSizingControlBarCF& left = p.frame->m_phrases;
  CSizingControlBarG& right = p.frame->m_settings;
  EXPECT_TRUE(left.IsVertDocked());
  EXPECT_FALSE(left.IsHorzDocked());
  EXPECT_EQ(left.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(right.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
  const CRect view = p.frame->InFrame(p.frame->m_view.m_hWnd);
  EXPECT_EQ(view.left, p.frame->InFrame(left.m_hWnd).right);
  EXPECT_EQ(view.right, p.frame->InFrame(right.m_hWnd).left);
  EXPECT_EQ(p.Window(left).Width(), left.m_szVert.cx);
  // The size-child style makes the pane's child fill its client area.
  CRect client, child;
  left.GetClientRect(&client);
  p.frame->m_phraseChild.GetClientRect(&child);
  EXPECT_EQ(child.Width(), client.Width());
  EXPECT_EQ(child.Height(), client.Height());

  // The left pane's inner edge is its right one.
  CRect w = p.Window(left);
  CPoint edge(w.right - 2, (w.top + w.bottom) / 2);
  ASSERT_EQ(HitTest(left, edge), HTRIGHT);
  EXPECT_EQ(HitTest(left, CPoint(w.left + 1, edge.y)), HTCLIENT);  // not a sizing edge here
  left.m_bDragShowContent = TRUE;
  const int before = w.Width();
  LARGE_INTEGER f, t0, t1;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t0);
  DragEdge(left, HTRIGHT, edge, 40, 7);
  ::QueryPerformanceCounter(&t1);
  std::printf("one edge drag with full-window layout: %.3f ms\n",
              1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart));
  EXPECT_FALSE(left.IsTracking());
  EXPECT_EQ(p.Window(left).Width(), before + 40);
  EXPECT_EQ(p.frame->InFrame(p.frame->m_view.m_hWnd).left, p.frame->InFrame(left.m_hWnd).right);

  // Without the contents shown while dragging, the layout waits for the release.
  left.m_bDragShowContent = FALSE;
  w = p.Window(left);
  edge = CPoint(w.right - 2, (w.top + w.bottom) / 2);
  left.SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(edge.x, edge.y));
  CPoint to(edge.x - 30, edge.y);
  left.ScreenToClient(&to);
  left.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  EXPECT_TRUE(left.IsTracking());
  EXPECT_EQ(p.Window(left).Width(), w.Width());
  left.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(to.x, to.y));  // ends it too
  EXPECT_FALSE(left.IsTracking());
  EXPECT_EQ(p.Window(left).Width(), w.Width() - 30);

  // The right pane sizes from its left edge; it never shrinks below its minimum.
  right.m_bDragShowContent = TRUE;
  w = p.Window(right);
  edge = CPoint(w.left + 2, (w.top + w.bottom) / 2);
  ASSERT_EQ(HitTest(right, edge), HTLEFT);
  DragEdge(right, HTLEFT, edge, -25, 0);
  EXPECT_EQ(p.Window(right).Width(), w.Width() + 25);
  w = p.Window(right);
  DragEdge(right, HTLEFT, CPoint(w.left + 2, edge.y), 1000, 0);
  EXPECT_EQ(p.Window(right).Width(), right.m_szMinVert.cx);
}

TEST(SizingBarTest, DoubleClickFloatsWithoutGripperOrEdgesAndDocksAgain) {
  Panes p;
  ASSERT_NE(p.frame, nullptr);
  CSizingControlBarG& right = p.frame->m_settings;
  right.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 20));
  ASSERT_TRUE(right.IsFloating());
  HWND mini = MiniFrameOf(right);
  ASSERT_NE(mini, nullptr);
  EXPECT_FALSE(::GetWindowLongPtrW(mini, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_FALSE(right.HasGripper());
  CRect w = p.Window(right), client;
  right.GetClientRect(&client);
  EXPECT_EQ(client.Width(), w.Width() - 6);  // no band, no docked borders
  EXPECT_EQ(client.Height(), w.Height() - 8);
  EXPECT_EQ(w.Width(), right.m_szFloat.cx);
  EXPECT_EQ(HitTest(right, CPoint(w.left + 1, w.top + 20)), HTCLIENT);
  EXPECT_EQ(HitTest(right, CPoint(w.right - 1, w.top + 20)), HTCLIENT);
  // The title follows the bar; WM_CLOSE to the bar itself is ignored.
  right.SetWindowText(L"Settings (floating)");
  wchar_t title[64] = L"";
  ::GetWindowTextW(mini, title, 64);
  EXPECT_STREQ(title, L"Settings (floating)");
  right.SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(right.m_hWnd));

  // The mini frame's right border sizes the floating bar.
  CRect frameRect;
  ::GetWindowRect(mini, &frameRect);
  const CPoint border(frameRect.right - 1, (frameRect.top + frameRect.bottom) / 2);
  ASSERT_EQ(::SendMessageW(mini, WM_NCHITTEST, 0, MAKELPARAM(border.x, border.y)), HTRIGHT);
  const LONG floatBefore = right.m_szFloat.cx;
  CPoint to(border.x + 35, border.y);
  ::ScreenToClient(mini, &to);
  ::PostMessageW(mini, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  ::PostMessageW(mini, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  ::SendMessageW(mini, WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(border.x, border.y));
  EXPECT_EQ(right.m_szFloat.cx, floatBefore + 35);
  EXPECT_EQ(p.Window(right).Width(), floatBefore + 35);

  right.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 20));
  ASSERT_FALSE(right.IsFloating());
  EXPECT_EQ(right.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
  EXPECT_TRUE(right.HasGripper());
}

TEST(SizingBarTest, CloseButtonHidesTheBarThroughTheFrame) {
  Panes p;
  ASSERT_NE(p.frame, nullptr);
  CSizingControlBarG& right = p.frame->m_settings;
  CRect w = p.Window(right);
  CPoint button(w.left + right.m_rcClose.left + 5, w.top + right.m_rcClose.top + 5);
  ASSERT_EQ(HitTest(right, button), HTCLOSE);
  const LPARAM at = MAKELPARAM(button.x, button.y);
  // The idle update raises the button while the cursor is over it.
  POINT saved;
  ::GetCursorPos(&saved);
  ::SetCursorPos(button.x, button.y);
  right.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_TRUE(right.m_bCloseHot);
  ::SetCursorPos(w.right + 50, w.bottom + 50);
  right.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_FALSE(right.m_bCloseHot);
  ::SetCursorPos(saved.x, saved.y);
  // Released elsewhere, the press does nothing.
  right.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, at);
  EXPECT_TRUE(right.m_bClosePushed);
  right.SendMessage(WM_NCLBUTTONUP, HTCAPTION, at);
  EXPECT_TRUE(right.IsVisible());
  right.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, at);
  right.SendMessage(WM_NCLBUTTONUP, HTCLOSE, at);
  EXPECT_FALSE(right.IsVisible());
  CRect client;
  p.frame->GetClientRect(&client);
  EXPECT_EQ(p.frame->InFrame(p.frame->m_view.m_hWnd).right, client.right);
}

constexpr DWORD kUnpainted = 0x00FF00FF;

// The bar's whole window as its non-client painting leaves a buffer that
// held kUnpainted everywhere, top row first.
std::vector<DWORD> PaintedPixels(CSizingControlBar& bar) {
  CRect w;
  bar.GetWindowRect(&w);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w.Width();
  info.bmiHeader.biHeight = -w.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<DWORD> pixels(static_cast<size_t>(w.Width()) * static_cast<size_t>(w.Height()), kUnpainted);
  if (bitmap && bits) {
    memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    bar.DrawNonClient(mem);
    ::GdiFlush();
    memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    ::SelectObject(mem, old);
  }
  if (bitmap) ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

// A checksum of the bar's non-client area as it paints it.
unsigned PaintedSum(CSizingControlBar& bar) {
  unsigned sum = 0;
  for (DWORD px : PaintedPixels(bar)) sum = sum * 31 + px;
  return sum;
}

// Every pixel around the client area is painted, none inside it, and each
// band around it shows the same background under its borders, grip or
// caption.
void ExpectNonClientPaintedAround(CSizingControlBar& bar) {
  CRect w, client;
  bar.GetWindowRect(&w);
  bar.GetClientRect(&client);
  bar.ClientToScreen(&client);
  client.OffsetRect(-w.left, -w.top);
  const std::vector<DWORD> pixels = PaintedPixels(bar);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(w.Width()) * static_cast<size_t>(w.Height()));
  auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(w.Width()) + x]; };
  size_t paintedInside = 0;
  for (int y = client.top; y < client.bottom; ++y)
    for (int x = client.left; x < client.right; ++x) paintedInside += at(x, y) != kUnpainted;
  EXPECT_EQ(paintedInside, 0u);
  const CRect bands[] = {{0, 0, w.Width(), client.top},
                         {0, client.bottom, w.Width(), w.Height()},
                         {0, client.top, client.left, client.bottom},
                         {client.right, client.top, w.Width(), client.bottom}};
  std::vector<DWORD> backgrounds;
  for (const CRect& band : bands) {
    if (band.IsRectEmpty()) continue;
    std::vector<std::pair<DWORD, size_t>> counts;
    size_t unpainted = 0;
    for (int y = band.top; y < band.bottom; ++y)
      for (int x = band.left; x < band.right; ++x) {
        const DWORD px = at(x, y);
        unpainted += px == kUnpainted;
        auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == px; });
        if (it == counts.end()) counts.push_back({px, 1});
        else ++it->second;
      }
    EXPECT_EQ(unpainted, 0u) << "band " << band.left << "," << band.top;
    backgrounds.push_back(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                            return a.second < b.second;
                          })->first);
  }
  ASSERT_FALSE(backgrounds.empty());
  for (DWORD background : backgrounds) EXPECT_EQ(background, backgrounds.front());
}

int CALLBACK Found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

TEST(SizingBarTest, CaptionShowsTheTitleInTheInstalledFace) {
  Panes p;
  ASSERT_NE(p.frame, nullptr);
  CSizingControlBarCF& left = p.frame->m_phrases;
  LOGFONTW lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, L"Tahoma");
  bool tahoma = false;
  HDC dc = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(dc, &lf, Found, reinterpret_cast<LPARAM>(&tahoma), 0);
  ::ReleaseDC(nullptr, dc);
  EXPECT_EQ(CSizingControlBarCF::CaptionFaceName(), tahoma ? L"Tahoma" : L"Arial");

  EXPECT_TRUE(left.HasGripper());
  ExpectNonClientPaintedAround(left);
  ExpectNonClientPaintedAround(p.frame->m_settings);
  const unsigned plain = PaintedSum(left);
  left.SetWindowText(L"Other title");
  EXPECT_NE(PaintedSum(left), plain);
  left.SetWindowText(L"Phrases");
  EXPECT_EQ(PaintedSum(left), plain);
  // The focus entering the pane is noticed at the idle update.
  p.frame->m_phraseChild.SetFocus();
  left.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_EQ(left.m_bActive, ::GetFocus() == p.frame->m_phraseChild.m_hWnd);
}

TEST(SizingBarTest, PanesSharingARowFillItAndTradeLengthAtTheirCommonEdge) {
  Panes p;
  ASSERT_NE(p.frame, nullptr);
  CSizingControlBarCF& first = p.frame->m_phrases;
  CSizingControlBarG second;
  ASSERT_TRUE(second.Create(L"Second", p.frame, CSize(200, 150), TRUE, 0xE842, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
  second.EnableDocking(CBRS_ALIGN_LEFT);
  CRect below = p.Window(first);
  below.OffsetRect(0, below.Height() / 2);
  ASSERT_TRUE(p.frame->DockControlBar(&second, AFX_IDW_DOCKBAR_LEFT, &below));
  p.frame->RecalcLayout();
  CDockBar* side = p.frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT);
  ASSERT_TRUE(side->IsFirstInRow(&first));
  ASSERT_TRUE(side->IsLastInRow(&second));
  // The row's length is shared out; both take the row's thickness.
  CRect dock;
  side->GetWindowRect(&dock);
  CRect a = p.Window(first), b = p.Window(second);
  EXPECT_EQ(a.Height() + b.Height(), dock.Height());
  EXPECT_EQ(b.top, a.bottom - 2);
  EXPECT_EQ(a.Width(), b.Width());
  // Inner bars size at their shared edge: the first's bottom, the second's top.
  EXPECT_EQ(HitTest(first, CPoint((a.left + a.right) / 2, a.bottom - 2)), HTBOTTOM);
  EXPECT_EQ(HitTest(second, CPoint((b.left + b.right) / 2, b.top + 2)), HTTOP);
  second.m_bDragShowContent = TRUE;
  DragEdge(second, HTTOP, CPoint((b.left + b.right) / 2, b.top + 2), 0, -50);
  CRect a2 = p.Window(first), b2 = p.Window(second);
  EXPECT_EQ(b2.Height(), b.Height() + 50);
  EXPECT_EQ(a2.Height(), a.Height() - 50);
  EXPECT_EQ(a2.Height() + b2.Height(), dock.Height());
  second.DestroyWindow();
  p.frame->RecalcLayout();
  EXPECT_EQ(p.Window(first).Height(), dock.Height() - 2);  // alone again, it takes the row
}

struct Profile {
  CWinApp app{L"SizingBarTest"};
  Profile() {
    app.RunApplication(nullptr, nullptr, SW_HIDE);
    app.SetRegistryKey(L"QuilloraSizingBarTest");
  }
  ~Profile() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilloraSizingBarTest"); }
};

TEST(SizingBarTest, StateLoadsClampedKeepsMissingValuesAndRoundTrips) {
  Profile profile;
  Panes p;
  ASSERT_NE(p.frame, nullptr);
  CSizingControlBarG& bar = p.frame->m_settings;
  const std::wstring section = std::wstring(kEditorBarsProfileName) + L"-SCBar-" + std::to_wstring(kSettingsId);
  // A missing section keeps the sizes.
  const CSize vert = bar.m_szVert;
  ASSERT_TRUE(bar.LoadState(kEditorBarsProfileName));
  EXPECT_EQ(bar.m_szVert.cx, vert.cx);
  EXPECT_EQ(bar.m_szVert.cy, vert.cy);

  CWinApp& app = profile.app;
  app.WriteProfileInt(section.c_str(), L"sizeHorzCX", 10);
  app.WriteProfileInt(section.c_str(), L"sizeHorzCY", -40);
  app.WriteProfileInt(section.c_str(), L"sizeVertCX", 100000);
  app.WriteProfileString(section.c_str(), L"sizeVertCY", L"wide");
  app.WriteProfileInt(section.c_str(), L"sizeFloatCX", 0);
  ASSERT_TRUE(bar.LoadState(kEditorBarsProfileName));
  EXPECT_EQ(bar.m_szHorz.cx, 33);
  EXPECT_EQ(bar.m_szHorz.cy, 32);
  EXPECT_EQ(bar.m_szVert.cx, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(bar.m_szVert.cy, vert.cy);  // not a number: the size stays
  EXPECT_EQ(bar.m_szFloat.cx, 37);
  EXPECT_EQ(bar.m_szFloat.cy, 395);

  bar.m_szHorz = CSize(410, 120);
  bar.m_szVert = CSize(150, 380);
  bar.m_szFloat = CSize(222, 333);
  ASSERT_TRUE(bar.SaveState(kEditorBarsProfileName));
  bar.m_szHorz = bar.m_szVert = bar.m_szFloat = CSize(50, 50);
  ASSERT_TRUE(bar.LoadState(kEditorBarsProfileName));
  EXPECT_EQ(bar.m_szHorz.cx, 410);
  EXPECT_EQ(bar.m_szHorz.cy, 120);
  EXPECT_EQ(bar.m_szVert.cx, 150);
  EXPECT_EQ(bar.m_szVert.cy, 380);
  EXPECT_EQ(bar.m_szFloat.cx, 222);
  EXPECT_EQ(bar.m_szFloat.cy, 333);
  EXPECT_EQ(app.GetProfileInt(section.c_str(), L"sizeVertCX", 0), 150u);
}

}  // namespace
