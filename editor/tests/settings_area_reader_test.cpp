#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/coop/settings_area_reader.h"
#include "foundation/files/program_names.h"
#include "foundation/system/handles.h"

namespace {

// The tray program's area as another process would leave it: a mapping of
// the given size holding the bytes (the rest of it as given by fill).
class AreaFixture {
 public:
  AreaFixture(const std::string& bytes, DWORD size, char fill = '\0') {
    m_mapping.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                       GetSettingAreaName().c_str()));
    if (!m_mapping) return;
    char* view = static_cast<char*>(MapViewOfFile(m_mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return;
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(view, &info, sizeof(info));
    memset(view, fill, info.RegionSize);
    memcpy(view, bytes.data(), bytes.size() < size ? bytes.size() : size);
    UnmapViewOfFile(view);
    m_ok = true;
  }
  bool Ok() const { return m_ok; }

 private:
  UniqueHandle m_mapping;
  bool m_ok = false;
};

struct Read {
  bool found;
  WORD key, mod;
  bool dbl;
  std::wstring text;
};

Read ReadAll() {
  Read r = {false, 7, 7, true, L"stale"};
  r.found = ReadSettingsArea(&r.key, &r.mod, &r.dbl, &r.text);
  return r;
}

TEST(SettingsAreaReaderTest, AGoodRecordGivesItsValues) {
  AreaFixture area(
      "<?xml version=\"1.0\" ?>\r\n<QuilloraSettings HotKey_Key=\"81\" HotKey_Mod=\"3\" Double=\"1\">"
      "<SelText>Gr\xC3\xBC\xC3\x9F" "e &amp; more</SelText></QuilloraSettings>",
      1024);
  ASSERT_TRUE(area.Ok());
  Read r = ReadAll();
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.key, 81);
  EXPECT_EQ(r.mod, 3);
  EXPECT_TRUE(r.dbl);
  EXPECT_EQ(r.text, L"Gr\u00FC\u00DFe & more");
  EXPECT_EQ(GetSelectedTextFromArea(), L"Gr\u00FC\u00DFe & more");
  WORD key = 0;
  EXPECT_TRUE(ReadMainHotkey(&key, nullptr, nullptr));
  EXPECT_EQ(key, 81);
  EXPECT_FALSE(ReadSettingsAreaText().empty());
}

TEST(SettingsAreaReaderTest, BadAreasReadAsEmpty) {
  struct Case {
    const char* name;
    std::string bytes;
    DWORD size;
    char fill;
  };
  const Case cases[] = {
      {"empty", "", 1024, '\0'},
      {"1024 bytes without a 0", std::string(1024, 'x'), 1024, '\0'},
      // A whole page of text with no 0 anywhere in the view.
      {"a full view without a 0", std::string(4096, '<'), 4096, '<'},
      {"broken xml", "<QuilloraSettings HotKey_Key=\"81\"", 1024, '\0'},
      {"another root", "<Other HotKey_Key=\"81\"/>", 1024, '\0'},
      {"text only", "just some words", 1024, '\0'},
  };
  for (const Case& c : cases) {
    AreaFixture area(c.bytes, c.size, c.fill);
    ASSERT_TRUE(area.Ok()) << c.name;
    Read r = ReadAll();
    EXPECT_FALSE(r.found) << c.name;
    EXPECT_EQ(r.key, 0) << c.name;
    EXPECT_EQ(r.mod, 0) << c.name;
    EXPECT_FALSE(r.dbl) << c.name;
    EXPECT_EQ(r.text, L"") << c.name;
  }
  // No area at all.
  Read none = ReadAll();
  EXPECT_FALSE(none.found);
  EXPECT_EQ(ReadSettingsAreaText(), "");
}

TEST(SettingsAreaReaderTest, OddValuesKeepTheirLowBits) {
  {
    AreaFixture area("<QuilloraSettings HotKey_Key=\"-1\" HotKey_Mod=\"65538\" Double=\"0\"/>", 1024);
    ASSERT_TRUE(area.Ok());
    Read r = ReadAll();
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.key, 0xFFFF);
    EXPECT_EQ(r.mod, 2);
    EXPECT_FALSE(r.dbl);
  }
  {
    AreaFixture area("<QuilloraSettings HotKey_Key=\"99999999999\" HotKey_Mod=\"3\"/>", 1024);
    ASSERT_TRUE(area.Ok());
    Read r = ReadAll();
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.mod, 3);
  }
  {
    // Invalid UTF-8 in the text: the record may be refused, but then every
    // value reads as empty.
    AreaFixture area("<QuilloraSettings HotKey_Key=\"5\"><SelText>\xFF\xFE\xC3</SelText></QuilloraSettings>", 1024);
    ASSERT_TRUE(area.Ok());
    Read r = ReadAll();
    if (r.found) {
      EXPECT_EQ(r.key, 5);
    } else {
      EXPECT_EQ(r.key, 0);
      EXPECT_EQ(r.text, L"");
    }
  }
}

}  // namespace
