// Feeds every reader of outside input with seeded mutations of good inputs
// and with a megabyte of hostile text each, and prints per kind of input how
// many ran, crashed and hung (over 1 s plus 3 ms per kilobyte of processor
// time for one input, so a busy machine does not make a hang of a wait for a
// core; a child that stops making progress at all counts too), with the worst time per
// kilobyte beside the time of copying that input (the bare work any reader
// does). Each kind runs in a child process from a private copy of the
// program, so a crash is counted and the run goes on after the input.
// Usage: bench_fuzz [N [FIRST LAST]]   N mutated inputs per kind (default
// 1000), for the kinds numbered FIRST to LAST only (default all)
// Exit code 0 when nothing crashed or hung.
#include <windows.h>

#include <richedit.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "foundation/files/files.h"
#include "foundation/localization/language_files.h"
#include "foundation/system/shared_records.h"
#include "foundation/text/convert.h"
#include "foundation/text/xml_reader.h"
#include "foundation/ui/rich_edit.h"
#include "history/store/history_descriptor.h"
#include "history/store/history_item.h"
#include "history/store/history_store.h"
#include "htmldraw/html_text_drawer.h"
#include "online/news_feed.h"
#include "online/update_answer.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"
#include "platform/htmlayout/htmlayout.h"
#include "settings/settings.h"
#include "tray/hook/menu_request.h"
#include "tray/hook/query_xml.h"

namespace {

// A literal that holds NULs, whole.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// An input hangs when its processor time passes a second plus a few
// milliseconds per kilobyte: a megabyte read in one pass stays far below that
// even on a busy machine, one read again per line or per tag goes far beyond.
constexpr double kHangMs = 1000.0;
constexpr double kHangMsPerKb = 3.0;
constexpr DWORD kStallMs = 30000;  // a child that makes no progress this long hangs
constexpr size_t kHostileBytes = 1024 * 1024;

// What a child reports through the shared record, as it goes.
struct FuzzProgress {
  volatile LONG index;  // the input being run
  volatile LONG done;
  volatile LONG hangs;
  double worstMsPerKb;
  double worstInputKb;
  double bareMsPerKb;  // copying that same input
  double hostileWorstMs;      // processor time
  double hostileWorstWallMs;  // as the clock saw it
};

double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// Seeded mutations: bytes of the kind's alphabet, cuts, copies of slices
// (which also nest markup deeper), truncation.
class Mutator {
 public:
  explicit Mutator(unsigned seed) : m_state(seed * 2654435761u + 1) {}
  unsigned Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
  }
  std::string Mutate(std::string text, const std::string& alphabet) {
    const int edits = 1 + static_cast<int>(Next() % 8);
    for (int e = 0; e < edits; ++e) {
      if (text.empty()) text = alphabet.substr(0, 1);
      const size_t at = Next() % text.size();
      switch (Next() % 6) {
        case 0: text[at] = alphabet[Next() % alphabet.size()]; break;
        case 1: text.insert(at, 1, alphabet[Next() % alphabet.size()]); break;
        case 2: text.erase(at, 1 + Next() % 16); break;
        case 3: {
          const size_t from = Next() % text.size();
          text.insert(at, text.substr(from, 1 + Next() % 64));
          break;
        }
        case 4: {
          const std::string slice = text.substr(at, 1 + Next() % 12);
          const int times = 1 + static_cast<int>(Next() % 40);
          std::string repeated;
          for (int i = 0; i < times; ++i) repeated += slice;
          text.insert(at, repeated);
          break;
        }
        default: text.resize(at); break;
      }
    }
    return text;
  }

 private:
  unsigned m_state;
};

std::string Repeat(const std::string& piece, size_t bytes) {
  std::string out;
  out.reserve(bytes + piece.size());
  while (out.size() < bytes) out += piece;
  return out;
}

// Hostile megabytes every reader meets: deep nesting, tags without end,
// quotes without end, entities, blanks, one huge token.
std::vector<std::string> HostileInputs(const std::string& open, const std::string& close) {
  return {Repeat(open, kHostileBytes),
          Repeat(open, kHostileBytes / 2) + Repeat(close, kHostileBytes / 2),
          Repeat("<a x=\"/>\">", kHostileBytes),
          Repeat("<", kHostileBytes),
          "<a b=\"" + Repeat("x", kHostileBytes),
          Repeat("&lt;&#x26;&amp;", kHostileBytes),
          Repeat("{\\rtf1{", kHostileBytes / 2) + Repeat("}", kHostileBytes / 2),
          Repeat("[S]\r\nK=V\r\n", kHostileBytes),
          std::string(kHostileBytes, '\xFF'),
          Repeat("<td <tr <table ", kHostileBytes)};
}

