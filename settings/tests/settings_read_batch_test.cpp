#include "settings/settings_read_batch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/files/ini.h"
#include "settings/settings_files.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

using SettingsReadBatchTest = SettingsFoldersTest;

const wchar_t* const kSections[] = {L"Settings", L"Settings_Editor", L"Agent"};
const wchar_t* const kKeys[] = {L"Language", L"Hotkey", L"Sorting", L"PrevFolder1", L"Preview", L"LastFile"};

std::wstring Pick(std::mt19937& rng, const std::vector<std::wstring>& choices) {
  return choices[rng() % choices.size()];
}

std::wstring RandomCase(std::mt19937& rng, std::wstring text) {
  for (wchar_t& c : text)
    if (rng() % 4 == 0) c = static_cast<wchar_t>(iswupper(c) ? towlower(c) : towupper(c));
  return text;
}

std::wstring RandomValue(std::mt19937& rng) {
  switch (rng() % 12) {
    case 0: return L"";
    case 1: return std::to_wstring(static_cast<int>(rng() % 2000) - 1000);
    case 2: return Pick(rng, {L"0x1F", L"0b101", L"0o17", L"-0x10", L"+42", L"4294967295", L"99999999999"});
    case 3: return Pick(rng, {L"abc", L"12abc", L" 7 ", L"\t-3", L"1e3", L"0x", L"-"});
    case 4: return Pick(rng, {L"\"5\"", L"'x'", L"\"", L"''", L"\"a'", L"\" spaced \"", L"'12'"});
    case 5: return std::wstring(28 + rng() % 6, L'0') + L"1";  // past the number buffer
    case 6: {  // about the length of the string buffer, quoted or not
      std::wstring text(2597 + rng() % 6, L'x');
      if (rng() % 2) text = L"\"" + text + L"\"";
      return text;
    }
    case 7: return L"C:\\Phr\x00E4ses\\\x65E5\x672C";
    case 8: return L"a=b=c";
    case 9: return L"english.lng";
    default: return std::to_wstring(rng() % 10);
  }
}

std::wstring RandomLine(std::mt19937& rng) {
  const std::wstring key = RandomCase(rng, Pick(rng, {L"Language", L"Hotkey", L"Sorting", L"PrevFolder1",
                                                      L"Preview", L"LastFile", L"Other"}));
  const std::wstring blank = Pick(rng, {L"", L"", L" ", L"  \t"});
  switch (rng() % 14) {
    case 0: return key;  // no "=": read as empty
    case 1: return L";" + key + L"=3";
    case 2: return L"=orphan";
    case 3: return L"";
    case 4: return L"K\x00E9y=1";  // a name whose case the system folds
    default: return blank + key + blank + L"=" + blank + RandomValue(rng) + blank;
  }
}

// A settings file with the sections in any case and spacing, some twice.
std::wstring RandomFile(std::mt19937& rng, bool longSection) {
  std::wstring text;
  const int sections = static_cast<int>(rng() % 5);
  for (int s = 0; s < sections; ++s) {
    std::wstring name = RandomCase(rng, Pick(rng, {L"Settings", L"Settings_Editor", L"Agent", L"Misc"}));
    if (rng() % 6 == 0) name = L" " + name + L" ";
    text += L"[" + name + L"]\r\n";
    const int lines = static_cast<int>(rng() % 12);
    for (int l = 0; l < lines; ++l) text += RandomLine(rng) + L"\r\n";
  }
  if (longSection) {  // more than the first read buffer holds
    text += L"[Settings]\r\n";
    for (int i = 0; i < 3000; ++i) text += L"Filler" + std::to_wstring(i) + L"=some text to fill\r\n";
    text += L"Sorting=" + RandomValue(rng) + L"\r\nLanguage=last.lng\r\n";
  }
  return text;
}

struct Answers {
  std::vector<std::wstring> values;
  void Add(const std::wstring& what, const std::wstring& value) { values.push_back(what + L" -> " + value); }
};

