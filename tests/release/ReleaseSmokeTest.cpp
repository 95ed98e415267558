// The executable a release ships, run end to end under Wine as a user runs
// it: its own production host names, no test seam. tests/release/
// release-smoke.sh runs this program inside a private network namespace whose
// hosts file puts each of those names on a loopback address of its own,
// where the stand-in services answer for them on the ports the names imply.
#include "tools/harness/FileDigest.h"
#include "tools/harness/PaddedSetup.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinProcess.h"
#include "tools/harness/UiDriver.h"
#include "tools/harness/WineEnvironment.h"
#include "tools/harness/WineProcess.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::requiredVariable;

constexpr int kTitle = 1000;
const char kConnecting[] = "Connecting to the Internet to download the installation files.";
const char kDownloading[] = "Downloading Kestrix Office...";
const char kPackageName[] = "KestrixOfficeSetup.exe";

// Where one service answers: the host name the release names, the port it
// implies, and the loopback address the namespace's hosts file gives the name.
struct Endpoint {
    std::string service; // the stand-in's name for it
    std::string host;
    int port = 0;
    std::string address;

    // The Host header a client sends for it.
    std::string HostHeader(int defaultPort) const {
        return port == defaultPort ? host : host + ":" + std::to_string(port);
    }
};

Endpoint EndpointFromEnvironment(const std::string& service, const std::string& prefix) {
    Endpoint endpoint;
    endpoint.service = service;
    endpoint.host = requiredVariable((prefix + "_HOST").c_str());
    endpoint.port = std::stoi(requiredVariable((prefix + "_PORT").c_str()));
    endpoint.address = requiredVariable((prefix + "_ADDRESS").c_str());
    return endpoint;
}

// What the programs of this namespace sent: a TCP connection made to anything
// but a listener of ours opens without being accepted, and a datagram (a DNS
// query for a name the hosts file lacks, say) has no one to go to. TCP counts
// cover IPv4 and IPv6; UDP is counted for each.
struct TrafficCounts {
    long tcpActiveOpens = 0;
    long tcpPassiveOpens = 0;
    long udpDatagramsSent = 0;
};

// The value under `name` in the two-line tables of /proc/net/snmp ("Tcp: ..."
// then "Tcp: <values>"), or in the "name value" lines of /proc/net/snmp6.
long ProcNetCount(const std::string& file, const std::string& table, const std::string& name) {
    std::ifstream in(file);
    std::string line, header;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first, value;
        words >> first;
        if (table.empty()) {
            if (first == name && words >> value)
                return std::stol(value);
            continue;
        }
        if (first != table + ":")
            continue;
        if (header.empty()) {
            header = line;
            continue;
        }
        std::istringstream names(header), values(line);
        std::string key;
        names >> key;
        values >> value;
        while (names >> key && values >> value) {
            if (key == name)
                return std::stol(value);
        }
        return 0;
    }
    return 0;
}

TrafficCounts ReadTrafficCounts() {
    TrafficCounts counts;
    counts.tcpActiveOpens = ProcNetCount("/proc/net/snmp", "Tcp", "ActiveOpens");
    counts.tcpPassiveOpens = ProcNetCount("/proc/net/snmp", "Tcp", "PassiveOpens");
    counts.udpDatagramsSent = ProcNetCount("/proc/net/snmp", "Udp", "OutDatagrams") +
                              ProcNetCount("/proc/net/snmp6", "", "Udp6OutDatagrams");
    return counts;
}

// A name as the deployment value writes it ("C=GB, O=..., CN=...") in the
// form openssl's -subj takes ("/C=GB/O=.../CN=..."); values that hold ", "
// cannot be told apart and would fail the run at the signature check.
std::string OpensslSubject(const std::string& name) {
    std::string subject = "/";
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (name.compare(at, 2, ", ") == 0) {
            subject += '/';
            ++at;
        } else {
            subject += name[at];
        }
    }
    return subject;
}

// What a window shows, for a failure's message.
std::string Describe(testsupport::UiDriver& driver, testsupport::WindowHandle window) {
    try {
        const testsupport::WindowInfo info = driver.readWindow(window);
        std::string text = "window \"" + info.caption + "\" (" + info.className + ")";
        for (const testsupport::ControlInfo& control : info.controls)
            text += "\n  control " + std::to_string(control.id) + " " + control.className +
                    (control.visible ? " shown" : " hidden") + ": \"" + control.text + "\"";
        return text;
    } catch (const testsupport::UiDriverError& error) {
        return std::string("the window cannot be read: ") + error.what();
    }
}

class ReleaseSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        update_ = EndpointFromEnvironment(testsupport::kStandinUpdate, "KESTRIX_SMOKE_UPDATE");
        package_ = EndpointFromEnvironment(testsupport::kStandinPackage, "KESTRIX_SMOKE_PACKAGE");
        logConf_ = EndpointFromEnvironment(testsupport::kStandinLogConf, "KESTRIX_SMOKE_LOGCONF");
        collector_ =
            EndpointFromEnvironment(testsupport::kStandinCollector, "KESTRIX_SMOKE_COLLECTOR");
        work_ = requiredVariable("KESTRIX_SMOKE_WORK");
        fs::remove_all(work_);
        fs::create_directories(work_);
    }

    testsupport::StandinOptions StandinOptions() const {
        testsupport::StandinOptions options;
        options.stateDir = (work_ / "standin").string();
        options.ports.update = update_.port;
        options.ports.package = package_.port;
        options.ports.logConf = logConf_.port;
        options.ports.collector = collector_.port;
        for (const Endpoint* endpoint : {&update_, &package_, &logConf_, &collector_})
            options.addresses[endpoint->service] = endpoint->address;
        options.serverNames = {logConf_.host, collector_.host};
        return options;
    }

    Endpoint update_, package_, logConf_, collector_;
    fs::path work_;
};

