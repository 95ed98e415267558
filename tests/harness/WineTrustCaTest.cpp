// `wine-env.sh trust-ca` with kestrix-trustca.exe: the certificate lands in the
// prefix's local-machine Root store, where WinINet looks for trusted CAs.
#include "tools/harness/WineProcess.h"
#include "tools/harness/WineSpawn.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
namespace {

using namespace std::chrono_literals;

// A self-signed CA made for this test only; nothing it signs exists.
const char* const kCaPem = "-----BEGIN CERTIFICATE-----\n"
                           "MIIBqTCCAU+gAwIBAgIUNh+veOh0mnck66B/IRySUGr0HWAwCgYIKoZIzj0EAwIw\n"
                           "KjEoMCYGA1UEAwwfS2VzdHJpeCB3aW5lLWVudiB0cnVzdC1jYSBjaGVjazAeFw0y\n"
                           "NjEyMDkwNzI1NTRaFw0zNjEyMDYwNzI1NTRaMCoxKDAmBgNVBAMMH0tlc3RyaXgg\n"
                           "d2luZS1lbnYgdHJ1c3QtY2EgY2hlY2swWTATBgcqhkjOPQIBBggqhkjOPQMBBwNC\n"
                           "AASIxIGebPNZJ8sSLz6ud2lLLfziZesgkrPq2q2yvFOV6s3Q6GDFRZHlPXBke8PE\n"
                           "HLBEZ21C0G6gElUDfwjthjAfo1MwUTAdBgNVHQ4EFgQUDl5c9MTHLPXtEO6+bJfc\n"
                           "Bopg2JUwHwYDVR0jBBgwFoAUDl5c9MTHLPXtEO6+bJfcBopg2JUwDwYDVR0TAQH/\n"
                           "BAUwAwEB/zAKBggqhkjOPQQDAgNIADBFAiEA83p5G742kUwkZVN8R5Fys3rPCKY4\n"
                           "5QD70RRvoMKU+VECIClCuDzDnsrz3JqUSH7NGXjiGi0Vj9O6j35j7NUQCf00\n"
                           "-----END CERTIFICATE-----\n";
const char* const kStoreKey = "HKLM\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\"
                              "84744850314CC65B954937F1FDB0F77258EB28C3";

// The DER bytes inside the PEM text.
std::string derOf(const std::string& pem) {
    static const std::string kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const size_t begin = pem.find('\n') + 1;
    const size_t end = pem.find("-----END");
    std::string der;
    unsigned bits = 0;
    int count = 0;
    for (size_t i = begin; i < end; ++i) {
        const size_t value = kAlphabet.find(pem[i]);
        if (value == std::string::npos)
            continue;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            der += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return der;
}

// The script under test; its prefix is the one to look into.
std::string script() {
    const char* path = std::getenv("KESTRIX_WINE_ENV");
    if (!path || !*path)
        throw std::runtime_error("KESTRIX_WINE_ENV does not name wine-env.sh");
    return path;
}

struct Outcome {
    int status;
    std::string output;
};

class WineTrustCaTest : public ::testing::Test {
protected:
    WineTrustCaTest() : wine_(WineEnvironment::start(script())) {
        char dir[] = "/tmp/kestrix-trustca-test.XXXXXX";
        dir_ = ::mkdtemp(dir);
        removeFromStore();
    }
    ~WineTrustCaTest() override {
        removeFromStore();
        std::filesystem::remove_all(dir_);
    }

    std::string file(const std::string& name, const std::string& content) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    Outcome trustCa(const std::string& path) {
        const std::string log = dir_ + "/trust-ca.log";
        const pid_t pid = spawnWithLog({{script(), "trust-ca", path}, {}, "", log});
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile(log)};
    }

    bool inStore() { return reg({"query", kStoreKey}) == 0; }
    void removeFromStore() { reg({"delete", kStoreKey, "/f"}); }

private:
    int reg(std::vector<std::string> args) {
        WineProcessOptions options;
        options.args = std::move(args);
        WineProcess process(wine_, "reg", options);
        return process.waitForExit(60s).value_or(-1);
    }

    WineEnvironment wine_;
    std::string dir_;
};

TEST_F(WineTrustCaTest, AddsAPemCertificateOnceEvenWhenRepeated) {
    const std::string pem = file("ca.pem", kCaPem);
    ASSERT_FALSE(inStore());
    const Outcome first = trustCa(pem);
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.output, "") << "quiet on success";
    EXPECT_TRUE(inStore());
    EXPECT_EQ(trustCa(pem).status, 0) << "adding it again replaces it";
    EXPECT_TRUE(inStore());
}

TEST_F(WineTrustCaTest, AddsADerCertificate) {
    const std::string der = derOf(kCaPem);
    ASSERT_EQ(static_cast<unsigned char>(der[0]), 0x30u) << "an ASN.1 sequence";
    const Outcome outcome = trustCa(file("ca.der", der));
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_TRUE(inStore());
}

TEST_F(WineTrustCaTest, RefusesWhatIsNotACertificate) {
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {"empty.der", ""},
             {"text.der", "not a certificate"},
             {"cut.pem", std::string(kCaPem).substr(0, 200)},
             {"garbage.pem", "-----BEGIN CERTIFICATE-----\n!!!!\n-----END CERTIFICATE-----\n"}}) {
        const Outcome outcome = trustCa(file(name, content));
        EXPECT_NE(outcome.status, 0) << name;
        EXPECT_NE(outcome.output.find("kestrix-trustca:"), std::string::npos)
            << name << ": " << outcome.output;
    }
    EXPECT_NE(trustCa("/nonexistent/ca.der").status, 0);
    EXPECT_FALSE(inStore());
}

} // namespace
} // namespace testsupport
