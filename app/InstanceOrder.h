#pragma once
#include <cstdint>
#include <optional>

// When two copies of the installer run, the one that started first goes on
// and the later one ends, so that exactly one remains even when both start
// at the same moment.
struct InstallerProcess {
    uint32_t processId = 0;
    std::optional<uint64_t> createdAt; // creation time; none when it cannot be queried
};

// True when `self` must end because `other` (another installer process) is
// running: `other` started earlier, or at the same time with a lower process
// id. A process whose start cannot be told counts as the earlier one.
bool EndsForOther(const InstallerProcess& self, const InstallerProcess& other);
