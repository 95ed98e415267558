#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One attribute of a certificate name: its object identifier ("2.5.4.3") and
// its value, whole (an embedded NUL included).
struct NameAttribute {
    std::string oid;
    std::wstring value;
};

// A name's relative distinguished names in the certificate's order, each one
// or more attributes.
using DistinguishedName = std::vector<std::vector<NameAttribute>>;

// Reads a DER-encoded certificate name (a certificate's subject or issuer):
// every value decoded from its string type to UTF-16 whole, so that nothing
// after an embedded NUL is lost, as code that stops at the NUL would lose it.
// Values of a type that is no text are kept as "#" and their hexadecimal
// encoding. Nothing when the bytes are not one well-formed name.
std::optional<DistinguishedName> ParseDistinguishedName(const unsigned char* der, size_t size);

// The name as OpenSSL writes it with -nameopt sep_comma_plus_space,sname,utf8
// (and so as a release engineer reads it off a certificate): in the
// certificate's order, "O=Kestrix Office tests, CN=Kestrix Office Test CA",
// short names for the usual attributes and the dotted identifier for others,
// values as they are, " + " between the attributes of one RDN.
std::wstring DistinguishedNameText(const DistinguishedName& name);

// Every value of the attribute, in order.
std::vector<std::wstring> AttributeValues(const DistinguishedName& name, const std::string& oid);

inline constexpr const char* kCommonNameOid = "2.5.4.3";
inline constexpr const char* kOrganizationOid = "2.5.4.10";

} // namespace platform
