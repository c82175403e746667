#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"

namespace {

TEST(SmallControlsTest, TabItemsCarryTheirDataAndSelection) {
  CControlHost host;
  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 24), &host, 1234));
  EXPECT_EQ(tabs.InsertItem(0, L"Miscellaneous", 0, 0), 0);
  EXPECT_EQ(tabs.InsertItem(1, L"Hide Settings", 1, 1), 1);
  EXPECT_EQ(tabs.GetItemCount(), 2);
  TCITEMW item = {};
  item.mask = TCIF_PARAM | TCIF_IMAGE;
  ASSERT_TRUE(tabs.GetItem(1, &item));
  EXPECT_EQ(item.lParam, 1);
  EXPECT_EQ(item.iImage, 1);
  EXPECT_FALSE(tabs.GetItem(5, &item));
  tabs.SetCurSel(0);
  EXPECT_EQ(tabs.SetCurSel(1), 0);
  EXPECT_EQ(tabs.GetCurSel(), 1);
}

TEST(SmallControlsTest, ComboBoxStringsDataSelectionAndDropDown) {
  CControlHost host;
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(0, 0, 200, 200), &host, 50));
  EXPECT_EQ(combo.AddString(L"one"), 0);
  EXPECT_EQ(combo.AddString(L"two"), 1);
  EXPECT_EQ(combo.InsertString(0, L"zero"), 0);
  EXPECT_EQ(combo.GetCount(), 3);
  EXPECT_NE(combo.SetItemData(0, 77), CB_ERR);
  EXPECT_EQ(combo.GetItemData(0), 77u);
  EXPECT_EQ(combo.SetCurSel(2), 2);
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(combo.SetCurSel(9), CB_ERR);
  combo.ShowDropDown(TRUE);
  EXPECT_TRUE(::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  combo.ShowDropDown(FALSE);
  EXPECT_FALSE(::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  LOGFONTW lf = {};
  lf.lfHeight = -15;
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  combo.SetFont(&font);
  EXPECT_EQ(combo.GetFont(), font.GetSafeHandle());
  combo.ResetContent();
  EXPECT_EQ(combo.GetCount(), 0);
  combo.DestroyWindow();  // before its font
}

TEST(SmallControlsTest, ImageListOwnsItsHandle) {
  CImageList images;
  ASSERT_TRUE(images.Create(18, 18, ILC_COLOR32 | ILC_MASK, 5, 1));
  EXPECT_FALSE(images.Create(18, 18, ILC_COLOR32 | ILC_MASK, 5, 1));
  HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
  EXPECT_EQ(images.Add(icon), 0);
  EXPECT_EQ(images.Add(icon), 1);
  EXPECT_EQ(images.GetImageCount(), 2);
  EXPECT_EQ(images.SetBkColor(RGB(1, 2, 3)), CLR_NONE);
  EXPECT_EQ(::ImageList_GetBkColor(images.GetSafeHandle()), RGB(1, 2, 3));
  int cx = 0, cy = 0;
  ::ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 18);
  HIMAGELIST h = images.Detach();
  EXPECT_EQ(images.GetSafeHandle(), nullptr);
  CImageList other;
  EXPECT_TRUE(other.Attach(h));
  EXPECT_FALSE(other.Attach(h));
  EXPECT_TRUE(other.DeleteImageList());
  EXPECT_FALSE(other.DeleteImageList());
}

TEST(SmallControlsTest, ToolTipToolsTitleAndTrackingBalloon) {
  CControlHost host;
  CToolTipCtrl tips;
  ASSERT_TRUE(tips.Create(&host, TTS_ALWAYSTIP | TTS_BALLOON));
  EXPECT_EQ(::GetWindow(tips, GW_OWNER), host.m_hWnd);
  ASSERT_TRUE(tips.AddTool(&host, L"whole window"));
  CRect part(0, 0, 20, 20);
  ASSERT_TRUE(tips.AddTool(&host, L"part", &part, 5));
  EXPECT_EQ(::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
  tips.UpdateTipText(L"changed", &host, 5);
  wchar_t text[80] = {};
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = host;
  ti.uId = 5;
  ti.lpszText = text;
  ::SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(std::wstring(text), L"changed");

  tips.SetMaxTipWidth(300);
  EXPECT_EQ(tips.SetMaxTipWidth(300), 300);
  tips.SetDelayTime(TTDT_INITIAL, 2000);
  EXPECT_EQ(::SendMessageW(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 2000);
  EXPECT_TRUE(tips.SetTitle(TTI_INFO, L"Title"));
  tips.Activate(TRUE);

  // A tracking tool shown and hidden by the caller.
  wchar_t dragText[] = L"drop here";
  TOOLINFOW track = {};
  track.cbSize = TTTOOLINFOW_V2_SIZE;
  track.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  track.hwnd = host;
  track.uId = 7686;
  track.lpszText = dragText;
  ASSERT_TRUE(tips.AddTool(&track));
  tips.TrackPosition(100, 100);
  tips.TrackActivate(TRUE, &host, 7686);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return ::IsWindowVisible(tips) != FALSE; }));
  tips.TrackActivate(FALSE, &host, 7686);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return ::IsWindowVisible(tips) == FALSE; }));
  tips.DestroyWindow();
}

}  // namespace
