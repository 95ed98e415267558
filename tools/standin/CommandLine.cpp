#include "tools/standin/CommandLine.h"

#include <arpa/inet.h>
#include <optional>
#include <stdexcept>

namespace standin {

namespace {

int parsePort(const std::string& option, const std::string& text) {
    bool digits = !text.empty() && text.size() <= 5 &&
                  text.find_first_not_of("0123456789") == std::string::npos;
    int port = digits ? std::stoi(text) : -1;
    if (port < 0 || port > 65535) {
        throw std::invalid_argument(option + ": expected a port from 0 to 65535, got \"" + text +
                                    "\"");
    }
    return port;
}

// SERVICE=ADDRESS, the address a dotted IPv4 one.
std::pair<Service, std::string> parseAddress(const std::string& value) {
    std::size_t equals = value.find('=');
    std::optional<Service> service =
        equals == std::string::npos ? std::nullopt : serviceFromName(value.substr(0, equals));
    std::string address = equals == std::string::npos ? "" : value.substr(equals + 1);
    in_addr parsed{};
    if (!service || inet_pton(AF_INET, address.c_str(), &parsed) != 1) {
        throw std::invalid_argument(
            "--address: expected SERVICE=IPV4 (update, package, logconf or collector), got \"" +
            value + "\"");
    }
    return {*service, address};
}

} // namespace

std::string usageText() {
    return "usage: kestrix-standin --state-dir DIR [--update-port N] [--package-port N]\n"
           "                       [--logconf-port N] [--collector-port N] [--control-port N]\n"
           "                       [--address SERVICE=IPV4 ...] [--server-name HOST ...]\n"
           "                       [--package NAME=PATH ...]\n"
           "Port 0 picks a free port; the ports in use are written to DIR/ports.json.\n"
           "--address makes a service listen on that address alone (else 127.0.0.1 and ::1);\n"
           "--server-name adds a host name to the TLS services' certificate.\n";
}

Options parseCommandLine(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option.rfind("--", 0) != 0) {
            throw std::invalid_argument("unexpected argument \"" + option + "\"");
        }
        if (i + 1 >= arguments.size()) {
            throw std::invalid_argument(option + " needs a value");
        }
        const std::string& value = arguments[++i];
        if (option == "--state-dir") {
            options.stateDir = value;
        } else if (option == "--update-port") {
            options.ports.update = parsePort(option, value);
        } else if (option == "--package-port") {
            options.ports.package = parsePort(option, value);
        } else if (option == "--logconf-port") {
            options.ports.logConf = parsePort(option, value);
        } else if (option == "--collector-port") {
            options.ports.collector = parsePort(option, value);
        } else if (option == "--control-port") {
            options.ports.control = parsePort(option, value);
        } else if (option == "--address") {
            auto [service, address] = parseAddress(value);
            options.addresses[service] = address;
        } else if (option == "--server-name") {
            if (value.empty() || value.find_first_of(", \t") != std::string::npos) {
                throw std::invalid_argument("--server-name: expected a host name, got \"" + value +
                                            "\"");
            }
            options.serverNames.push_back(value);
        } else if (option == "--package") {
            std::size_t equals = value.find('=');
            if (equals == 0 || equals == std::string::npos || equals + 1 == value.size()) {
                throw std::invalid_argument("--package: expected NAME=PATH, got \"" + value + "\"");
            }
            options.packages.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else {
            throw std::invalid_argument("unknown option \"" + option + "\"");
        }
    }
    if (options.stateDir.empty() && !options.help) {
        throw std::invalid_argument("--state-dir is required");
    }
    return options;
}

} // namespace standin
