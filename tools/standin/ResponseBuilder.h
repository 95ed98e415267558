#pragma once
#include <optional>
#include <string>

#include "tools/standin/Answer.h"
#include "tools/standin/HttpRequest.h"
#include "tools/standin/Response.h"
#include "tools/standin/Service.h"
#include "tools/standin/StandinState.h"

namespace standin {

// The response to a well-formed request: the scripted answer, where there
// is one, laid over the service's default.
Response buildResponse(Service service, const HttpRequest& request,
                       const std::optional<Answer>& answer, const StandinState& state);

// The response to a request that could not be read (400, 413, ...).
Response refusalResponse(int status, const std::string& reason);

} // namespace standin
