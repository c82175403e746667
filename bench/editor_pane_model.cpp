// The phrase pane's model run (editor/tests/pane_model.h) as a long soak:
// seeds × steps random commands on the real editor windows, every step
// checked against the model. Prints the time per step beside the bare
// Win32 work each check stands on (the phrase folder walked and read).
//   bench_editor_pane_model [first seed] [seeds] [steps]
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "bench/bare_walk.h"
#include "bench/bench_timer.h"
#include "editor/tests/pane_model.h"

int wmain(int argc, wchar_t** argv) {
  const unsigned first = argc > 1 ? static_cast<unsigned>(_wtoi(argv[1])) : GetTickCount();
  const int seeds = argc > 2 ? _wtoi(argv[2]) : 3;
  const int steps = argc > 3 ? _wtoi(argv[3]) : 2000;
  double runMs = 0, walkMs = 0;
  int operations = 0, walks = 0;
  for (int i = 0; i < seeds; ++i) {
    const unsigned seed = first + static_cast<unsigned>(i);
    panemodel::Editor editor;
    if (!editor.Ready()) return 2;
    panemodel::Run run(editor, seed);
    const double start = BenchNowMs();
    const std::string failure = run.Go(steps);
    runMs += BenchNowMs() - start;
    operations += run.Operations();
    walkMs += BestOfMs(3, [&] { BareWalk(editor.root, true); });
    ++walks;
    if (!failure.empty()) {
      std::printf("seed %u failed: %s\nsteps:\n%s", seed, failure.c_str(), run.Steps().c_str());
      return 1;
    }
    std::printf("seed %u: %d steps held\n", seed, run.Operations());
  }
  std::printf("one checked pane step:              %.2f ms average\n", operations ? runMs / operations : 0.0);
  std::printf("bare walk and read of the folder:   %.2f ms\n", walks ? walkMs / walks : 0.0);
  return 0;
}
