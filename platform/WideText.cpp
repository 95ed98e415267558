#include "platform/WideText.h"

#include <cwchar>
#include <memory>

namespace platform {

wchar_t* DuplicateWideText(const wchar_t* text) {
    if (!text)
        return nullptr;
    const size_t length = std::wcslen(text);
    auto copy = std::make_unique<wchar_t[]>(length + 1);
    std::wmemcpy(copy.get(), text, length + 1);
    return copy.release();
}

} // namespace platform
