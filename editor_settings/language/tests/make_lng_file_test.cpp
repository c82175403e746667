// The template language file made from this test program (standing in for
// the editor's module) and the real tray and welcome programs in bin/,
// loaded as data files, with the message boxes answered by the test.
#include "editor_settings/language/make_lng_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "editor_settings/language/language_tools_names.h"
#include "editor_settings/language/lng_file_maker.h"
#include "editor_settings/language/tests/lng_template_run.h"
#include "editor_settings/language/welcome_page_extract.h"
#include "foundation/files/ini.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_section_batch.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/shell_open.h"
#include "tests/support/test_support.h"

namespace {

using lngtest::Answer;
using lngtest::MakeTemplate;
using lngtest::TemplateRun;

constexpr wchar_t kMissing[] = L"<missing>";

std::wstring Read(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  std::wstring value;
  ReadLngValue(file, section, key, kMissing, 4096, &value);
  return value;
}

std::string ResourceBytes(const std::wstring& module, WORD id, WORD type) {
  HMODULE m = LoadLibraryExW(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!m) return std::string();
  std::string bytes;
  if (HRSRC info = FindResourceW(m, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type))) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(m, info)));
    if (data) bytes.assign(data, SizeofResource(m, info));
  }
  FreeLibrary(m);
  return bytes;
}

std::wstring ExistsQuestion(const std::wstring& path) {
  CLngString question;
  question.LoadString(kIdsLngFileExists);
  return path + L"\n\n" + question.Text();
}

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void ExpectCleanRun(const TemplateRun& run) {
  EXPECT_TRUE(run.unanswered.empty()) << (run.unanswered.empty() ? "" : qlrtest::ToUtf8(run.unanswered[0]));
  EXPECT_TRUE(run.missed.empty()) << (run.missed.empty() ? "" : qlrtest::ToUtf8(run.missed[0]));
}

class MakeLngFileTest : public ::testing::Test {
 protected:
  void TearDown() override { SetLngRecyclerForTests(nullptr); }

  qlrtest::TempDir dir;
  LngTemplateSources sources;  // this program and the programs in bin/
  std::wstring lng = dir.File(L"Template.lng");
};

TEST_F(MakeLngFileTest, NewTemplateHoldsTheThreeProgramsAndThePage) {
  const auto started = std::chrono::steady_clock::now();
  TemplateRun run = MakeTemplate(lng, sources);
  printf("template: %lld ms\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                          std::chrono::steady_clock::now() - started).count()));
  ExpectCleanRun(run);
  ASSERT_EQ(run.result, kMakeLngDone);

  const std::string bytes = qlrtest::ReadBytes(lng);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4));

  EXPECT_EQ(Read(lng, L"Main", L"TIP"), kLngTipText);
  EXPECT_EQ(Read(lng, L"Main", L"LangPrefix"), kLngPrefixTip);
  EXPECT_EQ(Read(lng, L"Main", L"Author"), kLngAuthorTip);
  EXPECT_EQ(Read(lng, L"Main", L"LangLocalized"), kLngLocalizedTip);

  // The editor's texts, without the template string and the indicators.
  for (UINT id = kEditorIndicatorFirst; id <= kEditorIndicatorLast; ++id)
    EXPECT_EQ(Read(lng, L"Strings_Editor", std::to_wstring(id).c_str()), kMissing) << id;
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"128"), kMissing);
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"129"), L"Editor string beside the template string");
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"59143"), L"Editor string beside the indicators");
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"400"), L"Tab\\there");
  EXPECT_NE(Read(lng, L"Strings_Editor", L"184"), kMissing);
  EXPECT_EQ(Read(lng, L"Menu_Editor", L"Make_Lng-File"), L"Make Lng-File\u2026");
  EXPECT_EQ(Read(lng, L"Menu_Editor", L"File"), L"File");
  EXPECT_EQ(Read(lng, L"Dialog_Editor_310", L"3101"), L"Editor label");
  EXPECT_EQ(Read(lng, L"Dialog_Editor_310", L"3102"), kMissing) << "edit controls keep the user's text";

  // The other two programs, loaded as data files.
  EXPECT_FALSE(ReadLngSection(lng, L"Strings_Client").empty());
  EXPECT_FALSE(ReadLngSection(lng, L"Menu_Client").empty());
  EXPECT_EQ(Read(lng, L"Strings_Welcome", L"57346"), L"Welcome to Quillora");
  EXPECT_EQ(Read(lng, L"Dialog_Welcome_129", L"1000"), L"Select Your Language:");
  // Dialogs go under the sections the tray program's localisers read.
  EXPECT_EQ(Read(lng, L"Dialog_About_100", L"1"), L"OK");
  EXPECT_EQ(Read(lng, L"Dialog_Prompt_220", L"1"), L"OK");
  EXPECT_TRUE(ReadLngSection(lng, L"Dialog_Client_100").empty());
  EXPECT_TRUE(ReadLngSection(lng, L"Dialog_Client_220").empty());

  // The page, byte for byte.
  EXPECT_EQ(run.page, dir.File(L"welcome.html"));
  const std::string page = qlrtest::ReadBytes(dir.File(L"welcome.html"));
  EXPECT_EQ(page.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(page, ResourceBytes(qlrtest::BinFile(kWelcomeModuleName), kWelcomePageResource, kHtmlResourceType));
}

