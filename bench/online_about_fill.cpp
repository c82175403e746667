// Starts 50 extra processes and prints how long the about dialog's report
// takes to collect and to fill into a list, beside the bare walks of the
// process list it stands on (image paths, and module snapshots as the
// report reads them).
//   bench_online_about_fill
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "foundation/files/paths.h"
#include "online/about/about_rows.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kProcesses = 50;
constexpr int kRounds = 3;
constexpr wchar_t kChildSwitch[] = L"/child";
constexpr wchar_t kStopEvent[] = L"Local\\Quillora_Bench_AboutFill_Stop";

bool ReadImagePath(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return false;
  wchar_t path[MAX_PATH] = {};
  DWORD chars = MAX_PATH;
  bool ok = QueryFullProcessImageNameW(process, 0, path, &chars) != FALSE;
  CloseHandle(process);
  return ok;
}

// The way the report reads each path: one module snapshot per process.
bool ReadFirstModule(DWORD processId) {
  HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (modules == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32W module = {};
  module.dwSize = sizeof(module);
  bool ok = Module32FirstW(modules, &module) != FALSE;
  CloseHandle(modules);
  return ok;
}

// Walks the process snapshot; the number of processes read gives a path.
size_t BareProcessWalk(bool (*readPath)(DWORD processId)) {
  size_t paths = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (readPath(entry.th32ProcessID)) ++paths;
  CloseHandle(snapshot);
  return paths;
}

void FillList(HWND list, const std::vector<AboutRow>& rows) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(rows[i].caption.c_str());
    item.lParam = rows[i].kind;
    int index = ListView_InsertItem(list, &item);
    ListView_SetItemText(list, index, 1, const_cast<wchar_t*>(rows[i].value.c_str()));
  }
  ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
  ListView_SetColumnWidth(list, 1, LVSCW_AUTOSIZE_USEHEADER);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && wcscmp(argv[1], kChildSwitch) == 0) {
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, kStopEvent);
    if (stop) WaitForSingleObject(stop, 120000);
    return 0;
  }
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kStopEvent);
  std::vector<PROCESS_INFORMATION> children;
  std::wstring self = GetModulePath();
  for (int i = 0; i < kProcesses; ++i) {
    std::wstring line = L"\"" + self + L"\" " + kChildSwitch;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      children.push_back(pi);
  }

  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 600, 400, nullptr, nullptr,
                              nullptr, nullptr);
  LVCOLUMNW col = {};
  col.mask = LVCF_WIDTH;
  col.cx = 150;
  ListView_InsertColumn(list, 0, &col);
  ListView_InsertColumn(list, 1, &col);

  qlrtest::TempDir phrases;
  AboutDialogInput input;
  input.versionText = L"1.0 build 1";
  input.phrasesFolder = phrases.Path();
  input.logMessages = {L"first message", L"ERROR: second message"};

  double bare = 0, bareModules = 0, collect = 0, fill = 0;
  size_t paths = 0, rows = 0;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = BenchNowMs();
    paths = BareProcessWalk(ReadImagePath);
    double t01 = BenchNowMs();
    BareProcessWalk(ReadFirstModule);
    double t1 = BenchNowMs();
    std::vector<AboutRow> report = CollectAboutRows(input);
    double t2 = BenchNowMs();
    FillList(list, report);
    double t3 = BenchNowMs();
    bare += t01 - t0;
    bareModules += t1 - t01;
    collect += t2 - t1;
    fill += t3 - t2;
    rows = report.size();
  }
  printf("%d extra processes started, %zu process paths read\n", static_cast<int>(children.size()), paths);
  printf("bare process walk (snapshot, open, image path): %8.2f ms\n", bare / kRounds);
  printf("bare walk with a module snapshot per process: %8.2f ms\n", bareModules / kRounds);
  printf("about report rows collected (%zu rows):       %8.2f ms\n", rows, collect / kRounds);
  printf("about report filled into a list:              %8.2f ms\n", fill / kRounds);
  printf("about report collected and filled:            %8.2f ms\n", (collect + fill) / kRounds);

  DestroyWindow(list);
  SetEvent(stop);
  for (PROCESS_INFORMATION& pi : children) {
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(stop);
  return 0;
}
