#include "phrases/store/phrase_file.h"

#include <tinyxml.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "foundation/files/files.h"
#include "foundation/logging/log.h"
#include "foundation/text/convert.h"
#include "foundation/text/text_basics.h"
#include "foundation/text/xml_reader.h"
#include "phrases/store/phrase_names.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_writer.h"

namespace {

constexpr int kMaxPhraseXmlDepth = 64;

const wchar_t* const kDataTypeWords[] = {L"TEXT", L"RTF", L"EXEC"};

int IntAttribute(const TiXmlElement* element, const char* name) {
  int value = 0;
  if (element->QueryIntAttribute(name, &value) != TIXML_SUCCESS) return 0;
  return value;
}

// The element's text (its first child, when that is text), decoded and with
// the three old escapes undone. False when there is no such text.
bool ElementText(const TiXmlElement* parent, const char* name, std::wstring* out) {
  const TiXmlElement* element = parent->FirstChildElement(name);
  if (!element) return false;
  const char* text = element->GetText();
  if (!text) return false;
  std::wstring value = Utf8ToWide(text);
  ReplaceText(value, L"&lt;", L"<");
  ReplaceText(value, L"&gt;", L">");
  ReplaceText(value, L"&quote;", L"\"");
  *out = value;
  return true;
}

bool IsXmlBlank(const std::string& text) {
  return !text.empty() && text.find_first_not_of(" \t\r\n") == std::string::npos;
}

void AddTextElement(TiXmlElement* parent, const char* name, const std::wstring& value) {
  auto* element = new TiXmlElement(name);
  std::string utf8 = WideToUtf8(value);
  auto* text = new TiXmlText(utf8);
  // The parser drops text made of white space only; such a text (a phrase
  // that inserts a tab, say) survives only as a CDATA section.
  if (IsXmlBlank(utf8)) text->SetCDATA(true);
  element->LinkEndChild(text);
  parent->LinkEndChild(element);
}

bool ParseNumber(const char*& p, long minValue, long maxValue, long* out) {
  char* end = nullptr;
  long value = std::strtol(p, &end, 10);
  if (end == p || value < minValue || value > maxValue) return false;
  *out = value;
  p = end;
  return true;
}

}  // namespace

bool ReadPhraseXml(CPhraseNode& record, const char* content) {
  if (!content || !*content) return false;
  // Phrase texts keep their blanks and line breaks exactly.
  TiXmlBase::SetCondenseWhiteSpace(false);
  TiXmlDocument doc;
  // A phrase file has two levels; the bound is generous.
  if (!ParseXmlBounded(doc, content, TIXML_ENCODING_UTF8, kMaxPhraseXmlDepth)) return false;
  const TiXmlElement* root = doc.FirstChildElement(kXmlRoot);
  if (!root) return false;

  record.enabled = IntAttribute(root, kXmlExcluded) == 0;
  record.sortId = static_cast<std::uint32_t>(IntAttribute(root, kXmlSortId));
  int usage = IntAttribute(root, kXmlUsageCount);
  record.usageCount = usage < 0 ? 0 : usage;
  const char* date = root->Attribute(kXmlDateUsage);
  SYSTEMTIME lastUse = {};
  if (date && *date && ParseDateUsage(date, &lastUse) && lastUse.wYear != 0 && !record.IsFolder())
    record.lastUse = lastUse;
  record.disabledIsNoHasSelection = IntAttribute(root, kXmlDisabledIsNoHasSelection) != 0;
  record.useTitleOnly = IntAttribute(root, kXmlUseTitleOnly) != 0;
  record.flagsMenu = static_cast<std::uint32_t>(IntAttribute(root, kXmlFlagsMenu));

  std::wstring caption;
  if (!ElementText(root, kXmlMenuName, &caption)) return false;
  record.SetCaption(caption);
  std::wstring dataType;
  ElementText(root, kXmlDataType, &dataType);
  record.DataType = ParseDataType(dataType);
  std::wstring data;
  if (ElementText(root, kXmlCmd, &data)) record.data = data;
  std::wstring hint;
  ElementText(root, kXmlHint, &hint);
  record.SetHint(hint);
  return true;
}

