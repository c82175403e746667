// The view and its document in-process: what the C interface leaves out of
// sight (style sheets taken, handlers registered, elements alive).
#include "platform/htmlayout/view.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/htmlayout_handler.h"
#include "platform/htmlayout/tests/dll/element_find.h"
#include "platform/htmlayout/tests/dll/sample_pages.h"

namespace {

struct ViewWindow {
  HWND hwnd = CreateWindowExW(0, HTMLayoutClassNameW(), L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ~ViewWindow() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  bool Load(const std::string& html, const wchar_t* base = nullptr) {
    return HTMLayoutLoadHtmlEx(hwnd, reinterpret_cast<const BYTE*>(html.data()), static_cast<UINT>(html.size()), base) != FALSE;
  }
  hl::View* View() const { return hl::ViewFromWindow(hwnd); }
};

using hltest::FindById;

struct SheetAnswer {
  enum Mode { kDataReady, kOutData, kNothing, kReload, kDestroy } mode;
  std::string css;
  int calls = 0;
};

LRESULT CALLBACK AnswerSheets(UINT, WPARAM, LPARAM lParam, LPVOID param) {
  auto* answer = static_cast<SheetAnswer*>(param);
  auto* nm = reinterpret_cast<NMHL_LOAD_DATA*>(lParam);
  ++answer->calls;
  HWND view = nm->hdr.hwndFrom;
  switch (answer->mode) {
    case SheetAnswer::kDataReady:
      HTMLayoutDataReady(view, nm->uri, reinterpret_cast<BYTE*>(&answer->css[0]), static_cast<DWORD>(answer->css.size()));
      break;
    case SheetAnswer::kOutData:
      nm->outData = &answer->css[0];
      nm->outDataSize = static_cast<DWORD>(answer->css.size());
      break;
    case SheetAnswer::kNothing: break;
    case SheetAnswer::kReload:
      HTMLayoutLoadHtml(view, reinterpret_cast<const BYTE*>("<p>other"), 8);
      break;
    case SheetAnswer::kDestroy: DestroyWindow(view); break;
  }
  return LOAD_OK;
}

TEST(ViewTest, StyleSheetsComeOnlyFromTheCallback) {
  const std::string page =
      "<link rel=stylesheet href=a.css><link rel=stylesheet href=\"sub/b.css\"><p>x</p>";
  const struct {
    SheetAnswer::Mode mode;
    const wchar_t* text;  // of both sheets
    bool pending;
  } cases[] = {
      {SheetAnswer::kDataReady, L"p {color: red}", false},
      {SheetAnswer::kOutData, L"p {color: red}", false},
      {SheetAnswer::kNothing, L"", true},
  };
  for (const auto& c : cases) {
    ViewWindow w;
    SheetAnswer answer{c.mode, "\xEF\xBB\xBFp {color: red}"};
    HTMLayoutSetCallback(w.hwnd, AnswerSheets, &answer);
    ASSERT_TRUE(w.Load(page, L"C:\\app\\HTML\\"));
    EXPECT_EQ(answer.calls, 2);
    const auto& sheets = w.View()->Doc()->sheets;
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].uri, L"C:\\app\\HTML\\a.css");
    EXPECT_EQ(sheets[1].uri, L"C:\\app\\HTML\\sub\\b.css");
    for (const auto& s : sheets) {
      EXPECT_EQ(s.text, c.text) << c.mode;
      EXPECT_EQ(s.pending, c.pending) << c.mode;
    }
    // Bytes handed over late still reach a sheet that waits for them, once.
    std::string late = "h1 {}";
    BOOL taken = HTMLayoutDataReady(w.hwnd, L"c:\\APP\\html\\a.css", reinterpret_cast<BYTE*>(&late[0]), 5);
    EXPECT_EQ(taken != FALSE, c.pending);
    EXPECT_EQ(sheets[0].text, c.pending ? L"h1 {}" : c.text);
    EXPECT_FALSE(HTMLayoutDataReady(w.hwnd, L"C:\\app\\HTML\\unknown.css", reinterpret_cast<BYTE*>(&late[0]), 5));
  }
}

