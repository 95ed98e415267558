#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Who must have signed the setup program: the signer certificate's subject
// common name and organisation, and the subject name of the CA that issued
// it, as DistinguishedNameText writes it ("O=..., CN=...").
struct ExpectedSigner {
    std::wstring commonName;
    std::wstring organization;
    std::wstring issuer;
};

// What Windows says of a file's Authenticode signature. Names are kept whole,
// whatever characters they hold, and every value of an attribute is kept.
struct SignatureFacts {
    int32_t trustResult = -1; // WinVerifyTrust: 0 when signature, digest and chain hold
    std::vector<std::wstring> signerCommonNames;   // of the signer certificate's subject
    std::vector<std::wstring> signerOrganizations; // likewise
    std::wstring issuerName;  // the issuing CA's subject name, as DistinguishedNameText writes it
    bool chainBuilt = false;  // the signer's chain could be built
    uint32_t chainErrors = 0; // that chain's CERT_TRUST_* error bits
};

enum class SignatureVerdict {
    Trusted,        // signed by the expected signer under a trusted root
    Invalid,        // unsigned, altered after signing, or refused by Windows
    OtherSigner,    // a valid signature by someone else
    UntrustedChain, // the signer's chain does not end at a trusted root
};

// Judges the facts against the expected signer: exactly one common name and
// one organisation, each equal to the expected one in every character and
// in length, and the issuer's name likewise; an expected value left empty
// trusts nobody. WinVerifyTrust alone is not enough: some implementations
// accept a chain that ends at a root in no store, so the chain's own error
// bits must be clear too, but for those that only say revocation was not
// checked (an offline machine must still install).
SignatureVerdict JudgeSignature(const SignatureFacts& facts, const ExpectedSigner& expected);

} // namespace platform
