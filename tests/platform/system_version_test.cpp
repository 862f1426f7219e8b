#include "platform/system_version.h"

#include <gtest/gtest.h>

TEST(IsLegacySystem, BeforeXpServicePack3Only) {
  EXPECT_TRUE(qx::IsLegacySystem(4, 0, 6));
  EXPECT_TRUE(qx::IsLegacySystem(5, 0, 4));
  EXPECT_TRUE(qx::IsLegacySystem(5, 1, 2));
  EXPECT_FALSE(qx::IsLegacySystem(5, 1, 3));
  EXPECT_FALSE(qx::IsLegacySystem(5, 2, 0));
  EXPECT_FALSE(qx::IsLegacySystem(6, 0, 0));
  EXPECT_FALSE(qx::IsLegacySystem(10, 0, 0));
}
