#include "tools/standin/ServiceListeners.h"

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

bool usesTls(Service service) {
    return service == Service::LogConf || service == Service::Collector;
}

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

ServiceListeners::ServiceListeners(StandinState& state, SSL_CTX* tls) : state_(state), tls_(tls) {
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

void ServiceListeners::bind(const Ports& requested) {
    Ports bound = requested;
    for (Service service : kAllServices) {
        FileDescriptor v4 = listenOn("127.0.0.1", portOf(bound, service));
        int port = boundPort(v4.get());
        portOf(bound, service) = port;
        listeners_.push_back({service, std::move(v4)});
        try {
            listeners_.push_back({service, listenOn("::1", port)});
        } catch (const std::runtime_error& error) {
            logLine(std::string(serviceName(service)) + " serves IPv4 only: " + error.what());
        }
    }
    bound.control = state_.ports.control;
    state_.ports = bound;
}

void ServiceListeners::start() {
    acceptor_ = std::thread([this] { acceptLoop(); });
}

void ServiceListeners::stop() {
    if (acceptor_.joinable()) {
        char wake = 1;
        while (::write(wakeWrite_.get(), &wake, 1) < 0 && errno == EINTR) {
        }
        acceptor_.join();
    }
    connections_.closeAll();
    listeners_.clear();
}

void ServiceListeners::acceptLoop() {
    std::vector<pollfd> watched;
    watched.push_back({wakeRead_.get(), POLLIN, 0});
    for (const Listener& listener : listeners_) {
        watched.push_back({listener.socket.get(), POLLIN, 0});
    }
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            logLine(std::string("poll failed: ") + std::strerror(errno));
            return;
        }
        if (watched[0].revents != 0) {
            return;
        }
        for (std::size_t i = 1; i < watched.size(); ++i) {
            if (watched[i].revents & POLLIN) {
                acceptOne(listeners_[i - 1]);
            }
        }
    }
}

void ServiceListeners::acceptOne(const Listener& listener) {
    FileDescriptor socket(::accept4(listener.socket.get(), nullptr, nullptr, SOCK_CLOEXEC));
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
    info.service = listener.service;
    info.peer = peerAddress(socket.get());
    info.tls = usesTls(listener.service) ? tls_ : nullptr;
    connections_.launch(std::move(socket),
                        [this, info](int fd) { serveConnection(fd, info, state_); });
}

} // namespace standin
