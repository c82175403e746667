// The editor's document selecting records on the real frame: refilling the
// folder list for a folder of 2,000 phrases (the same folder again, and
// another folder of 2,000), a phrase selected while the phrase view is
// shown, and the list shown anew after a phrase (brought back and filled),
// beside the bare Win32 work they stand on, measured in the same run: the
// rows the view shows (name, usage count, path; check boxes, the file-type
// icons, the list font) inserted with redraw off into a report list view
// of the view's size, shown in a window of its own. A list view that is
// never shown, of 600 x 400 with short texts, is printed beside it. Last,
// the refill once the frame's first menu was opened (it makes the menu tip
// and the tip's thread hooks).
//   bench_editor_folder_list [phrases] [rounds]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "editor/app/editor_access.h"
#include "editor/app/editor_app.h"
#include "editor/doc/doc.h"
#include "editor/doc/folder_view.h"
#include "editor/store/command.h"
#include "editor/frame/main_frame.h"
#include "editor/store/command_folder.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "phrases/store/phrase_file.h"
#include "phrases/tests/phrase_test_util.h"
#include "platform/mfc/controls/image_list.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

constexpr double kRefillTargetRatio = 1.5;
constexpr double kShownTargetRatio = 1.5;

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

double BareFill(int rows) {
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 600, 400, nullptr, nullptr,
                              nullptr, nullptr);
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(L"Column");
    SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  const double start = BenchNowMs();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < rows; ++i) {
    std::wstring text = L"Phrase " + std::to_wstring(i);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = &text[0];
    item.lParam = i;
    int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (int sub = 1; sub < 3; ++sub) {
      LVITEMW subItem = {};
      subItem.iSubItem = sub;
      subItem.pszText = &text[0];
      SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&subItem));
    }
  }
  for (int c = 0; c < 3; ++c) SendMessageW(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  const double ms = BenchNowMs() - start;
  DestroyWindow(list);
  return ms;
}

struct BareRow {
  std::wstring texts[3];
};

// The rows the view shows, written the bare way into a list like the view's.
double BareViewFill(const std::vector<BareRow>& rows, int width, int height) {
  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width + 40, height + 40, nullptr,
                               nullptr, nullptr, nullptr);
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER, 0, 0,
                              width, height, frame, nullptr, nullptr, nullptr);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(editor::GetDialogFont()), FALSE);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(GetFileTypeImageList()->GetSafeHandle()));
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(L"Column");
    SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  UpdateWindow(frame);
  const double start = BenchNowMs();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.iImage = kImagePlainText;
    item.pszText = const_cast<wchar_t*>(rows[i].texts[0].c_str());
    item.lParam = static_cast<LPARAM>(i);
    const LRESULT index = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int sub = 1; sub < 3; ++sub) {
      LVITEMW subItem = {};
      subItem.iSubItem = sub;
      subItem.pszText = const_cast<wchar_t*>(rows[i].texts[sub].c_str());
      SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
    }
  }
  for (int c = 0; c < 3; ++c) SendMessageW(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  const double ms = BenchNowMs() - start;
  DestroyWindow(frame);
  return ms;
}

std::vector<BareRow> RowsOf(const CQLRCommand& folder) {
  std::vector<BareRow> rows;
  if (const CommandList* children = folder.GetChildren())
    for (const CQLRCommand& child : *children)
      rows.push_back({{child.GetMenuName(), std::to_wstring(child.GetUsageCount()), child.GetFilePath()}});
  return rows;
}

