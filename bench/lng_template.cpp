// A full template language file from the editor, the tray program and the
// welcome program in bin/ (loaded as data files), beside the bare profile
// writes of the same entries: a section at a time and a key at a time.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "editor_settings/language/make_lng_file.h"
#include "foundation/files/paths.h"
#include "foundation/localization/lng_section_batch.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::wstring> SectionNames(const std::wstring& file) {
  std::wstring buf(256 * 1024, L'\0');
  DWORD n = GetPrivateProfileSectionNamesW(&buf[0], static_cast<DWORD>(buf.size()), file.c_str());
  std::vector<std::wstring> names;
  for (size_t pos = 0; pos < n;) {
    size_t end = buf.find(L'\0', pos);
    if (end == pos) break;
    names.push_back(buf.substr(pos, end - pos));
    pos = end + 1;
  }
  return names;
}

void WriteBom(const std::wstring& path) { qlrtest::WriteBytes(path, "\xFF\xFE"); }

}  // namespace

int wmain() {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"Template.lng");
  LngTemplateSources sources;
  sources.editorModule =
      LoadLibraryExW((GetAppFolderWithSlash() + L"QuilloraEditor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  std::wstring page;
  double t0 = BenchNowMs();
  int result = MakeLngFile(lng, nullptr, page, sources);
  double template_ms = BenchNowMs() - t0;
  if (sources.editorModule) FreeLibrary(sources.editorModule);

  // The same entries again, straight through the profile functions.
  struct Section {
    std::wstring name;
    std::vector<std::wstring> entries;
  };
  std::vector<Section> sections;
  size_t keys = 0;
  for (const std::wstring& name : SectionNames(lng)) {
    sections.push_back({name, ReadLngSection(lng, name)});
    keys += sections.back().entries.size();
  }
  const std::wstring bySection = dir.File(L"BySection.lng");
  WriteBom(bySection);
  t0 = BenchNowMs();
  for (const Section& s : sections) {
    std::wstring block;
    for (const std::wstring& e : s.entries) block += e + L'\0';
    block += L'\0';
    WritePrivateProfileSectionW(s.name.c_str(), block.c_str(), bySection.c_str());
  }
  double section_ms = BenchNowMs() - t0;
  const std::wstring byKey = dir.File(L"ByKey.lng");
  WriteBom(byKey);
  t0 = BenchNowMs();
  for (const Section& s : sections) {
    for (const std::wstring& e : s.entries) {
      size_t eq = e.find(L'=');
      wchar_t probe[16];
      GetPrivateProfileStringW(s.name.c_str(), e.substr(0, eq).c_str(), L"", probe, 16, byKey.c_str());
      WritePrivateProfileStringW(s.name.c_str(), e.substr(0, eq).c_str(),
                                 eq == std::wstring::npos ? L"" : e.c_str() + eq + 1, byKey.c_str());
    }
  }
  double key_ms = BenchNowMs() - t0;

  printf("template (result %d): %zu sections, %zu keys, %zu bytes\n", result, sections.size(), keys,
         qlrtest::ReadBytes(lng).size());
  printf("  MakeLngFile, whole template with page: %.1f ms\n", template_ms);
  printf("  bare WritePrivateProfileSectionW, same sections: %.1f ms\n", section_ms);
  printf("  bare read-then-WritePrivateProfileStringW, same keys: %.1f ms\n", key_ms);
  return 0;
}
