#pragma once
#include <map>
#include <mutex>
#include <optional>

#include "tools/standin/Answer.h"
#include "tools/standin/Service.h"

namespace standin {

// The scripts the tests set, one per service, and how far each has been used.
class ScriptBook {
public:
    // Replaces the service's script; an empty one restores the defaults.
    void set(Service service, Script script);
    // The answer for the service's next request; empty means the default.
    std::optional<Answer> next(Service service);
    // The same answer without using it up.
    std::optional<Answer> peek(Service service);
    void clear();

private:
    struct Progress {
        Script script;
        std::size_t used = 0;
    };
    std::optional<Answer> upcoming(Service service, bool use);

    std::mutex mutex_;
    std::map<Service, Progress> scripts_;
};

} // namespace standin
