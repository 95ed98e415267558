#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/standin/StandinState.h"

namespace standin {

struct Options {
    std::string stateDir;
    Ports ports;
    std::vector<std::pair<std::string, std::string>> packages; // name, file
    bool help = false;
};

// Throws std::invalid_argument saying what is wrong.
Options parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace standin
