#include "ui/FlowRules.h"
#include "ui/ViewTable.h"

#include <gtest/gtest.h>

#include <string>

TEST(FlowRules, ProgressPositionStaysWithinTheBar) {
    EXPECT_EQ(ProgressPosition(0, 100), 0);
    EXPECT_EQ(ProgressPosition(50, 100), 50);
    EXPECT_EQ(ProgressPosition(4096, 4097), 99); // truncated, never rounded up
    EXPECT_EQ(ProgressPosition(100, 100), 100);
    EXPECT_EQ(ProgressPosition(4096, 0), 0);
    EXPECT_EQ(ProgressPosition(4096, -1), 0);
    EXPECT_EQ(ProgressPosition(200, 100), 100);
    EXPECT_EQ(ProgressPosition(2147483647, 2147483647), 100);
    EXPECT_EQ(ProgressPosition(-5, 100), 0);
}

TEST(FlowRules, CloseEventScreenFollowsTheAttempt) {
    EXPECT_EQ(std::wstring(CloseEventScreen(false, true)), L"Downloading");
    EXPECT_EQ(std::wstring(CloseEventScreen(false, false)), L"Downloading");
    EXPECT_EQ(std::wstring(CloseEventScreen(true, true)), L"FailDownloading");
    EXPECT_EQ(std::wstring(CloseEventScreen(true, false)), L"ConnectInternet");
}

TEST(ViewTable, EachViewShowsItsControls) {
    const ViewControls& connecting = ControlsOf(View::Connecting);
    EXPECT_EQ(connecting.titleString, 141u);
    EXPECT_EQ(connecting.description, Visibility::Hidden);
    EXPECT_EQ(connecting.helpLink, Visibility::Hidden);
    EXPECT_EQ(connecting.retry, Visibility::Hidden);
    EXPECT_EQ(connecting.close, Visibility::Unchanged);

    const ViewControls& offline = ControlsOf(View::NoConnection);
    EXPECT_EQ(offline.titleString, 142u);
    EXPECT_EQ(offline.description, Visibility::Shown);
    EXPECT_EQ(offline.helpLink, Visibility::Hidden);
    EXPECT_EQ(offline.retry, Visibility::Hidden);
    EXPECT_EQ(offline.close, Visibility::Shown);
    EXPECT_TRUE(offline.focusClose);

    const ViewControls& downloading = ControlsOf(View::Downloading);
    EXPECT_EQ(downloading.titleString, 145u);
    EXPECT_EQ(downloading.description, Visibility::Unchanged);
    EXPECT_EQ(downloading.close, Visibility::Unchanged);

    const ViewControls& failure = ControlsOf(View::Failure);
    EXPECT_EQ(failure.titleString, 144u);
    EXPECT_EQ(failure.description, Visibility::Shown);
    EXPECT_EQ(failure.helpLink, Visibility::Shown);
    EXPECT_EQ(failure.retry, Visibility::Shown);
    EXPECT_EQ(failure.close, Visibility::Hidden);
    EXPECT_FALSE(failure.focusClose);
}
