#include "tests/standin/StandinFixture.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "tools/standin/TestCertificates.h"

namespace standintest {

testsupport::StandinProcess& StandinTest::standin() {
    static std::unique_ptr<testsupport::StandinProcess> process = [] {
        testsupport::StandinOptions options;
        options.stateDir = STANDIN_TEST_STATE_DIR;
        options.ports = testsupport::StandinPorts::anyFree();
        return std::make_unique<testsupport::StandinProcess>(options);
    }();
    return *process;
}

std::string StandinTest::askUpdate() {
    return roundTrip(ports().update, kPackageUrlRequest);
}

RawConnection StandinTest::sendUpdateRequest() {
    RawConnection connection(ports().update);
    connection.send(kPackageUrlRequest);
    return connection;
}

void StandinTest::SetUp() {
    client().reset();
}

ScratchDir::ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestrix-standin-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

const std::string& certificateTemplateDir() {
    static ScratchDir dir;
    static bool made = (standin::ensureTestCertificates(dir.path()), true);
    (void)made;
    return dir.path();
}

void copyTemplateCertificates(const std::string& dir) {
    standin::CertificatePaths from = standin::certificatePaths(certificateTemplateDir());
    standin::CertificatePaths to = standin::certificatePaths(dir);
    const std::pair<const std::string*, const std::string*> files[] = {
        {&from.caPem, &to.caPem},
        {&from.caDer, &to.caDer},
        {&from.caKey, &to.caKey},
        {&from.serverPem, &to.serverPem},
        {&from.serverKey, &to.serverKey},
        {&from.untrustedCaPem, &to.untrustedCaPem},
        {&from.untrustedCaKey, &to.untrustedCaKey},
        {&from.untrustedServerPem, &to.untrustedServerPem},
        {&from.untrustedServerKey, &to.untrustedServerKey},
        {&from.wrongHostPem, &to.wrongHostPem},
        {&from.wrongHostKey, &to.wrongHostKey}};
    for (const auto& [source, target] : files) {
        std::filesystem::copy_file(*source, *target,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

} // namespace standintest
