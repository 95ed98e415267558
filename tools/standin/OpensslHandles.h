#pragma once
#include <memory>
#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace standin {

// Owners for the OpenSSL objects we create.
template <typename T, void (*Free)(T*)> struct OpensslFree {
    void operator()(T* p) const { Free(p); }
};

using BioPtr = std::unique_ptr<BIO, OpensslFree<BIO, BIO_free_all>>;
using BignumPtr = std::unique_ptr<BIGNUM, OpensslFree<BIGNUM, BN_free>>;
using DigestContextPtr = std::unique_ptr<EVP_MD_CTX, OpensslFree<EVP_MD_CTX, EVP_MD_CTX_free>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, OpensslFree<EVP_PKEY, EVP_PKEY_free>>;
using SslContextPtr = std::unique_ptr<SSL_CTX, OpensslFree<SSL_CTX, SSL_CTX_free>>;
using SslPtr = std::unique_ptr<SSL, OpensslFree<SSL, SSL_free>>;
using X509Ptr = std::unique_ptr<X509, OpensslFree<X509, X509_free>>;
using X509ExtensionPtr =
    std::unique_ptr<X509_EXTENSION, OpensslFree<X509_EXTENSION, X509_EXTENSION_free>>;
using X509StorePtr = std::unique_ptr<X509_STORE, OpensslFree<X509_STORE, X509_STORE_free>>;
using X509StoreContextPtr =
    std::unique_ptr<X509_STORE_CTX, OpensslFree<X509_STORE_CTX, X509_STORE_CTX_free>>;

} // namespace standin
