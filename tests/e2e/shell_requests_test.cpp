// The real Quillora.exe with the shell-open marker file: what it would hand
// to the shell is written to the request log beside it instead.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace {

constexpr UINT kRightMenuCommand = 32789;
constexpr WPARAM kSearchEngine4 = 4;
constexpr UINT kEditorEnded = 32774;

class ShellRequestsE2eTest : public qlre2e::TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
  }
  std::string Requests() const { return qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log")); }
};

TEST_F(ShellRequestsE2eTest, RightClickWebSearchOfAPhraseOpensOneEncodedAddress) {
  // The only phrase gets the first id.
  ASSERT_TRUE(qlre2e::WritePhrase(dir.File(L"Phrases\\Query.quillora"), L"Query",
                                  L"a&b #1+2 %\r\n\x00e9t\x00e9", 1));
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  // The editor's end has the phrases read anew; until they are there the
  // command finds no phrase and opens nothing.
  ASSERT_EQ(SendMessageW(window, kEditorEnded, 0, 0), 1);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, kRightMenuCommand, kSearchEngine4, 1, SMTO_ABORTIFHUNG,
                            kProgramWaitMs, &answer);
        return !Requests().empty();
      },
      kProgramWaitMs, 200))
      << qlrtest::ToUtf8(LogText());
  EXPECT_EQ(Requests(), "open\thttp://search1.example/search?q=a%26b%20%231%2B2%20%25%20%C3%A9t%C3%A9\t\r\n");
  Exit();
}

}  // namespace
