// The history pane's Save…: one save dialog per selected item, each item
// written to its file by its kind.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/files/paths.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_menu_state.h"
#include "history/pane/pane_save.h"
#include "history/pane/pane_texts.h"
#include "history/store/clipboard_item_file.h"
#include "history/store/history_caption.h"
#include "settings/settings.h"

namespace {

constexpr wchar_t kSaveFolderKey[] = L"DirectoryForSave";
constexpr DWORD kFileBufferChars = 2600;

UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_INITDIALOG) return 0;
  // The hook gets the inner child of an explorer-style dialog.
  HWND top = GetParent(dialog) ? GetParent(dialog) : dialog;
  SetWindowLongPtrW(top, GWL_EXSTYLE, GetWindowLongPtrW(top, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
  if (icon) {
    SendMessageW(top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  return 0;
}

}  // namespace

SavePlan MakeSavePlan(const CCHItem& item) {
  SavePlan plan;
  plan.htmlChoice = item.HasHtml(false);
  if (plan.htmlChoice) plan.filter = L"HTML files (*.htm,*.html)|*.htm|";
  switch (item.kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      plan.filter += L"Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
      plan.extension = L".txt";
      plan.name = HistoryItemPlainText(item);
      break;
    case kHistoryKindRtf:
      plan.filter += L"Formatted Text Files (*.rtf)|*.rtf|All Files (*.*)|*.*||";
      plan.extension = L".rtf";
      plan.name = HistoryItemPlainText(item);
      break;
    case kHistoryKindBrindle:
      plan.filter += L"Brindle Documents (*.bnd)|*.bnd|All Files (*.*)|*.*||";
      plan.extension = L".bnd";
      break;
    case kHistoryKindBitmap:
      plan.filter += L"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*||";
      plan.extension = L".bmp";
      break;
    default:
      break;
  }
  if (plan.htmlChoice) plan.extension = L".htm";
  if (item.kind == kHistoryKindBrindle) {
    plan.name = L"Brindle_Document.bnd";
  } else if (!plan.name.empty()) {
    plan.name = MakeFileNameFromText(MakeFileNameFromText(plan.name, false, 50), false, 40);
  }
  for (wchar_t& c : plan.filter)
    if (c == L'|') c = L'\0';
  return plan;
}

bool SaveItemAs(const CCHItem& item, const std::wstring& path, bool html) {
  const CCHItem* html_form = html ? item.GetHtml() : nullptr;
  return SaveClipboardItemToFile(html_form ? *html_form : item, path);
}

bool CQLRFloatPane::SaveItem(int index) {
  const CCHItem* item = m_source ? m_source->GetItem(index) : nullptr;
  if (!item) return false;
  SavePlan plan = MakeSavePlan(*item);
  std::wstring title;
  const std::wstring label = PaneString(pane_cmd::kSave);
  if (!label.empty()) title = L"Quillora : " + label;
  std::wstring folder = CQLRSettings::ReadString(kSaveFolderKey, L"");
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::vector<wchar_t> file(kFileBufferChars, L'\0');
  plan.name.copy(file.data(), std::min<size_t>(plan.name.size(), kFileBufferChars - 1));
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = m_hWnd;
  dialog.lpstrFilter = plan.filter.empty() ? nullptr : plan.filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kFileBufferChars;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = plan.extension.size() > 1 ? plan.extension.c_str() + 1 : nullptr;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
  dialog.lpfnHook = SaveDialogHook;
  HMODULE comdlg = LoadLibraryW(L"comdlg32.dll");
  const BOOL chosen = GetSaveFileNameW(&dialog);
  if (comdlg) FreeLibrary(comdlg);
  if (!chosen) return false;
  const bool html = plan.htmlChoice && dialog.nFilterIndex == 1;
  const std::wstring path = file.data();
  CQLRSettings::WriteString(kSaveFolderKey, GetFolderFromPath(path, false));
  return SaveItemAs(*item, path, html);
}

void CQLRFloatPane::SaveSelected() {
  for (int index : SelectedItems())
    if (!SaveItem(index)) break;
}
