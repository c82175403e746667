#include "tray/hook/dll_service.h"

#include <gtest/gtest.h>

#include "foundation/files/file_version.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "tests/support/test_support.h"

namespace {

const UINT kNotify = RegisterWindowMessageW(kCoreNotifyMessageName);

int Install(CQLRDLLService& service, int& code) {
  code = -1;
  return service.InstallDLLService_IML_32(nullptr, kNotify, L"Local\\QlrSvcTest_Needed",
                                          L"Local\\QlrSvcTest_Completed", L"Local\\QlrSvcTest_Area", false,
                                          &code, FALSE);
}

class NoEventService : public CQLRDLLService {
 public:
  using CQLRDLLService::CQLRDLLService;

 protected:
  HANDLE CreateServiceEvent() override {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
};

TEST(DllServiceTest, ErrorTexts) {
  const struct {
    int code;
    const wchar_t* text;
  } cases[] = {
      {0, L"Success\nError code: 0"},
      {1, L"Invalid names of sync objects\nError code: 1"},
      {2, L"DLL service is already installed\nError code: 2"},
      {3, L"Cant install hook\nError code: 3"},
      {4, L"Cant load DLL\nError code: 4"},
      {5, L"Cant GetProcAddress to install function of DLL\nError code: 5"},
      {6, L"Unknow error\nError code: 6"},
      {7, L"Cant create service event\nError code: 7"},
      {-1, L"Unknow error\nError code: -1"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetCoreDllErrorText(c.code), c.text);
  EXPECT_EQ(GetCoreDllFullPath(), qlrtest::BinFile(L"Quillora.dll"));
  EXPECT_EQ(GetGestureDllPath(), qlrtest::BinFile(L"Gesture.dll"));
  EXPECT_EQ(GetDllServiceImplText(), L"Use x32 implementation XP like");  // x64, not WOW64
}

// The about dialog reads the library's version; its text has commas.
TEST(DllServiceTest, LibraryVersion) {
  CFileVersionInfo info(GetCoreDllFullPath());
  ASSERT_TRUE(info.Load());
  EXPECT_EQ(info.GetFileDescription(), L"Quillora core hook library");
  EXPECT_EQ(info.FileVersion.find(L", "), 1u) << info.FileVersion;
  EXPECT_EQ(info.GetProductVersion().find(L','), std::wstring::npos);
  EXPECT_FALSE(info.GetBuildNumber().empty());
}

TEST(DllServiceTest, MissingLibrary) {
  qlrtest::TempDir dir;
  const std::wstring logPath = dir.File(L"log.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  const std::wstring path = dir.File(L"Quillora.dll");
  CQLRDLLService service(kNotify, path);
  int code = 0;
  EXPECT_EQ(Install(service, code), 0);
  EXPECT_EQ(code, 4);
  EXPECT_FALSE(service.IsInstalled());
  EXPECT_FALSE(service.Uninstall());
  EXPECT_EQ(service.GetTargetWindow(), nullptr);
  EXPECT_EQ(BuildCoreDllInstallProblemText(path, code),
            L"ERROR: Cannot kernel DLL install\nDLL not found: " + path + L"\nCant load DLL\nError code: 4");
  // Nothing to ask and nothing remembered: no target.
  CQueryRecord query;
  EXPECT_EQ(service.SendMessageToTargetWindow(FALSE, query), CQLRDLLService::kNoTarget);
  WaitLogWritten(5000);
  TermLog();
  std::wstring log = qlrtest::ReadUtf16File(logPath);
  // The line as it stands, without an error-code suffix.
  EXPECT_NE(log.find(L"] ERROR: Cannot load DLL by " + path + L"\r\n"), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"ERROR: Cannot sendmessage to target window CQLRDLLService::SendMessageToTargetWindow"),
            std::wstring::npos);
}

TEST(DllServiceTest, LibraryWithoutInstallExport) {
  qlrtest::TempDir dir;
  const std::wstring path = dir.File(L"Quillora.dll");
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"QlrNoInstall.dll"), path));
  CQLRDLLService service(kNotify, path);
  int code = 0;
  EXPECT_EQ(Install(service, code), 0);
  EXPECT_EQ(code, 5);
  EXPECT_FALSE(service.IsInstalled());
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
  EXPECT_EQ(BuildCoreDllInstallProblemText(path, code),
            L"ERROR: Cannot kernel DLL install\nDLL path: " + path +
                L"\nCant GetProcAddress to install function of DLL\nError code: 5");
}

TEST(DllServiceTest, NoServiceEventLeavesTheServiceUninstalled) {
  const std::wstring path = qlrtest::BinFile(L"Quillora.dll");
  NoEventService service(kNotify, path);
  int code = 0;
  EXPECT_EQ(Install(service, code), 0);
  EXPECT_EQ(code, 7);
  EXPECT_FALSE(service.IsInstalled());
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
  EXPECT_FALSE(service.Uninstall());
  EXPECT_EQ(service.GetTargetWindow(), nullptr);
}

// Without the library's answer the target is the window of the last
// foreground or focus event; other events do not change it.
TEST(DllServiceTest, RememberedWindowIsTheFallbackTarget) {
  qlrtest::TempDir dir;
  CQLRDLLService service(kNotify, dir.File(L"Quillora.dll"));
  HWND first = CreateWindowExW(0, L"STATIC", L"first", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND second = CreateWindowExW(0, L"STATIC", L"second", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const struct {
    DWORD event;
    HWND hwnd;
    HWND remembered;
  } cases[] = {
      {EVENT_SYSTEM_FOREGROUND, first, first},
      {EVENT_OBJECT_NAMECHANGE, second, first},
      {EVENT_OBJECT_FOCUS, second, second},
      {EVENT_SYSTEM_MENUSTART, first, second},
  };
  for (const auto& c : cases) {
    service.OnWinEvent(WinEventRecord{c.event, c.hwnd, 0, 0, 0, 0}, 0);
    EXPECT_EQ(service.RememberedWindow(), c.remembered) << c.event;
  }
  CQueryRecord query;
  ASSERT_EQ(service.SendMessageToTargetWindow(TRUE, query), CQLRDLLService::kPosted);
  MSG msg = {};
  ASSERT_TRUE(PeekMessageW(&msg, second, kNotify, kNotify, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);  // the no-query flag
  EXPECT_FALSE(PeekMessageW(&msg, first, kNotify, kNotify, PM_REMOVE));
  DestroyWindow(first);
  DestroyWindow(second);
}

}  // namespace