TEST_F(ReleaseSmoke, TheReleaseDownloadsChecksAndStartsTheSetupThroughItsProductionHosts) {
    const TrafficCounts before = ReadTrafficCounts();
    const std::string releaseExe = requiredVariable("KESTRIX_RELEASE_EXE");
    const std::string releaseSha = testsupport::Sha256OfFile(releaseExe);
    std::cout << "release smoke: running " << releaseExe << "\n"
              << "release smoke: SHA-256 " << releaseSha << "\n";

    testsupport::WineEnvironment wine = testsupport::WineEnvironment::fromProcessEnvironment();
    testsupport::StandinProcess standin(StandinOptions());
    const std::string trust =
        requiredVariable("KESTRIX_WINE_ENV") + " trust-ca '" + standin.caDerPath() + "'";
    ASSERT_EQ(std::system(trust.c_str()), 0) << trust;
    const testsupport::StandinClient services = standin.client();

    // The stand-in setup program, signed as the release expects its setup to
    // be, under a CA of the release's expected issuer name that the prefix trusts.
    const std::string certs = StandinOptions().stateDir;
    const std::string issuer = OpensslSubject(requiredVariable("KESTRIX_SMOKE_SIGNER_ISSUER"));
    const std::string signingCa = testsupport::SigningCaDer(certs, issuer);
    const std::string trustSigning =
        requiredVariable("KESTRIX_WINE_ENV") + " trust-ca '" + signingCa + "'";
    ASSERT_EQ(std::system(trustSigning.c_str()), 0) << trustSigning;
    const fs::path package = work_ / kPackageName;
    testsupport::MakePaddedSetup(
        requiredVariable("KESTRIX_STANDIN_SETUP_EXE"), 3 << 20, certs,
        testsupport::Signer::Named("/CN=" + requiredVariable("KESTRIX_SMOKE_SIGNER") + "/O=" +
                                       requiredVariable("KESTRIX_SMOKE_SIGNER_ORGANIZATION"),
                                   issuer),
        package);
    const testsupport::StandinPackage served =
        services.registerPackageFile(kPackageName, package.string());
    // Slow enough that each view can be read.
    testsupport::StandinAnswer url = testsupport::StandinAnswer::json(
        "{\"resultCode\":0,\"url\":\"http://" + package_.HostHeader(80) + "/packages/" +
        kPackageName + "\"}");
    url.delayMs = 1000;
    services.script(testsupport::kStandinUpdate, {url});
    testsupport::StandinAnswer paced;
    paced.package = kPackageName;
    paced.chunkBytes = 64 * 1024;
    paced.chunkDelayMs = 20;
    services.script(testsupport::kStandinPackage, {paced});

    const fs::path setupFolder = fs::path(wine.roamingFolder()) / "KestrixOffice/Setup";
    fs::remove_all(setupFolder);
    const fs::path exe = work_ / "run" / "KestrixOfficeInstaller.exe";
    fs::create_directories(exe.parent_path());
    fs::copy_file(releaseExe, exe);

    testsupport::UiDriver driver(wine, requiredVariable("KESTRIX_UIDRIVER_EXE"));
    testsupport::WineProcessOptions run;
    run.environment["LANG"] = "en_US.UTF-8";
    run.workDir = exe.parent_path().string();
    run.logPath = (work_ / "installer.log").string();
    testsupport::WineProcess installer(wine, exe.string(), run);

    testsupport::WindowQuery query;
    query.exe = "KestrixOfficeInstaller.exe";
    query.className = "#32770";
    const auto window = driver.waitForWindow(query, 60s);
    ASSERT_TRUE(window) << "the release's window did not appear; its log:\n" << installer.log();
    EXPECT_TRUE(driver.waitForControlText(*window, kTitle, kConnecting, 30s))
        << "no connecting view; " << Describe(driver, *window);
    EXPECT_TRUE(driver.waitForControlText(*window, kTitle, kDownloading, 60s))
        << "no downloading view; " << Describe(driver, *window);

    const fs::path downloaded = setupFolder / kPackageName;
    const fs::path started = downloaded.string() + ".started";
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!fs::exists(started) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(fs::exists(started)) << "the setup program was not started; the installer's log:\n"
                                     << installer.log();
    const auto exit = installer.waitForExit(30s);
    ASSERT_TRUE(exit) << "the installer did not end after the hand-off";
    EXPECT_EQ(*exit, 0);
    EXPECT_EQ(testsupport::Sha256OfFile(downloaded.string()), served.sha256)
        << "the file differs from the package";

    // Every request went to a production host, each to its own service.
    const std::map<std::string, std::string> expectedHost = {
        {update_.service, update_.HostHeader(80)},
        {package_.service, package_.HostHeader(80)},
        {logConf_.service, logConf_.HostHeader(443)},
        {collector_.service, collector_.HostHeader(443)},
    };
    const std::string releaseAgentPattern =
        R"(Kestrix/5\.0 \(pc, Windows [^,]*, en-US\) KestrixDownloader/8\.1\.13\.27212\.PROD)";
    std::set<std::string> served_by;
    std::set<std::string> pages;
    const std::vector<testsupport::StandinRequest> requests = services.requests();
    for (const testsupport::StandinRequest& request : requests) {
        served_by.insert(request.service);
        EXPECT_EQ(request.header("Host").value_or(""), expectedHost.at(request.service))
            << request.requestLine;
        EXPECT_TRUE(request.error.empty()) << request.requestLine << ": " << request.error;
        if (request.service == testsupport::kStandinCollector) {
            Json::Value document;
            ASSERT_TRUE(Json::Reader().parse(request.body, document)) << request.body;
            const std::string agent = document["ui"]["ua"].asString();
            EXPECT_TRUE(std::regex_match(agent, std::regex(releaseAgentPattern))) << agent;
            EXPECT_EQ(request.header("User-Agent").value_or(""), agent);
            if (document["ti"]["t"].asString() == "p")
                pages.insert(document["obj"]["dt"].asString());
        }
    }
    EXPECT_EQ(served_by, (std::set<std::string>{"update", "package", "logconf", "collector"}));
    EXPECT_TRUE(pages.count("ConnectInternet") && pages.count("Downloading"))
        << "page views received: " << pages.size();

    // Nothing else was asked: every connection made in the namespace was one
    // that the stand-in accepted.
    standin.stop();
    const TrafficCounts after = ReadTrafficCounts();
    EXPECT_EQ(after.tcpActiveOpens - before.tcpActiveOpens,
              after.tcpPassiveOpens - before.tcpPassiveOpens)
        << "a connection was opened that no stand-in service accepted";
    EXPECT_EQ(after.udpDatagramsSent - before.udpDatagramsSent, 0)
        << "datagrams were sent (a name looked up that the hosts file lacks?)";
    std::cout << "release smoke: " << requests.size() << " requests, all to "
              << update_.HostHeader(80) << ", " << package_.HostHeader(80) << ", "
              << logConf_.HostHeader(443) << " and " << collector_.HostHeader(443)
              << "; the setup program started; the downloaded file is the package\n";
}

} // namespace
