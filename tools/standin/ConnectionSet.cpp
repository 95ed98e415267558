#include "tools/standin/ConnectionSet.h"

#include <sys/socket.h>
#include <vector>

#include "tools/standin/Log.h"

namespace standin {

ConnectionSet::~ConnectionSet() {
    closeAll();
}

void ConnectionSet::joinFinished(std::unique_lock<std::mutex>& lock) {
    std::list<Slot> finished;
    for (auto it = slots_.begin(); it != slots_.end();) {
        auto next = std::next(it);
        if (it->finished) {
            finished.splice(finished.end(), slots_, it);
        }
        it = next;
    }
    // A finished thread only has its return left to do, and needs no lock for it.
    lock.unlock();
    for (Slot& slot : finished) {
        slot.thread.join();
    }
    lock.lock();
}

bool ConnectionSet::launch(FileDescriptor socket, Handler handler) {
    std::unique_lock<std::mutex> lock(mutex_);
    joinFinished(lock);
    if (closing_) {
        return false;
    }
    if (slots_.size() >= kMaxConnections) {
        logLine("too many open connections; refusing one");
        return false;
    }
    slots_.emplace_back();
    Slot& slot = slots_.back();
    slot.socket = std::move(socket);
    int fd = slot.socket.get();
    slot.thread = std::thread([this, &slot, fd, handler = std::move(handler)] {
        try {
            handler(fd);
        } catch (const std::exception& error) {
            logLine(std::string("connection failed: ") + error.what());
        }
        std::lock_guard<std::mutex> guard(mutex_);
        slot.socket.reset();
        slot.finished = true;
    });
    return true;
}

void ConnectionSet::closeAll() {
    std::unique_lock<std::mutex> lock(mutex_);
    closing_ = true;
    for (Slot& slot : slots_) {
        if (slot.socket.valid()) {
            ::shutdown(slot.socket.get(), SHUT_RDWR);
        }
    }
    std::list<Slot> all;
    all.splice(all.end(), slots_);
    lock.unlock();
    for (Slot& slot : all) {
        slot.thread.join();
    }
}

} // namespace standin
