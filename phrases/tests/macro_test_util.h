// A fixed clock, locale and keyboard-layout list for the macro tests.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phrases/macros/macro_sources.h"
#include "phrases/macros/macro_table.h"

namespace macrotest {

constexpr LCID kEnglish = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
constexpr LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
constexpr LCID kRussian = MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT);

inline HKL Layout(UINT_PTR value) { return reinterpret_cast<HKL>(value); }

// Thursday, 5 March 2026, 14:07:09 (wDayOfWeek deliberately wrong: the
// weekday must come from the date).
inline SYSTEMTIME MarchFifth() {
  SYSTEMTIME t = {};
  t.wYear = 2026;
  t.wMonth = 3;
  t.wDay = 5;
  t.wDayOfWeek = 1;
  t.wHour = 14;
  t.wMinute = 7;
  t.wSecond = 9;
  return t;
}

// Sets the sources for one test and puts the system's back afterwards.
class MacroTest : public ::testing::Test {
 protected:
  void SetUp() override { Use(MarchFifth(), kEnglish, {}); }
  void TearDown() override {
    ResetMacroSources();
    ResetMacroVersionFiles();
  }

  void Use(const SYSTEMTIME& now, LCID userLocale, const std::vector<HKL>& layouts) {
    m_now = now;
    m_clockReads = 0;
    CMacroSources sources;
    sources.localTime = [this] {
      ++m_clockReads;
      return m_now;
    };
    sources.userLocale = [userLocale] { return userLocale; };
    sources.keyboardLayouts = [layouts] { return layouts; };
    SetMacroSources(sources);
  }

  SYSTEMTIME m_now = {};
  int m_clockReads = 0;
};

}  // namespace macrotest
