#include "platform/SignatureCheck.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

const ExpectedSigner kVendor{L"Kestrix Software Ltd.", L"Kestrix Software Ltd.",
                             L"C=GB, O=Kestrix Software Ltd., CN=Kestrix Software Code Signing CA"};

// The whole literal, the NUL inside it and what follows included.
template <size_t N> std::wstring WithNul(const wchar_t (&text)[N]) {
    return std::wstring(text, N - 1);
}

SignatureFacts Valid() {
    SignatureFacts facts;
    facts.trustResult = 0;
    facts.signerCommonNames = {kVendor.commonName};
    facts.signerOrganizations = {kVendor.organization};
    facts.issuerName = kVendor.issuer;
    facts.chainBuilt = true;
    facts.chainErrors = 0;
    return facts;
}

TEST(SignatureCheckTest, TrustsOnlyTheVendorUnderATrustedRoot) {
    EXPECT_EQ(JudgeSignature(Valid(), kVendor), SignatureVerdict::Trusted);

    SignatureFacts other = Valid();
    other.signerCommonNames = {L"Someone Else Ltd."};
    EXPECT_EQ(JudgeSignature(other, kVendor), SignatureVerdict::OtherSigner);
    // The name is compared exactly: no prefix, case or trailing-space match,
    // and no text after an embedded NUL.
    for (const std::wstring& near :
         {std::wstring(L"Kestrix Software Ltd"), std::wstring(L"kestrix software ltd."),
          std::wstring(L"Kestrix Software Ltd. "), std::wstring(L"Kestrix Software Ltd.\u200b"),
          WithNul(L"Kestrix Software Ltd.\0.evil.example")}) {
        other.signerCommonNames = {near};
        EXPECT_EQ(JudgeSignature(other, kVendor), SignatureVerdict::OtherSigner)
            << near.size() << " characters";
    }
    other.signerCommonNames = {L""};
    EXPECT_EQ(JudgeSignature(other, ExpectedSigner{L"", kVendor.organization, kVendor.issuer}),
              SignatureVerdict::OtherSigner)
        << "an unset expected name trusts nobody";
}

// The same common name is easy to get from any CA, in any country: the
// organisation and the issuing CA must match too.
TEST(SignatureCheckTest, TheOrganisationAndTheIssuerArePinnedToo) {
    SignatureFacts facts = Valid();
    facts.signerOrganizations = {L"Kestrix Software Limited"};
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::OtherSigner);
    facts.signerOrganizations = {};
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::OtherSigner);

    facts = Valid();
    facts.issuerName = L"C=US, O=Kestrix Software Ltd., CN=Kestrix Software Code Signing CA";
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::OtherSigner);
    facts.issuerName = kVendor.issuer + WithNul(L"\0");
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::OtherSigner);
    facts.issuerName = L"";
    EXPECT_EQ(JudgeSignature(facts, ExpectedSigner{kVendor.commonName, kVendor.organization, L""}),
              SignatureVerdict::OtherSigner)
        << "an unset expected issuer trusts nobody";

    // A second value of a pinned attribute is another subject.
    facts = Valid();
    facts.signerCommonNames.push_back(L"Someone Else Ltd.");
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::OtherSigner);
    facts = Valid();
    facts.signerOrganizations.push_back(kVendor.organization);
    EXPECT_EQ(JudgeSignature(facts, kVendor), SignatureVerdict::OtherSigner);
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