HWND ShownView(CDoc* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  CView* view = pos ? doc->GetNextView(pos) : nullptr;
  return view ? view->GetSafeHwnd() : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int phrases = argc > 1 ? _wtoi(argv[1]) : 2000;
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 5;
  InitCommonControls();
  qlrtest::TempDir dir;
  const std::wstring root = dir.File(L"Phrases");
  CreateDirectoryW(root.c_str(), nullptr);
  for (const wchar_t* folder : {L"Big", L"Other"}) {
    CreateDirectoryW((root + L"\\" + folder).c_str(), nullptr);
    for (int i = 0; i < phrases; ++i) {
      std::wstring name = std::wstring(folder) + L" phrase " + std::to_wstring(i);
      if (!SavePhraseToFile(phrasetest::MakePhrase(name, L"text", i),
                            root + L"\\" + folder + L"\\P" + std::to_wstring(i) + L".quillora"))
        return 1;
    }
  }
  SavePhraseToFile(phrasetest::MakePhrase(L"One", L"one", 1), root + L"\\One.quillora");
  SavePhraseToFile(phrasetest::MakePhrase(L"Two", L"two", 2), root + L"\\Two.quillora");
  SetSettingsFolders(dir.Path(), dir.File(L"profile"));
  GetEditorSettings().Load();
  GetCommandStore().Load(root);

  CQLRDocTemplate tmpl;
  CDoc* doc = static_cast<CDoc*>(tmpl.OpenDocumentFile(nullptr, TRUE));
  if (!doc) return 2;
  CQLRCommand* bigFolder = GetCommandStore().FindByPath((root + L"\\Big").c_str());
  const int big = static_cast<int>(bigFolder->GetId());
  const int other = static_cast<int>(GetCommandStore().FindByPath((root + L"\\Other").c_str())->GetId());
  const std::vector<BareRow> bareRows = RowsOf(*bigFolder);
  const int one = static_cast<int>(GetCommandStore().FindByPath((root + L"\\One.quillora").c_str())->GetId());
  const int two = static_cast<int>(GetCommandStore().FindByPath((root + L"\\Two.quillora").c_str())->GetId());

  double refill = 0, select = 0, bare = 0, shown = 0, another = 0, bareView = 0;
  for (int r = 0; r < rounds; ++r) {
    doc->SelectRecord(one);
    double start = BenchNowMs();
    doc->SelectRecord(two);  // the phrase view is shown already
    select += BenchNowMs() - start;
    start = BenchNowMs();
    doc->SelectRecord(big);  // the list view comes back...
    shown += BenchNowMs() - start;
    start = BenchNowMs();
    doc->SelectRecord(big);  // ...and is refilled in place
    refill += BenchNowMs() - start;
    start = BenchNowMs();
    doc->SelectRecord(other);  // ...and filled with another folder's rows
    another += BenchNowMs() - start;
    RECT client = {};
    GetClientRect(ShownView(doc), &client);
    bare += BareFill(phrases);
    bareView += BareViewFill(bareRows, client.right, client.bottom);
  }
  std::printf("folder list refill, %d phrases: %.1f ms average\n", phrases, refill / rounds);
  std::printf("folder list filled with another folder's %d phrases: %.1f ms average\n", phrases, another / rounds);
  std::printf("bare fill of the view's rows in a list of its size: %.1f ms average\n", bareView / rounds);
  std::printf("bare list view fill, %d short rows, never shown:   %.1f ms average\n", phrases, bare / rounds);
  const double ratio = refill / bareView;
  std::printf("refill ratio %.2f, target %.1f: %s\n", ratio, kRefillTargetRatio,
              ratio <= kRefillTargetRatio ? "met" : "MISSED");
  const double anotherRatio = another / bareView;
  std::printf("another folder ratio %.2f, target %.1f: %s\n", anotherRatio, kRefillTargetRatio,
              anotherRatio <= kRefillTargetRatio ? "met" : "MISSED");
  const double shownRatio = shown / bareView;
  std::printf("folder list shown anew after a phrase: %.1f ms average (%.2f of the bare fill), target %.1f: %s\n",
              shown / rounds, shownRatio, kShownTargetRatio, shownRatio <= kShownTargetRatio ? "met" : "MISSED");
  std::printf("phrase selected in a shown view: %.2f ms average\n", select / rounds);

  // The frame's menu tip is made by its first menu: a real one, closed from
  // a timer as soon as its loop runs.
  POSITION first = doc->GetFirstViewPosition();
  CView* firstView = first ? doc->GetNextView(first) : nullptr;
  CFrameWnd* frameWnd = firstView ? firstView->GetParentFrame() : nullptr;
  if (!frameWnd || !frameWnd->IsKindOf(RUNTIME_CLASS(CMainFrame))) return 3;
  HWND frame = frameWnd->GetSafeHwnd();
  ::ShowWindow(frame, SW_SHOW);
  ::SetForegroundWindow(frame);
  HMENU bar = GetMenu(frame);
  HMENU popup = bar ? GetSubMenu(bar, 0) : nullptr;
  HMENU own = popup ? nullptr : CreatePopupMenu();
  if (own) AppendMenuW(own, MF_STRING, 1, L"Item");
  SetTimer(nullptr, 0, 100, EndMenuTimer);
  TrackPopupMenu(popup ? popup : own, TPM_RETURNCMD, 10, 10, 0, frame, nullptr);
  if (own) DestroyMenu(own);
  const CEditorMenuToolTip& tip = static_cast<CMainFrame*>(frameWnd)->m_menuTip;
  double afterMenu = 0, bareAfter = 0;
  for (int r = 0; r < rounds; ++r) {
    doc->SelectRecord(big);
    const double start = BenchNowMs();
    doc->SelectRecord(big);
    afterMenu += BenchNowMs() - start;
    RECT client = {};
    GetClientRect(ShownView(doc), &client);
    bareAfter += BareViewFill(bareRows, client.right, client.bottom);
  }
  std::printf("folder list refill after a menu was opened: %.1f ms average (ratio %.2f to the bare fill)"
              " [tip made: %s, menu-message hook in place: %s]\n",
              afterMenu / rounds, afterMenu / bareAfter, tip.GetTipWindow() ? "yes" : "no",
              IsMenuTipHookInstalled() ? "yes" : "no");
  std::printf("bare fill of the view's rows after the menu: %.1f ms average\n", bareAfter / rounds);
  return 0;
}
