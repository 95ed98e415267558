#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace standin {

std::string base64Encode(std::string_view bytes);

// Standard alphabet with padding; nullopt for anything else.
std::optional<std::string> base64Decode(std::string_view text);

} // namespace standin