TEST_F(MakeLngFileTest, TheEditorProgramServesAsData) {
  sources.editorModule =
      LoadLibraryExW(qlrtest::BinFile(L"QuilloraEditor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(sources.editorModule, nullptr);
  TemplateRun run = MakeTemplate(lng, sources);
  FreeLibrary(sources.editorModule);
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"32833"), L"Choose folder with user phrases");
  // The settings page and the language bar under the sections the editor reads.
  EXPECT_EQ(Read(lng, L"Dialog_130", L"1011"), L"Enable sounds");
  EXPECT_TRUE(ReadLngSection(lng, L"Dialog_Editor_130").empty());
  EXPECT_TRUE(ReadLngSection(lng, L"Dialog_Editor_128").empty());
  EXPECT_NE(Read(lng, L"Strings_Editor", L"184"), kMissing);
  // This program's own texts are not the editor's.
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"59143"), kMissing);
}

TEST_F(MakeLngFileTest, YesKeepsTranslationsAndAddsNumberedPages) {
  ASSERT_EQ(MakeTemplate(lng, sources).result, kMakeLngDone);
  // A translator's work: the prefix, one string, the tip edited away.
  ASSERT_TRUE(WriteLngValue(lng, L"Main", L"LangPrefix", L"De"));
  ASSERT_TRUE(WriteLngValue(lng, L"Main", L"TIP", L"old tip"));
  ASSERT_TRUE(WriteLngValue(lng, L"Strings_Welcome", L"57346", L"Willkommen"));
  // An entry the programs have lost is gathered again.
  ASSERT_TRUE(WritePrivateProfileStringW(L"Strings_Editor", L"129", nullptr, lng.c_str()));

  TemplateRun run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDYES}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_EQ(Read(lng, L"Main", L"LangPrefix"), L"De");
  EXPECT_EQ(Read(lng, L"Main", L"TIP"), kLngTipText);
  EXPECT_EQ(Read(lng, L"Strings_Welcome", L"57346"), L"Willkommen");
  EXPECT_EQ(Read(lng, L"Strings_Editor", L"129"), L"Editor string beside the template string");
  EXPECT_EQ(run.page, dir.File(L"Welcome_2.html"));

  run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDYES}});
  EXPECT_EQ(run.page, dir.File(L"Welcome_3.html"));
  EXPECT_TRUE(Exists(dir.File(L"welcome.html")));
}

