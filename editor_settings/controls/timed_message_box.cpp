#include "editor_settings/controls/timed_message_box.h"

namespace {

// Everything the hook and the dialog subclass need lives per thread, so
// boxes on different threads never meet.
struct ThreadBoxState {
  HHOOK hook = nullptr;
  CTimedMessageBox* box = nullptr;
  bool busy = false;
};

thread_local ThreadBoxState t_state;

bool IsDialogClass(HWND hWnd) {
  wchar_t name[16] = {};
  return ::GetClassNameW(hWnd, name, 16) > 0 && ::lstrcmpW(name, L"#32770") == 0;
}

LRESULT CALLBACK BoxDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CTimedMessageBox* box = t_state.box;
  if (!box || box->m_dialog != hWnd || !box->m_previousProc) return ::DefWindowProcW(hWnd, msg, wParam, lParam);
  switch (msg) {
    case WM_INITDIALOG: {
      // Once: the system box reads its parameters from the address, which
      // in a later one another program chose.
      if (box->m_laidOut) return 0;
      // The box places its buttons while it initialises (and is activated
      // meanwhile); moves made before that has returned are undone.
      LRESULT result = ::CallWindowProcW(box->m_previousProc, hWnd, msg, wParam, lParam);
      box->LayOut();
      return result;
    }
    case WM_LBUTTONDOWN: {
      POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      HWND child = ::ChildWindowFromPointEx(hWnd, at, CWP_SKIPINVISIBLE);
      if (child == hWnd || !child) {
        ::ReleaseCapture();
        ::SendMessageW(hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        return 0;
      }
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    default:
      break;
  }
  return ::CallWindowProcW(box->m_previousProc, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK BoxCbtProc(int code, WPARAM wParam, LPARAM lParam) {
  CTimedMessageBox* box = t_state.box;
  HWND hWnd = reinterpret_cast<HWND>(wParam);
  if (box && code >= 0 && (code == HCBT_CREATEWND || code == HCBT_DESTROYWND) && IsDialogClass(hWnd)) {
    if (code == HCBT_CREATEWND && !box->m_dialog) box->OnDialogCreated(hWnd);
    if (code == HCBT_DESTROYWND && box->m_dialog == hWnd) box->OnDialogDestroyed();
  }
  return ::CallNextHookEx(t_state.hook, code, wParam, lParam);
}

}  // namespace

CTimedMessageBox::CTimedMessageBox(const std::map<int, std::wstring>& buttonTexts)
    : m_buttonTexts(buttonTexts), m_outer(t_state.box) {
  t_state.box = this;
}

CTimedMessageBox::~CTimedMessageBox() {
  if (m_dialog && m_previousProc && ::IsWindow(m_dialog)) OnDialogDestroyed();
  if (m_boldFont) ::DeleteObject(m_boldFont);
  // A box made while another was registered puts that one back.
  if (t_state.box == this) t_state.box = m_outer;
}

CTimedMessageBox* CTimedMessageBox::Current() { return t_state.box; }

void CTimedMessageBox::OnDialogCreated(HWND dialog) {
  m_dialog = dialog;
  m_previousProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxDialogProc)));
}

void CTimedMessageBox::OnDialogDestroyed() {
  if (m_previousProc) {
    if (::GetWindowLongPtrW(m_dialog, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&BoxDialogProc)) {
      ::SetWindowLongPtrW(m_dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    }
    m_previousProc = nullptr;
  }
  if (m_items.empty()) return;
  m_checked.clear();
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (::IsWindow(m_items[i]) && ::SendMessageW(m_items[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
      m_checked.insert(static_cast<unsigned>(i));
    }
  }
}

std::vector<std::wstring> SplitItemLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  if (text.empty()) return lines;
  if (text[0] == L'\n') {
    lines.emplace_back();
    return lines;
  }
  size_t start = 0;
  for (;;) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

int ShowTimedMessageBox(HWND owner, UINT type, const std::wstring& text, const std::wstring& caption,
                        const std::wstring& items, std::set<unsigned>* checked,
                        const std::set<unsigned>& disabled, int x, int y,
                        TimedMessageBoxIconProvider iconProvider, LPARAM iconArgument,
                        const std::map<int, std::wstring>& buttonTexts) {
  // Tested before anything is registered, so a nested call leaves the
  // outer box's registration alone.
  if (t_state.busy) return 0;
  if (items.empty()) return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);

  CTimedMessageBox box(buttonTexts);
  box.m_uType = type;
  box.m_text = text;
  box.m_disabled = disabled;
  if (checked) box.m_checked = *checked;
  box.m_lines = SplitItemLines(items);
  bool ownHook = false;
  if (!t_state.hook) {
    t_state.hook = ::SetWindowsHookExW(WH_CBT, &BoxCbtProc, nullptr, ::GetCurrentThreadId());
    ownHook = t_state.hook != nullptr;
  }
  box.m_x = x;
  box.m_y = y;
  box.m_iconProvider = iconProvider;
  box.m_iconArgument = iconArgument;

  t_state.busy = true;
  int result = ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
  t_state.busy = false;
  if (ownHook) {
    ::UnhookWindowsHookEx(t_state.hook);
    t_state.hook = nullptr;
  }
  if (checked) *checked = box.m_checked;
  return result;
}
