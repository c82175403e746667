// Every button of every toolbar of the editor's frame, in a live view on the
// program's own resources: its state follows its command's rule, its image
// is drawn and its tip is not empty.
#include "editor/tests/doc_test_fixture.h"

#include <commctrl.h>

#include <functional>
#include <map>
#include <vector>

#include "editor/app/editor_ids.h"
#include "editor/frame/main_frame.h"
#include "editor/toolbars/toolbar_names.h"
#include "tests/support/toolbar_tip.h"

namespace {
using namespace docfix;

BOOL CALLBACK CollectToolbar(HWND window, LPARAM param) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (wcscmp(name, TOOLBARCLASSNAMEW) == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// True when drawing the image changes a pixel of the background.
bool ImageIsDrawn(HIMAGELIST images, int index) {
  int cx = 0, cy = 0;
  if (!images || index < 0 || !ImageList_GetIconSize(images, &cx, &cy)) return false;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF background = RGB(1, 2, 3);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all = {0, 0, cx, cy};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
  int changed = 0;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      if (GetPixel(dc, x, y) != background) ++changed;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return changed > 0;
}

struct Expected {
  bool enabled;
  int checked;  // -1: not a check button's concern
};

class EditorToolbarsTest : public DocHubTest {
 protected:
  // The rule of each command, read from the state of the phrase text and
  // the settings at the moment of the check.
  std::map<UINT, std::function<Expected()>> Rules(CQLRView* view) {
    HWND text = view->GetTextCtrl().m_hWnd;
    auto selection = [text] {
      CHARRANGE range = {};
      SendMessageW(text, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
      return range.cpMax > range.cpMin;
    };
    auto readOnly = [text] { return (GetWindowLongPtrW(text, GWL_STYLE) & ES_READONLY) != 0; };
    auto enabled = [](bool on) { return Expected{on, -1}; };
    return {
        {ID_EDIT_UNDO, [=] { return enabled(SendMessageW(text, EM_CANUNDO, 0, 0) != 0); }},
        {ID_EDIT_REDO, [=] { return enabled(SendMessageW(text, EM_CANREDO, 0, 0) != 0); }},
        {ID_EDIT_CUT, [=] { return enabled(selection() && !readOnly()); }},
        {ID_EDIT_COPY, [=] { return enabled(selection()); }},
        {ID_EDIT_PASTE, [=] { return enabled(!readOnly() && SendMessageW(text, EM_CANPASTE, 0, 0) != 0); }},
        {toolbars::kIdIntoMenuName, [=] { return enabled(selection()); }},
        // A phrase is shown: its data type and macros can be chosen.
        {toolbars::kIdDataType, [=] { return enabled(true); }},
        {toolbars::kIdInsertMacro, [=] { return enabled(true); }},
        {toolbars::kIdReadOnlyMode, [=] { return Expected{true, readOnly() ? 1 : 0}; }},
        // The phrase pane's buttons are always there to press.
        {ID_PHRASE_ADD_TEXT, [=] { return enabled(true); }},
        {ID_PHRASE_DELETE, [=] { return enabled(true); }},
        {ID_PHRASE_HIDE_UNCHECKED,
         [=] { return Expected{true, GetEditorSettings().ShowUncheckedPhrases ? 0 : 1}; }},
        // The links open web pages from the frame.
        {toolbars::kIdHomePage, [=] { return enabled(true); }},
        {toolbars::kIdSupport, [=] { return enabled(true); }},
        {toolbars::kIdOfficialForum, [=] { return enabled(true); }},
        {toolbars::kIdCommunityGroup, [=] { return enabled(true); }},
        {toolbars::kIdVideo, [=] { return enabled(true); }},
    };
  }

  // Updates every bar as the idle time and the view's message filter do,
  // then checks every button; returns how many buttons it checked.
  int CheckEveryButton(CQLRView* view, const char* situation) {
    SCOPED_TRACE(situation);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    MSG msg = {view->m_hWnd, WM_NULL, 0, 0};
    view->PreTranslateMessage(&msg);
    std::map<UINT, std::function<Expected()>> rules = Rules(view);
    std::vector<HWND> bars;
    EnumChildWindows(frame->m_hWnd, CollectToolbar, reinterpret_cast<LPARAM>(&bars));
    int checkedButtons = 0;
    for (HWND bar : bars) {
      const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
      const int count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        EXPECT_TRUE(SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        if (button.fsStyle & BTNS_SEP) continue;
        const UINT id = static_cast<UINT>(button.idCommand);
        SCOPED_TRACE("button " + std::to_string(id));
        auto rule = rules.find(id);
        if (rule == rules.end()) {
          ADD_FAILURE() << "a button without a rule in this test";
          continue;
        }
        const Expected want = rule->second();
        const LRESULT state = SendMessageW(bar, TB_GETSTATE, id, 0);
        EXPECT_EQ((state & TBSTATE_ENABLED) != 0, want.enabled);
        if (want.checked >= 0) EXPECT_EQ((state & TBSTATE_CHECKED) != 0, want.checked == 1);
        EXPECT_TRUE(ImageIsDrawn(images, button.iBitmap)) << "image " << button.iBitmap;
        wchar_t tip[512] = L"";
        qlrtest::AskToolbarTip(GetParent(bar), bar, static_cast<UINT_PTR>(GetDlgCtrlID(bar)), button.idCommand, tip,
                               512);
        EXPECT_NE(tip[0], L'\0') << "tip";
        ++checkedButtons;
      }
    }
    return checkedButtons;
  }
};

TEST_F(EditorToolbarsTest, EveryButtonHasItsStateImageAndTip) {
  // The pane registers with the application's document, which the test's
  // own template is not.
  doc->AddListener(&static_cast<CMainFrame*>(frame)->m_wndPhrases);
  // Alpha and Beta are phrases: the same buttons, other texts.
  doc->SelectRecord(IdOf(L"Alpha.quillora"));
  CView* shown = View();
  ASSERT_TRUE(shown && shown->IsKindOf(RUNTIME_CLASS(CQLRView)));
  auto* view = static_cast<CQLRView*>(shown);
  // 11 - 2 separators of the text toolbar, 3 of the pane, 5 links.
  EXPECT_EQ(CheckEveryButton(view, "a phrase just opened"), 17);

  // Editable, everything selected, text on the clipboard.
  view->SendMessage(WM_COMMAND, ID_FORMAT_READ_ONLY, 0);
  view->GetTextCtrl().SendMessage(EM_SETSEL, 0, -1);
  ASSERT_TRUE(qlrtest::PutClipboardText(L"clip"));
  CheckEveryButton(view, "editable with a selection");
  view->GetTextCtrl().SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"typed"));
  CheckEveryButton(view, "after an edit");

  doc->SelectRecord(IdOf(L"Beta.quillora"));
  CheckEveryButton(view, "a formatted phrase");
  frame->SendMessage(WM_COMMAND, ID_PHRASE_HIDE_UNCHECKED, 0);
  CheckEveryButton(view, "unchecked phrases hidden");
}

}  // namespace
