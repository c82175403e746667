#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/tests/control_host.h"

namespace {

// Check-box changes as the list reports them to its own object.
class CCheckList : public CListCtrl {
 public:
  struct Change {
    int item;
    UINT oldImage;
    UINT newImage;
  };
  std::vector<Change> m_changes;
  void OnItemChanged(NMHDR* header, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
    if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_STATEIMAGEMASK))
      m_changes.push_back({nm->iItem, (nm->uOldState & 0xF000) >> 12, (nm->uNewState & 0xF000) >> 12});
    *pResult = 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCheckList, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
END_MESSAGE_MAP()

int AddItem(CListCtrl& list, const wchar_t* text, LPARAM data, int image) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  item.iItem = list.GetItemCount();
  item.pszText = const_cast<LPWSTR>(text);
  item.lParam = data;
  item.iImage = image;
  item.stateMask = 0xF000;
  item.state = 0;
  return list.InsertItem(&item);
}

TEST(ListCtrlTest, CheckBoxesThroughTheStateImageMask) {
  CControlHost host;
  CCheckList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CControlHost::ChildRect(), &host, 200));
  list.SetExtendedStyle(LVS_EX_CHECKBOXES);
  EXPECT_EQ(list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT), static_cast<DWORD>(LVS_EX_CHECKBOXES));
  EXPECT_EQ(list.InsertColumn(0, L"Phrases"), 0);
  EXPECT_EQ(list.InsertColumn(1, L"Usage Count", LVCFMT_CENTER, 60), 1);
  EXPECT_EQ(list.InsertColumn(2, L"Path", LVCFMT_LEFT, 120, 2), 2);

  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 1));
  images.Add(::LoadIconW(nullptr, IDI_APPLICATION));
  EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);

  EXPECT_EQ(AddItem(list, L"...", 5, 0), 0);
  EXPECT_EQ(AddItem(list, L"Hello", 11, 0), 1);
  EXPECT_EQ(AddItem(list, L"World", 12, 0), 2);
  EXPECT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(list.GetItemData(1), 11u);
  EXPECT_EQ(list.GetItemData(7), 0u);
  EXPECT_TRUE(list.SetItemText(1, 1, L"5"));
  EXPECT_EQ(list.GetItemText(1, 1), CString(L"5"));
  EXPECT_EQ(list.GetItemText(1, 0), CString(L"Hello"));

  // Checked, unchecked, and no check box at all, each reported as a change
  // of the state image.
  list.m_changes.clear();
  EXPECT_TRUE(list.SetItemState(1, INDEXTOSTATEIMAGEMASK(2), 0xF000));
  EXPECT_EQ(list.GetItemState(1, 0xF000), 0x2000u);
  EXPECT_TRUE(list.SetItemState(1, INDEXTOSTATEIMAGEMASK(1), 0xF000));
  EXPECT_EQ(list.GetItemState(1, 0xF000), 0x1000u);
  EXPECT_TRUE(list.SetItemState(0, 0, 0xF000));
  EXPECT_EQ(list.GetItemState(0, 0xF000), 0u);
  ASSERT_GE(list.m_changes.size(), 2u);
  EXPECT_EQ(list.m_changes[0].item, 1);
  EXPECT_EQ(list.m_changes[0].newImage, 2u);
  EXPECT_EQ(list.m_changes[1].oldImage, 2u);
  EXPECT_EQ(list.m_changes[1].newImage, 1u);
  // A state change leaves the other state bits alone.
  EXPECT_TRUE(list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(list.SetItemState(2, INDEXTOSTATEIMAGEMASK(2), 0xF000));
  EXPECT_EQ(list.GetItemState(2, 0xF000 | LVIS_SELECTED), static_cast<UINT>(0x2000 | LVIS_SELECTED));

  // Geometry.
  EXPECT_TRUE(list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER));
  CRect bounds, label;
  ASSERT_TRUE(list.GetItemRect(1, &bounds, LVIR_BOUNDS));
  ASSERT_TRUE(list.GetItemRect(1, &label, LVIR_LABEL));
  EXPECT_FALSE(bounds.IsRectEmpty());
  EXPECT_GE(label.left, bounds.left);
  EXPECT_EQ(label.top, bounds.top);
  EXPECT_FALSE(list.GetItemRect(9, &bounds, LVIR_BOUNDS));
  ::SendMessageW(list, LVM_SETTEXTCOLOR, 0, RGB(10, 20, 30));
  EXPECT_EQ(list.GetTextColor(), RGB(10, 20, 30));
  list.Arrange(LVA_DEFAULT);

  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  list.DestroyWindow();  // before the image list it shows
}

TEST(ListCtrlTest, LongItemTextsComeBackWholeOrCutToTheCallersBuffer) {
  CControlHost host;
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CControlHost::ChildRect(), &host, 200));
  list.InsertColumn(0, L"Phrases");
  list.InsertColumn(1, L"Path");
  std::wstring longText;
  for (int i = 0; i < 10000; ++i) longText += static_cast<wchar_t>(L'A' + i % 26);
  ASSERT_EQ(AddItem(list, longText.c_str(), 1, 0), 0);
  ASSERT_TRUE(list.SetItemText(0, 1, longText.c_str()));

  for (int column : {0, 1}) {
    // What the control holds, read with a buffer far larger than the text.
    std::vector<wchar_t> raw(40000, L'\0');
    LVITEMW lv = {};
    lv.iSubItem = column;
    lv.pszText = raw.data();
    lv.cchTextMax = static_cast<int>(raw.size());
    ::SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&lv));
    std::wstring held = raw.data();
    ASSERT_GT(held.size(), 256u);
    EXPECT_EQ(list.GetItemText(0, column).Str(), held);
    for (int size : {1, 260, 10001}) {
      std::vector<wchar_t> buffer(static_cast<size_t>(size) + 8, L'#');
      int copied = list.GetItemText(0, column, buffer.data(), size);
      int expected = static_cast<int>(held.size()) < size - 1 ? static_cast<int>(held.size()) : size - 1;
      EXPECT_EQ(copied, expected);
      EXPECT_EQ(std::wstring(buffer.data()), held.substr(0, static_cast<size_t>(expected)));
      for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) EXPECT_EQ(buffer[i], L'#');
    }
  }
  EXPECT_EQ(list.GetItemText(5, 0), CString());
}

}  // namespace
