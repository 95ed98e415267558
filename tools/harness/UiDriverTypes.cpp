#include "tools/harness/UiDriverTypes.h"

namespace testsupport {

const ControlInfo* WindowInfo::control(int id) const {
    for (const ControlInfo& candidate : controls) {
        if (candidate.id == id)
            return &candidate;
    }
    return nullptr;
}

const MessageBoxButton* MessageBoxInfo::button(int id) const {
    for (const MessageBoxButton& candidate : buttons) {
        if (candidate.id == id)
            return &candidate;
    }
    return nullptr;
}

} // namespace testsupport
