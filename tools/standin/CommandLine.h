#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/standin/Service.h"
#include "tools/standin/StandinState.h"

namespace standin {

struct Options {
    std::string stateDir;
    Ports ports;
    // Services that listen on one IPv4 address of their own instead of
    // 127.0.0.1 and ::1, so that several can share a port (80, 443).
    std::map<Service, std::string> addresses;
    // Host names the trusted server certificate covers besides localhost.
    std::vector<std::string> serverNames;
    std::vector<std::pair<std::string, std::string>> packages; // name, file
    bool help = false;
};

// Throws std::invalid_argument saying what is wrong.
Options parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace standin
