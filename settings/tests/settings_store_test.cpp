#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_files.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

class SettingsStoreTest : public SettingsFoldersTest {
 protected:
  void WriteProgramIni(const std::wstring& body) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\n" + body));
  }
};

TEST_F(SettingsStoreTest, OutOfRangeValuesAreClampedAtLoad) {
  struct Case {
    const wchar_t* line;
    unsigned CQLRSettings::*uField;
    int CQLRSettings::*iField;
    long expected;
  };
  const Case cases[] = {
      {L"PrintLTChars=0", &CQLRSettings::printLTChars, nullptr, 100},
      {L"PrintLTChars=5000", &CQLRSettings::printLTChars, nullptr, 100},
      {L"PrintLTChars=1000", &CQLRSettings::printLTChars, nullptr, 1000},
      {L"DelayAutoLoadSeconds_NextRelease=900", &CQLRSettings::delayAutoLoadSeconds, nullptr, 600},
      {L"DelayAutoLoadSeconds_NextRelease=600", &CQLRSettings::delayAutoLoadSeconds, nullptr, 600},
      {L"AddLastUsedMenuToBegin_Count=0", nullptr, &CQLRSettings::addLastUsedMenuToBeginCount, 3},
      {L"AddLastUsedMenuToBegin_Count=6", nullptr, &CQLRSettings::addLastUsedMenuToBeginCount, 3},
      {L"AddLastUsedMenuToBegin_Count=5", nullptr, &CQLRSettings::addLastUsedMenuToBeginCount, 5},
      {L"TextPasteMethod_v150=3", nullptr, &CQLRSettings::textPasteMethod, 0},
      {L"TextPasteMethod_v150=-1", nullptr, &CQLRSettings::textPasteMethod, 0},
      {L"TextPasteMethod_v150=2", nullptr, &CQLRSettings::textPasteMethod, 2},
      {L"GestureType=2", nullptr, &CQLRSettings::gestureType, 0},
      {L"GestureType=1", nullptr, &CQLRSettings::gestureType, 1},
      {L"MaxHistoryItemsInMenu=-4", nullptr, &CQLRSettings::maxHistoryItemsInMenu, 9},
      {L"MaxHistoryItemsInMenu=0", nullptr, &CQLRSettings::maxHistoryItemsInMenu, 0},
      // Read as is: the accessor clamps, the field keeps what the file says.
      {L"DaysCheckForUpdates=45", nullptr, &CQLRSettings::daysCheckForUpdates, 45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << qlrtest::ToUtf8(c.line));
    WriteProgramIni(std::wstring(c.line) + L"\r\n");
    CQLRSettings s;
    s.maxHistoryItemsInMenu = 9;
    ASSERT_TRUE(s.Load());
    long actual = c.uField ? static_cast<long>(s.*(c.uField)) : static_cast<long>(s.*(c.iField));
    EXPECT_EQ(actual, c.expected);
  }
}

