// The pane's caption: its painting plan and custom-draw answers, the tips of
// its buttons from a tip provider, the edit button's drop-down and the
// caption menu's states, on a real pane over a real handler.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/ui/theme.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_caption.h"
#include "history/pane/pane_menu_state.h"
#include "history/tests/handler_parent.h"
#include "history/tests/history_test_util.h"
#include "history/tests/pane_test_host.h"
#include "phrases/menu/menu_tooltip.h"
#include "settings/settings_files.h"

namespace {

using qlrtest::PumpUntil;

TEST(CaptionGeometryTest, AreaHintAndIconFollowTheSeparator) {
  const RECT separator = {0, 0, 120, 22};
  const RECT client = {0, 0, 300, 24};
  const RECT area = CaptionTextArea(&separator, client);
  // 2 px right and up, then left and top 3 px in.
  EXPECT_EQ(area.left, 5);
  EXPECT_EQ(area.top, 1);
  EXPECT_EQ(area.right, 122);
  EXPECT_EQ(area.bottom, 20);
  // No buttons: the client rectangle 2 px lower, then 3 px in.
  const RECT bare = CaptionTextArea(nullptr, client);
  EXPECT_EQ(bare.left, 3);
  EXPECT_EQ(bare.top, 5);
  EXPECT_EQ(bare.right, 300);
  EXPECT_EQ(bare.bottom, 26);

  CaptionPaint expanded = PlanCaptionPaint(area, 42, false, true, L"Right click here", 170);
  EXPECT_EQ(expanded.count, L"42");
  EXPECT_EQ(expanded.hint, L" - Right click here");
  EXPECT_EQ(expanded.hintColor, kCaptionHintRecording);
  EXPECT_EQ(expanded.hintRect.left, 20);
  EXPECT_EQ(expanded.hintRect.top, 4);
  EXPECT_EQ(expanded.hintRect.right, 134);
  EXPECT_EQ(expanded.hintRect.bottom, 23);
  EXPECT_EQ(PlanCaptionPaint(area, 0, false, false, L"", 170).hintColor, kCaptionCountColor);
  EXPECT_EQ(PlanCaptionPaint(area, 0, false, false, L"", 170).count, L"0");

  CaptionPaint collapsed = PlanCaptionPaint(area, 7, true, true, L"Right click here", 24);
  EXPECT_TRUE(collapsed.hint.empty());
  EXPECT_EQ(collapsed.iconAt.x, 24);
  EXPECT_EQ(collapsed.iconAt.y, 5);

  const RECT square = CloseButtonSquare(RECT{200, 0, 222, 22});
  EXPECT_EQ(square.left, 204);
  EXPECT_EQ(square.top, 4);
  EXPECT_EQ(square.right - square.left, 14);
  EXPECT_EQ(square.bottom - square.top, 14);
}

TEST(CaptionGeometryTest, TipTextsSplitAtALineFeedAfterTheFirstCharacter) {
  std::wstring title;
  std::wstring text;
  SplitButtonTip(L"Keep [max = 50]\nNo\nMethod: x", title, text);
  EXPECT_EQ(title, L"Keep [max = 50]");
  EXPECT_EQ(text, L"No\nMethod: x");
  SplitButtonTip(L"K\nx", title, text);
  EXPECT_EQ(title, L"K");
  EXPECT_EQ(text, L"x");
  SplitButtonTip(L"Copy", title, text);
  EXPECT_EQ(title, L"Copy");
  EXPECT_EQ(text, L" ");
  // A line feed in front is no separator.
  SplitButtonTip(L"\nCopy", title, text);
  EXPECT_EQ(title, L"\nCopy");
  EXPECT_EQ(text, L" ");
  EXPECT_EQ(AfterLineFeed(L"Keep the pane open\nFix Pane"), L"Fix Pane");
  EXPECT_EQ(AfterLineFeed(L"Fix Pane"), L"Fix Pane");
  EXPECT_EQ(AfterLineFeed(L"\nFix"), L"\nFix");
  EXPECT_EQ(AfterLineFeed(L""), L"");
}

std::wstring g_tipTitle;
WNDPROC g_tipProc = nullptr;
LRESULT CALLBACK TitleSpy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == TTM_SETTITLEW && lParam) g_tipTitle = reinterpret_cast<const wchar_t*>(lParam);
  return CallWindowProcW(g_tipProc, hwnd, msg, wParam, lParam);
}

// A tip provider with fixed texts.
class TestTips : public CMenuToolTip {
 public:
  bool GetItemText(std::wstring& text, UINT id, HMENU, std::wstring&) override {
    auto it = texts.find(id);
    if (it == texts.end()) return false;
    text = it->second;
    return true;
  }
  std::map<UINT, std::wstring> texts;
};

class PaneCaptionTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsFolders(m_dir.Path(), m_dir.Path()); }
  void TearDown() override {
    if (m_pane && m_pane->IsWindow()) m_pane->DestroyWindow();
    m_pane.reset();
    SetSettingsFolders(L"", L"");
  }
  CQLRFloatPane& OpenPane(int items) {
    for (int i = 0; i < items; ++i) {
      auto item = histtest::MakeText(L"item " + std::to_wstring(i));
      item->number = static_cast<std::uint32_t>(i + 1);
      m_handler.Queue().Append(std::move(item));
    }
    m_pane = std::make_unique<CQLRFloatPane>(&m_tips, nullptr);
    m_pane->SetHost(&m_host);
    EXPECT_TRUE(histtest::OpenFixedPane(*m_pane, &m_handler));
    m_pane->RefreshList();
    return *m_pane;
  }
  LRESULT Notify(NMHDR* header) {
    header->hwndFrom = m_pane->Toolbar();
    header->idFrom = pane_ids::kToolbarId;
    return SendMessageW(*m_pane, WM_NOTIFY, pane_ids::kToolbarId, reinterpret_cast<LPARAM>(header));
  }
  LRESULT DrawStage(DWORD stage, HDC dc, DWORD_PTR item = 0) {
    NMTBCUSTOMDRAW draw = {};
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.hdc = dc;
    draw.nmcd.dwItemSpec = item;
    if (item) SendMessageW(m_pane->Toolbar(), TB_GETRECT, item, reinterpret_cast<LPARAM>(&draw.nmcd.rc));
    return Notify(&draw.nmcd.hdr);
  }
  // The tip of a button: its text, and the title the tip control got.
  std::wstring Tip(UINT command, std::wstring* title) {
    // The toolbar may make its tip control at the first mouse move only.
    SendMessageW(m_pane->Toolbar(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    wchar_t text[1024] = L"untouched";
    NMTBGETINFOTIPW info = {};
    info.hdr.code = TBN_GETINFOTIPW;
    info.pszText = text;
    info.cchTextMax = 1024;
    info.iItem = static_cast<int>(command);
    // The title the pane gives the tip control, caught on its way there
    // (not every tip control answers TTM_GETTITLE).
    HWND tips = reinterpret_cast<HWND>(SendMessageW(m_pane->Toolbar(), TB_GETTOOLTIPS, 0, 0));
    g_tipTitle.clear();
    WNDPROC old = tips ? reinterpret_cast<WNDPROC>(
                             SetWindowLongPtrW(tips, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TitleSpy)))
                       : nullptr;
    g_tipProc = old;
    Notify(&info.hdr);
    if (tips) SetWindowLongPtrW(tips, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    EXPECT_NE(tips, nullptr);
    *title = g_tipTitle;
    return text;
  }

  qlrtest::TempDir m_dir;
  histtest::HistoryFolder m_folder;
  CQLRWndClipboardHandler m_handler;
  histtest::PaneTestHost m_host;
  TestTips m_tips;
  std::unique_ptr<CQLRFloatPane> m_pane;
};

// A memory DC over a white DIB of the toolbar's size.
struct Canvas {
  Canvas(int width, int height) : width(width), height(height) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = histtest::MakeBitmap(width, height, RGB(255, 255, 255), RGB(255, 255, 255));
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  bool Painted(const RECT& rect) const {
    for (int y = std::max(0L, rect.top); y < std::min<LONG>(height, rect.bottom); ++y)
      for (int x = std::max(0L, rect.left); x < std::min<LONG>(width, rect.right); ++x)
        if ((GetPixel(dc, x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
    return false;
  }
  int width;
  int height;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
};

TEST_F(PaneCaptionTest, CustomDrawShowsTheCountTheHintByHandlerStateAndTheCollapsedIcon) {
  OpenPane(3);
  RECT bar = {};
  GetClientRect(m_pane->Toolbar(), &bar);
  Canvas canvas(bar.right, bar.bottom);
  EXPECT_EQ(DrawStage(CDDS_PREPAINT, canvas.dc), CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT);
  EXPECT_EQ(DrawStage(CDDS_POSTPAINT, canvas.dc), CDRF_DODEFAULT);
  const CaptionPaint& plan = m_pane->LastCaptionPaint();
  EXPECT_EQ(plan.count, L"3");
  EXPECT_FALSE(plan.collapsed);
  EXPECT_EQ(plan.hint, L" - Right click here");
  // The handler has no window: the history does not record.
  EXPECT_EQ(plan.hintColor, kCaptionCountColor);
  EXPECT_TRUE(canvas.Painted(plan.area));
  // The area starts at the stretch separator.
  RECT separator = {};
  SendMessageW(m_pane->Toolbar(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&separator));
  EXPECT_EQ(plan.area.left, separator.left + 5);

  histtest::HandlerParent parent;
  ASSERT_TRUE(m_handler.Create(parent.hwnd, histtest::kHandlerId, false));
  DrawStage(CDDS_POSTPAINT, canvas.dc);
  EXPECT_EQ(m_pane->LastCaptionPaint().hintColor, kCaptionHintRecording);

  m_pane->SetShowMode(1, false);
  RECT pane = {};
  GetWindowRect(*m_pane, &pane);
  Canvas small(bar.right, bar.bottom);
  DrawStage(CDDS_POSTPAINT, small.dc);
  const CaptionPaint& collapsed = m_pane->LastCaptionPaint();
  EXPECT_TRUE(collapsed.collapsed);
  EXPECT_TRUE(collapsed.hint.empty());
  EXPECT_EQ(collapsed.iconAt.x, collapsed.area.left + 19);
  EXPECT_EQ(collapsed.iconAt.y, (pane.bottom - pane.top - 14) / 2);
  m_handler.Destroy();
}

TEST_F(PaneCaptionTest, CloseButtonKeepsTheToolbarsDrawingWithoutTheme) {
  OpenPane(0);
  Canvas canvas(300, 24);
  const LRESULT close = DrawStage(CDDS_ITEMPREPAINT, canvas.dc, pane_ids::kClose);
  // Skipped only when the themed button was drawn.
  if (!IsAppThemedSafe()) {
    EXPECT_EQ(close, CDRF_DODEFAULT);
  } else {
    EXPECT_TRUE(close == CDRF_SKIPDEFAULT || close == CDRF_DODEFAULT);
  }
  EXPECT_EQ(DrawStage(CDDS_ITEMPREPAINT, canvas.dc, pane_ids::kCopy), CDRF_DODEFAULT);
  // A zero-count caption shows "0".
  DrawStage(CDDS_POSTPAINT, canvas.dc);
  EXPECT_EQ(m_pane->LastCaptionPaint().count, L"0");
}

TEST_F(PaneCaptionTest, ButtonTipsComeFromTheProviderSplitIntoTitleAndText) {
  m_tips.texts[pane_ids::kKeep] = L"Keep the history [max = 50]\nNo\nMethod: using AddClipboardListener";
  m_tips.texts[pane_ids::kCopy] = L"Copy the item";
  m_tips.texts[pane_ids::kClose] = L"Close\ntext";
  m_tips.texts[pane_ids::kFixPane] = std::wstring(1000, L'f');
  m_tips.texts[pane_ids::kEditPhrases] = L"";
  OpenPane(1);
  std::wstring title;
  EXPECT_EQ(Tip(pane_ids::kKeep, &title), L"No\nMethod: using AddClipboardListener");
  EXPECT_EQ(title, L"Keep the history [max = 50]");
  EXPECT_EQ(Tip(pane_ids::kCopy, &title), L" ");
  EXPECT_EQ(title, L"Copy the item");
  // Long texts stay within the tip's buffers.
  EXPECT_EQ(Tip(pane_ids::kFixPane, &title), L" ");
  EXPECT_EQ(title, std::wstring(99, L'f'));
  // No tip for the close button, an empty text or a command without text.
  EXPECT_EQ(Tip(pane_ids::kClose, &title), L"");
  EXPECT_EQ(Tip(pane_ids::kEditPhrases, &title), L"");
  EXPECT_EQ(Tip(pane_ids::kMinimizeToCaption, &title), L"");
}

TEST_F(PaneCaptionTest, DropDownHoldsTheTrayCommandsAndPassesChoicesOn) {
  OpenPane(2);
  m_pane->SetFixed(true);
  HMENU menu = m_pane->BuildDropDownMenu();
  ASSERT_NE(menu, nullptr);
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    UINT id = GetMenuItemID(menu, i);
    ids.push_back(id == static_cast<UINT>(-1) ? 0 : id);
  }
  EXPECT_EQ(ids, (std::vector<UINT>{32772, 0, 32820, 32809, 32817, 32827, 32815, 32816, 0, 32791, 57664, 0, 57665}));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 32772u);
  EXPECT_TRUE(GetMenuState(menu, 32816, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, 32809, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(menu, 32820, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(MenuItemText(menu, 32772), L"Edit Phrases\\Settings…");
  EXPECT_EQ(MenuItemText(menu, 32815), L"Wrte Log");
  EXPECT_EQ(MenuItemText(menu, 32820), L"Fix Pane");
  EXPECT_EQ(MenuItemText(menu, 57665), L"Exit");
  DestroyMenu(menu);
  m_pane->SetFixed(false);
  menu = m_pane->BuildDropDownMenu();
  EXPECT_FALSE(GetMenuState(menu, 32820, MF_BYCOMMAND) & MF_CHECKED);
  DestroyMenu(menu);

  m_pane->RunDropDownChoice(32820);
  EXPECT_TRUE(m_pane->IsFixed());
  m_pane->RunDropDownChoice(32820);
  EXPECT_FALSE(m_pane->IsFixed());
  EXPECT_TRUE(histtest::TrayCommands().empty());
  m_pane->RunDropDownChoice(32815);
  PumpUntil([] { return !histtest::TrayCommands().empty(); }, 5000);
  EXPECT_EQ(histtest::TrayCommands(), (std::vector<UINT>{32815}));
}

TEST_F(PaneCaptionTest, DropDownOpensAtTheButtonPressedAndTheTrayPreparesIt) {
  OpenPane(1);
  bool pressed = false;
  std::vector<UINT> seen;
  std::thread reader([&] {
    seen = histtest::ReadOpenMenu([&](HMENU) {
      pressed = SendMessageW(m_pane->Toolbar(), TB_ISBUTTONPRESSED, pane_ids::kEditPhrases, 0) != 0;
    });
  });
  NMTOOLBARW info = {};
  info.hdr.code = TBN_DROPDOWN;
  info.iItem = static_cast<int>(pane_ids::kEditPhrases);
  EXPECT_EQ(Notify(&info.hdr), TBDDRET_DEFAULT);
  reader.join();
  EXPECT_EQ(seen.size(), 13u);
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(SendMessageW(m_pane->Toolbar(), TB_ISBUTTONPRESSED, pane_ids::kEditPhrases, 0));
  EXPECT_GE(histtest::TrayMenuInits(), 1);
  // Escape chose nothing.
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(histtest::TrayCommands().empty());
  // Other buttons have no drop-down.
  info.iItem = static_cast<int>(pane_ids::kCopy);
  EXPECT_EQ(Notify(&info.hdr), TBDDRET_NODEFAULT);
}

TEST_F(PaneCaptionTest, CaptionMenuStatesFollowAdminSoundsAndItems) {
  struct Seen {
    bool adminEnabled, soundsChecked, clearEnabled;
    UINT defaultItem;
  };
  auto open = [&](bool ctrlClick) {
    Seen seen = {};
    std::thread reader([&] {
      histtest::ReadOpenMenu([&](HMENU menu) {
        seen.adminEnabled = !(GetMenuState(menu, 32829, MF_BYCOMMAND) & MF_GRAYED);
        seen.soundsChecked = (GetMenuState(menu, 32817, MF_BYCOMMAND) & MF_CHECKED) != 0;
        seen.clearEnabled = !(GetMenuState(menu, 32789, MF_BYCOMMAND) & MF_GRAYED);
        seen.defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
      });
    });
    if (ctrlClick)
      SendMessageW(m_pane->Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
    else
      m_pane->ShowCaptionMenu(POINT{100, 100});
    reader.join();
    return seen;
  };
  OpenPane(0);
  m_host.admin = false;
  m_host.sounds = true;
  Seen first = open(false);
  EXPECT_TRUE(first.adminEnabled);
  EXPECT_TRUE(first.soundsChecked);
  EXPECT_FALSE(first.clearEnabled);
  EXPECT_EQ(first.defaultItem, 32844u);
  m_host.admin = true;
  m_host.sounds = false;
  // Ctrl + click on the caption opens the same menu.
  Seen second = open(true);
  EXPECT_FALSE(second.adminEnabled);
  EXPECT_FALSE(second.soundsChecked);
  EXPECT_EQ(second.defaultItem, 32844u);
}

TEST_F(PaneCaptionTest, CaptionMenuClearIsEnabledWithItems) {
  OpenPane(2);
  bool clearEnabled = false;
  std::thread reader([&] {
    histtest::ReadOpenMenu([&](HMENU menu) { clearEnabled = !(GetMenuState(menu, 32789, MF_BYCOMMAND) & MF_GRAYED); });
  });
  m_pane->ShowCaptionMenu(POINT{100, 100});
  reader.join();
  EXPECT_TRUE(clearEnabled);
}

}  // namespace
