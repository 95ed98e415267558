#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <openssl/pem.h>

#include "tests/standin/StandinFixture.h"
#include "tools/standin/OpensslHandles.h"
#include "tools/standin/TestCertificates.h"

namespace standintest {
namespace {

using standin::ensureTestCertificates;

constexpr std::time_t kYear = 365 * 24 * 60 * 60;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

standin::X509Ptr loadCertificate(const std::string& path) {
    standin::BioPtr bio(BIO_new_file(path.c_str(), "r"));
    return standin::X509Ptr(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)
                                : nullptr);
}

bool verifies(X509* server, X509* ca, const char* host) {
    standin::X509StorePtr store(X509_STORE_new());
    standin::X509StoreContextPtr context(X509_STORE_CTX_new());
    X509_STORE_add_cert(store.get(), ca);
    X509_STORE_CTX_init(context.get(), store.get(), server, nullptr);
    X509_STORE_CTX_set_purpose(context.get(), X509_PURPOSE_SSL_SERVER);
    X509_VERIFY_PARAM_set1_host(X509_STORE_CTX_get0_param(context.get()), host, 0);
    return X509_verify_cert(context.get()) == 1;
}

using Names = std::vector<std::string>;

// What a run of ensureTestCertificates made anew, by name, so that a failure
// shows the whole difference.
Names renewed(const standin::CertificateReport& report) {
    const std::pair<bool, const char*> parts[] = {{report.caGenerated, "ca"},
                                                  {report.serverGenerated, "server"},
                                                  {report.untrustedGenerated, "untrusted"},
                                                  {report.wrongHostGenerated, "wrong host"}};
    Names names;
    for (const auto& [generated, name] : parts) {
        if (generated) {
            names.emplace_back(name);
        }
    }
    return names;
}

Names dnsNames(X509* certificate) {
    Names names;
    auto* general = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; general && i < sk_GENERAL_NAME_num(general); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(general, i);
        if (name->type == GEN_DNS) {
            const ASN1_IA5STRING* text = name->d.dNSName;
            names.emplace_back(reinterpret_cast<const char*>(ASN1_STRING_get0_data(text)),
                               ASN1_STRING_length(text));
        }
    }
    GENERAL_NAMES_free(general);
    return names;
}

TEST(TestCertificates, MakesACaAndALocalhostServerCertificateThatWineAccepts) {
    std::time_t now = std::time(nullptr);
    standin::CertificatePaths paths = standin::certificatePaths(certificateTemplateDir());

    standin::X509Ptr ca = loadCertificate(paths.caPem);
    standin::X509Ptr server = loadCertificate(paths.serverPem);
    ASSERT_TRUE(ca && server);
    EXPECT_TRUE(verifies(server.get(), ca.get(), "localhost"));
    EXPECT_FALSE(verifies(server.get(), ca.get(), "example.com"));
    // Wine matches only DNS names, so the address must be one too.
    EXPECT_EQ(dnsNames(server.get()), (Names{"localhost", "127.0.0.1"}));
    EXPECT_NE(X509_get_extended_key_usage(server.get()) & XKU_SSL_SERVER, 0u);
    EXPECT_EQ(X509_get_signature_nid(server.get()), NID_sha256WithRSAEncryption);
    EXPECT_EQ(EVP_PKEY_get_bits(X509_get0_pubkey(server.get())), 2048);
    // Valid since yesterday, for years.
    std::time_t earlier = now - 12 * 60 * 60;
    std::time_t later = now + 2 * kYear;
    EXPECT_LT(X509_cmp_time(X509_get0_notBefore(server.get()), &earlier), 0);
    EXPECT_GT(X509_cmp_time(X509_get0_notAfter(server.get()), &later), 0);
    EXPECT_LT(X509_cmp_time(X509_get0_notBefore(ca.get()), &earlier), 0);

    unsigned char* der = nullptr;
    int length = i2d_X509(ca.get(), &der);
    EXPECT_EQ(readFile(paths.caDer), std::string(reinterpret_cast<char*>(der), length));
    OPENSSL_free(der);
    EXPECT_EQ(std::filesystem::status(paths.caKey).permissions() &
                  std::filesystem::perms::others_read,
              std::filesystem::perms::none);
}

TEST(TestCertificates, MakesCertificatesThatClientsMustRefuse) {
    standin::CertificatePaths paths = standin::certificatePaths(certificateTemplateDir());
    standin::X509Ptr ca = loadCertificate(paths.caPem);
    standin::X509Ptr untrustedCa = loadCertificate(paths.untrustedCaPem);
    standin::X509Ptr untrusted = loadCertificate(paths.untrustedServerPem);
    standin::X509Ptr wrongHost = loadCertificate(paths.wrongHostPem);
    ASSERT_TRUE(ca && untrustedCa && untrusted && wrongHost);
    // Only an unknown issuer is wrong with it.
    EXPECT_TRUE(verifies(untrusted.get(), untrustedCa.get(), "localhost"));
    EXPECT_FALSE(verifies(untrusted.get(), ca.get(), "localhost"));
    // Only the host name is wrong with it.
    EXPECT_TRUE(verifies(wrongHost.get(), ca.get(), "other.invalid"));
    EXPECT_FALSE(verifies(wrongHost.get(), ca.get(), "localhost"));
    EXPECT_FALSE(verifies(wrongHost.get(), ca.get(), "127.0.0.1"));
}

