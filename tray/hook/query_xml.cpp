#include "tray/hook/query_xml.h"

#include <tinyxml.h>

#include <cstdlib>

#include "foundation/logging/log.h"
#include "foundation/text/convert.h"
#include "foundation/text/xml_reader.h"

namespace {

std::wstring ChildText(const TiXmlElement* root, const char* name, bool* present = nullptr) {
  const TiXmlElement* child = root->FirstChildElement(name);
  if (present) *present = child != nullptr;
  const char* text = child ? child->GetText() : nullptr;
  return text ? Utf8ToWide(text) : std::wstring();
}

// Window handles are 32-bit values, sign-extended into a 64-bit HWND.
HWND HandleFromInt(long long value) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<LONG>(value)));
}

HWND AttributeHandle(const TiXmlElement* root, const char* name) {
  int value = 0;
  root->QueryIntAttribute(name, &value);
  return HandleFromInt(value);
}

// A decimal element text; false when the element is missing or empty.
bool ChildNumber(const TiXmlElement* root, const char* name, long long& value) {
  const TiXmlElement* child = root->FirstChildElement(name);
  const char* text = child ? child->GetText() : nullptr;
  if (!text || !*text) return false;
  value = strtoll(text, nullptr, 10);
  return true;
}

void WriteRecord(TiXmlElement* parent, const CMenuRecord& record) {
  auto* element = new TiXmlElement(record.IsGroup() ? "Group" : "Command");
  const bool separator = !record.IsGroup() && record.CMDID == 0;
  element->LinkEndChild(new TiXmlText(separator ? std::string() : WideToUtf8(record.caption)));
  if (!record.IsGroup()) {
    element->SetAttribute("Flags", static_cast<int>(record.Flags));
    element->SetAttribute("CMDID", static_cast<int>(record.CMDID));
    element->SetAttribute("DataType", static_cast<int>(record.DataType));
    element->SetAttribute("LCID", static_cast<int>(record.LCID));
    if (record.tooltip[0]) {
      auto* tip = new TiXmlElement("ToolTipText");
      tip->LinkEndChild(new TiXmlText(WideToUtf8(record.tooltip)));
      element->LinkEndChild(tip);
    }
    parent->LinkEndChild(element);
    return;
  }
  element->SetAttribute("Default", static_cast<int>(record.Flags & 1));
  parent->LinkEndChild(element);
  if (record.GetChildren().empty()) Log(L"Oops! Group is empty");
  for (const CMenuRecord& child : record.GetChildren()) WriteRecord(element, child);
}

const wchar_t* SelStateText(int state) {
  switch (state) {
    case CQueryRecord::kNoSelection: return L"No has selected text";
    case CQueryRecord::kSelectionUnknown: return L"O-ooops! Cannot get selected text from target application";
    case CQueryRecord::kSelectionExtracted: return L"Wax! Text extracted by agent";
  }
  return L"Unexpected state of selected text, this cannot happen";
}

}  // namespace

bool ParseQuery(CQueryRecord& query, const char* xml) {
  if (!xml) return false;
  TiXmlBase::SetCondenseWhiteSpace(false);
  TiXmlDocument doc;
  // A damaged or too deeply nested document counts as no query, even where
  // an element was read before the fault.
  const bool parsed = ParseXmlBounded(doc, xml, TIXML_ENCODING_UTF8);
  const TiXmlElement* root = doc.RootElement();
  if (!parsed || !root || root->ValueStr() != "LRQuery") return false;

  query.AppPath = ChildText(root, "AppPath");
  query.WindowClassName = ChildText(root, "WindowClassName");
  long long number = 0;
  if (ChildNumber(root, "HWND", number)) query.hwnd = HandleFromInt(number);
  query.guiInfo.hwndActive = AttributeHandle(root, "HWND_Active");
  query.guiInfo.hwndFocus = AttributeHandle(root, "HWND_Focus");
  query.guiInfo.hwndCapture = AttributeHandle(root, "HWND_Capture");
  query.guiInfo.hwndMenuOwner = AttributeHandle(root, "HWND_MenuOwner");
  query.guiInfo.hwndCaret = AttributeHandle(root, "HWND_Caret");

  // HKLLoword carries the high word and HKLHoword the low word.
  long long high = 0, low = 0;
  if (ChildNumber(root, "HKLLoword", high) && ChildNumber(root, "HKLHoword", low))
    query.hkl = (static_cast<std::uint32_t>(high) << 16) | (static_cast<std::uint32_t>(low) & 0xFFFF);
  else
    query.hkl = 0;

  bool hasSel = false;
  query.SelText = ChildText(root, "SelText", &hasSel);
  if (hasSel) {
    int state = -1;
    root->FirstChildElement("SelText")->QueryIntAttribute("StateSelText", &state);
    query.StateSelText = state;
  }
  int x = -1, y = -1;
  root->QueryIntAttribute("POINT_X", &x);
  root->QueryIntAttribute("POINT_Y", &y);
  query.POINT_X = x;
  query.POINT_Y = y;
  return true;
}

bool BuildAnswerXml(const CAnswerRecord& answer, std::string& out) {
  if (answer.items.empty()) return false;
  TiXmlDocument doc;
  doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
  auto* root = new TiXmlElement("LRAnswer");
  root->SetAttribute("Sound", answer.Sound ? 1 : 0);
  root->SetAttribute("ShowToolTips", answer.ShowToolTips ? 1 : 0);
  root->SetAttribute("ForegroundTopMostWnd", answer.ForegroundTopMostWnd ? 1 : 0);
  auto* group = new TiXmlElement("Group");
  root->LinkEndChild(group);
  for (const CMenuRecord& item : answer.items) WriteRecord(group, item);
  if (answer.MenuPerColumn != 0) {
    auto* perColumn = new TiXmlElement("MenuPerColumn");
    perColumn->LinkEndChild(new TiXmlText(std::to_string(answer.MenuPerColumn)));
    group->LinkEndChild(perColumn);
  }
  doc.LinkEndChild(root);
  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak("\r\n");
  if (!doc.Accept(&printer)) return false;
  out = printer.Str();
  return true;
}

std::wstring FormatReceivedQuery(const CQueryRecord& query) {
  return L"Received query:\r\n\tExe: " + query.AppPath + L"\r\n\tClassName: " +
         query.WindowClassName + L"\r\n\tHKL: " + std::to_wstring(query.hkl) + L"\r\n\tSelText: [" +
         query.SelText + L"]\r\n\tSelText State: [" + SelStateText(query.StateSelText) + L"]";
}
