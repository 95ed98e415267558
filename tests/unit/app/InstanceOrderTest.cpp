#include "app/InstanceOrder.h"

#include <gtest/gtest.h>

namespace {

TEST(InstanceOrderTest, OfTwoCopiesExactlyTheEarlierGoesOn) {
    const InstallerProcess earlier{800, 1000};
    const InstallerProcess later{300, 1001};
    EXPECT_TRUE(EndsForOther(later, earlier));
    EXPECT_FALSE(EndsForOther(earlier, later));

    // Started in the same instant: the lower process id goes on.
    const InstallerProcess twinLow{300, 1000};
    const InstallerProcess twinHigh{800, 1000};
    EXPECT_TRUE(EndsForOther(twinHigh, twinLow));
    EXPECT_FALSE(EndsForOther(twinLow, twinHigh));
}

TEST(InstanceOrderTest, AProcessWhoseStartCannotBeToldCountsAsEarlier) {
    const InstallerProcess self{500, 1000};
    EXPECT_TRUE(EndsForOther(self, {600, std::nullopt}));
    EXPECT_TRUE(EndsForOther({500, std::nullopt}, {600, 2000}));
    EXPECT_FALSE(EndsForOther(self, self)) << "a copy never ends for itself";
}

} // namespace
