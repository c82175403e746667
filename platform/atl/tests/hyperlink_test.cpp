#include "platform/atl/hyperlink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records where it would go instead of starting a browser.
class CRecordingLink : public CHyperLink {
 public:
  std::vector<std::wstring> opened;
  bool Navigate() override {
    opened.push_back(GetHyperLink());
    return true;
  }
};

bool HasLinkBluePixel(HWND h) {
  RECT r;
  ::GetClientRect(h, &r);
  HDC dc = ::GetDC(h);
  bool found = false;
  for (int y = 0; y < r.bottom && !found; ++y) {
    for (int x = 0; x < r.right && !found; ++x) found = ::GetPixel(dc, x, y) == RGB(0, 0, 255);
  }
  ::ReleaseDC(h, dc);
  return found;
}

TEST(HyperLinkTest, StaticBecomesAClickableLink) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 30, 30, 300, 80,
                                  nullptr, nullptr, nullptr, nullptr);
  HWND label = ::CreateWindowExW(0, L"STATIC", L"HYPERLINK", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                 20, parent, reinterpret_cast<HMENU>(1003), nullptr, nullptr);
  ASSERT_TRUE(parent && label);
  CRecordingLink link;
  link.SetHyperLink(L"https://example.invalid/home_qlr.php");
  ASSERT_TRUE(link.SubclassWindow(label));
  EXPECT_EQ(L"HYPERLINK", link.GetLabel());  // the static's own text until set
  link.SetLabel(L"Home Page");
  EXPECT_EQ(L"Home Page", link.GetWindowText());
  EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);

  HFONT font = reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  link.SetFont(font);
  EXPECT_EQ(font, link.GetFont());  // the static keeps its font

  ::RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  EXPECT_TRUE(HasLinkBluePixel(label));

  EXPECT_EQ(TRUE, link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());

  struct Case {
    int upX, upY;
    size_t opened;
  } cases[] = {{20, 5, 1}, {500, 5, 1}, {5, 15, 2}};
  for (const Case& c : cases) {
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.upX, c.upY));
    EXPECT_EQ(c.opened, link.opened.size()) << c.upX;
  }
  link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 5));  // no press before: nothing
  EXPECT_EQ(2u, link.opened.size());
  EXPECT_EQ(L"https://example.invalid/home_qlr.php", link.opened[0]);
  ::DestroyWindow(parent);
  EXPECT_EQ(nullptr, link.m_hWnd);
}

}  // namespace
