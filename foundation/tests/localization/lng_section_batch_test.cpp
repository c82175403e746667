#include "foundation/localization/lng_section_batch.h"

#include <gtest/gtest.h>

#include "foundation/localization/language_files.h"
#include "tests/support/test_support.h"

namespace {

std::wstring Read(const std::wstring& file, const wchar_t* section, const std::wstring& key) {
  std::wstring value;
  ReadLngValue(file, section, key, L"<missing>", 2000, &value);
  return value;
}

class LngSectionBatchTest : public ::testing::Test {
 protected:
  qlrtest::TempDir dir;
  std::wstring lng = dir.File(L"Batch.lng");
};

TEST_F(LngSectionBatchTest, KeepsPresentKeysInAnyCaseAndAppendsTheRest) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Menu]\r\nopen=Öffnen\r\nEmpty=\r\n[Other]\r\nSave=x\r\n[MENU]\r\nLater=dup\r\n"));
  CLngSectionBatch batch(lng, L"Menu");
  EXPECT_TRUE(batch.Has(L"OPEN"));
  EXPECT_FALSE(batch.AddMissing(L"Open", L"Open"));
  EXPECT_FALSE(batch.AddMissing(L"empty", L"Empty")) << "an empty value is a translation too";
  EXPECT_TRUE(batch.AddMissing(L"Save", L"Save"));
  EXPECT_FALSE(batch.AddMissing(L"SAVE", L"again")) << "queued keys count as present";
  EXPECT_TRUE(batch.AddMissing(L"Close", L"Close\\tnow"));
  EXPECT_EQ(batch.Flush(), 2);
  EXPECT_EQ(batch.Flush(), 0);
  EXPECT_EQ(Read(lng, L"Menu", L"Open"), L"Öffnen");
  EXPECT_EQ(Read(lng, L"Menu", L"Empty"), L"");
  EXPECT_EQ(Read(lng, L"Menu", L"Save"), L"Save");
  EXPECT_EQ(Read(lng, L"Menu", L"Close"), L"Close\\tnow");
  EXPECT_EQ(Read(lng, L"Other", L"Save"), L"x");
  // The second section of the same name is not touched.
  EXPECT_NE(qlrtest::ReadUtf16File(lng).find(L"[MENU]\r\nLater=dup"), std::wstring::npos)
      << qlrtest::ToUtf8(qlrtest::ReadUtf16File(lng));
}

TEST_F(LngSectionBatchTest, ALongSectionIsReadWhole) {
  std::wstring text = L"[Long]\r\n";
  for (int i = 0; i < 3000; ++i) text += L"Key" + std::to_wstring(i) + L"=" + std::wstring(50, L'v') + L"\r\n";
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, text));
  EXPECT_EQ(ReadLngSection(lng, L"Long").size(), 3000u);
  CLngSectionBatch batch(lng, L"Long");
  EXPECT_FALSE(batch.AddMissing(L"key2999", L"overwritten"));
  EXPECT_TRUE(batch.AddMissing(L"Key3000", L"new"));
  // Another program writes into the section between the read and the write.
  ASSERT_TRUE(WritePrivateProfileStringW(L"Long", L"Meanwhile", L"theirs", lng.c_str()));
  EXPECT_EQ(batch.Flush(), 1);
  EXPECT_EQ(Read(lng, L"Long", L"Key2999"), std::wstring(50, L'v'));
  EXPECT_EQ(Read(lng, L"Long", L"Key0"), std::wstring(50, L'v'));
  EXPECT_EQ(Read(lng, L"Long", L"Key3000"), L"new");
  EXPECT_EQ(Read(lng, L"Long", L"Meanwhile"), L"theirs");
  // A batch read after that write sees it, and so does its rewrite.
  CLngSectionBatch next(lng, L"Long");
  next.Put(L"Key0", L"changed");
  EXPECT_EQ(next.Flush(), 1);
  EXPECT_EQ(Read(lng, L"Long", L"Key0"), L"changed");
  EXPECT_EQ(Read(lng, L"Long", L"Meanwhile"), L"theirs");
  EXPECT_EQ(ReadLngSection(lng, L"Long").size(), 3002u);
}

TEST_F(LngSectionBatchTest, NothingQueuedWritesNothing) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[A]\r\nk = v\r\n"));
  const std::string before = qlrtest::ReadBytes(lng);
  CLngSectionBatch batch(lng, L"A");
  EXPECT_FALSE(batch.AddMissing(L"K", L"other"));
  EXPECT_EQ(batch.Flush(), 0);
  EXPECT_EQ(qlrtest::ReadBytes(lng), before);
  // A missing file is created with the UTF-16 header on the first write.
  const std::wstring fresh = dir.File(L"Fresh.lng");
  CLngSectionBatch created(fresh, L"B");
  EXPECT_TRUE(created.AddMissing(L"k", L"v"));
  EXPECT_EQ(created.Flush(), 1);
  EXPECT_EQ(qlrtest::ReadBytes(fresh).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Read(fresh, L"B", L"k"), L"v");
}

}  // namespace
