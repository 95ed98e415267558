#include "tools/harness/StandinTypes.h"

#include <cctype>

namespace testsupport {

std::optional<std::string> StandinRequest::header(std::string_view name) const {
    for (const std::string& line : headers) {
        std::size_t colon = line.find(':');
        if (colon != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < colon && same; ++i) {
            same = std::tolower(static_cast<unsigned char>(line[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        }
        if (!same) {
            continue;
        }
        std::size_t begin = line.find_first_not_of(" \t", colon + 1);
        std::size_t end = line.find_last_not_of(" \t");
        return begin == std::string::npos ? std::string() : line.substr(begin, end - begin + 1);
    }
    return std::nullopt;
}

} // namespace testsupport
