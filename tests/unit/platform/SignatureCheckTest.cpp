#include "platform/SignatureCheck.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

const wchar_t kVendor[] = L"Kestrix Software Ltd.";

SignatureFacts Valid() {
    SignatureFacts facts;
    facts.trustResult = 0;
    facts.signerName = kVendor;
    facts.chainBuilt = true;
    facts.chainErrors = 0;
    return facts;
}

TEST(SignatureCheckTest, TrustsOnlyTheVendorUnderATrustedRoot) {
    EXPECT_EQ(JudgeSignature(Valid(), kVendor), SignatureVerdict::Trusted);

    SignatureFacts other = Valid();
    other.signerName = L"Someone Else Ltd.";
    EXPECT_EQ(JudgeSignature(other, kVendor), SignatureVerdict::OtherSigner);
    // The name is compared exactly: no prefix, case or trailing-space match.
    for (const wchar_t* near : {L"Kestrix Software Ltd", L"kestrix software ltd.",
                                L"Kestrix Software Ltd. ", L"Kestrix Software Ltd.\u200b"}) {
        other.signerName = near;
        EXPECT_EQ(JudgeSignature(other, kVendor), SignatureVerdict::OtherSigner) << near;
    }
    other.signerName = L"";
    EXPECT_EQ(JudgeSignature(other, L""), SignatureVerdict::OtherSigner)
        << "an unset expected name trusts nobody";
}

TEST(SignatureCheckTest, WhatWindowsRefusesIsInvalid) {
    for (int32_t answer : {static_cast<int32_t>(0x800B0100), // TRUST_E_NOSIGNATURE
                           static_cast<int32_t>(0x80096010), // TRUST_E_BAD_DIGEST
                           static_cast<int32_t>(0x800B0109), // CERT_E_UNTRUSTEDROOT
                           -1}) {
        SignatureFacts facts = Valid();
        facts.trustResult = answer;
        EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::Invalid) << answer;
    }
    EXPECT_EQ(JudgeSignature(SignatureFacts{}, kVendor), SignatureVerdict::Invalid)
        << "facts that could not be read";
}

// Accepted by WinVerifyTrust, but the chain tells otherwise.
TEST(SignatureCheckTest, AChainWithAnyErrorButUncheckedRevocationIsUntrusted) {
    SignatureFacts facts = Valid();
    facts.chainBuilt = false;
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::UntrustedChain);
    for (uint32_t error : {0x00010000u,    // CERT_TRUST_IS_PARTIAL_CHAIN
                           0x00000020u,    // CERT_TRUST_IS_UNTRUSTED_ROOT
                           0x00000004u,    // CERT_TRUST_IS_REVOKED
                           0x00000001u,    // CERT_TRUST_IS_NOT_TIME_VALID
                           0x00000010u}) { // CERT_TRUST_IS_NOT_VALID_FOR_USAGE
        facts = Valid();
        facts.chainErrors = error;
        EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::UntrustedChain) << error;
    }
    facts = Valid();
    facts.chainErrors = 0x00000040u | 0x01000000u; // revocation unknown, offline
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::Trusted)
        << "an offline machine must still install";
}

} // namespace
} // namespace platform
