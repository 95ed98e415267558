#include "platform/SignatureCheck.h"

namespace platform {

namespace {

// CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION
constexpr uint32_t kRevocationNotChecked = 0x00000040u | 0x01000000u;

bool IsOnly(const std::vector<std::wstring>& values, const std::wstring& expected) {
    return !expected.empty() && values.size() == 1 && values.front() == expected;
}

} // namespace

SignatureVerdict JudgeSignature(const SignatureFacts& facts, const ExpectedSigner& expected) {
    if (facts.trustResult != 0)
        return SignatureVerdict::Invalid;
    if (!facts.chainBuilt || (facts.chainErrors & ~kRevocationNotChecked) != 0)
        return SignatureVerdict::UntrustedChain;
    if (!IsOnly(facts.signerCommonNames, expected.commonName) ||
        !IsOnly(facts.signerOrganizations, expected.organization) || expected.issuer.empty() ||
        facts.issuerName != expected.issuer)
        return SignatureVerdict::OtherSigner;
    return SignatureVerdict::Trusted;
}

} // namespace platform
