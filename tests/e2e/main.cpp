#include "tests/e2e/InstallerSession.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new e2e::Session);
    return RUN_ALL_TESTS();
}
