// Soaks the clipboard history of the real tray program: copies at up to
// 100 a second (texts, rich texts, HTML with a source URL, small bitmaps)
// for the given seconds, with the history pane open. Each copy is offered
// with delayed rendering, so the soak knows when the program has read it;
// meanwhile another thread asks the tray window for answers. Between the
// copies the pane's commands pick entries (put back), edit them (upper and
// lower case, trim and join on every text entry) and clear
// the history; a model follows, the pane's rows must say what it says, and
// after each edit every form of the put-back entry on the clipboard holds
// the edited text. Then the program is told to end, its saved history is
// checked against the model (each entry with the forms it keeps and its
// edited text, no other file), and a second start shows the model's
// entries in the model's order.
// Prints captures per second, the worst answer time, the program's memory,
// the time to end, and beside them the bare clipboard round trip.
//   bench_history_soak [seconds]      (default 60; the CI run gives 5)
// Exit code 0 when every check held.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_timer.h"
#include "bench/history_soak_model.h"
#include "tests/support/test_support.h"

using namespace soak;

namespace {

constexpr int kHistoryMax = 60;
constexpr double kSlotMs = 10.0;  // 100 copies a second at most
constexpr DWORD kReadWaitMs = 5000;  // a copy not read by then is lost
constexpr DWORD kWarmUpMs = 20000;
constexpr DWORD kAnswerLimitMs = 1000;
constexpr DWORD kExitLimitMs = 20000;
constexpr SIZE_T kMemoryGrowthLimit = 64u << 20;
constexpr UINT kShowPane = 32776;
constexpr double kCopyMsPerAction = 500;  // a pane command after each half second of copies
// The ninth action clears, then every sixteenth: more copies than the
// history keeps come between two clears.
constexpr int kClearEvery = 16;
constexpr int kFirstClear = 8;
constexpr int kMinActions = 11;
constexpr wchar_t kUrlBase[] = L"https://soak.example/page/";


struct Copy {
  int id = 0;
  CopyKind kind = kText;
  std::string rtf, html;
  std::wstring text;
  COLORREF color = 0;
  std::set<UINT> toRead;  // the formats the program reads of this kind
  std::set<UINT> read;
};



std::string HtmlFormatData(const std::string& fragment, const std::string& url) {
  const char* pattern =
      "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\nEndFragment:%010d\r\n"
      "SourceURL:%s\r\n";
  const std::string pre = "<html><body><!--StartFragment-->", post = "<!--EndFragment--></body></html>";
  char header[512];
  int length = snprintf(header, sizeof(header), pattern, 0, 0, 0, 0, url.c_str());
  int startFragment = length + static_cast<int>(pre.size());
  int endFragment = startFragment + static_cast<int>(fragment.size());
  snprintf(header, sizeof(header), pattern, length, endFragment + static_cast<int>(post.size()), startFragment,
           endFragment, url.c_str());
  return header + pre + fragment + post;
}

Copy MakeCopy(int id) {
  Copy copy;
  copy.id = id;
  copy.kind = static_cast<CopyKind>(id % kKinds);
  wchar_t text[64];
  swprintf(text, 64, L"soak copy #%06d", id);
  copy.text = text;
  switch (copy.kind) {
    case kText:
      // Blanks and a line break for the trim and the join to take.
      copy.text = L"  " + copy.text + L"\r\nline two  ";
      copy.toRead = {CF_UNICODETEXT};
      break;
    case kTextHtml:
      copy.html = HtmlFormatData("<i>" + Narrow(copy.text) + "</i>", Narrow(kUrlBase + std::to_wstring(id)));
      copy.text = L"\t" + copy.text + L"\r\n\r\nline three\r\n";
      copy.toRead = {CF_UNICODETEXT, HtmlFormat()};
      break;
    case kRtf:
      // Blanks and a second line for the trim and the join to take.
      copy.rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0   " + Narrow(copy.text) + "\\par line two  }";
      copy.toRead = {RtfFormat()};
      break;
    case kHtml:
      copy.rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b  " + Narrow(copy.text) + "\\par\\par}";
      copy.html = HtmlFormatData("<b>" + Narrow(copy.text) + "</b>", Narrow(kUrlBase + std::to_wstring(id)));
      copy.toRead = {RtfFormat(), HtmlFormat()};
      break;
    default:
      copy.color = RGB(id & 0xFF, (id >> 8) & 0xFF, 77);
      copy.toRead = {CF_BITMAP};
      break;
  }
  return copy;
}

