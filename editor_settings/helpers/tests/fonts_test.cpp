#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "editor_settings/helpers/editor_fonts.h"

namespace {

LOGFONTW CaptionFont() {
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  EXPECT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
  return ncm.lfCaptionFont;
}

LOGFONTW FontOf(HFONT font) {
  LOGFONTW lf = {};
  EXPECT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectW(font, sizeof(lf), &lf));
  return lf;
}

TEST(EditorFontsTest, EachFontFollowsTheCaptionFont) {
  const LOGFONTW caption = CaptionFont();
  ASSERT_NE(0, caption.lfHeight) << "a zero height would hide every scaling below";
  struct Case {
    const char* name;
    HFONT (*get)();
    LONG height;
    LONG weight;
    BYTE italic;
  } cases[] = {
      {"dialog", editor::GetDialogFont, caption.lfHeight, FW_NORMAL, FALSE},
      {"normal", editor::GetNormalDialogFont, caption.lfHeight, FW_NORMAL, FALSE},
      {"bigger", editor::GetBiggerDialogFont, caption.lfHeight + caption.lfHeight / 4, FW_NORMAL, FALSE},
      {"large", editor::GetLargeDialogFont, static_cast<LONG>(caption.lfHeight * 1.5), FW_NORMAL, FALSE},
      {"large bold", editor::GetLargeBoldDialogFont, static_cast<LONG>(caption.lfHeight * 1.3), FW_BOLD,
       FALSE},
      {"bold", editor::GetBoldDialogFont, caption.lfHeight, FW_BOLD, FALSE},
      {"italic", editor::GetItalicDialogFont, caption.lfHeight, FW_NORMAL, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HFONT font = c.get();
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font, c.get()) << "made again on the second request";
    LOGFONTW lf = FontOf(font);
    EXPECT_EQ(c.height, lf.lfHeight);
    EXPECT_EQ(c.weight, lf.lfWeight);
    EXPECT_EQ(c.italic, lf.lfItalic);
    EXPECT_STREQ(L"MS Shell Dlg", lf.lfFaceName);
    EXPECT_EQ(caption.lfCharSet, lf.lfCharSet);
  }
  // The editor's fonts are not the foundation's small-caption ones.
  EXPECT_NE(editor::GetBoldDialogFont(), ::GetBoldDialogFont());
  EXPECT_NE(editor::GetItalicDialogFont(), ::GetItalicDialogFont());
  EXPECT_EQ(::GetStockObject(DEFAULT_GUI_FONT), editor::GetDefaultGuiFont());
}

TEST(EditorFontsTest, StrikeOutIsToggledOnACopy) {
  HFONT plain = editor::GetDialogFont();
  HFONT struck = editor::CreateStrikeOutFont(plain);
  ASSERT_NE(nullptr, struck);
  EXPECT_NE(plain, struck);
  EXPECT_TRUE(FontOf(struck).lfStrikeOut);
  EXPECT_FALSE(FontOf(plain).lfStrikeOut);
  EXPECT_EQ(FontOf(plain).lfHeight, FontOf(struck).lfHeight);
  HFONT back = editor::CreateStrikeOutFont(struck);
  ASSERT_NE(nullptr, back);
  EXPECT_FALSE(FontOf(back).lfStrikeOut);
  ::DeleteObject(back);
  ::DeleteObject(struck);
  EXPECT_EQ(nullptr, editor::CreateStrikeOutFont(nullptr));
}

TEST(EditorColoursTest, HexDigitsAreRedGreenBlue) {
  struct Case {
    COLORREF colour;
    const wchar_t* hex;
  } cases[] = {
      {RGB(0, 0, 0), L"000000"},       {RGB(255, 255, 255), L"FFFFFF"}, {RGB(255, 0, 0), L"FF0000"},
      {RGB(0, 128, 0), L"008000"},     {RGB(0, 0, 255), L"0000FF"},     {RGB(1, 0xAB, 0x0C), L"01AB0C"},
      {0x02FF8040, L"4080FF"},  // the high byte of a COLORREF is not a channel
  };
  for (const Case& c : cases) EXPECT_EQ(c.hex, editor::ColorToHex(c.colour)) << std::hex << c.colour;
}

TEST(EditorColoursTest, PhraseColourByStateAndEnabledFlag) {
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
  EXPECT_EQ(text, editor::GetPhraseTextColor(true, 0));
  EXPECT_EQ(0x008000u, editor::GetPhraseTextColor(true, 1));
  EXPECT_EQ(0xFF0000u, editor::GetPhraseTextColor(true, 2));
  EXPECT_EQ(text, editor::GetPhraseTextColor(true, 3));
  EXPECT_EQ(text, editor::GetPhraseTextColor(true, -1));
  for (int state = 0; state <= 3; ++state) EXPECT_EQ(grey, editor::GetPhraseTextColor(false, state));
  EXPECT_EQ(::GetSysColor(COLOR_MENU), editor::GetMenuColor());
  EXPECT_EQ(::GetSysColor(COLOR_WINDOWFRAME), editor::GetWindowFrameColor());
}

}  // namespace
