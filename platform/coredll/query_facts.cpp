#include "platform/coredll/query_facts.h"

#include <richedit.h>
#include <tinyxml.h>

#include <vector>

#include "foundation/text/convert.h"

namespace {

bool SameClass(const wchar_t* actual, const wchar_t* wanted, size_t prefixChars) {
  return CompareStringOrdinal(actual, static_cast<int>(prefixChars ? prefixChars : -1), wanted,
                              static_cast<int>(prefixChars ? prefixChars : -1),
                              TRUE) == CSTR_EQUAL;
}

int ReadEditSelection(HWND control, std::wstring& text, size_t maxChars) {
  DWORD start = 0, end = 0;
  SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  if (end > static_cast<DWORD>(length)) end = static_cast<DWORD>(length);
  if (start >= end) return 0;
  if (end - start > maxChars) return 1;
  std::vector<wchar_t> all(static_cast<size_t>(length) + 1);
  const LRESULT got = SendMessageW(control, WM_GETTEXT, all.size(), reinterpret_cast<LPARAM>(all.data()));
  if (got < static_cast<LRESULT>(end)) return 1;
  text.assign(all.data() + start, end - start);
  return 2;
}

int ReadRichEditSelection(HWND control, std::wstring& text, size_t maxChars) {
  CHARRANGE range = {};
  SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (range.cpMax < 0) range.cpMax = static_cast<LONG>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
  if (range.cpMin < 0 || range.cpMin >= range.cpMax) return 0;
  const size_t chars = static_cast<size_t>(range.cpMax - range.cpMin);
  if (chars > maxChars) return 1;
  std::vector<wchar_t> buffer(chars + 1);
  const LRESULT got = SendMessageW(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
  if (got <= 0) return 1;
  text.assign(buffer.data(), static_cast<size_t>(got) < chars ? static_cast<size_t>(got) : chars);
  return 2;
}

// Handles are 32-bit values in every process, so they travel as int.
int HandleText(HWND hwnd) { return static_cast<int>(reinterpret_cast<INT_PTR>(hwnd)); }

void AddTextChild(TiXmlElement* parent, const char* name, const std::string& text) {
  auto* child = new TiXmlElement(name);
  child->LinkEndChild(new TiXmlText(text));
  parent->LinkEndChild(child);
}

}  // namespace

int ReadControlSelection(HWND control, std::wstring& text, size_t maxChars) {
  text.clear();
  if (!control || GetWindowThreadProcessId(control, nullptr) != GetCurrentThreadId()) return 1;
  wchar_t cls[64] = {};
  if (!GetClassNameW(control, cls, 64)) return 1;
  if (SameClass(cls, L"Edit", 0)) return ReadEditSelection(control, text, maxChars);
  if (SameClass(cls, L"RichEdit", 8)) return ReadRichEditSelection(control, text, maxChars);
  return 1;
}

QueryFacts GatherQueryFacts(HWND hwnd, bool noQuery) {
  QueryFacts facts;
  facts.hwnd = hwnd;
  facts.noQuery = noQuery;
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  facts.appPath.assign(path, n);
  wchar_t cls[1024] = {};
  int c = hwnd ? GetClassNameW(hwnd, cls, 1024) : 0;
  facts.className.assign(cls, c > 0 ? c : 0);
  facts.gui.cbSize = sizeof(facts.gui);
  GetGUIThreadInfo(GetCurrentThreadId(), &facts.gui);
  facts.hkl = GetKeyboardLayout(0);
  if (facts.gui.hwndCaret) {
    POINT pt = {facts.gui.rcCaret.left, facts.gui.rcCaret.bottom};
    if (ClientToScreen(facts.gui.hwndCaret, &pt)) facts.caret = pt;
  }
  if (!noQuery) facts.selState = ReadControlSelection(facts.gui.hwndFocus, facts.selText);
  return facts;
}

std::string BuildQueryXml(const QueryFacts& facts) {
  TiXmlDocument doc;
  doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
  auto* root = new TiXmlElement("LRQuery");
  root->SetAttribute("POINT_X", static_cast<int>(facts.caret.x));
  root->SetAttribute("POINT_Y", static_cast<int>(facts.caret.y));
  root->SetAttribute("HWND_Active", HandleText(facts.gui.hwndActive));
  root->SetAttribute("HWND_Focus", HandleText(facts.gui.hwndFocus));
  root->SetAttribute("HWND_Capture", HandleText(facts.gui.hwndCapture));
  root->SetAttribute("HWND_MenuOwner", HandleText(facts.gui.hwndMenuOwner));
  root->SetAttribute("HWND_Caret", HandleText(facts.gui.hwndCaret));
  AddTextChild(root, "AppPath", WideToUtf8(facts.appPath));
  AddTextChild(root, "WindowClassName", WideToUtf8(facts.className));
  AddTextChild(root, "HWND", std::to_string(HandleText(facts.hwnd)));
  const UINT_PTR layout = reinterpret_cast<UINT_PTR>(facts.hkl);
  AddTextChild(root, "HKLLoword", std::to_string(HIWORD(layout)));
  AddTextChild(root, "HKLHoword", std::to_string(LOWORD(layout)));
  if (!facts.noQuery) {
    auto* sel = new TiXmlElement("SelText");
    sel->SetAttribute("StateSelText", facts.selState);
    sel->LinkEndChild(new TiXmlText(WideToUtf8(facts.selText)));
    root->LinkEndChild(sel);
  }
  doc.LinkEndChild(root);
  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak("\r\n");
  doc.Accept(&printer);
  return printer.Str();
}
