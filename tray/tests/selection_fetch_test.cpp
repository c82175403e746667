// The road on which the tray fills the query itself (taken under WOW64),
// forced here by its test switch, and the selection fetch it uses.
#include <gtest/gtest.h>

#include "foundation/files/program_names.h"
#include "phrases/insertion/clipboard_ops.h"
#include "tests/support/test_support.h"
#include "tray/hook/dll_service.h"
#include "tray/hook/interchange.h"
#include "tray/tests/core_target.h"

namespace {

const UINT kNotify = RegisterWindowMessageW(kCoreNotifyMessageName);
const UINT kPrivateFormat = RegisterClipboardFormatW(L"QlrSelectionFetchTest");

// The marker file lies beside the test program before the switch is read.
class SelfFillSwitch : public ::testing::Environment {
 public:
  void SetUp() override { qlrtest::WriteBytes(qlrtest::BinFile(kSelfFillQueryTestSwitch), "on"); }
  void TearDown() override { DeleteFileW(qlrtest::BinFile(kSelfFillQueryTestSwitch).c_str()); }
};
::testing::Environment* const g_switch = ::testing::AddGlobalTestEnvironment(new SelfFillSwitch);

void PutUserClipboard() {
  ClipboardFormatTable formats;
  const wchar_t text[] = L"user clip";
  formats[CF_UNICODETEXT].assign(reinterpret_cast<const BYTE*>(text),
                                 reinterpret_cast<const BYTE*>(text) + sizeof(text));
  formats[kPrivateFormat] = {1, 2, 3, 4};
  ASSERT_TRUE(PutFormatsOnClipboard(formats));
}

std::wstring ClipboardText() {
  wchar_t* copy = GetClipboardTextCopy();
  std::wstring text = copy ? copy : L"";
  FreeClipboardTextCopy(copy);
  return text;
}

std::vector<BYTE> PrivateBytes() {
  ClipboardLock lock(nullptr, 20);
  HANDLE data = lock ? GetClipboardData(kPrivateFormat) : nullptr;
  GlobalLockScope<const BYTE> bytes(data);
  if (!bytes) return {};
  return std::vector<BYTE>(bytes.Get(), bytes.Get() + 4);
}

HWND g_blockedFor = nullptr;
int g_blocks = 0;
void RecordBlock(HWND tray) {
  g_blockedFor = tray;
  ++g_blocks;
}

TEST(SelectionFetchTest, TheTrayFillsTheQueryAndKeepsTheUsersClipboard) {
  ASSERT_TRUE(CQLRDLLService::FillsQueryItself());
  UniqueHandle area(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 65536,
                                       L"Local\\QlrFetch_Area"));
  UniqueHandle needed(CreateEventW(nullptr, TRUE, FALSE, L"Local\\QlrFetch_Needed"));
  ASSERT_TRUE(area && needed);
  CQLRDLLService service(kNotify);
  int code = -1;
  HWND tray = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  ASSERT_TRUE(service.InstallDLLService_IML_32(tray, kNotify, L"Local\\QlrFetch_Needed", L"Local\\QlrFetch_Completed",
                                               L"Local\\QlrFetch_Area", false, &code, FALSE));
  CoreTarget target;
  ASSERT_TRUE(target.Start(L"alpha beta gamma", 6, 10));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return service.GetTargetWindow() == target.main; }));
  SetClipboardCaptureBlocker(RecordBlock);

  const struct {
    int selStart, selEnd;
    std::wstring sel;
    int state;
  } cases[] = {
      {6, 10, L"beta", CQueryRecord::kSelectionExtracted},
      {3, 3, L"", CQueryRecord::kSelectionUnknown},
  };
  for (const auto& c : cases) {
    SendMessageW(target.edit, EM_SETSEL, c.selStart, c.selEnd);
    PutUserClipboard();
    g_blocks = 0;
    CQueryRecord query;
    ASSERT_EQ(service.SendMessageToTargetWindow(FALSE, query, tray), CQLRDLLService::kFilledBySelf);
    EXPECT_EQ(query.SelText, c.sel);
    EXPECT_EQ(query.StateSelText, c.state);
    EXPECT_EQ(query.hwnd, target.main);
    EXPECT_EQ(query.WindowClassName, L"QlrInsertTarget");
    EXPECT_NE(query.AppPath.find(L"helper_insert_target.exe"), std::wstring::npos) << query.AppPath;
    EXPECT_EQ(query.guiInfo.hwndFocus, target.edit);
    EXPECT_EQ(g_blocks, 1);
    EXPECT_EQ(g_blockedFor, tray);
    // The user's clipboard is back, every format of it.
    EXPECT_EQ(ClipboardText(), L"user clip");
    EXPECT_EQ(PrivateBytes(), (std::vector<BYTE>{1, 2, 3, 4}));
  }
  SetClipboardCaptureBlocker(nullptr);

  // An empty clipboard stays empty: the copied selection is not left on it.
  {
    ClipboardLock lock(nullptr, 20);
    ASSERT_TRUE(lock);
    EmptyClipboard();
  }
  SendMessageW(target.edit, EM_SETSEL, 0, 5);
  EXPECT_EQ(GetSelectedTextByCopy(target.main, nullptr), L"alpha");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));

  // Nothing was posted to the library on this road: once the target has
  // handled all its messages and ended, no query was ever asked for.
  EXPECT_EQ(target.Close(), 0);
  EXPECT_NE(WaitForSingleObject(needed.Get(), 0), WAIT_OBJECT_0);
  EXPECT_TRUE(service.Uninstall());
}

}  // namespace
