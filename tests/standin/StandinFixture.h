#pragma once
#include <gtest/gtest.h>
#include <string>

#include "tests/standin/RawHttp.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinProcess.h"

namespace standintest {

// The harness types most tests use; the tests live in this namespace too.
using testsupport::StandinAnswer;
using testsupport::StandinRequest;

// The installer's package-URL request as it sends it, byte for byte.
inline constexpr const char* kPackageUrlRequest =
    "POST /api/1/update/pcoffice/packageurl HTTP/1.0\r\nContent-Length: 5\r\n\r\nnull\n";

// One stand-in on free ports for the whole test program (its state and log
// stay in the build tree), reset before every test.
class StandinTest : public ::testing::Test {
public:
    static testsupport::StandinProcess& standin();
    static testsupport::StandinClient client() { return standin().client(); }
    static const testsupport::StandinPorts& ports() { return standin().ports(); }

    // kPackageUrlRequest to the update service; the whole answer.
    static std::string askUpdate();
    // The same request on a connection left open for the test to read.
    static RawConnection sendUpdateRequest();

protected:
    void SetUp() override;
};

// A new empty directory, removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A directory holding the test certificates made once for the whole test
// program, since making RSA keys takes a while.
const std::string& certificateTemplateDir();
// Copies those certificates into `dir`.
void copyTemplateCertificates(const std::string& dir);

} // namespace standintest
