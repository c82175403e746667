// The handler's operations on item texts: captions, the history in a popup
// menu, the plain-text copy and the in-place edits.
#include <cstring>
#include <new>

#include "foundation/ui/rich_edit_convert.h"
#include "history/capture/clipboard_handler.h"
#include "history/store/history_caption.h"
#include "phrases/insertion/clipboard_ops.h"

namespace {

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string AnsiData(const CCHItem& item) {
  if (!item.Data()) return std::string();
  const auto* bytes = static_cast<const char*>(item.Data());
  return std::string(bytes, strnlen(bytes, item.Size()));
}

// The control writes back its own RTF, which is often longer than the
// item's: the buffer has room for it (zeros past the text). Empty when
// that room cannot be had: the edit is refused.
std::string RtfEditBuffer(const CCHItem& item) {
  constexpr size_t kSpare = 65536;
  try {
    std::string rtf = AnsiData(item);
    // A 32-bit size would wrap (a short buffer) or pass the string's limit.
    if (rtf.size() > (rtf.max_size() - kSpare) / 4) return std::string();
    if (!rtf.empty()) rtf.resize(rtf.size() * 4 + kSpare, '\0');
    return rtf;
  } catch (const std::bad_alloc&) {
    return std::string();
  }
}

bool StoreText(CCHItem* item, const std::wstring& text) {
  if (item->kind == kHistoryKindUnicode)
    return item->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * sizeof(wchar_t)));
  std::string ansi = WideToAnsi(text);
  return item->SetData(ansi.c_str(), static_cast<std::uint32_t>(ansi.size() + 1));
}

int ReplaceAll(std::wstring& text, const wchar_t* from, const wchar_t* to) {
  int count = 0;
  const size_t fromLength = wcslen(from), toLength = wcslen(to);
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + toLength)) {
    text.replace(at, fromLength, to);
    ++count;
  }
  return count;
}

void TrimEnds(std::wstring& text, const wchar_t* set, bool right, bool left) {
  if (right) {
    size_t end = text.find_last_not_of(set);
    text.erase(end == std::wstring::npos ? 0 : end + 1);
  }
  if (left) text.erase(0, text.find_first_not_of(set) == std::wstring::npos ? text.size() : text.find_first_not_of(set));
}

}  // namespace

std::wstring CQLRWndClipboardHandler::GetHistoryItemCaption(int n, int maxChars, bool firstLineOnly) const {
  const CCHItem* item = m_queue.GetItem(n);
  return item ? HistoryItemCaption(*item, maxChars, firstLineOnly) : std::wstring();
}

std::wstring CQLRWndClipboardHandler::GetHistoryItemMenuText(int n) const {
  return GetHistoryItemCaption(n, kHistoryMenuCaptionChars, true);
}

std::wstring CQLRWndClipboardHandler::GetHistoryItemFullText(int n) const {
  return GetHistoryItemCaption(n, 0, false);
}

int CQLRWndClipboardHandler::AppendHistoryToMenu(HMENU menu, UINT firstId, int maxCount) const {
  int total = m_queue.Count();
  if (maxCount > 0 && maxCount < total) total = maxCount;
  if (total <= 0 || !menu) return 0;
  int count = GetMenuItemCount(menu);
  bool separator = count <= 0;
  if (count > 0) {
    MENUITEMINFOW info = {sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(count - 1), TRUE, &info))
      separator = !(info.fType & MFT_SEPARATOR) && !info.hSubMenu && static_cast<int>(info.wID) > 0;
  }
  if (separator) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  wchar_t* clipboard = GetClipboardTextCopy();
  int appended = 0;
  for (int i = 0; i < total; ++i) {
    const CCHItem* item = m_queue.GetItem(i);
    std::wstring caption = item->menuCaption.empty() ? GetHistoryItemMenuText(i) : item->menuCaption;
    // Every "&" is shown as itself, not as a mnemonic.
    ReplaceAll(caption, L"&", L"&&");
    if (!caption.empty() && caption[0] != L' ') caption.insert(0, 1, L' ');
    UINT id = firstId + static_cast<UINT>(i);
    if (!AppendMenuW(menu, MF_STRING, id, caption.c_str())) continue;
    ++appended;
    if (clipboard && (item->kind == kHistoryKindUnicode || item->kind == kHistoryKindAnsi) &&
        HistoryItemPlainText(*item) == clipboard)
      SetMenuDefaultItem(menu, id, FALSE);
  }
  if (clipboard) FreeClipboardTextCopy(clipboard);
  return appended;
}

