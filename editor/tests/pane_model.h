// A seeded random run of the phrase pane's and the frame's own commands on
// the real editor windows (in-process), against a plain model of the phrase
// folder: which phrases and groups exist where, with which text, which
// phrase is open and what its view shows. After every step the folder on
// disk, the store and the tree must hold exactly the model, nothing may
// lie outside the phrase folder, the open phrase must show the model's text
// and its edits must have a record to go to. The test and the benchmark
// program run the same driver.
#pragma once

#include "editor/tests/pane_model_editor.h"

namespace panemodel {

class Run {
 public:
  Run(Editor& editor, unsigned seed)
      : m_ed(editor), m_pane(editor.frame->m_wndPhrases), m_tree(m_pane.Tree()), m_rng(seed),
        m_boxes(GetCurrentThreadId()) {
    std::string problem;
    ReadDisk(m_ed.root, &m_model, &problem);
    // A path without a folder lands in the root of the current drive.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    m_driveRoots = {m_ed.root.substr(0, 3), std::wstring(current).substr(0, 3)};
    for (const std::wstring& drive : m_driveRoots) m_driveRootFiles.push_back(PhraseFilesIn(drive));
  }

  enum Kind {
    kClick, kEdit, kSave, kAddPhrase, kAddGroup, kRenamePhrase, kRenameGroup, kDelete, kDeleteOpen, kDrag,
    kMoveToRoot, kCutOrCopyPaste, kReread, kIntoMenuName, kCheckBox, kMoveUpDown, kHideUnchecked, kRenameFile,
    kChooseFolder, kImport, kKinds
  };

  // Runs steps operations; empty when every check held, else what failed.
  std::string Go(int steps) {
    // Clicks and edits come more often: most commands need an open phrase.
    std::vector<int> weights(kKinds, 2);
    weights[kClick] = weights[kEdit] = 5;
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    std::vector<Kind> kinds;
    for (int step = 0; step < steps; ++step) kinds.push_back(static_cast<Kind>(pick(m_rng)));
    return Go(kinds);
  }
  // Runs the steps given, in order.
  std::string Go(const std::vector<Kind>& kinds) {
    std::string failure = Check();
    for (size_t step = 0; step < kinds.size() && failure.empty(); ++step) {
      m_log.push_back(std::to_string(step) + ": ");
      ++m_steps;
      Step(kinds[step]);
      failure = Check();
    }
    if (failure.empty()) failure = Close();
    return failure;
  }

  // The phrase opened with a click and edited, then deleted, or the group
  // that holds it (groupsUp levels above it); empty when every check held,
  // the close included.
  std::string DeleteOpenPhrase(const Path& phrase, size_t groupsUp) {
    std::string failure = Check();
    for (int step = 0; step < 3 && failure.empty(); ++step) {
      m_log.push_back(std::to_string(m_steps++) + ": ");
      if (step == 0) ClickOn(phrase, false);
      if (step == 1) Edit();
      if (step == 2) {
        Note("(the open phrase) ");
        DeleteAt(Path(phrase.begin(), phrase.end() - static_cast<std::ptrdiff_t>(groupsUp)));
      }
      failure = Check();
    }
    if (failure.empty()) failure = Close();
    return failure;
  }

  // The steps taken, one a line.
  std::string Steps() const {
    std::string out;
    for (const std::string& line : m_log) out += line + "\n";
    return out;
  }
  int Operations() const { return m_steps; }

 private:
  // ---- The model ------------------------------------------------------------

