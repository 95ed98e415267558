#include "platform/DistinguishedName.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// As `openssl x509 -noout -subject -nameopt sep_comma_plus_space,sname,utf8`
// writes these names, which is how a release engineer reads the issuer off a
// certificate for the deployment value.
TEST(DistinguishedNameTest, IsWrittenAsOpensslWritesItInTheCertificatesOrder) {
    const DistinguishedName testCa = {{{"2.5.4.10", L"Kestrix Office tests"}},
                                      {{"2.5.4.3", L"Kestrix Office Test CA"}}};
    EXPECT_EQ(DistinguishedNameText(testCa), L"O=Kestrix Office tests, CN=Kestrix Office Test CA");

    const DistinguishedName many = {{{"2.5.4.6", L"GB"}},
                                    {{"2.5.4.8", L"London"}, {"2.5.4.7", L"Westminster"}},
                                    {{"1.2.840.113549.1.9.1", L"ca@example.com"}},
                                    {{"1.2.3.4.5", L"\uD55C\uAE00"}}};
    EXPECT_EQ(
        DistinguishedNameText(many),
        L"C=GB, ST=London + L=Westminster, emailAddress=ca@example.com, 1.2.3.4.5=\uD55C\uAE00");
    EXPECT_EQ(DistinguishedNameText({}), L"");
}

TEST(DistinguishedNameTest, KeepsEveryValueWhole) {
    const wchar_t text[] = L"Kestrix\0Other";
    const std::wstring withNul(text, sizeof text / sizeof *text - 1);
    const DistinguishedName name = {{{"2.5.4.3", withNul}},
                                    {{"2.5.4.10", L"A"}, {"2.5.4.3", L"Second"}}};
    EXPECT_EQ(AttributeValues(name, kCommonNameOid),
              (std::vector<std::wstring>{withNul, L"Second"}));
    EXPECT_EQ(AttributeValues(name, kOrganizationOid), std::vector<std::wstring>{L"A"});
    EXPECT_EQ(DistinguishedNameText(name), L"CN=" + withNul + L", O=A + CN=Second");
}

} // namespace
} // namespace platform

