// The document's commands on the current record, with their menu states.
#include <windows.h>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/coop/command_run.h"
#include "editor/doc/doc.h"
#include "editor/editor_names.h"
#include "editor/services/clipboard_text.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/editor_settings_names.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/ui/rich_edit_convert.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/macros/macro_rich.h"
#include "phrases/store/phrase_node.h"
#include "platform/mfc/res/afx_ids.h"
#include "platform/mfc/window/cmd_ui.h"

namespace esn = editor_settings_names;

namespace {

constexpr UINT kIdsPlainText = 61212;
constexpr UINT kIdsFormattedText = 61213;
constexpr UINT kIdsStartApplication = 134;
constexpr UINT kIdsSelectedText = 135;
constexpr UINT kIdsTestRunNote = 161;
constexpr UINT kIdsActivateLayout = 167;

std::wstring Localized(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

std::uint32_t DataTypeOfCommand(UINT nID) {
  return nID == ID_PHRASE_AS_RTF ? kDataTypeRtf : nID == ID_PHRASE_AS_APP ? kDataTypeExec : kDataTypeText;
}

std::wstring IndentNote(const std::wstring& note) {
  std::wstring out = L"      ";
  for (wchar_t ch : note) {
    out += ch;
    if (ch == L'\n') out += L"      ";
  }
  return out;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDoc, CDocument)
  ON_COMMAND_RANGE(ID_PHRASE_AS_PLAIN, ID_PHRASE_AS_RTF, OnSetDataType)
  ON_COMMAND(ID_PHRASE_AS_APP, OnSetDataTypeApp)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_AS_PLAIN, OnUpdateDataType)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_AS_RTF, OnUpdateDataType)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_AS_APP, OnUpdateDataType)
  ON_COMMAND(ID_PHRASE_TEST_RUN, OnTestRun)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_TEST_RUN, OnUpdateForPhrase)
  ON_COMMAND_RANGE(ID_EDIT_CHECK_ALL, ID_EDIT_INVERT_CHECK, OnCheckCommand)
  ON_COMMAND(ID_PHRASE_ADD_FROM_SEL, OnMacroMenu)
  ON_COMMAND(ID_PHRASE_HIDE_UNCHECKED, OnHideUnchecked)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_HIDE_UNCHECKED, OnUpdateHideUnchecked)
  ON_COMMAND(ID_PHRASE_RENAME_FILE, OnRenameFile)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_RENAME_FILE, OnUpdateRenameFile)
  ON_COMMAND_RANGE(ID_PHRASE_DISABLED_NO_SEL, ID_PHRASE_DISABLED_NO_SEL, OnToggleFlag)
  ON_COMMAND_RANGE(ID_PHRASE_TITLE_ONLY, ID_PHRASE_TITLE_ONLY, OnToggleFlag)
  ON_COMMAND_RANGE(ID_PHRASE_SEP_BEFORE, ID_PHRASE_SEP_AFTER, OnToggleFlag)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_DISABLED_NO_SEL, OnUpdateFlag)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_TITLE_ONLY, OnUpdateFlag)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_SEP_BEFORE, OnUpdateFlag)
  ON_UPDATE_COMMAND_UI(ID_PHRASE_SEP_AFTER, OnUpdateFlag)
  ON_COMMAND(ID_VIEW_PREVIEW, OnPreview)
  ON_UPDATE_COMMAND_UI(ID_VIEW_PREVIEW, OnUpdatePreview)
  ON_COMMAND(ID_PHRASE_REREAD, OnReread)
  ON_COMMAND(ID_FILE_SAVE, OnSave)
END_MESSAGE_MAP()

void CDoc::OnSetDataType(UINT nID) {
  CQLRCommand* record = CurrentRecord();
  if (!record || record->IsFolder()) return;
  const std::uint32_t type = DataTypeOfCommand(nID);
  if (record->DataType == type) return;
  record->DataType = type;
  const int id = m_nCurrentId;
  UpdateViews(nullptr, kHintDataType, id);
  StampPhraseChange();
}

