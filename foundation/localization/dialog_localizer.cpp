#include "foundation/localization/dialog_localizer.h"

#include <cwchar>
#include <map>

#include "foundation/localization/dialog_template.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_cache.h"
#include "foundation/localization/lng_section_batch.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr wchar_t kMissingMarker[] = L"8481EA66-F5B3-4054-A242-14D21A797294";
constexpr DWORD kTextChars = 10240;
const wchar_t* const kSkippedClasses[] = {L"msctls_updown32", L"Edit",        L"RichEdit",
                                          L"RichEdit20A",     L"RichEdit20W", L"RichEdit60A",
                                          L"RichEdit60W",     L"ComboBox"};

std::wstring WindowText(HWND hwnd) {
  std::wstring text(kTextChars + 1, L'\0');
  int n = GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()));
  text.resize(n > 0 ? n : 0);
  return text;
}

// The built-in texts of the dialog's controls, straight from its template.
// Reading them from a hidden copy of the dialog would give the same texts
// for as much as the dialog itself costs to create.
class TemplateTexts {
 public:
  TemplateTexts(HMODULE module, WORD dialogId) {
    std::vector<BYTE> bytes;
    DialogTemplateInfo info;
    if (LoadDialogTemplate(module, dialogId, &bytes) &&
        ParseDialogTemplate(bytes.data(), bytes.size(), &info)) {
      // The first control of an id is the one GetDlgItem finds.
      for (const DialogTemplateControl& control : info.controls) m_parsed.emplace(control.id, control.text);
    }
  }

  std::wstring Get(int id) const {
    auto it = m_parsed.find(id);
    return it == m_parsed.end() ? std::wstring() : it->second;
  }

 private:
  std::map<int, std::wstring> m_parsed;
};

}  // namespace

CDialogLocalizer::CDialogLocalizer(const HWND& dialog, WORD dialogId, const std::wstring& name,
                                   HMODULE module)
    : m_dialog(dialog), m_dialogId(dialogId), m_name(name), m_module(module) {}

HINSTANCE CDialogLocalizer::GetResourceInstance() const {
  return m_module ? m_module : GetModuleHandleW(nullptr);
}

std::wstring CDialogLocalizer::GetLanguageFile() const { return GetCurrentLanguage(); }

std::wstring CDialogLocalizer::GetSectionName() const {
  return MakeDialogSectionName(m_name, m_dialogId);
}

int CDialogLocalizer::Localize() {
  HWND dialog = m_dialog;
  TemplateTexts builtIn(GetResourceInstance(), m_dialogId);
  const std::wstring section = GetSectionName();
  const std::wstring lngFile = GetLanguageFile();
  const std::wstring example = IsLocalizeExampleFile(lngFile) ? std::wstring()
                                                              : GetLocalizeExamplePath(lngFile);
  CLngPendingWrites toExample(example, section);
  CLngPendingWrites toLanguage(lngFile, section);
  for (HWND child = dialog ? GetWindow(dialog, GW_CHILD) : nullptr; child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    if (m_excluded.count(id) || IsSkippedControlClass(child)) continue;
    const std::wstring key = IntToStr(id);
    std::wstring value;
    DWORD n = ReadLngValue(lngFile, section, key, kMissingMarker, kTextChars + 1, &value);
    const std::wstring present = WindowText(child);
    const std::wstring templateText = builtIn.Get(id);
    // The files collect built-in English: after a language change the
    // present text is the previous language's, so the template's text wins.
    const std::wstring english = templateText.empty() ? present : templateText;
    if (!present.empty()) toExample.Put(key, english);
    const bool missing = n == 0 || EqualNoCase(value, kMissingMarker) || lngFile.empty();
    // The built-in text as the file gives it back (the example file is the
    // language when none is chosen) is no translation: the template's own
    // text stays, mnemonic, blanks and quotes included.
    if (missing || value == LngValueAsRead(english)) {
      if (missing && !present.empty()) toLanguage.Put(key, english);
      // A text already shown is not set again: each set repaints the
      // control and costs a trip through the window system.
      if (!templateText.empty() && templateText != present) SetWindowTextW(child, templateText.c_str());
      continue;
    }
    ReplaceText(value, L"\u2022", L"");
    if (value != present) SetWindowTextW(child, value.c_str());
  }
  return 1;
}

CDialogLocalizerEx::CDialogLocalizerEx(const HWND& dialog, WORD dialogId, const std::wstring& name,
                                       std::initializer_list<int> untouched, HMODULE module)
    : CDialogLocalizer(dialog, dialogId, name, module) {
  for (int id : untouched) ExcludeControl(id);
}

std::wstring MakeDialogSectionName(const std::wstring& name, WORD dialogId) {
  std::wstring section = L"Dialog";
  if (!name.empty()) {
    if (name[0] != L'_') section += L'_';
    section += name;
  }
  return section + L"_" + IntToStr(dialogId);
}

bool IsSkippedControlClassName(const std::wstring& className) {
  for (const wchar_t* skipped : kSkippedClasses)
    if (EqualNoCase(className, skipped)) return true;
  return false;
}

bool IsSkippedControlClass(HWND control) {
  wchar_t name[20] = {};
  GetClassNameW(control, name, 20);
  return IsSkippedControlClassName(name);
}
