#include "tools/standin/TestCertificates.h"

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <stdexcept>
#include <vector>

#include "tools/standin/AtomicFile.h"
#include "tools/standin/OpensslHandles.h"

namespace standin {

namespace {

constexpr long kDay = 24 * 60 * 60;
constexpr int kCaDays = 10 * 365;
constexpr int kServerDays = 3 * 365;
constexpr long kRenewalMargin = 30 * kDay;
constexpr const char* kOrganisation = "Kestrix Office tests";
constexpr const char* kCaName = "Kestrix Office Test CA";
// Named apart from the test CA, so that a client looking for the issuer does
// not find the test CA instead.
constexpr const char* kUntrustedCaName = "Kestrix Office Untrusted Test CA";

// What a server certificate is for.
struct ServerNames {
    const char* commonName;
    std::string altNames;
    std::vector<std::string> hosts; // it must verify for each
};

const ServerNames kLocalhost{
    "localhost", "DNS:localhost,DNS:127.0.0.1,IP:127.0.0.1,IP:::1", {"localhost", "127.0.0.1"}};

ServerNames localhostAnd(const std::vector<std::string>& names) {
    ServerNames server = kLocalhost;
    for (const std::string& name : names) {
        server.altNames += ",DNS:" + name;
        server.hosts.push_back(name);
    }
    return server;
}
const ServerNames kOtherHost{"other.invalid", "DNS:other.invalid", {"other.invalid"}};

[[noreturn]] void fail(const std::string& what) {
    char reason[256] = "";
    if (unsigned long code = ERR_get_error()) {
        ERR_error_string_n(code, reason, sizeof reason);
    }
    ERR_clear_error();
    throw std::runtime_error(what + (reason[0] ? std::string(": ") + reason : std::string()));
}

struct CertifiedKey {
    X509Ptr certificate;
    KeyPtr key;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string memoryBioText(BIO* bio) {
    char* data = nullptr;
    long size = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(size));
}

std::string certificatePem(X509* certificate) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || PEM_write_bio_X509(bio.get(), certificate) != 1) {
        fail("cannot encode a certificate");
    }
    return memoryBioText(bio.get());
}

std::string certificateDer(X509* certificate) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || i2d_X509_bio(bio.get(), certificate) != 1) {
        fail("cannot encode a certificate");
    }
    return memoryBioText(bio.get());
}

std::string keyPem(EVP_PKEY* key) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio ||
        PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1) {
        fail("cannot encode a key");
    }
    return memoryBioText(bio.get());
}

// Never asks for a passphrase: our keys have none, and a prompt would hang.
int noPassphrase(char*, int, int, void*) {
    return 0;
}

CertifiedKey load(const std::string& certificatePath, const std::string& keyPath) {
    CertifiedKey loaded;
    BioPtr certificateBio(BIO_new_file(certificatePath.c_str(), "r"));
    BioPtr keyBio(BIO_new_file(keyPath.c_str(), "r"));
    if (certificateBio && keyBio) {
        loaded.certificate.reset(
            PEM_read_bio_X509(certificateBio.get(), nullptr, noPassphrase, nullptr));
        loaded.key.reset(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, noPassphrase, nullptr));
    }
    ERR_clear_error();
    if (!loaded.certificate || !loaded.key ||
        X509_check_private_key(loaded.certificate.get(), loaded.key.get()) != 1) {
        ERR_clear_error();
        return {};
    }
    return loaded;
}

// The chain verifies at `at` for the given host name as a TLS server (or as
// a CA when `host` is empty).
bool verifiesAt(X509* certificate, X509* ca, std::time_t at, const char* host) {
    X509StorePtr store(X509_STORE_new());
    X509StoreContextPtr context(X509_STORE_CTX_new());
    if (!store || !context || X509_STORE_add_cert(store.get(), ca) != 1 ||
        X509_STORE_CTX_init(context.get(), store.get(), certificate, nullptr) != 1) {
        ERR_clear_error();
        return false;
    }
    X509_STORE_CTX_set_time(context.get(), 0, at);
    if (host) {
        X509_STORE_CTX_set_purpose(context.get(), X509_PURPOSE_SSL_SERVER);
        X509_VERIFY_PARAM_set1_host(X509_STORE_CTX_get0_param(context.get()), host, 0);
    }
    bool ok = X509_verify_cert(context.get()) == 1;
    ERR_clear_error();
    return ok;
}

