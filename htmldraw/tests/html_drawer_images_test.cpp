// placeholder replaced below
#include <gtest/gtest.h>
TEST(Placeholder, Nothing) {}
