// kestrix-trustca <ca-file>: adds a CA certificate (DER, or PEM with its
// BEGIN/END lines) to the local machine's Root store, so that programs in this
// Wine prefix trust the test servers' certificates. Replaces an earlier copy.
#include <windows.h>
// After windows.h, whose types it uses.
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

struct StoreCloser {
    void operator()(void* store) const { CertCloseStore(static_cast<HCERTSTORE>(store), 0); }
};
using Store = std::unique_ptr<void, StoreCloser>;

bool ReadFile(const wchar_t* path, std::vector<BYTE>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool IsPem(const std::vector<BYTE>& bytes) {
    static const std::string kBegin = "-----BEGIN";
    return std::string(bytes.begin(), bytes.end()).find(kBegin) != std::string::npos;
}

bool PemToDer(const std::vector<BYTE>& pem, std::vector<BYTE>& der) {
    const auto* text = reinterpret_cast<const char*>(pem.data());
    const auto length = static_cast<DWORD>(pem.size());
    DWORD size = 0;
    if (!CryptStringToBinaryA(text, length, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                              nullptr))
        return false;
    der.resize(size);
    return CryptStringToBinaryA(text, length, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                                nullptr) != FALSE;
}

int Fail(const char* what) {
    std::fprintf(stderr, "kestrix-trustca: %s (error 0x%08lX)\n", what, GetLastError());
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrix-trustca <ca.der|ca.pem>\n");
        return 2;
    }
    std::vector<BYTE> bytes;
    if (!ReadFile(argv[1], bytes) || bytes.empty())
        return Fail("cannot read the certificate file");
    std::vector<BYTE> der;
    if (IsPem(bytes)) {
        if (!PemToDer(bytes, der))
            return Fail("the PEM file holds no readable certificate");
    } else {
        der = std::move(bytes);
    }
    const Store store(
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
    if (!store)
        return Fail("cannot open the local machine's Root store");
    if (!CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING, der.data(),
                                          static_cast<DWORD>(der.size()),
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
        return Fail("not a certificate the store accepts");
    return 0;
}
