// The setup download against the stand-in package host.
#include "tests/integration/JobHarness_win.h"
#include "tests/integration/TempFolder_win.h"
#include "tests/integration/WinInetControlTransport_win.h"

#include "platform/UniqueHandle_win.h"
#include "usage/Utf8.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using testsupport::StandinAnswer;

std::wstring Wide(const std::string& utf8) {
    return Utf8ToWide(utf8);
}

// A URL on the stand-in's package host.
std::wstring PackageHostUrl(const std::wstring& path) {
    return L"http://127.0.0.1:" + std::to_wstring(testsupport::StandinPorts{}.package) + L"/" +
           path;
}

// The registered package, at full speed or in paced pieces.
StandinAnswer Served(uint64_t chunkBytes = 0, uint64_t chunkDelayMs = 0) {
    StandinAnswer answer;
    answer.package = "KestrixOfficeSetup.exe";
    if (chunkBytes) {
        answer.chunkBytes = chunkBytes;
        answer.chunkDelayMs = chunkDelayMs;
    }
    return answer;
}

class SetupDownload : public ::testing::Test {
protected:
    void SetUp() override {
        standin.reset();
        target = MakeTempFolder() + L"\\KestrixOfficeSetup.exe";
    }

    // A generated package of this size; returns its URL and keeps its hash.
    std::wstring Package(uint64_t size) {
        const testsupport::StandinPackage package =
            standin.registerGeneratedPackage("KestrixOfficeSetup.exe", size, 7);
        sha256 = package.sha256;
        return Wide(package.url);
    }

    void ScriptPackageHost(const std::vector<StandinAnswer>& answers, bool thenDefault = false) {
        standin.script(testsupport::kStandinPackage, answers, thenDefault);
    }

    testsupport::StandinClient standin{WinInetControlTransport};
    JobHarness harness;
    std::wstring target;
    std::string sha256;
};

void ExpectComplete(const JobReport& report, const std::wstring& target) {
    EXPECT_EQ(report.result.nKind, JOB_DOWNLOAD);
    EXPECT_EQ(report.result.dwStatusCode, 200u);
    EXPECT_EQ(report.result.nResultCode, -1);
    ASSERT_TRUE(report.hasData);
    EXPECT_EQ(report.text, target);
}

void ExpectFailed(const JobReport& report, uint32_t status) {
    EXPECT_EQ(report.result.nKind, JOB_DOWNLOAD);
    EXPECT_EQ(report.result.dwStatusCode, status);
    EXPECT_EQ(report.result.nResultCode, -1);
    EXPECT_FALSE(report.hasData);
}

} // namespace

TEST_F(SetupDownload, ACompletePackageIsWrittenByteForByteWithProgressPerChunk) {
    const uint64_t size = 1 << 20;
    const std::wstring url = Package(size);
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    ExpectComplete(harness.WaitForReport(), target);
    EXPECT_EQ(Sha256OfFile(target), sha256);
    EXPECT_GE(harness.ProgressCalls(), static_cast<int>(size / 4096) + 1);
    EXPECT_EQ(harness.LastProgressDone(), static_cast<int32_t>(size));
    EXPECT_EQ(harness.LastProgressTotal(), static_cast<int32_t>(size));

    const auto requests = standin.requests(testsupport::kStandinPackage);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET /packages/KestrixOfficeSetup.exe HTTP/1.1");
    bool agent = false;
    for (const std::string& header : requests[0].headers)
        agent = agent || header == "User-Agent: HTTP Download";
    EXPECT_TRUE(agent);
}

