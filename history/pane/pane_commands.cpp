// The history pane's item commands: the copy, the copy-and-paste sequence
// into the window used before, the edits, protection and deletion, and the
// commands the pane passes on to the tray window.
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "foundation/system/command_runners.h"
#include "foundation/system/shell_open.h"
#include "foundation/text/convert.h"
#include "foundation/ui/foreground.h"
#include "foundation/ui/message_box_timeout.h"
#include "history/actions/shell_actions.h"
#include "history/actions/web_search.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_host.h"
#include "history/pane/pane_menu_state.h"
#include "history/pane/pane_texts.h"
#include "history/store/history_caption.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/insertion/insertion_actions.h"
#include "settings/copy_events.h"

namespace {

constexpr wchar_t kCannotCopy[] = L"Cannot copy data to clipboard from float pane";
constexpr wchar_t kCannotActivate[] = L"Cannot activate other window from float pane";
constexpr UINT kIdsRemovedChars = 278;
constexpr UINT kIdsJoinedLines = 279;

int SearchEngineOf(UINT command) {
  switch (command) {
    case pane_cmd::kSearchGoogle: return kSearchEngineGoogle;
    case pane_cmd::kSearchYandex: return kSearchEngineYandex;
    case pane_cmd::kSearchWikipedia: return kSearchEngineWikipedia;
    default: return kSearchEngineMsdn;
  }
}

}  // namespace

int CQLRFloatPane::SelectionMark() const {
  if (!m_list || !m_source) return -1;
  int mark = static_cast<int>(::SendMessageW(m_list, LVM_GETSELECTIONMARK, 0, 0));
  return mark >= 0 && mark < m_source->GetItemCount() ? mark : -1;
}