Answers ReadAll(const std::wstring& programIni, const std::wstring& userIni) {
  Answers a;
  for (const wchar_t* section : kSections) {
    for (const wchar_t* base : kKeys) {
      const std::wstring keys[] = {base, std::wstring(base) + L"X"};
      for (const std::wstring& key : keys) {
        const std::wstring where = std::wstring(section) + L"/" + key;
        a.Add(where + L" int", std::to_wstring(ReadSettingsInt(key.c_str(), 77, section)));
        a.Add(where + L" string", ReadSettingsString(key.c_str(), L"dflt", section));
        a.Add(where + L" exists", SettingsKeyExists(key.c_str(), section) ? L"yes" : L"no");
      }
    }
  }
  a.Add(L"language of program file", ReadLanguage(programIni));
  a.Add(L"language of user file", ReadLanguage(userIni));
  a.Add(L"language of no file", ReadLanguage(L""));
  return a;
}

// For random contents of the two files, every reader answers inside a read
// batch as it does key by key through the profile functions.
TEST_F(SettingsReadBatchTest, ReadersAnswerAlikeWithAndWithoutTheBatch) {
  ASSERT_TRUE(CreateDirectoryW(UserFolder().c_str(), nullptr));
  const int kRounds = 60;
  for (int round = 0; round < kRounds; ++round) {
    std::mt19937 rng(static_cast<unsigned>(round) * 7919u + 13u);
    const std::wstring programText = RandomFile(rng, round % 20 == 5);
    const std::wstring userText = RandomFile(rng, round % 20 == 11);
    DeleteFileW(ProgramIni().c_str());
    DeleteFileW(UserIni().c_str());
    if (round % 7 != 3) {
      ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), programText));
    }
    if (round % 9 == 4) {  // past the bound: read as empty either way
      std::string big(kMaxSettingsFileBytes + 64, ';');
      big.insert(0, "[Settings]\r\nSorting=3\r\n");
      ASSERT_TRUE(qlrtest::WriteBytes(UserIni(), big));
    } else if (round % 5 != 2) {
      ASSERT_TRUE(qlrtest::WriteUtf16File(UserIni(), userText));
    }
    SCOPED_TRACE(testing::Message() << "round " << round << "\nprogram file:\n"
                                    << qlrtest::ToUtf8(programText).substr(0, 3000) << "\nuser file:\n"
                                    << qlrtest::ToUtf8(userText).substr(0, 3000));

    const Answers plain = ReadAll(ProgramIni(), UserIni());
    Answers batched;
    {
      CSettingsReadBatch batch;
      ASSERT_EQ(CSettingsReadBatch::Current(), &batch);
      CSettingsReadBatch inner;  // a nested batch leaves the outer one in charge
      ASSERT_EQ(CSettingsReadBatch::Current(), &batch);
      batched = ReadAll(ProgramIni(), UserIni());
    }
    ASSERT_EQ(CSettingsReadBatch::Current(), nullptr);
    ASSERT_EQ(plain.values.size(), batched.values.size());
    for (size_t i = 0; i < plain.values.size(); ++i)
      if (plain.values[i] != batched.values[i])
        FAIL() << "key by key: " << qlrtest::ToUtf8(plain.values[i]).substr(0, 200)
               << "\nbatched:    " << qlrtest::ToUtf8(batched.values[i]).substr(0, 200);
  }

  // The files are read once per batch and again by the next one.
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\nSorting=1\r\nLanguage=a.lng\r\n"));
  {
    CSettingsReadBatch batch;
    EXPECT_EQ(ReadSettingsInt(L"Sorting", 0), 1);
    ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\nSorting=2\r\nLanguage=b.lng\r\n"));
    EXPECT_EQ(ReadSettingsInt(L"Sorting", 0), 1);
    EXPECT_EQ(ReadLanguage(ProgramIni()), L"a.lng");
  }
  EXPECT_EQ(ReadSettingsInt(L"Sorting", 0), 2);
  CSettingsReadBatch next;
  EXPECT_EQ(ReadLanguage(ProgramIni()), L"b.lng");
}

}  // namespace
