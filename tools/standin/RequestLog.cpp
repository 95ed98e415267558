#include "tools/standin/RequestLog.h"

#include <algorithm>

namespace standin {

std::string_view outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Pending:
        return "pending";
    case Outcome::Complete:
        return "complete";
    case Outcome::Cut:
        return "cut";
    case Outcome::ClientGone:
        return "client_gone";
    case Outcome::Cancelled:
        return "cancelled";
    case Outcome::Failed:
        return "failed";
    case Outcome::None:
        return "none";
    }
    return "unknown";
}

std::uint64_t RequestLog::add(Recording recording) {
    std::lock_guard<std::mutex> lock(mutex_);
    recording.id = nextId_++;
    recordings_.push_back(std::move(recording));
    return recordings_.back().id;
}

Recording* RequestLog::find(std::uint64_t id) {
    auto it =
        std::lower_bound(recordings_.begin(), recordings_.end(), id,
                         [](const Recording& r, std::uint64_t value) { return r.id < value; });
    return it != recordings_.end() && it->id == id ? &*it : nullptr;
}

void RequestLog::setResponseStatus(std::uint64_t id, int status) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Recording* recording = find(id)) {
        recording->responseStatus = status;
    }
}

void RequestLog::setBodyBytesSent(std::uint64_t id, std::uint64_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Recording* recording = find(id)) {
        recording->bodyBytesSent = bytes;
    }
}

void RequestLog::finish(std::uint64_t id, Outcome outcome) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Recording* recording = find(id)) {
        recording->outcome = outcome;
    }
}

std::vector<Recording> RequestLog::snapshot(std::optional<Service> service) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Recording> out;
    for (const Recording& recording : recordings_) {
        if (!service || recording.service == *service) {
            out.push_back(recording);
        }
    }
    return out;
}

void RequestLog::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    recordings_.clear();
}

} // namespace standin
