#pragma once
#include <cstdint>
#include <mutex>
#include <optional>

#include "tools/standin/CertificateChoice.h"
#include "tools/standin/Lifeline.h"
#include "tools/standin/PackageRegistry.h"
#include "tools/standin/Ports.h"
#include "tools/standin/RequestLog.h"
#include "tools/standin/ScriptBook.h"

namespace standin {

// Everything the services and the control API share. `ports` holds the
// ports actually bound; it is set before any thread starts.
struct StandinState {
    Ports ports;
    RequestLog requests;
    ScriptBook scripts;
    PackageRegistry packages;
    CertificateChoice certificates;
    Lifeline lifeline;

    // The log-configuration server's time: fixed by a test, or the clock.
    void setServerTime(std::optional<std::int64_t> ms);
    std::int64_t serverTimeMs() const;

    // Back to the defaults: answers in flight end, scripts, recordings,
    // registered packages, chosen certificates and a fixed server time are
    // forgotten.
    void reset();

private:
    mutable std::mutex timeMutex_;
    std::optional<std::int64_t> fixedServerTime_;
};

std::int64_t nowMs();

} // namespace standin
