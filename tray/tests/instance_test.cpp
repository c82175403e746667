#include "tray/app/instance.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "foundation/system/registry.h"
#include "settings/settings_names.h"

namespace sn = settings_names;

namespace {

TEST(InstanceTest, InstanceEventMarksARunningInstance) {
  ASSERT_FALSE(IsFirstInstanceRunning());
  bool existed = true;
  UniqueHandle first(CreateInstanceEvent(&existed));
  ASSERT_TRUE(first);
  EXPECT_FALSE(existed);
  EXPECT_TRUE(IsFirstInstanceRunning());
  EXPECT_EQ(WaitForSingleObject(first.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // A second creation gets the same object and learns that it came second.
  UniqueHandle second(CreateInstanceEvent(&existed));
  ASSERT_TRUE(second);
  EXPECT_TRUE(existed);
  SetEvent(second.Get());
  EXPECT_EQ(WaitForSingleObject(first.Get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  first.Reset();
  second.Reset();
  EXPECT_FALSE(IsFirstInstanceRunning());
}

TEST(InstanceTest, SignalsReachOnlyExistingEvents) {
  struct Case {
    const wchar_t* name;
    bool (*signal)();
  } cases[] = {
      {sn::kExitEvent, SignalExitEvent},
      {sn::kAlreadyWorkEvent, SignalAlreadyWorkEvent},
      {sn::kEditEvent, SignalEditEvent},
      {sn::kShowMenuEvent, SignalShowMenuEvent},
      {GetAutomodeEventName(), SignalAutomodeEvent},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.signal()) << "no event yet";
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, c.name));
    ASSERT_TRUE(event);
    EXPECT_TRUE(c.signal());
    EXPECT_EQ(WaitForSingleObject(event.Get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  }
  EXPECT_FALSE(SignalNamedEvent(L"Local\\Quillora_NoSuchEvent_Test"));
}

TEST(InstanceTest, AutomodeEventEndsAWait) {
  UniqueHandle automode(CreateAutomodeEvent());
  ASSERT_TRUE(automode);
  EXPECT_EQ(WaitForSingleObject(automode.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(SignalAutomodeEvent());
  EXPECT_EQ(WaitForSingleObject(automode.Get(), 2000), static_cast<DWORD>(WAIT_OBJECT_0));
  // Auto reset: the next wait blocks again.
  EXPECT_EQ(WaitForSingleObject(automode.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(InstanceTest, AutoStartEntryNamesTheProgramWithAutoload) {
  const wchar_t* run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  EXPECT_EQ(GetAutoStartEntryData(), GetModulePath() + L" /autoload");
  ASSERT_TRUE(SetAutoStartEntry(true));
  std::wstring data;
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, run, L"Quillora", MAX_PATH * 2, data));
  EXPECT_EQ(data, GetModulePath() + L" /autoload");
  EXPECT_TRUE(IsRunValueThisProgram(true, L"Quillora", GetModulePath()));
  EXPECT_TRUE(SetAutoStartEntry(false));
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, run, L"Quillora", MAX_PATH * 2, data));
}

}  // namespace
