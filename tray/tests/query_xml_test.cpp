#include "tray/hook/query_xml.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "platform/coredll/query_facts.h"

namespace {

std::string Query(const std::string& inner, const std::string& attrs = "") {
  return "<?xml version=\"1.0\" ?>\r\n<LRQuery" + attrs + ">" + inner + "</LRQuery>";
}

CMenuRecord Command(const wchar_t* caption, unsigned id, const wchar_t* tip = L"") {
  CMenuRecord r;
  CMenuRecord::CopyText(r.caption, CMenuRecord::kCaptionChars, caption, wcslen(caption), 120);
  CMenuRecord::CopyText(r.tooltip, CMenuRecord::kTooltipChars, tip, wcslen(tip), 1024);
  r.CMDID = id;
  return r;
}

TEST(QueryXmlTest, KeyboardLayoutWordsAreSwapped) {
  const struct {
    std::string inner;
    std::uint32_t hkl;
  } cases[] = {
      {"<HKLLoword>1033</HKLLoword><HKLHoword>1033</HKLHoword>", 0x04090409},
      {"<HKLLoword>61442</HKLLoword><HKLHoword>1049</HKLHoword>", 0xF0020419},
      {"<HKLLoword>1</HKLLoword><HKLHoword>70000</HKLHoword>", 0x00011170},
      {"<HKLLoword>1033</HKLLoword>", 0},
      {"<HKLHoword>1033</HKLHoword>", 0},
      {"<HKLLoword></HKLLoword><HKLHoword>1033</HKLHoword>", 0},
  };
  for (const auto& c : cases) {
    CQueryRecord q;
    q.hkl = 77;
    ASSERT_TRUE(ParseQuery(q, Query(c.inner).c_str())) << c.inner;
    EXPECT_EQ(q.hkl, c.hkl) << c.inner;
  }
}

TEST(QueryXmlTest, SelectionStateAndPoint) {
  const struct {
    std::string inner, attrs;
    std::wstring sel;
    int state, x, y;
  } cases[] = {
      {"", "", L"", 0, -1, -1},
      {"<SelText>abc</SelText>", "", L"abc", -1, -1, -1},
      {"<SelText StateSelText=\"2\">a &amp; \xD0\x96&#x0D;&#x0A;b</SelText>", " POINT_X=\"15\" POINT_Y=\"-3\"",
       L"a & \x0416\r\nb", 2, 15, -3},
      {"<SelText StateSelText=\"1\" />", " POINT_X=\"7\"", L"", 1, 7, -1},
  };
  for (const auto& c : cases) {
    CQueryRecord q;
    ASSERT_TRUE(ParseQuery(q, Query(c.inner, c.attrs).c_str())) << c.inner;
    EXPECT_EQ(q.SelText, c.sel) << c.inner;
    EXPECT_EQ(q.StateSelText, c.state) << c.inner;
    EXPECT_EQ(q.POINT_X, c.x) << c.inner;
    EXPECT_EQ(q.POINT_Y, c.y) << c.inner;
  }
}

TEST(QueryXmlTest, WindowsAndTexts) {
  CQueryRecord q;
  ASSERT_TRUE(ParseQuery(q, Query("<AppPath>C:\\\xD0\x96\\a.exe</AppPath><WindowClassName>Edit</WindowClassName>"
                                  "<HWND>131172</HWND>",
                                  " HWND_Active=\"65636\" HWND_Focus=\"-2\" HWND_Caret=\"12\"")
                                .c_str()));
  EXPECT_EQ(q.AppPath, L"C:\\\x0416\\a.exe");
  EXPECT_EQ(q.WindowClassName, L"Edit");
  EXPECT_EQ(q.hwnd, reinterpret_cast<HWND>(static_cast<INT_PTR>(131172)));
  EXPECT_EQ(q.guiInfo.hwndActive, reinterpret_cast<HWND>(static_cast<INT_PTR>(65636)));
  EXPECT_EQ(q.guiInfo.hwndFocus, reinterpret_cast<HWND>(static_cast<INT_PTR>(-2)));
  EXPECT_EQ(q.guiInfo.hwndCaret, reinterpret_cast<HWND>(static_cast<INT_PTR>(12)));
  EXPECT_EQ(q.guiInfo.hwndCapture, nullptr);
  EXPECT_EQ(q.guiInfo.hwndMenuOwner, nullptr);
}

TEST(QueryXmlTest, DocumentsWithoutAQueryAreRefused) {
  const char* cases[] = {"", "<LRAnswer />", "<LRQuery", "plain text", "<?xml version=\"1.0\" ?>"};
  for (const char* c : cases) {
    CQueryRecord q;
    EXPECT_FALSE(ParseQuery(q, c)) << c;
  }
  CQueryRecord q;
  EXPECT_FALSE(ParseQuery(q, nullptr));
}

// What the library writes is what the tray reads.
TEST(QueryXmlTest, LibraryQueryRoundTrip) {
  QueryFacts f;
  f.hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1005A));
  f.appPath = L"C:\\apps\\\x0416.exe";
  f.className = L"RichEdit20W";
  f.gui.hwndFocus = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x2005B));
  f.gui.hwndCaret = f.gui.hwndFocus;
  f.hkl = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0xF0020419));
  f.caret = {300, 410};
  f.selState = 2;
  f.selText = L"<tag> & \"quotes\"\r\n\ttab";
  CQueryRecord q;
  ASSERT_TRUE(ParseQuery(q, BuildQueryXml(f).c_str()));
  EXPECT_EQ(q.hwnd, f.hwnd);
  EXPECT_EQ(q.AppPath, f.appPath);
  EXPECT_EQ(q.WindowClassName, f.className);
  EXPECT_EQ(q.guiInfo.hwndFocus, f.gui.hwndFocus);
  EXPECT_EQ(q.guiInfo.hwndCaret, f.gui.hwndCaret);
  EXPECT_EQ(q.hkl, 0xF0020419u);
  EXPECT_EQ(q.POINT_X, 300);
  EXPECT_EQ(q.POINT_Y, 410);
  EXPECT_EQ(q.StateSelText, 2);
  EXPECT_EQ(q.SelText, f.selText);
}