void CDoc::OnSetDataTypeApp() { OnSetDataType(ID_PHRASE_AS_APP); }

void CDoc::OnUpdateDataType(CCmdUI* pCmdUI) {
  CQLRCommand* record = CurrentRecord();
  const bool phrase = record && !record->IsFolder();
  pCmdUI->Enable(phrase);
  pCmdUI->SetCheck(phrase && record->DataType == DataTypeOfCommand(pCmdUI->m_nID));
  const UINT text = pCmdUI->m_nID == ID_PHRASE_AS_RTF  ? kIdsFormattedText
                    : pCmdUI->m_nID == ID_PHRASE_AS_APP ? kIdsStartApplication
                                                        : kIdsPlainText;
  std::wstring localized = Localized(text);
  if (!localized.empty()) pCmdUI->SetText(localized.c_str());
}

void CDoc::OnUpdateForPhrase(CCmdUI* pCmdUI) {
  CQLRCommand* record = CurrentRecord();
  pCmdUI->Enable(record && !record->IsFolder());
}

void CDoc::BuildPhrasePreview(std::wstring& out, bool forTestRun) {
  out.clear();
  CommitCurrent(nullptr);
  CQLRCommand* record = CurrentRecord();
  if (!record || record->IsFolder()) return;
  const std::wstring selected = L"[" + Localized(kIdsSelectedText) + L"]";
  if (record->DataType == kDataTypeExec) {
    if (forTestRun)
      RunCommandAsync(GetMainFrameHwnd(), record->m_cmd, 2);
    else
      ExpandCommand(GetMainFrameHwnd(), record->m_cmd, selected, L"[Clipboard Content]", &out);
    return;
  }
  std::wstring clipboard;
  GetClipboardText(clipboard, GetMainFrameHwnd());
  std::wstring text = record->m_cmd;
  HKL layout = nullptr;
  if (record->DataType == kDataTypeRtf)
    // Values go into the formatted text as text: a clipboard holding "\",
    // "{" or "}" cannot break the RTF.
    ExpandMacrosInRichEdit(text, selected, clipboard, nullptr, &layout, GetUserDefaultLCID(), GetHiddenRichEdit());
  else
    ExpandPhraseMacros(text, selected, clipboard, nullptr, &layout, GetUserDefaultLCID());
  if (!forTestRun) {
    out = text;
    return;
  }
  if (record->DataType == kDataTypeRtf) text = RtfStringToPlainText(text);
  if (layout) {
    wchar_t name[KL_NAMELENGTH * 4] = {};
    LCID locale = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(layout)), SORT_DEFAULT);
    GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name, static_cast<int>(sizeof(name) / sizeof(name[0])));
    text += L"\r\n+ " + Localized(kIdsActivateLayout) + L" " + name;
  }
  out = text + L"\r\n\r\n" + IndentNote(Localized(kIdsTestRunNote));
}

void CDoc::OnTestRun() {
  CQLRCommand* record = CurrentRecord();
  if (!record || record->IsFolder()) return;
  const bool exec = record->DataType == kDataTypeExec;
  std::wstring preview;
  BuildPhrasePreview(preview, true);
  if (!exec)
    ::MessageBoxW(GetMainFrameHwnd(), preview.c_str(), editor_names::kBoxCaption,
                  MB_ICONINFORMATION);
}

void CDoc::OnCheckCommand(UINT nID) {
  UpdateViews(nullptr, kHintCheckAll + static_cast<LPARAM>(nID - ID_EDIT_CHECK_ALL), 0);
}

void CDoc::OnMacroMenu() { UpdateViews(nullptr, kHintMacroMenu, 0); }

void CDoc::OnHideUnchecked() {
  CQLREditorSettings& settings = GetEditorSettings();
  CQLRCommand* record = CurrentRecord();
  // The current record vanishes from the tree when it is unchecked.
  const bool reselect = settings.ShowUncheckedPhrases && record && !record->IsEnabled();
  settings.ShowUncheckedPhrases = settings.ShowUncheckedPhrases ? 0 : 1;
  UpdateViews(nullptr, kHintShowUnchecked, 0);
  if (reselect) {
    // None when no top-level record is checked: the hidden one never stays
    // open to take edits.
    int next = -1;
    for (CQLRCommand& top : GetCommandStore().Commands()) {
      if (top.IsEnabled()) {
        next = static_cast<int>(top.GetId());
        break;
      }
    }
    SelectRecord(next);
  }
  settings.SaveOwnKey(esn::kShowUncheckedPhrases);
}

