#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// A request as it arrived: lines without their line ends, in arrival order
// and spelling; the body with any chunked framing removed.
struct HttpRequest {
    std::string requestLine;
    std::string method;
    std::string target;
    std::string version;
    std::vector<std::string> headerLines;
    std::string body;
};

// Values of the header lines named `name` (compared without case), with the
// surrounding blanks removed, in arrival order.
std::vector<std::string> headerValues(const std::vector<std::string>& headerLines,
                                      std::string_view name);

// The path part of a request target, without the query.
std::string targetPath(const std::string& target);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace standin
