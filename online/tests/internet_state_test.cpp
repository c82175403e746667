#include "online/internet_state.h"

#include <gtest/gtest.h>

namespace {

TEST(InternetStateTest, InternetStateIsUnknownWithoutTheSystemFunction) {
  EXPECT_EQ(IsInternetConnectedWith(L"no_such_library_qlr.dll"), kInternetUnknown);
  EXPECT_EQ(IsInternetConnectedWith(L"kernel32.dll"), kInternetUnknown);
  int state = IsInternetConnected();
  EXPECT_TRUE(state == kInternetConnected || state == kInternetOffline) << state;
}

}  // namespace