struct Kind {
  const char* name;
  std::vector<std::string> seeds;
  std::string alphabet;
  std::function<void(const std::string&)> run;
};

std::wstring g_folder;  // the private program folder (with its backslash)

void WriteInput(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

HWND Host() {
  static HWND host = CreateWindowExW(0, L"STATIC", L"fuzz", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                                     nullptr, nullptr);
  return host;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::vector<Kind> Kinds() {
  const std::string xmlAlphabet = "<>/=\"' !?-[]&;#x0123456789abAZ_\r\n\t\xC3\xA9\xFF";
  std::vector<Kind> kinds;
  kinds.push_back(
      {"update answer",
       {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><QuilloraVersionInfo><Version>2.61.0.1</Version>"
        "<Status>ok</Status><DownloadURL>setup.exe</DownloadURL><DownloadURL_PE>portable.zip</DownloadURL_PE>"
        "<WhatNewsURL>whats.htm</WhatNewsURL><Offers><Offer Lang=\"de\" URL=\"u\">Angebot</Offer>"
        "<Offer>Two</Offer></Offers></QuilloraVersionInfo>"},
       xmlAlphabet,
       [](const std::string& text) {
         TiXmlDocument doc;
         ParseXmlBounded(doc, text.c_str(), TIXML_ENCODING_UNKNOWN);
         CUpdateInfo record;
         ParseUpdateInfoXml(doc, record, false);
       }});
  kinds.push_back({"news feed",
                   {"<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>News</title><item>"
                    "<title>&amp;lt;b&amp;gt; first</title><description>&lt;p&gt;text&lt;/p&gt;</description>"
                    "<link>page.htm</link><author>a</author><pubDate>Tue, 09 Dec 2025 10:00:00 GMT</pubDate>"
                    "</item><item><title>second</title><pubDate>junk date</pubDate></item></channel></rss>"},
                   xmlAlphabet,
                   [](const std::string& text) {
                     const std::wstring path = g_folder + L"news.xml";
                     WriteInput(path, text);
                     std::vector<CNewsItem> news;
                     ReadNewsFeed(news, 10, path);
                   }});
  kinds.push_back({"LRQuery XML",
                   {"<?xml version=\"1.0\"?><LRQuery HWND_Active=\"12\" HWND_Focus=\"13\" POINT_X=\"5\" "
                    "POINT_Y=\"-7\"><AppPath>C:\\app.exe</AppPath><WindowClassName>Edit</WindowClassName>"
                    "<HWND>4242</HWND><HKLLoword>1033</HKLLoword><HKLHoword>1033</HKLHoword>"
                    "<SelText StateSelText=\"2\">selected  text\r\n</SelText></LRQuery>"},
                   xmlAlphabet,
                   [](const std::string& text) {
                     CQueryRecord query;
                     ParseQuery(query, text.c_str());
                   }});
  kinds.push_back({".lng file",
                   {Bytes("\xFF\xFE[\0M\0a\0i\0n\0]\0\r\0\n\0L\0a\0n\0g\0P\0r\0e\0f\0i\0x\0=\0d\0e\0\r\0\n\0"
                    "L\0a\0n\0g\0L\0o\0c\0a\0l\0i\0z\0e\0d\0=\0D\0e\0u\0t\0s\0c\0h\0\r\0\n\0"),
                    "[Main]\r\nLangPrefix=fr\r\nLangLocalized=Fran\xC3\xA7" "ais\r\nAuthor=x\r\n[Strings]\r\n1=a\\nb\r\n"},
                   Bytes("[]=\r\n\\;\0abcMain\xFF\xFE"),
                   [](const std::string& text) {
                     const std::wstring path = g_folder + L"Fuzz.lng";
                     WriteInput(path, text);
                     LangFileInfo info;
                     GetLangFileInfo(path, &info);
                     GetLangPrefix(path);
                     std::wstring value;
                     ReadLngValue(path, L"Strings", L"1", L"", 1024, &value);
                   }});
  kinds.push_back({"phrase file",
                   {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><QLRPhrase Excluded=\"0\" SortID=\"3\" "
                    "UsageCount=\"7\" DateUsage=\"2025-12-09 10:00:00\"><Caption>Hello</Caption>"
                    "<Text>Dear %CLIPBOARD_TEXT%,\r\n  kind regards</Text></QLRPhrase>"},
                   xmlAlphabet,
                   [](const std::string& text) {
                     CPhraseNode record;
                     ReadPhraseXml(record, text.c_str());
                   }});
  kinds.push_back({"history descriptor",
                   {"[Item]\r\nDataType=1\r\nProtected=0\r\nFile0=0001.txt\r\nFile1=0001.rtf\r\n"
                    "CaptureTime=133000000000000000\r\n"},
                   "[]=\r\n\"; 0123456789FileDataType\xFF\xFE",
                   [](const std::string& text) {
                     HistoryDescriptor descriptor;
                     std::wstring problem;
                     ParseHistoryDescriptor(DecodeProfileText(text.data(), text.size()), &descriptor, &problem);
                   }});
  kinds.push_back({"history data file",
                   {std::string("BM") + std::string(52, '\0') + std::string(64, '\x7F'), "plain text item\r\n",
                    "{\\rtf1\\ansi hello}"},
                   Bytes("\0\x01\x28\x36\xFF BM{}\\"),
                   [](const std::string& text) {
                     const std::wstring path = g_folder + L"item.dat";
                     WriteInput(path, text);
                     LoadHistoryDataFile(path);
                   }});
  kinds.push_back({"Settings.ini",
                   {"[Settings]\r\nLanguage=Test.lng\r\nWriteLog=0\r\nHotKey=13\r\nHotKeyMod=3\r\n"
                    "PhrasesDirectory=C:\\p\r\nAutoCheckForUpdates=1\r\nSkippedVersion=2.60.0.1\r\n"},
                   "[]=\r\n;0123456789-.SettingsLanguage\xFF\xFE",
                   [](const std::string& text) {
                     WriteInput(g_folder + L"Settings.ini", text);
                     CQLRSettings settings;
                     settings.Load();
                   }});
  kinds.push_back({"HTML page",
                   {"<html><head><style>p {color: red} .c {font-weight: bold} #i {display: none} "
                    "td {background-color: #eee}</style></head><body><h1>T</h1><p class=c>a &lt;b&gt; "
                    "<a href=\"#x\">l</a></p><table border=1><tr><td>1</td><td>2</td></tr></table>"
                    "<p id=i>hidden</p><input type=checkbox></body></html>",
                    // Floats, overlays, attribute selectors and images: the layout's other roads.
                    "<html><head><style>a[href^=http] {color: green} input[type=checkbox] {display: none} "
                    "p[title] {font-style: italic} .f {float: left; width: 40%; background-color: #ddd} "
                    ".g::after {background-image: url(g.bmp); background-position: right 2px}</style></head>"
                    "<body><div class=f><img src=\"a.bmp\" width=16 height=16>left</div>"
                    "<div style=\"float: right; width: 80px; border: 1px solid red\">right</div>"
                    "<div style=\"position: absolute; top: 5px; left: 10px; width: 50px\">over</div>"
                    "<p title=t class=g><a href=\"http://h/\">l</a></p><img src=\"img/b.ico\"></body></html>"},
                   "<>/=\"' !-&;#{}:.[]^()%abcdfghilmoprstux1\r\n",
                   [](const std::string& text) {
                     static HWND view = CreateWindowExW(0, HTMLayoutClassNameW(), L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                                        600, 400, Host(), nullptr, GetModuleHandleW(nullptr), nullptr);
                     HTMLayoutLoadHtml(view, reinterpret_cast<const BYTE*>(text.data()),
                                       static_cast<UINT>(text.size()));
                     UpdateWindow(view);
                     Pump();
                   }});
  kinds.push_back({"drawer markup",
                   {"<b>Bold</b> <i>it</i><br><font color=red size=4>x</font> &lt;tag&gt; "
                    "<table border=1><tr><td>a</td><td width=40>b</td></tr></table><a href=\"u\">link</a>"
                    "<span class=c>s</span><t>tab<bmp file=\"a.bmp\" width=8 height=8 mask=#FF00FF>"
                    "<icon idres=128 cx=16 cy=16><ilst idres=1 index=2 cx=16>"},
                   "<>/=\"' &;#abcdfgimrstl1\r\n\t",
                   [](const std::string& text) {
                     static HDC dc = [] {
                       HDC screen = GetDC(nullptr);
                       HDC memory = CreateCompatibleDC(screen);
                       SelectObject(memory, CreateCompatibleBitmap(screen, 400, 300));
                       ReleaseDC(nullptr, screen);
                       return memory;
                     }();
                     CHtmlTextDrawer drawer;
                     drawer.SetMaxWidth(380);
                     const std::wstring markup = Utf8ToWide(text);
                     drawer.Measure(dc, markup.c_str());
                     drawer.Draw(dc, RECT{0, 0, 400, 300});
                   }});
  kinds.push_back({"RTF stream-in",
                   {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                    "\\f0\\fs20 Hello \\b bold\\b0 \\cf1 red\\par {\\*\\ignored x}\\u1234? end}"},
                   "{}\\*;0123456789abfrtu ",
                   [](const std::string& text) {
                     static HWND edit = [] {
                       LoadLibraryW(L"msftedit.dll");
                       return CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_CHILD | ES_MULTILINE, 0, 0, 300, 200, Host(),
                                              nullptr, nullptr, nullptr);
                     }();
                     RichEditStreamIn(edit, text.data(), text.size(), false, true);
                   }});
  kinds.push_back({"WM_COPYDATA block",
                   {Bytes("\x05\0\0\0") + std::string(130, 'a') + Bytes("\x10\x20\0\0")},
                   Bytes("\0\x01\xFF\x7F\x80 a"),
                   [](const std::string& text) {
                     COPYDATASTRUCT data = {1, static_cast<DWORD>(text.size()),
                                            const_cast<char*>(text.data())};
                     int id = 0;
                     HWND target = nullptr;
                     ParseCopyDataCommand(&data, &id, &target);
                     IsWindow(target);
                   }});
  return kinds;
}

// The input number index of a kind: the hostile megabytes first, then
// mutations of the seeds, each from its own seed so a run can resume.
std::string InputOf(const Kind& kind, const std::vector<std::string>& hostile, LONG index) {
  if (static_cast<size_t>(index) < hostile.size()) return hostile[index];
  Mutator mutator(static_cast<unsigned>(index) * 7919u + static_cast<unsigned>(kind.name[0]));
  const std::string& seed = kind.seeds[mutator.Next() % kind.seeds.size()];
  std::string text = mutator.Mutate(seed, kind.alphabet);
  // Now and then mutate a mutation again: damage piles up.
  if (mutator.Next() % 4 == 0) text = mutator.Mutate(text, kind.alphabet);
  return text;
}

std::vector<std::string> HostileFor(const Kind& kind) {
  std::vector<std::string> inputs = HostileInputs("<a>", "</a>");
  // Every seed a megabyte long: each takes its own road through the reader.
  for (const std::string& seed : kind.seeds) inputs.push_back(Repeat(seed, kHostileBytes));
  return inputs;
}

// Child: runs inputs first .. total-1 of one kind, reporting as it goes.
int RunChild(const Kind& kind, LONG first, LONG total, const wchar_t* mappingName) {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, mappingName);
  auto* progress = mapping ? static_cast<FuzzProgress*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
  if (!progress) return 3;
  const std::vector<std::string> hostile = HostileFor(kind);
  std::string copy;
  for (LONG index = first; index < total; ++index) {
    progress->index = index;
    const std::string input = InputOf(kind, hostile, index);
    const double start = BenchNowMs();
    const double cpuStart = ThreadCpuMs();
    kind.run(input);
    const double ms = ThreadCpuMs() - cpuStart;
    const double wallMs = BenchNowMs() - start;
    const double kb = std::max(1.0, static_cast<double>(input.size()) / 1024.0);
    const bool hang = ms > kHangMs + kHangMsPerKb * static_cast<double>(input.size()) / 1024.0;
    if (hang) InterlockedIncrement(&progress->hangs);
    if (hang) {
      std::printf("  %s: input %ld (%zu bytes, starts \"%.12s\"): %.0f ms of processor, %.0f ms by the clock\n",
                  kind.name, index, input.size(), input.c_str(), ms, wallMs);
      std::fflush(stdout);
    }
    // Per kilobyte by the clock: processor time comes in ticks too coarse for
    // small inputs.
    if (wallMs / kb > progress->worstMsPerKb) {
      progress->worstMsPerKb = wallMs / kb;
      progress->worstInputKb = static_cast<double>(input.size()) / 1024.0;
      const double bareStart = BenchNowMs();
      copy.assign(input.begin(), input.end());
      progress->bareMsPerKb = (BenchNowMs() - bareStart) / kb;
    }
    if (static_cast<size_t>(index) < hostile.size()) {
      progress->hostileWorstMs = std::max(progress->hostileWorstMs, ms);
      progress->hostileWorstWallMs = std::max(progress->hostileWorstWallMs, wallMs);
    }
    InterlockedIncrement(&progress->done);
  }
  UnmapViewOfFile(progress);
  CloseHandle(mapping);
  return 0;
}

