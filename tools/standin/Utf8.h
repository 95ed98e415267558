#pragma once
#include <string>
#include <string_view>

namespace standin {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// The bytes themselves when they are UTF-8, else read as Latin-1, so that
// whatever a client sent can go into JSON text.
std::string textFromBytes(std::string_view bytes);

} // namespace standin