TEST_F(MakeLngFileTest, HeaderKeysAreFoundInAnyCaseAndBeyondALongSection) {
  // A [Main] far longer than one section read, with the keys at its end in
  // other letter case.
  std::wstring text = L"[Main]\r\n";
  for (int i = 0; i < 2000; ++i) text += L"Note" + std::to_wstring(i) + L"=" + std::wstring(60, L'x') + L"\r\n";
  text += L"langprefix=De\r\nAUTHOR=Anna\r\nlanglocalized=Deutsch\r\n";
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, text));
  TemplateRun run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDYES}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_EQ(Read(lng, L"Main", L"LangPrefix"), L"De");
  EXPECT_EQ(Read(lng, L"Main", L"Author"), L"Anna");
  EXPECT_EQ(Read(lng, L"Main", L"LangLocalized"), L"Deutsch");
  EXPECT_EQ(Read(lng, L"Main", L"Note1999"), std::wstring(60, L'x'));
  const std::wstring written = qlrtest::ReadUtf16File(lng);
  EXPECT_EQ(written.find(L"THE TIP!!!"), std::wstring::npos) << "no tip beside a translated key";
}

TEST_F(MakeLngFileTest, NoSendsTheOldFileToTheTrashAndStartsAnew) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=De\r\n[Strings_Welcome]\r\n57346=Willkommen\r\n"));
  TemplateRun run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDNO}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_EQ(Read(lng, L"Main", L"LangPrefix"), kLngPrefixTip);
  EXPECT_EQ(Read(lng, L"Strings_Welcome", L"57346"), L"Welcome to Quillora");
  // The old file went to the trash of the home folder the test run set.
  wchar_t data[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH)) {
    std::wstring trash = std::wstring(L"Z:") + data + L"/Trash/files/";
    for (wchar_t& c : trash)
      if (c == L'/') c = L'\\';
    bool found = false;
    WIN32_FIND_DATAW fd = {};
    HANDLE find = FindFirstFileW((trash + L"Template*.lng").c_str(), &fd);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &fd))
      if (qlrtest::ReadUtf16File(trash + fd.cFileName).find(L"Willkommen") != std::wstring::npos) found = true;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    EXPECT_TRUE(found) << qlrtest::ToUtf8(trash);
  }
}

TEST_F(MakeLngFileTest, CancelAFailedMoveOrAnOversizedFileLeaveTheFileAsItWas) {
  const std::string old = "\xFF\xFE" + Utf16Bytes(L"[Main]\r\nx=y\r\n");
  ASSERT_TRUE(qlrtest::WriteBytes(lng, old));
  TemplateRun run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDCANCEL}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngCancelled);
  EXPECT_EQ(qlrtest::ReadBytes(lng), old);
  EXPECT_TRUE(run.page.empty());

  SetLngRecyclerForTests([](HWND, const std::wstring&) { return false; });
  wchar_t text[1024];
  swprintf(text, 1024, kRecycleFailedFormat, lng.c_str());
  run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDNO}, {text, IDOK}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngCancelled);
  EXPECT_EQ(qlrtest::ReadBytes(lng), old);
  // A move that reports success but leaves the file is no better.
  SetLngRecyclerForTests([](HWND, const std::wstring&) { return true; });
  run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDNO}, {text, IDOK}});
  ExpectCleanRun(run);
  EXPECT_EQ(qlrtest::ReadBytes(lng), old);
  EXPECT_FALSE(Exists(dir.File(L"welcome.html")));

  // A file past the size the programs read is read as empty: adding to it
  // is refused with a word, and it stays as it was.
  const std::string big = "\xFF\xFE" + Utf16Bytes(L"[Strings_Welcome]\r\n57346=Willkommen\r\n;" +
                                                   std::wstring(kMaxLngFileBytes / 2, L'x') + L"\r\n");
  ASSERT_TRUE(qlrtest::WriteBytes(lng, big));
  CLngString refusal;
  refusal.LoadString(kIdsLngFileTooLarge);
  ASSERT_NE(refusal.Text().find(L"768 KB"), std::wstring::npos);
  run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDYES}, {lng + L"\n\n" + refusal.Text(), IDOK}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngCancelled);
  EXPECT_TRUE(qlrtest::ReadBytes(lng) == big);
  EXPECT_FALSE(Exists(dir.File(L"welcome.html")));
}