bool strongEnough(X509* certificate, EVP_PKEY* key) {
    return EVP_PKEY_get_base_id(key) == EVP_PKEY_RSA && EVP_PKEY_get_bits(key) >= 2048 &&
           X509_get_signature_nid(certificate) == NID_sha256WithRSAEncryption;
}

bool caUsable(const CertifiedKey& ca, std::time_t now) {
    return ca.certificate && X509_check_ca(ca.certificate.get()) == 1 &&
           strongEnough(ca.certificate.get(), ca.key.get()) &&
           verifiesAt(ca.certificate.get(), ca.certificate.get(), now, nullptr) &&
           verifiesAt(ca.certificate.get(), ca.certificate.get(), now + kRenewalMargin, nullptr);
}

bool serverUsable(const CertifiedKey& server, X509* ca, const ServerNames& names, std::time_t now) {
    if (!server.certificate || !strongEnough(server.certificate.get(), server.key.get())) {
        return false;
    }
    X509* certificate = server.certificate.get();
    bool serverAuth = (X509_get_extension_flags(certificate) & EXFLAG_XKUSAGE) != 0 &&
                      (X509_get_extended_key_usage(certificate) & XKU_SSL_SERVER) != 0;
    for (const std::string& host : names.hosts) {
        serverAuth = serverAuth && verifiesAt(certificate, ca, now, host.c_str());
    }
    return serverAuth &&
           verifiesAt(certificate, ca, now + kRenewalMargin, names.hosts.front().c_str());
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509ExtensionPtr extension(X509V3_EXT_nconf_nid(nullptr, &context, nid, value));
    if (!extension || X509_add_ext(certificate, extension.get(), -1) != 1) {
        fail(std::string("cannot add the extension ") + OBJ_nid2sn(nid));
    }
}

void setName(X509_NAME* name, const char* commonName) {
    if (X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(kOrganisation), -1, -1,
                                   0) != 1 ||
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(commonName), -1, -1,
                                   0) != 1) {
        fail("cannot set a certificate name");
    }
}

X509Ptr newCertificate(EVP_PKEY* key, const char* commonName, int days, std::time_t now) {
    X509Ptr certificate(X509_new());
    unsigned char serial[16];
    if (!certificate || RAND_bytes(serial, sizeof serial) != 1) {
        fail("cannot start a certificate");
    }
    serial[0] &= 0x7F; // a positive serial number
    BignumPtr number(BN_bin2bn(serial, sizeof serial, nullptr));
    std::time_t start = now;
    if (!number || X509_set_version(certificate.get(), 2) != 1 ||
        !BN_to_ASN1_INTEGER(number.get(), X509_get_serialNumber(certificate.get())) ||
        !X509_time_adj_ex(X509_getm_notBefore(certificate.get()), -1, 0, &start) ||
        !X509_time_adj_ex(X509_getm_notAfter(certificate.get()), days, 0, &start) ||
        X509_set_pubkey(certificate.get(), key) != 1) {
        fail("cannot fill in a certificate");
    }
    setName(X509_get_subject_name(certificate.get()), commonName);
    return certificate;
}

KeyPtr newKey() {
    KeyPtr key(EVP_RSA_gen(2048));
    if (!key) {
        fail("cannot generate an RSA key");
    }
    return key;
}

struct Extension {
    int nid;
    const char* value;
};

// A new key and a certificate for it, issued and signed by `issuer`, or by
// itself when there is none. `what` names the certificate in errors.
CertifiedKey generateCertified(const char* what, const char* commonName, int days,
                               const CertifiedKey* issuer,
                               std::initializer_list<Extension> extensions, std::time_t now) {
    CertifiedKey made;
    made.key = newKey();
    made.certificate = newCertificate(made.key.get(), commonName, days, now);
    X509* certificate = made.certificate.get();
    X509* issuerCertificate = issuer ? issuer->certificate.get() : certificate;
    EVP_PKEY* issuerKey = issuer ? issuer->key.get() : made.key.get();
    if (X509_set_issuer_name(certificate, X509_get_subject_name(issuerCertificate)) != 1) {
        fail(std::string("cannot set the issuer of ") + what);
    }
    for (const Extension& extension : extensions) {
        addExtension(certificate, issuerCertificate, extension.nid, extension.value);
    }
    if (X509_sign(certificate, issuerKey, EVP_sha256()) == 0) {
        fail(std::string("cannot sign ") + what);
    }
    return made;
}

