#include "foundation/system/security.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kAdminEvent[] = L"55517695-4FD6-40eb-9E52-997024E979DE";

std::wstring DaclTextOf(HANDLE object) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  PACL dacl = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                      nullptr, &sd) != ERROR_SUCCESS)
    return L"(no security)";
  UniqueLocalMemory owner(sd);
  LPWSTR text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1,
                                                            DACL_SECURITY_INFORMATION, &text,
                                                            nullptr))
    return L"(no text)";
  std::wstring result = text;
  LocalFree(text);
  return result;
}

TEST(SecurityTest, EveryoneMayOpenObjectsMadeWithTheAttributes) {
  EveryoneSecurity security;
  ASSERT_NE(security.Get(), nullptr);
  EXPECT_EQ(security.Get()->nLength, sizeof(SECURITY_ATTRIBUTES));
  EXPECT_FALSE(security.Get()->bInheritHandle);
  UniqueHandle event(CreateEventW(security.Get(), TRUE, FALSE, L"Local\\QlrTestEveryoneEvent"));
  ASSERT_TRUE(event);
  EXPECT_EQ(DaclTextOf(event.Get()), L"D:(A;;FA;;;WD)");
  UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, security.Get(), PAGE_READWRITE, 0,
                                          4096, L"Local\\QlrTestEveryoneMapping"));
  ASSERT_TRUE(mapping);
  EXPECT_EQ(DaclTextOf(mapping.Get()), L"D:(A;;FA;;;WD)");
}

TEST(SecurityTest, EachSetIsItsOwn) {
  SECURITY_ATTRIBUTES a = {}, b = {};
  ASSERT_TRUE(CreateEveryoneSecurityAttributes(a));
  ASSERT_TRUE(CreateEveryoneSecurityAttributes(b));
  EXPECT_NE(a.lpSecurityDescriptor, b.lpSecurityDescriptor);
  BOOL present = FALSE, defaulted = FALSE;
  PACL aclA = nullptr, aclB = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(a.lpSecurityDescriptor, &present, &aclA, &defaulted));
  ASSERT_TRUE(GetSecurityDescriptorDacl(b.lpSecurityDescriptor, &present, &aclB, &defaulted));
  EXPECT_NE(aclA, aclB);
  FreeEveryoneSecurityAttributes(a);
  EXPECT_EQ(a.lpSecurityDescriptor, nullptr);
  // b is still whole after a was freed.
  EXPECT_TRUE(IsValidSecurityDescriptor(b.lpSecurityDescriptor));
  UniqueHandle event(CreateEventW(&b, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  EXPECT_EQ(DaclTextOf(event.Get()), L"D:(A;;FA;;;WD)");
  FreeEveryoneSecurityAttributes(b);
  FreeEveryoneSecurityAttributes(b);  // twice is harmless
}

TEST(SecurityTest, FileAccessFollowsPermissions) {
  qlrtest::TempDir dir;
  std::wstring file = dir.File(L"f.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(file, "x"));
  std::wstring roFile = dir.File(L"ro.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(roFile, "x"));
  ASSERT_TRUE(SetFileAttributesW(roFile.c_str(), FILE_ATTRIBUTE_READONLY));
  std::wstring roFolder = dir.File(L"locked");
  ASSERT_TRUE(CreateDirectoryW(roFolder.c_str(), nullptr));
  ASSERT_TRUE(qlrtest::SetUnixWritable(roFolder, false));

  struct Case {
    std::wstring path;
    bool read, write;
  } cases[] = {
      {dir.Path(), true, true},   {file, true, true},
      {roFile, true, false},      {roFolder, true, false},
      {dir.File(L"none"), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(qlrtest::ToUtf8(c.path));
    EXPECT_EQ(CanReadFile(c.path), c.read);
    EXPECT_EQ(CanWriteFile(c.path), c.write);
  }
  EXPECT_TRUE(qlrtest::SetUnixWritable(roFolder, true));
  EXPECT_TRUE(CanWriteFile(roFolder));
  SetFileAttributesW(roFile.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SecurityTest, AdministratorsTestAnswers) {
  bool isMember = false;
  ASSERT_TRUE(IsCurrentUserAdmin(isMember));
  // The Wine user is an administrator; the answer must agree with the test
  // the system makes for the calling thread itself (a null token).
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                       DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins));
  BOOL expected = FALSE;
  ASSERT_TRUE(CheckTokenMembership(nullptr, admins, &expected));
  FreeSid(admins);
  EXPECT_EQ(isMember, expected != FALSE);
  EXPECT_TRUE(isMember);

  UniqueHandle primary;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, primary.Put()));
  bool tokenMember = false;
  EXPECT_TRUE(IsTokenAdmin(tokenMember, primary.Get()));
  EXPECT_EQ(tokenMember, isMember);
  UniqueHandle impersonation;
  ASSERT_TRUE(DuplicateToken(primary.Get(), SecurityIdentification, impersonation.Put()));
  EXPECT_TRUE(IsTokenAdmin(tokenMember, impersonation.Get()));
  EXPECT_EQ(tokenMember, isMember);
}

TEST(SecurityTest, AdminHandOverEvent) {
  DWORD error = 0;
  SetLastError(1234);
  EXPECT_FALSE(WaitAdminInstanceEvent(0, error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetLastError(), 1234u);
  EXPECT_FALSE(SignalAdminInstanceEvent());  // nothing created yet

  ASSERT_TRUE(CreateAdminInstanceEvent());
  UniqueHandle peer(OpenEventW(SYNCHRONIZE, FALSE, kAdminEvent));
  ASSERT_TRUE(peer);
  EXPECT_EQ(WaitForSingleObject(peer.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(WaitAdminInstanceEvent(100, error));  // timed out
  EXPECT_GE(GetTickCount64() - start, 90u);

  EXPECT_TRUE(SignalAdminInstanceEvent());
  EXPECT_FALSE(SignalAdminInstanceEvent());  // the handle is gone
  EXPECT_EQ(WaitForSingleObject(peer.Get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(WaitAdminInstanceEvent(1000, error));  // still held open by peer
  peer.Reset();
  EXPECT_FALSE(WaitAdminInstanceEvent(0, error));  // last handle closed: gone
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// Only a set event is a hand-over; a failed wait reports its error.
TEST(SecurityTest, FailedHandOverWaitIsNoHandOver) {
  ASSERT_TRUE(CreateAdminInstanceEvent());
  SetHandOverWaitForTests([](HANDLE, DWORD) -> DWORD {
    SetLastError(ERROR_ACCESS_DENIED);
    return WAIT_FAILED;
  });
  DWORD error = 0;
  SetLastError(77);
  EXPECT_FALSE(WaitAdminInstanceEvent(1000, error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(GetLastError(), 77u);
  SetHandOverWaitForTests(nullptr);
  EXPECT_TRUE(SignalAdminInstanceEvent());
}

TEST(SecurityTest, DnsDomainFitsItsBuffer) {
  std::wstring domain = L"stale";
  wchar_t expected[256] = {};
  DWORD size = 256;
  bool known = GetComputerNameExW(ComputerNameDnsDomain, expected, &size) != FALSE;
  bool got = GetComputerDnsDomain(domain);
  if (known && size < 15) {
    EXPECT_TRUE(got);
    EXPECT_EQ(domain, expected);
  } else {
    EXPECT_EQ(domain, L"");
  }
}

}  // namespace
