// The in-memory language files must answer exactly as the profile functions
// answer from the file, through random files, reads, own writes, writes by
// others that bypass the copy, and batches that write a localisation's keys
// together: a twin file takes every write one key at a time, and both must
// read alike.
#include "foundation/localization/lng_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_section_batch.h"
#include "tests/support/test_support.h"

namespace {

std::wstring ProfileRead(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
  wchar_t buf[300] = {};
  GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<none>", buf, 300, file.c_str());
  return buf;
}

std::wstring CachedRead(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
  std::wstring value;
  ReadLngValue(file, section, key, L"<none>", 300, &value);
  return value;
}

class Generator {
 public:
  explicit Generator(unsigned seed) : m_rng(seed) {}
  int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
  // Names differ in case and blanks only now and then, as in real files.
  std::wstring Name(const wchar_t* const* names, int count) {
    std::wstring name = names[Pick(count)];
    if (Pick(4) == 0) CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
    if (Pick(6) == 0) name = L" " + name + L"\t";
    return name;
  }
  std::wstring Value() {
    static const wchar_t* const kValues[] = {L"Kopieren",         L"",        L"  Öffnen  ", L"\"Zitat\"",
                                             L"'halb\"",          L"\"",      L"Ünïcödé ✓",  L"a=b=c",
                                             L"Speichern unter…", L"x\\ny"};
    std::wstring value = kValues[Pick(10)];
    if (Pick(3) == 0) value += std::to_wstring(Pick(1000));
    return value;
  }

 private:
  std::mt19937 m_rng;
};

const wchar_t* const kSections[] = {L"Menu_Client", L"Strings_Client", L"Main", L"Dialog_100", L"Ünicode"};
const wchar_t* const kKeys[] = {L"Copy", L"Save_As", L"130", L"LangPrefix", L"Ключ", L"Open_With", L"x"};

std::wstring RandomFile(Generator& gen) {
  std::wstring body;
  const int sections = 1 + gen.Pick(6);
  for (int s = 0; s < sections; ++s) {
    body += L"[" + gen.Name(kSections, 5) + L"]\r\n";
    const int lines = gen.Pick(8);
    for (int i = 0; i < lines; ++i) {
      switch (gen.Pick(8)) {
        case 0:
          body += L"; a comment\r\n";
          break;
        case 1:
          body += L"\r\n";
          break;
        default:
          body += gen.Name(kKeys, 7) + (gen.Pick(5) ? L" = " : L"=") + gen.Value() + L"\r\n";
      }
    }
  }
  return body;
}

TEST(LngCacheModelTest, AnswersAsTheProfileFunctionsThroughReadsAndWrites) {
  qlrtest::TempDir dir;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Generator gen(seed);
    const std::wstring file = dir.File(L"Lang" + std::to_wstring(seed % 3) + L".lng");
    const std::wstring twin = dir.File(L"Twin.lng");
    ClearLngCache();
    const std::wstring body = RandomFile(gen);
    ASSERT_TRUE(qlrtest::WriteUtf16File(file, body));
    ASSERT_TRUE(qlrtest::WriteUtf16File(twin, body));
    auto writeTwin = [&](const std::wstring& section, const std::wstring& key, const std::wstring& value) {
      return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), twin.c_str()) != FALSE;
    };
    int grow = 0;
    for (int step = 0; step < 60; ++step) {
      const std::wstring section = gen.Name(kSections, 5);
      const std::wstring key = gen.Name(kKeys, 7);
      switch (gen.Pick(6)) {
        case 0: {  // our own write
          const std::wstring value = gen.Value();
          ASSERT_TRUE(WriteLngValue(file, section, key, value));
          ASSERT_TRUE(writeTwin(section, key, value));
          break;
        }
        case 1: {  // another program's write; it changes the file's length
          const std::wstring value = L"fremd" + std::wstring(static_cast<size_t>(++grow) + 40, L'z');
          ASSERT_TRUE(WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()));
          ASSERT_TRUE(writeTwin(section, key, value));
          break;
        }
        case 2: {  // a batch of writes into one section, keys again and again
          CLngSectionBatch batch(file, section);
          const int count = 1 + gen.Pick(5);
          for (int i = 0; i < count; ++i) {
            const std::wstring batchKey = i == 0 ? key : gen.Name(kKeys, 7);
            const std::wstring value = gen.Value();
            batch.Put(batchKey, value);
            ASSERT_TRUE(writeTwin(section, batchKey, value));
          }
          ASSERT_GE(batch.Flush(), 0);
          break;
        }
        default:
          break;
      }
      const std::wstring readSection = gen.Name(kSections, 5);
      const std::wstring readKey = gen.Name(kKeys, 7);
      const std::wstring read = ProfileRead(file, readSection, readKey);
      ASSERT_EQ(CachedRead(file, readSection, readKey), read)
          << "seed " << seed << " step " << step << " [" << readSection << "] " << readKey << "\n"
          << qlrtest::ToUtf8(qlrtest::ReadUtf16File(file));
      ASSERT_EQ(read, ProfileRead(twin, readSection, readKey))
          << "seed " << seed << " step " << step << " [" << readSection << "] " << readKey << "\n"
          << qlrtest::ToUtf8(qlrtest::ReadUtf16File(file)) << "\n--- twin\n"
          << qlrtest::ToUtf8(qlrtest::ReadUtf16File(twin));
    }
    // Translators' comments survive the batches.
    auto comments = [](const std::wstring& path) {
      const std::wstring text = qlrtest::ReadUtf16File(path);
      size_t n = 0;
      for (size_t at = text.find(L"; a comment"); at != std::wstring::npos; at = text.find(L"; a comment", at + 1)) ++n;
      return n;
    };
    ASSERT_EQ(comments(file), comments(twin)) << "seed " << seed;
    // Every name reads alike in the end.
    for (const wchar_t* section : kSections)
      for (const wchar_t* key : kKeys)
        ASSERT_EQ(ProfileRead(file, section, key), ProfileRead(twin, section, key))
            << "seed " << seed << " [" << qlrtest::ToUtf8(section) << "] " << qlrtest::ToUtf8(key);
  }
  // A missing file answers with the default; a file made later is read.
  const std::wstring later = dir.File(L"Later.lng");
  EXPECT_EQ(CachedRead(later, L"Main", L"LangPrefix"), L"<none>");
  ASSERT_TRUE(qlrtest::WriteUtf16File(later, L"[Main]\r\nLangPrefix=De\r\n"));
  EXPECT_EQ(CachedRead(later, L"Main", L"LangPrefix"), L"De");
  // A value longer than the buffer is cut as the profile functions cut it.
  std::wstring cut;
  ReadLngValue(later, L"Main", L"LangPrefix", L"", 2, &cut);
  EXPECT_EQ(cut, L"D");
}

}  // namespace
