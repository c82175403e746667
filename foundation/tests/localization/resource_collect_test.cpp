#include "foundation/localization/resource_collect.h"

#include <gtest/gtest.h>

#include <vector>

#include "foundation/localization/dialog_localizer.h"
#include "foundation/localization/dialog_template.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "tests/support/test_support.h"

namespace {

std::wstring Read(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  std::wstring value;
  ReadLngValue(file, section, key, L"<missing>", 2000, &value);
  return value;
}

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// Another program's file loaded only for its resources, as the language
// tools load the tray and welcome programs.
class ResourceCollectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = LoadLibraryExW(qlrtest::BinFile(L"resource_module.dll").c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m_module) << GetLastError();
    m_lng = m_dir.File(L"Template.lng");
    ASSERT_TRUE(qlrtest::WriteUtf16File(
        m_lng, L"[Dialog_Client_400]\r\n4004=Behalten\r\n[Menu_Client]\r\nStop=Anhalten\r\n"));
  }
  void TearDown() override {
    SetCurrentLanguage(L"");
    if (m_module) FreeLibrary(m_module);
  }

  qlrtest::TempDir m_dir;
  std::wstring m_lng;
  HMODULE m_module = nullptr;
};

TEST_F(ResourceCollectTest, DialogTextsComeFromTheTemplates) {
  EXPECT_EQ(2, CollectDialogTexts(m_lng, m_module, 400, L"_Client"));
  struct Stored {
    const wchar_t* key;
    const wchar_t* value;
  } stored[] = {
      {L"4001", L"Module label"}, {L"4002", L"Module &button"}, {L"4003", L"<missing>"},
      {L"4004", L"Behalten"},     {L"4005", L"<missing>"},
  };
  for (const Stored& s : stored) EXPECT_EQ(s.value, Read(m_lng, L"Dialog_Client_400", s.key)) << s.key;
  // A second run finds every key present.
  EXPECT_EQ(0, CollectDialogTexts(m_lng, m_module, 400, L"_Client"));
  EXPECT_EQ(-1, CollectDialogTexts(m_lng, m_module, 300, L"_Client"));
  // The module's dialog is not in this program.
  std::vector<BYTE> bytes;
  EXPECT_FALSE(LoadDialogTemplate(nullptr, 400, &bytes));
}

TEST_F(ResourceCollectTest, MenuTextsThroughTheMenuWriter) {
  EXPECT_GT(CollectMenuTexts(m_lng, m_module, 500, L"_Client"), 0);
  struct Stored {
    const wchar_t* key;
    const wchar_t* value;
  } stored[] = {
      {L"Module", L"Module"},
      {L"Start_Module", L"Start Module"},
      {L"Stop", L"Anhalten"},
  };
  for (const Stored& s : stored) EXPECT_EQ(s.value, Read(m_lng, L"Menu_Client", s.key)) << s.key;
  EXPECT_EQ(-1, CollectMenuTexts(m_lng, m_module, 501, L"_Client"));
  EXPECT_EQ(0, CollectMenuTexts(m_lng, m_module, 500, L"_Client"));
}

// A file that cannot be written is told apart from one that lacks nothing.
TEST_F(ResourceCollectTest, FailedWritesAreTold) {
  const std::wstring nowhere = m_dir.File(L"missing\\Template.lng");
  EXPECT_EQ(kLngCollectWriteFailed, CollectDialogTexts(nowhere, m_module, 400, L"_Client"));
  EXPECT_EQ(kLngCollectWriteFailed, CollectMenuTexts(nowhere, m_module, 500, L"_Client"));
  EXPECT_EQ(kLngCollectWriteFailed, CollectStringTexts(nowhere, m_module, {600, 601}, L"_Welcome"));
  EXPECT_EQ(-1, CollectDialogTexts(nowhere, m_module, 300, L"_Client")) << "no template: nothing to write";
}

TEST_F(ResourceCollectTest, StringsLoadFromTheModule) {
  const std::wstring previous = GetLngStringSection();
  ASSERT_TRUE(SetLngFileBinding(m_lng, true));
  SetLngStringSection(L"Strings_Welcome");
  CLngString s;
  EXPECT_FALSE(s.LoadString(600)) << "not in this program's table";
  EXPECT_TRUE(s.LoadString(600, m_module));
  EXPECT_EQ(L"Module string", s.Text());
  EXPECT_TRUE(s.LoadString(601, m_module));
  EXPECT_EQ(L"Module\ttab", s.Text());
  // Once collected, the file's text serves this program too.
  EXPECT_TRUE(s.LoadString(600));
  EXPECT_EQ(L"Module string", s.Text());
  SetLngStringSection(previous);

  EXPECT_EQ(L"Module string", Read(m_lng, L"Strings_Welcome", L"600"));
  EXPECT_EQ(L"Module\\ttab", Read(m_lng, L"Strings_Welcome", L"601"));
  EXPECT_EQ(L"Module string",
            Read(GetLocalizeExamplePath(m_lng), L"Strings_Welcome", L"600"));
}

TEST_F(ResourceCollectTest, StringsCollectIntoTheGivenFileOnly) {
  SetCurrentLanguage(L"");
  const std::vector<UINT> blocks = EnumResourceIds(m_module, RT_STRING);
  ASSERT_EQ(blocks, std::vector<UINT>{600 / 16 + 1});
  ASSERT_TRUE(qlrtest::WriteUtf16File(m_lng, L"[strings_welcome]\r\n601=Tabulator\r\n"));
  EXPECT_EQ(1, CollectStringTexts(m_lng, m_module, {599, 600, 601}, L"_Welcome"));
  EXPECT_EQ(L"Module string", Read(m_lng, L"Strings_Welcome", L"600"));
  EXPECT_EQ(L"Tabulator", Read(m_lng, L"Strings_Welcome", L"601"));
  EXPECT_EQ(L"<missing>", Read(m_lng, L"Strings_Welcome", L"599"));
  EXPECT_EQ(0, CollectStringTexts(m_lng, m_module, {600, 601}, L"_Welcome"));
  // Neither the process's language nor the example file took part.
  EXPECT_EQ(L"", GetCurrentLanguage());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(GetLocalizeExamplePath(m_lng).c_str()));
  EXPECT_EQ(std::vector<UINT>{500}, EnumResourceIds(m_module, RT_MENU));
}

TEST_F(ResourceCollectTest, LiveDialogOfTheModuleIsLocalized) {
  std::vector<BYTE> bytes;
  ASSERT_TRUE(LoadDialogTemplate(m_module, 400, &bytes));
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr,
                                           PlainProc, 0);
  ASSERT_TRUE(dialog);
  SetDlgItemTextW(dialog, 4002, L"stale");
  ASSERT_TRUE(qlrtest::WriteUtf16File(m_lng, L"[Dialog_Client_400]\r\n4001=Modul\r\n"));
  SetCurrentLanguage(m_lng);
  CDialogLocalizer localizer(dialog, 400, L"_Client", m_module);
  EXPECT_EQ(m_module, localizer.GetResourceInstance());
  localizer.Localize();
  wchar_t text[100] = {};
  GetDlgItemTextW(dialog, 4001, text, 100);
  EXPECT_STREQ(L"Modul", text);
  GetDlgItemTextW(dialog, 4002, text, 100);
  EXPECT_STREQ(L"Module &button", text) << "restored from the module's template";
  EXPECT_EQ(L"Module &button", Read(m_lng, L"Dialog_Client_400", L"4002"));
  DestroyWindow(dialog);
}

}  // namespace
