// Runs the template writer on a thread of its own while the test answers the
// message boxes it expects, in order; any other box is recorded and closed,
// so a wrong road fails the test instead of hanging it.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "editor_settings/language/make_lng_file.h"
#include "tests/support/test_support.h"

namespace lngtest {

constexpr DWORD kBoxWaitMs = 20000;

struct Answer {
  std::wstring text;  // the box's whole text
  int button;
};

struct TemplateRun {
  int result = -1;
  std::wstring page;
  std::vector<std::wstring> unanswered;  // texts of boxes nobody expected
  std::vector<std::wstring> missed;      // expected boxes that never came
};

inline std::wstring BoxText(HWND box) {
  wchar_t body[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, body, 2048);
  return body;
}

// A shown message box of this process that is not being closed already.
inline HWND FindOpenBox(const std::vector<HWND>& closing) {
  for (HWND w : qlrtest::FindProcessWindows(GetCurrentProcessId())) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(w)) continue;
    bool seen = false;
    for (HWND c : closing) seen = seen || c == w;
    if (!seen) return w;
  }
  return nullptr;
}

inline TemplateRun MakeTemplate(const std::wstring& lngPath, const LngTemplateSources& sources,
                                const std::vector<Answer>& answers = {}) {
  TemplateRun run;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    run.result = MakeLngFile(lngPath, nullptr, run.page, sources);
    done = true;
  });
  std::vector<HWND> closing;
  size_t next = 0;
  while (true) {
    HWND box = nullptr;
    qlrtest::WaitUntil([&] { return done.load() || (box = FindOpenBox(closing)) != nullptr; }, 60000, 20);
    if (!box) break;
    const std::wstring text = BoxText(box);
    if (text.empty()) continue;  // not filled in yet
    int button = IDCANCEL;
    if (next < answers.size() && answers[next].text == text) {
      button = answers[next++].button;
    } else {
      run.unanswered.push_back(text);
    }
    closing.push_back(box);
    PostMessageW(box, WM_COMMAND, button, 0);
    if (run.unanswered.size() > 5) break;
  }
  for (; next < answers.size(); ++next) run.missed.push_back(answers[next].text);
  qlrtest::WaitUntil([&] { return done.load(); }, 60000);
  worker.join();
  return run;
}

}  // namespace lngtest
