// Runs a service answer's body through everything the installer does with it:
// first-line collection in chunks, parsing, the package-url and server-time
// readings and the URL's conversion. Traps when two ways of reading the same
// body disagree.
#include "net/FirstLineReader.h"
#include "net/ServiceAnswer.h"
#include "platform/Utf8Codec.h"
#include "usage/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Chunk sizes and the small cap come from the body itself, so that every
// mutation also changes where the reads split.
uint32_t Hash(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

FirstLineReader ReadInChunks(const char* body, size_t size, uint32_t seed, size_t cap) {
    FirstLineReader reader(cap);
    size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        const size_t chunk = 1 + (seed >> 16) % 64;
        const size_t n = chunk < size - at ? chunk : size - at;
        if (!reader.Feed(body + at, n))
            break;
        at += n;
    }
    return reader;
}

void CheckUrlConversion(const std::string& url) {
    const std::wstring wide = Utf8ToWide(url);
    // Decoding what the encoder wrote gives the same text again.
    const std::string again = utf8::EncodeUtf8(wide.data(), wide.size());
    Require(utf8::DecodeUtf8(again.data(), again.size()) == wide);
    if (url.find('\0') == std::string::npos)
        Require(ToUtf8(wide.c_str()) == again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* body = reinterpret_cast<const char*>(data);
    const uint32_t seed = Hash(data, size);

    FirstLineReader whole;
    whole.Feed(body, size);
    const FirstLineReader chunked = ReadInChunks(body, size, seed, FirstLineReader::kDefaultCap);
    Require(chunked.Line() == whole.Line() && !chunked.Overflowed() && !whole.Overflowed());

    const size_t smallCap = 1 + seed % 97;
    const FirstLineReader capped = ReadInChunks(body, size, seed >> 8, smallCap);
    const void* lineFeed = std::memchr(body, '\n', size);
    const size_t before =
        lineFeed ? static_cast<size_t>(static_cast<const char*>(lineFeed) - body) : size;
    Require(capped.Overflowed() == (before > smallCap));
    Require(capped.Overflowed() ? capped.Line().empty() : capped.Line() == whole.Line());
    Require(!ParseAnswerLine(capped).parsed || !capped.Overflowed());

    const ParsedAnswer parsed = ParseAnswerLine(whole);
    Require(parsed.parsed || parsed.resultCode == -1);

    const PackageUrlAnswer packageUrl = ReadPackageUrlAnswer(parsed);
    Require(packageUrl.resultCode == parsed.resultCode);
    Require(packageUrl.hasUrlText == (parsed.resultCode == 0));
    Require(packageUrl.hasUrlText || packageUrl.urlUtf8.empty());
    CheckUrlConversion(packageUrl.urlUtf8);

    const ServerTimeAnswer serverTime = ReadServerTimeAnswer(parsed);
    Require(serverTime.resultCode == parsed.resultCode);
    Require(serverTime.resultCode == 0 || serverTime.serverTimeMs == 0);
    return 0;
}
