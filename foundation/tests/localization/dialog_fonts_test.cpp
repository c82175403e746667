#include "foundation/localization/dialog_fonts.h"

#include <gtest/gtest.h>

#include <vector>

#include "foundation/ui/subclass.h"
#include "tests/support/test_support.h"

namespace {

TEST(DialogFontsTest, FontsAreTheSmallCaptionFontInTheDialogFace) {
  struct Case {
    HFONT font;
    LONG weight;
    BYTE italic;
  } cases[] = {{GetBoldDialogFont(), FW_BOLD, FALSE}, {GetItalicDialogFont(), FW_NORMAL, TRUE}};
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
  for (const Case& c : cases) {
    ASSERT_TRUE(c.font);
    LOGFONTW lf = {};
    ::GetObjectW(c.font, sizeof(lf), &lf);
    EXPECT_EQ(c.weight, lf.lfWeight);
    EXPECT_EQ(c.italic, lf.lfItalic);
    EXPECT_STREQ(L"MS Shell Dlg", lf.lfFaceName);
    EXPECT_EQ(ncm.lfSmCaptionFont.lfHeight, lf.lfHeight);
  }
  EXPECT_EQ(GetBoldDialogFont(), GetBoldDialogFont());  // made once
  EXPECT_EQ(RGB(0, 0, 255), GetColorBlue());
  EXPECT_EQ(0x0000FFu, GetColorRed());
  EXPECT_EQ(0x008000u, GetColorGreen());
  LOGPEN lp = {};
  ::GetObjectW(GetRedPen(), sizeof(lp), &lp);
  EXPECT_EQ(2, lp.lopnWidth.x);
  EXPECT_EQ(GetColorRed(), lp.lopnColor);
}

std::vector<HFONT> g_fonts;
std::vector<LONG> g_weights;
std::vector<WPARAM> g_notes;

LRESULT RecordFont(HWND, UINT msg, WPARAM wParam, LPARAM, LONG_PTR, BOOL*, WNDPROC) {
  if (msg == WM_SETFONT) {
    g_fonts.push_back(reinterpret_cast<HFONT>(wParam));
    LOGFONTW lf = {};
    ::GetObjectW(reinterpret_cast<HFONT>(wParam), sizeof(lf), &lf);
    g_weights.push_back(lf.lfWeight);
  }
  if (msg == WM_APP + 2) g_notes.push_back(wParam);
  return 0;
}

TEST(DialogFontsTest, BlinkSwitchesThreeTimesAndNotifiesBeforeAndAfter) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  HWND label = ::CreateWindowExW(0, L"STATIC", L"Select Your Language:", WS_CHILD | WS_VISIBLE,
                                 5, 5, 150, 20, parent, nullptr, nullptr, nullptr);
  LOGFONTW lf = {};
  lf.lfHeight = -12;
  lf.lfWeight = FW_NORMAL;
  wcscpy(lf.lfFaceName, L"MS Shell Dlg");
  HFONT normal = ::CreateFontIndirectW(&lf);
  ::SendMessageW(parent, WM_SETFONT, reinterpret_cast<WPARAM>(normal), FALSE);
  ASSERT_TRUE(SubclassWindowProc(label, RecordFont, 0));
  ASSERT_TRUE(SubclassWindowProc(parent, RecordFont, 0));
  g_fonts.clear();
  g_weights.clear();
  g_notes.clear();

  EXPECT_FALSE(BlinkWindowFontAsync(nullptr, WM_APP + 2, parent));
  ASSERT_TRUE(BlinkWindowFontAsync(label, WM_APP + 2, parent));
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_notes.size() == 2; }, 5000));
  EXPECT_EQ((std::vector<WPARAM>{1, 0}), g_notes);
  ASSERT_EQ(6u, g_fonts.size());
  for (size_t i = 0; i < 6; i += 2) {
    EXPECT_NE(normal, g_fonts[i]);
    EXPECT_EQ(FW_BOLD, g_weights[i]);  // the parent's font is normal: bold copy
    EXPECT_EQ(normal, g_fonts[i + 1]);
  }
  ::DestroyWindow(parent);
  ::DeleteObject(normal);
}

}  // namespace
