#include <windows.h>

#include <gtest/gtest.h>

#include "platform/mfc/controls/button.h"
#include "platform/mfc/controls/static_ctrl.h"
#include "platform/mfc/tests/control_host.h"

namespace {

// A label that answers its own colours when asked to, and counts what its
// parent hands it.
class CColourStatic : public CStatic {
 public:
  bool answer = true;
  int attached = 0;
  int clicks = 0;
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  ~CColourStatic() override { ::DeleteObject(brush); }

 protected:
  void PreSubclassWindow() override { ++attached; }
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    if (!answer || nCtlColor != CTLCOLOR_STATIC) return nullptr;
    ::SetTextColor(pDC->GetSafeHdc(), RGB(9, 8, 7));
    return brush;
  }
  void OnClicked() { ++clicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourStatic, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
  ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CDrawnButton : public CButton {
 public:
  int draws = 0;
  HWND drawnWindow = nullptr;
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    ++draws;
    drawnWindow = item->hwndItem;
  }
};

TEST(ControlReflectionTest, ColoursAndClicksReachTheControlFirst) {
  CControlHost host;
  CColourStatic label;
  HWND control = ::CreateWindowExW(0, L"STATIC", L"label", WS_CHILD | SS_NOTIFY, 0, 0, 80, 20, host.m_hWnd,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
  ASSERT_TRUE(label.SubclassWindow(control));
  EXPECT_EQ(label.attached, 1);

  HDC dc = ::CreateCompatibleDC(nullptr);
  LRESULT brush = ::SendMessageW(host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(control));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), label.brush);
  EXPECT_EQ(::GetTextColor(dc), RGB(9, 8, 7));
  // Another kind, or no brush from the control: the parent answers.
  LRESULT parentBrush = ::SendMessageW(host.m_hWnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control));
  EXPECT_NE(reinterpret_cast<HBRUSH>(parentBrush), label.brush);
  label.answer = false;
  brush = ::SendMessageW(host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(control));
  EXPECT_NE(reinterpret_cast<HBRUSH>(brush), label.brush);
  ::DeleteDC(dc);

  ::SendMessageW(host.m_hWnd, WM_COMMAND, MAKEWPARAM(7, STN_CLICKED), reinterpret_cast<LPARAM>(control));
  EXPECT_EQ(label.clicks, 1);

  // Created through the layer: bound before its first message, once.
  CColourStatic created;
  ASSERT_TRUE(created.Create(L"made", WS_CHILD, CRect(0, 30, 80, 50), &host, 8));
  EXPECT_EQ(created.attached, 1);
  host.DestroyWindow();
}

TEST(ControlReflectionTest, OwnerDrawingGoesToTheButtonObject) {
  CControlHost host;
  CDrawnButton button;
  ASSERT_TRUE(button.Create(L"drawn", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 80, 24), &host, 9));
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 9;
  item.hwndItem = button.m_hWnd;
  item.hDC = ::CreateCompatibleDC(nullptr);
  item.rcItem = {0, 0, 80, 24};
  EXPECT_EQ(::SendMessageW(host.m_hWnd, WM_DRAWITEM, 9, reinterpret_cast<LPARAM>(&item)), TRUE);
  ::DeleteDC(item.hDC);
  EXPECT_GE(button.draws, 1);
  EXPECT_EQ(button.drawnWindow, button.m_hWnd);
  // A menu item is not a control's.
  int before = button.draws;
  item.CtlType = ODT_MENU;
  item.hDC = ::CreateCompatibleDC(nullptr);
  ::SendMessageW(host.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  ::DeleteDC(item.hDC);
  EXPECT_EQ(button.draws, before);
  host.DestroyWindow();
}

}  // namespace
