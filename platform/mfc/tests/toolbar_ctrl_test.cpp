#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/tests/control_host.h"

namespace {

TBBUTTON Button(int image, int id, BYTE state, BYTE style) {
  TBBUTTON b = {};
  b.iBitmap = image;
  b.idCommand = id;
  b.fsState = state;
  b.fsStyle = style;
  b.iString = -1;
  return b;
}

// A toolbar that adds its buttons while it is being created.
class CButtonsAtCreate : public CToolBarCtrl {
 public:
  int OnCreate(LPCREATESTRUCT cs) {
    if (CToolBarCtrl::OnCreate(cs) == -1) return -1;
    TBBUTTON buttons[] = {Button(0, 1, TBSTATE_ENABLED, BTNS_BUTTON), Button(0, 2, TBSTATE_ENABLED, BTNS_CHECK)};
    m_added = AddButtons(2, buttons) != FALSE;
    return 0;
  }
  bool m_added = false;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CButtonsAtCreate, CToolBarCtrl)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(ToolBarCtrlTest, ButtonsAddedDuringCreation) {
  CControlHost host;
  CButtonsAtCreate bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | CCS_TOP, CRect(0, 0, 300, 30), &host, 401));
  EXPECT_TRUE(bar.m_added);
  EXPECT_EQ(bar.GetButtonCount(), 2);
  EXPECT_EQ(bar.CommandToIndex(2), 1);
}

TEST(ToolBarCtrlTest, ButtonInfoStatesAndGeometry) {
  CControlHost host;
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
  CToolBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_TOP, CRect(0, 0, 400, 30), &host,
                         400));
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1));
  images.Add(::LoadIconW(nullptr, IDI_APPLICATION));
  images.Add(::LoadIconW(nullptr, IDI_WARNING));
  EXPECT_EQ(bar.SetImageList(&images), nullptr);
  TBBUTTON buttons[] = {Button(0, 100, TBSTATE_ENABLED, BTNS_BUTTON), Button(0, 0, 0, BTNS_SEP),
                        Button(1, 101, 0, BTNS_CHECK), Button(1, 102, TBSTATE_ENABLED, BTNS_DROPDOWN)};
  ASSERT_TRUE(bar.AddButtons(4, buttons));
  EXPECT_EQ(bar.GetButtonCount(), 4);
  EXPECT_EQ(bar.CommandToIndex(101), 2);
  EXPECT_EQ(bar.CommandToIndex(555), -1);

  bar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
  EXPECT_TRUE(bar.GetExtendedStyle() & TBSTYLE_EX_DRAWDDARROWS);
  // The control may bound the padding; the answer is what it had.
  bar.SetPadding(10, 6);
  DWORD padding = static_cast<DWORD>(::SendMessageW(bar, TB_GETPADDING, 0, 0));
  EXPECT_EQ(bar.SetPadding(10, 6), padding);

  // Text, image, width and item data of one button.
  wchar_t macro[] = L"Macro";
  TBBUTTONINFOW set = {};
  set.dwMask = TBIF_TEXT | TBIF_IMAGE | TBIF_SIZE | TBIF_LPARAM;
  set.pszText = macro;
  set.iImage = 0;
  set.cx = 120;
  set.lParam = 1;
  ASSERT_TRUE(bar.SetButtonInfo(102, &set));
  wchar_t text[50] = {};
  TBBUTTONINFOW get = {};
  get.dwMask = TBIF_TEXT | TBIF_IMAGE | TBIF_SIZE | TBIF_LPARAM | TBIF_COMMAND | TBIF_STYLE;
  get.pszText = text;
  get.cchText = 50;
  EXPECT_EQ(bar.GetButtonInfo(102, &get), 3);
  EXPECT_EQ(std::wstring(text), L"Macro");
  EXPECT_EQ(get.iImage, 0);
  EXPECT_EQ(get.cx, 120);
  EXPECT_EQ(get.lParam, 1u);
  EXPECT_EQ(get.idCommand, 102);
  EXPECT_TRUE(get.fsStyle & BTNS_DROPDOWN);
  EXPECT_EQ(bar.GetButtonInfo(555, &get), -1);
  // A long text is cut to the caller's buffer.
  std::wstring longText(10000, L'm');
  set.dwMask = TBIF_TEXT;
  set.pszText = &longText[0];
  ASSERT_TRUE(bar.SetButtonInfo(102, &set));
  std::vector<wchar_t> buffer(58, L'#');
  get.dwMask = TBIF_TEXT;
  get.pszText = buffer.data();
  get.cchText = 50;
  bar.GetButtonInfo(102, &get);
  EXPECT_EQ(std::wstring(buffer.data()), std::wstring(49, L'm'));
  for (size_t i = 50; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], L'#');

  // States by command id.
  EXPECT_EQ(bar.GetState(101) & TBSTATE_ENABLED, 0);
  EXPECT_TRUE(bar.EnableButton(101));
  EXPECT_TRUE(bar.CheckButton(101));
  EXPECT_EQ(bar.GetState(101), TBSTATE_ENABLED | TBSTATE_CHECKED);
  EXPECT_TRUE(bar.CheckButton(101, FALSE));
  EXPECT_TRUE(bar.EnableButton(101, FALSE));
  EXPECT_EQ(bar.GetState(101), 0);
  EXPECT_TRUE(bar.SetState(100, TBSTATE_ENABLED | TBSTATE_PRESSED));
  EXPECT_EQ(bar.GetState(100), TBSTATE_ENABLED | TBSTATE_PRESSED);
  EXPECT_EQ(bar.GetState(555), -1);

  // Rectangles by index and by id, and the hit test.
  CRect byIndex, byId;
  ASSERT_TRUE(bar.GetItemRect(3, &byIndex));
  ASSERT_TRUE(bar.GetRect(102, &byId));
  EXPECT_EQ(byIndex.left, byId.left);
  EXPECT_EQ(byIndex.right, byId.right);
  CPoint inside((byIndex.left + byIndex.right) / 2, (byIndex.top + byIndex.bottom) / 2);
  EXPECT_EQ(bar.HitTest(&inside), 3);
  CPoint beyond(byIndex.right + 50, inside.y);
  EXPECT_LT(bar.HitTest(&beyond), 0);
  EXPECT_TRUE(bar.SetIndent(20));
  EXPECT_TRUE(bar.HideButton(100));
  EXPECT_TRUE(bar.GetState(100) & TBSTATE_HIDDEN);
  EXPECT_TRUE(bar.HideButton(100, FALSE));
  EXPECT_FALSE(bar.GetState(100) & TBSTATE_HIDDEN);

  bar.SetOwner(&other);
  EXPECT_EQ(bar.GetOwner(), &other);
  bar.DestroyWindow();  // before the image list it shows
  other.DestroyWindow();
}

}  // namespace
