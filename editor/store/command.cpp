#include "editor/store/command.h"

#include "editor/store/command_names.h"
#include "editor/store/command_order.h"
#include "foundation/files/files.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_names.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_writer.h"

CQLRCommand::CQLRCommand() = default;

CQLRCommand::~CQLRCommand() { delete m_children; }

CQLRCommand::CQLRCommand(CQLRCommand& other) : CMenuRecord(std::move(other)) { TakeFields(other); }

CQLRCommand& CQLRCommand::operator=(CQLRCommand& other) {
  if (this != &other) {
    delete m_children;
    m_children = nullptr;
    CMenuRecord::operator=(std::move(other));
    TakeFields(other);
  }
  return *this;
}

CQLRCommand::CQLRCommand(CQLRCommand&& other) noexcept : CMenuRecord(std::move(other)) {
  TakeFields(other);
}

CQLRCommand& CQLRCommand::operator=(CQLRCommand&& other) noexcept {
  return *this = static_cast<CQLRCommand&>(other);
}

void CQLRCommand::TakeFields(CQLRCommand& other) {
  m_cmd = other.m_cmd;
  m_sortId = other.m_sortId;
  m_useTitleOnly = other.m_useTitleOnly;
  m_dateUsage = other.m_dateUsage;
  m_children = other.m_children;
  other.m_children = nullptr;
  m_disabledIsNoHasSelection = other.m_disabledIsNoHasSelection;
  m_usageCount = other.m_usageCount;
  m_enabled = other.m_enabled;
  m_flagsMenu = other.m_flagsMenu;
  m_filePath = other.m_filePath;
}

void CQLRCommand::MakeFolder() {
  if (!m_children) m_children = new CommandList();
}

void CQLRCommand::SetMenuName(const std::wstring& title) {
  CopyText(caption, kCaptionChars, title.c_str(), title.size(), kPhraseCaptionMax);
}

void CQLRCommand::SetHint(const std::wstring& hint) {
  CopyText(tooltip, kTooltipChars, hint.c_str(), hint.size(), kPhraseHintMax);
}

bool CQLRCommand::IsEnabled() const {
  if (!IsFolder()) return m_enabled;
  for (const CQLRCommand& child : *m_children)
    if (child.IsEnabled()) return true;
  return false;
}

bool CQLRCommand::SetEnabled(bool value) {
  if (!IsFolder()) {
    bool changed = m_enabled != value;
    m_enabled = value;
    return changed;
  }
  for (CQLRCommand& child : *m_children) {
    // A sub-folder's state is derived from its phrases: only these are saved.
    if (child.SetEnabled(value) && !child.IsFolder()) child.SaveAsync();
  }
  return true;
}

bool CQLRCommand::GetDateUsage(SYSTEMTIME* out) const {
  if (!HasDateUsage()) return false;
  if (out) *out = m_dateUsage;
  return true;
}

bool CQLRCommand::SetDateUsage(const SYSTEMTIME& date) {
  if (IsFolder()) return false;
  m_dateUsage = date;
  return true;
}

bool CQLRCommand::IsSeparatorBefore() const { return (m_flagsMenu & kFlagSeparatorBefore) != 0; }
bool CQLRCommand::IsSeparatorAfter() const { return (m_flagsMenu & kFlagSeparatorAfter) != 0; }
bool CQLRCommand::SetSeparatorBefore(bool value) { return SetFlagBit(kFlagSeparatorBefore, value); }
bool CQLRCommand::SetSeparatorAfter(bool value) { return SetFlagBit(kFlagSeparatorAfter, value); }

bool CQLRCommand::SetFlagBit(std::uint32_t bit, bool value) {
  std::uint32_t old = m_flagsMenu;
  m_flagsMenu = value ? (old | bit) : (old & ~bit);
  return old != m_flagsMenu;
}

