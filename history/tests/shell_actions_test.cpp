#include "history/actions/shell_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/shell_open.h"
#include "history/store/clipboard_item_file.h"
#include "history/tests/history_test_util.h"
#include "tests/support/test_support.h"

namespace {

struct Request {
  std::wstring verb, file, parameters, folder;
};
std::vector<Request> g_requests;
INT_PTR g_directAnswer = 33;

// Opens of the item's own file answer g_directAnswer; the open-with dialog 42.
INT_PTR Shell(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
              const wchar_t* folder, int) {
  g_requests.push_back({verb ? verb : L"", file ? file : L"", parameters ? parameters : L"",
                        folder ? folder : L""});
  return std::wstring(file ? file : L"") == L"Rundll32.exe" ? 42 : g_directAnswer;
}

class ShellActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_requests.clear();
    g_directAnswer = 33;
    SetShellOpenHookForTests(Shell);
  }
  void TearDown() override {
    SetShellOpenHookForTests(nullptr);
    for (const Request& r : g_requests) {
      std::wstring path = r.file == L"Rundll32.exe" ? r.parameters.substr(r.parameters.find(L' ') + 1) : r.file;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  }
  // The file the first request opened (directly or through the dialog).
  static std::wstring OpenedFile() {
    if (g_requests.empty()) return std::wstring();
    const Request& r = g_requests[0];
    if (r.file != L"Rundll32.exe") return r.file;
    const std::wstring prefix = L"shell32.dll,OpenAs_RunDLL ";
    return r.parameters.rfind(prefix, 0) == 0 ? r.parameters.substr(prefix.size()) : std::wstring();
  }
};

TEST_F(ShellActionsTest, ItemsOpenAsTemporaryFilesOfTheirKind) {
  const std::wstring warning = MakeFileNameFromText(kTempFileWarningDefault, false, 100);
  struct Case {
    std::unique_ptr<CCHItem> item;
    const wchar_t* ext;
    std::string bytes;
  };
  Case cases[] = {
      {histtest::MakeBytes(kHistoryKindAnsi, "plain", true), L".txt", "plain"},
      {histtest::MakeText(L"\x00e9t\x00e9"), L".txt", std::string("\xFF\xFE\xE9\0t\0\xE9\0", 8)},
      {histtest::MakeBytes(kHistoryKindRtf, "{\\rtf1 x}", true), L".rtf", "{\\rtf1 x}"},
      {histtest::MakeBitmapItem(3, 2, RGB(1, 2, 3), RGB(4, 5, 6)), L".bmp", "BM"},
      {histtest::MakeBytes(kHistoryKindHtml, "<b>x</b>", false), L"", "<b>x</b>"},
  };
  for (Case& c : cases) {
    g_requests.clear();
    ASSERT_TRUE(OpenHistoryItemAsFile(c.item.get(), nullptr, true)) << c.item->kind;
    ASSERT_EQ(g_requests.size(), 1u);
    const Request& r = g_requests[0];
    EXPECT_EQ(r.verb, L"open");
    const std::wstring name = GetFileNameFromPath(r.file);
    EXPECT_EQ(GetFolderFromPath(r.file, false), GetTempFolder());
    EXPECT_EQ(r.folder, GetFolderFromPath(r.file, true));
    EXPECT_EQ(name.rfind(warning + L" ==Quillora==", 0), 0u) << qlrtest::ToUtf8(name);
    if (*c.ext) EXPECT_EQ(GetFileExt(name), c.ext);
    const std::string written = qlrtest::ReadBytes(r.file);
    EXPECT_EQ(written.substr(0, c.bytes.size()), c.bytes) << c.item->kind;
    if (c.item->kind != kHistoryKindBitmap) EXPECT_EQ(written.size(), c.bytes.size());
    SetFileAttributesW(r.file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(r.file.c_str());
  }
  g_requests.clear();
}

TEST_F(ShellActionsTest, FailedOrUnwantedDirectOpenFallsBackToTheOpenWithDialog) {
  auto item = histtest::MakeText(L"text");
  const struct {
    bool direct;
    INT_PTR answer;
    size_t requests;
  } cases[] = {
      {true, 32, 2},  // 32 is the shell's "file not found" range, not a start
      {true, 2, 2},
      {true, 33, 1},
      {false, 33, 1},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    g_directAnswer = c.answer;
    EXPECT_TRUE(OpenHistoryItemAsFile(item.get(), nullptr, c.direct));
    ASSERT_EQ(g_requests.size(), c.requests) << c.answer;
    const Request& last = g_requests.back();
    if (c.requests == 2 || !c.direct) {
      EXPECT_EQ(last.file, L"Rundll32.exe");
      EXPECT_EQ(last.parameters, L"shell32.dll,OpenAs_RunDLL " + OpenedFile());
      EXPECT_TRUE(last.folder.empty());
    }
    EXPECT_EQ(qlrtest::ReadBytes(OpenedFile()).size(), 2u + 8u);
  }
}

TEST_F(ShellActionsTest, BrindleItemsMissingItemsAndUnwritableFiles) {
  auto brindle = histtest::MakeBytes(kHistoryKindBrindle, "doc", false);
  EXPECT_TRUE(OpenHistoryItemAsFile(brindle.get(), nullptr, true));
  EXPECT_TRUE(g_requests.empty());
  EXPECT_FALSE(OpenHistoryItemAsFile(static_cast<const CCHItem*>(nullptr), nullptr, true));

  // Through the handler's reader: index 0 is the newest.
  auto text = histtest::MakeText(L"newest");
  HistoryItemReader reader = [&](int index) -> const CCHItem* { return index == 0 ? text.get() : nullptr; };
  EXPECT_FALSE(OpenHistoryItemAsFile(reader, 1, nullptr, true));
  EXPECT_FALSE(OpenHistoryItemAsFile(reader, -1, nullptr, true));
  EXPECT_TRUE(g_requests.empty());
  EXPECT_TRUE(OpenHistoryItemAsFile(reader, 0, nullptr, true));
  EXPECT_EQ(qlrtest::ReadBytes(OpenedFile()), std::string("\xFF\xFE" "n\0e\0w\0e\0s\0t\0", 14));

  // A bitmap item without a bitmap cannot be written: nothing is opened.
  g_requests.clear();
  CCHItem empty(kHistoryKindBitmap);
  EXPECT_FALSE(OpenHistoryItemAsFile(&empty, nullptr, true));
  EXPECT_TRUE(g_requests.empty());
}

// The warning comes from the language file, which anyone may edit.
TEST_F(ShellActionsTest, WarningWithCharactersFilesCannotHoldStillGivesAValidName) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"Test.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Main]\r\nLangPrefix=Te\r\n[Strings_Client]\r\n272=Achtung: \"nicht\" speichern? <a|b> *\r\n"));
  ASSERT_TRUE(SetLngStringFile(lng, L"_Client"));
  const std::wstring path = MakeHistoryTempFileName(L".txt");
  SetCurrentLanguage(L"");
  const std::wstring name = GetFileNameFromPath(path);
  EXPECT_EQ(name.find_first_of(L":\"?<>|*\\/"), std::wstring::npos) << qlrtest::ToUtf8(name);
  EXPECT_EQ(name.rfind(L"Achtung_ _nicht_ speichern_ _a_b_ ==Quillora==", 0), 0u) << qlrtest::ToUtf8(name);
  EXPECT_EQ(GetFileExt(path), L".txt");
  auto item = histtest::MakeText(L"x");
  EXPECT_TRUE(SaveClipboardItemToFile(*item, path));
  DeleteFileW(path.c_str());
  EXPECT_EQ(GetBrindleClipboardFormat(), RegisterClipboardFormatW(L"Brindle Format"));
  EXPECT_NE(GetBrindleClipboardFormat(), 0u);
}

