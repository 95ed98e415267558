#include "platform/DistinguishedName.h"

#include "platform/Utf8Codec.h"

#include <cstdint>

namespace platform {

namespace {

// The part of the input not read yet.
struct Bytes {
    const unsigned char* data;
    size_t size;
};

// One tag-length-value element of DER: a one-byte tag, a definite length in
// at most four bytes. False, with nothing taken, when the bytes do not hold one.
bool TakeElement(Bytes& input, unsigned char& tag, Bytes& content) {
    if (input.size < 2 || (input.data[0] & 0x1F) == 0x1F)
        return false;
    size_t length = input.data[1];
    size_t header = 2;
    if (length & 0x80) {
        const size_t count = length & 0x7F;
        if (count == 0 || count > 4 || input.size < 2 + count)
            return false;
        length = 0;
        for (size_t i = 0; i < count; ++i)
            length = (length << 8) | input.data[2 + i];
        header += count;
    }
    if (length > input.size - header)
        return false;
    tag = input.data[0];
    content = {input.data + header, length};
    input.data += header + length;
    input.size -= header + length;
    return true;
}

// The content of an element that must have this tag.
bool TakeTagged(Bytes& input, unsigned char wanted, Bytes& content) {
    unsigned char tag = 0;
    Bytes taken = input;
    if (!TakeElement(taken, tag, content) || tag != wanted)
        return false;
    input = taken;
    return true;
}

// "2.5.4.3" from its encoding.
std::optional<std::string> OidText(Bytes content) {
    std::string text;
    uint64_t value = 0;
    bool first = true;
    for (size_t i = 0; i < content.size; ++i) {
        if (value > (UINT64_MAX >> 7))
            return std::nullopt;
        value = (value << 7) | (content.data[i] & 0x7F);
        if (content.data[i] & 0x80)
            continue;
        if (first) {
            const uint64_t arc = value < 40 ? 0 : value < 80 ? 1 : 2;
            text = std::to_string(arc) + "." + std::to_string(value - arc * 40);
            first = false;
        } else {
            text += "." + std::to_string(value);
        }
        value = 0;
    }
    if (first || (content.data[content.size - 1] & 0x80))
        return std::nullopt;
    return text;
}

void AppendCodePoint(std::wstring& text, uint32_t codePoint) {
    if (sizeof(wchar_t) == 2 && codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        text += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        text += static_cast<wchar_t>(codePoint);
    }
}

// A value by its string type: UTF-8, one byte a character (the printable,
// IA5, numeric, visible and teletex strings), UTF-16 or UTF-32 big-endian.
std::optional<std::wstring> ValueText(unsigned char tag, Bytes content) {
    std::wstring text;
    switch (tag) {
    case 0x0C: // UTF8String
        return utf8::DecodeUtf8(reinterpret_cast<const char*>(content.data), content.size);
    case 0x12: // NumericString
    case 0x13: // PrintableString
    case 0x14: // TeletexString
    case 0x16: // IA5String
    case 0x1A: // VisibleString
        for (size_t i = 0; i < content.size; ++i)
            text += static_cast<wchar_t>(content.data[i]);
        return text;
    case 0x1E: // BMPString
        if (content.size % 2)
            return std::nullopt;
        for (size_t i = 0; i < content.size; i += 2)
            text += static_cast<wchar_t>((content.data[i] << 8) | content.data[i + 1]);
        return text;
    case 0x1C: // UniversalString
        if (content.size % 4)
            return std::nullopt;
        for (size_t i = 0; i < content.size; i += 4) {
            const uint32_t codePoint = (uint32_t{content.data[i]} << 24) |
                                       (uint32_t{content.data[i + 1]} << 16) |
                                       (uint32_t{content.data[i + 2]} << 8) | content.data[i + 3];
            if (codePoint > 0x10FFFF)
                return std::nullopt;
            AppendCodePoint(text, codePoint);
        }
        return text;
    }
    static const char kHex[] = "0123456789abcdef";
    text = L"#";
    for (size_t i = 0; i < content.size; ++i) {
        text += static_cast<wchar_t>(kHex[content.data[i] >> 4]);
        text += static_cast<wchar_t>(kHex[content.data[i] & 0x0F]);
    }
    return text;
}

// AttributeTypeAndValue ::= SEQUENCE { type OBJECT IDENTIFIER, value ANY }
std::optional<NameAttribute> TakeAttribute(Bytes& rdn) {
    Bytes attribute{}, oid{}, value{};
    unsigned char valueTag = 0;
    if (!TakeTagged(rdn, 0x30, attribute) || !TakeTagged(attribute, 0x06, oid) ||
        !TakeElement(attribute, valueTag, value) || attribute.size != 0)
        return std::nullopt;
    const auto oidText = OidText(oid);
    const auto valueText = ValueText(valueTag, value);
    if (!oidText || !valueText)
        return std::nullopt;
    return NameAttribute{*oidText, *valueText};
}

// The short names OpenSSL gives the attributes certificates use.
std::wstring ShortName(const std::string& oid) {
    static const struct {
        const char* oid;
        const wchar_t* name;
    } kNames[] = {
        {"2.5.4.3", L"CN"},
        {"2.5.4.6", L"C"},
        {"2.5.4.7", L"L"},
        {"2.5.4.8", L"ST"},
        {"2.5.4.9", L"street"},
        {"2.5.4.10", L"O"},
        {"2.5.4.11", L"OU"},
        {"2.5.4.5", L"serialNumber"},
        {"2.5.4.12", L"title"},
        {"2.5.4.97", L"organizationIdentifier"},
        {"1.2.840.113549.1.9.1", L"emailAddress"},
        {"0.9.2342.19200300.100.1.25", L"DC"},
        {"0.9.2342.19200300.100.1.1", L"UID"},
        {"1.3.6.1.4.1.311.60.2.1.3", L"jurisdictionC"},
        {"2.5.4.15", L"businessCategory"},
    };
    for (const auto& known : kNames) {
        if (oid == known.oid)
            return known.name;
    }
    return std::wstring(oid.begin(), oid.end());
}

} // namespace

std::optional<DistinguishedName> ParseDistinguishedName(const unsigned char* der, size_t size) {
    if (!der)
        return std::nullopt;
    Bytes input{der, size};
    Bytes rdns{};
    if (!TakeTagged(input, 0x30, rdns) || input.size != 0)
        return std::nullopt;
    DistinguishedName name;
    while (rdns.size > 0) {
        Bytes rdn{};
        if (!TakeTagged(rdns, 0x31, rdn) || rdn.size == 0)
            return std::nullopt;
        std::vector<NameAttribute> attributes;
        while (rdn.size > 0) {
            auto attribute = TakeAttribute(rdn);
            if (!attribute)
                return std::nullopt;
            attributes.push_back(std::move(*attribute));
        }
        name.push_back(std::move(attributes));
    }
    return name;
}

std::wstring DistinguishedNameText(const DistinguishedName& name) {
    std::wstring text;
    for (const auto& rdn : name) {
        if (!text.empty())
            text += L", ";
        for (size_t i = 0; i < rdn.size(); ++i) {
            if (i > 0)
                text += L" + ";
            text += ShortName(rdn[i].oid) + L"=" + rdn[i].value;
        }
    }
    return text;
}

std::vector<std::wstring> AttributeValues(const DistinguishedName& name, const std::string& oid) {
    std::vector<std::wstring> values;
    for (const auto& rdn : name) {
        for (const NameAttribute& attribute : rdn) {
            if (attribute.oid == oid)
                values.push_back(attribute.value);
        }
    }
    return values;
}

} // namespace platform