  Group* GroupAt(const Path& groups) {
    Group* at = &m_model;
    for (const std::wstring& name : groups) {
      auto found = at->groups.find(name);
      if (found == at->groups.end()) return nullptr;
      at = &found->second;
    }
    return at;
  }
  static Path Parent(const Path& path) { return Path(path.begin(), path.end() - 1); }
  static bool Within(const Path& path, const Path& group) {
    return path.size() >= group.size() && std::equal(group.begin(), group.end(), path.begin());
  }
  void Collect(const Group& group, Path at, std::vector<Path>* phrases, std::vector<Path>* groups) const {
    for (const auto& p : group.phrases) {
      at.push_back(p.first);
      phrases->push_back(at);
      at.pop_back();
    }
    for (const auto& g : group.groups) {
      at.push_back(g.first);
      groups->push_back(at);
      Collect(g.second, at, phrases, groups);
      at.pop_back();
    }
  }
  // A phrase (false) or a group (true) of the model, at random; empty when
  // there is none of the kind.
  Path Pick(bool group) {
    std::vector<Path> phrases, groups;
    Collect(m_model, Path(), &phrases, &groups);
    std::vector<Path>& from = group ? groups : phrases;
    if (from.empty()) return Path();
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(m_rng)];
  }
  bool IsGroup(const Path& path) {
    Group* parent = path.empty() ? nullptr : GroupAt(Parent(path));
    return parent && parent->groups.count(path.back()) != 0;
  }
  // Another entry of the same kind and name in target would make a
  // duplicate: the steps avoid it, as the names stay the model's keys.
  bool Fits(const Path& what, const Path& target) {
    Group* into = GroupAt(target);
    if (!into) return false;
    return IsGroup(what) ? into->groups.count(what.back()) == 0 : into->phrases.count(what.back()) == 0;
  }
  void CommitOpen() {
    if (m_open && m_modified) *PhraseText(m_openPath) = m_viewText;
    m_modified = false;
  }
  Phrase* PhraseAt(const Path& path) {
    Group* parent = path.empty() ? nullptr : GroupAt(Parent(path));
    auto found = parent ? parent->phrases.find(path.back()) : std::map<std::wstring, Phrase>::iterator();
    return parent && found != parent->phrases.end() ? &found->second : nullptr;
  }
  std::wstring* PhraseText(const Path& path) {
    Phrase* phrase = PhraseAt(path);
    return phrase ? &phrase->text : nullptr;
  }
  void Open(const Path& phrase) {
    m_open = true;
    m_openPath = phrase;
    m_viewText = *PhraseText(phrase);
    m_modified = false;
  }
  // Moves (or copies) what into target; the open phrase follows a move.
  void ModelMove(const Path& what, const Path& target, bool move) {
    Group* from = GroupAt(Parent(what));
    Group* into = GroupAt(target);
    Path moved = target;
    moved.push_back(what.back());
    if (IsGroup(what)) {
      into->groups[what.back()] = from->groups[what.back()];
      if (move) from->groups.erase(what.back());
    } else {
      into->phrases[what.back()] = from->phrases[what.back()];
      if (move) from->phrases.erase(what.back());
    }
    if (move && m_open && Within(m_openPath, what)) {
      Path now = moved;
      now.insert(now.end(), m_openPath.begin() + static_cast<std::ptrdiff_t>(what.size()), m_openPath.end());
      m_openPath = now;
    }
  }
  void ModelRename(const Path& what, const std::wstring& name) {
    Path target = Parent(what);
    Group* parent = GroupAt(target);
    if (IsGroup(what)) {
      parent->groups[name] = parent->groups[what.back()];
      parent->groups.erase(what.back());
    } else {
      parent->phrases[name] = parent->phrases[what.back()];
      parent->phrases.erase(what.back());
    }
    if (m_open && Within(m_openPath, what)) m_openPath[what.size() - 1] = name;
  }
  void ModelRemove(const Path& what) {
    Group* parent = GroupAt(Parent(what));
    if (IsGroup(what))
      parent->groups.erase(what.back());
    else
      parent->phrases.erase(what.back());
    if (m_open && Within(m_openPath, what)) m_open = false;
  }
  std::wstring Fresh(const wchar_t* prefix) { return prefix + std::to_wstring(++m_names); }
  void Note(const std::string& text) { m_log.back() += text; }

  // ---- The editor -------------------------------------------------------------