TEST_F(MakeLngFileTest, MissingOrBrokenProgramsAreReportedOnceEach) {
  qlrtest::TempDir programs;
  sources.programFolder = programs.Path();
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(kWelcomeModuleName), programs.File(kWelcomeModuleName)));
  const std::wstring agent = programs.File(kAgentModuleName);
  TemplateRun run = MakeTemplate(lng, sources, {{L"Cannot find agent module by path\n" + agent, IDOK}});
  ExpectCleanRun(run);
  // The box told of the missing program; the file holds the others' texts
  // and is made.
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_TRUE(ReadLngSection(lng, L"Strings_Client").empty());
  EXPECT_EQ(Read(lng, L"Strings_Welcome", L"57346"), L"Welcome to Quillora");
  EXPECT_EQ(run.page, dir.File(L"welcome.html"));

  // A cut program file is no program; neither is a missing one.
  ASSERT_TRUE(DeleteFileW(lng.c_str()));
  const std::string exe = qlrtest::ReadBytes(qlrtest::BinFile(kAgentModuleName));
  ASSERT_TRUE(qlrtest::WriteBytes(agent, exe.substr(0, 1024)));
  ASSERT_TRUE(DeleteFileW(programs.File(kWelcomeModuleName).c_str()));
  run = MakeTemplate(lng, sources,
                     {{L"Cannot find agent module by path\n" + agent, IDOK},
                      {L"Cannot find Welcome-module by path\n" + programs.File(kWelcomeModuleName), IDOK}});
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_TRUE(run.page.empty());
  EXPECT_TRUE(ReadLngSection(lng, L"Strings_Welcome").empty());
  EXPECT_FALSE(ReadLngSection(lng, L"Strings_Editor").empty());

  // A collector whose writes fail says so; one that wrote everything too.
  CLngFileMaker nowhere(dir.File(L"missing\\Template.lng"), kLngSuffixEditor, nullptr);
  EXPECT_FALSE(nowhere.Write());
  CLngFileMaker again(lng, kLngSuffixEditor, nullptr);
  EXPECT_TRUE(again.Write());
}

TEST_F(MakeLngFileTest, OddTargets) {
  // A folder with the target's name: no question, no file, no page.
  ASSERT_TRUE(CreateDirectoryW(lng.c_str(), nullptr));
  TemplateRun run = MakeTemplate(lng, sources);
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngFailed);
  EXPECT_TRUE(run.page.empty());
  EXPECT_FALSE(Exists(dir.File(L"welcome.html")));

  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", std::string()},
      {"utf8", "[Strings_Welcome]\r\n57346=Willkommen\r\n"},
      {"bom32", std::string("\xFF\xFE\0\0", 4) + Utf16Bytes(L"[Strings_Welcome]\r\n57346=Willkommen\r\n")},
  };
  for (const Case& c : cases) {
    const std::wstring path = dir.File(std::wstring(L"odd_") + qlrtest::FromUtf8(c.name) + L".lng");
    ASSERT_TRUE(qlrtest::WriteBytes(path, c.bytes));
    run = MakeTemplate(path, sources, {{ExistsQuestion(path), IDYES}});
    ExpectCleanRun(run);
    EXPECT_EQ(run.result, kMakeLngDone) << c.name;
    EXPECT_EQ(Read(path, L"Main", L"TIP"), kLngTipText) << c.name;
    EXPECT_EQ(Read(path, L"Strings_Welcome", L"57346"), c.bytes.empty() ? L"Welcome to Quillora" : L"Willkommen")
        << c.name << qlrtest::ToUtf8(qlrtest::ReadUtf16File(path)).substr(0, 300);
    EXPECT_EQ(Read(path, L"Dialog_Welcome_129", L"1000"), L"Select Your Language:") << c.name;
    if (c.bytes.empty()) {
      EXPECT_EQ(qlrtest::ReadBytes(path).substr(0, 2), "\xFF\xFE") << "an empty file becomes UTF-16";
    }
  }
}

