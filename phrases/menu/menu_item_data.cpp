#include "phrases/menu/menu_item_data.h"

#include <cwctype>
#include <unordered_set>

#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"
#include "phrases/menu/menu_item_text.h"
#include "phrases/store/phrase_node.h"

namespace {

// Every record alive, so that a value from a message can be checked
// before it is used as one.
struct RecordRegistry {
  SRWLOCK lock = SRWLOCK_INIT;
  std::unordered_set<ULONG_PTR> live;
};

RecordRegistry& Records() {
  static RecordRegistry* registry = new RecordRegistry();  // outlives static records
  return *registry;
}

void Enlist(const CMenuItemData* record) {
  RecordRegistry& r = Records();
  SrwExclusiveLock hold(r.lock);
  r.live.insert(reinterpret_cast<ULONG_PTR>(record));
}

}  // namespace

bool IsMenuItemRecord(ULONG_PTR value) {
  if (!value) return false;
  RecordRegistry& r = Records();
  SrwSharedLock hold(r.lock);
  return r.live.count(value) != 0;
}

// Only the first characters are cleared: the texts are read up to their
// terminator, and a menu makes thousands of records.
CMenuItemData::CMenuItemData() {
  m_caption[0] = L'\0';
  m_hint[0] = L'\0';
  m_commandText[0] = L'\0';
  Enlist(this);
}

CMenuItemData::CMenuItemData(const CMenuItemData& other)
    : expandedText(other.expandedText),
      historyFlag(other.historyFlag),
      bitmapFlag(other.bitmapFlag),
      dataType(other.dataType),
      position(other.position),
      kindFlags(other.kindFlags),
      highlight(other.highlight),
      commandId(other.commandId),
      markerPosition(other.markerPosition),
      lastUsedIndex(other.lastUsedIndex),
      m_toolTip(other.m_toolTip) {
  wcscpy_s(m_caption, other.m_caption);
  wcscpy_s(m_hint, other.m_hint);
  wcscpy_s(m_commandText, other.m_commandText);
  Enlist(this);
}

CMenuItemData::~CMenuItemData() {
  RecordRegistry& r = Records();
  SrwExclusiveLock hold(r.lock);
  r.live.erase(reinterpret_cast<ULONG_PTR>(this));
}

bool CMenuItemData::SetText(wchar_t* field, const wchar_t* text) {
  if (!text || !*text) return true;
  if (text >= field && text < field + kMenuItemTextChars) return false;
  int n = 0;
  for (; n < kMenuItemTextChars - 1 && text[n]; ++n) field[n] = text[n];
  field[n] = L'\0';
  return true;
}

void CMenuItemData::SetToolTip(const std::wstring& text, bool withHint) {
  m_toolTip = text;
  if (!withHint || m_toolTip.empty()) return;
  m_toolTip += L"\n\n        ";
  m_toolTip += MenuString(kIdsRightClickHint);
}

std::wstring CMenuItemData::GetShortExpandedText() const {
  std::wstring text = TrimChars(expandedText, L"\r\n\t ");
  ReplaceText(text, L"\n\n", L" ");
  ReplaceText(text, L"\r\n", L" ");
  ReplaceText(text, L"\r", L" ");
  ReplaceText(text, L"\n", L" ");
  if (text.size() > kShortExpandedMax) text = text.substr(0, kShortExpandedMax) + L"\u2026";
  return text;
}

bool SetMenuItemData(HMENU menu, UINT item, bool byPosition, CMenuItemData* data) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(data);
  return SetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &info) != FALSE;
}

namespace {

CMenuItemData* GetData(HMENU menu, UINT item, BOOL byPosition) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoW(menu, item, byPosition, &info) || !IsMenuItemRecord(info.dwItemData)) return nullptr;
  return reinterpret_cast<CMenuItemData*>(info.dwItemData);
}

}  // namespace

CMenuItemData* GetMenuItemDataById(HMENU menu, UINT id) { return GetData(menu, id, FALSE); }
CMenuItemData* GetMenuItemDataByPos(HMENU menu, int position) {
  return GetData(menu, static_cast<UINT>(position), TRUE);
}

void FreeMenuItemData(HMENU menu) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub) FreeMenuItemData(sub);
    CMenuItemData* data = GetMenuItemDataByPos(menu, i);
    if (!data) continue;
    SetMenuItemData(menu, static_cast<UINT>(i), true, nullptr);
    delete data;
  }
}

int GetMenuIconKind(std::uint32_t dataType, const wchar_t* commandText) {
  if (dataType == kDataTypeText) return 0;
  if (dataType == kDataTypeRtf) return 1;
  std::wstring upper = commandText ? commandText : L"";
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  if (upper.find(L"GOOGLE") != std::wstring::npos) return 3;
  if (upper.find(L"YANDEX") != std::wstring::npos) return 4;
  if (upper.compare(0, 7, L"HTTP://") == 0 || upper.compare(0, 8, L"HTTPS://") == 0 ||
      upper.compare(0, 4, L"WWW.") == 0)
    return 5;
  return 2;
}

UINT GetMenuIconResource(int kind) {
  static const UINT kResources[] = {0, 223, 204, 230, 231, 234};
  return kind >= 0 && kind < 6 ? kResources[kind] : 0;
}

int GetMenuItemFontStyle(bool specialCommand, std::uint32_t dataType) {
  if (specialCommand) return kMenuFontBold;
  if (dataType == kDataTypeExec) return kMenuFontUnderline;
  if (dataType == kDataTypeRtf) return kMenuFontItalic;
  return 0;
}
