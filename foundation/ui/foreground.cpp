#include "foundation/ui/foreground.h"

#include "foundation/logging/log.h"

namespace {

// The system may refuse the foreground to a thread that does not hold it;
// with its input attached to the holder's thread the call goes through.
// The attachment is only a fallback: some platforms refuse the foreground
// to attached threads instead.
void SetForegroundAttached(HWND holder, HWND target) {
  if (SetForegroundWindow(target)) return;
  DWORD holderThread = GetWindowThreadProcessId(holder, nullptr);
  DWORD ownThread = GetCurrentThreadId();
  bool attached = holderThread != 0 && holderThread != ownThread &&
                  AttachThreadInput(ownThread, holderThread, TRUE);
  SetForegroundWindow(target);
  if (attached) AttachThreadInput(ownThread, holderThread, FALSE);
}

}  // namespace

CAutoForegroundWindow::CAutoForegroundWindow(HWND show)
    : m_previous(GetForegroundWindow()), m_show(show), m_done(false),
      m_logTag(L"CAutoForegroundWindow") {
  LogWindowState(m_previous, m_logTag);
  LogWindowState(m_show, m_logTag);
  DWORD pid = 0;
  if (m_previous && IsWindow(m_previous)) GetWindowThreadProcessId(m_previous, &pid);
  if (!m_previous || !IsWindow(m_previous) || pid == GetCurrentProcessId()) {
    m_done = true;
    return;
  }
  SetForegroundAttached(m_previous, m_show);
}

CAutoForegroundWindow::~CAutoForegroundWindow() { Restore(); }

void CAutoForegroundWindow::Restore() {
  if (m_done) return;
  LogWindowState(m_previous, m_logTag);
  LogWindowState(m_show, m_logTag);
  SetForegroundAttached(m_previous, m_previous);
  m_done = true;
}

bool BringWindowToFront(HWND target) {
  if (!target || !IsWindow(target)) return false;
  HWND root = GetAncestor(target, GA_ROOT);
  if (!root) root = target;
  SetForegroundAttached(GetForegroundWindow(), root);
  if (GetWindowThreadProcessId(root, nullptr) == GetCurrentThreadId()) {
    SetActiveWindow(root);
    SetFocus(target);
  }
  return GetForegroundWindow() == root;
}