void CDoc::OnUpdateHideUnchecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(!GetEditorSettings().ShowUncheckedPhrases); }

void CDoc::OnRenameFile() {
  CommitCurrent(nullptr);
  CQLRCommand* record = CurrentRecord();
  if (!record || record->GetFilePath().empty()) return;
  // The record's own directory gets a name no other phrase has: the file
  // of another phrase is never taken over.
  if (record->RenameFileToTitle()) UpdateViews(nullptr, kHintPathChanged, m_nCurrentId);
}

void CDoc::OnUpdateRenameFile(CCmdUI* pCmdUI) {
  CQLRCommand* record = CurrentRecord();
  pCmdUI->Enable(record && !record->GetFilePath().empty());
}

void CDoc::OnToggleFlag(UINT nID) {
  CQLRCommand* record = CurrentRecord();
  if (!record || record->IsFolder()) return;
  switch (nID) {
    case ID_PHRASE_DISABLED_NO_SEL:
      record->SetDisabledIsNoHasSelection(!record->GetDisabledIsNoHasSelection());
      break;
    case ID_PHRASE_TITLE_ONLY:
      record->SetUseTitleOnly(!record->GetUseTitleOnly());
      break;
    case ID_PHRASE_SEP_BEFORE:
      record->SetSeparatorBefore(!record->IsSeparatorBefore());
      break;
    case ID_PHRASE_SEP_AFTER:
      record->SetSeparatorAfter(!record->IsSeparatorAfter());
      break;
    default:
      return;
  }
  GetCommandStore().SaveCommand(record->GetId());
  StampPhraseChange();
  if (nID == ID_PHRASE_SEP_BEFORE || nID == ID_PHRASE_SEP_AFTER) UpdateViews(nullptr, kHintSeparator, 0);
}

void CDoc::OnUpdateFlag(CCmdUI* pCmdUI) {
  CQLRCommand* record = CurrentRecord();
  const bool phrase = record && !record->IsFolder();
  pCmdUI->Enable(phrase);
  bool checked = false;
  if (phrase) {
    switch (pCmdUI->m_nID) {
      case ID_PHRASE_DISABLED_NO_SEL: checked = record->GetDisabledIsNoHasSelection(); break;
      case ID_PHRASE_TITLE_ONLY: checked = record->GetUseTitleOnly(); break;
      case ID_PHRASE_SEP_BEFORE: checked = record->IsSeparatorBefore(); break;
      case ID_PHRASE_SEP_AFTER: checked = record->IsSeparatorAfter(); break;
    }
  }
  pCmdUI->SetCheck(checked);
}

void CDoc::OnPreview() {
  CQLREditorSettings& settings = GetEditorSettings();
  settings.Preview = settings.Preview ? 0 : 1;
  settings.SaveOwnKey(esn::kPreview);
  UpdateViews(nullptr, kHintPreview, 0);
}

void CDoc::OnUpdatePreview(CCmdUI* pCmdUI) { pCmdUI->SetCheck(GetEditorSettings().Preview != 0); }

void CDoc::OnReread() {
  UpdateViews(nullptr, kHintCommit, 0);
  ReloadStore();
  UpdateViews(nullptr, kHintRebuild, 0);
  // The open phrase shows what its file holds now (its edits were written
  // before the reload).
  if (m_nCurrentId != -1) UpdateViews(nullptr, kHintSelect, m_nCurrentId);
}

void CDoc::OnSave() {
  if (!SaveCurrent())
    ::MessageBoxW(GetMainFrameHwnd(), UnsavedText().c_str(), editor_names::kBoxCaption, MB_ICONWARNING);
}
