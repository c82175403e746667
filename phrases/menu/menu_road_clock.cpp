#include "phrases/menu/menu_road_clock.h"

#include <windows.h>

#include <cwchar>

namespace menu_road {
namespace {

struct Marks {
  double start = 0, asked = 0, answered = 0;
  double buildStart = 0, buildEnd = 0, lookup = 0;
  double track = 0, firstMeasure = 0, lastMeasure = 0;
  bool shown = false;
};

Marks g_marks;  // the tray window's thread only

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / frequency;
}

// From a to b when both were marked in this order, else 0.
double Span(double a, double b) { return a > 0 && b >= a ? b - a : 0; }

}  // namespace

void MarkRoadStart() {
  g_marks = Marks();
  g_marks.start = NowMs();
}

void MarkQueryAsked() { g_marks.asked = NowMs(); }
void MarkQueryAnswered() { g_marks.answered = NowMs(); }

void MarkBuild(bool start) {
  if (start) {
    g_marks.buildStart = NowMs();
    g_marks.lookup = 0;
  } else {
    g_marks.buildEnd = NowMs();
  }
}

void MarkTrack() {
  g_marks.track = NowMs();
  g_marks.firstMeasure = g_marks.lastMeasure = 0;
  g_marks.shown = false;
}

void MarkItemMeasured() {
  // Submenus opened later are measured when they open: not part of it.
  if (g_marks.shown || g_marks.track == 0) return;
  g_marks.lastMeasure = NowMs();
  if (g_marks.firstMeasure == 0) g_marks.firstMeasure = g_marks.lastMeasure;
}

void MarkShown() { g_marks.shown = g_marks.track != 0; }

LookupTimer::LookupTimer() : m_start(NowMs()) {}
LookupTimer::~LookupTimer() { g_marks.lookup += NowMs() - m_start; }

std::wstring TakeReport() {
  const Marks& m = g_marks;
  const double build = Span(m.buildStart, m.buildEnd);
  wchar_t line[256];
  swprintf(line, 256,
           L"Phrase menu times: before query %.2f ms, query %.2f ms, store lookup %.2f ms, menu build %.2f ms, "
           L"prepare %.2f ms, item measuring %.2f ms",
           Span(m.start, m.asked), Span(m.asked, m.answered), m.lookup, build > m.lookup ? build - m.lookup : 0,
           Span(m.buildEnd, m.track), Span(m.firstMeasure, m.lastMeasure));
  g_marks = Marks();
  return line;
}

}  // namespace menu_road
