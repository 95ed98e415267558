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
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = scripts_.find(service);
    if (it == scripts_.end()) {
        return std::nullopt;
    }
    Progress& progress = it->second;
    if (progress.used < progress.script.answers.size()) {
        return progress.script.answers[progress.used++];
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
