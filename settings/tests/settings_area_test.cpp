#include "settings/settings_area.h"

#include <gtest/gtest.h>

#include <cstring>

#include "settings/shared_memory.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kAreaName[] = L"Local\\$QUILLORA_SETTING_AREA$";

std::string DumpFromOtherProcess(const qlrtest::TempDir& dir) {
  std::wstring out = dir.File(L"area.bin");
  int rc = qlrtest::RunProcess(qlrtest::BinFile(L"helper_named_object_peer.exe"),
                               std::wstring(L"dump \"") + kAreaName + L"\" \"" + out + L"\"");
  EXPECT_EQ(rc, 0);
  return qlrtest::ReadBytes(out);
}

TEST(SettingsAreaTest, RecordTextIsExact) {
  const struct {
    WORD key, mod;
    bool dbl;
    std::wstring sel;
    std::string xml;
  } cases[] = {
      {13, 3, false, L"",
       "<?xml version=\"1.0\" ?>\r\n<QuilloraSettings HotKey_Key=\"13\" HotKey_Mod=\"3\" Double=\"0\" />\r\n"},
      {0x78, 0xC, true, L"",
       "<?xml version=\"1.0\" ?>\r\n<QuilloraSettings HotKey_Key=\"120\" HotKey_Mod=\"12\" Double=\"1\" />\r\n"},
      {65, 2, false, L"Tom & \"Jerry\" <b>\x0416",
       "<?xml version=\"1.0\" ?>\r\n<QuilloraSettings HotKey_Key=\"65\" HotKey_Mod=\"2\" Double=\"0\">\r\n"
       "    <SelText>Tom &amp; &quot;Jerry&quot; &lt;b&gt;\xD0\x96</SelText>\r\n</QuilloraSettings>\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildSettingsAreaXml(c.key, c.mod, c.dbl, c.sel), c.xml);
}

TEST(SettingsAreaTest, AnotherProcessReadsTheExactBytes) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(WriteSettingsArea(13, 3, false, L""));
  std::string expected = BuildSettingsAreaXml(13, 3, false, L"");
  EXPECT_EQ(DumpFromOtherProcess(dir), expected + '\0');

  ASSERT_TRUE(WriteSettingsArea(VK_F2, MOD_WIN, true, L"line one\r\nline two"));
  EXPECT_EQ(DumpFromOtherProcess(dir), BuildSettingsAreaXml(VK_F2, MOD_WIN, true, L"line one\r\nline two") + '\0');

  SettingsAreaRecord record;
  ASSERT_TRUE(ReadSettingsArea(record));
  EXPECT_EQ(record.hotKeyKey, VK_F2);
  EXPECT_EQ(record.hotKeyMod, MOD_WIN);
  EXPECT_TRUE(record.doubled);
  EXPECT_EQ(record.selText, L"line one\r\nline two");
}

TEST(SettingsAreaTest, ARecordThatDoesNotFitDropsTheSelectedText) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(WriteSettingsArea(13, 3, false, L"old selection"));
  std::wstring big(1000, L'\x0416');  // 2000 bytes in UTF-8
  EXPECT_FALSE(WriteSettingsArea(VK_F4, MOD_ALT, true, big));
  // The hotkey is current and no stale selection is left for the editor.
  EXPECT_EQ(DumpFromOtherProcess(dir), BuildSettingsAreaXml(VK_F4, MOD_ALT, true, L"") + '\0');

  // The largest text that fits with its NUL is 1023 bytes.
  std::string frame = BuildSettingsAreaXml(1, 1, false, L"x");
  std::wstring fits(kSettingsAreaSize - 1 - frame.size() + 1, L'y');
  ASSERT_EQ(BuildSettingsAreaXml(1, 1, false, fits).size(), kSettingsAreaSize - 1);
  EXPECT_TRUE(WriteSettingsArea(1, 1, false, fits));
  EXPECT_FALSE(WriteSettingsArea(1, 1, false, fits + L"y"));
}

TEST(SettingsAreaTest, WritesReuseOneMappingHandle) {
  ASSERT_TRUE(WriteSettingsArea(13, 3, false, L""));
  DWORD before = 0, after = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(WriteSettingsArea(13, 3, i % 2 == 0, L"sel"));
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
  EXPECT_LE(after, before + 2);
}

TEST(SettingsAreaTest, ReadersStopAtTheMappedSize) {
  ASSERT_TRUE(WriteSettingsArea(13, 3, false, L""));
  // Fill the whole mapped region without any NUL: a reader that looked for
  // the end by probing would run into the next page.
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kAreaName);
  ASSERT_NE(mapping, nullptr);
  char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  MEMORY_BASIC_INFORMATION info = {};
  ASSERT_NE(VirtualQuery(view, &info, sizeof(info)), 0u);
  memset(view, 'A', info.RegionSize);

  SettingsAreaRecord record;
  record.hotKeyKey = 77;
  EXPECT_FALSE(ReadSettingsArea(record));
  EXPECT_EQ(record.hotKeyKey, 77);
  SharedView shared(kAreaName);
  EXPECT_EQ(shared.Size(), info.RegionSize);
  EXPECT_EQ(shared.TextLength(kSettingsAreaMaxText), -1);

  // Not a record: no root element of that name.
  strcpy(view, "<Other HotKey_Key=\"1\" />");
  EXPECT_FALSE(ReadSettingsArea(record));
  strcpy(view, "");
  EXPECT_FALSE(ReadSettingsArea(record));
  UnmapViewOfFile(view);
  CloseHandle(mapping);
}

TEST(SharedMemoryTest, BlocksAndTextsReachAnotherProcess) {
  qlrtest::TempDir dir;
  const std::wstring name = L"Local\\QuilloraTest_SharedText";
  // Each write closes its handle; a holder keeps the mapping alive.
  HANDLE holder = CreateNamedMapping(name, 64, true);
  ASSERT_NE(holder, nullptr);
  EXPECT_TRUE(WriteSharedText("query text", name));
  std::wstring out = dir.File(L"text.bin");
  ASSERT_EQ(qlrtest::RunProcess(qlrtest::BinFile(L"helper_named_object_peer.exe"),
                                L"dump \"" + name + L"\" \"" + out + L"\""),
            0);
  EXPECT_EQ(qlrtest::ReadBytes(out), std::string("query text", 11));
  EXPECT_FALSE(WriteSharedText("", name));
  EXPECT_FALSE(WriteSharedText(nullptr, name));
  const char block[4] = {'a', '\0', 'b', '\0'};
  EXPECT_TRUE(WriteSharedBlock(block, sizeof(block), name));
  SharedView view(name);
  ASSERT_NE(view.Data(), nullptr);
  EXPECT_EQ(memcmp(view.Data(), block, sizeof(block)), 0);
  CloseHandle(holder);
}

}  // namespace
