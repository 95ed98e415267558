#pragma once
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

#include "tools/standin/FileDescriptor.h"

namespace standin {

// One thread per accepted connection. The set owns the sockets, so that a
// shutdown can wake every blocked read and write and then join every thread:
// no thread outlives the state it uses.
class ConnectionSet {
public:
    using Handler = std::function<void(int socket)>;

    ConnectionSet() = default;
    ConnectionSet(const ConnectionSet&) = delete;
    ConnectionSet& operator=(const ConnectionSet&) = delete;
    ~ConnectionSet();

    // Runs `handler` on a thread of its own and closes the socket after it.
    // Refuses (closing the socket) when closing or over `kMaxConnections`.
    bool launch(FileDescriptor socket, Handler handler);

    // Wakes all connections and joins their threads; later launches are refused.
    void closeAll();

    static constexpr std::size_t kMaxConnections = 256;

private:
    struct Slot {
        FileDescriptor socket;
        std::thread thread;
        bool finished = false;
    };

    void joinFinished(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::list<Slot> slots_;
    bool closing_ = false;
};

} // namespace standin