std::vector<int> CQLRFloatPane::SelectedItems() const {
  std::vector<int> selected;
  if (!m_list || !m_source) return selected;
  const int count = m_source->GetItemCount();
  for (int i = static_cast<int>(::SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
       i >= 0 && i < count;
       i = static_cast<int>(::SendMessageW(m_list, LVM_GETNEXTITEM, i, LVNI_SELECTED)))
    selected.push_back(i);
  return selected;
}

const CCHItem* CQLRFloatPane::MarkItem() const {
  int mark = SelectionMark();
  return mark >= 0 ? m_source->GetItem(mark) : nullptr;
}

void CQLRFloatPane::PostToTray(UINT command) {
  HWND tray = m_host ? m_host->TrayWindow() : nullptr;
  if (tray) ::PostMessageW(tray, WM_COMMAND, command, 0);
}

void CQLRFloatPane::ReportToTray(const wchar_t* text) {
  if (m_host) m_host->ReportToTray(text);
}

bool CQLRFloatPane::CopyItem(int index, bool sound) {
  const CCHItem* item = m_source && index >= 0 ? m_source->GetItem(index) : nullptr;
  if (!item) return false;
  // Every form the item holds; the history keeps the item when the copy
  // comes back to it.
  const bool copied = m_source->CopyItemToClipboard(index);
  if (!copied) ReportToTray(kCannotCopy);
  ScheduleReselect(item);
  if (copied && sound && m_host) m_host->PlayPaperSound();
  return copied;
}

void CQLRFloatPane::ScheduleReselect(const CCHItem* item) {
  m_pendingNumber = item->number;
  SetTimer(pane_ids::kReselectTimer, pane_ids::kReselectTimerMs);
}

void CQLRFloatPane::OnReselectTimer() {
  KillTimer(pane_ids::kReselectTimer);
  const std::uint32_t number = m_pendingNumber;
  m_pendingNumber = 0;
  if (!m_list || !m_source) return;
  ::SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
  const int count = static_cast<int>(::SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
  int found = -1;
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  for (int i = 0; i < count; ++i) {
    state.state = 0;
    ::SendMessageW(m_list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
    const CCHItem* item = m_source->GetItem(i);
    if (found < 0 && item && item->number == number) found = i;
  }
  if (found >= 0) {
    ::SendMessageW(m_list, LVM_SETSELECTIONMARK, 0, found);
    ::SendMessageW(m_list, LVM_ENSUREVISIBLE, found, FALSE);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(m_list, LVM_SETITEMSTATE, found, reinterpret_cast<LPARAM>(&state));
  }
  ::SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_list, nullptr, TRUE);
}

void CQLRFloatPane::StartCopyAndPaste() { SetTimer(pane_ids::kCopyTimer, pane_ids::kCopyTimerMs); }

void CQLRFloatPane::OnCopyTimer() {
  KillTimer(pane_ids::kCopyTimer);
  PulseStartCopyEvent();
  CopyItem(SelectionMark(), false);
  HWND target = m_host ? m_host->PreviousFocusWindow() : nullptr;
  bool active = false;
  if (target && ::IsWindow(target) && GetWindowThreadProcessId(target, nullptr)) {
    active = BringWindowToFront(target);
  }
  if (active)
    SetTimer(pane_ids::kPasteTimer, pane_ids::kPasteTimerMs);
  else
    ReportToTray(kCannotActivate);
  PulseEndCopyEvent();
}

void CQLRFloatPane::OnPasteTimer() {
  KillTimer(pane_ids::kPasteTimer);
  PasteAndMoveCaretLeft(0);
  if (m_host) m_host->PlayKeyboardSound();
  if (!m_fixed) SetShowMode(1, false);
}

void CQLRFloatPane::AfterCountChange() {
  if (m_list && m_source) ::SendMessageW(m_list, LVM_SETITEMCOUNT, m_source->GetItemCount(), 0);
  if (m_toolbar.m_hWnd) ::InvalidateRect(m_toolbar, nullptr, TRUE);
  if (m_source) m_source->StartSaveTimer();
}

void CQLRFloatPane::ProtectSelected() {
  const CCHItem* mark = MarkItem();
  if (!mark) return;
  const bool protect = !mark->IsProtected();
  for (int index : SelectedItems())
    if (CCHItem* item = m_source->GetItem(index)) item->SetProtected(protect);
  if (m_list) ::InvalidateRect(m_list, nullptr, TRUE);
  m_source->StartSaveTimer();
}

void CQLRFloatPane::DeleteSelected() {
  std::vector<int> selected = SelectedItems();
  if (!m_source) return;
  std::set<int> indexes(selected.begin(), selected.end());
  const int before = m_source->GetItemCount();
  if (!indexes.empty() && m_source->DeleteItems(indexes, true) && m_source->GetItemCount() != before)
    AfterCountChange();
  RefreshList();
}

void CQLRFloatPane::ClearItems() {
  if (!m_source) return;
  m_source->ClearHistory();
  m_source->StartSaveTimer();
  Invalidate();
}

void CQLRFloatPane::UndoLast() {
  if (!m_source) return;
  if (m_source->Queue().Undo()) AfterCountChange();
  RefreshList();
}

void CQLRFloatPane::ShowResultBox(UINT labelId, int total) {
  const std::wstring text = PaneString(labelId) + L": " + std::to_wstring(total);
  MessageBoxTimeout(m_hWnd, L"Quillora", text.c_str(),
                    total > 0 ? MB_ICONINFORMATION : MB_ICONEXCLAMATION, pane_ids::kResultBoxMs);
}

void CQLRFloatPane::EditSelected(UINT command) {
  if (!m_source) return;
  bool anyChanged = false;
  int total = 0;
  for (int index : SelectedItems()) {
    bool changed = false;
    if (command == pane_cmd::kUpper || command == pane_cmd::kLower) {
      changed = m_source->ChangeItemCase(command == pane_cmd::kUpper, index);
    } else {
      int count = command == pane_cmd::kTrim ? m_source->TrimItem(index) : m_source->JoinItemLines(index);
      if (count > 0) total += count;
      changed = count > 0;
    }
    if (changed) {
      anyChanged = true;
      if (m_list) ::SendMessageW(m_list, LVM_REDRAWITEMS, index, index);
      RebuildInfoTip(index);
    }
  }
  if (anyChanged) {
    RefreshList();
    if (command != pane_cmd::kTrim && m_list) ::InvalidateRect(m_list, nullptr, TRUE);
  }
  if (command == pane_cmd::kTrim) ShowResultBox(kIdsRemovedChars, total);
  if (command == pane_cmd::kJoin) ShowResultBox(kIdsJoinedLines, total);
}

bool CQLRFloatPane::RunPaneCommand(UINT command, bool fromToolbar) {
  using namespace pane_cmd;
  const int mark = SelectionMark();
  const CCHItem* item = MarkItem();
  switch (command) {
    case kCopy:
      if (fromToolbar) {
        StartCopyAndPaste();
      } else if (!CopyItem(mark, false)) {
        MessageBeep(static_cast<UINT>(-1));
      }
      return true;
    case kOpenAsUrl:
      if (item) OpenLinkText(m_hWnd, ListText(mark));
      return true;
    case kCopyPlain:
      if (!item || !m_source->CopyItemAsPlainText(mark)) MessageBeep(static_cast<UINT>(-1));
      if (item) ScheduleReselect(item);
      return true;
    case kCopyRtf:
      if (const CCHItem* rtf = item ? item->FindFormat(kHistoryKindRtf) : nullptr)
        PutDataOnClipboard(GetRtfClipboardFormat(), rtf->Data(), rtf->Size());
      return true;
    case kCopyHtml:
      if (const CCHItem* html = item ? item->GetHtml() : nullptr) {
        std::string bytes(static_cast<const char*>(html->Data()), html->Size());
        PutTextOnClipboard(Utf8ToWide(bytes.c_str()));
      }
      return true;
    case kEdit:
    case kOpenWith:
      if (item) OpenHistoryItemAsFile(item, m_hWnd, command == kEdit);
      return true;
    case kCopySourceUrl:
      if (item && !item->sourceUrl.empty()) PutTextOnClipboard(item->sourceUrl);
      return true;
    case kOpenSourceUrl:
      // Another program wrote the address: only web addresses are opened.
      if (item && IsWebAddress(item->sourceUrl))
        ShellOpen(m_hWnd, L"open", item->sourceUrl.c_str(), nullptr, nullptr, SW_SHOW);
      else if (item)
        MessageBeep(static_cast<UINT>(-1));
      return true;
    case kEmptyClipboard:
      if (OpenClipboard(m_hWnd)) {
        EmptyClipboard();
        CloseClipboard();
      } else {
        MessageBeep(static_cast<UINT>(-1));
      }
      return true;
    case kSearchGoogle:
    case kSearchYandex:
    case kSearchWikipedia:
    case kSearchMsdn:
      if (item) SearchTextOnWeb(ListText(mark), SearchEngineOf(command), m_hWnd);
      return true;
    case kProtect:
      ProtectSelected();
      return true;
    case kDelete:
      DeleteSelected();
      return true;
    case kClear:
      ClearItems();
      return true;
    case kUndo:
      UndoLast();
      return true;
    case kClearUndo:
      if (m_source) m_source->Queue().ClearUndo();
      return true;
    case kSave:
      SaveSelected();
      return true;
    case kRun:
      if (item) ::RunCommand(ListText(mark), true, m_host ? m_host->TrayWindow() : nullptr);
      return true;
    case kUpper:
    case kLower:
    case kTrim:
    case kJoin:
      EditSelected(command);
      return true;
    case kMinimizeToCaptionCommand:
      SetShowMode(m_showMode == 1 ? 0 : 1, true);
      return true;
    case kFixPaneCommand:
      SetFixed(!m_fixed);
      return true;
    case kEditPhrases:
      PostToTray(kEditPhrases);
      SetShowMode(1, true);
      return true;
    case kKeepHistory:
      PostToTray(kKeepHistory);
      return true;
    case pane_ids::kClose:
      PostMessageW(WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    default:
      return false;
  }
}