namespace platform {
namespace {

using Der = std::vector<unsigned char>;

std::optional<DistinguishedName> Parse(const Der& der) {
    return ParseDistinguishedName(der.data(), der.size());
}

// O=A (PrintableString), then CN=Kestrix<NUL>Other (UTF8String): a name
// whose common name reads "Kestrix" to code that stops at the NUL.
const Der kNameWithNul = {
    0x30, 0x24,                                                             // Name
    0x31, 0x0A, 0x30, 0x08, 0x06, 0x03, 0x55, 0x04, 0x0A,                   // O
    0x13, 0x01, 'A',  0x31, 0x16, 0x30, 0x14, 0x06, 0x03, 0x55, 0x04, 0x03, // CN
    0x0C, 0x0D, 'K',  'e',  's',  't',  'r',  'i',  'x',  0x00, 'O',  't',  'h', 'e', 'r'};

TEST(DistinguishedNameTest, ParsesEveryValueWholeInTheCertificatesOrder) {
    const auto name = Parse(kNameWithNul);
    ASSERT_TRUE(name);
    const wchar_t text[] = L"Kestrix\0Other";
    const std::wstring commonName(text, sizeof text / sizeof *text - 1);
    EXPECT_EQ(AttributeValues(*name, kCommonNameOid), std::vector<std::wstring>{commonName});
    EXPECT_EQ(AttributeValues(*name, kOrganizationOid), std::vector<std::wstring>{L"A"});
    EXPECT_EQ(DistinguishedNameText(*name), L"O=A, CN=" + commonName);
}

// One DER element, its length in the long form when asked.
Der Tlv(unsigned char tag, const Der& content, bool longLength = false) {
    Der element;
    element.reserve(content.size() + 3);
    element.push_back(tag);
    if (longLength || content.size() > 127)
        element.push_back(0x81);
    element.push_back(static_cast<unsigned char>(content.size()));
    for (unsigned char byte : content)
        element.push_back(byte);
    return element;
}

Der Cat(std::initializer_list<Der> parts) {
    Der all;
    for (const Der& part : parts) {
        for (unsigned char byte : part)
            all.push_back(byte);
    }
    return all;
}

const Der kCn = {0x06, 0x03, 0x55, 0x04, 0x03};

TEST(DistinguishedNameTest, ParsesEachStringTypeLongLengthsAndMultiValuedNames) {
    const Der country = Tlv(0x30, Cat({{0x06, 0x03, 0x55, 0x04, 0x06}, Tlv(0x13, {'G', 'B'})}));
    const Der email =
        Tlv(0x30, Cat({{0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x09, 0x01},
                       Tlv(0x16, {'x'})}));
    const Der utf16 = Tlv(0x30, Cat({kCn, Tlv(0x1E, {0xD5, 0x5C, 0xAE, 0x00, 0x00, 'A'})}));
    const Der utf32 = Tlv(0x30, Cat({kCn, Tlv(0x1C, {0x00, 0x01, 0xF6, 0x00})}));
    const Der der = Tlv(
        0x30, Cat({Tlv(0x31, Cat({country, email})), Tlv(0x31, utf16), Tlv(0x31, utf32)}), true);
    const auto name = Parse(der);
    ASSERT_TRUE(name);
    ASSERT_EQ(name->size(), 3u);
    EXPECT_EQ((*name)[0].size(), 2u) << "C and the e-mail address share one RDN";
    EXPECT_EQ((*name)[0][1].oid, "1.2.840.113549.1.9.1");
    const std::vector<std::wstring> commonNames = AttributeValues(*name, kCommonNameOid);
    ASSERT_EQ(commonNames.size(), 2u);
    EXPECT_EQ(commonNames[0], L"\uD55C\uAE00A");
    EXPECT_EQ(commonNames[1], sizeof(wchar_t) == 2
                                  ? std::wstring(L"\xD83D\xDE00")
                                  : std::wstring(1, static_cast<wchar_t>(0x1F600)));
    EXPECT_EQ(DistinguishedNameText(*name).substr(0, 22), L"C=GB + emailAddress=x,");

    EXPECT_FALSE(Parse(Tlv(0x30, Cat({Tlv(0x31, utf16), Tlv(0x31, {})}))))
        << "an empty RDN, which no name may hold";
    EXPECT_FALSE(Parse(Tlv(0x30, Tlv(0x31, Tlv(0x30, Cat({kCn, Tlv(0x1E, {0x00})}))))))
        << "half a UTF-16 unit";
    EXPECT_FALSE(
        Parse(Tlv(0x30, Tlv(0x31, Tlv(0x30, Cat({kCn, Tlv(0x0C, {'A'}), Tlv(0x0C, {'B'})}))))))
        << "two values in one attribute";
}

TEST(DistinguishedNameTest, AnythingButOneWellFormedNameIsRefused) {
    for (size_t cut = 0; cut < kNameWithNul.size(); ++cut) {
        const Der shorter(kNameWithNul.begin(), kNameWithNul.begin() + static_cast<long>(cut));
        EXPECT_FALSE(Parse(shorter)) << "cut to " << cut << " bytes";
    }
    Der longer = kNameWithNul;
    longer.push_back(0x00);
    EXPECT_FALSE(Parse(longer)) << "bytes after the name";
    Der set = kNameWithNul;
    set[0] = 0x31;
    EXPECT_FALSE(Parse(set)) << "not a SEQUENCE";
    Der indefinite = kNameWithNul;
    indefinite[1] = 0x80;
    EXPECT_FALSE(Parse(indefinite)) << "an indefinite length";
    EXPECT_FALSE(ParseDistinguishedName(nullptr, 0));
    const auto empty = Parse({0x30, 0x00});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

} // namespace
} // namespace platform