bool CQLRWndClipboardHandler::CopyItemAsPlainText(int n) {
  CCHItem* item = m_queue.GetItem(n);
  if (!item || item->kind > kHistoryKindRtf) return false;
  std::wstring text = HistoryItemPlainText(*item);
  return PutDataOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

namespace {

void AlignFormsOrThrow(CCHItem* item) {
  std::wstring plain;
  bool havePlain = false;
  std::vector<std::shared_ptr<CCHItem>> kept;
  for (const auto& alternate : item->alternates) {
    if (!alternate || (alternate->kind != kHistoryKindAnsi && alternate->kind != kHistoryKindUnicode)) continue;
    if (!havePlain) {
      plain = HistoryItemPlainText(*item);
      havePlain = true;
    }
    auto remade = std::make_shared<CCHItem>(alternate->kind);
    // A form that cannot be made is left out: the put-back makes the plain
    // text of a rich text itself.
    if (!plain.empty() && StoreText(remade.get(), plain)) kept.push_back(std::move(remade));
  }
  item->alternates = std::move(kept);
}

// A paste takes whichever form the target likes best, so every form an
// edited entry keeps must say what the entry says: plain texts are made
// again from the edited text, other forms (HTML, the RTF of a text entry)
// cannot follow and go. Their files go once the edited entry is saved.
void AlignFormsWithText(CCHItem* item) {
  try {
    AlignFormsOrThrow(item);
  } catch (const std::bad_alloc&) {
    item->alternates.clear();  // no form may stay behind the edit
  }
}

}  // namespace

void CQLRWndClipboardHandler::ItemTextChanged(CCHItem* item) {
  item->MarkEdited();
  AlignFormsWithText(item);
  item->menuCaption.clear();
  item->tipText.clear();
  StartSaveTimer();
}

bool CQLRWndClipboardHandler::ChangeItemCase(bool upper, int n) {
  // A text too large for the copies an edit makes is refused, unchanged.
  try {
    return EditItemCase(upper, n);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

int CQLRWndClipboardHandler::JoinItemLines(int n) {
  try {
    return EditItemLines(n);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int CQLRWndClipboardHandler::TrimItem(int n) {
  try {
    return EditItemEnds(n);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

bool CQLRWndClipboardHandler::EditItemCase(bool upper, int n) {
  CCHItem* item = m_queue.GetItem(n);
  if (!item) return false;
  if (item->kind != kHistoryKindRtf && item->kind != kHistoryKindUnicode && item->kind != kHistoryKindAnsi)
    return false;
  // A text that has that case already stays as it is, with every form it
  // keeps: only a real change drops the forms that cannot follow it.
  std::wstring plain = HistoryItemPlainText(*item);
  std::wstring mapped = plain;
  if (!mapped.empty()) upper ? CharUpperBuffW(&mapped[0], static_cast<DWORD>(mapped.size()))
                             : CharLowerBuffW(&mapped[0], static_cast<DWORD>(mapped.size()));
  if (mapped == plain) return true;
  if (item->kind == kHistoryKindRtf) {
    std::string rtf = RtfChangeCase(AnsiData(*item), upper);
    if (rtf.empty() || !item->SetData(rtf.c_str(), static_cast<std::uint32_t>(rtf.size() + 1))) return false;
  } else if (item->kind == kHistoryKindUnicode) {
    if (!StoreText(item, mapped)) return false;
  } else {
    std::string text = AnsiData(*item);
    if (!text.empty()) {
      int size = LCMapStringA(GetThreadLocale(), upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE, text.c_str(),
                              static_cast<int>(text.size()), nullptr, 0);
      std::string ansi(static_cast<size_t>(size > 0 ? size : 0), '\0');
      if (size <= 0 || !LCMapStringA(GetThreadLocale(), upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE, text.c_str(),
                                     static_cast<int>(text.size()), &ansi[0], size))
        return false;
      text = ansi;
    }
    if (!item->SetData(text.c_str(), static_cast<std::uint32_t>(text.size() + 1))) return false;
  }
  ItemTextChanged(item);
  return true;
}

int CQLRWndClipboardHandler::EditItemLines(int n) {
  CCHItem* item = m_queue.GetItem(n);
  if (!item) return 0;
  int count = 0;
  if (item->kind == kHistoryKindRtf) {
    std::string rtf = RtfEditBuffer(*item);
    if (rtf.empty()) return 0;
    count = RtfLineBreaksToSpaces(&rtf[0], rtf.size());
    if (count > 0 && !item->SetData(rtf.c_str(), static_cast<std::uint32_t>(strlen(rtf.c_str()) + 1))) return 0;
  } else if (item->kind == kHistoryKindUnicode || item->kind == kHistoryKindAnsi) {
    std::wstring text = HistoryItemPlainText(*item);
    count = ReplaceAll(text, L"\r\n", L" ");
    count += ReplaceAll(text, L"\n\r", L" ");
    if (count > 0) {
      TrimEnds(text, L" \t\n", true, true);
      if (!StoreText(item, text)) return 0;
    }
  }
  if (count > 0) ItemTextChanged(item);
  return count;
}

int CQLRWndClipboardHandler::EditItemEnds(int n) {
  CCHItem* item = m_queue.GetItem(n);
  if (!item) return 0;
  int removed = 0;
  if (item->kind == kHistoryKindRtf) {
    std::string rtf = RtfEditBuffer(*item);
    if (rtf.empty()) return 0;
    removed = RtfRemoveCharacters(&rtf[0], rtf.size(), L" \r\n");
    if (removed > 0 && !item->SetData(rtf.c_str(), static_cast<std::uint32_t>(strlen(rtf.c_str()) + 1))) return 0;
  } else if (item->kind == kHistoryKindUnicode || item->kind == kHistoryKindAnsi) {
    std::wstring text = HistoryItemPlainText(*item);
    size_t before = text.size();
    // CR counts as a blank: "abc\r\n" trims to "abc".
    TrimEnds(text, L" \t\r\n", true, true);
    removed = static_cast<int>(before - text.size());
    if (removed > 0 && !StoreText(item, text)) return 0;
  }
  if (removed > 0) ItemTextChanged(item);
  return removed;
}
