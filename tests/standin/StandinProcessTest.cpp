#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>

#include "tests/standin/StandinFixture.h"
#include "tools/harness/StandinProcess.h"

namespace standintest {
namespace {

using testsupport::StandinOptions;
using testsupport::StandinPorts;
using testsupport::StandinProcess;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

StandinOptions optionsIn(const std::string& dir) {
    copyTemplateCertificates(dir);
    StandinOptions options;
    options.stateDir = dir;
    options.ports = StandinPorts::anyFree();
    return options;
}

TEST(StandinProcess, StopsCleanlyAndKeepsItsCaForTheNextRun) {
    ScratchDir dir;
    std::string ca;
    {
        StandinProcess first(optionsIn(dir.path()));
        EXPECT_TRUE(first.client().ready());
        EXPECT_EQ(first.client().ports().update, first.ports().update);
        ca = readFile(first.caPemPath());
        ASSERT_FALSE(ca.empty());
        EXPECT_FALSE(readFile(first.caDerPath()).empty());
        int status = first.stop();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_FALSE(first.client().ready());
    }
    StandinProcess second(optionsIn(dir.path()));
    EXPECT_EQ(readFile(second.caPemPath()), ca);
    EXPECT_NE(readFile(second.logFile()).find("reusing the test CA"), std::string::npos);
}

std::string fetchPackage(const StandinProcess& process, const std::string& name) {
    return roundTrip(process.ports().package, "GET /packages/" + name + " HTTP/1.1\r\n\r\n");
}

TEST(StandinProcess, ServesStartupPackagesAgainAfterAReset) {
    ScratchDir dir;
    std::string file = dir.path() + "/setup.exe";
    std::ofstream(file, std::ios::binary) << "MZ setup";
    StandinOptions options = optionsIn(dir.path());
    options.packages = {"KestrixOfficeSetup.exe=" + file};
    StandinProcess process(options);
    process.client().registerGeneratedPackage("Extra.exe", 10, 1);
    process.client().reset();

    RawResponse setup = parseResponse(fetchPackage(process, "KestrixOfficeSetup.exe"));
    EXPECT_EQ(setup.status, 200);
    EXPECT_EQ(setup.body, "MZ setup");
    EXPECT_EQ(parseResponse(fetchPackage(process, "Extra.exe")).status, 404);
}

// Two services on one port, each on an address of its own, as the release
// smoke test puts them; that port on 127.0.0.1 is left alone.
TEST(StandinProcess, ServesAServiceOnAnAddressOfItsOwnOnly) {
    ScratchDir dir;
    StandinOptions options = optionsIn(dir.path());
    options.addresses = {{"update", "127.0.0.7"}, {"package", "127.0.0.8"}};
    StandinProcess process(options);
    RawResponse update =
        parseResponse(roundTrip(process.ports().update,
                                "POST /api/1/update/pcoffice/packageurl HTTP/1.1\r\n"
                                "Content-Length: 0\r\n\r\n",
                                "127.0.0.7"));
    EXPECT_EQ(update.status, 200);
    EXPECT_THROW(RawConnection(process.ports().update, "127.0.0.1"), std::runtime_error);

    options.addresses = {{"update", "localhost"}};
    EXPECT_THROW(StandinProcess{options}, std::runtime_error) << "an address must be IPv4";
}

TEST(StandinProcess, ReportsAStartFailureWithTheLog) {
    ScratchDir dir;
    StandinOptions options = optionsIn(dir.path());
    options.packages = {"no-equals-sign"};
    try {
        StandinProcess process(options);
        FAIL() << "the stand-in started with a bad option";
    } catch (const std::runtime_error& error) {
        std::string message = error.what();
        EXPECT_NE(message.find("exited with status 2"), std::string::npos) << message;
        EXPECT_NE(message.find("expected NAME=PATH"), std::string::npos) << message;
    }
}

} // namespace
} // namespace standintest
