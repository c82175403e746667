// Helpers shared by the phrase menu tests: a phrase tree in a store, a
// filled history queue and a small macro expander.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/text/text_basics.h"
#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_tooltip.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_store.h"

namespace menutest {

inline CPhraseNode Phrase(std::uint32_t id, const std::wstring& name, const std::wstring& text,
                          std::uint32_t type = kDataTypeText) {
  CPhraseNode node;
  node.SetCaption(name);
  node.data = text;
  node.CMDID = id;
  node.DataType = type;
  return node;
}

inline CPhraseNode Folder(const std::wstring& name, std::vector<CPhraseNode> children) {
  CPhraseNode node;
  node.SetCaption(name);
  node.MakeFolder();
  for (CPhraseNode& child : children) node.childNodes->push_back(std::move(child));
  return node;
}

struct HistoryEntry {
  std::wstring text;
  bool rtf = false;
  bool bitmap = false;
  std::wstring url;
  std::wstring caption;
  std::wstring tip;
};

class FakeHistory : public IMenuHistory {
 public:
  explicit FakeHistory(int count = 0) {
    for (int i = 0; i < count; ++i) Add(L"entry " + IntToStr(i));
  }
  void Add(const std::wstring& text, bool rtf = false) {
    HistoryEntry e;
    e.text = text;
    e.rtf = rtf;
    entries.push_back(e);
  }
  int GetCount() override { return static_cast<int>(entries.size()); }
  void SetLocked(bool value) override {
    locked = value;
    lockChanges.push_back(value);
  }
  bool IsRtf(int i) override { return entries[i].rtf; }
  bool IsBitmap(int i) override { return entries[i].bitmap; }
  std::wstring GetPlainText(int i) override { return entries[i].text; }
  std::wstring GetMenuText(int i) override {
    ++menuTextCalls;
    return entries[i].text;
  }
  std::wstring GetSourceUrl(int i) override { return entries[i].url; }
  std::wstring* CaptionCache(int i) override { return &entries[i].caption; }
  std::wstring* ToolTipCache(int i) override { return &entries[i].tip; }

  std::vector<HistoryEntry> entries;
  bool locked = false;
  std::vector<bool> lockChanges;
  int menuTextCalls = 0;
};

// Expands %DATE% (to a fixed date), %SELECTED_TEXT%, %CLIPBOARD_TEXT% and
// %LAYOUT_RU% (activates the Russian layout); reports a caret for %CARET%.
class FakeMacros : public IMenuMacroExpander {
 public:
  int ExpandText(std::wstring& text, const std::wstring& selected, const std::wstring& clipboard, LANGID,
                 int* caretFromEnd) override {
    int n = ReplaceText(text, L"%DATE%", L"08.12.2026");
    n += ReplaceText(text, L"%SELECTED_TEXT%", selected);
    n += ReplaceText(text, L"%CLIPBOARD_TEXT%", clipboard);
    n += ReplaceText(text, L"%LAYOUT_RU%", L"");
    size_t caret = text.find(L"%CARET%");
    *caretFromEnd = -1;
    if (caret != std::wstring::npos) {
      ReplaceText(text, L"%CARET%", L"");
      *caretFromEnd = static_cast<int>(text.size() - caret);
      ++n;
    }
    return n;
  }
  int ExpandRtf(std::wstring& rtf, const std::wstring&, const std::wstring&, LANGID, bool* caret) override {
    *caret = rtf.find(L"{B43C2CC5") != std::wstring::npos;
    return ReplaceText(rtf, L"%DATE%", L"08.12.2026");
  }
  LANGID GetActivatedLayout(const std::wstring& text, bool) override {
    return text.find(L"%LAYOUT_RU%") != std::wstring::npos ? 0x0419 : 0;
  }
};

// One item of a built menu as the tests compare it.
struct Item {
  UINT id;
  bool separator;
  bool popup;
  bool grayed;
  std::wstring caption;  // or the separator's label
};

inline std::vector<Item> Items(HMENU menu) {
  std::vector<Item> items;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    CMenuItemData* data = GetMenuItemDataByPos(menu, i);
    Item item = {info.wID, (info.fType & MFT_SEPARATOR) != 0, info.hSubMenu != nullptr,
                 (info.fState & MFS_GRAYED) != 0, L""};
    if (data) {
      const wchar_t* text = item.separator ? data->GetHint() : data->GetCaption();
      item.caption = text ? text : L"";
    }
    items.push_back(item);
  }
  return items;
}

// The menu's items as one line: ids, "-" for a plain separator, "-label-",
// "[caption]" for popups; "~" marks a grayed item.
inline std::wstring Outline(HMENU menu) {
  std::wstring out;
  for (const Item& item : Items(menu)) {
    if (!out.empty()) out += L" ";
    if (item.separator)
      out += item.caption.empty() ? L"-" : L"-" + item.caption + L"-";
    else if (item.popup)
      out += L"[" + item.caption + L"]";
    else
      out += (item.grayed ? L"~" : L"") + IntToStr(static_cast<int>(item.id));
  }
  return out;
}

inline CPhraseMenuOptions NoExtras() {
  CPhraseMenuOptions options;
  options.extEditSettings = options.extSelectionIntoPhrase = options.extSupport = false;
  options.insertHistory = false;
  return options;
}

// A window whose menus a menu tooltip watches.
inline HWND MakeMenuTipOwner() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrMenuTipOwner";
  RegisterClassW(&wc);
  return CreateWindowW(wc.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                       wc.hInstance, nullptr);
}

// A menu tooltip that records the items it was asked for.
struct CountingMenuTip : CMenuToolTip {
  bool GetItemText(std::wstring& text, UINT id, HMENU, std::wstring&) override {
    asked.push_back(id);
    text = L"tip";
    return true;
  }
  std::vector<UINT> asked;
};

}  // namespace menutest
