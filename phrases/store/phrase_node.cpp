#include "phrases/store/phrase_node.h"

#include "foundation/logging/log.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_names.h"
#include "phrases/store/phrase_writer.h"

CPhraseNode::CPhraseNode() = default;

CPhraseNode::~CPhraseNode() { delete childNodes; }

CPhraseNode::CPhraseNode(CPhraseNode&& other) noexcept : CMenuRecord(std::move(other)) {
  TakePhraseFields(other);
}

CPhraseNode& CPhraseNode::operator=(CPhraseNode&& other) noexcept {
  if (this != &other) {
    delete childNodes;
    childNodes = nullptr;
    CMenuRecord::operator=(std::move(other));
    TakePhraseFields(other);
  }
  return *this;
}

void CPhraseNode::TakePhraseFields(CPhraseNode& other) {
  data = std::move(other.data);
  sortId = other.sortId;
  firstTextCache = std::move(other.firstTextCache);
  secondTextCache = std::move(other.secondTextCache);
  expandedTextCache = std::move(other.expandedTextCache);
  hintTextCache = std::move(other.hintTextCache);
  markerCache = other.markerCache;
  macroState = other.macroState;
  useTitleOnly = other.useTitleOnly;
  lastUse = other.lastUse;
  childNodes = other.childNodes;
  other.childNodes = nullptr;
  disabledIsNoHasSelection = other.disabledIsNoHasSelection;
  usageCount = other.usageCount;
  enabled = other.enabled;
  flagsMenu = other.flagsMenu;
  filePath = std::move(other.filePath);
}

void CPhraseNode::MakeFolder() {
  if (!childNodes) childNodes = new std::vector<CPhraseNode>();
}

bool CPhraseNode::IsEnabled() const {
  if (!IsFolder()) return enabled;
  for (const CPhraseNode& child : *childNodes)
    if (child.IsEnabled()) return true;
  return false;
}

bool CPhraseNode::SetEnabled(bool value) {
  if (!IsFolder()) {
    bool changed = enabled != value;
    enabled = value;
    return changed;
  }
  bool changed = false;
  for (CPhraseNode& child : *childNodes) {
    if (child.SetEnabled(value)) {
      changed = true;
      if (!child.IsFolder()) child.SaveNodeAsync();
    }
  }
  return changed;
}

bool CPhraseNode::GetDateUsage(SYSTEMTIME* out) const {
  if (lastUse.wYear == 0) return false;
  if (out) *out = lastUse;
  return true;
}

bool CPhraseNode::SetDateUsage(const SYSTEMTIME& date) {
  if (IsFolder()) return false;
  lastUse = date;
  return true;
}

void CPhraseNode::TouchDateUsage() {
  if (IsFolder()) return;
  GetSystemTime(&lastUse);
}

void CPhraseNode::SetFilePath(const std::wstring& path) {
  if (IsFolder() && !filePath.empty() && !path.empty()) {
    DWORD oldAttrs = GetFileAttributesW(filePath.c_str());
    DWORD newAttrs = GetFileAttributesW(path.c_str());
    bool oldIsDir = oldAttrs != INVALID_FILE_ATTRIBUTES && (oldAttrs & FILE_ATTRIBUTE_DIRECTORY);
    if (oldIsDir && newAttrs == INVALID_FILE_ATTRIBUTES && !MoveFileW(filePath.c_str(), path.c_str()))
      LogError(L"MoveFileW [" + filePath + L"] -> [" + path + L"], code " +
               std::to_wstring(GetLastError()));
  }
  filePath = path;
}

void CPhraseNode::SetCaption(const std::wstring& text, size_t maxChars) {
  CopyText(caption, kCaptionChars, text.c_str(), text.size(), maxChars);
}

void CPhraseNode::SetHint(const std::wstring& text, size_t maxChars) {
  CopyText(tooltip, kTooltipChars, text.c_str(), text.size(), maxChars);
}

void CPhraseNode::ClearTextCaches() {
  firstTextCache.clear();
  secondTextCache.clear();
  expandedTextCache.clear();
  hintTextCache.clear();
  markerCache = -1;
  macroState = 0;
}

bool CPhraseNode::SaveNodeAsync() const {
  std::wstring path = NodeRecordPath(*this);
  if (path.empty()) return false;
  std::string bytes = PhraseNodeToXml(*this);
  if (bytes.empty()) {
    Log(L"ERROR: cannot create XML for command");
    return false;
  }
  return QueuePhraseBytes(path, std::move(bytes));
}

std::wstring NodeRecordPath(const CPhraseNode& node) {
  if (node.filePath.empty()) return std::wstring();
  if (!node.IsFolder()) return node.filePath;
  std::wstring path = node.filePath;
  if (path.back() != L'\\') path += L'\\';
  return path + kFolderSelfFileName;
}
