#include "editor/pane/phrase_tip.h"

#include <cwctype>

#include "editor/store/command.h"
#include "editor/tree/tree_item_text.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "phrases/store/phrase_node.h"

namespace {

constexpr wchar_t kBold[] = L"<font style=b>";
constexpr wchar_t kEnd[] = L"</font>";
constexpr wchar_t kRule[] = L"<br><hr color=gray><br>";

std::wstring Label(const std::wstring& label) { return kBold + label + kEnd + L": "; }

std::wstring UsageDate(const CQLRCommand& record, const std::wstring& unknown) {
  SYSTEMTIME date = {};
  if (!record.GetDateUsage(&date)) return unknown;
  wchar_t text[128] = {};
  if (!::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, 128)) return unknown;
  return text;
}

}  // namespace

PhraseTipLabels LoadPhraseTipLabels() {
  PhraseTipLabels l;
  l.group = LoadTreeString(176, L"Group");
  l.menuName = LoadTreeString(61204, L"Menu Name");
  l.action = LoadTreeString(61205, L"Action");
  l.dataFormat = LoadTreeString(61208, L"Data Format");
  l.folder = LoadTreeString(175, L"Folder");
  l.file = LoadTreeString(61206, L"File");
  l.usageCount = LoadTreeString(170, L"Usage Count");
  l.lastUsed = LoadTreeString(179, L"Last time used");
  l.unknown = LoadTreeString(178, L"I unknow...");
  l.emptyBody = LoadTreeString(61220, L"Empty");
  l.disabledNoSelection = LoadTreeString(32820, L"Disabled when no selection");
  l.titleOnly = LoadTreeString(32830, L"Use title only");
  l.footer = LoadTreeString(186, L"Double click to edit");
  l.plainText = LoadTreeString(61212, L"Plain Text");
  l.formattedText = LoadTreeString(61213, L"Formatted Text");
  l.application = LoadTreeString(134, L"Start Application");
  return l;
}

std::wstring CutTipText(const std::wstring& text, size_t limit) {
  if (text.size() <= limit) return text;
  std::wstring cut = text.substr(0, limit);
  const size_t blank = cut.find_last_of(L' ');
  if (blank != std::wstring::npos && blank > 0) cut.resize(blank);
  return cut + L"\u2026";
}

std::wstring EscapeTipText(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t ch : text) {
    if (ch == L'<')
      out += L"&lt;";
    else if (ch == L'>')
      out += L"&gt;";
    else
      out += ch;
  }
  return out;
}

std::wstring MarkTipMacros(const std::wstring& text, const std::vector<std::wstring>& macros) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const std::wstring* found = nullptr;
    if (text[at] == L'%') {
      for (const std::wstring& name : macros) {
        if (!name.empty() && text.compare(at, name.size(), name) == 0 && (!found || name.size() > found->size()))
          found = &name;
      }
    }
    if (found) {
      out += L"<font size=14pt color=orange>" + *found + kEnd;
      at += found->size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

std::wstring BuildPhraseTip(const CQLRCommand& record, const PhraseTipLabels& labels,
                            const std::vector<std::wstring>& macros) {
  const bool folder = record.IsFolder();
  std::wstring tip = Label(folder ? labels.group : labels.menuName) + EscapeTipText(record.GetMenuName());
  if (!folder) {
    std::wstring body = record.DataType == kDataTypeRtf ? RtfStringToPlainText(record.m_cmd) : record.m_cmd;
    const bool empty = record.DataType == kDataTypeRtf ? body.find_first_not_of(L" \t\r\n") == std::wstring::npos
                                                       : body.empty();
    if (empty) {
      body = labels.emptyBody;
      for (wchar_t& ch : body) ch = static_cast<wchar_t>(std::towupper(ch));
    }
    body = MarkTipMacros(EscapeTipText(CutTipText(body)), macros);
    const std::wstring& typeName = record.DataType == kDataTypeRtf    ? labels.formattedText
                                   : record.DataType == kDataTypeExec ? labels.application
                                                                      : labels.plainText;
    tip += kRule + Label(labels.action) + body;
    tip += L"\r\n" + Label(labels.dataFormat) + L"<font color=\"" +
           editor::ColorToHex(editor::GetPhraseTextColor(record.IsEnabled(), 0)) + L"\">" + typeName + kEnd;
  }
  tip += kRule;
  tip += L"<font color=gray style=b>";
  tip += Label(folder ? labels.folder : labels.file) + EscapeTipText(record.GetFilePath());
  if (!folder) {
    tip += L"<br>" + labels.usageCount + L": " + std::to_wstring(record.GetUsageCount());
    tip += L"<br>" + labels.lastUsed + L": " + UsageDate(record, labels.unknown);
  }
  if (record.GetDisabledIsNoHasSelection())
    tip += L"<br><font color=red>*</font>: " + labels.disabledNoSelection;
  if (record.GetUseTitleOnly()) tip += L"<br><font color=red>*</font>: " + labels.titleOnly;
  tip += L"<br><br>  <font style=i>" + labels.footer + kEnd + kEnd;
  return tip;
}
