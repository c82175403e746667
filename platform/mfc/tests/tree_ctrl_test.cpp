#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/tests/control_host.h"

namespace {

constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                             TVS_SHOWSELALWAYS | TVS_CHECKBOXES;

// What the control itself holds, read with a buffer far larger than the text.
std::wstring RawText(HWND tree, HTREEITEM item) {
  std::vector<wchar_t> buffer(40000, L'\0');
  TVITEMW tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer.data();
  tv.cchTextMax = static_cast<int>(buffer.size());
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return buffer.data();
}

int CALLBACK ByDataDescending(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }

std::vector<std::wstring> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent) {
  std::vector<std::wstring> texts;
  for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h))
    texts.push_back(tree.GetItemText(h).Str());
  return texts;
}

TEST(TreeCtrlTest, InsertStateCheckNavigationAndHitTest) {
  CControlHost host(true);  // the label editor needs the focus
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(kTreeStyle, CControlHost::ChildRect(), &host, 100));

  HTREEITEM folder = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_STATE, L"Folder", 0, 0,
                                     INDEXTOSTATEIMAGEMASK(2) | TVIS_BOLD, TVIS_STATEIMAGEMASK | TVIS_BOLD, 7,
                                     TVI_ROOT, TVI_LAST);
  HTREEITEM a = tree.InsertItem(L"A", 3, 3, folder);
  HTREEITEM b = tree.InsertItem(L"B", folder);
  HTREEITEM first = tree.InsertItem(L"First", folder, TVI_FIRST);
  HTREEITEM phrase = tree.InsertItem(L"Phrase");
  ASSERT_TRUE(folder && a && b && first && phrase);

  // Data and states.
  EXPECT_EQ(tree.GetItemData(folder), 7u);
  EXPECT_TRUE(tree.SetItemData(a, 42));
  EXPECT_EQ(tree.GetItemData(a), 42u);
  EXPECT_EQ(tree.GetItemState(folder, TVIS_BOLD), static_cast<UINT>(TVIS_BOLD));
  EXPECT_TRUE(tree.GetCheck(folder));
  EXPECT_FALSE(tree.GetCheck(a));
  EXPECT_TRUE(tree.SetCheck(folder, FALSE));
  EXPECT_FALSE(tree.GetCheck(folder));
  EXPECT_EQ(tree.GetItemState(folder, TVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(1)));
  EXPECT_TRUE(tree.SetCheck(a));
  EXPECT_TRUE(tree.GetCheck(a));
  EXPECT_TRUE(tree.SetItemState(b, TVIS_CUT, TVIS_CUT));
  EXPECT_EQ(tree.GetItemState(b, TVIS_CUT | TVIS_BOLD), static_cast<UINT>(TVIS_CUT));  // only the mask's bits

  // Navigation.
  EXPECT_EQ(tree.GetRootItem(), folder);
  EXPECT_EQ(tree.GetNextSiblingItem(folder), phrase);
  EXPECT_EQ(tree.GetChildItem(folder), first);
  EXPECT_EQ(tree.GetNextSiblingItem(first), a);
  EXPECT_EQ(tree.GetPrevSiblingItem(a), first);
  EXPECT_EQ(tree.GetPrevSiblingItem(first), nullptr);
  EXPECT_EQ(tree.GetParentItem(b), folder);
  EXPECT_EQ(tree.GetParentItem(folder), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(folder));
  EXPECT_FALSE(tree.ItemHasChildren(a));
  EXPECT_EQ(tree.GetFirstVisibleItem(), folder);
  EXPECT_EQ(tree.GetNextVisibleItem(folder), phrase);  // collapsed
  EXPECT_TRUE(tree.Expand(folder, TVE_EXPAND));
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
  EXPECT_EQ(tree.GetNextVisibleItem(folder), first);
  EXPECT_TRUE(tree.SelectItem(b));
  EXPECT_EQ(tree.GetSelectedItem(), b);
  EXPECT_TRUE(tree.Select(a, TVGN_CARET));
  EXPECT_EQ(tree.GetSelectedItem(), a);
  // Making a child visible expands its folder.
  EXPECT_TRUE(tree.Expand(folder, TVE_COLLAPSE));
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED), 0u);
  tree.EnsureVisible(b);
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));

  // Hit test on the label's rectangle and below every item.
  CRect label, whole;
  ASSERT_TRUE(tree.GetItemRect(b, &label, TRUE));
  ASSERT_TRUE(tree.GetItemRect(b, &whole, FALSE));
  EXPECT_FALSE(label.IsRectEmpty());
  EXPECT_GE(label.left, whole.left);
  EXPECT_LE(label.right, whole.right);
  UINT flags = 0;
  EXPECT_EQ(tree.HitTest(CPoint((label.left + label.right) / 2, (label.top + label.bottom) / 2), &flags), b);
  EXPECT_TRUE(flags & TVHT_ONITEMLABEL);
  CRect client;
  tree.GetClientRect(&client);
  EXPECT_EQ(tree.HitTest(CPoint(client.right / 2, client.bottom - 2), &flags), nullptr);
  EXPECT_FALSE(flags & TVHT_ONITEM);

  // Sorting by data, the insert mark and colours.
  tree.SetItemData(first, 1);
  tree.SetItemData(b, 99);
  TVSORTCB sort = {folder, ByDataDescending, 0};
  EXPECT_TRUE(tree.SortChildrenCB(&sort));
  EXPECT_EQ(ChildTexts(tree, folder), (std::vector<std::wstring>{L"B", L"A", L"First"}));
  EXPECT_TRUE(tree.SetInsertMark(a));
  tree.SetInsertMark(nullptr);
  tree.SetBkColor(RGB(1, 2, 3));
  EXPECT_EQ(tree.GetBkColor(), RGB(1, 2, 3));

  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1));
  images.Add(::LoadIconW(nullptr, IDI_APPLICATION));
  EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
  EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), images.GetSafeHandle());
  CImageList* drag = tree.CreateDragImage(b);
  ASSERT_NE(drag, nullptr);
  EXPECT_NE(drag->GetSafeHandle(), nullptr);
  delete drag;

  // The label editor.
  tree.ModifyStyle(0, TVS_EDITLABELS);
  ::SetForegroundWindow(host);
  ::SetActiveWindow(host);
  // Under Wine the first edit control of a thread can lose the focus as it
  // is made (and a label editor ends when it loses the focus): one retry.
  CWnd* edit = nullptr;
  for (int attempt = 0; attempt < 2 && !(edit && edit->IsWindow()); ++attempt) {
    tree.SetFocus();
    edit = tree.EditLabel(phrase);
  }
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(edit->IsWindow());
  ASSERT_NE(tree.GetEditControl(), nullptr);
  EXPECT_EQ(tree.GetEditControl()->m_hWnd, edit->m_hWnd);
  EXPECT_EQ(edit->GetWindowTextString(), CString(L"Phrase"));
  ::SendMessageW(tree, TVM_ENDEDITLABELNOW, TRUE, 0);
  EXPECT_EQ(tree.GetEditControl(), nullptr);

  // Deleting.
  EXPECT_TRUE(tree.DeleteItem(a));
  EXPECT_EQ(ChildTexts(tree, folder), (std::vector<std::wstring>{L"B", L"First"}));
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetRootItem(), nullptr);
  tree.DestroyWindow();  // before the image list it shows
}