bool SetBytes(UINT format, const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  std::memcpy(GlobalLock(block), data, size);
  GlobalUnlock(block);
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

HBITMAP MakeBitmap(COLORREF color) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 8, 8};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// Renders one format of a copy on the open clipboard.
bool Render(const Copy& copy, UINT format) {
  if (format == CF_UNICODETEXT) return SetBytes(format, copy.text.c_str(), (copy.text.size() + 1) * sizeof(wchar_t));
  if (format == RtfFormat()) return SetBytes(format, copy.rtf.c_str(), copy.rtf.size() + 1);
  if (format == HtmlFormat()) return SetBytes(format, copy.html.c_str(), copy.html.size() + 1);
  if (format == CF_BITMAP) {
    HBITMAP bitmap = MakeBitmap(copy.color);
    if (SetClipboardData(CF_BITMAP, bitmap)) return true;
    DeleteObject(bitmap);
  }
  return false;
}

std::vector<UINT> Offered(const Copy& copy) {
  switch (copy.kind) {
    case kText:
      return {CF_UNICODETEXT};
    case kRtf:
      return {RtfFormat(), CF_UNICODETEXT};
    case kHtml:
      return {RtfFormat(), HtmlFormat(), CF_UNICODETEXT};
    case kTextHtml:
      return {HtmlFormat(), CF_UNICODETEXT};
    default:
      return {CF_BITMAP};
  }
}

// The writer: a window of this process owns the clipboard and renders on
// request.
Copy* g_current = nullptr;

LRESULT CALLBACK WriterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_RENDERFORMAT) {
    UINT format = static_cast<UINT>(wParam);
    if (g_current && Render(*g_current, format)) g_current->read.insert(format);
    return 0;
  }
  if (msg == WM_RENDERALLFORMATS) return 0;  // nothing stays behind the soak
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Pumps while it waits: the program may be asking for a rendering.
bool OpenWithRetry(HWND owner) {
  return qlrtest::WaitUntil(
      [&] {
        Pump();
        return OpenClipboard(owner) != FALSE;
      },
      5000, 1);
}

bool Offer(HWND writer, Copy& copy) {
  if (!OpenWithRetry(writer)) return false;
  EmptyClipboard();
  g_current = &copy;
  for (UINT format : Offered(copy)) SetClipboardData(format, nullptr);
  CloseClipboard();
  return true;
}

// The bare work the capture stands on: the same formats written and read
// back within this process.
double BareRoundTripMs(int rounds) {
  double total = 0;
  for (int i = 0; i < rounds; ++i) {
    Copy copy = MakeCopy(i + 1);
    double t0 = BenchNowMs();
    if (!OpenWithRetry(nullptr)) return -1;
    EmptyClipboard();
    for (UINT format : Offered(copy)) Render(copy, format);
    CloseClipboard();
    if (!OpenWithRetry(nullptr)) return -1;
    for (UINT format : copy.toRead) {
      HANDLE data = GetClipboardData(format);
      if (data && format != CF_BITMAP) {
        std::vector<char> bytes(GlobalSize(data));
        std::memcpy(bytes.data(), GlobalLock(data), bytes.size());
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    total += BenchNowMs() - t0;
  }
  return total / rounds;
}

SIZE_T PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters)))
    return 0;
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