struct KindResult {
  LONG inputs = 0, crashes = 0, hangs = 0;
  double worstMsPerKb = 0, worstInputKb = 0, bareMsPerKb = 0, hostileWorstMs = 0, hostileWorstWallMs = 0;
};

// Parent: runs the kind in children until every input ran; a child that
// dies is a crash at its input, one that stalls is a hang there.
KindResult RunKind(const std::wstring& exe, size_t kindIndex, LONG total) {
  KindResult result;
  const std::wstring name = L"Local\\QlrFuzz_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                            std::to_wstring(kindIndex);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FuzzProgress),
                                      name.c_str());
  auto* progress = static_cast<FuzzProgress*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  ZeroMemory(progress, sizeof(*progress));
  LONG first = 0;
  while (first < total) {
    std::wstring command = L"\"" + exe + L"\" --child " + std::to_wstring(kindIndex) + L" " +
                           std::to_wstring(first) + L" " + std::to_wstring(total) + L" " + name;
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, g_folder.c_str(), &si, &pi)) {
      std::printf("cannot start a child (%lu)\n", GetLastError());
      ++result.crashes;
      break;
    }
    progress->index = first;
    LONG seen = first;
    ULONGLONG lastMove = GetTickCount64();
    bool stalled = false;
    while (WaitForSingleObject(pi.hProcess, 200) == WAIT_TIMEOUT) {
      if (progress->index != seen || progress->done != 0) {
        if (progress->index != seen) lastMove = GetTickCount64();
        seen = progress->index;
      }
      if (GetTickCount64() - lastMove > kStallMs) {
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, INFINITE);
        stalled = true;
        break;
      }
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!stalled && code == 0) break;
    const LONG at = progress->index;
    if (stalled) ++result.hangs;
    else ++result.crashes;
    std::printf("  %s at input %ld (exit 0x%08lX)\n", stalled ? "hang" : "crash", at, code);
    first = at + 1;
  }
  result.inputs = total;
  result.hangs += progress->hangs;
  result.worstMsPerKb = progress->worstMsPerKb;
  result.worstInputKb = progress->worstInputKb;
  result.bareMsPerKb = progress->bareMsPerKb;
  result.hostileWorstMs = progress->hostileWorstMs;
  result.hostileWorstWallMs = progress->hostileWorstWallMs;
  UnmapViewOfFile(progress);
  CloseHandle(mapping);
  return result;
}

