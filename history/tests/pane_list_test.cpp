// The history pane's list over a real handler's items: the refresh, the
// display and info-tip callbacks and the decisions of the row drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/ui/subclass.h"
#include "history/actions/version_text.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_texts.h"
#include "history/tests/history_test_util.h"
#include "settings/settings_files.h"

namespace {

using qlrtest::PumpUntil;

int g_setTexts = 0;
LRESULT CountSetText(HWND, UINT msg, WPARAM, LPARAM, LONG_PTR, BOOL*, WNDPROC) {
  if (msg == WM_SETTEXT) ++g_setTexts;
  return 0;
}

class PaneListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFolders(m_dir.Path(), m_dir.Path());
    g_setTexts = 0;
  }
  void TearDown() override {
    if (m_pane && m_pane->IsWindow()) m_pane->DestroyWindow();
    m_pane.reset();
    SetSettingsFolders(L"", L"");
  }
  void AddText(const std::wstring& text) { m_handler.Queue().Append(histtest::MakeText(text)); }
  void Add(std::unique_ptr<CCHItem> item) { m_handler.Queue().Append(std::move(item)); }
  // An expanded, fixed pane over the handler's items.
  CQLRFloatPane& OpenPane() {
    m_pane = std::make_unique<CQLRFloatPane>(nullptr, nullptr);
    EXPECT_TRUE(histtest::OpenFixedPane(*m_pane, &m_handler));
    return *m_pane;
  }
  std::wstring Title() {
    wchar_t title[128] = {};
    GetWindowTextW(*m_pane, title, 128);
    return title;
  }
  LRESULT Notify(NMHDR* header) {
    header->hwndFrom = m_pane->List();
    header->idFrom = pane_ids::kListId;
    return SendMessageW(*m_pane, WM_NOTIFY, pane_ids::kListId, reinterpret_cast<LPARAM>(header));
  }
  // The display callback's answer for a row: text (bounded) and image.
  std::wstring DisplayText(int row, int capacity, int* image) {
    std::wstring buffer(capacity + 4, L'#');
    NMLVDISPINFOW info = {};
    info.hdr.code = LVN_GETDISPINFOW;
    info.item.mask = LVIF_TEXT | LVIF_IMAGE;
    info.item.iItem = row;
    info.item.pszText = &buffer[0];
    info.item.cchTextMax = capacity;
    info.item.iImage = -7;
    Notify(&info.hdr);
    if (image) *image = info.item.iImage;
    EXPECT_EQ(buffer.substr(capacity), L"####");  // nothing beyond the buffer
    return buffer.c_str();
  }

  qlrtest::TempDir m_dir;
  CQLRWndClipboardHandler m_handler;
  std::unique_ptr<CQLRFloatPane> m_pane;
};

