#include "tools/standin/ServiceListeners.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

#include "tools/standin/Connection.h"
#include "tools/standin/Listeners.h"
#include "tools/standin/Log.h"

namespace standin {

namespace {

constexpr int kSocketTimeoutSeconds = 30;

int& portOf(Ports& ports, Service service) {
    switch (service) {
    case Service::Update:
        return ports.update;
    case Service::Package:
        return ports.package;
    case Service::LogConf:
        return ports.logConf;
    case Service::Collector:
        break;
    }
    return ports.collector;
}

void tuneAccepted(int socket) {
    timeval timeout{kSocketTimeoutSeconds, 0};
    int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    // Trickled bytes must leave one by one.
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

} // namespace

ServiceListeners::ServiceListeners(StandinState& state, const TlsServerContexts& tls)
    : state_(state), tls_(tls) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error(std::string("cannot create a pipe: ") + std::strerror(errno));
    }
    wakeRead_ = FileDescriptor(ends[0]);
    wakeWrite_ = FileDescriptor(ends[1]);
}

ServiceListeners::~ServiceListeners() {
    stop();
}

int ServiceListeners::openListeners(Service service, int port) {
    if (auto own = addresses_.find(service); own != addresses_.end()) {
        FileDescriptor socket = listenOn(own->second, port);
        int bound = boundPort(socket.get());
        listeners_.push_back({service, std::move(socket)});
        return bound;
    }
    FileDescriptor v4 = listenOn("127.0.0.1", port);
    int bound = boundPort(v4.get());
    listeners_.push_back({service, std::move(v4)});
    try {
        listeners_.push_back({service, listenOn("::1", bound)});
    } catch (const std::runtime_error& error) {
        logLine(std::string(serviceName(service)) + " serves IPv4 only: " + error.what());
    }
    return bound;
}

void ServiceListeners::bind(const Ports& requested,
                            const std::map<Service, std::string>& addresses) {
    std::lock_guard<std::mutex> lock(mutex_);
    addresses_ = addresses;
    Ports bound = requested;
    for (Service service : kAllServices) {
        portOf(bound, service) = openListeners(service, portOf(bound, service));
    }
    bound.control = state_.ports.control;
    state_.ports = bound;
}

void ServiceListeners::start() {
    acceptor_ = std::thread([this] { acceptLoop(); });
}

void ServiceListeners::stop() {
    if (acceptor_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        pollRebuilt_.notify_all();
        wake();
        acceptor_.join();
    }
    connections_.closeAll();
    std::lock_guard<std::mutex> lock(mutex_);
    listeners_.clear();
    retired_.clear();
}

void ServiceListeners::setListening(Service service, bool listening) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto ofService = [service](const Listener& listener) { return listener.service == service; };
    if (std::any_of(listeners_.begin(), listeners_.end(), ofService) == listening) {
        return;
    }
    int port = portOf(state_.ports, service);
    logLine(std::string(serviceName(service)) +
            (listening ? " listens again" : " stops listening") + " on port " +
            std::to_string(port));
    if (listening) {
        // Connections wait in the new backlog until the acceptor polls it.
        openListeners(service, port);
        wake();
        return;
    }
    auto closing =
        std::stable_partition(listeners_.begin(), listeners_.end(),
                              [&](const Listener& listener) { return !ofService(listener); });
    for (auto it = closing; it != listeners_.end(); ++it) {
        retired_.push_back(std::move(it->socket));
    }
    listeners_.erase(closing, listeners_.end());
    // Closing a socket that another thread polls would leave that poll asleep
    // on it; the acceptor closes it once it polls the rest.
    wake();
    pollRebuilt_.wait(lock, [this] { return retired_.empty() || stopping_; });
}

void ServiceListeners::listenAll() {
    for (Service service : kAllServices) {
        setListening(service, true);
    }
}

void ServiceListeners::wake() {
    char wake = 1;
    while (::write(wakeWrite_.get(), &wake, 1) < 0 && errno == EINTR) {
    }
}

void ServiceListeners::acceptLoop() {
    for (;;) {
        std::vector<pollfd> watched{{wakeRead_.get(), POLLIN, 0}};
        std::vector<Service> services;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                return;
            }
            for (const Listener& listener : listeners_) {
                watched.push_back({listener.socket.get(), POLLIN, 0});
                services.push_back(listener.service);
            }
            retired_.clear();
        }
        pollRebuilt_.notify_all();
        if (!acceptUntilWoken(watched, services)) {
            return;
        }
    }
}

bool ServiceListeners::acceptUntilWoken(std::vector<pollfd>& watched,
                                        const std::vector<Service>& services) {
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            logLine(std::string("poll failed: ") + std::strerror(errno));
            return false;
        }
        if (watched[0].revents != 0) {
            char drained[64];
            while (::read(wakeRead_.get(), drained, sizeof drained) > 0) {
            }
            return true;
        }
        for (std::size_t i = 1; i < watched.size(); ++i) {
            if (watched[i].revents & POLLIN) {
                acceptOne(watched[i].fd, services[i - 1]);
            }
        }
    }
}

void ServiceListeners::acceptOne(int listeningSocket, Service service) {
    FileDescriptor socket(::accept4(listeningSocket, nullptr, nullptr, SOCK_CLOEXEC));
    if (!socket.valid()) {
        if (errno != EAGAIN && errno != EINTR && errno != ECONNABORTED) {
            logLine(std::string("accept failed: ") + std::strerror(errno));
            // Out of descriptors: give the open connections time to finish.
            ::usleep(100 * 1000);
        }
        return;
    }
    tuneAccepted(socket.get());
    ConnectionInfo info;
    info.service = service;
    info.peer = peerAddress(socket.get());
    info.tls = usesTls(service) ? tls_.presenting(state_.certificates.get(service)) : nullptr;
    connections_.launch(std::move(socket),
                        [this, info](int fd) { serveConnection(fd, info, state_); });
}

} // namespace standin
