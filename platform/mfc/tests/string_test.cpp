#include "platform/mfc/core/string.h"

#include <gtest/gtest.h>

TEST(CStringTest, Placeholder) { EXPECT_EQ(CString(L"a").GetLength(), 1); }
