#include "editor_settings/helpers/editor_fonts.h"

#include <cstddef>
#include <cwchar>

namespace editor {
namespace {

bool ReadCaptionFont(LOGFONTW* out) {
  NONCLIENTMETRICSW ncm = {};
  // Without the padded-border field: older systems refuse the longer record.
  ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return false;
  *out = ncm.lfCaptionFont;
  return true;
}

void SetShellDlgFace(LOGFONTW& lf) {
  wcsncpy(lf.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
  lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

// The caption font with height scaled by num/den, the weight given and the
// dialog face.
HFONT MakeCaptionFont(int num, int den, LONG weight) {
  LOGFONTW lf;
  if (!ReadCaptionFont(&lf)) return nullptr;
  lf.lfHeight = static_cast<LONG>(static_cast<long long>(lf.lfHeight) * num / den);
  lf.lfWeight = weight;
  SetShellDlgFace(lf);
  return ::CreateFontIndirectW(&lf);
}

// A font made from the dialog font's LOGFONT, changed by adjust.
template <typename Adjust>
HFONT MakeFromDialogFont(Adjust adjust) {
  HFONT base = GetDialogFont();
  LOGFONTW lf;
  if (!base || !::GetObjectW(base, sizeof(lf), &lf)) return nullptr;
  adjust(lf);
  return ::CreateFontIndirectW(&lf);
}

}  // namespace

HFONT GetDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeCaptionFont(1, 1, FW_NORMAL);
  return font;
}

HFONT GetNormalDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeFromDialogFont([](LOGFONTW& lf) { lf.lfWeight = FW_NORMAL; });
  return font;
}

HFONT GetBiggerDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeFromDialogFont([](LOGFONTW& lf) { lf.lfHeight += lf.lfHeight / 4; });
  return font;
}

HFONT GetLargeDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeCaptionFont(3, 2, FW_NORMAL);
  return font;
}

HFONT GetLargeBoldDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeCaptionFont(13, 10, FW_BOLD);
  return font;
}

HFONT GetBoldDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeCaptionFont(1, 1, FW_BOLD);
  return font;
}

HFONT GetItalicDialogFont() {
  static HFONT font = nullptr;
  if (!font) {
    font = MakeFromDialogFont([](LOGFONTW& lf) {
      lf.lfWeight = FW_NORMAL;
      lf.lfItalic = TRUE;
    });
  }
  return font;
}

HFONT GetDefaultGuiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

COLORREF GetGrayTextColor() {
  static const COLORREF colour = ::GetSysColor(COLOR_GRAYTEXT);
  return colour;
}

COLORREF GetMenuColor() { return ::GetSysColor(COLOR_MENU); }
COLORREF GetWindowFrameColor() { return ::GetSysColor(COLOR_WINDOWFRAME); }

COLORREF GetPhraseTextColor(bool enabled, int colorState) {
  if (!enabled) return GetGrayTextColor();
  switch (colorState) {
    case 1:
      return GetColorGreen();
    case 2:
      return GetColorBlue();
    default:
      return ::GetSysColor(COLOR_WINDOWTEXT);
  }
}

std::wstring ColorToHex(COLORREF colour) {
  wchar_t buf[8] = {};
  swprintf(buf, 8, L"%.2X%.2X%.2X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return buf;
}

HFONT CreateStrikeOutFont(HFONT font) {
  LOGFONTW lf;
  if (!font || !::GetObjectW(font, sizeof(lf), &lf)) return nullptr;
  lf.lfStrikeOut = lf.lfStrikeOut ? FALSE : TRUE;
  return ::CreateFontIndirectW(&lf);
}

}  // namespace editor
