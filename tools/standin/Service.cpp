#include "tools/standin/Service.h"

namespace standin {

std::string_view serviceName(Service service) {
    switch (service) {
    case Service::Update:
        return "update";
    case Service::Package:
        return "package";
    case Service::LogConf:
        return "logconf";
    case Service::Collector:
        return "collector";
    }
    return "unknown";
}

std::optional<Service> serviceFromName(std::string_view name) {
    for (Service service : kAllServices) {
        if (serviceName(service) == name) {
            return service;
        }
    }
    return std::nullopt;
}

bool usesTls(Service service) {
    return service == Service::LogConf || service == Service::Collector;
}

} // namespace standin