std::wstring MakePrivateFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"qlr_fuzz_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + data.cFileName).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  const std::vector<Kind> kinds = Kinds();
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring self = exe;
  g_folder = self.substr(0, self.find_last_of(L'\\') + 1);
  if (argc >= 6 && wcscmp(argv[1], L"--child") == 0) {
    const size_t kind = wcstoul(argv[2], nullptr, 10);
    if (kind >= kinds.size()) return 2;
    return RunChild(kinds[kind], wcstol(argv[3], nullptr, 10), wcstol(argv[4], nullptr, 10), argv[5]);
  }
  const LONG perKind = argc >= 2 ? wcstol(argv[1], nullptr, 10) : 1000;
  // The children write Settings.ini and language files beside themselves.
  g_folder = MakePrivateFolder();
  const std::wstring copy = g_folder + L"bench_fuzz.exe";
  if (!CopyFileW(exe, copy.c_str(), FALSE)) {
    std::printf("cannot copy the program\n");
    return 2;
  }
  std::printf("%-20s %8s %8s %6s %12s %8s %11s %9s %10s\n", "kind", "inputs", "crashes", "hangs", "worst ms/KB",
              "(at KB)", "bare ms/KB", "1 MB ms", "(clock ms)");
  bool clean = true;
  const size_t firstKind = argc >= 4 ? wcstoul(argv[2], nullptr, 10) : 0;
  const size_t lastKind = argc >= 4 ? std::min<size_t>(wcstoul(argv[3], nullptr, 10), kinds.size() - 1)
                                    : kinds.size() - 1;
  for (size_t k = firstKind; k <= lastKind; ++k) {
    const LONG total = static_cast<LONG>(HostileFor(kinds[k]).size()) + perKind;
    const KindResult r = RunKind(copy, k, total);
    std::printf("%-20s %8ld %8ld %6ld %12.4f %8.1f %11.6f %9.1f %10.1f\n", kinds[k].name, r.inputs, r.crashes,
                r.hangs, r.worstMsPerKb, r.worstInputKb, r.bareMsPerKb, r.hostileWorstMs, r.hostileWorstWallMs);
    std::fflush(stdout);
    clean = clean && r.crashes == 0 && r.hangs == 0;
  }
  RemoveFolder(g_folder);
  std::printf("%s\n", clean ? "no crash, no hang" : "CRASHES OR HANGS");
  return clean ? 0 : 1;
}