bool ReadPhraseFile(CPhraseNode& record, const std::wstring& path) {
  size_t size = 0;
  std::unique_ptr<char[]> content = ReadFileToBuffer(path, &size);
  if (!content || size > kMaxPhraseFileBytes) return false;
  return ReadPhraseXml(record, content.get());
}

std::string PhraseNodeToXml(const CPhraseNode& record) {
  TiXmlDocument doc;
  doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", "yes"));
  auto* root = new TiXmlElement(kXmlRoot);
  if (!record.IsEnabled()) root->SetAttribute(kXmlExcluded, 1);
  root->SetAttribute(kXmlUsageCount, record.usageCount);
  root->SetAttribute(kXmlDisabledIsNoHasSelection, record.disabledIsNoHasSelection ? 1 : 0);
  root->SetAttribute(kXmlUseTitleOnly, record.useTitleOnly ? 1 : 0);
  root->SetAttribute(kXmlSortId, static_cast<int>(record.sortId));
  root->SetAttribute(kXmlFlagsMenu, static_cast<int>(record.flagsMenu));
  if (!record.IsFolder() && record.lastUse.wYear != 0)
    root->SetAttribute(kXmlDateUsage, FormatDateUsage(record.lastUse));
  doc.LinkEndChild(root);

  if (!record.IsFolder()) {
    AddTextElement(root, kXmlMenuName, record.caption);
    AddTextElement(root, kXmlDataType, DataTypeToText(record.DataType));
    AddTextElement(root, kXmlCmd, record.data);
    AddTextElement(root, kXmlHint, record.tooltip);
  }

  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak("\r\n");
  if (!doc.Accept(&printer)) return std::string();
  return printer.Str();
}

bool WritePhraseFile(const CPhraseNode& record, const std::wstring& path,
                     PhraseFileErrorCallback onError, void* context) {
  std::wstring message;
  std::string bytes = PhraseNodeToXml(record);
  if (bytes.empty()) {
    message = L"ERROR: cannot create XML for command";
    Log(message);
  } else {
    DWORD error = 0;
    if (WritePhraseBytes(path, bytes, &error)) return true;
    message = PhraseWriteErrorText(error);  // the writer has logged it
  }
  if (onError) onError(PhraseFileError{message, path, &record}, context);
  return false;
}

bool SavePhraseToFile(const CPhraseNode& record, const std::wstring& path) {
  return WritePhraseFile(record, path, nullptr, nullptr);
}

std::string FormatDateUsage(const SYSTEMTIME& date) {
  char text[80];
  snprintf(text, sizeof(text), "%d|%d|%d|%d|%d|%d", date.wYear, date.wMonth, date.wDay, date.wHour,
           date.wMinute, date.wSecond);
  return text;
}

bool ParseDateUsage(const std::string& text, SYSTEMTIME* out) {
  // Year, month, day, hour, minute, second; a date outside these ranges
  // would upset every time conversion later.
  static const long kLimits[6][2] = {{0, 30827}, {0, 12}, {0, 31}, {0, 23}, {0, 59}, {0, 59}};
  long values[6] = {};
  const char* p = text.c_str();
  for (int i = 0; i < 6; ++i) {
    if (i > 0) {
      if (*p != '|') return false;
      ++p;
    }
    if (!ParseNumber(p, kLimits[i][0], kLimits[i][1], &values[i])) return false;
  }
  if (values[0] != 0 && (values[1] == 0 || values[2] == 0)) return false;
  SYSTEMTIME date = {};
  date.wYear = static_cast<WORD>(values[0]);
  date.wMonth = static_cast<WORD>(values[1]);
  date.wDay = static_cast<WORD>(values[2]);
  date.wHour = static_cast<WORD>(values[3]);
  date.wMinute = static_cast<WORD>(values[4]);
  date.wSecond = static_cast<WORD>(values[5]);
  *out = date;
  return true;
}

std::wstring DataTypeToText(std::uint32_t dataType) {
  return dataType < 3 ? kDataTypeWords[dataType] : kDataTypeWords[0];
}

std::uint32_t ParseDataType(const std::wstring& text) {
  for (std::uint32_t i = 0; i < 3; ++i)
      if (EqualNoCase(text, kDataTypeWords[i])) return i;
  return kDataTypeText;
}
