#include "platform/SignatureCheck.h"

namespace platform {

namespace {

// CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION
constexpr uint32_t kRevocationNotChecked = 0x00000040u | 0x01000000u;

} // namespace

SignatureVerdict JudgeSignature(const SignatureFacts& facts, const std::wstring& expectedSigner) {
    if (facts.trustResult != 0)
        return SignatureVerdict::Invalid;
    if (!facts.chainBuilt || (facts.chainErrors & ~kRevocationNotChecked) != 0)
        return SignatureVerdict::UntrustedChain;
    if (expectedSigner.empty() || facts.signerName != expectedSigner)
        return SignatureVerdict::OtherSigner;
    return SignatureVerdict::Trusted;
}

} // namespace platform
