#pragma once
#include <condition_variable>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

#include "tools/standin/ConnectionSet.h"
#include "tools/standin/FileDescriptor.h"
#include "tools/standin/Service.h"
#include "tools/standin/StandinState.h"
#include "tools/standin/TlsServerContext.h"

namespace standin {

// The four services' listening sockets and the thread that accepts on them.
class ServiceListeners {
public:
    ServiceListeners(StandinState& state, const TlsServerContexts& tls);
    ServiceListeners(const ServiceListeners&) = delete;
    ServiceListeners& operator=(const ServiceListeners&) = delete;
    ~ServiceListeners();

    // Listens on 127.0.0.1 (required: throws when it fails) and on ::1 (where
    // the system allows) for every service, or on the one address given for
    // it, and puts the bound ports in the state. The control port is left as
    // it is.
    void bind(const Ports& requested, const std::map<Service, std::string>& addresses = {});
    void start();
    // Stops accepting, ends the connections and joins every thread. Idempotent.
    void stop();

    // Closes the service's listening sockets, so that connecting to its port
    // is refused, or listens on that port again. Returns once in effect;
    // connections already accepted carry on. Throws std::runtime_error when
    // the port cannot be had again.
    void setListening(Service service, bool listening);
    void listenAll();

private:
    struct Listener {
        Service service;
        FileDescriptor socket;
    };

    // The service's own address (throws when it fails), or 127.0.0.1 (throws
    // when it fails) and ::1 where the system allows; returns the port bound.
    // The caller holds `mutex_`.
    int openListeners(Service service, int port);
    void wake();
    void acceptLoop();
    // False when polling failed for good.
    bool acceptUntilWoken(std::vector<pollfd>& watched, const std::vector<Service>& services);
    void acceptOne(int listeningSocket, Service service);

    StandinState& state_;
    const TlsServerContexts& tls_;
    FileDescriptor wakeRead_;
    FileDescriptor wakeWrite_;
    ConnectionSet connections_;
    std::thread acceptor_;

    std::mutex mutex_;
    std::condition_variable pollRebuilt_;
    std::vector<Listener> listeners_;
    std::map<Service, std::string> addresses_;
    // Closed sockets wait here until the acceptor no longer polls them.
    std::vector<FileDescriptor> retired_;
    bool stopping_ = false;
};

} // namespace standin