TEST(TreeCtrlTest, LongItemTextsComeBackWholeOrCutToTheCallersBuffer) {
  CControlHost host;
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(kTreeStyle, CControlHost::ChildRect(), &host, 100));
  std::wstring longText;
  for (int i = 0; i < 10000; ++i) longText += static_cast<wchar_t>(L'a' + i % 26);
  HTREEITEM item = tree.InsertItem(L"short");
  ASSERT_TRUE(tree.SetItemText(item, longText.c_str()));
  std::wstring held = RawText(tree, item);
  ASSERT_GT(held.size(), 256u);  // more than one read's first buffer
  EXPECT_EQ(tree.GetItemText(item).Str(), held);

  for (int size : {1, 2, 100, 9999, 10001}) {
    std::vector<wchar_t> buffer(static_cast<size_t>(size) + 8, L'#');
    int copied = tree.GetItemText(item, buffer.data(), size);
    int expected = static_cast<int>(held.size()) < size - 1 ? static_cast<int>(held.size()) : size - 1;
    EXPECT_EQ(copied, expected) << size;
    EXPECT_EQ(buffer[static_cast<size_t>(copied)], L'\0') << size;
    EXPECT_EQ(std::wstring(buffer.data()), held.substr(0, static_cast<size_t>(expected))) << size;
    for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) EXPECT_EQ(buffer[i], L'#') << size;
  }
  EXPECT_EQ(tree.GetItemText(item, nullptr, 10), 0);
  wchar_t untouched = L'#';
  EXPECT_EQ(tree.GetItemText(item, &untouched, 0), 0);
  EXPECT_EQ(untouched, L'#');
}

}  // namespace
