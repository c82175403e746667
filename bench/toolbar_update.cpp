// Prints how long one idle update of the phrase view's 11-button toolbar
// takes against a target with update handlers for the view's commands (the
// pass the view runs before every message it translates). Beside it the
// bare Win32 work it stands on: reading and writing each button's state
// once.
//   bench_toolbar_update
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "bench/bench_timer.h"
#include "editor/toolbars/text_tool_bar.h"
#include "platform/mfc/res/afx_ids.h"

namespace {

const int rounds = 2000;

// Stands for the view: most commands have an update handler, as there.
class CBenchTarget : public CWnd {
 public:
  int m_round = 0;

 protected:
  void OnUpdateToggle(CCmdUI* ui) { ui->Enable(m_round & 1); }
  void OnUpdateOn(CCmdUI* ui) { ui->Enable(TRUE); }
  void OnUpdateCheck(CCmdUI* ui) {
    ui->Enable(TRUE);
    ui->SetCheck(m_round & 1);
  }
  void OnCommandOnly() {}
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBenchTarget, CWnd)
  ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateOn)
  ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateToggle)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateToggle)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateToggle)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateOn)
  ON_UPDATE_COMMAND_UI(32793, OnUpdateToggle)
  ON_COMMAND(32801, OnCommandOnly)
  ON_COMMAND(32802, OnCommandOnly)
  ON_UPDATE_COMMAND_UI(32837, OnUpdateCheck)
END_MESSAGE_MAP()

}  // namespace

int wmain() {
  ::InitCommonControls();
  CBenchTarget view;
  if (!view.CreateEx(0, nullptr, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 600, 300, nullptr, nullptr)) {
    std::printf("cannot make the view\n");
    return 1;
  }
  CTextToolBar bar;
  if (!bar.Create(0x50001901, CRect(2, 2, 598, 36), &view, 1030)) {
    std::printf("cannot make the toolbar\n");
    return 1;
  }
  // Steady state: the states are as the handlers want them.
  bar.OnUpdateCmdUI(&view, TRUE);
  double start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) bar.OnUpdateCmdUI(&view, TRUE);
  const double steady = (BenchNowMs() - start) / rounds;
  // Every other round half of the buttons change.
  start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    view.m_round = i;
    bar.OnUpdateCmdUI(&view, TRUE);
  }
  const double changing = (BenchNowMs() - start) / rounds;

  start = BenchNowMs();
  const int count = bar.GetButtonCount();
  for (int i = 0; i < rounds; ++i) {
    for (int k = 0; k < count; ++k) {
      TBBUTTON button = {};
      ::SendMessageW(bar.m_hWnd, TB_GETBUTTON, k, reinterpret_cast<LPARAM>(&button));
      ::SendMessageW(bar.m_hWnd, TB_SETSTATE, button.idCommand, MAKELPARAM(button.fsState, 0));
    }
  }
  const double bare = (BenchNowMs() - start) / rounds;

  std::printf("idle update of the view's toolbar (11 buttons), per pass: %.4f ms unchanged, %.4f ms with changes "
              "(bare TB_GETBUTTON + TB_SETSTATE of every button: %.4f ms)\n",
              steady, changing, bare);
  view.DestroyWindow();
  return 0;
}