TEST_F(ShellActionsTest, SavedItemsHoldTheirBytesAndProtectedOnesAreReadOnly) {
  qlrtest::TempDir dir;
  const struct {
    int kind;
    std::string data;  // stored bytes
    std::string file;  // expected file content
  } cases[] = {
      {kHistoryKindAnsi, std::string("ab\0cd", 5), "ab"},
      {kHistoryKindRtf, std::string("{\\rtf1}\0", 8), "{\\rtf1}"},
      {kHistoryKindAnsi, "no zero", "no zero"},  // the size bounds it
      {kHistoryKindUnicode, std::string("h\0i\0\0\0x\0", 8), std::string("\xFF\xFEh\0i\0", 6)},
      {kHistoryKindBrindle, std::string("\0\1\2\0", 4), std::string("\0\1\2\0", 4)},
      {kHistoryKindHtml, std::string("<p>\0", 4), std::string("<p>\0", 4)},
  };
  int n = 0;
  for (const auto& c : cases) {
    for (bool protect : {false, true}) {
      const std::wstring path = dir.File(L"item" + std::to_wstring(n++));
      CCHItem item(c.kind);
      ASSERT_TRUE(item.SetData(c.data.data(), static_cast<std::uint32_t>(c.data.size())));
      item.SetProtected(protect);
      EXPECT_TRUE(SaveClipboardItemToFile(item, path)) << c.kind;
      EXPECT_EQ(qlrtest::ReadBytes(path), c.file) << c.kind;
      const DWORD attributes = GetFileAttributesW(path.c_str());
      EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, protect) << c.kind;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  // An item without data gives an empty file.
  CCHItem empty(kHistoryKindAnsi);
  EXPECT_TRUE(SaveClipboardItemToFile(empty, dir.File(L"empty.txt")));
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"empty.txt")), "");

  auto bitmap = histtest::MakeBitmapItem(5, 4, RGB(9, 8, 7), RGB(1, 1, 1));
  bitmap->SetProtected(true);
  const std::wstring bmp = dir.File(L"picture.bmp");
  EXPECT_TRUE(SaveClipboardItemToFile(*bitmap, bmp));
  const std::string bytes = qlrtest::ReadBytes(bmp);
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_NE(GetFileAttributesW(bmp.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  SetFileAttributesW(bmp.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
