#include "platform/htmlayout/view.h"

#include "foundation/system/test_switches.h"
#include "platform/htmlayout/text_decode.h"
#include "platform/htmlayout/tree_builder.h"
#include "platform/htmlayout/url.h"
#include "platform/htmlayout/window/view_window.h"

namespace hl {
namespace {

const wchar_t kClassName[] = L"HTMLayoutView";

unsigned long NextSerial() {
  static unsigned long serial = 0;
  return ++serial;
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring Serialized(HWND hwnd) {
  ModelLock lock;
  View* view = ViewFromWindow(hwnd);
  return view && view->Doc() ? SerializeDocument(*view->Doc()) : std::wstring();
}

// The last style sheet handed over with HTMLayoutDataReady: its byte count
// (wParam 0) or its FNV-1a hash (wParam 1).
LRESULT LastSheetAnswer(HWND hwnd, WPARAM wParam) {
  ModelLock lock;
  View* view = ViewFromWindow(hwnd);
  if (!view) return 0;
  const std::string& sheet = view->LastAcceptedSheet();
  if (wParam == 0) return static_cast<LRESULT>(sheet.size());
  UINT32 hash = 2166136261u;
  for (unsigned char c : sheet) hash = (hash ^ c) * 16777619u;
  return static_cast<LRESULT>(hash);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static const UINT lastSheetMessage = RegisterWindowMessageW(kLastStyleSheetMessage);
  if (msg == lastSheetMessage && IsTestSwitchOn(kStyleSheetQueryTestSwitch)) return LastSheetAnswer(hwnd, wParam);
  switch (msg) {
    case WM_NCCREATE: {
      ModelLock lock;
      // Once, from the creation: another program can send it again.
      if (GetWindowLongPtrW(hwnd, 0)) return FALSE;
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new View(hwnd)));
      break;
    }
    case WM_NCDESTROY: {
      ModelLock lock;
      delete reinterpret_cast<View*>(GetWindowLongPtrW(hwnd, 0));
      SetWindowLongPtrW(hwnd, 0, 0);
      break;
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(Serialized(hwnd).size());
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      std::wstring text = Serialized(hwnd);
      size_t n = text.size() < wParam - 1 ? text.size() : wParam - 1;
      auto* out = reinterpret_cast<wchar_t*>(lParam);
      text.copy(out, n);
      out[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_SETTEXT:
      return FALSE;  // the document is changed through the load calls only
    default: {
      ModelLock lock;
      View* view = ViewFromWindow(hwnd);
      LRESULT result = 0;
      if (view && view->Presenter().Handle(msg, wParam, lParam, result)) return result;
      break;
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool g_registered = false;

}  // namespace

const wchar_t* ViewClassName() {
  ModelLock lock;
  if (!g_registered) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ViewProc;
    wc.cbWndExtra = sizeof(View*);
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    g_registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return g_registered ? kClassName : nullptr;
}

void UnregisterViewClass() {
  if (g_registered && UnregisterClassW(kClassName, ThisModule())) g_registered = false;
}

View* ViewFromWindow(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;  // its window data means nothing here
  if (GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&ViewProc)) return nullptr;
  return reinterpret_cast<View*>(GetWindowLongPtrW(hwnd, 0));
}

View::View(HWND hwnd) : m_hwnd(hwnd), m_serial(NextSerial()), m_doc(std::make_unique<Document>()) {
  m_doc->view = hwnd;
  m_presenter = std::make_unique<ViewWindow>(*this);
}

// The presenter (and its widgets) goes before the document it points into.
View::~View() { m_presenter.reset(); }

void NotifyElementChanged(const Node* node) {
  if (!node || !node->document || !node->document->view) return;
  View* view = ViewFromWindow(static_cast<HWND>(node->document->view));
  if (view && view->Doc() == node->document) view->Presenter().ElementChanged(node);
}

void View::SetCallback(LPHTMLAYOUT_NOTIFY callback, void* param) {
  m_callback = callback;
  m_callbackParam = param;
}

void View::AttachHandler(LPELEMENT_EVENT_PROC proc, void* tag, UINT groups) {
  for (EventHandlerEntry& e : m_handlers) {
    if (e.proc == proc && e.tag == tag) {
      e.groups = groups;
      return;
    }
  }
  m_handlers.push_back({proc, tag, groups});
}

bool View::Load(const BYTE* html, UINT size, const wchar_t* baseUrl) {
  bool ok = (html || size == 0) && size <= kMaxDocumentBytes;
  std::unique_ptr<Document> doc = ok ? BuildDocument(DecodeUtf8(html, size)) : std::make_unique<Document>();
  doc->view = m_hwnd;
  std::wstring base = baseUrl ? baseUrl : L"";
  doc->baseUrl = doc->baseHref.empty() ? base : ResolveUrl(base, doc->baseHref);
  for (StyleSheet& sheet : doc->sheets) {
    if (!sheet.uri.empty()) sheet.uri = ResolveUrl(doc->baseUrl, sheet.uri);
  }
  m_presenter->DocumentReplaced();  // nothing of the old document stays referenced
  m_doc = std::move(doc);  // the old document's elements in use are detached here
  m_docSerial = NextSerial();
  if (ok) RequestStyleSheets();
  return ok;
}

void View::RequestStyleSheets() {
  const unsigned long serial = m_serial, docSerial = m_docSerial;
  const HWND hwnd = m_hwnd;
  for (size_t i = 0; i < m_doc->sheets.size(); ++i) {
    StyleSheet& sheet = m_doc->sheets[i];
    if (sheet.uri.empty()) continue;
    sheet.pending = true;
    if (!m_callback) continue;
    std::wstring uri = sheet.uri;  // the callback may reload and free the sheet
    NMHL_LOAD_DATA nm = {};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    nm.hdr.code = HLN_LOAD_DATA;
    nm.uri = uri.c_str();
    nm.dataType = HLRT_DATA_STYLE;
    nm.principal = HandleOf(sheet.owner);
    LRESULT answer = m_callback(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm), m_callbackParam);
    // The callback may have destroyed the window or loaded another page.
    View* now = ViewFromWindow(hwnd);
    if (!now || now->m_serial != serial || now->m_docSerial != docSerial) return;
    StyleSheet& same = now->m_doc->sheets[i];
    if (nm.outData && same.pending) {
      same.text = DecodeUtf8(static_cast<const unsigned char*>(nm.outData), nm.outDataSize);
      same.pending = false;
    }
    if (answer == LOAD_DISCARD) same.pending = false;
  }
}

bool View::DataReady(const wchar_t* uri, const BYTE* data, DWORD size) {
  if (!uri || (!data && size)) return false;
  for (StyleSheet& sheet : m_doc->sheets) {
    if (!sheet.pending || CompareStringOrdinal(sheet.uri.c_str(), -1, uri, -1, TRUE) != CSTR_EQUAL) continue;
    sheet.text = DecodeUtf8(data, size);
    sheet.pending = false;
    m_lastSheet.assign(reinterpret_cast<const char*>(data), size);
    m_presenter->PageChanged();  // laid out again with the sheet's rules
    return true;
  }
  return false;
}

}  // namespace hl