TEST_F(SetupDownload, AnExistingFileIsReplaced) {
    {
        platform::UniqueFileHandle old(
            ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const std::string junk(100000, 'x');
        DWORD written = 0;
        ::WriteFile(old.Get(), junk.data(), static_cast<DWORD>(junk.size()), &written, nullptr);
    }
    const std::wstring url = Package(5000);
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    ExpectComplete(harness.WaitForReport(), target);
    EXPECT_EQ(Sha256OfFile(target), sha256);
}

TEST_F(SetupDownload, ARedirectIsFollowed) {
    const std::wstring url = Package(10000);
    ScriptPackageHost({StandinAnswer::redirectTo(ToUtf8(url.c_str()))}, true);
    const std::wstring start = PackageHostUrl(L"moved/setup.exe");
    harness.Manager().StartDownloadJob(start.c_str(), target.c_str());
    ExpectComplete(harness.WaitForReport(), target);
    EXPECT_EQ(Sha256OfFile(target), sha256);
}

TEST_F(SetupDownload, AnEmptyBodyWithLengthZeroIsComplete) {
    ScriptPackageHost({StandinAnswer::withStatus(200, "")});
    const std::wstring url = PackageHostUrl(L"packages/empty.exe");
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    ExpectComplete(harness.WaitForReport(), target);
    EXPECT_EQ(FileSize(target), 0u);
}

TEST_F(SetupDownload, AMissingContentLengthFailsTheSizeCheck) {
    StandinAnswer noLength = StandinAnswer::withStatus(200, "0123456789");
    noLength.omitContentLength = true;
    ScriptPackageHost({noLength});
    const std::wstring url = PackageHostUrl(L"packages/nolength.exe");
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    ExpectFailed(harness.WaitForReport(), 200);
    EXPECT_EQ(harness.LastProgressTotal(), 0);
    EXPECT_FALSE(Exists(target)) << "what arrived does not stay under the setup's name";
}

TEST_F(SetupDownload, AConnectionDroppedMidwayFailsAndLeavesNothing) {
    const std::wstring url = Package(200000);
    StandinAnswer dropped = Served();
    dropped.dropAfterBytes = 50000;
    ScriptPackageHost({dropped});
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    ExpectFailed(harness.WaitForReport(), 200);
    EXPECT_FALSE(Exists(target)) << "what arrived does not stay under the setup's name";
}

TEST_F(SetupDownload, AnotherStatusOrAnUnopenableUrlFails) {
    ScriptPackageHost({StandinAnswer::withStatus(404, "missing")});
    const std::wstring missing = PackageHostUrl(L"packages/missing.exe");
    harness.Manager().StartDownloadJob(missing.c_str(), target.c_str());
    ExpectFailed(harness.WaitForReport(), 404);

    const std::wstring closedPort = L"http://127.0.0.1:1/setup.exe";
    harness.Manager().StartDownloadJob(closedPort.c_str(), target.c_str());
    ExpectFailed(harness.WaitForReport(), 0);

    // Only http and https URLs are opened, whatever the update server names.
    const std::wstring local = L"file:///C:/windows/win.ini";
    harness.Manager().StartDownloadJob(local.c_str(), target.c_str());
    ExpectFailed(harness.WaitForReport(), 0);
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SetupDownload, ATargetThatCannotBeCreatedFails) {
    const std::wstring url = Package(1000);
    const std::wstring nowhere = MakeTempFolder() + L"\\missing\\folder\\KestrixOfficeSetup.exe";
    harness.Manager().StartDownloadJob(url.c_str(), nowhere.c_str());
    ExpectFailed(harness.WaitForReport(), 200);
}

TEST_F(SetupDownload, PauseThenResumeGivesAnIdenticalFile) {
    const uint64_t size = 400000;
    const std::wstring url = Package(size);
    // Slow enough that the pause lands midway.
    ScriptPackageHost({Served(8192, 20)});
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    harness.WaitForProgress(16384);
    harness.Manager().PauseDownload(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const int callsWhilePaused = harness.ProgressCalls();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(harness.ProgressCalls(), callsWhilePaused) << "no reads while paused";
    harness.Manager().PauseDownload(0);
    ExpectComplete(harness.WaitForReport(), target);
    EXPECT_EQ(Sha256OfFile(target), sha256);
}

TEST_F(SetupDownload, AbortWhilePausedEndsOnTheNextPoll) {
    const std::wstring url = Package(400000);
    ScriptPackageHost({Served(8192, 20)});
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    harness.WaitForProgress(8192);
    harness.Manager().PauseDownload(1);
    EXPECT_EQ(harness.Manager().AbortDownload(), 1);
    ExpectFailed(harness.WaitForReport(), 200);
    // Once its thread has ended, the download is no longer found.
    while (harness.Manager().AdapterCount() != 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(harness.Manager().AbortDownload(), 0);
}

// A read blocks until its 4096 bytes have come. Wine wakes a blocked read on
// a closed handle only while data keeps coming, so the server trickles; on
// Windows the close wakes any blocked read.
TEST_F(SetupDownload, AbortDuringABlockedReadEndsPromptly) {
    const std::wstring url = Package(400000);
    ScriptPackageHost({Served(256, 50)});
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    harness.WaitForProgress(16384);
    EXPECT_EQ(harness.Manager().AbortDownload(), 1);
    ExpectFailed(harness.WaitForReport(), 200);
}

// An abort that comes after the URL is open but before the transfer (the
// test build's seam holds the download there) ends the job before anything
// is done to the file: the setup file of an earlier attempt stays as it was.
TEST_F(SetupDownload, AnAbortBeforeTheTransferLeavesTheEarlierFileAlone) {
    const std::string earlier(100000, 'x');
    {
        platform::UniqueFileHandle old(
            ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ::WriteFile(old.Get(), earlier.data(), static_cast<DWORD>(earlier.size()), &written,
                    nullptr);
    }
    const std::wstring url = Package(50000);
    _putenv_s("KESTRIX_TEST_DELAY_BEFORE_FILE_MS", "1500");
    harness.Manager().StartDownloadJob(url.c_str(), target.c_str());
    while (standin.requests(testsupport::kStandinPackage).empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // Well inside the seam's hold, once the answer's head has been read.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(harness.Manager().AbortDownload(), 1);
    const JobReport report = harness.WaitForReport();
    _putenv_s("KESTRIX_TEST_DELAY_BEFORE_FILE_MS", "");
    EXPECT_FALSE(report.hasData);
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    ASSERT_TRUE(::GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &attributes))
        << "the earlier file is still there";
    EXPECT_EQ(attributes.nFileSizeLow, earlier.size()) << "and unchanged";
}
