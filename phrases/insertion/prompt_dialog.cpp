#include "phrases/insertion/prompt_dialog.h"

#include <algorithm>

#include "foundation/localization/dialog_localizer.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_dialog_names.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/ui/window_helpers.h"
#include "phrases/insertion/prompt_dialog_ids.h"

namespace {

constexpr size_t kTitleChars = 100;

// Centres the window on the target, kept inside the work area.
void CenterOnWindow(HWND hwnd, HWND on) {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT around = work;
  if (on && IsWindowVisible(on) && !IsIconic(on)) GetWindowRect(on, &around);
  RECT rc = {};
  GetWindowRect(hwnd, &rc);
  const LONG w = rc.right - rc.left, h = rc.bottom - rc.top;
  LONG x = (around.left + around.right - w) / 2;
  LONG y = (around.top + around.bottom - h) / 2;
  x = std::max(work.left, std::min(x, work.right - w));
  y = std::max(work.top, std::min(y, work.bottom - h));
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON ProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM_ICON),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

std::wstring PromptCaption(HWND target) {
  std::wstring caption = L"Quillora";
  if (!target || !IsWindow(target)) return caption;
  const int length = GetWindowTextLengthW(target);
  if (length <= 0) return caption;
  std::wstring title(static_cast<size_t>(length) + 1, L'\0');
  title.resize(static_cast<size_t>(GetWindowTextW(target, &title[0], length + 1)));
  if (title.empty()) return caption;
  return caption + L" - [" + title.substr(0, kTitleChars) + L"]";
}

CPromptDialog::CPromptDialog(const std::wstring& initialText, HWND target, int flag)
    : m_target(target), m_flag(flag), m_text(initialText) {}

INT_PTR CPromptDialog::DoModal(HINSTANCE instance) {
  m_instance = instance;
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PROMPT_TEXT), GetDesktopWindow(), DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CPromptDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    // Once, from the dialog's creation: a later one was sent by another
    // program with an address that means nothing here.
    if (GetWindowLongPtrW(hwnd, DWLP_USER)) return FALSE;
    auto* self = reinterpret_cast<CPromptDialog*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->m_hWnd = hwnd;
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CPromptDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        self->OnOK();
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      // The dialog can be dragged by its body.
      ReleaseCapture();
      SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      return TRUE;
    case WM_DESTROY:
      self->m_hWnd = nullptr;
      break;
  }
  return FALSE;
}

BOOL CPromptDialog::OnInitDialog() {
  SetWindowTextW(m_hWnd, PromptCaption(m_target).c_str());
  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(32)));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(16)));
  HWND edit = GetDlgItem(m_hWnd, IDC_PROMPT_TEXT);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  BOOL defaultFocus = TRUE;
  if (!m_text.empty()) {
    SetWindowTextW(edit, m_text.c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    defaultFocus = FALSE;
  }
  // The template's own text (OK) from the language file; Cancel is a string.
  CDialogLocalizer localizer(m_hWnd, IDD_PROMPT_TEXT, GetLngDialogName(kLngSuffixClient, IDD_PROMPT_TEXT),
                             m_instance);
  localizer.ExcludeControl(IDCANCEL);
  localizer.Localize();
  CLngString cancel;
  if (cancel.LoadString(IDS_PROMPT_CANCEL)) SetDlgItemTextW(m_hWnd, IDCANCEL, cancel.c_str());
  PlaceAtTarget();

  // Only a thread attached to the target's input may take the foreground
  // from it.
  const DWORD targetThread = m_target ? GetWindowThreadProcessId(m_target, nullptr) : 0;
  const DWORD ownThread = GetCurrentThreadId();
  if (targetThread && targetThread != ownThread && AttachThreadInput(ownThread, targetThread, TRUE)) {
    SetActiveWindow(m_hWnd);
    SetForegroundWindow(m_hWnd);
    SetFocus(edit);
    AttachThreadInput(ownThread, targetThread, FALSE);
    defaultFocus = FALSE;
  }
  SetWindowTopmost(m_hWnd, true);
  return defaultFocus;
}

void CPromptDialog::PlaceAtTarget() {
  GUITHREADINFO gti = {};
  gti.cbSize = sizeof(gti);
  const DWORD thread = m_target ? GetWindowThreadProcessId(m_target, nullptr) : 0;
  if (thread && GetGUIThreadInfo(thread, &gti) && gti.hwndCaret) {
    POINT pt = {gti.rcCaret.left, gti.rcCaret.bottom};
    ClientToScreen(gti.hwndCaret, &pt);
    SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  CenterOnWindow(m_hWnd, m_target);
}

void CPromptDialog::OnOK() {
  HWND edit = GetDlgItem(m_hWnd, IDC_PROMPT_TEXT);
  const int length = GetWindowTextLengthW(edit);
  if (length > 0) {
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, &text[0], length + 1)));
    if (!text.empty()) m_text = text;
  }
  EndDialog(m_hWnd, IDOK);
}
