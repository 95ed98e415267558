#pragma once
#include <cstdint>
#include <string>

namespace platform {

// What Windows says of a file's Authenticode signature.
struct SignatureFacts {
    int32_t trustResult = -1; // WinVerifyTrust: 0 when signature, digest and chain hold
    std::wstring signerName;  // the signer certificate's subject common name
    bool chainBuilt = false;  // the signer's chain could be built
    uint32_t chainErrors = 0; // that chain's CERT_TRUST_* error bits
};

enum class SignatureVerdict {
    Trusted,        // signed by the expected signer under a trusted root
    Invalid,        // unsigned, altered after signing, or refused by Windows
    OtherSigner,    // a valid signature by someone else
    UntrustedChain, // the signer's chain does not end at a trusted root
};

// Judges the facts against the expected signer's name (compared exactly).
// WinVerifyTrust alone is not enough: some implementations accept a chain
// that ends at a root in no store, so the chain's own error bits must be
// clear too, but for those that only say revocation was not checked (an
// offline machine must still install).
SignatureVerdict JudgeSignature(const SignatureFacts& facts, const std::wstring& expectedSigner);

} // namespace platform