TEST(TestCertificates, KeepsValidFilesSoATrustedCaStaysTrusted) {
    ScratchDir dir;
    copyTemplateCertificates(dir.path());
    standin::CertificatePaths first = standin::certificatePaths(dir.path());
    std::string ca = readFile(first.caPem);
    std::string server = readFile(first.serverPem);
    std::string untrusted = readFile(first.untrustedServerPem);
    std::string wrongHost = readFile(first.wrongHostPem);

    standin::CertificateReport second = ensureTestCertificates(dir.path());
    EXPECT_EQ(renewed(second), Names{});
    EXPECT_EQ(readFile(second.paths.caPem), ca);
    EXPECT_EQ(readFile(second.paths.serverPem), server);
    EXPECT_EQ(readFile(second.paths.untrustedServerPem), untrusted);
    EXPECT_EQ(readFile(second.paths.wrongHostPem), wrongHost);
}

TEST(TestCertificates, RenewsOnlyWhatIsBrokenMissingOrExpiring) {
    ScratchDir dir;
    std::time_t now = std::time(nullptr);
    copyTemplateCertificates(dir.path());
    standin::CertificateReport first = ensureTestCertificates(dir.path(), now);
    EXPECT_FALSE(first.caGenerated || first.serverGenerated);
    std::string ca = readFile(first.paths.caPem);
    std::string caDer = readFile(first.paths.caDer);

    std::filesystem::remove(first.paths.caDer);
    std::ofstream(first.paths.serverPem, std::ios::trunc) << "not a certificate";
    std::filesystem::remove(first.paths.untrustedCaKey);
    standin::CertificateReport repaired = ensureTestCertificates(dir.path(), now);
    EXPECT_EQ(renewed(repaired), (Names{"server", "untrusted"}));
    EXPECT_EQ(readFile(first.paths.caPem), ca);
    EXPECT_EQ(readFile(first.paths.caDer), caDer);

    // The server certificate runs for 3 years, the CA for 10.
    standin::CertificateReport serverExpiring = ensureTestCertificates(dir.path(), now + 3 * kYear);
    EXPECT_FALSE(serverExpiring.caGenerated);
    EXPECT_TRUE(serverExpiring.serverGenerated);
    EXPECT_EQ(readFile(first.paths.caPem), ca);

    standin::CertificateReport caExpiring = ensureTestCertificates(dir.path(), now + 10 * kYear);
    EXPECT_TRUE(caExpiring.caGenerated);
    EXPECT_TRUE(caExpiring.serverGenerated);
    EXPECT_TRUE(caExpiring.wrongHostGenerated);
    EXPECT_NE(readFile(first.paths.caPem), ca);
}

// The release smoke test names production hosts: the server certificate is
// made anew for them, under the same CA, and kept while it covers them.
TEST(TestCertificates, CoversTheServerNamesAskedForUnderTheSameCa) {
    ScratchDir dir;
    copyTemplateCertificates(dir.path());
    const Names production{"logconf.example.com", "collector.example.com"};
    standin::CertificateReport named =
        ensureTestCertificates(dir.path(), std::time(nullptr), production);
    EXPECT_EQ(renewed(named), Names{"server"});
    standin::X509Ptr ca = loadCertificate(named.paths.caPem);
    standin::X509Ptr server = loadCertificate(named.paths.serverPem);
    for (const char* host : {"logconf.example.com", "collector.example.com", "localhost"})
        EXPECT_TRUE(verifies(server.get(), ca.get(), host)) << host;
    EXPECT_FALSE(verifies(server.get(), ca.get(), "example.com"));
    EXPECT_EQ(renewed(ensureTestCertificates(dir.path(), std::time(nullptr), production)), Names{});
}

TEST(TestCertificates, ReplacesACaWhoseKeyDoesNotMatch) {
    ScratchDir dir;
    copyTemplateCertificates(dir.path());
    standin::CertificatePaths paths = standin::certificatePaths(dir.path());
    std::filesystem::copy_file(paths.serverKey, paths.caKey,
                               std::filesystem::copy_options::overwrite_existing);
    standin::CertificateReport again = ensureTestCertificates(dir.path());
    EXPECT_TRUE(again.caGenerated);
    EXPECT_TRUE(again.serverGenerated);
    EXPECT_NE(readFile(paths.caKey), readFile(paths.serverKey));
}

} // namespace
} // namespace standintest
