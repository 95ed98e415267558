#pragma once
#include "tools/harness/StandinClient.h"

// The stand-in's control API from tests running under Wine, through WinINet.
testsupport::ControlReply WinInetControlTransport(int port, const std::string& method,
                                                  const std::string& path, const std::string& body);
