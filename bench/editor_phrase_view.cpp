// The phrase text view on the real frame: a 10,000-character phrase full of
// macros selected through the document (loaded and highlighted), and one
// command-state update of the view's toolbar (what every message costs),
// beside the bare Win32 work they stand on measured in the same run: the
// same text set into a bare rich edit control, and one TB_GETSTATE per
// button.
//   bench_editor_phrase_view [characters] [rounds]
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "bench/bench_timer.h"
#include "editor/app/editor_access.h"
#include "editor/app/editor_app.h"
#include "editor/doc/doc.h"
#include "editor/doc/phrase_view.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "editor/store/command_folder.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "phrases/store/phrase_file.h"
#include "phrases/tests/phrase_test_util.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

// Showing a phrase may cost this many times setting its text.
constexpr double kShowTarget = 3;

std::wstring MacroText(int characters) {
  std::wstring text;
  while (static_cast<int>(text.size()) < characters) text += L"Dear %CLIPBOARD_TEXT%, on %DATE% we write.\r\n";
  text.resize(static_cast<size_t>(characters));
  return text;
}

// A bare control of the given client size and font (none: the control's own).
double BareSetText(const std::wstring& text, SIZE size, HFONT font) {
  HWND edit = CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE, 0, 0, size.cx, size.cy, nullptr,
                              nullptr, nullptr, nullptr);
  SendMessageW(edit, EM_EXLIMITTEXT, 0, 100000);
  if (font) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const double start = BenchNowMs();
  SetWindowTextW(edit, text.c_str());
  const double ms = BenchNowMs() - start;
  DestroyWindow(edit);
  return ms;
}

// The client size of the phrase view's text control.
SIZE ViewTextSize(CDoc* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  CView* view = pos ? doc->GetNextView(pos) : nullptr;
  RECT client = {0, 0, 600, 400};
  if (view && view->IsKindOf(RUNTIME_CLASS(CQLRView)))
    ::GetClientRect(static_cast<CQLRView*>(view)->GetTextCtrl().m_hWnd, &client);
  return SIZE{client.right, client.bottom};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int characters = argc > 1 ? _wtoi(argv[1]) : 10000;
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 5;
  InitCommonControls();
  LoadLibraryW(L"Riched20.dll");
  qlrtest::TempDir dir;
  const std::wstring root = dir.File(L"Phrases");
  CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring text = MacroText(characters);
  if (!SavePhraseToFile(phrasetest::MakePhrase(L"Big", text, 1), root + L"\\Big.quillora") ||
      !SavePhraseToFile(phrasetest::MakePhrase(L"Small", L"small", 2), root + L"\\Small.quillora"))
    return 1;
  SetSettingsFolders(dir.Path(), dir.File(L"profile"));
  GetEditorSettings().Load();
  GetCommandStore().Load(root);
  CQLRDocTemplate tmpl;
  CDoc* doc = static_cast<CDoc*>(tmpl.OpenDocumentFile(nullptr, TRUE));
  if (!doc) return 2;
  // The frame as the editor starts it: the size of the work area.
  POSITION first = doc->GetFirstViewPosition();
  CView* firstView = first ? doc->GetNextView(first) : nullptr;
  if (CFrameWnd* frame = firstView ? firstView->GetParentFrame() : nullptr) {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    frame->SetWindowPos(nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                        SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
  }
  const int big = static_cast<int>(GetCommandStore().FindByPath((root + L"\\Big.quillora").c_str())->GetId());
  const int small = static_cast<int>(GetCommandStore().FindByPath((root + L"\\Small.quillora").c_str())->GetId());

  double load = 0, bare = 0, bareDefault = 0, back = 0;
  for (int r = 0; r < rounds; ++r) {
    double start = BenchNowMs();
    doc->SelectRecord(small);
    if (r > 0) back += BenchNowMs() - start;  // the long one was shown before
    start = BenchNowMs();
    doc->SelectRecord(big);
    load += BenchNowMs() - start;
    bare += BareSetText(text, ViewTextSize(doc), editor::GetLargeDialogFont());
    bareDefault += BareSetText(text, SIZE{600, 400}, nullptr);
  }
  POSITION pos = doc->GetFirstViewPosition();
  CView* view = pos ? doc->GetNextView(pos) : nullptr;
  if (!view || !view->IsKindOf(RUNTIME_CLASS(CQLRView))) return 3;
  CTextToolBar& bar = static_cast<CQLRView*>(view)->GetToolBar();
  constexpr int kUpdates = 1000;
  double start = BenchNowMs();
  for (int i = 0; i < kUpdates; ++i) bar.OnUpdateCmdUI(view, FALSE);
  const double update = (BenchNowMs() - start) / kUpdates;
  const int buttons = static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT, 0, 0));
  start = BenchNowMs();
  for (int i = 0; i < kUpdates; ++i)
    for (int b = 0; b < buttons; ++b) bar.SendMessage(TB_GETSTATE, 30000 + b, 0);
  const double bareUpdate = (BenchNowMs() - start) / kUpdates;

  std::printf("phrase of %d characters selected and shown: %.1f ms average\n", characters, load / rounds);
  std::printf("bare rich edit SetWindowText of the text:    %.1f ms average (the view's size and font)\n",
              bare / rounds);
  std::printf("                                             %.1f ms average (600 x 400, its own font)\n",
              bareDefault / rounds);
  std::printf("ratio %.2f, target %.0f: %s\n", load / bare, kShowTarget, load <= kShowTarget * bare ? "met" : "MISSED");
  if (rounds > 1) std::printf("a short phrase after the long one:           %.1f ms average\n", back / (rounds - 1));
  std::printf("toolbar command-state update:   %.3f ms\n", update);
  std::printf("bare TB_GETSTATE per button:    %.3f ms\n", bareUpdate);
  return 0;
}