TEST_F(SettingsStoreTest, MissingKeysTakeLoadDefaultsNotConstructorValues) {
  CQLRSettings fresh;
  EXPECT_EQ(fresh.printLTChars, 2u);
  EXPECT_EQ(fresh.saveClipboardHistory, 0);

  // Every field moved away from both defaults; an empty file then shows
  // which keys fall back to a fixed value and which keep the current one.
  CQLRSettings s;
  s.showHistoryPaneOnStart = 0;
  s.extHotkey = 7;
  s.saveClipboardHistory = 0;
  s.maxHistoryItemsInMenu = 4;
  s.printLTChars = 55;
  s.gestureType = 1;
  s.clipboardSpyMethod = 0;
  s.hotkeyDoubled = 1;
  s.clipboardHistoryMax = 77;
  s.daysCheckForUpdates = 12;
  s.delayAutoLoadSeconds = 45;
  s.textPasteMethod = 2;
  s.addLastUsedMenuToBeginCount = 4;
  s.clipboardFormats[2] = 1;
  s.extMenuCommand[1] = 0;
  s.hotkey.key = 'Q';
  s.hotkey.modifiers = MOD_SHIFT;
  s.writeLog = 1;
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\n"));
  ASSERT_TRUE(s.Load());

  const struct {
    const char* name;
    long actual;
    long expected;
  } fields[] = {
      {"ShowHistoryPaneOnStart", s.showHistoryPaneOnStart, 1},
      {"ExtHotkey", s.extHotkey, 0},
      {"SaveClipboardHistory_v198", s.saveClipboardHistory, 1},
      {"MaxHistoryItemsInMenu", s.maxHistoryItemsInMenu, 15},
      {"PrintLTChars", static_cast<long>(s.printLTChars), 100},
      {"GestureType", s.gestureType, 0},
      {"ClipboardSpyMethod_v2_22", s.clipboardSpyMethod, -1},
      {"Hotkey_Doubled", s.hotkeyDoubled, 1},
      {"ClipboardHistoryMax", s.clipboardHistoryMax, 77},
      {"DaysCheckForUpdates", s.daysCheckForUpdates, 12},
      {"DelayAutoLoadSeconds_NextRelease", static_cast<long>(s.delayAutoLoadSeconds), 45},
      {"TextPasteMethod_v150", s.textPasteMethod, 2},
      {"AddLastUsedMenuToBegin_Count", s.addLastUsedMenuToBeginCount, 4},
      {"ClipboardFormats2", s.clipboardFormats[2], 1},
      {"ExtMenuCommand__SaveSelAsPhrase", s.extMenuCommand[1], 0},
      {"Hotkey key", s.hotkey.key, 'Q'},
      {"Hotkey modifiers", s.hotkey.modifiers, MOD_SHIFT},
      {"WriteLog", s.writeLog, 1},
  };
  for (const auto& f : fields) EXPECT_EQ(f.actual, f.expected) << f.name;
}

TEST_F(SettingsStoreTest, ConstructorDefaultsFollowTheSystem) {
  CQLRSettings s;
  const struct {
    const char* name;
    long actual;
    long expected;
  } fields[] = {
      {"DaysCheckForUpdates", s.daysCheckForUpdates, 7},
      {"ClipboardSpyMethod", s.clipboardSpyMethod, -1},
      {"AddLastUsedMenuToBegin_Count", s.addLastUsedMenuToBeginCount, 3},
      {"ClipboardFormats0..4", s.clipboardFormats[0] * 10000 + s.clipboardFormats[1] * 1000 +
                                   s.clipboardFormats[2] * 100 + s.clipboardFormats[3] * 10 +
                                   s.clipboardFormats[4],
       11011},
      {"Hotkey", s.hotkey.Packed(), 0x0003000D},
      {"ClipboardHistoryMax", s.clipboardHistoryMax, 30},
      {"DelayAutoLoadSeconds", static_cast<long>(s.delayAutoLoadSeconds), 30},
      {"MaxHistoryItemsInMenu", s.maxHistoryItemsInMenu, 15},
      {"InsertEncodeCommandIntoMenu", s.insertEncodeCommandIntoMenu,
       GetKeyboardLayoutList(0, nullptr) > 1 ? 1 : 0},
  };
  for (const auto& f : fields) EXPECT_EQ(f.actual, f.expected) << f.name;

  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  EXPECT_EQ(memcmp(&s.fontForMenu, &ncm.lfMenuFont, sizeof(LOGFONTW)), 0);
  EXPECT_EQ(sizeof(s.fontForMenu), 92u);
}

TEST_F(SettingsStoreTest, DefaultLanguageMatchesTheDefaultInputLanguage) {
  HKL layout = nullptr;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETDEFAULTINPUTLANG, 0, &layout, 0));
  wchar_t iso[100] = {};
  ASSERT_GT(GetLocaleInfoW(MAKELCID(LOWORD(reinterpret_cast<ULONG_PTR>(layout)), SORT_DEFAULT),
                           LOCALE_SISO639LANGNAME, iso, 99), 0);
  std::wstring asked;
  SetLanguageFileFinder([&](const std::wstring& name) {
    asked = name;
    return std::wstring(L"Found.lng");
  });
  CQLRSettings s;
  SetLanguageFileFinder(nullptr);
  EXPECT_EQ(asked, std::wstring(iso).substr(0, 2));
  EXPECT_EQ(s.GetLanguage(), L"Found.lng");
  EXPECT_EQ(CQLRSettings().GetLanguage(), L"") << "without language files, the built-in language";
}

