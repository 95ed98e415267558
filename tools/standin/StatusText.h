#pragma once
#include <string_view>

namespace standin {

// The usual reason phrase, or "Status" for codes without one.
std::string_view statusText(int status);

} // namespace standin