std::wstring IniValue(const std::wstring& file, const wchar_t* key) {
  wchar_t value[300] = {};
  GetPrivateProfileStringW(L"Files", key, L"", value, 300, file.c_str());
  return value;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The copy a stored data file holds: its number, or -1.
int StoredCopyId(const std::wstring& path) {
  std::string bytes = qlrtest::ReadBytes(path);
  if (EndsWith(path, L".bmp")) {
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return -1;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    std::memcpy(&file, bytes.data(), sizeof(file));
    std::memcpy(&info, bytes.data() + sizeof(file), sizeof(info));
    if (info.biBitCount < 24 || file.bfOffBits + 3 > bytes.size()) return -1;
    const unsigned char* pixel = reinterpret_cast<const unsigned char*>(bytes.data()) + file.bfOffBits;
    if (pixel[0] != 77) return -1;  // blue
    return pixel[2] | (pixel[1] << 8);
  }
  size_t at = bytes.find("#");
  std::string digits;
  if (at != std::string::npos) {
    // Unicode files hold UTF-16: skip the zero bytes.
    for (size_t i = at + 1; i < bytes.size() && digits.size() < 6; ++i)
      if (bytes[i] >= '0' && bytes[i] <= '9') digits += bytes[i];
      else if (bytes[i] != 0) break;
  }
  return digits.size() == 6 ? std::stoi(digits) : -1;
}

struct Stored {
  std::vector<std::wstring> extensions;  // of File0, File1, …
  std::wstring primary;                  // the path of File0
};

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = towupper(c);
  return text;
}