TEST(QueryXmlTest, AnswerOfOneCommandIsExact) {
  CAnswerRecord answer;
  answer.items.push_back(Command(L"abc", 5));
  std::string xml;
  ASSERT_TRUE(BuildAnswerXml(answer, xml));
  EXPECT_EQ(xml,
            "<?xml version=\"1.0\" ?>\r\n"
            "<LRAnswer Sound=\"0\" ShowToolTips=\"1\" ForegroundTopMostWnd=\"0\">\r\n"
            "    <Group>\r\n"
            "        <Command Flags=\"0\" CMDID=\"5\" DataType=\"0\" LCID=\"0\">abc</Command>\r\n"
            "        <MenuPerColumn>-1</MenuPerColumn>\r\n"
            "    </Group>\r\n"
            "</LRAnswer>\r\n");
}

TEST(QueryXmlTest, AnswerWithGroupsSeparatorsAndTooltips) {
  CAnswerRecord answer;
  answer.Sound = TRUE;
  answer.ShowToolTips = FALSE;
  answer.ForegroundTopMostWnd = 7;
  answer.MenuPerColumn = 0;
  CMenuRecord group = Command(L"Folder \x0416", 0);
  group.Flags = 3;
  group.children = new std::vector<CMenuRecord>();
  CMenuRecord tipped = Command(L"a&b", 12, L"tip <1>");
  tipped.DataType = 1;
  tipped.LCID = 1049;
  tipped.Flags = 8;
  group.children->push_back(std::move(tipped));
  group.children->push_back(Command(L"ignored caption", 0));
  answer.items.push_back(std::move(group));
  CMenuRecord empty = Command(L"Empty", 0);
  empty.children = new std::vector<CMenuRecord>();
  answer.items.push_back(std::move(empty));
  std::string xml;
  ASSERT_TRUE(BuildAnswerXml(answer, xml));
  EXPECT_EQ(xml,
            "<?xml version=\"1.0\" ?>\r\n"
            "<LRAnswer Sound=\"1\" ShowToolTips=\"0\" ForegroundTopMostWnd=\"1\">\r\n"
            "    <Group>\r\n"
            "        <Group Default=\"1\">\r\n"
            "            Folder \xD0\x96\r\n"
            "            <Command Flags=\"8\" CMDID=\"12\" DataType=\"1\" LCID=\"1049\">\r\n"
            "                a&amp;b\r\n"
            "                <ToolTipText>tip &lt;1&gt;</ToolTipText>\r\n"
            "            </Command>\r\n"
            "            <Command Flags=\"0\" CMDID=\"0\" DataType=\"0\" LCID=\"0\"></Command>\r\n"
            "        </Group>\r\n"
            "        <Group Default=\"0\">Empty</Group>\r\n"
            "    </Group>\r\n"
            "</LRAnswer>\r\n");
}

TEST(QueryXmlTest, EmptyAnswerWritesNothing) {
  CAnswerRecord answer;
  std::string xml = "untouched";
  EXPECT_FALSE(BuildAnswerXml(answer, xml));
  EXPECT_EQ(xml, "untouched");
}

TEST(QueryXmlTest, ReceivedQueryLogLine) {
  const struct {
    int state;
    const wchar_t* text;
  } cases[] = {
      {0, L"No has selected text"},
      {1, L"O-ooops! Cannot get selected text from target application"},
      {2, L"Wax! Text extracted by agent"},
  };
  for (const auto& c : cases) {
    CQueryRecord q;
    q.AppPath = L"C:\\a.exe";
    q.WindowClassName = L"Edit";
    q.hkl = 0x04090409;
    q.SelText = L"sel";
    q.StateSelText = c.state;
    EXPECT_EQ(FormatReceivedQuery(q), std::wstring(L"Received query:\r\n\tExe: C:\\a.exe\r\n\tClassName: Edit"
                                                   L"\r\n\tHKL: 67699721\r\n\tSelText: [sel]\r\n\tSelText State: [") +
                                          c.text + L"]");
  }
  CQueryRecord odd;
  odd.StateSelText = -1;
  EXPECT_EQ(FormatReceivedQuery(odd).find(L"No has selected text"), std::wstring::npos);
}

}  // namespace
