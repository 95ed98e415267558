#include "tools/standin/ScriptBook.h"

namespace standin {

void ScriptBook::set(Service service, Script script) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (script.answers.empty()) {
        scripts_.erase(service);
    } else {
        scripts_[service] = Progress{std::move(script), 0};
    }
}

std::optional<Answer> ScriptBook::next(Service service) {
    return upcoming(service, true);
}

std::optional<Answer> ScriptBook::peek(Service service) {
    return upcoming(service, false);
}

std::optional<Answer> ScriptBook::upcoming(Service service, bool use) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = scripts_.find(service);
    if (it == scripts_.end()) {
        return std::nullopt;
    }
    Progress& progress = it->second;
    if (progress.used < progress.script.answers.size()) {
        return progress.script.answers[use ? progress.used++ : progress.used];
    }
    if (progress.script.thenDefault) {
        return std::nullopt;
    }
    return progress.script.answers.back();
}

void ScriptBook::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_.clear();
}

} // namespace standin