TEST_F(SettingsStoreTest, HotkeyIsOnePackedInt) {
  WriteProgramIni(L"Hotkey=196621\r\n");
  CQLRSettings s;
  s.Load();
  EXPECT_EQ(s.hotkey.key, VK_RETURN);
  EXPECT_EQ(s.hotkey.modifiers, MOD_ALT | MOD_CONTROL);

  WriteProgramIni(L"Hotkey=" + std::to_wstring(MAKELONG(VK_F9, MOD_WIN | MOD_SHIFT)) + L"\r\n");
  s.Load();
  EXPECT_EQ(s.hotkey.key, VK_F9);
  EXPECT_EQ(s.hotkey.modifiers, MOD_WIN | MOD_SHIFT);
}

TEST_F(SettingsStoreTest, NewVersionFlagComesFromTheStoredVersion) {
  const struct {
    const wchar_t* programFile;  // null: no file beside the program
    const wchar_t* userFile;     // null: no per-user file
    bool expected;
  } cases[] = {
      {nullptr, nullptr, true},
      {L"[Settings]\r\nQLRVersion=QLR_150\r\n", nullptr, false},
      {L"[Settings]\r\nQLRVersion=qlr_150\r\n", nullptr, false},
      {L"[Settings]\r\nQLRVersion=QLR_149\r\n", nullptr, true},
      {L"[Settings]\r\n", L"[Settings]\r\nQLRVersion=QLR_150\r\n", false},
      {L"[Settings]\r\nQLRVersion=QLR_140\r\n", L"[Settings]\r\nQLRVersion=QLR_150\r\n", true},
      {nullptr, L"[Settings]\r\n", true},
  };
  for (const auto& c : cases) {
    DeleteFileW(ProgramIni().c_str());
    DeleteFileW(UserIni().c_str());
    CreateDirectoryW(UserFolder().c_str(), nullptr);
    if (c.programFile) {
      ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), c.programFile));
    }
    if (c.userFile) {
      ASSERT_TRUE(qlrtest::WriteUtf16File(UserIni(), c.userFile));
    }
    CQLRTraySettings s;
    EXPECT_EQ(s.IsNewVersion(), c.expected)
        << (c.programFile ? "program file" : "-") << " " << (c.userFile ? "user file" : "-");
  }
}

