#pragma once
#include <thread>
#include <vector>

#include "tools/standin/ConnectionSet.h"
#include "tools/standin/FileDescriptor.h"
#include "tools/standin/OpensslHandles.h"
#include "tools/standin/Service.h"
#include "tools/standin/StandinState.h"

namespace standin {

// The four services' listening sockets and the thread that accepts on them.
class ServiceListeners {
public:
    ServiceListeners(StandinState& state, SSL_CTX* tls);
    ServiceListeners(const ServiceListeners&) = delete;
    ServiceListeners& operator=(const ServiceListeners&) = delete;
    ~ServiceListeners();

    // Listens on 127.0.0.1 (required: throws when it fails) and on ::1 (where
    // the system allows) for every service, and puts the bound ports in the
    // state. The control port is left as it is.
    void bind(const Ports& requested);
    void start();
    // Stops accepting, ends the connections and joins every thread. Idempotent.
    void stop();

private:
    struct Listener {
        Service service;
        FileDescriptor socket;
    };

    void acceptLoop();
    void acceptOne(const Listener& listener);

    StandinState& state_;
    SSL_CTX* tls_;
    std::vector<Listener> listeners_;
    FileDescriptor wakeRead_;
    FileDescriptor wakeWrite_;
    ConnectionSet connections_;
    std::thread acceptor_;
};

} // namespace standin