TEST_F(MakeLngFileTest, ReadOnlyTargetKeepsItsTranslation) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Strings_Welcome]\r\n57346=Willkommen\r\n"));
  ASSERT_TRUE(SetFileAttributesW(lng.c_str(), FILE_ATTRIBUTE_READONLY));
  TemplateRun run = MakeTemplate(lng, sources, {{ExistsQuestion(lng), IDYES}});
  ExpectCleanRun(run);
  // Where the system refuses the write the caller hears of it; where it
  // does not (Wine as root), the file is completed.
  if (run.result == kMakeLngDone) {
    EXPECT_EQ(Read(lng, L"Main", L"TIP"), kLngTipText);
  } else {
    EXPECT_EQ(run.result, kMakeLngFailed);
  }
  EXPECT_EQ(Read(lng, L"Strings_Welcome", L"57346"), L"Willkommen");
  EXPECT_TRUE(GetFileAttributesW(lng.c_str()) & FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(lng.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The 32-bit deliverables, as the test build opens them: data files of the
// other architecture.
TEST_F(MakeLngFileTest, ThirtyTwoBitProgramsServeAsData) {
  const std::wstring x86 = qlrtest::BinDir() + L"\\..\\..\\x86\\bin\\";
  if (!Exists(x86 + kAgentModuleName) || !Exists(x86 + kWelcomeModuleName))
    GTEST_SKIP() << "no 32-bit build beside this one";
  qlrtest::TempDir programs;
  sources.programFolder = programs.Path();
  for (const wchar_t* f : {kAgentModuleName, kWelcomeModuleName})
    ASSERT_TRUE(qlrtest::CopyFileTo(x86 + f, programs.File(f)));
  TemplateRun run = MakeTemplate(lng, sources);
  ExpectCleanRun(run);
  EXPECT_EQ(run.result, kMakeLngDone);
  EXPECT_FALSE(ReadLngSection(lng, L"Strings_Client").empty());
  EXPECT_EQ(Read(lng, L"Strings_Welcome", L"57346"), L"Welcome to Quillora");
  EXPECT_EQ(Read(lng, L"Dialog_Welcome_129", L"1000"), L"Select Your Language:");
  EXPECT_EQ(qlrtest::ReadBytes(run.page),
            ResourceBytes(programs.File(kWelcomeModuleName), kWelcomePageResource, kHtmlResourceType));
}

TEST(WelcomePageTest, NamesAndFailures) {
  qlrtest::TempDir dir;
  EXPECT_EQ(MakeWelcomePagePath(dir.Path()), dir.File(L"welcome.html"));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"welcome.html"), "x"));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"Welcome_2.html").c_str(), nullptr));
  EXPECT_EQ(MakeWelcomePagePath(dir.Path() + L"\\"), dir.File(L"Welcome_3.html"));

  HMODULE welcome = LoadLibraryExW(qlrtest::BinFile(kWelcomeModuleName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HMODULE agent = LoadLibraryExW(qlrtest::BinFile(kAgentModuleName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(welcome && agent);
  EXPECT_EQ(ExtractWelcomePage(welcome, dir.File(L"x.lng")), dir.File(L"Welcome_3.html"));
  // No page resource, or no folder to write into: no page and no file.
  EXPECT_EQ(ExtractWelcomePage(agent, dir.File(L"y.lng")), L"");
  EXPECT_FALSE(Exists(dir.File(L"Welcome_4.html")));
  EXPECT_EQ(ExtractWelcomePage(welcome, dir.File(L"missing\\z.lng")), L"");
  EXPECT_FALSE(Exists(dir.File(L"missing")));
  FreeLibrary(welcome);
  FreeLibrary(agent);
}

TEST(NotepadTest, OpensThroughTheShellDoor) {
  static std::wstring seen;
  SetShellOpenHookForTests([](HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                              const wchar_t* folder, int show) -> INT_PTR {
    seen = std::wstring(verb) + L"|" + file + L"|" + parameters + L"|" + folder + L"|" + std::to_wstring(show);
    return show == SW_SHOW ? 42 : 2;
  });
  EXPECT_TRUE(OpenInNotepad(L"C:\\Lang\\De.lng", nullptr));
  EXPECT_EQ(seen, L"open|notepad.exe|C:\\Lang\\De.lng|C:\\Lang|" + std::to_wstring(SW_SHOW));
  SetShellOpenHookForTests([](HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) -> INT_PTR {
    return 32;
  });
  EXPECT_FALSE(OpenInNotepad(L"C:\\Lang\\De.lng", nullptr)) << "32 is a failure";
  SetShellOpenHookForTests(nullptr);
}

}  // namespace