TEST_F(SettingsStoreTest, PhrasesFolderIsStoredRelativeAndDefaultAsEmpty) {
  const std::wstring app = program.Path() + L"\\";
  SetEnvironmentVariableW(L"QLR_TEST_PHRASES", L"D:\\Shared");
  const struct {
    std::wstring stored;        // value in the file
    std::wstring loaded;        // field after load
    std::wstring folder;        // GetPhrasesDirectory
    std::wstring saved;         // value after save
  } cases[] = {
      {L"", L"", app + L"UserPhrases\\", L""},
      {app + L"UserPhrases", L"", app + L"UserPhrases\\", L""},
      {app + L"USERPHRASES\\", L"", app + L"UserPhrases\\", L""},
      {L"Mine", L"Mine\\", app + L"Mine\\", L"Mine"},
      {app + L"Team\\Sub", app + L"Team\\Sub\\", app + L"Team\\Sub\\", L"Team\\Sub"},
      {L"E:\\Phrases\\\\", L"E:\\Phrases\\\\", L"E:\\Phrases\\\\", L"E:\\Phrases"},
      {L"%QLR_TEST_PHRASES%\\P", L"%QLR_TEST_PHRASES%\\P\\", L"D:\\Shared\\P\\",
       L"%QLR_TEST_PHRASES%\\P"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(qlrtest::ToUtf8(c.stored));
    DeleteFileW(ProgramIni().c_str());
    WriteProgramIni(L"PhrasesDirectory=" + c.stored + L"\r\n");
    CQLRSettings s;
    s.Load();
    EXPECT_EQ(s.GetStoredPhrasesDirectory(), c.loaded);
    EXPECT_EQ(s.IsPhrasesDirectoryDefault(), c.loaded.empty());
    EXPECT_EQ(s.GetPhrasesDirectory(), c.folder);
    std::wstring noSlash = c.folder;
    while (!noSlash.empty() && noSlash.back() == L'\\') noSlash.pop_back();
    EXPECT_EQ(s.GetPhrasesDirectoryNoSlash(), noSlash);
    s.Save();
    wchar_t saved[300] = {};
    GetPrivateProfileStringW(L"Settings", L"PhrasesDirectory", L"?", saved, 300, ProgramIni().c_str());
    EXPECT_EQ(std::wstring(saved), c.saved);
  }
  SetEnvironmentVariableW(L"QLR_TEST_PHRASES", nullptr);
}

TEST_F(SettingsStoreTest, AccessorsClampAndReset) {
  CQLRSettings s;
  const struct {
    int set;
    int stored;
  } days[] = {{45, 30}, {0, 1}, {30, 30}, {1, 1}, {14, 14}};
  for (const auto& d : days) {
    s.SetDaysCheckForUpdates(d.set);
    EXPECT_EQ(s.daysCheckForUpdates, d.stored) << d.set;
    EXPECT_EQ(s.GetDaysCheckForUpdates(), d.stored) << d.set;
  }
  const struct {
    int field;
    int get;
  } read[] = {{0, 1}, {31, 30}, {99, 30}, {7, 7}};
  for (const auto& r : read) {
    s.daysCheckForUpdates = r.field;
    EXPECT_EQ(s.GetDaysCheckForUpdates(), r.get) << r.field;
    EXPECT_EQ(s.daysCheckForUpdates, r.field);
  }

  s.addLastUsedMenuToBeginCount = 9;
  EXPECT_EQ(s.GetAddLastUsedMenuToBeginCount(), 3);
  EXPECT_EQ(s.addLastUsedMenuToBeginCount, 3);
  s.SetAddLastUsedMenuToBeginCount(0);
  EXPECT_EQ(s.addLastUsedMenuToBeginCount, 3);
  s.SetAddLastUsedMenuToBeginCount(5);
  EXPECT_EQ(s.GetAddLastUsedMenuToBeginCount(), 5);

  s.maxHistoryItemsInMenu = 0;
  EXPECT_FALSE(s.HasMaxHistoryItemsInMenu());
  EXPECT_EQ(s.GetMaxHistoryItemsInMenu(), -1);
  s.SetMaxHistoryItemsInMenuEnabled(true);
  EXPECT_EQ(s.GetMaxHistoryItemsInMenu(), 15);
  s.SetMaxHistoryItemsInMenuEnabled(false);
  EXPECT_EQ(s.maxHistoryItemsInMenu, 0);

  const struct {
    const wchar_t* given;
    const wchar_t* kept;
  } languages[] = {
      {L"German.lng", L"German.lng"},
      {L"C:\\Lang\\German.lng", L"German.lng"},
      {L"\\German.lng", L"\\German.lng"},  // a backslash only in front is kept
      {L"", L""},
  };
  for (const auto& l : languages) {
    s.SetLanguage(l.given);
    EXPECT_EQ(s.GetLanguage(), l.kept);
  }

  bool listener = GetProcAddress(GetModuleHandleW(L"user32.dll"), "AddClipboardFormatListener");
  const struct {
    int stored;
    int effective;
  } spy[] = {{-1, listener ? 1 : 0}, {0, 0}, {1, 1}};
  for (const auto& m : spy) {
    s.clipboardSpyMethod = m.stored;
    EXPECT_EQ(s.GetClipboardSpyMethod(), m.stored);
    EXPECT_EQ(s.GetEffectiveClipboardSpyMethod(), m.effective);
  }
}

TEST_F(SettingsStoreTest, LanguageFilePathFollowsTheFileInUse) {
  CQLRSettings s;
  s.SetLanguage(L"Deutsch.lng");
  WriteProgramIni(L"Language=French.lng\r\n");
  EXPECT_EQ(s.GetLanguageFilePath(), program.File(L"French.lng"));
  EXPECT_EQ(s.GetLanguage(), L"French.lng");
  // Without the key the language read at load stays.
  WriteProgramIni(L"WriteLog=1\r\n");
  EXPECT_EQ(s.GetLanguageFilePath(), program.File(L"French.lng"));
  s.SetLanguage(L"");
  EXPECT_EQ(s.GetLanguageFilePath(), program.File(L"LocalizeExample.lng"));
  // A program in a Release folder finds its languages where the language
  // list looks: one level up.
  SetSettingsFolders(program.File(L"Release"), profile.Path());
  s.SetLanguage(L"French.lng");
  EXPECT_EQ(s.GetLanguageFilePath(), program.File(L"French.lng"));
}

TEST_F(SettingsStoreTest, ProcessWideObjectLoadsOnFirstUse) {
  WriteProgramIni(L"PrintLTChars=321\r\nClipboardHistoryMax=12\r\n");
  CQLRTraySettings& first = GetSettings();
  EXPECT_EQ(first.printLTChars, 321u);
  EXPECT_EQ(first.clipboardHistoryMax, 12);
  // Later calls hand out the same object without loading again.
  first.clipboardHistoryMax = 99;
  EXPECT_EQ(&GetSettings(), &first);
  EXPECT_EQ(GetSettings().clipboardHistoryMax, 99);
}

// A store with a key of its own, as the editor's is.
class ExtendedSettings : public CQLRSettings {
 public:
  int recentCount = 0;

 protected:
  void LoadOwnKeys(const std::wstring& iniPath) override {
    recentCount = GetPrivateProfileIntW(L"Settings_Editor", L"PrevFoldersCount", 0, iniPath.c_str());
  }
  void SaveOwnKeys(const std::wstring& iniPath) override {
    WritePrivateProfileStringW(L"Settings_Editor", L"PrevFoldersCount",
                               std::to_wstring(recentCount).c_str(), iniPath.c_str());
  }
};

TEST_F(SettingsStoreTest, DerivedStoresAddTheirKeysAfterTheSharedOnes) {
  ExtendedSettings out;
  out.recentCount = 4;
  out.Save();
  std::wstring text = qlrtest::ReadUtf16File(ProgramIni());
  size_t own = text.find(L"[Settings_Editor]");
  ASSERT_NE(own, std::wstring::npos);
  EXPECT_GT(own, text.find(L"ExtMenuCommand__SUPPORT"));
  ExtendedSettings in;
  in.Load();
  EXPECT_EQ(in.recentCount, 4);
}

}  // namespace

