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

// Every cell of each view's row, the controls it leaves unchanged included.
TEST(ViewTable, EachViewShowsItsControls) {
    using V = Visibility;
    struct Row {
        View view;
        const char* name;
        ViewControls expected;
    };
    // clang-format off
    const Row rows[] = {
        //                                    title  description   help link     retry         close         focus close
        {View::Connecting,   "Connecting",   {141,   V::Hidden,    V::Hidden,    V::Hidden,    V::Unchanged, false}},
        {View::NoConnection, "NoConnection", {142,   V::Shown,     V::Hidden,    V::Hidden,    V::Shown,     true}},
        {View::Downloading,  "Downloading",  {145,   V::Unchanged, V::Unchanged, V::Unchanged, V::Unchanged, false}},
        {View::Failure,      "Failure",      {144,   V::Shown,     V::Shown,     V::Shown,     V::Hidden,    false}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ViewControls& controls = ControlsOf(row.view);
        EXPECT_EQ(controls.titleString, row.expected.titleString);
        EXPECT_EQ(controls.description, row.expected.description);
        EXPECT_EQ(controls.helpLink, row.expected.helpLink);
        EXPECT_EQ(controls.retry, row.expected.retry);
        EXPECT_EQ(controls.close, row.expected.close);
        EXPECT_EQ(controls.focusClose, row.expected.focusClose);
    }
}
