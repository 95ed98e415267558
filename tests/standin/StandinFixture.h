#pragma once
#include <gtest/gtest.h>
#include <string>

#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinProcess.h"

namespace standintest {

// One stand-in on free ports for the whole test program (its state and log
// stay in the build tree), reset before every test.
class StandinTest : public ::testing::Test {
public:
    static testsupport::StandinProcess& standin();
    static testsupport::StandinClient client() { return standin().client(); }
    static const testsupport::StandinPorts& ports() { return standin().ports(); }

protected:
    void SetUp() override;
};

// The installer's package-URL request as it sends it, byte for byte.
inline constexpr const char* kPackageUrlRequest =
    "POST /api/1/update/pcoffice/packageurl HTTP/1.0\r\nContent-Length: 5\r\n\r\nnull\n";

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
