#pragma once
#include <memory>
#include <string>
#include <vector>

#include "tools/standin/BodySource.h"
#include "tools/standin/HttpRequest.h"
#include "tools/standin/Service.h"
#include "tools/standin/StandinState.h"

namespace standin {

// Packages are served under this path; the control API's package URLs use it too.
inline constexpr const char* kPackagesPrefix = "/packages/";

// Status, type, body and extra header lines of an answer before a script
// adds its own.
struct BaseAnswer {
    int status = 200;
    std::string contentType; // empty: no Content-Type line
    std::unique_ptr<BodySource> body;
    std::vector<std::string> headers;
};

// What the service answers unscripted. Only the vendor's path and method get
// the success answer, so that a client asking elsewhere is noticed.
BaseAnswer defaultAnswer(Service service, const HttpRequest& request, const StandinState& state);

// The named package, 404 when it is not registered, 500 when its file went away.
BaseAnswer packageAnswer(const std::string& name, const StandinState& state);

// A short text/plain explanation.
BaseAnswer textAnswer(int status, const std::string& text);

} // namespace standin