TEST_F(PaneListTest, RefreshCountsItemsSetsTheTitleOnceAndShowsTheNewest) {
  for (int i = 0; i < 40; ++i) AddText(L"item " + std::to_wstring(i));
  CQLRFloatPane& pane = OpenPane();
  EXPECT_EQ(Title(), L"Clipboard History[40] : Quillora");
  EXPECT_EQ(SendMessageW(pane, pane_ids::kItemCount, 0, 0), 40);
  ASSERT_TRUE(SubclassWindowProc(pane, CountSetText, 0));
  pane.RefreshList();
  EXPECT_EQ(g_setTexts, 0);  // unchanged title: not set again
  SendMessageW(pane.List(), LVM_ENSUREVISIBLE, 39, FALSE);
  ASSERT_GT(SendMessageW(pane.List(), LVM_GETTOPINDEX, 0, 0), 0);
  AddText(L"newest");
  pane.RefreshList();
  EXPECT_EQ(g_setTexts, 1);
  EXPECT_EQ(Title(), L"Clipboard History[41] : Quillora");
  EXPECT_EQ(SendMessageW(pane.List(), LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageW(pane, pane_ids::kItemCount, 0, 0), 41);
  UnsubclassWindowProc(pane);
}

TEST_F(PaneListTest, DisplayCallbackGivesBoundedTextAndTheKindsImage) {
  Add(histtest::MakeBitmapItem(1, 30000, RGB(1, 2, 3), RGB(4, 5, 6)));
  Add(histtest::MakeBytes(kHistoryKindBrindle, "data", false));
  Add(histtest::MakeBytes(kHistoryKindAnsi, "ansi\ntext", true));
  AddText(L"\r\n\tunicode  text\r\n");
  AddText(std::wstring(1024 * 1024, L'm'));
  CQLRFloatPane& pane = OpenPane();
  int image = 0;
  EXPECT_EQ(DisplayText(0, 2000, &image), std::wstring(kListTextMaxChars, L'm'));
  EXPECT_EQ(image, 1);
  EXPECT_EQ(DisplayText(0, 16, &image), std::wstring(15, L'm'));  // cchTextMax - 1 and the end
  EXPECT_EQ(DisplayText(1, 100, &image), L"unicode text");
  EXPECT_EQ(DisplayText(2, 100, &image), L"ansi text");
  EXPECT_EQ(image, 1);
  EXPECT_EQ(DisplayText(3, 100, &image), L"Brindle Document Data");
  EXPECT_EQ(image, 2);
  EXPECT_EQ(DisplayText(4, 100, &image), L"");  // a bitmap shows no text
  EXPECT_EQ(image, 3);
  EXPECT_EQ(DisplayText(9, 100, &image), L"");
  EXPECT_EQ(image, -1);
  EXPECT_EQ(DisplayText(1, 0, &image), L"####");  // no room at all: nothing written

  // The hovered row shows the quick-copy image, whatever its kind.
  RECT icon = {LVIR_ICON};
  SendMessageW(pane.List(), LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&icon));
  POINT pt = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
  POINT screen = pt;
  ClientToScreen(pane.List(), &screen);
  SetCursorPos(screen.x, screen.y);
  // The hover timer reads the cursor: wait until the system reports it there.
  ASSERT_TRUE(PumpUntil([&] {
    POINT now = {};
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
  }));
  SendMessageW(pane.List(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  SendMessageW(pane.List(), WM_TIMER, hover_ids::kTimer, 0);
  ASSERT_EQ(pane.HoverTracker().HotItem(), 3);
  DisplayText(3, 100, &image);
  EXPECT_EQ(image, 5);
  EXPECT_FALSE(pane.IsQuickCopyTipShown());  // the info tip of the row is not up
}

TEST_F(PaneListTest, InfoTipHoldsTheDetailsWithinItsBuffer) {
  AddText(L"first line\nsecond line");
  CQLRFloatPane& pane = OpenPane();
  std::wstring buffer(300, L'#');
  NMLVGETINFOTIPW tip = {};
  tip.hdr.code = LVN_GETINFOTIPW;
  tip.pszText = &buffer[0];
  tip.cchTextMax = 40;
  tip.iItem = 0;
  Notify(&tip.hdr);
  std::wstring details = HistoryItemDetails(*m_handler.GetItem(0), L"first line second line");
  EXPECT_EQ(std::wstring(buffer.c_str()), details.substr(0, 39));
  EXPECT_EQ(buffer[40], L'#');
  EXPECT_EQ(pane.ListCtrl().TipItem(), 0);
}

TEST_F(PaneListTest, RowPrePaintSetsBackgroundsAndFonts) {
  AddText(L"oldest");
  auto kept = histtest::MakeText(L"protected");
  kept->SetProtected(true);
  Add(std::move(kept));
  AddText(L"odd");
  AddText(L"newest");
  CQLRFloatPane& pane = OpenPane();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ original = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  auto prePaint = [&](int row, COLORREF* textBk) {
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = row;
    draw.nmcd.hdc = dc;
    draw.clrTextBk = CLR_DEFAULT;
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    LRESULT result = Notify(&draw.nmcd.hdr);
    *textBk = draw.clrTextBk;
    return result;
  };
  NMLVCUSTOMDRAW start = {};
  start.nmcd.hdr.code = NM_CUSTOMDRAW;
  start.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(Notify(&start.nmcd.hdr), CDRF_NOTIFYITEMDRAW);

  COLORREF bk = 0;
  EXPECT_EQ(prePaint(0, &bk), CDRF_NOTIFYPOSTPAINT | CDRF_NEWFONT);
  EXPECT_EQ(bk, CLR_DEFAULT);
  LOGFONTW font = {};
  LOGFONTW base = {};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(font.lfHeight, base.lfHeight < 0 ? base.lfHeight - 8 : base.lfHeight + 8);

  const COLORREF listBk = static_cast<COLORREF>(SendMessageW(pane.List(), LVM_GETBKCOLOR, 0, 0));
  EXPECT_EQ(prePaint(1, &bk), CDRF_NOTIFYPOSTPAINT);
  EXPECT_EQ(bk, ShadeColor(listBk));
  EXPECT_EQ(prePaint(2, &bk), CDRF_NOTIFYPOSTPAINT);
  EXPECT_EQ(bk, GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(prePaint(3, &bk), CDRF_NOTIFYPOSTPAINT);
  EXPECT_EQ(bk, ShadeColor(listBk));
  SelectObject(dc, original);
  DeleteDC(dc);
}

TEST_F(PaneListTest, NotificationsFromAnotherThreadAreNotRead) {
  AddText(L"one");
  CQLRFloatPane& pane = OpenPane();
  HWND hwnd = pane;
  std::atomic<LRESULT> answer{-1};
  // An address no notification lies at: reading it would crash the pane.
  std::thread other([&] {
    DWORD_PTR result = 0;
    answer = SendMessageTimeoutW(hwnd, WM_NOTIFY, pane_ids::kListId, 0x10, SMTO_NORMAL, 5000, &result)
                 ? static_cast<LRESULT>(result)
                 : -2;
  });
  // The pane answers while this thread pumps.
  bool answered = PumpUntil([&] { return answer != -1; }, 10000);
  other.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(SendMessageW(hwnd, pane_ids::kItemCount, 0, 0), 1);
}

// The texts of the tools of every tooltip the pane owns.
std::vector<std::wstring> PaneTipTexts(HWND pane) {
  struct Search {
    HWND pane;
    std::vector<std::wstring> texts;
  } search{pane, {}};
  EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM param) -> BOOL {
    auto* s = reinterpret_cast<Search*>(param);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0 || GetWindow(hwnd, GW_OWNER) != s->pane) return TRUE;
    int count = static_cast<int>(SendMessageW(hwnd, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      TOOLINFOW tool = {};
      tool.cbSize = sizeof(tool);
      tool.lpszText = text;
      if (SendMessageW(hwnd, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool))) s->texts.push_back(text);
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.texts;
}

TEST_F(PaneListTest, CaptionTipNamesTheProgramVersionAndTheHistory) {
  CQLRFloatPane& pane = OpenPane();
  std::vector<std::wstring> texts = PaneTipTexts(pane);
  // This test program has no version block: the short version is the name alone.
  EXPECT_NE(std::find(texts.begin(), texts.end(), GetProgramVersionTextShort() + L" - Clipboard History"),
            texts.end());
  EXPECT_EQ(GetProgramVersionTextShort(), L"Quillora");
}

}  // namespace
