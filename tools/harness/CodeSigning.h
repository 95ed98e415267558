#pragma once
#include <string>

namespace testsupport {

// Who signs a program for the tests (tools/harness/sign-program.sh), as that
// script names it.
struct Signer {
    std::string name;

    // "Kestrix Test Signer" under the stand-in's CA: what the test build expects.
    static Signer Vendor() { return {"vendor"}; }
    // "Someone Else Ltd." under the same CA.
    static Signer OtherName() { return {"other-name"}; }
    // "Kestrix Test Signer" under a CA that no store holds.
    static Signer Untrusted() { return {"untrusted"}; }
    // A certificate with this subject (OpenSSL's "/CN=.../O=..." form) under
    // the stand-in's CA: a build made for other deployment values.
    static Signer WithSubject(const std::string& subject) { return {"subject:" + subject}; }
};

// Writes a signed copy of `in` to `out`, with certificates kept in
// <certsDir>/codesign next to the stand-in's CA (StandinOptions::stateDir).
// Throws std::runtime_error when signing fails.
void SignProgram(const std::string& certsDir, const Signer& signer, const std::string& in,
                 const std::string& out);

} // namespace testsupport
