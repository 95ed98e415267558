#include "app/InstanceOrder.h"

bool EndsForOther(const InstallerProcess& self, const InstallerProcess& other) {
    if (other.processId == self.processId)
        return false;
    if (!self.createdAt || !other.createdAt)
        return true;
    if (*other.createdAt != *self.createdAt)
        return *other.createdAt < *self.createdAt;
    return other.processId < self.processId;
}
