// Installing and uninstalling the real Gesture.dll, in this process and in
// helper processes that share its block.
#include <gtest/gtest.h>

#include <climits>

#include "gesture/tests/gesture_library.h"

namespace {

using gesturetest::GestureLibrary;
using gesturetest::InstallerThread;
using gesturetest::PeerInstaller;
using gesturetest::SameState;

class GestureInstallTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library.Load()) << GetLastError();
    shared = library.Shared();
  }
  int Install(std::int32_t mode) {
    GestureInstallParams params = {0, 0, mode, library.Module()};
    return library.Install(&params);
  }

  GestureLibrary library;
  GestureSharedState* shared = nullptr;
};

TEST_F(GestureInstallTest, RefusedInstallsChangeNothing) {
  GestureSharedState before = *shared;
  EXPECT_EQ(library.Install(nullptr), 0);
  for (std::int32_t mode : {2, -1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(Install(mode), 0) << mode;
    EXPECT_TRUE(SameState(*shared, before)) << mode;
    EXPECT_EQ(library.IsInstalled(), 0);
  }

  InstallerThread installer(library);
  ASSERT_EQ(installer.Start(kGestureTripleRight), 1);
  EXPECT_EQ(library.IsInstalled(), 1);
  EXPECT_NE(shared->hook, nullptr);
  EXPECT_EQ(shared->mode, kGestureTripleRight);
  EXPECT_EQ(shared->installerPid, GetCurrentProcessId());

  // A second install in the installing process leaves the hook alone.
  GestureSharedState installed = *shared;
  for (std::int32_t mode : {0, 1, 2}) {
    EXPECT_EQ(Install(mode), 0) << mode;
    EXPECT_TRUE(SameState(*shared, installed)) << mode;
  }
  EXPECT_EQ(installer.Stop(), 1);
  EXPECT_EQ(installer.ErrorAfterUninstall(), InstallerThread::kCallerError);
  EXPECT_EQ(library.IsInstalled(), 0);
  EXPECT_EQ(shared->hook, nullptr);
  EXPECT_EQ(library.Uninstall(), 0);  // nothing left to remove

  ASSERT_EQ(installer.Start(kGestureMoveMiddle), 1);
  EXPECT_EQ(shared->mode, kGestureMoveMiddle);
  EXPECT_EQ(installer.Stop(), 1);
}

TEST_F(GestureInstallTest, OneInstallerAcrossProcesses) {
  PeerInstaller first;
  ASSERT_TRUE(first.Start(kGestureMoveMiddle));
  ASSERT_TRUE(first.WaitInstalled());
  EXPECT_EQ(shared->installerPid, first.Process().Pid());

  // Neither this process nor another one may install meanwhile.
  GestureSharedState held = *shared;
  EXPECT_EQ(Install(kGestureTripleRight), 0);
  EXPECT_EQ(library.IsInstalled(), 0);
  EXPECT_EQ(library.Uninstall(), 0);
  EXPECT_TRUE(SameState(*shared, held));
  PeerInstaller refused;
  ASSERT_TRUE(refused.Start(kGestureTripleRight));
  EXPECT_EQ(refused.Process().Wait(30000), 20);  // refused, and not installed

  // Killed, the first installer leaves its handle behind; it no longer
  // blocks the next install.
  first.Process().Kill();
  ASSERT_FALSE(first.Process().IsRunning());
  EXPECT_NE(shared->hook, nullptr);
  PeerInstaller next;
  ASSERT_TRUE(next.Start(kGestureTripleRight));
  ASSERT_TRUE(next.WaitInstalled());
  EXPECT_EQ(shared->mode, kGestureTripleRight);
  EXPECT_EQ(shared->installerPid, next.Process().Pid());
  EXPECT_EQ(next.Stop(), 0);  // its uninstall worked
  EXPECT_EQ(shared->hook, nullptr);

  InstallerThread installer(library);
  EXPECT_EQ(installer.Start(kGestureMoveMiddle), 1);
  EXPECT_EQ(installer.Stop(), 1);
}

TEST_F(GestureInstallTest, InstallerEndingWithoutUninstallFreesTheGuard) {
  PeerInstaller peer;
  ASSERT_TRUE(peer.Start(kGestureMoveMiddle, true));
  ASSERT_TRUE(peer.WaitInstalled());
  EXPECT_NE(shared->hook, nullptr);
  EXPECT_EQ(peer.Stop(), 0);
  EXPECT_EQ(shared->hook, nullptr);
  EXPECT_EQ(shared->installerPid, 0u);

  InstallerThread installer(library);
  EXPECT_EQ(installer.Start(kGestureTripleRight), 1);
  EXPECT_EQ(installer.Stop(), 1);
}

TEST_F(GestureInstallTest, FailedUninstallKeepsTheInstallAndTheCallersError) {
  InstallerThread installer(library);
  ASSERT_EQ(installer.Start(kGestureMoveMiddle), 1);
  HHOOK hook = shared->hook;
  // A handle the system does not know makes the removal fail.
  shared->hook = reinterpret_cast<HHOOK>(static_cast<ULONG_PTR>(0x7FFE1234));
  SetLastError(4242);
  EXPECT_EQ(library.Uninstall(), 0);
  EXPECT_EQ(GetLastError(), 4242u);
  EXPECT_EQ(library.IsInstalled(), 1);
  EXPECT_EQ(shared->hook, reinterpret_cast<HHOOK>(static_cast<ULONG_PTR>(0x7FFE1234)));

  shared->hook = hook;
  EXPECT_EQ(installer.Stop(), 1);
  EXPECT_EQ(installer.ErrorAfterUninstall(), InstallerThread::kCallerError);
  EXPECT_EQ(library.IsInstalled(), 0);
}

TEST_F(GestureInstallTest, GesturePointNeedsAnInstallAndAGesture) {
  shared->gesture = {0, 0};
  GesturePoint point = {-1, -1};
  EXPECT_EQ(library.GetGesturePoint(nullptr), 0);
  EXPECT_EQ(library.GetGesturePoint(&point), 0);  // not installed

  InstallerThread installer(library);
  ASSERT_EQ(installer.Start(kGestureMoveMiddle), 1);
  EXPECT_EQ(library.GetGesturePoint(nullptr), 0);
  // Empty points: none yet, and points at or left of and above the origin.
  for (GesturePoint empty : {GesturePoint{0, 0}, GesturePoint{-20, 0}, GesturePoint{-3, -4}}) {
    shared->gesture = empty;
    EXPECT_EQ(library.GetGesturePoint(&point), 0);
    EXPECT_EQ(point.x, -1);
    EXPECT_EQ(point.y, -1);
  }
  shared->gesture = {-20, 30};
  EXPECT_EQ(library.GetGesturePoint(&point), 1);
  EXPECT_EQ(point.x, -20);
  EXPECT_EQ(point.y, 30);
  EXPECT_EQ(installer.Stop(), 1);

  point = {-1, -1};
  EXPECT_EQ(library.GetGesturePoint(&point), 0);  // kept, but no longer this process's
  EXPECT_EQ(point.x, -1);
  EXPECT_EQ(shared->gesture.y, 30);
}

}  // namespace
