#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

// The four vendor services the stand-in plays.
enum class Service { Update, Package, LogConf, Collector };

inline constexpr std::array<Service, 4> kAllServices = {Service::Update, Service::Package,
                                                        Service::LogConf, Service::Collector};

// "update", "package", "logconf", "collector": the names used on the control API.
std::string_view serviceName(Service service);
std::optional<Service> serviceFromName(std::string_view name);

// The log-configuration server and the collector speak HTTPS, the others HTTP.
bool usesTls(Service service);

} // namespace standin