bool CQLRCommand::SetFilePath(const std::wstring& path) {
  if (IsFolder() && !m_filePath.empty() && !path.empty() && IsFolderExist(m_filePath) &&
      GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
      !MoveFileW(m_filePath.c_str(), path.c_str())) {
    // The directory is still where it was: so is the record.
    LogError(L"MoveFileW [" + m_filePath + L"] -> [" + path + L"], code " +
             std::to_wstring(GetLastError()));
    return false;
  }
  m_filePath = path;
  return true;
}

bool CQLRCommand::Rename(const std::wstring& title) {
  SetMenuName(NormalizeTitle(title, -1));
  return RenameFileToTitle();
}

bool CQLRCommand::RenameFileToTitle() {
  if (IsFolder() || m_filePath.empty()) return false;
  // A new phrase's first write may still be queued: its file counts once
  // the write is done.
  WaitForPendingWrites();
  if (!IsFileExist(m_filePath)) return false;
  std::wstring base = MakeSafeFileName(caption, true);
  ReplaceText(base, L" ", L"_");
  size_t slash = m_filePath.find_last_of(L'\\');
  std::wstring directory = slash == std::wstring::npos ? std::wstring() : m_filePath.substr(0, slash + 1);
  std::wstring current = m_filePath.substr(directory.size());
  std::wstring target;
  if (EqualNoCase(base + kPhraseExtension, current)) {
    // Its own file is no other phrase's name: keep it, renaming a change of
    // letter case only.
    if (base + kPhraseExtension == current) return true;
    target = directory + base + kPhraseExtension;
  } else {
    target = MakeNumberedPath(directory, base);
  }
  if (!MoveFileW(m_filePath.c_str(), target.c_str())) {
    LogError(L"MoveFileW [" + m_filePath + L"] -> [" + target + L"], code " +
             std::to_wstring(GetLastError()));
    return false;
  }
  m_filePath = target;
  return true;
}

std::wstring CQLRCommand::RecordFilePath() const {
  if (m_filePath.empty() || !IsFolder()) return m_filePath;
  std::wstring path = m_filePath;
  if (path.back() != L'\\') path += L'\\';
  return path + kFolderSelfFileName;
}

bool CQLRCommand::SaveAsync() const {
  std::wstring path = RecordFilePath();
  if (path.empty()) return false;
  CPhraseNode node;
  FillPhraseNode(node);
  std::string bytes = PhraseNodeToXml(node);
  if (bytes.empty()) {
    Log(L"ERROR: cannot create XML for command");
    return false;
  }
  return QueuePhraseBytes(path, std::move(bytes));
}

void CQLRCommand::TakePhraseNode(CPhraseNode& node) {
  SetMenuName(node.caption);
  SetHint(node.tooltip);
  DataType = node.DataType;
  m_cmd = std::move(node.data);
  m_sortId = node.sortId;
  m_useTitleOnly = node.useTitleOnly;
  m_dateUsage = node.lastUse;
  m_disabledIsNoHasSelection = node.disabledIsNoHasSelection;
  SetUsageCount(node.usageCount);
  m_enabled = node.enabled;
  m_flagsMenu = node.flagsMenu;
}

void CQLRCommand::FillPhraseNode(CPhraseNode& node) const {
  node.SetCaption(caption);
  node.SetHint(tooltip);
  node.DataType = DataType;
  node.CMDID = CMDID;
  node.data = m_cmd;
  node.sortId = m_sortId;
  node.useTitleOnly = m_useTitleOnly;
  node.lastUse = m_dateUsage;
  node.disabledIsNoHasSelection = m_disabledIsNoHasSelection;
  node.usageCount = m_usageCount;
  node.enabled = m_enabled;
  node.flagsMenu = m_flagsMenu;
  node.filePath = m_filePath;
  if (IsFolder()) {
    // A folder's file says whether anything below it is enabled, which the
    // file format derives from the folder's children: one stands for them.
    node.MakeFolder();
    CPhraseNode standIn;
    standIn.enabled = IsEnabled();
    node.childNodes->push_back(std::move(standIn));
  }
}
