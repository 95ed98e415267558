#pragma once
#include <string>

namespace testsupport {

// Who signs a program for the tests (tools/harness/sign-program.sh).
enum class Signer {
    Vendor,    // "Kestrix Test Signer" under the stand-in's CA: what the test build expects
    OtherName, // "Someone Else Ltd." under the same CA
    Untrusted, // "Kestrix Test Signer" under a CA that no store holds
};

// Writes a signed copy of `in` to `out`, with certificates kept in
// <certsDir>/codesign next to the stand-in's CA (StandinOptions::stateDir).
// Throws std::runtime_error when signing fails.
void SignProgram(const std::string& certsDir, Signer signer, const std::string& in,
                 const std::string& out);

} // namespace testsupport