TEST(ViewTest, CallbackMayReloadOrDestroyTheView) {
  const std::string page = "<link rel=stylesheet href=a.css><link rel=stylesheet href=b.css>";
  {
    ViewWindow w;
    SheetAnswer answer{SheetAnswer::kReload, ""};
    HTMLayoutSetCallback(w.hwnd, AnswerSheets, &answer);
    EXPECT_TRUE(w.Load(page));
    EXPECT_EQ(answer.calls, 1);  // the second link went with the first document
    EXPECT_TRUE(w.View()->Doc()->sheets.empty());
  }
  {
    ViewWindow w;
    SheetAnswer answer{SheetAnswer::kDestroy, ""};
    HTMLayoutSetCallback(w.hwnd, AnswerSheets, &answer);
    w.Load(page);
    EXPECT_EQ(answer.calls, 1);
    EXPECT_FALSE(IsWindow(w.hwnd));
  }
}

TEST(ViewTest, WelcomePageAsksForItsStyleSheet) {
  ViewWindow w;
  SheetAnswer answer{SheetAnswer::kDataReady, "#macro {color: orange; font-weight: bold;}"};
  HTMLayoutSetCallback(w.hwnd, AnswerSheets, &answer);
  ASSERT_TRUE(w.Load(hlpages::WelcomePage(), L"C:\\q\\HTML\\img"));
  EXPECT_EQ(answer.calls, 1);
  const auto& sheets = w.View()->Doc()->sheets;
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].uri, L"C:\\q\\HTML\\ext_style.css");
  EXPECT_EQ(sheets[0].text, L"#macro {color: orange; font-weight: bold;}");
  EXPECT_EQ(w.View()->Doc()->title, L"Welcome to Quillora");
}

struct Recorder : HLEventHandler {
  std::string log;
  bool HandleMouse(HELEMENT, MOUSE_PARAMS& p) override {
    log += "mouse" + std::to_string(p.cmd) + " ";
    return p.cmd == MOUSE_DOWN;
  }
  bool HandleBehaviorEvent(HELEMENT, BEHAVIOR_EVENT_PARAMS& p) override {
    log += "behavior" + std::to_string(p.cmd) + " ";
    return p.cmd == (HYPERLINK_CLICK | SINKING);
  }
};

TEST(ViewTest, HandlersRegisterOnceAndDispatchByGroup) {
  ViewWindow w;
  Recorder a, b;
  EXPECT_EQ(HTMLayoutWindowAttachEventHandler(w.hwnd, HLEventHandler::ElementProc, &a, HANDLE_ALL), HLDOM_OK);
  EXPECT_EQ(HTMLayoutWindowAttachEventHandler(w.hwnd, HLEventHandler::ElementProc, &b, HANDLE_MOUSE), HLDOM_OK);
  // Attached again after a reload, as the welcome window does: no second entry.
  w.Load("<p>x");
  EXPECT_EQ(HTMLayoutWindowAttachEventHandler(w.hwnd, HLEventHandler::ElementProc, &a, HANDLE_ALL), HLDOM_OK);
  const auto& handlers = w.View()->Handlers();
  ASSERT_EQ(handlers.size(), 2u);
  EXPECT_EQ(handlers[0].groups, static_cast<UINT>(HANDLE_ALL));
  EXPECT_EQ(handlers[1].groups, static_cast<UINT>(HANDLE_MOUSE));
  EXPECT_EQ(HTMLayoutWindowAttachEventHandler(w.hwnd, nullptr, &a, HANDLE_ALL), HLDOM_INVALID_PARAMETER);

  MOUSE_PARAMS down = {MOUSE_DOWN};
  down.button_state = MAIN_MOUSE_BUTTON;
  MOUSE_PARAMS move = {MOUSE_MOVE};
  BEHAVIOR_EVENT_PARAMS click = {HYPERLINK_CLICK | SINKING};
  BEHAVIOR_EVENT_PARAMS state = {BUTTON_STATE_CHANGED};
  const struct {
    UINT group;
    void* params;
    BOOL handled;
  } events[] = {
      {HANDLE_MOUSE, &down, TRUE},          {HANDLE_MOUSE, &move, FALSE},
      {HANDLE_BEHAVIOR_EVENT, &click, TRUE}, {HANDLE_BEHAVIOR_EVENT, &state, FALSE},
      {HANDLE_KEY, &move, FALSE},            {HANDLE_MOUSE, nullptr, FALSE},
  };
  for (const auto& e : events) {
    EXPECT_EQ(handlers[0].proc(handlers[0].tag, nullptr, e.group, e.params), e.handled) << e.group;
  }
  EXPECT_EQ(a.log, "mouse4 mouse2 behavior32896 behavior2 ");
  EXPECT_EQ(b.log, "");
}