  // The model path of a record, from its file's place below the root.
  Path PathOf(const CQLRCommand& record) const {
    std::wstring rel = record.GetFilePath().substr(m_ed.root.size());
    Path path;
    size_t at = 0;
    while (at < rel.size()) {
      if (rel[at] == L'\\') {
        ++at;
        continue;
      }
      size_t end = rel.find(L'\\', at);
      if (end == std::wstring::npos) end = rel.size();
      path.push_back(rel.substr(at, end - at));
      at = end;
    }
    if (!record.IsFolder() && !path.empty()) path.back() = record.GetMenuName();
    return path;
  }
  CQLRCommand* RecordOf(const Path& path) {
    struct Search {
      const Run* run;
      const Path* wanted;
      CQLRCommand* found;
    } search{this, &path, nullptr};
    GetCommandStore().ForEach(
        [](CQLRCommand* record, void* context, CQLRCommand*) {
          auto* s = static_cast<Search*>(context);
          if (s->run->PathOf(*record) != *s->wanted) return 1;
          s->found = record;
          return 0;
        },
        &search);
    return search.found;
  }
  HTREEITEM ItemOf(const Path& path) {
    CQLRCommand* record = path.empty() ? nullptr : RecordOf(path);
    return record ? m_tree.FindItemById(record->GetId()) : nullptr;
  }
  // Selected in the tree alone, as a right click does (the document keeps
  // its phrase); the empty path clears the selection.
  bool TreeSelect(const Path& path) {
    HTREEITEM item = ItemOf(path);
    if (!path.empty() && !item) return false;
    m_tree.SelectItem(item);
    Pump();
    return m_tree.GetSelectedItem() == item;
  }
  void PaneCommand(UINT id) {
    m_pane.SendMessage(WM_COMMAND, id, 0);
    Pump();
  }
  void FrameCommand(UINT id) {
    m_ed.frame->SendMessage(WM_COMMAND, id, 0);
    Pump();
  }
  CQLRView* PhraseView() {
    POSITION pos = m_ed.doc->GetFirstViewPosition();
    CView* view = pos ? m_ed.doc->GetNextView(pos) : nullptr;
    return view && view->IsKindOf(RUNTIME_CLASS(CQLRView)) ? static_cast<CQLRView*>(view) : nullptr;
  }
  // The label editor the command opened gets name (or keeps its text).
  bool FinishLabelEdit(const std::wstring* name) {
    HWND edit = reinterpret_cast<HWND>(m_tree.SendMessage(TVM_GETEDITCONTROL));
    if (!edit) return false;
    if (name) SetWindowTextW(edit, name->c_str());
    m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    Pump();
    return m_tree.SendMessage(TVM_GETEDITCONTROL) == 0;
  }
  bool SetClipboardName(const std::wstring& text) {
    if (!OpenClipboard(m_ed.frame->m_hWnd)) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (block) {
      memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
      GlobalUnlock(block);
      if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
    return block != nullptr;
  }
  // A folder a command may land in: a group of the model or the top.
  Path PickTarget() {
    if (std::uniform_int_distribution<int>(0, 3)(m_rng) == 0) return Path();
    return Pick(true);
  }
  // Selects what makes target the pane's target folder: the group itself,
  // a phrase inside it, or nothing (the top).
  bool SelectTargetOf(const Path& target) {
    if (target.empty()) return TreeSelect(Path());
    Group* group = GroupAt(target);
    if (group && !group->phrases.empty() && std::uniform_int_distribution<int>(0, 1)(m_rng)) {
      Path phrase = target;
      phrase.push_back(group->phrases.begin()->first);
      return TreeSelect(phrase);
    }
    return TreeSelect(target);
  }

  // ---- Steps ------------------------------------------------------------------

  void Step(Kind kind) {
    switch (kind) {
      case kClick: return Click();
      case kEdit: return Edit();
      case kSave: return Commit();
      case kAddPhrase: return AddPhrase();
      case kAddGroup: return AddGroup();
      case kRenamePhrase: return Rename(false);
      case kRenameGroup: return Rename(true);
      case kDelete: return Delete();
      case kDeleteOpen: return DeleteOpen();
      case kDrag: return Drag();
      case kMoveToRoot: return MoveToRoot();
      case kCutOrCopyPaste: return CutOrCopyPaste();
      case kReread: return Reread();
      case kIntoMenuName: return IntoMenuName();
      case kCheckBox: return CheckBox();
      case kMoveUpDown: return MoveUpDown();
      case kHideUnchecked: return HideUnchecked();
      case kRenameFile: return RenameFile();
      case kChooseFolder: return ChooseFolder();
      case kImport: return Import();
      case kKinds: break;
    }
  }

  void Click() {
    const bool group = std::uniform_int_distribution<int>(0, 4)(m_rng) == 0;
    ClickOn(Pick(group), group);
  }
  void ClickOn(const Path& what, bool group) {
    if (what.empty()) return Note("click: nothing");
    Note("click " + Show(what));
    HTREEITEM item = ItemOf(what);
    if (!item) return Fail("no tree item for " + Show(what));
    CQLRCommand* record = RecordOf(what);
    const bool current = m_ed.doc->GetCurrentId() == static_cast<int>(record->GetId());
    // A click on the selected item changes nothing: it is unselected first.
    if (m_tree.GetSelectedItem() == item) TreeSelect(Path());
    m_tree.EnsureVisible(item);
    RECT rect = {};
    if (!m_tree.GetItemRect(item, &rect, TRUE)) return Fail("no rectangle for " + Show(what));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    m_tree.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    m_tree.PostMessage(WM_LBUTTONUP, 0, at);
    const int id = static_cast<int>(record->GetId());
    if (!qlrtest::PumpUntil([&] { return m_tree.GetSelectedItem() == item && m_ed.doc->GetCurrentId() == id; }))
      return Fail("the click on " + Show(what) + " did not reach the document");
    if (current) return;  // the open phrase stays as it is
    CommitOpen();
    if (group)
      m_open = false;
    else
      Open(what);
  }

  void Edit() {
    CQLRView* view = PhraseView();
    if (!m_open || !view) return Note("edit: nothing open");
    const std::wstring text = L"text " + std::to_wstring(++m_names) + L" of " + m_openPath.back();
    Note("edit " + Show(m_openPath) + " to '" + Narrow(text) + "'");
    HWND edit = view->GetTextCtrl().m_hWnd;
    view->GetTextCtrl().SetReadOnly(FALSE);
    SetWindowTextW(edit, text.c_str());
    ::SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    Pump();
    m_viewText = text;
    m_modified = true;
  }

  void Commit() {
    Note("save");
    FrameCommand(ID_FILE_SAVE);
    CommitOpen();
  }

  void AddPhrase() {
    const Path target = PickTarget();
    const std::wstring name = Fresh(L"P");
    Note("add phrase " + Narrow(name) + " in " + Show(target));
    if (!SelectTargetOf(target)) return Fail("cannot select the target");
    PaneCommand(ID_PHRASE_ADD_TEXT);
    if (!FinishLabelEdit(&name)) return Fail("no label edit after Add");
    // The new phrase is selected in the document, the open one written first.
    CommitOpen();
    GroupAt(target)->phrases[name] = L"";
    Path added = target;
    added.push_back(name);
    Open(added);
  }

  void AddGroup() {
    const Path target = PickTarget();
    const std::wstring name = Fresh(L"G");
    const bool keep = std::uniform_int_distribution<int>(0, 1)(m_rng) == 0;
    const std::wstring renamed = keep ? name : Fresh(L"G");
    Note("add group " + Narrow(name) + " in " + Show(target) + (keep ? " kept" : " named " + Narrow(renamed)));
    if (!SelectTargetOf(target)) return Fail("cannot select the target");
    if (!SetClipboardName(name)) return Fail("the clipboard cannot be set");
    PaneCommand(ID_PHRASE_ADD_GROUP);
    // Enter on the offered name, or another name typed.
    if (!FinishLabelEdit(keep ? nullptr : &renamed)) return Fail("no label edit after Add Group");
    GroupAt(target)->groups[renamed];
  }

  void Rename(bool group) {
    Path what = Pick(group);
    if (what.empty()) return Note("rename: nothing");
    const std::wstring name = Fresh(group ? L"G" : L"P");
    Note("rename " + Show(what) + " to " + Narrow(name));
    if (!TreeSelect(what)) return Fail("cannot select " + Show(what));
    PaneCommand(ID_PHRASE_RENAME);
    if (!FinishLabelEdit(&name)) return Fail("no label edit after Rename");
    ModelRename(what, name);
  }

  void Delete() {
    Path what = Pick(std::uniform_int_distribution<int>(0, 3)(m_rng) == 0);
    if (what.empty()) return Note("delete: nothing");
    DeleteAt(what);
  }

  // The open phrase, or a group that holds it, deleted: nothing of it may
  // stay shown or take an edit.
  void DeleteOpen() {
    if (!m_open) return Note("delete the open phrase: nothing open");
    const size_t depth = std::uniform_int_distribution<size_t>(1, m_openPath.size())(m_rng);
    Note("(the open phrase) ");
    DeleteAt(Path(m_openPath.begin(), m_openPath.begin() + static_cast<std::ptrdiff_t>(depth)));
  }

  void DeleteAt(const Path& what) {
    Note("delete " + Show(what));
    if (!TreeSelect(what)) return Fail("cannot select " + Show(what));
    // The pane selects the parent, else the sibling before, else the one
    // after; that record becomes the document's.
    HTREEITEM item = m_tree.GetSelectedItem();
    HTREEITEM next = m_tree.GetParentItem(item);
    if (!next) next = m_tree.GetPrevSiblingItem(item);
    if (!next) next = m_tree.GetNextSiblingItem(item);
    const CQLRCommand* keptRecord = m_tree.GetRecord(next);
    const bool keptGroup = keptRecord && keptRecord->IsFolder();
    const Path kept = keptRecord ? PathOf(*keptRecord) : Path();
    PaneCommand(ID_PHRASE_DELETE);
    // The shell's question was answered Yes.
    m_boxes.Take();
    CommitOpen();
    ModelRemove(what);
    if (kept.empty()) return;
    if (keptGroup)
      m_open = false;
    else
      Open(kept);
  }

  void Drag() {
    Path what = Pick(std::uniform_int_distribution<int>(0, 2)(m_rng) == 0);
    Path target = Pick(true);
    if (what.empty() || target.empty() || Parent(what) == target || Within(target, what) || !Fits(what, target))
      return Note("drag: nothing");
    Note("drag " + Show(what) + " onto " + Show(target));
    TreeDropTarget drop = {ItemOf(target), POINT{0, 0}, ItemOf(what)};
    if (!drop.target || !drop.dragged) return Fail("no tree items for the drag");
    if (!m_pane.SendMessage(GetPaneDragMessage(), kTreeDragCanDrop, reinterpret_cast<LPARAM>(&drop)))
      return Fail("the pane refuses the drop");
    if (!m_pane.SendMessage(GetPaneDragMessage(), kTreeDragDropped, reinterpret_cast<LPARAM>(&drop)))
      return Fail("the drop failed");
    Pump();
    CommitOpen();
    ModelMove(what, target, true);
  }

  void MoveToRoot() {
    Path what = Pick(std::uniform_int_distribution<int>(0, 2)(m_rng) == 0);
    if (what.size() < 2 || !Fits(what, Path())) return Note("move to root: nothing");
    Note("move to root " + Show(what));
    if (!TreeSelect(what)) return Fail("cannot select " + Show(what));
    PaneCommand(ID_PHRASE_MOVE_TO_ROOT);
    CommitOpen();
    ModelMove(what, Path(), true);
  }

  void CutOrCopyPaste() {
    const bool cut = std::uniform_int_distribution<int>(0, 1)(m_rng) == 0;
    Path what = Pick(std::uniform_int_distribution<int>(0, 3)(m_rng) == 0);
    Path target = PickTarget();
    if (what.empty() || Parent(what) == target || Within(target, what) || !Fits(what, target))
      return Note(cut ? "cut: nothing" : "copy: nothing");
    Note(std::string(cut ? "cut " : "copy ") + Show(what) + ", paste into " + Show(target));
    if (!TreeSelect(what)) return Fail("cannot select " + Show(what));
    PaneCommand(cut ? ID_EDIT_CUT : ID_EDIT_COPY);
    if (!SelectTargetOf(target)) return Fail("cannot select the target");
    PaneCommand(ID_EDIT_PASTE);
    CommitOpen();
    ModelMove(what, target, cut);
  }

  void Reread() {
    Path what = Pick(false);
    const int kind = what.empty() ? 0 : std::uniform_int_distribution<int>(0, 2)(m_rng);
    // What the editor queued is written before the other program comes.
    WaitForPhraseWrites(10000);
    CQLRCommand* record = kind ? RecordOf(what) : nullptr;
    if (kind && !record) return Fail("no record for " + Show(what));
    const std::wstring file = record ? record->GetFilePath() : std::wstring();
    const std::wstring text = L"outside " + std::to_wstring(++m_names);
    if (kind == 1) {
      Note("another program writes " + Show(what) + ", reread");
      CPhraseNode node;
      if (!ReadPhraseFile(node, file)) return Fail("cannot read " + Narrow(file));
      node.data = text;
      if (!SavePhraseToFile(node, file)) return Fail("cannot write " + Narrow(file));
    } else if (kind == 2) {
      Note("another program deletes " + Show(what) + ", reread");
      if (!DeleteFileW(file.c_str())) return Fail("cannot delete " + Narrow(file));
    } else {
      Note("reread");
    }
    FrameCommand(ID_PHRASE_REREAD);
    // The open phrase's edits are written first; the other program's
    // change holds for every other phrase.
    const bool openEdited = m_open && m_modified && kind && what == m_openPath;
    CommitOpen();
    if (kind == 1 && !openEdited) *PhraseText(what) = text;
    if (kind == 2 && !openEdited) ModelRemove(what);
    if (m_open) Open(m_openPath);
  }

  void IntoMenuName() {
    CQLRView* view = PhraseView();
    if (!m_open || !view) return Note("into menu name: nothing open");
    const std::wstring name = Fresh(L"N");
    Note("into menu name " + Show(m_openPath) + " -> " + Narrow(name));
    HWND edit = view->GetTextCtrl().m_hWnd;
    view->GetTextCtrl().SetReadOnly(FALSE);
    SetWindowTextW(edit, (L"  " + name + L"\r").c_str());
    ::SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    FrameCommand(ID_EDIT_INTO_MENU_NAME);
    m_viewText = rich_text::GetPlainText(edit);
    m_modified = true;
    ModelRename(m_openPath, name);
  }

  void CheckBox() {
    Path what = Pick(std::uniform_int_distribution<int>(0, 3)(m_rng) == 0);
    HTREEITEM item = ItemOf(what);
    if (!item) return Note("check box: nothing");
    const bool on = !m_tree.GetCheck(item);
    Note(std::string(on ? "check " : "uncheck ") + Show(what));
    if (!TreeSelect(what)) return Fail("cannot select " + Show(what));
    // The box toggled as the space bar toggles it.
    m_tree.SetCheck(item, on);
    m_tree.SendMessage(WM_KEYUP, VK_SPACE, 0xC0390001);
    Pump();
    if (!IsGroup(what)) {
      PhraseAt(what)->on = on;
      return;
    }
    std::vector<Path> phrases, groups;
    Collect(*GroupAt(what), what, &phrases, &groups);
    for (const Path& phrase : phrases) PhraseAt(phrase)->on = on;
  }

  // Swaps with the sibling before or after when it is of the same kind;
  // otherwise nothing moves.
  void MoveUpDown() {
    Path what = Pick(std::uniform_int_distribution<int>(0, 3)(m_rng) == 0);
    if (what.empty()) return Note("move up/down: nothing");
    const bool up = std::uniform_int_distribution<int>(0, 1)(m_rng) == 0;
    Note(std::string(up ? "move up " : "move down ") + Show(what));
    if (!TreeSelect(what)) return Fail("cannot select " + Show(what));
    HTREEITEM item = m_tree.GetSelectedItem();
    HTREEITEM sibling = up ? m_tree.GetPrevSiblingItem(item) : m_tree.GetNextSiblingItem(item);
    const CQLRCommand* record = m_tree.GetRecord(item);
    const CQLRCommand* other = sibling ? m_tree.GetRecord(sibling) : nullptr;
    const bool moves = other && other->IsFolder() == record->IsFolder();
    const Path otherPath = other ? PathOf(*other) : Path();
    PaneCommand(up ? ID_PHRASE_MOVE_UP : ID_PHRASE_MOVE_DOWN);
    if (otherPath.empty()) return;
    HTREEITEM now = ItemOf(what);
    HTREEITEM besideNow = now ? (up ? m_tree.GetNextSiblingItem(now) : m_tree.GetPrevSiblingItem(now)) : nullptr;
    HTREEITEM otherNow = ItemOf(otherPath);
    if (moves && besideNow != otherNow) return Fail("the sibling did not change places");
    if (!moves && (up ? m_tree.GetPrevSiblingItem(now) : m_tree.GetNextSiblingItem(now)) != otherNow)
      return Fail("a phrase changed places with a group");
  }

  // Unchecked phrases hidden, then shown again, once from the frame's menu
  // and once from the pane's button: when the document's record vanishes
  // with them, the first checked top-level record is selected. The tray
  // program announces changed options halfway through each toggle (a
  // listener hears the toggle and reads the settings): the toggle stands,
  // and the announced load comes once the command has ended.
  void HideUnchecked() {
    const bool fromPane = std::uniform_int_distribution<int>(0, 1)(m_rng) == 0;
    Note(fromPane ? "hide unchecked from the pane, show again from the menu"
                  : "hide unchecked from the menu, show again from the pane");
    const CQLRCommand* current = m_ed.doc->CurrentRecord();
    const bool vanishes = current && !current->IsEnabled();
    ToggleHideUnchecked(fromPane);
    if (GetEditorSettings().ShowUncheckedPhrases != 0 || StoredShowUnchecked() != 0)
      return Fail("the setting did not turn to hiding");
    for (HTREEITEM item = m_tree.GetChildItem(TVI_ROOT); item; item = m_tree.GetNextSiblingItem(item)) {
      const CQLRCommand* record = m_tree.GetRecord(item);
      if (record && !record->IsFolder() && !record->IsEnabled()) return Fail("an unchecked phrase is shown");
    }
    if (vanishes) {
      CommitOpen();
      m_open = false;
      for (const CQLRCommand& record : GetCommandStore().Commands()) {
        if (!record.IsEnabled()) continue;
        if (!record.IsFolder()) Open(PathOf(record));
        break;
      }
    }
    ToggleHideUnchecked(!fromPane);
    if (GetEditorSettings().ShowUncheckedPhrases != 1 || StoredShowUnchecked() != 1)
      return Fail("the setting did not turn to showing");
  }
  void ToggleHideUnchecked(bool fromPane) {
    OptionsAnnouncer& announcer = OptionsAnnouncer::Get();
    announcer.Arm(m_ed.doc, m_ed.frame->m_hWnd);
    const int loads = GetEditorSettings().GetLoadCount();
    if (fromPane) {
      HWND bar = GetDlgItem(m_pane.m_hWnd, CPhrasePane::kToolBarId);
      RECT rect = {};
      ::SendMessageW(bar, TB_GETRECT, ID_PHRASE_HIDE_UNCHECKED, reinterpret_cast<LPARAM>(&rect));
      const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
      ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::PostMessageW(bar, WM_LBUTTONUP, 0, at);
      Pump();
    } else {
      FrameCommand(ID_PHRASE_HIDE_UNCHECKED);
    }
    if (!announcer.Heard()) return Fail("the toggle did not reach the document");
    if (announcer.LoadsWithin() != 0) return Fail("the announced options were loaded inside the command");
    GetEditorSettings();
    if (GetEditorSettings().GetLoadCount() == loads) Fail("the announced options were never loaded");
  }
  int StoredShowUnchecked() {
    return static_cast<int>(GetPrivateProfileIntW(L"Settings_Editor", L"ShowUncheckedPhrases", -1,
                                                  GetSettingsIniPath().c_str()));
  }

  void RenameFile() {
    if (!m_open) return Note("rename file: nothing open");
    Note("rename the file of " + Show(m_openPath));
    FrameCommand(ID_PHRASE_RENAME_FILE);
    CommitOpen();
  }

  // Another folder chosen (the open phrase's edits are written first, and
  // nothing of it stays open), then the phrase folder again.
  void ChooseFolder() {
    Note("choose another folder, then the phrase folder again");
    std::vector<Path> phrases, groups;
    Collect(m_model, Path(), &phrases, &groups);
    // The tray program, started after the editor, changed an option the
    // editor never heard of: saving the folder keeps it.
    const std::wstring foreign = std::to_wstring(++m_names);
    WritePrivateProfileStringW(L"Settings", L"ClipboardHistoryMax", foreign.c_str(), GetSettingsIniPath().c_str());
    GetEditorSettings().AddPrevFolder(m_ed.other);
    if (!ChooseRecent(m_ed.other)) return Fail("the other folder did not open");
    CommitOpen();
    m_open = false;
    if (TreeView_GetCount(m_tree.m_hWnd) != 1 || m_ed.doc->CurrentRecord()) return Fail("the other folder is not what is shown");
    if (!ChooseRecent(m_ed.root)) return Fail("the phrase folder did not open again");
    // A folder without phrase files is opened only after a question; a
    // group's own record counts as one.
    const bool question = phrases.empty() && !HoldsFolderRecord(m_ed.root);
    if (m_boxes.Take().size() != (question ? 1u : 0u))
      Fail(question ? "no question about the folder without phrases" : "a question about a folder with records");
    wchar_t stored[32] = {};
    GetPrivateProfileStringW(L"Settings", L"ClipboardHistoryMax", L"", stored, 32, GetSettingsIniPath().c_str());
    if (foreign != stored) Fail("the folder's save wrote over another program's option");
  }
  // A text file imported through the file dialog: a new checked phrase at
  // the top, opened.
  void Import() {
    const std::wstring words = L"imported " + std::to_wstring(++m_names);
    const std::wstring source = m_ed.dir.File(L"import" + std::to_wstring(m_names) + L".txt");
    if (!qlrtest::WriteBytes(source, Narrow(words))) return Fail("cannot write the file to import");
    Note("import " + Narrow(source));
    m_boxes.GiveFile(source);
    FrameCommand(ID_FILE_IMPORT);
    if (!m_boxes.FileGiven()) return Fail("no file dialog");
    CommitOpen();
    const CQLRCommand* added = m_ed.doc->CurrentRecord();
    if (!added || added->IsFolder() || PathOf(*added).size() != 1) return Fail("the import is not open at the top");
    if (m_model.phrases.count(added->GetMenuName())) return Fail("the import took a name already there");
    m_model.phrases[added->GetMenuName()] = Phrase(words, true);
    Open(PathOf(*added));
  }

  bool ChooseRecent(const std::wstring& folder) {
    CQLREditorSettings& settings = GetEditorSettings();
    for (int i = 0; i < settings.GetPrevFoldersCount(); ++i) {
      if (_wcsicmp(settings.GetPrevFolder(i).c_str(), folder.c_str()) != 0) continue;
      FrameCommand(kRecentFolderFirst + static_cast<UINT>(i));
      return _wcsicmp(settings.GetPhrasesDirectoryNoSlash().c_str(), folder.c_str()) == 0;
    }
    return false;
  }

  // The first failure of a step is the one that names its cause.
  void Fail(const std::string& text) {
    if (m_stepFailure.empty()) m_stepFailure = text;
  }

  // ---- Checks -----------------------------------------------------------------

  static std::vector<std::wstring> PhraseFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*.quillora").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

  static bool HoldsFolderRecord(const std::wstring& folder) {
    if (GetFileAttributesW((folder + L"\\FOLDER_SELF.quillora").c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool held = false;
    do {
      const std::wstring name = found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
        held = HoldsFolderRecord(folder + L"\\" + name);
    } while (!held && FindNextFileW(find, &found));
    FindClose(find);
    return held;
  }

  // The folder on disk as a model; stray (non-phrase) files are reported.
  bool ReadDisk(const std::wstring& folder, Group* out, std::string* problem) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return true;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        ReadDisk(path, &out->groups[name], problem);
        continue;
      }
      const size_t dot = name.rfind(L'.');
      if (name == L"FOLDER_SELF.quillora") continue;
      CPhraseNode node;
      if (dot == std::wstring::npos || name.substr(dot) != L".quillora" || !ReadPhraseFile(node, path)) {
        *problem += "stray file " + Narrow(path) + "; ";
        continue;
      }
      if (out->phrases.count(node.caption)) *problem += "two phrases " + Narrow(node.caption) + "; ";
      out->phrases[node.caption] = Phrase(node.data, node.enabled);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return problem->empty();
  }

  void ReadStore(CommandList& list, Group* out) {
    for (CQLRCommand& record : list) {
      if (record.IsFolder())
        ReadStore(*record.GetChildren(), &out->groups[record.GetMenuName()]);
      else
        out->phrases[record.GetMenuName()] = Phrase(record.m_cmd, record.IsEnabled());
    }
  }

  // Every tree item shows its record under the record's name.
  std::string CheckTree(HTREEITEM parent, int* count) {
    for (HTREEITEM item = m_tree.GetChildItem(parent); item; item = m_tree.GetNextSiblingItem(item)) {
      ++*count;
      const CQLRCommand* record = m_tree.GetRecord(item);
      const std::wstring text = m_tree.GetItemText(item).GetString();
      if (!record) return "a tree item without record: " + Narrow(text);
      if (text != record->GetMenuName()) return "tree item " + Narrow(text) + " for " + Narrow(record->GetMenuName());
      std::string below = CheckTree(item, count);
      if (!below.empty()) return below;
    }
    return std::string();
  }

  std::string Check() {
    if (!m_stepFailure.empty()) return "step failed: " + m_stepFailure;
    WaitForPhraseWrites(10000);
    Pump();
    for (const std::wstring& box : m_boxes.Take()) return "a box was shown: " + Narrow(box);
    const std::string expected = Describe(m_model);
    Group disk;
    std::string problem;
    ReadDisk(m_ed.root, &disk, &problem);
    if (!problem.empty()) return "on disk: " + problem;
    if (Describe(disk) != expected) return "on disk:\n  " + Describe(disk) + "\nmodel:\n  " + expected;
    Group store;
    ReadStore(GetCommandStore().Commands(), &store);
    if (Describe(store) != expected) return "in the store:\n  " + Describe(store) + "\nmodel:\n  " + expected;
    int items = 0, records = 0;
    const std::string tree = CheckTree(TVI_ROOT, &items);
    if (!tree.empty()) return tree;
    GetCommandStore().CountCommands(nullptr, &records);
    if (items != records) return "the tree shows " + std::to_string(items) + " of " + std::to_string(records);
    // Nothing is written beside the phrase folder or the drive's root.
    if (!PhraseFilesIn(m_ed.dir.Path() + L"\\").empty()) return "a phrase file beside the phrase folder";
    for (size_t i = 0; i < m_driveRoots.size(); ++i)
      if (PhraseFilesIn(m_driveRoots[i]) != m_driveRootFiles[i]) return "a phrase file in the drive's root";
    // The open phrase, its text, and the record its edits would go to.
    CQLRCommand* current = m_ed.doc->CurrentRecord();
    CQLRView* view = PhraseView();
    if (!m_open) {
      if (current && !current->IsFolder()) return "the document opened " + Narrow(current->GetFilePath());
      // Nothing of a phrase stays to be typed into.
      if (view && (!rich_text::GetPlainText(view->GetTextCtrl().m_hWnd).empty() ||
                   !(view->GetTextCtrl().GetStyle() & ES_READONLY)))
        return "a phrase view without a phrase shows text or takes it";
      if (current) return std::string();
      m_ed.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
      wchar_t title[512] = {};
      GetWindowTextW(m_ed.frame->m_hWnd, title, 512);
      if (std::wstring(title).find(L"  :  [") != std::wstring::npos) return "the title names " + Narrow(title);
      return std::string();
    }
    if (!current || PathOf(*current) != m_openPath)
      return "the document holds " + (current ? Show(PathOf(*current)) : std::string("nothing")) +
             " instead of " + Show(m_openPath);
    if (!view) return "no phrase view for " + Show(m_openPath);
    const std::wstring shown = rich_text::GetPlainText(view->GetTextCtrl().m_hWnd);
    if (shown != m_viewText) return "the view shows '" + Narrow(shown) + "', not '" + Narrow(m_viewText) + "'";
    if ((view->IsTextModified() != FALSE) != m_modified) return "the view's modified flag is wrong";
    // The frame's title names the open phrase.
    m_ed.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    wchar_t title[512] = {};
    GetWindowTextW(m_ed.frame->m_hWnd, title, 512);
    if (std::wstring(title).find(L"[" + m_openPath.back() + L"]") == std::wstring::npos)
      return "the title is " + Narrow(title);
    return std::string();
  }

  // The editor closes when asked, the open phrase's edits written.
  std::string Close() {
    m_log.push_back("close");
    m_ed.frame->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    if (IsWindow(m_ed.frame->m_hWnd)) return "the editor did not close";
    m_ed.frame = nullptr;
    m_ed.app.m_pMainWnd = nullptr;
    CommitOpen();
    WaitForPhraseWrites(10000);
    for (const std::wstring& box : m_boxes.Take()) return "a box was shown at the close: " + Narrow(box);
    Group disk;
    std::string problem;
    ReadDisk(m_ed.root, &disk, &problem);
    if (!problem.empty()) return "on disk after the close: " + problem;
    if (Describe(disk) != Describe(m_model))
      return "on disk after the close:\n  " + Describe(disk) + "\nmodel:\n  " + Describe(m_model);
    return std::string();
  }

  Editor& m_ed;
  CPhrasePane& m_pane;
  CPhraseTreeCtrl& m_tree;
  std::mt19937 m_rng;
  BoxAnswerer m_boxes;
  Group m_model;
  bool m_open = false;
  Path m_openPath;
  std::wstring m_viewText;
  bool m_modified = false;
  int m_names = 0;
  int m_steps = 0;
  std::vector<std::string> m_log;
  std::string m_stepFailure;
  std::vector<std::wstring> m_driveRoots;
  std::vector<std::vector<std::wstring>> m_driveRootFiles;
};

}  // namespace panemodel
