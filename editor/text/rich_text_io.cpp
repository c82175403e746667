#include "editor/text/rich_text_io.h"

#include <commdlg.h>
#include <richole.h>
#include <tom.h>

#include "editor/text/com_ref.h"
#include "foundation/ui/rich_edit.h"

namespace rich_text {

namespace {

// ITextDocument, {8CC497C0-A1DF-11CE-8098-00AA0047BE5D}.
const IID kIidTextDocument = {0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

constexpr LONG kWholeText = 0x3FFFFFFF;

bool IsEditWindow(HWND window) { return window && ::IsWindow(window); }

// A control limited below the data's length would cut it while reading.
// Bytes bound the characters they can give (an RTF character takes one
// byte at least, a UTF-16 one two).
void RaiseLimitFor(HWND window, size_t length, bool unicode, bool rtf) {
  size_t chars = unicode && !rtf ? length / 2 : length;
  LRESULT limit = ::SendMessageW(window, EM_GETLIMITTEXT, 0, 0);
  if (chars + 1 > static_cast<size_t>(limit) && chars < static_cast<size_t>(kWholeText))
    ::SendMessageW(window, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(chars + 1));
}

bool FindWithTom(HWND window, const std::wstring& what, UINT flags, LONG start, LONG end, CHARRANGE* found,
                 bool* unsupported) {
  ComRef<ITextRange> range(GetRange(window, start, start));
  if (!range) return false;
  BSTR text = ::SysAllocStringLen(what.data(), static_cast<UINT>(what.size()));
  if (!text) return false;
  LONG count = end < 0 ? kWholeText : end - start;
  long length = 0;
  HRESULT hr = range->FindText(text, count, static_cast<long>(flags), &length);
  ::SysFreeString(text);
  if (hr == E_NOTIMPL) *unsupported = true;
  if (hr != S_OK || length <= 0) return false;
  long from = 0, to = 0;
  if (FAILED(range->GetStart(&from)) || FAILED(range->GetEnd(&to))) return false;
  found->cpMin = from;
  found->cpMax = to;
  return true;
}

bool FindWithMessage(HWND window, const std::wstring& what, UINT flags, LONG start, LONG end,
                     CHARRANGE* found) {
  FINDTEXTEXW ft = {};
  ft.chrg.cpMin = start;
  ft.chrg.cpMax = end;
  ft.lpstrText = what.c_str();
  // The find flags of the object model share their values with FR_WHOLEWORD
  // and FR_MATCHCASE.
  WPARAM how = FR_DOWN | (flags & kMatchWord ? FR_WHOLEWORD : 0) | (flags & kMatchCase ? FR_MATCHCASE : 0);
  if (::SendMessageW(window, EM_FINDTEXTEXW, how, reinterpret_cast<LPARAM>(&ft)) < 0) return false;
  if (ft.chrgText.cpMax <= ft.chrgText.cpMin) return false;
  *found = ft.chrgText;
  return true;
}

// The selection object and its flags; false where either is missing.
bool ReadSelectionFlags(HWND window, ComRef<ITextSelection>& selection, long* flags) {
  ComRef<ITextDocument> document(GetTextDocument(window));
  if (!document || FAILED(document->GetSelection(selection.Out())) || !selection) return false;
  return selection->GetFlags(flags) == S_OK;
}

}  // namespace

std::wstring StreamOut(HWND window, bool textMode, bool selectionOnly) {
  if (!IsEditWindow(window)) return std::wstring();
  return RichEditStreamOut(window, textMode, selectionOnly);
}

std::wstring GetRtf(HWND window) { return StreamOut(window, false, false); }
std::wstring GetPlainText(HWND window) { return StreamOut(window, true, false); }
std::wstring GetSelectedPlainText(HWND window) { return StreamOut(window, true, true); }

bool StreamIn(HWND window, const void* bytes, size_t length, bool unicode, bool rtf) {
  if (!IsEditWindow(window) || !bytes) return false;
  RaiseLimitFor(window, length, unicode, rtf);
  return RichEditStreamIn(window, bytes, length, unicode, rtf);
}

bool StreamInByPrefix(HWND window, const std::wstring& text) {
  if (!IsEditWindow(window)) return false;
  // A narrowed RTF is no longer than its \uN escapes: six bytes a character
  // at most beyond the text itself.
  RaiseLimitFor(window, text.size() * 8, false, true);
  return RichEditSetText(window, text);
}

bool StreamInAnsiRtf(HWND window, const std::string& rtf) {
  if (!IsEditWindow(window)) return false;
  RaiseLimitFor(window, rtf.size(), false, true);
  return RichEditSetRtfA(window, rtf.c_str());
}

bool GetVisibleRange(HWND window, LONG* first, LONG* last) {
  if (!IsEditWindow(window) || !first || !last) return false;
  LRESULT line = ::SendMessageW(window, EM_GETFIRSTVISIBLELINE, 0, 0);
  *first = static_cast<LONG>(::SendMessageW(window, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  RECT rc = {};
  ::GetClientRect(window, &rc);
  POINTL corner = {rc.right, rc.bottom};
  *last = static_cast<LONG>(::SendMessageW(window, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&corner)));
  if (*first < 0) *first = 0;
  return true;
}

ITextDocument* GetTextDocument(HWND window) {
  if (!IsEditWindow(window)) return nullptr;
  IRichEditOle* ole = nullptr;
  if (!::SendMessageW(window, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)) || !ole) return nullptr;
  ITextDocument* document = nullptr;
  if (FAILED(ole->QueryInterface(kIidTextDocument, reinterpret_cast<void**>(&document)))) document = nullptr;
  ole->Release();
  return document;
}

ITextRange* GetRange(HWND window, LONG first, LONG last) {
  ComRef<ITextDocument> document(GetTextDocument(window));
  if (!document) return nullptr;
  ITextRange* range = nullptr;
  if (FAILED(document->Range(first, last, &range))) return nullptr;
  return range;
}

std::wstring GetRangeText(HWND window, LONG first, LONG last) {
  ComRef<ITextRange> range(GetRange(window, first, last));
  if (!range) return std::wstring();
  BSTR text = nullptr;
  if (FAILED(range->GetText(&text)) || !text) return std::wstring();
  std::wstring result(text, ::SysStringLen(text));
  ::SysFreeString(text);
  return result;
}

std::wstring GetLinkText(HWND window, const CHARRANGE& range) {
  return GetRangeText(window, range.cpMin, range.cpMax);
}

bool IsOvertype(HWND window, bool* known) {
  if (known) *known = false;
  ComRef<ITextSelection> selection;
  long flags = 0;
  if (!ReadSelectionFlags(window, selection, &flags)) return false;
  if (known) *known = true;
  return (flags & tomSelOvertype) != 0;
}

bool SetOvertype(HWND window, bool on) {
  ComRef<ITextSelection> selection;
  long flags = 0;
  if (!ReadSelectionFlags(window, selection, &flags)) return false;
  flags = on ? (flags | tomSelOvertype) : (flags & ~static_cast<long>(tomSelOvertype));
  return selection->SetFlags(flags) == S_OK;
}

bool FindFirst(HWND window, const std::wstring& what, UINT flags, LONG start, LONG end, CHARRANGE* found) {
  if (!IsEditWindow(window) || what.empty() || !found || start < 0) return false;
  if (end >= 0 && end <= start) return false;
  // The object model's search is missing from some rich edit versions; the
  // control's own search finds the same.
  static bool tomSearchMissing = false;
  if (!tomSearchMissing) {
    bool unsupported = false;
    if (FindWithTom(window, what, flags, start, end, found, &unsupported)) return true;
    if (!unsupported) return false;
    tomSearchMissing = true;
  }
  return FindWithMessage(window, what, flags, start, end, found);
}

int FindAll(HWND window, const std::wstring& what, UINT flags, LONG start, LONG end,
            FindAllCallback callback, void* context) {
  std::wstring text = what;
  int count = 0;
  for (LONG from = start < 0 ? 0 : start;;) {
    CHARRANGE found = {0, 0};
    if (!FindFirst(window, text, flags, from, end, &found)) break;
    if (end >= 1 && found.cpMin > end) break;
    ++count;
    FindMatch match = {found.cpMin, found.cpMax, found.cpMin + 1, 0};
    if (callback && !callback(window, match, context)) break;
    LONG next = (match.action & kFindResumeSet) ? match.resumeAt : found.cpMin + 1;
    if (match.action & kFindRenewText) text = what;
    if (next <= from) next = from + 1;  // never search the same place twice
    from = next;
  }
  return count;
}

}  // namespace rich_text
