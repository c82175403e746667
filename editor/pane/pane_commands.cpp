// The phrase pane's commands: new phrases and groups, label edit, delete,
// cut, copy and paste, moves, and the shell's views of a record's file.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/doc/doc.h"
#include "editor/editor_names.h"
#include "editor/pane/phrase_pane.h"
#include "editor/services/clipboard_text.h"
#include "editor/services/editor_menu_tooltip.h"
#include "editor/services/editor_system.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor/store/command_names.h"
#include "editor/store/command_order.h"
#include "editor/tree/tree_item_text.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/file_helpers.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/files/files.h"
#include "foundation/logging/log.h"
#include "foundation/system/shell_open.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_node.h"
#include "platform/mfc/window/cmd_ui.h"

namespace {

constexpr UINT kIdsNewPhraseName = 61211;
constexpr UINT kIdsPhrases = 61207;
constexpr UINT kIdsMoveTo = 61221;
constexpr UINT kIdsCopyTo = 61222;
constexpr wchar_t kNewGroupName[] = L"New Group";

std::wstring NoTrailingSlash(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

void Beep() { ::MessageBeep(static_cast<UINT>(-1)); }

// The clipboard's "Rich Text Format" data as text: UTF-16 when it starts
// "{\urtf", else 8-bit widened; never past the block's size or its first
// zero. Empty when there is none.
std::wstring ReadClipboardRtf() {
  HANDLE data = GetClipboardDataHandle(GetRtfClipboardFormat());
  if (!data) return std::wstring();
  std::wstring out;
  const SIZE_T size = ::GlobalSize(data);
  const char* bytes = static_cast<const char*>(::GlobalLock(data));
  if (!bytes) return out;
  static const char kUnicodeStart[] = "{\0\\\0u\0r\0t\0f\0";
  if (size >= 12 && memcmp(bytes, kUnicodeStart, 12) == 0) {
    const wchar_t* chars = reinterpret_cast<const wchar_t*>(bytes);
    const size_t count = size / sizeof(wchar_t);
    size_t n = 0;
    while (n < count && chars[n]) ++n;
    out.assign(chars, n);
  } else {
    size_t n = 0;
    while (n < size && bytes[n]) ++n;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) out += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  }
  ::GlobalUnlock(data);
  return out;
}

// Trimmed at both ends, cut before the first line break past the first
// character.
std::wstring TitleOfText(const std::wstring& text) {
  const wchar_t* blanks = L"\t\r\n ";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::wstring::npos) return std::wstring();
  const size_t last = text.find_last_not_of(blanks);
  std::wstring title = text.substr(first, last - first + 1);
  const size_t brk = title.find_first_of(L"\r\n");
  if (brk != std::wstring::npos && brk > 0) title.resize(brk);
  return title;
}

}  // namespace

// ---- New phrases and groups ------------------------------------------------

std::uint32_t CPhrasePane::TargetFolderId() const {
  HTREEITEM selected = m_tree.GetSelectedItem();
  const CQLRCommand* record = m_tree.GetRecord(selected);
  if (!record) return kRootId;
  if (record->IsFolder()) return record->GetId();
  HTREEITEM parent = m_tree.GetParentItem(selected);
  return parent ? m_tree.GetItemId(parent) : kRootId;
}