CertifiedKey generateCa(const char* commonName, std::time_t now) {
    return generateCertified("the CA certificate", commonName, kCaDays, nullptr,
                             {{NID_basic_constraints, "critical,CA:TRUE"},
                              {NID_key_usage, "critical,keyCertSign,cRLSign"},
                              {NID_subject_key_identifier, "hash"}},
                             now);
}

CertifiedKey generateServer(const CertifiedKey& ca, const ServerNames& names, std::time_t now) {
    return generateCertified("the server certificate", names.commonName, kServerDays, &ca,
                             {{NID_basic_constraints, "critical,CA:FALSE"},
                              {NID_key_usage, "critical,digitalSignature,keyEncipherment"},
                              {NID_ext_key_usage, "serverAuth"},
                              {NID_subject_alt_name, names.altNames.c_str()},
                              {NID_subject_key_identifier, "hash"},
                              {NID_authority_key_identifier, "keyid:always"}},
                             now);
}

// Keeps the CA at `pemPath` when usable, else makes and writes a new one;
// true when it is new.
bool ensureCa(const std::string& pemPath, const std::string& keyPath, const char* commonName,
              std::time_t now, CertifiedKey& ca) {
    ca = load(pemPath, keyPath);
    if (caUsable(ca, now)) {
        return false;
    }
    ca = generateCa(commonName, now);
    writeFileAtomically(keyPath, keyPem(ca.key.get()), 0600);
    writeFileAtomically(pemPath, certificatePem(ca.certificate.get()), 0644);
    return true;
}

// Keeps the server certificate at `pemPath` when usable and `ca` is not new,
// else makes and writes a new one; true when it is new.
bool ensureServer(const std::string& pemPath, const std::string& keyPath, const ServerNames& names,
                  const CertifiedKey& ca, bool caGenerated, std::time_t now) {
    if (!caGenerated && serverUsable(load(pemPath, keyPath), ca.certificate.get(), names, now)) {
        return false;
    }
    CertifiedKey server = generateServer(ca, names, now);
    writeFileAtomically(keyPath, keyPem(server.key.get()), 0600);
    writeFileAtomically(pemPath, certificatePem(server.certificate.get()), 0644);
    return true;
}

} // namespace

CertificatePaths certificatePaths(const std::string& stateDir) {
    CertificatePaths paths;
    paths.caPem = stateDir + "/ca.pem";
    paths.caDer = stateDir + "/ca.der";
    paths.caKey = stateDir + "/ca.key";
    paths.serverPem = stateDir + "/server.pem";
    paths.serverKey = stateDir + "/server.key";
    paths.untrustedCaPem = stateDir + "/untrusted-ca.pem";
    paths.untrustedCaKey = stateDir + "/untrusted-ca.key";
    paths.untrustedServerPem = stateDir + "/untrusted-server.pem";
    paths.untrustedServerKey = stateDir + "/untrusted-server.key";
    paths.wrongHostPem = stateDir + "/wrong-host.pem";
    paths.wrongHostKey = stateDir + "/wrong-host.key";
    return paths;
}

CertificateReport ensureTestCertificates(const std::string& stateDir, std::time_t now,
                                         const std::vector<std::string>& serverNames) {
    CertificateReport report;
    report.paths = certificatePaths(stateDir);
    const CertificatePaths& paths = report.paths;

    CertifiedKey ca;
    report.caGenerated = ensureCa(paths.caPem, paths.caKey, kCaName, now, ca);
    std::string der = certificateDer(ca.certificate.get());
    if (readFile(paths.caDer) != der) {
        writeFileAtomically(paths.caDer, der, 0644);
    }
    report.serverGenerated = ensureServer(paths.serverPem, paths.serverKey,
                                          localhostAnd(serverNames), ca, report.caGenerated, now);
    report.wrongHostGenerated = ensureServer(paths.wrongHostPem, paths.wrongHostKey, kOtherHost, ca,
                                             report.caGenerated, now);

    CertifiedKey untrustedCa;
    bool untrustedCaGenerated =
        ensureCa(paths.untrustedCaPem, paths.untrustedCaKey, kUntrustedCaName, now, untrustedCa);
    report.untrustedGenerated = ensureServer(paths.untrustedServerPem, paths.untrustedServerKey,
                                             kLocalhost, untrustedCa, untrustedCaGenerated, now);
    return report;
}

} // namespace standin
