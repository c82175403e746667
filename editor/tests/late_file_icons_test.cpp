// The frame made while the shell is still asked for the file-type icons (a
// process of its own: the icons are asked once per process). The folder
// list and the tree come up without waiting for them, with empty images of
// their size; once the icons are there both show them, and the list is what
// a list made with the icons shows.
#include "editor/tests/doc_test_fixture.h"
#include "editor/tests/list_description.h"

#include <commctrl.h>

#include <thread>

#include "editor_settings/helpers/ui_helpers.h"
#include "platform/mfc/controls/image_list.h"

namespace {
using namespace docfix;

class LateFileIconsTest : public DocHubTest {
 protected:
  void SetUp() override {
    gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(gate, nullptr);
    HoldFileTypeImagesUntil(gate);
    // A frame that waited for the icons would wait for ever: the shell is
    // let answer after a while all the same, and the frame then finds them.
    guard = std::thread([this] {
      if (WaitForSingleObject(gate, 20000) == WAIT_TIMEOUT) SetEvent(gate);
    });
    StartAskingForFileTypeIcons();
    DocHubTest::SetUp();
  }
  void TearDown() override {
    SetEvent(gate);
    guard.join();
    DocHubTest::TearDown();
    CloseHandle(gate);
  }

  HWND Tree() const {
    HWND found = nullptr;
    EnumChildWindows(
        frame->m_hWnd,
        [](HWND child, LPARAM out) {
          wchar_t name[64] = {};
          GetClassNameW(child, name, 64);
          if (wcscmp(name, WC_TREEVIEWW) != 0) return TRUE;
          *reinterpret_cast<HWND*>(out) = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

  HANDLE gate = nullptr;
  std::thread guard;
};

int ImageCount(LRESULT list) {
  return list ? ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(list)) : -1;
}

TEST_F(LateFileIconsTest, ListAndTreeComeUpWithoutTheIconsAndTakeThemWhenTheyCome) {
  HWND list = View()->m_hWnd;
  HWND tree = Tree();
  ASSERT_NE(tree, nullptr);
  doc->SelectRecord(IdOf(L"Sub"));
  ASSERT_GT(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);

  // The shell has not answered: empty images of the icons' size.
  const LRESULT early = SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
  EXPECT_EQ(ImageCount(early), 0);
  EXPECT_EQ(ImageCount(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), 0);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(early), &cx, &cy));
  EXPECT_EQ(cx, 18);
  EXPECT_EQ(cy, 18);
  RECT rowBefore = {};
  ListView_GetItemRect(list, 0, &rowBefore, LVIR_BOUNDS);

  // A caller that must have the list now (the first menu's bitmaps) ends
  // the hold rather than wait for it: the guard lets the shell answer only
  // after 20 s.
  const DWORD asked = GetTickCount();
  const HIMAGELIST icons = GetFileTypeImageList()->GetSafeHandle();
  EXPECT_LT(GetTickCount() - asked, 15000u);
  EXPECT_EQ(WaitForSingleObject(gate, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(qlrtest::PumpUntil(
      [&] {
        return SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) == reinterpret_cast<LRESULT>(icons) &&
               SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0) == reinterpret_cast<LRESULT>(icons);
      },
      20000));
  EXPECT_EQ(ImageList_GetImageCount(icons), 5);
  RECT rowAfter = {};
  ListView_GetItemRect(list, 0, &rowAfter, LVIR_BOUNDS);
  EXPECT_TRUE(EqualRect(&rowBefore, &rowAfter)) << "the rows moved when the icons came";
  const std::string shown = DescribeList(list);
  EXPECT_EQ(Differences(shown, DescribeNewFolderList(doc, frame, list)), "");
}

}  // namespace
