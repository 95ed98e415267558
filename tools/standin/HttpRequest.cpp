#include "tools/standin/HttpRequest.h"

#include <cctype>

namespace standin {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> headerValues(const std::vector<std::string>& headerLines,
                                      std::string_view name) {
    std::vector<std::string> values;
    for (const std::string& line : headerLines) {
        std::size_t colon = line.find(':');
        if (colon == std::string::npos ||
            !equalsIgnoringCase(std::string_view(line).substr(0, colon), name)) {
            continue;
        }
        std::size_t begin = line.find_first_not_of(" \t", colon + 1);
        std::size_t end = line.find_last_not_of(" \t");
        values.push_back(begin == std::string::npos ? std::string()
                                                    : line.substr(begin, end - begin + 1));
    }
    return values;
}

std::string targetPath(const std::string& target) {
    return target.substr(0, target.find('?'));
}

} // namespace standin