TEST(ViewTest, UsedElementsOutliveReloadsAndOthersAreFreed) {
  const size_t before = hl::LiveElementCount();
  {
    ViewWindow w;
    const std::string page = hlpages::UpdatePage(true, 7);
    ASSERT_TRUE(w.Load(page));
    const size_t perPage = hl::LiveElementCount() - before;
    ASSERT_GT(perPage, 50u);

    HELEMENT kept = FindById(w.hwnd, L"CFUAutoCheck");
    HELEMENT dropped = FindById(w.hwnd, L"CFUDaysNumber");
    ASSERT_EQ(HTMLayout_UseElement(kept), HLDOM_OK);
    ASSERT_EQ(HTMLayout_UseElement(kept), HLDOM_OK);
    for (int reload = 0; reload < 2; ++reload) {
      ASSERT_TRUE(w.Load(page));
      EXPECT_EQ(hl::LiveElementCount(), before + perPage + 1) << reload;
      UINT state = 0;
      EXPECT_EQ(HTMLayoutGetElementState(kept, &state), HLDOM_PASSIVE_HANDLE);
      EXPECT_EQ(HTMLayoutGetElementState(dropped, &state), HLDOM_INVALID_HANDLE);
    }
    EXPECT_EQ(HTMLayout_UnuseElement(kept), HLDOM_OK);
    EXPECT_EQ(hl::LiveElementCount(), before + perPage + 1);
    EXPECT_EQ(HTMLayout_UnuseElement(kept), HLDOM_OK);
    EXPECT_EQ(hl::LiveElementCount(), before + perPage);
    EXPECT_EQ(HTMLayout_UnuseElement(kept), HLDOM_INVALID_HANDLE);

    // More releases than uses never free an element its document owns.
    HELEMENT current = FindById(w.hwnd, L"CFUAutoCheck");
    EXPECT_EQ(HTMLayout_UnuseElement(current), HLDOM_INVALID_PARAMETER);
    UINT state = 0;
    EXPECT_EQ(HTMLayoutGetElementState(current, &state), HLDOM_OK);
    EXPECT_EQ(state, static_cast<UINT>(STATE_CHECKED));

    // An element in use when its window goes is detached too.
    HTMLayout_UseElement(current);
    DestroyWindow(w.hwnd);
    EXPECT_EQ(hl::LiveElementCount(), before + 1);
    EXPECT_EQ(HTMLayoutGetElementState(current, &state), HLDOM_PASSIVE_HANDLE);
    HTMLayout_UnuseElement(current);
  }
  EXPECT_EQ(hl::LiveElementCount(), before);
}

TEST(ViewTest, ExtraReleasesDuringAVisitFreeNothingItWalks) {
  const size_t before = hl::LiveElementCount();
  {
    static ViewWindow* w;
    ViewWindow window;
    w = &window;
    ASSERT_TRUE(w->Load(hlpages::WelcomePage()));
    HELEMENT root = nullptr;
    HTMLayoutGetRootElement(w->hwnd, &root);
    int calls = 0;
    // Each visited link is released once more than it was used, then the
    // page is replaced: the visit must neither follow nor free them early.
    HTMLayoutVisitElements(root, "a", nullptr, nullptr, [](HELEMENT he, LPVOID p) -> BOOL {
      ++*static_cast<int*>(p);
      HTMLayout_UseElement(he);
      HTMLayout_UnuseElement(he);
      HTMLayout_UnuseElement(he);
      w->Load("<a href=x>1</a><a href=y>2</a>");
      return FALSE;
    }, &calls, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(hl::LiveElementCount(), before + 3);  // the root and the two new links
  }
  EXPECT_EQ(hl::LiveElementCount(), before);
}

}  // namespace