// Files of the folder that no descriptor names: left behind.
int LeftoverFiles(const std::wstring& folder) {
  std::set<std::wstring> named;
  std::vector<std::wstring> all;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring name = found.cFileName;
    all.push_back(name);
    if (EndsWith(Upper(name), L".INFO")) {
      named.insert(Upper(name));
      for (int i = 0;; ++i) {
        std::wstring file = IniValue(folder + L"\\" + name, (L"File" + std::to_wstring(i)).c_str());
        if (file.empty()) break;
        named.insert(Upper(file));
      }
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
  int left = 0;
  for (const auto& name : all)
    if (!named.count(Upper(name)) && left++ < 5) std::printf("  left on disk: %ls\n", name.c_str());
  return left;
}

std::map<int, Stored> ReadStoredHistory(const std::wstring& folder, int* unreadable) {
  std::map<int, Stored> stored;
  *unreadable = 0;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*.info").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return stored;
  do {
    std::wstring descriptor = folder + L"\\" + found.cFileName;
    Stored entry;
    int id = -1;
    for (int i = 0;; ++i) {
      std::wstring name = IniValue(descriptor, (L"File" + std::to_wstring(i)).c_str());
      if (name.empty()) break;
      entry.extensions.push_back(name.substr(name.find_last_of(L'.')));
      if (i == 0) {
        entry.primary = folder + L"\\" + name;
        id = StoredCopyId(entry.primary);
      }
    }
    if (id < 0 || stored.count(id))
      ++*unreadable;
    else
      stored[id] = entry;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return stored;
}

void SetSetting(const qlrtest::TempDir& dir, const wchar_t* key, const std::wstring& value) {
  WritePrivateProfileStringW(L"Settings", key, value.c_str(), dir.File(L"Settings.ini").c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const double seconds = argc > 1 ? _wtof(argv[1]) : 60.0;
  qlrtest::TempDir dir;
  if (!qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), dir.File(L"Quillora.exe"))) {
    std::printf("Quillora.exe is not beside the soak\n");
    return 1;
  }
  CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
  SetSetting(dir, L"WriteLog", L"1");
  SetSetting(dir, L"Welcome_Already_Started_V2_60", L"1");
  SetSetting(dir, L"PhrasesDirectory", dir.File(L"Phrases"));
  SetSetting(dir, L"ClipboardHistory", L"1");
  SetSetting(dir, L"SaveClipboardHistory_v198", L"1");
  SetSetting(dir, L"ClipboardFormats2", L"1");  // bitmaps
  SetSetting(dir, L"ClipboardFormats4", L"1");  // HTML
  SetSetting(dir, L"ClipboardHistoryMax", std::to_wstring(kHistoryMax));
  SetSetting(dir, L"ShowHistoryPaneOnStart", L"1");

  WNDCLASSW wc = {};
  wc.lpfnWndProc = WriterProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrSoakWriter";
  RegisterClassW(&wc);
  HWND writer = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  const double bare = BareRoundTripMs(50);
  if (OpenWithRetry(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }

  qlrtest::ChildProcess child;
  if (!child.Start(dir.File(L"Quillora.exe"), L"")) {
    std::printf("the tray program did not start\n");
    return 1;
  }
  auto logText = [&] { return qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")); };
  HWND tray = nullptr;
  HWND pane = nullptr;
  bool up = qlrtest::WaitUntil([&] { return (tray = qlrtest::FindProcessWindow(child.Pid(), nullptr, L"Quillora")); },
                               20000) &&
            qlrtest::WaitUntil([&] { return logText().find(L"ReInstall entity") != std::wstring::npos; }, 20000) &&
            qlrtest::WaitUntil([&] { return (pane = qlrtest::FindProcessWindow(child.Pid(), L"QuilloraFloatPane")); },
                               20000);
  if (!up) {
    std::printf("the tray program or its pane did not come up\n");
    child.Kill();
    return 1;
  }
  PostMessageW(tray, kShowPane, 1, 0);  // the pane expanded
  // Warm-up, not counted: the program has started its history and shows
  // the pane when it has taken a first copy.
  std::deque<Copy> copies;  // stable places: the renderer points at one
  std::vector<Entry> model;  // newest first
  int next = 1;
  auto offerAndWait = [&](DWORD waitMs) {
    copies.push_back(MakeCopy(next++));
    Copy& copy = copies.back();
    Entry entry;
    entry.id = copy.id;
    entry.kind = copy.kind;
    entry.text = copy.text;
    model.insert(model.begin(), entry);
    if (model.size() > static_cast<size_t>(kHistoryMax)) model.pop_back();
    if (!Offer(writer, copy)) return false;
    return qlrtest::WaitUntil(
        [&] {
          Pump();
          return std::includes(copy.read.begin(), copy.read.end(), copy.toRead.begin(), copy.toRead.end());
        },
        waitMs, 1);
  };
  if (!offerAndWait(kWarmUpMs)) {
    std::printf("the program did not take the first copy\n");
    child.Kill();
    return 1;
  }
  HWND list = FindWindowExW(pane, nullptr, L"SysListView32", nullptr);
  RemoteItem remote(child.Handle());
  if (!list || !remote.Ok()) {
    std::printf("the pane's list cannot be read\n");
    child.Kill();
    return 1;
  }
  std::string mismatch;
  auto paneMatches = [&](DWORD waitMs) {
    return qlrtest::WaitUntil(
        [&] {
          Pump();
          mismatch.clear();
          return RowsMatch(PaneRows(remote, list), model, &mismatch);
        },
        waitMs, 5);
  };

  // Off while a result box goes away: under Wine the thread of a window
  // that hides a top-level window waits for the X server (up to 2 s).
  std::atomic<bool> measuring{true};
  // The pane's commands between the copies, each checked in the pane and,
  // for an edit or a pick, on the clipboard after a put-back.
  int actions = 0, actionFailures = 0, richChanges = 0;
  int done[kActionCycle + 1] = {};
  unsigned random = 12345;
  auto fail = [&](const char* what, const std::string& why) {
    if (actionFailures++ < 5) std::printf("  %s: %s\n", what, why.c_str());
    return false;
  };
  auto pickTarget = [&] {
    std::vector<int> fit;
    for (size_t i = 0; i < model.size(); ++i)
      if (HasText(model[i].kind)) fit.push_back(static_cast<int>(i));
    random = random * 1103515245u + 12345u;
    return fit.empty() ? -1 : fit[(random >> 8) % fit.size()];
  };
  // Puts entry index back with the pane's Copy; the program takes the copy
  // as its own entry again, now the newest.
  auto putBack = [&](int index, const char* what) {
    if (!SetSelection(remote, list, index)) return fail(what, "the row could not be selected");
    if (Ask(pane, WM_COMMAND, kPaneCopy, 0) < 0) return fail(what, "the pane did not answer");
    Entry e = model[index];
    std::string why;
    if (!ClipboardSaysWhatTheEntrySays(e, &why)) fail(what, "copy " + std::to_string(e.id) + ": " + why);
    model.erase(model.begin() + index);
    model.insert(model.begin(), e);
    // The pane selects the entry again a moment after a copy: that must
    // have happened before the next command selects a row of its own.
    SetSelection(remote, list, -1);
    if (!qlrtest::WaitUntil([&] { return Ask(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0; }, 10000, 5))
      return fail(what, "the pane did not select the copied entry again");
    if (!paneMatches(10000)) return fail(what, "after the put-back " + mismatch);
    return true;
  };
  static const char* names[] = {"upper case", "pick", "trim", "lower case", "join", "clear"};
  auto runAction = [&](Action action) {
    const char* what = names[action];
    if (!paneMatches(10000)) return fail(what, "before it " + mismatch);
    if (action == kClear) {
      if (Ask(pane, WM_COMMAND, kPaneClear, 0) < 0) return fail(what, "the pane did not answer");
      model.clear();
      ++done[action];
      if (!paneMatches(10000)) return fail(what, mismatch);
      return true;
    }
    const int index = pickTarget();
    if (index < 0) return true;
    if (action == kPick) {
      ++done[action];
      return putBack(index, what);
    }
    if (!SetSelection(remote, list, index)) return fail(what, "the row could not be selected");
    int changed = -1;  // what the result box says: how many characters or lines
    const UINT command = action == kUpper ? kPaneUpper : action == kLower ? kPaneLower : action == kTrim ? kPaneTrim
                                                                                                          : kPaneJoin;
    if (action == kTrim || action == kJoin) {
      // The result box waits for a click: the soak gives it.
      PostMessageW(pane, WM_COMMAND, command, 0);
      HWND box = nullptr;
      if (!qlrtest::WaitUntil(
              [&] {
                box = qlrtest::FindProcessWindow(child.Pid(), L"#32770");
                return box && IsWindowVisible(box) && GetWindow(box, GW_OWNER) == pane;
              },
              10000, 5))
        return fail(what, "no result box");
      // "<label>: <count>"
      wchar_t body[200] = {};
      GetDlgItemTextW(box, 0xFFFF, body, 200);
      const wchar_t* count = wcsrchr(body, L':');
      if (count) changed = _wtoi(count + 1);
      measuring = false;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      const bool gone = qlrtest::WaitUntil([&] { return !IsWindow(box); }, 10000, 5);
      Ask(pane, WM_NULL, 0, 0);
      measuring = true;
      if (!gone) return fail(what, "the box stayed");
    } else if (Ask(pane, WM_COMMAND, command, 0) < 0) {
      return fail(what, "the pane did not answer");
    }
    // The model knows what a plain text becomes; of a rich text only the
    // program knows whether trimming or joining took anything.
    const bool modelChanged = ApplyToModel(action, model[index], changed > 0);
    if ((action == kTrim || action == kJoin) && (changed < 0 || modelChanged != (changed > 0)))
      return fail(what, "copy " + std::to_string(model[index].id) + ": the result box says " +
                            std::to_string(changed) + ", the model " + (modelChanged ? "changed" : "unchanged"));
    ++done[action];
    if ((action == kTrim || action == kJoin) && modelChanged && !IsPlainKind(model[index].kind)) ++richChanges;
    if (!paneMatches(10000)) return fail(what, "after it " + mismatch);
    return putBack(index, what);
  };

  std::atomic<bool> probing{true};
  std::atomic<DWORD> worstAnswer{0};
  std::atomic<int> unanswered{0};
  std::thread probe([&] {
    while (probing) {
      DWORD t0 = GetTickCount();
      const bool counted = measuring;
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(tray, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) ++unanswered;
      DWORD took = GetTickCount() - t0;
      if (counted && measuring && took > worstAnswer) worstAnswer = took;
      Sleep(20);
    }
  });

  const SIZE_T memoryAtStart = PrivateBytes(child.Handle());
  SIZE_T memoryPeak = memoryAtStart;
  int missed = 0;
  double worstRead = 0;
  double actionMs = 0;  // not counted in the capture rate
  const double start = BenchNowMs();
  // Every action and a clear among them, also in a short run.
  // The seconds asked for are seconds of copying; the commands come on top.
  double nextActionAt = kCopyMsPerAction;
  auto copyMs = [&] { return BenchNowMs() - start - actionMs; };
  while (copyMs() < seconds * 1000.0 || actions < kMinActions) {
    const double slot = BenchNowMs();
    // Until the program has read every format it takes of this kind.
    bool read = offerAndWait(kReadWaitMs);
    worstRead = std::max(worstRead, BenchNowMs() - slot);
    if (!read) ++missed;
    if (copies.size() % 100 == 0) memoryPeak = std::max(memoryPeak, PrivateBytes(child.Handle()));
    if (copyMs() >= nextActionAt) {
      nextActionAt += kCopyMsPerAction;
      const int n = actions++;
      const Action action = n % kClearEvery == kFirstClear ? kClear : static_cast<Action>(n % kActionCycle);
      const DWORD worstBefore = worstAnswer;
      const double actionStart = BenchNowMs();
      runAction(action);
      actionMs += BenchNowMs() - actionStart;
      if (worstAnswer > kAnswerLimitMs && worstBefore <= kAnswerLimitMs)
        std::printf("  the tray window was slow to answer during the %s\n", names[action]);
    }
    while (BenchNowMs() - slot < kSlotMs) {
      Pump();
      Sleep(1);
    }
  }
  const double elapsed = BenchNowMs() - start;
  if (!paneMatches(10000)) fail("at the end", mismatch);
  // The last copy must not be rendered after the soak is gone.
  Pump();
  g_current = nullptr;
  memoryPeak = std::max(memoryPeak, PrivateBytes(child.Handle()));
  probing = false;
  probe.join();

  const double exitStart = BenchNowMs();
  const int exitAnswer = qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", kExitLimitMs);
  const int exitCode = child.Wait(kExitLimitMs);
  const double exitMs = BenchNowMs() - exitStart;
  if (child.IsRunning()) child.Kill();

  if (exitMs > 3000) {
    // What the program did while it ended, for a slow end.
    std::wstring log = logText();
    size_t from = log.size();
    for (int lines = 0; lines < 25 && from > 0; ++lines) from = log.rfind(L'\n', from - 1);
    std::printf("  the end of the program's log:\n%ls\n", log.substr(from == std::wstring::npos ? 0 : from).c_str());
  }

  int unreadable = 0;
  std::map<int, Stored> stored = ReadStoredHistory(dir.File(L"ClipboardHistory"), &unreadable);
  const int total = static_cast<int>(copies.size());
  int lost = 0, formsLost = 0, extra = 0, wrongText = 0;
  std::set<int> inModel;
  for (const Entry& e : model) {
    inModel.insert(e.id);
    auto at = stored.find(e.id);
    if (at == stored.end()) {
      if (lost++ < 5) std::printf("  lost: copy %d (kind %d)\n", e.id, e.kind);
      continue;
    }
    const std::vector<std::wstring>& ext = at->second.extensions;
    std::vector<std::wstring> expected;
    switch (e.kind) {
      case kText:
        expected = {L".txt"};
        break;
      case kTextHtml:
        expected = e.edited ? std::vector<std::wstring>{L".txt"} : std::vector<std::wstring>{L".txt", L".html"};
        break;
      case kRtf:
        expected = {L".rtf"};
        break;
      case kHtml:
        expected = e.edited ? std::vector<std::wstring>{L".rtf"} : std::vector<std::wstring>{L".rtf", L".html"};
        break;
      default:
        expected = {L".bmp"};
        break;
    }
    if (ext != expected && formsLost++ < 5) {
      std::printf("  forms of copy %d (kind %d%s):", e.id, e.kind, e.edited ? ", edited" : "");
      for (const auto& x : ext) std::printf(" %ls", x.c_str());
      std::printf("\n");
    }
    // The stored text is the edited one.
    const std::string bytes = qlrtest::ReadBytes(at->second.primary);
    bool same = true;
    if (IsPlainKind(e.kind)) {
      std::wstring text = e.text + L'\0';
      same = bytes == "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.c_str()), text.size() * 2);
    } else if (HasText(e.kind)) {
      same = bytes.find(Narrow(Signature(e))) != std::string::npos;
    }
    if (!same && wrongText++ < 5) std::printf("  copy %d is stored with another text\n", e.id);
  }
  for (const auto& entry : stored)
    if (!inModel.count(entry.first)) ++extra;
  const int leftover = LeftoverFiles(dir.File(L"ClipboardHistory"));

  // A second start shows the model's entries in the model's order.
  std::string restartProblem;
  if (OpenWithRetry(writer)) {
    EmptyClipboard();  // nothing for the start to take
    CloseClipboard();
  }
  {
    qlrtest::ChildProcess again;
    HWND againPane = nullptr, againList = nullptr;
    if (!again.Start(dir.File(L"Quillora.exe"), L"")) {
      restartProblem = "the second start failed";
    } else if (!qlrtest::WaitUntil(
                   [&] {
                     // The pane is asked for as in the first run, once the tray is up.
                     if (HWND againTray = qlrtest::FindProcessWindow(again.Pid(), nullptr, L"Quillora"))
                       PostMessageW(againTray, kShowPane, 1, 0);
                     return (againPane = qlrtest::FindProcessWindow(again.Pid(), L"QuilloraFloatPane"));
                   },
                   20000, 200) ||
               !(againList = FindWindowExW(againPane, nullptr, L"SysListView32", nullptr))) {
      restartProblem = "the second start did not show its pane";
    } else {
      RemoteItem againRemote(again.Handle());
      std::vector<std::wstring> rows;
      if (!qlrtest::WaitUntil(
              [&] {
                restartProblem.clear();
                return againRemote.Ok() && RowsMatch(PaneRows(againRemote, againList), model, &restartProblem);
              },
              20000, 20) &&
          restartProblem.empty())
        restartProblem = "the pane's rows could not be read";
    }
    if (!restartProblem.empty()) {
      std::wstring log = logText();
      std::printf("  the log after the second start:\n%ls\n", log.substr(log.size() > 2500 ? log.size() - 2500 : 0).c_str());
    }
    qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", kExitLimitMs);
    if (again.Wait(kExitLimitMs) != 0 && restartProblem.empty()) restartProblem = "the second run did not end well";
    if (again.IsRunning()) again.Kill();
  }

  const double perSecond = (total - 1) / (std::max(1.0, elapsed - actionMs) / 1000.0);
  std::printf("history soak: %d copies in %.1f s (%.1f s of them pane commands), %.1f captures/s (bare clipboard "
              "round trip %.2f ms, worst capture %.1f ms)\n",
              total - 1, elapsed / 1000.0, actionMs / 1000.0, perSecond, bare, worstRead);
  std::printf("  worst answer of the tray window: %lu ms (%d unanswered)\n",
              static_cast<unsigned long>(worstAnswer.load()), unanswered.load());
  std::printf("  tray memory: %.1f MB at start, %.1f MB at most\n", memoryAtStart / 1048576.0,
              memoryPeak / 1048576.0);
  std::printf("  exit in %.0f ms (answer %d, code %d)\n", exitMs, exitAnswer, exitCode);
  std::printf("  actions: %d (upper %d, pick %d, trim %d, lower %d, join %d, clear %d; %d rich texts trimmed or "
              "joined), %d failed\n",
              actions, done[kUpper], done[kPick], done[kTrim], done[kLower], done[kJoin], done[kClear], richChanges,
              actionFailures);
  std::printf("  saved: %zu items; %zu expected: %d lost, %d without their forms, %d with another text, %d extra, "
              "%d unreadable, %d files left over; %d copies not read within %lu ms\n",
              stored.size(), model.size(), lost, formsLost, wrongText, extra, unreadable, leftover, missed,
              static_cast<unsigned long>(kReadWaitMs));
  std::printf("  after a restart: %s\n", restartProblem.empty() ? "the pane shows the model" : restartProblem.c_str());

  bool ok = total > 0 && missed == 0 && lost == 0 && formsLost == 0 && extra == 0 && unreadable == 0 &&
            wrongText == 0 && leftover == 0 && actionFailures == 0 && restartProblem.empty() &&
            done[kClear] > 0 &&
            worstAnswer <= kAnswerLimitMs && unanswered == 0 && exitCode == 0 && exitMs < kExitLimitMs &&
            (memoryAtStart == 0 || memoryPeak < memoryAtStart + kMemoryGrowthLimit);
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  if (writer) DestroyWindow(writer);
  return ok ? 0 : 1;
}
