// Bad phrase files: random and mutated content must be skipped (or read)
// without a crash, and never cost a good neighbour its place in the tree.
#include <gtest/gtest.h>

#include <random>

#include "foundation/logging/log.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_store.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/support/test_support.h"

namespace {

// A few valid files to mutate, written by the real writer.
std::vector<std::string> Seeds() {
  std::vector<std::string> seeds;
  CPhraseNode a = phrasetest::MakePhrase(L"Привет \U0001F600", L"line\r\n\ttab <b>&amp;</b>", 3);
  a.SetHint(L"hint 'q' \"dq\"");
  a.lastUse = {2024, 2, 0, 29, 23, 59, 59, 0};
  a.usageCount = 12;
  seeds.push_back(PhraseNodeToXml(a));
  CPhraseNode b = phrasetest::MakePhrase(L"blank", L"   ", 1, false);
  b.DataType = kDataTypeRtf;
  seeds.push_back(PhraseNodeToXml(b));
  CPhraseNode folder;
  folder.MakeFolder();
  seeds.push_back(PhraseNodeToXml(folder));
  return seeds;
}

std::string Mutate(std::string text, std::mt19937& rng) {
  auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(rng() % n); };
  static const char* const kTokens[] = {"<", ">", "</", "/>", "&", "&#x", "&#xFFFFFF;", "&#0;", "\"",
                                        "<![CDATA[", "]]>", "<!--", "-->", "<?xml", "\xC3", "\xFF\xFE",
                                        "<MenuName>", "</MenuName>", "<QLRCommand>", "=", "\r\n", "\0"};
  int steps = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < steps; ++i) {
    switch (rng() % 7) {
      case 0:  // truncate
        text.resize(pick(text.size() + 1));
        break;
      case 1:  // flip bytes
        for (int k = 0; k < 4 && !text.empty(); ++k) text[pick(text.size())] ^= static_cast<char>(1 + rng() % 255);
        break;
      case 2:  // insert a token
        text.insert(pick(text.size() + 1), kTokens[rng() % (sizeof(kTokens) / sizeof(kTokens[0]))]);
        break;
      case 3: {  // delete a range
        size_t at = pick(text.size() + 1);
        text.erase(at, pick(40));
        break;
      }
      case 4: {  // duplicate a range
        size_t at = pick(text.size() + 1);
        std::string part = text.substr(at, pick(60));
        text.insert(pick(text.size() + 1), part);
        break;
      }
      case 5: {  // random bytes
        std::string noise(pick(64), '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        text.insert(pick(text.size() + 1), noise);
        break;
      }
      default: {  // as UTF-16, the encoding the other files of the suite use
        std::string wide;
        for (char c : text) {
          wide += c;
          wide += '\0';
        }
        text = "\xFF\xFE" + wide;
        break;
      }
    }
  }
  return text;
}

TEST(PhraseFileFuzzTest, ThousandsOfBrokenFilesNeverCrashTheReader) {
  qlrtest::TempDir dir;
  std::mt19937 rng(20240229);
  std::vector<std::string> seeds = Seeds();
  int read = 0;
  const std::wstring path = dir.File(L"fuzz.quillora");
  for (int i = 0; i < 4000; ++i) {
    std::string content = i % 5 == 4 ? std::string(rng() % 300, '\0') : Mutate(seeds[i % seeds.size()], rng);
    if (i % 5 == 4)
      for (char& c : content) c = static_cast<char>(rng());
    CPhraseNode node;
    // Half go through a real file, half straight from memory.
    bool ok = i % 2 ? ReadPhraseXml(node, content.c_str())
                    : (qlrtest::WriteBytes(path, content) && ReadPhraseFile(node, path));
    if (!ok) continue;
    ++read;
    EXPECT_LE(wcslen(node.caption), 60u);
    EXPECT_LE(wcslen(node.tooltip), 512u);
    EXPECT_LE(node.DataType, 2u);
    EXPECT_GE(node.usageCount, 0);
  }
  // Light damage leaves many files readable: the mutations do reach the parser.
  EXPECT_GT(read, 100);
}

