// Certificate names as the signature check reads them from a signer's and
// its issuer's certificate: any bytes are refused or read, never overrun,
// and a name read once is written whole.
#include "platform/DistinguishedName.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto name = platform::ParseDistinguishedName(data, size);
    if (!name)
        return 0;
    size_t values = 0;
    size_t characters = 0;
    for (const auto& rdn : *name) {
        if (rdn.empty())
            std::abort(); // an empty RDN is refused
        for (const platform::NameAttribute& attribute : rdn) {
            ++values;
            characters += attribute.value.size();
        }
    }
    // Every value appears in the text, each with at least "x=".
    if (platform::DistinguishedNameText(*name).size() < characters + 2 * values)
        std::abort();
    if (platform::AttributeValues(*name, platform::kCommonNameOid).size() > values)
        std::abort();
    return 0;
}