TEST_F(SettingsStoreTest, CurrentLangPrefixComesFromTheLanguageFile) {
  CQLRTraySettings& settings = GetSettings();
  settings.SetLanguage(L"");
  WriteProgramIni(L"WriteLog=1\r\n");
  EXPECT_EQ(GetCurrentLangPrefix(), L"");
  EXPECT_EQ(GetInterfaceLanguageCode(), L"");

  // A bare file name lies in the program folder; blanks around the
  // prefix go.
  WritePrivateProfileStringW(L"Main", L"LangPrefix", L"  UK ", program.File(L"Ukr.lng").c_str());
  WriteProgramIni(L"Language=Ukr.lng\r\n");
  EXPECT_EQ(GetCurrentLangPrefix(), L"UK");
  EXPECT_EQ(GetInterfaceLanguageCode(), L"UK");

  // A path with a folder is taken as it is; a file without the key gives
  // no prefix.
  qlrtest::TempDir other;
  WritePrivateProfileStringW(L"Main", L"LangPrefix", L"DE", other.File(L"de.lng").c_str());
  WriteProgramIni(L"Language=" + other.File(L"de.lng") + L"\r\n");
  EXPECT_EQ(GetCurrentLangPrefix(), L"DE");
  WriteProgramIni(L"Language=Missing.lng\r\n");
  EXPECT_EQ(GetCurrentLangPrefix(), L"");
  settings.SetLanguage(L"");
}
