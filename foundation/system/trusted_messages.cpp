#include "foundation/system/trusted_messages.h"

#include <vector>

#include "foundation/system/handles.h"
#include "foundation/system/system_helpers.h"

namespace {

struct PendingSend {
  UINT message;
  LPARAM lParam;
};

thread_local std::vector<PendingSend> t_pending;

}  // namespace

// Every message of the suite that carries an address or a handle and can
// come from another process, with the rule its receiver follows.
const ForeignMessage kForeignMessages[] = {
    // Quillora.exe, the tray window.
    {"tray window", 32771, nullptr, MessageRule::kHandedOut,
     "query and answer records of the query wait thread"},
    {"tray window", 32773, nullptr, MessageRule::kHandedOut, "the update check's result record"},
    {"tray window", 32775, nullptr, MessageRule::kOwnThread, "a buffer for the history caption"},
    {"tray window", 32780, nullptr, MessageRule::kHandedOut,
     "a menu choice: taken only while the shown menu's result is due, once; its target checked with IsWindow"},
    {"tray window", 32783, nullptr, MessageRule::kAnswerOnly, "answers with the clipboard handler object"},
    {"tray window", WM_COPYDATA, nullptr, MessageRule::kValidated,
     "a menu choice and its target: block size and layout, IsWindow"},
    {"every window of the window layers", WM_NOTIFY, nullptr, MessageRule::kValidated,
     "a control's notice: IsOwnNotification before any map reads it; the tray window reads only "
     "the clipboard handler's notice in flight"},
    {"tray window", 0, L"{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}", MessageRule::kValidated,
     "a problem text: read only from readable memory, bounded"},
    // Quillora.exe, the clipboard handler window.
    {"clipboard handler", 0, L"{F762C94C-9D69-4a96-B8FD-7F53F4157D13}", MessageRule::kHandedOut,
     "an item the history worker saved"},
    {"clipboard handler", 0, L"{278BB95C-BECC-4945-9CDF-98E5CDC69FEF}", MessageRule::kHandedOut,
     "the queue the history worker loaded"},
    {"clipboard handler", WM_APP + 3, nullptr, MessageRule::kHandedOut, "the history worker's finished queue"},
    // The phrase menu's tooltip window (Quillora.exe).
    {"menu tooltip", WM_APP + 0x3A1, nullptr, MessageRule::kValidated, "the menu of the delayed tip (IsMenu)"},
    // QuilloraEditor.exe.
    {"editor frame", 0, L"{3875692C-ED88-4395-98D9-42698D67B08A}", MessageRule::kOwnThread, "a status text"},
    {"editor frame", WM_APP + 0x61, nullptr, MessageRule::kAnswerOnly,
     "nothing: it wakes the frame, which takes the failed writes from its own queue"},
    {"editor phrase pane", 0, L"{5D6045BE-334C-4613-8D34-22650BC71F1D}", MessageRule::kOwnThread,
     "the tree's drop question"},
    {"editor phrase pane", 0, L"{F75381CA-7728-43ce-BB66-828BA9BBD286}", MessageRule::kHandedOut,
     "nothing: it wakes the pane, which acts once on the request it kept itself, on its tree's items"},
    {"editor phrase pane", 0, L"{EA9BDCD7-15E6-4540-A64D-9D1B9EB2DEBF}", MessageRule::kHandedOut,
     "a toolbar drop-down: only requests the pane posted itself"},
    {"editor phrase tree", 0, L"{D4496398-1D3E-42b5-AD7E-DD07DA1F1F5F}", MessageRule::kAnswerOnly,
     "nothing: it wakes the tree, which takes the changed check boxes from its own list"},
    // HTMLayout.dll views (the update dialog, the welcome page).
    {"HTML view", 0, L"HTMLayout_ClickByHref", MessageRule::kValidated,
     "a global atom naming a link; only under the test switch"},
};

const size_t kForeignMessageCount = sizeof(kForeignMessages) / sizeof(kForeignMessages[0]);

void HandedOutObjects::Hand(const void* object) {
  SrwExclusiveLock lock(m_lock);
  m_out.insert(reinterpret_cast<std::uintptr_t>(object));
}

bool HandedOutObjects::TakeBack(std::uintptr_t value) {
  SrwExclusiveLock lock(m_lock);
  return value && m_out.erase(value) != 0;
}

bool IsOwnNotification(LPARAM lParam) {
  // No test of InSendMessageEx here: a control of this thread notifies its
  // parent while the thread serves a send from elsewhere (a list view
  // changed by another process, a worker's result), and that notice is
  // this thread's own. The header must name a window of this thread.
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (reinterpret_cast<ULONG_PTR>(header) % alignof(NMHDR) || !IsReadableMemory(header, sizeof(NMHDR))) return false;
  return IsWindow(header->hwndFrom) && GetWindowThreadProcessId(header->hwndFrom, nullptr) == GetCurrentThreadId();
}

LRESULT SendWithAddress(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  t_pending.push_back({message, lParam});
  LRESULT result = SendMessageW(window, message, wParam, lParam);
  t_pending.pop_back();
  return result;
}

bool IsAddressFromOwnThread(UINT message, LPARAM lParam) {
  if (InSendMessageEx(nullptr) != ISMEX_NOSEND || t_pending.empty()) return false;
  const PendingSend& last = t_pending.back();
  return last.message == message && last.lParam == lParam;
}
