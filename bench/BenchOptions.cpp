#include "bench/BenchOptions.h"

#include "net/HttpValues.h"
#include "usage/Utf8.h"

#include <stdexcept>

namespace {

const int kMaxRounds = 100;

uint64_t ParseCount(const std::wstring& text, const char* what) {
    if (text.empty() || text.size() > 19 ||
        text.find_first_not_of(L"0123456789") != std::wstring::npos)
        throw std::invalid_argument(std::string(what) + ": expected a decimal number, got \"" +
                                    ToUtf8(text.c_str()) + "\"");
    return std::stoull(text);
}

int ParseRounds(const std::wstring& text, const char* what, int least) {
    const uint64_t value = ParseCount(text, what);
    if (value < static_cast<uint64_t>(least) || value > kMaxRounds)
        throw std::invalid_argument(std::string(what) + ": expected " + std::to_string(least) +
                                    " to " + std::to_string(kMaxRounds));
    return static_cast<int>(value);
}

bool IsAsciiHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

std::string ParseSha256(const std::wstring& text) {
    std::string hex;
    for (wchar_t c : text) {
        if (!IsAsciiHexDigit(c))
            break;
        hex.push_back(static_cast<char>(c >= L'A' && c <= L'F' ? c - L'A' + L'a' : c));
    }
    if (hex.size() != 64 || text.size() != 64)
        throw std::invalid_argument("SHA256: expected 64 hex digits, got \"" +
                                    ToUtf8(text.c_str()) + "\"");
    return hex;
}

} // namespace

BenchOptions ParseBenchOptions(const std::vector<std::wstring>& arguments) {
    BenchOptions options;
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (argument.rfind(L"--", 0) != 0) {
            positional.push_back(argument);
            continue;
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].empty())
            throw std::invalid_argument(ToUtf8(argument.c_str()) + " needs a value");
        const std::wstring& value = arguments[++i];
        if (argument == L"--rounds")
            options.rounds = ParseRounds(value, "--rounds", 1);
        else if (argument == L"--warmup")
            options.warmupRounds = ParseRounds(value, "--warmup", 0);
        else if (argument == L"--folder")
            options.folder = value;
        else
            throw std::invalid_argument("unknown option \"" + ToUtf8(argument.c_str()) + "\"");
    }
    if (positional.size() < 2 || positional.size() > 3)
        throw std::invalid_argument("expected URL SIZE [SHA256]");
    if (!IsHttpOrHttpsUrl(positional[0]))
        throw std::invalid_argument("URL: expected an http or https URL, got \"" +
                                    ToUtf8(positional[0].c_str()) + "\"");
    options.url = positional[0];
    options.size = ParseCount(positional[1], "SIZE");
    if (options.size == 0)
        throw std::invalid_argument("SIZE: a package of at least one byte is needed");
    if (positional.size() == 3)
        options.sha256 = ParseSha256(positional[2]);
    return options;
}

const char* BenchUsage() {
    return "usage: kestrix-download-bench [--rounds N] [--warmup N] [--folder DIR] URL SIZE "
           "[SHA256]\n"
           "Downloads the package at URL through the product's job manager and through a bare\n"
           "WinINet loop (both in 4096-byte reads), once each per round, in alternating order,\n"
           "N rounds after the warm-up rounds (default 3 and 1); checks every file's size (and\n"
           "SHA-256 when given) and reports wall and CPU times and working sets.\n";
}
