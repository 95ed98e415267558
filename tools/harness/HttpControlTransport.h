#pragma once
#include "tools/harness/StandinClient.h"

namespace testsupport {

// The control transport of native programs: plain HTTP from this process.
ControlReply HttpControlTransport(int port, const std::string& method, const std::string& path,
                                  const std::string& body);

} // namespace testsupport