void CPhrasePane::AddPhrase(bool fromClipboard, bool labelEdit, bool rtf, std::uint32_t target) {
  std::wstring title, text;
  std::uint32_t type = rtf ? kDataTypeRtf : kDataTypeText;
  if (fromClipboard) {
    text = ReadClipboardRtf();
    if (!text.empty()) {
      type = kDataTypeRtf;
      title = TitleOfText(RtfStringToPlainText(text));
    } else {
      GetClipboardText(text, m_hWnd);
      type = kDataTypeText;
      title = TitleOfText(text);
    }
  } else {
    title = L"<" + LoadTreeString(kIdsNewPhraseName, L"Enter new phrase name for menu") + L">";
  }
  // A new phrase needs its folder on disk: without it the file would land
  // beside the drive's root.
  const std::wstring directory = target == kRootId ? Store().GetRootPath() : Store().GetPath(target);
  if (directory.empty() || !IsFolderExist(directory)) {
    const std::wstring shown = directory.empty() ? GetEditorSettings().GetPhrasesDirectoryNoSlash() : directory;
    ::MessageBoxW(m_hWnd, FolderNotFoundText(shown).c_str(), editor_names::kBoxCaption, MB_ICONWARNING);
    return;
  }
  const std::uint32_t id = Store().AddCommand(title, text, type, target);
  CQLRCommand* record = id == kRootId ? nullptr : Store().FindCommandById(id);
  if (!record) {
    Beep();
    return;
  }
  HTREEITEM parent = target == kRootId ? TVI_ROOT : m_tree.FindItemById(target);
  HTREEITEM item = m_tree.InsertItem(record->GetMenuName().c_str(), id, parent ? parent : TVI_ROOT, false,
                                     CPhraseTreeCtrl::ImageOf(*record), true);
  if (item) {
    m_tree.ExpandWithParents(m_tree.GetParentItem(item));
    m_tree.SelectItem(item);
    m_tree.EnsureVisible(item);
  }
  UpdateDocViews(nullptr, kHintSelect, static_cast<LPARAM>(id));
  if (labelEdit && item) {
    StartLabelEdit(item, false);
  } else {
    Store().SaveCommand(id);
  }
  StampPhraseChange();
  UpdateCaption();
}

void CPhrasePane::OnAddText() { AddPhrase(false, true, false, TargetFolderId()); }
void CPhrasePane::OnAddRtf() { AddPhrase(false, true, true, TargetFolderId()); }
void CPhrasePane::OnAddFromClipboard() { AddPhrase(true, false, false, TargetFolderId()); }

void CPhrasePane::OnUpdateAddFromClipboard(CCmdUI* pCmdUI) {
  pCmdUI->Enable(::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT));
}

LRESULT CPhrasePane::OnAddFromClipboardLabel(WPARAM, LPARAM) {
  AddPhrase(true, true, false, kRootId);
  return 1;
}

LRESULT CPhrasePane::OnAddFromClipboardShared(WPARAM, LPARAM) {
  // A second start handed over its request: it promised a new phrase.
  AddPhrase(true, true, false, kRootId);
  return 1;
}

LRESULT CPhrasePane::OnCloseMenuAdd(WPARAM, LPARAM) {
  ::EndMenu();
  OnAddFromClipboard();
  return 1;
}

void CPhrasePane::OnAddGroup() {
  const std::uint32_t target = TargetFolderId();
  CommandList* list = Store().GetChildList(target);
  const std::wstring directory = target == kRootId ? Store().GetRootPath() : Store().GetPath(target);
  if (!list || directory.empty() || !IsFolderExist(directory)) {
    Beep();
    return;
  }
  std::wstring clip;
  GetClipboardText(clip, m_hWnd);
  // A name past what a menu name holds would make a path no directory may
  // have.
  std::wstring name = StripUnsafeChars(TitleOfText(clip));
  if (name.size() > kGroupNameChars) name.resize(kGroupNameChars);
  name = TitleOfText(name);
  if (name.empty()) name = kNewGroupName;
  std::wstring path = NoTrailingSlash(directory) + L"\\" + name;
  for (int number = 2; IsFolderExist(path) && number < 10000; ++number)
    path = NoTrailingSlash(directory) + L"\\" + name + std::to_wstring(number);
  std::uint32_t id = kRootId;
  if (IsFolderExist(path) || !Store().AddFolder(name, path, list, &id) || id == kRootId) {
    Beep();
    return;
  }
  HTREEITEM parent = target == kRootId ? TVI_ROOT : m_tree.FindItemById(target);
  const std::wstring label = path.substr(path.find_last_of(L'\\') + 1);
  HTREEITEM item = m_tree.InsertItem(label.c_str(), id, parent ? parent : TVI_ROOT, false, kImageFolder, false);
  if (item) {
    m_tree.SelectItem(item);
    m_tree.EnsureVisible(item);
    StartLabelEdit(item, false);
  }
  StampPhraseChange();
  UpdateCaption();
}

