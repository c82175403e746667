#include "foundation/localization/dialog_fonts.h"

#include <cstddef>
#include <cwchar>

namespace {

HFONT MakeSmallCaptionFont(LONG weight, BYTE italic) {
  NONCLIENTMETRICSW ncm = {};
  // The record without the padded-border field: older systems refuse the
  // longer one.
  ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return nullptr;
  LOGFONTW lf = ncm.lfSmCaptionFont;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  wcscpy(lf.lfFaceName, L"MS Shell Dlg");
  return ::CreateFontIndirectW(&lf);
}

}  // namespace

HFONT GetBoldDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeSmallCaptionFont(FW_BOLD, FALSE);
  return font;
}

HFONT GetItalicDialogFont() {
  static HFONT font = nullptr;
  if (!font) font = MakeSmallCaptionFont(FW_NORMAL, TRUE);
  return font;
}

COLORREF GetColorBlue() { return RGB(0, 0, 255); }
COLORREF GetColorRed() { return RGB(255, 0, 0); }
COLORREF GetColorGreen() { return RGB(0, 128, 0); }

HPEN GetBluePen() {
  static HPEN pen = ::CreatePen(PS_SOLID, 2, GetColorBlue());
  return pen;
}

HPEN GetRedPen() {
  static HPEN pen = ::CreatePen(PS_SOLID, 2, GetColorRed());
  return pen;
}

namespace {

struct BlinkRecord {
  HWND control;
  UINT message;
  HWND notifyWindow;
};

constexpr int kBlinkRounds = 3;
constexpr DWORD kOtherFontMs = 300;
constexpr DWORD kOwnFontMs = 400;

DWORD WINAPI BlinkThread(void* param) {
  BlinkRecord rec = *static_cast<BlinkRecord*>(param);
  delete static_cast<BlinkRecord*>(param);
  HFONT parentFont =
      reinterpret_cast<HFONT>(::SendMessageW(::GetParent(rec.control), WM_GETFONT, 0, 0));
  if (!parentFont) return 0;
  LOGFONTW lf;
  if (!::GetObjectW(parentFont, sizeof(lf), &lf)) return 0;
  lf.lfWeight = lf.lfWeight == FW_BOLD ? FW_NORMAL : FW_BOLD;
  HFONT other = ::CreateFontIndirectW(&lf);
  if (!other) return 0;
  bool notified = false;
  if (rec.message && ::IsWindow(rec.notifyWindow)) {
    ::SendMessageW(rec.notifyWindow, rec.message, 1, 0);
    notified = true;
  }
  for (int i = 0; i < kBlinkRounds; ++i) {
    ::SendMessageW(rec.control, WM_SETFONT, reinterpret_cast<WPARAM>(other), TRUE);
    ::Sleep(kOtherFontMs);
    ::SendMessageW(rec.control, WM_SETFONT, reinterpret_cast<WPARAM>(parentFont), TRUE);
    ::Sleep(kOwnFontMs);
  }
  ::DeleteObject(other);
  if (notified) ::SendMessageW(rec.notifyWindow, rec.message, 0, 0);
  return 0;
}

}  // namespace

bool BlinkWindowFontAsync(HWND control, UINT message, HWND notifyWindow) {
  if (!::IsWindow(control)) return false;
  auto* rec = new BlinkRecord{control, message, notifyWindow};
  HANDLE thread = ::CreateThread(nullptr, 0, BlinkThread, rec, 0, nullptr);
  if (!thread) {
    delete rec;
    return false;
  }
  ::CloseHandle(thread);
  return true;
}

bool BlinkWindowFont(HWND control) { return BlinkWindowFontAsync(control, 0, nullptr); }
