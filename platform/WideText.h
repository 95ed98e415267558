#pragma once

namespace platform {

// A heap copy of a zero-terminated text, exactly as long as it; null stays
// null. Released with delete[] by whoever takes it over.
wchar_t* DuplicateWideText(const wchar_t* text);

} // namespace platform