// ---- Label edit ----------------------------------------------------------

void CPhrasePane::StartLabelEdit(HTREEITEM item, bool fromRename) {
  if (!item) return;
  m_renameEdit = fromRename;
  m_tree.ModifyStyle(0, TVS_EDITLABELS);
  m_tree.SetFocus();
  m_tree.SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item));
}

void CPhrasePane::OnRename() {
  HTREEITEM item = m_tree.GetSelectedItem();
  if (!m_tree.GetRecord(item)) return;
  StartLabelEdit(item, true);
}

void CPhrasePane::OnBeginLabelEdit(NMHDR* header, LRESULT* result) {
  *result = 0;
  auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
  HWND edit = reinterpret_cast<HWND>(m_tree.SendMessage(TVM_GETEDITCONTROL));
  if (!edit) return;
  if (m_editFont) ::DeleteObject(m_editFont);
  m_editFont = nullptr;
  LOGFONTW font = {};
  HFONT treeFont = m_tree.GetFont();
  if (::GetObjectW(treeFont ? treeFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), sizeof(font),
                   &font)) {
    font.lfHeight = font.lfHeight * 3 / 2;
    m_editFont = ::CreateFontIndirectW(&font);
    if (m_editFont) ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont), TRUE);
  }
  ::SetWindowLongPtrW(edit, GWL_STYLE, ::GetWindowLongPtrW(edit, GWL_STYLE) | ES_MULTILINE);
  CRect item, client;
  m_tree.GetItemRect(info->item.hItem, &item, TRUE);
  m_tree.GetClientRect(&client);
  ::SetWindowPos(edit, nullptr, item.left, item.top, client.Width() - item.left, item.Height() * 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void CPhrasePane::OnEndLabelEdit(NMHDR* header, LRESULT* result) {
  *result = FALSE;
  auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
  const bool fromRename = m_renameEdit;
  m_renameEdit = false;
  if (m_editFont) {
    ::DeleteObject(m_editFont);
    m_editFont = nullptr;
  }
  m_tree.Invalidate();
  m_tree.ModifyStyle(TVS_EDITLABELS, 0);
  CQLRCommand* record = m_tree.GetRecord(info->item.hItem);
  if (!record) return;
  const std::uint32_t id = record->GetId();
  if (!info->item.pszText) {
    // A new phrase keeps its placeholder title, on disk too.
    if (record->GetFilePath().empty()) Store().SaveCommand(id);
    return;
  }
  const std::wstring text = info->item.pszText;
  if (record->IsFolder()) {
    const std::wstring name = StripUnsafeChars(text);
    const std::wstring oldPath = NoTrailingSlash(record->GetFilePath());
    const size_t slash = oldPath.find_last_of(L'\\');
    if (name.empty() || name == L"." || name == L".." || slash == std::wstring::npos) {
      Beep();
      return;
    }
    const std::wstring newPath = oldPath.substr(0, slash + 1) + name;
    // The unchanged name (a new group accepted as it is) is no rename.
    if (newPath == oldPath) return;
    // A folder of that name is another folder, unless only the letter case
    // differs: then it is this one.
    const bool sameFolder = EqualNoCase(newPath, oldPath);
    // Writes queued into the directory land before it moves, or they would
    // bring the old directory back.
    WaitForPendingWrites();
    if ((!sameFolder && IsFolderExist(newPath)) || !::MoveFileW(oldPath.c_str(), newPath.c_str())) {
      Beep();
      return;
    }
    Store().RenameFolder(newPath, id);
    // The record shows its directory's name, as the next load would.
    record->SetMenuName(name);
    UpdateDocViews(nullptr, kHintPathChanged, static_cast<LPARAM>(id));
    m_tree.SetItemText(info->item.hItem, name.c_str());
    // The tree is not refilled under the control's own label edit: its
    // item would be deleted while the control still ends the edit on it.
    m_endingLabelEdit = true;
    UpdateDocViews(nullptr, kHintFolderChanged, static_cast<LPARAM>(id));
    m_endingLabelEdit = false;
    StampPhraseChange();
    return;
  }
  // A refused rename (a name no file may have, a file gone behind the
  // editor's back) keeps the old title in the record too.
  const std::wstring oldTitle = record->GetMenuName();
  if (TitleOfText(text).empty() || !record->Rename(text)) {
    record->SetMenuName(oldTitle);
    Beep();
    return;
  }
  if (fromRename) record->SetUseTitleOnly(true);
  Store().SaveCommand(id);
  UpdateDocViews(nullptr, kHintPathChanged, static_cast<LPARAM>(id));
  m_tree.SetItemText(info->item.hItem, record->GetMenuName().c_str());
  StampPhraseChange();
  // The control sets the typed text; the record's normalised title is
  // already in place.
  *result = FALSE;
}

void CPhrasePane::RenameCurrentTo(const std::wstring& text) {
  // The text came from the open phrase: that phrase is renamed, whatever
  // item the tree has selected meanwhile.
  CDoc* doc = GetActiveDoc();
  CQLRCommand* record = doc ? doc->CurrentRecord() : nullptr;
  if (!record || record->IsFolder() || TitleOfText(text).empty()) {
    Beep();
    return;
  }
  const std::wstring oldTitle = record->GetMenuName();
  if (!record->Rename(text)) {
    record->SetMenuName(oldTitle);
    Beep();
    return;
  }
  const std::uint32_t id = record->GetId();
  if (HTREEITEM item = m_tree.FindItemById(id)) m_tree.SetItemText(item, record->GetMenuName().c_str());
  // The document and the frame's title follow the new name and file.
  UpdateDocViews(nullptr, kHintPathChanged, static_cast<LPARAM>(id));
  Store().SaveCommand(id);
  StampPhraseChange();
}

// ---- Delete ----------------------------------------------------------------

void CPhrasePane::OnDelete() {
  HTREEITEM item = m_tree.GetSelectedItem();
  CQLRCommand* record = m_tree.GetRecord(item);
  if (!record) {
    Beep();
    return;
  }
  HTREEITEM next = m_tree.GetParentItem(item);
  if (!next) next = m_tree.GetPrevSiblingItem(item);
  if (!next) next = m_tree.GetNextSiblingItem(item);
  const std::wstring keep = RecordPath(next);
  const std::uint32_t id = record->GetId();
  CDoc* doc = GetActiveDoc();
  // The open phrase's edits are in its file before the tree is read again.
  if (doc) doc->CommitCurrent(nullptr);
  if (!Store().DeleteCommand(id, GetTopLevelParent()->GetSafeHwnd())) {
    FocusTree();
    Beep();
    return;
  }
  // The ids are given anew by the reload: the document finds its record
  // again by its file (or shows none when it went with the deleted one),
  // and the remembered records keep to their files.
  if (doc)
    doc->ReloadStore();
  else
    Store().Load(GetEditorSettings().GetPhrasesDirectoryNoSlash());
  m_remembered.erase(std::remove_if(m_remembered.begin(), m_remembered.end(),
                                    [this](const std::wstring& path) {
                                      return !Store().FindByPath(path.c_str());
                                    }),
                     m_remembered.end());
  Refill(keep);
  if (doc && !keep.empty()) {
    if (const CQLRCommand* kept = Store().FindByPath(keep.c_str())) doc->SelectRecord(static_cast<int>(kept->GetId()));
  }
  StampPhraseChange();
}

// ---- Cut, copy, paste --------------------------------------------------------

void CPhrasePane::ClearRemembered() {
  for (const std::wstring& path : m_remembered) {
    const CQLRCommand* record = Store().FindByPath(path.c_str());
    if (HTREEITEM item = record ? m_tree.FindItemById(record->GetId()) : nullptr)
      m_tree.SetItemState(item, 0, TVIS_CUT);
  }
  m_remembered.clear();
}

void CPhrasePane::Remember(bool cut) {
  ClearRemembered();
  HTREEITEM item = m_tree.GetSelectedItem();
  const std::wstring path = RecordPath(item);
  if (path.empty()) return;
  m_remembered.push_back(path);
  m_rememberedCut = cut;
  if (cut) m_tree.SetItemState(item, TVIS_CUT, TVIS_CUT);
}

void CPhrasePane::OnCut() { Remember(true); }
void CPhrasePane::OnCopy() { Remember(false); }

// The Paste tip, and the status bar with it, tell where the remembered
// record would go.
void CPhrasePane::SetPasteNote(const std::wstring& note) {
  if (CEditorMenuToolTip* tip = GetMenuToolTipProvider()) tip->SetExtraText(note);
}

std::wstring CPhrasePane::PasteTargetText() {
  const std::wstring verb =
      m_rememberedCut ? LoadTreeString(kIdsMoveTo, L"move to") : LoadTreeString(kIdsCopyTo, L"copy to");
  const std::uint32_t target = TargetFolderId();
  const CQLRCommand* folder = target == kRootId ? nullptr : Store().FindCommandById(target);
  const std::wstring name = folder ? folder->GetMenuName() : LoadTreeString(kIdsPhrases, L"Phrases");
  return verb + L" [" + name + L"]";
}

void CPhrasePane::OnUpdatePaste(CCmdUI* pCmdUI) {
  const CQLRCommand* record = m_remembered.empty() ? nullptr : Store().FindByPath(m_remembered.front().c_str());
  if (!record) {
    SetPasteNote(std::wstring());
    pCmdUI->Enable(FALSE);
    return;
  }
  CommandDragData data;
  data.hasRecord = true;
  data.id = record->GetId();
  data.isMove = m_rememberedCut;
  const std::uint32_t target = TargetFolderId();
  const bool can = Store().CanDrop(target, data);
  pCmdUI->Enable(can);
  SetPasteNote(can ? PasteTargetText() : std::wstring());
  if (!can) return;
  if (HTREEITEM item = m_tree.FindItemById(record->GetId())) {
    m_tree.SendMessage(TVM_SETINSERTMARK, TRUE, reinterpret_cast<LPARAM>(item));
    SetTimer(kTimerPasteMark, kPasteMarkDelay, nullptr);
  }
  // Where the record would go, until the mark's timer clears it.
  const std::wstring text = PasteTargetText();
  SendFrameNotify(reinterpret_cast<LPARAM>(text.c_str()));
}

void CPhrasePane::OnPaste() {
  const CQLRCommand* record = m_remembered.empty() ? nullptr : Store().FindByPath(m_remembered.front().c_str());
  if (!record) {
    Beep();
    return;
  }
  if (MoveRecord(record->GetId(), TargetFolderId(), m_rememberedCut, false)) m_remembered.clear();
}

bool CPhrasePane::MoveRecord(std::uint32_t id, std::uint32_t target, bool move, bool quiet) {
  CommandDragData data;
  data.hasRecord = true;
  data.id = id;
  data.isMove = move;
  if (!Store().CanDrop(target, data)) {
    if (!quiet) Beep();
    return false;
  }
  // The open phrase's text is written before its file (or a folder above
  // it) may move; the document keeps the record, whose id a move keeps.
  if (CDoc* doc = GetActiveDoc()) doc->CommitCurrent(nullptr);
  std::uint32_t newId = kRootId;
  const int done = move ? Store().MoveCommand(target, data, &newId) : Store().CopyCommand(target, data, &newId);
  if (!done) {
    if (!quiet) Beep();
    return false;
  }
  // Paths below a moved folder changed too: the document remembers its own
  // anew.
  if (move) UpdateDocViews(nullptr, kHintPathChanged, static_cast<LPARAM>(newId));
  const CQLRCommand* placed = newId == kRootId ? nullptr : Store().FindCommandById(newId);
  Refill(placed ? placed->GetFilePath() : std::wstring());
  StampPhraseChange();
  return true;
}

// ---- Moves -------------------------------------------------------------------

HTREEITEM CPhrasePane::SiblingForMove(bool up) const {
  HTREEITEM item = m_tree.GetSelectedItem();
  const CQLRCommand* record = m_tree.GetRecord(item);
  if (!record) return nullptr;
  HTREEITEM other = up ? m_tree.GetPrevSiblingItem(item) : m_tree.GetNextSiblingItem(item);
  const CQLRCommand* sibling = m_tree.GetRecord(other);
  return sibling && sibling->IsFolder() == record->IsFolder() ? other : nullptr;
}

void CPhrasePane::MoveSibling(bool up) {
  HTREEITEM item = m_tree.GetSelectedItem();
  HTREEITEM other = SiblingForMove(up);
  if (!other) return;
  HTREEITEM parent = m_tree.GetParentItem(item);
  std::vector<std::uint32_t> ids;
  for (HTREEITEM child = m_tree.GetChildItem(parent ? parent : TVI_ROOT); child;
       child = m_tree.GetNextSiblingItem(child))
    ids.push_back(m_tree.GetItemId(child));
  const std::uint32_t a = m_tree.GetItemId(item), b = m_tree.GetItemId(other);
  auto ia = std::find(ids.begin(), ids.end(), a), ib = std::find(ids.begin(), ids.end(), b);
  if (ia == ids.end() || ib == ids.end()) return;
  std::iter_swap(ia, ib);
  Store().SetOrder(ids, parent ? m_tree.GetItemId(parent) : kRootId);
  // The tree's own order: phrases before folders, then the sort ids.
  m_tree.Refresh(Store());
  StampPhraseChange();
}

void CPhrasePane::OnMoveUp() { MoveSibling(true); }
void CPhrasePane::OnMoveDown() { MoveSibling(false); }
void CPhrasePane::OnUpdateMoveUp(CCmdUI* pCmdUI) { pCmdUI->Enable(SiblingForMove(true) != nullptr); }
void CPhrasePane::OnUpdateMoveDown(CCmdUI* pCmdUI) { pCmdUI->Enable(SiblingForMove(false) != nullptr); }

void CPhrasePane::OnMoveToRoot() {
  HTREEITEM item = m_tree.GetSelectedItem();
  const CQLRCommand* record = m_tree.GetRecord(item);
  if (!record || !m_tree.GetParentItem(item)) return;
  MoveRecord(record->GetId(), kRootId, true, false);
}

void CPhrasePane::OnUpdateMoveToRoot(CCmdUI* pCmdUI) {
  HTREEITEM item = m_tree.GetSelectedItem();
  pCmdUI->Enable(item && m_tree.GetParentItem(item));
}

// ---- Shell, filter, sort -------------------------------------------------------

void CPhrasePane::OnOpenFolder() {
  const CQLRCommand* record = m_tree.GetRecord(m_tree.GetSelectedItem());
  if (!record || record->GetFilePath().empty()) return;
  if (record->IsFolder())
    ShellOpen(m_hWnd, L"open", record->GetFilePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  else
    SelectInExplorer(m_hWnd, record->GetFilePath());
}

void CPhrasePane::OnProperties() {
  const CQLRCommand* record = m_tree.GetRecord(m_tree.GetSelectedItem());
  if (record && !record->GetFilePath().empty()) ShowFileProperties(record->GetFilePath());
}

void CPhrasePane::OnHideUnchecked() {
  // The document keeps the setting and tells every view.
  if (CDoc* doc = GetActiveDoc()) doc->OnCmdMsg(ID_PHRASE_HIDE_UNCHECKED, CN_COMMAND, nullptr, nullptr);
  UpdateFilterButton();
}

void CPhrasePane::OnUpdateHideUnchecked(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetCheck(GetEditorSettings().ShowUncheckedPhrases ? 0 : 1);
}

void CPhrasePane::OnSortMode(UINT) {}
void CPhrasePane::OnUpdateSort(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }

void CPhrasePane::OnUpdateNeedsSelection(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_tree.GetRecord(m_tree.GetSelectedItem()) != nullptr);
}

void CPhrasePane::OnUpdateAlways(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
