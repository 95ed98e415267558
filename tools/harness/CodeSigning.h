#pragma once
#include <map>
#include <string>

namespace testsupport {

// Who signs a program for the tests (tools/harness/sign-program.sh says each
// in full).
struct Signer {
    std::string name;                               // as sign-program.sh takes it
    std::map<std::string, std::string> environment; // what it reads besides

    // The test build's expected signer, under the stand-in's CA.
    static Signer Vendor() { return {"vendor", {}}; }
    // Another common name under the same CA.
    static Signer OtherName() { return {"other-name", {}}; }
    // The vendor's common name with another organisation, under the same CA.
    static Signer OtherOrganization() { return {"other-organization", {}}; }
    // The vendor's subject under another CA, which the caller trusts too
    // (SigningCaDer(certsDir, kOtherCaSubject)).
    static Signer OtherCa() { return {"other-ca", {}}; }
    // The vendor's subject under a CA that no store holds.
    static Signer Untrusted() { return {"untrusted", {}}; }
    // A certificate with this subject (OpenSSL's "/CN=.../O=..." form), issued
    // by a root CA with the issuer subject (SigningCaDer), or by the
    // stand-in's CA when that is empty: a build made for other deployment values.
    static Signer Named(const std::string& subject, const std::string& issuerSubject = {});
};

// The subject of the CA behind Signer::OtherCa().
inline constexpr const char kOtherCaSubject[] =
    "/O=Kestrix Office tests/CN=Kestrix Office Other Test CA";

// Writes a signed copy of `in` to `out`, with certificates kept in
// <certsDir>/codesign next to the stand-in's CA (StandinOptions::stateDir).
// Throws std::runtime_error when signing fails.
void SignProgram(const std::string& certsDir, const Signer& signer, const std::string& in,
                 const std::string& out);

// The DER file of the root CA with that subject that signers are issued
// under, made once in <certsDir>/codesign, for a prefix to trust. Throws
// std::runtime_error when it cannot be made.
std::string SigningCaDer(const std::string& certsDir, const std::string& subject);

} // namespace testsupport
