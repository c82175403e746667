#include "settings/settings_area.h"

#include <tinyxml.h>

#include <cstring>
#include <mutex>

#include "foundation/files/program_names.h"
#include "foundation/text/convert.h"
#include "foundation/text/xml_reader.h"
#include "settings/settings_names.h"
#include "settings/shared_memory.h"

namespace sn = settings_names;

namespace {

std::mutex g_areaLock;
// Kept for the life of the process: the area must outlive every write, and
// opening it again on each write would leak a handle per call.
HANDLE g_areaMapping = nullptr;

bool WriteAreaText(const std::string& text) {
  if (text.empty() || text.size() + 1 > kSettingsAreaSize) return false;
  std::lock_guard<std::mutex> lock(g_areaLock);
  if (!g_areaMapping) {
    g_areaMapping = CreateNamedMapping(GetSettingAreaName(), kSettingsAreaSize, true);
    if (!g_areaMapping) return false;
  }
  void* view = MapViewOfFile(g_areaMapping, FILE_MAP_WRITE, 0, 0, text.size() + 1);
  if (!view) return false;
  memcpy(view, text.c_str(), text.size() + 1);
  FlushViewOfFile(view, text.size() + 1);
  return UnmapViewOfFile(view) != FALSE;
}

}  // namespace

std::string BuildSettingsAreaXml(WORD hotKeyKey, WORD hotKeyMod, bool doubled,
                                 const std::wstring& selText) {
  TiXmlDocument doc;
  doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
  auto* root = new TiXmlElement(sn::kAreaRoot);
  root->SetAttribute(sn::kAreaKey, hotKeyKey);
  root->SetAttribute(sn::kAreaMod, hotKeyMod);
  root->SetAttribute(sn::kAreaDouble, doubled ? 1 : 0);
  if (!selText.empty()) {
    auto* sel = new TiXmlElement(sn::kAreaSelText);
    sel->LinkEndChild(new TiXmlText(WideToUtf8(selText)));
    root->LinkEndChild(sel);
  }
  doc.LinkEndChild(root);
  TiXmlPrinter printer;
  printer.SetLineBreak("\r\n");
  if (!doc.Accept(&printer)) return std::string();
  return printer.Str();
}

bool WriteSettingsArea(WORD hotKeyKey, WORD hotKeyMod, bool doubled, const std::wstring& selText) {
  std::string text = BuildSettingsAreaXml(hotKeyKey, hotKeyMod, doubled, selText);
  if (text.size() + 1 <= kSettingsAreaSize) return WriteAreaText(text);
  if (!selText.empty())
    WriteAreaText(BuildSettingsAreaXml(hotKeyKey, hotKeyMod, doubled, std::wstring()));
  return false;
}

bool ReadSettingsArea(SettingsAreaRecord& record) {
  SharedView view(GetSettingAreaName());
  long length = view.TextLength(kSettingsAreaMaxText);
  if (length <= 0) return false;
  TiXmlBase::SetCondenseWhiteSpace(false);
  TiXmlDocument doc;
  const bool parsed = ParseXmlBounded(doc, std::string(view.Data(), length).c_str(), TIXML_ENCODING_UTF8);
  const TiXmlElement* root = doc.RootElement();
  if (!parsed || !root || root->ValueStr() != sn::kAreaRoot) return false;
  int key = 0, mod = 0, dbl = 0;
  root->QueryIntAttribute(sn::kAreaKey, &key);
  root->QueryIntAttribute(sn::kAreaMod, &mod);
  root->QueryIntAttribute(sn::kAreaDouble, &dbl);
  record.hotKeyKey = static_cast<WORD>(key);
  record.hotKeyMod = static_cast<WORD>(mod);
  record.doubled = dbl != 0;
  const TiXmlElement* sel = root->FirstChildElement(sn::kAreaSelText);
  record.selText = sel ? Utf8ToWide(sel->GetText() ? sel->GetText() : "") : std::wstring();
  return true;
}