TEST(PhraseFileFuzzTest, HostileShapesAreRefusedOrCut) {
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n";
  std::string deep = head + "<QLRCommand><MenuName>x</MenuName>";
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  std::string hugeCaption = head + "<QLRCommand><MenuName>" + std::string(200000, 'M') +
                            "</MenuName><Cmd>" + std::string(5 * 1024 * 1024, 'c') +
                            "</Cmd><Hint>" + std::string(100000, 'h') + "</Hint></QLRCommand>";
  std::string latin1 = head + "<QLRCommand><MenuName>Gr\xFC\xDF" "e</MenuName></QLRCommand>";
  std::string attrs = head + "<QLRCommand UsageCount=\"99999999999999\" SortID=\"--\" FlagsMenu=\"0x10\" "
                             "DateUsage=\"2024|99|99|99|99|99\"><MenuName>a</MenuName></QLRCommand>";

  CPhraseNode node;
  EXPECT_FALSE(ReadPhraseXml(node, deep.c_str()));

  CPhraseNode big;
  ASSERT_TRUE(ReadPhraseXml(big, hugeCaption.c_str()));
  EXPECT_EQ(std::wstring(big.caption), std::wstring(60, L'M'));
  EXPECT_EQ(std::wstring(big.tooltip), std::wstring(512, L'h'));
  EXPECT_EQ(big.data.size(), 5u * 1024 * 1024);

  // Not UTF-8: read, with the bad bytes replaced rather than trusted.
  CPhraseNode latin;
  ASSERT_TRUE(ReadPhraseXml(latin, latin1.c_str()));
  EXPECT_EQ(std::wstring(latin.caption).substr(0, 2), L"Gr");
  EXPECT_EQ(std::wstring(latin.caption).back(), L'e');

  CPhraseNode odd;
  ASSERT_TRUE(ReadPhraseXml(odd, attrs.c_str()));
  EXPECT_FALSE(odd.GetDateUsage(nullptr));
  EXPECT_GE(odd.usageCount, 0);
}

TEST(PhraseFileFuzzTest, BrokenFilesAmongGoodOnesCostNoNeighbour) {
  qlrtest::TempDir dir;
  std::mt19937 rng(7);
  std::vector<std::string> seeds = Seeds();
  for (int i = 0; i < 40; ++i) {
    std::wstring n = std::to_wstring(i);
    CPhraseNode good = phrasetest::MakePhrase(L"good" + n, L"data" + n, i);
    ASSERT_TRUE(SavePhraseToFile(good, dir.File(L"good" + n + L".quillora")));
    std::string bad = Mutate(seeds[0], rng).substr(0, 50);  // cut short: never a phrase
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"bad" + n + L".quillora"), bad));
  }
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"empty.quillora"), ""));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"nocaption.quillora"), "<QLRCommand SortID=\"1\"/>"));

  qlrtest::TempDir logDir;
  const std::wstring logPath = logDir.File(L"LogReport.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  CPhraseStore store;
  store.Load(dir.Path(), 0);
  ASSERT_TRUE(TermLog());
  ASSERT_EQ(store.GetNodeCount(), 40);
  // Each skipped file is named in the log.
  const std::wstring log = qlrtest::ReadUtf16File(logPath);
  for (const wchar_t* name : {L"bad0.quillora", L"bad39.quillora", L"empty.quillora", L"nocaption.quillora"})
    EXPECT_NE(log.find(L"Phrase file skipped, it cannot be read: " + dir.File(name)), std::wstring::npos) << name;
  for (int i = 0; i < 40; ++i) {
    const CPhraseNode& node = store.Nodes()[i];  // sorted by their SortID
    EXPECT_EQ(std::wstring(node.caption), L"good" + std::to_wstring(i));
    EXPECT_EQ(node.data, L"data" + std::to_wstring(i));
  }
}

}  // namespace
