// A correctly signed setup package past 2 GiB, downloaded whole. Windows' own
// certificate lookup takes the certificate table's 32-bit file offset as it
// is; Wine's imagehlp seeks to it with SetFilePointer and no high word, so an
// offset past 2^31 becomes a negative seek and WinVerifyTrust reports no
// signature at all (docs/security.md). Under Wine the installer must then do
// what it does for any refused package: the failure view with Retry, nothing
// opened and nothing left. Run by `make stress` (about 5 GB of disk, a few
// minutes), not by `make test`.
#include "tests/e2e/InstallerSession.h"

#include <filesystem>

namespace e2e {
namespace {

constexpr uint64_t kPastTwoGib = (2ull << 30) + (200ull << 20);

TEST_F(InstallerTest, LargePackageASignedSetupPastTwoGibIsDownloadedWholeThenRefusedUnderWine) {
    const testsupport::StandinPackage package = ServeStandinSetup(kPastTwoGib);
    ASSERT_GT(package.size, 2ull << 30);
    testsupport::WineProcess& installer = Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(Session::Driver().waitForControlText(window, kTitle, kFailed, 600s))
        << "no verdict within 10 minutes";
    const auto downloads = Session::Standin().requests(testsupport::kStandinPackage);
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads.front().outcome, "complete");
    EXPECT_EQ(downloads.front().bodyBytesSent, package.size) << "it was downloaded whole";
    EXPECT_TRUE(Visible(Read(window), kRetry));
    EXPECT_FALSE(FileExists(SetupStartedMarker()));
    EXPECT_FALSE(FileExists(SetupFile())) << "the refused file is removed";
    EXPECT_TRUE(installer.running()) << "it neither crashed nor ended";
}

} // namespace
} // namespace e2e
