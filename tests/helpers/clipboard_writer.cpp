// Writes the clipboard from another process, as other programs do:
//   clipboard_writer text <text>            CF_UNICODETEXT
//   clipboard_writer ansi <text> <lcid>     CF_TEXT and CF_LOCALE only
//   clipboard_writer rich <text> <url>      RTF, "HTML Format" with the URL, CF_UNICODETEXT
//   clipboard_writer rtf <rtf> <text>       the RTF as given (8-bit) and CF_UNICODETEXT
//   clipboard_writer unterminated <text>    CF_TEXT without its NUL
//   clipboard_writer big <chars>            CF_UNICODETEXT of that many letters
//   clipboard_writer bitmap <w> <h> <text>  a bitmap and a text
// Exit codes: 0 written, 1 bad arguments, 2 the clipboard could not be opened,
// 3 a format could not be set.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

bool OpenWithRetry() {
  for (int i = 0; i < 500; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

bool SetBytes(UINT format, const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!memory) return false;
  void* p = GlobalLock(memory);
  if (size) memcpy(p, data, size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

bool SetWide(const std::wstring& text) {
  return SetBytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

std::string Narrow(const std::wstring& text, UINT codePage) {
  int n = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 1, '\0');
  WideCharToMultiByte(codePage, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(strlen(out.c_str()));
  return out;
}

std::string HtmlFormat(const std::string& fragment, const std::string& url) {
  // Offsets of the header: fixed ten-digit fields, so one pass suffices.
  const char* headerPattern =
      "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\nEndFragment:%010d\r\nSourceURL:%s\r\n";
  std::string pre = "<html><body><!--StartFragment-->", post = "<!--EndFragment--></body></html>";
  char header[512];
  int headerLen = snprintf(header, sizeof(header), headerPattern, 0, 0, 0, 0, url.c_str());
  int startHtml = headerLen, startFragment = startHtml + static_cast<int>(pre.size());
  int endFragment = startFragment + static_cast<int>(fragment.size());
  int endHtml = endFragment + static_cast<int>(post.size());
  snprintf(header, sizeof(header), headerPattern, startHtml, endHtml, startFragment, endFragment, url.c_str());
  return std::string(header) + pre + fragment + post;
}

bool SetBitmap(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(RGB(10, 120, 200));
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  if (SetClipboardData(CF_BITMAP, bitmap)) return true;
  DeleteObject(bitmap);
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 1;
  std::wstring kind = argv[1];
  if (!OpenWithRetry()) return 2;
  EmptyClipboard();
  bool ok = false;
  if (kind == L"text") {
    ok = SetWide(argv[2]);
  } else if (kind == L"ansi" && argc == 4) {
    std::string text = Narrow(argv[2], CP_ACP);
    LCID lcid = static_cast<LCID>(wcstoul(argv[3], nullptr, 0));
    ok = SetBytes(CF_TEXT, text.c_str(), text.size() + 1) && SetBytes(CF_LOCALE, &lcid, sizeof(lcid));
  } else if (kind == L"rich" && argc == 4) {
    std::string utf8 = Narrow(argv[2], CP_UTF8);
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + utf8 + "\\par}";
    std::string html = HtmlFormat("<b>" + utf8 + "</b>", Narrow(argv[3], CP_UTF8));
    ok = SetBytes(RegisterClipboardFormatW(L"Rich Text Format"), rtf.c_str(), rtf.size() + 1) &&
         SetBytes(RegisterClipboardFormatW(L"HTML Format"), html.c_str(), html.size() + 1) && SetWide(argv[2]);
  } else if (kind == L"rtf" && argc == 4) {
    std::string rtf = Narrow(argv[2], 1252);
    ok = SetBytes(RegisterClipboardFormatW(L"Rich Text Format"), rtf.c_str(), rtf.size() + 1) && SetWide(argv[3]);
  } else if (kind == L"unterminated") {
    std::string text = Narrow(argv[2], CP_ACP);
    ok = SetBytes(CF_TEXT, text.data(), text.size());
  } else if (kind == L"big") {
    size_t chars = wcstoul(argv[2], nullptr, 10);
    std::wstring text(chars, L'x');
    for (size_t i = 0; i < chars; i += 61) text[i] = static_cast<wchar_t>(L'a' + (i / 61) % 26);
    ok = SetWide(text);
  } else if (kind == L"bitmap" && argc == 5) {
    ok = SetBitmap(_wtoi(argv[2]), _wtoi(argv[3])) && SetWide(argv[4]);
  } else {
    CloseClipboard();
    return 1;
  }
  CloseClipboard();
  return ok ? 0 : 3;
}
